#include "live_page.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <utility>

#include "preview_page.h"

namespace zk::platform {

namespace {

// setContent() travels as a percent-encoded data: URL, which the engine refuses beyond
// 2 MB: a page larger than this, encoded at worst three bytes a byte, is loaded empty and
// its fragment pushed into it.
constexpr qsizetype kMaxLoadedPageBytes = 600 * 1024;

// Puts the new body in place of the old one node by node: a node whose tag and attributes
// are unchanged stays (only its children or its text change), any other is replaced. The
// fragment is parsed in a template, whose content is inert until it is moved in; the page's
// own scripts are off in the view, so nothing of it runs once it is in.
const char pushScript[] = R"(
(function (html) {
    const body = document.body;
    if (!body)
        return false;
    const fresh = document.createElement('template');
    fresh.innerHTML = html;
    const same = (a, b) => {
        if (a.nodeType !== b.nodeType || a.nodeName !== b.nodeName)
            return false;
        if (a.nodeType !== Node.ELEMENT_NODE)
            return true;
        if (a.attributes.length !== b.attributes.length)
            return false;
        for (const attribute of b.attributes) {
            if (a.getAttribute(attribute.name) !== attribute.value)
                return false;
        }
        return true;
    };
    const morph = (into, from) => {
        const olds = Array.from(into.childNodes);
        const news = Array.from(from.childNodes);
        for (let i = 0; i < news.length; ++i) {
            const old = olds[i];
            const now = news[i];
            if (!old)
                into.appendChild(now);
            else if (!same(old, now))
                into.replaceChild(now, old);
            else if (now.nodeType === Node.ELEMENT_NODE)
                morph(old, now);
            else if (old.nodeValue !== now.nodeValue)
                old.nodeValue = now.nodeValue;
        }
        for (let i = news.length; i < olds.length; ++i)
            into.removeChild(olds[i]);
    };
    morph(body, fresh.content);
    return true;
})
)";

} // namespace

LivePage::LivePage(QWebEngineView* view, QUrl base, QObject* parent)
    : QObject(parent), view_(view), base_(std::move(base)) {
    connect(view, &QWebEngineView::loadStarted, this, [this] {
        if (std::exchange(expectOwnLoad_, false)) {
            ownLoadRunning_ = true;
            return;
        }
        // Another page comes in and is the newest thing shown: whatever was on its way or
        // waiting is moot.
        ownLoadRunning_ = false;
        pageIsOurs_ = false;
        busy_ = false;
        hasPending_ = false;
        pushAfterLoad_ = false;
        pending_.clear();
        ++round_;
    });
    connect(view, &QWebEngineView::loadFinished, this, [this](bool ok) {
        if (!std::exchange(ownLoadRunning_, false))
            return;
        pageIsOurs_ = ok;
        done(ok);
    });
}

QString LivePage::pageOf(const QString& fragment) {
    return QString::fromStdString(wrapFragment(fragment.toStdString()));
}

void LivePage::show(const QString& fragment) {
    if (!view_)
        return;
    if (busy_) {
        pending_ = fragment;
        hasPending_ = true;
        return;
    }
    if (pageIsOurs_ && fragment == current_) {
        // Told after the caller's turn, as for a fragment that is pushed.
        QTimer::singleShot(0, this, [this] { emit shown(); });
        return;
    }
    current_ = fragment;
    if (pageIsOurs_)
        push(fragment);
    else
        load(fragment);
}

void LivePage::load(const QString& fragment) {
    busy_ = true;
    expectOwnLoad_ = true;
    ++loads_;
    ++round_;
    QByteArray page = pageOf(fragment).toUtf8();
    if (page.size() > kMaxLoadedPageBytes) {
        pending_ = fragment;
        hasPending_ = true;
        pushAfterLoad_ = true;
        current_.clear();
        page = pageOf(QString()).toUtf8();
    }
    view_->page()->setContent(page, QStringLiteral("text/html;charset=UTF-8"), base_);
}

void LivePage::push(const QString& fragment) {
    busy_ = true;
    ++pushes_;
    // The body a load of pageOf(fragment) gives: the line end after </html> ends up in it.
    const QString body = QStringLiteral("\r\n") + fragment + QStringLiteral("\r\n\r\n");
    // The fragment travels as a JSON string: quotes, backslashes and line ends escaped.
    const QByteArray argument = QJsonDocument(QJsonArray{body}).toJson(QJsonDocument::Compact);
    const QString script = QString::fromUtf8(pushScript) + QLatin1Char('(') +
                           QString::fromUtf8(argument.mid(1, argument.size() - 2)) +
                           QLatin1Char(')');
    const quint64 round = round_;
    QPointer<LivePage> self(this);
    view_->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                 [self, round, fragment](const QVariant& result) {
                                     if (!self || self->round_ != round)
                                         return;
                                     if (result.toBool()) {
                                         self->done(true);
                                         return;
                                     }
                                     // The page lost its body: it is loaded again.
                                     self->pageIsOurs_ = false;
                                     self->busy_ = false;
                                     if (!self->hasPending_)
                                         self->load(fragment);
                                     else
                                         self->done(false);
                                 });
}

void LivePage::done(bool ok) {
    busy_ = false;
    if (std::exchange(pushAfterLoad_, false) && !ok) {
        // The empty page did not load: its fragment is not tried again until the next one.
        hasPending_ = false;
        pending_.clear();
    }
    if (hasPending_) {
        hasPending_ = false;
        show(std::exchange(pending_, QString()));
        return;
    }
    if (ok)
        emit shown();
}

} // namespace zk::platform
