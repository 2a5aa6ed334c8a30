#pragma once

#include <QByteArray>
#include <QtGlobal>

// Restores an environment variable when the scope ends.
class EnvGuard final {
public:
    explicit EnvGuard(const char* name) : name_(name), was_(qEnvironmentVariableIsSet(name)) {
        if (was_)
            value_ = qgetenv(name);
    }
    ~EnvGuard() {
        if (was_)
            qputenv(name_, value_);
        else
            qunsetenv(name_);
    }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    const char* name_ = nullptr;
    bool was_ = false;
    QByteArray value_;
};
