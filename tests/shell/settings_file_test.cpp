#include "settings_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "gtest_as_ordinary_user.h"
#include "text.h"

namespace zk {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t N = kSettingsLineCount;

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& p, std::string_view bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The lines of a text ended by CR LF, without their ends.
std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t p; (p = text.find("\r\n", start)) != std::string::npos; start = p + 2)
        lines.push_back(text.substr(start, p - start));
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

std::string joinCrlf(const std::vector<std::string>& lines, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count && i < lines.size(); ++i)
        out += lines[i] + "\r\n";
    return out;
}

std::vector<std::string> allFieldTexts(const AppSettings& s) {
    std::vector<std::string> v;
    for (std::size_t i = 0; i < N; ++i)
        v.push_back(fieldText(s, i));
    return v;
}

bool isString(std::size_t i) {
    return settingsFields()[i].kind == FieldKind::String;
}

// Every field set to a value of its own, distinct from the defaults and from 0, with the
// strings holding Windows-1252 accents.
AppSettings distinctiveSettings() {
    AppSettings s;
    for (std::size_t i = 0; i < N; ++i) {
        switch (settingsFields()[i].kind) {
        case FieldKind::String:
            setFieldString(s, i, "Dossier " + std::to_string(i) + " é à ç € ");
            break;
        case FieldKind::Byte:
            setFieldNumber(s, i, 100 + static_cast<std::int64_t>(i));
            break;
        case FieldKind::UInt16:
            setFieldNumber(s, i, 40000 + static_cast<std::int64_t>(i));
            break;
        case FieldKind::Int32:
            setFieldNumber(s, i, -1000003 * static_cast<std::int64_t>(i + 1));
            break;
        }
    }
    return s;
}

// Text of a field after a number has been stored in it.
std::string storedAs(std::size_t field, std::int64_t value) {
    AppSettings s;
    setFieldNumber(s, field, value);
    return fieldText(s, field);
}

std::size_t field(const char* name) {
    const int i = findSettingsField(name);
    EXPECT_GE(i, 0) << name;
    return static_cast<std::size_t>(i);
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zk_settings_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }
    fs::path dir_;
};

// --- The table of lines -----------------------------------------------------------------

TEST(SettingsFields, tableHas59LinesWithTheDocumentedWidths) {
    const auto& f = settingsFields();
    ASSERT_EQ(f.size(), 59u);
    const std::set<std::size_t> strings = {1, 32, 34, 35, 36};
    std::set<std::size_t> int32s = {2, 3, 16, 24, 25, 26, 33};
    for (std::size_t line = 43; line <= 58; ++line)
        int32s.insert(line);
    for (std::size_t line = 1; line <= 59; ++line) {
        const FieldKind expected = strings.count(line)  ? FieldKind::String
                                   : int32s.count(line) ? FieldKind::Int32
                                   : line == 40         ? FieldKind::UInt16
                                                        : FieldKind::Byte;
        EXPECT_EQ(f[line - 1].kind, expected) << "line " << line << " " << f[line - 1].name;
    }
}

TEST(SettingsFields, namesSitOnTheirLines) {
    const std::pair<std::size_t, const char*> cases[] = {
        {1, "LastFolder"},
        {2, "WindowLeft"},
        {3, "WindowTop"},
        {4, "FontFaceIndex"},
        {5, "FontSizeIndex"},
        {6, "Bold"},
        {9, "StrikeOut"},
        {10, "MarqueeHorizontal"},
        {14, "LastTextEffect"},
        {15, "WavesKind"},
        {16, "FontColor"},
        {17, "Alignment"},
        {18, "PresetIndex"},
        {19, "AlwaysOnTop"},
        {23, "GradientOn"},
        {24, "CurrentList"},
        {25, "GradientStartColor"},
        {26, "GradientEndColor"},
        {27, "StartAtLogon"},
        {30, "ShowHints"},
        {31, "PreviewInProgram"},
        {32, "SignatureText"},
        {33, "SignatureColor"},
        {34, "SignatureImageUrl"},
        {35, "SignatureLink"},
        {36, "CodePrefix"},
        {37, "PreferencesPage"},
        {38, "SignatureSizeIndex"},
        {39, "SignatureOrder"},
        {40, "CodeSizeLimit"},
        {41, "IgnoreTextTags"},
        {42, "GradientSymmetry"},
        {43, "PresetStartColors[0]"},
        {44, "PresetEndColors[0]"},
        {49, "PresetStartColors[3]"},
        {58, "PresetEndColors[7]"},
        {59, "GradientPresetIndex"},
    };
    for (const auto& [line, name] : cases) {
        EXPECT_STREQ(settingsFields()[line - 1].name, name);
        EXPECT_EQ(findSettingsField(name), static_cast<int>(line - 1)) << name;
    }
}

TEST(SettingsFields, everyNameIsFoundAndUnique) {
    std::set<std::string> seen;
    for (std::size_t i = 0; i < N; ++i) {
        EXPECT_TRUE(seen.insert(settingsFields()[i].name).second) << settingsFields()[i].name;
        EXPECT_EQ(findSettingsField(settingsFields()[i].name), static_cast<int>(i));
    }
    for (const char* unknown : {"", "bold", "FontFace", "PresetStartColors[8]", "Bold "})
        EXPECT_EQ(findSettingsField(unknown), -1) << unknown;
}

TEST(SettingsFields, numbersKeepTheLowBitsOfTheirWidth) {
    struct Case {
        const char* name;
        std::int64_t value;
        const char* stored;
    } const cases[] = {
        {"Alignment", 300, "44"},
        {"Alignment", 256, "0"},
        {"Alignment", -1, "255"},
        {"Alignment", 255, "255"},
        {"CodeSizeLimit", 70000, "4464"},
        {"CodeSizeLimit", 65535, "65535"},
        {"CodeSizeLimit", -1, "65535"},
        {"FontColor", -5, "-5"},
        {"FontColor", INT32_MAX, "2147483647"},
        {"FontColor", INT32_MIN, "-2147483648"},
        {"FontColor", 4294967295LL, "-1"},
        {"FontColor", 4294967296LL + 7, "7"},
        {"WindowLeft", INT64_MIN, "0"},
        {"WindowLeft", INT64_MAX, "-1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(storedAs(field(c.name), c.value), c.stored) << c.name << " " << c.value;
}

TEST(SettingsFields, settingAStringOnANumberFieldChangesNothing) {
    AppSettings s;
    setFieldString(s, field("Bold"), "1");
    setFieldNumber(s, field("LastFolder"), 5);
    EXPECT_EQ(s.fmt.Bold, 0);
    EXPECT_EQ(s.LastFolder, "");
}

// --- Integers ---------------------------------------------------------------------------

TEST(ParseSettingsInteger, acceptsOptionallySignedDecimalsOf32Bits) {
    struct Case {
        const char* text;
        bool ok;
        std::int64_t value;
    } const cases[] = {
        {"0", true, 0},
        {"12", true, 12},
        {"+12", true, 12},
        {"-12", true, -12},
        {"-0", true, 0},
        {"007", true, 7},
        {"2147483647", true, INT32_MAX},
        {"-2147483648", true, INT32_MIN},
        {"00000000000000000000000000000042", true, 42},
        // Beyond 32 bits the value is refused rather than wrapped: the file never holds one.
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"4294967295", false, 0},
        {"99999999999999999999999999999999", false, 0},
        {"", false, 0},
        {"+", false, 0},
        {"-", false, 0},
        {"--1", false, 0},
        {"+-1", false, 0},
        {"12abc", false, 0},
        {" 12", false, 0},
        {"12 ", false, 0},
        {"0x10", false, 0},
        {"$10", false, 0},
        {"1e3", false, 0},
        {"1.5", false, 0},
        {"١٢", false, 0},
    };
    for (const Case& c : cases) {
        std::int64_t v = -999;
        EXPECT_EQ(parseSettingsInteger(c.text, v), c.ok) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

// --- Reading ----------------------------------------------------------------------------

TEST(AppSettingsDefaults, matchTheValuesUsedWithoutAFile) {
    const AppSettings s;
    EXPECT_EQ(s.WindowLeft, 236);
    EXPECT_EQ(s.WindowTop, 164);
    EXPECT_EQ(s.ShowHints, 1);
    EXPECT_EQ(s.PreviewInProgram, 1);
    EXPECT_EQ(s.fmt.FontSizeIndex, 6);
    EXPECT_EQ(s.fmt.SignatureSizeIndex, 6);
    EXPECT_EQ(s.fmt.GradientStartColor, 255);
    EXPECT_EQ(s.fmt.GradientEndColor, 65535);
    EXPECT_EQ(s.fmt.GradientSymmetry, 1);
    EXPECT_EQ(s.fmt.MarqueeHorizontal, 1);
    EXPECT_EQ(s.fmt.MarqueeStyle, 1);
    EXPECT_EQ(s.fmt.MarqueeSpeed, 1);
    EXPECT_EQ(s.fmt.FontFace, "Verdana");
    const std::int32_t starts[] = {255, 16711680, 32768, 33023, 65535, 0, 8288736, 128};
    const std::int32_t ends[] = {65535,    16776960, 65280,    16711808,
                                 16711935, 16777215, 16777215, 255};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(s.fmt.PresetStartColors[k], starts[k]) << k;
        EXPECT_EQ(s.fmt.PresetEndColors[k], ends[k]) << k;
    }
}

TEST_F(SettingsFileTest, loadMissingOrUnreadableFile_keepsEveryDefault) {
    fs::create_directory(dir_ / "a folder");
    // A named pipe without a writer would wait for ever if it were opened to be read.
    ASSERT_EQ(::mkfifo((dir_ / "pipe.ini").c_str(), 0644), 0);
    fs::create_symlink("pipe.ini", dir_ / "link-to-pipe.ini");
    AppSettings defaults;
    defaults.LastFolder = "/app/";
    for (const fs::path& p :
         {dir_ / "none.ini", dir_ / "a folder", dir_ / "no/such/dir.ini", dir_ / "pipe.ini",
          dir_ / "link-to-pipe.ini", fs::path("/dev/zero"), fs::path("/dev/null")}) {
        AppSettings s = defaults;
        const LoadResult r = LoadSettings(p.string(), s);
        EXPECT_EQ(r.status, LoadResult::Missing) << p;
        EXPECT_FALSE(r.partlyRead()) << p;
        EXPECT_EQ(allFieldTexts(s), allFieldTexts(defaults)) << p;
    }
}

TEST_F(SettingsFileTest, loadReadsUpToTheSizeLimitAndNotPast) {
    AppSettings source = distinctiveSettings();
    const std::string file = FormatSettings(source);
    // Lines after line 59 are ignored, so padding keeps the file valid at any size.
    const std::string atLimit = file + std::string(kSettingsSizeLimit - file.size(), '\n');
    writeFile(dir_ / "limit.ini", atLimit);
    writeFile(dir_ / "past.ini", atLimit + "\n");
    fs::create_symlink("limit.ini", dir_ / "link.ini");

    for (const char* name : {"limit.ini", "link.ini"}) {
        AppSettings s;
        EXPECT_EQ(LoadSettings((dir_ / name).string(), s).status, LoadResult::Ok) << name;
        EXPECT_EQ(allFieldTexts(s), allFieldTexts(source)) << name;
    }
    AppSettings defaults;
    AppSettings s = defaults;
    const LoadResult r = LoadSettings((dir_ / "past.ini").string(), s);
    EXPECT_EQ(r.status, LoadResult::TooBig);
    EXPECT_TRUE(r.partlyRead());
    EXPECT_EQ(allFieldTexts(s), allFieldTexts(defaults));
}

TEST(ParseSettings, emptyFile_givesEmptyFolderAndZeroEverywhere) {
    AppSettings s;
    s.LastFolder = "/app/";
    const LoadResult r = ParseSettings("", s);
    EXPECT_EQ(r.status, LoadResult::Ok);
    for (std::size_t i = 0; i < N; ++i)
        EXPECT_EQ(fieldText(s, i), isString(i) ? "" : "0") << settingsFields()[i].name;
    EXPECT_EQ(s.fmt.GradientSymmetry, 0);
    EXPECT_EQ(s.ShowHints, 0);
    EXPECT_EQ(s.PreviewInProgram, 0);
    EXPECT_EQ(s.fmt.PresetStartColors[1], 0);
    EXPECT_EQ(s.fmt.PresetEndColors[5], 0);
    EXPECT_EQ(s.fmt.FontFace, "Verdana"); // not kept in the file
}

TEST(ParseSettings, fileCutShort_readsZeroOrEmptyForTheRest) {
    const AppSettings source = distinctiveSettings();
    const std::vector<std::string> lines = crlfLines(cp1252ToUtf8(FormatSettings(source)));
    ASSERT_EQ(lines.size(), N);
    for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{30},
                            std::size_t{31}, std::size_t{58}}) {
        AppSettings s;
        const LoadResult r = ParseSettings(utf8ToCp1252(joinCrlf(lines, cut)).value(), s);
        EXPECT_EQ(r.status, LoadResult::Ok) << cut;
        for (std::size_t i = 0; i < N; ++i) {
            const std::string expected = i < cut ? fieldText(source, i) : (isString(i) ? "" : "0");
            EXPECT_EQ(fieldText(s, i), expected) << "cut " << cut << " line " << i + 1;
        }
    }
}

TEST(ParseSettings, lastLineWithoutLineEnd_isStillRead) {
    std::vector<std::string> lines = crlfLines(FormatSettings(AppSettings{}));
    lines[58] = "5";
    std::string bytes = joinCrlf(lines, 58) + "5";
    AppSettings s;
    EXPECT_EQ(ParseSettings(bytes, s).status, LoadResult::Ok);
    EXPECT_EQ(s.fmt.GradientPresetIndex, 5);
}

// One line of an otherwise default file replaced; what the field on that line reads.
struct LineCase {
    std::size_t line;
    const char* content;
    const char* expected; // the field's text, or nullptr when the reading stops there
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << "line " << c.line << " \"" << c.content << "\" -> "
        << (c.expected ? c.expected : "Invalid numeric input");
}

class NumberLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(NumberLineTest, readsTheLeadingIntegerOrStops) {
    const LineCase& c = GetParam();
    AppSettings base;
    base.LastFolder = "/app/";
    std::vector<std::string> lines = crlfLines(FormatSettings(base));
    lines[c.line - 1] = c.content;
    AppSettings s;
    const LoadResult r = ParseSettings(joinCrlf(lines, N), s);
    if (c.expected) {
        EXPECT_EQ(r.status, LoadResult::Ok);
        EXPECT_EQ(fieldText(s, c.line - 1), c.expected);
    } else {
        EXPECT_EQ(r.status, LoadResult::InvalidNumber);
        EXPECT_EQ(r.line, static_cast<int>(c.line));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, NumberLineTest,
    ::testing::Values(
        LineCase{17, "12 word", "12"}, LineCase{17, "12abc", nullptr},
        LineCase{17, "  \t 2  ", "2"}, LineCase{17, "+2", "2"}, LineCase{17, "300", "44"},
        LineCase{17, "-1", "255"}, LineCase{40, "70000", "4464"}, LineCase{40, "65535", "65535"},
        LineCase{16, "-2147483648", "-2147483648"}, LineCase{16, "2147483648", nullptr},
        LineCase{16, "12345678901234567890123456789012345", nullptr},
        // Only the first 32 characters of a run count; the rest is ignored.
        LineCase{16, "0000000000000000000000000000000012", "0"},
        LineCase{16, "00000000000000000000000000000012xyz", "12"}, LineCase{16, "0x1F", nullptr},
        LineCase{16, "-", nullptr},
        LineCase{16, "é", nullptr}, // Any character up to 32 ends the run, not only a blank.
        LineCase{16, "7\x01garbage", "7"}, LineCase{16, "7\tgarbage", "7"},
        // Strings are taken whole, blanks included.
        LineCase{32, "  deux  blancs  ", "  deux  blancs  "},
        LineCase{36, "<b>12abc</b>", "<b>12abc</b>"}));

TEST(ParseSettings, badNumber_keepsValuesReadBeforeAndLeavesTheRest) {
    const AppSettings source = distinctiveSettings();
    std::vector<std::string> lines = crlfLines(cp1252ToUtf8(FormatSettings(source)));
    lines[19] = "12abc"; // line 20, SignatureOn
    AppSettings s;
    s.LastFolder = "/app/";
    const AppSettings before = s;
    const LoadResult r = ParseSettings(joinCrlf(lines, N), s);
    EXPECT_EQ(r.status, LoadResult::InvalidNumber);
    EXPECT_EQ(r.line, 20);
    for (std::size_t i = 0; i < N; ++i)
        EXPECT_EQ(fieldText(s, i), i < 19 ? fieldText(source, i) : fieldText(before, i))
            << "line " << i + 1;
}

TEST(ParseSettings, emptyLineBeforeANumber_shiftsLaterValuesUntilTextStopsIt) {
    AppSettings source = distinctiveSettings();
    source.fmt.SignatureText = "Bonjour";
    std::vector<std::string> lines = crlfLines(cp1252ToUtf8(FormatSettings(source)));
    lines[1] = ""; // WindowLeft's line left empty
    AppSettings s;
    const AppSettings before = s;
    const LoadResult r = ParseSettings(joinCrlf(lines, N), s);
    // Lines 2..30 read the value one line further down; line 31 meets "Bonjour" on line 32.
    EXPECT_EQ(r.status, LoadResult::InvalidNumber);
    EXPECT_EQ(r.line, 32);
    EXPECT_EQ(s.LastFolder, source.LastFolder);
    for (std::size_t i = 1; i < 30; ++i) {
        std::int64_t v = 0;
        ASSERT_TRUE(parseSettingsInteger(fieldText(source, i + 1), v));
        EXPECT_EQ(fieldText(s, i), storedAs(i, v)) << "line " << i + 1;
    }
    for (std::size_t i = 30; i < N; ++i)
        EXPECT_EQ(fieldText(s, i), fieldText(before, i)) << "line " << i + 1;
}

TEST(ParseSettings, blankLinesBeforeANumber_areSkippedAndCountedInTheErrorLine) {
    std::vector<std::string> lines = crlfLines(FormatSettings(AppSettings{}));
    // Lines 2 and 3 become blank, so WindowLeft reads FontFaceIndex's line and so on; the
    // line of the reported error counts the blank lines too.
    lines[1] = "   ";
    lines[2] = "\t";
    lines[5] = "oops"; // read by the field of line 4
    AppSettings s;
    const LoadResult r = ParseSettings(joinCrlf(lines, N), s);
    EXPECT_EQ(r.status, LoadResult::InvalidNumber);
    EXPECT_EQ(r.line, 6);
}

TEST(ParseSettings, linesAfter59_areIgnored) {
    const AppSettings source = distinctiveSettings();
    const std::string bytes = FormatSettings(source) + "garbage\r\n12abc\r\n\x01\x02\r\n";
    AppSettings s;
    EXPECT_EQ(ParseSettings(bytes, s).status, LoadResult::Ok);
    EXPECT_EQ(allFieldTexts(s), allFieldTexts(source));
}

TEST(ParseSettings, everyLineEndStyle_readsTheSameValues) {
    const AppSettings source = distinctiveSettings();
    const std::string crlf = FormatSettings(source);
    std::string lf, cr;
    for (char c : crlf) {
        if (c != '\n')
            cr += c;
        if (c != '\r')
            lf += c;
    }
    for (const std::string& bytes : {crlf, lf, cr}) {
        AppSettings s;
        EXPECT_EQ(ParseSettings(bytes, s).status, LoadResult::Ok);
        EXPECT_EQ(allFieldTexts(s), allFieldTexts(source));
    }
}

TEST(ParseSettings, errorLine_countsLoneLineEndsToo) {
    std::vector<std::string> lines = crlfLines(FormatSettings(AppSettings{}));
    lines[9] = "x"; // line 10
    for (const char* end : {"\r\n", "\n", "\r"}) {
        std::string bytes;
        for (const std::string& l : lines)
            bytes += l + end;
        AppSettings s;
        const LoadResult r = ParseSettings(bytes, s);
        EXPECT_EQ(r.status, LoadResult::InvalidNumber);
        EXPECT_EQ(r.line, 10) << "line end of " << std::string(end).size() << " characters";
    }
}

TEST(ParseSettings, textEncoding_isUtf8WhenValidElseWindows1252) {
    struct Case {
        std::string bytes;
        std::string folder;
    } const cases[] = {
        {"C:\\Donn\xE9"
         "es\r\n",
         "C:\\Données"}, // Windows-1252
        {"C:\\Donn\xC3\xA9"
         "es\r\n",
         "C:\\Données"},                           // UTF-8
        {"\x80 \x95 \x9C\r\n", "€ • œ"},           // Windows-1252 punctuation
        {"\xF0\x9F\x98\x80 smile\r\n", "😀 smile"}, // UTF-8 beyond Windows-1252
        {"ascii only\r\n", "ascii only"},
    };
    for (const Case& c : cases) {
        AppSettings s;
        EXPECT_EQ(ParseSettings(c.bytes, s).status, LoadResult::Ok);
        EXPECT_EQ(s.LastFolder, c.folder);
    }
}

TEST(ParseSettings, garbageNeverCrashes) {
    std::vector<std::string> inputs;
    inputs.push_back(std::string(1 << 20, 'x'));          // one huge string line
    inputs.push_back("\r\n" + std::string(1 << 20, '7')); // huge number run
    inputs.push_back("\r\n" + std::string(1 << 20, ' ')); // blanks to the end
    inputs.push_back(std::string(100000, '\r'));
    inputs.push_back(std::string(100000, '\n'));
    inputs.push_back(std::string("\0\0\0\r\n\0\r\n", 8));
    inputs.push_back("\xFF\xFE\r\n\xC3\r\n\xE2\x82");
    std::mt19937 rng(12345);
    for (int k = 0; k < 300; ++k) {
        std::string b(rng() % 2000, '\0');
        for (char& c : b) {
            const unsigned r = rng() % 8;
            c = r < 3   ? static_cast<char>('0' + rng() % 10)
                : r < 5 ? "\r\n -+\t"[rng() % 6]
                        : static_cast<char>(rng() % 256);
        }
        inputs.push_back(std::move(b));
    }
    for (const std::string& bytes : inputs) {
        AppSettings s;
        const LoadResult r = ParseSettings(bytes, s);
        if (r.status == LoadResult::InvalidNumber) {
            EXPECT_GE(r.line, 1);
            EXPECT_LE(static_cast<std::size_t>(r.line), bytes.size() + 1);
        } else {
            EXPECT_EQ(r.status, LoadResult::Ok);
        }
        // Whatever was read writes back as a file that reads the same.
        AppSettings back;
        EXPECT_EQ(ParseSettings(FormatSettings(s), back).status, LoadResult::Ok);
        EXPECT_EQ(allFieldTexts(back), allFieldTexts(s));
    }
}

// --- Writing ----------------------------------------------------------------------------

TEST(FormatSettings, defaults_writeTheDocumentedLines) {
    AppSettings s;
    s.LastFolder = "/home/marie/ZelkoHTML/";
    const std::string expected = "/home/marie/ZelkoHTML/\r\n236\r\n164\r\n0\r\n6\r\n0\r\n0\r\n0\r\n"
                                 "0\r\n1\r\n0\r\n1\r\n1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
                                 "0\r\n0\r\n0\r\n0\r\n255\r\n65535\r\n0\r\n0\r\n0\r\n1\r\n1\r\n"
                                 "\r\n0\r\n\r\n\r\n\r\n0\r\n6\r\n0\r\n0\r\n0\r\n1\r\n"
                                 "255\r\n65535\r\n16711680\r\n16776960\r\n32768\r\n65280\r\n"
                                 "33023\r\n16711808\r\n65535\r\n16711935\r\n0\r\n16777215\r\n"
                                 "8288736\r\n16777215\r\n128\r\n255\r\n0\r\n";
    EXPECT_EQ(FormatSettings(s), expected);
}

struct RoundTripCase {
    const char* name;
    std::function<void(AppSettings&)> fill;
    bool singleByte; // the file can be written in Windows-1252
};

class RoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

void fillNumbers(AppSettings& s, std::int64_t byteValue, std::int64_t u16Value,
                 std::int64_t i32Value) {
    for (std::size_t i = 0; i < N; ++i) {
        const FieldKind k = settingsFields()[i].kind;
        if (k == FieldKind::Byte)
            setFieldNumber(s, i, byteValue);
        else if (k == FieldKind::UInt16)
            setFieldNumber(s, i, u16Value);
        else if (k == FieldKind::Int32)
            setFieldNumber(s, i, i32Value);
    }
}

void fillStrings(AppSettings& s, const std::string& base) {
    for (std::size_t i = 0; i < N; ++i)
        if (isString(i))
            setFieldString(s, i, base + std::to_string(i));
}

TEST_P(RoundTripTest, writeThenRead_reproducesEveryVariable) {
    AppSettings source;
    GetParam().fill(source);
    const std::string bytes = FormatSettings(source);
    const std::string text = decodeTextFile(bytes);
    if (GetParam().singleByte)
        EXPECT_EQ(utf8ToCp1252(text), std::optional<std::string>(bytes)) << "Windows-1252";
    else
        EXPECT_EQ(bytes, text) << "UTF-8";
    AppSettings back;
    back.LastFolder = "/elsewhere/";
    ASSERT_EQ(ParseSettings(bytes, back).status, LoadResult::Ok);
    for (std::size_t i = 0; i < N; ++i)
        EXPECT_EQ(fieldText(back, i), fieldText(source, i)) << settingsFields()[i].name;
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundTripTest,
    ::testing::Values(RoundTripCase{"distinctive",
                                    [](AppSettings& s) { s = distinctiveSettings(); }, true},
                      RoundTripCase{"maxima",
                                    [](AppSettings& s) {
                                        fillNumbers(s, 255, 65535, INT32_MAX);
                                        fillStrings(s, "x");
                                    },
                                    true},
                      RoundTripCase{"minima",
                                    [](AppSettings& s) {
                                        fillNumbers(s, 0, 0, INT32_MIN);
                                        fillStrings(s, "");
                                    },
                                    true},
                      RoundTripCase{"negative32",
                                    [](AppSettings& s) {
                                        fillNumbers(s, 1, 1, -1);
                                        fillStrings(s, " blancs autour ");
                                    },
                                    true},
                      RoundTripCase{"emptyStrings",
                                    [](AppSettings& s) {
                                        fillNumbers(s, 7, 7, 7);
                                        for (std::size_t i = 0; i < N; ++i)
                                            if (isString(i))
                                                setFieldString(s, i, "");
                                    },
                                    true},
                      RoundTripCase{"emoji",
                                    [](AppSettings& s) {
                                        fillNumbers(s, 9, 9, -9);
                                        fillStrings(s, "Été 😀 👩‍👩‍👧 ");
                                    },
                                    false},
                      RoundTripCase{"numberLikeStrings",
                                    [](AppSettings& s) {
                                        fillNumbers(s, 3, 3, 3);
                                        fillStrings(s, "12abc ");
                                    },
                                    true},
                      // Windows-1252 bytes of "Ã©" would read back as the UTF-8 "é".
                      RoundTripCase{"cp1252LookingLikeUtf8",
                                    [](AppSettings& s) { fillStrings(s, "Ã© Ã¨ "); }, false}),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) { return info.param.name; });

TEST(FormatSettings, accentsFitInWindows1252_emojiNeedUtf8) {
    AppSettings s;
    s.LastFolder = "/home/léa/Données €/";
    std::string bytes = FormatSettings(s);
    EXPECT_EQ(bytes.substr(0, bytes.find("\r\n")), "/home/l\xE9"
                                                   "a/Donn\xE9"
                                                   "es \x80/");
    s.fmt.SignatureText = "Léa 😀";
    bytes = FormatSettings(s);
    EXPECT_TRUE(isValidUtf8(bytes));
    EXPECT_NE(bytes.find("/home/léa/Données €/\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Léa 😀\r\n"), std::string::npos);
}

TEST(FormatSettings, lineBreakInsideAString_isWrittenAsABlank) {
    AppSettings s;
    s.fmt.SignatureText = "deux\r\nlignes\rou\nplus";
    s.fmt.SignatureColor = 4242;
    const std::string bytes = FormatSettings(s);
    EXPECT_EQ(crlfLines(bytes).size(), N);
    AppSettings back;
    ASSERT_EQ(ParseSettings(bytes, back).status, LoadResult::Ok);
    EXPECT_EQ(back.fmt.SignatureText, "deux  lignes ou plus");
    EXPECT_EQ(back.fmt.SignatureColor, 4242);
}

TEST(FormatSettings, invalidUtf8InAString_isWrittenAsReplacementCharacters) {
    AppSettings s;
    s.fmt.CodePrefix = "a\xFF"
                       "b\xC3";
    const std::string bytes = FormatSettings(s);
    EXPECT_TRUE(isValidUtf8(bytes));
    AppSettings back;
    ASSERT_EQ(ParseSettings(bytes, back).status, LoadResult::Ok);
    EXPECT_EQ(back.fmt.CodePrefix, "a\xEF\xBF\xBD"
                                   "b\xEF\xBF\xBD");
}

TEST_F(SettingsFileTest, savedFile_has59CrLfLinesAndReadsBack) {
    AppSettings source = distinctiveSettings();
    const fs::path p = dir_ / "ZelkoHTML.ini";
    ASSERT_TRUE(SaveSettings(p.string(), source).ok());
    const std::string bytes = readFile(p);
    EXPECT_EQ(bytes, FormatSettings(source));
    std::size_t crlf = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            ASSERT_LT(i + 1, bytes.size());
            EXPECT_EQ(bytes[i + 1], '\n');
            ++crlf;
        } else if (bytes[i] == '\n') {
            EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << "lone LF at " << i;
        }
    }
    EXPECT_EQ(crlf, N);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_FALSE(isValidUtf8(bytes)) << "accents fit Windows-1252, so the file is single-byte";

    AppSettings back;
    EXPECT_EQ(LoadSettings(p.string(), back).status, LoadResult::Ok);
    EXPECT_EQ(allFieldTexts(back), allFieldTexts(source));

    // Saving again replaces the file whole, leaving no temporary file beside it.
    source.fmt.Bold = 1;
    ASSERT_TRUE(SaveSettings(p.string(), source).ok());
    EXPECT_EQ(readFile(p), FormatSettings(source));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(SettingsFileTest, saveIntoReadOnlyFolder_cannotCreateAndKeepsThePreviousFile) {
    ZK_AS_ORDINARY_USER();
    const fs::path ro = dir_ / "ro";
    fs::create_directory(ro);
    const fs::path p = ro / "ZelkoHTML.ini";
    writeFile(p, "previous\r\n");
    fs::permissions(ro, fs::perms::owner_read | fs::perms::owner_exec);
    const WriteResult r = SaveSettings(p.string(), distinctiveSettings());
    fs::permissions(ro, fs::perms::owner_all);
    EXPECT_EQ(r.status, WriteStatus::CannotCreate);
    EXPECT_EQ(writeErrorMessage(r), "\r\nERREUR en écriture");
    EXPECT_EQ(readFile(p), "previous\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(ro), fs::directory_iterator()), 1);
}

// A settings file its owner made read-only stays as it is, in a folder the user may write.
TEST_F(SettingsFileTest, saveOverReadOnlyFile_cannotCreateAndKeepsIt_asOrdinaryUser) {
    ZK_AS_ORDINARY_USER();
    const fs::path p = dir_ / "ZelkoHTML.ini";
    writeFile(p, "previous\r\n");
    fs::permissions(p, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const WriteResult r = SaveSettings(p.string(), distinctiveSettings());
    EXPECT_EQ(r.status, WriteStatus::CannotCreate);
    EXPECT_EQ(writeErrorMessage(r), "\r\nERREUR en écriture");
    EXPECT_EQ(readFile(p), "previous\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(SettingsFileTest, saveThroughASymbolicLink_replacesItsTargetAndKeepsTheLink) {
    fs::create_directory(dir_ / "elsewhere");
    writeFile(dir_ / "elsewhere" / "zelko.ini", "previous\r\n");
    fs::create_symlink("elsewhere/zelko.ini", dir_ / "ZelkoHTML.ini");
    const AppSettings source = distinctiveSettings();
    ASSERT_TRUE(SaveSettings((dir_ / "ZelkoHTML.ini").string(), source).ok());
    EXPECT_TRUE(fs::is_symlink(dir_ / "ZelkoHTML.ini"));
    EXPECT_EQ(readFile(dir_ / "elsewhere" / "zelko.ini"), FormatSettings(source));
    AppSettings back;
    EXPECT_EQ(LoadSettings((dir_ / "ZelkoHTML.ini").string(), back).status, LoadResult::Ok);
    EXPECT_EQ(allFieldTexts(back), allFieldTexts(source));
}

TEST_F(SettingsFileTest, saveWhereNoFileCanBeCreated_reportsCannotCreate) {
    writeFile(dir_ / "plain", "x");
    fs::create_directory(dir_ / "ZelkoHTML.ini");
    for (const fs::path& p :
         {dir_ / "missing" / "ZelkoHTML.ini", dir_ / "plain" / "a.ini", dir_ / "ZelkoHTML.ini"}) {
        const WriteResult r = SaveSettings(p.string(), AppSettings{});
        EXPECT_EQ(r.status, WriteStatus::CannotCreate) << p;
        EXPECT_NE(r.error, 0) << p;
    }
    EXPECT_EQ(readFile(dir_ / "plain"), "x");
    EXPECT_TRUE(fs::is_directory(dir_ / "ZelkoHTML.ini"));
    EXPECT_TRUE(fs::is_empty(dir_ / "ZelkoHTML.ini"));
}

TEST_F(SettingsFileTest, saveWhoseTemporaryNameIsTooLong_keepsThePreviousFile) {
    const fs::path p = dir_ / std::string(NAME_MAX - 2, 's');
    writeFile(p, "previous\r\n");
    const WriteResult r = SaveSettings(p.string(), AppSettings{});
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(writeErrorMessage(r).empty());
    EXPECT_EQ(readFile(p), "previous\r\n");
}

TEST(WriteErrorMessage, namesTheFailure) {
    struct Case {
        WriteResult result;
        const char* message;
    } const cases[] = {
        {{WriteStatus::Ok, 0}, ""},
        {{WriteStatus::CannotCreate, EACCES}, "\r\nERREUR en écriture"},
        {{WriteStatus::CannotCreate, ENOENT}, "\r\nERREUR en écriture"},
        {{WriteStatus::WriteFailed, ENOSPC}, "Disk full"},
        {{WriteStatus::WriteFailed, EIO}, "I/O error 5"},
        {{WriteStatus::WriteFailed, EDQUOT}, "I/O error 122"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(writeErrorMessage(c.result), c.message);
}

// --- Font faces -------------------------------------------------------------------------

TEST(FontFaceForIndex, namesTheFaceMenuItemsOnly) {
    const std::pair<int, const char*> cases[] = {
        {0, "Abadi MT Condensed"},
        {1, "Arial"},
        {7, "Courrier"},
        {20, "Verdana"},
        {23, "Wingdings"},
        {24, ""},
        {30, ""},
        {255, ""},
        {-1, ""},
    };
    for (const auto& [index, face] : cases)
        EXPECT_EQ(FontFaceForIndex(index), face) << index;
}

TEST(ApplyFontFaceIndex, followsTheIndexOrKeepsTheFaceWhenNoneMatches) {
    const std::pair<int, const char*> cases[] = {
        {1, "Arial"}, {8, "Courrier New"}, {30, "Verdana"}, {24, "Verdana"}};
    for (const auto& [index, face] : cases) {
        AppSettings s;
        ASSERT_EQ(ParseSettings("\r\n1\r\n1\r\n" + std::to_string(index) + "\r\n", s).status,
                  LoadResult::Ok);
        ApplyFontFaceIndex(s.fmt);
        EXPECT_EQ(s.fmt.FontFace, face) << index;
    }
}

} // namespace
} // namespace zk
