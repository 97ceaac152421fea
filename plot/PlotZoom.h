// Zoom and pan of the Cp plot. The view is a square window over the canvas
// as the default axis fills it, in fractions of the canvas: the whole plot
// is left = top = 0, size = 1. Kept in fractions, a view survives a resize
// of the canvas and a section with another axis.
#pragma once

#include "draw/PlotTransform.h"

namespace quarvel {

struct PlotZoom {
    static constexpr double kMaxMagnification = 20.0;

    double left = 0.0, top = 0.0;  // top-left corner
    double size = 1.0;             // width and height

    bool fitted() const { return size == 1.0 && left == 0.0 && top == 0.0; }
    double magnification() const { return 1.0 / size; }

    // The transform that draws and picks in this view, from the default one
    // of a width x height canvas.
    PlotTransform apply(const PlotTransform& whole, int width, int height) const;

    // Magnifies by factor (below 1 zooms out) about pixel (px, py), which
    // keeps showing the same point. Zooming out to the whole plot fits it.
    void zoomAbout(double factor, double px, double py, int width, int height);
    // Moves the plot by dx, dy pixels with the mouse. The centre of the view
    // stays on the default plot.
    void pan(double dx, double dy, int width, int height);
    // Back to the axis of the table.
    void fit() { *this = PlotZoom{}; }

private:
    void keepCentreOnPlot();
};

}  // namespace quarvel
