#include <gtest/gtest.h>

#include "text.h"

namespace zk {
namespace {

TEST(Text, windows1252RoundTripsEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = cp1252ToUtf8(all);
    EXPECT_TRUE(isValidUtf8(utf8));
    EXPECT_EQ(utf8ToCp1252(utf8).value(), all);
    EXPECT_EQ(cp1252ToUtf8("\x80\x95\xE9"), "€•é");
}

TEST(Text, decodeTextFileChoosesUtf8OnlyWhenValidAndNotAscii) {
    const struct {
        const char* name;
        std::string bytes;
        std::string utf8;
    } cases[] = {
        {"ascii", "abc\r\n", "abc\r\n"},
        {"utf-8", "caf\xC3\xA9 \xF0\x9F\x91\x8D", "café 👍"},
        {"windows-1252", "caf\xE9 \x80", "café €"},
        {"broken utf-8 is 1252", "\xC3\x28", "Ã("},
        {"empty", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decodeTextFile(c.bytes), c.utf8) << c.name;
}

TEST(Text, encodeTextFileUsesUtf8OnlyWhenNeeded) {
    EXPECT_EQ(encodeTextFile("café"), "caf\xE9");
    EXPECT_EQ(encodeTextFile("café 👍"), "café 👍");
    EXPECT_EQ(decodeTextFile(encodeTextFile("é👍\r\n")), "é👍\r\n");
    // In Windows-1252 these two characters are the bytes of "é" in UTF-8.
    EXPECT_EQ(encodeTextFile("Ã©"), "Ã©");
    EXPECT_EQ(decodeTextFile(encodeTextFile("Ã©")), "Ã©");
}

TEST(Text, encodeHtmlPageWritesReferencesOutside1252) {
    EXPECT_EQ(encodeHtmlPage("é€👍"), "\xE9\x80&#128077;");
}

TEST(Text, normalizeLineEnds) {
    EXPECT_EQ(normalizeLineEnds("a\nb\rc\r\nd\n\r"), "a\r\nb\r\nc\r\nd\r\n\r\n");
}

TEST(Text, invalidUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(utf8ToU32("a\xFF" "b"), U"a\uFFFDb");
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80")); // an encoded surrogate
    EXPECT_EQ(u32ToUtf8(U"é👍"), "é👍");
}

TEST(Text, graphemeBoundariesKeepUserPerceivedCharactersWhole) {
    const struct {
        const char* name;
        std::string text;
        std::vector<std::size_t> starts;
    } cases[] = {
        {"latin", "aé b", {0, 1, 3, 4, 5}},
        {"cr lf apart", "a\r\nb", {0, 1, 2, 3, 4}},
        {"skin tone", "👍🏽x", {0, 8, 9}},
        {"combining", "e\u0301x", {0, 3, 4}},
        {"family", "👨‍👩‍👧", {0, 18}},
        {"cr lf apart with emoji", "👍\r\n", {0, 4, 5, 6}},
        {"empty", "", {0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(graphemeBoundaries(c.text), c.starts) << c.name;
}

} // namespace
} // namespace zk
