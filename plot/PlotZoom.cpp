#include "plot/PlotZoom.h"

#include <algorithm>
#include <cmath>

namespace quarvel {

PlotTransform PlotZoom::apply(const PlotTransform& whole, int width, int height) const {
    if (fitted()) return whole;
    PlotTransform t;
    t.plotOriginX = whole.xAt(left * width);
    t.plotOriginCp = whole.cpAt(top * height);
    t.plotScaleX = whole.plotScaleX / size;
    t.plotScaleCp = whole.plotScaleCp / size;
    return t;
}

void PlotZoom::zoomAbout(double factor, double px, double py, int width, int height) {
    if (width <= 0 || height <= 0 || !(factor > 0.0) || !std::isfinite(px) || !std::isfinite(py)) return;
    const double fx = px / width, fy = py / height;
    const double newSize = std::clamp(size / factor, 1.0 / kMaxMagnification, 1.0);
    if (newSize == 1.0) {
        fit();
        return;
    }
    // The fraction under the pointer stays under it.
    left += (size - newSize) * fx;
    top += (size - newSize) * fy;
    size = newSize;
    keepCentreOnPlot();
}

void PlotZoom::pan(double dx, double dy, int width, int height) {
    if (width <= 0 || height <= 0 || !std::isfinite(dx) || !std::isfinite(dy)) return;
    left -= size * dx / width;
    top -= size * dy / height;
    keepCentreOnPlot();
}

void PlotZoom::keepCentreOnPlot() {
    left = std::clamp(left, -size / 2, 1.0 - size / 2);
    top = std::clamp(top, -size / 2, 1.0 - size / 2);
}

}  // namespace quarvel
