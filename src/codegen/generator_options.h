// The generator's options: the choices kept beside the formatting state (in the options
// file), which keeps its shape.
#pragma once

#include <cstdint>

#include "gradient_sources.h"

namespace zk {

// How the code is written. The numbers are those of the options file.
enum class OutputFormat : std::uint8_t {
    ClassicHtml = 0, // "HTML classique": the fragment as it has always been written
    Html5 = 1,       // "HTML5 (styles CSS)": spans with styles instead of font tags
    BbCode = 2,      // "BBCode": the tags of forums
};

// The generator's choices: those kept beside the formatting state, which keeps its shape,
// and how the caller wants this one fragment.
struct GeneratorOptions final {
    OutputFormat format = OutputFormat::ClassicHtml;
    // "Code compact": neighbouring letters with the same colour (and the same wave) share
    // one tag, the spaces between them included.
    bool compact = false;
    // BBCode sizes written 50 to 200 (per cent) instead of 1 to 7.
    bool percentSizes = false;
    // Where the gradient's colours come from, and how they are mixed.
    GradientOptions gradient = {};
    // The text's line breaks stay as they are instead of becoming "<br>" (the code view
    // shows the code so); not kept in the options file.
    bool keepLineBreaks = false;

    // The classic fragment, written on the generator's fast path.
    bool classic() const { return format == OutputFormat::ClassicHtml && !compact; }
};

} // namespace zk
