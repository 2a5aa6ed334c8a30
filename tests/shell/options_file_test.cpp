#include "options_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "gtest_as_ordinary_user.h"
#include "text.h"

namespace zk {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& p, std::string_view bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Every option as the file writes it, and the other lines: what two option sets must share
// to be the same.
std::vector<std::string> allTexts(const NewOptions& o) {
    std::vector<std::string> v;
    for (std::size_t i = 0; i < optionNames().size(); ++i)
        v.push_back(optionNames()[i] + "=" + optionText(o, i));
    v.insert(v.end(), o.OtherLines.begin(), o.OtherLines.end());
    return v;
}

std::string textOf(const NewOptions& o, const char* name) {
    const int i = findOption(name);
    EXPECT_GE(i, 0) << name;
    return i < 0 ? std::string() : optionText(o, static_cast<std::size_t>(i));
}

// Every option away from its default.
NewOptions distinctiveOptions() {
    NewOptions o;
    o.OutputFormat = 2;
    o.CompactCode = 1;
    o.BbcodePercentSizes = 1;
    o.CopyRichText = 0;
    o.LivePreview = 0;
    o.GradientType = 1;
    o.GradientBlend = 1;
    o.GradientStops = {0x123456, 0xABCDEF, 0x000000, 0xFFFFFF, 0x0080FF, 0x808080, 0x010203};
    o.GradientSelectedStop = 6;
    o.RainbowStart = 123;
    o.RainbowSpan = 45;
    o.OtherLines = {"Later=é à ç €", "[Section of another version]"};
    return o;
}

class OptionsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zk-options-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, ec);
        fs::remove_all(dir_, ec);
    }
    fs::path dir_;
};

TEST(OptionsDefaults, areTheDocumentedOnes) {
    const NewOptions o;
    EXPECT_EQ(o.OutputFormat, 0);
    EXPECT_EQ(o.CompactCode, 0);
    EXPECT_EQ(o.BbcodePercentSizes, 0);
    EXPECT_EQ(o.CopyRichText, 1);
    EXPECT_EQ(o.LivePreview, 1);
    EXPECT_EQ(o.GradientType, 0);
    EXPECT_EQ(o.GradientBlend, 0);
    EXPECT_EQ(textOf(o, "GradientStops"), "#FF0000,#FFFF00,#00FF00,#0000FF");
    EXPECT_EQ(o.GradientSelectedStop, 0);
    EXPECT_EQ(o.RainbowStart, 0);
    EXPECT_EQ(o.RainbowSpan, 360);
    EXPECT_TRUE(o.OtherLines.empty());
}

TEST(FormatOptions, defaultsWriteOneNameValueLinePerOptionInTableOrder) {
    EXPECT_EQ(FormatOptions(NewOptions{}), "OutputFormat=0\r\n"
                                           "CompactCode=0\r\n"
                                           "BbcodePercentSizes=0\r\n"
                                           "CopyRichText=1\r\n"
                                           "LivePreview=1\r\n"
                                           "GradientType=0\r\n"
                                           "GradientBlend=0\r\n"
                                           "GradientStops=#FF0000,#FFFF00,#00FF00,#0000FF\r\n"
                                           "GradientSelectedStop=0\r\n"
                                           "RainbowStart=0\r\n"
                                           "RainbowSpan=360\r\n");
}

TEST(FormatOptions, writtenOptionsAndOtherLinesReadBackTheSame) {
    const NewOptions source = distinctiveOptions();
    const std::string bytes = FormatOptions(source);
    EXPECT_FALSE(isValidUtf8(bytes)) << "accents fit Windows-1252, so the file is single-byte";
    NewOptions back;
    const OptionsLoadResult r = ParseOptions(bytes, back);
    EXPECT_EQ(r.status, OptionsLoadResult::Ok);
    EXPECT_FALSE(r.partlyRead());
    EXPECT_EQ(allTexts(back), allTexts(source));
    EXPECT_EQ(FormatOptions(back), bytes);
}

TEST(FormatOptions, otherLinesOutsideWindows1252AreWrittenInUtf8) {
    NewOptions o;
    o.OtherLines = {"Note=é 👍", "Raw=Ã©"};
    const std::string bytes = FormatOptions(o);
    EXPECT_TRUE(isValidUtf8(bytes));
    NewOptions back;
    ParseOptions(bytes, back);
    EXPECT_EQ(back.OtherLines, o.OtherLines);
}

// One line read over the defaults: the option's value as written back, and whether the
// line was refused.
struct ValueCase {
    const char* line;
    const char* name;
    const char* value;
    bool refused;
};

class OptionValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(OptionValueTest, takesValuesInRangeAndGivesTheDefaultOtherwise) {
    const ValueCase& c = GetParam();
    // Values away from the defaults first, so that a refused value shows it gives the
    // default and not what was there before.
    NewOptions o = distinctiveOptions();
    o.GradientSelectedStop = 0;
    const OptionsLoadResult r = ParseOptions(c.line, o);
    EXPECT_EQ(r.status, OptionsLoadResult::Ok);
    EXPECT_EQ(r.firstRefusedLine, c.refused ? 1 : 0) << c.line;
    EXPECT_EQ(r.partlyRead(), c.refused);
    if (c.refused)
        EXPECT_EQ(textOf(o, c.name), textOf(NewOptions{}, c.name)) << c.line;
    else
        EXPECT_EQ(textOf(o, c.name), c.value) << c.line;
    EXPECT_TRUE(o.OtherLines.empty()) << "a known name is not another line";
}

INSTANTIATE_TEST_SUITE_P(
    OptionsFile, OptionValueTest,
    ::testing::Values(
        ValueCase{"OutputFormat=1", "OutputFormat", "1", false},
        ValueCase{"OutputFormat=2", "OutputFormat", "2", false},
        ValueCase{"OutputFormat=3", "OutputFormat", "", true},
        ValueCase{"OutputFormat=-1", "OutputFormat", "", true},
        ValueCase{"OutputFormat=+1", "OutputFormat", "1", false},
        ValueCase{"OutputFormat=01", "OutputFormat", "1", false},
        ValueCase{"OutputFormat=1.0", "OutputFormat", "", true},
        ValueCase{"OutputFormat=", "OutputFormat", "", true},
        ValueCase{"OutputFormat=html", "OutputFormat", "", true},
        ValueCase{"OutputFormat=99999999999", "OutputFormat", "", true},
        ValueCase{"  OutputFormat \t=  2  ", "OutputFormat", "2", false},
        ValueCase{"outputformat=2", "OutputFormat", "2", false},
        ValueCase{"CompactCode=1", "CompactCode", "1", false},
        ValueCase{"CompactCode=2", "CompactCode", "", true},
        ValueCase{"BbcodePercentSizes=1", "BbcodePercentSizes", "1", false},
        ValueCase{"CopyRichText=0", "CopyRichText", "0", false},
        ValueCase{"CopyRichText=256", "CopyRichText", "", true},
        ValueCase{"LivePreview=0", "LivePreview", "0", false},
        ValueCase{"GradientType=2", "GradientType", "2", false},
        ValueCase{"GradientType=3", "GradientType", "", true},
        ValueCase{"GradientBlend=1", "GradientBlend", "1", false},
        ValueCase{"GradientBlend=2", "GradientBlend", "", true},
        ValueCase{"RainbowStart=360", "RainbowStart", "360", false},
        ValueCase{"RainbowStart=361", "RainbowStart", "", true},
        ValueCase{"RainbowSpan=0", "RainbowSpan", "0", false},
        ValueCase{"RainbowSpan=-360", "RainbowSpan", "", true},
        ValueCase{"GradientStops=#ff0000,#00Ff00", "GradientStops", "#FF0000,#00FF00", false},
        ValueCase{"GradientStops= #000001 , #FFFFFE ,#808080 ", "GradientStops",
                  "#000001,#FFFFFE,#808080", false},
        ValueCase{"GradientStops=#000000,#111111,#222222,#333333,#444444,#555555,#666666,#777777",
                  "GradientStops",
                  "#000000,#111111,#222222,#333333,#444444,#555555,#666666,#777777", false},
        ValueCase{"GradientStops=#000000,#111111,#222222,#333333,#444444,#555555,#666666,#777777,"
                  "#888888",
                  "GradientStops", "", true},
        ValueCase{"GradientStops=#FF0000", "GradientStops", "", true},
        ValueCase{"GradientStops=", "GradientStops", "", true},
        ValueCase{"GradientStops=#FF000,#00FF00", "GradientStops", "", true},
        ValueCase{"GradientStops=#GG0000,#00FF00", "GradientStops", "", true},
        ValueCase{"GradientStops=FF0000,00FF00", "GradientStops", "", true},
        ValueCase{"GradientStops=#FF0000,,#00FF00", "GradientStops", "", true},
        ValueCase{"GradientStops=#FF0000,#00FF00,", "GradientStops", "", true},
        ValueCase{"GradientStops=#FF0000;#00FF00", "GradientStops", "", true},
        ValueCase{"GradientSelectedStop=6", "GradientSelectedStop", "6", false},
        ValueCase{"GradientSelectedStop=7", "GradientSelectedStop", "", true}, // 7 stops
        ValueCase{"GradientSelectedStop=8", "GradientSelectedStop", "", true}));

TEST(ParseOptions, selectedStopIsCheckedAgainstTheStopsWhateverTheirOrder) {
    NewOptions o;
    EXPECT_EQ(ParseOptions("GradientSelectedStop=2\r\nGradientStops=#000000,#808080,#FFFFFF\r\n", o)
                  .firstRefusedLine,
              0);
    EXPECT_EQ(o.GradientSelectedStop, 2);

    o = NewOptions{};
    const OptionsLoadResult r =
        ParseOptions("GradientStops=#000000,#FFFFFF\r\nGradientSelectedStop=3\r\n", o);
    EXPECT_EQ(r.firstRefusedLine, 2);
    EXPECT_EQ(o.GradientSelectedStop, 0);

    // Refused stops give the default four, under which 3 is a stop.
    o = NewOptions{};
    EXPECT_EQ(
        ParseOptions("GradientStops=#000000\r\nGradientSelectedStop=3\r\n", o).firstRefusedLine, 1);
    EXPECT_EQ(o.GradientSelectedStop, 3);
}

TEST(ParseOptions, otherNamesAndLinesWithoutEqualsAreKeptInTheirOrderBlankLinesAreNot) {
    NewOptions o;
    const OptionsLoadResult r = ParseOptions("Future=1\r\n"
                                             "\r\n"
                                             "OutputFormat=2\r\n"
                                             "   \t\r\n"
                                             "  free text, no equals sign\r\n"
                                             "=no name\r\n"
                                             "LivePreviewX=0\r\n"
                                             "[Section]\r\n",
                                             o);
    EXPECT_EQ(r.status, OptionsLoadResult::Ok);
    EXPECT_EQ(r.firstRefusedLine, 0);
    EXPECT_EQ(o.OutputFormat, 2);
    EXPECT_EQ(o.OtherLines, (std::vector<std::string>{"Future=1", "  free text, no equals sign",
                                                      "=no name", "LivePreviewX=0", "[Section]"}));
    // Written back after the known options, unchanged.
    const std::string bytes = FormatOptions(o);
    EXPECT_NE(bytes.find("RainbowSpan=360\r\nFuture=1\r\n  free text, no equals sign\r\n=no "
                         "name\r\nLivePreviewX=0\r\n[Section]\r\n"),
              std::string::npos)
        << bytes;
    // Reading replaces the other lines: they belong to the file read.
    ParseOptions("OutputFormat=1\r\n", o);
    EXPECT_TRUE(o.OtherLines.empty());
}

TEST(ParseOptions, aNameGivenTwiceKeepsItsFirstValueAndTheFileIsKept) {
    NewOptions o;
    const OptionsLoadResult r = ParseOptions("OutputFormat=1\r\nCompactCode=1\r\n"
                                             "OUTPUTFORMAT=2\r\n",
                                             o);
    EXPECT_EQ(o.OutputFormat, 1);
    EXPECT_EQ(o.CompactCode, 1);
    EXPECT_EQ(r.firstRefusedLine, 3);
    EXPECT_TRUE(r.partlyRead());
}

TEST(ParseOptions, firstRefusedLineCountsEveryLineEndStyle) {
    for (const char* end : {"\r\n", "\n", "\r"}) {
        const std::string e = end;
        NewOptions o;
        const OptionsLoadResult r = ParseOptions("OutputFormat=2" + e + e + "CompactCode=1" + e +
                                                     "RainbowSpan=999" + e + "LivePreview=0",
                                                 o);
        EXPECT_EQ(o.OutputFormat, 2);
        EXPECT_EQ(o.CompactCode, 1);
        EXPECT_EQ(o.LivePreview, 0) << "the last line needs no line end";
        EXPECT_EQ(o.RainbowSpan, 360);
        EXPECT_EQ(r.firstRefusedLine, 4);
    }
}

TEST(ParseOptions, readsUtf8OrWindows1252AndSkipsAByteOrderMark) {
    NewOptions o;
    ParseOptions("\xEF\xBB\xBFOutputFormat=2\r\nNote=caf\xC3\xA9\r\n", o);
    EXPECT_EQ(o.OutputFormat, 2);
    EXPECT_EQ(o.OtherLines, std::vector<std::string>{"Note=café"});
    ParseOptions("Note=caf\xE9\r\n", o);
    EXPECT_EQ(o.OtherLines, std::vector<std::string>{"Note=café"});
}

TEST(ParseOptions, otherLinesPastWhatTheFileCanHoldAreRefusedSoTheFileIsKept) {
    const std::string line = "Other=" + std::string(994, 'x') + "\r\n"; // 1,002 bytes
    std::string bytes;
    for (int k = 0; k < 16; ++k)
        bytes += line;
    ASSERT_LE(bytes.size(), kOptionsSizeLimit);
    NewOptions o;
    const OptionsLoadResult r = ParseOptions(bytes, o);
    EXPECT_TRUE(r.partlyRead());
    EXPECT_GT(r.firstRefusedLine, 1);
    EXPECT_EQ(o.OtherLines.size(), static_cast<std::size_t>(r.firstRefusedLine - 1));
    // What is written back is read back whole.
    const std::string written = FormatOptions(o);
    EXPECT_LE(written.size(), kOptionsSizeLimit);
    NewOptions back;
    EXPECT_FALSE(ParseOptions(written, back).partlyRead());
    EXPECT_EQ(allTexts(back), allTexts(o));
}

TEST(ParseOptions, garbageNeverCrashesAndWhatIsWrittenReadsBackTheSame) {
    std::mt19937 random(12);
    const std::string alphabet =
        "=#,\r\n \t0123456789ABCDEFabcdef-+OutputFormatGradientStops\xE9\xC3";
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(random() % 200, ' ');
        for (char& c : bytes)
            c = random() % 4 == 0 ? static_cast<char>(random() % 256)
                                  : alphabet[random() % alphabet.size()];
        NewOptions o;
        ParseOptions(bytes, o);
        EXPECT_LT(o.GradientSelectedStop, o.GradientStops.size());
        EXPECT_GE(o.GradientStops.size(), kMinGradientStops);
        EXPECT_LE(o.GradientStops.size(), kMaxGradientStops);
        const std::string written = FormatOptions(o);
        NewOptions back;
        const OptionsLoadResult r = ParseOptions(written, back);
        ASSERT_FALSE(r.partlyRead()) << written;
        ASSERT_EQ(allTexts(back), allTexts(o)) << written;
    }
}

TEST(SetOptionText, takesValidValuesAndLeavesTheOptionsAsTheyWereOtherwise) {
    NewOptions o;
    const auto set = [&o](const char* name, const char* value) {
        return setOptionText(o, static_cast<std::size_t>(findOption(name)), value);
    };
    EXPECT_TRUE(set("OutputFormat", "2"));
    EXPECT_EQ(o.OutputFormat, 2);
    EXPECT_FALSE(set("OutputFormat", "3"));
    EXPECT_EQ(o.OutputFormat, 2);
    EXPECT_TRUE(set("GradientSelectedStop", "3"));
    EXPECT_FALSE(set("GradientSelectedStop", "4")) << "four stops";
    EXPECT_EQ(o.GradientSelectedStop, 3);
    // Fewer stops move the selection to the last of them.
    EXPECT_TRUE(set("GradientStops", "#000000,#FFFFFF"));
    EXPECT_EQ(o.GradientSelectedStop, 1);
    EXPECT_FALSE(set("GradientStops", "#000000"));
    EXPECT_EQ(textOf(o, "GradientStops"), "#000000,#FFFFFF");
    EXPECT_FALSE(setOptionText(o, optionNames().size(), "0"));
}

TEST(OptionNames, areFoundWhateverTheirCaseAndEachHasARange) {
    ASSERT_EQ(optionNames().size(), 11u);
    for (std::size_t i = 0; i < optionNames().size(); ++i) {
        EXPECT_EQ(findOption(optionNames()[i]), static_cast<int>(i));
        std::string upper = optionNames()[i];
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(findOption(upper), static_cast<int>(i));
        EXPECT_FALSE(optionRange(i).empty());
    }
    EXPECT_EQ(findOption("Output"), -1);
    EXPECT_EQ(findOption(""), -1);
    EXPECT_EQ(optionRange(0), "0 to 2");
}

TEST(GeneratorOptions, takeTheFormatTheCompactCodeAndThePerCentSizes) {
    const struct {
        const char* lines;
        OutputFormat format;
        bool compact;
        bool percent;
    } cases[] = {
        {"", OutputFormat::ClassicHtml, false, false},
        {"OutputFormat=1\r\nCompactCode=1", OutputFormat::Html5, true, false},
        {"OutputFormat=2\r\nBbcodePercentSizes=1", OutputFormat::BbCode, false, true},
        {"OutputFormat=3\r\nCompactCode=2", OutputFormat::ClassicHtml, false, false},
    };
    for (const auto& c : cases) {
        NewOptions o;
        ParseOptions(c.lines, o);
        const GeneratorOptions g = generatorOptions(o);
        EXPECT_EQ(g.format, c.format) << c.lines;
        EXPECT_EQ(g.compact, c.compact) << c.lines;
        EXPECT_EQ(g.percentSizes, c.percent) << c.lines;
        EXPECT_EQ(g.classic(), c.format == OutputFormat::ClassicHtml && !c.compact) << c.lines;
    }
}

TEST_F(OptionsFileTest, generatorTakesTheGradientOptions) {
    NewOptions o;
    const GradientOptions defaults = generatorOptions(o).gradient;
    EXPECT_EQ(defaults.type, GradientType::TwoColours);
    EXPECT_EQ(defaults.blend, GradientBlend::Rgb);
    EXPECT_TRUE(generatorOptions(o).classic());
    ParseOptions("GradientType=2\r\nGradientBlend=1\r\nGradientStops=#FF0000,#0000FF,#00FF80\r\n"
                 "RainbowStart=45\r\nRainbowSpan=180\r\n",
                 o);
    const GradientOptions g = generatorOptions(o).gradient;
    EXPECT_EQ(g.type, GradientType::Rainbow);
    EXPECT_EQ(g.blend, GradientBlend::OkLab);
    EXPECT_EQ(g.stopCount, 3u);
    EXPECT_EQ(std::vector<Color>(g.stops.begin(), g.stops.begin() + 3),
              (std::vector<Color>{0x0000FF, 0xFF0000, 0x80FF00}));
    EXPECT_EQ(g.rainbowStart, 45);
    EXPECT_EQ(g.rainbowSpan, 180);
    ParseOptions("GradientType=1\r\n", o);
    EXPECT_EQ(generatorOptions(o).gradient.type, GradientType::Multicolour);
}

TEST_F(OptionsFileTest, missingOrUnreadableFileLeavesTheOptionsAsTheyAre) {
    fs::create_directory(dir_ / "a folder");
    // A named pipe without a writer would wait for ever if it were opened to be read.
    ASSERT_EQ(::mkfifo((dir_ / "pipe.ini").c_str(), 0644), 0);
    const NewOptions before = distinctiveOptions();
    for (const fs::path& p : {dir_ / "none.ini", dir_ / "a folder", dir_ / "no/such/dir.ini",
                              dir_ / "pipe.ini", fs::path("/dev/zero")}) {
        NewOptions o = before;
        const OptionsLoadResult r = LoadOptions(p.string(), o);
        EXPECT_EQ(r.status, OptionsLoadResult::Missing) << p;
        EXPECT_FALSE(r.partlyRead()) << p;
        EXPECT_EQ(allTexts(o), allTexts(before)) << p;
    }
}

TEST_F(OptionsFileTest, loadReadsUpToTheSizeLimitAndNotPast) {
    const NewOptions source = distinctiveOptions();
    const std::string file = FormatOptions(source);
    // Blank lines are dropped, so padding keeps the file's content at any size.
    const std::string atLimit = file + std::string(kOptionsSizeLimit - file.size(), '\n');
    writeFile(dir_ / "limit.ini", atLimit);
    writeFile(dir_ / "past.ini", atLimit + "\n");
    fs::create_symlink("limit.ini", dir_ / "link.ini");
    for (const char* name : {"limit.ini", "link.ini"}) {
        NewOptions o;
        EXPECT_EQ(LoadOptions((dir_ / name).string(), o).status, OptionsLoadResult::Ok) << name;
        EXPECT_EQ(allTexts(o), allTexts(source)) << name;
    }
    NewOptions o;
    const OptionsLoadResult r = LoadOptions((dir_ / "past.ini").string(), o);
    EXPECT_EQ(r.status, OptionsLoadResult::TooBig);
    EXPECT_TRUE(r.partlyRead());
    EXPECT_EQ(allTexts(o), allTexts(NewOptions{}));
}

TEST_F(OptionsFileTest, saveReplacesTheFileWholeAndLoadReadsItBack) {
    const fs::path p = dir_ / kOptionsFileName;
    writeFile(p, "previous\r\n");
    NewOptions source = distinctiveOptions();
    ASSERT_TRUE(SaveOptions(p.string(), source).ok());
    EXPECT_EQ(readFile(p), FormatOptions(source));
    NewOptions back;
    EXPECT_EQ(LoadOptions(p.string(), back).status, OptionsLoadResult::Ok);
    EXPECT_EQ(allTexts(back), allTexts(source));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1)
        << "no temporary file is left beside it";
}

TEST_F(OptionsFileTest, saveOverReadOnlyFileIsRefusedAndKeepsIt_asOrdinaryUser) {
    ZK_AS_ORDINARY_USER();
    const fs::path p = dir_ / kOptionsFileName;
    writeFile(p, "previous\r\n");
    fs::permissions(p, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const WriteResult r = SaveOptions(p.string(), distinctiveOptions());
    EXPECT_EQ(r.status, WriteStatus::CannotCreate);
    EXPECT_EQ(readFile(p), "previous\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(OptionsFileTest, saveIntoAMissingFolderIsRefused) {
    const WriteResult r = SaveOptions((dir_ / "missing" / kOptionsFileName).string(), NewOptions{});
    EXPECT_EQ(r.status, WriteStatus::CannotCreate);
    EXPECT_NE(r.error, 0);
}

} // namespace
} // namespace zk
