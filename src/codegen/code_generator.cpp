#include "code_generator.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <new>

#include "code_formats.h"
#include "string_utils.h"
#include "text.h"

namespace zk {
namespace {

// The user-perceived characters of a text, walked with a cursor that holds both the
// 1-based position and the byte offset. Most texts are valid UTF-8 without any code point
// that joins its neighbours (none below U+0300 does), so each character is one code point
// of one or two bytes, known from its first byte; other texts keep the list of their
// character starts.
struct Cursor {
    std::size_t p = 1;  // position, 1-based
    std::size_t at = 0; // byte offset of the character at p
};

class Characters {
public:
    explicit Characters(std::string_view text) : text_(text) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
        const std::size_t size = text.size();
        std::size_t i = 0;
        std::size_t count = 0;
        while (i < size) {
            if (i + 8 <= size) {
                std::uint64_t word;
                std::memcpy(&word, bytes + i, 8);
                if ((word & 0x8080808080808080ull) == 0) {
                    i += 8;
                    count += 8;
                    continue;
                }
            }
            const unsigned char c = bytes[i];
            if (c < 0x80) {
                ++i;
            } else if (c >= 0xC2 && c < 0xCC && i + 1 < size && (bytes[i + 1] & 0xC0) == 0x80) {
                i += 2;
            } else {
                break;
            }
            ++count;
        }
        if (i == size) {
            count_ = count;
        } else if (std::any_of(text.begin(), text.end(),
                               [](char c) { return static_cast<unsigned char>(c) >= 0xCC; })) {
            starts_ = graphemeBoundaries(text);
            count_ = starts_.size() - 1;
            longest_ = longestOf(starts_);
        } else {
            // Not valid UTF-8: every byte that is not a continuation byte starts a
            // character, and so does a stray continuation byte at the very start.
            for (std::size_t k = 0; k < size; ++k)
                if (k == 0 || (bytes[k] & 0xC0) != 0x80)
                    starts_.push_back(k);
            starts_.push_back(size);
            count_ = starts_.size() - 1;
            longest_ = longestOf(starts_);
        }
    }
    // Bytes of the longest character.
    std::size_t longest() const { return longest_; }
    // Each character is one code point of one or two bytes.
    bool simple() const { return starts_.empty(); }
    std::size_t count() const { return count_; }
    std::size_t length(const Cursor& c) const {
        if (starts_.empty())
            return 1 + (static_cast<unsigned char>(text_[c.at]) >> 7);
        return starts_[c.p] - starts_[c.p - 1];
    }
    void advance(Cursor& c) const {
        c.at += length(c);
        ++c.p;
    }
    char first(const Cursor& c) const { return text_[c.at]; }
    std::string_view at(const Cursor& c) const { return {text_.data() + c.at, length(c)}; }
    // Bytes of the characters from a through b.
    std::string_view span(const Cursor& a, const Cursor& b) const {
        return {text_.data() + a.at, b.at + length(b) - a.at};
    }

private:
    std::string_view text_;
    static std::size_t longestOf(const std::vector<std::size_t>& starts) {
        std::size_t longest = 0;
        for (std::size_t k = 1; k < starts.size(); ++k)
            longest = std::max(longest, starts[k] - starts[k - 1]);
        return longest;
    }

    std::vector<std::size_t> starts_; // empty for the simple texts
    std::size_t count_ = 0;
    std::size_t longest_ = 2;
};

bool isPassThrough(char c) {
    return c == ' ' || c == '\r' || c == '\n';
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Last character copied by the tag copier starting at the "<" at start; start itself when
// only the "<" is copied.
Cursor tagEnd(const Characters& chars, const Cursor& start, int offset) {
    const std::size_t length = chars.count();
    char name = '<';
    if (offset == 1) {
        Cursor next = start;
        chars.advance(next);
        name = next.p <= length ? chars.first(next) : '\0';
    }
    int target = 0;
    if (name == '<' || name == 'b' || name == 'i') {
        target = 1;
    } else if (name == 'a') {
        target = 2;
    } else if (name == '/' || name == '!' || name == '?' || isAsciiLetter(name)) {
        // Other tags (closing tags, "<u>", comments...) are copied whole too, so that the
        // gradient never colours the inside of a tag.
        target = 1;
    } else {
        // A "<" that opens no tag ("a < b") is kept as a plain character.
        return start;
    }
    Cursor pos = start;
    int count = 0;
    bool imageChecked = false;
    while (pos.p < length) {
        chars.advance(pos);
        if (chars.first(pos) != '>' || ++count < target)
            continue;
        // A link around an image runs to the third ">": its opening, the image and "</a>".
        if (name == 'a' && !imageChecked &&
            chars.span(start, pos).find("<img src") != std::string_view::npos) {
            imageChecked = true;
            target = 3;
            continue;
        }
        break;
    }
    return pos;
}

// Makes room for n bytes past the first `used` of the code; returns the code's new end.
// The code grows by a step at a time, within its capacity while that suffices (the string
// doubles its capacity when it must move), so that the zero-filled part beyond what is
// written stays small. Takes no writer, so that the writer's fields can stay in registers.
[[gnu::noinline]] char* growCode(std::string& code, std::size_t used, std::size_t n) {
    static constexpr std::size_t kStep = std::size_t{1} << 16;
    std::size_t size = used + std::max(n, kStep);
    if (used + n <= code.capacity())
        size = std::min(size, code.capacity());
    code.resize(size);
    return code.data() + code.size();
}

// Writes the body at the end of the code: generated tags as they are; the user's
// characters with every CR LF turned into "<br>" (unless the code view is open) and every
// pair of spaces into "&nbsp&nbsp". Generated tags never start or end with a space, CR or
// LF, so doing the replacement here gives the same text as replacing over the finished
// body. The hot loops copy bytes without checking capacity: their callers make room first,
// once per character of the text, and the code grows a step at a time.
class BodyWriter final {
public:
    // One character of the text never writes more than its own bytes and this many more
    // (a letter under the gradient and the waves: 22 + 15 + 7 + 7, and a held space).
    static constexpr std::size_t kMaxExtra = 52;

    BodyWriter(std::string& code, bool breaksToTags)
        : code_(code), p_(code.data() + code.size()), end_(p_), breaksToTags_(breaksToTags) {}

    // Makes room for n more bytes.
    void room(std::size_t n) {
        if (static_cast<std::size_t>(end_ - p_) < n)
            grow(n);
    }

    // Writes what is held, makes room for extra bytes more and cuts the code at its end,
    // so that up to extra bytes can be appended to it without moving it.
    void finish(std::size_t extra) {
        room(extra + 1);
        flush();
        code_.resize(static_cast<std::size_t>(p_ - code_.data()));
    }

    template <std::size_t N> void tag(const char (&s)[N]) { tag(s, N - 1); }
    void tag(const char* s, std::size_t n) {
        flush();
        std::memcpy(p_, s, n);
        p_ += n;
    }

    // A letter: never holds CR, LF or two spaces, so only a pending character matters.
    void letter(std::string_view c) {
        if (pending_ != 0 || c.front() == ' ') {
            text(c);
            return;
        }
        for (char ch : c)
            *p_++ = ch;
    }

    void text(std::string_view s) {
        for (char c : s) {
            if (pending_ == '\r') {
                pending_ = 0;
                if (c == '\n') {
                    std::memcpy(p_, "<br>", 4);
                    p_ += 4;
                    continue;
                }
                *p_++ = '\r';
            } else if (pending_ == ' ') {
                pending_ = 0;
                if (c == ' ') {
                    std::memcpy(p_, "&nbsp&nbsp", 10);
                    p_ += 10;
                    continue;
                }
                *p_++ = ' ';
            }
            if ((c == '\r' && breaksToTags_) || c == ' ')
                pending_ = c;
            else
                *p_++ = c;
        }
    }

    // A long stretch of the user's text: runs without a space or a CR are copied at once.
    // Makes its own room.
    void bulkText(std::string_view s) {
        const char* q = s.data();
        const char* const end = q + s.size();
        while (q < end) {
            if (pending_ == 0) {
                const char* run = q;
                while (run < end && *run != ' ' && *run != '\r')
                    ++run;
                const auto n = static_cast<std::size_t>(run - q);
                room(n);
                std::memcpy(p_, q, n);
                p_ += n;
                q = run;
                if (q == end)
                    break;
            }
            room(1 + kMaxExtra);
            text(std::string_view(q, 1));
            ++q;
        }
    }

    void flush() {
        if (pending_ != 0)
            *p_++ = pending_;
        pending_ = 0;
    }

private:
    void grow(std::size_t n) {
        const auto used = static_cast<std::size_t>(p_ - code_.data());
        end_ = growCode(code_, used, n);
        p_ = code_.data() + used;
    }

    std::string& code_;
    char* p_;
    char* end_;
    bool breaksToTags_;
    char pending_ = 0;
};

// Makes room in the body once every so many characters, for as many characters as come
// before the next time (a character writes at most its bytes and kMaxExtra more).
template <typename Body> class RoomKeeper final {
public:
    RoomKeeper(Body& body, std::size_t longest)
        : body_(body), perCharacter_(longest + Body::kMaxExtra),
          every_(std::max<std::size_t>(4096 / perCharacter_, 1)) {}
    void tick() {
        if (--left_ != 0)
            return;
        left_ = every_;
        body_.room(every_ * perCharacter_);
    }
    // After a stretch that made its own room and may have used up what was made here.
    void renew() { left_ = 1; }

private:
    Body& body_;
    std::size_t perCharacter_;
    std::size_t every_;
    std::size_t left_ = 1;
};

// The waves: each letter rises and falls, or grows and shrinks, with its position among
// the letters. Fed the text after the gradient as a stream, it copies every tag through its
// first ">" like the tag copier with offset 0.
template <typename Out> class WavesStage final {
public:
    WavesStage(Out& out, const FormattingState& state)
        : out_(out), cycle_(state.WavesKind == 1 ? 12 : 6) {
        // The first letter's step is 7 - FontSizeIndex, taken modulo the cycle.
        const std::int64_t phase = 7 - static_cast<std::int64_t>(state.FontSizeIndex);
        k_ = static_cast<int>(((phase % cycle_) + cycle_) % cycle_);
    }

    // A letter of the gradient: its colour tag ends any tag copy, as the tag's only ">" does.
    void colouredLetter(Color color, std::string_view c) {
        out_.colourOpen(color);
        inTag_ = false;
        wave(c);
        out_.colourClose();
    }

    void characters(const Characters& chars, Cursor from, const Cursor& to) {
        for (; from.p <= to.p; chars.advance(from)) {
            const std::string_view c = chars.at(from);
            out_.room(c.size() + Out::kMaxExtra);
            character(c);
        }
    }

    // One character; the caller has made room for it.
    void character(std::string_view c) {
        const char first = c.front();
        if (inTag_) {
            out_.text(c);
            inTag_ = first != '>';
        } else if (first == '<') {
            out_.text(c);
            inTag_ = true;
        } else if (isPassThrough(first)) {
            out_.text(c);
        } else {
            wave(c);
        }
    }

private:
    [[gnu::always_inline]] void wave(std::string_view c) {
        const int k = k_;
        k_ = k + 1 == cycle_ ? 0 : k + 1;
        if (cycle_ == 12) {
            static constexpr char kSizes[12] = {'1', '2', '3', '4', '5', '6',
                                                '7', '6', '5', '4', '3', '2'};
            out_.sized(kSizes[k], c);
        } else if (k == 1 || k == 2) {
            out_.raised(c);
        } else if (k == 4 || k == 5) {
            out_.lowered(c);
        } else {
            out_.letter(c);
        }
    }

    Out& out_;
    int cycle_;
    int k_ = 0;
    bool inTag_ = false;
};

// Calls keepResponsive as the pacing says: once per tick the count of characters goes
// down, and the clock is read only when it runs out.
class Pacer final {
public:
    Pacer(const KeepResponsive& fn, const Pacing& pacing)
        : fn_(fn), every_(std::max<std::uint32_t>(pacing.characters, 1)),
          interval_(pacing.interval), left_(every_), last_(Clock::now()) {}
    void tick() {
        if (--left_ != 0)
            return;
        left_ = every_;
        if (!fn_)
            return;
        if (Clock::now() - last_ >= interval_) {
            fn_();
            last_ = Clock::now();
        }
    }

private:
    using Clock = std::chrono::steady_clock;
    const KeepResponsive& fn_;
    std::uint32_t every_;
    std::chrono::milliseconds interval_;
    std::uint32_t left_;
    Clock::time_point last_;
};

// The gradient's font tag of a colour, rewritten only when the colour changes.
class ColorTag final {
public:
    const char (&of(Color color))[23] {
        if (color != last_) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            const auto rgb = static_cast<std::uint32_t>(color);
            for (int k = 0; k < 3; ++k) {
                const unsigned v = (rgb >> (8 * k)) & 0xFF;
                tag_[14 + 2 * k] = kHex[v >> 4];
                tag_[15 + 2 * k] = kHex[v & 0xF];
            }
            last_ = color;
        }
        return tag_;
    }

private:
    char tag_[23] = "<font color=\"#000000\">";
    Color last_ = 0;
};

// The letters of the effects in the classic spelling, over the body writer. The colour tag
// is kept apart from the writer, whose fields then stay in registers.
class ClassicLetters final {
public:
    static constexpr std::size_t kMaxExtra = BodyWriter::kMaxExtra;

    explicit ClassicLetters(BodyWriter& body) : body_(body) {}
    void room(std::size_t n) { body_.room(n); }
    void text(std::string_view s) { body_.text(s); }
    void bulkText(std::string_view s) { body_.bulkText(s); }
    void letter(std::string_view c) { body_.letter(c); }
    void colourOpen(Color color) { body_.tag(colorTag_.of(color)); }
    void colourClose() { body_.tag("</font>"); }
    void raised(std::string_view c) {
        body_.tag("<sup>");
        body_.letter(c);
        body_.tag("</sup>");
    }
    void lowered(std::string_view c) {
        body_.tag("<sub>");
        body_.letter(c);
        body_.tag("</sub>");
    }
    void sized(char size, std::string_view c) {
        char open[] = "<font size=\"0\">";
        open[12] = size;
        body_.tag(open);
        body_.letter(c);
        body_.tag("</font>");
    }

private:
    BodyWriter& body_;
    ColorTag colorTag_;
};

// The high bit of each byte of w that equals b.
std::uint64_t bytesEqual(std::uint64_t w, unsigned char b) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    const std::uint64_t x = w ^ (0x0101010101010101ull * b);
    // A byte of x is zero exactly where adding 0x7F to its low bits leaves its high bit clear.
    return ~(((x & kLow7) + kLow7) | x) & ~kLow7;
}

// The spaces, CRs and LFs of a text, eight bytes at a time.
std::size_t passThroughBytes(std::string_view text) {
    std::size_t count = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, text.data() + i, 8);
        const std::uint64_t found = bytesEqual(w, ' ') | bytesEqual(w, '\r') | bytesEqual(w, '\n');
        // One bit per byte found: the multiplication sums them into the top byte.
        count += static_cast<std::size_t>(((found >> 7) * 0x0101010101010101ull) >> 56);
    }
    for (; i < text.size(); ++i)
        count += isPassThrough(text[i]);
    return count;
}

// The letters that get a colour tag: what the gradient's loop neither copies as a tag nor
// passes through.
std::uint64_t colouredLetters(std::string_view text, const Characters& chars) {
    // Without tags, and with each character one code point (so that a space or a line break
    // is a byte of its own): every character but the spaces and line breaks.
    if (chars.simple() && text.find('<') == std::string_view::npos)
        return chars.count() - passThroughBytes(text);
    std::uint64_t letters = 0;
    const std::size_t length = chars.count();
    for (Cursor c; c.p <= length; chars.advance(c)) {
        const char first = chars.first(c);
        if (first == '<')
            c = tagEnd(chars, c, 1);
        else if (!isPassThrough(first))
            ++letters;
    }
    return letters;
}

template <typename Stage, typename Body>
void gradientLoop(const Characters& chars, LetterColours& colours, Stage& next, Body& body,
                  Pacer& pacer) {
    RoomKeeper<Body> room(body, chars.longest());
    const std::size_t length = chars.count();
    for (Cursor c; c.p <= length; chars.advance(c)) {
        pacer.tick();
        const char first = chars.first(c);
        if (first == '<') {
            const Cursor end = tagEnd(chars, c, 1);
            next.characters(chars, c, end); // makes its own room
            room.renew();
            c = end;
            continue;
        }
        room.tick();
        const std::string_view at = chars.at(c);
        if (isPassThrough(first)) {
            next.character(at);
        } else {
            next.colouredLetter(colours.next(c.p), at);
        }
    }
}

// Lets the gradient feed the body writer directly when the waves are off.
template <typename Out> class PlainStage final {
public:
    explicit PlainStage(Out& out) : out_(out) {}
    void colouredLetter(Color color, std::string_view c) {
        out_.colourOpen(color);
        out_.letter(c);
        out_.colourClose();
    }
    void character(std::string_view c) { out_.text(c); }
    void characters(const Characters& chars, const Cursor& from, const Cursor& to) {
        out_.bulkText(chars.span(from, to));
    }

private:
    Out& out_;
};

template <typename Body>
void runBody(std::string_view text, const FormattingState& st, const GradientOptions& gradient,
             Body& body, const KeepResponsive& keepResponsive, const Pacing& pacing) {
    if (st.GradientOn != 1 && st.WavesOn != 1) {
        body.bulkText(text);
        return;
    }
    const Characters chars(text);
    Pacer pacer(keepResponsive, pacing);
    WavesStage<Body> waves(body, st);
    if (st.GradientOn == 1) {
        LetterColours colours(st, gradient, chars.count(),
                              gradient.countsLetters() ? colouredLetters(text, chars) : 0);
        if (st.WavesOn == 1) {
            gradientLoop(chars, colours, waves, body, pacer);
        } else {
            PlainStage<Body> plain(body);
            gradientLoop(chars, colours, plain, body, pacer);
        }
    } else {
        RoomKeeper<Body> room(body, chars.longest());
        for (Cursor c; c.p <= chars.count(); chars.advance(c)) {
            pacer.tick();
            room.tick();
            waves.character(chars.at(c));
        }
    }
}

// The bound is reserved, not written: the code takes memory as it grows. Where the system
// will not set that much aside, the code starts from the fallback (at most the bound) and
// the string's own doubling takes over. Kept apart from the generator's loops, which run
// slower with a handler beside them.
[[gnu::noinline]] void reserveCode(std::string& code, std::size_t bound, std::size_t fallback) {
    try {
        code.reserve(bound);
    } catch (const std::bad_alloc&) {
        code.reserve(std::min(bound, fallback));
    }
}

// At most this many bytes of body per byte of text with the effects in use: a letter of
// one byte and its tags (the gradient's 22 + 7, the waves' 15 + 7 or 5 + 6), or a pair of
// spaces written "&nbsp&nbsp".
std::size_t maxGrowth(const FormattingState& st) {
    std::size_t letter = 1;
    if (st.GradientOn == 1)
        letter += 29;
    if (st.WavesOn == 1)
        letter += st.WavesKind == 1 ? 22 : 11;
    return std::max<std::size_t>(letter, 5);
}

// The signature's text part and image part in HTML5 or BBCode.
std::string signatureText(const FormattingState& st, const GeneratorOptions& options) {
    const int size = LegacyFontSize(7 - static_cast<int>(st.SignatureSizeIndex));
    const std::string colour = ColorToHtml(st.SignatureColor);
    if (options.format == OutputFormat::BbCode)
        return "[size=" + std::to_string(BbcodeFontSize(size, options.percentSizes)) + "][color=#" +
               colour + "][b]" + st.SignatureText + "[/b][/color][/size]";
    return "<span style=\"color:#" + colour + ";font-family:" + CssQuotedFace(st.FontFace) +
           ";font-size:" + CssFontSize(size) + "\"><b>" + st.SignatureText + "</b></span>";
}

std::string signatureImage(const FormattingState& st, const GeneratorOptions& options) {
    const std::string& link = st.SignatureLink;
    const char* scheme = link.find('@') != std::string::npos ? "mailto:" : "";
    if (options.format == OutputFormat::BbCode) {
        const std::string image = "[img]" + BbcodeAddress(st.SignatureImageUrl) + "[/img]";
        if (link.empty())
            return image;
        return "[url=" + std::string(scheme) + BbcodeAddress(link) + "]" + image + "[/url]";
    }
    if (link.empty())
        return "<img src=\"" + st.SignatureImageUrl + "\">";
    return "<a href=\"" + std::string(scheme) + link + "\"><img src=\"" + st.SignatureImageUrl +
           "\" style=\"border:0\"></a>";
}

} // namespace

TagPair StyleTags(const FormattingState& st) {
    static constexpr const char* kTags[4] = {"b", "i", "u", "s"};
    const unsigned sum =
        st.IgnoreTextTags == 0
            ? static_cast<unsigned>(st.Bold + st.Italic + st.Underline + st.StrikeOut)
            : 0;
    TagPair tags;
    if (sum > 15)
        return tags;
    for (int k = 0; k < 4; ++k) {
        if (sum & (1u << k)) {
            tags.opening += std::string("<") + kTags[k] + ">";
            tags.closing += std::string("</") + kTags[k] + ">";
        }
    }
    return tags;
}

TagPair AlignmentTags(const FormattingState& st) {
    if (st.Alignment == 1)
        return {"<div align=\"center\">", "</div>"};
    if (st.Alignment == 2)
        return {"<div align=\"right\">", "</div>"};
    return {};
}

TagPair FontTags(const FormattingState& st) {
    if (st.IgnoreTextTags != 0)
        return {};
    std::string open = "<font size=\"" + std::to_string(8 - static_cast<int>(st.FontSizeIndex)) +
                       "\" face=\"" + st.FontFace + "\"";
    if (st.GradientOn != 1)
        open += " color=\"#" + ColorToHtml(st.FontColor) + "\"";
    open += ">";
    return {open, "</font>"};
}

TagPair MarqueeTags(const FormattingState& st) {
    const int h = st.MarqueeHorizontal;
    const int v = st.MarqueeVertical;
    if (h == 0 && v == 0)
        return {};
    std::string speed;
    switch (st.MarqueeSpeed) {
    case 0:
        speed = "scrollamount=\"16\" scrolldelay=\"50\"";
        break;
    case 1:
        speed = "scrollamount=\"4\" scrolldelay=\"50\"";
        break;
    case 2:
        speed = "scrollamount=\"1\" scrolldelay=\"50\"";
        break;
    default:
        break;
    }
    const bool alternate = st.MarqueeStyle == 1;
    const char* behavior = alternate ? "Behavior=\"Alternate\" " : "";
    std::string head;
    std::string closing = "</marquee>";
    if (h >= 1 && h <= 2 && v >= 1 && v <= 2) {
        head = std::string("<marquee Direction=\"") + (h == 1 ? "Left" : "Right") +
               "\"><marquee Direction=\"" + (v == 1 ? "Up" : "Down") + "\" Behavior=\"Alternate\" ";
        closing = "</marquee></marquee>";
    } else if (v == 0 && h == 1) {
        head = std::string("<marquee ") + behavior;
    } else if (v == 0 && h == 2) {
        head = std::string("<marquee Direction=\"Right\" ") + behavior;
    } else if (h == 0 && (v == 1 || v == 2)) {
        head = std::string("<marquee Direction=\"") + (v == 1 ? "Up" : "Down") + "\" " + behavior;
    } else {
        return {};
    }
    if (st.MarqueeStyle > 1 && !(h >= 1 && h <= 2 && v >= 1 && v <= 2))
        return {}; // a style with no row of its own
    return {head + speed + ">", closing};
}

std::string SignatureTextPart(std::string_view text, int sizeIndex, std::string_view face,
                              Color color) {
    return "<font size=\"" + std::to_string(7 - sizeIndex) + "\" face=\"" + std::string(face) +
           "\" color=\"#" + ColorToHtml(color) + "\"><b>" + std::string(text) + "</b></font>";
}

std::string SignatureImagePart(std::string_view imageUrl, std::string_view link) {
    if (imageUrl.empty())
        return {};
    if (link.empty())
        return "<img src=\"" + std::string(imageUrl) + "\">";
    const std::string image = "<img src=\"" + std::string(imageUrl) + "\" border=\"0\">";
    const char* scheme = link.find('@') != std::string_view::npos ? "mailto:" : "";
    return "<a href=\"" + std::string(scheme) + std::string(link) + "\">" + image + "</a>";
}

std::string SignatureBlock(const FormattingState& st) {
    const std::string text = st.SignatureText.empty()
                                 ? std::string()
                                 : SignatureTextPart(st.SignatureText, st.SignatureSizeIndex,
                                                     st.FontFace, st.SignatureColor);
    const std::string image = SignatureImagePart(st.SignatureImageUrl, st.SignatureLink);
    return st.SignatureOrder == 0 ? text + "&nbsp" + image : image + "&nbsp" + text;
}

TagPair StyleTags(const FormattingState& st, OutputFormat format) {
    const TagPair classic = StyleTags(st);
    if (format == OutputFormat::ClassicHtml || classic.opening.empty())
        return classic;
    // Closed innermost first, so that the tags nest as validators and forums require.
    static constexpr char kNames[4] = {'b', 'i', 'u', 's'};
    const bool bb = format == OutputFormat::BbCode;
    TagPair tags;
    for (char name : kNames) {
        if (classic.opening.find(std::string("<") + name + ">") == std::string::npos)
            continue;
        tags.opening += std::string(bb ? "[" : "<") + name + (bb ? "]" : ">");
        tags.closing.insert(0, std::string(bb ? "[/" : "</") + name + (bb ? "]" : ">"));
    }
    return tags;
}

TagPair AlignmentTags(const FormattingState& st, OutputFormat format) {
    if (format == OutputFormat::ClassicHtml)
        return AlignmentTags(st);
    if (st.Alignment != 1 && st.Alignment != 2)
        return {};
    const char* side = st.Alignment == 1 ? "center" : "right";
    if (format == OutputFormat::BbCode)
        return {std::string("[") + side + "]", std::string("[/") + side + "]"};
    return {std::string("<div style=\"text-align:") + side + "\">", "</div>"};
}

TagPair FontTags(const FormattingState& st, const GeneratorOptions& options) {
    if (options.format == OutputFormat::ClassicHtml)
        return FontTags(st);
    if (st.IgnoreTextTags != 0)
        return {};
    const int size = LegacyFontSize(8 - static_cast<int>(st.FontSizeIndex));
    const bool coloured = st.GradientOn != 1;
    if (options.format == OutputFormat::BbCode) {
        TagPair tags{"[font=" + BbcodeFace(st.FontFace) + "][size=" +
                         std::to_string(BbcodeFontSize(size, options.percentSizes)) + "]",
                     "[/size][/font]"};
        if (coloured) {
            tags.opening += "[color=#" + ColorToHtml(st.FontColor) + "]";
            tags.closing.insert(0, "[/color]");
        }
        return tags;
    }
    std::string open = "<span style=\"";
    if (coloured)
        open += "color:#" + ColorToHtml(st.FontColor) + ";";
    open += "font-family:" + CssQuotedFace(st.FontFace) + ";font-size:" + CssFontSize(size) + "\">";
    return {open, "</span>"};
}

TagPair MarqueeTags(const FormattingState& st, OutputFormat format) {
    // Forums have no common tag for it: BBCode leaves it out.
    return format == OutputFormat::BbCode ? TagPair{} : MarqueeTags(st);
}

std::string SignatureBlock(const FormattingState& st, const GeneratorOptions& options) {
    if (options.format == OutputFormat::ClassicHtml)
        return SignatureBlock(st);
    const std::string text = st.SignatureText.empty() ? std::string() : signatureText(st, options);
    const std::string image =
        st.SignatureImageUrl.empty() ? std::string() : signatureImage(st, options);
    const char* space = options.format == OutputFormat::BbCode ? " " : "&nbsp;";
    return st.SignatureOrder == 0 ? text + space + image : image + space + text;
}

std::string CopyTag(std::string_view text, std::size_t& scanPosition, int offset) {
    const Characters chars(text);
    if (scanPosition < 1 || scanPosition > chars.count())
        return {};
    Cursor start;
    while (start.p < scanPosition)
        chars.advance(start);
    const Cursor end = tagEnd(chars, start, offset);
    scanPosition = end.p;
    return std::string(chars.span(start, end));
}

std::string GenerateCode(std::string_view text, const FormattingState& st,
                         const GeneratorOptions& options, const KeepResponsive& keepResponsive,
                         const Pacing& pacing) {
    if (text.empty() && st.SignatureOn == 0 && st.CodePrefix.empty())
        return std::string();

    const OutputFormat format = options.format;
    const TagPair style = StyleTags(st, format);
    const TagPair align = text.empty() ? TagPair{} : AlignmentTags(st, format);
    const TagPair font = text.empty() ? TagPair{} : FontTags(st, options);
    const std::string signature = st.SignatureOn == 1 ? SignatureBlock(st, options) : std::string();
    const TagPair marquee = st.ScrollingOn == 1 ? MarqueeTags(st, format) : TagPair{};

    const std::size_t head = st.CodePrefix.size() + marquee.opening.size() + font.opening.size() +
                             align.opening.size() + style.opening.size();
    const std::size_t tail = style.closing.size() + align.closing.size() + font.closing.size() +
                             marquee.closing.size() + signature.size();
    // The styles' tags are longer than the font tags: half as much again is ample.
    const std::size_t growth = options.classic() ? maxGrowth(st) : maxGrowth(st) * 3 / 2;
    std::string code;
    reserveCode(code, head + text.size() * growth + tail, head + 2 * text.size() + tail);
    code += st.CodePrefix;
    code += marquee.opening;
    code += font.opening;
    code += align.opening;
    code += style.opening;
    if (options.classic()) {
        // The classic fragment keeps a writer of its own, the fastest.
        BodyWriter body(code, !options.keepLineBreaks);
        ClassicLetters letters(body);
        runBody(text, st, options.gradient, letters, keepResponsive, pacing);
        body.finish(tail);
    } else {
        FormatWriter body(code, options, !options.keepLineBreaks);
        runBody(text, st, options.gradient, body, keepResponsive, pacing);
        body.finish();
    }
    code += style.closing;
    code += align.closing;
    code += font.closing;
    code += marquee.closing;
    code += signature;
    return code;
}

} // namespace zk
