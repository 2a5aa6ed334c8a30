#include "html_view.h"

#include <QFileInfo>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <unistd.h>

namespace zk::platform {

void configureWebEngineForRoot() {
    // The engine's sandbox refuses to run as root; for other users it stays on.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

QWebEngineView* createHtmlView(QWidget* parent) {
    auto* view = new QWebEngineView(parent);
    view->settings()->setDefaultTextEncoding(QStringLiteral("windows-1252"));
    return view;
}

void showFile(QWebEngineView* view, const QString& path) {
    if (!view)
        return;
    const QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (view->url() == url)
        view->page()->triggerAction(QWebEnginePage::ReloadAndBypassCache);
    else
        view->load(url);
}

} // namespace zk::platform
