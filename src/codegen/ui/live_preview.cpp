#include "live_preview.h"

#include <QTimer>
#include <QWebEngineView>

#include <utility>

#include "live_page.h"
#include "text.h"

namespace zk::ui {

namespace {
// How soon an update refused because another generation runs is tried again.
constexpr int kRetryMs = 50;
} // namespace

LivePreview::LivePreview(Generate generate, MayShow mayShow, QObject* parent)
    : QObject(parent), generate_(std::move(generate)), mayShow_(std::move(mayShow)) {}

void LivePreview::setView(QWebEngineView* view, const QUrl& base) {
    delete page_;
    if (!view)
        return;
    page_ = new zk::platform::LivePage(view, base, this);
    connect(page_, &zk::platform::LivePage::shown, this, &LivePreview::shown);
    connect(page_, &zk::platform::LivePage::idle, this, [this] {
        if (std::exchange(waitingForPage_, false))
            update();
    });
}

void LivePreview::changed() {
    if (pending_)
        return;
    pending_ = true;
    QTimer::singleShot(0, this, [this] { update(); });
}

void LivePreview::hold() {
    held_ = true;
    changed();
}

void LivePreview::updateNow() {
    if (pending_)
        update(true);
}

void LivePreview::update(bool evenIfPageBusy) {
    if (!pending_)
        return;
    if (!evenIfPageBusy && page_ && page_->busy() && !held_ && mayShow_()) {
        waitingForPage_ = true;
        return;
    }
    std::optional<std::string> code = generate_();
    if (!code) {
        QTimer::singleShot(kRetryMs, this, [this] { update(); });
        return;
    }
    pending_ = false;
    emit codeSized(zk::codePointCount(*code));
    if (std::exchange(held_, false)) {
        shownCode_ = std::move(code);
        return;
    }
    if (!page_ || !mayShow_() || code == shownCode_)
        return;
    page_->show(QString::fromStdString(*code));
    shownCode_ = std::move(code);
}

} // namespace zk::ui
