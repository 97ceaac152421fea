#include "correction/SpanTools.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "correction/FlowMoves.h"
#include "correction/SurfaceSpline.h"
#include "wing/SectionSurface.h"

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

double blendWeight(const WingModel& w, const Blend& blend, int k, int current, int first, int last) {
    const double weight = std::isfinite(blend.weight) ? blend.weight : 0.0;
    if (!blend.fade || k == current) return weight;
    if (k < std::min(first, last) || k > std::max(first, last)) return 0.0;
    const int end = k > current ? std::max(first, last) : std::min(first, last);
    const double reach = std::fabs(w.Z[end] - w.Z[current]);
    const double distance = std::fabs(w.Z[k] - w.Z[current]);
    if (!(reach > 0.0) || !(distance < reach)) return 0.0;
    return weight * (1.0 - distance / reach);
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

namespace {

// "sections 1, 5" or "section 1".
std::string sectionList(const WingModel& w, const std::vector<int>& ks) {
    std::string text = ks.size() == 1 ? "section " : "sections ";
    for (std::size_t j = 0; j < ks.size(); ++j) text += (j ? ", " : "") + std::to_string(w.KTE1 + ks[j]);
    return text;
}

}  // namespace

Redraw applyToSections(WingModel& w, int c, int firstNumber, int lastNumber, const Blend& blend,
                       const ShockRule& rule) {
    if (!keepSectionOnSurfaces(w, c)) return {};
    const std::vector<int> ks = sectionsBetween(w, firstNumber, lastNumber);
    if (ks.empty()) return {};
    std::vector<int> plain[2];
    for (int k : ks) {
        if (k == c) continue;
        const double weight = blendWeight(w, blend, k, c, ks.front(), ks.back());
        if (weight == 0.0) continue;
        takeSetUp(w, k, w.secCorrection[c], w.surfMode[c], {w.RU[c], w.RL[c]}, w.u1[c], w.u2[c], w.l1[c], w.l2[c]);
        for (int i = 0; i < w.npt; ++i) w.cpDes[i][k] = w.cpInit[i][k];
        for (int s = 0; s < 2; ++s) {
            if (!inCpEdition(w, k, s)) continue;
            const ChordMap map = chordMap(w, c, k, s, blend.follow, rule);
            if (blend.follow && !map.followsShock() && rearShockInInterval(w, c, s, CpSource::Initial, rule))
                plain[s].push_back(k);
            for (int i : intervalIndices(w, k, s))
                w.cpDes[i][k] = w.cpInit[i][k] + weight * changeAt(w, c, s, map.toSource(w.X[i][k]), map);
        }
    }
    Redraw r = everything();
    for (int s = 0; s < 2; ++s)
        if (!plain[s].empty())
            r.note += std::string(r.note.empty() ? "" : " ") + "No shock to follow on the " +
                      (s == 0 ? "upper" : "lower") + " surface of " + sectionList(w, plain[s]) +
                      ": the change kept its chord position there.";
    return r;
}

namespace {

// Where a chord position lies on surface s of a section, as a number the
// same for every section of a range: the knots (the interval's ends and, in
// between, the suction peak and the first and last point of each shock's
// run) are 0, 1, 2, ... and positions between them go linearly.
struct SpanCoordinates {
    std::vector<double> knots;
    std::vector<double> at;  // each interval point's coordinate
    std::vector<double> cp;  // and its design Cp
    std::vector<char> kept;  // and whether smoothing keeps it

    double of(double x) const {
        for (std::size_t j = 0; j + 1 < knots.size(); ++j) {
            if (x > knots[j + 1] && j + 2 < knots.size()) continue;
            const double span = knots[j + 1] - knots[j];
            return double(j) + (span > 0.0 ? std::clamp((x - knots[j]) / span, 0.0, 1.0) : 0.0);
        }
        return 0.0;
    }
    // The design Cp at coordinate u, from the points between the same two
    // knots only; fixed tells whether the points around it are kept.
    double cpAt(double u, bool& fixed) const {
        const double lo = std::floor(std::min(u, double(knots.size()) - 2.0)), hi = lo + 1.0;
        std::vector<double> us, cps;
        std::vector<char> ks;
        for (std::size_t j = 0; j < at.size(); ++j) {
            if (at[j] < lo || at[j] > hi) continue;
            us.push_back(at[j]);
            cps.push_back(cp[j]);
            ks.push_back(kept[j]);
        }
        fixed = false;
        if (us.empty()) return 0.0;
        const std::size_t j = std::upper_bound(us.begin(), us.end(), u) - us.begin();
        if (j == 0 || j == us.size()) {
            const std::size_t end = j == 0 ? 0 : us.size() - 1;
            fixed = ks[end];
            return cps[end];
        }
        fixed = ks[j - 1] && ks[j];
        const double du = us[j] - us[j - 1];
        const double t = du > 0.0 ? (u - us[j - 1]) / du : 1.0;
        return cps[j - 1] + (cps[j] - cps[j - 1]) * t;
    }
};

// The knots of surface s of the sections ks, the same count for each: the
// interval's ends; with follow, the first and last point of every shock's
// run inside the interval when all have as many shocks, else of the
// rear-most one when all have one; and the suction peak (the lowest design
// Cp of the interval ahead of the first of those runs) when it lies inside
// in every section. without gets the sections that had no shock to follow.
struct SpanKnots {
    std::vector<std::vector<double>> knots;
    std::vector<std::vector<double>> shockX;  // each followed shock's position, per section
    std::size_t firstRun = 1;                 // the knot of the first followed run's first point
};

SpanKnots spanKnots(const WingModel& w, const std::vector<int>& ks, int s, bool follow, const ShockRule& rule,
                    std::vector<int>& without) {
    std::vector<std::vector<Shock>> shocks;
    std::size_t fewest = std::size_t(-1), most = 0;
    for (int k : ks) {
        std::vector<Shock> inside;
        const ChordSpan span = intervalSpan(w, k, s);
        for (const Shock& shock : sectionShocks(w, k, s, CpSource::Design, rule))
            if (shock.x > span.first && shock.x < span.last) inside.push_back(shock);
        if (inside.empty()) without.push_back(k);
        fewest = std::min(fewest, inside.size());
        most = std::max(most, inside.size());
        shocks.push_back(inside);
    }
    const std::size_t followed = !follow ? 0 : fewest == most ? fewest : std::min<std::size_t>(fewest, 1);
    SpanKnots result;
    std::vector<std::vector<double>>& knots = result.knots;
    knots.resize(ks.size());
    result.shockX.resize(ks.size());
    bool peaks = true;
    std::vector<double> peak(ks.size());
    for (std::size_t j = 0; j < ks.size(); ++j) {
        const int k = ks[j];
        const ChordSpan span = intervalSpan(w, k, s);
        knots[j].push_back(span.first);
        for (std::size_t n = shocks[j].size() - followed; n < shocks[j].size(); ++n) {
            knots[j].push_back(w.X[shocks[j][n].first][k]);
            knots[j].push_back(w.X[shocks[j][n].last][k]);
            result.shockX[j].push_back(shocks[j][n].x);
        }
        knots[j].push_back(span.last);
        const double ahead = knots[j][1];
        int lowest = -1;
        for (int i : intervalIndices(w, k, s))
            if (w.X[i][k] < ahead && (lowest < 0 || w.cpDes[i][k] < w.cpDes[lowest][k])) lowest = i;
        peak[j] = lowest >= 0 ? w.X[lowest][k] : span.first;
        peaks = peaks && peak[j] > span.first && peak[j] < ahead;
    }
    for (std::size_t j = 0; j < ks.size(); ++j) {
        if (peaks) knots[j].insert(knots[j].begin() + 1, peak[j]);
        // Runs that touch keep the knots in order.
        for (std::size_t n = 1; n < knots[j].size(); ++n) knots[j][n] = std::max(knots[j][n], knots[j][n - 1]);
    }
    result.firstRun = peaks ? 2 : 1;
    return result;
}

// Moves the followed shocks of the sections along the span onto a smoothed
// line: each shock's position is smoothed across the sections in their span
// positions z (the first and last section, and those not movable, fixed),
// and its run moves whole onto the section's points nearest the smoothed
// position, so its jump still falls between points (x: each section's
// interval points by chord position, where every knot lies). The run never
// reaches past the knots around it.
void smoothShockLine(SpanKnots& span, const std::vector<std::vector<double>>& x, const std::vector<double>& z,
                     const std::vector<char>& fixed, const SmoothStrength& strength) {
    const std::size_t shocks = span.shockX.empty() ? 0 : span.shockX.front().size();
    for (std::size_t n = 0; n < shocks; ++n) {
        std::vector<double> line;
        for (const std::vector<double>& shockX : span.shockX) line.push_back(shockX[n]);
        smoothValues(line, z, strength, fixed);
        for (std::size_t j = 0; j < line.size(); ++j) {
            std::vector<double>& knots = span.knots[j];
            const std::vector<double>& xs = x[j];
            const auto point = [&](double at) {
                return long(std::lower_bound(xs.begin(), xs.end(), at) - xs.begin());
            };
            const std::size_t a = span.firstRun + 2 * n, b = a + 1;
            const long before = point(knots[a - 1]), first = point(knots[a]), last = point(knots[b]),
                       after = point(knots[b + 1]), size = long(xs.size());
            if (first >= size || last >= size || after >= size) continue;
            // Where the shock would be with its run from point m: at the
            // same share of the run as now.
            const double share =
                xs[last] > xs[first] ? (span.shockX[j][n] - xs[first]) / (xs[last] - xs[first]) : 0.0;
            const auto shockFrom = [&](long m) { return xs[m] + share * (xs[m + last - first] - xs[m]); };
            const long lo = before + std::min(1L, first - before);
            const long hi = after - std::min(1L, after - last) - (last - first);
            long moved = first;
            for (long m = lo; m <= hi; ++m)
                if (std::fabs(shockFrom(m) - line[j]) < std::fabs(shockFrom(moved) - line[j])) moved = m;
            span.shockX[j][n] = shockFrom(moved);
            knots[a] = xs[moved];
            knots[b] = xs[moved + last - first];
        }
    }
}

}  // namespace

Redraw smoothAlongSpan(WingModel& w, int s, int firstNumber, int lastNumber, SmoothStrength strength, bool follow) {
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

    // Each section's coordinates, along its shocks.
    std::vector<int> without;
    SpanKnots span = spanKnots(w, ks, s, follow, strength.shocks, without);
    std::vector<SpanCoordinates> sections(ks.size());
    std::vector<std::vector<int>> points(ks.size());
    for (std::size_t j = 0; j < ks.size(); ++j) {
        SpanCoordinates& section = sections[j];
        section.knots = span.knots[j];
        const std::vector<char> kept = keptPoints(w, ks[j], s, strength);
        points[j] = intervalIndices(w, ks[j], s);
        for (int i : points[j]) {
            section.at.push_back(section.of(w.X[i][ks[j]]));
            section.cp.push_back(w.cpDes[i][ks[j]]);
            section.kept.push_back(kept[i]);
        }
    }

    std::vector<double> cp(ks.size());
    std::vector<char> fixed(ks.size());
    std::vector<std::vector<double>> smoothed(ks.size());
    for (std::size_t j = 1; j + 1 < ks.size(); ++j) {
        smoothed[j] = sections[j].cp;
        if (!inCpEdition(w, ks[j], s)) continue;
        for (std::size_t p = 0; p < points[j].size(); ++p) {
            if (sections[j].kept[p]) continue;
            for (std::size_t m = 0; m < ks.size(); ++m) {
                bool keptThere = false;
                cp[m] = m == j ? sections[j].cp[p] : sections[m].cpAt(sections[j].at[p], keptThere);
                fixed[m] = m != j && (keptThere || !inCpEdition(w, ks[m], s));
            }
            smoothValues(cp, z, strength, fixed);
            smoothed[j][p] = cp[j];
        }
    }
    // Unless smoothing through them, the shocks themselves move onto a
    // smoothed line along the span; each section's smoothed Cp is then read
    // at its points in the coordinates of its moved shocks, so the jump
    // moves whole.
    std::vector<char> still(ks.size());
    for (std::size_t j = 0; j < ks.size(); ++j) still[j] = !inCpEdition(w, ks[j], s);
    if (!strength.throughShocks) {
        std::vector<std::vector<double>> chord(ks.size());
        for (std::size_t j = 0; j < ks.size(); ++j)
            for (int i : points[j]) chord[j].push_back(w.X[i][ks[j]]);
        smoothShockLine(span, chord, z, still, strength);
    }
    for (std::size_t j = 1; j + 1 < ks.size(); ++j) {
        if (still[j]) continue;
        SpanCoordinates moved = sections[j];
        moved.knots = span.knots[j];
        moved.cp = smoothed[j];
        const bool shifted = moved.knots != sections[j].knots;
        for (std::size_t p = 0; p < points[j].size(); ++p) {
            bool fixedThere = false;
            w.cpDes[points[j][p]][ks[j]] =
                shifted ? moved.cpAt(moved.of(w.X[points[j][p]][ks[j]]), fixedThere) : smoothed[j][p];
        }
    }
    for (std::size_t j = 1; j + 1 < ks.size(); ++j)
        if (w.splineOn[ks[j]][s] == 1) placeSurfaceSplinePoints(w, ks[j], s);
    Redraw r = everything();
    if (follow && !without.empty() && without.size() < ks.size())
        r.note = "No shock to follow in " + sectionList(w, without) + ": smoothed along the chord positions.";
    return r;
}

}  // namespace quarvel
