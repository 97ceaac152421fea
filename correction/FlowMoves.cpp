#include "correction/FlowMoves.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "correction/SurfaceSpline.h"
#include "flow/Aerodynamics.h"
#include "wing/Numbers.h"
#include "wing/SectionLift.h"
#include "wing/SectionSurface.h"

namespace quarvel {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNarrowestUntouched = 0.25;  // of the interval's chord

// y at x along the increasing positions xs, linear between them and held
// beyond the ends; 0 when there is none.
double interpolate(const std::vector<double>& xs, const std::vector<double>& ys, double x) {
    if (xs.empty()) return 0.0;
    if (x <= xs.front()) return ys.front();
    if (x >= xs.back()) return ys.back();
    const std::size_t j = std::upper_bound(xs.begin(), xs.end(), x) - xs.begin();
    const double dx = xs[j] - xs[j - 1];
    const double t = dx > 0.0 ? (x - xs[j - 1]) / dx : 1.0;
    return ys[j - 1] + (ys[j] - ys[j - 1]) * t;
}

// Flags (by contour index) of the points of every shock run of the design Cp
// of surface s of section k.
std::vector<char> shockRunPoints(const WingModel& w, int k, int s, const ShockRule& rule) {
    std::vector<char> run(std::size_t(std::max(w.npt, 0)), 0);
    const std::vector<int> order = surfaceInChordOrder(w, k, s);
    std::vector<double> x, cp;
    for (int i : order) {
        x.push_back(w.X[i][k]);
        cp.push_back(w.cpDes[i][k]);
    }
    for (const Shock& shock : findShocks(x, cp, w.MACH, rule))
        for (int j = shock.first; j <= shock.last; ++j) run[order[j]] = 1;
    return run;
}

// The rise of a compression over 0 .. 1: it starts with zero slope, turns
// straight after the first 30 % and ends at 1; its steepest slope is only
// 1.18 times the mean, so a compression stays short of a shock as long as
// it can.
double compressionShape(double t) {
    constexpr double bend = 0.3, slope = 1.0 / (1.0 - bend / 2);
    return t < bend ? slope * t * t / (2 * bend) : slope * (t - bend / 2);
}

// "+0.0012", "-0.0012", and "+0.0000" for a change that rounds to none.
std::string signedFixed(double v, int precision) {
    const std::string text = formatFixed(v, precision);
    if (text[0] != '-') return "+" + text;
    return text.find_first_not_of("-0.,") == std::string::npos ? "+" + text.substr(1) : text;
}

}  // namespace

ChordSpan intervalSpan(const WingModel& w, int k, int s) {
    const std::vector<int> indices = intervalIndices(w, k, s);
    if (indices.empty()) return {};
    return {w.X[indices.front()][k], w.X[indices.back()][k]};
}

std::optional<Shock> rearShockInInterval(const WingModel& w, int k, int s, CpSource source, const ShockRule& rule) {
    const ChordSpan span = intervalSpan(w, k, s);
    std::optional<Shock> rear;
    for (const Shock& shock : sectionShocks(w, k, s, source, rule))
        if (shock.x > span.first && shock.x < span.last) rear = shock;
    return rear;
}

double ChordMap::toSource(double x) const {
    if (from.size() < 2 || from.size() != to.size()) return x;
    return interpolate(to, from, x);
}

namespace {

// The shocks of surface s of section k strictly inside its interval.
std::vector<Shock> shocksInInterval(const WingModel& w, int k, int s, CpSource source, const ShockRule& rule) {
    const ChordSpan span = intervalSpan(w, k, s);
    std::vector<Shock> inside;
    for (const Shock& shock : sectionShocks(w, k, s, source, rule))
        if (shock.x > span.first && shock.x < span.last) inside.push_back(shock);
    return inside;
}

}  // namespace

ChordMap chordMap(const WingModel& w, int c, int k, int s, bool follow, const ShockRule& rule) {
    const ChordSpan source = intervalSpan(w, c, s), target = intervalSpan(w, k, s);
    ChordMap map;
    map.from = {source.first};
    map.to = {target.first};
    if (follow) {
        const std::vector<Shock> a = shocksInInterval(w, c, s, CpSource::Initial, rule);
        const std::vector<Shock> b = shocksInInterval(w, k, s, CpSource::Initial, rule);
        // Every shock onto its own when both have as many (a lambda onto a
        // lambda), else the rear-most onto the rear-most.
        // The first point of each shock's run goes onto the first point of
        // the other's, so what the source does just ahead of its shock lands
        // just ahead of the target's.
        const std::size_t n = a.size() == b.size() ? a.size() : std::min<std::size_t>(1, std::min(a.size(), b.size()));
        for (std::size_t j = 0; j < n; ++j) {
            const Shock& from = a[a.size() - n + j];
            const Shock& to = b[b.size() - n + j];
            const double fromFoot = w.X[from.first][c], toFoot = w.X[to.first][k];
            if (fromFoot > map.from.back() && toFoot > map.to.back() && fromFoot < from.x && toFoot < to.x) {
                map.from.push_back(fromFoot);
                map.to.push_back(toFoot);
            }
            map.from.push_back(from.x);
            map.to.push_back(to.x);
            map.shocks.push_back(from.x);
        }
    }
    map.from.push_back(source.last);
    map.to.push_back(target.last);
    return map;
}

double changeAt(const WingModel& w, int c, int s, double x, const ChordMap& map) {
    // The stretch between two shocks (or a shock and an interval end) that x
    // lies in; x on a shock counts as ahead of it.
    double lo = -std::numeric_limits<double>::infinity(), hi = std::numeric_limits<double>::infinity();
    for (double shock : map.shocks) {
        if (x < shock) {
            hi = shock;
            break;
        }
        lo = shock;
    }
    std::vector<double> xs, changes;
    for (int i : intervalIndices(w, c, s)) {
        const double xi = w.X[i][c];
        if (xi <= lo || xi > hi) continue;
        xs.push_back(xi);
        changes.push_back(w.cpDes[i][c] - w.cpInit[i][c]);
    }
    return interpolate(xs, changes, x);
}

LiftMoment liftMoment(const WingModel& w, const Grid<double>& cp, int k) {
    return {sectionLift(w, cp, k), sectionMoment(w, cp, k)};
}

bool restoreLift(WingModel& w, int k, int s, double cl, std::vector<char> anchors, const ShockRule& rule,
                 double narrowest) {
    if (k < 0 || k >= w.nsec || !isSurface(s) || !inCpEdition(w, k, s) || !std::isfinite(cl)) return false;
    const std::vector<int> indices = intervalIndices(w, k, s);
    if (indices.size() < 3) return false;
    anchors.resize(std::size_t(w.npt), 0);
    const std::vector<char> runs = shockRunPoints(w, k, s, rule);
    for (int i : indices) anchors[i] = anchors[i] || runs[i];
    anchors[indices.front()] = anchors[indices.back()] = 1;
    // The widest stretch between two anchored points with a free point in it.
    std::size_t bestFrom = 0, bestTo = 0, last = 0;
    double widest = 0.0;
    for (std::size_t j = 1; j < indices.size(); ++j) {
        if (!anchors[indices[j]]) continue;
        const double span = w.X[indices[j]][k] - w.X[indices[last]][k];
        if (j - last >= 2 && span > widest) {
            widest = span;
            bestFrom = last;
            bestTo = j;
        }
        last = j;
    }
    const double chord = std::fabs(w.X[indices.back()][k] - w.X[indices.front()][k]);
    if (!(widest > 0.0) || widest < narrowest * chord) return false;
    const double x0 = w.X[indices[bestFrom]][k];
    std::vector<double> bump;
    for (std::size_t j = bestFrom + 1; j < bestTo; ++j)
        bump.push_back(std::sin(kPi * std::clamp((w.X[indices[j]][k] - x0) / widest, 0.0, 1.0)));
    // The lift is linear in Cp: one trial gives the bump's height.
    const double now = designLift(w, k);
    for (std::size_t j = bestFrom + 1; j < bestTo; ++j) w.cpDes[indices[j]][k] += bump[j - bestFrom - 1];
    const double perUnit = designLift(w, k) - now;
    for (std::size_t j = bestFrom + 1; j < bestTo; ++j) w.cpDes[indices[j]][k] -= bump[j - bestFrom - 1];
    if (!(std::fabs(perUnit) > 1e-12)) return false;
    const double height = (cl - now) / perUnit;
    std::vector<double>& base = w.shapeBase[k][s];
    const bool shaped = w.shapeOn[k][s] == 1 && base.size() == std::size_t(w.npt);
    for (std::size_t j = bestFrom + 1; j < bestTo; ++j) {
        const double add = height * bump[j - bestFrom - 1];
        w.cpDes[indices[j]][k] += add;
        if (shaped) base[indices[j]] += add;
    }
    return true;
}

Redraw keepingLift(WingModel& w, const std::vector<int>& ks, bool keepLift, const ShockRule& rule,
                   const std::function<Redraw()>& operation) {
    std::vector<std::vector<double>> before;
    std::vector<LiftMoment> loads;
    for (int k : ks) {
        const bool valid = k >= 0 && k < w.nsec;
        before.emplace_back(valid ? w.cpDes.column(k) : nullptr, valid ? w.cpDes.column(k) + w.npt : nullptr);
        loads.push_back(valid ? liftMoment(w, w.cpDes, k) : LiftMoment{});
    }
    Redraw r = operation();
    bool changed = false;
    for (std::size_t n = 0; n < ks.size(); ++n) {
        const int k = ks[n];
        if (k < 0 || k >= w.nsec) continue;
        std::vector<char> touched(std::size_t(w.npt), 0);
        bool surfaceTouched[2] = {false, false};
        for (int i = 0; i < w.npt; ++i) {
            if (w.cpDes[i][k] == before[n][i]) continue;
            touched[i] = 1;
            surfaceTouched[i >= w.nhalf ? 0 : 1] = true;
        }
        if (!surfaceTouched[0] && !surfaceTouched[1]) continue;
        if (n == 0) changed = true;
        if (!keepLift || std::fabs(designLift(w, k) - loads[n].cl) < 1e-12) continue;
        for (int s = 0; s < 2; ++s) {
            if (!surfaceTouched[s] || !inCpEdition(w, k, s)) continue;
            if (restoreLift(w, k, s, loads[n].cl, touched, rule, kNarrowestUntouched) ||
                restoreLift(w, k, s, loads[n].cl, {}, rule))
                break;
        }
    }
    if (changed && !ks.empty()) {
        const LiftMoment after = liftMoment(w, w.cpDes, ks.front());
        const std::string change =
            "dcl=" + signedFixed(after.cl - loads.front().cl, 4) + " dcm=" + signedFixed(after.cm - loads.front().cm, 4);
        r.note = r.note.empty() ? change : r.note + "  " + change;
        r.planform = true;
    }
    return r;
}

Redraw weakenShock(WingModel& w, int k, int s, const WeakenShock& values, const ShockRule& rule, bool keepLift) {
    Redraw r;
    if (!keepSectionOnSurfaces(w, k) || !isSurface(s) || !inCpEdition(w, k, s)) {
        r.note = "Weaken shock: the surface is not in \"Cp edition\".";
        return r;
    }
    const std::optional<Shock> shock = rearShockInInterval(w, k, s, CpSource::Design, rule);
    if (!shock) {
        r.note = "Weaken shock: no shock inside the interval.";
        return r;
    }
    const double m1 = std::isfinite(values.m1) ? std::max(1.0, values.m1) : WeakenShock::kDefaultM1;
    const double width = std::isfinite(values.width) && values.width > 0.0 ? values.width : WeakenShock::kDefaultWidth;
    const double target = cpAtLocalMach(m1, w.MACH);
    const std::vector<int> order = surfaceInChordOrder(w, k, s);
    std::vector<double> x, cp;
    for (int i : order) {
        x.push_back(w.X[i][k]);
        cp.push_back(w.cpDes[i][k]);
    }
    const std::size_t first = std::find(order.begin(), order.end(), shock->first) - order.begin();
    const std::size_t last = std::find(order.begin(), order.end(), shock->last) - order.begin();
    if (last >= order.size() || first >= last) return r;
    if (!(cp[first] < target)) {
        r.note = "Weaken shock: M1 is " + formatFixed(shock->m1, 3) + " already.";
        return r;
    }
    const double clBefore = designLift(w, k);
    const ChordSpan span = intervalSpan(w, k, s);
    const double start = std::max(std::min(shock->x - width, x[first]), span.first);
    const double rise = target - cp[first];
    // The run keeps its shape, scaled to the smaller jump, so its steepest
    // segment (where the shock stands) stays the steepest.
    const double scale = cp[last] > cp[first] ? std::max(0.0, (cp[last] - target) / (cp[last] - cp[first])) : 0.0;
    std::vector<char> anchors(std::size_t(w.npt), 0);
    for (std::size_t j = 0; j < order.size(); ++j) {
        if (x[j] < start && j < first) continue;
        anchors[order[j]] = 1;
        if (j > last || !inInterval(w, k, s, order[j] + 1)) continue;
        if (j >= first) {
            w.cpDes[order[j]][k] = target + (cp[j] - cp[first]) * scale;
            continue;
        }
        // Ahead of the run the rise leaves the design Cp with zero slope at
        // the start and meets the run's new first Cp.
        const double t = x[first] > start ? std::clamp((x[j] - start) / (x[first] - start), 0.0, 1.0) : 1.0;
        w.cpDes[order[j]][k] = cp[j] + rise * compressionShape(t);
    }
    std::string note = "Shock at x " + formatFixed(shock->x, 3) + ": M1 " + formatFixed(shock->m1, 3) + " to " +
                       formatFixed(m1, 3);
    if (keepLift && !restoreLift(w, k, s, clBefore, anchors, rule)) note += "; no room ahead of it to keep the lift";
    const std::optional<Shock> now = rearShockInInterval(w, k, s, CpSource::Design, rule);
    if (now && (now->x != shock->x || now->m1 > m1 + 0.01))
        note += "; the compression is as steep as a shock: widen it";
    if (w.splineOn[k][s] == 1) placeSurfaceSplinePoints(w, k, s);
    r.note = note + ".";
    r.plot = true;
    r.planform = true;
    return r;
}

}  // namespace quarvel
