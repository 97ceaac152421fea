// Monotone piecewise cubic Hermite interpolation (Fritsch and Carlson): the
// curve of "Shape the change". Between two neighbouring points it stays
// within their two values, so it never goes beyond the range of the values
// it passes through, and it meets each point exactly.
#pragma once

namespace quarvel {

// Interpolates the n points (x[i], y[i]), x strictly increasing, at the m
// abscissae u[0..m-1], writing v[0..m-1]. A u outside [x[0], x[n-1]] takes
// the nearer end's value; a u equal to some x[i] takes y[i] exactly.
// Returns false, writing nothing, for fewer than two points or abscissae
// that do not increase.
bool monotoneCubicInterpolate(int n, const double* x, const double* y, int m, const double* u, double* v);

}  // namespace quarvel
