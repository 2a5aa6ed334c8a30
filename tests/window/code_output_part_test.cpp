// The code output part alone, on a stand-in host: the preview, the copy and the code view
// ask the window only through the host.
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTimer>
#include <QWebEngineView>

#include "clipboard.h"
#include "code_output.h"
#include "options_file.h"
#include "part_test_support.h"
#include "settings_file.h"
#include "sounds.h"
#include "text.h"

using namespace zktest;

namespace {

// Waits until the page shows mark as text (a gradient cuts every word into elements).
bool waitForText(QWebEngineView* view, const QString& mark) {
    return QTest::qWaitFor(
        [&] {
            return runScript(view, QStringLiteral("document.body ? document.body.innerText : ''"),
                             2000)
                .toString()
                .contains(mark);
        },
        kWindowSystemTimeoutMs);
}

// The picture the view shows of the page that shows mark, once it is drawn (more than one
// colour), is not the picture before and stays the same from one look to the next; a null
// picture when it never comes.
QImage newPicture(QWebEngineView* view, const QString& mark, const QImage& before) {
    if (!waitForText(view, mark))
        return {};
    const auto drawn = [](const QImage& image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != image.pixel(0, 0))
                    return true;
        return false;
    };
    QImage last;
    QImage picture;
    const bool settled = QTest::qWaitFor(
        [&] {
            last = std::exchange(picture, view->grab().toImage());
            return picture == last && drawn(picture) && picture != before;
        },
        kWindowSystemTimeoutMs);
    return settled ? picture : QImage();
}

} // namespace

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

    // The code view, the copy and its size warning take the chosen format; the preview, the
    // saved page and the formatted text of the copy are the HTML a browser shows (BBCode is
    // shown as HTML5). The formatted text goes only while "Copier aussi le texte mis en
    // forme" is on.
    void formatsReachTheCodeTheCopyAndThePage_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("compact");
        QTest::addColumn<QString>("codeMark");
        QTest::addColumn<QString>("htmlMark");
        const QString font = QStringLiteral("<font color=\"#");
        const QString span = QStringLiteral("<span style=\"color:#");
        const QString bbcode = QStringLiteral("[color=#");
        QTest::newRow("classic") << 0 << 0 << font << font;
        QTest::newRow("classic, compact") << 0 << 1 << font << font;
        QTest::newRow("HTML5") << 1 << 0 << span << span;
        QTest::newRow("HTML5, compact") << 1 << 1 << span << span;
        QTest::newRow("BBCode") << 2 << 0 << bbcode << span;
        QTest::newRow("BBCode, compact") << 2 << 1 << bbcode << span;
    }
    void formatsReachTheCodeTheCopyAndThePage() {
        QFETCH(int, format);
        QFETCH(int, compact);
        QFETCH(QString, codeMark);
        QFETCH(QString, htmlMark);
        for (const int rich : {1, 0}) {
            Setup s;
            s.settings.PreviewInProgram = 1;
            s.settings.fmt.GradientOn = 1;
            s.options.OutputFormat = static_cast<std::uint8_t>(format);
            s.options.CompactCode = static_cast<std::uint8_t>(compact);
            s.options.CopyRichText = static_cast<std::uint8_t>(rich);
            s.editor->setPlainText(QStringLiteral("Salut\ntoi"));

            // The code view: the format, the line breaks kept.
            s.part->BoutCodeClick();
            const QString shown = s.part->Memo2->toPlainText();
            QVERIFY2(shown.contains(codeMark), qPrintable(shown));
            QVERIFY2(!shown.contains(QStringLiteral("<br>")), qPrintable(shown));
            s.host.openPanel = 0;

            // The copy: the code as text, the HTML beside it when asked for.
            s.part->BoutClipBoardClick();
            const QString code = QString::fromStdString(s.part->GeneratedCode());
            QVERIFY2(code.contains(codeMark), qPrintable(code));
            QTRY_COMPARE(QApplication::clipboard()->text(), code);
            const QMimeData* data = QApplication::clipboard()->mimeData();
            QVERIFY(data);
            QVERIFY(data->formats().contains(QStringLiteral("text/plain")));
            QCOMPARE(data->formats().contains(QStringLiteral("text/html")), rich == 1);
            if (rich == 1) {
                const QString html = data->html();
                QVERIFY2(html.contains(htmlMark), qPrintable(html));
                QVERIFY2(html.contains(QStringLiteral("<br>")), qPrintable(html));
                if (format != 2)
                    QCOMPARE(html, code);
            }
            // The warning counts the code copied, not its HTML.
            const unsigned length = static_cast<unsigned>(code.toUcs4().size());
            s.settings.fmt.CodeSizeLimit = length;
            s.part->BoutClipBoardClick();
            QVERIFY(s.host.errors.isEmpty());
            s.settings.fmt.CodeSizeLimit = length - 1;
            s.part->BoutClipBoardClick();
            QCOMPARE(s.host.errors.size(), 1);
            QVERIFY2(s.host.errors.first().startsWith(
                         QStringLiteral("ATTENTION, %1 caract").arg(length)),
                     qPrintable(s.host.errors.first()));

            // The saved page and the preview: HTML.
            const std::optional<std::string> page = s.part->PageToSave();
            QVERIFY(page);
            const QString pageText = QString::fromStdString(*page);
            QVERIFY(pageText.startsWith(QStringLiteral("<html><head></head>")));
            QVERIFY2(pageText.contains(htmlMark), qPrintable(pageText));
            QVERIFY(!pageText.contains(QStringLiteral("[color")));
            if (rich == 0)
                continue; // the preview does not depend on the copy's choice
            s.part->BoutNavIntegreClick();
            QVERIFY(s.part->WebB);
            QVERIFY(waitForText(s.part->WebB, QStringLiteral("Salut\ntoi")));
            const QString body =
                runScript(s.part->WebB, QStringLiteral("document.body.innerHTML")).toString();
            QVERIFY2(body.contains(format == 0 ? QStringLiteral("<font")
                                               : QStringLiteral("<span style=")),
                     qPrintable(body));
            QVERIFY2(!body.contains(QStringLiteral("[color")), qPrintable(body));
        }
    }

    // Compact code renders the same page, pixel for pixel, as the code it shortens. The engine
    // places each element on a grid of 1/64 pixel, so the text is set in a face whose letters
    // are as wide as a whole number of those steps: an element more or fewer then moves no
    // letter.
    void compactCodeRendersTheSamePicture_data() {
        QTest::addColumn<int>("format");
        QTest::newRow("classic") << 0;
        QTest::newRow("HTML5") << 1;
        QTest::newRow("BBCode shown as HTML5") << 2;
    }
    void compactCodeRendersTheSamePicture() {
        QFETCH(int, format);
        Setup s;
        s.settings.PreviewInProgram = 1;
        s.settings.fmt.FontFace = "DejaVu Sans Mono";
        s.settings.fmt.FontSizeIndex = 2; // size 6: 32 pixels, letters 1233/64 pixel wide
        s.settings.fmt.Bold = 1;
        s.settings.fmt.Underline = 1;
        // Close colours over many letters: neighbours share a colour.
        s.settings.fmt.GradientOn = 1;
        s.settings.fmt.GradientStartColor = 0x0000C0;
        s.settings.fmt.GradientEndColor = 0x0000E0;
        s.options.OutputFormat = static_cast<std::uint8_t>(format);
        const QString text = QStringLiteral("Des voisines  sur\nbeaucoup de lettres");
        const auto preview = [&s](const QString& typed) {
            s.editor->setPlainText(typed);
            s.part->BoutNavIntegreClick();
            return s.part->WebB != nullptr;
        };
        QVERIFY(preview(text));
        const std::string fullCode = s.part->GeneratedCode();
        const QImage full = newPicture(s.part->WebB, QStringLiteral("lettres"), {});
        QVERIFY(!full.isNull());
        // Another page in between, so that the picture compared below is a new drawing.
        QVERIFY(preview(QStringLiteral("autre")));
        QVERIFY(!newPicture(s.part->WebB, QStringLiteral("autre"), full).isNull());

        s.options.CompactCode = 1;
        QVERIFY(preview(text));
        const std::string compactCode = s.part->GeneratedCode();
        QVERIFY2(compactCode.size() < fullCode.size(), compactCode.c_str());
        QVERIFY(waitForText(s.part->WebB, QStringLiteral("lettres")));
        QTRY_VERIFY2(s.part->WebB->grab().toImage() == full,
                     qPrintable(QString::fromStdString(fullCode + "\n" + compactCode)));
    }

    // The code-size meter counts the code as the copy counts it, in the chosen format (BBCode
    // too, although the live preview shows its HTML), its line breaks kept while the code view
    // is open as the copy keeps them then.
    void meterCountsTheCodeAsTheCopyDoes_data() {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("compact");
        QTest::addColumn<int>("percentSizes");
        QTest::newRow("classic") << 0 << 0 << 0;
        QTest::newRow("HTML5, compact") << 1 << 1 << 0;
        QTest::newRow("BBCode") << 2 << 0 << 0;
        QTest::newRow("BBCode, compact, sizes in per cent") << 2 << 1 << 1;
    }
    void meterCountsTheCodeAsTheCopyDoes() {
        QFETCH(int, format);
        QFETCH(int, compact);
        QFETCH(int, percentSizes);
        Setup s;
        s.settings.fmt.GradientOn = 1;
        s.settings.fmt.WavesOn = 1;
        s.settings.fmt.CodeSizeLimit = 10;
        s.options.OutputFormat = static_cast<std::uint8_t>(format);
        s.options.CompactCode = static_cast<std::uint8_t>(compact);
        s.options.BbcodePercentSizes = static_cast<std::uint8_t>(percentSizes);
        s.editor->setPlainText(QStringLiteral("Salut\ntoi  \xC3\xA0 tous"));
        QSignalSpy sized(s.part, &zk::ui::CodeOutput::codeSized);
        for (const int panel : {0, zk::ui::CodeOutput::kCodeViewPanel}) {
            s.host.openPanel = panel;
            sized.clear();
            s.part->CodeChanged();
            QTRY_COMPARE(sized.count(), 1);
            s.part->BoutClipBoardClick();
            const std::string copied = s.part->GeneratedCode();
            QCOMPARE(QApplication::clipboard()->text(), QString::fromStdString(copied));
            QCOMPARE(sized.first().at(0).value<std::size_t>(), zk::codePointCount(copied));
            QCOMPARE(sized.first().at(1).toUInt(), 10u);
        }
    }

    // "Copier comme image" puts the preview's picture on the clipboard as PNG, at twice the
    // screen's pixel ratio, cropped to the text, transparent around it, each letter of a
    // gradient in its colour; "Enregistrer comme image..." writes the same picture as a PNG
    // file (".png" added), and a file that cannot be written is reported. Both are items of
    // the preview's context menu.
    void copyAndSaveAsImage() {
        Setup s;
        s.settings.PreviewInProgram = 1;
        s.settings.fmt.Bold = 1;
        s.settings.fmt.FontSizeIndex = 1; // size 7: 48 pixels
        s.settings.fmt.GradientOn = 1;
        s.settings.fmt.GradientStartColor = 0x0000FF; // red
        s.settings.fmt.GradientEndColor = 0xFF0000;   // blue
        s.editor->setPlainText(QStringLiteral("MMMMM"));
        // The colours the code gives the first and the last letter.
        const std::optional<std::string> code = s.part->Generate();
        QVERIFY(code);
        QStringList colours;
        const QRegularExpression colour(QStringLiteral("color=\"#([0-9A-F]{6})\""));
        for (const QRegularExpressionMatch& m : colour.globalMatch(QString::fromStdString(*code)))
            colours.append(m.captured(1));
        QCOMPARE(colours.size(), 5);

        QSignalSpy done(s.part, &zk::ui::CodeOutput::pictureDone);
        s.part->CopiercommeImage1Click();
        QTRY_COMPARE(done.count(), 1);
        QCOMPARE(done.first().first().toBool(), true);
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QVERIFY(data);
        QVERIFY2(data->formats().contains(QStringLiteral("image/png")),
                 qPrintable(data->formats().join(' ')));
        const QImage copied = QImage::fromData(data->data(QStringLiteral("image/png")), "PNG")
                                  .convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!copied.isNull());
        // 48 pixels of the page are about 70 pixels of capitals at twice the screen's ratio.
        const qreal ratio = s.host.window.devicePixelRatioF();
        QVERIFY2(copied.height() >= 60 * ratio && copied.height() <= 110 * ratio,
                 qPrintable(QString::number(copied.height())));
        QVERIFY(copied.width() > 4 * copied.height()); // five wide letters, no margin
        // The strokes of the first and of the last letter have their colours; nothing white.
        const auto strokeColour = [&copied](int from, int to) {
            QMap<QRgb, int> seen;
            for (int y = 0; y < copied.height(); ++y)
                for (int x = from; x < to; ++x)
                    if (qAlpha(copied.pixel(x, y)) == 255)
                        ++seen[copied.pixel(x, y) & 0xFFFFFF];
            QRgb most = 0;
            for (auto it = seen.cbegin(); it != seen.cend(); ++it)
                if (it.value() > seen.value(most))
                    most = it.key();
            return QStringLiteral("%1").arg(most, 6, 16, QLatin1Char('0')).toUpper();
        };
        const int letter = copied.width() / 5;
        QCOMPARE(strokeColour(0, letter / 2), colours.first());
        QCOMPARE(strokeColour(copied.width() - letter / 2, copied.width()), colours.last());
        int transparent = 0;
        for (int y = 0; y < copied.height(); ++y)
            for (int x = 0; x < copied.width(); ++x) {
                const QRgb p = copied.pixel(x, y);
                transparent += qAlpha(p) == 0;
                QVERIFY(p != qRgba(255, 255, 255, 255));
            }
        QVERIFY(transparent > copied.width() * copied.height() / 10);

        // Saved: the same picture, in a file with the extension added.
        const QString name = s.folder.path() + QStringLiteral("Data/apercu");
        dialogs().saveAnswer = name;
        s.part->EnregistrercommeImage1Click();
        QTRY_COMPARE(done.count(), 2);
        QCOMPARE(done.last().first().toBool(), true);
        QImage saved(name + QStringLiteral(".png"), "PNG");
        QCOMPARE(saved.convertToFormat(QImage::Format_ARGB32), copied);
        // Not written: reported, and no picture said to be done.
        dialogs().saveAnswer = s.folder.path() + QStringLiteral("absent/apercu.png");
        s.part->EnregistrercommeImage1Click();
        QTRY_COMPARE(done.count(), 3);
        QCOMPARE(done.last().first().toBool(), false);
        QCOMPARE(s.host.errors.size(), 1);
        QVERIFY2(s.host.errors.first().contains(QStringLiteral("ERREUR")),
                 qPrintable(s.host.errors.first()));
        QVERIFY(!QFile::exists(s.folder.path() + QStringLiteral("absent")));
        // Cancelled: nothing.
        dialogs().saveAnswer.clear();
        s.part->EnregistrercommeImage1Click();
        QCOMPARE(done.count(), 3);

        // The preview's context menu holds both commands.
        QVERIFY(s.part->EnsureWebB());
        QCOMPARE(s.part->WebB->contextMenuPolicy(), Qt::CustomContextMenu);
        QCOMPARE(s.part->PopupApercu->actions(),
                 (QList<QAction*>{s.part->CopiercommeImage1, s.part->EnregistrercommeImage1}));
        QCOMPARE(s.part->CopiercommeImage1->text(), QStringLiteral("Copier comme &image"));
        QCOMPARE(s.part->EnregistrercommeImage1->text(),
                 QStringLiteral("&Enregistrer comme image..."));
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
