// The code output part alone, on a stand-in host: the preview, the copy and the code view
// ask the window only through the host.
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWebEngineView>

#include "clipboard.h"
#include "code_output.h"
#include "options_file.h"
#include "part_test_support.h"
#include "settings_file.h"
#include "sounds.h"

using namespace zktest;

class CodeOutputPartTest final : public QObject {
    Q_OBJECT

    struct Setup {
        explicit Setup(bool withData = true) : folder(withData) {
            editor = new QPlainTextEdit(&host.window);
            part = new zk::ui::CodeOutput(host, settings, options, editor, &host.window,
                                          folder.path());
            host.window.resize(544, 415);
            host.window.show();
        }
        AppFolder folder;
        FakeHost host;
        zk::AppSettings settings;
        zk::NewOptions options;
        QPlainTextEdit* editor = nullptr;
        zk::ui::CodeOutput* part = nullptr;
    };

private slots:
    // The copy takes the fragment; over the size limit the banner warns through the host
    // and the copy is made all the same; "minimise after copy" asks the host.
    void copyWarnsOverTheLimitAndStillCopies_data() {
        QTest::addColumn<unsigned>("limit");
        QTest::addColumn<int>("minimize");
        QTest::addColumn<bool>("warned");
        QTest::newRow("no limit") << 0u << 0 << false;
        QTest::newRow("under the limit") << 1000u << 0 << false;
        QTest::newRow("over the limit, then hidden") << 3u << 1 << true;
    }
    void copyWarnsOverTheLimitAndStillCopies() {
        QFETCH(unsigned, limit);
        QFETCH(int, minimize);
        QFETCH(bool, warned);
        Setup s;
        s.settings.fmt.CodeSizeLimit = limit;
        s.settings.MinimizeAfterCopy = static_cast<std::uint8_t>(minimize);
        s.editor->setPlainText(QStringLiteral("bonjour"));
        s.part->BoutClipBoardClick();
        const QString code = QString::fromStdString(s.part->GeneratedCode());
        QVERIFY(code.contains(QStringLiteral("bonjour")));
        QTRY_COMPARE(QApplication::clipboard()->text(), code);
        QCOMPARE(s.host.errors.size(), warned ? 1 : 0);
        if (warned)
            QVERIFY(s.host.errors.first().startsWith(QStringLiteral("ATTENTION, ")));
        QCOMPARE(s.host.hideCalls, minimize);
    }

    // The code view opens as the host's panel 8 with the text's line breaks kept, and a
    // second press closes it and gives the focus back to the editor.
    void codeViewOpensAndClosesThroughTheHost() {
        Setup s;
        s.host.window.activateWindow(); // the focus is checked below
        QTRY_VERIFY(s.host.window.isActiveWindow());
        s.host.openPanel = 3;
        s.editor->setPlainText(QStringLiteral("un\ndeux"));
        s.part->BoutCodeClick();
        QCOMPARE(s.host.openPanel, zk::ui::CodeOutput::kCodeViewPanel);
        QVERIFY(s.part->Memo2->toPlainText().contains(QStringLiteral("un\n")));
        s.part->Panel8->show(); // the real window shows the panel it opened
        s.part->BoutCodeClick();
        QCOMPARE(s.host.openPanel, 0);
        QTRY_VERIFY(s.editor->hasFocus());
    }

    // The preview in the program writes the page and shows it in WebB, made only then,
    // and closes the open panel; in the web browser it goes through the host.
    void previewShowsThePageInTheProgramOrTheBrowser() {
        Setup s;
        s.settings.PreviewInProgram = 1;
        s.editor->setPlainText(QStringLiteral("aper\xC3\xA7u"));
        s.host.openPanel = 7;
        QVERIFY(!s.part->WebB);
        s.part->BoutNavIntegreClick();
        QVERIFY(s.part->WebB);
        QCOMPARE(s.host.openPanel, 0);
        QVERIFY(
            waitForBody(s.part->WebB, QStringLiteral("aper")).contains(QStringLiteral("aperçu")));
        QVERIFY(QFile::exists(s.part->PreviewPagePath()));

        s.settings.PreviewInProgram = 0;
        s.settings.PreviewInNewWindow = 1;
        s.part->BoutNavIntegreClick();
        QCOMPARE(s.host.launched, QStringList{s.part->PreviewPagePath()});
        QVERIFY(s.host.errors.isEmpty());
    }

    // The guard against a generation started while one runs is the part's: a copy, the
    // code view and a generation asked for meanwhile are refused with a beep each and leave
    // the first one's code alone; the next generation runs as usual.
    void aGenerationWhileOneRunsIsRefused() {
        Setup s;
        s.part->GenerationPacing = {1000, std::chrono::milliseconds(0)};
        s.settings.fmt.GradientOn = 1;
        s.editor->setPlainText(QString(20000, QLatin1Char('a')));
        zk::platform::setClipboardText(QStringLiteral("avant"));
        const int beeps = zk::platform::beepCount();
        bool ranDuring = false;
        QTimer::singleShot(0, s.part, [&] {
            ranDuring = true;
            QVERIFY(s.part->Generating());
            QVERIFY(!s.part->Generate());
            s.part->BoutClipBoardClick();
            s.part->BoutCodeClick();
        });
        const std::optional<std::string> code = s.part->Generate();
        QVERIFY(ranDuring);
        QVERIFY(code);
        QCOMPARE(s.part->GeneratedCode(), *code);
        QVERIFY(code->size() > 20000);
        QCOMPARE(zk::platform::beepCount(), beeps + 3);
        QCOMPARE(zk::platform::clipboardText(), QStringLiteral("avant"));
        QCOMPARE(s.host.openPanel, 0);
        QVERIFY(!s.part->Generating());
        s.editor->setPlainText(QStringLiteral("x"));
        QVERIFY(s.part->Generate());
        QCOMPARE(zk::platform::beepCount(), beeps + 3);
    }

    // A preview page that cannot be written is reported through the host.
    void unwritablePreviewPageIsReported() {
        Setup s(false);
        s.settings.PreviewInProgram = 1;
        s.editor->setPlainText(QStringLiteral("x"));
        s.part->BoutNavIntegreClick();
        QCOMPARE(s.host.errors.size(), 1);
    }
};

ZK_PART_TEST_MAIN(CodeOutputPartTest)

#include "code_output_part_test.moc"
