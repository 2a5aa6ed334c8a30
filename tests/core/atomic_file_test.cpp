#include <gtest/gtest.h>

#include <filesystem>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

#include "atomic_file.h"

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
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
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
    rlimit old {};
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

} // namespace
} // namespace zk
