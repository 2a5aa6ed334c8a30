// The image list panel alone, on a stand-in host: opening and closing through the host's
// overlay rule, entries added and deleted in the list file with the preview page shown, the
// image tag handed to the host for insertion, the whole list launched through the host, the
// list-name prompt, files dropped from the desktop, and every failure reported to the host.
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>
#include <QWebEngineView>

#include <memory>

#include "clipboard.h"
#include "commands.h"
#include "image_list_panel.h"
#include "list_store.h"
#include "part_test_support.h"
#include "settings_file.h"
#include "sounds.h"

using namespace zktest;

namespace {

const QString kWriteError = QStringLiteral("\r\nERREUR en écriture");

} // namespace

class ImageListPanelTest final : public QObject {
    Q_OBJECT

    // A folder, a host and the panel on it, the list files put there before the folder
    // scan a start-up makes.
    struct Setup {
        AppFolder folder;
        FakeHost host;
        zk::AppSettings settings;
        std::unique_ptr<zk::ui::ImageListPanel> panel;
        QStringList commands; // what the host's builder recorded, command by command

        QString listPath(const QString& name) const {
            return folder.file(QStringLiteral("Data/Listes/") + name + QStringLiteral(".lst"));
        }
        void putList(const QString& name, const QByteArray& bytes) const {
            QFile f(listPath(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        QByteArray listBytes(const QString& name) const { return readFile(listPath(name)); }
        QByteArray imagePage() const {
            return readFile(folder.file(QStringLiteral("Data/Temp/Image.html")));
        }
        void make() {
            panel = std::make_unique<zk::ui::ImageListPanel>(host, settings, &host.window,
                                                             folder.path());
            QObject::connect(&host.builder, &zk::platform::CommandBuilder::ran, panel.get(),
                             [this] { commands.append(host.lastCommand); });
            panel->ScanListFolder(panel->ListFolder());
        }
        // The index of a list in the folder's order.
        int listIndex(const char* name) const {
            for (std::size_t i = 0; i < panel->ListNames.size(); ++i)
                if (panel->ListNames[i] == name)
                    return static_cast<int>(i);
            return -1;
        }
        // Opens the panel as the window would show it.
        void open() {
            panel->BoutImageClick();
            QCOMPARE(host.openPanel, zk::ui::ImageListPanel::kPanelNumber);
            host.window.show();
            panel->Panel7->move(0, 0);
            panel->Panel7->show();
        }
    };

private slots:
    void init() {
        dialogs() = FakeDialogs();
        zk::platform::setClipboardText(QString());
    }

    void itsWidgetsAreChildrenOfTheHostWindowUnderTheirNames() {
        Setup s;
        s.make();
        for (const char* name :
             {"Panel7", "Rubrique", "ListImg", "BoutImgNouv", "BoutImgEff", "BoutImgRen",
              "BoutVoirList", "BoutCapture", "BoutImgAdd", "BoutImgSupp", "BoutImgInser",
              "BoutImgFermer", "Panel6", "LabMessListe", "EditMessListe", "BoutMessAnnule",
              "BoutMessOK", "Popup8"})
            QVERIFY2(s.host.window.findChild<QWidget*>(QLatin1String(name)), name);
        for (const char* name : {"CouperListe", "CopierListe", "CollerListe", "Voirtoutelaliste1",
                                 "CapturerlurlCourante1", "InsererTexte", "FermerEditeurImage"})
            QVERIFY2(s.host.window.findChild<QAction*>(QLatin1String(name)), name);
        // Both panels wait parked and hidden; the preview is made when first needed.
        for (QWidget* p : {s.panel->Panel7, s.panel->Panel6}) {
            QVERIFY(p->isHidden());
            QCOMPARE(p->pos(), QPoint(0, 436));
        }
        QVERIFY(s.panel->WebB2 == nullptr);
        // Popup8 is the list's context menu: its shortcuts act while the list has the focus.
        QCOMPARE(s.panel->ListImg->contextMenuPolicy(), Qt::CustomContextMenu);
        QKeyEvent copy(QEvent::KeyPress, Qt::Key_Insert, Qt::ControlModifier);
        QVERIFY(s.host.builder.dispatchShortcut(s.panel->ListImg, &copy, &s.host.window));
        QCOMPARE(s.host.lastCommand, QStringLiteral("CopierListeClick"));
        QKeyEvent paste(QEvent::KeyPress, Qt::Key_Insert, Qt::ShiftModifier);
        QVERIFY(!s.host.builder.dispatchShortcut(s.panel->Rubrique, &paste, &s.host.window));
    }

    // The host's overlay rule opens it (filling it) and a second press closes it through
    // the host; closing leaves the lists filled.
    void openingFillsItAndASecondPressClosesIt() {
        Setup s;
        s.putList(QStringLiteral("images"), "http://x/1.gif\r\nhttp://x/2.gif\r\n");
        s.make();
        QCOMPARE(s.panel->Rubrique->count(), 0); // filled when it opens
        s.open();
        QCOMPARE(itemsOf(s.panel->Rubrique), QStringList{QStringLiteral("images")});
        QCOMPARE(itemsOf(s.panel->ListImg),
                 (QStringList{QStringLiteral("http://x/1.gif"), QStringLiteral("http://x/2.gif")}));
        QCOMPARE(selectedRow(s.panel->ListImg), 0);
        QCOMPARE(s.panel->SelectedAddress, QStringLiteral("http://x/1.gif"));
        QVERIFY(s.imagePage().contains("<img src=\"http://x/1.gif\">"));
        QVERIFY(s.panel->WebB2);
        QCOMPARE(s.panel->WebB2->parentWidget(), s.panel->Panel7);
        QVERIFY(waitForBody(s.panel->WebB2, QStringLiteral("http://x/1.gif"))
                    .contains(QStringLiteral("http://x/1.gif")));

        const int closes = s.host.closeCalls;
        s.panel->BoutImageClick();
        QCOMPARE(s.host.closeCalls, closes + 1);
        QCOMPARE(s.host.openPanel, 0);
        QCOMPARE(s.panel->ListImg->count(), 2);
        s.open();
        s.panel->BoutImgFermer->click();
        QCOMPARE(s.host.openPanel, 0);
        QCOMPARE(s.commands.constLast(), QStringLiteral("BoutImgFermerClick"));
    }

    // Adding takes the clipboard's text, inserts it before the selected entry (after the
    // last one), writes the list file and previews the new entry; deleting takes it out.
    void entriesGoIntoTheListFileAndThePreviewFollows() {
        Setup s;
        s.putList(QStringLiteral("images"),
                  "http://x/1.gif\r\nhttp://x/2.gif\r\nhttp://x/3.gif\r\n");
        s.make();
        s.open();
        s.panel->ListImg->setCurrentRow(1); // a selection by the keyboard previews it
        QCOMPARE(s.commands.constLast(), QStringLiteral("ListImgClick"));
        QCOMPARE(s.panel->CurrentItem, 1);

        zk::platform::setClipboardText(QStringLiteral("http://x/new.gif"));
        s.panel->BoutImgAdd->click();
        QCOMPARE(s.commands.constLast(), QStringLiteral("BoutImgAddClick"));
        QCOMPARE(s.listBytes(QStringLiteral("images")),
                 QByteArray("http://x/1.gif\r\nhttp://x/new.gif\r\nhttp://x/2.gif\r\n"
                            "http://x/3.gif\r\n"));
        QCOMPARE(selectedRow(s.panel->ListImg), 1);
        QCOMPARE(s.panel->SelectedAddress, QStringLiteral("http://x/new.gif"));
        QVERIFY(waitForBody(s.panel->WebB2, QStringLiteral("new.gif")).contains("new.gif"));

        s.panel->CollerListe->trigger(); // the same text again, before the selected one
        QCOMPARE(s.commands.constLast(), QStringLiteral("CollerListeClick"));
        QCOMPARE(s.panel->ListImg->count(), 5);

        s.panel->CouperListe->trigger(); // on the clipboard, then out of the list
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("http://x/new.gif"));
        s.panel->BoutImgSupp->click();
        QCOMPARE(s.listBytes(QStringLiteral("images")),
                 QByteArray("http://x/1.gif\r\nhttp://x/2.gif\r\nhttp://x/3.gif\r\n"));
        QCOMPARE(selectedRow(s.panel->ListImg), 1);
        QVERIFY(s.host.errors.isEmpty());

        // An empty clipboard adds nothing: the beep, and nothing left to insert.
        zk::platform::setClipboardText(QString());
        const int beeps = zk::platform::beepCount();
        s.panel->BoutImgAddClick();
        QCOMPARE(zk::platform::beepCount(), beeps + 1);
        QCOMPARE(s.panel->ListImg->count(), 3);
        QVERIFY(s.panel->SelectedAddress.isEmpty());
    }

    // The image tag goes to the host, which puts it at the caret; nothing is asked of it
    // without an address.
    void insertionIsTheHostsWithTheImageTag() {
        Setup s;
        s.putList(QStringLiteral("images"), "http://x/a&b.gif\r\n");
        s.make();
        s.open();
        s.panel->BoutImgInser->click();
        s.panel->InsererTexte->trigger();
        QCOMPARE(s.commands.mid(s.commands.size() - 2),
                 (QStringList{QStringLiteral("BoutImgInserClick"),
                              QStringLiteral("InsererTexteClick")}));
        const QPair<QString, QString> tag{QStringLiteral("<img src=\"http://x/a&amp;b.gif\">"),
                                          QString()};
        QCOMPARE(s.host.insertions, (QList<QPair<QString, QString>>{tag, tag}));

        s.panel->SelectedAddress.clear();
        s.panel->ListImgDblClick();
        QCOMPARE(s.host.insertions.size(), 2);
    }

    // With the second browser choice the whole-list page is handed to the host's launcher;
    // an empty list only beeps.
    void wholeListIsLaunchedThroughTheHost() {
        Setup s;
        s.putList(QStringLiteral("images"), "http://x/1.gif\r\nhttp://x/2.gif\r\n");
        s.putList(QStringLiteral("vide"), "");
        s.settings.PreviewInNewWindow = 1;
        s.make();
        s.settings.CurrentList = s.listIndex("images");
        s.open();
        s.panel->Voirtoutelaliste1->trigger();
        QCOMPARE(s.host.launched, QStringList{s.panel->ImagePagePath()});
        QCOMPARE(s.imagePage().split('\n').size(), 5); // four lines, each ended
        QVERIFY(s.imagePage().contains("<img src=\"http://x/2.gif\"><br>http://x/2.gif<br>"));

        s.panel->Rubrique->setCurrentIndex(s.panel->Rubrique->findText(QStringLiteral("vide")));
        QCOMPARE(s.commands.constLast(), QStringLiteral("RubriqueChange"));
        QCOMPARE(s.panel->ListImg->count(), 0);
        const int beeps = zk::platform::beepCount();
        s.panel->BoutVoirList->click();
        QCOMPARE(zk::platform::beepCount(), beeps + 1);
        QCOMPARE(s.host.launched.size(), 1);
    }

    // An image page that cannot be made goes to the host's banner, and no view is made.
    void aPageThatCannotBeWrittenIsReportedToTheHost() {
        Setup s;
        s.putList(QStringLiteral("images"), "http://x/1.gif\r\n");
        QVERIFY(QDir(s.folder.file(QStringLiteral("Data/Temp"))).removeRecursively());
        s.settings.PreviewInNewWindow = 1;
        s.make();
        s.open();
        QCOMPARE(s.host.errors, QStringList{kWriteError});
        QVERIFY(s.panel->WebB2 == nullptr);
        s.panel->BoutVoirListClick();
        QCOMPARE(s.host.errors, (QStringList{kWriteError, kWriteError}));
        QVERIFY(s.host.launched.isEmpty());
    }

    // A list file too large to be a list shows no entries, is told to the host, and takes
    // no addition.
    void aListTooLargeIsToldAndLeftAlone() {
        Setup s;
        s.putList(QStringLiteral("grosse"), QByteArray(zk::kListFileMaxBytes + 1, 'a'));
        const QByteArray before = s.listBytes(QStringLiteral("grosse"));
        s.make();
        s.open();
        QCOMPARE(s.host.errors,
                 QStringList{QStringLiteral("\r\n\r\nImpossible d'ouvrir ce fichier")});
        QCOMPARE(s.panel->ListImg->count(), 0);
        zk::platform::setClipboardText(QStringLiteral("http://x/1.gif"));
        s.panel->BoutImgAddClick();
        QCOMPARE(s.listBytes(QStringLiteral("grosse")), before);
    }

    // The prompt creates and renames lists in the folder; the panel says when it raised it,
    // so that the window keeps its error banner above; a refused name keeps it open.
    void thePromptMakesAndRenamesLists() {
        Setup s;
        s.putList(QStringLiteral("images"), "http://x/1.gif\r\n");
        s.make();
        s.open();
        QSignalSpy raised(s.panel.get(), &zk::ui::ImageListPanel::listPromptRaised);
        s.panel->BoutImgNouv->click();
        QCOMPARE(raised.size(), 1);
        QVERIFY(s.panel->Panel6->isVisible());
        QCOMPARE(s.panel->Panel6->pos(), QPoint(164, 144));
        QCOMPARE(s.panel->LabMessListe->text(), QStringLiteral("Nouvelle Liste"));
        s.panel->EditMessListe->setText(QStringLiteral("plantes"));
        s.panel->BoutMessOK->click();
        QCOMPARE(s.commands.constLast(), QStringLiteral("BoutMessOKClick"));
        QVERIFY(s.panel->Panel6->isHidden());
        QCOMPARE(s.panel->ListPromptMode, 0);
        QCOMPARE(s.listBytes(QStringLiteral("plantes")), QByteArray());
        QCOMPARE(itemsOf(s.panel->Rubrique),
                 (QStringList{QStringLiteral("images"), QStringLiteral("plantes")}));
        QCOMPARE(s.settings.CurrentList, 1);
        QCOMPARE(s.panel->ListNames[1], std::string("plantes"));

        s.panel->BoutImgRen->click();
        QCOMPARE(s.panel->EditMessListe->text(), QStringLiteral("plantes"));
        s.panel->EditMessListe->setText(QStringLiteral("images")); // another list's name
        s.panel->BoutMessOKClick();
        QCOMPARE(s.host.errors, QStringList{kWriteError});
        QVERIFY(s.panel->Panel6->isVisible());
        QCOMPARE(s.panel->ListPromptMode, 2);
        s.panel->BoutMessAnnule->click();
        QVERIFY(s.panel->Panel6->isHidden());
        QCOMPARE(s.panel->Panel6->pos(), QPoint(0, 436));
        QVERIFY(QFile::exists(s.listPath(QStringLiteral("plantes"))));
    }

    // A drop of several files from the desktop adds the first, as its full path.
    void aDropAddsTheFirstFile() {
        Setup s;
        s.putList(QStringLiteral("images"), "http://x/1.gif\r\n");
        s.make();
        s.open();
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(QStringLiteral("/home/u/un deux.png")),
                       QUrl::fromLocalFile(QStringLiteral("/home/u/b.png"))});
        QWidget* target = s.panel->ListImg->viewport();
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(s.commands.constLast(), QStringLiteral("BoutImgAddClick"));
        QCOMPARE(itemsOf(s.panel->ListImg), (QStringList{QStringLiteral("http://x/1.gif"),
                                                         QStringLiteral("/home/u/un deux.png")}));
        QCOMPARE(s.listBytes(QStringLiteral("images")),
                 QByteArray("http://x/1.gif\r\n/home/u/un deux.png\r\n"));
    }
};

ZK_PART_TEST_MAIN(ImageListPanelTest)
#include "image_list_panel_test.moc"
