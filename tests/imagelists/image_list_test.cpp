#include <gtest/gtest.h>

#include "image_list.h"
#include "text.h"

namespace zk {
namespace {

TEST(ImagePages, oneImagePageIsOneLine) {
    EXPECT_EQ(oneImagePage("http://x.org/a.gif"),
              "<html><head></head><body><div align=\"center\"><img "
              "src=\"http://x.org/a.gif\"></div></body></html>\r\n");
}

TEST(ImagePages, wholeListPageHasAnOpeningLineOneLinePerEntryAndAClosingLine) {
    EXPECT_EQ(wholeListPage({"http://x/1.gif", "file:///home/u/2.png"}),
              "<html><head></head><body><div align=\"center\"><h5>\r\n"
              "<img src=\"http://x/1.gif\"><br>http://x/1.gif<br>\r\n"
              "<img src=\"file:///home/u/2.png\"><br>file:///home/u/2.png<br>\r\n"
              "</h5></div></body></html>\r\n");
    EXPECT_EQ(wholeListPage({}), "<html><head></head><body><div align=\"center\"><h5>\r\n"
                                 "</h5></div></body></html>\r\n");
}

TEST(ImagePages, anEntryCannotAddMarkupToAPage) {
    const std::string hostile = "x\"><script>alert(1)</script><img src=\"y&z";
    const std::string escaped = "x&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;&lt;img "
                                "src=&quot;y&amp;z";
    EXPECT_EQ(escapeHtml(hostile), escaped);
    EXPECT_EQ(oneImagePage(hostile).find("<script>"), std::string::npos);
    EXPECT_EQ(wholeListPage({hostile}).find("<script>"), std::string::npos);
    EXPECT_NE(wholeListPage({hostile}).find("<br>" + escaped + "<br>"), std::string::npos);
    // An ordinary address is written as it is stored.
    EXPECT_EQ(escapeHtml("http://x/a b/\xC3\xA9.gif?q=1"), "http://x/a b/\xC3\xA9.gif?q=1");
}

TEST(ImageTag, isTheAddressEscapedInAnImgElement) {
    struct Case {
        const char* address;
        const char* tag;
    };
    const Case cases[] = {
        {"http://x/a.gif", "<img src=\"http://x/a.gif\">"},
        {"", "<img src=\"\">"},
        // The address cannot end the attribute and add one of its own.
        {"http://img.example/chat.png\" onerror=\"alert(1)",
         "<img src=\"http://img.example/chat.png&quot; onerror=&quot;alert(1)\">"},
        // "&" starts no reference of its own; "<" and ">" mean nothing in the attribute.
        {"http://x/?a=1&quot=2&b=<3>", "<img src=\"http://x/?a=1&amp;quot=2&amp;b=<3>\">"},
        {"http://x/\xC3\xA9t\xC3\xA9 'a'.gif", "<img src=\"http://x/\xC3\xA9t\xC3\xA9 'a'.gif\">"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(imageTagFor(c.address), c.tag) << c.address;
}

TEST(AddPosition, beforeTheSelectedEntryUnlessItIsTheLast) {
    struct Case {
        int current;
        int count;
        int position;
    };
    const Case cases[] = {
        {2, 5, 2},  // the third of five: the new third entry
        {0, 5, 0},  // the first: before it
        {4, 5, 5},  // the last: after it
        {0, 0, 0},  // an empty list
        {0, 1, 1},  // the only entry is the last one
        {-1, 3, 3}, // nothing selected: at the end
        {7, 3, 3},  // an entry that does not exist: at the end
    };
    for (const Case& c : cases)
        EXPECT_EQ(addPosition(c.current, c.count), c.position) << c.current << " of " << c.count;
}

TEST(SelectionAfterDelete, designatesAnExistingEntry) {
    struct Case {
        int deleted;
        int remaining;
        int selected;
    };
    const Case cases[] = {
        {4, 4, 3}, // the last of five: the new last entry
        {3, 4, 2}, // the fourth of five: back by one, to the third
        {2, 4, 2}, // the third of five: the entry that took its place
        {0, 4, 0}, // the first of five
        {0, 1, 0}, // the first of two: the entry left, never -1
        {1, 1, 0}, // the second of two
        {0, 0, 0}, // the only entry: nothing left to select
        {9, 2, 1}, // past the end: the last entry
    };
    for (const Case& c : cases)
        EXPECT_EQ(selectionAfterDelete(c.deleted, c.remaining), c.selected)
            << c.deleted << ", " << c.remaining << " left";
}

TEST(AddressFromBrowserReply, theQuotedAddressBeforeTheFirstComma) {
    struct Case {
        const char* reply;
        const char* address;
    };
    const Case cases[] = {
        {"\"http://x.org/a.gif\",\"Une image\"", "http://x.org/a.gif"},
        {"\"file:///tmp/p.html\",\"Essai, page\",\"more\"", "file:///tmp/p.html"},
        {"\"http://x/\xC3\xA9t\xC3\xA9\",\"t\"", "http://x/\xC3\xA9t\xC3\xA9"},
        {"\"http://x.org/a.gif\" \"no comma\"", ""},
        {"", ""},
        {"\"\",\"title\"", ""}, // comma at position 3
        {"\"a\",\"t\"", "a"},   // comma at position 4
        {",x", ""},
        {"ab,", ""},
        {"abcd,", "bc"}, // no quotes: the same count of characters
    };
    for (const Case& c : cases)
        EXPECT_EQ(addressFromBrowserReply(c.reply), c.address) << c.reply;
}

TEST(AddressFromBrowserReply, refusesScriptsAndControlCharacters) {
    struct Case {
        std::string address;
        bool accepted;
    };
    const Case cases[] = {
        {"http://x.org/a.gif", true},
        {"file:///home/u/a%2Cb.png", true},
        {"http://x/?q=javascript:1", true},
        {"javascripts://x", true},
        {"", true},
        {"javascript:alert(1)", false},
        {"JavaScript:alert(1)", false},
        {"   javascript:alert(1)", false},
        {"javascript:", false},
        {"http://x/a\nb", false},
        {"http://x/a\rb", false},
        {std::string("http://x/a\0b", 12), false},
        {"http://x/a\tb", false},
        {"http://x/a\x1B[2Jb", false},
        {"http://x/a\x7F", false},
        {"http://x/a\xC2\x85", false},       // NEXT LINE
        {"http://x/a\xC2\x9F", false},       // the last C1 control
        {"http://x/a\xE2\x80\xA8", false},   // LINE SEPARATOR
        {"http://x/a\xE2\x80\xA9", false},   // PARAGRAPH SEPARATOR
        {"http://x/\xC2\xA0\xC3\xA9", true}, // no-break space, é
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isAcceptableCapturedAddress(utf8ToU32(c.address)), c.accepted) << c.address;
        // In a reply, a refused address gives the empty text, whatever the title.
        const std::string reply = "\"" + c.address + "\",\"titre\"";
        EXPECT_EQ(addressFromBrowserReply(reply), c.accepted ? c.address : std::string())
            << c.address;
    }
}

} // namespace
} // namespace zk
