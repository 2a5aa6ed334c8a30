#pragma once

#include <QString>

class QWebEngineView;
class QWidget;

namespace zk::platform {

// Prepares the browser engine's environment; call in main() before the QApplication is
// made, whoever the user is. As root the engine's sandbox cannot run, so it is turned off
// for root only (QTWEBENGINE_DISABLE_SANDBOX). Unless the user set
// QTWEBENGINE_CHROMIUM_FLAGS, the views share one renderer process.
void configureWebEngineForRoot();

// A browser view whose pages without a declared charset are read as windows-1252, and
// which plays a page's <bgsound> when the page shows. Its pages run no scripts, load only
// their pictures, sounds, style and fonts (local or from the web) and web pages in their
// frames, and never move the view to another page: only showFile() does. The program's
// own scripts run in QWebEngineScript::ApplicationWorld.
QWebEngineView* createHtmlView(QWidget* parent);

// Shows a local file (page or picture). Returns at once. Showing the same path again
// shows the file's new content, never a cached one.
void showFile(QWebEngineView* view, const QString& path);

} // namespace zk::platform
