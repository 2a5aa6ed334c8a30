#include "gradient_sources.h"

#include <algorithm>
#include <cmath>

#include "string_utils.h"

namespace zk {
namespace {

constexpr int kRainbowTenths = 3600;

// Rounds to a 40-bit significand, nearest with ties to even.
long double roundTo40Bits(long double x) {
    if (x == 0 || !std::isfinite(x))
        return x;
    int e = 0;
    const long double m = std::frexp(x, &e);
    return std::ldexp(std::nearbyint(std::ldexp(m, 40)), e - 40);
}

} // namespace

GradientSteps::GradientSteps(const FormattingState& state, std::uint64_t length)
    : length_(length), half_((length + 1) / 2), symmetric_(state.GradientSymmetry == 2) {
    const auto from = static_cast<std::uint32_t>(ResolveColor(state.GradientStartColor));
    const auto to = static_cast<std::uint32_t>(ResolveColor(state.GradientEndColor));
    // A symmetry of 0 (an empty settings line) would divide by zero: it counts as plain.
    const long double m = state.GradientSymmetry == 0 ? 1.0L : state.GradientSymmetry;
    const long double steps = static_cast<long double>(length + 1) / m;
    for (int k = 0; k < 3; ++k) {
        const auto a = static_cast<long double>((from >> (8 * k)) & 0xFF);
        const auto b = static_cast<long double>((to >> (8 * k)) & 0xFF);
        start_[k] = a;
        step_[k] = roundTo40Bits((b - a) / steps);
    }
}

std::int64_t GradientSteps::channelAt(int k, std::uint64_t t) const {
    const long double v = start_[k] + step_[k] * static_cast<long double>(t);
    return static_cast<std::int64_t>(v);
}

Color GradientSteps::colorAt(std::uint64_t p) const {
    const std::uint64_t t = symmetric_ && p > half_ ? length_ - p : p - 1;
    if (t >= colorFirst_ && t <= colorLast_)
        return color_;
    std::uint32_t rgb = 0;
    for (int k = 0; k < 3; ++k) {
        Run& run = runs_[k];
        if (t < run.first || t > run.last) {
            // Find the run of t holding the same value by galloping then bisecting both ways.
            const std::int64_t value = channelAt(k, t);
            std::uint64_t good = t;
            std::uint64_t stride = 1;
            std::uint64_t bad = t;
            while (true) {
                if (length_ - good < stride) {
                    bad = length_ + 1;
                    break;
                }
                if (channelAt(k, good + stride) != value) {
                    bad = good + stride;
                    break;
                }
                good += stride;
                stride *= 2;
            }
            while (bad - good > 1) {
                const std::uint64_t mid = good + (bad - good) / 2;
                (channelAt(k, mid) == value ? good : bad) = mid;
            }
            run.last = good;
            good = t;
            stride = 1;
            while (true) {
                if (good < stride) {
                    bad = 0;
                    if (channelAt(k, 0) == value)
                        good = 0;
                    break;
                }
                if (channelAt(k, good - stride) != value) {
                    bad = good - stride;
                    break;
                }
                good -= stride;
                stride *= 2;
            }
            while (good > bad + 1) {
                const std::uint64_t mid = bad + (good - bad) / 2;
                (channelAt(k, mid) == value ? good : bad) = mid;
            }
            run.first = good;
            run.value = value;
        }
        rgb |= (static_cast<std::uint32_t>(run.value) & 0xFF) << (8 * k);
    }
    colorFirst_ = std::max({runs_[0].first, runs_[1].first, runs_[2].first});
    colorLast_ = std::min({runs_[0].last, runs_[1].last, runs_[2].last});
    color_ = static_cast<Color>(rgb);
    return color_;
}

Color RainbowColour(int tenths) {
    // Every hue the rainbow can take, worked out once: the lowering of the chroma takes a
    // search per colour, too slow to run for every letter of a long text.
    static const std::vector<Color> colours = [] {
        std::vector<Color> c(kRainbowTenths);
        for (int k = 0; k < kRainbowTenths; ++k)
            c[static_cast<std::size_t>(k)] =
                ColorOfOkLab(OkLabOf(OkLch{kRainbowLightness, kRainbowChroma, k / 10.0}));
        return c;
    }();
    const int k = ((tenths % kRainbowTenths) + kRainbowTenths) % kRainbowTenths;
    return colours[static_cast<std::size_t>(k)];
}

LetterColours::LetterColours(const FormattingState& state, const GradientOptions& options,
                             std::uint64_t length, std::uint64_t letters)
    : steps_(state, length), symmetric_(state.GradientSymmetry == 2),
      okLab_(options.blend == GradientBlend::OkLab), length_(length) {
    if (options.type == GradientType::Rainbow) {
        kind_ = Kind::Rainbow;
        rainbowStart_ = 10 * std::clamp(options.rainbowStart, 0, kMaxRainbowDegrees);
        lastPoint_ =
            static_cast<std::uint64_t>(10 * std::clamp(options.rainbowSpan, 0, kMaxRainbowDegrees));
    } else if (options.type == GradientType::Multicolour) {
        kind_ = Kind::Letters;
        const std::size_t count = std::min(options.stopCount, kMaxGradientStops);
        for (std::size_t k = 0; k < count; ++k)
            stops_.push_back(ResolveColor(options.stops[k]) & 0xFFFFFF);
        if (stops_.empty())
            stops_.assign(kDefaultGradientStops.begin(), kDefaultGradientStops.end());
        if (stops_.size() == 1)
            stops_.push_back(stops_.front());
    } else if (okLab_) {
        kind_ = Kind::Positions;
        stops_ = {ResolveColor(state.GradientStartColor) & 0xFFFFFF,
                  ResolveColor(state.GradientEndColor) & 0xFFFFFF};
    } else {
        return; // the classic gradient
    }
    if (kind_ != Kind::Rainbow) {
        lastPoint_ = (stops_.size() - 1) * kGradientPointsPerGap;
        points_.assign(lastPoint_ + 1, -1);
        if (okLab_)
            for (Color c : stops_)
                labs_.push_back(OkLabOf(c));
    }
    lastPlace_ = letters == 0 ? 0 : letters - 1;
    if (kind_ == Kind::Positions) {
        // As the classic gradient: a symmetry of 0 counts as plain, 2 goes twice as fast.
        const double m = state.GradientSymmetry == 0 ? 1.0 : state.GradientSymmetry;
        step_ = m * kGradientPointsPerGap / (static_cast<double>(length) + 1);
    } else if (letters > 1) {
        // Letter i of n at i / (n - 1) of the way; symmetric, there and back.
        step_ = (symmetric_ ? 2.0 : 1.0) * static_cast<double>(lastPoint_) /
                static_cast<double>(letters - 1);
    }
}

Color LetterColours::newPoint(std::uint64_t point) {
    runPoint_ = point;
    runColour_ =
        kind_ == Kind::Rainbow ? RainbowColour(rainbowStart_ + static_cast<int>(point)) : at(point);
    return runColour_;
}

Color LetterColours::at(std::uint64_t point) {
    Color& c = points_[point];
    if (c < 0)
        c = mix(point);
    return c;
}

Color LetterColours::mix(std::uint64_t point) const {
    // Between stop s and the next, k points of kGradientPointsPerGap of the way.
    const std::uint64_t s = point / kGradientPointsPerGap;
    const std::uint64_t k = point % kGradientPointsPerGap;
    if (k == 0)
        return stops_[s];
    if (okLab_) {
        const double f = static_cast<double>(k) / kGradientPointsPerGap;
        const OkLab& a = labs_[s];
        const OkLab& b = labs_[s + 1];
        return ColorOfOkLab({a.L + (b.L - a.L) * f, a.a + (b.a - a.a) * f, a.b + (b.b - a.b) * f});
    }
    const auto from = static_cast<std::uint32_t>(stops_[s]);
    const auto to = static_cast<std::uint32_t>(stops_[s + 1]);
    constexpr auto n = static_cast<std::int64_t>(kGradientPointsPerGap);
    std::uint32_t rgb = 0;
    for (int ch = 0; ch < 3; ++ch) {
        const auto a = static_cast<std::int64_t>((from >> (8 * ch)) & 0xFF);
        const auto b = static_cast<std::int64_t>((to >> (8 * ch)) & 0xFF);
        // a + (b - a) k / n rounded to nearest (the sum is never below 0).
        const std::int64_t v = (2 * (a * n + (b - a) * static_cast<std::int64_t>(k)) + n) / (2 * n);
        rgb |= static_cast<std::uint32_t>(v) << (8 * ch);
    }
    return static_cast<Color>(rgb);
}

std::vector<Color> GradientRow(const FormattingState& state, const GradientOptions& options,
                               std::size_t count) {
    LetterColours colours(state, options, count, count);
    std::vector<Color> row;
    row.reserve(count);
    for (std::size_t p = 1; p <= count; ++p)
        row.push_back(colours.next(p));
    return row;
}

} // namespace zk
