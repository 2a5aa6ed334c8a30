// The image lists on disk: the table of list names, the scan of the list folder, the list
// file format and the file operations behind creating, renaming and deleting a list.
// Names and entries are UTF-8; folders are given with or without a trailing "/".
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "atomic_file.h"

namespace zk {

// The table of list names: the names in the order the folder scan found them, then empty
// slots. Nothing is ever written past the last slot.
constexpr std::size_t kListSlots = 128;
using ListNameTable = std::array<std::string, kListSlots>;

// Number of names before the first empty slot.
std::size_t listCount(const ListNameTable& names);

// The list name a file of the list folder stands for, or empty when the file is not a
// list: names starting with "." or "!" are left out, and so are names whose last three
// characters are not "lst" in any case of letters. The name is the part before the first
// ".", so "holiday.2004.lst" gives "holiday"; a file name with no dot before its ending
// ("xlst") and one that is not valid UTF-8 are left out as well.
std::string listNameOfFile(std::string_view fileName);

// Empties the table, then puts into it the names of the lists found among the plain files
// of folder (not its sub-folders), in the order the folder lists them. Lists past the
// 128th are left out. Returns the number of names stored; 0 when the folder cannot be read.
std::size_t scanListFolder(const std::string& folder, ListNameTable& names);

// Whether a name typed by the user can name a list: not empty, no "/", "\" or NUL, no
// "." at all (the scan would read the name back cut at its first dot), not starting with
// "!" (the scan leaves such files out), valid UTF-8, and short enough for its backup
// file name "!_" + name + ".lst" to be a file name.
bool isValidListName(std::string_view name);

// The file of a list: folder + "/" + name + ".lst". When no file has that exact name but
// one differs from it only in the case of its ASCII letters ("a.LST"), that one is the
// list's file, as the scan took it for this list.
std::string listFilePath(const std::string& folder, std::string_view name);

// The largest list file read: some 200,000 addresses of ordinary length, far more than a
// list box can show usefully. A larger file is refused whole.
constexpr std::size_t kListFileMaxBytes = 8 * 1024 * 1024;

// Whether the file of entries stays within kListFileMaxBytes, counted in UTF-8 (never less
// than the file takes), so that a list that is changed can always be read again.
bool fitsListFile(const std::vector<std::string>& entries);

// The entries a text holds: one per line, lines ended by CR LF, LF or CR, empty lines
// skipped, every other line exactly as it is.
std::vector<std::string> entriesOfText(std::string_view text);
// The entries stored in a list file: entriesOfText of its text, which is UTF-8 when the
// bytes are valid UTF-8 with a byte above 127, Windows-1252 otherwise.
std::vector<std::string> parseListFile(std::string_view bytes);

enum class ListFileRead {
    Loaded,
    Missing,    // no file: an empty list, which a change creates
    TooBig,     // an ordinary file past kListFileMaxBytes
    Unreadable, // not an ordinary file (a folder, a named pipe, a device), or refused
};
struct ListFileContent final {
    ListFileRead status = ListFileRead::Missing;
    std::vector<std::string> entries; // when Loaded
};
// The entries of the list file at path. Only an ordinary file (links followed) is opened,
// never in a way that waits, and no more than kListFileMaxBytes is read.
ListFileContent readListFile(const std::string& path);
// The file's bytes for the entries: each followed by CR LF; Windows-1252 when every
// character fits, UTF-8 otherwise. No entries give an empty file.
std::string formatListFile(const std::vector<std::string>& entries);
// Replaces the file whole through a temporary file and a rename, so that a failed write
// leaves the previous file as it was (writeFileAtomically: a link is written through, a
// read-only file is left alone and reported as CannotCreate).
WriteResult writeListFile(const std::string& path, const std::vector<std::string>& entries);

enum class ListFileStatus {
    Done,
    InvalidName,   // the name cannot name a list (isValidListName)
    AlreadyExists, // the file to create, or the target of a rename or move, exists
    Failed,        // the system refused (see error)
};
struct ListFileResult final {
    ListFileStatus status = ListFileStatus::Done;
    int error = 0; // errno of a Failed operation
    bool ok() const { return status == ListFileStatus::Done; }
};

// Creates the empty file of a new list. An existing file is never emptied: it gives
// AlreadyExists.
ListFileResult createListFile(const std::string& folder, std::string_view name);

// Renames the file of list oldName (listFilePath) to newName + ".lst". An existing file of
// that name is never replaced. The same name is a success that changes nothing.
ListFileResult renameListFile(const std::string& folder, std::string_view oldName,
                              std::string_view newName);

// Where a deleted list is set aside: folder + "/BakListes/!_" + name + ".lst".
std::string backupListPath(const std::string& folder, std::string_view name);

// Moves the file of a list into the BakListes folder (made when missing) under its backup
// name. A backup of that name already there is never replaced: AlreadyExists, and the
// list stays.
ListFileResult moveListToBackup(const std::string& folder, std::string_view name);

// The index of the list to use for a saved index: itself when it names one of count
// lists, else the first list, or -1 when there is none.
int validListIndex(int index, std::size_t count);

} // namespace zk
