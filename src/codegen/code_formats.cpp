#include "code_formats.h"

#include <algorithm>
#include <optional>

#include "string_utils.h"

namespace zk {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isAsciiAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool sameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

// Six upper-case hexadecimal digits of a red-green-blue colour, red first.
void appendHex(std::string& out, Color color) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const auto rgb = static_cast<std::uint32_t>(color);
    for (int k = 0; k < 3; ++k) {
        const unsigned v = (rgb >> (8 * k)) & 0xFF;
        out += kHex[v >> 4];
        out += kHex[v & 0xF];
    }
}

// The value of attribute `name` (any case) among the attributes of a typed tag; none when
// the tag has no such attribute or it is empty.
std::optional<std::string_view> attributeValue(std::string_view attributes, std::string_view name) {
    std::size_t i = 0;
    const std::size_t n = attributes.size();
    while (i < n) {
        while (i < n && (isBlank(attributes[i]) || attributes[i] == '/'))
            ++i;
        const std::size_t nameStart = i;
        while (i < n && !isBlank(attributes[i]) && attributes[i] != '=' && attributes[i] != '/')
            ++i;
        const std::string_view attribute = attributes.substr(nameStart, i - nameStart);
        while (i < n && isBlank(attributes[i]))
            ++i;
        std::string_view value;
        if (i < n && attributes[i] == '=') {
            ++i;
            while (i < n && isBlank(attributes[i]))
                ++i;
            if (i < n && (attributes[i] == '"' || attributes[i] == '\'')) {
                const char quote = attributes[i++];
                const std::size_t end = std::min(attributes.find(quote, i), n);
                value = attributes.substr(i, end - i);
                i = end + 1;
            } else {
                const std::size_t start = i;
                while (i < n && !isBlank(attributes[i]))
                    ++i;
                value = attributes.substr(start, i - start);
            }
        }
        if (!attribute.empty() && sameLetters(attribute, name))
            return value.empty() ? std::nullopt : std::optional<std::string_view>(value);
    }
    return std::nullopt;
}

// Where the count of a typed tag ('a', 'b', 'i', 'u' or 's') is kept.
std::size_t typedIndex(char name) {
    switch (name) {
    case 'a':
        return 0;
    case 'b':
        return 1;
    case 'i':
        return 2;
    case 'u':
        return 3;
    default:
        return 4;
    }
}

const char* closingOfTyped(char name) {
    switch (name) {
    case 'a':
        return "[/url]";
    case 'b':
        return "[/b]";
    case 'i':
        return "[/i]";
    case 'u':
        return "[/u]";
    default:
        return "[/s]";
    }
}

} // namespace

std::string CssQuotedFace(std::string_view face) {
    std::string out = "'";
    for (char c : face) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\' || c == '\'') {
            out += '\\';
            out += c;
        } else if (c == '"') {
            out += "&quot;";
        } else if (c == '&') {
            out += "&amp;";
        } else if (u < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += '\\';
            out += kHex[u >> 4];
            out += kHex[u & 0xF];
            out += ' ';
        } else {
            out += c;
        }
    }
    return out + "'";
}

std::string BbcodeFace(std::string_view face) {
    std::string out;
    for (char c : face)
        if (c != '[' && c != ']' && static_cast<unsigned char>(c) >= 0x20)
            out += c;
    return out;
}

int LegacyFontSize(int written) {
    const int size = written < 0 ? 3 + written : written;
    return std::clamp(size, 1, 7);
}

const char* CssFontSize(int size) {
    static constexpr const char* kNames[7] = {"x-small", "small",    "medium",   "large",
                                              "x-large", "xx-large", "xxx-large"};
    return kNames[std::clamp(size, 1, 7) - 1];
}

int BbcodeFontSize(int size, bool percent) {
    static constexpr int kPercent[7] = {50, 85, 100, 125, 150, 175, 200};
    const int s = std::clamp(size, 1, 7);
    return percent ? kPercent[s - 1] : s;
}

std::string BbcodeAddress(std::string_view address) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < address.size(); ++i) {
        const char c = address[i];
        const auto u = static_cast<unsigned char>(c);
        if (address.compare(i, 5, "&amp;") == 0) {
            out += '&';
            i += 4;
        } else if (u <= 0x20 || u == 0x7F || c == '[' || c == ']' || c == '"') {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

FormatWriter::FormatWriter(std::string& code, const GeneratorOptions& options, bool breaksToTags)
    : code_(code), format_(options.format), compact_(options.compact), breaksToTags_(breaksToTags) {
    const bool bb = format_ == OutputFormat::BbCode;
    const bool css = format_ == OutputFormat::Html5;
    colourHead_ = bb ? "[color=#" : css ? "<span style=\"color:#" : "<font color=\"#";
    colourTail_ = bb ? "]" : "\">";
    colourClosing_ = bb ? "[/color]" : css ? "</span>" : "</font>";
    for (int size = 1; size <= 7; ++size) {
        waveOpening_[size] =
            bb    ? "[size=" + std::to_string(BbcodeFontSize(size, options.percentSizes)) + "]"
            : css ? std::string("<span style=\"font-size:") + CssFontSize(size) + "\">"
                  : "<font size=\"" + std::to_string(size) + "\">";
        waveClosing_[size] = bb ? "[/size]" : css ? "</span>" : "</font>";
    }
    waveOpening_[kRaised] = bb ? "[sup]" : "<sup>";
    waveClosing_[kRaised] = bb ? "[/sup]" : "</sup>";
    waveOpening_[kLowered] = bb ? "[sub]" : "<sub>";
    waveClosing_[kLowered] = bb ? "[/sub]" : "</sub>";
}

void FormatWriter::text(std::string_view s) {
    for (char c : s) {
        // In compact code the spaces after a colour run wait: the run may go on past them.
        if (c == ' ' && colour_ == Run::Deferred) {
            closeWave();
            ++heldSpaces_;
            continue;
        }
        closeDeferred();
        userChar(c);
    }
}

void FormatWriter::letter(std::string_view c) {
    if (colour_ == Run::Deferred)
        closeDeferred();
    closeWave();
    beforeTag();
    code_ += c;
}

void FormatWriter::colourOpen(Color color) {
    if (colour_ == Run::Deferred && colourValue_ == color) {
        if (heldSpaces_ != 0) {
            closeWave();
            releaseSpaces();
        }
        colour_ = Run::Open;
        return;
    }
    closeDeferred();
    beforeTag();
    code_ += colourHead_;
    appendHex(code_, color);
    code_ += colourTail_;
    colour_ = Run::Open;
    colourValue_ = color;
}

void FormatWriter::colourClose() {
    if (compact_) {
        colour_ = Run::Deferred;
        return;
    }
    beforeTag();
    code_ += colourClosing_;
    colour_ = Run::None;
}

void FormatWriter::wave(int kind, std::string_view c) {
    if (colour_ == Run::Deferred)
        closeDeferred();
    if (wave_ == Run::Deferred && waveValue_ == kind) {
        wave_ = Run::Open;
    } else {
        closeWave();
        beforeTag();
        code_ += waveOpening_[kind];
        waveValue_ = kind;
    }
    code_ += c;
    wave_ = Run::Deferred;
    if (!compact_)
        closeWave();
}

void FormatWriter::closeWave() {
    if (wave_ != Run::Deferred)
        return;
    beforeTag();
    code_ += waveClosing_[waveValue_];
    wave_ = Run::None;
}

void FormatWriter::closeDeferred() {
    closeWave();
    if (colour_ == Run::Deferred) {
        beforeTag();
        code_ += colourClosing_;
        colour_ = Run::None;
    }
    releaseSpaces();
}

void FormatWriter::releaseSpaces() {
    for (; heldSpaces_ != 0; --heldSpaces_)
        userChar(' ');
}

// Before a tag the writer makes: what waits of the user's text is written as it is.
void FormatWriter::beforeTag() {
    if (!typed_.empty()) {
        code_ += typed_;
        typed_.clear();
    }
    if (pending_ != 0)
        code_ += pending_;
    pending_ = 0;
}

void FormatWriter::userChar(char c) {
    if (format_ == OutputFormat::BbCode) {
        // Line breaks and spaces stay as typed; a tag the user typed is read whole first.
        if (!typed_.empty()) {
            if (c == '<') {
                code_ += typed_;
                typed_ = "<";
                return;
            }
            typed_ += c;
            if (c == '>')
                typedTag();
            return;
        }
        if (c == '<')
            typed_ = "<";
        else
            code_ += c;
        return;
    }
    // HTML: CR LF becomes "<br>" (unless the code view is open), a pair of spaces two
    // non-breaking spaces.
    if (pending_ == '\r') {
        pending_ = 0;
        if (c == '\n') {
            code_ += "<br>";
            return;
        }
        code_ += '\r';
    } else if (pending_ == ' ') {
        pending_ = 0;
        if (c == ' ') {
            code_ += format_ == OutputFormat::Html5 ? "&nbsp;&nbsp;" : "&nbsp&nbsp";
            return;
        }
        code_ += ' ';
    }
    if ((c == '\r' && breaksToTags_) || c == ' ')
        pending_ = c;
    else
        code_ += c;
}

// A tag the user typed, "<" to ">", in BBCode: links, images, the four styles and line
// breaks translated; a closing tag that closes nothing translated, and any other tag, left
// as typed.
void FormatWriter::typedTag() {
    std::string tag;
    tag.swap(typed_);
    std::string_view inside = std::string_view(tag).substr(1, tag.size() - 2);
    const bool closing = !inside.empty() && inside.front() == '/';
    if (closing)
        inside.remove_prefix(1);
    std::size_t n = 0;
    while (n < inside.size() && isAsciiAlnum(inside[n]))
        ++n;
    const std::string_view name = inside.substr(0, n);
    const std::string_view rest = inside.substr(n);
    const bool oneLetterStyle =
        n == 1 && std::string_view("bBiIuUsS").find(name[0]) != std::string_view::npos;
    if (!rest.empty() && !isBlank(rest.front()) && rest.front() != '/') {
        // "<bx>" is a tag of another name
    } else if (closing) {
        if ((oneLetterStyle || sameLetters(name, "a")) &&
            std::all_of(rest.begin(), rest.end(), isBlank) && closeTyped(lowerAscii(name[0])))
            return;
    } else if (oneLetterStyle) {
        const char letter = lowerAscii(name[0]);
        code_ += '[';
        code_ += letter;
        code_ += ']';
        openTyped_ += letter;
        ++openCount_[typedIndex(letter)];
        return;
    } else if (sameLetters(name, "br")) {
        code_ += "\r\n";
        return;
    } else if (sameLetters(name, "a")) {
        if (const auto href = attributeValue(rest, "href")) {
            code_ += "[url=" + BbcodeAddress(*href) + "]";
            openTyped_ += 'a';
            ++openCount_[typedIndex('a')];
            return;
        }
    } else if (sameLetters(name, "img")) {
        if (const auto src = attributeValue(rest, "src")) {
            code_ += "[img]" + BbcodeAddress(*src) + "[/img]";
            return;
        }
    }
    code_ += tag;
}

// Closes the typed tag `name` that is still open, and those opened inside it; false when
// none is open.
bool FormatWriter::closeTyped(char name) {
    // Counted, so that closings of what is not open never search the whole list again.
    if (openCount_[typedIndex(name)] == 0)
        return false;
    while (true) {
        const char last = openTyped_.back();
        code_ += closingOfTyped(last);
        openTyped_.pop_back();
        --openCount_[typedIndex(last)];
        if (last == name)
            return true;
    }
}

void FormatWriter::finish() {
    closeDeferred();
    beforeTag();
    // The typed tags left open are closed here, inside the tags the program wrote.
    while (!openTyped_.empty()) {
        code_ += closingOfTyped(openTyped_.back());
        openTyped_.pop_back();
    }
    std::fill(std::begin(openCount_), std::end(openCount_), 0);
}

} // namespace zk
