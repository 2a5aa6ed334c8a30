#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace zk::platform {

// One running copy per user and key. The first copy listens on a local socket named from
// the key and the user; a later copy connects, asks it to raise its window, and learns
// that it is not the primary copy once the first has answered. A socket left behind by a
// crash is replaced, and so is one whose copy does not answer within answerTimeoutMs (its
// start hung): the key is never held for ever by a copy that cannot show its window.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    static constexpr int kAnswerTimeoutMs = 15000;

    explicit SingleInstance(const QString& key, QObject* parent = nullptr,
                            int answerTimeoutMs = kAnswerTimeoutMs);
    ~SingleInstance() override;

    bool isPrimary() const { return primary_; }

    // The primary copy: whether the key is still its own. False when its start took so long
    // that a later copy took the key over; it must then end and leave the user to that one.
    bool holdsKey() const;

    // The local socket name used for key by this user.
    static QString serverNameFor(const QString& key);

signals:
    // The primary copy: another copy was started and asks for the window.
    void raiseRequested();

private:
    void acceptConnections();

    QLocalServer* server_ = nullptr;
    bool primary_ = false;
    QString socketPath_;              // the socket file this copy made
    unsigned long long socketId_ = 0; // its inode, to see whether another copy replaced it
};

} // namespace zk::platform
