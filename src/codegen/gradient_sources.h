// Where the gradient's colours come from: the classic two colours stepped along the
// positions of the text, and the sources spread over the letters that get a colour tag.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "colour_space.h"
#include "formatting_state.h"

namespace zk {

enum class GradientType : std::uint8_t {
    TwoColours = 0,  // "Deux couleurs": the start and end colours of the formatting state
    Multicolour = 1, // "Multicolore": the stops, evenly spaced
    Rainbow = 2,     // "Arc-en-ciel": round the hue circle
};

enum class GradientBlend : std::uint8_t {
    Rgb = 0,   // "RVB classique": channel by channel
    OkLab = 1, // "Perceptuel (OKLab)"
};

inline constexpr std::size_t kMinGradientStops = 2;
inline constexpr std::size_t kMaxGradientStops = 8;
inline constexpr int kMaxRainbowDegrees = 360;
// The rainbow's lightness and chroma in OKLCh: bright colours that still read on white.
inline constexpr double kRainbowLightness = 0.7;
inline constexpr double kRainbowChroma = 0.2;

// Red, yellow, green, blue (0x00BBGGRR).
inline constexpr std::array<Color, 4> kDefaultGradientStops = {0x0000FF, 0x00FFFF, 0x00FF00,
                                                               0xFF0000};

// The first colours of a row of at most kMaxGradientStops, the others black.
template <std::size_t N>
constexpr std::array<Color, kMaxGradientStops>
GradientStopRow(const std::array<Color, N>& colours) {
    static_assert(N <= kMaxGradientStops);
    std::array<Color, kMaxGradientStops> row{};
    for (std::size_t k = 0; k < N; ++k)
        row[k] = colours[k];
    return row;
}

// The gradient's choices kept beside the formatting state (a literal type, so that options
// holding it can be constants). The symmetry and the two colours of "Deux couleurs" stay in
// the formatting state.
struct GradientOptions final {
    GradientType type = GradientType::TwoColours;
    GradientBlend blend = GradientBlend::Rgb;
    // The colours of "Multicolore": the first stopCount of stops.
    std::array<Color, kMaxGradientStops> stops = GradientStopRow(kDefaultGradientStops);
    std::size_t stopCount = kDefaultGradientStops.size();
    int rainbowStart = 0;                 // degrees of OKLCh hue, 0..360
    int rainbowSpan = kMaxRainbowDegrees; // degrees, 0..360

    // The colours of "Multicolore", at most kMaxGradientStops of them.
    void setStops(const std::vector<Color>& colours) {
        stopCount = std::min(colours.size(), kMaxGradientStops);
        std::copy_n(colours.begin(), stopCount, stops.begin());
    }
    // The colours are spread over the letters that get a colour tag, whose number the
    // caller must then give.
    bool countsLetters() const { return type != GradientType::TwoColours; }
};

// The classic gradient's colours along a text of a given length in characters.
class GradientSteps final {
public:
    GradientSteps(const FormattingState& state, std::uint64_t length);
    // Colour of position p (1-based).
    Color colorAt(std::uint64_t p) const;

private:
    // Channel k at distance t from the start, truncated (not yet cut to a byte).
    std::int64_t channelAt(int k, std::uint64_t t) const;

    long double start_[3] = {};
    long double step_[3] = {};
    std::uint64_t length_ = 0;
    std::uint64_t half_ = 0; // (length + 1) div 2
    bool symmetric_ = false;
    // A channel is monotonic in t and takes few values, so the run of t around the last
    // one asked for, where the channel keeps its value, is remembered.
    struct Run {
        std::uint64_t first = 1;
        std::uint64_t last = 0;
        std::int64_t value = 0;
    };
    mutable Run runs_[3];
    // Where all three runs overlap the colour is known without looking at each channel.
    mutable std::uint64_t colorFirst_ = 1;
    mutable std::uint64_t colorLast_ = 0;
    mutable Color color_ = 0;
};

// Points between two neighbouring colours of the new gradients at which their mixes are
// worked out; a letter takes the point nearest its place. Twice as fine as the 256 values of
// a channel, and few enough that a long text works each out only once: a mix in OKLab may
// need a search for the chroma that fits sRGB.
inline constexpr std::uint64_t kGradientPointsPerGap = 512;

// The colour of each letter that gets a colour tag, asked for in the order of the text,
// whichever source the options choose: the generator's loop does not care which.
// "Deux couleurs" keeps the classic positions, mixed channel by channel or in OKLab; the
// other types spread their colours over the letters that get a colour tag, so that the
// first has the first colour and the last the last (the first again when symmetric).
class LetterColours final {
public:
    // length: characters in the text; letters: those of them that get a colour tag (only
    // read when options.countsLetters()).
    LetterColours(const FormattingState& state, const GradientOptions& options,
                  std::uint64_t length, std::uint64_t letters);
    // Colour of the next letter that gets a colour tag, which is at position p (1-based).
    Color next(std::uint64_t p) {
        if (kind_ == Kind::Classic)
            return steps_.colorAt(p);
        const std::uint64_t point = pointOf(place(p));
        return point == runPoint_ ? runColour_ : newPoint(point);
    }

private:
    enum class Kind : std::uint8_t {
        Classic,   // two colours channel by channel: the classic gradient
        Positions, // two colours in OKLab at the classic positions
        Letters,   // the stops spread over the letters
        Rainbow,   // the hue spread over the letters
    };
    // Positions, or letters, from the start colour of the letter at position p.
    std::uint64_t place(std::uint64_t p) {
        if (kind_ == Kind::Positions)
            return symmetric_ && p > (length_ + 1) / 2 ? length_ - p : p - 1;
        const std::uint64_t k = std::min(index_++, lastPlace_);
        return symmetric_ ? std::min(k, lastPlace_ - k) : k;
    }
    // The point nearest place k: the last letter gets the last one even where the rounding
    // of the step leaves it a hair short, and no letter goes past it.
    std::uint64_t pointOf(std::uint64_t k) const {
        return std::min(static_cast<std::uint64_t>(static_cast<double>(k) * step_ + 0.5),
                        lastPoint_);
    }
    // The colour of a point other than the last one asked for, kept for the next letters.
    Color newPoint(std::uint64_t point);
    // The colour at a point of the stops' row, each worked out once.
    Color at(std::uint64_t point);
    Color mix(std::uint64_t point) const;

    Kind kind_ = Kind::Classic;
    GradientSteps steps_;
    bool symmetric_ = false;
    bool okLab_ = false;
    std::uint64_t length_ = 0;    // characters in the text
    std::uint64_t index_ = 0;     // the letters given one so far
    std::uint64_t lastPlace_ = 0; // of the last letter (the letters)
    double step_ = 0;             // points per position (Positions), per letter (the others)
    std::uint64_t lastPoint_ = 0;
    // Neighbouring letters mostly share a point: the last one asked for, and its colour.
    std::uint64_t runPoint_ = std::numeric_limits<std::uint64_t>::max();
    Color runColour_ = 0;
    std::vector<Color> stops_;
    std::vector<OkLab> labs_;   // the stops in OKLab
    std::vector<Color> points_; // the colour of each point, -1 until worked out
    int rainbowStart_ = 0;      // tenths of a degree
};

// The colours the generator gives a text of `count` letters in a row that each get a colour
// tag: what a swatch of the gradient shows, worked out by the same sources.
std::vector<Color> GradientRow(const FormattingState& state, const GradientOptions& options,
                               std::size_t count);

// The colour at a hue (tenths of a degree; taken round the circle) of the rainbow: fixed
// lightness and chroma in OKLCh, the chroma lowered where the colour would leave sRGB.
Color RainbowColour(int tenthsOfDegree);

} // namespace zk
