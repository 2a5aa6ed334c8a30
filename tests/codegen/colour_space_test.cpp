#include <gtest/gtest.h>

#include <cmath>

#include "colour_space.h"
#include "string_utils.h"

namespace zk {
namespace {

struct PublishedCase {
    Color color;
    double L, a, b;
};

// The OKLab figures its author published for the sRGB primaries and white.
TEST(ColourSpace, okLabMatchesThePublishedFigures) {
    const PublishedCase cases[] = {
        {0x0000FF, 0.628, 0.225, 0.126},   // red
        {0x00FF00, 0.866, -0.234, 0.179},  // green
        {0xFF0000, 0.452, -0.032, -0.312}, // blue
        {0xFFFFFF, 1.000, 0.000, 0.000},   // white
        {0x000000, 0.000, 0.000, 0.000},   // black
    };
    for (const auto& c : cases) {
        const OkLab lab = OkLabOf(c.color);
        EXPECT_NEAR(lab.L, c.L, 0.0005) << ColorToHtml(c.color);
        EXPECT_NEAR(lab.a, c.a, 0.0005) << ColorToHtml(c.color);
        EXPECT_NEAR(lab.b, c.b, 0.0005) << ColorToHtml(c.color);
    }
}

TEST(ColourSpace, everyColourOfASixteenStepCubeComesBackExactly) {
    int checked = 0;
    for (int r = 0; r < 256; r += 17)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 17) {
                const Color c = r | g << 8 | b << 16;
                ASSERT_EQ(ColorToHtml(ColorOfOkLab(OkLabOf(c))), ColorToHtml(c));
                ++checked;
            }
    EXPECT_EQ(checked, 4096);
}

double encodeSrgb(double x) {
    return x <= 0.0031308 ? 12.92 * x : 1.055 * std::pow(x, 1 / 2.4) - 0.055;
}

// The tables that spare a power per channel give what the curve itself gives, rounded to
// nearest, over the whole range and at its ends.
TEST(ColourSpace, channelsAreRoundedToNearestOnTheSrgbCurve) {
    for (int v = 0; v < 256; ++v)
        ASSERT_EQ(ChannelOfLinear(LinearOfChannel(v)), v);
    for (int k = 0; k <= 200000; ++k) {
        const double x = k / 200000.0;
        const double exact = encodeSrgb(x) * 255;
        if (std::abs(exact - std::floor(exact) - 0.5) < 1e-9)
            continue; // a tie: either neighbour is nearest
        ASSERT_EQ(ChannelOfLinear(x), static_cast<int>(std::lround(exact))) << x;
    }
    EXPECT_EQ(ChannelOfLinear(-0.5), 0);
    EXPECT_EQ(ChannelOfLinear(1.5), 255);
    EXPECT_EQ(ChannelOfLinear(std::nan("")), 0);
}

TEST(ColourSpace, polarFormTurnsBackIntoTheSameColour) {
    const OkLch red = OkLchOf(OkLabOf(0x0000FF));
    EXPECT_NEAR(red.C, 0.258, 0.0005);
    EXPECT_NEAR(red.h, 29.23, 0.01);
    const OkLch blue = OkLchOf(OkLabOf(0xFF0000));
    EXPECT_NEAR(blue.h, 264.05, 0.01); // negative angles are turned into 0..360
    for (Color c : {0x0000FF, 0xFF0000, 0x00FF00, 0x123456, 0x808080})
        EXPECT_EQ(ColorOfOkLab(OkLabOf(OkLchOf(OkLabOf(c)))), c) << ColorToHtml(c);
}

// A colour beyond sRGB keeps its lightness and hue and loses chroma, no more than it must.
TEST(ColourSpace, outOfGamutColoursLoseChromaOnly) {
    for (double L : {0.3, 0.5, 0.7, 0.9})
        for (int hue = 0; hue < 360; hue += 15) {
            const OkLch wanted{L, 0.4, static_cast<double>(hue)};
            ASSERT_FALSE(InSrgbGamut(LinearOfOkLab(OkLabOf(wanted))));
            const Color c = ColorOfOkLab(OkLabOf(wanted));
            const OkLch got = OkLchOf(OkLabOf(c));
            // Rounding to 8 bits moves a colour by a little; near grey the hue moves more.
            EXPECT_NEAR(got.L, L, 0.006) << L << " " << hue;
            // The hue, as a distance on the circle of that chroma.
            const double dh = std::remainder(got.h - hue, 360.0) * 3.14159265358979 / 180;
            EXPECT_LT(std::abs(dh) * got.C, 0.006) << L << " " << hue;
            EXPECT_LT(got.C, 0.4);
            // A little more chroma would not fit.
            const OkLch more{L, got.C + 0.01, static_cast<double>(hue)};
            EXPECT_FALSE(InSrgbGamut(LinearOfOkLab(OkLabOf(more)))) << L << " " << hue;
        }
}

TEST(ColourSpace, lightnessBeyondBlackOrWhiteIsCut) {
    EXPECT_EQ(ColorOfOkLab({-0.2, 0.1, 0.1}), 0x000000);
    EXPECT_EQ(ColorOfOkLab({0, 0, 0}), 0x000000);
    EXPECT_EQ(ColorOfOkLab({1, 0, 0}), 0xFFFFFF);
    EXPECT_EQ(ColorOfOkLab({1.3, -0.2, 0}), 0xFFFFFF);
    EXPECT_EQ(ColorOfOkLab({std::nan(""), 0, 0}), 0x000000);
    // A chroma that is not a number leaves the grey of that lightness.
    const Color grey = ColorOfOkLab({0.6, std::nan(""), 0});
    EXPECT_EQ(grey, ColorOfOkLab({0.6, 0, 0}));
}

} // namespace
} // namespace zk
