#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace zk {

enum class WriteStatus {
    Ok,
    CannotCreate, // the file (or its temporary sibling) could not be created
    WriteFailed,  // created, but writing, flushing or renaming failed (a full disk)
};

struct WriteResult {
    WriteStatus status = WriteStatus::Ok;
    int error = 0; // errno of the failure
    bool ok() const { return status == WriteStatus::Ok; }
};

// The text the user sees for a failed save: a line break and "ERREUR en écriture" when the
// file cannot be created, "Disk full" or "I/O error N" when writing it failed; empty when
// the save went well.
std::string writeErrorMessage(const WriteResult& result);

// Replaces the file at path with bytes through a temporary file beside it and a rename,
// so that a crash or a full disk leaves the previous file whole. A symbolic link is
// followed: its target is replaced, in the target's folder, and the link stays. What may
// not be replaced is left as it is and gives CannotCreate: a file its owner made read-only
// (no write permission for anyone) or that this user may not write, a folder, a named pipe
// or a device.
WriteResult writeFileAtomically(const std::string& path, std::string_view bytes);

// Where writeFileAtomically(path) writes: the end of path's chain of symbolic links (path
// itself when it is not a link). False for a chain that loops.
bool resolveWriteTarget(const std::string& path, std::string& target);

// Keeps a copy of the ordinary file at path (links followed) under the file's own name
// followed by ".bak", beside it, replacing an older copy atomically. backupPath receives
// the copy's path. A file that is not an ordinary file gives CannotCreate. A very large
// file (more than 16 MiB) gets the backup name as a second name rather than a copy, where
// the file system allows it: as the program only ever replaces files whole, the backup
// still keeps the content it had.
WriteResult keepBackupCopy(const std::string& path, std::string& backupPath);

// Removes, from folder, the temporary files that interrupted saves left behind: a name
// isOwnFile accepts, a dot and six letters or digits, that no save in progress holds.
// Returns how many were removed. Nothing else in the folder is touched.
std::size_t removeStaleTemporaryFiles(const std::string& folder,
                                      const std::function<bool(std::string_view)>& isOwnFile);

// Reads a whole ordinary file, with no bound on its size: for files the program delivers
// itself. Others are read with readOrdinaryFile and a bound fitting their format. False
// when it cannot be opened or read (a folder, a named pipe or a device included).
bool readWholeFile(const std::string& path, std::string& bytes);

} // namespace zk
