// What the editing state of a section's surface is, read from the wing
// alone: the plot, the panel and the design tools ask the same questions.
#pragma once

#include "wing/WingModel.h"

namespace quarvel {

// The surface being edited in section k (anything but 1 is the upper one).
inline int activeSurfaceOf(const WingModel& w, int k) { return w.activeSurface[k] == 1 ? 1 : 0; }

// Surface s of section k is edited point by point or by its spline: the
// section is corrected and the surface is in "Cp edition".
inline bool inCpEdition(const WingModel& w, int k, int s) {
    return w.secCorrection[k] == 2 && w.surfMode[k][s] == MODE_CP_EDITION;
}
// ... and its "Spline interp." is on: its control points show and drag.
inline bool inSplineEditing(const WingModel& w, int k, int s) {
    return inCpEdition(w, k, s) && w.splineOn[k][s] == 1;
}

}  // namespace quarvel
