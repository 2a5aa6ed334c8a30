#include "atomic_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ordinary_file.h"

namespace zk {

namespace {

constexpr int kMaxLinkHops = 40;              // as the system's own limit on a path's links
constexpr std::size_t kSuffixLength = 6;      // mkstemp's "XXXXXX"
constexpr off_t kLinkAbove = off_t{16} << 20; // backups of larger files are second names

std::string folderPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool isSuffixChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Closes the descriptor on every way out.
struct Descriptor final {
    int fd = -1;
    Descriptor() = default;
    explicit Descriptor(int f) : fd(f) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

// A new temporary file beside target (target + ".XXXXXX"), locked for as long as it is
// open so that the clean-up of a later start knows it is in use. tmp receives its path.
int createTemporary(const std::string& target, std::string& tmp) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        tmp = target + ".XXXXXX";
        const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
        if (fd < 0)
            return -1;
        ::flock(fd, LOCK_EX);
        // A clean-up running just between the creation and the lock may have removed it.
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_nlink > 0)
            return fd;
        ::close(fd);
    }
    errno = EAGAIN;
    return -1;
}

bool writeAll(int fd, const char* p, std::size_t left) {
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// Fills a temporary file beside target through fill, then renames it over target.
template <class Fill> WriteResult replaceThroughTemporary(const std::string& target, Fill fill) {
    std::string tmp;
    Descriptor file(createTemporary(target, tmp));
    if (file.fd < 0)
        return {WriteStatus::CannotCreate, errno};
    // Keep the mode of the file being replaced; a new file gets the usual 0644.
    struct stat st {};
    ::fchmod(file.fd, ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);

    if (!fill(file.fd) || ::fsync(file.fd) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return {WriteStatus::WriteFailed, err};
    }
    // Renamed while still open and locked, so the clean-up never takes it for a leftover.
    if (std::rename(tmp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        // A target that is a folder, or a folder we cannot write into, cannot be created.
        return {err == EISDIR || err == EACCES || err == EROFS ? WriteStatus::CannotCreate
                                                               : WriteStatus::WriteFailed,
                err};
    }
    return {};
}

// Gives source the name target, replacing what target names, through a second name made
// beside target first. False when the file system cannot (no hard links, another device).
bool linkInPlaceOf(const std::string& source, const std::string& target) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::string tmp = target + ".XXXXXX";
        const int fd = ::mkostemp(tmp.data(), O_CLOEXEC); // a fresh name, at once given up
        if (fd < 0)
            return false;
        ::close(fd);
        ::unlink(tmp.c_str());
        if (::link(source.c_str(), tmp.c_str()) != 0) {
            if (errno == EEXIST)
                continue;
            return false;
        }
        if (std::rename(tmp.c_str(), target.c_str()) == 0)
            return true;
        ::unlink(tmp.c_str());
        return false;
    }
    return false;
}

// Why an existing target may not be replaced; 0 when it may.
int refusalToReplace(const std::string& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0)
        return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (!S_ISREG(st.st_mode))
        return EINVAL;
    // Root may write anything: a file without any write permission was made read-only on
    // purpose and stays as it is for root too.
    if ((st.st_mode & 0222) == 0)
        return EACCES;
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return errno;
    return 0;
}

} // namespace

bool resolveWriteTarget(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true; // a file, or nothing yet: a dangling link's target is created
        if (hops == kMaxLinkHops)
            return false;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size())
            return false; // changed under us, or empty
        link.resize(static_cast<std::size_t>(n));
        target = link.front() == '/' ? link : folderPart(target) + link;
    }
}

WriteResult writeFileAtomically(const std::string& path, std::string_view bytes) {
    std::string target;
    if (!resolveWriteTarget(path, target))
        return {WriteStatus::CannotCreate, ELOOP};
    if (const int refusal = refusalToReplace(target))
        return {WriteStatus::CannotCreate, refusal};
    return replaceThroughTemporary(
        target, [bytes](int fd) { return writeAll(fd, bytes.data(), bytes.size()); });
}

WriteResult keepBackupCopy(const std::string& path, std::string& backupPath) {
    std::string source;
    if (!resolveWriteTarget(path, source))
        return {WriteStatus::CannotCreate, ELOOP};
    backupPath = source + ".bak";
    ReadStatus status = ReadStatus::Ok;
    int error = 0;
    Descriptor in(openOrdinaryFile(source, status, error));
    if (in.fd < 0)
        return {WriteStatus::CannotCreate, error ? error : EINVAL};
    std::string target;
    if (!resolveWriteTarget(backupPath, target))
        return {WriteStatus::CannotCreate, ELOOP};
    if (const int refusal = refusalToReplace(target))
        return {WriteStatus::CannotCreate, refusal};
    // A file larger than any the program writes is given a second name instead, which costs
    // neither time nor room; a copy of a small one does not follow later edits in place.
    struct stat st {};
    if (::fstat(in.fd, &st) == 0 && st.st_size > kLinkAbove && linkInPlaceOf(source, target))
        return {};
    return replaceThroughTemporary(target, [&in](int out) {
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(in.fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return got == 0;
            if (!writeAll(out, buffer, static_cast<std::size_t>(got)))
                return false;
        }
    });
}

std::size_t removeStaleTemporaryFiles(const std::string& folder,
                                      const std::function<bool(std::string_view)>& isOwnFile) {
    Descriptor dirFd(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.fd < 0)
        return 0;
    const int listed = ::dup(dirFd.fd);
    DIR* dir = listed < 0 ? nullptr : ::fdopendir(listed);
    if (!dir) {
        if (listed >= 0)
            ::close(listed);
        return 0;
    }
    std::size_t removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() <= kSuffixLength + 1 || name[name.size() - kSuffixLength - 1] != '.')
            continue;
        bool suffixOk = true;
        for (char c : name.substr(name.size() - kSuffixLength))
            suffixOk = suffixOk && isSuffixChar(c);
        if (!suffixOk || !isOwnFile(name.substr(0, name.size() - kSuffixLength - 1)))
            continue;
        // Only an ordinary file that no save holds locked: a save in progress keeps its
        // temporary file locked until it is renamed into place.
        Descriptor file(::openat(dirFd.fd, entry->d_name,
                                 O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
        struct stat opened {};
        if (file.fd < 0 || ::fstat(file.fd, &opened) != 0 || !S_ISREG(opened.st_mode))
            continue;
        if (::flock(file.fd, LOCK_EX | LOCK_NB) != 0)
            continue;
        struct stat named {};
        if (::fstatat(dirFd.fd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) != 0 ||
            named.st_dev != opened.st_dev || named.st_ino != opened.st_ino)
            continue;
        if (::unlinkat(dirFd.fd, entry->d_name, 0) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

bool readWholeFile(const std::string& path, std::string& bytes) {
    ReadResult read = readOrdinaryFile(path, SIZE_MAX);
    if (!read.ok())
        return false;
    bytes = std::move(read.bytes);
    return true;
}

std::string writeErrorMessage(const WriteResult& result) {
    switch (result.status) {
    case WriteStatus::Ok:
        return {};
    case WriteStatus::CannotCreate:
        return "\r\nERREUR en écriture";
    case WriteStatus::WriteFailed:
        break;
    }
    if (result.error == ENOSPC)
        return "Disk full";
    return "I/O error " + std::to_string(result.error);
}

} // namespace zk
