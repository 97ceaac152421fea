// The load along the span: each section's lift (the design-lift formula of
// the Cp plot) of its initial and of its design Cp, weighted by its chord
// over the mean chord, and an elliptic load of the same area. Computed
// without any window; the spanload dialog plots it and the CSV export writes
// it.
#pragma once

#include <string>
#include <vector>

#include "draw/Primitives.h"
#include "flow/Compare.h"
#include "wing/WingModel.h"

namespace quarvel {

// One entry per section.
struct Spanload {
    std::vector<int> section;  // numbered as in the file
    std::vector<double> z, chord;
    std::vector<double> clInitial, clDesign;
    // cl * chord / (mean chord); cl alone when the mean chord is 0.
    std::vector<double> loadInitial, loadDesign;
    // L0 * sqrt(1 - (z / z of the last section)^2), 0 where the root would
    // be negative, with L0 such that its trapezoidal integral over z equals
    // that of loadDesign. Where that has no answer (one section, the last
    // section at z = 0, a shape without area) it is loadDesign itself.
    std::vector<double> loadElliptic;

    int sections() const { return int(z.size()); }
};

Spanload computeSpanload(const WingModel& wing);

// The trapezoidal integral of values over z.
double trapezoidalIntegral(const std::vector<double>& z, const std::vector<double>& values);

// "section,z,chord,cl_initial,cl_design,load_initial,load_design,load_elliptic"
// and one row per section, numbers in their shortest exact form.
std::string formatSpanloadCsv(const Spanload& load);

// The plot on a canvas of width x height pixels: axes with their values,
// the initial load (grey), the design load (blue), the elliptic reference
// (dashed black) and a legend. With a comparison's residual, its RMS along
// the span on an axis of its own at the right (upper surface solid, lower
// dashed, dark cyan). The legend names the span the elliptic reference
// assumes (z from 0 to the last section's); the current section (an index
// of load, -1 for none) is marked by a dashed orange line with its number.
std::vector<PlotPrimitive> spanloadPrimitives(const Spanload& load, int width, int height,
                                              const ResidualSpan* residual = nullptr, int current = -1);

}  // namespace quarvel
