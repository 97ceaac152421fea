#include "correction/SpanTools.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "correction/SurfaceSpline.h"

namespace quarvel {

namespace {

Redraw everything() {
    Redraw r;
    r.plot = true;
    r.planform = true;
    return r;
}


}  // namespace

std::vector<int> sectionsBetween(const WingModel& w, int firstNumber, int lastNumber) {
    std::vector<int> ks;
    if (w.nsec <= 0) return ks;
    const long long a = std::clamp<long long>(std::min(firstNumber, lastNumber) - (long long)w.KTE1, 0, w.nsec - 1);
    const long long b = std::clamp<long long>(std::max(firstNumber, lastNumber) - (long long)w.KTE1, 0, w.nsec - 1);
    for (long long k = a; k <= b; ++k) ks.push_back(int(k));
    return ks;
}

double blendWeight(const Blend& blend, int k, int current, int first, int last) {
    const double weight = std::isfinite(blend.weight) ? blend.weight : 0.0;
    if (!blend.fade || k == current) return weight;
    const int end = k > current ? last : first;
    const int reach = std::abs(end - current);
    const int distance = std::abs(k - current);
    if (reach == 0 || distance >= reach || (k - current) * (end - current) < 0) return 0.0;
    return weight * (1.0 - double(distance) / double(reach));
}

void takeSetUp(WingModel& w, int k, int secCorrection, SurfacePair modes, SurfacePair codes, int u1, int u2, int l1,
               int l2) {
    if (w.nhalf < 1) return;
    w.secCorrection[k] = secCorrection;
    w.surfMode[k] = modes;
    w.RU[k] = codes[0];
    w.RL[k] = codes[1];
    w.u1[k] = std::clamp(std::min(u1, u2), firstPointOf(w, 0), lastPointOf(w, 0));
    w.u2[k] = std::clamp(std::max(u1, u2), firstPointOf(w, 0), lastPointOf(w, 0));
    w.l1[k] = std::clamp(std::min(l1, l2), firstPointOf(w, 1), lastPointOf(w, 1));
    w.l2[k] = std::clamp(std::max(l1, l2), firstPointOf(w, 1), lastPointOf(w, 1));
    // Every regime's interval is written by its numbers.
    w.outIU1[k] = w.ioff + w.u1[k];
    w.outIU2[k] = w.ioff + w.u2[k];
    w.outIL1[k] = w.ioff + w.l1[k];
    w.outIL2[k] = w.ioff + w.l2[k];
    w.upperPoint[k] = std::clamp(w.upperPoint[k], w.u1[k], w.u2[k]);
    w.lowerPoint[k] = std::clamp(w.lowerPoint[k], w.l1[k], w.l2[k]);
    w.splineOn[k] = {0, 0};
    w.shapeOn[k] = {0, 0};
    w.shapeBase[k] = {};
}

Redraw applyToSections(WingModel& w, int c, int firstNumber, int lastNumber, const Blend& blend) {
    if (!keepSectionOnSurfaces(w, c)) return {};
    const std::vector<int> ks = sectionsBetween(w, firstNumber, lastNumber);
    if (ks.empty()) return {};
    for (int k : ks) {
        if (k == c) continue;
        const double weight = blendWeight(blend, k, c, ks.front(), ks.back());
        takeSetUp(w, k, w.secCorrection[c], w.surfMode[c], {w.RU[c], w.RL[c]}, w.u1[c], w.u2[c], w.l1[c], w.l2[c]);
        for (int i = 0; i < w.npt; ++i) w.cpDes[i][k] = w.cpInit[i][k];
        for (int s = 0; s < 2; ++s) {
            if (!inCpEdition(w, k, s)) continue;
            for (int i : intervalIndices(w, k, s))
                w.cpDes[i][k] = w.cpInit[i][k] + weight * (w.cpDes[i][c] - w.cpInit[i][c]);
        }
    }
    return everything();
}

Redraw smoothAlongSpan(WingModel& w, int s, int firstNumber, int lastNumber, SmoothStrength strength) {
    if (!isSurface(s)) return {};
    const std::vector<int> ks = sectionsBetween(w, firstNumber, lastNumber);
    if (ks.size() < 3) return {};
    // Span positions when they increase (or decrease) strictly, else the
    // section order alone.
    std::vector<double> z;
    bool up = true, down = true;
    for (std::size_t j = 0; j < ks.size(); ++j) {
        z.push_back(w.Z[ks[j]]);
        if (j > 0) {
            up = up && z[j] > z[j - 1];
            down = down && z[j] < z[j - 1];
        }
    }
    for (std::size_t j = 0; j < ks.size(); ++j)
        z[j] = up ? z[j] : down ? -z[j] : double(j);

    const int from = s == 0 ? w.nhalf : 0;
    const int to = s == 0 ? 2 * w.nhalf : w.nhalf;
    std::vector<std::vector<char>> kept;
    for (int k : ks) kept.push_back(keptPoints(w, k, s, strength));
    std::vector<double> cp(ks.size());
    std::vector<char> fixed(ks.size());
    for (int i = from; i < to; ++i) {
        bool any = false;
        for (std::size_t j = 0; j < ks.size(); ++j) {
            const int k = ks[j];
            cp[j] = w.cpDes[i][k];
            fixed[j] = !(inCpEdition(w, k, s) && inInterval(w, k, s, i + 1)) || kept[j][i];
            any = any || !fixed[j];
        }
        if (!any) continue;
        smoothValues(cp, z, strength, fixed);
        for (std::size_t j = 1; j + 1 < ks.size(); ++j) w.cpDes[i][ks[j]] = cp[j];
    }
    for (std::size_t j = 1; j + 1 < ks.size(); ++j)
        if (w.splineOn[ks[j]][s] == 1) placeSurfaceSplinePoints(w, ks[j], s);
    return everything();
}

}  // namespace quarvel
