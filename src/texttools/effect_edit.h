// A text effect applied the way the editor applies it: to the selection when there is one,
// else to the whole text, with the result written back in place. Shared by the window and
// the command-line tool so that both give the same text. Texts are UTF-8 with CR LF line
// breaks; offsets are byte offsets into them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text_effects.h"

namespace zk {

struct EffectEdit final {
    std::string text;       // the whole text afterwards
    std::size_t start = 0;  // where the effect's result stands in text
    std::size_t length = 0; // the result's length in bytes
    EffectTarget target = EffectTarget::WholeText;
};

// Runs effect `number` (1..12) on text whose selection is [selStart, selStart + selLength)
// (clamped to the text); nullopt for any other number. A mirrored selection keeps each
// CR LF pair whole, so the result is still text an editor can hold (a line feed before a
// carriage return would turn into two line breaks) and mirroring it again gives the
// selection back, unless it starts with a mark that then joins the character before it.
std::optional<EffectEdit> applyTextEffectInPlace(int number, std::string_view text,
                                                 std::size_t selStart, std::size_t selLength,
                                                 EffectRandom& random);

// The characters of a selection mirrored as one sequence, CR LF pairs kept whole.
std::string mirrorSelectionKeepingLineBreaks(std::string_view target);

// The byte offset of caret position `position` in text: positions count user-perceived
// characters, a CR LF pair as one, as the caret moves in the editor. A position past the
// end gives text.size().
std::size_t byteOffsetOfCaret(std::string_view text, std::size_t position);

} // namespace zk
