#include "as_ordinary_user.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zktest {

namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

bool startsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

// Copies a file for the ordinary user, who then owns it.
bool copyFor(const fs::path& from, const fs::path& to, fs::perms mode) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec)
        return false;
    fs::permissions(to, mode, ec);
    return !ec && ::chown(to.c_str(), kNobody, kNoGroup) == 0;
}

} // namespace

bool runsAsRoot() {
    return ::geteuid() == 0;
}

OrdinaryUserRun runSelfAsOrdinaryUser(const std::vector<std::string>& args) {
    OrdinaryUserRun run;
    char tmpl[] = "/tmp/zk-ordinary-user-XXXXXX";
    if (!::mkdtemp(tmpl)) {
        run.output = std::string("mkdtemp: ") + std::strerror(errno);
        return run;
    }
    const fs::path folder = tmpl;
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    const fs::path exe = folder / self.filename();
    if (ec || ::chown(folder.c_str(), kNobody, kNoGroup) != 0 ||
        !copyFor(self, exe,
                 fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                     fs::perms::others_read | fs::perms::others_exec)) {
        run.output = "cannot prepare " + folder.string() + " for the ordinary user";
        fs::remove_all(folder, ec);
        return run;
    }

    // The environment, with the user's own folders in place of this process's.
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (startsWith(entry, "HOME=") || startsWith(entry, "TMPDIR=") ||
            startsWith(entry, "XAUTHORITY=") || startsWith(entry, "XDG_"))
            continue;
        env.push_back(entry);
    }
    env.push_back("HOME=" + folder.string());
    env.push_back("TMPDIR=" + folder.string());
    if (const char* xauthority = std::getenv("XAUTHORITY")) {
        const fs::path copy = folder / "Xauthority";
        if (copyFor(xauthority, copy, fs::perms::owner_read | fs::perms::owner_write))
            env.push_back("XAUTHORITY=" + copy.string());
    }

    std::vector<std::string> argv = {"setpriv",
                                     "--reuid=" + std::to_string(kNobody),
                                     "--regid=" + std::to_string(kNoGroup),
                                     "--clear-groups",
                                     "--",
                                     exe.string()};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> argp, envp;
    for (std::string& a : argv)
        argp.push_back(a.data());
    argp.push_back(nullptr);
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        run.output = std::string("pipe: ") + std::strerror(errno);
        fs::remove_all(folder, ec);
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = -1;
    const int spawned =
        ::posix_spawnp(&pid, "setpriv", &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        run.output = std::string("setpriv: ") + std::strerror(spawned);
    } else {
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            run.output.append(buffer, static_cast<std::size_t>(got));
        }
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    ::close(pipeFds[0]);
    fs::remove_all(folder, ec);
    return run;
}

bool qtestRunPassed(const OrdinaryUserRun& run) {
    return run.status == 0 && run.output.find("PASS   : ") != std::string::npos &&
           run.output.find(", 0 failed, 0 skipped") != std::string::npos;
}

} // namespace zktest
