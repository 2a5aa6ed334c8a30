#include "options_file.h"

#include <algorithm>
#include <cstdint>

#include "ordinary_file.h"
#include "string_utils.h"
#include "text.h"
#include "value_reader.h"

namespace zk {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

template <typename T> bool setNumber(T& member, std::string_view text, int min, int max) {
    std::int64_t value = 0;
    if (!parseSettingsInteger(trimmed(text), value) || value < min || value > max)
        return false;
    member = static_cast<T>(value);
    return true;
}

// "#RRGGBB" to 0x00BBGGRR.
bool parseHtmlColor(std::string_view text, Color& color) {
    if (text.size() != 7 || text[0] != '#')
        return false;
    std::uint32_t rgb = 0;
    for (std::size_t i = 1; i < 7; ++i) {
        const int d = zk::hexDigitValue(text[i]);
        if (d < 0)
            return false;
        rgb = rgb << 4 | static_cast<std::uint32_t>(d);
    }
    color = static_cast<Color>((rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
    return true;
}

bool setStops(NewOptions& o, std::string_view text) {
    std::vector<Color> stops;
    text = trimmed(text);
    while (true) {
        const std::size_t comma = text.find(',');
        Color color = 0;
        if (!parseHtmlColor(trimmed(text.substr(0, comma)), color) ||
            stops.size() == kMaxGradientStops)
            return false;
        stops.push_back(color);
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    if (stops.size() < kMinGradientStops)
        return false;
    o.GradientStops = std::move(stops);
    return true;
}

std::string stopsText(const NewOptions& o) {
    std::string text;
    for (Color c : o.GradientStops)
        text += (text.empty() ? "#" : ",#") + ColorToHtml(c);
    return text;
}

// The selected stop is checked against the number of stops apart (see consistent()), as the
// file may give it before the stops.
bool setSelectedStop(NewOptions& o, std::string_view text) {
    return setNumber(o.GradientSelectedStop, text, 0, static_cast<int>(kMaxGradientStops) - 1);
}

bool consistent(const NewOptions& o) {
    return o.GradientSelectedStop < o.GradientStops.size();
}

struct OptionEntry {
    const char* name;
    std::string (*text)(const NewOptions&);
    bool (*set)(NewOptions&, std::string_view);
    void (*reset)(NewOptions&);
    const char* range;
};

#define ZK_NUMBER(NAME, MIN, MAX)                                                                  \
    OptionEntry {                                                                                  \
#NAME, [](const NewOptions& o) { return std::to_string(static_cast<unsigned>(o.NAME)); },  \
            [](NewOptions& o, std::string_view v) { return setNumber(o.NAME, v, MIN, MAX); },      \
            [](NewOptions& o) { o.NAME = NewOptions{}.NAME; }, #MIN " to " #MAX       \
    }

const OptionEntry kEntries[] = {
    ZK_NUMBER(OutputFormat, 0, 2),
    ZK_NUMBER(CompactCode, 0, 1),
    ZK_NUMBER(BbcodePercentSizes, 0, 1),
    ZK_NUMBER(CopyRichText, 0, 1),
    ZK_NUMBER(LivePreview, 0, 1),
    ZK_NUMBER(GradientType, 0, 2),
    ZK_NUMBER(GradientBlend, 0, 1),
    {"GradientStops", stopsText, setStops,
     [](NewOptions& o) { o.GradientStops = NewOptions{}.GradientStops; },
     "2 to 8 colours #RRGGBB separated by commas"},
    {"GradientSelectedStop",
     [](const NewOptions& o) {
         return std::to_string(static_cast<unsigned>(o.GradientSelectedStop));
     },
     setSelectedStop, [](NewOptions& o) { o.GradientSelectedStop = 0; },
     "0 to the number of colours minus 1"},
    ZK_NUMBER(RainbowStart, 0, 360),
    ZK_NUMBER(RainbowSpan, 0, 360),
};
#undef ZK_NUMBER

constexpr std::size_t kOptionCount = std::size(kEntries);

// The other lines kept take at most this much, so that the file written back stays within
// what is read, with room for the known options (a few hundred bytes).
constexpr std::size_t kOtherLinesBudget = kOptionsSizeLimit - 1024;

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

} // namespace

const std::vector<std::string>& optionNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (const OptionEntry& e : kEntries)
            v.emplace_back(e.name);
        return v;
    }();
    return names;
}

int findOption(std::string_view name) {
    for (std::size_t i = 0; i < kOptionCount; ++i)
        if (sameName(name, kEntries[i].name))
            return static_cast<int>(i);
    return -1;
}

std::string optionText(const NewOptions& o, std::size_t i) {
    return i < kOptionCount ? kEntries[i].text(o) : std::string();
}

bool setOptionText(NewOptions& o, std::size_t i, std::string_view value) {
    if (i >= kOptionCount)
        return false;
    NewOptions changed = o;
    if (!kEntries[i].set(changed, value))
        return false;
    // A selected stop must name one of the stops; fewer stops move the selection to the last.
    if (!consistent(changed)) {
        if (i == static_cast<std::size_t>(findOption("GradientSelectedStop")))
            return false;
        changed.GradientSelectedStop = static_cast<std::uint8_t>(changed.GradientStops.size() - 1);
    }
    o = std::move(changed);
    return true;
}

std::string optionRange(std::size_t i) {
    return i < kOptionCount ? kEntries[i].range : "";
}

OptionsLoadResult ParseOptions(std::string_view bytes, NewOptions& o) {
    std::string text = decodeTextFile(bytes);
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) // a byte order mark from an editor
        text.erase(0, 3);
    OptionsLoadResult result;
    const auto refuse = [&result](int line) {
        if (result.firstRefusedLine == 0)
            result.firstRefusedLine = line;
    };
    int lineOf[kOptionCount] = {}; // where each option was given; 0 when it was not
    std::size_t otherBytes = 0;
    o.OtherLines.clear();
    const std::string_view all(text);
    std::size_t pos = 0;
    for (int line = 1; pos < all.size(); ++line) {
        std::size_t end = pos;
        while (end < all.size() && all[end] != '\r' && all[end] != '\n')
            ++end;
        const std::string_view raw = all.substr(pos, end - pos);
        // CR LF, a lone CR and a lone LF each end one line.
        pos = end + (all.compare(end, 2, "\r\n") == 0 ? 2 : end < all.size() ? 1 : 0);

        if (trimmed(raw).empty())
            continue;
        const std::size_t eq = raw.find('=');
        const int i = eq == std::string_view::npos ? -1 : findOption(trimmed(raw.substr(0, eq)));
        if (i < 0) {
            if (otherBytes + raw.size() + 2 > kOtherLinesBudget) {
                refuse(line);
                continue;
            }
            otherBytes += raw.size() + 2;
            o.OtherLines.emplace_back(raw);
            continue;
        }
        const auto k = static_cast<std::size_t>(i);
        if (lineOf[k] != 0) {
            refuse(line); // the first value stands
            continue;
        }
        lineOf[k] = line;
        if (!kEntries[k].set(o, raw.substr(eq + 1))) {
            kEntries[k].reset(o);
            refuse(line);
        }
    }
    if (!consistent(o)) {
        o.GradientSelectedStop = 0;
        refuse(lineOf[static_cast<std::size_t>(findOption("GradientSelectedStop"))]);
    }
    return result;
}

OptionsLoadResult LoadOptions(const std::string& path, NewOptions& o) {
    const ReadResult read = readOrdinaryFile(path, kOptionsSizeLimit);
    if (read.status == ReadStatus::TooBig)
        return {OptionsLoadResult::TooBig, 0};
    if (!read.ok())
        return {OptionsLoadResult::Missing, 0};
    return ParseOptions(read.bytes, o);
}

std::string FormatOptions(const NewOptions& o) {
    std::string text;
    for (const OptionEntry& e : kEntries)
        text += std::string(e.name) + "=" + e.text(o) + "\r\n";
    for (const std::string& line : o.OtherLines)
        text += line + "\r\n";
    return encodeTextFile(text);
}

WriteResult SaveOptions(const std::string& path, const NewOptions& o) {
    return writeFileAtomically(path, FormatOptions(o));
}

GeneratorOptions generatorOptions(const NewOptions& o) {
    GeneratorOptions g;
    g.format = static_cast<OutputFormat>(std::min<int>(o.OutputFormat, 2));
    g.compact = o.CompactCode == 1;
    g.percentSizes = o.BbcodePercentSizes == 1;
    g.gradient.type = static_cast<GradientType>(std::min<int>(o.GradientType, 2));
    g.gradient.blend = static_cast<GradientBlend>(std::min<int>(o.GradientBlend, 1));
    g.gradient.setStops(o.GradientStops);
    g.gradient.rainbowStart = o.RainbowStart;
    g.gradient.rainbowSpan = o.RainbowSpan;
    return g;
}

} // namespace zk
