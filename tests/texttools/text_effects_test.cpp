#include "text_effects.h"

#include "text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using zk::EffectRandom;
using zk::EffectTarget;

constexpr EffectTarget kWhole = EffectTarget::WholeText;
constexpr EffectTarget kSelection = EffectTarget::Selection;

std::string run(int number, const std::string& target, EffectTarget scope = kWhole) {
    EffectRandom random;
    const auto result = zk::applyTextEffect(number, target, scope, random);
    EXPECT_TRUE(result.has_value()) << "effect " << number;
    return result.value_or("<none>");
}

struct EffectCase {
    const char* what;
    int effect;
    EffectTarget scope;
    const char* text;
    const char* expected;
};

TEST(TextEffects, WorkedExamples) {
    const EffectCase cases[] = {
        {"alternation from lower case", 4, kWhole, "Bonjour le monde", "bOnJoUr lE MoNdE"},
        {"alternation from upper case", 5, kWhole, "Bonjour le monde", "BoNjOuR Le mOnDe"},
        {"alternation runs on across a line break", 4, kWhole, "ab\r\ncd", "aB\r\ncD"},
        {"alternation counts accented letters and digits", 5, kWhole, "é1ab", "é1Ab"},
        {"mirror line by line", 1, kWhole, "abc\r\nde", "cba\r\ned"},
        {"mirror of a selection reverses the line break", 1, kSelection, "ab\r\nc", "c\n\rba"},
        {"mirror of the reversed selection gives it back", 1, kSelection, "c\n\rba", "ab\r\nc"},
        {"mirror keeps empty lines and a final line break", 1, kWhole, "ab\r\n\r\ncd\r\n",
         "ba\r\n\r\ndc\r\n"},
        {"mirror keeps a lone line feed in place", 1, kWhole, "ab\ncd", "ba\ndc"},
        {"mirror keeps a lone carriage return in place", 1, kWhole, "ab\rcd", "ba\rdc"},
        {"spacing out across a line break", 6, kWhole, "ab\r\nc", "a b \r\nc "},
        {"spacing out doubles a space", 6, kWhole, "a b", "a   b "},
        {"spacing out drops a lone line feed", 6, kWhole, "a\nb", "a b "},
        {"spacing out completes a lone carriage return", 6, kWhole, "a\rb", "a \r\nb "},
        {"removing spaces", 7, kWhole, "a b  c", "abc"},
        {"removing spaces keeps tabs", 7, kWhole, "un\tdeux trois", "un\tdeuxtrois"},
        {"removing spaces keeps non-breaking spaces and line breaks", 7, kWhole, "a\u00A0b \r\n c",
         "a\u00A0b\r\nc"},
        {"upper case leaves é", 3, kWhole, "été", "éTé"},
        {"lower case leaves É", 2, kWhole, "ÉCOLE", "École"},
        {"upper case changes a-z only", 3, kWhole, "abc xyz ÿ 09", "ABC XYZ ÿ 09"},
        {"lower case changes A-Z only", 2, kWhole, "ABC XYZ Ÿ 09", "abc xyz Ÿ 09"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c.effect, c.text, c.scope), c.expected) << c.what;
}

TEST(TextEffects, EveryEffectLeavesAnEmptyTargetEmpty) {
    for (int n = zk::kFirstTextEffect; n <= zk::kLastTextEffectNumber; ++n) {
        for (EffectTarget scope : {kWhole, kSelection}) {
            EffectRandom random;
            EXPECT_EQ(zk::applyTextEffect(n, "", scope, random), std::string()) << n;
            EXPECT_EQ(random.state, 0u) << "no character, no draw: effect " << n;
        }
    }
}

TEST(TextEffects, DispatcherNumbersAndNames) {
    struct Row {
        int number;
        const char* item;
        const char* caption;
    };
    const Row rows[] = {
        {1, "C2", "riori&M"},
        {2, "C3", "min&uscules"},
        {3, "C4", "MA&JUSCULES"},
        {4, "C5", "a&LtErNaNcE Min - Maj"},
        {5, "C6", "&AlTeRnAnCe Maj - Min"},
        {6, "C7", "Intercaler des &E s p a c e s"},
        {7, "C8", "&Supprimer les Espaces"},
        {8, "C9", "&Hacker"},
        {9, "C10", "&Choucroute"},
        {10, "C11", "&Dom-Tom"},
        {11, "C12", "Atch&oum"},
        {12, "C13", "&Viking"},
    };
    for (const auto& r : rows) {
        const zk::TextEffectInfo* info = zk::textEffectInfo(r.number);
        ASSERT_NE(info, nullptr) << r.number;
        EXPECT_EQ(info->number, r.number);
        EXPECT_STREQ(info->menuItem, r.item);
        EXPECT_STREQ(info->caption, r.caption);
    }
    for (int bad : {-1, 0, 13, 255}) {
        EffectRandom random;
        EXPECT_EQ(zk::textEffectInfo(bad), nullptr) << bad;
        EXPECT_FALSE(zk::applyTextEffect(bad, "abc", kWhole, random).has_value()) << bad;
    }
}

TEST(TextEffects, DispatcherRunsTheNumberedEffect) {
    // One text that every effect changes in its own way.
    const std::string text = "Bonjour,\r\nje voudrais du gâteau";
    EffectRandom fresh;
    struct Row {
        int number;
        std::string expected;
    };
    const Row rows[] = {
        {1, ",ruojnoB\r\nuaetâg ud siarduov ej"},
        {2, "bonjour,\r\nje voudrais du gâteau"},
        {3, "BONJOUR,\r\nJE VOUDRAIS DU GâTEAU"},
        {4, "bOnJoUr,\r\njE VoUdRaIs dU GâTeAu"},
        {5, "BoNjOuR,\r\nJe vOuDrAiS Du gâtEaU"},
        {6, "B o n j o u r , \r\nj e   v o u d r a i s   d u   g â t e a u "},
        {7, "Bonjour,\r\njevoudraisdugâteau"},
        {8, zk::hackerText(text, fresh)},
        {9, "Ponchour,\r\nche foutrais tu kâteau"},
        {10, "Bonjouw,\r\nje voudwais du gâteau"},
        {11, "Bonjour,\r\nje voudrais du gâteau"},
        {12, "Bønjøür,\r\nje vøüdråìs dü gâteåü"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(run(r.number, text), r.expected) << "effect " << r.number;
}

TEST(TextEffects, DispatcherDrawsFromTheCallersGenerator) {
    EffectRandom random;
    const auto first = zk::applyTextEffect(8, "Hacker", kWhole, random);
    const auto second = zk::applyTextEffect(8, "Hacker", kWhole, random);
    EXPECT_EQ(first, std::string("HÄcKËr"));
    EXPECT_NE(first, second) << "the second run goes on with the same generator";
    EffectRandom twelveDraws;
    for (int k = 0; k < 12; ++k)
        twelveDraws.draw();
    EXPECT_EQ(random.state, twelveDraws.state);
}

TEST(EffectRandom, FreshRunDraws) {
    EffectRandom random;
    for (int expected : {0, 8, 220, 51, 69, 171})
        EXPECT_EQ(random.draw(), expected);
}

TEST(EffectRandom, StateWrapsModulo32Bits) {
    EffectRandom random;
    random.state = 0xFFFFFFFFu;
    // (2^32 - 1) * 134775813 + 1 = 1 - 134775813 (mod 2^32)
    const std::uint32_t next = 1u - 134775813u;
    EXPECT_EQ(random.draw(), static_cast<int>(next >> 24));
    EXPECT_EQ(random.state, next);
}

TEST(Hacker, FreshRunOnHacker) {
    EffectRandom random;
    EXPECT_EQ(zk::hackerText("Hacker", random), "HÄcKËr");
}

// A generator whose next draw returns r.
EffectRandom generatorDrawing(int r) {
    const std::uint32_t a = 134775813u;
    std::uint32_t inverse = a; // Newton's iteration for the inverse modulo 2^32
    for (int k = 0; k < 5; ++k)
        inverse *= 2u - a * inverse;
    EffectRandom random;
    random.state = ((static_cast<std::uint32_t>(r) << 24) - 1u) * inverse;
    return random;
}

TEST(Hacker, TablesByLetterCaseAndDraw) {
    // Table 1 and table 2 of each letter, as the characters they show.
    struct Row {
        char small;
        const char* table1;
        const char* table2;
    };
    const Row rows[] = {
        {'a', "Ä", "@"}, {'b', "ß", "þ"}, {'c', "©", "¢"}, {'d', "d", "D"}, {'e', "€", "Ë"},
        {'f', "F", "f"}, {'g', "G", "g"}, {'h', "h", "H"}, {'i', "Í", "ì"}, {'j', "j", "J"},
        {'k', "k", "K"}, {'l', "£", "L"}, {'m', "m", "M"}, {'n', "Ñ", "ñ"}, {'o', "Ø", "ø"},
        {'p', "p", "P"}, {'q', "q", "Q"}, {'r', "®", "R"}, {'s', "$", "S"}, {'t', "t", "T"},
        {'u', "Ü", "ü"}, {'v', "v", "V"}, {'w', "w", "W"}, {'x', "x", "X"}, {'y', "Ÿ", "ÿ"},
        {'z', "z", "Z"},
    };
    for (const auto& row : rows) {
        const std::string small(1, row.small);
        const std::string capital(1, static_cast<char>(row.small - 'a' + 'A'));
        struct Draw {
            std::string letter;
            int r;
            std::string expected;
        };
        const Draw draws[] = {
            {capital, 1, row.table1},   {capital, 127, row.table1}, {capital, 0, row.table2},
            {capital, 126, row.table2}, {small, 1, row.table2},     {small, 127, row.table2},
            {small, 0, row.table1},     {small, 126, row.table1},   {capital, 128, capital},
            {small, 129, small},        {small, 255, small},
        };
        for (const auto& d : draws) {
            EffectRandom random = generatorDrawing(d.r);
            EXPECT_EQ(zk::hackerText(d.letter, random), d.expected)
                << d.letter << " with draw " << d.r;
        }
    }
}

TEST(Hacker, OneDrawPerCharacterAndOthersUnchanged) {
    // Digits, accents, line breaks, an emoji with its skin tone and a letter with a
    // combining accent each take one draw and come out as they were.
    const std::string text = "1é\r\n👍🏽e\u0301 日";
    EffectRandom random;
    EXPECT_EQ(zk::hackerText(text, random), text);
    EffectRandom counted;
    for (int k = 0; k < 8; ++k)
        counted.draw();
    EXPECT_EQ(random.state, counted.state);
}

TEST(Hacker, LengthInCharactersIsKept) {
    EffectRandom random;
    const std::string text = "The quick brown fox jumps over the lazy dog 0123456789";
    for (int run = 0; run < 50; ++run) {
        const std::string out = zk::hackerText(text, random);
        EXPECT_EQ(zk::graphemeBoundaries(out).size(), zk::graphemeBoundaries(text).size());
    }
}

TEST(UserPerceivedCharacters, MirrorKeepsClustersWhole) {
    const EffectCase cases[] = {
        {"emoji with skin tone and combining accent", 1, kSelection, "a👍🏽e\u0301b",
         "be\u0301👍🏽a"},
        {"line by line", 1, kWhole, "👍🏽x\r\ne\u0301y", "x👍🏽\r\nye\u0301"},
        {"flags", 1, kSelection, "🇫🇷🇩🇪", "🇩🇪🇫🇷"},
        {"family joined by zero-width joiners", 1, kWhole, "a👨‍👩‍👧b",
         "b👨‍👩‍👧a"},
        {"Hangul syllable in jamo", 1, kWhole, "x\u1100\u1161y", "y\u1100\u1161x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.effect, c.text, c.scope), c.expected) << c.what;
        EXPECT_EQ(run(1, run(1, c.text, kSelection), kSelection), c.text) << c.what;
    }
}

TEST(UserPerceivedCharacters, SpacingOutNeverSplitsACharacter) {
    const EffectCase cases[] = {
        {"emoji with skin tone", 6, kWhole, "a👍🏽b", "a 👍🏽 b "},
        {"combining accent", 6, kWhole, "e\u0301t", "e\u0301 t "},
        {"two combining marks", 6, kWhole, "o\u0308\u0301!", "o\u0308\u0301 ! "},
        {"flag", 6, kWhole, "🇫🇷\r\nok", "🇫🇷 \r\no k "},
        {"family", 6, kWhole, "👨‍👩‍👧", "👨‍👩‍👧 "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c.effect, c.text, c.scope), c.expected) << c.what;
}

TEST(UserPerceivedCharacters, CaseEffectsCountAndSpareClusters) {
    const EffectCase cases[] = {
        {"an emoji takes one position", 4, kWhole, "👍🏽ab", "👍🏽Ab"},
        {"a combining accent takes no position of its own", 5, kWhole, "e\u0301ab", "e\u0301aB"},
        {"a decomposed é is not a letter, as é is not", 3, kWhole, "e\u0301t", "e\u0301T"},
        {"a decomposed É is not a letter, as É is not", 2, kWhole, "E\u0301T", "E\u0301t"},
        {"a space with a combining mark is not a space", 7, kWhole, "a \u0301b c", "a \u0301bc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(run(c.effect, c.text, c.scope), c.expected) << c.what;
}

TEST(UserPerceivedCharacters, EveryWindows1252CharacterIsOneCharacter) {
    // Spacing out shows the walk: each character of the code page followed by a space.
    std::string text;
    std::string expected;
    for (int code = 1; code <= 255; ++code) {
        if (code == '\r' || code == '\n')
            continue;
        std::string ch;
        zk::appendUtf8(ch, zk::cp1252ToUnicode(static_cast<unsigned char>(code)));
        text += ch;
        expected += ch + " ";
    }
    EXPECT_EQ(zk::spaceOut(text), expected);
}

TEST(UserPerceivedCharacters, CharactersOutsideWindows1252SurviveEveryEffect) {
    const char* outside[] = {"日", "本",      "👍🏽",           "🇫🇷",    "Ω", "Ж",
                             "☃",  "e\u0301", "👨‍👩‍👧", "\u2028"};
    std::string text = "Sans gêne, ";
    bool lineBreak = false;
    for (const char* ch : outside) {
        text += std::string(ch) + (lineBreak ? "\r\nnu " : "as ");
        lineBreak = !lineBreak;
    }
    for (int n = zk::kFirstTextEffect; n <= zk::kLastTextEffectNumber; ++n) {
        for (EffectTarget scope : {kWhole, kSelection}) {
            EffectRandom random;
            const auto out = zk::applyTextEffect(n, text, scope, random);
            ASSERT_TRUE(out.has_value());
            for (const char* ch : outside)
                EXPECT_NE(out->find(ch), std::string::npos) << "effect " << n << " lost " << ch;
        }
    }
}

} // namespace
