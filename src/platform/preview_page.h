// The pages the window writes for its browser views (the preview, the image page, the
// signature preview) and the views themselves, made when first needed.
#pragma once

#include <QRect>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

class QWebEngineView;
class QWidget;

namespace zk::platform {

class WindowHost;

// A browser view of the window: no context menu, shown at once through the host.
QWebEngineView* makeBrowserView(WindowHost& host, QWidget* parent, const QString& name,
                                const QRect& geometry);

// One page file of the Data tree shown in one browser view. The page is written as the
// window writes its pages (Windows-1252 with character references, through a temporary
// file and a rename); a failure is reported through the host, and the file then keeps
// what it held.
class PreviewPage final {
public:
    // view: the view the page is shown in, made when first needed (EnsureWebB...).
    PreviewPage(WindowHost& host, QString path, std::function<QWebEngineView*()> view);

    const QString& path() const { return path_; }
    // Writes a whole page; false, reported, when that failed.
    bool write(std::string_view page);
    // Writes a fragment inside "<html><head></head><body>" and "</body></html>".
    bool writeFragment(std::string_view fragment);
    // Shows the file in the view, making the view first when needed.
    void show();
    // Writes a fragment and shows the page; nothing is shown when the write failed.
    bool showFragment(std::string_view fragment);

private:
    WindowHost& host_;
    QString path_;
    std::function<QWebEngineView*()> view_;
};

// The page around a fragment, as every preview page has it.
std::string wrapFragment(std::string_view fragment);

} // namespace zk::platform
