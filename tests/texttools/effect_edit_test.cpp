#include "effect_edit.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace {

using zk::EffectRandom;
using zk::EffectTarget;

struct InPlaceCase {
    const char* what;
    int effect;
    const char* text;
    std::size_t selStart;
    std::size_t selLength;
    const char* expected;
    std::size_t resultStart;
    std::size_t resultLength;
    EffectTarget target;
};

TEST(EffectInPlace, TargetRuleAndWritingBack) {
    const InPlaceCase cases[] = {
        {"no selection: the whole text", 3, "abc def", 2, 0, "ABC DEF", 0, 7,
         EffectTarget::WholeText},
        {"a selection alone changes", 3, "abc def", 4, 3, "abc DEF", 4, 3, EffectTarget::Selection},
        {"the result may grow", 6, "ab cd", 3, 2, "ab c d ", 3, 4, EffectTarget::Selection},
        {"the result may shrink to nothing", 7, "a   b", 1, 3, "ab", 1, 0, EffectTarget::Selection},
        {"the text after a selection is never looked at (Choucroute)", 9, "abase", 1, 3, "apase", 1,
         3, EffectTarget::Selection},
        {"the same s followed by e on the whole text", 9, "abase", 0, 0, "apaze", 0, 5,
         EffectTarget::WholeText},
        {"mirror without a selection works line by line", 1, "abc\r\nde", 0, 0, "cba\r\ned", 0, 7,
         EffectTarget::WholeText},
        {"mirror of a selection keeps CR LF whole", 1, "xab\r\ncy", 1, 5, "xc\r\nbay", 1, 5,
         EffectTarget::Selection},
        {"mirror keeps emoji whole", 1, "a👍🏽b", 0, 10, "b👍🏽a", 0, 10,
         EffectTarget::Selection},
        {"a selection past the end is cut at the end", 3, "abc", 1, 99, "aBC", 1, 2,
         EffectTarget::Selection},
        {"a start past the end is an empty selection", 3, "abc", 10, 2, "ABC", 0, 3,
         EffectTarget::WholeText},
        {"an empty text", 5, "", 0, 0, "", 0, 0, EffectTarget::WholeText},
    };
    for (const InPlaceCase& c : cases) {
        EffectRandom random;
        const auto edit =
            zk::applyTextEffectInPlace(c.effect, c.text, c.selStart, c.selLength, random);
        ASSERT_TRUE(edit.has_value()) << c.what;
        EXPECT_EQ(edit->text, c.expected) << c.what;
        EXPECT_EQ(edit->start, c.resultStart) << c.what;
        EXPECT_EQ(edit->length, c.resultLength) << c.what;
        EXPECT_EQ(edit->target, c.target) << c.what;
    }
}

TEST(EffectInPlace, MirroringTheMirroredSelectionGivesItBack) {
    const std::string text = "ab\r\nc\r\n\r\nd€é😀";
    EffectRandom random;
    const auto once = zk::applyTextEffectInPlace(1, text, 0, text.size(), random);
    ASSERT_TRUE(once);
    EXPECT_EQ(once->text, "😀é€d\r\n\r\nc\r\nba");
    const auto twice = zk::applyTextEffectInPlace(1, once->text, 0, once->text.size(), random);
    ASSERT_TRUE(twice);
    EXPECT_EQ(twice->text, text);
}

TEST(EffectInPlace, HackerDrawsOncePerCharacterOfTheTarget) {
    // "Hacker" as the whole text gives the worked example; the same word as a selection
    // inside a longer text draws only for its own six characters.
    EffectRandom whole;
    EXPECT_EQ(zk::applyTextEffectInPlace(8, "Hacker", 0, 0, whole)->text, "HÄcKËr");
    EffectRandom inside;
    EXPECT_EQ(zk::applyTextEffectInPlace(8, "--Hacker--", 2, 6, inside)->text, "--HÄcKËr--");
    EXPECT_EQ(whole.state, inside.state);
}

TEST(EffectInPlace, UnknownNumbersChangeNothing) {
    for (int bad : {0, 13, -4}) {
        EffectRandom random;
        EXPECT_FALSE(zk::applyTextEffectInPlace(bad, "abc", 0, 0, random).has_value()) << bad;
    }
}

TEST(EffectInPlace, CaretPositionsCountCharactersAndLineBreaksAsOne) {
    const std::string text =
        "a\r\né👍🏽\r\n\r\nz"; // positions: a | ¶ | é | 👍🏽 | ¶ | ¶ | z
    struct Row {
        std::size_t position;
        std::size_t offset;
    };
    const Row rows[] = {{0, 0},  {1, 1},  {2, 3},  {3, 5},  {4, 13},
                        {5, 15}, {6, 17}, {7, 18}, {8, 18}, {1000, 18}};
    for (const Row& r : rows)
        EXPECT_EQ(zk::byteOffsetOfCaret(text, r.position), r.offset) << r.position;
    EXPECT_EQ(zk::byteOffsetOfCaret("", 3), 0u);
}

} // namespace
