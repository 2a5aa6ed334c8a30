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
    return u32ToUtf8(std::u32string_view(text).substr(1, position - 3));
}

} // namespace zk
