#include "correction/Smoothing.h"

#include <algorithm>
#include <cmath>

#include "correction/SurfaceSpline.h"

namespace quarvel {

void smoothValues(std::vector<double>& y, const std::vector<double>& x, SmoothStrength strength,
                  const std::vector<char>& fixed) {
    const std::size_t n = y.size();
    if (n < 3 || x.size() != n) return;
    const int passes = std::clamp(strength.passes, 0, SmoothStrength::kMaxPasses);
    const double weight = std::isfinite(strength.weight) ? std::clamp(strength.weight, 0.0, 1.0) : 0.0;
    std::vector<double> old;
    for (int pass = 0; pass < passes; ++pass) {
        old = y;
        for (std::size_t i = 1; i + 1 < n; ++i) {
            if (i < fixed.size() && fixed[i]) continue;
            const double span = x[i + 1] - x[i - 1];
            // Where the neighbours of this value coincide, their mean is the line.
            const double t = span > 0.0 ? std::clamp((x[i] - x[i - 1]) / span, 0.0, 1.0) : 0.5;
            const double line = old[i - 1] + (old[i + 1] - old[i - 1]) * t;
            y[i] = old[i] + weight * (line - old[i]);
        }
    }
}

std::vector<char> keptPoints(const WingModel& w, int k, int s, const SmoothStrength& strength) {
    std::vector<char> kept(std::size_t(std::max(w.npt, 0)), 0);
    if (strength.throughShocks || k < 0 || k >= w.nsec || (s != 0 && s != 1)) return kept;
    const std::vector<int> order = surfaceInChordOrder(w, k, s);
    std::vector<double> x, cp;
    for (int i : order) {
        x.push_back(w.X[i][k]);
        cp.push_back(w.cpDes[i][k]);
    }
    for (const Shock& shock : findShocks(x, cp, w.MACH, strength.shocks))
        for (int j = shock.first; j <= shock.last; ++j) kept[order[j]] = 1;
    // The suction peak: the lowest point of the interval, when it lies
    // below both its neighbours (a plateau has none).
    std::vector<int> interval;
    for (int i : intervalIndices(w, k, s))
        if (i >= 0 && i < w.npt) interval.push_back(i);
    std::size_t peak = 0;
    for (std::size_t j = 1; j < interval.size(); ++j)
        if (w.cpDes[interval[j]][k] < w.cpDes[interval[peak]][k]) peak = j;
    if (peak > 0 && peak + 1 < interval.size() && w.cpDes[interval[peak]][k] < w.cpDes[interval[peak - 1]][k] &&
        w.cpDes[interval[peak]][k] < w.cpDes[interval[peak + 1]][k])
        kept[interval[peak]] = 1;
    return kept;
}

bool canSmooth(const WingModel& w, int k, int s) {
    if (!usableSection(w, k) || !isSurface(s) || !inCpEdition(w, k, s)) return false;
    return intervalLast(w, k, s) - intervalFirst(w, k, s) >= 2;
}

Redraw smoothSurface(WingModel& w, int k, int s, EditingState& e, SmoothStrength strength) {
    if (!keepSectionOnSurfaces(w, k) || !canSmooth(w, k, s)) return {};
    const std::vector<int> indices = intervalIndices(w, k, s);
    std::vector<double> x, cp;
    for (int i : indices) {
        x.push_back(w.X[i][k]);
        cp.push_back(w.cpDes[i][k]);
    }
    const std::vector<char> kept = keptPoints(w, k, s, strength);
    std::vector<char> fixed;
    for (int i : indices) fixed.push_back(kept[i]);
    smoothValues(cp, x, strength, fixed);
    for (std::size_t j = 0; j < indices.size(); ++j) w.cpDes[indices[j]][k] = cp[j];
    if (w.splineOn[k][s] == 1) placeSurfaceSplinePoints(w, k, s);
    dropStaleSelection(w, k, s, e);
    Redraw r;
    r.plot = true;
    return r;
}

}  // namespace quarvel
