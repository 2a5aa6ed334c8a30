#include "app_folder.h"

#include "atomic_file.h"
#include "gtest_as_ordinary_user.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

zk::EnvLookup envOf(std::map<std::string, std::string> values) {
    return [values](const std::string& name) -> std::optional<std::string> {
        const auto it = values.find(name);
        if (it == values.end())
            return std::nullopt;
        return it->second;
    };
}

zk::WritableCheck writableExcept(std::set<std::string> readOnly) {
    return [readOnly](const std::string& folder) {
        std::string f = folder;
        if (!f.empty() && f.back() == '/')
            f.pop_back();
        return readOnly.count(f) == 0;
    };
}

// A temporary folder, removed afterwards.
class TempFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "zk_app_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root_, ec);
    }
    std::string path(const std::string& relative) const { return (root_ / relative).string(); }
    void put(const std::string& relative, const std::string& bytes) {
        fs::create_directories(fs::path(path(relative)).parent_path());
        ASSERT_TRUE(zk::writeFileAtomically(path(relative), bytes).ok()) << relative;
    }
    std::string get(const std::string& relative) const {
        std::string bytes;
        EXPECT_TRUE(zk::readWholeFile(path(relative), bytes)) << relative;
        return bytes;
    }

    fs::path root_;
};

struct ChoiceCase {
    const char* what;
    std::set<std::string> readOnly; // relative to the temporary folder
    std::map<std::string, std::string> env;
    bool withData;
    std::string expected; // "EXE" for the executable's folder, else the folder itself
    bool inUserData;
};

using AppFolderChoice = TempFolder;

TEST_F(AppFolderChoice, ExecutableFolderOrTheUsersDataFolder) {
    const ChoiceCase cases[] = {
        {"writable folder without a Data tree", {}, {{"HOME", "/home/léa"}}, false, "EXE", false},
        {"writable folder and Data tree", {}, {{"HOME", "/home/léa"}}, true, "EXE", false},
        {"read-only folder, XDG_DATA_HOME set",
         {"app"},
         {{"XDG_DATA_HOME", "/data/léa"}, {"HOME", "/home/léa"}},
         true,
         "/data/léa/zelkohtml/",
         true},
        {"read-only folder, XDG_DATA_HOME with a trailing slash",
         {"app"},
         {{"XDG_DATA_HOME", "/data/léa/"}},
         true,
         "/data/léa/zelkohtml/",
         true},
        {"read-only folder, default under HOME",
         {"app"},
         {{"HOME", "/home/léa"}},
         true,
         "/home/léa/.local/share/zelkohtml/",
         true},
        {"empty XDG_DATA_HOME is ignored",
         {"app"},
         {{"XDG_DATA_HOME", ""}, {"HOME", "/home/léa/"}},
         true,
         "/home/léa/.local/share/zelkohtml/",
         true},
        {"relative XDG_DATA_HOME is ignored",
         {"app"},
         {{"XDG_DATA_HOME", "données"}, {"HOME", "/home/léa"}},
         true,
         "/home/léa/.local/share/zelkohtml/",
         true},
        {"writable folder whose delivered Data tree is read-only",
         {"app/Data"},
         {{"HOME", "/home/léa"}},
         true,
         "/home/léa/.local/share/zelkohtml/",
         true},
        {"a read-only Data folder that does not exist is not asked about",
         {"app/Data"},
         {{"HOME", "/home/léa"}},
         false,
         "EXE",
         false},
        {"no usable home: the executable's folder stays", {"app"}, {}, true, "EXE", false},
        {"relative HOME is not usable", {"app"}, {{"HOME", "léa"}}, true, "EXE", false},
    };
    for (const auto& c : cases) {
        fs::remove_all(path("app"));
        fs::create_directories(path(c.withData ? "app/Data" : "app"));
        std::set<std::string> readOnly;
        for (const auto& r : c.readOnly)
            readOnly.insert(path(r));
        const auto choice =
            zk::chooseAppFolder(path("app"), writableExcept(readOnly), envOf(c.env));
        const std::string exe = path("app") + "/";
        EXPECT_EQ(choice.folder, c.expected == "EXE" ? exe : c.expected) << c.what;
        EXPECT_EQ(choice.deliveredFolder, exe) << c.what;
        EXPECT_EQ(choice.inUserData, c.inUserData) << c.what;
    }
}

TEST_F(AppFolderChoice, TrailingSlashOfTheExecutableFolderIsKept) {
    const auto choice = zk::chooseAppFolder(path(""), writableExcept({}), envOf({}));
    EXPECT_EQ(choice.folder.back(), '/');
    EXPECT_EQ(choice.folder.find("//"), std::string::npos) << choice.folder;
}

TEST_F(AppFolderChoice, WritabilityOfRealFolders) {
    EXPECT_TRUE(zk::isFolderWritable(path("")));
    EXPECT_FALSE(zk::isFolderWritable(path("absent")));
    put("file", "x");
    EXPECT_FALSE(zk::isFolderWritable(path("file")));
}

TEST_F(AppFolderChoice, ReadOnlyFolderIsNotWritable) {
    ZK_AS_ORDINARY_USER();
    fs::create_directory(path("ro"));
    fs::permissions(path("ro"), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(zk::isFolderWritable(path("ro")));
    fs::permissions(path("ro"), fs::perms::owner_all);
}

TEST_F(AppFolderChoice, WritableExecutableFolderIsUsedWithoutCopying) {
    put("app/Data/Bin/fetes.txt", "01 01 A\r\n");
    const auto choice = zk::prepareAppFolder(path("app"));
    EXPECT_EQ(choice.folder, path("app") + "/");
    EXPECT_FALSE(choice.inUserData);
    EXPECT_TRUE(choice.seed.copied.empty());
}

using SeedDataTree = TempFolder;

TEST_F(SeedDataTree, CopiesTheDeliveredFilesThatAreMissing) {
    const std::string fetes = "12 25 No\xEBl\r\n";
    const std::string help = "<html>aide</html>";
    put("app/Data/Bin/fetes.txt", fetes);
    put("app/Data/Aide/ZelkoHTMLDOC.htm", help);

    const auto result = zk::seedDataTree(path("app"), path("user/zelkohtml/"));
    EXPECT_TRUE(result.ok());
    std::vector<std::string> copied = result.copied;
    std::sort(copied.begin(), copied.end());
    EXPECT_EQ(copied, (std::vector<std::string>{"Aide/ZelkoHTMLDOC.htm", "Bin/fetes.txt"}));
    EXPECT_EQ(get("user/zelkohtml/Data/Bin/fetes.txt"), fetes);
    EXPECT_EQ(get("user/zelkohtml/Data/Aide/ZelkoHTMLDOC.htm"), help);

    // A second start copies nothing more.
    EXPECT_TRUE(zk::seedDataTree(path("app"), path("user/zelkohtml")).copied.empty());
}

TEST_F(SeedDataTree, NeverReplacesTheUsersFiles) {
    put("app/Data/Bin/fetes.txt", "livré");
    put("app/Data/Aide/ZelkoHTMLDOC.htm", "aide");
    put("user/Data/Bin/fetes.txt", "le mien");
    put("user/Data/Bin/ZelkoHTML.ini", "réglages");

    const auto result = zk::seedDataTree(path("app"), path("user"));
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.copied, (std::vector<std::string>{"Aide/ZelkoHTMLDOC.htm"}));
    EXPECT_EQ(get("user/Data/Bin/fetes.txt"), "le mien");
    EXPECT_EQ(get("user/Data/Bin/ZelkoHTML.ini"), "réglages");
}

TEST_F(SeedDataTree, NothingToDo) {
    // No delivered tree.
    fs::create_directories(path("app"));
    auto result = zk::seedDataTree(path("app"), path("user"));
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.copied.empty());
    EXPECT_FALSE(fs::exists(path("user/Data")));

    // The same folder on both sides.
    put("app/Data/Bin/fetes.txt", "x");
    result = zk::seedDataTree(path("app"), path("app/"));
    EXPECT_TRUE(result.ok());
    EXPECT_TRUE(result.copied.empty());
}

TEST_F(SeedDataTree, ReportsWhatCouldNotBeCopiedAndGoesOn) {
    put("app/Data/Bin/fetes.txt", "x");
    put("app/Data/Aide/ZelkoHTMLDOC.htm", "aide");
    // A file stands where the folder Bin should be.
    put("user/Data/Bin", "not a folder");

    const auto result = zk::seedDataTree(path("app"), path("user"));
    EXPECT_EQ(result.failed, (std::vector<std::string>{"Bin/fetes.txt"}));
    EXPECT_EQ(result.copied, (std::vector<std::string>{"Aide/ZelkoHTMLDOC.htm"}));
    EXPECT_FALSE(result.ok());
    EXPECT_EQ(get("user/Data/Bin"), "not a folder");
}

} // namespace
