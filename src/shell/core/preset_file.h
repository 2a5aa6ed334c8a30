// A preset file: the basic text formatting in eight lines, one number each, no keys.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "atomic_file.h"
#include "formatting_state.h"
#include "settings_file.h"

namespace zk {

inline constexpr std::size_t kPresetLineCount = 8;

// "ZelkoHTML" followed by the slot number in decimal and ".cfg" (slot 9 is "ZelkoHTML9.cfg").
std::string presetFileName(int slot);

// Reads the eight numbers over fmt: FontFaceIndex, FontSizeIndex, FontColor, Alignment,
// Bold, Italic, Underline, StrikeOut. The settings file's rules apply: empty lines before a
// number are skipped, the rest of a line is ignored, the end of the file reads 0 and each
// value keeps the low bits of its width. A line that is not a number stops the reading;
// the values read before it keep their new values, the others are left as they were.
LoadResult ParsePreset(std::string_view bytes, FormattingState& fmt);
// The largest preset file read: eight numbers take about a hundred bytes.
inline constexpr std::size_t kPresetSizeLimit = std::size_t{64} << 10;

// The file at path over fmt when it is an ordinary file (links followed) of at most
// kPresetSizeLimit bytes; otherwise fmt is untouched (Missing or TooBig).
LoadResult LoadPresetFile(const std::string& path, FormattingState& fmt);

// The file's bytes: the eight numbers in decimal, each line ended by CR LF.
std::string FormatPreset(const FormattingState& fmt);
// Replaces the file through a temporary file and a rename.
WriteResult SavePresetFile(const std::string& path, const FormattingState& fmt);

} // namespace zk
