#include "settings_file.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <type_traits>

#include "ordinary_file.h"
#include "text.h"

namespace zk {
namespace {

template <FieldKind K> struct KindType;
template <> struct KindType<FieldKind::String> { using type = std::string; };
template <> struct KindType<FieldKind::Int32> { using type = std::int32_t; };
template <> struct KindType<FieldKind::Byte> { using type = std::uint8_t; };
template <> struct KindType<FieldKind::UInt16> { using type = std::uint16_t; };

struct FieldEntry {
    SettingsField field;
    void* (*address)(AppSettings&);
};

// The variable's type is checked against the kind at compile time, so a width in the table
// cannot silently disagree with the record.
#define ZK_FIELD(NAME, KIND, MEMBER)                                                               \
    FieldEntry {                                                                                   \
        {NAME, FieldKind::KIND}, [](AppSettings& s) -> void* {                                     \
            static_assert(std::is_same_v<std::decay_t<decltype(s.MEMBER)>,                         \
                                         KindType<FieldKind::KIND>::type>);                        \
            return &s.MEMBER;                                                                      \
        }                                                                                          \
    }
#define ZK_PRESET(K)                                                                               \
    ZK_FIELD("PresetStartColors[" #K "]", Int32, fmt.PresetStartColors[K]),                        \
        ZK_FIELD("PresetEndColors[" #K "]", Int32, fmt.PresetEndColors[K])

const FieldEntry kEntries[] = {
    ZK_FIELD("LastFolder", String, LastFolder),
    ZK_FIELD("WindowLeft", Int32, WindowLeft),
    ZK_FIELD("WindowTop", Int32, WindowTop),
    ZK_FIELD("FontFaceIndex", Byte, fmt.FontFaceIndex),
    ZK_FIELD("FontSizeIndex", Byte, fmt.FontSizeIndex),
    ZK_FIELD("Bold", Byte, fmt.Bold),
    ZK_FIELD("Italic", Byte, fmt.Italic),
    ZK_FIELD("Underline", Byte, fmt.Underline),
    ZK_FIELD("StrikeOut", Byte, fmt.StrikeOut),
    ZK_FIELD("MarqueeHorizontal", Byte, fmt.MarqueeHorizontal),
    ZK_FIELD("MarqueeVertical", Byte, fmt.MarqueeVertical),
    ZK_FIELD("MarqueeStyle", Byte, fmt.MarqueeStyle),
    ZK_FIELD("MarqueeSpeed", Byte, fmt.MarqueeSpeed),
    ZK_FIELD("LastTextEffect", Byte, LastTextEffect),
    ZK_FIELD("WavesKind", Byte, fmt.WavesKind),
    ZK_FIELD("FontColor", Int32, fmt.FontColor),
    ZK_FIELD("Alignment", Byte, fmt.Alignment),
    ZK_FIELD("PresetIndex", Byte, PresetIndex),
    ZK_FIELD("AlwaysOnTop", Byte, AlwaysOnTop),
    ZK_FIELD("SignatureOn", Byte, fmt.SignatureOn),
    ZK_FIELD("ScrollingOn", Byte, fmt.ScrollingOn),
    ZK_FIELD("WavesOn", Byte, fmt.WavesOn),
    ZK_FIELD("GradientOn", Byte, fmt.GradientOn),
    ZK_FIELD("CurrentList", Int32, CurrentList),
    ZK_FIELD("GradientStartColor", Int32, fmt.GradientStartColor),
    ZK_FIELD("GradientEndColor", Int32, fmt.GradientEndColor),
    ZK_FIELD("StartAtLogon", Byte, StartAtLogon),
    ZK_FIELD("MinimizeAfterCopy", Byte, MinimizeAfterCopy),
    ZK_FIELD("PreviewInNewWindow", Byte, PreviewInNewWindow),
    ZK_FIELD("ShowHints", Byte, ShowHints),
    ZK_FIELD("PreviewInProgram", Byte, PreviewInProgram),
    ZK_FIELD("SignatureText", String, fmt.SignatureText),
    ZK_FIELD("SignatureColor", Int32, fmt.SignatureColor),
    ZK_FIELD("SignatureImageUrl", String, fmt.SignatureImageUrl),
    ZK_FIELD("SignatureLink", String, fmt.SignatureLink),
    ZK_FIELD("CodePrefix", String, fmt.CodePrefix),
    ZK_FIELD("PreferencesPage", Byte, PreferencesPage),
    ZK_FIELD("SignatureSizeIndex", Byte, fmt.SignatureSizeIndex),
    ZK_FIELD("SignatureOrder", Byte, fmt.SignatureOrder),
    ZK_FIELD("CodeSizeLimit", UInt16, fmt.CodeSizeLimit),
    ZK_FIELD("IgnoreTextTags", Byte, fmt.IgnoreTextTags),
    ZK_FIELD("GradientSymmetry", Byte, fmt.GradientSymmetry),
    ZK_PRESET(0),
    ZK_PRESET(1),
    ZK_PRESET(2),
    ZK_PRESET(3),
    ZK_PRESET(4),
    ZK_PRESET(5),
    ZK_PRESET(6),
    ZK_PRESET(7),
    ZK_FIELD("GradientPresetIndex", Byte, fmt.GradientPresetIndex),
};
#undef ZK_PRESET
#undef ZK_FIELD

static_assert(std::size(kEntries) == kSettingsLineCount, "the file has 59 lines");

void* fieldAddress(AppSettings& s, std::size_t i) {
    return kEntries[i].address(s);
}
const void* fieldAddress(const AppSettings& s, std::size_t i) {
    return kEntries[i].address(const_cast<AppSettings&>(s));
}

// The low 32 bits as a signed value, without relying on implementation-defined narrowing.
std::int32_t low32(std::int64_t value) {
    const auto u = static_cast<std::uint32_t>(static_cast<std::uint64_t>(value));
    if (u <= static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))
        return static_cast<std::int32_t>(u);
    return static_cast<std::int32_t>(u - 0x80000000u) + std::numeric_limits<std::int32_t>::min();
}

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// A string as it may stand on one line of the file: valid UTF-8, no line break.
std::string oneLine(std::string value) {
    if (!isValidUtf8(value))
        value = u32ToUtf8(utf8ToU32(value));
    for (char& c : value)
        if (isLineEnd(c))
            c = ' ';
    return value;
}

} // namespace

const std::vector<SettingsField>& settingsFields() {
    static const std::vector<SettingsField> fields = [] {
        std::vector<SettingsField> v;
        for (const FieldEntry& e : kEntries)
            v.push_back(e.field);
        return v;
    }();
    return fields;
}

std::string fieldText(const AppSettings& s, std::size_t i) {
    const void* p = fieldAddress(s, i);
    switch (kEntries[i].field.kind) {
    case FieldKind::String:
        return *static_cast<const std::string*>(p);
    case FieldKind::Int32:
        return std::to_string(*static_cast<const std::int32_t*>(p));
    case FieldKind::Byte:
        return std::to_string(static_cast<unsigned>(*static_cast<const std::uint8_t*>(p)));
    case FieldKind::UInt16:
        return std::to_string(static_cast<unsigned>(*static_cast<const std::uint16_t*>(p)));
    }
    return {};
}

void setFieldString(AppSettings& s, std::size_t i, std::string value) {
    if (kEntries[i].field.kind == FieldKind::String)
        *static_cast<std::string*>(fieldAddress(s, i)) = std::move(value);
}

void setFieldNumber(AppSettings& s, std::size_t i, std::int64_t value) {
    void* p = fieldAddress(s, i);
    const auto bits = static_cast<std::uint64_t>(value);
    switch (kEntries[i].field.kind) {
    case FieldKind::String:
        break;
    case FieldKind::Int32:
        *static_cast<std::int32_t*>(p) = low32(value);
        break;
    case FieldKind::Byte:
        *static_cast<std::uint8_t*>(p) = static_cast<std::uint8_t>(bits & 0xFFu);
        break;
    case FieldKind::UInt16:
        *static_cast<std::uint16_t*>(p) = static_cast<std::uint16_t>(bits & 0xFFFFu);
        break;
    }
}

int findSettingsField(std::string_view name) {
    for (std::size_t i = 0; i < kSettingsLineCount; ++i)
        if (name == kEntries[i].field.name)
            return static_cast<int>(i);
    return -1;
}

LoadResult ParseSettings(std::string_view bytes, AppSettings& s) {
    const std::string text = decodeTextFile(bytes);
    ValueReader reader(text);
    for (std::size_t i = 0; i < kSettingsLineCount; ++i) {
        if (kEntries[i].field.kind == FieldKind::String) {
            setFieldString(s, i, reader.readString());
            continue;
        }
        std::int64_t value = 0;
        if (!reader.readNumber(value))
            return {LoadResult::InvalidNumber, reader.numberLine()};
        setFieldNumber(s, i, value);
    }
    return {};
}

LoadResult LoadSettings(const std::string& path, AppSettings& s) {
    const ReadResult read = readOrdinaryFile(path, kSettingsSizeLimit);
    if (read.status == ReadStatus::TooBig)
        return {LoadResult::TooBig, 0};
    if (!read.ok())
        return {LoadResult::Missing, 0};
    return ParseSettings(read.bytes, s);
}

std::string FormatSettings(const AppSettings& s) {
    std::string text;
    for (std::size_t i = 0; i < kSettingsLineCount; ++i) {
        text += kEntries[i].field.kind == FieldKind::String ? oneLine(fieldText(s, i))
                                                            : fieldText(s, i);
        text += "\r\n";
    }
    // Windows-1252 bytes that happen to form UTF-8 would be read back as UTF-8 ("Ã©"
    // becoming "é"); such a text is written as UTF-8 instead.
    std::string bytes = encodeTextFile(text);
    if (bytes != text && decodeTextFile(bytes) != text)
        return text;
    return bytes;
}

WriteResult SaveSettings(const std::string& path, const AppSettings& s) {
    return writeFileAtomically(path, FormatSettings(s));
}

std::string FontFaceForIndex(int index) {
    if (index < 0 || index >= static_cast<int>(kFontFaceNames.size()))
        return {};
    return kFontFaceNames[static_cast<std::size_t>(index)];
}

void ApplyFontFaceIndex(FormattingState& fmt) {
    std::string face = FontFaceForIndex(fmt.FontFaceIndex);
    if (!face.empty())
        fmt.FontFace = std::move(face);
}

} // namespace zk
