#include "cli.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

#include "code_generator.h"
#include "options_file.h"
#include "settings_file.h"
#include "text.h"
#include "text_effects.h"

namespace zk {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

ToolRun runTool(const std::vector<std::string>& args, std::string_view stdinBytes = "") {
    ToolRun r;
    r.status = runCli(args, stdinBytes, r.out, r.err);
    return r;
}

void writeFile(const fs::path& p, std::string_view bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zk_cli_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string settingsFile(const AppSettings& s, const std::string& name = "ZelkoHTML.ini") {
        writeFile(path(name), FormatSettings(s));
        return path(name);
    }
    fs::path dir_;
};

const std::string kBonjour = "Bonjour\r\nà  tous";

// --- Options and text, read from standard input ------------------------------------------

struct OptionCase {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    std::string expected;
};

class CliOptionTest : public ::testing::TestWithParam<OptionCase> {};

TEST_P(CliOptionTest, printsTheGeneratedCodeAndNothingElse) {
    const OptionCase& c = GetParam();
    const ToolRun r = runTool(c.args, c.input);
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliOptionTest,
    ::testing::Values(
        OptionCase{
            "defaultState", {}, "Hi", R"(<font size="2" face="Verdana" color="#000000">Hi</font>)"},
        OptionCase{"stdinAsDash",
                   {"-"},
                   "Hi",
                   R"(<font size="2" face="Verdana" color="#000000">Hi</font>)"},
        OptionCase{
            "boldCentredRed",
            {"--set", "Bold=1", "--set", "Alignment=1", "--set", "FontColor=255"},
            kBonjour,
            R"(<font size="2" face="Verdana" color="#FF0000"><div align="center"><b>Bonjour<br>à&nbsp&nbsptous</b></div></font>)"},
        OptionCase{"ignoreTextTags",
                   {"--set", "Bold=1", "--set", "Alignment=1", "--set", "IgnoreTextTags=1"},
                   kBonjour,
                   R"(<div align="center">Bonjour<br>à&nbsp&nbsptous</div>)"},
        OptionCase{"equalsForm",
                   {"--set=Bold=1"},
                   "x",
                   R"(<font size="2" face="Verdana" color="#000000"><b>x</b></font>)"},
        OptionCase{"emptyText", {"--set", "Bold=1"}, "", ""},
        OptionCase{
            "emptyTextWithPrefix", {"--set", "CodePrefix=X", "--set", "Bold=1"}, "", "X<b></b>"},
        OptionCase{"emptyStringValue", {"--set", "CodePrefix=X", "--set", "CodePrefix="}, "", ""},
        OptionCase{"laterSetWins",
                   {"--set", "Bold=1", "--set", "Bold=0"},
                   "x",
                   R"(<font size="2" face="Verdana" color="#000000">x</font>)"},
        OptionCase{
            "byteKeepsLowBits",
            {"--set", "Alignment=258"},
            "x",
            R"(<font size="2" face="Verdana" color="#000000"><div align="right">x</div></font>)"},
        OptionCase{
            "negativeByte",
            {"--set", "Alignment=-255"},
            "x",
            R"(<font size="2" face="Verdana" color="#000000"><div align="center">x</div></font>)"},
        OptionCase{"sizeIndex",
                   {"--set", "FontSizeIndex=1"},
                   "x",
                   R"(<font size="7" face="Verdana" color="#000000">x</font>)"},
        OptionCase{"faceFollowsIndex",
                   {"--set", "FontFaceIndex=1"},
                   "x",
                   R"(<font size="2" face="Arial" color="#000000">x</font>)"},
        OptionCase{"faceIndex7",
                   {"--set", "FontFaceIndex=7"},
                   "x",
                   R"(<font size="2" face="Courrier" color="#000000">x</font>)"},
        OptionCase{"indexWithoutFaceKeepsVerdana",
                   {"--set", "FontFaceIndex=30"},
                   "x",
                   R"(<font size="2" face="Verdana" color="#000000">x</font>)"},
        OptionCase{"faceByName",
                   {"--set", "FontFace=Comic Sans MS"},
                   "x",
                   R"(<font size="2" face="Comic Sans MS" color="#000000">x</font>)"},
        OptionCase{"faceByNameWinsOverIndex",
                   {"--set", "FontFace=Papyrus", "--set", "FontFaceIndex=1"},
                   "x",
                   R"(<font size="2" face="Papyrus" color="#000000">x</font>)"},
        OptionCase{"loneLfBecomesBr",
                   {},
                   "a\nb",
                   R"(<font size="2" face="Verdana" color="#000000">a<br>b</font>)"},
        OptionCase{"loneCrBecomesBr",
                   {},
                   "a\rb",
                   R"(<font size="2" face="Verdana" color="#000000">a<br>b</font>)"},
        OptionCase{"codeViewKeepsCrLf",
                   {"--code-view"},
                   "a\nb\r\nc",
                   "<font size=\"2\" face=\"Verdana\" color=\"#000000\">a\r\nb\r\nc</font>"},
        OptionCase{"windows1252Input",
                   {},
                   "\xE9t\xE9 \x80",
                   R"(<font size="2" face="Verdana" color="#000000">été €</font>)"},
        OptionCase{"utf8Input",
                   {},
                   "été 😀",
                   R"(<font size="2" face="Verdana" color="#000000">été 😀</font>)"},
        OptionCase{"utf8Prefix", {"--set", "CodePrefix=<p>é"}, "", "<p>é"},
        OptionCase{"windows1252Prefix", {"--set", "CodePrefix=\xE9"}, "", "é"},
        OptionCase{"optionsEndAtDoubleDash",
                   {"--set", "Bold=1", "--", "-"},
                   "x",
                   R"(<font size="2" face="Verdana" color="#000000"><b>x</b></font>)"},
        // Text effects before generation.
        OptionCase{"effectThenCode",
                   {"--effect", "3", "--set", "Bold=1"},
                   "ab",
                   R"(<font size="2" face="Verdana" color="#000000"><b>AB</b></font>)"},
        OptionCase{
            "textOnly", {"--effect", "4", "--text-only"}, "Bonjour le monde", "bOnJoUr lE MoNdE"},
        OptionCase{"textOnlyWithoutEffects", {"--text-only"}, "a\nb", "a\r\nb"},
        OptionCase{"effectsInOrder",
                   {"--effect", "3", "--effect", "12", "--text-only"},
                   "salut",
                   "S\xC3\x85L\xC3\x9CT"}, // SÅLÜT
        OptionCase{"effectsInTheOtherOrder",
                   {"--effect=12", "--effect=3", "--text-only"},
                   "salut",
                   "S\xC3\xA5L\xC3\xBCT"}, // SåLüT: å and ü are not a-z
        OptionCase{
            "mirrorWholeTextLineByLine", {"--effect", "1", "--text-only"}, "abc\nde", "cba\r\ned"},
        OptionCase{"alternationCountsBothHalvesOfALineBreak",
                   {"--effect", "4", "--text-only"},
                   "ab\r\ncd",
                   "aB\r\ncD"},
        OptionCase{"dialectWorkedExample",
                   {"--effect", "9", "--text-only"},
                   "Bonjour, je voudrais du g\xE2teau", // Windows-1252 input
                   "Ponchour, che foutrais tu kâteau"},
        OptionCase{"emojiStayWhole", {"--effect", "1", "--text-only"}, "a👍🏽b", "b👍🏽a"},
        OptionCase{
            "selection", {"--select", "4,3", "--effect", "3", "--text-only"}, "abc def", "abc DEF"},
        OptionCase{"selectionNeverLooksPastItsEnd",
                   {"--select=1,3", "--effect", "9", "--text-only"},
                   "abase",
                   "apase"},
        OptionCase{"selectionCountsALineBreakAsOne",
                   {"--select", "1,3", "--effect", "1", "--text-only"},
                   "ab\ncd",
                   "ac\r\nbd"},
        OptionCase{"selectionCountsAnEmojiAsOne",
                   {"--select", "0,2", "--effect", "1", "--text-only"},
                   "a👍🏽b",
                   "👍🏽ab"},
        OptionCase{"selectionFollowsTheResult",
                   {"--select", "3,2", "--effect", "6", "--effect", "3", "--text-only"},
                   "ab cd",
                   "ab C D "},
        OptionCase{"selectionPastTheEndIsCut",
                   {"--select", "1,99", "--effect", "3", "--text-only"},
                   "abc",
                   "aBC"},
        OptionCase{"selectionStartingPastTheEndIsEmpty",
                   {"--select", "10,2", "--effect", "3", "--text-only"},
                   "abc",
                   "ABC"},
        OptionCase{"emptySelectionMeansTheWholeText",
                   {"--select", "1,0", "--effect", "3", "--text-only"},
                   "abc",
                   "ABC"},
        OptionCase{"selectionWithoutEffectChangesNothing",
                   {"--select", "0,2", "--text-only"},
                   "abc",
                   "abc"},
        // Formats.
        OptionCase{
            "formatCss",
            {"--format", "css", "--set", "Bold=1", "--set", "Alignment=1", "--set",
             "FontColor=255"},
            kBonjour,
            R"(<span style="color:#FF0000;font-family:'Verdana';font-size:small"><div style="text-align:center"><b>Bonjour<br>à&nbsp;&nbsp;tous</b></div></span>)"},
        OptionCase{"formatBbcode",
                   {"--format=bbcode", "--set", "Bold=1", "--set", "Alignment=1", "--set",
                    "FontColor=255", "--set", "ScrollingOn=1"},
                   kBonjour,
                   "[font=Verdana][size=2][color=#FF0000][center][b]Bonjour\r\nà  "
                   "tous[/b][/center][/color][/size][/font]"},
        OptionCase{"formatBbcodePercentSizes",
                   {"--percent-sizes", "--format", "bbcode"},
                   "x",
                   "[font=Verdana][size=85][color=#000000]x[/color][/size][/font]"},
        OptionCase{"percentSizesLeaveHtmlAlone",
                   {"--percent-sizes"},
                   "x",
                   R"(<font size="2" face="Verdana" color="#000000">x</font>)"},
        OptionCase{"laterFormatWins",
                   {"--format", "bbcode", "--format", "html"},
                   "x",
                   R"(<font size="2" face="Verdana" color="#000000">x</font>)"},
        OptionCase{"compact",
                   {"--compact", "--set", "GradientOn=1", "--set", "GradientStartColor=255",
                    "--set", "GradientEndColor=255", "--set", "IgnoreTextTags=1"},
                   "ab cd",
                   R"(<font color="#FF0000">ab cd</font>)"},
        OptionCase{"compactBbcode",
                   {"--compact", "--format", "bbcode", "--set", "GradientOn=1", "--set",
                    "GradientStartColor=255", "--set", "GradientEndColor=255", "--set",
                    "IgnoreTextTags=1"},
                   "ab cd",
                   "[color=#FF0000]ab cd[/color]"},
        // Gradients.
        OptionCase{"gradientStops",
                   {"--gradient-stops", "#000000,#ffffff", "--set", "IgnoreTextTags=1"},
                   "a b\nc",
                   "<font color=\"#000000\">a</font> <font color=\"#808080\">b</font><br>"
                   "<font color=\"#FFFFFF\">c</font>"},
        OptionCase{"gradientStopsThenGradientOff",
                   {"--gradient-stops=#000000,#FFFFFF", "--set", "GradientOn=0", "--set",
                    "IgnoreTextTags=1"},
                   "ab",
                   "ab"},
        OptionCase{"blendAloneLeavesTheGradientOff",
                   {"--blend", "oklab", "--set", "IgnoreTextTags=1"},
                   "ab",
                   "ab"},
        OptionCase{"laterGradientWins",
                   {"--rainbow", "0,360", "--gradient-stops", "#000000,#FFFFFF,#000000", "--set",
                    "IgnoreTextTags=1"},
                   "abc",
                   "<font color=\"#000000\">a</font><font color=\"#FFFFFF\">b</font>"
                   "<font color=\"#000000\">c</font>"},
        OptionCase{"textOnlyIgnoresTheFormat",
                   {"--format", "bbcode", "--text-only"},
                   "<b>x</b>",
                   "<b>x</b>"}),
    [](const ::testing::TestParamInfo<OptionCase>& info) { return info.param.name; });

// --- Errors ------------------------------------------------------------------------------

struct ErrorCase {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string err;
};

class CliErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(CliErrorTest, failsWithOneLineAndNothingOnStandardOutput) {
    const ErrorCase& c = GetParam();
    const ToolRun r = runTool(c.args, "some text");
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliErrorTest,
    ::testing::Values(
        ErrorCase{"unknownLongOption",
                  {"--bogus"},
                  2,
                  "zelkohtml-gen: unknown option '--bogus' (see --help)\n"},
        ErrorCase{
            "unknownShortOption", {"-x"}, 2, "zelkohtml-gen: unknown option '-x' (see --help)\n"},
        ErrorCase{"unknownOptionWithValue",
                  {"--colour=red"},
                  2,
                  "zelkohtml-gen: unknown option '--colour' (see --help)\n"},
        ErrorCase{"flagWithValue",
                  {"--code-view=1"},
                  2,
                  "zelkohtml-gen: option '--code-view' takes no value (see --help)\n"},
        ErrorCase{"setWithoutArgument",
                  {"--set"},
                  2,
                  "zelkohtml-gen: option '--set' needs NAME=VALUE (see --help)\n"},
        ErrorCase{"settingsWithoutArgument",
                  {"--settings"},
                  2,
                  "zelkohtml-gen: option '--settings' needs a file (see --help)\n"},
        ErrorCase{"settingsEmpty",
                  {"--settings="},
                  2,
                  "zelkohtml-gen: option '--settings' needs a file (see --help)\n"},
        ErrorCase{"missingEquals",
                  {"--set", "Bold"},
                  2,
                  "zelkohtml-gen: --set Bold: missing '=' (expected NAME=VALUE) (see --help)\n"},
        ErrorCase{"unknownName",
                  {"--set", "Gras=1"},
                  2,
                  "zelkohtml-gen: --set Gras=1: unknown setting 'Gras' (see --help)\n"},
        ErrorCase{"namesAreCaseSensitive",
                  {"--set", "bold=1"},
                  2,
                  "zelkohtml-gen: --set bold=1: unknown setting 'bold' (see --help)\n"},
        ErrorCase{"emptyName",
                  {"--set", "=1"},
                  2,
                  "zelkohtml-gen: --set =1: unknown setting '' (see --help)\n"},
        ErrorCase{"missingNumber",
                  {"--set", "Bold="},
                  2,
                  "zelkohtml-gen: --set Bold=: missing value (see --help)\n"},
        ErrorCase{
            "notANumber",
            {"--set", "Bold=oui"},
            2,
            "zelkohtml-gen: --set Bold=oui: 'oui' is not a valid integer value (see --help)\n"},
        ErrorCase{"trailingLetters",
                  {"--set", "Bold=1x"},
                  2,
                  "zelkohtml-gen: --set Bold=1x: '1x' is not a valid integer value (see --help)\n"},
        ErrorCase{"leadingBlank",
                  {"--set", "Bold= 1"},
                  2,
                  "zelkohtml-gen: --set Bold= 1: ' 1' is not a valid integer value (see --help)\n"},
        ErrorCase{"hexNumber",
                  {"--set", "FontColor=0xFF"},
                  2,
                  "zelkohtml-gen: --set FontColor=0xFF: '0xFF' is not a valid integer value (see "
                  "--help)\n"},
        // A number the file could not hold either: wider than 32 bits.
        ErrorCase{"beyond32Bits",
                  {"--set", "FontColor=4294967295"},
                  2,
                  "zelkohtml-gen: --set FontColor=4294967295: '4294967295' is not a valid integer "
                  "value (see --help)\n"},
        ErrorCase{"effectWithoutNumber",
                  {"--effect"},
                  2,
                  "zelkohtml-gen: option '--effect' needs a number (see --help)\n"},
        ErrorCase{"effectZero",
                  {"--effect", "0"},
                  2,
                  "zelkohtml-gen: --effect 0: not an effect number (1 to 12) (see --help)\n"},
        ErrorCase{"effectThirteen",
                  {"--effect=13"},
                  2,
                  "zelkohtml-gen: --effect 13: not an effect number (1 to 12) (see --help)\n"},
        ErrorCase{"effectByName",
                  {"--effect", "Viking"},
                  2,
                  "zelkohtml-gen: --effect Viking: not an effect number (1 to 12) (see --help)\n"},
        ErrorCase{"effectNegative",
                  {"--effect", "-1"},
                  2,
                  "zelkohtml-gen: --effect -1: not an effect number (1 to 12) (see --help)\n"},
        ErrorCase{"effectHuge",
                  {"--effect", "99999999999999999999999"},
                  2,
                  "zelkohtml-gen: --effect 99999999999999999999999: not an effect number (1 to "
                  "12) (see --help)\n"},
        ErrorCase{"selectWithoutValue",
                  {"--select"},
                  2,
                  "zelkohtml-gen: option '--select' needs START,LENGTH (see --help)\n"},
        ErrorCase{"selectWithoutLength",
                  {"--select", "3"},
                  2,
                  "zelkohtml-gen: --select 3: expected START,LENGTH (two numbers from 0) (see "
                  "--help)\n"},
        ErrorCase{"selectNegativeLength",
                  {"--select", "3,-1"},
                  2,
                  "zelkohtml-gen: --select 3,-1: expected START,LENGTH (two numbers from 0) (see "
                  "--help)\n"},
        ErrorCase{"selectEmptyStart",
                  {"--select=,2"},
                  2,
                  "zelkohtml-gen: --select ,2: expected START,LENGTH (two numbers from 0) (see "
                  "--help)\n"},
        ErrorCase{"formatWithoutValue",
                  {"--format"},
                  2,
                  "zelkohtml-gen: option '--format' needs html, css or bbcode (see --help)\n"},
        ErrorCase{"unknownFormat",
                  {"--format", "xml"},
                  2,
                  "zelkohtml-gen: --format xml: expected html, css or bbcode (see --help)\n"},
        ErrorCase{"formatNamesAreLowerCase",
                  {"--format=CSS"},
                  2,
                  "zelkohtml-gen: --format CSS: expected html, css or bbcode (see --help)\n"},
        ErrorCase{"formatByNumber",
                  {"--format", "2"},
                  2,
                  "zelkohtml-gen: --format 2: expected html, css or bbcode (see --help)\n"},
        ErrorCase{"emptyFormat",
                  {"--format="},
                  2,
                  "zelkohtml-gen: --format : expected html, css or bbcode (see --help)\n"},
        ErrorCase{"gradientStopsWithoutValue",
                  {"--gradient-stops"},
                  2,
                  "zelkohtml-gen: option '--gradient-stops' needs #RRGGBB,#RRGGBB,... (see "
                  "--help)\n"},
        ErrorCase{"oneGradientStop",
                  {"--gradient-stops", "#FF0000"},
                  2,
                  "zelkohtml-gen: --gradient-stops #FF0000: expected 2 to 8 colours #RRGGBB "
                  "separated by commas (see --help)\n"},
        ErrorCase{"nineGradientStops",
                  {"--gradient-stops=#000000,#111111,#222222,#333333,#444444,#555555,#666666,"
                   "#777777,#888888"},
                  2,
                  // A long value is cut in the message.
                  "zelkohtml-gen: --gradient-stops "
                  "#000000,#111111,#222222,#333333,#444444,#555555,#666666,#777777,...: "
                  "expected 2 to 8 colours #RRGGBB separated by commas (see --help)\n"},
        ErrorCase{"gradientStopsByName",
                  {"--gradient-stops", "red,blue"},
                  2,
                  "zelkohtml-gen: --gradient-stops red,blue: expected 2 to 8 colours #RRGGBB "
                  "separated by commas (see --help)\n"},
        ErrorCase{"gradientStopNotHexadecimal",
                  {"--gradient-stops", "#FF0000,#GG0000"},
                  2,
                  "zelkohtml-gen: --gradient-stops #FF0000,#GG0000: expected 2 to 8 colours "
                  "#RRGGBB separated by commas (see --help)\n"},
        ErrorCase{"gradientStopsEmptyEntry",
                  {"--gradient-stops", "#FF0000,,#00FF00"},
                  2,
                  "zelkohtml-gen: --gradient-stops #FF0000,,#00FF00: expected 2 to 8 colours "
                  "#RRGGBB separated by commas (see --help)\n"},
        ErrorCase{"rainbowWithoutValue",
                  {"--rainbow"},
                  2,
                  "zelkohtml-gen: option '--rainbow' needs START,SPAN (see --help)\n"},
        ErrorCase{"rainbowWithoutSpan",
                  {"--rainbow", "90"},
                  2,
                  "zelkohtml-gen: --rainbow 90: expected START,SPAN (two numbers of degrees, 0 "
                  "to 360) (see --help)\n"},
        ErrorCase{"rainbowPastAFullTurn",
                  {"--rainbow", "0,361"},
                  2,
                  "zelkohtml-gen: --rainbow 0,361: expected START,SPAN (two numbers of degrees, "
                  "0 to 360) (see --help)\n"},
        ErrorCase{"rainbowNegative",
                  {"--rainbow=-10,90"},
                  2,
                  "zelkohtml-gen: --rainbow -10,90: expected START,SPAN (two numbers of "
                  "degrees, 0 to 360) (see --help)\n"},
        ErrorCase{"rainbowFraction",
                  {"--rainbow", "12.5,90"},
                  2,
                  "zelkohtml-gen: --rainbow 12.5,90: expected START,SPAN (two numbers of "
                  "degrees, 0 to 360) (see --help)\n"},
        ErrorCase{"blendWithoutValue",
                  {"--blend"},
                  2,
                  "zelkohtml-gen: option '--blend' needs rgb or oklab (see --help)\n"},
        ErrorCase{"unknownBlend",
                  {"--blend", "lab"},
                  2,
                  "zelkohtml-gen: --blend lab: expected rgb or oklab (see --help)\n"},
        ErrorCase{"blendNamesAreLowerCase",
                  {"--blend=OKLab"},
                  2,
                  "zelkohtml-gen: --blend OKLab: expected rgb or oklab (see --help)\n"},
        ErrorCase{"compactWithValue",
                  {"--compact=1"},
                  2,
                  "zelkohtml-gen: option '--compact' takes no value (see --help)\n"},
        ErrorCase{"percentSizesWithValue",
                  {"--percent-sizes=yes"},
                  2,
                  "zelkohtml-gen: option '--percent-sizes' takes no value (see --help)\n"},
        ErrorCase{"optionsWithoutFile",
                  {"--options"},
                  2,
                  "zelkohtml-gen: option '--options' needs a file (see --help)\n"},
        ErrorCase{"optionsEmpty",
                  {"--options="},
                  2,
                  "zelkohtml-gen: option '--options' needs a file (see --help)\n"},
        ErrorCase{"missingOptions",
                  {"--options", "/nonexistent/Options.ini"},
                  1,
                  "zelkohtml-gen: /nonexistent/Options.ini: No such file or directory\n"},
        ErrorCase{
            "optionsIsAFolder", {"--options", "/tmp"}, 1, "zelkohtml-gen: /tmp: Is a directory\n"},
        ErrorCase{"optionsIsADevice",
                  {"--options", "/dev/zero"},
                  1,
                  "zelkohtml-gen: /dev/zero: not an ordinary file\n"},
        ErrorCase{"textOnlyWithValue",
                  {"--text-only=yes"},
                  2,
                  "zelkohtml-gen: option '--text-only' takes no value (see --help)\n"},
        ErrorCase{"twoInputFiles",
                  {"a.txt", "b.txt"},
                  2,
                  "zelkohtml-gen: more than one input file ('a.txt' and 'b.txt') (see --help)\n"},
        ErrorCase{"controlCharactersShown",
                  {"--set", "Bo\nld=1"},
                  2,
                  "zelkohtml-gen: --set Bo?ld=1: unknown setting 'Bo?ld' (see --help)\n"},
        // The whole command line is checked before any file is read.
        ErrorCase{"usageErrorBeforeFileError",
                  {"/nonexistent/t.txt", "--bogus"},
                  2,
                  "zelkohtml-gen: unknown option '--bogus' (see --help)\n"},
        ErrorCase{"helpAfterAnError",
                  {"--bogus", "--help"},
                  2,
                  "zelkohtml-gen: unknown option '--bogus' (see --help)\n"},
        ErrorCase{"versionAfterAnError",
                  {"--set", "Bold", "--version"},
                  2,
                  "zelkohtml-gen: --set Bold: missing '=' (expected NAME=VALUE) (see --help)\n"},
        ErrorCase{"versionWithValue",
                  {"--version=1"},
                  2,
                  "zelkohtml-gen: option '--version' takes no value (see --help)\n"},
        ErrorCase{"helpWithValue",
                  {"--help=all"},
                  2,
                  "zelkohtml-gen: option '--help' takes no value (see --help)\n"},
        ErrorCase{"versionAfterDoubleDashIsAFile",
                  {"--", "--version"},
                  1,
                  "zelkohtml-gen: --version: No such file or directory\n"},
        ErrorCase{"missingInput",
                  {"/nonexistent/t.txt"},
                  1,
                  "zelkohtml-gen: /nonexistent/t.txt: No such file or directory\n"},
        ErrorCase{"inputIsAFolder", {"/tmp"}, 1, "zelkohtml-gen: /tmp: Is a directory\n"},
        ErrorCase{"missingSettings",
                  {"--settings", "/nonexistent/z.ini"},
                  1,
                  "zelkohtml-gen: /nonexistent/z.ini: No such file or directory\n"},
        ErrorCase{"settingsIsAFolder",
                  {"--settings", "/tmp"},
                  1,
                  "zelkohtml-gen: /tmp: Is a directory\n"},
        // Never opened: reading a device would not end.
        ErrorCase{"settingsIsADevice",
                  {"--settings", "/dev/zero"},
                  1,
                  "zelkohtml-gen: /dev/zero: not an ordinary file\n"},
        ErrorCase{
            "inputIsADevice", {"/dev/zero"}, 1, "zelkohtml-gen: /dev/zero: not an ordinary file\n"},
        // A huge value is cut in the message instead of repeated whole.
        ErrorCase{"hugeValueIsCut",
                  {"--set", "Bold=" + std::string(100000, '7')},
                  2,
                  "zelkohtml-gen: --set Bold=" + std::string(59, '7') + "...: '" +
                      std::string(64, '7') + "...' is not a valid integer value (see --help)\n"},
        ErrorCase{"hugeEffectIsCut",
                  {"--effect", std::string(100000, '9')},
                  2,
                  "zelkohtml-gen: --effect " + std::string(64, '9') +
                      "...: not an effect number (1 to 12) (see --help)\n"},
        ErrorCase{"hugeOptionIsCut",
                  {"--" + std::string(100000, 'x')},
                  2,
                  "zelkohtml-gen: unknown option '--" + std::string(62, 'x') +
                      "...' (see --help)\n"},
        // A character is never cut in two.
        ErrorCase{"cutBetweenCharacters",
                  {"--set", std::string(63, 'a') + "\xC3\xA9" + "=1"},
                  2,
                  "zelkohtml-gen: --set " + std::string(63, 'a') +
                      "\xC3\xA9...: unknown setting '" + std::string(63, 'a') +
                      "\xC3\xA9' (see --help)\n"}),
    [](const ::testing::TestParamInfo<ErrorCase>& info) { return info.param.name; });

TEST_F(CliTest, onlyAnOrdinaryFileOfASensibleSizeIsRead) {
    // A named pipe without a writer would make the tool wait for ever.
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0644), 0);
    writeFile(path("big.ini"), std::string(kSettingsSizeLimit + 1, '\n'));
    writeFile(path("limit.ini"), std::string(kSettingsSizeLimit, '\n'));
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    } const cases[] = {
        {{"--settings", path("pipe")},
         kExitFailure,
         "zelkohtml-gen: " + path("pipe") + ": not an ordinary file\n"},
        {{path("pipe")},
         kExitFailure,
         "zelkohtml-gen: " + path("pipe") + ": not an ordinary file\n"},
        {{"--settings", path("big.ini")},
         kExitFailure,
         "zelkohtml-gen: " + path("big.ini") + ": File too large\n"},
        {{"--settings", path("limit.ini"), "--text-only"}, kExitOk, ""},
    };
    for (const Case& c : cases) {
        std::string out, err;
        EXPECT_EQ(runCli(c.args, "texte", out, err), c.status) << c.args[0];
        EXPECT_EQ(err, c.err);
    }
}

TEST(Cli, textLargerThanTheToolReadsIsRefused) {
    std::string out, err;
    EXPECT_EQ(runCli({"--text-only"}, std::string(kInputSizeLimit + 1, 'a'), out, err),
              kExitFailure);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "zelkohtml-gen: standard input: File too large\n");
    EXPECT_EQ(runCli({"--text-only"}, std::string(kInputSizeLimit, 'a'), out, err), kExitOk);
    EXPECT_EQ(out.size(), kInputSizeLimit);
}

TEST(Cli, unreadableStandardInput_failsWithNothingOnStandardOutput) {
    std::string out, err;
    const int status = runCli(
        {"--set", "Bold=1"},
        [](std::string&) {
            errno = EIO;
            return false;
        },
        out, err);
    EXPECT_EQ(status, kExitFailure);
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, std::string("zelkohtml-gen: standard input: ") + std::strerror(EIO) + "\n");
}

TEST(Cli, hackerGenerator_startsAtZeroOncePerRun) {
    // Two Hacker effects in one run go on with one generator; a second run starts again.
    EffectRandom random;
    const std::string first = hackerText("Hacker", random);
    const std::string second = hackerText(first, random);
    ASSERT_EQ(first, "HÄcKËr");
    for (int run = 0; run < 2; ++run) {
        const ToolRun r = runTool({"--effect", "8", "--effect", "8", "--text-only"}, "Hacker");
        EXPECT_EQ(r.status, kExitOk) << r.err;
        EXPECT_EQ(r.out, second) << "run " << run;
    }
}

TEST(Cli, version_printsNameVersionAndLicenceAndWinsOverWhatFollows) {
    const ToolRun r = runTool({"--set", "Bold=1", "--version", "--bogus", "/nonexistent"});
    EXPECT_EQ(r.status, kExitOk);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, cliVersion());
    EXPECT_EQ(r.out.rfind("zelkohtml-gen (ZelkoHTML) " ZK_EXPECTED_VERSION "\n", 0), 0u);
    EXPECT_NE(r.out.find("MIT"), std::string::npos);
    EXPECT_EQ(r.out.back(), '\n');
}

TEST(Cli, help_printsUsageWithEveryNameAndSucceeds) {
    for (const char* option : {"--help", "-h"}) {
        const ToolRun r = runTool({"--set", "Bold=1", option, "--bogus"});
        EXPECT_EQ(r.status, kExitOk);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.rfind("Usage: zelkohtml-gen [--settings FILE]", 0), 0u);
        for (const SettingsField& f : settingsFields())
            EXPECT_NE(r.out.find(f.name), std::string::npos) << f.name;
        EXPECT_NE(r.out.find("FontFace,"), std::string::npos);
        EXPECT_NE(r.out.find("  --version "), std::string::npos);
    }
}

// --- Files -------------------------------------------------------------------------------

TEST_F(CliTest, textFromFile_isReadAndStandardInputIsLeftAlone) {
    writeFile(path("in.txt"), "caf\xE9\nbar");
    writeFile(path("-x"), "dash");
    std::string out, err;
    auto failingStdin = [](std::string&) {
        ADD_FAILURE() << "standard input read";
        return false;
    };
    EXPECT_EQ(runCli({path("in.txt")}, failingStdin, out, err), kExitOk) << err;
    EXPECT_EQ(out, R"(<font size="2" face="Verdana" color="#000000">café<br>bar</font>)");
    EXPECT_EQ(runCli({"--", path("-x")}, failingStdin, out, err), kExitOk) << err;
    EXPECT_EQ(out, R"(<font size="2" face="Verdana" color="#000000">dash</font>)");
}

TEST_F(CliTest, settingsFile_givesTheStateAndFaceOfStartUp) {
    AppSettings s;
    s.fmt.FontFaceIndex = 1;
    s.fmt.Bold = 1;
    s.fmt.Alignment = 2;
    s.fmt.FontColor = 0x00FF00;
    s.fmt.CodePrefix = "<p>é";
    s.fmt.SignatureOn = 1;
    s.fmt.SignatureText = "Léa";
    const std::string ini = settingsFile(s);

    FormattingState expected = s.fmt;
    expected.FontFace = "Arial";
    const ToolRun r = runTool({"--settings", ini}, kBonjour);
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.out, GenerateCode(kBonjour, expected));
    EXPECT_NE(r.out.find("face=\"Arial\""), std::string::npos);
    EXPECT_EQ(r.out.rfind("<p>é", 0), 0u);
}

TEST_F(CliTest, settingsAndSet_applyInTheOrderGiven) {
    AppSettings s;
    s.fmt.Bold = 1;
    const std::string ini = settingsFile(s);
    const std::string plain =
        R"(<font size="2" face="Abadi MT Condensed" color="#000000">x</font>)";
    const std::string bold =
        R"(<font size="2" face="Abadi MT Condensed" color="#000000"><b>x</b></font>)";
    EXPECT_EQ(runTool({"--settings", ini, "--set", "Bold=0"}, "x").out, plain);
    EXPECT_EQ(runTool({"--set", "Bold=0", "--settings", ini}, "x").out, bold);
    EXPECT_EQ(runTool({"--settings=" + ini}, "x").out, bold);
}

TEST_F(CliTest, settingsFaceIndex_followsStartUpRules) {
    struct Case {
        int index;
        std::vector<std::string> extra;
        const char* face;
    } const cases[] = {
        {0, {}, "Abadi MT Condensed"}, // the face menu's first item, as start-up checks it
        {19, {}, "Times New Roman"},
        {30, {}, "Verdana"},
        {30, {"--set", "FontFaceIndex=1"}, "Arial"},
        {1, {"--set", "FontFace=Papyrus"}, "Papyrus"},
    };
    for (const Case& c : cases) {
        AppSettings s;
        s.fmt.FontFaceIndex = static_cast<std::uint8_t>(c.index);
        std::vector<std::string> args = {"--settings", settingsFile(s)};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const ToolRun r = runTool(args, "x");
        EXPECT_EQ(r.status, kExitOk) << r.err;
        EXPECT_NE(r.out.find(std::string("face=\"") + c.face + "\""), std::string::npos)
            << c.index << ": " << r.out;
    }
}

TEST_F(CliTest, settingsWithABadNumber_namesFileAndLineAndPrintsNothing) {
    std::string bytes = FormatSettings(AppSettings{});
    std::size_t pos = 0;
    for (int line = 1; line < 17; ++line)
        pos = bytes.find("\r\n", pos) + 2;
    bytes.replace(pos, bytes.find("\r\n", pos) - pos, "12abc");
    writeFile(path("bad.ini"), bytes);
    const ToolRun r = runTool({"--settings", path("bad.ini")}, "x");
    EXPECT_EQ(r.status, kExitFailure);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "zelkohtml-gen: " + path("bad.ini") + ":17: Invalid numeric input\n");
}

TEST_F(CliTest, optionsFile_givesTheFormatInTheOrderGiven) {
    NewOptions o;
    o.OutputFormat = 2;
    o.CompactCode = 1;
    o.BbcodePercentSizes = 1;
    writeFile(path("Options.ini"), FormatOptions(o));
    const std::string ini = path("Options.ini");
    const std::vector<std::string> gradient = {
        "--set", "GradientOn=1",         "--set", "GradientStartColor=255",
        "--set", "GradientEndColor=255", "--set", "WavesOn=1"};
    struct Case {
        std::vector<std::string> args;
        GeneratorOptions options;
    } const cases[] = {
        {{"--options", ini}, {OutputFormat::BbCode, true, true}},
        {{"--options=" + ini, "--format", "css"}, {OutputFormat::Html5, true, true}},
        {{"--format", "css", "--options", ini}, {OutputFormat::BbCode, true, true}},
        {{"--format", "html", "--compact"}, {OutputFormat::ClassicHtml, true, false}},
    };
    FormattingState st;
    st.GradientOn = 1;
    st.GradientStartColor = st.GradientEndColor = 255;
    st.WavesOn = 1;
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), gradient.begin(), gradient.end());
        const ToolRun r = runTool(args, kBonjour);
        EXPECT_EQ(r.status, kExitOk) << r.err;
        EXPECT_EQ(r.out, GenerateCode(kBonjour, st, c.options)) << c.args[1];
    }
}

// The gradient's flags and the options file set the same options, the later one winning;
// the flags that name a gradient's colours turn it on.
TEST_F(CliTest, gradientOptions_inTheOrderGiven) {
    NewOptions o;
    o.GradientType = 2;
    o.GradientBlend = 1;
    o.RainbowStart = 200;
    o.RainbowSpan = 90;
    o.GradientStops = {0x0000FF, 0xFF0000};
    writeFile(path("Options.ini"), FormatOptions(o));
    const std::string ini = path("Options.ini");
    const auto gradient = [](GradientType type, GradientBlend blend, std::vector<Color> stops,
                             int start, int span) {
        GeneratorOptions g;
        g.gradient.type = type;
        g.gradient.blend = blend;
        g.gradient.setStops(stops);
        g.gradient.rainbowStart = start;
        g.gradient.rainbowSpan = span;
        return g;
    };
    const std::vector<Color> defaults(kDefaultGradientStops.begin(), kDefaultGradientStops.end());
    struct Case {
        std::vector<std::string> args;
        GeneratorOptions options;
    } const cases[] = {
        {{"--gradient-stops", "#FF0000,#00FF00,#0000FF"},
         gradient(GradientType::Multicolour, GradientBlend::Rgb, {0x0000FF, 0x00FF00, 0xFF0000}, 0,
                  360)},
        {{"--gradient-stops", " #FF0000 , #00ff00 ", "--blend", "oklab"},
         gradient(GradientType::Multicolour, GradientBlend::OkLab, {0x0000FF, 0x00FF00}, 0, 360)},
        {{"--rainbow", "30,120"},
         gradient(GradientType::Rainbow, GradientBlend::Rgb, defaults, 30, 120)},
        {{"--rainbow", "360,0"},
         gradient(GradientType::Rainbow, GradientBlend::Rgb, defaults, 360, 0)},
        {{"--blend", "oklab", "--set", "GradientOn=1"},
         gradient(GradientType::TwoColours, GradientBlend::OkLab, defaults, 0, 360)},
        {{"--blend", "oklab", "--blend", "rgb", "--set", "GradientOn=1"},
         gradient(GradientType::TwoColours, GradientBlend::Rgb, defaults, 0, 360)},
        {{"--options", ini, "--set", "GradientOn=1"},
         gradient(GradientType::Rainbow, GradientBlend::OkLab, {0x0000FF, 0xFF0000}, 200, 90)},
        {{"--options", ini, "--gradient-stops", "#000000,#FFFFFF", "--blend", "rgb"},
         gradient(GradientType::Multicolour, GradientBlend::Rgb, {0x000000, 0xFFFFFF}, 200, 90)},
        {{"--gradient-stops", "#000000,#FFFFFF", "--options", ini},
         gradient(GradientType::Rainbow, GradientBlend::OkLab, {0x0000FF, 0xFF0000}, 200, 90)},
    };
    FormattingState st;
    st.GradientOn = 1;
    st.GradientSymmetry = 2;
    const std::string text = "Un arc-en-ciel\r\nsur <b>deux</b> lignes";
    for (const Case& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--set", "GradientSymmetry=2"});
        const ToolRun r = runTool(args, text);
        EXPECT_EQ(r.status, kExitOk) << r.err;
        EXPECT_EQ(r.out, GenerateCode(text, st, c.options)) << c.args[1];
    }
}

// As when the window starts: what the program cannot take gives the option's default, and
// the lines of other versions are passed over.
TEST_F(CliTest, optionsFile_valuesItCannotTakeGiveTheirDefaults) {
    writeFile(path("Options.ini"),
              "OutputFormat=7\r\nCompactCode=oui\r\nFutureOption=3\r\nBbcodePercentSizes=1\r\n");
    const ToolRun r = runTool({"--format", "bbcode", "--options", path("Options.ini")}, "x");
    EXPECT_EQ(r.status, kExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, R"(<font size="2" face="Verdana" color="#000000">x</font>)");
    writeFile(path("big.ini"), std::string(kOptionsSizeLimit + 1, '\n'));
    const ToolRun big = runTool({"--options", path("big.ini")}, "x");
    EXPECT_EQ(big.status, kExitFailure);
    EXPECT_EQ(big.out, "");
    EXPECT_EQ(big.err, "zelkohtml-gen: " + path("big.ini") + ": File too large\n");
}

TEST_F(CliTest, emptySettingsFile_readsZerosLikeTheProgram) {
    writeFile(path("empty.ini"), "");
    const ToolRun r = runTool({"--settings", path("empty.ini"), "--set", "GradientOn=1"}, "ab");
    EXPECT_EQ(r.status, kExitOk) << r.err;
    AppSettings s;
    ASSERT_EQ(ParseSettings("", s).status, LoadResult::Ok);
    s.fmt.GradientOn = 1;
    ApplyFontFaceIndex(s.fmt);
    EXPECT_EQ(r.out, GenerateCode("ab", s.fmt));
}

// --- The real program --------------------------------------------------------------------

int exitStatus(int waitStatus) {
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

TEST_F(CliTest, binary_readsAPipeAndWritesTheCodeToItsOutput) {
    writeFile(path("in.txt"), "Bonjour\n\xE0  tous");
    const std::string command = std::string("'") + ZK_CLI_BINARY +
                                "' --set Bold=1 --set Alignment=1 --set FontColor=255 < '" +
                                path("in.txt") + "' 2> '" + path("err.txt") + "'";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
        out.append(buf, n);
    EXPECT_EQ(exitStatus(pclose(pipe)), 0);
    EXPECT_EQ(
        out,
        R"(<font size="2" face="Verdana" color="#FF0000"><div align="center"><b>Bonjour<br>à&nbsp&nbsptous</b></div></font>)");
    EXPECT_EQ(readFile(path("err.txt")), "");
}

TEST_F(CliTest, binary_failureLeavesStandardOutputEmpty) {
    writeFile(path("in.txt"), "x");
    struct Case {
        std::string args;
        int status;
        std::string err;
    } const cases[] = {
        {"--set Bold=oui '" + path("in.txt") + "'", 2,
         "zelkohtml-gen: --set Bold=oui: 'oui' is not a valid integer value (see --help)\n"},
        {"'" + path("none.txt") + "'", 1,
         "zelkohtml-gen: " + path("none.txt") + ": No such file or directory\n"},
    };
    for (const Case& c : cases) {
        const std::string command = std::string("'") + ZK_CLI_BINARY + "' " + c.args + " > '" +
                                    path("out.txt") + "' 2> '" + path("err.txt") + "'";
        EXPECT_EQ(exitStatus(std::system(command.c_str())), c.status) << c.args;
        EXPECT_EQ(readFile(path("out.txt")), "") << c.args;
        EXPECT_EQ(readFile(path("err.txt")), c.err) << c.args;
    }
}

} // namespace
} // namespace zk
