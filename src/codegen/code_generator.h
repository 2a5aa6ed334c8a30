// The HTML code generator: the typed text and the formatting state in, one HTML fragment out.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "formatting_state.h"
#include "generator_options.h"
#include "gradient_sources.h"

namespace zk {

// Called now and then during long texts so that a window can process its events.
using KeepResponsive = std::function<void()>;

// How often the character loops of the effects call keepResponsive: the clock is read
// every `characters` characters, and the call is made once `interval` has passed since
// the last one. The defaults call it at most every few milliseconds, never once per
// character.
struct Pacing {
    std::uint32_t characters = 4096;
    std::chrono::milliseconds interval{5};
};

// Generates the fragment for text (UTF-8, lines ended by CR LF) in the format and with the
// choices that options give. It keeps nothing between calls, so a generation started from
// inside keepResponsive runs like any other; a window that must not start one meanwhile
// keeps its own guard.
std::string GenerateCode(std::string_view text, const FormattingState& state,
                         const GeneratorOptions& options = {},
                         const KeepResponsive& keepResponsive = {}, const Pacing& pacing = {});

// Pieces of the fragment, each usable alone.
struct TagPair {
    std::string opening;
    std::string closing;
};
TagPair StyleTags(const FormattingState& state);     // by the sum of the four style bytes
TagPair AlignmentTags(const FormattingState& state); // centre or right division
TagPair FontTags(const FormattingState& state);      // font tag; no colour under the gradient
TagPair MarqueeTags(const FormattingState& state);   // empty when the marquee has no direction
std::string SignatureBlock(const FormattingState& state);
// Signature parts, as the signature preview builds them from its own controls.
std::string SignatureTextPart(std::string_view text, int sizeIndex, std::string_view face,
                              Color color);
std::string SignatureImagePart(std::string_view imageUrl, std::string_view link);

// The pieces of the fragment in a format; in the classic format they are those of the
// functions without a format.
TagPair StyleTags(const FormattingState& state, OutputFormat format);
TagPair AlignmentTags(const FormattingState& state, OutputFormat format);
TagPair FontTags(const FormattingState& state, const GeneratorOptions& options);
TagPair MarqueeTags(const FormattingState& state, OutputFormat format);
std::string SignatureBlock(const FormattingState& state, const GeneratorOptions& options);

// Copies one tag starting at the "<" at position scanPosition (1-based, in characters of
// text) and leaves scanPosition on the last character copied. offset 1 is the gradient's
// rule (the tag name decides how far to copy), offset 0 the waves' (through the first ">").
std::string CopyTag(std::string_view text, std::size_t& scanPosition, int offset);

} // namespace zk
