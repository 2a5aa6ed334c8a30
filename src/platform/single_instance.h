#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace zk::platform {

// One running copy per user and key. The first copy listens on a local socket named from
// the key and the user; a later copy connects, asks it to raise its window, and learns
// that it is not the primary copy. A socket left behind by a crash is replaced.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString& key, QObject* parent = nullptr);
    ~SingleInstance() override;

    bool isPrimary() const { return primary_; }

    // The local socket name used for key by this user.
    static QString serverNameFor(const QString& key);

signals:
    // The primary copy: another copy was started and asks for the window.
    void raiseRequested();

private:
    void acceptConnections();

    QLocalServer* server_ = nullptr;
    bool primary_ = false;
};

} // namespace zk::platform
