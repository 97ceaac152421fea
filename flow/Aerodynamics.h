// The flow over a section, from its Cp alone: the sonic Cp and the local Mach
// number of a free-stream Mach number (isentropic, a ratio of specific heats
// of 1.4), and the section's lift (wing/SectionLift) and pitching moment.
#pragma once

#include "wing/SectionLift.h"
#include "wing/WingModel.h"

namespace quarvel {

constexpr double kGamma = 1.4;

// Cp* = 2/(gM^2) (((2 + (g-1)M^2)/(g+1))^(g/(g-1)) - 1), the Cp where the
// flow is sonic; -67 (no curve reaches it) for a Mach number of 0.0999 or
// less.
double sonicCp(double mach);

// The isentropic local Mach number where the Cp is cp, in a free stream of
// Mach number mach: M^2 = 2/(g-1) ((p0/p)^((g-1)/g) - 1), p/pinf = 1 + gM^2 Cp/2.
// 0 at and above the stagnation Cp, infinite at and below the vacuum Cp.
double localMach(double cp, double mach);

// The Cp where the isentropic local Mach number is m, the inverse of
// localMach: p/pinf = (p0/pinf) / (1 + (g-1)/2 m^2)^(g/(g-1)).
double cpAtLocalMach(double m, double mach);

// Pitching moment coefficient of section k about its quarter chord, nose up
// positive: the trapezoidal integral of (lower - upper Cp)(0.25 - x/c).
double sectionMoment(const WingModel& wing, const Grid<double>& cp, int k);

}  // namespace quarvel
