// The formats beside the classic HTML: the spelling of sizes, faces and addresses in HTML5
// with styles and in BBCode, and the writer of the body in those formats and in compact
// code. The classic fragment keeps the generator's own fast writer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formatting_state.h"
#include "generator_options.h"

namespace zk {

// The size 1 to 7 a browser takes from a legacy size attribute written as the decimal value
// written (8 - index for the text, 7 - index for the signature): above 7 is 7, a negative
// value is taken from 3 ("-1" is 2), anything below 1 is 1.
int LegacyFontSize(int written);
// "x-small" to "xxx-large" for sizes 1 to 7 (clamped).
const char* CssFontSize(int size);
// The BBCode size of sizes 1 to 7 (clamped): the size itself, or 50, 85, 100, 125, 150,
// 175, 200 per cent.
int BbcodeFontSize(int size, bool percent);

// The face as a quoted CSS string inside a double-quoted attribute.
std::string CssQuotedFace(std::string_view face);
// The face inside "[font=...]": the characters that would end the tag or the line left out.
std::string BbcodeFace(std::string_view face);

// An address the user gave, made safe inside a BBCode tag: "&amp;" read as "&", and the
// characters that would end the tag ("[", "]", quotes, blanks, control characters)
// written as %XX.
std::string BbcodeAddress(std::string_view address);

// Writes the body in any format: the user's characters through the format's rules (line
// breaks and pairs of spaces in HTML; in BBCode the tags the user typed translated), and
// the letters with their colour and wave tags, merged with their neighbours in compact code.
// Everything goes to the end of code.
class FormatWriter final {
public:
    // Extra room a character may need beyond its bytes: none, as this writer appends.
    static constexpr std::size_t kMaxExtra = 0;

    FormatWriter(std::string& code, const GeneratorOptions& options, bool breaksToTags);

    void room(std::size_t) {}
    // Characters of the text that are not letters: spaces, line breaks, the typed tags.
    void text(std::string_view s);
    void bulkText(std::string_view s) { text(s); }
    // A letter as it is, raised, lowered or at a wave size ('1' to '7').
    void letter(std::string_view c);
    void raised(std::string_view c) { wave(kRaised, c); }
    void lowered(std::string_view c) { wave(kLowered, c); }
    void sized(char size, std::string_view c) { wave(size - '0', c); }
    // Around the letters of one colour.
    void colourOpen(Color color);
    void colourClose();
    // Writes what is held and closes what is open: the body is whole.
    void finish();

private:
    static constexpr int kRaised = 8;
    static constexpr int kLowered = 9;
    enum class Run { None, Open, Deferred }; // a deferred tag is closed when the next differs

    void wave(int kind, std::string_view c);
    void userChar(char c);
    void beforeTag();
    void closeWave();
    void closeDeferred();
    void releaseSpaces();
    void typedTag();
    bool closeTyped(char name);

    std::string& code_;
    const OutputFormat format_;
    const bool compact_;
    const bool breaksToTags_;
    // The format's tags: colour opening around the six digits, and closing; the waves'
    // opening and closing by kind.
    std::string colourHead_;
    std::string colourTail_;
    std::string colourClosing_;
    std::string waveOpening_[10];
    std::string waveClosing_[10];
    char pending_ = 0;      // HTML: a CR or a space that waits for the next character
    std::string typed_;     // BBCode: a tag the user typed, from its "<" while it is read
    std::string openTyped_; // BBCode: the typed tags translated and still open, innermost last
    std::size_t openCount_[5] = {}; // how many of openTyped_ are links, b, i, u and s
    Run colour_ = Run::None;
    Color colourValue_ = 0;
    Run wave_ = Run::None;
    int waveValue_ = 0;
    std::size_t heldSpaces_ = 0; // spaces after a colour run, inside it if it goes on
};

} // namespace zk
