#pragma once

#include <QString>

namespace zk::platform {

// Opens a document or an address with the program the desktop associates with it.
// A local path (absolute or relative) becomes a file URL; anything with a scheme
// ("http:", "mailto:", "file:") is used as it is. Returns false when the desktop
// reports a failure. Does not wait for the program.
bool openDocument(const QString& pathOrUrl);

// Starts the user's web browser on argument: the program named by $BROWSER when it is
// set and not blank (its first word is the program, further words are passed before the
// argument), else xdg-open. The argument is passed as one argument, unchanged (no quotes
// added, spaces kept). Started detached; returns false when the program cannot be started.
bool launchInBrowser(const QString& argument);

} // namespace zk::platform
