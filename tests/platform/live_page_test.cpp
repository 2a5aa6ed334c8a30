#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "html_patch.h"
#include "html_view.h"
#include "live_page.h"
#include "page_script.h"

using namespace zk::platform;

namespace {

constexpr int kWait = 60000;

QString bodyHtml(QWebEngineView* view) {
    return evaluate(view, QStringLiteral("document.body.innerHTML")).toString();
}

} // namespace

class LivePageTest final : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        view_ = createHtmlView(nullptr);
        view_->resize(400, 300);
        view_->show();
        live_ = new LivePage(view_, base(), view_);
    }
    void cleanup() {
        delete view_;
        view_ = nullptr;
        live_ = nullptr;
    }

    // Whatever the change, the pushed page is the page a fresh load of the new fragment
    // gives, and no page is loaded after the first.
    void pushGivesTheSamePageAsALoad_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("text grows") << "<b>un</b>"
                                    << "<b>un deux</b>";
        QTest::newRow("tag changes") << "<b>un</b>"
                                     << "<i>un</i>";
        QTest::newRow("attribute changes")
            << "<font color=\"#FF0000\">a</font><font color=\"#00FF00\">b</font>"
            << "<font color=\"#00FF00\">a</font><font color=\"#FF0000\">b</font>";
        QTest::newRow("nodes removed") << "<b>a</b>b<i>c</i><br>d"
                                       << "<b>a</b>";
        QTest::newRow("nodes added") << "a"
                                     << "a<br><div align=\"center\">b&nbsp c</div>";
        QTest::newRow("to nothing") << "<b>a</b>"
                                    << "";
        QTest::newRow("quotes, backslashes and script ends")
            << "x"
            << "\"'\\ `${x}` </script> \xE2\x80\xA8 \r\n \xC3\xA9\xE2\x82\xAC";
        QTest::newRow("unbalanced tags") << "<b><i>a</b>"
                                         << "<u>a<div>b</u></i>";
        QTest::newRow("page tags in the fragment") << "a"
                                                   << "</body><html><body bgcolor=red>b</html>";
    }
    void pushGivesTheSamePageAsALoad() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QVERIFY(showAndWait(before));
        QVERIFY(showAndWait(after));
        QCOMPARE(live_->loads(), 1);
        QCOMPARE(bodyHtml(view_), loadedBody(after));
    }

    // A fragment given with its changes from the one in the page takes them alone, and the
    // page is then the page a fresh load of the new fragment gives; a fragment the changes
    // cannot follow (scripts, comments, tags out of turn, tables) has none and is compared
    // whole, with the same result.
    void changesGiveTheSamePageAsALoad_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("followed");
        const QString letter = QStringLiteral("<font color=\"#%1\"><sup>%2</sup></font>");
        QString gradient;
        QString grown;
        for (int i = 0; i < 40; ++i) {
            gradient += letter.arg(i * 6, 6, 10, QLatin1Char('0')).arg(QChar(u'a' + i % 26));
            grown += letter.arg(i * 5, 6, 10, QLatin1Char('0')).arg(QChar(u'a' + i % 26));
            if (i % 7 == 6) {
                gradient += QLatin1Char(' ');
                grown += QLatin1Char(' ');
            }
        }
        grown += letter.arg(999999).arg(QLatin1Char('z'));
        const QString wrap = QStringLiteral("<font size=\"2\" face=\"Verdana\">%1</font>");
        QTest::newRow("colours change, a letter added")
            << wrap.arg(gradient) << wrap.arg(grown) << true;
        QTest::newRow("a letter inserted in the middle") << "<b>ab<i>c</i>d</b>"
                                                         << "<b>ab<i>c</i>x<i>c</i>d</b>" << true;
        QTest::newRow("text only") << "un"
                                   << "un deux" << true;
        QTest::newRow("to nothing and back") << "<b>a</b>"
                                             << "" << true;
        QTest::newRow("from nothing") << ""
                                      << "<u>a</u><br>b" << true;
        QTest::newRow("tag changes") << "<b>un</b>"
                                     << "<i>un</i>" << true;
        QTest::newRow("upper case and spaces in tags")
            << "<FONT Color = '#FF0000' >a</FONT >"
            << "<FONT Color = '#00FF00' >a</FONT ><BR/>" << true;
        QTest::newRow("references in text and values")
            << "<a href=\"x?a=1&amp;b=2\">a&nbsp&nbsp;b</a>"
            << "<a href=\"x?a=1&amp;b=3\">a&nbsp&nbsp;c&lt;</a>" << true;
        QTest::newRow("attribute added") << "<font color=\"#FF0000\">a</font>"
                                         << "<font color=\"#FF0000\" size=\"3\">a</font>" << true;
        QTest::newRow("line ends") << "a\r\nb<br>\r\n"
                                   << "a\r\nbc<br>\r\n\r\n"
                                   << true;
        QTest::newRow("marquee settings")
            << "<marquee scrollamount=\"6\"><b>a</b></marquee>"
            << "<marquee scrollamount=\"9\"><b>ab</b></marquee>" << true;
        QTest::newRow("many children of another shape")
            << QStringLiteral("<sup>a</sup>").repeated(30)
            << QStringLiteral("<sub>b</sub>").repeated(31) << true;
        QTest::newRow("a script") << "a"
                                  << "<script>x</script>b" << false;
        QTest::newRow("a comment") << "a"
                                   << "<!-- x -->b" << false;
        QTest::newRow("unbalanced tags") << "<b>a</b>"
                                         << "<b><i>a</b></i>" << false;
        QTest::newRow("a tag left open") << "<b>a</b>"
                                         << "<b>a" << false;
        QTest::newRow("a table") << "a"
                                 << "<table><td>b</td></table>" << false;
        QTest::newRow("a link in a link") << "a"
                                          << "<a href=x><a href=y>b</a></a>" << false;
        QTest::newRow("a lone angle bracket") << "a"
                                              << "a < b" << false;
        QTest::newRow("a repeated attribute") << "<font color=red>a</font>"
                                              << "<font color=red color=blue>b</font>" << true;
    }
    void changesGiveTheSamePageAsALoad() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(bool, followed);
        QVERIFY(showAndWait(before));
        const std::optional<std::string> changes =
            bodyPatch(before.toStdString(), after.toStdString());
        QCOMPARE(changes.has_value(), followed);
        QSignalSpy shown(live_, &LivePage::shown);
        live_->show(after, {before, changes ? QString::fromStdString(*changes) : QString()});
        QVERIFY(shown.wait(kWait));
        QCOMPARE(live_->loads(), 1);
        QCOMPARE(live_->patches(), followed ? 1 : 0);
        QCOMPARE(bodyHtml(view_), loadedBody(after));
    }

    // A letter whose colour changes is set in place and only the letter added is parsed; the
    // elements that did not change stay the same elements.
    void colourChangesTravelAsValues() {
        const std::optional<std::string> changes =
            bodyPatch("<font color=\"#FF0000\">a</font><font color=\"#FF0000\">b</font>",
                      "<font color=\"#FF0000\">a</font><font color=\"#FE0000\">b</font>"
                      "<font color=\"#FD0000\">c</font>");
        QVERIFY(changes.has_value());
        QCOMPARE(QString::fromStdString(*changes),
                 QStringLiteral("[[\"r\",[],3,0,\"<font color=\\\"#FD0000\\\">c</font>\"],"
                                "[\"a\",[2],\"FONT\",[\"color\",\"#FE0000\"]]]"));
        const QString before = QStringLiteral("<b id=\"x\">a</b><i>b</i>");
        const QString after = QStringLiteral("<b id=\"x\">a</b><i>c</i>");
        QVERIFY(showAndWait(before));
        QVERIFY(
            evaluate(view_, QStringLiteral("document.getElementById('x').zkMark = 5")).isValid());
        QSignalSpy shown(live_, &LivePage::shown);
        live_->show(after, {before, QString::fromStdString(
                                        *bodyPatch(before.toStdString(), after.toStdString()))});
        QVERIFY(shown.wait(kWait));
        QCOMPARE(live_->patches(), 1);
        QCOMPARE(evaluate(view_, QStringLiteral("document.getElementById('x').zkMark")).toInt(), 5);
    }

    // Changes made for another fragment than the one in the page are not used: the page is
    // compared whole.
    void changesForAnotherPageAreNotUsed() {
        QVERIFY(showAndWait(QStringLiteral("<b>un</b>")));
        const std::optional<std::string> changes = bodyPatch("<b>autre</b>", "<b>deux</b>");
        QVERIFY(changes.has_value());
        QSignalSpy shown(live_, &LivePage::shown);
        live_->show(QStringLiteral("<b>deux</b>"),
                    {QStringLiteral("<b>autre</b>"), QString::fromStdString(*changes)});
        QVERIFY(shown.wait(kWait));
        QCOMPARE(live_->patches(), 0);
        QCOMPARE(bodyHtml(view_), QStringLiteral("\n<b>deux</b>\n\n"));
    }

    // An element whose tag and attributes stay is the same element after a push (a
    // marquee is not started again); one whose attributes change is replaced.
    void unchangedElementsAreKept() {
        const QString marquee = QStringLiteral(
            "<marquee behavior=\"scroll\" scrollamount=\"6\" id=\"m\"><b>%1</b></marquee>");
        QVERIFY(showAndWait(marquee.arg(QStringLiteral("un"))));
        QVERIFY(
            evaluate(view_, QStringLiteral("document.getElementById('m').zkMark = 7")).isValid());
        QVERIFY(showAndWait(marquee.arg(QStringLiteral("un deux"))));
        QCOMPARE(evaluate(view_, QStringLiteral("document.getElementById('m').zkMark")).toInt(), 7);
        QCOMPARE(
            evaluate(view_, QStringLiteral("document.getElementById('m').innerText")).toString(),
            QStringLiteral("un deux"));

        QVERIFY(showAndWait(QString(marquee)
                                .replace(QStringLiteral("\"6\""), QStringLiteral("\"9\""))
                                .arg(QStringLiteral("un deux"))));
        QVERIFY(
            !evaluate(view_, QStringLiteral("'zkMark' in document.getElementById('m')")).toBool());
    }

    // A fragment too long to travel in a load is pushed into the page loaded empty, and one
    // as long pushed later arrives whole.
    void longFragmentIsShownWhole() {
        QString first;
        for (int i = 0; i < 220000; ++i)
            first += QStringLiteral("<b>%1</b>\u00e9").arg(i % 10);
        QVERIFY(first.toUtf8().size() > 2 * 1024 * 1024); // beyond what a load takes
        QVERIFY(showAndWait(first));
        QCOMPARE(live_->loads(), 1);
        QCOMPARE(evaluate(view_, QStringLiteral("document.body.getElementsByTagName('b').length"))
                     .toInt(),
                 220000);
        QCOMPARE(bodyHtml(view_), QStringLiteral("\n") + first + QStringLiteral("\n\n"));
        const QString second = first + QStringLiteral("<i>fin</i>");
        QVERIFY(showAndWait(second));
        QCOMPARE(live_->loads(), 1);
        QCOMPARE(
            evaluate(view_, QStringLiteral("document.querySelector('i').textContent")).toString(),
            QStringLiteral("fin"));
    }

    // A letter whose colour changes (as in a gradient when a letter is added) stays the same
    // element with the new colour; one that gains an attribute is replaced.
    void elementsTakeNewAttributeValuesInPlace() {
        QVERIFY(showAndWait(QStringLiteral("<font color=\"#FF0000\" id=\"f\">a</font>")));
        QVERIFY(
            evaluate(view_, QStringLiteral("document.getElementById('f').zkMark = 3")).isValid());
        QVERIFY(showAndWait(QStringLiteral("<font color=\"#00FF00\" id=\"f\">a</font>b")));
        QCOMPARE(evaluate(view_, QStringLiteral("document.getElementById('f').zkMark")).toInt(), 3);
        QCOMPARE(bodyHtml(view_),
                 QStringLiteral("\n<font color=\"#00FF00\" id=\"f\">a</font>b\n\n"));
        QVERIFY(
            showAndWait(QStringLiteral("<font color=\"#00FF00\" id=\"f\" size=\"3\">a</font>b")));
        QVERIFY(
            !evaluate(view_, QStringLiteral("'zkMark' in document.getElementById('f')")).toBool());
        QCOMPARE(bodyHtml(view_),
                 QStringLiteral("\n<font color=\"#00FF00\" id=\"f\" size=\"3\">a</font>b\n\n"));
    }

    // A fragment's scripts and event attributes do not run once pushed in.
    void pushedScriptsDoNotRun() {
        QVERIFY(showAndWait(QStringLiteral("a")));
        QVERIFY(showAndWait(QStringLiteral(
            "<script>document.title = 'ran'</script><img src=\"nothing.png\" "
            "onerror=\"document.title = 'ran'\"><b onclick=\"document.title = 'ran'\">b</b>")));
        QVERIFY(evaluate(view_, QStringLiteral("document.querySelector('b').click()")).isNull());
        QTRY_VERIFY_WITH_TIMEOUT(
            evaluate(view_, QStringLiteral("document.images[0].complete")).toBool(), kWait);
        QCOMPARE(evaluate(view_, QStringLiteral("document.title")).toString(), QString());
    }

    // The reader's place in a long page stays where it was.
    void scrollPositionIsKept() {
        const QString tall = QStringLiteral("<div style=\"height:3000px\">%1</div>");
        QVERIFY(showAndWait(tall.arg(QStringLiteral("a"))));
        QVERIFY(evaluate(view_, QStringLiteral("window.scrollTo(0, 500); 0")).isValid());
        QTRY_COMPARE_WITH_TIMEOUT(evaluate(view_, QStringLiteral("window.scrollY")).toInt(), 500,
                                  kWait);
        QVERIFY(showAndWait(tall.arg(QStringLiteral("ab"))));
        QCOMPARE(evaluate(view_, QStringLiteral("window.scrollY")).toInt(), 500);
    }

    // Fragments given while one is on its way: only the newest is shown, once.
    void onlyTheNewestWaitingFragmentIsShown() {
        QSignalSpy shown(live_, &LivePage::shown);
        live_->show(QStringLiteral("un"));
        live_->show(QStringLiteral("deux"));
        live_->show(QStringLiteral("<b>trois</b>"));
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, kWait);
        QVERIFY(!live_->busy());
        QCOMPARE(bodyHtml(view_), QStringLiteral("\n<b>trois</b>\n\n"));
        // Pushes behave alike.
        live_->show(QStringLiteral("quatre"));
        live_->show(QStringLiteral("cinq"));
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 2, kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!live_->busy(), kWait);
        QCOMPARE(shown.count(), 2);
        QCOMPARE(bodyHtml(view_), QStringLiteral("\ncinq\n\n"));
        QCOMPARE(live_->loads(), 1);
        // The fragment already shown is not pushed again.
        const int pushes = live_->pushes();
        QVERIFY(showAndWait(QStringLiteral("cinq")));
        QCOMPARE(live_->pushes(), pushes);
    }

    // Once the view shows another page, the next fragment loads the live page again; what
    // was waiting when the other page came is dropped.
    void anotherPageMakesTheNextFragmentLoad() {
        QVERIFY(showAndWait(QStringLiteral("un")));
        const QString path = dir_.filePath(QStringLiteral("autre.html"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><body><p>autre</p></body></html>");
        file.close();
        live_->show(QStringLiteral("moot"));
        QSignalSpy finished(view_, &QWebEngineView::loadFinished);
        showFile(view_, path);
        QVERIFY(finished.wait(kWait));
        QVERIFY(!live_->busy());
        QCOMPARE(evaluate(view_, QStringLiteral("document.body.innerText")).toString(),
                 QStringLiteral("autre"));
        QVERIFY(showAndWait(QStringLiteral("deux")));
        QCOMPARE(live_->loads(), 2);
        QCOMPARE(bodyHtml(view_), QStringLiteral("\ndeux\n\n"));
    }

private:
    QUrl base() const { return QUrl::fromLocalFile(dir_.filePath(QStringLiteral("page.html"))); }

    bool showAndWait(const QString& fragment) {
        QSignalSpy shown(live_, &LivePage::shown);
        live_->show(fragment);
        return shown.wait(kWait);
    }

    // The body a fresh load of the fragment's page gives.
    QString loadedBody(const QString& fragment) {
        QWebEngineView* reference = createHtmlView(nullptr);
        QSignalSpy finished(reference, &QWebEngineView::loadFinished);
        reference->page()->setContent(LivePage::pageOf(fragment).toUtf8(),
                                      QStringLiteral("text/html;charset=UTF-8"), base());
        const QString body = finished.wait(kWait) ? bodyHtml(reference) : QStringLiteral("<none>");
        delete reference;
        return body;
    }

    QTemporaryDir dir_;
    QWebEngineView* view_ = nullptr;
    LivePage* live_ = nullptr;
};

int main(int argc, char** argv) {
    configureWebEngineForRoot();
    QApplication app(argc, argv);
    LivePageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "live_page_test.moc"
