#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <regex>
#include <vector>

#include "code_formats.h"
#include "code_generator.h"
#include "string_utils.h"

namespace zk {
namespace {

using Configure = std::function<void(FormattingState&)>;

constexpr GeneratorOptions kCss{OutputFormat::Html5, false, false};
constexpr GeneratorOptions kBbcode{OutputFormat::BbCode, false, false};
constexpr GeneratorOptions kBbcodePercent{OutputFormat::BbCode, false, true};

GeneratorOptions compacted(GeneratorOptions options) {
    options.compact = true;
    return options;
}

GeneratorOptions uncompacted(GeneratorOptions options) {
    options.compact = false;
    return options;
}

void bodyOnly(FormattingState& st) {
    st.IgnoreTextTags = 1;
}

void gradientBody(FormattingState& st) {
    st.IgnoreTextTags = 1;
    st.GradientOn = 1;
}

// One colour all along, so that every letter gets the same colour tag.
void oneColourBody(FormattingState& st) {
    gradientBody(st);
    st.GradientStartColor = st.GradientEndColor = 0x336699;
}

// options with the line breaks kept as they are, as the code view wants the code, or not.
GeneratorOptions keepingLineBreaks(GeneratorOptions options, bool keep) {
    options.keepLineBreaks = keep;
    return options;
}

std::string generate(std::string_view text, const Configure& setup, const GeneratorOptions& options,
                     bool keepLineBreaks = false) {
    FormattingState st;
    setup(st);
    return GenerateCode(text, st, keepingLineBreaks(options, keepLineBreaks));
}

struct Case {
    const char* name;
    const char* text;
    Configure setup;
    GeneratorOptions options;
    std::string code;
    bool keepLineBreaks = false; // as the code view wants the code
};

void runCases(const std::vector<Case>& cases) {
    for (const auto& c : cases)
        EXPECT_EQ(generate(c.text, c.setup, c.options, c.keepLineBreaks), c.code) << c.name;
}

std::size_t count(std::string_view code, std::string_view what) {
    std::size_t n = 0;
    for (std::size_t at = code.find(what); at != std::string_view::npos;
         at = code.find(what, at + what.size()))
        ++n;
    return n;
}

TEST(Formats, assembleTheFragment) {
    const auto styled = [](FormattingState& s) {
        s.Bold = 1;
        s.Alignment = 1;
        s.FontColor = 0x0000FF;
    };
    const auto everything = [](FormattingState& s) {
        s.Bold = 1;
        s.Alignment = 2;
        s.GradientOn = 1;
        s.ScrollingOn = 1;
        s.SignatureOn = 1;
        s.SignatureText = "Léa";
        s.CodePrefix = "<p>";
    };
    runCases({
        {"styles: style, centre and colour", "Bonjour\r\nà  tous", styled, kCss,
         "<span style=\"color:#FF0000;font-family:'Verdana';font-size:small\"><div "
         "style=\"text-align:center\"><b>Bonjour<br>à&nbsp;&nbsp;tous</b></div></span>"},
        {"styles: code view keeps the line break", "Bonjour\r\nà  tous", styled, kCss,
         "<span style=\"color:#FF0000;font-family:'Verdana';font-size:small\"><div "
         "style=\"text-align:center\"><b>Bonjour\r\nà&nbsp;&nbsp;tous</b></div></span>",
         true},
        {"BBCode: style, centre and colour", "Bonjour\r\nà  tous", styled, kBbcode,
         "[font=Verdana][size=2][color=#FF0000][center][b]Bonjour\r\nà  "
         "tous[/b][/center][/color][/size][/font]"},
        {"BBCode in per cent", "Bonjour", styled, kBbcodePercent,
         "[font=Verdana][size=85][color=#FF0000][center][b]Bonjour[/b][/center][/color][/size]"
         "[/font]"},
        {"styles: every piece at once", "Hi", everything, kCss,
         "<p><marquee Behavior=\"Alternate\" scrollamount=\"4\" scrolldelay=\"50\"><span "
         "style=\"font-family:'Verdana';font-size:small\"><div style=\"text-align:right\"><b><span "
         "style=\"color:#FF0000\">H</span><span style=\"color:#FF5500\">i</span></b></div></span>"
         "</marquee><span style=\"color:#000000;font-family:'Verdana';font-size:x-small\"><b>Léa"
         "</b></span>&nbsp;"},
        {"BBCode: every piece at once, the marquee left out", "Hi", everything, kBbcode,
         "<p>[font=Verdana][size=2][right][b][color=#FF0000]H[/color][color=#FF5500]i[/color][/b]"
         "[/right][/size][/font][size=1][color=#000000][b]Léa[/b][/color][/size] "},
        {"styles: text tags ignored", "a",
         [](FormattingState& s) {
             s.Bold = 1;
             s.IgnoreTextTags = 1;
             s.Alignment = 2;
         },
         kCss, "<div style=\"text-align:right\">a</div>"},
        {"BBCode: nothing to generate", "", [](FormattingState&) {}, kBbcode, ""},
        {"BBCode: empty text keeps prefix and style tags", "",
         [](FormattingState& s) {
             s.CodePrefix = "X";
             s.Bold = 1;
             s.ScrollingOn = 1;
         },
         kBbcode, "X[b][/b]"},
        {"styles: the marquee is kept", "",
         [](FormattingState& s) {
             s.CodePrefix = "X";
             s.ScrollingOn = 1;
         },
         kCss, "X<marquee Behavior=\"Alternate\" scrollamount=\"4\" scrolldelay=\"50\"></marquee>"},
        {"styles: a face with quotes", "x",
         [](FormattingState& s) { s.FontFace = "It's \"mine\" & \\ co"; }, kCss,
         "<span style=\"color:#000000;font-family:'It\\'s &quot;mine&quot; &amp; \\\\ "
         "co';font-size:small\">x</span>"},
        {"BBCode: a face that would end the tag", "x",
         [](FormattingState& s) { s.FontFace = "Comic [Sans] MS\r\n"; }, kBbcode,
         "[font=Comic Sans MS][size=2][color=#000000]x[/color][/size][/font]"},
    });
}

TEST(Formats, styleTagsNestInsideOut) {
    for (int sum = 0; sum < 16; ++sum) {
        FormattingState st;
        st.Bold = sum & 1;
        st.Italic = sum & 2;
        st.Underline = sum & 4;
        st.StrikeOut = sum & 8;
        const TagPair classic = StyleTags(st);
        EXPECT_EQ(StyleTags(st, OutputFormat::ClassicHtml).closing, classic.closing);
        for (const OutputFormat format : {OutputFormat::Html5, OutputFormat::BbCode}) {
            const TagPair tags = StyleTags(st, format);
            std::string opening = classic.opening;
            if (format == OutputFormat::BbCode)
                opening = std::regex_replace(std::regex_replace(opening, std::regex("<"), "["),
                                             std::regex(">"), "]");
            EXPECT_EQ(tags.opening, opening) << sum;
            // The closings are the openings with a slash, in the reverse order.
            std::string closing;
            const std::size_t step = 3;
            for (std::size_t at = 0; at < opening.size(); at += step)
                closing.insert(0, opening.substr(at, 1) + "/" + opening.substr(at + 1, 2));
            EXPECT_EQ(tags.closing, closing) << sum;
        }
    }
    FormattingState over;
    over.Bold = 9;
    over.Italic = 9;
    EXPECT_EQ(StyleTags(over, OutputFormat::BbCode).opening, "");
    over.IgnoreTextTags = 1;
    over.Bold = 1;
    over.Italic = 0;
    EXPECT_EQ(StyleTags(over, OutputFormat::Html5).opening, "");
}

TEST(Formats, alignment) {
    const struct {
        int alignment;
        const char* css;
        const char* bbcode;
    } cases[] = {
        {0, "", ""},
        {1, "<div style=\"text-align:center\">", "[center]"},
        {2, "<div style=\"text-align:right\">", "[right]"},
        {3, "", ""},
    };
    for (const auto& c : cases) {
        FormattingState st;
        st.Alignment = static_cast<std::uint8_t>(c.alignment);
        EXPECT_EQ(AlignmentTags(st, OutputFormat::Html5).opening, c.css) << c.alignment;
        EXPECT_EQ(AlignmentTags(st, OutputFormat::BbCode).opening, c.bbcode) << c.alignment;
        EXPECT_EQ(AlignmentTags(st, OutputFormat::Html5).closing, *c.css ? "</div>" : "");
        EXPECT_EQ(AlignmentTags(st, OutputFormat::BbCode).closing,
                  *c.bbcode ? std::string("[/") + (c.bbcode + 1) : "");
    }
}

// The size of the text's font by its index, as a browser reads the legacy size written
// (8 - index): above 7 is 7, "-1" is 3 - 1, anything below 1 is 1.
TEST(Formats, fontSizesOnEachScale) {
    const struct {
        int index;
        const char* css;
        int bbcode;
        int percent;
    } cases[] = {
        {0, "xxx-large", 7, 200}, {1, "xxx-large", 7, 200}, {2, "xx-large", 6, 175},
        {3, "x-large", 5, 150},   {4, "large", 4, 125},     {5, "medium", 3, 100},
        {6, "small", 2, 85},      {7, "x-small", 1, 50},    {8, "x-small", 1, 50},
        {9, "small", 2, 85},      {10, "x-small", 1, 50},   {11, "x-small", 1, 50},
        {255, "x-small", 1, 50},
    };
    for (const auto& c : cases) {
        FormattingState st;
        st.FontSizeIndex = static_cast<std::uint8_t>(c.index);
        EXPECT_NE(FontTags(st, kCss).opening.find(std::string("font-size:") + c.css + "\""),
                  std::string::npos)
            << c.index;
        EXPECT_NE(FontTags(st, kBbcode).opening.find("[size=" + std::to_string(c.bbcode) + "]"),
                  std::string::npos)
            << c.index;
        EXPECT_NE(
            FontTags(st, kBbcodePercent).opening.find("[size=" + std::to_string(c.percent) + "]"),
            std::string::npos)
            << c.index;
    }
    EXPECT_EQ(LegacyFontSize(-40), 1);
    EXPECT_EQ(CssFontSize(0), std::string("x-small"));
    EXPECT_EQ(BbcodeFontSize(9, true), 200);
}

TEST(Formats, gradientAndWaves) {
    const auto wavesY = [](FormattingState& s) {
        bodyOnly(s);
        s.WavesOn = 1;
    };
    const auto wavesZ = [](FormattingState& s) {
        bodyOnly(s);
        s.WavesOn = 1;
        s.WavesKind = 1;
    };
    const auto both = [](FormattingState& s) {
        gradientBody(s);
        s.WavesOn = 1;
        s.WavesKind = 1;
    };
    runCases({
        {"styles: gradient", "Hi !", gradientBody, kCss,
         "<span style=\"color:#FF0000\">H</span><span style=\"color:#FF3300\">i</span> "
         "<span style=\"color:#FF9900\">!</span>"},
        {"BBCode: gradient", "Hi !", gradientBody, kBbcode,
         "[color=#FF0000]H[/color][color=#FF3300]i[/color] [color=#FF9900]![/color]"},
        {"styles: raised and lowered letters", "Salut toi", wavesY, kCss,
         "<sup>S</sup><sup>a</sup>l<sub>u</sub><sub>t</sub> t<sup>o</sup><sup>i</sup>"},
        {"BBCode: raised and lowered letters", "Salut toi", wavesY, kBbcode,
         "[sup]S[/sup][sup]a[/sup]l[sub]u[/sub][sub]t[/sub] t[sup]o[/sup][sup]i[/sup]"},
        {"styles: font sizes", "abc", wavesZ, kCss,
         "<span style=\"font-size:small\">a</span><span style=\"font-size:medium\">b</span><span "
         "style=\"font-size:large\">c</span>"},
        {"BBCode: font sizes", "abc", wavesZ, kBbcode,
         "[size=2]a[/size][size=3]b[/size][size=4]c[/size]"},
        {"BBCode: font sizes in per cent", "abc", wavesZ, kBbcodePercent,
         "[size=85]a[/size][size=100]b[/size][size=125]c[/size]"},
        {"styles: colour outside the wave", "ab", both, kCss,
         "<span style=\"color:#FF0000\"><span style=\"font-size:small\">a</span></span><span "
         "style=\"color:#FF5500\"><span style=\"font-size:medium\">b</span></span>"},
        {"BBCode: colour outside the wave", "ab", both, kBbcode,
         "[color=#FF0000][size=2]a[/size][/color][color=#FF5500][size=3]b[/size][/color]"},
        {"BBCode: brackets typed in the text are coloured as letters", "[b]", gradientBody, kBbcode,
         "[color=#FF0000][[/color][color=#FF3F00]b[/color][color=#FF7F00]][/color]"},
    });
}

TEST(Formats, spacesAndLineBreaks) {
    runCases({
        {"styles: three spaces", "a   b", bodyOnly, kCss, "a&nbsp;&nbsp; b"},
        {"styles: four spaces", "a    b", bodyOnly, kCss, "a&nbsp;&nbsp;&nbsp;&nbsp;b"},
        {"styles: a lone LF stays", "a\nb", bodyOnly, kCss, "a\nb"},
        {"styles: CR CR LF", "a\r\r\nb", bodyOnly, kCss, "a\r<br>b"},
        {"BBCode: spaces and breaks as typed", "a    b\r\n\r\nc\n ", bodyOnly, kBbcode,
         "a    b\r\n\r\nc\n "},
        {"BBCode: spaces and breaks between coloured letters", "a  b\r\nc", gradientBody, kBbcode,
         "[color=#FF0000]a[/color]  [color=#FF5F00]b[/color]\r\n[color=#FFBF00]c[/color]"},
    });
}

TEST(Formats, typedTagsInBbcode) {
    runCases({
        {"link", "<a href=\"http://x.fr/?a=1&amp;b=2\">le site</a>", bodyOnly, kBbcode,
         "[url=http://x.fr/?a=1&b=2]le site[/url]"},
        {"link in single quotes, any case", "<A HREF='x.fr'>t</A>", bodyOnly, kBbcode,
         "[url=x.fr]t[/url]"},
        {"link without quotes", "<a target=_blank href=x.fr>t</a>", bodyOnly, kBbcode,
         "[url=x.fr]t[/url]"},
        {"image", "<img src=\"p.gif\">", bodyOnly, kBbcode, "[img]p.gif[/img]"},
        {"image with more attributes", "<img border=\"0\" src=\"p.gif\" />", bodyOnly, kBbcode,
         "[img]p.gif[/img]"},
        {"link around an image", "<a href=\"x\"><img src=\"p.gif\" border=\"0\"></a>", bodyOnly,
         kBbcode, "[url=x][img]p.gif[/img][/url]"},
        {"the four styles", "<b>g</b> <i>i</i> <u>u</u> <s>s</s> <B>G</B>", bodyOnly, kBbcode,
         "[b]g[/b] [i]i[/i] [u]u[/u] [s]s[/s] [b]G[/b]"},
        {"line breaks", "a<br>b<br/>c<BR />d", bodyOnly, kBbcode, "a\r\nb\r\nc\r\nd"},
        {"other tags as typed", "<font color=\"red\">x</font><table><p>", bodyOnly, kBbcode,
         "<font color=\"red\">x</font><table><p>"},
        {"tags of longer names as typed", "<bx>a</bx><big>b</big><abbr>c</abbr>", bodyOnly, kBbcode,
         "<bx>a</bx><big>b</big><abbr>c</abbr>"},
        {"link without an address as typed", "<a name=\"x\">t</a><a href=\"\">u</a>", bodyOnly,
         kBbcode, "<a name=\"x\">t</a><a href=\"\">u</a>"},
        {"image without an address as typed", "<img alt=\"x\">", bodyOnly, kBbcode,
         "<img alt=\"x\">"},
        {"a tag left open is closed at the end", "<b>gras <i>et", bodyOnly, kBbcode,
         "[b]gras [i]et[/i][/b]"},
        {"a closing that closes nothing as typed", "x</b></a>", bodyOnly, kBbcode, "x</b></a>"},
        {"crossed tags close the inner one first", "<b><i>x</b>y</i>", bodyOnly, kBbcode,
         "[b][i]x[/i][/b]y</i>"},
        {"an address that would end the tag", "<a href=\"x]y[/url][url=evil\">t</a>", bodyOnly,
         kBbcode, "[url=x%5Dy%5B/url%5D%5Burl=evil]t[/url]"},
        {"an image address with blanks", "<img src=\"a b\r\nc\">", bodyOnly, kBbcode,
         "[img]a%20b%0D%0Ac[/img]"},
        {"less-than signs that open no tag", "1 < 2 > 0 <<b>x</b> a<", bodyOnly, kBbcode,
         "1 < 2 > 0 <[b]x[/b] a<"},
        {"BBCode typed in the text left as typed", "[b]x[/b] [url]y[/url]", bodyOnly, kBbcode,
         "[b]x[/b] [url]y[/url]"},
        {"styles: typed tags stay as typed", "<a href=\"x\">t</a><img src=\"p\"><br>", bodyOnly,
         kCss, "<a href=\"x\">t</a><img src=\"p\"><br>"},
        {"under the gradient the link stays whole", "<a href=\"x\">lien</a>z", gradientBody,
         kBbcode, "[url=x]lien[/url][color=#FFE700]z[/color]"},
        {"under the waves the link's letters wave", "<b>ab</b>",
         [](FormattingState& s) {
             bodyOnly(s);
             s.WavesOn = 1;
         },
         kBbcode, "[b][sup]a[/sup][sup]b[/sup][/b]"},
        {"typed tags close inside the program's tags", "<u>x",
         [](FormattingState& s) { s.Bold = 1; }, kBbcode,
         "[font=Verdana][size=2][color=#000000][b][u]x[/u][/b][/color][/size][/font]"},
    });
}

// Many typed tags left open, then many closings of a tag that is not open: each stays as
// typed, and the open ones close at the end, innermost first.
TEST(Formats, typedTagsNestedDeepInBbcode) {
    const std::size_t n = 100000;
    std::string text, expected;
    for (std::size_t k = 0; k < n; ++k) {
        text += k % 2 ? "<b>" : "<u>";
        expected += k % 2 ? "[b]" : "[u]";
    }
    for (std::size_t k = 0; k < n; ++k) {
        text += "</i>";
        expected += "</i>";
    }
    for (std::size_t k = n; k-- > 0;)
        expected += k % 2 ? "[/b]" : "[/u]";
    EXPECT_TRUE(generate(text, bodyOnly, kBbcode) == expected);
    EXPECT_TRUE(generate(text + "</u>", bodyOnly, kBbcode) == expected);
}

TEST(Formats, signature) {
    const auto signature = [](const char* text, const char* image, const char* link, int order) {
        return [=](FormattingState& s) {
            s.SignatureOn = 1;
            s.SignatureText = text;
            s.SignatureImageUrl = image;
            s.SignatureLink = link;
            s.SignatureOrder = static_cast<std::uint8_t>(order);
            s.SignatureColor = 0x0000FF;
        };
    };
    runCases({
        {"styles: text", "", signature("Léa", "", "", 0), kCss,
         "<span style=\"color:#FF0000;font-family:'Verdana';font-size:x-small\"><b>Léa</b>"
         "</span>&nbsp;"},
        {"BBCode: text", "", signature("Léa", "", "", 0), kBbcode,
         "[size=1][color=#FF0000][b]Léa[/b][/color][/size] "},
        {"BBCode: text in per cent, size H1", "",
         [&](FormattingState& s) {
             signature("Léa", "", "", 0)(s);
             s.SignatureSizeIndex = 0;
         },
         kBbcodePercent, "[size=200][color=#FF0000][b]Léa[/b][/color][/size] "},
        {"styles: image with a mail address, image first", "",
         signature("", "pic.gif", "moi@x.fr", 1), kCss,
         "<a href=\"mailto:moi@x.fr\"><img src=\"pic.gif\" style=\"border:0\"></a>&nbsp;"},
        {"BBCode: image with a mail address, image first", "",
         signature("", "pic.gif", "moi@x.fr", 1), kBbcode,
         "[url=mailto:moi@x.fr][img]pic.gif[/img][/url] "},
        {"BBCode: image and web link after the text", "",
         signature("Léa", "pic.gif", "http://x.fr/[1]", 0), kBbcode,
         "[size=1][color=#FF0000][b]Léa[/b][/color][/size] "
         "[url=http://x.fr/%5B1%5D][img]pic.gif[/img][/url]"},
        {"BBCode: image without a link", "", signature("", "pic.gif", "", 0), kBbcode,
         " [img]pic.gif[/img]"},
        {"styles: image without a link", "", signature("", "pic.gif", "", 0), kCss,
         "&nbsp;<img src=\"pic.gif\">"},
        {"BBCode: a link without an image is dropped", "", signature("", "", "x.fr", 0), kBbcode,
         " "},
        {"BBCode: after the text, outside its tags", "a", signature("S", "", "", 0), kBbcode,
         "[font=Verdana][size=2][color=#000000]a[/color][/size][/font][size=1][color=#FF0000][b]S"
         "[/b][/color][/size] "},
    });
}

// Whatever the value (a system colour from the settings file included), a colour has the
// digits the classic code gives it.
TEST(Formats, coloursAreSpeltAsInTheClassicCode) {
    for (const Color colour : {Color{0x0000FF}, Color{0x123456}, static_cast<Color>(0x80000005),
                               static_cast<Color>(0xFF000000)}) {
        FormattingState st;
        st.FontColor = colour;
        st.SignatureOn = 1;
        st.SignatureText = "S";
        st.SignatureColor = colour;
        const std::string digits = ColorToHtml(colour);
        EXPECT_EQ(count(GenerateCode("x", st), "color=\"#" + digits + "\""), 2u);
        EXPECT_EQ(count(GenerateCode("x", st, kCss), "color:#" + digits + ";"), 2u);
        EXPECT_EQ(count(GenerateCode("x", st, kBbcode), "[color=#" + digits + "]"), 2u);
    }
}

TEST(Formats, marqueeIsLeftOutOfBbcodeOnly) {
    for (int h = 0; h < 3; ++h) {
        for (int v = 0; v < 3; ++v) {
            FormattingState st;
            st.MarqueeHorizontal = static_cast<std::uint8_t>(h);
            st.MarqueeVertical = static_cast<std::uint8_t>(v);
            st.ScrollingOn = 1;
            EXPECT_EQ(MarqueeTags(st, OutputFormat::Html5).opening, MarqueeTags(st).opening);
            const std::string bbcode = GenerateCode("x", st, kBbcode);
            EXPECT_EQ(bbcode.find("marquee"), std::string::npos) << bbcode;
        }
    }
}

TEST(Formats, compactMergesLettersOfOneColour) {
    const std::string letters(64, 'a');
    const struct {
        GeneratorOptions options;
        const char* opening;
        const char* closing;
    } formats[] = {
        {compacted({}), "<font color=\"#996633\">", "</font>"},
        {compacted(kCss), "<span style=\"color:#996633\">", "</span>"},
        {compacted(kBbcode), "[color=#996633]", "[/color]"},
    };
    for (const auto& f : formats) {
        EXPECT_EQ(generate(letters, oneColourBody, f.options), f.opening + letters + f.closing);
        EXPECT_EQ(count(generate(letters, oneColourBody, uncompacted(f.options)), f.opening), 64u);
    }
    const GeneratorOptions compact = compacted({});
    const auto wavesY = [](FormattingState& s) {
        oneColourBody(s);
        s.WavesOn = 1;
    };
    runCases({
        {"across a space", "ab cd", oneColourBody, compact, "<font color=\"#996633\">ab cd</font>"},
        {"across a pair of spaces", "ab  cd", oneColourBody, compact,
         "<font color=\"#996633\">ab&nbsp&nbspcd</font>"},
        {"BBCode across spaces", "ab   cd", oneColourBody, compacted(kBbcode),
         "[color=#996633]ab   cd[/color]"},
        {"not across a line break", "ab\r\ncd", oneColourBody, compact,
         "<font color=\"#996633\">ab</font><br><font color=\"#996633\">cd</font>"},
        {"not across a typed tag", "a<b>b</b>", oneColourBody, compact,
         "<font color=\"#996633\">a</font><b><font color=\"#996633\">b</font></b>"},
        {"spaces at the ends stay outside", " ab  ", oneColourBody, compact,
         " <font color=\"#996633\">ab</font>&nbsp&nbsp"},
        {"different colours are not merged", "Hi !", gradientBody, compact,
         "<font color=\"#FF0000\">H</font><font color=\"#FF3300\">i</font> "
         "<font color=\"#FF9900\">!</font>"},
        {"waves merged inside the colour", "aaaaaa", wavesY, compact,
         "<font color=\"#996633\"><sup>aa</sup>a<sub>aa</sub>a</font>"},
        {"waves not across spaces", "ab cd",
         [](FormattingState& s) {
             oneColourBody(s);
             s.WavesOn = 1;
             s.FontSizeIndex = 7;
         },
         compact, "<font color=\"#996633\">a<sup>b</sup> <sup>c</sup>d</font>"},
        {"waves alone", "Salut toi",
         [](FormattingState& s) {
             bodyOnly(s);
             s.WavesOn = 1;
         },
         compacted(kCss), "<sup>Sa</sup>l<sub>ut</sub> t<sup>oi</sup>"},
        {"sizes never repeat side by side", "abc",
         [](FormattingState& s) {
             oneColourBody(s);
             s.WavesOn = 1;
             s.WavesKind = 1;
         },
         compacted(kBbcode),
         "[color=#996633][size=2]a[/size][size=3]b[/size][size=4]c[/size]"
         "[/color]"},
        {"without effects nothing changes", "a  b\r\nc", bodyOnly, compact, "a&nbsp&nbspb<br>c"},
    });
}

// What a browser or a forum shows of a body: each character with the colour and the wave
// tags around it. A space shows no colour, so none is kept for it (but a wave changes its
// width). Only the tags the program writes are read as tags.
struct Cell {
    std::string text;
    std::string colour;
    std::string wave;
    bool operator==(const Cell& o) const {
        return text == o.text && colour == o.colour && wave == o.wave;
    }
};

std::ostream& operator<<(std::ostream& out, const Cell& c) {
    return out << "{" << c.text << " " << c.colour << " " << c.wave << "}";
}

std::vector<Cell> cells(const std::string& code, const GeneratorOptions& options) {
    static const char* const kCssSizes[] = {"x-small", "small",    "medium",   "large",
                                            "x-large", "xx-large", "xxx-large"};
    static const std::regex kOpening(
        "^(<font color=\"#(\\w{6})\">|<span style=\"color:#(\\w{6})\">|\\[color=#(\\w{6})\\]|"
        "<font size=\"(\\d)\">|<span style=\"font-size:([a-z-]+)\">|\\[size=(\\d+)\\]|"
        "<sup>|\\[sup\\]|<sub>|\\[sub\\])");
    static const std::regex kClosing(
        "^(</font>|</span>|\\[/color\\]|\\[/size\\]|</sup>|\\[/sup\\]|</sub>|\\[/sub\\])");
    std::vector<std::pair<char, std::string>> open; // 'c' colour or 'w' wave, with its value
    std::vector<Cell> out;
    const auto add = [&](std::string text) {
        Cell cell{std::move(text), "", ""};
        for (const auto& [kind, value] : open) {
            if (kind == 'w')
                cell.wave = value;
            else if (cell.text != " ")
                cell.colour = value;
        }
        out.push_back(cell);
    };
    std::size_t i = 0;
    while (i < code.size()) {
        std::smatch m;
        const std::string rest = code[i] == '<' || code[i] == '[' ? code.substr(i, 40) : "";
        if (std::regex_search(rest, m, kOpening)) {
            if (m[2].matched || m[3].matched || m[4].matched) {
                open.emplace_back('c', m[2].str() + m[3].str() + m[4].str());
            } else if (m[5].matched) {
                open.emplace_back('w', m[5].str());
            } else if (m[6].matched) {
                for (int k = 0; k < 7; ++k)
                    if (m[6].str() == kCssSizes[k])
                        open.emplace_back('w', std::to_string(k + 1));
            } else if (m[7].matched) {
                int size = std::stoi(m[7].str());
                if (options.percentSizes)
                    size = size == 50 ? 1 : size == 85 ? 2 : (size - 50) / 25 + 1;
                open.emplace_back('w', std::to_string(size));
            } else {
                open.emplace_back('w', m[1].str().substr(1, 3));
            }
            i += static_cast<std::size_t>(m.length(0));
        } else if (std::regex_search(rest, m, kClosing)) {
            EXPECT_FALSE(open.empty()) << code;
            if (!open.empty())
                open.pop_back();
            i += static_cast<std::size_t>(m.length(0));
        } else if (code.compare(i, 6, "&nbsp;") == 0 || code.compare(i, 5, "&nbsp") == 0) {
            add(" ");
            i += code.compare(i, 6, "&nbsp;") == 0 ? 6 : 5;
        } else if (options.format != OutputFormat::BbCode && code.compare(i, 4, "<br>") == 0) {
            add("\r");
            add("\n");
            i += 4;
        } else {
            add(code.substr(i, 1));
            ++i;
        }
    }
    EXPECT_TRUE(open.empty()) << code;
    return out;
}

const char* const kPieces[] = {"a",   "Z",  " ",    "  ", "\r\n",    "\n",       "\r",
                               "<",   ">",  "<br>", "é",  "e\u0301", "👍🏽", "€",
                               "x y", "\"", "[",    "]",  "<p",      "Z>"};

FormattingState randomState(std::mt19937& rng) {
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    FormattingState st;
    st.IgnoreTextTags = 1;
    st.GradientOn = static_cast<std::uint8_t>(pick(2));
    st.WavesOn = static_cast<std::uint8_t>(pick(2));
    st.WavesKind = static_cast<std::uint8_t>(pick(2));
    st.FontSizeIndex = static_cast<std::uint8_t>(pick(9));
    st.GradientSymmetry = static_cast<std::uint8_t>(pick(3));
    // Few colours, so that neighbours often share one.
    const Color colours[] = {0x0000FF, 0x0000FE, 0x00FFFF, 0x123456};
    st.GradientStartColor = colours[pick(4)];
    st.GradientEndColor = colours[pick(4)];
    return st;
}

std::string randomText(std::mt19937& rng, const char* const* pieces, std::size_t n) {
    std::string text;
    const auto length = rng() % 40;
    for (unsigned k = 0; k < length; ++k)
        text += pieces[rng() % n];
    return text;
}

// Every format, compact or not, shows each character with the colour and the wave the
// classic code gives it.
TEST(FormatsDifferential, everyFormatShowsWhatTheClassicCodeShows) {
    std::mt19937 rng(777);
    const GeneratorOptions formats[] = {compacted({}),
                                        kCss,
                                        compacted(kCss),
                                        kBbcode,
                                        kBbcodePercent,
                                        compacted(kBbcode),
                                        compacted(kBbcodePercent)};
    for (int round = 0; round < 1500; ++round) {
        const std::string text = randomText(rng, kPieces, std::size(kPieces));
        const FormattingState st = randomState(rng);
        const bool keep = rng() % 2;
        const std::string classic = GenerateCode(text, st, keepingLineBreaks({}, keep));
        const std::vector<Cell> expected = cells(classic, {});
        for (const GeneratorOptions& options : formats) {
            const std::string code = GenerateCode(text, st, keepingLineBreaks(options, keep));
            ASSERT_EQ(cells(code, options), expected)
                << "text: " << text << "\ncode: " << code << "\nclassic: " << classic;
            if (options.compact) {
                EXPECT_LE(
                    code.size(),
                    GenerateCode(text, st, keepingLineBreaks(uncompacted(options), keep)).size());
            }
        }
    }
}

// Element for element: the styles' code is the classic code with each font tag spelt as a
// span with its style and each non-breaking space with its semicolon.
TEST(FormatsDifferential, stylesSpellTheClassicCodeElementForElement) {
    static const char* const kCssSizes[] = {"x-small", "small",    "medium",   "large",
                                            "x-large", "xx-large", "xxx-large"};
    std::mt19937 rng(4242);
    for (int round = 0; round < 1500; ++round) {
        const std::string text = randomText(rng, kPieces, std::size(kPieces));
        const FormattingState st = randomState(rng);
        const bool keep = rng() % 2;
        std::string expected = GenerateCode(text, st, keepingLineBreaks({}, keep));
        expected =
            std::regex_replace(expected, std::regex("<font color=\"#"), "<span style=\"color:#");
        for (int size = 1; size <= 7; ++size)
            expected = std::regex_replace(
                expected, std::regex("<font size=\"" + std::to_string(size) + "\">"),
                std::string("<span style=\"font-size:") + kCssSizes[size - 1] + "\">");
        expected = std::regex_replace(expected, std::regex("</font>"), "</span>");
        expected = std::regex_replace(expected, std::regex("&nbsp"), "&nbsp;");
        ASSERT_EQ(GenerateCode(text, st, keepingLineBreaks(kCss, keep)), expected)
            << "text: " << text;
    }
}

// The BBCode tags the program writes, and the typed tags it translates, always nest and
// close, whatever tags and brackets the user typed.
TEST(FormatsDifferential, bbcodeTagsAlwaysBalance) {
    const char* const pieces[] = {"a",
                                  "Z",
                                  " ",
                                  "\r\n",
                                  "<",
                                  ">",
                                  "[",
                                  "]",
                                  "[/",
                                  "=",
                                  "<b>",
                                  "</b>",
                                  "<i>",
                                  "</i>",
                                  "<U>",
                                  "</u>",
                                  "<s>",
                                  "</s>",
                                  "</a>",
                                  "<br>",
                                  "<a href=\"u]\">",
                                  "<img src=\"p[\">",
                                  "<a href=x>",
                                  "<a>",
                                  "<img>",
                                  "é",
                                  "\"",
                                  "'"};
    static const std::regex kTag("^\\[(/?)(b|i|u|s|url|img|color|size|font|sup|sub|center|"
                                 "right)(=[^\\]]*)?\\]");
    std::mt19937 rng(99);
    for (int round = 0; round < 2000; ++round) {
        const std::string text = randomText(rng, pieces, std::size(pieces));
        FormattingState st = randomState(rng);
        st.IgnoreTextTags = static_cast<std::uint8_t>(rng() % 2);
        st.Bold = static_cast<std::uint8_t>(rng() % 2);
        st.Underline = static_cast<std::uint8_t>(rng() % 2 ? 4 : 0);
        st.Alignment = static_cast<std::uint8_t>(rng() % 3);
        st.SignatureOn = static_cast<std::uint8_t>(rng() % 2);
        st.SignatureText = "S]";
        st.SignatureImageUrl = "i[g";
        st.SignatureLink = "l]@";
        for (const GeneratorOptions& options : {kBbcode, compacted(kBbcodePercent)}) {
            const std::string code = GenerateCode(text, st, options);
            std::vector<std::string> open;
            for (std::size_t i = 0; i < code.size(); ++i) {
                std::smatch m;
                const std::string rest = code.substr(i, 40);
                if (code[i] != '[' || !std::regex_search(rest, m, kTag))
                    continue;
                if (m[1].length() == 0) {
                    open.push_back(m[2]);
                } else {
                    ASSERT_FALSE(open.empty()) << "text: " << text << "\ncode: " << code;
                    ASSERT_EQ(open.back(), m[2]) << "text: " << text << "\ncode: " << code;
                    open.pop_back();
                }
                i += static_cast<std::size_t>(m.length(0)) - 1;
            }
            EXPECT_TRUE(open.empty()) << "text: " << text << "\ncode: " << code;
        }
    }
}

} // namespace
} // namespace zk
