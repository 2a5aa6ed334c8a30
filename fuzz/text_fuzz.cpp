// Text documents, the name-day file and the editor's insertions take bytes from files and
// offsets from the editor. Decoding gives UTF-8 that encodes and decodes to itself; line
// ends come out as CR LF; a lookup and an insertion keep within the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "insertions.h"
#include "status_clock.h"
#include "text.h"

using zkfuzz::check;

namespace {

bool onlyCrLfLineEnds(const std::string& t) {
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '\r' && (i + 1 == t.size() || t[i + 1] != '\n'))
            return false;
        if (t[i] == '\n' && (i == 0 || t[i - 1] != '\r'))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zkfuzz::Input in(data, size);
    const int month = static_cast<int>(in.byte() % 14);
    const int day = static_cast<int>(in.byte() % 33);
    const std::size_t selStart = in.number();
    const std::size_t selLength = in.number();
    const std::string_view opening = in.piece();
    const std::string_view bytes = in.rest();

    const std::string text = zk::decodeTextFile(bytes);
    check(zk::isValidUtf8(text), "decoded text is not UTF-8");
    check(zk::decodeTextFile(zk::encodeTextFile(text)) == text, "text changed on its way back");
    const std::string lines = zk::normalizeLineEnds(text);
    check(onlyCrLfLineEnds(lines), "a lone CR or LF left");
    check(zk::normalizeLineEnds(lines) == lines, "line ends not stable");

    if (const auto name = zk::findDayName(text, month, day))
        check(name->size() <= text.size(), "a name longer than the file");

    const zk::CaretEdit edit = zk::insertAtCaret(lines, selStart, selLength, opening, "</a>");
    check(edit.caret <= edit.text.size(), "caret past the end");
    check(onlyCrLfLineEnds(edit.text), "an insertion left a lone line end");
    const zk::CaretEdit link = zk::makeLink(lines, selStart, selLength);
    check(link.caret <= link.text.size(), "link caret past the end");
    (void)zk::imageTag(opening);
    (void)zk::soundTag(opening);
    return 0;
}
