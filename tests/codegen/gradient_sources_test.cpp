#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "code_generator.h"
#include "colour_space.h"
#include "reference_generator.h"
#include "string_utils.h"

namespace zk {
namespace {

constexpr Color kRed = 0x0000FF;
constexpr Color kGreen = 0x00FF00;
constexpr Color kBlue = 0xFF0000;
constexpr Color kBlack = 0x000000;
constexpr Color kWhite = 0xFFFFFF;

GradientOptions multicolour(std::vector<Color> stops, GradientBlend blend) {
    GradientOptions o;
    o.type = GradientType::Multicolour;
    o.blend = blend;
    o.setStops(stops);
    return o;
}

GradientOptions rainbow(int start, int span) {
    GradientOptions o;
    o.type = GradientType::Rainbow;
    o.rainbowStart = start;
    o.rainbowSpan = span;
    return o;
}

// The colours of n letters in a row, each of which gets a colour tag.
std::vector<Color> coloursOf(const GradientOptions& options, std::uint64_t n,
                             bool symmetric = false) {
    FormattingState st;
    st.GradientSymmetry = symmetric ? 2 : 1;
    LetterColours colours(st, options, n, n);
    std::vector<Color> out;
    for (std::uint64_t p = 1; p <= n; ++p)
        out.push_back(colours.next(p));
    return out;
}

std::vector<std::string> html(const std::vector<Color>& colours) {
    std::vector<std::string> out;
    for (Color c : colours)
        out.push_back(ColorToHtml(c));
    return out;
}

// The colours of the gradient's tags in a generated fragment, in order.
std::vector<std::string> tagColours(const std::string& code) {
    std::vector<std::string> out;
    const std::string mark = "<font color=\"#";
    for (std::size_t at = code.find(mark); at != std::string::npos; at = code.find(mark, at + 1))
        out.push_back(code.substr(at + mark.size(), 6));
    return out;
}

struct EndsCase {
    const char* name;
    GradientOptions options;
    Color first, last;
};

// The first letter gets the first colour and the last the last, at any length; symmetric,
// the last gets the first again.
TEST(GradientSources, firstAndLastLettersGetTheEndColoursExactly) {
    const Color odd = 0x123456;
    const Color other = 0xFEDCBA;
    const EndsCase cases[] = {
        {"two stops RGB", multicolour({odd, other}, GradientBlend::Rgb), odd, other},
        {"two stops OKLab", multicolour({odd, other}, GradientBlend::OkLab), odd, other},
        {"eight stops RGB",
         multicolour({odd, kRed, kGreen, kBlue, kBlack, kWhite, 0x808080, other},
                     GradientBlend::Rgb),
         odd, other},
        {"four stops OKLab", multicolour({kWhite, kRed, kBlue, kBlack}, GradientBlend::OkLab),
         kWhite, kBlack},
        {"rainbow 40..100", rainbow(40, 60), RainbowColour(400), RainbowColour(1000)},
        {"rainbow 300..420", rainbow(300, 120), RainbowColour(3000), RainbowColour(600)},
        {"rainbow no span", rainbow(123, 0), RainbowColour(1230), RainbowColour(1230)},
    };
    for (const auto& c : cases)
        for (std::uint64_t n : {1u, 2u, 3u, 70000u}) {
            const std::vector<Color> plain = coloursOf(c.options, n);
            EXPECT_EQ(plain.front(), c.first) << c.name << " n=" << n;
            EXPECT_EQ(plain.back(), n == 1 ? c.first : c.last) << c.name << " n=" << n;
            const std::vector<Color> symmetric = coloursOf(c.options, n, true);
            EXPECT_EQ(symmetric.front(), c.first) << c.name << " symmetric n=" << n;
            EXPECT_EQ(symmetric.back(), c.first) << c.name << " symmetric n=" << n;
            if (n % 2 == 1) { // the middle letter turns round at the last colour
                EXPECT_EQ(symmetric[n / 2], n == 1 ? c.first : c.last) << c.name << " n=" << n;
            }
            for (std::uint64_t i = 0; i < n; ++i) {
                ASSERT_EQ(symmetric[i], symmetric[n - 1 - i]) << c.name << " n=" << n;
                ASSERT_EQ(plain[i] & ~0xFFFFFF, 0) << c.name << " n=" << n;
            }
        }
}

struct RowCase {
    const char* name;
    GradientOptions options;
    bool symmetric;
    std::vector<std::string> colours;
};

// Evenly spaced stops, mixed channel by channel and rounded to nearest.
TEST(GradientSources, stopsAreEvenlySpacedAndMixedToNearest) {
    const RowCase cases[] = {
        {"black to white",
         multicolour({kBlack, kWhite}, GradientBlend::Rgb),
         false,
         {"000000", "808080", "FFFFFF"}},
        {"three stops over five letters",
         multicolour({kRed, kGreen, kBlue}, GradientBlend::Rgb),
         false,
         {"FF0000", "808000", "00FF00", "008080", "0000FF"}},
        {"downwards too",
         multicolour({kWhite, kBlack}, GradientBlend::Rgb),
         false,
         {"FFFFFF", "BFBFBF", "808080", "404040", "000000"}},
        {"symmetric",
         multicolour({kBlack, kWhite}, GradientBlend::Rgb),
         true,
         {"000000", "808080", "FFFFFF", "808080", "000000"}},
        {"symmetric, even",
         multicolour({kBlack, kWhite}, GradientBlend::Rgb),
         true,
         {"000000", "AAAAAA", "AAAAAA", "000000"}},
        {"four stops over four letters",
         multicolour({kRed, kGreen, kBlue, kWhite}, GradientBlend::OkLab),
         false,
         {"FF0000", "00FF00", "0000FF", "FFFFFF"}},
        {"nine colours: the first eight",
         multicolour({0x000000, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666,
                      0x777777, 0x888888},
                     GradientBlend::Rgb),
         false,
         {"000000", "111111", "222222", "333333", "444444", "555555", "666666", "777777"}},
        {"no stops: the default ones",
         multicolour({}, GradientBlend::Rgb),
         false,
         {"FF0000", "FFFF00", "00FF00", "0000FF"}},
        {"one stop: that colour",
         multicolour({0x336699}, GradientBlend::OkLab),
         false,
         {"996633", "996633", "996633"}},
        {"system colours resolved",
         multicolour({static_cast<Color>(0x8000000F), kBlack}, GradientBlend::Rgb),
         false,
         {"F0F0F0", "000000"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(html(coloursOf(c.options, c.colours.size(), c.symmetric)), c.colours) << c.name;
}

TEST(GradientSources, rainbowOfAFullTurnGivesDistinctHuesInOrder) {
    const std::vector<Color> colours = coloursOf(rainbow(0, 360), 12);
    double turned = 0;
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const OkLch lch = OkLchOf(OkLabOf(colours[i]));
        // Fixed lightness and chroma, but for the chroma lowered to fit sRGB.
        EXPECT_NEAR(lch.L, kRainbowLightness, 0.006) << i;
        EXPECT_LT(lch.C, kRainbowChroma + 0.006) << i;
        EXPECT_GT(lch.C, 0.05) << i;
        // 360 degrees over 11 steps: each hue about 32.7 degrees past the one before.
        const double wanted = 360.0 * static_cast<double>(i) / 11;
        EXPECT_LT(std::abs(std::remainder(lch.h - wanted, 360.0)), 2.0) << i;
        if (i > 0) {
            const OkLch before = OkLchOf(OkLabOf(colours[i - 1]));
            const double step = std::remainder(lch.h - before.h, 360.0);
            EXPECT_GT(step, 25.0) << i;
            turned += step;
        }
    }
    EXPECT_NEAR(turned, 360, 4); // the last hue is the first one again
    // The span is taken from the start hue, and round past 360.
    EXPECT_EQ(coloursOf(rainbow(350, 20), 3)[1], RainbowColour(0));
    // Out of range from a caller: brought to 0..360.
    EXPECT_EQ(coloursOf(rainbow(-5, 400), 2), coloursOf(rainbow(0, 360), 2));
}

// RGB mixing goes through a muddy brown between red and green; OKLab keeps the lightness
// moving evenly from one end to the other.
TEST(GradientSources, okLabMixingKeepsTheLightnessEven) {
    const auto lightness = [](Color c) { return OkLabOf(c).L; };
    const std::vector<Color> rgb = coloursOf(multicolour({kRed, kGreen}, GradientBlend::Rgb), 21);
    const std::vector<Color> lab = coloursOf(multicolour({kRed, kGreen}, GradientBlend::OkLab), 21);
    EXPECT_LT(lightness(rgb[10]), lightness(kRed) - 0.02);
    const double from = lightness(kRed);
    const double to = lightness(kGreen);
    for (std::size_t i = 0; i < lab.size(); ++i)
        EXPECT_NEAR(lightness(lab[i]), from + (to - from) * static_cast<double>(i) / 20, 0.006)
            << i;
}

// "Deux couleurs" mixed in OKLab: the classic positions (spaces and tags count, the end
// colour is never reached), only the mixing changes.
TEST(GradientSources, twoColoursInOkLabKeepTheClassicPositions) {
    FormattingState st;
    st.GradientOn = 1;
    st.GradientStartColor = kRed;
    st.GradientEndColor = kGreen;
    GeneratorOptions options;
    options.gradient.blend = GradientBlend::OkLab;
    const std::vector<std::string> colours = tagColours(GenerateCode("ab cd", st, options));
    ASSERT_EQ(colours.size(), 4u);
    EXPECT_EQ(colours[0], "FF0000");
    // Positions 1, 2, 4, 5 of 5: 0, 1/6, 3/6 and 4/6 of the way (to the nearest of the
    // points worked out, which moves no channel by more than one).
    const OkLab a = OkLabOf(kRed);
    const OkLab b = OkLabOf(kGreen);
    const int positions[] = {0, 1, 3, 4};
    for (int k = 0; k < 4; ++k) {
        const double f = positions[k] / 6.0;
        const OkLab mix{a.L + (b.L - a.L) * f, a.a + (b.a - a.a) * f, a.b + (b.b - a.b) * f};
        const auto got = static_cast<std::uint32_t>(
            std::stoul(colours[static_cast<std::size_t>(k)], nullptr, 16));
        const auto wanted =
            static_cast<std::uint32_t>(std::stoul(ColorToHtml(ColorOfOkLab(mix)), nullptr, 16));
        for (int shift = 0; shift < 24; shift += 8)
            EXPECT_LE(std::abs(static_cast<int>((got >> shift) & 0xFF) -
                               static_cast<int>((wanted >> shift) & 0xFF)),
                      1)
                << k;
    }
    st.GradientSymmetry = 2;
    const std::vector<std::string> symmetric = tagColours(GenerateCode("abcde", st, options));
    ASSERT_EQ(symmetric.size(), 5u);
    EXPECT_EQ(symmetric[4], "FF0000");
    EXPECT_EQ(symmetric[1], symmetric[3]);
}

// In the new types only the characters that get a colour tag take a colour: spaces, line
// breaks, the tags the user typed and a lone "<" do not use one up.
TEST(GradientSources, coloursAreSpreadOverTheLettersThatGetATag) {
    FormattingState st;
    st.GradientOn = 1;
    GeneratorOptions options;
    options.gradient = multicolour({kBlack, kWhite}, GradientBlend::Rgb);
    const std::string texts[] = {
        "a<b>b</b>c",
        "a b\r\nc",
        "  a   b  c  ",
        "<i>a</i> < b <u>c</u>",
        "<a href=\"x\">link</a>a b c",
    };
    for (const std::string& text : texts) {
        for (int waves = 0; waves < 2; ++waves) {
            st.WavesOn = static_cast<std::uint8_t>(waves);
            const std::vector<std::string> colours = tagColours(GenerateCode(text, st, options));
            const std::size_t letters = colours.size();
            ASSERT_GE(letters, 3u) << text;
            EXPECT_EQ(colours.front(), "000000") << text;
            EXPECT_EQ(colours.back(), "FFFFFF") << text;
            if (letters == 3) {
                EXPECT_EQ(colours[1], "808080") << text;
            }
        }
    }
    // Without any letter nothing is coloured, and nothing goes wrong.
    EXPECT_EQ(tagColours(GenerateCode(" \r\n<b></b>", st, options)).size(), 0u);
}

// The letters are counted right whatever the text holds (accents, characters of several code
// points, spaces and line breaks at any place of a word of eight bytes): the tags' colours
// are those of exactly that many letters.
TEST(GradientSources, lettersAreCountedInAnyText) {
    const GradientOptions options = multicolour({kBlack, kRed, kWhite}, GradientBlend::Rgb);
    struct Piece {
        const char* text;
        bool letter;
    };
    const Piece pieces[] = {{"a", true},     {"é", true},         {" ", false},
                            {"\r\n", false}, {"\r", false},       {"\n", false},
                            {"€", true},     {"e\xCC\x81", true}, {"👍🏽", true}};
    std::mt19937 rng(5);
    for (int round = 0; round < 400; ++round) {
        // Half of the texts keep to the pieces of one or two bytes.
        const std::size_t kinds = round % 2 == 0 ? 6 : std::size(pieces);
        std::string text;
        std::uint64_t letters = 0;
        for (unsigned k = 1 + rng() % 70; k > 0; --k) {
            const Piece& piece = pieces[rng() % kinds];
            text += piece.text;
            letters += piece.letter;
        }
        FormattingState st;
        st.GradientOn = 1;
        st.GradientSymmetry = static_cast<std::uint8_t>(1 + rng() % 2);
        GeneratorOptions generator;
        generator.gradient = options;
        ASSERT_EQ(tagColours(GenerateCode(text, st, generator)),
                  html(coloursOf(options, letters, st.GradientSymmetry == 2)))
            << text;
    }
}

// A swatch's row of colours is what the generator gives a text of as many letters, in every
// type and blend.
TEST(GradientSources, aRowHasTheColoursOfAsManyLetters) {
    GradientOptions okLabTwo;
    okLabTwo.blend = GradientBlend::OkLab;
    const GradientOptions all[] = {
        GradientOptions{},
        okLabTwo,
        multicolour({kRed, 0x00FFFF, kBlue}, GradientBlend::Rgb),
        multicolour({kRed, 0x00FFFF, kBlue, kWhite}, GradientBlend::OkLab),
        rainbow(30, 300),
    };
    for (const GradientOptions& g : all)
        for (std::size_t n : {0u, 1u, 2u, 5u, 310u}) {
            FormattingState st;
            st.GradientOn = 1;
            st.GradientStartColor = 0x00FFFF;
            st.GradientEndColor = kBlue;
            GeneratorOptions options;
            options.gradient = g;
            const std::vector<Color> row = GradientRow(st, g, n);
            EXPECT_EQ(html(row),
                      tagColours(GenerateCode(std::string(n, 'x'), st, options)))
                << static_cast<int>(g.type) << " " << static_cast<int>(g.blend) << " n=" << n;
        }
    // The stops themselves at both ends.
    const std::vector<Color> row = GradientRow(
        FormattingState{}, multicolour({kRed, kGreen, kWhite}, GradientBlend::OkLab), 310);
    EXPECT_EQ(row.front(), kRed);
    EXPECT_EQ(row.back(), kWhite);
}

// Choosing "Deux couleurs" mixed channel by channel gives the classic output byte for byte,
// whatever the other gradient options hold.
TEST(GradientSources, twoColoursInRgbIsTheClassicOutput) {
    GeneratorOptions options;
    options.gradient.setStops({kWhite, kBlack, kBlue});
    options.gradient.rainbowStart = 90;
    options.gradient.rainbowSpan = 10;
    std::mt19937 rng(77);
    const char* const pieces[] = {"a", "é", " ", "  ", "\r\n", "<b>", "</b>", "<", "👍🏽", "Z"};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        for (unsigned k = rng() % 30; k > 0; --k)
            text += pieces[rng() % std::size(pieces)];
        FormattingState st;
        st.GradientOn = 1;
        st.WavesOn = static_cast<std::uint8_t>(rng() % 2);
        st.GradientSymmetry = static_cast<std::uint8_t>(rng() % 3);
        st.GradientStartColor = static_cast<Color>(rng() & 0xFFFFFF);
        st.GradientEndColor = static_cast<Color>(rng() & 0xFFFFFF);
        ASSERT_EQ(GenerateCode(text, st, options), reference::GenerateCode(text, st)) << text;
    }
}

// Every colour of every type and blend is written as six hexadecimal digits.
TEST(GradientSources, everyGeneratedColourIsAValidSrgbColour) {
    std::string text;
    for (int k = 0; k < 2000; ++k)
        text += k % 7 == 0 ? " " : "x";
    const GradientOptions all[] = {
        multicolour({kRed, kBlue}, GradientBlend::OkLab),
        multicolour({0x00FFFF, kBlue, kGreen, 0xFF00FF, kRed, kWhite, kBlack, 0x00FF80},
                    GradientBlend::OkLab),
        multicolour({0x00FFFF, kBlue, kGreen}, GradientBlend::Rgb),
        rainbow(0, 360),
        rainbow(200, 300),
    };
    FormattingState st;
    st.GradientOn = 1;
    for (const GradientOptions& g : all) {
        GeneratorOptions options;
        options.gradient = g;
        const std::vector<std::string> colours = tagColours(GenerateCode(text, st, options));
        ASSERT_EQ(colours.size(), 1714u);
        for (const std::string& c : colours)
            ASSERT_EQ(c.find_first_not_of("0123456789ABCDEF"), std::string::npos) << c;
    }
}

} // namespace
} // namespace zk
