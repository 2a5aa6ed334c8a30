#include <gtest/gtest.h>

#include <random>

#include "code_generator.h"
#include "reference_generator.h"

namespace zk {
namespace {

const char* const kPieces[] = {"a",
                               "Z",
                               " ",
                               "  ",
                               "\r\n",
                               "\n",
                               "\r",
                               "<",
                               ">",
                               "<b>",
                               "</b>",
                               "<i>",
                               "<a href=\"u\">",
                               "</a>",
                               "<img src=\"p\">",
                               "<br>",
                               "<u>",
                               "é",
                               "e\u0301",
                               "👍🏽",
                               "👨‍👩‍👧",
                               "🇫🇷",
                               "€",
                               "中",
                               "<A>",
                               "a<",
                               "x y",
                               "&",
                               "\""};

// Random texts built from pieces that stress the tag copier, the pass-through characters
// and user-perceived characters, under random states.
TEST(GenerateCodeDifferential, agreesWithThePassByPassGenerator) {
    const auto& pieces = kPieces;
    std::mt19937 rng(12345);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int count = pick(40);
        for (int k = 0; k < count; ++k)
            text += pieces[pick(std::size(pieces))];
        FormattingState st;
        st.GradientOn = static_cast<std::uint8_t>(pick(2));
        st.WavesOn = static_cast<std::uint8_t>(pick(2));
        st.WavesKind = static_cast<std::uint8_t>(pick(2));
        st.FontSizeIndex = static_cast<std::uint8_t>(pick(9));
        st.GradientSymmetry = static_cast<std::uint8_t>(pick(3));
        st.GradientStartColor = static_cast<Color>(rng() & 0xFFFFFF);
        st.GradientEndColor = static_cast<Color>(rng() & 0xFFFFFF);
        st.ScrollingOn = static_cast<std::uint8_t>(pick(2));
        st.SignatureOn = static_cast<std::uint8_t>(pick(2));
        st.SignatureText = pick(2) ? "Sig  n" : "";
        st.IgnoreTextTags = static_cast<std::uint8_t>(pick(2));
        st.Bold = static_cast<std::uint8_t>(pick(2));
        st.Alignment = static_cast<std::uint8_t>(pick(3));
        st.CodePrefix = pick(4) == 0 ? "<p>" : "";
        GeneratorOptions options;
        options.keepLineBreaks = pick(2) == 1;
        ASSERT_EQ(GenerateCode(text, st, options),
                  reference::GenerateCode(text, st, options.keepLineBreaks))
            << "text: " << text << " gradient " << int(st.GradientOn) << " waves "
            << int(st.WavesOn);
    }
}

// A text whose code runs to megabytes: the code grows a step at a time while the effects
// write it, the steps falling inside letters, tags and spaces alike.
TEST(GenerateCodeDifferential, longTextGrowsTheCodeAsItGoes) {
    // Mostly letters, each of which takes about fifty bytes of code, with the other pieces
    // now and then.
    const char* const letters[] = {"a", "Z", "é", "x", "e\u0301", " "};
    std::mt19937 rng(2024);
    std::string text;
    while (text.size() < 150000)
        text += rng() % 64 != 0 ? letters[rng() % std::size(letters)]
                                : kPieces[rng() % std::size(kPieces)];
    FormattingState st;
    st.GradientOn = 1;
    st.WavesOn = 1;
    st.WavesKind = 1;
    st.ScrollingOn = 1;
    st.SignatureOn = 1;
    st.SignatureText = "Sig  n";
    const std::string code = GenerateCode(text, st);
    EXPECT_GT(code.size(), std::size_t{3} << 20);
    EXPECT_TRUE(code == reference::GenerateCode(text, st));
}

} // namespace
} // namespace zk
