// Reading files that someone else may have put in the program's way: only an ordinary file
// (links followed) is opened, never in a way that can wait (a named pipe, a device), and no
// more is read than the file's format can hold.
#pragma once

#include <cstddef>
#include <string>

namespace zk {

enum class ReadStatus {
    Ok,
    Missing,  // nothing at the path (or a folder on the way is missing)
    NotAFile, // a folder, a named pipe, a device or a socket
    TooBig,   // an ordinary file holding more than the bound
    Failed,   // the system refused (no read permission, an input-output error)
};

struct ReadResult final {
    ReadStatus status = ReadStatus::Failed;
    int error = 0;     // errno of Failed
    std::string bytes; // the whole file when Ok
    bool ok() const { return status == ReadStatus::Ok; }
};

// Reads the ordinary file at path when it holds at most maxBytes bytes. The type is checked
// before the file is opened and again on the opened file, so a file swapped for a named
// pipe meanwhile is refused too; a file that grows past the bound while it is read is
// TooBig.
ReadResult readOrdinaryFile(const std::string& path, std::size_t maxBytes);

// Opens the ordinary file at path for reading, with the same checks; -1 otherwise, with
// status telling why. The descriptor is the caller's to close.
int openOrdinaryFile(const std::string& path, ReadStatus& status, int& error);

} // namespace zk
