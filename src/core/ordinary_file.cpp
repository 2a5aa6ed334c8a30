#include "ordinary_file.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zk {

namespace {

ReadStatus statusOfErrno(int error) {
    return error == ENOENT || error == ENOTDIR ? ReadStatus::Missing : ReadStatus::Failed;
}

} // namespace

int openOrdinaryFile(const std::string& path, ReadStatus& status, int& error) {
    error = 0;
    // Looked at first, so that a device is never opened at all (opening some has effects).
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0) {
        error = errno;
        status = statusOfErrno(error);
        return -1;
    }
    if (!S_ISREG(before.st_mode)) {
        status = ReadStatus::NotAFile;
        return -1;
    }
    // O_NONBLOCK: if a named pipe took the file's place since, opening it does not wait
    // for a writer; the check below then refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        error = errno;
        status = statusOfErrno(error);
        return -1;
    }
    struct stat after {};
    if (::fstat(fd, &after) != 0) {
        error = errno;
        ::close(fd);
        status = ReadStatus::Failed;
        return -1;
    }
    if (!S_ISREG(after.st_mode)) {
        ::close(fd);
        status = ReadStatus::NotAFile;
        return -1;
    }
    status = ReadStatus::Ok;
    return fd;
}

ReadResult readOrdinaryFile(const std::string& path, std::size_t maxBytes) {
    ReadResult result;
    const int fd = openOrdinaryFile(path, result.status, result.error);
    if (fd < 0)
        return result;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size >= 0 &&
        static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        result.status = ReadStatus::TooBig;
        return result;
    }
    if (st.st_size > 0)
        result.bytes.reserve(static_cast<std::size_t>(st.st_size));
    // One byte past the bound at most: a file that grows while it is read is refused
    // instead of read without end.
    char buffer[65536];
    for (;;) {
        const std::size_t left = maxBytes - result.bytes.size();
        const ssize_t got = ::read(fd, buffer, left < sizeof buffer ? left + 1 : sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            result.error = errno;
            result.status = ReadStatus::Failed;
            break;
        }
        if (got == 0) {
            result.status = ReadStatus::Ok;
            break;
        }
        result.bytes.append(buffer, static_cast<std::size_t>(got));
        if (result.bytes.size() > maxBytes) {
            result.status = ReadStatus::TooBig;
            break;
        }
    }
    ::close(fd);
    if (!result.ok())
        result.bytes.clear();
    return result;
}

} // namespace zk
