#include "correction/MonotoneCubic.h"

#include <cmath>
#include <vector>

namespace quarvel {

bool monotoneCubicInterpolate(int n, const double* x, const double* y, int m, const double* u, double* v) {
    if (n < 2 || m < 0) return false;
    for (int i = 1; i < n; ++i)
        if (!(x[i] > x[i - 1])) return false;
    // Slopes of the segments, then the slope at each point: zero at a local
    // extremum or beside a flat segment, else the weighted harmonic mean of
    // its two segments' slopes (which keeps each cubic monotone); the ends
    // take the one-sided three-point estimate, limited the same way.
    std::vector<double> h(std::size_t(n - 1)), delta(std::size_t(n - 1)), d(std::size_t(n), 0.0);
    for (int i = 0; i + 1 < n; ++i) {
        h[i] = x[i + 1] - x[i];
        delta[i] = (y[i + 1] - y[i]) / h[i];
    }
    if (n == 2) {
        d[0] = d[1] = delta[0];
    } else {
        for (int i = 1; i + 1 < n; ++i) {
            if (delta[i - 1] * delta[i] <= 0.0) continue;
            const double w1 = 2.0 * h[i] + h[i - 1], w2 = h[i] + 2.0 * h[i - 1];
            d[i] = (w1 + w2) / (w1 / delta[i - 1] + w2 / delta[i]);
        }
        auto endSlope = [](double h0, double h1, double del0, double del1) {
            double s = ((2.0 * h0 + h1) * del0 - h0 * del1) / (h0 + h1);
            if (s * del0 <= 0.0) return 0.0;
            if (del0 * del1 <= 0.0 && std::fabs(s) > std::fabs(3.0 * del0)) return 3.0 * del0;
            return s;
        };
        d[0] = endSlope(h[0], h[1], delta[0], delta[1]);
        d[n - 1] = endSlope(h[n - 2], h[n - 3], delta[n - 2], delta[n - 3]);
    }
    int seg = 0;
    for (int j = 0; j < m; ++j) {
        const double t = u[j];
        if (!(t > x[0])) {
            v[j] = y[0];
            continue;
        }
        if (!(t < x[n - 1])) {
            v[j] = y[n - 1];
            continue;
        }
        if (t < x[seg]) seg = 0;
        while (t >= x[seg + 1]) ++seg;
        if (t == x[seg]) {
            v[j] = y[seg];
            continue;
        }
        const double s = (t - x[seg]) / h[seg];
        const double s2 = s * s, s3 = s2 * s;
        v[j] = (2.0 * s3 - 3.0 * s2 + 1.0) * y[seg] + (s3 - 2.0 * s2 + s) * h[seg] * d[seg] +
               (-2.0 * s3 + 3.0 * s2) * y[seg + 1] + (s3 - s2) * h[seg] * d[seg + 1];
    }
    return true;
}

}  // namespace quarvel
