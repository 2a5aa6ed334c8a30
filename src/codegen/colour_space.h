// Colours between sRGB and the perceptual OKLab space (and its polar form OKLCh), for the
// gradients that mix or turn colours the way the eye sees them.
#pragma once

#include "formatting_state.h"

namespace zk {

// sRGB without its transfer curve, each channel 0..1 inside the gamut.
struct LinearRgb final {
    double r = 0;
    double g = 0;
    double b = 0;
};

// L lightness 0..1; a green-red and b blue-yellow axes, about -0.4..0.4 for sRGB colours.
struct OkLab final {
    double L = 0;
    double a = 0;
    double b = 0;
};

// L lightness, C chroma (the distance from grey), h hue in degrees 0..360.
struct OkLch final {
    double L = 0;
    double C = 0;
    double h = 0;
};

// One 8-bit sRGB channel without its transfer curve.
double LinearOfChannel(int channel);
// The 8-bit sRGB channel nearest to a linear value, which is first brought into 0..1.
int ChannelOfLinear(double linear);

LinearRgb LinearOf(Color color); // red in the low byte, as every colour of the program
// Each channel brought into 0..1 and rounded to the nearest 8-bit value.
Color ColorOfLinear(const LinearRgb& rgb);
bool InSrgbGamut(const LinearRgb& rgb);

OkLab OkLabOfLinear(const LinearRgb& rgb);
LinearRgb LinearOfOkLab(const OkLab& lab);
OkLab OkLabOf(Color color);

OkLch OkLchOf(const OkLab& lab);
OkLab OkLabOf(const OkLch& lch);

// The sRGB colour of lab, rounded to nearest. Outside the gamut its chroma is lowered, its
// lightness and hue kept, until it fits; a lightness beyond black or white is cut.
Color ColorOfOkLab(const OkLab& lab);

} // namespace zk
