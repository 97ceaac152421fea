// The colour scale of the 3D view: a perceptually uniform map from dark
// blue-violet through teal and green to yellow, Cp on it, and the colour bar
// that tells the Cp of every colour.
#pragma once

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
// "Cp*" when that lies on the scale.
std::vector<PlotPrimitive> colourBarPrimitives(double lo, double hi, double sonicCp, int width, int height);

}  // namespace quarvel
