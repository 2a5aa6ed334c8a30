#include "preview_page.h"

#include <QFile>
#include <QWebEngineView>

#include <utility>

#include "atomic_file.h"
#include "html_view.h"
#include "text.h"
#include "window_host.h"

namespace zk::platform {

QWebEngineView* makeBrowserView(WindowHost& host, QWidget* parent, const QString& name,
                                const QRect& geometry) {
    QWebEngineView* view = createHtmlView(parent);
    view->setObjectName(name);
    view->setGeometry(geometry);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    host.ShowNewBrowserView(view);
    return view;
}

std::string wrapFragment(std::string_view fragment) {
    std::string page = "<html><head></head><body>\r\n";
    page += fragment;
    page += "\r\n</body></html>\r\n";
    return page;
}

PreviewPage::PreviewPage(WindowHost& host, QString path, std::function<QWebEngineView*()> view)
    : host_(host), path_(std::move(path)), view_(std::move(view)) {}

bool PreviewPage::write(std::string_view page) {
    return reportWrite(host_, zk::writeFileAtomically(QFile::encodeName(path_).toStdString(),
                                                      zk::encodeHtmlPage(page)));
}

bool PreviewPage::writeFragment(std::string_view fragment) {
    return write(wrapFragment(fragment));
}

void PreviewPage::show() {
    showFile(view_(), path_);
}

bool PreviewPage::showFragment(std::string_view fragment) {
    if (!writeFragment(fragment))
        return false;
    show();
    return true;
}

} // namespace zk::platform
