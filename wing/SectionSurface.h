// The questions every tool asks about one surface of one section: is the
// section corrected, is the surface in "Cp edition", where is its interval,
// which of its points is selected, which points does it have. Surface s is 0
// for the upper surface and 1 for the lower; k is a section index and point
// numbers are 1-based (point p is contour index p - 1).
#pragma once

#include <vector>

#include "wing/WingModel.h"

namespace quarvel {

inline bool isCorrected(const WingModel& w, int k) { return w.secCorrection[k] == SECTION_CORRECTED; }
inline bool isSurface(int s) { return s == 0 || s == 1; }

// Surface s of section k is edited point by point or by its spline: the
// section is corrected and the surface is in "Cp edition".
inline bool inCpEdition(const WingModel& w, int k, int s) {
    return isCorrected(w, k) && w.surfMode[k][s] == MODE_CP_EDITION;
}
// ... and its "Spline interp." is on: its control points show and drag.
inline bool inSplineEditing(const WingModel& w, int k, int s) {
    return inCpEdition(w, k, s) && w.splineOn[k][s] == 1;
}
// The surface is in either Cp correction, the regimes with an interval.
inline bool hasInterval(int mode) { return mode == MODE_CP_EDITION || mode == MODE_CP_INTERP; }

// The surface being edited in section k (anything but 1 is the upper one).
inline int activeSurfaceOf(const WingModel& w, int k) { return w.activeSurface[k] == 1 ? 1 : 0; }

// The interval ends and the selected point of surface s in section k:
// u1, u2, upperPoint or l1, l2, lowerPoint.
inline int& intervalFirst(WingModel& w, int k, int s) { return s == 0 ? w.u1[k] : w.l1[k]; }
inline int& intervalLast(WingModel& w, int k, int s) { return s == 0 ? w.u2[k] : w.l2[k]; }
inline int& selectedPoint(WingModel& w, int k, int s) { return s == 0 ? w.upperPoint[k] : w.lowerPoint[k]; }
inline int intervalFirst(const WingModel& w, int k, int s) { return s == 0 ? w.u1[k] : w.l1[k]; }
inline int intervalLast(const WingModel& w, int k, int s) { return s == 0 ? w.u2[k] : w.l2[k]; }
inline int selectedPoint(const WingModel& w, int k, int s) { return s == 0 ? w.upperPoint[k] : w.lowerPoint[k]; }
inline bool inInterval(const WingModel& w, int k, int s, int point) {
    return intervalFirst(w, k, s) <= point && point <= intervalLast(w, k, s);
}

// The points of surface s: the upper surface's run from nhalf + 1 to
// 2 nhalf, the lower surface's from 1 to nhalf. Any interval a file gives
// lies inside them; the editing limits below are narrower and bound only
// what an edit may make.
inline int firstPointOf(const WingModel& w, int s) { return s == 0 ? w.nhalf + 1 : 1; }
inline int lastPointOf(const WingModel& w, int s) { return s == 0 ? 2 * w.nhalf : w.nhalf; }

// The editing limits of the interval of surface s: u1Min, u2Max or l1Min,
// l2Max. A spline reaches one point beyond each end of its interval, and
// that point must lie on the same surface.
inline int intervalLowerLimit(const WingModel& w, int s) { return s == 0 ? w.u1Min : w.l1Min; }
inline int intervalUpperLimit(const WingModel& w, int s) { return s == 0 ? w.u2Max : w.l2Max; }

// A 1-based point number as the spinners and files show it.
inline int shownPoint(const WingModel& w, int point) { return point + w.ioff; }

// Contour indices of the interval of surface s in section k, by increasing
// chord position (upper: points u1..u2, lower: points l2 down to l1).
std::vector<int> intervalIndices(const WingModel& wing, int k, int s);

}  // namespace quarvel
