#include "preset_file.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

#include "gtest_as_ordinary_user.h"

namespace zk {
namespace {

namespace fs = std::filesystem;

// The eight values of a preset, in file order.
using Values = std::array<long long, kPresetLineCount>;

Values valuesOf(const FormattingState& f) {
    return {f.FontFaceIndex, f.FontSizeIndex, f.FontColor, f.Alignment,
            f.Bold,          f.Italic,        f.Underline, f.StrikeOut};
}

// A state whose eight preset values all differ from what any case reads.
FormattingState distinctive() {
    FormattingState f;
    f.FontFaceIndex = 5;
    f.FontSizeIndex = 2;
    f.FontColor = 0x123456;
    f.Alignment = 2;
    f.Bold = 1;
    f.Italic = 2;
    f.Underline = 4;
    f.StrikeOut = 8;
    return f;
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TempDir final {
public:
    TempDir() {
        std::string templ = (fs::temp_directory_path() / "zkpresetXXXXXX").string();
        path_ = mkdtemp(templ.data());
    }
    ~TempDir() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

TEST(PresetFile, namesTheSlotInDecimal) {
    EXPECT_EQ(presetFileName(0), "ZelkoHTML0.cfg");
    EXPECT_EQ(presetFileName(7), "ZelkoHTML7.cfg");
    EXPECT_EQ(presetFileName(9), "ZelkoHTML9.cfg"); // a hand-edited slot number
    EXPECT_EQ(presetFileName(255), "ZelkoHTML255.cfg");
}

TEST(PresetFile, writesTheEightLinesInOrder) {
    FormattingState f;
    f.Bold = 1;
    f.StrikeOut = 8;
    f.Alignment = 1;
    f.FontFaceIndex = 17;
    f.FontSizeIndex = 3;
    f.FontColor = 255;
    EXPECT_EQ(FormatPreset(f), "17\r\n3\r\n255\r\n1\r\n1\r\n0\r\n0\r\n8\r\n");

    // Nothing but the eight values goes into the file.
    f.FontFace = "Tahoma";
    f.GradientOn = 1;
    f.SignatureText = "Léa";
    EXPECT_EQ(FormatPreset(f), "17\r\n3\r\n255\r\n1\r\n1\r\n0\r\n0\r\n8\r\n");
}

TEST(PresetFile, writtenValuesReadBackTheSame) {
    const std::array<FormattingState, 3> states = [] {
        std::array<FormattingState, 3> s{};
        s[0] = distinctive();
        s[1].FontFaceIndex = 255; // bytes at their top, a system colour (negative)
        s[1].FontSizeIndex = 255;
        s[1].FontColor = INT32_MIN;
        s[1].Alignment = 255;
        s[1].Bold = 255;
        s[2].FontColor = INT32_MAX;
        return s;
    }();
    for (const FormattingState& source : states) {
        FormattingState read = distinctive();
        read.FontColor = 77;
        const LoadResult r = ParsePreset(FormatPreset(source), read);
        EXPECT_EQ(r.status, LoadResult::Ok);
        EXPECT_EQ(valuesOf(read), valuesOf(source));
    }
}

struct ParseCase {
    const char* what;
    const char* bytes;
    LoadResult::Status status;
    int badLine;     // for InvalidNumber
    Values expected; // the values after reading, from distinctive() when not read
};

std::ostream& operator<<(std::ostream& os, const ParseCase& c) {
    return os << c.what;
}

class ParsePresetTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParsePresetTest, readsByTheSettingsRules) {
    const ParseCase& c = GetParam();
    FormattingState f = distinctive();
    const LoadResult r = ParsePreset(c.bytes, f);
    EXPECT_EQ(r.status, c.status);
    if (c.status == LoadResult::InvalidNumber) {
        EXPECT_EQ(r.line, c.badLine);
    }
    EXPECT_EQ(valuesOf(f), c.expected);
}

// distinctive(): 5, 2, 0x123456 (1193046), 2, 1, 2, 4, 8
INSTANTIATE_TEST_SUITE_P(
    Files, ParsePresetTest,
    ::testing::Values(ParseCase{"full",
                                "17\r\n3\r\n255\r\n1\r\n1\r\n0\r\n0\r\n8\r\n",
                                LoadResult::Ok,
                                0,
                                {17, 3, 255, 1, 1, 0, 0, 8}},
                      ParseCase{"four lines: the styles read as 0",
                                "17\r\n3\r\n255\r\n1\r\n",
                                LoadResult::Ok,
                                0,
                                {17, 3, 255, 1, 0, 0, 0, 0}},
                      ParseCase{"empty file", "", LoadResult::Ok, 0, {0, 0, 0, 0, 0, 0, 0, 0}},
                      ParseCase{"face 24, no range check",
                                "24\r\n9\r\n-1\r\n7\r\n3\r\n3\r\n3\r\n3\r\n",
                                LoadResult::Ok,
                                0,
                                {24, 9, -1, 7, 3, 3, 3, 3}},
                      ParseCase{"low bits of a byte",
                                "300\r\n-1\r\n0\r\n256\r\n0\r\n0\r\n0\r\n0\r\n",
                                LoadResult::Ok,
                                0,
                                {44, 255, 0, 0, 0, 0, 0, 0}},
                      ParseCase{"empty lines skipped, rest of a line ignored, lone LF",
                                "\r\n\r\n1 Arial\n2\r\n  3  \r\n4\r\n5\r\n6\r\n7\r\n8\r\n",
                                LoadResult::Ok,
                                0,
                                {1, 2, 3, 4, 5, 6, 7, 8}},
                      ParseCase{"lines after the eighth ignored",
                                "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\nzz\r\n",
                                LoadResult::Ok,
                                0,
                                {1, 2, 3, 4, 5, 6, 7, 8}},
                      ParseCase{"garbage on line 4 keeps the three values read",
                                "17\r\n3\r\n255\r\ncentre\r\n1\r\n0\r\n0\r\n8\r\n",
                                LoadResult::InvalidNumber,
                                4,
                                {17, 3, 255, 2, 1, 2, 4, 8}},
                      ParseCase{"digits followed by letters",
                                "12abc\r\n",
                                LoadResult::InvalidNumber,
                                1,
                                {5, 2, 1193046, 2, 1, 2, 4, 8}},
                      ParseCase{"colour beyond 32 bits",
                                "1\r\n2\r\n4294967296\r\n",
                                LoadResult::InvalidNumber,
                                3,
                                {1, 2, 1193046, 2, 1, 2, 4, 8}},
                      ParseCase{"an accented letter",
                                "\xE9\r\n",
                                LoadResult::InvalidNumber,
                                1,
                                {5, 2, 1193046, 2, 1, 2, 4, 8}}));

TEST(PresetFile, missingOrUnreadableFileLeavesTheStateAlone) {
    TempDir dir;
    // A named pipe is never opened: without a writer it would wait for ever.
    ASSERT_EQ(::mkfifo((dir.path() / "ZelkoHTML4.cfg").c_str(), 0644), 0);
    for (const fs::path& p : {dir.path() / "ZelkoHTML3.cfg", dir.path(),
                              dir.path() / "ZelkoHTML4.cfg", fs::path("/dev/zero")}) {
        FormattingState f = distinctive();
        const LoadResult r = LoadPresetFile(p.string(), f);
        EXPECT_EQ(r.status, LoadResult::Missing) << p;
        EXPECT_FALSE(r.partlyRead()) << p;
        EXPECT_EQ(valuesOf(f), valuesOf(distinctive()));
    }
}

TEST(PresetFile, fileLargerThanAPresetCanBeIsNotRead) {
    TempDir dir;
    const std::string file = FormatPreset(FormattingState{});
    const fs::path atLimit = dir.path() / "ZelkoHTML1.cfg", past = dir.path() / "ZelkoHTML2.cfg";
    // The rest of the last line is ignored, so padding keeps the file a preset.
    {
        std::ofstream(atLimit, std::ios::binary)
            << file << std::string(kPresetSizeLimit - file.size(), ' ');
        std::ofstream(past, std::ios::binary)
            << file << std::string(kPresetSizeLimit - file.size() + 1, ' ');
    }
    FormattingState f = distinctive();
    EXPECT_EQ(LoadPresetFile(atLimit.string(), f).status, LoadResult::Ok);
    EXPECT_EQ(valuesOf(f), valuesOf(FormattingState{}));
    f = distinctive();
    const LoadResult r = LoadPresetFile(past.string(), f);
    EXPECT_EQ(r.status, LoadResult::TooBig);
    EXPECT_TRUE(r.partlyRead());
    EXPECT_EQ(valuesOf(f), valuesOf(distinctive()));
}

// A preset file its owner made read-only stays as it is.
TEST(PresetFile, saveOverReadOnlyFileIsRefused_asOrdinaryUser) {
    ZK_AS_ORDINARY_USER();
    TempDir dir;
    const fs::path p = dir.path() / presetFileName(3);
    std::ofstream(p, std::ios::binary) << "1\r\n";
    fs::permissions(p, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(SavePresetFile(p.string(), distinctive()).status, WriteStatus::CannotCreate);
    EXPECT_EQ(readFile(p), "1\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(PresetFile, saveReplacesTheFileAndLoadReadsIt) {
    TempDir dir;
    const fs::path p = dir.path() / presetFileName(2);
    {
        std::ofstream old(p, std::ios::binary);
        old << "an older and much longer content that must not survive\r\n";
    }
    const FormattingState source = distinctive();
    ASSERT_TRUE(SavePresetFile(p.string(), source).ok());
    EXPECT_EQ(readFile(p), FormatPreset(source));
    FormattingState read;
    EXPECT_EQ(LoadPresetFile(p.string(), read).status, LoadResult::Ok);
    EXPECT_EQ(valuesOf(read), valuesOf(source));
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(PresetFile, folderThatCannotTakeTheFileIsReportedAndNothingIsWritten) {
    TempDir dir;
    const fs::path notAFolder = dir.path() / "Presets";
    std::ofstream(notAFolder) << "a file where the folder should be";
    const WriteResult r = SavePresetFile((notAFolder / presetFileName(0)).string(), distinctive());
    EXPECT_EQ(r.status, WriteStatus::CannotCreate);
    EXPECT_EQ(writeErrorMessage(r), "\r\nERREUR en écriture");
    EXPECT_EQ(
        SavePresetFile((dir.path() / "missing" / "ZelkoHTML0.cfg").string(), distinctive()).status,
        WriteStatus::CannotCreate);
}

} // namespace
} // namespace zk
