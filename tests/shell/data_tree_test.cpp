#include "data_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>

namespace zk {
namespace {

namespace fs = std::filesystem;

TEST(DataTree, theProgramsOwnFilesFolderByFolder) {
    struct Case {
        const char* folder;
        const char* name;
        bool own;
    } const cases[] = {
        {"Data/Bin", "ZelkoHTML.ini", true},
        {"Data/Bin", "ZelkoHTML.ini.bak", true},
        {"Data/Bin", "Options.ini", true},
        {"Data/Bin", "Options.ini.bak", true},
        {"Data/Bin", "options.ini", false},
        {"Data/Bin", "fetes.txt", true},
        {"Data/Bin", "zelkohtml.ini", false},
        {"Data/Bin", "notes.txt", false},
        {"Data/Bin", "ZelkoHTML0.cfg", false},
        {"Data/Presets", "ZelkoHTML0.cfg", true},
        {"Data/Presets", "ZelkoHTML7.cfg.bak", true},
        {"Data/Presets", "ZelkoHTML12.cfg", true}, // a hand-edited slot number
        {"Data/Presets", "ZelkoHTML.cfg", false},
        {"Data/Presets", "ZelkoHTMLx.cfg", false},
        {"Data/Presets", "ZelkoHTML.ini", false},
        {"Data/Listes", "chats.lst", true},
        {"Data/Listes", "holiday.2004.LST", true},
        {"Data/Listes", ".lst", false},
        {"Data/Listes", "chats.txt", false},
        {"Data/Temp", "TempHTML.html", true},
        {"Data/Temp", "Image.html", true},
        {"Data/Temp", "TempImage.html", true},
        {"Data/Temp", "other.html", false},
        {"Data/Aide", "ZelkoHTMLDOC.htm", true},
        {"Data", "ZelkoHTML.ini", false},
        {"Data/Listes/BakListes", "!_chats.lst", false},
        {"Elsewhere", "ZelkoHTML.ini", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isOwnDataFile(c.folder, c.name), c.own) << c.folder << "/" << c.name;
}

TEST(DataTree, staleSavesAreRemovedFromTheDataFoldersOnly) {
    char tmpl[] = "/tmp/zk-tree-XXXXXX";
    const std::string app = std::string(mkdtemp(tmpl)) + "/";
    const std::set<std::string> stale = {
        "Data/Bin/ZelkoHTML.ini.a1B2c3",      "Data/Bin/ZelkoHTML.ini.bak.Q9w8E7",
        "Data/Bin/Options.ini.x0Y1z2",        "Data/Bin/Options.ini.bak.AAAAAA",
        "Data/Presets/ZelkoHTML2.cfg.zzzzzz", "Data/Listes/grande.lst.XyZ123",
        "Data/Temp/TempHTML.html.000000",     "Data/Aide/ZelkoHTMLDOC.htm.Abcdef"};
    const std::set<std::string> kept = {
        "Data/Bin/ZelkoHTML.ini",
        "Data/Bin/Options.ini",
        "Data/Bin/fetes.txt",
        "Data/Bin/notes.txt.a1B2c3",
        "Data/Listes/grande.lst",
        "Data/Listes/BakListes/!_x.lst.a1B2c3", // nothing is saved there
        "Data/ZelkoHTML.ini.a1B2c3",
        "ZelkoHTML.ini.a1B2c3", // outside the Data folders
        "Data/Presets/ZelkoHTML2.cfg"};
    for (const auto* set : {&stale, &kept}) {
        for (const std::string& relative : *set) {
            fs::create_directories(fs::path(app + relative).parent_path());
            std::ofstream(app + relative) << "x";
        }
    }
    EXPECT_EQ(removeStaleSaves(app), stale.size());
    std::set<std::string> left;
    for (const auto& entry : fs::recursive_directory_iterator(app))
        if (entry.is_regular_file())
            left.insert(fs::relative(entry.path(), app).string());
    EXPECT_EQ(left, kept);
    // A tree with missing folders is no trouble.
    fs::remove_all(app + "Data/Temp");
    EXPECT_EQ(removeStaleSaves(app), 0u);
    fs::remove_all(app);
}

} // namespace
} // namespace zk
