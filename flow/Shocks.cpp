#include "flow/Shocks.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <string>

#include "flow/Aerodynamics.h"
#include "wing/Numbers.h"

namespace quarvel {

namespace {

// Room for the rounding of values that meet a limit exactly on paper
// (0.3 / 0.1 is just under 3).
constexpr double kRounding = 1e-9;

// Slope of the segment from point i to i + 1; a segment of zero length is
// infinitely steep when Cp rises along it, and flat otherwise.
double slopeAt(const double* x, const double* cp, std::size_t i) {
    const double dx = x[i + 1] - x[i];
    const double dcp = cp[i + 1] - cp[i];
    if (dx > 0.0) return dcp / dx;
    return dcp > 0.0 ? std::numeric_limits<double>::infinity() : 0.0;
}

}  // namespace

std::vector<Shock> findShocks(const double* x, const double* cp, std::size_t n, double mach, const ShockRule& rule) {
    std::vector<Shock> shocks;
    const double cpStar = sonicCp(mach);
    std::size_t i = 0;
    while (i + 1 < n) {
        if (!(slopeAt(x, cp, i) >= rule.slope - kRounding)) {
            ++i;
            continue;
        }
        // The steep run from point i to point j, and its steepest segment.
        std::size_t j = i, steepest = i;
        while (j + 1 < n && slopeAt(x, cp, j) >= rule.slope - kRounding) {
            if (slopeAt(x, cp, j) > slopeAt(x, cp, steepest)) steepest = j;
            ++j;
        }
        const double jump = cp[j] - cp[i];
        if (cp[i] < cpStar && jump >= rule.jump - kRounding) {
            Shock s;
            s.x = (x[steepest] + x[steepest + 1]) / 2;
            s.cpBefore = cp[i];
            s.cpAfter = cp[j];
            s.jump = jump;
            s.m1 = localMach(cp[i], mach);
            s.first = int(i);
            s.last = int(j);
            shocks.push_back(s);
        }
        i = j;
    }
    return shocks;
}

std::vector<int> surfaceInChordOrder(const WingModel& w, int k, int s) {
    std::vector<int> indices(w.nhalf);
    if (s == 0)
        std::iota(indices.begin(), indices.end(), w.nhalf);
    else
        for (int j = 0; j < w.nhalf; ++j) indices[j] = w.nhalf - 1 - j;
    std::stable_sort(indices.begin(), indices.end(), [&](int a, int b) { return w.X[a][k] < w.X[b][k]; });
    return indices;
}

std::vector<Shock> sectionShocks(const WingModel& w, int k, int s, CpSource source, const ShockRule& rule) {
    if (k < 0 || k >= w.nsec || (s != 0 && s != 1)) return {};
    const Grid<double>& grid = source == CpSource::Design ? w.cpDes : w.cpInit;
    const std::vector<int> indices = surfaceInChordOrder(w, k, s);
    std::vector<double> x, cp;
    for (int i : indices) {
        x.push_back(w.X[i][k]);
        cp.push_back(grid[i][k]);
    }
    std::vector<Shock> shocks = findShocks(x, cp, w.MACH, rule);
    for (Shock& shock : shocks) {
        shock.first = indices[shock.first];
        shock.last = indices[shock.last];
    }
    return shocks;
}

std::string formatShocksCsv(const WingModel& w, const ShockRule& rule) {
    std::string csv = "section,z,surface,source,x,cp_before,cp_after,jump,m1\n";
    for (int k = 0; k < w.nsec; ++k)
        for (int s = 0; s < 2; ++s)
            for (CpSource source : {CpSource::Initial, CpSource::Design})
                for (const Shock& shock : sectionShocks(w, k, s, source, rule)) {
                    csv += std::to_string(w.KTE1 + k) + ',' + formatShortest(w.Z[k]) + ',';
                    csv += s == 0 ? "upper," : "lower,";
                    csv += source == CpSource::Initial ? "initial," : "design,";
                    csv += formatShortest(shock.x) + ',' + formatShortest(shock.cpBefore) + ',' +
                           formatShortest(shock.cpAfter) + ',' + formatShortest(shock.jump) + ',' +
                           formatShortest(shock.m1) + '\n';
                }
    return csv;
}

}  // namespace quarvel
