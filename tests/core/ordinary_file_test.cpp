#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "gtest_as_ordinary_user.h"
#include "ordinary_file.h"

namespace fs = std::filesystem;

namespace zk {
namespace {

class OrdinaryFile : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zk-ordinary-XXXXXX";
        dir_ = mkdtemp(tmpl);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    void put(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string dir_;
};

TEST_F(OrdinaryFile, readsOnlyAnOrdinaryFileWithinTheBound) {
    put("small", "12345");
    put("empty", "");
    fs::create_directory(path("folder"));
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0644), 0);
    fs::create_symlink("small", path("link"));
    fs::create_symlink("pipe", path("link-to-pipe"));
    fs::create_symlink("absent", path("dangling"));
    struct Case {
        std::string path;
        std::size_t bound;
        ReadStatus status;
        std::string bytes;
    } const cases[] = {
        {path("small"), 5, ReadStatus::Ok, "12345"},
        {path("small"), 4, ReadStatus::TooBig, ""},
        {path("small"), 0, ReadStatus::TooBig, ""},
        {path("empty"), 0, ReadStatus::Ok, ""},
        {path("link"), 100, ReadStatus::Ok, "12345"}, // links are followed
        {path("absent"), 100, ReadStatus::Missing, ""},
        {path("absent/below"), 100, ReadStatus::Missing, ""},
        {path("small/below"), 100, ReadStatus::Missing, ""},
        {path("dangling"), 100, ReadStatus::Missing, ""},
        // Never opened, so a pipe without a writer cannot make the reader wait.
        {path("pipe"), 100, ReadStatus::NotAFile, ""},
        {path("link-to-pipe"), 100, ReadStatus::NotAFile, ""},
        {path("folder"), 100, ReadStatus::NotAFile, ""},
        {"/dev/zero", 100, ReadStatus::NotAFile, ""},
        {"/dev/null", 100, ReadStatus::NotAFile, ""},
        // A file whose size is not known beforehand is still cut at the bound.
        {"/proc/self/maps", 10, ReadStatus::TooBig, ""},
    };
    for (const Case& c : cases) {
        const ReadResult r = readOrdinaryFile(c.path, c.bound);
        EXPECT_EQ(r.status, c.status) << c.path << " bound " << c.bound;
        EXPECT_EQ(r.bytes, c.bytes) << c.path;
    }
    EXPECT_TRUE(readOrdinaryFile("/proc/self/maps", 1 << 20).ok());
}

TEST_F(OrdinaryFile, openGivesADescriptorOfTheFileOnly) {
    put("f", "abc");
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0644), 0);
    ReadStatus status = ReadStatus::Failed;
    int error = -1;
    const int fd = openOrdinaryFile(path("f"), status, error);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(status, ReadStatus::Ok);
    char buffer[8] = {};
    EXPECT_EQ(::read(fd, buffer, sizeof buffer), 3);
    ::close(fd);
    EXPECT_EQ(openOrdinaryFile(path("pipe"), status, error), -1);
    EXPECT_EQ(status, ReadStatus::NotAFile);
    EXPECT_EQ(openOrdinaryFile(path("none"), status, error), -1);
    EXPECT_EQ(status, ReadStatus::Missing);
    EXPECT_EQ(error, ENOENT);
}

TEST_F(OrdinaryFile, unreadableFileFails_asOrdinaryUser) {
    ZK_AS_ORDINARY_USER();
    put("secret", "x");
    fs::permissions(path("secret"), fs::perms::owner_write);
    const ReadResult r = readOrdinaryFile(path("secret"), 100);
    EXPECT_EQ(r.status, ReadStatus::Failed);
    EXPECT_EQ(r.error, EACCES);
    EXPECT_TRUE(r.bytes.empty());
}

} // namespace
} // namespace zk
