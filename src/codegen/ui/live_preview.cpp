#include "live_preview.h"

#include <QTimer>
#include <QWebEngineView>

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "html_patch.h"
#include "live_page.h"
#include "text.h"

namespace zk::ui {

namespace {
// How soon an update refused because another generation runs is tried again.
constexpr int kRetryMs = 50;
} // namespace

struct LivePreview::Result {
    quint64 serial = 0;
    std::shared_ptr<const std::string> code;
    std::size_t characters = 0;
    QString fragment;
    zk::platform::LivePatch patch;
};

// Makes the newest generation given, one at a time, on a thread of its own: a generation
// given while another waits takes its place.
class LivePreview::Worker final {
public:
    struct Task {
        quint64 serial = 0;
        Job job;
        // The code in the page, and its fragment, which the changes are worked out from.
        std::shared_ptr<const std::string> base;
        QString baseFragment;
    };
    using Done = std::function<void(std::shared_ptr<const Result>)>;

    explicit Worker(Done done) : done_(std::move(done)), thread_([this] { run(); }) {}
    ~Worker() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

    void give(Task task) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            task_ = std::move(task);
        }
        wake_.notify_one();
    }

    // The body of the last code made, read once for the changes of the next one.
    struct Reading {
        std::shared_ptr<const std::string> code;
        std::unique_ptr<zk::platform::LiveBody> body;
    };

    // Makes the generation of task; reading, when given, is the last one and becomes this.
    static std::shared_ptr<const Result> make(const Task& task, Reading* reading = nullptr) {
        auto result = std::make_shared<Result>();
        result->serial = task.serial;
        auto code = std::make_shared<const std::string>(task.job());
        result->characters = zk::codePointCount(*code);
        result->fragment = QString::fromStdString(*code);
        auto body = std::make_unique<zk::platform::LiveBody>(*code);
        if (task.base && body->followed()) {
            std::unique_ptr<zk::platform::LiveBody> baseBody;
            const zk::platform::LiveBody* from = nullptr;
            if (reading && reading->code == task.base && reading->body) {
                from = reading->body.get();
            } else {
                baseBody = std::make_unique<zk::platform::LiveBody>(*task.base);
                from = baseBody.get();
            }
            if (const std::optional<std::string> changes = zk::platform::bodyPatch(*from, *body))
                result->patch = {task.baseFragment, QString::fromStdString(*changes)};
        }
        if (reading)
            *reading = {code, std::move(body)};
        result->code = std::move(code);
        return result;
    }

private:
    void run() {
        while (true) {
            Task task;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return stop_ || task_.has_value(); });
                if (stop_)
                    return;
                task = std::move(*task_);
                task_.reset();
            }
            done_(make(task, &reading_));
        }
    }

    Done done_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Task> task_;
    bool stop_ = false;
    Reading reading_;    // the worker thread's own
    std::thread thread_; // last: it starts once the rest is made
};

LivePreview::LivePreview(TakeJob takeJob, MayShow mayShow, QObject* parent)
    : QObject(parent), takeJob_(std::move(takeJob)), mayShow_(std::move(mayShow)) {
    worker_ = std::make_unique<Worker>([this](std::shared_ptr<const Result> result) {
        // Handed to the window's thread; dropped there if this preview is gone by then.
        QMetaObject::invokeMethod(
            this, [this, result] { finish(result); }, Qt::QueuedConnection);
    });
}

LivePreview::~LivePreview() {
    worker_.reset(); // nothing is handed over once the thread has ended
}

void LivePreview::setView(QWebEngineView* view, const QUrl& base) {
    delete page_;
    if (!view)
        return;
    page_ = new zk::platform::LivePage(view, base, this);
    connect(page_, &zk::platform::LivePage::shown, this, &LivePreview::shown);
    connect(page_, &zk::platform::LivePage::idle, this, [this] {
        if (std::exchange(waitingForPage_, false))
            update();
    });
}

void LivePreview::changed() {
    pending_ = true;
    if (std::exchange(scheduled_, true))
        return;
    QTimer::singleShot(0, this, [this] {
        scheduled_ = false;
        update();
    });
}

void LivePreview::hold() {
    held_ = true;
    changed();
}

void LivePreview::updateNow() {
    if (pending_)
        update(true);
}

void LivePreview::update(bool now) {
    if (!pending_)
        return;
    if (!now && page_ && page_->busy() && !held_ && mayShow_()) {
        waitingForPage_ = true;
        return;
    }
    std::optional<Job> job = takeJob_();
    if (!job) {
        QTimer::singleShot(kRetryMs, this, [this] { update(); });
        return;
    }
    ++generations_;
    Worker::Task task{++serial_, std::move(*job), shownCode_, shownFragment_};
    if (now)
        finish(Worker::make(task));
    else
        worker_->give(std::move(task));
}

void LivePreview::finish(const std::shared_ptr<const Result>& result) {
    if (result->serial != serial_) {
        ++moot_; // a newer change has come meanwhile
        return;
    }
    pending_ = false;
    emit codeSized(result->characters);
    if (std::exchange(held_, false)) {
        shownCode_ = result->code;
        shownFragment_ = result->fragment;
        return;
    }
    if (!page_ || !mayShow_() || (shownCode_ && *shownCode_ == *result->code))
        return;
    page_->show(result->fragment, result->patch);
    shownCode_ = result->code;
    shownFragment_ = result->fragment;
}

} // namespace zk::ui
