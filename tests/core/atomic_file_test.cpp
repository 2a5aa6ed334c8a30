#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "atomic_file.h"
#include "gtest_as_ordinary_user.h"

namespace fs = std::filesystem;

namespace zk {
namespace {

class AtomicFile : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zk-atomic-XXXXXX";
        dir_ = mkdtemp(tmpl);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all);
        fs::remove_all(dir_);
    }
    std::string dir_;

    std::string read(const std::string& name) const {
        std::string bytes;
        EXPECT_TRUE(readWholeFile(dir_ + "/" + name, bytes)) << name;
        return bytes;
    }
    void put(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_ + "/" + name, std::ios::binary) << bytes;
    }
    std::set<std::string> names() const {
        std::set<std::string> found;
        for (const auto& entry : fs::directory_iterator(dir_))
            found.insert(entry.path().filename().string());
        return found;
    }
    void expectReadOnlyFileLeftAsItIs() const {
        const std::string path = dir_ + "/f.txt";
        put("f.txt", "mine");
        fs::permissions(path,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        const WriteResult r = writeFileAtomically(path, "replaced");
        EXPECT_EQ(r.status, WriteStatus::CannotCreate);
        EXPECT_EQ(read("f.txt"), "mine");
        EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        EXPECT_EQ(names(), std::set<std::string>{"f.txt"});
    }
};

TEST_F(AtomicFile, replacesTheFileWholeAndLeavesNoTemporary) {
    const std::string path = dir_ + "/f.txt";
    ASSERT_TRUE(writeFileAtomically(path, "old").ok());
    ASSERT_TRUE(writeFileAtomically(path, "new content").ok());
    std::string bytes;
    ASSERT_TRUE(readWholeFile(path, bytes));
    EXPECT_EQ(bytes, "new content");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(AtomicFile, missingFolderCannotBeCreated) {
    const auto r = writeFileAtomically(dir_ + "/none/f.txt", "x");
    EXPECT_EQ(r.status, WriteStatus::CannotCreate);
}

TEST_F(AtomicFile, readOnlyFolderKeepsThePreviousFile) {
    ZK_AS_ORDINARY_USER();
    const std::string path = dir_ + "/f.txt";
    ASSERT_TRUE(writeFileAtomically(path, "old").ok());
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(writeFileAtomically(path, "new").status, WriteStatus::CannotCreate);
    std::string bytes;
    ASSERT_TRUE(readWholeFile(path, bytes));
    EXPECT_EQ(bytes, "old");
}

TEST_F(AtomicFile, aFolderInPlaceOfTheFileIsNotReplaced) {
    fs::create_directory(dir_ + "/d");
    EXPECT_FALSE(writeFileAtomically(dir_ + "/d", "x").ok());
    EXPECT_TRUE(fs::is_directory(dir_ + "/d"));
    std::string bytes;
    EXPECT_FALSE(readWholeFile(dir_ + "/d", bytes));
}

TEST_F(AtomicFile, failedWriteKeepsThePreviousFileWhole) {
    const std::string path = dir_ + "/f.txt";
    ASSERT_TRUE(writeFileAtomically(path, "previous").ok());
    // A file size limit makes the write fail part way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4;
    setrlimit(RLIMIT_FSIZE, &small);
    const auto r = writeFileAtomically(path, "a much longer new content");
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(r.status, WriteStatus::WriteFailed);
    std::string bytes;
    ASSERT_TRUE(readWholeFile(path, bytes));
    EXPECT_EQ(bytes, "previous");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

// A file its owner made read-only is not replaced behind the owner's back, whoever runs.
TEST_F(AtomicFile, readOnlyFileIsLeftAsItIs) {
    expectReadOnlyFileLeftAsItIs();
}

TEST_F(AtomicFile, readOnlyFileIsLeftAsItIs_asOrdinaryUser) {
    ZK_AS_ORDINARY_USER();
    expectReadOnlyFileLeftAsItIs();
    // The user may not write a file that only its owner's group may write either.
    const std::string path = dir_ + "/g.txt";
    put("g.txt", "group's");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::group_write);
    if (::access(path.c_str(), W_OK) != 0) {
        EXPECT_EQ(writeFileAtomically(path, "x").status, WriteStatus::CannotCreate);
        EXPECT_EQ(read("g.txt"), "group's");
    }
}

TEST_F(AtomicFile, namedPipeOrDeviceInPlaceOfTheFileIsNotReplaced) {
    ASSERT_EQ(::mkfifo((dir_ + "/pipe").c_str(), 0644), 0);
    fs::create_symlink("/dev/null", dir_ + "/null");
    for (const char* name : {"pipe", "null"}) {
        EXPECT_EQ(writeFileAtomically(dir_ + "/" + name, "x").status, WriteStatus::CannotCreate)
            << name;
    }
    EXPECT_TRUE(fs::is_fifo(dir_ + "/pipe"));
    EXPECT_TRUE(fs::is_symlink(dir_ + "/null"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(names(), (std::set<std::string>{"null", "pipe"}));
}

TEST_F(AtomicFile, symbolicLinkIsWrittenThroughToItsTarget) {
    fs::create_directories(dir_ + "/real/deeper");
    fs::create_directory(dir_ + "/links");
    put("real/deeper/settings.ini", "old");
    struct Case {
        const char* link;
        const char* pointsTo;
    } const cases[] = {
        {"links/absolute", nullptr}, // filled in below: an absolute target
        {"links/relative", "../real/deeper/settings.ini"},
        {"links/chain", "relative"}, // a link to a link
    };
    fs::create_symlink(dir_ + "/real/deeper/settings.ini", dir_ + "/links/absolute");
    for (const Case& c : cases) {
        if (c.pointsTo)
            fs::create_symlink(c.pointsTo, dir_ + "/" + c.link);
    }
    for (const Case& c : cases) {
        const std::string content = std::string("through ") + c.link;
        ASSERT_TRUE(writeFileAtomically(dir_ + "/" + c.link, content).ok()) << c.link;
        EXPECT_EQ(read("real/deeper/settings.ini"), content) << c.link;
        EXPECT_TRUE(fs::is_symlink(dir_ + "/" + c.link)) << c.link;
    }
    // The temporary files were made in the target's folder and are gone.
    EXPECT_EQ(
        std::distance(fs::directory_iterator(dir_ + "/real/deeper"), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ + "/links"), fs::directory_iterator()), 3);
    std::string target;
    ASSERT_TRUE(resolveWriteTarget(dir_ + "/links/chain", target));
    EXPECT_EQ(fs::canonical(target), fs::canonical(dir_ + "/real/deeper/settings.ini"));
}

TEST_F(AtomicFile, linksThatCannotBeWrittenThrough) {
    // A dangling link gets its target made; a loop or a link to a read-only file fails.
    fs::create_symlink("made.txt", dir_ + "/dangling");
    ASSERT_TRUE(writeFileAtomically(dir_ + "/dangling", "new").ok());
    EXPECT_EQ(read("made.txt"), "new");
    EXPECT_TRUE(fs::is_symlink(dir_ + "/dangling"));

    fs::create_symlink("loop2", dir_ + "/loop1");
    fs::create_symlink("loop1", dir_ + "/loop2");
    EXPECT_EQ(writeFileAtomically(dir_ + "/loop1", "x").status, WriteStatus::CannotCreate);
    std::string target;
    EXPECT_FALSE(resolveWriteTarget(dir_ + "/loop1", target));

    put("ro.txt", "kept");
    fs::permissions(dir_ + "/ro.txt", fs::perms::owner_read);
    fs::create_symlink("ro.txt", dir_ + "/to-ro");
    EXPECT_EQ(writeFileAtomically(dir_ + "/to-ro", "x").status, WriteStatus::CannotCreate);
    EXPECT_EQ(read("ro.txt"), "kept");
    EXPECT_EQ(names(),
              (std::set<std::string>{"dangling", "loop1", "loop2", "made.txt", "ro.txt", "to-ro"}));
}

TEST_F(AtomicFile, backupCopyKeepsTheFileAsItWas) {
    put("ZelkoHTML.ini", "23O\r\n");
    put("ZelkoHTML.ini.bak", "an older backup");
    std::string backup;
    ASSERT_TRUE(keepBackupCopy(dir_ + "/ZelkoHTML.ini", backup).ok());
    EXPECT_EQ(backup, dir_ + "/ZelkoHTML.ini.bak");
    EXPECT_EQ(read("ZelkoHTML.ini.bak"), "23O\r\n");
    // A copy, not a second name: the next save of the file leaves it alone.
    ASSERT_TRUE(writeFileAtomically(dir_ + "/ZelkoHTML.ini", "mended").ok());
    EXPECT_EQ(read("ZelkoHTML.ini.bak"), "23O\r\n");
    EXPECT_EQ(names(), (std::set<std::string>{"ZelkoHTML.ini", "ZelkoHTML.ini.bak"}));

    // A very large file is given the backup name without a copy; saving over it later
    // leaves the backup whole all the same.
    const std::string big = dir_ + "/big.ini";
    put("big.ini", "x");
    fs::resize_file(big, (std::uintmax_t{16} << 20) + 1);
    ASSERT_TRUE(keepBackupCopy(big, backup).ok());
    EXPECT_EQ(fs::hard_link_count(big), 2u);
    ASSERT_TRUE(writeFileAtomically(big, "small").ok());
    EXPECT_EQ(fs::file_size(backup), (std::uintmax_t{16} << 20) + 1);
    EXPECT_EQ(read("big.ini"), "small");
    fs::remove(big);
    fs::remove(backup);

    // A linked file is kept beside its target.
    fs::create_directory(dir_ + "/real");
    put("real/p.cfg", "1\r\nx\r\n");
    fs::create_symlink("real/p.cfg", dir_ + "/p.cfg");
    ASSERT_TRUE(keepBackupCopy(dir_ + "/p.cfg", backup).ok());
    EXPECT_EQ(backup, dir_ + "/real/p.cfg.bak");
    EXPECT_EQ(read("real/p.cfg.bak"), "1\r\nx\r\n");
}

TEST_F(AtomicFile, backupOfWhatIsNotAnOrdinaryFileIsRefused) {
    ASSERT_EQ(::mkfifo((dir_ + "/pipe").c_str(), 0644), 0);
    fs::create_directory(dir_ + "/folder");
    std::string backup;
    for (const char* name : {"pipe", "folder", "absent"})
        EXPECT_EQ(keepBackupCopy(dir_ + "/" + name, backup).status, WriteStatus::CannotCreate)
            << name;
    EXPECT_EQ(names(), (std::set<std::string>{"folder", "pipe"}));
}

TEST_F(AtomicFile, staleTemporaryFilesOfOwnFilesAreRemovedAndNothingElse) {
    const std::set<std::string> kept = {
        "ZelkoHTML.ini", // the files themselves
        "ZelkoHTML.ini.bak",
        "notes.txt.Ab12Cd",      // not one of the program's files
        "ZelkoHTML.ini.Ab12C",   // five characters
        "ZelkoHTML.ini.Ab12Cde", // seven
        "ZelkoHTML.ini.Ab-2Cd",  // not a letter or digit
        "ZelkoHTML.ini.InUse1",  // a save in progress holds it
        "ZelkoHTML.ini.Folder",  // a folder
        "ZelkoHTML.ini.Link12",  // a link, even to a leftover
        "ZelkoHTML.ini.Pipe12",  // a named pipe
    };
    const std::set<std::string> stale = {"ZelkoHTML.ini.Ab12Cd", "ZelkoHTML.ini.bak.zzzzzz",
                                         "ZelkoHTML.ini.000000"};
    for (const std::string& name : kept)
        put(name, "x");
    for (const std::string& name : stale)
        put(name, "half a save");
    fs::remove(dir_ + "/ZelkoHTML.ini.Folder");
    fs::create_directory(dir_ + "/ZelkoHTML.ini.Folder");
    fs::remove(dir_ + "/ZelkoHTML.ini.Link12");
    fs::create_symlink("ZelkoHTML.ini.Ab12C", dir_ + "/ZelkoHTML.ini.Link12");
    fs::remove(dir_ + "/ZelkoHTML.ini.Pipe12");
    ASSERT_EQ(::mkfifo((dir_ + "/ZelkoHTML.ini.Pipe12").c_str(), 0644), 0);
    const int inUse = ::open((dir_ + "/ZelkoHTML.ini.InUse1").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(inUse, 0);
    ASSERT_EQ(::flock(inUse, LOCK_EX), 0);

    const auto own = [](std::string_view name) {
        return name == "ZelkoHTML.ini" || name == "ZelkoHTML.ini.bak";
    };
    EXPECT_EQ(removeStaleTemporaryFiles(dir_, own), stale.size());
    EXPECT_EQ(names(), kept);
    ::close(inUse);
    // Once the save is over (its process gone), its leftover goes too.
    EXPECT_EQ(removeStaleTemporaryFiles(dir_, own), 1u);
    EXPECT_EQ(names().count("ZelkoHTML.ini.InUse1"), 0u);
    EXPECT_EQ(removeStaleTemporaryFiles(dir_ + "/absent", own), 0u);
}

} // namespace
} // namespace zk
