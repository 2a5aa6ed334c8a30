// Pieces of HTML and characters put into the typed text: links made from the selection,
// the background sound tag, the character table. Texts are UTF-8; positions are byte
// offsets into the UTF-8 text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zk {

struct CaretEdit final {
    std::string text;      // the whole new text
    std::size_t caret = 0; // where the caret goes, nothing selected
};

// InsertAtCaret: the text before the selection, opening, the selected text, closing,
// the rest; line breaks normalised to CR LF; the caret just after opening. Offsets past
// the end of the text are clamped.
CaretEdit insertAtCaret(std::string_view text, std::size_t selStart, std::size_t selLength,
                        std::string_view opening, std::string_view closing);

// Replaces the selection with replacement; the caret after it.
CaretEdit replaceSelection(std::string_view text, std::size_t selStart, std::size_t selLength,
                           std::string_view replacement);

enum class LinkKind {
    NothingSelected, // show linkNeedsSelectionMessage(); change nothing
    TextLink,        // insertAtCaret(opening, closing)
    ImageLink,       // replaceSelection(replacement)
};

struct LinkPlan final {
    LinkKind kind = LinkKind::NothingSelected;
    std::string opening;     // TextLink
    std::string closing;     // TextLink
    std::string replacement; // ImageLink
};

// The link made from the selected text. A selection that contains an at sign links to
// "mailto:" and the address. An image tag as the image list inserts it
// (<img src="ADDRESS">) becomes a link to its own address, with border="0".
LinkPlan planLink(std::string_view selectedText);

// The whole edit of making a link; with nothing selected the text comes back unchanged.
CaretEdit makeLink(std::string_view text, std::size_t selStart, std::size_t selLength);

// "\r\nSélectionnez le lien !"
std::string linkNeedsSelectionMessage();

// The background sound tag for a chosen file, the path exactly as the dialog gave it.
std::string soundTag(std::string_view path);
// The placeholder inserted when the sound dialog is cancelled.
std::string soundPlaceholderTag();

// Opening for the image list's insertion: <img src="ADDRESS">.
std::string imageTag(std::string_view address);

// The character table: cell n (0..223) stands for code n + 32.
constexpr int kFirstCharacterCode = 32;
constexpr int kLastCharacterCode = 255;
constexpr int kCharacterCellCount = kLastCharacterCode - kFirstCharacterCode + 1;
inline int characterCodeOfCell(int cell) {
    return cell + kFirstCharacterCode;
}
// The Windows-1252 character of code 32..255 as UTF-8 (233 gives é, 128 gives €); the
// five codes the code page leaves undefined give the control character of that number.
// Empty outside 32..255.
std::string characterForCode(int code);

} // namespace zk
