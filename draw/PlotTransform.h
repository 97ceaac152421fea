// The mapping between chord position / Cp and pixels of the Cp plot; every
// redraw sets it, the mouse editing reads it.
#pragma once

namespace quarvel {

struct PlotTransform {
    double plotOriginX = -0.1;
    double plotOriginCp = 0.0;
    double plotScaleX = 1.0;   // pixels per unit chord
    double plotScaleCp = 1.0;  // pixels per unit Cp

    // Pixel column and row, in floating point (callers truncate).
    double columnOf(double x) const { return (x - plotOriginX) * plotScaleX; }
    double rowOf(double cp) const { return (cp - plotOriginCp) * plotScaleCp; }
    // The inverse mapping, from a pixel.
    double xAt(double column) const { return column / plotScaleX + plotOriginX; }
    double cpAt(double row) const { return row / plotScaleCp + plotOriginCp; }
};

}  // namespace quarvel
