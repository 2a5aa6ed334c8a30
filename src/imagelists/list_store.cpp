#include "list_store.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ordinary_file.h"
#include "text.h"

namespace zk {

namespace {

// Longest file name the system takes; the backup name adds "!_" and ".lst" to a name.
constexpr std::size_t kNameMax = 255;
constexpr std::size_t kBackupExtra = 6;

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool endsWithLstAnyCase(std::string_view name) {
    if (name.size() < 3)
        return false;
    const std::string_view tail = name.substr(name.size() - 3);
    return lowerAscii(tail[0]) == 'l' && lowerAscii(tail[1]) == 's' && lowerAscii(tail[2]) == 't';
}

std::string withSlash(const std::string& folder) {
    if (folder.empty() || folder.back() == '/')
        return folder;
    return folder + '/';
}

bool pathExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool isPlainFile(const std::string& folder, const dirent* entry) {
    if (entry->d_type == DT_REG)
        return true;
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
        return false;
    struct stat st {};
    return ::stat((folder + entry->d_name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

template <class Visit> void forEachEntry(const std::string& folder, Visit visit) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!visit(entry))
            break;
    }
    ::closedir(dir);
}

// Renames without ever replacing an existing file.
ListFileResult renameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    int err = errno;
    if (err == EINVAL || err == ENOSYS) {
        // A file system without the flag: check, then rename.
        if (pathExists(to))
            return {ListFileStatus::AlreadyExists, EEXIST};
        if (std::rename(from.c_str(), to.c_str()) == 0)
            return {};
        err = errno;
    }
    if (err == EEXIST)
        return {ListFileStatus::AlreadyExists, err};
    return {ListFileStatus::Failed, err};
}

} // namespace

std::size_t listCount(const ListNameTable& names) {
    std::size_t n = 0;
    while (n < names.size() && !names[n].empty())
        ++n;
    return n;
}

std::string listNameOfFile(std::string_view fileName) {
    if (fileName.empty() || fileName.front() == '.' || fileName.front() == '!')
        return {};
    if (!endsWithLstAnyCase(fileName) || !isValidUtf8(fileName))
        return {};
    const std::size_t dot = fileName.find('.');
    if (dot == std::string_view::npos)
        return {};
    return std::string(fileName.substr(0, dot));
}

std::size_t scanListFolder(const std::string& folder, ListNameTable& names) {
    for (std::string& slot : names)
        slot.clear();
    const std::string base = withSlash(folder);
    std::size_t n = 0;
    forEachEntry(base, [&](const dirent* entry) {
        std::string name = listNameOfFile(entry->d_name);
        if (!name.empty() && isPlainFile(base, entry))
            names[n++] = std::move(name);
        return n < names.size();
    });
    return n;
}

bool isValidListName(std::string_view name) {
    if (name.empty() || name.front() == '!')
        return false;
    if (name.find_first_of(std::string_view("/\\.\0", 4)) != std::string_view::npos)
        return false;
    return name.size() + kBackupExtra <= kNameMax && isValidUtf8(name);
}

std::string listFilePath(const std::string& folder, std::string_view name) {
    const std::string base = withSlash(folder);
    const std::string exact = base + std::string(name) + ".lst";
    if (pathExists(exact))
        return exact;
    std::string found;
    forEachEntry(base, [&](const dirent* entry) {
        const std::string_view file = entry->d_name;
        if (file.size() == name.size() + 4 && file.substr(0, name.size()) == name &&
            file[name.size()] == '.' && endsWithLstAnyCase(file)) {
            found = base + std::string(file);
            return false;
        }
        return true;
    });
    return found.empty() ? exact : found;
}

bool fitsListFile(const std::vector<std::string>& entries) {
    std::size_t size = 0;
    for (const std::string& entry : entries) {
        size += entry.size() + 2;
        if (size > kListFileMaxBytes)
            return false;
    }
    return true;
}

std::vector<std::string> entriesOfText(std::string_view text) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '\r' && text[i] != '\n')
            continue;
        if (i > start)
            entries.emplace_back(text.substr(start, i - start));
        if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    return entries;
}

std::vector<std::string> parseListFile(std::string_view bytes) {
    return entriesOfText(decodeTextFile(bytes));
}

ListFileContent readListFile(const std::string& path) {
    ListFileContent content;
    ReadResult read = readOrdinaryFile(path, kListFileMaxBytes);
    switch (read.status) {
    case ReadStatus::Ok:
        content.status = ListFileRead::Loaded;
        content.entries = parseListFile(read.bytes);
        break;
    case ReadStatus::Missing:
        content.status = ListFileRead::Missing;
        break;
    case ReadStatus::TooBig:
        content.status = ListFileRead::TooBig;
        break;
    case ReadStatus::NotAFile:
    case ReadStatus::Failed:
        content.status = ListFileRead::Unreadable;
        break;
    }
    return content;
}

std::string formatListFile(const std::vector<std::string>& entries) {
    std::size_t size = 0;
    for (const std::string& entry : entries)
        size += entry.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& entry : entries) {
        text += entry;
        text += "\r\n";
    }
    // Addresses are nearly always ASCII, the same bytes in either code: a long list is
    // then written without converting it.
    unsigned char high = 0;
    for (const char c : text)
        high |= static_cast<unsigned char>(c);
    if (high < 0x80)
        return text;
    return encodeTextFile(text);
}

WriteResult writeListFile(const std::string& path, const std::vector<std::string>& entries) {
    return writeFileAtomically(path, formatListFile(entries));
}

ListFileResult createListFile(const std::string& folder, std::string_view name) {
    if (!isValidListName(name))
        return {ListFileStatus::InvalidName, EINVAL};
    const std::string path = withSlash(folder) + std::string(name) + ".lst";
    if (listFilePath(folder, name) != path)
        return {ListFileStatus::AlreadyExists, EEXIST}; // a.LST already holds list a
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int err = errno;
        return {err == EEXIST ? ListFileStatus::AlreadyExists : ListFileStatus::Failed, err};
    }
    if (::close(fd) != 0)
        return {ListFileStatus::Failed, errno};
    return {};
}

ListFileResult renameListFile(const std::string& folder, std::string_view oldName,
                              std::string_view newName) {
    if (!isValidListName(newName))
        return {ListFileStatus::InvalidName, EINVAL};
    if (oldName == newName)
        return {};
    const std::string target = withSlash(folder) + std::string(newName) + ".lst";
    if (listFilePath(folder, newName) != target || pathExists(target))
        return {ListFileStatus::AlreadyExists, EEXIST};
    return renameNoReplace(listFilePath(folder, oldName), target);
}

std::string backupListPath(const std::string& folder, std::string_view name) {
    return withSlash(folder) + "BakListes/!_" + std::string(name) + ".lst";
}

ListFileResult moveListToBackup(const std::string& folder, std::string_view name) {
    if (name.empty() || name.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos)
        return {ListFileStatus::InvalidName, EINVAL};
    const std::string source = listFilePath(folder, name);
    struct stat st {};
    if (::lstat(source.c_str(), &st) != 0)
        return {ListFileStatus::Failed, errno};
    if (S_ISDIR(st.st_mode))
        return {ListFileStatus::Failed, EISDIR};
    ::mkdir((withSlash(folder) + "BakListes").c_str(), 0755); // made at start; again if removed
    return renameNoReplace(source, backupListPath(folder, name));
}

int validListIndex(int index, std::size_t count) {
    if (count == 0)
        return -1;
    if (index < 0 || static_cast<std::size_t>(index) >= count)
        return 0;
    return index;
}

} // namespace zk
