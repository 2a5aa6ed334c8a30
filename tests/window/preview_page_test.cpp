// The preview-page writer alone, with a stand-in host: the page written whole around the
// fragment, the view made only when a page is shown and only once, a failed write reported
// through the host and nothing shown.
#include <QDir>
#include <QWebEngineView>

#include "part_test_support.h"
#include "preview_page.h"

using namespace zktest;

class PreviewPageTest final : public QObject {
    Q_OBJECT

    struct Setup {
        FakeHost host;
        int viewsMade = 0;
        QWebEngineView* view = nullptr;
        QWebEngineView* ensureView() {
            if (!view) {
                ++viewsMade;
                view = zk::platform::makeBrowserView(host, &host.window, QStringLiteral("WebT"),
                                                     QRect(0, 0, 200, 100));
            }
            return view;
        }
        zk::platform::PreviewPage page(const QString& path) {
            return {host, path, [this] { return ensureView(); }};
        }
    };

private slots:
    void fragmentIsWrittenInsideThePageAndShownInAViewMadeOnce() {
        AppFolder folder;
        Setup s;
        const QString path = folder.file(QStringLiteral("Data/Temp/TempHTML.html"));
        zk::platform::PreviewPage page = s.page(path);
        QCOMPARE(page.path(), path);
        QVERIFY(page.writeFragment("<b>\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80</b>"));
        QCOMPARE(s.viewsMade, 0); // writing alone makes no view
        // Windows-1252, a character outside it as a reference.
        QCOMPARE(readFile(path),
                 QByteArray("<html><head></head><body>\r\n<b>\xE9t\xE9 &#128512;</b>"
                            "\r\n</body></html>\r\n"));
        s.host.window.show();
        page.show();
        QCOMPARE(s.viewsMade, 1);
        QCOMPARE(s.view->objectName(), QStringLiteral("WebT"));
        QCOMPARE(s.view->parentWidget(), &s.host.window);
        QCOMPARE(s.view->contextMenuPolicy(), Qt::NoContextMenu);
        QVERIFY(waitForBody(s.view, QStringLiteral("été")).contains(QStringLiteral("été 😀")));
        QVERIFY(s.page(path).showFragment("<i>second</i>"));
        QCOMPARE(s.viewsMade, 1);
        QVERIFY(waitForBody(s.view, QStringLiteral("second")).contains(QStringLiteral("<i>")));
        QVERIFY(s.host.errors.isEmpty());
        QVERIFY(dialogs().errors.isEmpty());
    }

    void wholePageIsWrittenAsItIs() {
        AppFolder folder;
        Setup s;
        const QString path = folder.file(QStringLiteral("Data/Temp/Image.html"));
        QVERIFY(s.page(path).write("<html><body><img src=\"a\"></body></html>\r\n"));
        QCOMPARE(readFile(path), QByteArray("<html><body><img src=\"a\"></body></html>\r\n"));
    }

    // A page that cannot be made goes to the error banner; the file keeps what it held and
    // no view is made or changed.
    void failedWriteIsReportedAndNothingShown() {
        AppFolder folder(false);
        Setup s;
        const QString path = folder.file(QStringLiteral("Data/Temp/TempHTML.html"));
        QVERIFY(!s.page(path).showFragment("x"));
        QCOMPARE(s.host.errors, QStringList{QStringLiteral("\r\nERREUR en écriture")});
        QCOMPARE(s.viewsMade, 0);
        QVERIFY(!QFile::exists(path));
    }

    void readOnlyFolderKeepsThePageItHeld() {
        ZK_WINDOW_AS_ORDINARY_USER();
        AppFolder folder;
        Setup s;
        const QString temp = folder.file(QStringLiteral("Data/Temp"));
        const QString path = temp + QStringLiteral("/TempHTML.html");
        QVERIFY(s.page(path).writeFragment("avant"));
        const QByteArray before = readFile(path);
        QVERIFY(QFile::setPermissions(temp, QFile::ReadOwner | QFile::ExeOwner));
        const bool written = s.page(path).writeFragment("apr\xC3\xA8s");
        QFile::setPermissions(temp, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!written);
        QCOMPARE(s.host.errors, QStringList{QStringLiteral("\r\nERREUR en écriture")});
        QCOMPARE(readFile(path), before);
    }
};

ZK_PART_TEST_MAIN(PreviewPageTest)
#include "preview_page_test.moc"
