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
// which plays a page's <bgsound> when the page shows.
QWebEngineView* createHtmlView(QWidget* parent);

// Shows a local file (page or picture). Returns at once. Showing the same path again
// shows the file's new content, never a cached one.
void showFile(QWebEngineView* view, const QString& path);

} // namespace zk::platform
