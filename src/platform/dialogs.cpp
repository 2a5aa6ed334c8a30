#include "dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStringList>
#include <QTranslator>

#include <utility>

namespace zk::platform {

namespace {

Dialogs realDialogs;
Dialogs* current = nullptr;

// The window system adds the application's name to a title that does not end with it:
// titled with the name itself, a box shows it once.
QString applicationTitle() {
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral(" ZelkoHTML") : name;
}

struct FilterEntry {
    QString asGiven;    // the text the caller uses to name this entry
    QString nameFilter; // the toolkit's form "Description (*.a *.b)"
};

// "Desc (*.a,*.b)|*.a;*.b|Other|*.c" -> entries whose patterns come from the odd fields.
// The toolkit's own form "Desc (*.a *.b);;Other (*.c)" is used as it is.
QList<FilterEntry> parseFilter(const QString& filter) {
    QList<FilterEntry> entries;
    if (!filter.contains(QLatin1Char('|'))) {
        for (const QString& entry : filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts))
            entries.append({entry, entry});
        return entries;
    }
    const QStringList fields = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        QStringList patterns = fields[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns)
            pattern = pattern.trimmed();
        const QString description = fields[i].trimmed().isEmpty() ? fields[i + 1] : fields[i];
        entries.append({fields[i], description + QStringLiteral(" (") +
                                       patterns.join(QLatin1Char(' ')) + QLatin1Char(')')});
    }
    return entries;
}

// A label's "&" marks the letter that moves to its field only when the label knows the
// field; otherwise it shows as such. The toolkit's dialog links only some of its labels.
void giveLabelsTheirFields(QFileDialog& dialog) {
    const std::pair<const char*, const char*> pairs[] = {{"lookInLabel", "lookInCombo"},
                                                         {"fileNameLabel", "fileNameEdit"},
                                                         {"fileTypeLabel", "fileTypeCombo"}};
    for (const auto& [labelName, fieldName] : pairs) {
        auto* label = dialog.findChild<QLabel*>(QLatin1String(labelName));
        auto* field = dialog.findChild<QWidget*>(QLatin1String(fieldName));
        if (!label)
            continue;
        if (field)
            label->setBuddy(field);
        else
            label->setText(label->text().remove(QLatin1Char('&')));
    }
}

// Qt's own dialog, so that its buttons can carry the window's French texts.
QString runFileDialog(QWidget* parent, const QString& caption, const QString& dir,
                      const QString& filter, QString* selectedFilter, bool save) {
    QFileDialog dialog(parent, caption, dir);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Any name is taken: opening a missing file is reported by the program in its own words,
    // and replacing a file is asked about once the name really written is known.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setLabelText(QFileDialog::Accept,
                        save ? QStringLiteral("&Enregistrer") : QStringLiteral("&Ouvrir"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("&Annuler"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("&Dossier"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("&Fichier"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("&Type"));
    giveLabelsTheirFields(dialog);

    const QList<FilterEntry> entries = parseFilter(filter);
    QStringList nameFilters;
    for (const FilterEntry& entry : entries)
        nameFilters.append(entry.nameFilter);
    if (!nameFilters.isEmpty()) {
        // The bar-separated form already shows its patterns in its description.
        if (filter.contains(QLatin1Char('|')))
            dialog.setOption(QFileDialog::HideNameFilterDetails, true);
        dialog.setNameFilters(nameFilters);
        if (selectedFilter) {
            for (const FilterEntry& entry : entries) {
                if (entry.asGiven == *selectedFilter)
                    dialog.selectNameFilter(entry.nameFilter);
            }
        }
    }

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (selectedFilter) {
        // With the details hidden the toolkit may name the entry by its description only.
        const QString chosen = dialog.selectedNameFilter();
        for (const FilterEntry& entry : entries) {
            if (entry.nameFilter == chosen || entry.asGiven.trimmed() == chosen) {
                *selectedFilter = entry.asGiven;
                break;
            }
        }
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::optional<QColor> Dialogs::chooseColor(QWidget* parent, const QColor& initial) {
    QColorDialog dialog(initial, parent);
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedColor();
}

QString Dialogs::openFileName(QWidget* parent, const QString& caption, const QString& dir,
                              const QString& filter) {
    return runFileDialog(parent, caption, dir, filter, nullptr, false);
}

QString Dialogs::saveFileName(QWidget* parent, const QString& caption, const QString& dir,
                              const QString& filter, QString* selectedFilter) {
    return runFileDialog(parent, caption, dir, filter, selectedFilter, true);
}

bool Dialogs::confirmReplace(QWidget* parent, const QString& path) {
    QMessageBox box(QMessageBox::Question, applicationTitle(),
                    QStringLiteral("Le fichier « %1 » existe déjà.\nVoulez-vous le remplacer ?")
                        .arg(QDir::toNativeSeparators(path)),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void Dialogs::runtimeError(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Critical, applicationTitle(), message, QMessageBox::Ok, parent);
    box.exec();
}

bool loadToolkitTranslations() {
    auto* translator = new QTranslator(qApp);
    if (!translator->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

Dialogs& dialogs() {
    return current ? *current : realDialogs;
}

void setDialogs(Dialogs* d) {
    current = d;
}

} // namespace zk::platform
