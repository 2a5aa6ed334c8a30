// Reading the browser's answer to a capture: the HTTP response, its chunked body and the
// JSON list of the browser's pages, down to the reply '"URL","TITLE"'. No network and no
// toolkit: the bytes received so far go in, so that every piece can be tested on its own.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zk {

// What came of asking the browser for its list of pages.
enum class BrowserAnswer {
    Answered,  // a page was found; the text holds the reply
    NoPage,    // the browser answered without any page
    NoBrowser, // nothing listens on the port (known at once) or the link failed
    TimedOut,  // no complete answer within the time-out
    BadReply,  // something answered, but not a list of targets
};

struct BrowserAnswerText final {
    std::string text; // the reply (UTF-8) when Answered, else empty
    BrowserAnswer answer = BrowserAnswer::NoBrowser;
};

// A list of targets is a few kilobytes; anything far larger is not one.
inline constexpr std::size_t kMaxBrowserReplyBytes = std::size_t{8} << 20;
// The headers must have ended within this many bytes.
inline constexpr std::size_t kMaxBrowserHeaderBytes = std::size_t{64} << 10;

struct HttpResponse final {
    int status = 0; // 0 when there is no status line
    std::string body;
};

// The body of a chunked transfer: nullopt while its last chunk has not arrived; an empty
// body when a chunk size is not a number of 0 or more.
std::optional<std::string> dechunkHttpBody(std::string_view data);

// The response in data, or nullopt while more is to come. closed: the server has closed the
// connection, so a body without a length ends there, and a response cut short is the empty
// response of status 0.
std::optional<HttpResponse> parseHttpResponse(std::string_view data, bool closed);

// The reply made from the browser's list of targets, a JSON array: its first entry of type
// "page" gives '"URL","TITLE"', the quotes included (UTF-8; a lone UTF-16 surrogate of the
// JSON text is written "?"). A comma or a double quote in the URL is written %2C or %22,
// the same address, so that the URL always ends at the first comma of the reply. Empty
// when the list holds no page; nullopt when json is not a JSON array.
std::optional<std::string> windowInfoFromTargetList(std::string_view json);

// What the bytes received so far make: nullopt while more is to come, never once the
// server has closed the connection. Past kMaxBrowserReplyBytes, or past
// kMaxBrowserHeaderBytes without the end of the headers, the answer is BadReply.
std::optional<BrowserAnswerText> browserAnswerFrom(std::string_view received, bool closed);

} // namespace zk
