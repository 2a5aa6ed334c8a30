#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "live_page.h"

class QWebEngineView;

namespace zk::ui {

// Follows the typing: after each change that shapes the code, the fragment is generated
// once the window has finished with the event that changed it (changes made meanwhile are
// folded into that one generation), its size is told for the code-size meter, and, while
// showing is allowed, it is pushed into the preview view without reloading it. While the
// page still takes in the fragment before, the generation waits for it: the keys typed
// meanwhile make one generation, not one each.
class LivePreview final : public QObject {
    Q_OBJECT

public:
    // The fragment of the current text and formatting; nullopt when none can be made now
    // (another generation runs), which is tried again shortly.
    using Generate = std::function<std::optional<std::string>()>;
    // Whether the fragment may be shown now (the option is on, the preview is the
    // program's own, no overlay panel covers it).
    using MayShow = std::function<bool()>;

    LivePreview(Generate generate, MayShow mayShow, QObject* parent = nullptr);

    // The view the fragment is shown in, once it exists; base is the address of the
    // preview page, which the fragment's relative addresses are read against.
    void setView(QWebEngineView* view, const QUrl& base);

    // Something that shapes the code changed.
    void changed();
    // The view is given a page by other means (the preview command, a file opened): the
    // code of the update that follows counts as shown, and nothing is shown in its place
    // until the code changes again.
    void hold();
    // Runs a waiting update at once (the window's tests and the measurement tool).
    void updateNow();

    bool pending() const { return pending_; }
    zk::platform::LivePage* page() const { return page_; }

signals:
    // The size of the code as the copy counts it (characters).
    void codeSized(std::size_t characters);
    // The newest fragment is in the preview page.
    void shown();

private:
    void update(bool evenIfPageBusy = false);

    Generate generate_;
    MayShow mayShow_;
    QPointer<zk::platform::LivePage> page_;
    bool pending_ = false;
    bool held_ = false;
    bool waitingForPage_ = false;
    // The code the view shows as far as this preview knows.
    std::optional<std::string> shownCode_;
};

} // namespace zk::ui
