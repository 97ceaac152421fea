// Shocks found in a surface's Cp by one rule. Along the surface in
// increasing x, a segment is steep when its slope dCp/dx is at least the
// rule's slope (a segment of zero length when Cp rises along it). A maximal
// run of steep segments is a shock when the flow ahead of it is supersonic
// (Cp at its first point below the sonic Cp) and Cp rises along it by at
// least the rule's jump. The shock stands at the middle of its steepest
// segment; its strength is the jump and the local Mach number M1 ahead of it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "wing/WingModel.h"

namespace quarvel {

struct ShockRule {
    double slope = 3.0;  // S, Cp per chord
    double jump = 0.10;  // J, Cp
};

// The local Mach number ahead of a shock from which it is likely to
// separate the boundary layer.
constexpr double kSeparationM1 = 1.30;

struct Shock {
    double x = 0.0;  // chord position
    double cpBefore = 0.0, cpAfter = 0.0, jump = 0.0;
    double m1 = 0.0;  // local Mach number at the run's first point
    // The run's first and last point: positions in the arrays given to
    // findShocks, contour indices from sectionShocks.
    int first = 0, last = 0;
};

// The shocks of a surface whose n points have the chord positions x and Cp
// cp, in increasing x, for the free-stream Mach number mach; in increasing x.
std::vector<Shock> findShocks(const double* x, const double* cp, std::size_t n, double mach, const ShockRule& rule);

inline std::vector<Shock> findShocks(const std::vector<double>& x, const std::vector<double>& cp, double mach,
                                     const ShockRule& rule) {
    return findShocks(x.data(), cp.data(), std::min(x.size(), cp.size()), mach, rule);
}

enum class CpSource { Initial, Design };

// Contour indices of surface s (0 upper, 1 lower) of section k in
// increasing x (the section's own X; points of equal x in contour order).
std::vector<int> surfaceInChordOrder(const WingModel& wing, int k, int s);

// The shocks of surface s of section k in its initial or design Cp (the
// design Cp as the model holds it), at the wing's Mach number.
std::vector<Shock> sectionShocks(const WingModel& wing, int k, int s, CpSource source, const ShockRule& rule);

// The shocks of every section as CSV, one line each with the header
// "section,z,surface,source,x,cp_before,cp_after,jump,m1": by section,
// surface (upper first), source (initial first) and x.
std::string formatShocksCsv(const WingModel& wing, const ShockRule& rule);

}  // namespace quarvel
