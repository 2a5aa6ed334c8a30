#include <gtest/gtest.h>

#include "string_utils.h"

namespace zk {
namespace {

TEST(StringUtils, colorToHtmlWritesRedGreenBlue) {
    const struct {
        Color color;
        const char* html;
    } cases[] = {
        {0x0080FF, "FF8000"}, {0, "000000"},         {0x7E79E0, "E0797E"},
        {0xFFFFFF, "FFFFFF"}, {0x01FFFFFF, "FFFFFF"}, // a longer value keeps its last six digits
        {-1, "FFFFFF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorToHtml(c.color), c.html) << c.color;
}

TEST(StringUtils, padLeftCutsOrFillsOnTheLeft) {
    EXPECT_EQ(PadLeft(6, '0', "80FF"), "0080FF");
    EXPECT_EQ(PadLeft(2, '0', "123"), "23");
    EXPECT_EQ(PadLeft(3, '*', ""), "***");
    EXPECT_EQ(PadLeft(2, '0', "éàü"), "àü"); // counts characters, not bytes
}

TEST(StringUtils, intToBaseUsesUpperCaseDigits) {
    EXPECT_EQ(IntToBase(0, 16), "0");
    EXPECT_EQ(IntToBase(255, 16), "FF");
    EXPECT_EQ(IntToBase(5, 2), "101");
    EXPECT_EQ(IntToBase(0xFFFFFFFFu, 16), "FFFFFFFF");
}

TEST(StringUtils, caseChangesTouchAsciiLettersOnly) {
    EXPECT_EQ(UpperCaseAscii("éa"), "éA");
    EXPECT_EQ(LowerCaseAscii("ÉA👍"), "Éa👍");
}

TEST(StringUtils, keepLeftAndRightCountCharacters) {
    EXPECT_EQ(KeepLeft("héllo", 2), "hé");
    EXPECT_EQ(KeepLeft("ab", 5), "ab");
    EXPECT_EQ(KeepRight("héllo", 4), "éllo");
    EXPECT_EQ(KeepRight("ab", 5), "ab");
    EXPECT_EQ(RepeatChar('-', 3), "---");
}

TEST(StringUtils, replaceAllScansLeftToRightWithoutOverlap) {
    const struct {
        const char *source, *search, *replacement, *result;
    } cases[] = {
        {"   ", "  ", "&nbsp&nbsp", "&nbsp&nbsp "},
        {"    ", "  ", "&nbsp&nbsp", "&nbsp&nbsp&nbsp&nbsp"},
        {"a\r\nb\nc\r", "\r\n", "<br>", "a<br>b\nc\r"},
        {"aaa", "a", "aa", "aaaaaa"}, // the replacement is never searched again
        {"AbAB", "ab", "x", "AbAB"},  // case-sensitive
        {"abc", "", "x", "abc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReplaceAll(c.source, c.search, c.replacement), c.result) << c.source;
}

} // namespace
} // namespace zk
