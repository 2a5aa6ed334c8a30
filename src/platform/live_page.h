#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QWebEngineView;

namespace zk::platform {

// The changes that bring the page from fragment `from` to the next one (bodyPatch), worked
// out beforehand away from the window's thread.
struct LivePatch {
    QString from;
    QString changes;
};

// Keeps a fragment shown in a view made by createHtmlView() without reloading the page at
// each change. The first fragment loads a page that holds it; later ones are pushed into
// that page, which keeps its scroll position and every element whose tag and attributes did
// not change (a marquee keeps scrolling while its text changes). A fragment given with the
// changes from the one in the page takes only those changes; any other is compared with the
// page whole. A push waits for the one before it, and only the newest waiting fragment is
// pushed. When something else loads another page into the view, the next fragment loads the
// page again. A fragment equal to the one shown is not pushed again.
class LivePage final : public QObject {
    Q_OBJECT

public:
    // base is the address relative links and pictures of the fragment are read against.
    LivePage(QWebEngineView* view, QUrl base, QObject* parent = nullptr);

    // patch: the changes from a fragment, used when that fragment is the one in the page.
    void show(const QString& fragment, const LivePatch& patch = {});

    // True while a fragment is on its way into the page.
    bool busy() const { return busy_; }
    // How many times the page was loaded, and fragments pushed into it.
    int loads() const { return loads_; }
    int pushes() const { return pushes_; }
    // How many pushes took only their changes.
    int patches() const { return patches_; }

    // The page a fragment is shown in, the same as the preview page the program writes.
    static QString pageOf(const QString& fragment);

signals:
    // The newest fragment given to show() is in the page.
    void shown();
    // Nothing is on its way into the page any more (shown, failed or overtaken by another
    // page).
    void idle();

private:
    void load(const QString& fragment);
    void push(const QString& fragment, const QString& changes);
    void done(bool ok);

    QPointer<QWebEngineView> view_;
    QUrl base_;
    QString pending_;
    LivePatch pendingPatch_;
    QString current_; // the fragment in the page, or on its way there
    bool hasPending_ = false;
    bool busy_ = false;
    bool pageIsOurs_ = false;
    bool expectOwnLoad_ = false;
    bool ownLoadRunning_ = false;
    bool pushAfterLoad_ = false; // a long fragment waits for its empty page
    int loads_ = 0;
    int pushes_ = 0;
    int patches_ = 0;
    // Answers of pushes sent before a page change are not ours any more.
    quint64 round_ = 0;
};

} // namespace zk::platform
