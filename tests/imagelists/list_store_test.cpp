#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "gtest_as_ordinary_user.h"
#include "list_store.h"

namespace fs = std::filesystem;

namespace zk {
namespace {

// A list folder inside a temporary application folder: <tmp>/Data/Listes.
class ListFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zk-lists-XXXXXX";
        root_ = mkdtemp(tmpl);
        folder_ = root_ + "/Data/Listes";
        fs::create_directories(folder_ + "/BakListes");
    }
    void TearDown() override { fs::remove_all(root_); }

    void put(const std::string& name, const std::string& bytes = {}) const {
        std::ofstream(folder_ + "/" + name, std::ios::binary) << bytes;
    }
    std::string get(const std::string& relative) const {
        std::string bytes;
        EXPECT_TRUE(readWholeFile(folder_ + "/" + relative, bytes)) << relative;
        return bytes;
    }
    bool has(const std::string& relative) const {
        return fs::exists(fs::symlink_status(folder_ + "/" + relative));
    }
    // Every path under the temporary root, to see that nothing else appeared.
    std::set<std::string> tree() const {
        std::set<std::string> paths;
        for (const auto& e : fs::recursive_directory_iterator(root_))
            paths.insert(e.path().string());
        return paths;
    }

    std::string root_;
    std::string folder_;
};

// ---- Names of list files ----

TEST(ListNameOfFile, keepsListsAndTakesTheNameBeforeTheFirstDot) {
    struct Case {
        const char* file;
        const char* name; // "" when the file is not a list
    };
    const Case cases[] = {
        {"b.lst", "b"},
        {"a.LST", "a"},
        {"mixed.LsT", "mixed"},
        {"holiday.2004.lst", "holiday"},
        {"a.xlst", "a"}, // ends in "lst": the scan's rule
        {"!_c.lst", ""},
        {".lst", ""},
        {".hidden.lst", ""},
        {"notes.txt", ""},
        {"a.lst.bak", ""},
        {"xlst", ""}, // no dot: it would give an empty name
        {"st", ""},
        {"", ""},
        {"\xC3\xA9t\xC3\xA9.lst", "\xC3\xA9t\xC3\xA9"}, // été
        {"\xE9t\xE9.lst", ""},                          // not UTF-8: it could not be found again
    };
    for (const Case& c : cases)
        EXPECT_EQ(listNameOfFile(c.file), c.name) << c.file;
}

// ---- The folder scan ----

TEST_F(ListFolder, scanKeepsTheListsInTheFoldersOrder) {
    for (const char* f : {"b.lst", "a.LST", "!_c.lst", ".lst", "notes.txt"})
        put(f, "http://x/1.gif\r\n");
    fs::create_directory(folder_ + "/sub.lst"); // a folder is not a list
    ListNameTable names;
    names.fill("old");
    ASSERT_EQ(scanListFolder(folder_, names), 2u);

    // The platform's order, as the folder lists its two list files.
    std::vector<std::string> expected;
    DIR* dir = opendir(folder_.c_str());
    while (const dirent* e = readdir(dir)) {
        const std::string n = e->d_name;
        if (n == "b.lst" || n == "a.LST")
            expected.push_back(n.substr(0, 1));
    }
    closedir(dir);
    EXPECT_EQ(names[0], expected[0]);
    EXPECT_EQ(names[1], expected[1]);
    for (std::size_t i = 2; i < kListSlots; ++i)
        EXPECT_TRUE(names[i].empty()) << i;
    EXPECT_EQ(listCount(names), 2u);
}

TEST_F(ListFolder, scanOfAFolderThatCannotBeReadLeavesTheTableEmpty) {
    ListNameTable names;
    names.fill("old");
    EXPECT_EQ(scanListFolder(folder_ + "/missing", names), 0u);
    EXPECT_EQ(listCount(names), 0u);
    EXPECT_EQ(scanListFolder(folder_, names), 0u); // no list file at all
}

TEST_F(ListFolder, scanStopsAtTheLastSlot) {
    for (int i = 0; i < 140; ++i)
        put("l" + std::to_string(i) + ".lst");
    ListNameTable names;
    EXPECT_EQ(scanListFolder(folder_, names), kListSlots);
    std::set<std::string> distinct(names.begin(), names.end());
    EXPECT_EQ(distinct.size(), kListSlots);
    for (const std::string& n : names)
        EXPECT_TRUE(has(n + ".lst")) << n;
}

TEST_F(ListFolder, scanFollowsLinksToFilesOnly) {
    put("target.txt");
    fs::create_symlink(folder_ + "/target.txt", folder_ + "/linked.lst");
    fs::create_directory(root_ + "/dir");
    fs::create_symlink(root_ + "/dir", folder_ + "/dirlink.lst");
    fs::create_symlink(root_ + "/none", folder_ + "/broken.lst");
    ListNameTable names;
    ASSERT_EQ(scanListFolder(folder_, names), 1u);
    EXPECT_EQ(names[0], "linked");
}

TEST(ValidListIndex, firstListOrNoneOutsideTheRange) {
    struct Case {
        int index;
        std::size_t count;
        int expected;
    };
    const Case cases[] = {{0, 3, 0},  {2, 3, 2},  {3, 3, 0},   {-1, 3, 0},
                          {99, 1, 0}, {0, 0, -1}, {-1, 0, -1}, {127, 128, 127}};
    for (const Case& c : cases)
        EXPECT_EQ(validListIndex(c.index, c.count), c.expected) << c.index << " of " << c.count;
}

// ---- List names typed by the user ----

TEST(IsValidListName, aNameIsAFileNameInsideTheListFolderOnly) {
    struct Case {
        std::string name;
        bool valid;
    };
    const Case cases[] = {
        {"plants", true},
        {"mes images", true},
        {"\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80", true}, // été 😀
        {"what?", true},
        {std::string(249, 'x'), true}, // "!_" + name + ".lst" is 255 bytes
        {std::string(250, 'x'), false},
        {"", false},
        {".", false},
        {"..", false},
        {".hidden", false},
        {"!_plants", false},
        {"a/b", false},
        {"../evil", false},
        {"/etc/x", false},
        {"a\\b", false},
        {std::string("a\0b", 3), false},
        {"holiday.2004", false}, // would read back as "holiday"
        {"\xE9t\xE9", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isValidListName(c.name), c.valid) << c.name;
}

// ---- Where a list's file is ----

TEST_F(ListFolder, listFilePathPrefersTheExactNameThenTheEndingInAnyCase) {
    put("a.LST");
    put("holiday.2004.lst");
    put("B.lst");
    put("b.Lst");
    EXPECT_EQ(listFilePath(folder_, "a"), folder_ + "/a.LST");
    EXPECT_EQ(listFilePath(folder_ + "/", "a"), folder_ + "/a.LST");
    EXPECT_EQ(listFilePath(folder_, "B"), folder_ + "/B.lst");
    EXPECT_EQ(listFilePath(folder_, "b"), folder_ + "/b.Lst");
    // Only the ending may differ: the list "holiday" is holiday.lst, which does not exist,
    // and "A" is not the list a.
    EXPECT_EQ(listFilePath(folder_, "holiday"), folder_ + "/holiday.lst");
    EXPECT_EQ(listFilePath(folder_, "A"), folder_ + "/A.lst");
    EXPECT_EQ(readListFile(listFilePath(folder_, "holiday")).status, ListFileRead::Missing);
}

// ---- The list file format ----

TEST(ParseListFile, oneEntryPerNonEmptyLineExactlyAsRead) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> entries;
    };
    const std::string longLine(200000, 'a');
    const Case cases[] = {
        {"empty", "", {}},
        {"crlf", "http://a/1.gif\r\nhttp://a/2.gif\r\n", {"http://a/1.gif", "http://a/2.gif"}},
        {"no last line end", "x\r\ny", {"x", "y"}},
        {"empty lines skipped", "\r\n\r\nx\r\n\r\n\r\ny\r\n\r\n", {"x", "y"}},
        {"lf and lone cr", "x\ny\rz\n\r\n", {"x", "y", "z"}},
        {"spaces kept", "  x  \r\n\t\r\n", {"  x  ", "\t"}},
        {"windows-1252", "caf\xE9\x80\r\n", {"caf\xC3\xA9\xE2\x82\xAC"}},
        {"utf-8", "caf\xC3\xA9 \xF0\x9F\x98\x80\r\n", {"caf\xC3\xA9 \xF0\x9F\x98\x80"}},
        {"binary bytes", std::string("a\0b\x01\xFF\r\n", 7), {std::string("a\0b\x01\xC3\xBF", 6)}},
        {"very long line", longLine + "\r\nz", {longLine, "z"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseListFile(c.bytes), c.entries) << c.name;
}

TEST(EntriesOfText, oneEntryPerNonEmptyLine) {
    EXPECT_EQ(entriesOfText(""), std::vector<std::string>{});
    EXPECT_EQ(entriesOfText("\r\n\n\r"), std::vector<std::string>{});
    EXPECT_EQ(entriesOfText("http://a/1.gif"), std::vector<std::string>{"http://a/1.gif"});
    EXPECT_EQ(entriesOfText("a\r\n\r\nb\nc\r"), (std::vector<std::string>{"a", "b", "c"}));
    // Text, not file bytes: no decoding.
    EXPECT_EQ(entriesOfText("caf\xC3\xA9"), std::vector<std::string>{"caf\xC3\xA9"});
}

TEST(FitsListFile, countsEveryEntryWithItsLineEnd) {
    const std::size_t line = 1000; // 998 characters and CR LF
    std::vector<std::string> entries(kListFileMaxBytes / line, std::string(line - 2, 'a'));
    const std::size_t room = kListFileMaxBytes - entries.size() * line;
    EXPECT_TRUE(fitsListFile(entries));
    entries.push_back(std::string(room - 2, 'b')); // the file then takes exactly the bound
    EXPECT_TRUE(fitsListFile(entries));
    EXPECT_EQ(formatListFile(entries).size(), kListFileMaxBytes);
    entries.back() += 'b';
    EXPECT_FALSE(fitsListFile(entries));
    EXPECT_TRUE(fitsListFile({}));
}

TEST_F(ListFolder, onlyOrdinaryFilesOfAListsSizeAreRead) {
    put("x.lst", "http://a/1.gif\r\nhttp://a/2.gif\r\n");
    fs::create_directory(folder_ + "/folder.lst");
    ASSERT_EQ(::mkfifo((folder_ + "/pipe.lst").c_str(), 0644), 0);
    fs::create_symlink(folder_ + "/x.lst", folder_ + "/link.lst");
    fs::create_symlink(folder_ + "/pipe.lst", folder_ + "/pipelink.lst");
    fs::create_symlink(folder_ + "/none.lst", folder_ + "/dangling.lst");
    fs::create_symlink("/dev/zero", folder_ + "/zero.lst");
    // Sizes set without writing: at the bound, and one byte past it.
    const auto sized = [this](const std::string& name, std::uintmax_t size) {
        put(name);
        fs::resize_file(folder_ + "/" + name, size);
    };
    sized("full.lst", kListFileMaxBytes);
    sized("over.lst", kListFileMaxBytes + 1);
    sized("huge.lst", std::uintmax_t{100} * 1024 * 1024);

    struct Case {
        const char* file;
        ListFileRead status;
        std::size_t entries;
    };
    const Case cases[] = {
        {"x.lst", ListFileRead::Loaded, 2},
        {"link.lst", ListFileRead::Loaded, 2},
        {"full.lst", ListFileRead::Loaded, 1}, // one line of NUL bytes
        {"none.lst", ListFileRead::Missing, 0},
        {"dangling.lst", ListFileRead::Missing, 0},
        {"over.lst", ListFileRead::TooBig, 0},
        {"huge.lst", ListFileRead::TooBig, 0},
        // Never waited on: a named pipe without a writer, a device, a folder.
        {"pipe.lst", ListFileRead::Unreadable, 0},
        {"pipelink.lst", ListFileRead::Unreadable, 0},
        {"zero.lst", ListFileRead::Unreadable, 0},
        {"folder.lst", ListFileRead::Unreadable, 0},
    };
    for (const Case& c : cases) {
        const ListFileContent content = readListFile(folder_ + "/" + c.file);
        EXPECT_EQ(content.status, c.status) << c.file;
        EXPECT_EQ(content.entries.size(), c.entries) << c.file;
    }
}

TEST_F(ListFolder, aListFileTheUserCannotReadIsUnreadable_asOrdinaryUser) {
    ZK_AS_ORDINARY_USER();
    put("secret.lst", "http://s/1.gif\r\n");
    fs::permissions(folder_ + "/secret.lst", fs::perms::owner_write);
    const ListFileContent content = readListFile(folder_ + "/secret.lst");
    EXPECT_EQ(content.status, ListFileRead::Unreadable);
    EXPECT_TRUE(content.entries.empty());
}

TEST_F(ListFolder, aListThatIsALinkIsWrittenThroughIt) {
    fs::create_directory(root_ + "/elsewhere");
    std::ofstream(root_ + "/elsewhere/x.lst", std::ios::binary) << "a\r\n";
    fs::create_symlink(root_ + "/elsewhere/x.lst", folder_ + "/x.lst");
    std::vector<std::string> entries = readListFile(folder_ + "/x.lst").entries;
    entries.push_back("b");
    ASSERT_TRUE(writeListFile(folder_ + "/x.lst", entries).ok());
    EXPECT_TRUE(fs::is_symlink(folder_ + "/x.lst"));
    EXPECT_EQ(get("x.lst"), "a\r\nb\r\n");
}

TEST(FormatListFile, entriesEachEndedByCrLfInTheNarrowestCode) {
    struct Case {
        const char* name;
        std::vector<std::string> entries;
        std::string bytes;
    };
    const Case cases[] = {
        {"none", {}, ""},
        {"ascii", {"a", "b"}, "a\r\nb\r\n"},
        {"windows-1252", {"caf\xC3\xA9"}, "caf\xE9\r\n"},
        {"outside windows-1252",
         {"caf\xC3\xA9", "\xF0\x9F\x98\x80"},
         "caf\xC3\xA9\r\n\xF0\x9F\x98\x80\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatListFile(c.entries), c.bytes) << c.name;
        EXPECT_EQ(parseListFile(formatListFile(c.entries)), c.entries) << c.name;
    }
    // Windows-1252 text that would read back as UTF-8 is written in UTF-8.
    const std::vector<std::string> tricky = {"\xC3\x83\xC2\xA9"}; // "Ã©"
    EXPECT_EQ(parseListFile(formatListFile(tricky)), tricky);
}

TEST_F(ListFolder, aListFileWithEmptyLinesIsWrittenBackWithoutThem) {
    put("x.lst", "a\r\n\r\n\r\nb\r\n");
    std::vector<std::string> entries = readListFile(folder_ + "/x.lst").entries;
    entries.push_back("c");
    ASSERT_TRUE(writeListFile(folder_ + "/x.lst", entries).ok());
    EXPECT_EQ(get("x.lst"), "a\r\nb\r\nc\r\n");
}

TEST_F(ListFolder, aFailedWriteLeavesThePreviousFileWhole) {
    put("x.lst", "http://old/1.gif\r\nhttp://old/2.gif\r\n");
    const std::vector<std::string> big(2000, std::string(100, 'n'));
    // Files of at most 1000 bytes: the new content cannot be written.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    const WriteResult r = writeListFile(folder_ + "/x.lst", big);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(get("x.lst"), "http://old/1.gif\r\nhttp://old/2.gif\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2)
        << "no temporary file left beside it";
}

TEST_F(ListFolder, aReadOnlyListFileIsNotReplaced) {
    put("x.lst", "a\r\n");
    fs::permissions(folder_ + "/x.lst", fs::perms::owner_read | fs::perms::group_read);
    const WriteResult r = writeListFile(folder_ + "/x.lst", {"b"});
    EXPECT_EQ(r.status, WriteStatus::CannotCreate);
    EXPECT_EQ(get("x.lst"), "a\r\n");
}

TEST_F(ListFolder, writingIntoAMissingFolderCannotCreate) {
    EXPECT_EQ(writeListFile(folder_ + "/none/x.lst", {"a"}).status, WriteStatus::CannotCreate);
}

// ---- Create, rename, delete ----

TEST_F(ListFolder, createMakesAnEmptyFileAndNeverEmptiesOne) {
    ASSERT_TRUE(createListFile(folder_, "plants").ok());
    EXPECT_TRUE(has("plants.lst"));
    EXPECT_EQ(get("plants.lst"), "");

    put("trees.lst", "http://t/1.jpg\r\n");
    EXPECT_EQ(createListFile(folder_, "trees").status, ListFileStatus::AlreadyExists);
    EXPECT_EQ(get("trees.lst"), "http://t/1.jpg\r\n");

    put("old.LST", "http://o/1.jpg\r\n"); // the list "old" already has its file
    EXPECT_EQ(createListFile(folder_, "old").status, ListFileStatus::AlreadyExists);
    EXPECT_FALSE(has("old.lst"));

    EXPECT_EQ(createListFile(folder_ + "/missing", "x").status, ListFileStatus::Failed);
}

TEST_F(ListFolder, refusedNamesTouchNoFileAnywhere) {
    put("a.lst", "keep\r\n");
    const std::string names[] = {"",
                                 ".",
                                 "..",
                                 ".hidden",
                                 "!_a",
                                 "../a",
                                 "../../x",
                                 "sub/x",
                                 "a\\b",
                                 "BakListes/x",
                                 std::string("a\0b", 3),
                                 "x.y",
                                 "/tmp/zk-evil"};
    const std::set<std::string> before = tree();
    for (const std::string& n : names) {
        EXPECT_EQ(createListFile(folder_, n).status, ListFileStatus::InvalidName) << n;
        EXPECT_EQ(renameListFile(folder_, "a", n).status, ListFileStatus::InvalidName) << n;
    }
    EXPECT_EQ(tree(), before);
    EXPECT_EQ(get("a.lst"), "keep\r\n");
    EXPECT_FALSE(fs::exists("/tmp/zk-evil.lst"));
}

TEST_F(ListFolder, renameMovesTheFileAndNeverReplacesAnother) {
    put("a.lst", "A\r\n");
    put("b.lst", "B\r\n");
    ASSERT_TRUE(renameListFile(folder_, "a", "c").ok());
    EXPECT_FALSE(has("a.lst"));
    EXPECT_EQ(get("c.lst"), "A\r\n");

    EXPECT_EQ(renameListFile(folder_, "c", "b").status, ListFileStatus::AlreadyExists);
    EXPECT_EQ(get("c.lst"), "A\r\n");
    EXPECT_EQ(get("b.lst"), "B\r\n");

    EXPECT_TRUE(renameListFile(folder_, "c", "c").ok()); // same name: nothing to do
    EXPECT_EQ(get("c.lst"), "A\r\n");

    EXPECT_EQ(renameListFile(folder_, "none", "d").status, ListFileStatus::Failed);
    EXPECT_FALSE(has("d.lst"));

    put("up.LST", "U\r\n");
    ASSERT_TRUE(renameListFile(folder_, "up", "down").ok());
    EXPECT_EQ(get("down.lst"), "U\r\n");
    EXPECT_FALSE(has("up.LST"));
}

TEST_F(ListFolder, deleteMovesTheFileToItsBackupName) {
    put("plants.lst", "http://p/1.png\r\n");
    ASSERT_TRUE(moveListToBackup(folder_, "plants").ok());
    EXPECT_FALSE(has("plants.lst"));
    EXPECT_EQ(get("BakListes/!_plants.lst"), "http://p/1.png\r\n");
    EXPECT_EQ(backupListPath(folder_, "plants"), folder_ + "/BakListes/!_plants.lst");
}

TEST_F(ListFolder, deleteKeepsTheListWhenItsBackupNameIsTaken) {
    put("plants.lst", "new\r\n");
    put("BakListes/!_plants.lst", "old backup\r\n");
    EXPECT_EQ(moveListToBackup(folder_, "plants").status, ListFileStatus::AlreadyExists);
    EXPECT_EQ(get("plants.lst"), "new\r\n");
    EXPECT_EQ(get("BakListes/!_plants.lst"), "old backup\r\n");
}

TEST_F(ListFolder, deleteRemakesAMissingBackupFolderAndFailsWithoutAFile) {
    fs::remove(folder_ + "/BakListes");
    put("a.LST", "a\r\n");
    ASSERT_TRUE(moveListToBackup(folder_, "a").ok());
    EXPECT_EQ(get("BakListes/!_a.lst"), "a\r\n");

    EXPECT_EQ(moveListToBackup(folder_, "holiday").status, ListFileStatus::Failed);
    EXPECT_EQ(moveListToBackup(folder_, "../x").status, ListFileStatus::InvalidName);
}

} // namespace
} // namespace zk
