#include "string_utils.h"

#include <algorithm>

namespace zk {
namespace {

// Byte offset of code point number n (0-based) in a UTF-8 text; size() past the end.
std::size_t offsetOfCodePoint(std::string_view text, std::size_t n) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (n == 0)
                return i;
            --n;
        }
    }
    return text.size();
}

std::size_t codePoints(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// Default Windows system colours (0x00BBGGRR), by system colour index.
constexpr Color kSystemColors[31] = {
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x544E43, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0};

} // namespace

std::string UpperCaseAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string LowerCaseAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string IntToBase(std::uint32_t value, int base) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    base = std::clamp(base, 2, 16);
    std::string out;
    do {
        out += kDigits[value % static_cast<std::uint32_t>(base)];
        value /= static_cast<std::uint32_t>(base);
    } while (value != 0);
    std::reverse(out.begin(), out.end());
    return out;
}

std::string PadLeft(std::size_t width, char fill, std::string_view text) {
    const std::size_t length = codePoints(text);
    if (length > width)
        return std::string(text.substr(offsetOfCodePoint(text, length - width)));
    return std::string(width - length, fill) + std::string(text);
}

std::string RepeatChar(char fill, std::size_t count) { return std::string(count, fill); }

std::string KeepLeft(std::string_view text, std::size_t count) {
    return std::string(text.substr(0, offsetOfCodePoint(text, count)));
}

std::string KeepRight(std::string_view text, std::size_t count) {
    const std::size_t length = codePoints(text);
    if (count >= length)
        return std::string(text);
    return std::string(text.substr(offsetOfCodePoint(text, length - count)));
}

std::string ReplaceAll(std::string_view source, std::string_view search,
                       std::string_view replacement) {
    if (search.empty())
        return std::string(source);
    std::string out;
    out.reserve(source.size());
    std::size_t from = 0;
    for (std::size_t at = source.find(search); at != std::string_view::npos;
         at = source.find(search, from)) {
        out.append(source, from, at - from);
        out.append(replacement);
        from = at + search.size();
    }
    out.append(source, from, std::string_view::npos);
    return out;
}

Color ResolveColor(Color color) {
    if (color >= 0)
        return color;
    const unsigned index = static_cast<std::uint32_t>(color) & 0xFF;
    return index < std::size(kSystemColors) ? kSystemColors[index] : 0;
}

std::string ColorToHtml(Color color) {
    const std::string digits = PadLeft(6, '0', IntToBase(static_cast<std::uint32_t>(color), 16));
    return digits.substr(4, 2) + digits.substr(2, 2) + digits.substr(0, 2);
}

} // namespace zk
