// Spline editing of a surface's design Cp: control points placed over the
// correction interval and the Akima curve through them written into cpDes.
// Everything acts on the section k and surface s it is given.
#pragma once

#include "wing/WingModel.h"

namespace quarvel {

// Design Cp of section k along surface s at chord position x,
// interpolated linearly between its points. Returns false and leaves cpOut
// as it was when x lies outside the surface (or on its leading-edge point).
bool linearCpAt(const WingModel& wing, int k, int s, double x, double& cpOut);

// Stores count equally spaced control points of surface s between (x0, cp0)
// and (x1, cp1); the inner ones take the design Cp there. A count outside
// 2 .. nsplMax places nothing.
void placeSplinePoints(WingModel& wing, int k, int s, int count, double x0, double x1, double cp0, double cp1);

// Places the control points of surface s from the points just outside its
// correction interval (the same ends the "Spline interp." command uses).
// While "Shape the change" is on for the surface the control points hold the
// change of the design Cp instead: they are placed from the interval's own
// end points with a change of 0, and the design Cp as it stands becomes the
// base that the curve is added to.
void placeSurfaceSplinePoints(WingModel& wing, int k, int s);

// Rewrites the design Cp over the interval of surface s of section k from the
// curve through its control points: Akima's curve, or while "Shape the
// change" is on the monotone cubic of the change added to the base, 0 at the
// interval's end points and never beyond its control points' values. Returns false, leaving cpDes untouched,
// when the curve cannot be evaluated.
bool applySurfaceSpline(WingModel& wing, int k, int s);

}  // namespace quarvel
