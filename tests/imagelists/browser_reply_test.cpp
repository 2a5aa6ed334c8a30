#include <gtest/gtest.h>

#include <string>

#include "browser_reply.h"
#include "image_list.h"

namespace zk {
namespace {

using namespace std::string_literals;

const std::string kTargets =
    R"([{"type":"browser_ui","url":"chrome://omnibox/","title":"Omnibox"},)"
    R"({"type":"page","url":"http://img.example/a.gif","title":"Une image, en effet"},)"
    R"({"type":"page","url":"http://other/","title":"Autre"}])";
const std::string kFirstPage = R"("http://img.example/a.gif","Une image, en effet")";

std::string ok(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body;
}

TEST(TargetList, theFirstPageGivesTheReply) {
    struct Case {
        const char* name;
        std::string json;
        std::optional<std::string> reply; // nullopt: not a list
    };
    const Case cases[] = {
        {"first page", kTargets, kFirstPage},
        {"no page", R"([{"type":"service_worker","url":"x","title":"y"}])", ""},
        {"empty list", "[]", ""},
        {"blanks and a byte order mark", "\xEF\xBB\xBF \r\n\t[ ]\n", ""},
        {"not a list", R"({"type":"page","url":"x"})", std::nullopt},
        {"a string", R"("page")", std::nullopt},
        {"not json", "<html>", std::nullopt},
        {"empty", "", std::nullopt},
        {"unicode title", R"([{"type":"page","url":"file:///tmp/%C3%A9.html","title":"été 😀"}])",
         R"("file:///tmp/%C3%A9.html","été 😀")"},
        // The address always ends at the first comma of the reply.
        {"comma and quote in the address",
         R"([{"type":"page","url":"http://x/a,b\".gif","title":"t,\"u"}])",
         R"("http://x/a%2Cb%22.gif","t,"u")"},
        {"entries that are not objects", R"([1,"page",null,[{"type":"page"}],{"type":"page"}])",
         R"("","")"},
        {"of a name given twice the last counts",
         R"([{"type":"page","url":"a","url":"b","type":"x"},{"type":"page","url":"c","url":7}])",
         R"("","")"},
        {"escapes", R"([{"type":"p\u0061ge","url":"\/a\\b\q","title":"\ud83d\ude00\ud800x\b"}])",
         "\"/a\\bq\",\"\xF0\x9F\x98\x80?x\b\""},
        {"a byte order mark starting a value without escapes is dropped",
         "[{\"type\":\"page\",\"url\":\"\xEF\xBB\xBFhttp://x/\",\"title\":\"\xEF\xBB\xBF\\t\"}]",
         "\"http://x/\",\"\xEF\xBB\xBF\t\""},
        {"a name is read as it is written", "[{\"\xEF\xBB\xBFtype\":\"page\",\"url\":\"a\"}]", ""},
        {"raw control characters in a string", "[{\"type\":\"page\",\"url\":\"a\nb\"}]",
         "\"a\nb\",\"\""},
        {"numbers", "[0,-1,2.5,1e3,-0.0E-2,.5,5.,1e-320,12345678901234567890]", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(windowInfoFromTargetList(c.json), c.reply) << c.name;
}

TEST(TargetList, whatIsNotJsonIsNotAList) {
    const char* const bad[] = {
        "[1,]",
        "[,1]",
        "[1 2]",
        "[",
        "[\"abc]",
        "[\"\\u12\"]",
        "[\"\\",
        "[\"\xC3\"]",         // a cut UTF-8 character
        "[\"\xED\xA0\x80\"]", // a surrogate written in UTF-8
        "[\"\xC0\xAF\"]",     // an overlong form
        "[01]",               // a leading zero
        "[-]",                // a sign alone
        "[.]",                // a point alone
        "[1e]",               // an exponent without digits
        "[1e999]",            // a number too large for a double
        "[1e-999]",           // a non-zero number read as zero
        "[tru]",              // a cut literal
        "[nul]",              //
        "[True]",             //
        "[{\"a\" 1}]",        // no name separator
        "[{\"a\":1,}]",       // a comma before the end
        "[{1:2}]",            // a name that is not a string
        "[] []",              // something after the list
        "\xEF\xBB\xBF",       // a byte order mark alone
        " [\x0B]",            // a vertical tab is not a blank
    };
    for (const char* json : bad)
        EXPECT_EQ(windowInfoFromTargetList(json), std::nullopt) << json;
}

TEST(TargetList, atMost1024LevelsAreRead) {
    const auto nested = [](int levels) {
        return std::string(static_cast<std::size_t>(levels), '[') +
               std::string(static_cast<std::size_t>(levels), ']');
    };
    EXPECT_EQ(windowInfoFromTargetList(nested(1024)), "");
    EXPECT_EQ(windowInfoFromTargetList(nested(1025)), std::nullopt);
    // Far deeper texts are refused without exhausting the stack.
    EXPECT_EQ(windowInfoFromTargetList(std::string(1000000, '[')), std::nullopt);
    EXPECT_EQ(windowInfoFromTargetList("[" + std::string(1000, '{') + "]"), std::nullopt);
}

TEST(ChunkedBody, isTheChunksJoined) {
    struct Case {
        const char* name;
        std::string data;
        std::optional<std::string> body; // nullopt: more is to come
    };
    const Case cases[] = {
        {"two chunks", "4\r\nabcd\r\n2\r\nef\r\n0\r\n\r\n", "abcdef"},
        {"extensions, blanks, capitals, a prefix",
         " A ;x=y\r\n0123456789\r\n0x2\r\nab\r\n0;end\r\n\r\n", "0123456789ab"},
        {"no chunk", "0\r\n\r\n", ""},
        {"the last chunk still to come", "4\r\nabcd\r\n", std::nullopt},
        {"a chunk cut short", "4\r\nab", std::nullopt},
        {"a size line cut short", "4", std::nullopt},
        {"a size that is not a number", "zz\r\nab\r\n0\r\n\r\n", ""},
        {"a negative size", "-2\r\nab\r\n0\r\n\r\n", ""},
        {"a size past 64 bits", "10000000000000000\r\nab\r\n", ""},
        // The largest size waits for its chunk; nothing is added to it.
        {"the largest size", "7fffffffffffffff\r\nabc\r\n0\r\n\r\n", std::nullopt},
        {"a size near the largest", "7ffffffffffffff0\r\nabc\r\n0\r\n\r\n", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dechunkHttpBody(c.data), c.body) << c.name;
}

TEST(HttpResponse, isCompleteAtItsLengthItsLastChunkOrTheClose) {
    struct Case {
        const char* name;
        std::string data;
        bool closed;
        std::optional<int> status; // nullopt: more is to come
        std::string body;
    };
    const std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: gzip, Chunked\r\n\r\n"
                                "3\r\nabc\r\n0\r\n\r\n";
    const Case cases[] = {
        {"sized", ok("[1]"), false, 200, "[1]"},
        {"sized, more than its length", ok("[1]") + "xyz", false, 200, "[1]"},
        {"sized, cut short", ok("[1]").substr(0, ok("[1]").size() - 1), false, std::nullopt, ""},
        {"sized, cut short and closed", ok("[1]").substr(0, ok("[1]").size() - 1), true, 0, ""},
        {"chunked", chunked, false, 200, "abc"},
        {"chunked, closed", chunked, true, 200, "abc"},
        {"chunked, not yet at its end", chunked.substr(0, chunked.size() - 2), false, std::nullopt,
         ""},
        {"chunked, cut and closed", chunked.substr(0, chunked.size() - 7), true, 0, ""},
        {"no length", "HTTP/1.1 200 OK\r\n\r\n[1]", false, std::nullopt, ""},
        {"no length, closed", "HTTP/1.1 200 OK\r\n\r\n[1]", true, 200, "[1]"},
        {"headers not ended", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n", false, std::nullopt, ""},
        {"headers not ended, closed", "HTTP/1.1 200 OK\r\n", true, 0, ""},
        {"nothing, closed", "", true, 0, ""},
        {"a status that is not one", "HTTP/1.1 2OO OK\r\nContent-Length: 0\r\n\r\n", false, 0, ""},
        {"not HTTP", "HTTX/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", false, 0, ""},
        {"no status word", "HTTP/1.1\r\nContent-Length: 0\r\n\r\n", false, 0, ""},
        {"another status", "HTTP/1.0 404 Not Found\r\ncontent-length:  2 \r\n\r\nno", false, 404,
         "no"},
        {"a bad length is no length", "HTTP/1.1 200 OK\r\nContent-Length: 3x\r\n\r\nabc", true, 200,
         "abc"},
        {"a negative length is no length", "HTTP/1.1 200 OK\r\nContent-Length: -1\r\n\r\nab", false,
         std::nullopt, ""},
        {"the last good length counts",
         "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nContent-Length: 2\r\nContent-Length: x\r\n\r\nab",
         false, 200, "ab"},
        {"lines ended by LF alone", "HTTP/1.1 200 OK\nContent-Length: 2\r\n\r\nab", false, 200,
         "ab"},
        {"a length past 64 bits", "HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999\r\n\r\n",
         false, std::nullopt, ""},
        {"the largest length", "HTTP/1.1 200 OK\r\nContent-Length: 9223372036854775807\r\n\r\nab",
         false, std::nullopt, ""},
    };
    for (const Case& c : cases) {
        const std::optional<HttpResponse> response = parseHttpResponse(c.data, c.closed);
        ASSERT_EQ(response.has_value(), c.status.has_value()) << c.name;
        if (!response)
            continue;
        EXPECT_EQ(response->status, *c.status) << c.name;
        EXPECT_EQ(response->body, c.body) << c.name;
    }
}

TEST(BrowserAnswer, isTheReplyOrWhyThereIsNone) {
    struct Case {
        const char* name;
        std::string received;
        bool closed;
        std::optional<BrowserAnswer> answer; // nullopt: more is to come
        std::string text;
    };
    const std::string huge(kMaxBrowserReplyBytes, ' ');
    const Case cases[] = {
        {"a list with pages", ok(kTargets), false, BrowserAnswer::Answered, kFirstPage},
        {"half of it", ok(kTargets).substr(0, 80), false, std::nullopt, ""},
        {"half of it, closed", ok(kTargets).substr(0, 80), true, BrowserAnswer::BadReply, ""},
        {"until closed", "HTTP/1.1 200 OK\r\n\r\n" + kTargets, true, BrowserAnswer::Answered,
         kFirstPage},
        {"no page", ok("[]"), false, BrowserAnswer::NoPage, ""},
        {"not found", "HTTP/1.1 404 Not Found\r\nContent-Length: 2\r\n\r\n[]", false,
         BrowserAnswer::BadReply, ""},
        {"not a list", ok("<html></html>"), false, BrowserAnswer::BadReply, ""},
        {"closed at once", "", true, BrowserAnswer::BadReply, ""},
        {"far too long", ok("[" + huge + "]"), false, BrowserAnswer::BadReply, ""},
        {"far too long, closed", ok("[" + huge + "]"), true, BrowserAnswer::BadReply, ""},
        {"a header without end", "HTTP/1.1 200 OK\r\nX: " + std::string(100000, 'x'), false,
         BrowserAnswer::BadReply, ""},
        // The status line and "X: " take 20 bytes, the end of the headers 4.
        {"headers ending at the bound",
         "HTTP/1.1 200 OK\r\nX: " + std::string(kMaxBrowserHeaderBytes - 24, 'x') + "\r\n\r\n" +
             kTargets,
         false, std::nullopt, ""},
        {"headers ending past the bound",
         "HTTP/1.1 200 OK\r\nX: " + std::string(kMaxBrowserHeaderBytes - 23, 'x') + "\r\n\r\n" +
             kTargets,
         false, BrowserAnswer::BadReply, ""},
    };
    for (const Case& c : cases) {
        const std::optional<BrowserAnswerText> answer = browserAnswerFrom(c.received, c.closed);
        ASSERT_EQ(answer.has_value(), c.answer.has_value()) << c.name;
        if (!answer)
            continue;
        EXPECT_EQ(answer->answer, *c.answer) << c.name;
        EXPECT_EQ(answer->text, c.text) << c.name;
    }
}

TEST(BrowserAnswer, refusedAddressesLeaveTheCaptureEmpty) {
    struct Case {
        const char* url; // as the JSON text writes it
        const char* address;
    };
    const Case cases[] = {
        {"http://x/a.gif", "http://x/a.gif"},
        {"javascript:alert(1)", ""},
        {"  JavaScript:alert(1)", ""},
        {R"(http://x/a.gif\nhttp://evil/b.gif)", ""},
        {R"(http://x/a\u0000.gif)", ""},
        {R"(http://x/a\u0085.gif)", ""},
        {R"(http://x/a\u2028.gif)", ""},
        {R"(http://x/a\ud800.gif)", "http://x/a?.gif"},
        {"http://x/?javascript:1", "http://x/?javascript:1"},
    };
    for (const Case& c : cases) {
        const std::string json =
            R"([{"type":"page","url":")" + std::string(c.url) + R"(","title":"\",\"x"}])";
        const std::optional<BrowserAnswerText> answer = browserAnswerFrom(ok(json), false);
        ASSERT_TRUE(answer) << c.url;
        EXPECT_EQ(answer->answer, BrowserAnswer::Answered) << c.url;
        EXPECT_EQ(addressFromBrowserReply(answer->text), c.address) << c.url;
    }
}

} // namespace
} // namespace zk
