// The live page's changes are read from fragments that hold what the user typed: any bytes.
// The reading never fails on them; a fragment compared with itself needs no change; the
// changes are found exactly when both fragments are followed; the script text made of them
// holds no raw line end.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz_input.h"
#include "html_patch.h"

using zkfuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    zkfuzz::Input in(data, size);
    const std::string_view from = in.piece();
    const std::string_view to = in.rest();

    const zk::platform::LiveBody before(from);
    const zk::platform::LiveBody after(to);
    const std::optional<std::string> changes = zk::platform::bodyPatch(before, after);
    check(changes.has_value() == (before.followed() && after.followed()),
          "changes found for a fragment not followed, or none for two followed");
    if (changes) {
        check(changes->front() == '[' && changes->back() == ']', "the changes are no list");
        check(changes->find_first_of("\r\n") == std::string::npos, "a raw line end in the changes");
    }
    if (before.followed()) {
        const std::optional<std::string> none = zk::platform::bodyPatch(before, before);
        check(none && *none == "[]", "a fragment differs from itself");
    }
    const std::string literal = zk::platform::scriptLiteral(to);
    check(literal.find_first_of("\r\n") == std::string::npos, "a raw line end in a literal");
    return 0;
}
