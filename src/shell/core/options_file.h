// The options file: the options added after the settings file took its shape, one
// "Name=Value" line each, in a file of their own beside it, so that the 59-line settings
// file and the presets never change.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "atomic_file.h"
#include "code_generator.h"
#include "data_paths.h"
#include "formatting_state.h"
#include "gradient_sources.h"

namespace zk {

// Its name in Data/Bin, beside the settings file.
inline constexpr std::string_view kOptionsFileName = data::kOptionsFile.name;

// Every option the file keeps, with the values used when the file does not give them.
struct NewOptions final {
    // How the code is written.
    std::uint8_t OutputFormat = 0; // 0 classic HTML, 1 HTML5 with styles, 2 BBCode
    std::uint8_t CompactCode = 0;
    std::uint8_t BbcodePercentSizes = 0; // BBCode sizes 50 to 200 instead of 1 to 7
    std::uint8_t CopyRichText = 1;       // the copy also puts the formatted text
    // The preview follows the typing.
    std::uint8_t LivePreview = 1;
    // The gradient's colours.
    std::uint8_t GradientType = 0;  // 0 two colours, 1 several colours, 2 rainbow
    std::uint8_t GradientBlend = 0; // 0 classic RGB, 1 perceptual (OKLab)
    std::vector<Color> GradientStops{kDefaultGradientStops.begin(),
                                     kDefaultGradientStops.end()}; // 2 to 8, 0x00BBGGRR
    std::uint8_t GradientSelectedStop = 0;                         // 0-based, below the count
    std::uint16_t RainbowStart = 0;                                // hue in degrees, 0 to 360
    std::uint16_t RainbowSpan = 360;                               // degrees, 0 to 360
    // The lines of names this program does not know (from another version of it), in their
    // order, written back as they were read.
    std::vector<std::string> OtherLines;
};

// The names the file knows, in the order they are written.
const std::vector<std::string>& optionNames();
// Index of a name in optionNames(), its letters' case aside; -1 when there is none.
int findOption(std::string_view name);
// The value of option i as the file writes it.
std::string optionText(const NewOptions& o, std::size_t i);
// Sets option i from a value as the file writes it (blanks around it aside). False, and o
// unchanged, when the value is malformed or out of the option's range.
bool setOptionText(NewOptions& o, std::size_t i, std::string_view value);
// What the values of option i may be, for messages ("0 to 2", "#RRGGBB,#RRGGBB,...").
std::string optionRange(std::size_t i);

struct OptionsLoadResult final {
    enum Status {
        Ok,      // read (some values may have been refused: see firstRefusedLine)
        Missing, // no file, or nothing that can be read: not an ordinary file, no permission
        TooBig   // an ordinary file larger than the options can be; not read
    } status = Ok;
    // 1-based line of the first value refused (malformed, out of range, or a name given a
    // second time); 0 when every line was taken.
    int firstRefusedLine = 0;
    // The file holds what writing the options back would lose: it must be kept first.
    bool partlyRead() const { return status == TooBig || firstRefusedLine != 0; }
};

// The largest options file read: the known options take a few hundred bytes; the rest is
// room for the lines of other versions.
inline constexpr std::size_t kOptionsSizeLimit = std::size_t{16} << 10;

// Reads the options from the file's bytes over o. Each line is "Name=Value", blanks around
// either aside and any line end; a known option given a value it cannot take gets its
// default; lines of other names are kept in o.OtherLines (blank lines are dropped).
OptionsLoadResult ParseOptions(std::string_view bytes, NewOptions& o);
// Reads the file at path over o when it is an ordinary file (links followed) of at most
// kOptionsSizeLimit bytes; otherwise o stays as it is (Missing or TooBig).
OptionsLoadResult LoadOptions(const std::string& path, NewOptions& o);

// The file's bytes: the known options in the order of optionNames(), then the other lines,
// each ended by CR LF; Windows-1252 when every character fits, UTF-8 otherwise.
std::string FormatOptions(const NewOptions& o);
// Replaces the file through a temporary file and a rename; the previous file stays whole
// when that fails.
WriteResult SaveOptions(const std::string& path, const NewOptions& o);

// What the generator takes of the options.
GeneratorOptions generatorOptions(const NewOptions& o);

} // namespace zk
