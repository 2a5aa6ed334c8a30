#include "effect_edit.h"

#include <algorithm>
#include <vector>

#include "effect_characters.h"
#include "text.h"

namespace zk {
namespace {

// The characters of text with every CR LF pair joined into one unit.
std::vector<std::string_view> caretUnits(std::string_view text) {
    const std::vector<std::string_view> chars = effects::splitCharacters(text);
    std::vector<std::string_view> units;
    units.reserve(chars.size());
    for (std::size_t i = 0; i < chars.size(); ++i) {
        if (chars[i] == "\r" && i + 1 < chars.size() && chars[i + 1] == "\n") {
            // The two views are adjacent in text.
            units.emplace_back(chars[i].data(), 2);
            ++i;
        } else {
            units.push_back(chars[i]);
        }
    }
    return units;
}

} // namespace

std::string mirrorSelectionKeepingLineBreaks(std::string_view target) {
    const std::vector<std::string_view> units = caretUnits(target);
    std::string out;
    out.reserve(target.size());
    for (auto it = units.rbegin(); it != units.rend(); ++it)
        out.append(*it);
    return out;
}

std::optional<EffectEdit> applyTextEffectInPlace(int number, std::string_view text,
                                                 std::size_t selStart, std::size_t selLength,
                                                 EffectRandom& random) {
    if (!textEffectInfo(number))
        return std::nullopt;
    selStart = std::min(selStart, text.size());
    selLength = std::min(selLength, text.size() - selStart);
    const std::string_view selected = text.substr(selStart, selLength);

    EffectEdit edit;
    edit.target = effectTargetFor(selected);
    if (edit.target == EffectTarget::WholeText) {
        edit.text = *applyTextEffect(number, text, EffectTarget::WholeText, random);
        edit.length = edit.text.size();
        return edit;
    }
    const std::string result = number == static_cast<int>(TextEffect::Mirror)
                                   ? mirrorSelectionKeepingLineBreaks(selected)
                                   : *applyTextEffect(number, selected, edit.target, random);
    edit.text.reserve(text.size() - selLength + result.size());
    edit.text.append(text.substr(0, selStart));
    edit.text.append(result);
    edit.text.append(text.substr(selStart + selLength));
    edit.start = selStart;
    edit.length = result.size();
    return edit;
}

std::size_t byteOffsetOfCaret(std::string_view text, std::size_t position) {
    std::size_t offset = 0;
    for (std::string_view unit : caretUnits(text)) {
        if (position == 0)
            break;
        offset += unit.size();
        --position;
    }
    return offset;
}

} // namespace zk
