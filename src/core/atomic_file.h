#pragma once

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

// Replaces the file at path with bytes through a temporary file beside it and a rename,
// so that a crash or a full disk leaves the previous file whole.
WriteResult writeFileAtomically(const std::string& path, std::string_view bytes);

// Reads a whole file; false when it cannot be opened or read (a directory included).
bool readWholeFile(const std::string& path, std::string& bytes);

} // namespace zk
