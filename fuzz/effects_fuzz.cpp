// The text effects run on any text the editor holds, with any selection of whole characters. Every
// effect keeps the text UTF-8, puts its result inside the text, and leaves the text around the
// selection as it was; a mirrored selection keeps its line breaks whole.
#include <cstddef>
#include <cstdint>
#include <string>

#include "effect_edit.h"
#include "fuzz_input.h"
#include "text.h"

using zkfuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zkfuzz::Input in(data, size);
    const int number = static_cast<int>(in.byte() % 14); // 0 and 13 are no effect
    const std::size_t caret = in.number();
    const std::size_t caretLength = in.number();
    zk::EffectRandom random;
    random.state = static_cast<std::uint32_t>(in.number());
    const std::string text = zk::normalizeLineEnds(zk::decodeTextFile(in.rest()));
    // The editor and the command line select whole characters: caret positions, as bytes.
    const std::size_t selStart = zk::byteOffsetOfCaret(text, caret);
    const std::size_t selLength = zk::byteOffsetOfCaret(text, caret + caretLength) - selStart;

    const auto edit = zk::applyTextEffectInPlace(number, text, selStart, selLength, random);
    check(edit.has_value() == (number >= 1 && number <= 12), "effect number not honoured");
    if (!edit)
        return 0;
    check(edit->start + edit->length <= edit->text.size(), "result outside the text");
    check(zk::isValidUtf8(edit->text), "result is not UTF-8");
    if (edit->target == zk::EffectTarget::Selection) {
        const std::size_t before = edit->start;
        const std::size_t after = edit->text.size() - edit->start - edit->length;
        check(before <= text.size() && after <= text.size() - before, "text around grew");
        check(text.compare(0, before, edit->text, 0, before) == 0, "text before changed");
        check(text.compare(text.size() - after, after, edit->text, edit->text.size() - after,
                           after) == 0,
              "text after changed");
        const std::string selection = text.substr(before, text.size() - before - after);
        // A mark at the start of a selection joins the character before it once mirrored, so
        // mirroring twice is not always the identity; line ends and length always hold.
        const std::string mirrored = zk::mirrorSelectionKeepingLineBreaks(selection);
        check(mirrored.size() == selection.size(), "mirroring changed the length");
        check(zk::normalizeLineEnds(mirrored) == mirrored, "mirroring split a line break");
    }
    return 0;
}
