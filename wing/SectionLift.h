// The lift of a section's Cp: what the writer carries as CYD once a design
// Cp changes, and what the flow floor's spanload and moments build on.
#pragma once

#include "wing/WingModel.h"

namespace quarvel {

// Lift coefficient of section k from the Cp grid cp ([point][section], the
// wing's cpInit or cpDes): the trapezoidal integral of lower minus upper Cp
// over the chord.
double sectionLift(const WingModel& wing, const Grid<double>& cp, int k);

// The same of the design Cp.
inline double designLift(const WingModel& wing, int k) { return sectionLift(wing, wing.cpDes, k); }

}  // namespace quarvel
