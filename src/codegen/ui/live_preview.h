#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "live_page.h"

class QWebEngineView;

namespace zk::ui {

// Follows the typing: after each change that shapes the code, the fragment is generated
// once the window has finished with the event that changed it (changes made meanwhile are
// folded into that one generation), its size is told for the code-size meter, and, while
// showing is allowed, it is pushed into the preview view without reloading it. The
// generation, and the changes from the fragment in the page, are worked out on a thread of
// their own, so that a key on a long text never waits for them; a newer change makes an
// older generation moot. While the page still takes in the fragment before, the generation
// waits for it: the keys typed meanwhile make one generation, not one each.
class LivePreview final : public QObject {
    Q_OBJECT

public:
    // One generation of the code: it holds copies of all it reads, and may run on any
    // thread.
    using Job = std::function<std::string()>;
    // The generation of the current text and formatting; nullopt when none can be made now
    // (another generation runs), which is tried again shortly.
    using TakeJob = std::function<std::optional<Job>()>;
    // Whether the fragment may be shown now (the option is on, the preview is the
    // program's own, no overlay panel covers it).
    using MayShow = std::function<bool()>;

    LivePreview(TakeJob takeJob, MayShow mayShow, QObject* parent = nullptr);
    ~LivePreview() override;

    // The view the fragment is shown in, once it exists; base is the address of the
    // preview page, which the fragment's relative addresses are read against.
    void setView(QWebEngineView* view, const QUrl& base);

    // Something that shapes the code changed.
    void changed();
    // The view is given a page by other means (the preview command, a file opened): the
    // code of the update that follows counts as shown, and nothing is shown in its place
    // until the code changes again.
    void hold();
    // Runs a waiting update at once, on this thread (the window's tests).
    void updateNow();

    // True from a change until its fragment has been handed to the page (or found moot).
    bool pending() const { return pending_; }
    // How many generations were made, and how many were moot once made because a newer
    // change had come meanwhile.
    int generations() const { return generations_; }
    int mootGenerations() const { return moot_; }
    zk::platform::LivePage* page() const { return page_; }

signals:
    // The size of the code as the copy counts it (characters).
    void codeSized(std::size_t characters);
    // The newest fragment is in the preview page.
    void shown();

private:
    struct Result;
    class Worker;

    // now: at once on this thread, even while the page is busy (updateNow).
    void update(bool now = false);
    // The newest generation is made: its size told and its fragment shown.
    void finish(const std::shared_ptr<const Result>& result);

    TakeJob takeJob_;
    MayShow mayShow_;
    QPointer<zk::platform::LivePage> page_;
    std::unique_ptr<Worker> worker_;
    bool pending_ = false;
    bool held_ = false;
    bool waitingForPage_ = false;
    bool scheduled_ = false;
    // The number of the newest generation asked for.
    quint64 serial_ = 0;
    int generations_ = 0;
    int moot_ = 0;
    // The code the view shows as far as this preview knows, and its fragment as handed to
    // the page.
    std::shared_ptr<const std::string> shownCode_;
    QString shownFragment_;
};

} // namespace zk::ui
