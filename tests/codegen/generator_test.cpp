#include <gtest/gtest.h>

#include <functional>

#include "code_generator.h"
#include "string_utils.h"

namespace zk {
namespace {

using Configure = std::function<void(FormattingState&)>;

// The body alone: no font, style or alignment tags around it.
void bodyOnly(FormattingState& st) {
    st.IgnoreTextTags = 1;
}

std::string generate(std::string_view text, const Configure& setup, bool keepLineBreaks = false) {
    FormattingState st;
    setup(st);
    GeneratorOptions options;
    options.keepLineBreaks = keepLineBreaks;
    return GenerateCode(text, st, options);
}

struct Case {
    const char* name;
    const char* text;
    Configure setup;
    const char* code;
    bool keepLineBreaks = false; // as the code view wants the code
};

void runCases(const std::vector<Case>& cases) {
    for (const auto& c : cases)
        EXPECT_EQ(generate(c.text, c.setup, c.keepLineBreaks), c.code) << c.name;
}

TEST(GenerateCode, assemblesTheFragment) {
    runCases({
        {"style, centre and colour", "Bonjour\r\nà  tous",
         [](FormattingState& s) {
             s.Bold = 1;
             s.Alignment = 1;
             s.FontColor = 0x0000FF;
         },
         "<font size=\"2\" face=\"Verdana\" color=\"#FF0000\"><div align=\"center\"><b>Bonjour<br>"
         "à&nbsp&nbsptous</b></div></font>"},
        {"every piece at once", "Hi",
         [](FormattingState& s) {
             s.Bold = 1;
             s.Alignment = 2;
             s.GradientOn = 1;
             s.ScrollingOn = 1;
             s.SignatureOn = 1;
             s.SignatureText = "Léa";
             s.CodePrefix = "<p>";
         },
         "<p><marquee Behavior=\"Alternate\" scrollamount=\"4\" scrolldelay=\"50\"><font "
         "size=\"2\" face=\"Verdana\"><div align=\"right\"><b><font color=\"#FF0000\">H</font>"
         "<font color=\"#FF5500\">i</font></b></div></font></marquee><font size=\"1\" "
         "face=\"Verdana\" color=\"#000000\"><b>Léa</b></font>&nbsp"},
        {"text tags ignored", "Bonjour\r\nà  tous",
         [](FormattingState& s) {
             s.Bold = 1;
             s.Alignment = 1;
             s.FontColor = 0x0000FF;
             s.IgnoreTextTags = 1;
         },
         "<div align=\"center\">Bonjour<br>à&nbsp&nbsptous</div>"},
        {"nothing to generate", "", [](FormattingState&) {}, ""},
        {"empty text keeps prefix and style tags", "",
         [](FormattingState& s) {
             s.CodePrefix = "X";
             s.Bold = 1;
         },
         "X<b></b>"},
        {"empty text keeps the marquee", "",
         [](FormattingState& s) {
             s.CodePrefix = "X";
             s.ScrollingOn = 1;
         },
         "X<marquee Behavior=\"Alternate\" scrollamount=\"4\" scrolldelay=\"50\"></marquee>"},
        {"empty text goes on unless the signature switch is 0", "",
         [](FormattingState& s) {
             s.SignatureOn = 2; // read from a settings file: no signature, but not 0
             s.ScrollingOn = 1;
         },
         "<marquee Behavior=\"Alternate\" scrollamount=\"4\" scrolldelay=\"50\"></marquee>"},
        {"code view keeps line breaks", "Bonjour\r\nà  tous",
         [](FormattingState& s) {
             s.Bold = 1;
             s.Alignment = 1;
             s.FontColor = 0x0000FF;
         },
         "<font size=\"2\" face=\"Verdana\" color=\"#FF0000\"><div align=\"center\"><b>Bonjour\r\n"
         "à&nbsp&nbsptous</b></div></font>",
         true},
        {"H1 gives size 7", "x", [](FormattingState& s) { s.FontSizeIndex = 1; },
         "<font size=\"7\" face=\"Verdana\" color=\"#000000\">x</font>"},
        {"face as spelt", "x", [](FormattingState& s) { s.FontFace = "Courrier"; },
         "<font size=\"2\" face=\"Courrier\" color=\"#000000\">x</font>"},
    });
}

TEST(GenerateCode, styleTagsFollowTheSumOfTheStyleBytes) {
    const char* opening[16] = {
        "",    "<b>",    "<i>",    "<b><i>",    "<u>",    "<b><u>",    "<i><u>",    "<b><i><u>",
        "<s>", "<b><s>", "<i><s>", "<b><i><s>", "<u><s>", "<b><u><s>", "<i><u><s>", "<b><i><u><s>"};
    for (int sum = 0; sum < 16; ++sum) {
        FormattingState st;
        st.Bold = sum & 1;
        st.Italic = sum & 2;
        st.Underline = sum & 4;
        st.StrikeOut = sum & 8;
        const TagPair tags = StyleTags(st);
        EXPECT_EQ(tags.opening, opening[sum]);
        std::string closing = opening[sum];
        for (std::size_t at = 0; (at = closing.find('<', at)) != std::string::npos; at += 2)
            closing.insert(at + 1, "/");
        EXPECT_EQ(tags.closing, closing) << sum; // bold closes first: "</b></i>"
    }
    FormattingState over;
    over.Bold = 9;
    over.Italic = 9;
    EXPECT_EQ(StyleTags(over).opening, "");
}

TEST(GenerateCode, spacesAndLineBreaks) {
    runCases({
        {"three spaces", "a   b", bodyOnly, "a&nbsp&nbsp b"},
        {"four spaces", "a    b", bodyOnly, "a&nbsp&nbsp&nbsp&nbspb"},
        {"lone LF stays", "a\nb", bodyOnly, "a\nb"},
        {"lone CR stays", "a\rb", bodyOnly, "a\rb"},
        {"CR CR LF", "a\r\r\nb", bodyOnly, "a\r<br>b"},
        {"space around a break", " \r\n ", bodyOnly, " <br> "},
    });
}

TEST(GenerateCode, gradient) {
    const auto gradient = [](FormattingState& s) {
        s.IgnoreTextTags = 1;
        s.GradientOn = 1;
    };
    runCases({
        {"red to yellow", "Hi !", gradient,
         "<font color=\"#FF0000\">H</font><font color=\"#FF3300\">i</font> "
         "<font color=\"#FF9900\">!</font>"},
        {"symmetric", "abcde",
         [&](FormattingState& s) {
             gradient(s);
             s.GradientSymmetry = 2;
         },
         "<font color=\"#FF0000\">a</font><font color=\"#FF5500\">b</font><font "
         "color=\"#FFAA00\">c</font><font color=\"#FF5500\">d</font><font "
         "color=\"#FF0000\">e</font>"},
        {"equal colours", "ab",
         [&](FormattingState& s) {
             gradient(s);
             s.GradientEndColor = s.GradientStartColor = 0x336699;
         },
         "<font color=\"#996633\">a</font><font color=\"#996633\">b</font>"},
        {"steps down", "ab",
         [&](FormattingState& s) {
             gradient(s);
             s.GradientStartColor = 0x00FFFF;
             s.GradientEndColor = 0x0000FF;
         },
         "<font color=\"#FFFF00\">a</font><font color=\"#FFAA00\">b</font>"},
        {"link with text stays whole", "<a href=\"x\">lien</a>", gradient,
         "<a href=\"x\">lien</a>"},
        {"link around an image stays whole", "<a href=\"x\"><img src=\"y.gif\"></a>z", gradient,
         "<a href=\"x\"><img src=\"y.gif\"></a><font color=\"#FFF000\">z</font>"},
        {"bold tag and line break", "<b>a</b>\r\n", gradient,
         "<b><font color=\"#FF4500\">a</font></b><br>"},
        {"closing and unknown tags are copied whole", "<u>a</u>", gradient,
         "<u><font color=\"#FF5500\">a</font></u>"},
        {"a lone < is kept uncoloured", "1 < 2", gradient,
         "<font color=\"#FF0000\">1</font> < <font color=\"#FFAA00\">2</font>"},
        {"< at the very end", "a<", gradient, "<font color=\"#FF0000\">a</font><"},
        {"unterminated tag copied to the end", "<b x", gradient, "<b x"},
    });
}

TEST(GenerateCode, gradientUsesOneColourPerUserPerceivedCharacter) {
    const struct {
        const char* name;
        const char* text;
    } cases[] = {
        {"skin tone", "a👍🏽b"},
        {"family", "a👨‍👩‍👧b"},
        {"combining accent", "ae\u0301b"},
        {"flag", "a🇫🇷b"},
    };
    for (const auto& c : cases) {
        std::string middle = c.text;
        middle = middle.substr(1, middle.size() - 2);
        const std::string expected = "<font color=\"#FF0000\">a</font><font color=\"#FF3F00\">" +
                                     middle + "</font><font color=\"#FF7F00\">b</font>";
        EXPECT_EQ(generate(c.text,
                           [](FormattingState& s) {
                               s.IgnoreTextTags = 1;
                               s.GradientOn = 1;
                           }),
                  expected)
            << c.name;
    }
}

TEST(GenerateCode, waves) {
    const auto waves = [](int kind, int sizeIndex) {
        return [=](FormattingState& s) {
            s.IgnoreTextTags = 1;
            s.WavesOn = 1;
            s.WavesKind = static_cast<std::uint8_t>(kind);
            s.FontSizeIndex = static_cast<std::uint8_t>(sizeIndex);
        };
    };
    runCases({
        {"sizes from the base size", "abc", waves(1, 6),
         "<font size=\"2\">a</font><font size=\"3\">b</font><font size=\"4\">c</font>"},
        {"raised and lowered", "Salut toi", waves(0, 6),
         "<sup>S</sup><sup>a</sup>l<sub>u</sub><sub>t</sub> t<sup>o</sup><sup>i</sup>"},
        {"size 1 start", "ab", waves(1, 7), "<font size=\"1\">a</font><font size=\"2\">b</font>"},
        {"size 7 start goes down", "abc", waves(1, 1),
         "<font size=\"7\">a</font><font size=\"6\">b</font><font size=\"5\">c</font>"},
        {"tags and breaks do not move the wave", "a<b>\r\nb", waves(1, 7),
         "<font size=\"1\">a</font><b><br><font size=\"2\">b</font>"},
        {"< at the very end", "a<", waves(1, 7), "<font size=\"1\">a</font><"},
        {"emoji is one letter", "👍🏽b", waves(1, 7),
         "<font size=\"1\">👍🏽</font><font size=\"2\">b</font>"},
    });
    // The thirteenth letter starts the cycle again with the first letter's size.
    const std::string code = generate("abcdefghijklm", waves(1, 6));
    EXPECT_EQ(code.substr(0, 23), "<font size=\"2\">a</font>");
    EXPECT_EQ(code.substr(code.size() - 23), "<font size=\"2\">m</font>");
}

TEST(GenerateCode, gradientUnderWavesKeepsTheColourOutside) {
    EXPECT_EQ(generate("ab",
                       [](FormattingState& s) {
                           s.IgnoreTextTags = 1;
                           s.GradientOn = 1;
                           s.WavesOn = 1;
                           s.FontSizeIndex = 6;
                       }),
              "<font color=\"#FF0000\"><sup>a</sup></font><font color=\"#FF5500\"><sup>b</sup>"
              "</font>");
}

TEST(GenerateCode, marquee) {
    const struct {
        int h, v, style, speed;
        const char* opening;
        const char* closing;
    } cases[] = {
        {1, 0, 0, 1, "<marquee scrollamount=\"4\" scrolldelay=\"50\">", "</marquee>"},
        {1, 0, 1, 0, "<marquee Behavior=\"Alternate\" scrollamount=\"16\" scrolldelay=\"50\">",
         "</marquee>"},
        {2, 0, 0, 2, "<marquee Direction=\"Right\" scrollamount=\"1\" scrolldelay=\"50\">",
         "</marquee>"},
        {2, 0, 1, 1,
         "<marquee Direction=\"Right\" Behavior=\"Alternate\" scrollamount=\"4\" "
         "scrolldelay=\"50\">",
         "</marquee>"},
        {0, 1, 0, 1, "<marquee Direction=\"Up\" scrollamount=\"4\" scrolldelay=\"50\">",
         "</marquee>"},
        {0, 1, 1, 1,
         "<marquee Direction=\"Up\" Behavior=\"Alternate\" scrollamount=\"4\" scrolldelay=\"50\">",
         "</marquee>"},
        {0, 2, 0, 1, "<marquee Direction=\"Down\" scrollamount=\"4\" scrolldelay=\"50\">",
         "</marquee>"},
        {0, 2, 1, 3, "<marquee Direction=\"Down\" Behavior=\"Alternate\" >", "</marquee>"},
        {1, 1, 0, 1,
         "<marquee Direction=\"Left\"><marquee Direction=\"Up\" Behavior=\"Alternate\" "
         "scrollamount=\"4\" scrolldelay=\"50\">",
         "</marquee></marquee>"},
        {1, 2, 7, 1,
         "<marquee Direction=\"Left\"><marquee Direction=\"Down\" Behavior=\"Alternate\" "
         "scrollamount=\"4\" scrolldelay=\"50\">",
         "</marquee></marquee>"},
        {2, 1, 0, 2,
         "<marquee Direction=\"Right\"><marquee Direction=\"Up\" Behavior=\"Alternate\" "
         "scrollamount=\"1\" scrolldelay=\"50\">",
         "</marquee></marquee>"},
        {2, 2, 1, 0,
         "<marquee Direction=\"Right\"><marquee Direction=\"Down\" Behavior=\"Alternate\" "
         "scrollamount=\"16\" scrolldelay=\"50\">",
         "</marquee></marquee>"},
        {0, 0, 1, 1, "", ""},
        {3, 0, 1, 1, "", ""},
        {1, 0, 2, 1, "", ""},
    };
    for (const auto& c : cases) {
        FormattingState st;
        st.MarqueeHorizontal = static_cast<std::uint8_t>(c.h);
        st.MarqueeVertical = static_cast<std::uint8_t>(c.v);
        st.MarqueeStyle = static_cast<std::uint8_t>(c.style);
        st.MarqueeSpeed = static_cast<std::uint8_t>(c.speed);
        const TagPair tags = MarqueeTags(st);
        EXPECT_EQ(tags.opening, c.opening) << c.h << c.v << c.style << c.speed;
        EXPECT_EQ(tags.closing, c.closing) << c.h << c.v << c.style << c.speed;
    }
}

TEST(GenerateCode, signature) {
    const auto sign = [](const Configure& more) {
        return [=](FormattingState& s) {
            s.SignatureOn = 1;
            more(s);
        };
    };
    runCases({
        {"text part", "", sign([](FormattingState& s) {
             s.SignatureText = "Léa";
             s.SignatureColor = 0x0000FF;
         }),
         "<font size=\"1\" face=\"Verdana\" color=\"#FF0000\"><b>Léa</b></font>&nbsp"},
        {"image with mail link, image first", "", sign([](FormattingState& s) {
             s.SignatureImageUrl = "pic.gif";
             s.SignatureLink = "moi@ici.fr";
             s.SignatureOrder = 1;
         }),
         "<a href=\"mailto:moi@ici.fr\"><img src=\"pic.gif\" border=\"0\"></a>&nbsp"},
        {"image with web link", "", sign([](FormattingState& s) {
             s.SignatureImageUrl = "pic.gif";
             s.SignatureLink = "http://ici.fr";
         }),
         "&nbsp<a href=\"http://ici.fr\"><img src=\"pic.gif\" border=\"0\"></a>"},
        {"image without link", "", sign([](FormattingState& s) { s.SignatureImageUrl = "p.gif"; }),
         "&nbsp<img src=\"p.gif\">"},
        {"link without image is dropped", "", sign([](FormattingState& s) {
             s.SignatureText = "A";
             s.SignatureLink = "http://x";
             s.SignatureSizeIndex = 0;
         }),
         "<font size=\"7\" face=\"Verdana\" color=\"#000000\"><b>A</b></font>&nbsp"},
        {"everything empty", "", sign([](FormattingState&) {}), "&nbsp"},
        {"after the marquee, untouched by breaks", "a", sign([](FormattingState& s) {
             s.IgnoreTextTags = 1;
             s.ScrollingOn = 1;
             s.MarqueeStyle = 0;
             s.SignatureText = "x  y";
         }),
         "<marquee scrollamount=\"4\" scrolldelay=\"50\">a</marquee><font size=\"1\" "
         "face=\"Verdana\" color=\"#000000\"><b>x  y</b></font>&nbsp"},
    });
}

TEST(GenerateCode, longTextIsGeneratedWhole) {
    std::string text;
    for (int k = 0; k < 70000; ++k)
        text += k % 7 == 6 ? ' ' : static_cast<char>('a' + k % 26);
    const std::string code = generate(text, [](FormattingState& s) {
        s.IgnoreTextTags = 1;
        s.GradientOn = 1;
        s.WavesOn = 1;
        s.WavesKind = 1;
    });
    std::size_t letters = 0;
    for (std::size_t at = 0; (at = code.find("<font color=", at)) != std::string::npos; ++at)
        ++letters;
    EXPECT_EQ(letters, 60000u);
    EXPECT_NE(code.find("<font color=\"#FFFE00\"><font size=\""), std::string::npos)
        << "the last letters come near the end colour";
}

TEST(GenerateCode, invalidUtf8IsCopiedWithoutReadingPastTheText) {
    FormattingState st;
    st.GradientOn = 1;
    st.WavesOn = 1;
    st.IgnoreTextTags = 1;
    for (const char* text :
         {"\x80", "a\xE0", "\xF0\x9F", "<a\xC3", "\xE9t\xE9", "a\x80\x80\x80\x80\x80"}) {
        const std::string code = GenerateCode(text, st);
        EXPECT_NE(code.find(text[0] == '<' ? "<" : "font"), std::string::npos) << code;
    }
}

// The generator keeps nothing between calls: a generation started from inside another's
// turn (the window refuses one itself) gives the same code as alone, and leaves the outer
// one's code as it would have been.
TEST(GenerateCode, aGenerationInsideAnotherIsIndependent) {
    FormattingState st;
    st.GradientOn = 1;
    st.WavesOn = 1;
    const std::string text(200000, 'x');
    FormattingState innerState;
    innerState.GradientOn = 1;
    innerState.Bold = 1;
    const std::string innerText = "ab  c\r\nd";
    const std::string innerAlone = GenerateCode(innerText, innerState);
    int calls = 0;
    // A turn every 1000 characters, however fast the machine.
    const Pacing pacing{1000, std::chrono::milliseconds(0)};
    const std::string outer = GenerateCode(
        text, st, {},
        [&] {
            ++calls;
            EXPECT_EQ(GenerateCode(innerText, innerState), innerAlone);
        },
        pacing);
    EXPECT_GT(calls, 0);
    EXPECT_EQ(outer, GenerateCode(text, st));
}

TEST(CopyTag, copiesByTheTagName) {
    const struct {
        const char* text;
        std::size_t start;
        int offset;
        const char* copied;
        std::size_t end;
    } cases[] = {
        {"x<", 2, 0, "<", 2},
        {"<b>c", 1, 1, "<b>", 3},
        {"<a href=\"u\">t</a>z", 1, 1, "<a href=\"u\">t</a>", 17},
        {"<a href=\"u\"><img src=\"i\"></a>z", 1, 1, "<a href=\"u\"><img src=\"i\"></a>", 29},
        {"<a href=\"u\">t</a>z", 1, 0, "<a href=\"u\">", 12},
        {"<br>x", 1, 1, "<br>", 4},
        {"< x>", 1, 1, "<", 1},
        {"<i", 1, 1, "<i", 2},
    };
    for (const auto& c : cases) {
        std::size_t pos = c.start;
        EXPECT_EQ(CopyTag(c.text, pos, c.offset), c.copied) << c.text;
        EXPECT_EQ(pos, c.end) << c.text;
    }
}

} // namespace
} // namespace zk
