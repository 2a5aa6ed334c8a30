// zelkohtml-gen: prints the HTML code generated for a text.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli.h"

namespace {

// Reads to the end, or until the text is known to be too long for the tool.
bool readAll(int fd, std::string& bytes) {
    char buf[65536];
    while (bytes.size() <= zk::kInputSizeLimit) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    return true;
}

bool writeAll(int fd, const std::string& bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
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

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string out, err;
    int status = zk::runCli(
        args, [](std::string& bytes) { return readAll(STDIN_FILENO, bytes); }, out, err);
    if (status == zk::kExitOk && !writeAll(STDOUT_FILENO, out)) {
        err = std::string("zelkohtml-gen: standard output: ") + std::strerror(errno) + "\n";
        status = zk::kExitFailure;
    }
    writeAll(STDERR_FILENO, err);
    return status;
}
