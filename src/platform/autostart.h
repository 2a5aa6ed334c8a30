#pragma once

#include <QString>

namespace zk::platform {

// The entry name derived from the executable's file name (no folder): up to eight
// characters are removed starting at its first "."; a name without a dot is kept whole.
// "ZelkoHTML.exe" gives "ZelkoHTML".
QString autostartEntryName(const QString& executableFileName);

// $XDG_CONFIG_HOME/autostart/NAME.desktop (~/.config when the variable is unset or not
// absolute), NAME from the executable's file name.
QString autostartEntryPath(const QString& executablePath);

// on: writes the desktop entry that starts executablePath at log-on, replacing an
// earlier one (creates the autostart folder when missing). off: removes the entry; a
// missing entry is no error. On failure returns false and sets *error (when not null) to
// "Failed to set data for 'NAME'".
bool setStartAtLogon(bool on, const QString& executablePath, QString* error);

} // namespace zk::platform
