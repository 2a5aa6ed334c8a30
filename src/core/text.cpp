#include "text.h"

#include <unicode/brkiter.h>
#include <unicode/utext.h>

#include <memory>

namespace zk {
namespace {

// Bytes 0x80..0x9F of Windows-1252; 0 marks the five undefined bytes.
constexpr char16_t kHigh1252[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Decodes one code point at s[i]; advances i. Invalid sequences yield U+FFFD for one byte.
char32_t decodeOne(std::string_view s, std::size_t& i, bool& valid) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    valid = true;
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int len = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    }
    if (len == 0 || i + len > s.size()) {
        valid = false;
        ++i;
        return 0xFFFD;
    }
    for (int k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            valid = false;
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        valid = false;
        ++i;
        return 0xFFFD;
    }
    i += len;
    return cp;
}

} // namespace

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            cp = 0xFFFD;
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp <= 0x10FFFF) {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        appendUtf8(out, 0xFFFD);
    }
}

std::u32string utf8ToU32(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    bool valid = true;
    for (std::size_t i = 0; i < utf8.size();)
        out += decodeOne(utf8, i, valid);
    return out;
}

std::string u32ToUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t cp : text)
        appendUtf8(out, cp);
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    bool valid = true;
    for (std::size_t i = 0; i < bytes.size() && valid;)
        decodeOne(bytes, i, valid);
    return valid;
}

std::size_t codePointCount(std::string_view utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8)
        n += (c & 0xC0) != 0x80;
    return n;
}

char32_t cp1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F && kHigh1252[byte - 0x80] != 0)
        return kHigh1252[byte - 0x80];
    return byte;
}

std::optional<unsigned char> unicodeToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<unsigned char>(cp);
    for (int k = 0; k < 32; ++k) {
        const char32_t mapped = kHigh1252[k] != 0 ? kHigh1252[k] : char32_t(0x80 + k);
        if (mapped == cp)
            return static_cast<unsigned char>(0x80 + k);
    }
    return std::nullopt;
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (unsigned char b : bytes)
        appendUtf8(out, cp1252ToUnicode(b));
    return out;
}

std::optional<std::string> utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    bool valid = true;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto byte = unicodeToCp1252(decodeOne(utf8, i, valid));
        if (!byte)
            return std::nullopt;
        out += static_cast<char>(*byte);
    }
    return out;
}

std::string decodeTextFile(std::string_view bytes) {
    bool high = false;
    for (unsigned char c : bytes)
        if (c > 127) {
            high = true;
            break;
        }
    if (!high)
        return std::string(bytes);
    if (isValidUtf8(bytes))
        return std::string(bytes);
    return cp1252ToUtf8(bytes);
}

std::string encodeTextFile(std::string_view utf8) {
    // Windows-1252 bytes that happen to form valid UTF-8 ("Ã©") would read back as other
    // characters, so such a text is written in UTF-8 too.
    if (auto single = utf8ToCp1252(utf8); single && decodeTextFile(*single) == utf8)
        return *single;
    return std::string(utf8);
}

std::string encodeHtmlPage(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    bool valid = true;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t cp = decodeOne(utf8, i, valid);
        if (const auto byte = unicodeToCp1252(cp)) {
            out += static_cast<char>(*byte);
        } else {
            out += "&#";
            out += std::to_string(static_cast<unsigned long>(cp));
            out += ';';
        }
    }
    return out;
}

std::string normalizeLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<std::size_t> graphemeBoundaries(std::string_view utf8) {
    std::vector<std::size_t> starts;
    starts.reserve(utf8.size() + 1);
    // Below U+0300 no code point joins its neighbours (no combining marks, joiners,
    // regional indicators or Hangul jamo), so a text whose lead bytes all stay below
    // 0xCC is one character per code point; most texts take this path.
    bool simple = true;
    for (unsigned char c : utf8)
        if (c >= 0xCC) {
            simple = false;
            break;
        }
    if (simple) {
        for (std::size_t i = 0; i < utf8.size(); ++i)
            if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80)
                starts.push_back(i);
        starts.push_back(utf8.size());
        return starts;
    }

    UErrorCode status = U_ZERO_ERROR;
    UText* ut = utext_openUTF8(nullptr, utf8.data(), static_cast<int64_t>(utf8.size()), &status);
    std::unique_ptr<icu::BreakIterator> it(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status) || !it) {
        utext_close(ut);
        // Without ICU data fall back to one character per code point.
        for (std::size_t i = 0; i < utf8.size(); ++i)
            if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80)
                starts.push_back(i);
        starts.push_back(utf8.size());
        return starts;
    }
    it->setText(ut, status);
    int32_t prev = it->first();
    for (int32_t next = it->next(); next != icu::BreakIterator::DONE; next = it->next()) {
        starts.push_back(static_cast<std::size_t>(prev));
        // CR LF is one cluster for ICU; here CR and LF count on their own.
        if (next - prev == 2 && utf8[prev] == '\r' && utf8[prev + 1] == '\n')
            starts.push_back(static_cast<std::size_t>(prev + 1));
        prev = next;
    }
    starts.push_back(utf8.size());
    utext_close(ut);
    return starts;
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace zk
