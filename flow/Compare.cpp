#include "flow/Compare.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "flow/Shocks.h"
#include "wing/Numbers.h"
#include "wing/SectionSurface.h"

namespace quarvel {

namespace {

// Chord positions this close are one station: a CpOutput keeps X to four
// decimals, so the X of the same point may differ by half the last of them.
constexpr double kSameStation = 0.5e-4 + 1e-12;

bool inEdition(const WingModel& w, int k, int s) {
    return inCpEdition(w, k, s);
}

// The target's Cp at x: the value of a station within kSameStation of it,
// else linear between the stations around it, the end values beyond them.
double targetAt(const std::vector<double>& xs, const std::vector<double>& cps, double x) {
    const std::size_t n = xs.size();
    std::size_t nearest = 0;
    for (std::size_t j = 1; j < n; ++j)
        if (std::fabs(xs[j] - x) < std::fabs(xs[nearest] - x)) nearest = j;
    if (std::fabs(xs[nearest] - x) <= kSameStation) return cps[nearest];
    if (x <= xs.front()) return cps.front();
    if (x >= xs.back()) return cps.back();
    const std::size_t j = std::size_t(std::upper_bound(xs.begin(), xs.end(), x) - xs.begin());
    const double xa = xs[j - 1], xb = xs[j];
    return xb > xa ? cps[j - 1] + (cps[j] - cps[j - 1]) * (x - xa) / (xb - xa) : cps[j];
}

}  // namespace

const SectionComparison* WingComparison::ofSection(int k) const {
    for (const SectionComparison& c : sections)
        if (c.k == k) return &c;
    return nullptr;
}

SurfaceComparison compareSurface(const WingModel& w, int k, const WingModel& target, int o, int s) {
    SurfaceComparison c;
    c.surface = s;
    const int first = s == 0 ? target.u1[o] : target.l1[o], last = s == 0 ? target.u2[o] : target.l2[o];
    for (int i : surfaceInChordOrder(target, o, s)) {
        if (i < first - 1 || i > last - 1) continue;
        c.targetX.push_back(target.X[i][o]);
        c.targetCp.push_back(target.cpDes[i][o]);
    }
    if (c.targetX.empty()) return c;
    const double lo = c.targetX.front() - kSameStation, hi = c.targetX.back() + kSameStation;
    double sumSquares = 0.0;
    for (int i : surfaceInChordOrder(w, k, s)) {
        const double x = w.X[i][k];
        if (!(lo <= x && x <= hi)) continue;
        const double r = w.cpInit[i][k] - targetAt(c.targetX, c.targetCp, x);
        c.points.push_back(i);
        c.x.push_back(x);
        c.residual.push_back(r);
        sumSquares += r * r;
        if (c.points.size() == 1 || std::fabs(r) > c.maxAbs) {
            c.maxAbs = std::fabs(r);
            c.xAtMax = x;
        }
    }
    if (!c.points.empty()) c.rms = std::sqrt(sumSquares / double(c.points.size()));
    return c;
}

WingComparison compareWithTarget(const WingModel& w, const WingModel& target) {
    WingComparison result;
    for (int o = 0; o < target.nsec; ++o) {
        if (!inEdition(target, o, 0) && !inEdition(target, o, 1)) continue;
        const long long number = (long long)target.KTE1 + o;
        const long long k = number - w.KTE1;
        if (k < 0 || k >= w.nsec) {
            result.missing.push_back(int(number));
            continue;
        }
        SectionComparison section;
        section.number = int(number);
        section.k = int(k);
        section.target = o;
        for (int s = 0; s < 2; ++s)
            if (inEdition(target, o, s)) section.surfaces.push_back(compareSurface(w, int(k), target, o, s));
        result.sections.push_back(std::move(section));
    }
    return result;
}

std::string formatComparisonCsv(const WingModel& w, const WingComparison& comparison) {
    std::string csv = "section,z,surface,points,rms,max_abs,x_at_max\n";
    for (const SectionComparison& section : comparison.sections)
        for (const SurfaceComparison& c : section.surfaces) {
            csv += std::to_string(section.number) + ',' + formatShortest(w.Z[section.k]) + ',';
            csv += c.surface == 0 ? "upper," : "lower,";
            csv += std::to_string(c.count());
            if (c.count() > 0)
                csv += ',' + formatShortest(c.rms) + ',' + formatShortest(c.maxAbs) + ',' + formatShortest(c.xAtMax);
            else
                csv += ",,,";
            csv += '\n';
        }
    return csv;
}

std::string missingTargetNote(const WingComparison& comparison, const std::string& targetPath,
                              const std::string& wingPath) {
    const std::vector<int>& m = comparison.missing;
    if (m.empty()) return {};
    std::string text = (m.size() == 1 ? "Section " : "Sections ") + numberRuns(m);
    auto name = [](const std::string& path) { return path.substr(path.find_last_of('/') + 1); };
    text += " of " + name(targetPath) + (m.size() == 1 ? " is not in " : " are not in ") + name(wingPath);
    text += " and not compared.";
    return text;
}

ResidualSpan residualAlongSpan(const WingModel& w, const WingComparison& comparison) {
    ResidualSpan span;
    const double none = std::numeric_limits<double>::quiet_NaN();
    for (int k = 0; k < w.nsec; ++k) {
        span.z.push_back(w.Z[k]);
        span.rmsUpper.push_back(none);
        span.rmsLower.push_back(none);
    }
    for (const SectionComparison& section : comparison.sections)
        for (const SurfaceComparison& c : section.surfaces)
            if (c.count() > 0) (c.surface == 0 ? span.rmsUpper : span.rmsLower)[section.k] = c.rms;
    return span;
}

std::string residualSummary(const SectionComparison* comparison) {
    if (!comparison || comparison->surfaces.empty()) return "No target for this section";
    std::string text;
    for (const SurfaceComparison& c : comparison->surfaces) {
        text += text.empty() ? "Target " : "    ";
        text += c.surface == 0 ? "upper: " : "lower: ";
        if (c.count() == 0) {
            text += "no point compared";
            continue;
        }
        text += "RMS " + formatFixed(c.rms, 4) + ", max " + formatFixed(c.maxAbs, 4) + " at X = " +
                formatFixed(c.xAtMax, 4);
    }
    return text;
}

}  // namespace quarvel
