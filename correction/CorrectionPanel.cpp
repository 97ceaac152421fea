#include "correction/CorrectionPanel.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "wing/CpOutputFields.h"
#include "wing/Numbers.h"

namespace quarvel {

void Spinner::setRange(int from, int to) {
    lo = from;
    hi = to;
    setValue(value);
}

void Spinner::setValue(int v) { value = std::max(lo, std::min(hi, v)); }

void RealSpinner::setRange(double from, double to) {
    lo = from;
    hi = to;
    setValue(value);
}

void RealSpinner::setValue(double v) { value = std::max(lo, std::min(hi, v)); }

bool PanelWidgets::operator==(const PanelWidgets& o) const {
    for (int s = 0; s < 2; ++s)
        if (!(surface[s] == o.surface[s] && noCorrection[s] == o.noCorrection[s] &&
              cpCorrection[s] == o.cpCorrection[s] && geomInterpolation[s] == o.geomInterpolation[s] &&
              thickness[s] == o.thickness[s] && maxThickness[s] == o.maxThickness[s] &&
              cpEdition[s] == o.cpEdition[s] && cpInterpolation[s] == o.cpInterpolation[s] &&
              spline[s] == o.spline[s] && shape[s] == o.shape[s] && intervalFirst[s] == o.intervalFirst[s] &&
              intervalLast[s] == o.intervalLast[s]))
            return false;
    return secYes == o.secYes && secNo == o.secNo && point == o.point && nspl == o.nspl && cpd == o.cpd &&
           currentPointXEnabled == o.currentPointXEnabled && currentPointCp == o.currentPointCp &&
           currentPointX == o.currentPointX && cpdDelta == o.cpdDelta;
}

namespace {

// Section k with its values on their surfaces, or -1 when it cannot be
// worked on.
int ready(WingModel& w, int k) { return keepSectionOnSurfaces(w, k) ? k : -1; }

template <typename T>
bool fits(const std::vector<T>& v, std::size_t n) {
    return v.size() >= n;
}

// The widgets of surface s: regimes, sub-options, spline check, interval.
void surfaceWidgets(const WingModel& w, int k, int s, PanelWidgets& p) {
    const bool corrected = isCorrected(w, k);
    const int mode = w.surfMode[k][s];
    const bool cpCorrection = hasInterval(mode);
    p.noCorrection[s] = {mode == MODE_NONE, corrected};
    p.cpCorrection[s] = {cpCorrection, corrected};
    p.geomInterpolation[s] = {mode == MODE_GEOM, corrected};
    p.thickness[s] = {mode == MODE_THICKNESS, corrected};
    p.maxThickness[s] = {mode == MODE_MAX_THICKNESS, corrected};
    p.cpEdition[s] = {mode == MODE_CP_EDITION, corrected && cpCorrection};
    p.cpInterpolation[s] = {mode == MODE_CP_INTERP, corrected && cpCorrection};
    p.spline[s] = {w.splineOn[k][s] == 1, inCpEdition(w, k, s)};
    p.shape[s] = {w.shapeOn[k][s] == 1, inCpEdition(w, k, s) && w.splineOn[k][s] == 1};

    const int first = shownPoint(w, intervalFirst(w, k, s));
    const int last = shownPoint(w, intervalLast(w, k, s));
    // The ranges reach the editing limits, and the interval itself where a
    // file gave it wider, so that the spinners show it as it is.
    p.intervalFirst[s].setRange(std::min(first, shownPoint(w, intervalLowerLimit(w, s))), last);
    p.intervalFirst[s].setValue(first);
    p.intervalLast[s].setRange(first, std::max(last, shownPoint(w, intervalUpperLimit(w, s))));
    p.intervalLast[s].setValue(last);
    p.intervalFirst[s].enabled = p.intervalLast[s].enabled = corrected && cpCorrection;
}

}  // namespace

bool usableSection(const WingModel& w, int k) {
    if (w.nsec <= 0 || k < 0 || k >= w.nsec) return false;
    if (w.nhalf < 1 || w.npt < 2 * w.nhalf || w.X.rows() != w.npt) return false;
    // Every shown point number must fit an int.
    if (std::int64_t(w.ioff) + w.npt > INT_MAX || std::int64_t(w.ioff) < INT_MIN + 1) return false;
    for (const Grid<double>* g : {&w.cpInit, &w.cpDes})
        if (g->rows() != w.npt || g->cols() != w.nsec) return false;
    for (const Grid<SurfaceValues>* g : {&w.splX, &w.splY})
        if (g->rows() != WingModel::nsplMax || g->cols() != w.nsec) return false;
    const auto n = std::size_t(w.nsec);
    for (const std::vector<int>* v : {&w.RU, &w.RL, &w.u1, &w.u2, &w.l1, &w.l2, &w.upperPoint, &w.lowerPoint,
                                      &w.secCorrection, &w.activeSurface})
        if (!fits(*v, n)) return false;
    if (!fits(w.surfMode, n) || !fits(w.splineOn, n) || !fits(w.nspl, n) || !fits(w.shapeOn, n) ||
        !fits(w.shapeBase, n))
        return false;
    // The spline reaches one point beyond each end of an interval, and that
    // point must lie on the same surface.
    if (w.l1Min < 2 || w.l1Min > w.l2Max || w.l2Max > w.nhalf - 1) return false;
    if (w.u1Min < w.nhalf + 2 || w.u1Min > w.u2Max || w.u2Max > 2 * w.nhalf - 1) return false;
    return true;
}

bool keepSectionOnSurfaces(WingModel& w, int k) {
    if (!usableSection(w, k)) return false;
    auto keepInterval = [](int& first, int& last, int lo, int hi, int& point) {
        first = std::clamp(first, lo, hi);
        last = std::clamp(last, lo, hi);
        if (first > last) std::swap(first, last);
        point = std::clamp(point, first, last);
    };
    keepInterval(w.u1[k], w.u2[k], firstPointOf(w, 0), lastPointOf(w, 0), w.upperPoint[k]);
    keepInterval(w.l1[k], w.l2[k], firstPointOf(w, 1), lastPointOf(w, 1), w.lowerPoint[k]);
    for (int& count : w.nspl[k]) count = std::clamp(count, WingModel::nsplMin, WingModel::nsplMax);
    return true;
}

std::string narrowIntoLimits(WingModel& w, int k, int s) {
    int& first = intervalFirst(w, k, s);
    int& last = intervalLast(w, k, s);
    const int lo = intervalLowerLimit(w, s), hi = intervalUpperLimit(w, s);
    if (lo <= first && last <= hi) return {};
    const int from = first, to = last;
    first = std::clamp(first, lo, hi);
    last = std::clamp(last, first, hi);
    int& point = selectedPoint(w, k, s);
    point = std::clamp(point, first, last);
    return std::string(s == 0 ? "Upper" : "Lower") + " interval " + std::to_string(shownPoint(w, from)) + ".." +
           std::to_string(shownPoint(w, to)) + " narrowed to " + std::to_string(shownPoint(w, first)) + ".." +
           std::to_string(shownPoint(w, last)) + ": the spline needs a point beyond each end on the same surface.";
}

PanelWidgets panelOf(const WingModel& w, int k) {
    PanelWidgets p;
    if (!usableSection(w, k)) return p;
    const int a = activeSurfaceOf(w, k);
    const bool corrected = isCorrected(w, k);
    p.secYes = {corrected, true};
    p.secNo = {!corrected, true};
    for (int s = 0; s < 2; ++s) {
        p.surface[s] = {a == s, corrected};
        surfaceWidgets(w, k, s, p);
    }

    // The shared editors follow the surface being edited: "I=" and "Cpd="
    // edit its selected point, "Nspl=" its spline; one or the other.
    const bool edition = inCpEdition(w, k, a);
    const bool spline = w.splineOn[k][a] == 1;
    p.point.setRange(shownPoint(w, intervalFirst(w, k, a)), shownPoint(w, intervalLast(w, k, a)));
    p.point.setValue(shownPoint(w, selectedPoint(w, k, a)));
    p.point.enabled = edition && !spline;
    p.nspl.setValue(w.nspl[k][a]);
    p.nspl.enabled = edition && spline;

    // The point the spinner shows (a stored point outside the interval is
    // shown as the spinner clamps it).
    const int i = std::clamp(p.point.value - w.ioff, 1, w.npt) - 1;
    const double design = std::isfinite(w.cpDes[i][k]) ? w.cpDes[i][k] : 0.0;
    // Wide, and wider still where a curve took the design Cp past it.
    p.cpd.setRange(std::min(-kCpdRange, design), std::max(kCpdRange, design));
    p.cpd.setValue(design);
    p.cpd.enabled = p.point.enabled;
    p.currentPointCp = w.cpInit[i][k];
    p.currentPointX = w.X[i][k];
    p.cpdDelta = design - w.cpInit[i][k];
    p.currentPointXEnabled = edition;
    return p;
}

int pointFromShown(const WingModel& w, int shownValue, int lo, int hi) {
    const std::int64_t point = std::int64_t(shownValue) - w.ioff;
    return int(std::clamp<std::int64_t>(point, lo, hi));
}

Redraw chooseSectionCorrection(WingModel& w, int k, bool corrected) {
    if (ready(w, k) < 0) return {};
    w.secCorrection[k] = corrected ? SECTION_CORRECTED : SECTION_NOT_CORRECTED;
    // A section that is not corrected is written with both codes 0; a
    // corrected one gets its codes from its regimes when it is saved.
    if (corrected) {
        w.RU[k] = codeOfMode(w.surfMode[k][0]);
        w.RL[k] = codeOfMode(w.surfMode[k][1]);
    } else {
        w.RU[k] = 0;
        w.RL[k] = 0;
    }
    Redraw redraw;
    redraw.plot = true;
    redraw.planform = true;
    return redraw;
}

Redraw chooseRegime(WingModel& w, int k, int s, RegimeRadio radio) {
    if (ready(w, k) < 0 || !isSurface(s)) return {};
    int mode = MODE_NONE;
    switch (radio) {
    case RegimeRadio::NoCorrection: mode = MODE_NONE; break;
    case RegimeRadio::CpCorrection: mode = MODE_CP_INTERP; break;
    case RegimeRadio::GeomInterpolation: mode = MODE_GEOM; break;
    case RegimeRadio::SaveThickness: mode = MODE_THICKNESS; break;
    case RegimeRadio::SaveMaxThickness: mode = MODE_MAX_THICKNESS; break;
    }
    w.surfMode[k][s] = mode;
    (s == 0 ? w.RU : w.RL)[k] = codeOfMode(mode);
    if (mode != MODE_NONE) w.secCorrection[k] = SECTION_CORRECTED;
    w.activeSurface[k] = s;
    Redraw redraw;
    redraw.plot = true;
    redraw.planform = true;
    return redraw;
}

Redraw chooseCpOption(WingModel& w, int k, int s, CpOption option) {
    if (ready(w, k) < 0 || !isSurface(s)) return {};
    w.surfMode[k][s] = option == CpOption::Edition ? MODE_CP_EDITION : MODE_CP_INTERP;
    w.activeSurface[k] = s;
    Redraw redraw;
    redraw.plot = true;
    redraw.planform = true;
    return redraw;
}

Redraw setFlowValue(WingModel& w, FlowValue which, double value) {
    const OutputField& field = which == FlowValue::Mach ? cpoutput::MACH : cpoutput::ALPHA;
    Redraw r;
    if (!std::isfinite(value) || !fitsOutputField(field, value)) {
        r.note = std::string(which == FlowValue::Mach ? "Mach" : "Alpha") + " = " + formatShortest(value) +
                 " does not fit the " + std::to_string(field.room) + " columns the CpOutput file gives it; not set.";
        return r;
    }
    if (which == FlowValue::Mach && !(value > 0.0)) {
        r.note = "Mach = " + formatShortest(value) + " is not above 0; not set.";
        return r;
    }
    (which == FlowValue::Mach ? w.MACH : w.ALPHA) = value;
    r.plot = true;
    r.planform = true;
    return r;
}

void resetOutsideInterval(WingModel& w, int k, int s) {
    if (ready(w, k) < 0 || !isSurface(s)) return;
    // Points first..last, 1-based and inclusive; an empty stretch copies nothing.
    auto restore = [&](int first, int last) {
        for (int point = std::max(first, 1); point <= std::min(last, w.npt); ++point)
            w.cpDes[point - 1][k] = w.cpInit[point - 1][k];
    };
    if (s == 0) {
        restore(w.nhalf + 1, w.u1[k]);
        restore(w.u2[k], w.npt);
    } else {
        restore(1, w.l1[k]);
        restore(w.l2[k], w.nhalf);
    }
}

}  // namespace quarvel
