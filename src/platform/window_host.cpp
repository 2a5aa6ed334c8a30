#include "window_host.h"

#include "atomic_file.h"
#include "dialogs.h"

namespace zk::platform {

bool reportWrite(WindowHost& host, const WriteResult& written) {
    if (written.ok())
        return true;
    const QString message = QString::fromStdString(writeErrorMessage(written));
    if (written.status == WriteStatus::CannotCreate)
        host.ShowError(message);
    else
        dialogs().runtimeError(host.hostWindow(), message);
    return false;
}

} // namespace zk::platform
