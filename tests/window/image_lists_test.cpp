// The image lists on the real window: the lists found at start, the list-name prompt,
// the entries of a list with their preview, insertion, whole-list page and drops.
#include <QComboBox>
#include <QDesktopServices>
#include <QDirIterator>
#include <QDrag>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>

#include <dirent.h>
#include <sys/stat.h>

#include "clipboard.h"
#include "image_list_panel.h"
#include "list_store.h"
#include "sounds.h"
#include "window_test_support.h"

using zktest::AppFolder;
using zktest::itemsOf;
using zktest::selectedRow;

namespace {

const QString kWriteError = QStringLiteral("\nERREUR en écriture");

class UrlRecorder final : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

QByteArray crlfLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& l : lines)
        bytes += l.toUtf8() + "\r\n";
    return bytes;
}

// Every file and folder under a folder, to see that a command left the tree alone.
QStringList treeOf(const QString& root) {
    QStringList paths;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(it.next());
    paths.sort();
    return paths;
}

QStringList addresses(int first, int count) {
    QStringList list;
    for (int i = first; i < first + count; ++i)
        list.append(QStringLiteral("http://img.example/%1.gif").arg(i));
    return list;
}

} // namespace

class ImageListsTest final : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppFolder> folder;
    std::unique_ptr<TForm1> form;

    QString listPath(const QString& file) const {
        return folder->file(QStringLiteral("Data/Listes/") + file);
    }
    void putList(const QString& file, const QByteArray& bytes) const {
        QFile f(listPath(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray listBytes(const QString& file) const { return zktest::readFile(listPath(file)); }

    // The window, once its browser pane is made (the window is then made again for the
    // engine and must be activated anew).
    void start() {
        form = zktest::openWindow(*folder);
        QTRY_VERIFY(form->codeOutput()->WebB != nullptr);
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get(), zktest::kWindowSystemTimeoutMs));
    }
    void openPanel() {
        if (!form->imagePanel()->Panel7->isVisible())
            form->BoutImage->click();
        QVERIFY(form->imagePanel()->Panel7->isVisible());
    }
    // The window with one list "images" of the given entries, its panel open.
    void startWithList(const QStringList& entries) {
        putList(QStringLiteral("images.lst"), crlfLines(entries));
        start();
        openPanel();
        QCOMPARE(itemsOf(form->imagePanel()->ListImg), entries);
    }
    void clickEntry(int row) {
        QListWidgetItem* item = form->imagePanel()->ListImg->item(row);
        form->imagePanel()->ListImg->scrollToItem(item);
        const QRect rect = form->imagePanel()->ListImg->visualItemRect(item);
        QTest::mouseClick(form->imagePanel()->ListImg->viewport(), Qt::LeftButton, {},
                          QPoint(rect.left() + 5, rect.center().y()));
        QCOMPARE(selectedRow(form->imagePanel()->ListImg), row);
    }
    // Runs a prompt command, types the name and presses "Ok".
    void answerPrompt(QToolButton* command, const QString& name) {
        command->click();
        QVERIFY(form->imagePanel()->Panel6->isVisible());
        form->imagePanel()->EditMessListe->setText(name);
        form->imagePanel()->BoutMessOK->click();
    }
    void expectBanner() {
        QVERIFY(form->PanError->isVisible());
        QCOMPARE(form->LabError->text(), kWriteError);
        form->BoutError->click();
    }
    void expectPromptClosed() {
        QVERIFY(!form->imagePanel()->Panel6->isVisible());
        QCOMPARE(form->imagePanel()->Panel6->pos(), QPoint(0, 436));
        QCOMPARE(form->imagePanel()->ListPromptMode, 0);
    }
    QString imagePage() const {
        return QString::fromLatin1(zktest::readFile(folder->file("Data/Temp/Image.html")));
    }

private slots:
    void init() {
        zktest::dialogs() = zktest::FakeDialogs();
        folder = std::make_unique<AppFolder>();
        zk::platform::setClipboardText(QString());
    }
    void cleanup() {
        form.reset();
        folder.reset();
    }

    // ---- The lists found at start ----

    void startFindsTheListFilesInTheFoldersOrder() {
        putList(QStringLiteral("b.lst"), "http://b/1.gif\r\n");
        putList(QStringLiteral("a.LST"), "http://a/1.gif\r\nhttp://a/2.gif\r\n");
        putList(QStringLiteral("!_c.lst"), "http://c/1.gif\r\n");
        putList(QStringLiteral(".lst"), "http://d/1.gif\r\n");
        putList(QStringLiteral("notes.txt"), "http://e/1.gif\r\n");
        start();
        // The platform's order, as the folder lists its two list files.
        QStringList expected;
        DIR* dir = opendir(QFile::encodeName(listPath(QString())).constData());
        while (const dirent* e = readdir(dir)) {
            const QString n = QString::fromUtf8(e->d_name);
            if (n == QLatin1String("b.lst") || n == QLatin1String("a.LST"))
                expected.append(n.left(1));
        }
        closedir(dir);
        QCOMPARE(QString::fromStdString(form->imagePanel()->ListNames[0]), expected[0]);
        QCOMPARE(QString::fromStdString(form->imagePanel()->ListNames[1]), expected[1]);
        QVERIFY(form->imagePanel()->ListNames[2].empty());
        // Filled when the panel opens; the list a is its file a.LST.
        QCOMPARE(form->imagePanel()->Rubrique->count(), 0);
        openPanel();
        QCOMPARE(itemsOf(form->imagePanel()->Rubrique), expected);
        QCOMPARE(form->imagePanel()->Rubrique->currentIndex(), 0);
        form->imagePanel()->Rubrique->setCurrentIndex(expected.indexOf(QStringLiteral("a")));
        QCOMPARE(form->LastCommand, QStringLiteral("RubriqueChange"));
        QCOMPARE(itemsOf(form->imagePanel()->ListImg),
                 (QStringList{QStringLiteral("http://a/1.gif"), QStringLiteral("http://a/2.gif")}));
    }

    void aListNamedWithTwoDotsOpensItsShortName() {
        putList(QStringLiteral("holiday.2004.lst"), "http://h/1.gif\r\n");
        start();
        openPanel();
        QCOMPARE(itemsOf(form->imagePanel()->Rubrique), QStringList{QStringLiteral("holiday")});
        QCOMPARE(form->imagePanel()->ListImg->count(), 0); // it looks for holiday.lst
    }

    void aSavedListIndexOutsideTheListsChoosesTheFirst() {
        for (const char* saved : {"5", "-1", "2"}) {
            folder = std::make_unique<AppFolder>();
            putList(QStringLiteral("x.lst"), "http://x/1.gif\r\n");
            putList(QStringLiteral("y.lst"), "http://y/1.gif\r\n");
            folder->writeSettings({{24, saved}});
            start();
            QCOMPARE(form->settings.CurrentList, QByteArray(saved).toInt());
            openPanel();
            QCOMPARE(form->settings.CurrentList, 0);
            QCOMPARE(form->imagePanel()->Rubrique->currentIndex(), 0);
            QCOMPARE(itemsOf(form->imagePanel()->ListImg),
                     QStringList{QStringLiteral("http://%1/1.gif")
                                     .arg(form->imagePanel()->Rubrique->itemText(0))});
            form.reset();
        }
    }

    void openingThePanelFocusesTheEntriesOnlyWhenAListExists() {
        start();
        form->Memo1->setFocus();
        QTRY_VERIFY(form->Memo1->hasFocus());
        openPanel();
        QTRY_VERIFY(form->Memo1->hasFocus());
        QCOMPARE(form->OpenPanel, 7);
        form->BoutImage->click(); // a second press closes it
        QVERIFY(!form->imagePanel()->Panel7->isVisible());
        QCOMPARE(form->OpenPanel, 0);
        form.reset();

        putList(QStringLiteral("x.lst"), "http://x/1.gif\r\n");
        start();
        form->Memo1->setFocus();
        openPanel();
        QTRY_VERIFY(form->imagePanel()->ListImg->hasFocus());
        QCOMPARE(selectedRow(form->imagePanel()->ListImg), 0);
        // Shift+Ins then acts on the list.
        zk::platform::setClipboardText(QStringLiteral("http://x/0.gif"));
        QTest::keyClick(form->imagePanel()->ListImg, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(form->LastCommand, QStringLiteral("CollerListeClick"));
        QCOMPARE(itemsOf(form->imagePanel()->ListImg),
                 (QStringList{QStringLiteral("http://x/1.gif"), QStringLiteral("http://x/0.gif")}));
    }

    void thePanelIsLaidOutAsItsTable() {
        putList(QStringLiteral("x.lst"), "http://x/1.gif\r\n");
        start();
        openPanel();
        QCOMPARE(form->imagePanel()->Panel7->geometry(), QRect(0, 216, 512, 180));
        QVERIFY(form->imagePanel()->WebB2);
        QCOMPARE(form->imagePanel()->WebB2->geometry(), QRect(272, 0, 240, 180));
        QCOMPARE(form->imagePanel()->ListImg->geometry(), QRect(0, 32, 240, 148));
        const QRect names = form->imagePanel()->Rubrique->geometry();
        QCOMPARE(names.topLeft(), QPoint(0, 0));
        QCOMPARE(names.width(), 192);
        QVERIFY(names.bottom() < 32);

        // The list commands in a row right of the names, left of the preview.
        int left = names.right();
        for (QToolButton* b : {form->imagePanel()->BoutImgNouv, form->imagePanel()->BoutImgEff,
                               form->imagePanel()->BoutImgRen}) {
            const QRect r = b->geometry();
            QVERIFY2(r.left() > left && r.top() == 0 && r.bottom() < 32,
                     qPrintable(b->objectName()));
            left = r.right();
        }
        QVERIFY(left < 272);
        // The entry commands in a column right of the entries, top to bottom.
        int top = 31;
        for (QToolButton* b :
             {form->imagePanel()->BoutVoirList, form->imagePanel()->BoutCapture,
              form->imagePanel()->BoutImgAdd, form->imagePanel()->BoutImgSupp,
              form->imagePanel()->BoutImgInser, form->imagePanel()->BoutImgFermer}) {
            const QRect r = b->geometry();
            QVERIFY2(r.left() >= 240 && r.right() < 272 && r.top() > top && r.bottom() < 180,
                     qPrintable(b->objectName()));
            QVERIFY(b->isVisible());
            top = r.bottom();
        }
    }

    void thePreviewMadeFirstLeavesTheWindowActive() {
        // Opened before the browser pane exists, the preview is the window's first view.
        putList(QStringLiteral("x.lst"), "http://x/1.gif\r\nhttp://x/2.gif\r\n");
        form = zktest::openWindow(*folder);
        QTRY_VERIFY(form->isActiveWindow());
        openPanel();
        QVERIFY(form->imagePanel()->WebB2);
        QTRY_VERIFY(form->isActiveWindow());
        QTRY_VERIFY(form->imagePanel()->ListImg->hasFocus());
        QTest::keyClick(form->imagePanel()->ListImg, Qt::Key_Down);
        QCOMPARE(form->imagePanel()->CurrentItem, 1);
    }

    // ---- The list-name prompt ----

    void createMakesAnEmptyCurrentList() {
        startWithList(addresses(1, 2));
        form->imagePanel()->BoutImgNouv->click();
        QCOMPARE(form->imagePanel()->LabMessListe->text(), QStringLiteral("Nouvelle Liste"));
        QCOMPARE(form->imagePanel()->Panel6->pos(), QPoint(164, 144));
        QCOMPARE(form->imagePanel()->ListPromptMode, 1);
        QTRY_VERIFY(form->imagePanel()->EditMessListe->hasFocus());
        form->imagePanel()->EditMessListe->clear();
        QTest::keyClicks(form->imagePanel()->EditMessListe, QStringLiteral("plants"));
        form->imagePanel()->BoutMessOK->click();
        expectPromptClosed();
        QVERIFY(QFileInfo::exists(listPath(QStringLiteral("plants.lst"))));
        QCOMPARE(listBytes(QStringLiteral("plants.lst")), QByteArray());
        QCOMPARE(itemsOf(form->imagePanel()->Rubrique), (QStringList{"images", "plants"}));
        QCOMPARE(form->imagePanel()->Rubrique->currentIndex(), 1);
        QCOMPARE(form->settings.CurrentList, 1);
        QCOMPARE(form->imagePanel()->ListImg->count(), 0);
        QCOMPARE(form->imagePanel()->ListNames[1], std::string("plants"));
        QVERIFY(form->imagePanel()->ListNames[2].empty());
    }

    void aNewListIsAppendedSelectedAndCurrentWhateverTheListsBefore() {
        enum class Before { NoFolderContent, LastListDeleted };
        struct Case {
            const char* name;
            Before before;
            const char* savedIndex; // the settings' CurrentList at start; nullptr: no file
        };
        const Case cases[] = {
            {"first start", Before::NoFolderContent, nullptr},
            {"no list, index -1 saved", Before::NoFolderContent, "-1"},
            {"no list, index 5 saved", Before::NoFolderContent, "5"},
            {"the last list deleted", Before::LastListDeleted, nullptr},
        };
        for (const Case& c : cases) {
            folder = std::make_unique<AppFolder>();
            if (c.savedIndex)
                folder->writeSettings({{24, c.savedIndex}});
            if (c.before == Before::LastListDeleted) {
                startWithList(addresses(1, 2));
                answerPrompt(form->imagePanel()->BoutImgEff, QStringLiteral("images"));
                expectPromptClosed();
                QCOMPARE(form->imagePanel()->Rubrique->count(), 0);
            } else {
                start();
                openPanel();
            }
            QVERIFY2(form->imagePanel()->Rubrique->count() == 0, c.name);

            answerPrompt(form->imagePanel()->BoutImgNouv, QStringLiteral("plants"));
            expectPromptClosed();
            QVERIFY2(itemsOf(form->imagePanel()->Rubrique) == QStringList{QStringLiteral("plants")},
                     c.name);
            QCOMPARE(form->imagePanel()->Rubrique->currentIndex(), 0);
            QCOMPARE(form->settings.CurrentList, 0);
            QCOMPARE(form->imagePanel()->ListNames[0], std::string("plants"));
            QVERIFY(form->imagePanel()->ListNames[1].empty());
            QCOMPARE(listBytes(QStringLiteral("plants.lst")), QByteArray());
            QTRY_VERIFY(form->imagePanel()->ListImg->hasFocus());

            // The list is usable at once: entries go into its file, and a second list
            // comes after it.
            zk::platform::setClipboardText(QStringLiteral("http://p/1.png"));
            form->imagePanel()->BoutImgAdd->click();
            QCOMPARE(itemsOf(form->imagePanel()->ListImg),
                     QStringList{QStringLiteral("http://p/1.png")});
            QCOMPARE(listBytes(QStringLiteral("plants.lst")), QByteArray("http://p/1.png\r\n"));
            answerPrompt(form->imagePanel()->BoutImgNouv, QStringLiteral("trees"));
            expectPromptClosed();
            QCOMPARE(itemsOf(form->imagePanel()->Rubrique), (QStringList{"plants", "trees"}));
            QCOMPARE(form->settings.CurrentList, 1);
            answerPrompt(form->imagePanel()->BoutImgRen, QStringLiteral("arbres"));
            expectPromptClosed();
            QCOMPARE(itemsOf(form->imagePanel()->Rubrique), (QStringList{"plants", "arbres"}));
            QVERIFY(QFileInfo::exists(listPath(QStringLiteral("arbres.lst"))));

            // The index kept at close names the list that was current.
            form->close();
            QCOMPARE(folder->settingsLines().value(23), QByteArray("1\r"));
            form.reset();
        }
    }

    void returnInTheNamePressesOk() {
        startWithList(addresses(1, 2));
        form->imagePanel()->BoutImgNouv->click();
        QTRY_VERIFY(form->imagePanel()->EditMessListe->hasFocus());
        form->imagePanel()->EditMessListe->clear();
        QTest::keyClicks(form->imagePanel()->EditMessListe, QStringLiteral("plants"));
        QTest::keyClick(form->imagePanel()->EditMessListe, Qt::Key_Return);
        QCOMPARE(form->LastCommand, QStringLiteral("BoutMessOKClick"));
        expectPromptClosed();
        QCOMPARE(itemsOf(form->imagePanel()->Rubrique), (QStringList{"images", "plants"}));
        QCOMPARE(form->settings.CurrentList, 1);

        // The keypad's Enter too, in the rename mode.
        form->imagePanel()->BoutImgRen->click();
        QTRY_VERIFY(form->imagePanel()->EditMessListe->hasFocus());
        form->imagePanel()->EditMessListe->setText(QStringLiteral("arbres"));
        QTest::keyClick(form->imagePanel()->EditMessListe, Qt::Key_Enter, Qt::KeypadModifier);
        expectPromptClosed();
        QCOMPARE(itemsOf(form->imagePanel()->Rubrique), (QStringList{"images", "arbres"}));

        // A refused name keeps the prompt open, as "Ok" does.
        form->imagePanel()->BoutImgNouv->click();
        QTRY_VERIFY(form->imagePanel()->EditMessListe->hasFocus());
        form->imagePanel()->EditMessListe->setText(QStringLiteral("a/b"));
        QTest::keyClick(form->imagePanel()->EditMessListe, Qt::Key_Return);
        expectBanner();
        QVERIFY(form->imagePanel()->Panel6->isVisible());
        QCOMPARE(form->imagePanel()->ListPromptMode, 1);
    }

    void createUnderAnExistingNameSelectsThatList() {
        startWithList(addresses(1, 3));
        answerPrompt(form->imagePanel()->BoutImgNouv, QStringLiteral("plants"));
        answerPrompt(form->imagePanel()->BoutImgNouv, QStringLiteral("images"));
        expectPromptClosed();
        QCOMPARE(itemsOf(form->imagePanel()->Rubrique), (QStringList{"images", "plants"}));
        QCOMPARE(form->settings.CurrentList, 0);
        QCOMPARE(itemsOf(form->imagePanel()->ListImg), addresses(1, 3));
        QCOMPARE(listBytes(QStringLiteral("images.lst")), crlfLines(addresses(1, 3)));

        // A list file put there after the start is taken as it is, never emptied.
        putList(QStringLiteral("later.lst"), "http://l/1.gif\r\n");
        answerPrompt(form->imagePanel()->BoutImgNouv, QStringLiteral("later"));
        expectPromptClosed();
        QCOMPARE(form->imagePanel()->Rubrique->currentText(), QStringLiteral("later"));
        QCOMPARE(itemsOf(form->imagePanel()->ListImg),
                 QStringList{QStringLiteral("http://l/1.gif")});
    }

    void anEmptyNameClosesThePromptAndChangesNothing() {
        startWithList(addresses(1, 2));
        const QStringList before = treeOf(folder->path());
        answerPrompt(form->imagePanel()->BoutImgNouv, QString());
        expectPromptClosed();
        answerPrompt(form->imagePanel()->BoutImgRen, QString());
        expectPromptClosed();
        QCOMPARE(itemsOf(form->imagePanel()->Rubrique), QStringList{QStringLiteral("images")});
        QCOMPARE(treeOf(folder->path()), before);
        // Cancel closes it too.
        form->imagePanel()->BoutImgNouv->click();
        form->imagePanel()->BoutMessAnnule->click();
        expectPromptClosed();
    }

    void aNameIsAFileNameInsideTheListFolderOnly() {
        startWithList(addresses(1, 2));
        const QString names[] = {
            QStringLiteral("../evil"),      QStringLiteral("a/b"),
            QStringLiteral("a\\b"),         QStringLiteral("."),
            QStringLiteral(".."),           QStringLiteral(".hidden"),
            QStringLiteral("!_images"),     QStringLiteral("x.y"),
            QStringLiteral("/tmp/zk-evil"), QStringLiteral("a") + QChar(0) + QStringLiteral("b")};
        const QStringList before = treeOf(folder->path());
        for (const QString& name : names) {
            answerPrompt(form->imagePanel()->BoutImgNouv, name);
            expectBanner();
            QVERIFY2(form->imagePanel()->Panel6->isVisible(), qPrintable(name));
            QCOMPARE(form->imagePanel()->ListPromptMode, 1);
            form->imagePanel()->BoutMessAnnule->click();

            answerPrompt(form->imagePanel()->BoutImgRen, name);
            expectBanner();
            QCOMPARE(form->imagePanel()->ListPromptMode, 2);
            form->imagePanel()->BoutMessAnnule->click();
        }
        QCOMPARE(itemsOf(form->imagePanel()->Rubrique), QStringList{QStringLiteral("images")});
        QCOMPARE(treeOf(folder->path()), before);
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/zk-evil.lst")));
    }

    void renameMovesTheFileAndKeepsTheEntries() {
        startWithList(addresses(1, 2));
        answerPrompt(form->imagePanel()->BoutImgNouv, QStringLiteral("other"));
        form->imagePanel()->Rubrique->setCurrentIndex(0);
        form->imagePanel()->BoutImgRen->click();
        QCOMPARE(form->imagePanel()->LabMessListe->text(), QStringLiteral("Renommer la Liste"));
        QCOMPARE(form->imagePanel()->EditMessListe->text(), QStringLiteral("images"));
        form->imagePanel()->EditMessListe->setText(QStringLiteral("photos"));
        form->imagePanel()->BoutMessOK->click();
        expectPromptClosed();
        QVERIFY(!QFileInfo::exists(listPath(QStringLiteral("images.lst"))));
        QCOMPARE(listBytes(QStringLiteral("photos.lst")), crlfLines(addresses(1, 2)));
        QCOMPARE(itemsOf(form->imagePanel()->Rubrique), (QStringList{"photos", "other"}));
        QCOMPARE(form->imagePanel()->Rubrique->currentIndex(), 0);
        QCOMPARE(itemsOf(form->imagePanel()->ListImg), addresses(1, 2));
        QCOMPARE(form->imagePanel()->ListNames[0], std::string("photos"));

        // The name of another list is refused; neither file changes.
        answerPrompt(form->imagePanel()->BoutImgRen, QStringLiteral("other"));
        expectBanner();
        QCOMPARE(form->imagePanel()->ListPromptMode, 2);
        form->imagePanel()->BoutMessAnnule->click();
        QCOMPARE(listBytes(QStringLiteral("photos.lst")), crlfLines(addresses(1, 2)));
        QCOMPARE(itemsOf(form->imagePanel()->Rubrique), (QStringList{"photos", "other"}));
    }

    void deleteSetsTheListAsideAndChoosesTheFirst() {
        startWithList(addresses(1, 2));
        answerPrompt(form->imagePanel()->BoutImgNouv, QStringLiteral("plants"));
        zk::platform::setClipboardText(QStringLiteral("http://p/1.png"));
        form->imagePanel()->BoutImgAdd->click();
        form->imagePanel()->BoutImgEff->click();
        QCOMPARE(form->imagePanel()->LabMessListe->text(), QStringLiteral("Supprimer la Liste"));
        QCOMPARE(form->imagePanel()->EditMessListe->text(), QStringLiteral("plants"));
        QCOMPARE(form->imagePanel()->ListPromptMode, 3);
        form->imagePanel()->BoutMessOK->click();
        expectPromptClosed();
        QVERIFY(!QFileInfo::exists(listPath(QStringLiteral("plants.lst"))));
        QCOMPARE(listBytes(QStringLiteral("BakListes/!_plants.lst")),
                 QByteArray("http://p/1.png\r\n"));
        QCOMPARE(itemsOf(form->imagePanel()->Rubrique), QStringList{QStringLiteral("images")});
        QCOMPARE(form->settings.CurrentList, 0);
        QCOMPARE(itemsOf(form->imagePanel()->ListImg), addresses(1, 2));
        QCOMPARE(form->imagePanel()->EditMessListe->text(), QString());
        QVERIFY(form->imagePanel()->ListNames[1].empty());
    }

    void deleteWithATakenBackupNameKeepsTheList() {
        putList(QStringLiteral("BakListes/!_images.lst"), "old\r\n");
        startWithList(addresses(1, 2));
        form->imagePanel()->BoutImgEff->click();
        form->imagePanel()->BoutMessOK->click();
        expectBanner();
        QCOMPARE(form->imagePanel()->ListPromptMode, 3);
        QVERIFY(form->imagePanel()->Panel6->isVisible());
        QCOMPARE(listBytes(QStringLiteral("images.lst")), crlfLines(addresses(1, 2)));
        QCOMPARE(listBytes(QStringLiteral("BakListes/!_images.lst")), QByteArray("old\r\n"));
        QCOMPARE(itemsOf(form->imagePanel()->Rubrique), QStringList{QStringLiteral("images")});

        // An emptied edit box only sounds.
        const int sounds = zk::platform::informationSoundCount();
        form->imagePanel()->EditMessListe->clear();
        form->imagePanel()->BoutMessOK->click();
        QCOMPARE(zk::platform::informationSoundCount(), sounds + 1);
        QVERIFY(form->imagePanel()->Panel6->isVisible());
        QCOMPARE(form->imagePanel()->ListPromptMode, 3);
        QVERIFY(QFileInfo::exists(listPath(QStringLiteral("images.lst"))));
    }

    void deletingTheLastListLeavesNone() {
        startWithList(addresses(1, 1));
        form->imagePanel()->BoutImgEff->click();
        form->imagePanel()->BoutMessOK->click();
        expectPromptClosed();
        QCOMPARE(form->imagePanel()->Rubrique->count(), 0);
        QCOMPARE(form->imagePanel()->ListImg->count(), 0);
        QVERIFY(form->imagePanel()->ListNames[0].empty());
        // Nothing to rename, delete or add to: the beep, nothing else.
        const int beeps = zk::platform::beepCount();
        const QStringList before = treeOf(folder->path());
        form->imagePanel()->BoutImgRen->click();
        form->imagePanel()->BoutImgEff->click();
        zk::platform::setClipboardText(QStringLiteral("http://x/1.gif"));
        form->imagePanel()->BoutImgAdd->click();
        QCOMPARE(zk::platform::beepCount(), beeps + 3);
        QVERIFY(!form->imagePanel()->Panel6->isVisible());
        QCOMPARE(treeOf(folder->path()), before);
        // The next start, with the index the deletion left, chooses the first list again.
        putList(QStringLiteral("new.lst"), "http://n/1.gif\r\n");
        form->close(); // saves the index the deletion left
        form.reset();
        start();
        openPanel();
        QCOMPARE(form->settings.CurrentList, 0);
        QCOMPARE(itemsOf(form->imagePanel()->ListImg),
                 QStringList{QStringLiteral("http://n/1.gif")});
    }

    void theTableNeverGrowsPastItsLastSlot() {
        for (int i = 0; i < 130; ++i)
            putList(QStringLiteral("l%1.lst").arg(i), "http://x/1.gif\r\n");
        start();
        openPanel();
        QCOMPARE(form->imagePanel()->Rubrique->count(), 128);
        const QStringList before = treeOf(folder->path());
        answerPrompt(form->imagePanel()->BoutImgNouv, QStringLiteral("more"));
        expectBanner();
        form->imagePanel()->BoutMessAnnule->click();
        QCOMPARE(form->imagePanel()->Rubrique->count(), 128);
        QCOMPARE(treeOf(folder->path()), before);
        // An existing list can still be chosen through the prompt.
        answerPrompt(form->imagePanel()->BoutImgNouv, form->imagePanel()->Rubrique->itemText(127));
        expectPromptClosed();
        QCOMPARE(form->settings.CurrentList, 127);
    }

    // ---- Entries ----

    void addingInsertsBeforeTheSelectedEntryOrAppendsAfterTheLast() {
        startWithList(addresses(1, 5));
        clickEntry(2);
        zk::platform::setClipboardText(QStringLiteral("http://new/a.gif"));
        form->imagePanel()->BoutImgAdd->click();
        QStringList expected = addresses(1, 5);
        expected.insert(2, QStringLiteral("http://new/a.gif"));
        QCOMPARE(itemsOf(form->imagePanel()->ListImg), expected);
        QCOMPARE(selectedRow(form->imagePanel()->ListImg), 2);
        QCOMPARE(form->imagePanel()->CurrentItem, 2);
        QCOMPARE(listBytes(QStringLiteral("images.lst")), crlfLines(expected));
        QVERIFY(imagePage().contains(QStringLiteral("src=\"http://new/a.gif\"")));

        clickEntry(5);
        zk::platform::setClipboardText(QStringLiteral("http://new/b.gif"));
        form->imagePanel()->BoutImgAdd->click();
        expected.append(QStringLiteral("http://new/b.gif"));
        QCOMPARE(itemsOf(form->imagePanel()->ListImg), expected);
        QCOMPARE(selectedRow(form->imagePanel()->ListImg), 6);
        QCOMPARE(form->imagePanel()->SelectedAddress, QStringLiteral("http://new/b.gif"));

        // Several lines: one entry per non-empty line, the first selected.
        clickEntry(0);
        zk::platform::setClipboardText(QStringLiteral("http://m/1.gif\r\n\r\nhttp://m/2.gif"));
        form->imagePanel()->BoutImgAdd->click();
        expected.insert(0, QStringLiteral("http://m/2.gif"));
        expected.insert(0, QStringLiteral("http://m/1.gif"));
        QCOMPARE(itemsOf(form->imagePanel()->ListImg), expected);
        QCOMPARE(selectedRow(form->imagePanel()->ListImg), 0);

        // An empty clipboard: the beep, nothing added.
        const int beeps = zk::platform::beepCount();
        zk::platform::setClipboardText(QString());
        form->imagePanel()->BoutImgAdd->click();
        QCOMPARE(zk::platform::beepCount(), beeps + 1);
        QCOMPARE(form->imagePanel()->SelectedAddress, QString());
        QCOMPARE(itemsOf(form->imagePanel()->ListImg), expected);
    }

    void deletingSelectsAnExistingEntry() {
        struct Case {
            int entries;
            int deleted;
            int selected; // -1: the list is empty
        };
        const Case cases[] = {
            {5, 4, 3},            // the last of five: the new last
            {5, 3, 2},            // the fourth of five: back by one, to the third
            {5, 1, 1}, {2, 0, 0}, // the first of two: the one left
            {2, 1, 0}, {1, 0, -1},
        };
        for (const Case& c : cases) {
            folder = std::make_unique<AppFolder>();
            startWithList(addresses(1, c.entries));
            clickEntry(c.deleted);
            const QString previewed = imagePage();
            form->imagePanel()->BoutImgSupp->click();
            QStringList expected = addresses(1, c.entries);
            const QString gone = expected.takeAt(c.deleted);
            QCOMPARE(itemsOf(form->imagePanel()->ListImg), expected);
            QCOMPARE(listBytes(QStringLiteral("images.lst")), crlfLines(expected));
            QCOMPARE(selectedRow(form->imagePanel()->ListImg), c.selected);
            if (c.selected >= 0) {
                QCOMPARE(form->imagePanel()->CurrentItem, c.selected);
                QCOMPARE(form->imagePanel()->SelectedAddress, expected[c.selected]);
                QVERIFY(imagePage().contains(expected[c.selected]));
            } else {
                QCOMPARE(imagePage(), previewed); // the preview keeps its page
            }
            form.reset();
        }
    }

    void cutCopyAndPasteActOnTheEntries() {
        startWithList(addresses(1, 3));
        clickEntry(1);
        form->imagePanel()->CopierListe->trigger();
        QCOMPARE(zk::platform::clipboardText(), addresses(2, 1)[0]);
        form->imagePanel()->CouperListe->trigger();
        QCOMPARE(zk::platform::clipboardText(), addresses(2, 1)[0]);
        QCOMPARE(itemsOf(form->imagePanel()->ListImg),
                 (QStringList{addresses(1, 1)[0], addresses(3, 1)[0]}));
        // The first entry is selected now: the address goes back in before it.
        QCOMPARE(selectedRow(form->imagePanel()->ListImg), 0);
        form->imagePanel()->CollerListe->trigger();
        QCOMPARE(itemsOf(form->imagePanel()->ListImg),
                 (QStringList{addresses(2, 1)[0], addresses(1, 1)[0], addresses(3, 1)[0]}));
    }

    void theSelectedEntryIsPreviewed() {
        startWithList(addresses(1, 3));
        clickEntry(1);
        QCOMPARE(imagePage(), QStringLiteral("<html><head></head><body><div align=\"center\"><img "
                                             "src=\"http://img.example/2.gif\"></div></body></"
                                             "html>\r\n"));
        QVERIFY(form->imagePanel()->WebB2);
        QVERIFY(zktest::waitForBody(form->imagePanel()->WebB2,
                                    QStringLiteral("http://img.example/2.gif"))
                    .contains(QStringLiteral("<img src=\"http://img.example/2.gif\">")));
        // The arrow keys preview each entry in turn.
        QTest::keyClick(form->imagePanel()->ListImg, Qt::Key_Down);
        QCOMPARE(form->imagePanel()->CurrentItem, 2);
        QCOMPARE(form->imagePanel()->SelectedAddress, addresses(3, 1)[0]);
        QVERIFY(zktest::waitForBody(form->imagePanel()->WebB2, addresses(3, 1)[0])
                    .contains(addresses(3, 1)[0]));
        QTest::keyClick(form->imagePanel()->ListImg, Qt::Key_Up);
        QCOMPARE(form->imagePanel()->CurrentItem, 1);
        QVERIFY(imagePage().contains(addresses(2, 1)[0]));
    }

    void anEntryIsInsertedAsAnImageTagAtTheCaret() {
        startWithList(addresses(1, 3));
        form->Memo1->setPlainText(QStringLiteral("Hello world"));
        QTextCursor c = form->Memo1->textCursor();
        c.setPosition(6);
        c.setPosition(11, QTextCursor::KeepAnchor);
        form->Memo1->setTextCursor(c);
        form->textTools()->UndoFromClipboard = 0;

        QListWidgetItem* item = form->imagePanel()->ListImg->item(1);
        // A double click as the mouse makes it: press, release, double click, release.
        const QPoint at = form->imagePanel()->ListImg->visualItemRect(item).center();
        QTest::mouseClick(form->imagePanel()->ListImg->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(form->imagePanel()->ListImg->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(form->imagePanel()->ListImg->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(form->LastCommand, QStringLiteral("ListImgDblClick"));
        QCOMPARE(form->Memo1->toPlainText(),
                 QStringLiteral("Hello <img src=\"http://img.example/2.gif\">world"));
        QCOMPARE(form->Memo1->textCursor().position(), 42);
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("Hello world")); // for Undo
        QCOMPARE(form->textTools()->UndoFromClipboard, 1);

        // The button and the menu item insert the same tag at the caret.
        form->imagePanel()->BoutImgInser->click();
        form->imagePanel()->InsererTexte->trigger();
        QCOMPARE(form->Memo1->toPlainText(),
                 QStringLiteral("Hello <img src=\"http://img.example/2.gif\"><img "
                                "src=\"http://img.example/2.gif\"><img "
                                "src=\"http://img.example/2.gif\">world"));

        // After an empty clipboard was added, nothing is inserted.
        zk::platform::setClipboardText(QString());
        form->imagePanel()->BoutImgAdd->click();
        const QString text = form->Memo1->toPlainText();
        form->imagePanel()->BoutImgInser->click();
        QCOMPARE(form->Memo1->toPlainText(), text);
    }

    void anEntryStaysOneAddressInTheTextAndEveryPage() {
        // An entry that would end the attribute and add a script, and one with a reference.
        const QString hostile =
            QStringLiteral("http://img.example/chat.png\" onerror=\"document.title='pris'");
        const QString ampersand = QStringLiteral("http://img.example/a.gif?x=1&quot=2");
        startWithList({hostile, ampersand});
        // What the engine made of a page: each image's address, and whether any element
        // got an attribute besides its own.
        const QString probe =
            QStringLiteral("Array.from(document.images).map(i => i.getAttribute('src') + '|' + "
                           "i.getAttributeNames().join(',')).join('\\n')");
        const QString images =
            hostile + QStringLiteral("|src\n") + ampersand + QStringLiteral("|src");

        // The preview of each entry.
        for (int row : {0, 1}) {
            clickEntry(row);
            const QString address = row == 0 ? hostile : ampersand;
            QVERIFY(!imagePage().contains(QStringLiteral("\" onerror")));
            QVERIFY(zktest::waitForBody(form->imagePanel()->WebB2, QStringLiteral("img.example"))
                        .size() > 0);
            QTRY_COMPARE(zktest::runScript(form->imagePanel()->WebB2, probe).toString(),
                         address + QStringLiteral("|src"));
        }

        // The whole-list page.
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
        form->imagePanel()->BoutVoirList->click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(recorder.urls.size(), 1);
        QVERIFY(!imagePage().contains(QStringLiteral("\" onerror")));
        QVERIFY(imagePage().contains(QStringLiteral("a.gif?x=1&amp;quot=2<br>")));
        zk::platform::showFile(form->imagePanel()->WebB2, recorder.urls[0].toLocalFile());
        QTRY_COMPARE(zktest::runScript(form->imagePanel()->WebB2, probe).toString(), images);

        // The tags inserted into the text, and the text's preview.
        form->Memo1->clear();
        clickEntry(0);
        form->imagePanel()->BoutImgInser->click();
        clickEntry(1);
        form->imagePanel()->BoutImgInser->click();
        QCOMPARE(form->Memo1->toPlainText(),
                 QStringLiteral("<img src=\"http://img.example/chat.png&quot; "
                                "onerror=&quot;document.title='pris'\">"
                                "<img src=\"http://img.example/a.gif?x=1&amp;quot=2\">"));
        form->imagePanel()->BoutImgFermer->click();
        form->BoutNavIntegre->click();
        QVERIFY(
            zktest::waitForBody(form->codeOutput()->WebB, QStringLiteral("img.example")).size() >
            0);
        QTRY_COMPARE(zktest::runScript(form->codeOutput()->WebB, probe).toString(), images);
    }

    void theWholeListPageHasOneLinePerEntry() {
        startWithList(addresses(1, 2));
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
        form->imagePanel()->BoutVoirList->click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        const QString page = imagePage();
        QCOMPARE(page.count(QStringLiteral("\r\n")), 4);
        QCOMPARE(page, QStringLiteral("<html><head></head><body><div align=\"center\"><h5>\r\n"
                                      "<img src=\"http://img.example/1.gif\"><br>"
                                      "http://img.example/1.gif<br>\r\n"
                                      "<img src=\"http://img.example/2.gif\"><br>"
                                      "http://img.example/2.gif<br>\r\n"
                                      "</h5></div></body></html>\r\n"));
        QCOMPARE(recorder.urls,
                 QList<QUrl>{QUrl::fromLocalFile(folder->file("Data/Temp/Image.html"))});

        // An empty list: the beep, no page opened.
        answerPrompt(form->imagePanel()->BoutImgNouv, QStringLiteral("empty"));
        const int beeps = zk::platform::beepCount();
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &recorder, "open");
        form->imagePanel()->Voirtoutelaliste1->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(zk::platform::beepCount(), beeps + 1);
        QCOMPARE(recorder.urls.size(), 1);
    }

    void aDropOfThreeFilesAddsTheFirst() {
        startWithList(addresses(1, 2));
        clickEntry(1);
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(QStringLiteral("/home/u/Images/un deux.png")),
                       QUrl::fromLocalFile(QStringLiteral("/home/u/Images/b.png")),
                       QUrl::fromLocalFile(QStringLiteral("/home/u/Images/c.png"))});
        QWidget* target = form->imagePanel()->ListImg->viewport();
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        QVERIFY(move.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        QVERIFY(drop.isAccepted());
        // The last entry was selected: the path is appended after it.
        const QStringList expected = {addresses(1, 1)[0], addresses(2, 1)[0],
                                      QStringLiteral("/home/u/Images/un deux.png")};
        QCOMPARE(itemsOf(form->imagePanel()->ListImg), expected);
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("/home/u/Images/un deux.png"));
        QCOMPARE(listBytes(QStringLiteral("images.lst")), crlfLines(expected));

        // Text, web addresses and entries dragged from elsewhere are not taken.
        QMimeData text;
        text.setText(QStringLiteral("http://x/1.gif"));
        QMimeData web;
        web.setUrls({QUrl(QStringLiteral("http://x/2.gif"))});
        QMimeData* entries = form->imagePanel()->ListImg->model()->mimeData(
            {form->imagePanel()->ListImg->model()->index(0, 0)});
        for (QMimeData* data : {&text, &web, entries}) {
            QDragEnterEvent refused(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                                    Qt::NoModifier);
            QCoreApplication::sendEvent(target, &refused);
            QVERIFY(!refused.isAccepted());
            QDropEvent dropped(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                               Qt::NoModifier);
            QCoreApplication::sendEvent(target, &dropped);
        }
        delete entries;
        QCOMPARE(itemsOf(form->imagePanel()->ListImg), expected);
    }

    void anEntryDraggedWithinTheListStaysWhereItWas() {
        startWithList(addresses(1, 3));
        clickEntry(0);
        QWidget* viewport = form->imagePanel()->ListImg->viewport();
        bool enterAccepted = false;
        bool dropAccepted = false;
        bool dragged = false;
        // Runs inside the drag's own event loop, the first to run: the list is its source.
        QTimer::singleShot(0, this, [&] {
            dragged = true;
            const QPoint at = form->imagePanel()
                                  ->ListImg->visualItemRect(form->imagePanel()->ListImg->item(2))
                                  .center();
            QMimeData* data = form->imagePanel()->ListImg->model()->mimeData(
                {form->imagePanel()->ListImg->model()->index(0, 0)});
            QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                                  Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &enter);
            enterAccepted = enter.isAccepted();
            QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                            Qt::NoModifier);
            QCoreApplication::sendEvent(viewport, &drop);
            dropAccepted = drop.isAccepted() && drop.dropAction() != Qt::MoveAction;
            delete data;
            QDrag::cancel();
        });
        const QPoint from = form->imagePanel()
                                ->ListImg->visualItemRect(form->imagePanel()->ListImg->item(0))
                                .center();
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, from + QPoint(0, 10));
        QTest::mouseMove(viewport, from + QPoint(0, 40));
        QTRY_VERIFY(dragged);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, from + QPoint(0, 40));
        QVERIFY(enterAccepted);
        QVERIFY(dropAccepted);
        QCOMPARE(itemsOf(form->imagePanel()->ListImg), addresses(1, 3));
        QCOMPARE(listBytes(QStringLiteral("images.lst")), crlfLines(addresses(1, 3)));
    }

    // ---- Files as they come ----

    void listFilesOfAnyContentLoad() {
        const QByteArray longLine(100000, 'a');
        putList(QStringLiteral("mixed.lst"), QByteArray("\r\n\r\nhttp://x/1.gif\r\n\r\n") +
                                                 "http://x/" + longLine + "\r\n" +
                                                 QByteArray("bin\0\x01\xff\xfe", 7) + "\r\n\n\r");
        putList(QStringLiteral("utf8.lst"),
                "http://x/\xC3\xA9t\xC3\xA9.gif\r\nhttp://x/\xF0\x9F\x98\x80.gif\r\n");
        start();
        openPanel();
        form->imagePanel()->Rubrique->setCurrentIndex(
            form->imagePanel()->Rubrique->findText(QStringLiteral("mixed")));
        QCOMPARE(form->imagePanel()->ListImg->count(), 3);
        QCOMPARE(form->imagePanel()->ListImg->item(1)->text().size(), 100009);
        QVERIFY(form->imagePanel()->ListImg->horizontalScrollBar()->maximum() > 100000);
        clickEntry(2);
        QVERIFY(imagePage().startsWith(QStringLiteral("<html>")));
        form->imagePanel()->Rubrique->setCurrentIndex(
            form->imagePanel()->Rubrique->findText(QStringLiteral("utf8")));
        QCOMPARE(
            itemsOf(form->imagePanel()->ListImg),
            (QStringList{QStringLiteral("http://x/été.gif"), QStringLiteral("http://x/😀.gif")}));
        // Written back in the same code after a change.
        zk::platform::setClipboardText(QStringLiteral("http://x/3.gif"));
        form->imagePanel()->BoutImgAdd->click();
        // (before the first entry, which is selected)
        QCOMPARE(listBytes(QStringLiteral("utf8.lst")),
                 QByteArray("http://x/3.gif\r\nhttp://x/\xC3\xA9t\xC3\xA9.gif\r\n"
                            "http://x/\xF0\x9F\x98\x80.gif\r\n"));
    }

    void aListOfTenThousandAddressesOpensAndScrolls() {
        putList(QStringLiteral("big.lst"), crlfLines(addresses(0, 10000)));
        start();
        openPanel();
        QCOMPARE(form->imagePanel()->ListImg->count(), 10000);
        QTest::keyClick(form->imagePanel()->ListImg, Qt::Key_End);
        QCOMPARE(form->imagePanel()->CurrentItem, 9999);
        QVERIFY(form->imagePanel()->ListImg->viewport()->rect().intersects(
            form->imagePanel()->ListImg->visualItemRect(form->imagePanel()->ListImg->item(9999))));
        QCOMPARE(form->imagePanel()->ListImg->verticalScrollBar()->value(),
                 form->imagePanel()->ListImg->verticalScrollBar()->maximum());
        QVERIFY(imagePage().contains(QStringLiteral("http://img.example/9999.gif")));
    }

    void aListPastItsSizeOrNotAFileIsShownEmptyAndLeftAlone() {
        // Past the bound by one line: refused whole, with the message.
        QByteArray big;
        for (int i = 0; big.size() <= qsizetype(zk::kListFileMaxBytes); ++i)
            big += QStringLiteral("http://img.example/%1.gif\r\n").arg(i).toLatin1();
        putList(QStringLiteral("grande.lst"), big);
        // And one a few bytes short of the bound.
        QByteArray nearlyFull = big.left(qsizetype(zk::kListFileMaxBytes) - 20);
        nearlyFull.chop(nearlyFull.size() - nearlyFull.lastIndexOf('\n') - 1);
        const qsizetype room = qsizetype(zk::kListFileMaxBytes) - nearlyFull.size();
        putList(QStringLiteral("pleine.lst"), nearlyFull);
        putList(QStringLiteral("tuyau.lst"), "http://t/1.gif\r\n");
        putList(QStringLiteral("petite.lst"), "http://p/1.gif\r\n");
        folder->writeSettings({{24, "0"}});
        start();
        // After the scan, the list tuyau becomes a named pipe that no one writes to.
        QVERIFY(QFile::remove(listPath(QStringLiteral("tuyau.lst"))));
        QCOMPARE(
            ::mkfifo(QFile::encodeName(listPath(QStringLiteral("tuyau.lst"))).constData(), 0644),
            0);
        const QStringList tree = treeOf(folder->path() + QStringLiteral("Data/Listes"));
        openPanel();
        form->imagePanel()->Rubrique->setCurrentIndex(
            form->imagePanel()->Rubrique->findText(QStringLiteral("grande")));
        QVERIFY(form->PanError->isVisible());
        QCOMPARE(form->LabError->text(), QStringLiteral("\n\nImpossible d'ouvrir ce fichier"));
        form->BoutError->click();
        QCOMPARE(form->imagePanel()->ListImg->count(), 0);
        QCOMPARE(form->imagePanel()->Rubrique->currentText(), QStringLiteral("grande"));

        for (const QString& name : {QStringLiteral("grande"), QStringLiteral("tuyau")}) {
            form->imagePanel()->Rubrique->setCurrentIndex(
                form->imagePanel()->Rubrique->findText(name));
            QCOMPARE(form->imagePanel()->Rubrique->currentText(), name);
            QCOMPARE(form->imagePanel()->ListImg->count(), 0);
            // Nothing is written over the file: adding only beeps.
            const int beeps = zk::platform::beepCount();
            zk::platform::setClipboardText(QStringLiteral("http://new/1.gif"));
            form->imagePanel()->BoutImgAdd->click();
            form->imagePanel()->CollerListe->trigger();
            QCOMPARE(zk::platform::beepCount(), beeps + 2);
            QCOMPARE(form->imagePanel()->ListImg->count(), 0);
            if (form->PanError->isVisible()) // the message again, for the big one
                form->BoutError->click();
        }
        QCOMPARE(listBytes(QStringLiteral("grande.lst")), big);
        QVERIFY(QFileInfo(listPath(QStringLiteral("tuyau.lst"))).isFile() == false);
        QCOMPARE(treeOf(folder->path() + QStringLiteral("Data/Listes")), tree);

        // A list can grow up to the bound, not past it.
        form->imagePanel()->Rubrique->setCurrentIndex(
            form->imagePanel()->Rubrique->findText(QStringLiteral("pleine")));
        QVERIFY(!form->PanError->isVisible());
        const int entries = form->imagePanel()->ListImg->count();
        const int beeps = zk::platform::beepCount();
        zk::platform::setClipboardText(QString(room - 1, QLatin1Char('x'))); // one byte too many
        form->imagePanel()->BoutImgAdd->click();
        QCOMPARE(zk::platform::beepCount(), beeps + 1);
        QCOMPARE(form->imagePanel()->ListImg->count(), entries);
        QCOMPARE(listBytes(QStringLiteral("pleine.lst")), nearlyFull);
        zk::platform::setClipboardText(QString(room - 2, QLatin1Char('x')));
        form->imagePanel()->BoutImgAdd->click();
        QCOMPARE(form->imagePanel()->ListImg->count(), entries + 1);
        QCOMPARE(QFileInfo(listPath(QStringLiteral("pleine.lst"))).size(),
                 qint64(zk::kListFileMaxBytes));

        // The other lists are as usual.
        form->imagePanel()->Rubrique->setCurrentIndex(
            form->imagePanel()->Rubrique->findText(QStringLiteral("petite")));
        QVERIFY(!form->PanError->isVisible());
        zk::platform::setClipboardText(QStringLiteral("http://p/2.gif"));
        form->imagePanel()->BoutImgAdd->click();
        QCOMPARE(listBytes(QStringLiteral("petite.lst")),
                 QByteArray("http://p/1.gif\r\nhttp://p/2.gif\r\n"));
    }

    void addingAndDeletingChangeOnlyTheirEntries() {
        startWithList(addresses(0, 5000));
        clickEntry(2500);
        // The rows that stay are the same rows: the box is not filled again.
        QListWidgetItem* const first = form->imagePanel()->ListImg->item(0);
        QListWidgetItem* const last = form->imagePanel()->ListImg->item(4999);
        zk::platform::setClipboardText(QStringLiteral("http://new/a.gif\r\nhttp://new/b.gif"));
        form->imagePanel()->BoutImgAdd->click();
        QStringList expected = addresses(0, 5000);
        expected.insert(2500, QStringLiteral("http://new/b.gif"));
        expected.insert(2500, QStringLiteral("http://new/a.gif"));
        QCOMPARE(itemsOf(form->imagePanel()->ListImg), expected);
        QCOMPARE(listBytes(QStringLiteral("images.lst")), crlfLines(expected));
        QCOMPARE(form->imagePanel()->ListImg->item(0), first);
        QCOMPARE(form->imagePanel()->ListImg->item(5001), last);
        QCOMPARE(selectedRow(form->imagePanel()->ListImg), 2500);
        QVERIFY(form->imagePanel()->ListImg->hasFocus());

        form->imagePanel()->BoutImgSupp->click();
        expected.removeAt(2500);
        QCOMPARE(itemsOf(form->imagePanel()->ListImg), expected);
        QCOMPARE(listBytes(QStringLiteral("images.lst")), crlfLines(expected));
        QCOMPARE(form->imagePanel()->ListImg->item(0), first);
        QCOMPARE(form->imagePanel()->ListImg->item(5000), last);
        QCOMPARE(selectedRow(form->imagePanel()->ListImg), 2500);
        QCOMPARE(form->imagePanel()->SelectedAddress, QStringLiteral("http://new/b.gif"));

        // The rows fit the widest entry: wider for a long one, back when it goes.
        const int width = form->imagePanel()->ListImg->horizontalScrollBar()->maximum();
        zk::platform::setClipboardText(QStringLiteral("http://long/") + QString(3000, 'x'));
        form->imagePanel()->BoutImgAdd->click();
        QVERIFY(form->imagePanel()->ListImg->horizontalScrollBar()->maximum() > width + 1000);
        form->imagePanel()->BoutImgSupp->click();
        QCOMPARE(form->imagePanel()->ListImg->horizontalScrollBar()->maximum(), width);
    }

    void aListThatCannotBeWrittenKeepsItsFile() {
        startWithList(addresses(1, 2));
        QFile::setPermissions(listPath(QStringLiteral("images.lst")), QFile::ReadOwner);
        zk::platform::setClipboardText(QStringLiteral("http://new/1.gif"));
        form->imagePanel()->BoutImgAdd->click();
        expectBanner();
        QCOMPARE(itemsOf(form->imagePanel()->ListImg),
                 addresses(1, 2)); // as the file still holds it
        QCOMPARE(listBytes(QStringLiteral("images.lst")), crlfLines(addresses(1, 2)));
        QFile::setPermissions(listPath(QStringLiteral("images.lst")),
                              QFile::ReadOwner | QFile::WriteOwner);
    }

    void theImagePageThatCannotBeWrittenShowsTheBanner() {
        startWithList(addresses(1, 2));
        QDir(folder->file("Data/Temp")).removeRecursively();
        QFile blocker(folder->file("Data/Temp"));
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder was
        blocker.close();
        clickEntry(1);
        expectBanner();
        form->imagePanel()->BoutVoirList->click();
        expectBanner();
    }
};

ZK_WINDOW_TEST_MAIN(ImageListsTest)
#include "image_lists_test.moc"
