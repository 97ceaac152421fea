// The colour scale of the 3D view: a perceptually uniform map from dark
// blue-violet through teal and green to yellow, Cp on it, and the colour bar
// that tells the Cp of every colour.
#pragma once

#include <string>
#include <vector>

#include "draw/Primitives.h"

namespace quarvel {

struct Rgb8 {
    unsigned char r = 0, g = 0, b = 0;
};

// The map at t in [0, 1] (clamped; NaN gives the dark end).
Rgb8 mapColour(double t);

// Where cp lies on a scale from lo to hi, 0 .. 1: the lowest Cp (the
// strongest suction) at the bright end 1, the highest at 0.
double cpScalePosition(double cp, double lo, double hi);

// The bar on a canvas of width x height pixels: the map from the highest Cp
// at the bottom to the lowest at the top (suction up, as in the Cp plot),
// Cp values at round steps beside it, and a line at the sonic Cp labelled
// "Cp*" when that lies on the scale. The values stand clear of their ticks
// and carry their sign, "+0.5" as well as "-0.5".
std::vector<PlotPrimitive> colourBarPrimitives(double lo, double hi, double sonicCp, int width, int height);

// The diverging map of a change at t in [-1, 1] (clamped; NaN as 0): blue
// at -1 (more suction), white at 0 (no change), red at +1.
Rgb8 divergingColour(double t);

// The bar of the change, "dCp", from +largest at the bottom to -largest at
// the top, 0 in the middle; a bar without values when largest is 0.
std::vector<PlotPrimitive> deltaBarPrimitives(double largest, int width, int height);

// A value with its sign always written, "+0.50", "-1.00", and "0.00" for
// zero of either sign.
std::string signedValue(double v, int decimals);

}  // namespace quarvel
