// The settings file: 59 lines, one value each, in a fixed order and without keys.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "atomic_file.h"
#include "formatting_state.h"
#include "value_reader.h"

namespace zk {

// Everything the settings file keeps, with the values used when there is no file.
struct AppSettings final {
    std::string LastFolder; // the caller sets it to the application folder first
    std::int32_t WindowLeft = 236;
    std::int32_t WindowTop = 164;
    std::uint8_t LastTextEffect = 0;
    std::uint8_t PresetIndex = 0;
    std::uint8_t AlwaysOnTop = 0;
    std::int32_t CurrentList = 0;
    std::uint8_t StartAtLogon = 0;
    std::uint8_t MinimizeAfterCopy = 0;
    std::uint8_t PreviewInNewWindow = 0;
    std::uint8_t ShowHints = 1;
    std::uint8_t PreviewInProgram = 1;
    std::uint8_t PreferencesPage = 0;
    FormattingState fmt;
};

enum class FieldKind { String, Int32, Byte, UInt16 };

// One line of the file: its variable's name and width. The reader, the writer and the
// command-line tool all walk this one table, so they cannot disagree.
struct SettingsField {
    const char* name; // "Bold", "WindowLeft", "PresetStartColors[3]"...
    FieldKind kind;
};
inline constexpr std::size_t kSettingsLineCount = 59;
const std::vector<SettingsField>& settingsFields(); // 59 entries, line 1 first

// Reads or writes the value of field index i (0-based line) of s. A number is stored with
// the width of its variable, keeping the low bits (300 in a byte gives 44, -1 gives 255).
// fieldText gives a number in decimal and a string as it is.
std::string fieldText(const AppSettings& s, std::size_t i);
void setFieldString(AppSettings& s, std::size_t i, std::string value);
void setFieldNumber(AppSettings& s, std::size_t i, std::int64_t value);
// Finds a field by its exact name; -1 when there is none.
int findSettingsField(std::string_view name);

inline constexpr const char* kInvalidNumericInput = "Invalid numeric input";

struct LoadResult {
    enum Status {
        Ok,
        Missing,      // no file, or nothing that can be read: not an ordinary file, no permission
        TooBig,       // an ordinary file larger than its format can be; not read
        InvalidNumber // read up to a line that is not a number
    } status = Ok;
    int line = 0; // 1-based file line of the bad number
    // The file is there but was not read whole: it must be kept before it is written over.
    bool partlyRead() const { return status == TooBig || status == InvalidNumber; }
};

// The largest settings file read. The window writes at most about 400 KB (four edit boxes of
// 32767 characters and a folder path); a larger file is not one it wrote.
inline constexpr std::size_t kSettingsSizeLimit = std::size_t{1} << 20;

// Reads the settings from the file's bytes over s. A number line that is not an integer
// stops the reading; the values read before it keep their new values, the others (the bad
// one included) stay as they were.
LoadResult ParseSettings(std::string_view bytes, AppSettings& s);
// Reads the file at path over s when it is an ordinary file (links followed) of at most
// kSettingsSizeLimit bytes; otherwise s stays as it is (Missing or TooBig).
LoadResult LoadSettings(const std::string& path, AppSettings& s);

// The file's bytes: 59 lines, each ended by CR LF; Windows-1252 when every character fits
// (and reads back the same), UTF-8 otherwise. A line break inside a string is written as a
// blank so that it cannot shift the lines after it.
std::string FormatSettings(const AppSettings& s);
// Replaces the file through a temporary file and a rename; the previous file stays whole
// when that fails.
WriteResult SaveSettings(const std::string& path, const AppSettings& s);

// The face name of a face index; empty when the index names no face.
std::string FontFaceForIndex(int index);
// FontFace follows FontFaceIndex as at start-up; an index that names no face leaves it.
void ApplyFontFaceIndex(FormattingState& fmt);

} // namespace zk
