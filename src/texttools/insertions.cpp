#include "insertions.h"

#include <algorithm>

#include "text.h"

namespace zk {
namespace {

constexpr std::string_view kImageTagStart = "<img src=\"";

void clampSelection(std::string_view text, std::size_t& start, std::size_t& length) {
    start = std::min(start, text.size());
    length = std::min(length, text.size() - start);
}

// Only a tag of the form the image list inserts is turned into an image link; any other
// selection holding "img" (a word, an address such as imgur.com) is linked as text.
bool isImageTag(std::string_view s) {
    return s.size() > kImageTagStart.size() &&
           s.substr(0, kImageTagStart.size()) == kImageTagStart && s.back() == '>';
}

} // namespace

CaretEdit insertAtCaret(std::string_view text, std::size_t selStart, std::size_t selLength,
                        std::string_view opening, std::string_view closing) {
    clampSelection(text, selStart, selLength);
    std::string head(text.substr(0, selStart));
    head.append(opening);
    std::string whole = head;
    whole.append(text.substr(selStart, selLength));
    whole.append(closing);
    whole.append(text.substr(selStart + selLength));
    CaretEdit edit;
    edit.text = normalizeLineEnds(whole);
    // The head normalises to the same bytes as the start of the whole text; a CR at its
    // end takes the following LF with it, so the caret never splits a line break.
    edit.caret = normalizeLineEnds(head).size();
    return edit;
}

CaretEdit replaceSelection(std::string_view text, std::size_t selStart, std::size_t selLength,
                           std::string_view replacement) {
    clampSelection(text, selStart, selLength);
    CaretEdit edit;
    edit.text.assign(text.substr(0, selStart));
    edit.text.append(replacement);
    edit.caret = edit.text.size();
    edit.text.append(text.substr(selStart + selLength));
    return edit;
}

LinkPlan planLink(std::string_view selectedText) {
    LinkPlan plan;
    if (selectedText.empty())
        return plan;
    if (isImageTag(selectedText)) {
        plan.kind = LinkKind::ImageLink;
        const std::string_view rest = selectedText.substr(kImageTagStart.size());
        std::string tag(selectedText.substr(0, selectedText.size() - 1));
        tag += " border=\"0\"";
        tag += selectedText.back();
        plan.replacement = "<a href=\"";
        plan.replacement.append(rest);
        plan.replacement += tag;
        plan.replacement += "</a>";
        return plan;
    }
    plan.kind = LinkKind::TextLink;
    plan.opening = "<a href=\"";
    if (selectedText.find('@') != std::string_view::npos)
        plan.opening += "mailto:";
    plan.closing = "\">";
    plan.closing.append(selectedText);
    plan.closing += "</a>";
    return plan;
}

CaretEdit makeLink(std::string_view text, std::size_t selStart, std::size_t selLength) {
    clampSelection(text, selStart, selLength);
    const LinkPlan plan = planLink(text.substr(selStart, selLength));
    switch (plan.kind) {
    case LinkKind::TextLink:
        return insertAtCaret(text, selStart, selLength, plan.opening, plan.closing);
    case LinkKind::ImageLink:
        return replaceSelection(text, selStart, selLength, plan.replacement);
    case LinkKind::NothingSelected:
        break;
    }
    return CaretEdit{std::string(text), selStart};
}

std::string linkNeedsSelectionMessage() {
    return "\r\nS\xC3\xA9lectionnez le lien !";
}

std::string soundTag(std::string_view path) {
    std::string tag = "<bgsound src=\"";
    tag.append(path);
    tag += "\" loop= \"-1\">";
    return tag;
}

std::string soundPlaceholderTag() {
    return soundTag("URL DU FICHIER SON");
}

std::string imageTag(std::string_view address) {
    std::string tag(kImageTagStart);
    tag.append(address);
    tag += "\">";
    return tag;
}

std::string characterForCode(int code) {
    std::string out;
    if (code >= kFirstCharacterCode && code <= kLastCharacterCode)
        appendUtf8(out, cp1252ToUnicode(static_cast<unsigned char>(code)));
    return out;
}

} // namespace zk
