#include "colour_space.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zk {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Linear values this far outside 0..1 still count as inside: the conversions there and back
// are not exact to the last bit, and a fraction of a step of 8 bits is far larger.
constexpr double kGamutSlack = 1e-7;

double decodeSrgb(double v) {
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

// The curve of sRGB in numbers: the linear value of each 8-bit channel, and the linear value
// from which each channel is the nearest one. Going back to 8 bits is then a comparison with
// the thresholds, started from a table of buckets, with no power to compute per colour.
struct SrgbTables final {
    static constexpr int kBuckets = 4096;
    double linear[256] = {};
    double threshold[256] = {};             // threshold[v], v >= 1: (v - 0.5) / 255 decoded
    std::uint8_t bucket[kBuckets + 1] = {}; // the channel at the bucket's lower edge

    SrgbTables() {
        for (int v = 0; v < 256; ++v)
            linear[v] = decodeSrgb(v / 255.0);
        for (int v = 1; v < 256; ++v)
            threshold[v] = decodeSrgb((v - 0.5) / 255.0);
        int v = 0;
        for (int i = 0; i <= kBuckets; ++i) {
            const double x = static_cast<double>(i) / kBuckets;
            while (v < 255 && x >= threshold[v + 1])
                ++v;
            bucket[i] = static_cast<std::uint8_t>(v);
        }
    }
};

const SrgbTables& tables() {
    static const SrgbTables t;
    return t;
}

} // namespace

double LinearOfChannel(int channel) {
    return tables().linear[channel & 0xFF];
}

int ChannelOfLinear(double x) {
    if (!(x > 0)) // NaN too
        return 0;
    if (x >= 1)
        return 255;
    const SrgbTables& t = tables();
    int v = t.bucket[static_cast<int>(x * SrgbTables::kBuckets)];
    while (v < 255 && x >= t.threshold[v + 1])
        ++v;
    return v;
}

LinearRgb LinearOf(Color color) {
    const auto c = static_cast<std::uint32_t>(color);
    return {LinearOfChannel(static_cast<int>(c & 0xFF)),
            LinearOfChannel(static_cast<int>((c >> 8) & 0xFF)),
            LinearOfChannel(static_cast<int>((c >> 16) & 0xFF))};
}

Color ColorOfLinear(const LinearRgb& rgb) {
    return static_cast<Color>(static_cast<std::uint32_t>(ChannelOfLinear(rgb.r)) |
                              static_cast<std::uint32_t>(ChannelOfLinear(rgb.g)) << 8 |
                              static_cast<std::uint32_t>(ChannelOfLinear(rgb.b)) << 16);
}

bool InSrgbGamut(const LinearRgb& rgb) {
    constexpr double lo = -kGamutSlack;
    constexpr double hi = 1 + kGamutSlack;
    return rgb.r >= lo && rgb.r <= hi && rgb.g >= lo && rgb.g <= hi && rgb.b >= lo && rgb.b <= hi;
}

// The matrices are OKLab's own, as its author published them.
OkLab OkLabOfLinear(const LinearRgb& c) {
    const double l = std::cbrt(0.4122214708 * c.r + 0.5363325363 * c.g + 0.0514459929 * c.b);
    const double m = std::cbrt(0.2119034982 * c.r + 0.6806995451 * c.g + 0.1073969566 * c.b);
    const double s = std::cbrt(0.0883024619 * c.r + 0.2817188376 * c.g + 0.6299787005 * c.b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

LinearRgb LinearOfOkLab(const OkLab& lab) {
    const double l1 = lab.L + 0.3963377774 * lab.a + 0.2158037573 * lab.b;
    const double m1 = lab.L - 0.1055613458 * lab.a - 0.0638541728 * lab.b;
    const double s1 = lab.L - 0.0894841775 * lab.a - 1.2914855480 * lab.b;
    const double l = l1 * l1 * l1;
    const double m = m1 * m1 * m1;
    const double s = s1 * s1 * s1;
    return {4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s,
            -1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s,
            -0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s};
}

OkLab OkLabOf(Color color) {
    return OkLabOfLinear(LinearOf(color));
}

OkLch OkLchOf(const OkLab& lab) {
    double h = std::atan2(lab.b, lab.a) * (180 / kPi);
    if (h < 0)
        h += 360;
    return {lab.L, std::hypot(lab.a, lab.b), h};
}

OkLab OkLabOf(const OkLch& lch) {
    const double h = lch.h * (kPi / 180);
    return {lch.L, lch.C * std::cos(h), lch.C * std::sin(h)};
}

Color ColorOfOkLab(const OkLab& lab) {
    if (!(lab.L > 0)) // NaN too
        return 0;
    if (lab.L >= 1)
        return 0xFFFFFF;
    const LinearRgb rgb = LinearOfOkLab(lab);
    if (InSrgbGamut(rgb))
        return ColorOfLinear(rgb);
    // The grey of the same lightness fits (scale 0) and lab does not (scale 1): find the
    // largest scale of its chroma that fits by false position, where an end left in place
    // twice has its excess halved so that both ends close in (the Illinois rule). The excess
    // is smooth near the border: a few steps reach far below a step of 8 bits.
    const auto excess = [](const LinearRgb& c) {
        return std::max({c.r - 1, -c.r, c.g - 1, -c.g, c.b - 1, -c.b}) - kGamutSlack;
    };
    LinearRgb best = LinearOfOkLab({lab.L, 0, 0});
    double fits = 0;
    double overflows = 1;
    double fitsExcess = excess(best); // at `fits`, for closing in (it may have been halved)
    double overflowsExcess = excess(rgb);
    double bestExcess = fitsExcess; // at `fits` as it is
    int lastMoved = 0;              // the end the last step moved: -1 fits, 1 overflows
    for (int k = 0; k < 64 && overflows - fits > 1e-7 && bestExcess < -1e-10; ++k) {
        double scale =
            (fits * overflowsExcess - overflows * fitsExcess) / (overflowsExcess - fitsExcess);
        if (!(scale > fits && scale < overflows))
            scale = (fits + overflows) / 2;
        const LinearRgb c = LinearOfOkLab({lab.L, lab.a * scale, lab.b * scale});
        const double e = excess(c);
        if (e <= 0) {
            fits = scale;
            fitsExcess = bestExcess = e;
            best = c;
            if (lastMoved == -1)
                overflowsExcess /= 2;
            lastMoved = -1;
        } else {
            overflows = scale;
            overflowsExcess = e;
            if (lastMoved == 1)
                fitsExcess /= 2;
            lastMoved = 1;
        }
    }
    return ColorOfLinear(best);
}

} // namespace zk
