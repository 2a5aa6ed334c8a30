#include "image_list.h"

#include "text.h"

namespace zk {

namespace {

// attributeOnly: "<" and ">" are left as they are, as inside a quoted attribute they
// mean nothing.
std::string escape(std::string_view text, bool attributeOnly) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '<':
            out += attributeOnly ? "<" : "&lt;";
            break;
        case '>':
            out += attributeOnly ? ">" : "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

std::string escapeHtml(std::string_view text) {
    return escape(text, false);
}

std::string escapeHtmlAttribute(std::string_view text) {
    return escape(text, true);
}

std::string oneImagePage(std::string_view address) {
    return "<html><head></head><body><div align=\"center\"><img src=\"" + escapeHtml(address) +
           "\"></div></body></html>\r\n";
}

std::string wholeListPage(const std::vector<std::string>& entries) {
    std::string page = "<html><head></head><body><div align=\"center\"><h5>\r\n";
    for (const std::string& entry : entries) {
        const std::string address = escapeHtml(entry);
        page += "<img src=\"" + address + "\"><br>" + address + "<br>\r\n";
    }
    page += "</h5></div></body></html>\r\n";
    return page;
}

std::string imageTagFor(std::string_view address) {
    return "<img src=\"" + escapeHtmlAttribute(address) + "\">";
}

int addPosition(int currentItem, int count) {
    if (currentItem >= 0 && currentItem < count - 1)
        return currentItem;
    return count < 0 ? 0 : count;
}

int selectionAfterDelete(int deleted, int remaining) {
    if (remaining <= 0)
        return 0;
    int selected = deleted;
    if (selected >= remaining - 1)
        selected -= 1;
    if (selected > remaining - 1)
        selected = remaining - 1;
    return selected < 0 ? 0 : selected;
}

std::string addressFromBrowserReply(std::string_view reply) {
    const std::u32string text = utf8ToU32(reply);
    const std::size_t comma = text.find(U',');
    if (comma == std::u32string::npos)
        return {};
    const std::size_t position = comma + 1; // counted from 1
    if (position <= 3)
        return {};
    const std::u32string_view address = std::u32string_view(text).substr(1, position - 3);
    return isAcceptableCapturedAddress(address) ? u32ToUtf8(address) : std::string();
}

bool isAcceptableCapturedAddress(std::u32string_view address) {
    for (const char32_t c : address) {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029)
            return false;
    }
    const std::size_t start = address.find_first_not_of(U' ');
    if (start == std::u32string_view::npos)
        return true;
    constexpr std::u32string_view kScript = U"javascript:";
    const std::u32string_view scheme = address.substr(start, kScript.size());
    if (scheme.size() != kScript.size())
        return true;
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        const char32_t c = scheme[i] >= U'A' && scheme[i] <= U'Z' ? scheme[i] + 32 : scheme[i];
        if (c != kScript[i])
            return true;
    }
    return false;
}

} // namespace zk
