// Section aerodynamics shared by the plot, the writer, the spanload and the
// 3D view: the sonic Cp of a Mach number and the lift of a section's Cp.
#pragma once

#include "wing/WingModel.h"

namespace quarvel {

// Sonic Cp for a ratio of specific heats of 1.4; -67 (no curve reaches it)
// for a Mach number of 0.0999 or less.
double criticalCp(double mach);

// Lift coefficient of section k from the Cp grid cp ([point][section], the
// wing's cpInit or cpDes): the trapezoidal integral of lower minus upper Cp
// over the chord.
double sectionLift(const WingModel& wing, const Grid<double>& cp, int k);

// The same of the design Cp.
inline double designLift(const WingModel& wing, int k) { return sectionLift(wing, wing.cpDes, k); }

}  // namespace quarvel
