// The live preview's scheduling on its own: a fake generator, a real browser view.
#include <QApplication>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>

#include "html_view.h"
#include "live_page.h"
#include "live_preview.h"
#include "part_test_support.h"

using zk::ui::LivePreview;

namespace {
constexpr int kWait = 60000;
}

class LivePreviewTest final : public QObject {
    Q_OBJECT

private slots:
    void init() {
        generations_ = 0;
        refusals_ = 0;
        mayShow_ = true;
        code_ = "<b>un</b>";
        view_ = zk::platform::createHtmlView(nullptr);
        view_->resize(300, 200);
        view_->show();
        live_ = new LivePreview(
            [this]() -> std::optional<LivePreview::Job> {
                if (refusals_ > 0) {
                    --refusals_;
                    return std::nullopt;
                }
                ++generations_;
                generated_ = code_;
                // The first generation after gating waits for the test to open the gate.
                std::shared_ptr<QSemaphore> gate = std::exchange(gate_, nullptr);
                return [code = code_, gate] {
                    if (gate)
                        gate->acquire();
                    return code;
                };
            },
            [this] { return mayShow_; }, view_);
        live_->setView(view_, QUrl::fromLocalFile(dir_.filePath(QStringLiteral("p.html"))));
    }
    void cleanup() {
        if (opened_)
            opened_->release(); // the thread never stays waiting at the gate
        opened_.reset();
        gate_.reset();
        delete view_;
    }

    // Changes made while the window handles one event give one generation, after it.
    void changesInOneTurnGenerateOnce() {
        QSignalSpy sized(live_, &LivePreview::codeSized);
        QSignalSpy shown(live_, &LivePreview::shown);
        code_ = "d\xC3\xA9j\xC3\xA0"; // four characters, six bytes
        live_->changed();
        live_->changed();
        live_->changed();
        QCOMPARE(generations_, 0);
        QVERIFY(shown.wait(kWait));
        QCOMPARE(generations_, 1);
        QCOMPARE(sized.count(), 1);
        QCOMPARE(sized.first().first().value<std::size_t>(), std::size_t(4));
        QVERIFY(!live_->pending());
    }

    // While the preview may not be shown, the size is still told, and nothing is loaded;
    // once it may, the next change shows the current fragment.
    void sizeIsToldEvenWhenNothingIsShown() {
        mayShow_ = false;
        QSignalSpy sized(live_, &LivePreview::codeSized);
        live_->changed();
        QVERIFY(sized.wait(kWait));
        QCOMPARE(live_->page()->loads(), 0);
        mayShow_ = true;
        code_ = "<i>deux</i>";
        QSignalSpy shown(live_, &LivePreview::shown);
        live_->changed();
        QVERIFY(shown.wait(kWait));
        QCOMPARE(live_->page()->loads(), 1);
    }

    // A generation refused (another one runs) is tried again until it is made.
    void refusedGenerationIsTriedAgain() {
        refusals_ = 2;
        QSignalSpy sized(live_, &LivePreview::codeSized);
        live_->changed();
        QTRY_COMPARE_WITH_TIMEOUT(sized.count(), 1, kWait);
        QCOMPARE(refusals_, 0);
        QCOMPARE(generations_, 1);
    }

    // A change made while the page still takes in the fragment before waits for it: the
    // changes made meanwhile make one generation, of the newest code, once the page is free.
    void changesWhileThePageIsBusyWaitForIt() {
        QSignalSpy shown(live_, &LivePreview::shown);
        live_->changed();
        QTRY_COMPARE_WITH_TIMEOUT(generations_, 1, kWait);
        const bool busy = live_->page()->busy();
        for (const char* code : {"<i>a</i>", "<i>ab</i>", "<i>abc</i>"}) {
            code_ = code;
            live_->changed();
            bool later = false;
            QTimer::singleShot(0, this, [&later] { later = true; });
            QTRY_VERIFY_WITH_TIMEOUT(later, kWait);
        }
        if (busy && live_->page()->busy())
            QCOMPARE(generations_, 1); // nothing generated while the page was busy
        QTRY_VERIFY_WITH_TIMEOUT(!live_->pending() && !live_->page()->busy(), kWait);
        QVERIFY(generations_ <= 4);
        QCOMPARE(generated_, std::string("<i>abc</i>")); // the newest, generated last
        QVERIFY(shown.count() >= 1);
    }

    // updateNow runs a waiting update at once, and nothing when none waits.
    void updateNowRunsTheWaitingUpdate() {
        live_->updateNow();
        QCOMPARE(generations_, 0);
        live_->changed();
        live_->updateNow();
        QCOMPARE(generations_, 1);
        QVERIFY(!live_->pending());
        // The update changed() scheduled runs before a later zero timer, and finds nothing.
        bool later = false;
        QTimer::singleShot(0, this, [&later] { later = true; });
        QTRY_VERIFY_WITH_TIMEOUT(later, kWait);
        QCOMPARE(generations_, 1);
    }

    // A change made while the generation of the one before is still being made: the older
    // one, once made, is moot and never shown; the newer one is.
    void newerChangeMakesTheOlderGenerationMoot() {
        QSignalSpy shown(live_, &LivePreview::shown);
        QSignalSpy sized(live_, &LivePreview::codeSized);
        opened_ = std::make_shared<QSemaphore>();
        gate_ = opened_;
        code_ = "<i>ancien</i>";
        live_->changed();
        QTRY_COMPARE_WITH_TIMEOUT(generations_, 1, kWait); // taken, waiting at the gate
        QVERIFY(live_->pending());
        code_ = "<b>nouveau</b>";
        live_->changed();
        QTRY_COMPARE_WITH_TIMEOUT(generations_, 2, kWait);
        opened_->release();
        QTRY_COMPARE_WITH_TIMEOUT(live_->mootGenerations(), 1, kWait);
        QVERIFY(shown.wait(kWait));
        QVERIFY(!live_->pending());
        QCOMPARE(sized.count(), 1); // the moot one told nothing
        QCOMPARE(sized.first().first().value<std::size_t>(), std::size_t(14));
        QCOMPARE(live_->page()->loads(), 1);
        QCOMPARE(runBody(), QStringLiteral("\n<b>nouveau</b>\n\n"));
    }

    // A change that leaves the code as it is tells the size again and pushes nothing; a
    // change of the code goes to the page as its changes alone.
    void unchangedCodeIsNotPushedAndChangesTravelAlone() {
        QSignalSpy shown(live_, &LivePreview::shown);
        code_ = "<font color=\"#FF0000\">a</font><font color=\"#00FF00\">b</font>";
        live_->changed();
        QVERIFY(shown.wait(kWait));
        QSignalSpy sized(live_, &LivePreview::codeSized);
        live_->changed();
        QVERIFY(sized.wait(kWait));
        QVERIFY(!live_->pending());
        QCOMPARE(live_->page()->pushes(), 0);
        code_ = "<font color=\"#FF0000\">a</font><font color=\"#0000FF\">bc</font>";
        live_->changed();
        QVERIFY(shown.wait(kWait));
        QCOMPARE(live_->page()->pushes(), 1);
        QCOMPARE(live_->page()->patches(), 1);
        QCOMPARE(runBody(), QStringLiteral("\n<font color=\"#FF0000\">a</font><font "
                                           "color=\"#0000FF\">bc</font>\n\n"));
    }

private:
    QString runBody() {
        return zktest::runScript(view_, QStringLiteral("document.body.innerHTML"), kWait)
            .toString();
    }

    QTemporaryDir dir_;
    QWebEngineView* view_ = nullptr;
    LivePreview* live_ = nullptr;
    int generations_ = 0;
    int refusals_ = 0;
    bool mayShow_ = true;
    std::shared_ptr<QSemaphore> gate_;
    std::shared_ptr<QSemaphore> opened_;
    std::string code_;
    std::string generated_;
};

int main(int argc, char** argv) {
    zk::platform::configureWebEngineForRoot();
    QApplication app(argc, argv);
    LivePreviewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "live_preview_test.moc"
