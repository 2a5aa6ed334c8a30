#include "app_folder.h"

#include "atomic_file.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace zk {

namespace fs = std::filesystem;

namespace {

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

bool isAbsolute(const std::optional<std::string>& path) {
    return path && !path->empty() && path->front() == '/';
}

} // namespace

std::optional<std::string> processEnv(const std::string& name) {
    if (const char* value = std::getenv(name.c_str()))
        return std::string(value);
    return std::nullopt;
}

bool isFolderWritable(const std::string& folder) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return false;
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

AppFolderChoice chooseAppFolder(const std::string& executableFolder, const WritableCheck& writable,
                                const EnvLookup& env) {
    AppFolderChoice choice;
    choice.deliveredFolder = withSlash(executableFolder);
    choice.folder = choice.deliveredFolder;

    std::error_code ec;
    const std::string data = choice.deliveredFolder + "Data";
    const bool hasData = fs::is_directory(data, ec);
    if (writable(choice.deliveredFolder) && (!hasData || writable(data)))
        return choice;

    // The base directory rules: a relative or empty XDG_DATA_HOME is ignored.
    std::string base;
    const auto xdg = env("XDG_DATA_HOME");
    const auto home = env("HOME");
    if (isAbsolute(xdg))
        base = *xdg;
    else if (isAbsolute(home))
        base = withSlash(*home) + ".local/share";
    else
        return choice;

    choice.folder = withSlash(withSlash(base) + "zelkohtml");
    choice.inUserData = true;
    return choice;
}

SeedResult seedDataTree(const std::string& deliveredFolder, const std::string& appFolder) {
    SeedResult result;
    const fs::path from = fs::path(withSlash(deliveredFolder)) / "Data";
    const fs::path to = fs::path(withSlash(appFolder)) / "Data";
    std::error_code ec;
    if (fs::equivalent(from, to, ec))
        return result;
    if (!fs::is_directory(from, ec))
        return result;

    fs::recursive_directory_iterator it(from, fs::directory_options::skip_permission_denied, ec);
    if (ec) {
        result.failed.push_back(".");
        return result;
    }
    for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        std::error_code typeEc;
        if (!it->is_regular_file(typeEc))
            continue;
        const fs::path relative = it->path().lexically_relative(from);
        const fs::path target = to / relative;
        std::error_code existsEc;
        if (fs::exists(fs::symlink_status(target, existsEc)))
            continue;
        std::string bytes;
        std::error_code dirEc;
        fs::create_directories(target.parent_path(), dirEc);
        if (!readWholeFile(it->path().string(), bytes) ||
            !writeFileAtomically(target.string(), bytes).ok()) {
            result.failed.push_back(relative.generic_string());
            continue;
        }
        result.copied.push_back(relative.generic_string());
    }
    if (ec)
        result.failed.push_back(".");
    return result;
}

AppFolderChoice prepareAppFolder(const std::string& executableFolder) {
    AppFolderChoice choice = chooseAppFolder(executableFolder, isFolderWritable, processEnv);
    if (choice.inUserData)
        choice.seed = seedDataTree(choice.deliveredFolder, choice.folder);
    return choice;
}

} // namespace zk
