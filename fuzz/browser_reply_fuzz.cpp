// The browser's answer to a capture comes from whatever listens on the debugging port: any
// bytes, cut anywhere. Whatever arrives, the reading ends, stays bounded, and a reply is
// always '"URL","TITLE"' with a URL free of commas.
#include <cstddef>
#include <cstdint>

#include "browser_reply.h"
#include "fuzz_input.h"
#include "image_list.h"
#include "text.h"

using zkfuzz::check;

namespace {

void checkReply(const std::string& reply) {
    check(zk::isValidUtf8(reply), "reply is not UTF-8");
    if (reply.empty())
        return;
    check(reply.size() >= 5 && reply.front() == '"' && reply.back() == '"', "reply not quoted");
    const std::size_t comma = reply.find(',');
    check(comma != std::string::npos && comma >= 2 && reply[comma - 1] == '"' &&
              reply[comma + 1] == '"',
          "the URL does not end at the first comma");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    if (const auto reply = zk::windowInfoFromTargetList(bytes))
        checkReply(*reply);
    if (const auto body = zk::dechunkHttpBody(bytes))
        check(body->size() <= bytes.size(), "dechunked body longer than its chunks");
    if (const auto response = zk::parseHttpResponse(bytes, false))
        check(response->body.size() <= bytes.size(), "body longer than the response");
    check(zk::parseHttpResponse(bytes, true).has_value(), "a closed connection left unread");

    // The same bytes arriving in two parts: the first part alone may or may not be an
    // answer, the whole always is once the server has closed.
    const std::size_t cut = size == 0 ? 0 : data[0] % (size + 1);
    (void)zk::browserAnswerFrom(bytes.substr(0, cut), false);
    const auto answer = zk::browserAnswerFrom(bytes, true);
    check(answer.has_value(), "a closed connection gave no answer");
    if (answer->answer == zk::BrowserAnswer::Answered) {
        checkReply(answer->text);
        const std::string address = zk::addressFromBrowserReply(answer->text);
        check(address.empty() || zk::isAcceptableCapturedAddress(zk::utf8ToU32(address)),
              "a refused address taken");
    } else
        check(answer->text.empty(), "text without an answer");
    return 0;
}
