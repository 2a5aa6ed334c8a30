#include "html_view.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <QWebEngineNavigationRequest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>

#include <unistd.h>

#include "text.h"

namespace zk::platform {

namespace {

// setContent() travels as a percent-encoded data: URL, which the engine refuses beyond
// 2 MB; a margin covers the URL's prefix.
constexpr qsizetype maxDataUrlBytes = 2 * 1024 * 1024 - 1024;
constexpr qint64 maxReadBytes = maxDataUrlBytes;

bool isHtmlFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("html") || suffix == QLatin1String("htm") ||
           suffix == QLatin1String("shtml");
}

// A page that names its own encoding (byte order mark, meta charset, XML declaration)
// is left to the engine.
bool declaresEncoding(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") ||
        bytes.startsWith("\xFE\xFF") || bytes.trimmed().startsWith("<?xml"))
        return true;
    static const QRegularExpression meta(QStringLiteral("<meta[^>]*charset"),
                                         QRegularExpression::CaseInsensitiveOption);
    return meta.match(QString::fromLatin1(bytes)).hasMatch();
}

// The engine ignores the old <bgsound> element; this plays each one with an audio object
// kept out of the page, so that the page itself stays as written. loop "-1" or "infinite"
// repeats for ever, a number n plays n times, anything else once.
const char bgsoundScript[] = R"(
(function () {
    if (window.zelkoSounds)
        return;
    const sounds = window.zelkoSounds = [];
    for (const element of document.getElementsByTagName('bgsound')) {
        const source = element.getAttribute('src');
        if (!source)
            continue;
        const audio = new Audio(new URL(source, document.baseURI).href);
        const loop = (element.getAttribute('loop') || '').trim().toLowerCase();
        let remaining = parseInt(loop, 10);
        audio.loop = loop === '-1' || loop === 'infinite';
        if (!audio.loop && remaining > 1) {
            audio.addEventListener('ended', () => {
                if (--remaining > 0)
                    audio.play().catch(() => {});
            });
        }
        sounds.push(audio);
        audio.play().catch(() => {});
    }
})();
)";

bool isWebAddress(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

// Only the program moves a view to another page: a link, a form, a refresh or any other
// move of the page's own leads nowhere. A frame of the page may show a web page, never a
// local file.
bool allowedNavigation(const QWebEngineNavigationRequest& request) {
    using Request = QWebEngineNavigationRequest;
    if (request.isMainFrame())
        return request.navigationType() == Request::TypedNavigation ||
               request.navigationType() == Request::ReloadNavigation;
    return request.navigationType() == Request::OtherNavigation && isWebAddress(request.url());
}

// What a page may load: its pictures, sounds, style and fonts, from the disk or the web,
// and web pages in its frames; nothing else (scripts, script requests, sockets,
// prefetches, pings, plug-in content).
bool allowedRequest(QWebEngineUrlRequestInfo::ResourceType type, const QUrl& url) {
    using Info = QWebEngineUrlRequestInfo;
    switch (type) {
    case Info::ResourceTypeMainFrame: // the program's own load, past allowedNavigation
    case Info::ResourceTypeImage:
    case Info::ResourceTypeMedia:
    case Info::ResourceTypeStylesheet:
    case Info::ResourceTypeFontResource:
        return true;
    case Info::ResourceTypeSubFrame:
        return isWebAddress(url);
    default:
        return false;
    }
}

class PageRequestFilter final : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (!allowedRequest(info.resourceType(), info.requestUrl()))
            info.block(true);
    }
};

} // namespace

void configureWebEngineForRoot() {
    // The engine's sandbox refuses to run as root; for other users it stays on.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The three views show local pages only; one renderer process serves them all (about
    // 12 MB less with all three open). Flags the user set are left alone.
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--renderer-process-limit=1");
}

QWebEngineView* createHtmlView(QWidget* parent) {
    auto* view = new QWebEngineView(parent);
    auto* page = new QWebEnginePage(view);
    page->setUrlRequestInterceptor(new PageRequestFilter(page));
    QObject::connect(page, &QWebEnginePage::navigationRequested, page,
                     [](QWebEngineNavigationRequest& request) {
                         if (!allowedNavigation(request))
                             request.reject();
                     });
    view->setPage(page);
    QWebEngineSettings* settings = page->settings();
    settings->setDefaultTextEncoding(QStringLiteral("windows-1252"));
    // Pages come from others (a file the user opens, addresses from lists and captures):
    // their scripts never run. The program's own scripts run in a world of their own.
    settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    // The engine's switch for local files would refuse a local page its own pictures too;
    // the request filter above keeps local files to pictures, sounds and style instead.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    // A local page shows the web pictures it names (the engine refuses them otherwise).
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    // A page's background sound plays when the page shows, without a click.
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    // Run once each page has loaded: the engine's user scripts are not reliably injected
    // into every page that setContent() shows.
    QObject::connect(view, &QWebEngineView::loadFinished, view, [view](bool ok) {
        if (ok)
            view->page()->runJavaScript(QString::fromUtf8(bgsoundScript),
                                        QWebEngineScript::ApplicationWorld);
    });
    return view;
}

void showFile(QWebEngineView* view, const QString& path) {
    if (!view)
        return;
    const QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    // The engine guesses the encoding of a page that does not declare one, and short
    // accented texts are then often taken for Cyrillic or Mac Roman. Such a page is read
    // here and handed over with its encoding named; its own address stays the base, so its
    // local pictures and sounds still load.
    if (isHtmlFile(path)) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && file.size() <= maxReadBytes) {
            const QByteArray bytes = file.readAll();
            if (!declaresEncoding(bytes)) {
                const std::string utf8 = zk::decodeTextFile(
                    std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
                const QByteArray content = QByteArray::fromStdString(utf8);
                if (content.toPercentEncoding().size() <= maxDataUrlBytes) {
                    view->page()->setContent(content, QStringLiteral("text/html;charset=UTF-8"),
                                             url);
                    return;
                }
            }
        }
    }
    // Pictures, pages that declare their encoding and very large pages: the engine reads
    // the file itself, afresh each time (local files are not cached).
    view->load(url);
}

} // namespace zk::platform
