// The live preview and the code-size meter in the real window: what the user types and
// every command show in the browser pane without a reload, nothing is written per key, and
// the meter follows the code.
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QToolButton>
#include <QWebEngineView>

#include "live_page.h"
#include "live_preview.h"
#include "preferences_panel.h"
#include "status_bar_clock.h"
#include "style_commands.h"
#include "text.h"
#include "window_test_support.h"

using namespace zktest;
using zk::ui::LivePreview;

namespace {

QString evaluate(QWebEngineView* view, const QString& script) {
    return runScript(view, script).toString();
}

// The text of the page's first element matching selector; empty when there is none.
QString textOf(QWebEngineView* view, const QString& selector) {
    return evaluate(view, QStringLiteral("(function () { const e = document.querySelector('%1');"
                                         " return e ? e.textContent : ''; })()")
                              .arg(selector));
}

// The names of the files under folder, with their sizes and times.
QStringList listing(const QString& folder) {
    QStringList entries;
    const QFileInfoList infos =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& info : infos)
        entries.append(QStringLiteral("%1 %2 %3")
                           .arg(info.fileName())
                           .arg(info.size())
                           .arg(info.lastModified().toMSecsSinceEpoch()));
    return entries;
}

} // namespace

class LiveWindowTest final : public QObject {
    Q_OBJECT

    std::unique_ptr<AppFolder> folder;
    std::unique_ptr<TForm1> form;

    LivePreview* live() const { return form->codeOutput()->livePreview(); }
    QWebEngineView* pane() const { return form->codeOutput()->WebB; }
    QLabel* meter() const { return form->statusBarClock()->CodeSizePanel; }

    // The window with its browser pane showing the start's page, nothing waiting.
    void openReady() {
        folder = std::make_unique<AppFolder>();
        form = openWindow(*folder);
        QTRY_VERIFY(pane());
        QTRY_VERIFY(live()->page());
        QTRY_VERIFY(evaluate(pane(), QStringLiteral("document.URL + ' ' + document.readyState"))
                        .endsWith(QStringLiteral("TempHTML.html complete")));
        QTRY_VERIFY(!live()->pending());
        form->Memo1->setFocus();
        QTRY_VERIFY(form->Memo1->hasFocus());
    }

    // The size of the code as the copy counts it, generated now.
    std::size_t codeSize() const {
        const std::optional<std::string> code = form->codeOutput()->Generate();
        return code ? zk::codePointCount(*code) : std::size_t(-1);
    }
    static QString meterText(std::size_t n) {
        return QStringLiteral("Code : %1 car.").arg(zk::ui::StatusBarClock::GroupedNumber(n));
    }

    // Types text into the editor and runs the update it schedules.
    void type(const QString& text) {
        typeText(form->Memo1, text);
        QVERIFY(live()->pending());
        live()->updateNow();
        QVERIFY(!live()->pending());
    }

private slots:
    void cleanup() {
        form.reset();
        folder.reset();
    }

    // Each key shows in the page that was loaded once: pushes, no reload, nothing written,
    // the focus kept in the editor, a marquee not started again by a key.
    void typingShowsInThePageWithoutAReload() {
        openReady();
        const QString temp = folder->file(QStringLiteral("Data/Temp"));
        const QByteArray startPage = readFile(form->codeOutput()->PreviewPagePath());
        const QStringList files = listing(temp);

        form->styleCommands()->BoutFontGras->click();
        QVERIFY(live()->pending());
        live()->updateNow();
        type(QStringLiteral("Bon"));
        QTRY_COMPARE(textOf(pane(), QStringLiteral("b")), QStringLiteral("Bon"));
        QCOMPARE(live()->page()->loads(), 1);
        const int pushes = live()->page()->pushes();

        type(QStringLiteral("jour é€"));
        QTRY_COMPARE(textOf(pane(), QStringLiteral("b")), QStringLiteral("Bonjour é€"));
        QCOMPARE(live()->page()->loads(), 1);
        QVERIFY(live()->page()->pushes() > pushes);

        // The marquee keeps running while the text in it changes.
        form->styleCommands()->BoutScroll->click();
        live()->updateNow();
        QTRY_COMPARE(textOf(pane(), QStringLiteral("marquee")), QStringLiteral("Bonjour é€"));
        QCOMPARE(evaluate(pane(), QStringLiteral("document.querySelector('marquee').zkMark = 'x'")),
                 QStringLiteral("x"));
        type(QStringLiteral("!"));
        QTRY_COMPARE(textOf(pane(), QStringLiteral("marquee")), QStringLiteral("Bonjour é€!"));
        QCOMPARE(evaluate(pane(), QStringLiteral("document.querySelector('marquee').zkMark")),
                 QStringLiteral("x"));

        QCOMPARE(live()->page()->loads(), 1);
        QVERIFY(form->Memo1->hasFocus());
        QCOMPARE(readFile(form->codeOutput()->PreviewPagePath()), startPage);
        QCOMPARE(listing(temp), files);
        QCOMPARE(pane()->url(),
                 QUrl::fromLocalFile(form->codeOutput()->PreviewPagePath())); // no page loaded
    }

    // Text effects, insertions and undo change the text: each shows.
    void effectsAndUndoShow() {
        openReady();
        type(QStringLiteral("abc"));
        QTRY_VERIFY(evaluate(pane(), QStringLiteral("document.body.textContent"))
                        .contains(QStringLiteral("abc")));
        form->textTools()->C4->trigger(); // upper case
        live()->updateNow();
        QTRY_VERIFY(evaluate(pane(), QStringLiteral("document.body.textContent"))
                        .contains(QStringLiteral("ABC")));
        form->BoutUndo->click();
        live()->updateNow();
        QTRY_VERIFY(evaluate(pane(), QStringLiteral("document.body.textContent"))
                        .contains(QStringLiteral("abc")));
        QCOMPARE(live()->page()->loads(), 1);
    }

    // Nothing is pushed while the option is off (its box unchecked), while the preview goes to the
    // web browser or while an overlay panel covers the pane; the meter follows all the same.
    // Closing the panel shows the text typed meanwhile.
    void nothingShownWhenThePreviewIsNotLive_data() {
        QTest::addColumn<QString>("why");
        QTest::newRow("option off") << QStringLiteral("option");
        QTest::newRow("box unchecked in the preferences") << QStringLiteral("box");
        QTest::newRow("preview in the web browser") << QStringLiteral("browser");
        QTest::newRow("character table open") << QStringLiteral("panel");
    }
    void nothingShownWhenThePreviewIsNotLive() {
        QFETCH(QString, why);
        openReady();
        type(QStringLiteral("un"));
        QTRY_VERIFY(evaluate(pane(), QStringLiteral("document.body.textContent"))
                        .contains(QStringLiteral("un")));
        const int loads = live()->page()->loads();
        const int pushes = live()->page()->pushes();

        if (why == QLatin1String("option")) {
            form->options.LivePreview = 0;
        } else if (why == QLatin1String("box")) {
            QTest::mouseClick(form->BoutPreferences, Qt::LeftButton);
            form->preferences()->CheckApercuDirect->setChecked(false);
            QTest::mouseClick(form->preferences()->BoutOKConf0, Qt::LeftButton);
            QCOMPARE(form->OpenPanel, std::uint8_t(0));
            QCOMPARE(int(form->options.LivePreview), 0);
        } else if (why == QLatin1String("browser")) {
            form->settings.PreviewInProgram = 0;
        } else {
            form->BoutCarac->click();
        }
        live()->updateNow();
        form->Memo1->setFocus();
        type(QStringLiteral(" deux"));
        QCOMPARE(meter()->text(), meterText(codeSize()));
        // Whatever was on its way has arrived; nothing followed it.
        QTRY_VERIFY(!live()->page()->busy());
        QCOMPARE(live()->page()->loads(), loads);
        QCOMPARE(live()->page()->pushes(), pushes);
        QVERIFY(!evaluate(pane(), QStringLiteral("document.body.textContent"))
                     .contains(QStringLiteral("deux")));

        if (why == QLatin1String("panel")) {
            form->BoutCarac->click(); // closes the table
            QCOMPARE(form->OpenPanel, std::uint8_t(0));
            live()->updateNow();
            QTRY_VERIFY(evaluate(pane(), QStringLiteral("document.body.textContent"))
                            .contains(QStringLiteral("un deux")));
            QCOMPARE(live()->page()->loads(), loads);
        }
    }

    // F12 writes the page and shows it from its file, as without the live preview; the next
    // key goes on live from there.
    void previewKeyWorksAsBefore() {
        openReady();
        form->styleCommands()->BoutFontItalique->click();
        type(QStringLiteral("vu"));
        QTRY_COMPARE(textOf(pane(), QStringLiteral("i")), QStringLiteral("vu"));
        const std::string code = form->codeOutput()->Generate().value_or("none");

        QTest::keyClick(form->Memo1, Qt::Key_F12);
        QCOMPARE(form->LastCommand, QStringLiteral("AperudansleNavigateurIntgr1Click"));
        QCOMPARE(readFile(form->codeOutput()->PreviewPagePath()),
                 "<html><head></head><body>\r\n" + QByteArray::fromStdString(code) +
                     "\r\n</body></html>\r\n");
        live()->updateNow();
        QTRY_COMPARE(pane()->url(), QUrl::fromLocalFile(form->codeOutput()->PreviewPagePath()));
        QTRY_VERIFY(evaluate(pane(), QStringLiteral("document.URL + ' ' + document.readyState"))
                        .endsWith(QStringLiteral("TempHTML.html complete")));
        QCOMPARE(textOf(pane(), QStringLiteral("i")), QStringLiteral("vu"));
        QVERIFY(form->Memo1->hasFocus());
        const QByteArray written = readFile(form->codeOutput()->PreviewPagePath());

        type(QStringLiteral("e"));
        QTRY_COMPARE(textOf(pane(), QStringLiteral("i")), QStringLiteral("vue"));
        QCOMPARE(readFile(form->codeOutput()->PreviewPagePath()), written);
    }

    // The meter counts the code as the copy does, groups thousands with a space, and turns
    // red over the limit with the excess in its tooltip; it follows with the option off.
    void meterFollowsTheCode() {
        openReady();
        QCOMPARE(meter()->accessibleName(), QStringLiteral("Taille du code"));
        QCOMPARE(meter()->text(), QStringLiteral("Code : 0 car."));
        form->options.LivePreview = 0;
        form->Memo1->setPlainText(QString(1234, QLatin1Char('a')));
        const std::size_t n = codeSize();
        QVERIFY(n > 1234 && n < 10000);
        form->settings.fmt.CodeSizeLimit = unsigned(n - 234);
        live()->updateNow();
        QCOMPARE(meter()->text(), meterText(n));
        QVERIFY(meter()->text().contains(
            QRegularExpression(QStringLiteral("^Code : 1 \\d{3} car\\.$"))));
        QVERIFY(meter()->property("overLimit").toBool());
        QVERIFY(meter()->autoFillBackground());
        QCOMPARE(meter()->palette().color(QPalette::Window), QColor(192, 0, 0));
        QVERIFY2(meter()->toolTip().contains(QStringLiteral("dépasse de 234 car.")),
                 qPrintable(meter()->toolTip()));
        QVERIFY(meter()->toolTip().contains(meterText(n - 234).mid(7)));

        // The copy counts the same, and warns from the same count.
        form->BoutClipBoard->click();
        QVERIFY2(
            form->LabError->text().startsWith(QStringLiteral("ATTENTION, %1 caractères !").arg(n)),
            qPrintable(form->LabError->text()));
        form->BoutErrorClick();

        // Exactly at the limit it is not over; a character of several bytes counts once.
        form->settings.fmt.CodeSizeLimit = unsigned(n);
        form->Memo1->setPlainText(QString(1233, QLatin1Char('a')) + QStringLiteral("é"));
        live()->updateNow();
        QCOMPARE(meter()->text(), meterText(n));
        QVERIFY(!meter()->property("overLimit").toBool());
        QVERIFY(!meter()->autoFillBackground());
        QVERIFY(meter()->toolTip().contains(QStringLiteral("limite : ") + meterText(n).mid(7)));
        QTRY_VERIFY(meter()->fontMetrics().horizontalAdvance(meter()->text()) <=
                    meter()->contentsRect().width());
    }

    // The option is written at close and read at the next start: off, nothing is pushed.
    void optionSurvivesCloseAndReopen() {
        openReady();
        form->options.LivePreview = 0;
        form->close();
        QVERIFY(readFile(folder->optionsPath()).contains("LivePreview=0\r\n"));
        form = openWindow(*folder);
        QCOMPARE(form->options.LivePreview, std::uint8_t(0));
        QTRY_VERIFY(pane());
        QTRY_VERIFY(live()->page());
        form->Memo1->setFocus();
        type(QStringLiteral("rien"));
        QCOMPARE(meter()->text(), meterText(codeSize()));
        QCOMPARE(live()->page()->loads() + live()->page()->pushes(), 0);
    }

    // Thousands are grouped by a space, as French writes them.
    void numbersAreGroupedByThousands() {
        const std::pair<std::size_t, const char*> cases[] = {
            {0, "0"},        {999, "999"},      {1000, "1 000"},
            {1234, "1 234"}, {64000, "64 000"}, {1234567, "1 234 567"}};
        for (const auto& [n, text] : cases)
            QCOMPARE(zk::ui::StatusBarClock::GroupedNumber(n), QString::fromUtf8(text));
    }

    // The status bar's three panels share its width: the address and the code size whole,
    // the clock in the rest, a long name of the day cut there with the whole text as tooltip.
    void statusBarPanelsShareTheBar() {
        openReady();
        zk::ui::StatusBarClock* clock = form->statusBarClock();
        clock->Timer1->stop();
        clock->Timer1Timer();
        form->Memo1->setPlainText(QString(123456, QLatin1Char('a')));
        live()->updateNow();
        QTRY_VERIFY(meter()->width() >= meter()->fontMetrics().horizontalAdvance(meter()->text()));
        for (QLabel* panel : {clock->StatBarPanels[0], clock->StatBarPanels[1], meter()}) {
            QTRY_VERIFY2(panel->fontMetrics().horizontalAdvance(panel->text()) <=
                             panel->contentsRect().width(),
                         qPrintable(panel->text()));
            QVERIFY2(panel->fontMetrics().height() <= panel->contentsRect().height(),
                     qPrintable(panel->text()));
        }
        QLabel* time = clock->StatBarPanels[0];
        QVERIFY(time->geometry().right() < clock->StatBarPanels[1]->geometry().left());
        QVERIFY(time->fontMetrics().horizontalAdvance(time->text()) <=
                time->contentsRect().width());
    }
};

ZK_WINDOW_TEST_MAIN(LiveWindowTest)
#include "live_window_test.moc"
