// Where the program keeps its Data tree. A copy unpacked in a folder of its own keeps it
// beside the executable; an installed copy, whose folder the user cannot write to, keeps
// it under the user's data folder and starts it from the files delivered with the program.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zk {

using EnvLookup = std::function<std::optional<std::string>(const std::string& name)>;
using WritableCheck = std::function<bool(const std::string& folder)>;

// The process environment.
std::optional<std::string> processEnv(const std::string& name);
// Whether the current user may create files in a folder.
bool isFolderWritable(const std::string& folder);

struct SeedResult {
    std::vector<std::string> copied; // paths under Data/, relative ("Bin/fetes.txt")
    std::vector<std::string> failed; // the same; "." when the delivered tree cannot be read
    bool ok() const { return failed.empty(); }
};

struct AppFolderChoice {
    std::string folder;          // the application folder, with a trailing '/'
    std::string deliveredFolder; // the executable's folder, with a trailing '/'
    bool inUserData = false;     // folder is the user's copy, not the executable's folder
    SeedResult seed;             // what prepareAppFolder copied into the user's copy
};

// The executable's folder when it can be written to (and its Data folder too, when there
// is one); otherwise $XDG_DATA_HOME/zelkohtml/, by default $HOME/.local/share/zelkohtml/.
// Without a usable home the executable's folder stays the choice.
AppFolderChoice chooseAppFolder(const std::string& executableFolder, const WritableCheck& writable,
                                const EnvLookup& env);

// Copies every file of deliveredFolder + "Data/" that appFolder + "Data/" lacks, creating
// the folders on the way. Files already there (the user's own) are never replaced.
SeedResult seedDataTree(const std::string& deliveredFolder, const std::string& appFolder);

// Both steps with the real environment: the folder to use, its Data tree started from
// the delivered files when it is the user's copy.
AppFolderChoice prepareAppFolder(const std::string& executableFolder);

} // namespace zk
