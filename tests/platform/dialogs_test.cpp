#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "dialogs.h"
#include "platform_tests.h"

using namespace zk::platform;

namespace {

// Runs answer on the next modal dialog of type Dialog once it shows.
template <typename Dialog = QDialog> void whenModal(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (qobject_cast<Dialog*>(modal) && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            QPointer<QWidget> guard(modal);
            answer(modal);
            // A failed check must not leave the dialog waiting for ever.
            if (guard && guard->isVisible())
                if (auto* dialog = qobject_cast<QDialog*>(guard.data()))
                    dialog->reject();
        }
    });
    timer->start();
}

// Presses the visible dialog button with this text; false when there is none.
bool pressButton(QWidget* dialog, const QString& text) {
    for (const QDialogButtonBox* box : dialog->findChildren<QDialogButtonBox*>()) {
        for (QAbstractButton* button : box->buttons()) {
            if (button->isVisible() && button->isEnabled() && button->text() == text) {
                button->click();
                return true;
            }
        }
    }
    return false;
}

QStringList labelTexts(QWidget* dialog) {
    QStringList texts;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->isVisible() && !label->text().isEmpty())
            texts.append(label->text());
    }
    texts.sort();
    return texts;
}

QStringList buttonTexts(QWidget* dialog) {
    QStringList texts;
    for (const QDialogButtonBox* box : dialog->findChildren<QDialogButtonBox*>()) {
        for (const QAbstractButton* button : box->buttons()) {
            if (button->isVisible())
                texts.append(button->text());
        }
    }
    texts.sort();
    return texts;
}

class FakeDialogs final : public Dialogs {
public:
    std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override {
        lastColor = initial;
        return QColor(Qt::blue);
    }
    QString openFileName(QWidget*, const QString& caption, const QString&,
                         const QString&) override {
        lastCaption = caption;
        return QStringLiteral("/fake/open.txt");
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&,
                         QString* selectedFilter) override {
        if (selectedFilter)
            *selectedFilter = QStringLiteral("fake filter");
        return QStringLiteral("/fake/save.txt");
    }
    void runtimeError(QWidget*, const QString& message) override { lastError = message; }

    QColor lastColor;
    QString lastCaption;
    QString lastError;
};

const QString twoFilters =
    QStringLiteral("Fichiers texte (*.txt)|*.txt|Fichiers html (*.html)|*.html");

} // namespace

class DialogsTest final : public QObject {
    Q_OBJECT

private slots:
    void fakeAnswersAndRealComesBack() {
        Dialogs* real = &dialogs();
        FakeDialogs fake;
        setDialogs(&fake);
        QCOMPARE(&dialogs(), static_cast<Dialogs*>(&fake));
        QCOMPARE(dialogs().chooseColor(nullptr, QColor(Qt::red)), std::optional<QColor>(Qt::blue));
        QCOMPARE(fake.lastColor, QColor(Qt::red));
        QCOMPARE(dialogs().openFileName(nullptr, QStringLiteral("Ouvrir"), {}, {}),
                 QStringLiteral("/fake/open.txt"));
        QString filter;
        QCOMPARE(dialogs().saveFileName(nullptr, {}, {}, {}, &filter),
                 QStringLiteral("/fake/save.txt"));
        QCOMPARE(filter, QStringLiteral("fake filter"));
        dialogs().runtimeError(nullptr, QStringLiteral("Invalid numeric input"));
        QCOMPARE(fake.lastError, QStringLiteral("Invalid numeric input"));
        setDialogs(nullptr);
        QCOMPARE(&dialogs(), real);
    }

    void openDialogIsQtsOwnInFrench() {
        QVERIFY(dir_.isValid());
        const QString file = dir_.filePath(QStringLiteral("lettre.txt"));
        QFile(file).open(QIODevice::WriteOnly);
        bool checked = false;
        whenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Ouvrir un fichier texte"));
            QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
            QCOMPARE(buttonTexts(dialog), (QStringList{"&Annuler", "&Ouvrir"}));
            QCOMPARE(labelTexts(dialog), (QStringList{"&Dossier", "&Fichier", "&Type"}));
            QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("Fichiers (*.*) (*.*)")});
            dialog->selectFile(file);
            checked = true;
            QVERIFY(pressButton(dialog, QStringLiteral("&Ouvrir")));
        });
        const QString chosen =
            dialogs().openFileName(nullptr, QStringLiteral("Ouvrir un fichier texte"), dir_.path(),
                                   QStringLiteral("Fichiers (*.*)|*.*"));
        QVERIFY(checked);
        QCOMPARE(chosen, file);
    }

    void cancelledFileDialogGivesEmpty() {
        whenModal([](QWidget* modal) { QVERIFY(pressButton(modal, QStringLiteral("&Annuler"))); });
        QCOMPARE(dialogs().openFileName(nullptr, {}, dir_.path(), {}), QString());
        whenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        QString filter = QStringLiteral("unchanged");
        QCOMPARE(dialogs().saveFileName(nullptr, {}, dir_.path(), twoFilters, &filter), QString());
        QCOMPARE(filter, QStringLiteral("unchanged"));
    }

    // The bar-separated filter: each description with its patterns; the chosen entry
    // comes back as its description.
    void saveDialogFiltersAndChoice() {
        const QString target = dir_.filePath(QStringLiteral("nouveau.txt"));
        bool checked = false;
        whenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(buttonTexts(dialog), (QStringList{"&Annuler", "&Enregistrer"}));
            QCOMPARE(labelTexts(dialog), (QStringList{"&Dossier", "&Fichier", "&Type"}));
            QCOMPARE(dialog->nameFilters(), (QStringList{"Fichiers texte (*.txt) (*.txt)",
                                                         "Fichiers html (*.html) (*.html)"}));
            // Preselected from the caller's choice.
            QVERIFY(dialog->selectedNameFilter().startsWith(QStringLiteral("Fichiers html")));
            dialog->selectNameFilter(QStringLiteral("Fichiers texte (*.txt) (*.txt)"));
            dialog->selectFile(target);
            checked = true;
            QVERIFY(pressButton(dialog, QStringLiteral("&Enregistrer")));
        });
        QString filter = QStringLiteral("Fichiers html (*.html)");
        const QString chosen = dialogs().saveFileName(nullptr, QStringLiteral("Sauver"),
                                                      dir_.path(), twoFilters, &filter);
        QVERIFY(checked);
        QCOMPARE(chosen, target);
        QCOMPARE(filter, QStringLiteral("Fichiers texte (*.txt)"));
    }

    // Choosing an existing file to save over asks first; declining keeps the dialog open.
    void saveOverExistingFileAsks() {
        const QString existing = dir_.filePath(QStringLiteral("existant.txt"));
        QFile(existing).open(QIODevice::WriteOnly);
        int questions = 0;
        whenModal<QFileDialog>([&](QWidget* dialog) {
            static_cast<QFileDialog*>(dialog)->selectFile(existing);
            whenModal<QMessageBox>([&](QWidget* box) {
                ++questions;
                static_cast<QMessageBox*>(box)->button(QMessageBox::No)->click();
            });
            QVERIFY(pressButton(dialog, QStringLiteral("&Enregistrer")));
            QVERIFY(dialog->isVisible());
            whenModal<QMessageBox>([&](QWidget* box) {
                ++questions;
                static_cast<QMessageBox*>(box)->button(QMessageBox::Yes)->click();
            });
            QVERIFY(pressButton(dialog, QStringLiteral("&Enregistrer")));
        });
        QCOMPARE(dialogs().saveFileName(nullptr, {}, dir_.path(), twoFilters, nullptr), existing);
        QCOMPARE(questions, 2);
    }

    void toolkitFilterFormIsKept() {
        whenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QCOMPARE(dialog->nameFilters(),
                     (QStringList{"Pages (*.htm *.html)", "Tous les fichiers (*)"}));
            dialog->reject();
        });
        dialogs().openFileName(nullptr, {}, dir_.path(),
                               QStringLiteral("Pages (*.htm *.html);;Tous les fichiers (*)"));
    }

    void colourDialog() {
        whenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<QColorDialog*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->currentColor(), QColor(0x12, 0x34, 0x56));
            dialog->setCurrentColor(QColor(0xAB, 0xCD, 0xEF));
            dialog->accept();
        });
        QCOMPARE(dialogs().chooseColor(nullptr, QColor(0x12, 0x34, 0x56)),
                 std::optional<QColor>(QColor(0xAB, 0xCD, 0xEF)));
        whenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        QCOMPARE(dialogs().chooseColor(nullptr, QColor(Qt::red)), std::nullopt);
    }

    void runtimeErrorBox() {
        const QString message = QStringLiteral("'12a' is not a valid integer value");
        bool checked = false;
        whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            QCOMPARE(box->text(), message);
            QCOMPARE(box->icon(), QMessageBox::Critical);
            checked = true;
            box->button(QMessageBox::Ok)->click();
        });
        dialogs().runtimeError(nullptr, message);
        QVERIFY(checked);
    }

private:
    QTemporaryDir dir_;
};

int runDialogsTests(int argc, char** argv) {
    DialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "dialogs_test.moc"
