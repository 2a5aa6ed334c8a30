// The formatting state: every choice about how the text is to look, with the values the
// program starts with before the settings file is read.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zk {

// Windows colour value, 0x00BBGGRR (red in the low byte).
using Color = std::int32_t;

inline constexpr std::array<Color, 8> kDefaultPresetStartColors = {
    0x0000FF, 0xFF0000, 0x008000, 0x0080FF, 0x00FFFF, 0x000000, 0x7E79E0, 0x000080};
inline constexpr std::array<Color, 8> kDefaultPresetEndColors = {
    0x00FFFF, 0xFFFF00, 0x00FF00, 0xFF0080, 0xFF00FF, 0xFFFFFF, 0xFFFFFF, 0x0000FF};

// Captions of the face menu T0..T23; they are also the face names written into the code.
inline constexpr std::array<const char*, 24> kFontFaceNames = {
    "Abadi MT Condensed", "Arial",           "Arial Black",     "Book Antiqua",
    "Calisto MT",         "Century Gothic",  "Comic Sans MS",   "Courrier",
    "Courrier New",       "Fixedsys",        "Lucida Handwriting", "Marlett",
    "Matisse ITC",        "Modern",          "MS Sans Serif",   "MS Serif",
    "System",             "Tahoma",          "Tempus Sans ITC", "Times New Roman",
    "Verdana",            "Webdings",        "Westminster",     "Wingdings"};

struct FormattingState final {
    // Text styles: each byte holds its weight (1, 2, 4, 8) when on; the generator adds them.
    std::uint8_t Bold = 0;
    std::uint8_t Italic = 0;
    std::uint8_t Underline = 0;
    std::uint8_t StrikeOut = 0;
    std::string FontFace = "Verdana";
    std::uint8_t FontFaceIndex = 0;
    std::uint8_t FontSizeIndex = 6; // H1..H7; the HTML size written is 8 - index
    Color FontColor = 0;
    std::uint8_t Alignment = 0; // 0 left, 1 centre, 2 right
    std::uint8_t IgnoreTextTags = 0;

    std::uint8_t SignatureOn = 0;
    std::uint8_t ScrollingOn = 0;
    std::uint8_t WavesOn = 0;
    std::uint8_t GradientOn = 0;

    std::uint8_t MarqueeHorizontal = 1; // 0 none, 1 right to left, 2 left to right
    std::uint8_t MarqueeVertical = 0;   // 0 none, 1 bottom to top, 2 top to bottom
    std::uint8_t MarqueeStyle = 1;      // 0 continuous, 1 back and forth
    std::uint8_t MarqueeSpeed = 1;      // 0 fast, 1 medium, 2 slow
    std::uint8_t WavesKind = 0;         // 0 raised and lowered letters, 1 font sizes

    Color GradientStartColor = 0x0000FF;
    Color GradientEndColor = 0x00FFFF;
    std::uint8_t GradientPresetIndex = 0;
    std::uint8_t GradientSymmetry = 1; // 1 plain, 2 symmetric
    std::array<Color, 8> PresetStartColors = kDefaultPresetStartColors;
    std::array<Color, 8> PresetEndColors = kDefaultPresetEndColors;

    std::string SignatureText;
    std::string SignatureImageUrl;
    std::string SignatureLink;
    Color SignatureColor = 0;
    std::uint8_t SignatureSizeIndex = 6; // H1..H7; the HTML size written is 7 - index
    std::uint8_t SignatureOrder = 0;     // 0 text then image, 1 image then text

    std::string CodePrefix;
    std::uint16_t CodeSizeLimit = 0; // 0: no limit
};

} // namespace zk
