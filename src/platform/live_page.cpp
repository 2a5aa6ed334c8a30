#include "live_page.h"

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

// Puts the new body in place of the old one. In each list of children the nodes equal at
// the start and at the end stay. Between them, a few nodes facing as many are brought up to
// date one by one: a node whose tag and attribute names are unchanged stays, its attribute
// values set in place and its children brought up to date the same way, so that the
// wrappers (a marquee, the font, the alignment) stay and a marquee keeps scrolling unless
// its settings change; other nodes are replaced. A longer run (the letters of a gradient,
// which all change colour when one is added) is replaced whole by the engine in one step.
// The fragment is parsed in a template, whose content is inert until it is moved in; the
// page's own scripts are off in the view, so nothing of it runs once it is in. The function
// is made once per page.
const char morphScript[] = R"(
window.zkMorph = window.zkMorph || (function () {
    const sameNames = (a, b) => {
        const as = a.attributes;
        const bs = b.attributes;
        if (as.length !== bs.length)
            return false;
        for (let i = 0; i < bs.length; ++i) {
            if (as[i].name !== bs[i].name)
                return false;
        }
        return true;
    };
    const morphNode = (into, old, now) => {
        if (old.nodeType !== now.nodeType || old.nodeName !== now.nodeName) {
            into.replaceChild(now, old);
        } else if (now.nodeType === Node.ELEMENT_NODE) {
            if (!sameNames(old, now)) {
                into.replaceChild(now, old);
                return;
            }
            let changed = false;
            for (const attribute of now.attributes) {
                if (old.getAttribute(attribute.name) !== attribute.value)
                    changed = true;
            }
            if (changed && old.nodeName === 'MARQUEE') {
                into.replaceChild(now, old);
                return;
            }
            for (const attribute of now.attributes) {
                if (old.getAttribute(attribute.name) !== attribute.value)
                    old.setAttribute(attribute.name, attribute.value);
            }
            morphList(old, now);
        } else if (old.nodeValue !== now.nodeValue) {
            old.nodeValue = now.nodeValue;
        }
    };
    const morphList = (into, from) => {
        const olds = into.childNodes;
        const news = from.childNodes;
        const n = olds.length;
        const m = news.length;
        let p = 0;
        while (p < n && p < m && olds[p].isEqualNode(news[p]))
            ++p;
        let s = 0;
        while (s < n - p && s < m - p && olds[n - 1 - s].isEqualNode(news[m - 1 - s]))
            ++s;
        const oldCount = n - p - s;
        const newCount = m - p - s;
        if (oldCount === newCount && oldCount <= 16) {
            const oldNodes = Array.prototype.slice.call(olds, p, p + oldCount);
            const newNodes = Array.prototype.slice.call(news, p, p + newCount);
            for (let i = 0; i < oldCount; ++i)
                morphNode(into, oldNodes[i], newNodes[i]);
            return;
        }
        const after = s > 0 ? olds[n - s] : null;
        if (oldCount > 0) {
            const range = document.createRange();
            range.setStartBefore(olds[p]);
            range.setEndAfter(olds[p + oldCount - 1]);
            range.deleteContents();
        }
        if (newCount > 0) {
            const range = document.createRange();
            range.setStartBefore(news[p]);
            range.setEndAfter(news[p + newCount - 1]);
            into.insertBefore(range.extractContents(), after);
        }
    };
    return function (html) {
        const body = document.body;
        if (!body)
            return false;
        const fresh = document.createElement('template');
        fresh.innerHTML = html;
        morphList(body, fresh.content);
        return true;
    };
})();
)";

// Makes the changes worked out beforehand (bodyPatch): false, the page left part way, when
// a node is not where they expect it; the page is then brought up to date whole.
const char patchScript[] = R"(
window.zkPatch = window.zkPatch || (function () {
    const nodeAt = (path) => {
        let node = document.body;
        for (const i of path)
            node = node ? node.childNodes[i] : null;
        return node || null;
    };
    return function (changes) {
        if (!document.body)
            return false;
        for (const change of changes) {
            if (change[0] === 'a') {
                const element = nodeAt(change[1]);
                if (!element || element.nodeName !== change[2])
                    return false;
                const values = change[3];
                for (let i = 0; i < values.length; i += 2) {
                    if (element.getAttribute(values[i]) !== values[i + 1])
                        element.setAttribute(values[i], values[i + 1]);
                }
                continue;
            }
            const into = nodeAt(change[1]);
            const index = change[2];
            const count = change[3];
            if (!into || into.nodeType !== Node.ELEMENT_NODE ||
                into.childNodes.length < index + count)
                return false;
            const after = into.childNodes[index + count] || null;
            if (count > 0) {
                const range = document.createRange();
                range.setStartBefore(into.childNodes[index]);
                range.setEndAfter(into.childNodes[index + count - 1]);
                range.deleteContents();
            }
            if (change[4].length > 0) {
                const fresh = document.createElement('template');
                fresh.innerHTML = change[4];
                into.insertBefore(fresh.content, after);
            }
        }
        return true;
    };
})();
)";

// text as a JavaScript string literal, in one pass.
QString scriptString(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 8 + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"':
            out += QLatin1String("\\\"");
            break;
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        default:
            // Other control characters, and the two line ends JavaScript knows beside these.
            if (c.unicode() < 0x20 || c.unicode() == 0x2028 || c.unicode() == 0x2029)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

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
        pendingPatch_ = {};
        ++round_;
        emit idle();
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

void LivePage::show(const QString& fragment, const LivePatch& patch) {
    if (!view_)
        return;
    if (busy_) {
        pending_ = fragment;
        pendingPatch_ = patch;
        hasPending_ = true;
        return;
    }
    if (pageIsOurs_ && fragment == current_) {
        // Told after the caller's turn, as for a fragment that is pushed.
        QTimer::singleShot(0, this, [this] { emit shown(); });
        return;
    }
    const bool patchFits = pageIsOurs_ && !patch.changes.isEmpty() && patch.from == current_;
    current_ = fragment;
    if (pageIsOurs_)
        push(fragment, patchFits ? patch.changes : QString());
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
        pendingPatch_ = {};
        hasPending_ = true;
        pushAfterLoad_ = true;
        current_.clear();
        page = pageOf(QString()).toUtf8();
    }
    view_->page()->setContent(page, QStringLiteral("text/html;charset=UTF-8"), base_);
}

void LivePage::push(const QString& fragment, const QString& changes) {
    busy_ = true;
    ++pushes_;
    QString script;
    if (!changes.isEmpty()) {
        ++patches_;
        script = QLatin1String(patchScript) + QLatin1String("window.zkPatch(") + changes +
                 QLatin1Char(')');
    } else {
        // The body a load of pageOf(fragment) gives: the line end after </html> ends up in
        // it.
        script = QLatin1String(morphScript) + QLatin1String("window.zkMorph(") +
                 scriptString(QStringLiteral("\r\n") + fragment + QStringLiteral("\r\n\r\n")) +
                 QLatin1Char(')');
    }
    const quint64 round = round_;
    const bool patched = !changes.isEmpty();
    QPointer<LivePage> self(this);
    view_->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                 [self, round, fragment, patched](const QVariant& result) {
                                     if (!self || self->round_ != round)
                                         return;
                                     if (result.toBool()) {
                                         self->done(true);
                                         return;
                                     }
                                     if (patched) {
                                         // The page is not the one the changes were
                                         // made for: it is compared whole.
                                         self->push(fragment, QString());
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
        pendingPatch_ = {};
    }
    if (hasPending_) {
        hasPending_ = false;
        show(std::exchange(pending_, QString()), std::exchange(pendingPatch_, LivePatch()));
        return;
    }
    if (ok)
        emit shown();
    if (!busy_)
        emit idle();
}

} // namespace zk::platform
