// Any bytes read as a settings file must write back as a file that reads the same values;
// strings set directly, whatever their bytes, must survive the round trip as one line each.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings_file.h"
#include "text.h"

namespace {

using namespace zk;

// Every field different from what the reader could leave behind by mistake.
AppSettings sentinel() {
    AppSettings s;
    for (std::size_t i = 0; i < kSettingsLineCount; ++i) {
        if (settingsFields()[i].kind == FieldKind::String)
            setFieldString(s, i, "\x01sentinel");
        else
            setFieldNumber(s, i, 123456789);
    }
    return s;
}

void check(bool ok, const char* what, std::size_t field = kSettingsLineCount) {
    if (ok)
        return;
    std::fprintf(stderr, "settings round trip: %s", what);
    if (field < kSettingsLineCount)
        std::fprintf(stderr, " (line %zu, %s)", field + 1, settingsFields()[field].name);
    std::fprintf(stderr, "\n");
    std::abort();
}

void checkRoundTrip(const AppSettings& s, const AppSettings& expected) {
    const std::string file = FormatSettings(s);
    AppSettings back = sentinel();
    check(ParseSettings(file, back).status == LoadResult::Ok, "written file does not read");
    for (std::size_t i = 0; i < kSettingsLineCount; ++i)
        check(fieldText(back, i) == fieldText(expected, i), "value changed", i);
    check(FormatSettings(back) == file, "second write differs");
}

// What a string becomes once written on one line: valid UTF-8, line breaks as blanks.
std::string asWritten(std::string v) {
    if (!isValidUtf8(v))
        v = u32ToUtf8(utf8ToU32(v));
    for (char& c : v)
        if (c == '\r' || c == '\n')
            c = ' ';
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The bytes as a file.
    AppSettings read;
    read.LastFolder = "/app/";
    const LoadResult r = ParseSettings(bytes, read);
    check(r.status == LoadResult::Ok || (r.status == LoadResult::InvalidNumber && r.line >= 1 &&
                                         static_cast<std::size_t>(r.line) <= size + 1),
          "bad load result");
    checkRoundTrip(read, read);

    // The bytes as the values of the string fields, numbers taken from their start.
    AppSettings direct;
    AppSettings expected;
    std::size_t piece = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < kSettingsLineCount; ++i) {
        if (settingsFields()[i].kind != FieldKind::String) {
            std::int64_t v = 0;
            for (std::size_t k = 0; k < 8 && i + k < size; ++k)
                v = static_cast<std::int64_t>(static_cast<std::uint64_t>(v) << 8 | data[i + k]);
            setFieldNumber(direct, i, v);
            setFieldNumber(expected, i, v);
            continue;
        }
        // Five strings: the input cut at its 0xFF bytes, the last one taking the rest.
        std::size_t end = piece < 4 ? bytes.find('\xFF', start) : std::string_view::npos;
        if (end == std::string_view::npos)
            end = size;
        const std::string value(bytes.substr(std::min(start, size), end - std::min(start, size)));
        start = end + 1;
        ++piece;
        setFieldString(direct, i, value);
        setFieldString(expected, i, asWritten(value));
    }
    checkRoundTrip(direct, expected);
    return 0;
}
