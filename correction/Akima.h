// Akima's piecewise cubic interpolation (local, no overshoot at steps),
// used for the spline editing of a surface's design Cp.
#pragma once

namespace quarvel {

// Interpolates the n points (x[i], y[i]), x strictly increasing, at the
// m + 1 abscissae u[0..m], writing v[0..m]; outside [x[0], x[n-1]] the curve
// is extrapolated. On failure nothing is written to v and code is set:
// 1 fewer than two points, 2 m negative, 3 abscissae out of sequence,
// 4 identical abscissae (the first offending pair decides). On success code
// is left as the caller set it. Evaluation is fastest with u increasing: the
// cubic of an interval is reused while consecutive u fall into it.
void akimaInterpolate(int n, const double* x, const double* y, int m, const double* u, double* v, int& code);

}  // namespace quarvel
