// libFuzzer target of the generator over the whole formatting state: faces, size, colours
// (system colours included), styles, alignment, the four effects with their settings, the
// marquee, the signature fields and sizes, the code prefix, the preset colours and the size
// limit, the code-view flag, and now and then the basic formatting read from a preset file
// made of the fuzzer's bytes. The text is what is left, made valid UTF-8 as the window hands
// it over. The code must agree with the pass-by-pass reference generator of the tests; the
// same state and text then go through the other formats, plain and compact.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "code_generator.h"
#include "preset_file.h"
#include "reference_generator.h"
#include "settings_file.h"
#include "text.h"

namespace {

// A byte that is mostly one of the values the program gives it, now and then any.
std::uint8_t smallByte(FuzzedDataProvider& in, std::uint8_t usualMax) {
    return in.ConsumeBool() ? in.ConsumeIntegralInRange<std::uint8_t>(0, usualMax)
                            : in.ConsumeIntegral<std::uint8_t>();
}

// A style byte: off, its weight as the toolbar sets it, or any value.
std::uint8_t styleByte(FuzzedDataProvider& in, std::uint8_t weight) {
    if (in.ConsumeBool())
        return in.ConsumeIntegral<std::uint8_t>();
    return in.ConsumeBool() ? weight : 0;
}

// A colour: plain red-green-blue, or any value (a system colour in the high byte).
zk::Color colour(FuzzedDataProvider& in) {
    return in.ConsumeBool() ? static_cast<zk::Color>(in.ConsumeIntegralInRange(0, 0xFFFFFF))
                            : in.ConsumeIntegral<zk::Color>();
}

// True when a letter of the text begins with a mark that would join a ">" before it (a
// combining mark at the start or after a line break), or ends with one that would join a "<"
// after it (a prepended mark such as U+0604). The reference generator reads the gradient's
// output anew and glues such a mark onto the colour tag, so that the waves leave it alone;
// the generator waves it as the letter it is.
bool hasLetterJoiningATag(const std::string& text) {
    const std::vector<std::size_t> starts = zk::graphemeBoundaries(text);
    for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
        const std::string letter = text.substr(starts[k], starts[k + 1] - starts[k]);
        const char first = letter.front();
        if (first != '<' && first != ' ' && first != '\r' && first != '\n' &&
            (zk::graphemeBoundaries(">" + letter).size() == 2 ||
             zk::graphemeBoundaries(letter + "<").size() == 2))
            return true;
    }
    return false;
}

std::string shortText(FuzzedDataProvider& in, std::size_t most) {
    return zk::u32ToUtf8(zk::utf8ToU32(in.ConsumeRandomLengthString(most)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    zk::FormattingState st;
    st.Bold = styleByte(in, 1);
    st.Italic = styleByte(in, 2);
    st.Underline = styleByte(in, 4);
    st.StrikeOut = styleByte(in, 8);
    st.FontFaceIndex = smallByte(in, 25);
    if (in.ConsumeBool())
        zk::ApplyFontFaceIndex(st);
    else
        st.FontFace = shortText(in, 40);
    st.FontSizeIndex = smallByte(in, 8);
    st.FontColor = colour(in);
    st.Alignment = smallByte(in, 3);
    st.IgnoreTextTags = smallByte(in, 1);
    st.SignatureOn = smallByte(in, 1);
    st.ScrollingOn = smallByte(in, 1);
    st.WavesOn = smallByte(in, 1);
    st.GradientOn = smallByte(in, 1);
    st.MarqueeHorizontal = smallByte(in, 3);
    st.MarqueeVertical = smallByte(in, 3);
    st.MarqueeStyle = smallByte(in, 2);
    st.MarqueeSpeed = smallByte(in, 3);
    st.WavesKind = smallByte(in, 2);
    st.GradientPresetIndex = smallByte(in, 7);
    st.GradientSymmetry = smallByte(in, 3);
    for (std::size_t k = 0; k < st.PresetStartColors.size(); ++k) {
        st.PresetStartColors[k] = colour(in);
        st.PresetEndColors[k] = colour(in);
    }
    // The current colours are those of a preset, or any.
    const std::size_t preset = st.GradientPresetIndex % st.PresetStartColors.size();
    const bool fromPreset = in.ConsumeBool();
    st.GradientStartColor = fromPreset ? st.PresetStartColors[preset] : colour(in);
    st.GradientEndColor = fromPreset ? st.PresetEndColors[preset] : colour(in);
    st.SignatureText = shortText(in, 60);
    st.SignatureImageUrl = shortText(in, 60);
    st.SignatureLink = shortText(in, 60);
    st.SignatureColor = colour(in);
    st.SignatureSizeIndex = smallByte(in, 8);
    st.SignatureOrder = smallByte(in, 1);
    st.CodePrefix = shortText(in, 40);
    st.CodeSizeLimit = in.ConsumeIntegral<std::uint16_t>();
    // The basic formatting of a preset file, as "Charger" reads it over the state.
    if (in.ConsumeIntegralInRange(0, 7) == 0) {
        const std::string presetFile = in.ConsumeRandomLengthString(200);
        if (zk::ParsePreset(presetFile, st).status == zk::LoadResult::Ok)
            zk::ApplyFontFaceIndex(st);
    }
    zk::GeneratorOptions classic;
    classic.keepLineBreaks = in.ConsumeBool(); // as the code view asks
    const std::string text = zk::u32ToUtf8(zk::utf8ToU32(in.ConsumeRemainingBytesAsString()));

    const std::string code = zk::GenerateCode(text, st, classic);
    const bool sameReading = !(st.GradientOn == 1 && st.WavesOn == 1 && hasLetterJoiningATag(text));
    if (sameReading && code != zk::reference::GenerateCode(text, st, classic.keepLineBreaks))
        std::abort();

    // The other formats, on the same state and text: compact code is never longer.
    for (const zk::OutputFormat format :
         {zk::OutputFormat::ClassicHtml, zk::OutputFormat::Html5, zk::OutputFormat::BbCode}) {
        zk::GeneratorOptions options = classic;
        options.format = format;
        options.percentSizes = format == zk::OutputFormat::BbCode && text.size() % 2 == 1;
        const std::string plain =
            format == zk::OutputFormat::ClassicHtml ? code : zk::GenerateCode(text, st, options);
        options.compact = true;
        const std::string compact = zk::GenerateCode(text, st, options);
        if (compact.size() > plain.size())
            std::abort();
    }
    return 0;
}
