// Design tools over a range of sections: the current section's set-up
// applied to others with a blend, and the design Cp smoothed along the span.
// Ranges are given by file section numbers (KTE1 + k), in either order.
#pragma once

#include <vector>

#include "correction/CorrectionPanel.h"
#include "correction/Smoothing.h"
#include "wing/WingModel.h"

namespace quarvel {

// Indices k of the sections numbered from first to last (either order),
// kept inside the wing, increasing.
std::vector<int> sectionsBetween(const WingModel& wing, int firstNumber, int lastNumber);

// How much of the current section's change of design Cp a section takes:
// weight everywhere, or with fade the weight at the current section falling
// linearly with the span distance (Z) to zero at the range's end on each side
// of it. With follow, the change keeps its place relative to the shock
// (chordMap in FlowMoves) where both sections have one.
struct Blend {
    double weight = 1.0;
    bool fade = false;
    bool follow = true;
};

// The blend's weight at section index k, for a range of indices first..last
// and the current section index current.
double blendWeight(const WingModel& wing, const Blend& blend, int k, int current, int first, int last);

// Gives section k the set-up: the correction flag, regimes, codes and
// intervals (1-based points, kept on their surfaces and in order, and
// written by their numbers), with the
// selected points inside the intervals and spline editing off. The caller
// then writes the design Cp.
void takeSetUp(WingModel& wing, int k, int secCorrection, SurfacePair modes, SurfacePair codes, int u1, int u2,
               int l1, int l2);

// "Apply to sections...": every other section of the range whose weight is
// not zero takes the set-up of section c and, over the interval of each "Cp
// edition" surface, its own input Cp plus the weight times section c's
// change (design - input Cp) carried over by the chord map; a section of
// weight zero is left as it is. The note names the sections where the
// change could not follow a shock. Redraws plot and planform.
Redraw applyToSections(WingModel& wing, int c, int firstNumber, int lastNumber, const Blend& blend,
                       const ShockRule& rule = {});

// "Smooth along the span": for every point of surface s of the inner
// sections of the range, smooths the design Cp across the range's sections
// in their span positions, the first and last section fixed, each section's
// Cp taken at the same place relative to its interval and (with follow, when
// every section has one) its rear-most shock, from its own side of the
// shock. Only the points inside the interval of a "Cp edition" surface of a
// corrected section move; each section's kept points (keptPoints: its
// shocks and suction peak) hold unless smoothing through shocks. With follow
// (and not through shocks) the shocks followed are smoothed along the span
// as a line too: each moves with its whole run, its jump kept, onto the
// section's points nearest the smoothed line. Surfaces in spline editing
// get their control points placed anew.
Redraw smoothAlongSpan(WingModel& wing, int s, int firstNumber, int lastNumber, SmoothStrength strength,
                       bool follow = true);

}  // namespace quarvel
