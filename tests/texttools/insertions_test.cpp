#include "insertions.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using zk::LinkKind;

struct LinkCase {
    const char* what;
    const char* text;
    std::size_t selStart;
    std::size_t selLength;
    LinkKind kind;
    const char* expected;
    std::size_t caret;
};

TEST(MakeLink, FromTheSelection) {
    const LinkCase cases[] = {
        {"plain word: address and visible text, caret before the address", "say hello now", 4, 5,
         LinkKind::TextLink, "say <a href=\"hello\">hello</a> now", 13},
        {"e-mail address gets mailto: in the address only", "écrire à bob@exemple.fr", 11, 14,
         LinkKind::TextLink, "écrire à <a href=\"mailto:bob@exemple.fr\">bob@exemple.fr</a>", 27},
        {"image tag becomes a link to its own address", "<img src=\"a.gif\">", 0, 17,
         LinkKind::ImageLink, "<a href=\"a.gif\"><img src=\"a.gif\" border=\"0\"></a>", 48},
        {"image tag inside a text; caret after the replacement", "x <img src=\"a.gif\"> y", 2, 17,
         LinkKind::ImageLink, "x <a href=\"a.gif\"><img src=\"a.gif\" border=\"0\"></a> y", 50},
        {"image address with an at sign takes no mailto:", "<img src=\"http://u@h/p.png\">", 0, 28,
         LinkKind::ImageLink,
         "<a href=\"http://u@h/p.png\"><img src=\"http://u@h/p.png\" border=\"0\"></a>", 70},
        {"a word holding img is linked as text", "voir imgur.com", 5, 9, LinkKind::TextLink,
         "voir <a href=\"imgur.com\">imgur.com</a>", 14},
        {"img alone is linked as text", "img", 0, 3, LinkKind::TextLink, "<a href=\"img\">img</a>",
         9},
        {"selection over an emoji", "👍🏽", 0, 8, LinkKind::TextLink,
         "<a href=\"👍🏽\">👍🏽</a>", 9},
    };
    for (const auto& c : cases) {
        const std::string text = c.text;
        EXPECT_EQ(zk::planLink(text.substr(c.selStart, c.selLength)).kind, c.kind) << c.what;
        const zk::CaretEdit edit = zk::makeLink(text, c.selStart, c.selLength);
        EXPECT_EQ(edit.text, c.expected) << c.what;
        EXPECT_EQ(edit.caret, c.caret) << c.what;
    }
}

TEST(MakeLink, NothingSelectedChangesNothing) {
    EXPECT_EQ(zk::planLink("").kind, LinkKind::NothingSelected);
    const zk::CaretEdit edit = zk::makeLink("abc", 1, 0);
    EXPECT_EQ(edit.text, "abc");
    EXPECT_EQ(edit.caret, 1u);
    EXPECT_EQ(zk::linkNeedsSelectionMessage(), "\r\nSélectionnez le lien !");
}

TEST(MakeLink, ImageTagFromTheImageListRoundTrips) {
    const std::string tag = zk::imageTag("http://ex.fr/chat.jpg");
    EXPECT_EQ(tag, "<img src=\"http://ex.fr/chat.jpg\">");
    EXPECT_EQ(zk::planLink(tag).replacement,
              "<a href=\"http://ex.fr/chat.jpg\"><img src=\"http://ex.fr/chat.jpg\" "
              "border=\"0\"></a>");
}

struct InsertCase {
    const char* what;
    const char* text;
    std::size_t selStart;
    std::size_t selLength;
    std::string opening;
    std::string closing;
    const char* expected;
    std::size_t caret;
};

TEST(InsertAtCaret, Table) {
    const std::string sound = zk::soundTag("/home/u/son.wav");
    const InsertCase cases[] = {
        {"sound at the caret", "ab", 1, 0, sound, "",
         "a<bgsound src=\"/home/u/son.wav\" loop= \"-1\">b", 1 + sound.size()},
        {"sound in front of the selection, which stays", "a sel b", 2, 3, sound, "",
         "a <bgsound src=\"/home/u/son.wav\" loop= \"-1\">sel b", 2 + sound.size()},
        {"character at the start", "x", 0, 0, "é", "", "éx", 2},
        {"character at the end", "x", 1, 0, " ", "", "x ", 2},
        {"lone line feeds become CR LF, the caret moves with them", "a\nb", 3, 0, "<\n>", "",
         "a\r\nb<\r\n>", 8},
        {"a CR at the end of the opening keeps its LF", "ab", 1, 0, "x\r", "\ny", "ax\r\nyb", 4},
        {"offsets past the end are clamped", "ab", 10, 10, "[", "]", "ab[]", 3},
        {"length past the end is clamped", "ab", 1, 10, "[", "]", "a[b]", 2},
    };
    for (const auto& c : cases) {
        const zk::CaretEdit edit =
            zk::insertAtCaret(c.text, c.selStart, c.selLength, c.opening, c.closing);
        EXPECT_EQ(edit.text, c.expected) << c.what;
        EXPECT_EQ(edit.caret, c.caret) << c.what;
    }
}

TEST(SoundTag, PlaceholderAndChosenFile) {
    EXPECT_EQ(zk::soundPlaceholderTag(), "<bgsound src=\"URL DU FICHIER SON\" loop= \"-1\">");
    EXPECT_EQ(zk::soundTag("/home/u/Ma musique/été.mid"),
              "<bgsound src=\"/home/u/Ma musique/été.mid\" loop= \"-1\">");
}

TEST(CharacterTable, CodesAndCharacters) {
    EXPECT_EQ(zk::kCharacterCellCount, 224);
    EXPECT_EQ(zk::characterCodeOfCell(0), 32);
    EXPECT_EQ(zk::characterCodeOfCell(223), 255);
    struct Row {
        int code;
        const char* expected;
    };
    const Row rows[] = {
        {32, " "},       {65, "A"},  {126, "~"}, {127, "\x7F"},   {128, "€"},
        {129, "\u0081"}, {149, "•"}, {159, "Ÿ"}, {160, "\u00A0"}, {233, "é"},
        {255, "ÿ"},      {31, ""},   {256, ""},  {-1, ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(zk::characterForCode(r.code), r.expected) << r.code;
}

TEST(CharacterTable, InsertingACharacterFromTheTable) {
    const zk::CaretEdit edit = zk::insertAtCaret("caf", 3, 0, zk::characterForCode(233), "");
    EXPECT_EQ(edit.text, "café");
    EXPECT_EQ(edit.caret, 5u);
}

} // namespace
