#include "preset_file.h"

#include <cstdint>

#include "ordinary_file.h"
#include "text.h"
#include "value_reader.h"

namespace zk {
namespace {

// The lines in file order: a byte of the state, or the colour for the one signed line.
struct PresetLine {
    std::uint8_t FormattingState::*byte;
    Color FormattingState::*color;
};

const PresetLine kLines[kPresetLineCount] = {
    {&FormattingState::FontFaceIndex, nullptr}, {&FormattingState::FontSizeIndex, nullptr},
    {nullptr, &FormattingState::FontColor},     {&FormattingState::Alignment, nullptr},
    {&FormattingState::Bold, nullptr},          {&FormattingState::Italic, nullptr},
    {&FormattingState::Underline, nullptr},     {&FormattingState::StrikeOut, nullptr},
};

} // namespace

std::string presetFileName(int slot) {
    return "ZelkoHTML" + std::to_string(slot) + ".cfg";
}

LoadResult ParsePreset(std::string_view bytes, FormattingState& fmt) {
    const std::string text = decodeTextFile(bytes);
    ValueReader reader(text);
    for (const PresetLine& line : kLines) {
        std::int64_t value = 0;
        if (!reader.readNumber(value))
            return {LoadResult::InvalidNumber, reader.numberLine()};
        // The reader keeps values within the signed 32-bit range.
        if (line.color)
            fmt.*line.color = static_cast<Color>(value);
        else
            fmt.*line.byte = static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) & 0xFFu);
    }
    return {};
}

LoadResult LoadPresetFile(const std::string& path, FormattingState& fmt) {
    const ReadResult read = readOrdinaryFile(path, kPresetSizeLimit);
    if (read.status == ReadStatus::TooBig)
        return {LoadResult::TooBig, 0};
    if (!read.ok())
        return {LoadResult::Missing, 0};
    return ParsePreset(read.bytes, fmt);
}

std::string FormatPreset(const FormattingState& fmt) {
    std::string text;
    for (const PresetLine& line : kLines) {
        text += line.color ? std::to_string(fmt.*line.color)
                           : std::to_string(static_cast<unsigned>(fmt.*line.byte));
        text += "\r\n";
    }
    return text;
}

WriteResult SavePresetFile(const std::string& path, const FormattingState& fmt) {
    return writeFileAtomically(path, FormatPreset(fmt));
}

} // namespace zk
