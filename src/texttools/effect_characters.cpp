#include "effect_characters.h"

#include "text.h"

namespace zk::effects {

std::vector<std::string_view> splitCharacters(std::string_view text) {
    std::vector<std::string_view> out;
    const std::vector<std::size_t> starts = graphemeBoundaries(text);
    out.reserve(starts.size());
    for (std::size_t k = 0; k + 1 < starts.size(); ++k)
        out.push_back(text.substr(starts[k], starts[k + 1] - starts[k]));
    return out;
}

char asciiLetter(std::string_view ch) {
    if (ch.size() != 1)
        return 0;
    const char c = ch[0];
    return ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) ? c : 0;
}

bool isSmallEGraveOrAcute(std::string_view ch) {
    // U+00E8, U+00E9; "e" + U+0300 / U+0301.
    return ch == "\xC3\xA8" || ch == "\xC3\xA9" || ch == "e\xCC\x80" || ch == "e\xCC\x81";
}

} // namespace zk::effects
