// Smoothing of design Cp: along the chord over a surface's correction
// interval, and (SpanTools) along the span over a range of sections. Both
// use one smoother whose end values never move. Unless asked to smooth
// through them, both keep the shocks and the suction peak of the design Cp.
#pragma once

#include <vector>

#include "correction/CorrectionPanel.h"
#include "correction/Editing.h"
#include "flow/Shocks.h"
#include "wing/WingModel.h"

namespace quarvel {

// How hard to smooth: each pass moves every free value the weight's part of
// the way (0 .. 1) toward the straight line through its two neighbours.
struct SmoothStrength {
    static constexpr int kMaxPasses = 200;
    int passes = 10;
    double weight = 0.5;
    // "Through shocks": smooth across shocks and peaks as across any point.
    bool throughShocks = false;
    ShockRule shocks = {};  // the rule that finds the shocks kept
};

// What smoothing keeps of surface s of section k, a flag per contour index:
// the points of each shock run of the design Cp (so each side of a shock is
// smoothed alone and the jump stays where it is) and the point of lowest
// design Cp inside the interval (the suction peak). All clear when the
// strength smooths through shocks.
std::vector<char> keptPoints(const WingModel& wing, int k, int s, const SmoothStrength& strength);

// Smooths y, given at the increasing positions x (same size), in place. The
// first and last value stay, and so does value i where fixed[i] is non-zero
// (fixed may be empty). A straight line in x is left as it is, and each new
// value lies between its old neighbours, so no pass overshoots.
void smoothValues(std::vector<double>& y, const std::vector<double>& x, SmoothStrength strength,
                  const std::vector<char>& fixed = {});

// Surface s of section k is in "Cp edition" of a corrected section, with a
// point inside its interval to smooth.
bool canSmooth(const WingModel& wing, int k, int s);

// "Smooth": the design Cp of surface s of section k over its interval, its
// two end points and its kept points (keptPoints) fixed. A surface in spline
// editing gets its control points placed anew on the smoothed curve. Nothing
// happens (and nothing is redrawn) when canSmooth is false.
Redraw smoothSurface(WingModel& wing, int k, int s, EditingState& e, SmoothStrength strength);

}  // namespace quarvel
