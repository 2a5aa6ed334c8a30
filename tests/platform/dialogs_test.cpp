#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
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

// Types the name of path in the file dialog's name field, as a user does, and presses the
// button. The dialog reads the folder in the background and may clear the field when the
// listing arrives: the name is typed again then, until the button takes it.
bool typeNameAndPress(QWidget* dialog, const QString& path, const QString& button) {
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!name)
        return false;
    const QString typed = QFileInfo(path).fileName();
    return QTest::qWaitFor(
        [&] {
            if (name->text() != typed)
                name->setText(typed);
            return pressButton(dialog, button);
        },
        30000);
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

// Labels whose "&" would show as such: it marks an access letter only for a label that
// knows its field.
QStringList literalAmpersands(QWidget* dialog) {
    QStringList texts;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->isVisible() && label->text().contains(QLatin1Char('&')) && !label->buddy())
            texts.append(label->text());
    }
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
            QCOMPARE(literalAmpersands(dialog), QStringList());
            QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("Fichiers (*.*) (*.*)")});
            checked = true;
            QVERIFY(typeNameAndPress(dialog, file, QStringLiteral("&Ouvrir")));
        });
        const QString chosen =
            dialogs().openFileName(nullptr, QStringLiteral("Ouvrir un fichier texte"), dir_.path(),
                                   QStringLiteral("Fichiers (*.*)|*.*"));
        QVERIFY(checked);
        QCOMPARE(chosen, file);
    }

    void cancelledFileDialogGivesEmpty() {
        whenModal([](QWidget* modal) {
            QVERIFY(QTest::qWaitFor([&] { return pressButton(modal, QStringLiteral("&Annuler")); },
                                    30000));
        });
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
            QCOMPARE(literalAmpersands(dialog), QStringList());
            QCOMPARE(dialog->nameFilters(), (QStringList{"Fichiers texte (*.txt) (*.txt)",
                                                         "Fichiers html (*.html) (*.html)"}));
            // Preselected from the caller's choice.
            QVERIFY(dialog->selectedNameFilter().startsWith(QStringLiteral("Fichiers html")));
            dialog->selectNameFilter(QStringLiteral("Fichiers texte (*.txt) (*.txt)"));
            checked = true;
            QVERIFY(typeNameAndPress(dialog, target, QStringLiteral("&Enregistrer")));
        });
        QString filter = QStringLiteral("Fichiers html (*.html)");
        const QString chosen = dialogs().saveFileName(nullptr, QStringLiteral("Sauver"),
                                                      dir_.path(), twoFilters, &filter);
        QVERIFY(checked);
        QCOMPARE(chosen, target);
        QCOMPARE(filter, QStringLiteral("Fichiers texte (*.txt)"));
    }

    // The save dialog asks nothing about an existing file (the program asks about the file
    // it will really write), and the open dialog takes a name that does not exist (the
    // program reports it in its own words): no box of the toolkit's own in either case.
    void fileDialogsLeaveTheQuestionsToTheProgram() {
        const QString existing = dir_.filePath(QStringLiteral("existant.txt"));
        QFile(existing).open(QIODevice::WriteOnly);
        const QString missing = dir_.filePath(QStringLiteral("absent.txt"));
        for (const bool save : {true, false}) {
            int boxes = 0;
            QTimer boxWatch; // closes and counts any box of the toolkit's own
            boxWatch.setInterval(10);
            connect(&boxWatch, &QTimer::timeout, [&boxes] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    ++boxes;
                    box->reject();
                }
            });
            boxWatch.start();
            whenModal<QFileDialog>([&](QWidget* dialog) {
                QVERIFY(typeNameAndPress(dialog, save ? existing : missing,
                                         save ? QStringLiteral("&Enregistrer")
                                              : QStringLiteral("&Ouvrir")));
            });
            const QString chosen =
                save ? dialogs().saveFileName(nullptr, {}, dir_.path(), twoFilters, nullptr)
                     : dialogs().openFileName(nullptr, {}, dir_.path(), {});
            QCOMPARE(chosen, save ? existing : missing);
            QCOMPARE(boxes, 0);
        }
        QTRY_VERIFY(!QApplication::activeModalWidget());
    }

    // The question before a file is replaced: French, about the file named, "no" first.
    void replacingAFileIsAskedInFrench() {
        const QString path = dir_.filePath(QStringLiteral("lettre.txt"));
        for (const bool yes : {false, true}) {
            QString text, title;
            QStringList buttons;
            whenModal<QMessageBox>([&](QWidget* modal) {
                auto* box = static_cast<QMessageBox*>(modal);
                text = box->text();
                title = box->windowTitle();
                buttons = buttonTexts(box);
                QCOMPARE(box->defaultButton(), box->button(QMessageBox::No));
                box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
            });
            QCOMPARE(dialogs().confirmReplace(nullptr, path), yes);
            QCOMPARE(text,
                     QStringLiteral("Le fichier « %1 » existe déjà.\nVoulez-vous le remplacer ?")
                         .arg(path));
            QCOMPARE(buttons, (QStringList{QStringLiteral("&Non"), QStringLiteral("&Oui")}));
            QCOMPARE(title, QGuiApplication::applicationDisplayName());
        }
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
            // Titled with the application's name: the window system shows it once.
            QCOMPARE(box->windowTitle(), QGuiApplication::applicationDisplayName());
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
