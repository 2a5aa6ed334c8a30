#include "browser_reply.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <locale.h>

#include "text.h"

namespace zk {

namespace {

// The blanks trimmed from the ends of a header and allowed around a number.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

bool containsIgnoringCase(std::string_view text, std::string_view word) {
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i)
        if (equalsIgnoringCase(text.substr(i, word.size()), word))
            return true;
    return false;
}

// A number of a header or a chunk size: blanks around it, a sign, "0x" before a
// hexadecimal one, and nothing else up to the end or a NUL byte. nullopt when it is not a
// number or does not fit in 64 bits.
std::optional<std::int64_t> integerOf(std::string_view text, int base) {
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos)
        text = text.substr(0, nul);
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (base == 16 && i + 2 < text.size() && text[i] == '0' && lowerAscii(text[i + 1]) == 'x')
        i += 2;
    const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    std::uint64_t magnitude = 0;
    const std::size_t digitsStart = i;
    for (; i < text.size(); ++i) {
        const int digit = zk::hexDigitValue(text[i]);
        if (digit < 0 || digit >= base)
            break;
        const auto d = static_cast<std::uint64_t>(digit);
        if (magnitude > (limit - d) / static_cast<std::uint64_t>(base))
            return std::nullopt;
        magnitude = magnitude * static_cast<std::uint64_t>(base) + d;
    }
    if (i == digitsStart)
        return std::nullopt;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i != text.size())
        return std::nullopt;
    if (!negative)
        return static_cast<std::int64_t>(magnitude);
    return magnitude == std::uint64_t{1} << 63 ? INT64_MIN : -static_cast<std::int64_t>(magnitude);
}

bool endsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

// The status line "HTTP/1.1 200 OK": the second word, when the first starts with "HTTP/".
int statusOf(std::string_view line) {
    line = trimmed(line);
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos || line.substr(0, 5) != "HTTP/" || space < 5)
        return 0;
    std::string_view code = line.substr(space + 1);
    code = code.substr(0, code.find(' '));
    const std::optional<std::int64_t> n = integerOf(code, 10);
    return n && *n >= INT32_MIN && *n <= INT32_MAX ? static_cast<int>(*n) : 0;
}

// --- The JSON list of targets -------------------------------------------------------------

// The fields of an entry the reply is made of; a field that is not a string is empty.
struct TargetFields {
    std::u16string type;
    std::u16string url;
    std::u16string title;
};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool isHighSurrogate(char32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// UTF-16 as UTF-8; a surrogate that is not half of a pair becomes "?".
std::string utf8Of(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t u = text[i];
        if (isHighSurrogate(u) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (isHighSurrogate(u) || isLowSurrogate(u)) {
            out += '?';
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
        out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
}

// One UTF-8 character at p; false when the bytes are not one (a stray or missing
// continuation byte, an overlong form, a surrogate, past U+10FFFF).
bool nextUtf8(const char*& p, const char* end, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(*p);
    if (b0 < 0x80) {
        cp = b0;
        ++p;
        return true;
    }
    int len = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return false;
    }
    if (end - p < len)
        return false;
    for (int k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(p[k]);
        if ((b & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    p += len;
    return true;
}

// A number is accepted when it converts to a finite double that is not a non-zero number
// read as zero. Read in the C locale whatever the user's, whose decimal point may be a comma.
bool isAcceptedNumber(std::string_view token) {
    if (token.empty())
        return false;
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (!cLocale)
        return false;
    const std::string text(token);
    char* stop = nullptr;
    const double d = strtod_l(text.c_str(), &stop, cLocale);
    if (stop != text.c_str() + text.size() || std::isinf(d))
        return false;
    if (d == 0) {
        for (const char c : text) {
            if (c >= '1' && c <= '9')
                return false;
            if (c == 'e' || c == 'E')
                break;
        }
    }
    return true;
}

// Reads a JSON text with the rules of the toolkit's reader the capture first used: strict
// structure, blanks only between tokens, raw control characters allowed in strings, an
// unknown escape standing for its byte, at most 1024 levels, a UTF-8 byte order mark
// skipped. Only the entries of the outer array are looked into.
class TargetListReader final {
public:
    explicit TargetListReader(std::string_view json)
        : p_(json.data()), end_(json.data() + json.size()) {}

    // Whether the text is an array; its first entry of type "page" in page.
    bool read(std::optional<TargetFields>& page) {
        if (end_ - p_ > 3 && std::string_view(p_, 3) == "\xEF\xBB\xBF")
            p_ += 3;
        if (!eatSpace() || *p_ != '[')
            return false;
        ++p_;
        page_ = &page;
        if (!parseArray(1))
            return false;
        eatSpace();
        return p_ == end_;
    }

private:
    static constexpr int kNestingLimit = 1024;

    bool eatSpace() {
        while (p_ < end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\n' || *p_ == '\r'))
            ++p_;
        return p_ < end_;
    }

    // The next structural character, or 0.
    char nextToken() {
        if (!eatSpace())
            return 0;
        const char c = *p_++;
        switch (c) {
        case '[':
        case '{':
        case ':':
        case ',':
        case ']':
        case '}':
        case '"':
            return c;
        default:
            return 0;
        }
    }

    // After "[": the values up to "]". depth counts the arrays and objects open.
    bool parseArray(int depth) {
        if (depth > kNestingLimit || !eatSpace())
            return false;
        if (*p_ == ']') {
            ++p_;
            return true;
        }
        for (;;) {
            if (!eatSpace())
                return false;
            TargetFields fields;
            const bool outer = depth == 1;
            if (!parseValue(depth, nullptr, outer ? &fields : nullptr))
                return false;
            if (outer && !*page_ && fields.type == u"page")
                *page_ = std::move(fields);
            const char token = nextToken();
            if (token == ']')
                return true;
            if (token != ',')
                return false;
        }
    }

    // After "{": the members up to "}". fields, when given, takes the members the reply
    // is made of; of a name given twice, the last member counts.
    bool parseObject(int depth, TargetFields* fields) {
        if (depth > kNestingLimit)
            return false;
        char token = nextToken();
        while (token == '"') {
            std::u16string name;
            if (!parseString(fields ? &name : nullptr, false))
                return false;
            if (nextToken() != ':' || !eatSpace())
                return false;
            std::u16string* slot = nullptr;
            if (fields) {
                if (name == u"type")
                    slot = &fields->type;
                else if (name == u"url")
                    slot = &fields->url;
                else if (name == u"title")
                    slot = &fields->title;
            }
            if (!parseValue(depth, slot, nullptr))
                return false;
            token = nextToken();
            if (token != ',')
                break;
            token = nextToken();
            if (token == '}')
                return false;
        }
        return token == '}';
    }

    // A value at p_ inside a container of level depth. slot, when given, takes the value
    // when it is a string and is emptied otherwise; fields are an object's.
    bool parseValue(int depth, std::u16string* slot, TargetFields* fields) {
        if (slot)
            slot->clear();
        const char c = *p_++;
        switch (c) {
        case 'n':
            return literal("ull");
        case 't':
            return literal("rue");
        case 'f':
            return literal("alse");
        case '"':
            return parseString(slot, true);
        case '[':
            return parseArray(depth + 1);
        case '{':
            return parseObject(depth + 1, fields);
        default:
            --p_;
            return parseNumber();
        }
    }

    bool literal(std::string_view rest) {
        if (static_cast<std::size_t>(end_ - p_) < rest.size() ||
            std::string_view(p_, rest.size()) != rest)
            return false;
        p_ += rest.size();
        return true;
    }

    // -? (0 | digits) (. digits)? ([eE] [+-]? digits)?, each run of digits possibly empty;
    // what the run holds decides whether it is a number.
    bool parseNumber() {
        const char* start = p_;
        const auto digits = [this] {
            while (p_ < end_ && *p_ >= '0' && *p_ <= '9')
                ++p_;
        };
        if (p_ < end_ && *p_ == '-')
            ++p_;
        if (p_ < end_ && *p_ == '0')
            ++p_;
        else
            digits();
        if (p_ < end_ && *p_ == '.') {
            ++p_;
            digits();
        }
        if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
            ++p_;
            if (p_ < end_ && (*p_ == '-' || *p_ == '+'))
                ++p_;
            digits();
        }
        return isAcceptedNumber(std::string_view(start, static_cast<std::size_t>(p_ - start)));
    }

    // After the opening quote: the characters up to the closing one, into out when given.
    // A value written without escapes loses a byte order mark at its start, as the
    // toolkit's reader had it; a name keeps it.
    bool parseString(std::u16string* out, bool isValue) {
        bool escaped = false;
        while (p_ < end_ && *p_ != '"') {
            char32_t ch = 0;
            if (*p_ == '\\') {
                if (!escape(ch))
                    return false;
                escaped = true;
            } else if (!nextUtf8(p_, end_, ch)) {
                return false;
            }
            if (out)
                appendUtf16(*out, ch);
        }
        if (p_ >= end_)
            return false;
        ++p_;
        if (out && isValue && !escaped && !out->empty() && out->front() == u'\uFEFF')
            out->erase(0, 1);
        return true;
    }

    // At a backslash: the character it stands for. "\uXXXX" is one UTF-16 unit, so that a
    // pair written as two escapes makes one character.
    bool escape(char32_t& ch) {
        ++p_;
        if (p_ >= end_)
            return false;
        const char e = *p_++;
        switch (e) {
        case 'b':
            ch = 0x8;
            return true;
        case 'f':
            ch = 0xC;
            return true;
        case 'n':
            ch = 0xA;
            return true;
        case 'r':
            ch = 0xD;
            return true;
        case 't':
            ch = 0x9;
            return true;
        case 'u': {
            if (end_ - p_ < 4)
                return false;
            ch = 0;
            for (int i = 0; i < 4; ++i) {
                const int d = zk::hexDigitValue(*p_++);
                if (d < 0)
                    return false;
                ch = (ch << 4) | static_cast<char32_t>(d);
            }
            return true;
        }
        default:
            // '"', '\\', '/' and any other byte stand for themselves, a byte above 127 for
            // the Latin-1 character of that number.
            ch = static_cast<unsigned char>(e);
            return true;
        }
    }

    const char* p_;
    const char* end_;
    std::optional<TargetFields>* page_ = nullptr;
};

// The same address with the reply's separators written as escapes.
std::u16string withSeparatorsEscaped(std::u16string_view url) {
    std::u16string out;
    out.reserve(url.size());
    for (const char16_t c : url) {
        if (c == u',')
            out += u"%2C";
        else if (c == u'"')
            out += u"%22";
        else
            out += c;
    }
    return out;
}

BrowserAnswerText answerOf(const HttpResponse& response) {
    if (response.status != 200)
        return {{}, BrowserAnswer::BadReply};
    std::optional<std::string> reply = windowInfoFromTargetList(response.body);
    if (!reply)
        return {{}, BrowserAnswer::BadReply};
    if (reply->empty())
        return {{}, BrowserAnswer::NoPage};
    return {std::move(*reply), BrowserAnswer::Answered};
}

} // namespace

std::optional<std::string> dechunkHttpBody(std::string_view data) {
    std::string body;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t lineEnd = data.find("\r\n", pos);
        if (lineEnd == std::string_view::npos)
            return std::nullopt;
        std::string_view sizeText = data.substr(pos, lineEnd - pos);
        sizeText = sizeText.substr(0, sizeText.find(';'));
        const std::optional<std::int64_t> size = integerOf(trimmed(sizeText), 16);
        if (!size || *size < 0)
            return std::string(); // malformed: no body
        if (*size == 0)
            return body;
        const auto length = static_cast<std::uint64_t>(*size);
        const std::size_t start = lineEnd + 2;
        // The chunk and the line end after it; compared without adding to a size that may
        // be near the largest number.
        if (data.size() - start < 2 || data.size() - start - 2 < length)
            return std::nullopt;
        body.append(data.substr(start, length));
        pos = start + length + 2;
    }
}

std::optional<HttpResponse> parseHttpResponse(std::string_view data, bool closed) {
    const std::size_t headerEnd = data.find("\r\n\r\n");
    if (headerEnd == std::string_view::npos)
        return closed ? std::optional<HttpResponse>(HttpResponse{}) : std::nullopt;
    const std::string_view head = data.substr(0, headerEnd);
    HttpResponse response;
    std::optional<std::uint64_t> length;
    bool chunked = false;
    std::size_t lineStart = 0;
    for (bool first = true; lineStart <= head.size(); first = false) {
        std::size_t lineEnd = head.find('\n', lineStart);
        if (lineEnd == std::string_view::npos)
            lineEnd = head.size();
        const std::string_view line = trimmed(head.substr(lineStart, lineEnd - lineStart));
        lineStart = lineEnd + 1;
        if (first) {
            response.status = statusOf(line);
            continue;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view name = trimmed(line.substr(0, colon));
        const std::string_view value = trimmed(line.substr(colon + 1));
        if (equalsIgnoringCase(name, "content-length")) {
            if (const std::optional<std::int64_t> n = integerOf(value, 10); n && *n >= 0)
                length = static_cast<std::uint64_t>(*n);
        } else if (equalsIgnoringCase(name, "transfer-encoding") &&
                   containsIgnoringCase(value, "chunked")) {
            chunked = true;
        }
    }
    // Cheap checks first, so that an answer trickling in is not parsed whole at every
    // piece: a chunked body ends with an empty line, a sized one at its length.
    const std::string_view rest = data.substr(headerEnd + 4);
    if (!closed && (chunked ? !endsWith(data, "\r\n\r\n") : !length || rest.size() < *length))
        return std::nullopt;
    if (chunked) {
        std::optional<std::string> body = dechunkHttpBody(rest);
        if (!body)
            return closed ? std::optional<HttpResponse>(HttpResponse{}) : std::nullopt;
        response.body = std::move(*body);
        return response;
    }
    if (length) {
        if (rest.size() < *length)
            return closed ? std::optional<HttpResponse>(HttpResponse{}) : std::nullopt;
        response.body = std::string(rest.substr(0, *length));
        return response;
    }
    if (!closed)
        return std::nullopt;
    response.body = std::string(rest);
    return response;
}

std::optional<std::string> windowInfoFromTargetList(std::string_view json) {
    std::optional<TargetFields> page;
    if (!TargetListReader(json).read(page))
        return std::nullopt;
    if (!page)
        return std::string();
    return '"' + utf8Of(withSeparatorsEscaped(page->url)) + "\",\"" + utf8Of(page->title) + '"';
}

std::optional<BrowserAnswerText> browserAnswerFrom(std::string_view received, bool closed) {
    if (received.size() > kMaxBrowserReplyBytes)
        return BrowserAnswerText{{}, BrowserAnswer::BadReply};
    if (!closed && received.size() > kMaxBrowserHeaderBytes &&
        received.substr(0, kMaxBrowserHeaderBytes).find("\r\n\r\n") == std::string_view::npos)
        return BrowserAnswerText{{}, BrowserAnswer::BadReply};
    const std::optional<HttpResponse> response = parseHttpResponse(received, closed);
    if (!response)
        return std::nullopt;
    return answerOf(*response);
}

} // namespace zk
