#include "correction/CorrectionPanel.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <initializer_list>

#include "correction/SurfaceSpline.h"

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

namespace {

bool isSurface(int s) { return s == 0 || s == 1; }

// Index of the current section, with its values in their limits; -1 when
// there is none to work on.
int current(WingModel& w) { return keepSectionInLimits(w) ? w.curSection - 1 : -1; }

// The surface being edited as the panel shows it: anything but 0 is lower.
int activeOf(const WingModel& w, int k) { return w.activeSurface[k] == 0 ? 0 : 1; }

int shown(const WingModel& w, int point) { return shownPoint(w, point); }

// Checks or unchecks the regime radios of surface s by its mode. While
// restoring, a surface in "Cp edition" also gets its "Spline interp." check
// back (and its count in "Nspl=" when it is the surface being edited).
void setModeRadios(WingModel& w, PanelWidgets& p, int k, int s, bool restoring) {
    const int mode = w.surfMode[k][s];
    if (mode < MODE_NONE || mode > MODE_MAX_THICKNESS) return;
    if (mode >= MODE_GEOM) p.surface[s].checked = true;
    p.noCorrection[s].checked = mode == MODE_NONE;
    p.cpCorrection[s].checked = mode == MODE_CP_EDITION || mode == MODE_CP_INTERP;
    if (restoring && mode == MODE_CP_EDITION && w.splineOn[k][s] == 1) {
        p.spline[s].checked = true;
        if (activeOf(w, k) == s) p.nspl.setValue(w.nspl[k][s]);
    }
    p.geomInterpolation[s].checked = mode == MODE_GEOM;
    p.thickness[s].checked = mode == MODE_THICKNESS;
    p.maxThickness[s].checked = mode == MODE_MAX_THICKNESS;
    if (mode <= MODE_CP_INTERP) {
        p.cpInterpolation[s].checked = mode == MODE_CP_INTERP;
        p.cpEdition[s].checked = mode == MODE_CP_EDITION;
    }
}

void showSplineCountOf(const WingModel& w, PanelWidgets& p, int s) {
    if (auto n = showSplineCount(w, s)) p.nspl.setValue(*n);
}

// showUpperPoint and showLowerPoint.
void showSurfacePoint(WingModel& w, PanelWidgets& p, int s) {
    const int k = current(w);
    if (k < 0) return;
    const int a = activeOf(w, k);
    p.surface[0].checked = a == 0;
    p.surface[1].checked = a != 0;
    const int point = selectedPoint(w, k, s);
    const int i = point - 1;
    const int mode = w.surfMode[k][s];
    if (mode == MODE_NONE) {
        p.spline[s].checked = w.splineOn[k][s] == 1;
    } else {
        p.intervalStart[s].setValue(shown(w, intervalFirst(w, k, s)));
        p.intervalEnd[s].setValue(shown(w, intervalLast(w, k, s)));
        p.point.setRange(shown(w, intervalFirst(w, k, s)), shown(w, intervalLast(w, k, s)));
        p.point.setValue(shown(w, point));
        p.currentPointCp = w.cpDes[i][k];
        p.currentPointX = w.X[i];
        p.cpd.setRange(p.currentPointCp - 0.5, p.currentPointCp + 0.5);
        p.cpd.setValue(p.currentPointCp);
        if (mode == MODE_CP_EDITION)
            p.cpEdition[s].checked = true;
        else
            p.cpInterpolation[s].checked = true;
    }
    // "Cpt=" shows the input Cp, "Cpd=" the design Cp.
    p.currentPointCp = w.cpInit[i][k];
    p.currentPointX = w.X[i];
}

template <typename T>
bool fits(const std::vector<T>& v, std::size_t n) {
    return v.size() >= n;
}

}  // namespace

bool keepSectionInLimits(WingModel& w) {
    if (w.nsec <= 0 || w.curSection < 1 || w.curSection > w.nsec) return false;
    if (w.nhalf < 1 || w.npt < 2 * w.nhalf || w.X.size() != std::size_t(w.npt)) return false;
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

    const int k = w.curSection - 1;
    auto keepInterval = [](int& first, int& last, int lo, int hi, int& point) {
        first = std::clamp(first, lo, hi);
        last = std::clamp(last, lo, hi);
        if (first > last) std::swap(first, last);
        point = std::clamp(point, first, last);
    };
    keepInterval(w.u1[k], w.u2[k], w.u1Min, w.u2Max, w.upperPoint[k]);
    keepInterval(w.l1[k], w.l2[k], w.l1Min, w.l2Max, w.lowerPoint[k]);
    for (int& count : w.nspl[k]) count = std::clamp(count, WingModel::nsplMin, WingModel::nsplMax);
    return true;
}

void setRegimeRadiosEnabled(PanelWidgets& p, int s, bool enabled) {
    if (!isSurface(s)) return;
    for (Toggle* t : {&p.noCorrection[s], &p.cpCorrection[s], &p.geomInterpolation[s], &p.thickness[s],
                      &p.maxThickness[s]})
        t->enabled = enabled;
}

int pointFromShown(const WingModel& w, int shownValue, int lo, int hi) {
    const std::int64_t point = std::int64_t(shownValue) - w.ioff;
    return int(std::clamp<std::int64_t>(point, lo, hi));
}

void showSurfaceModes(WingModel& w, PanelWidgets& p, int s) {
    const int k = current(w);
    if (k < 0 || !isSurface(s)) return;
    const bool corrected = w.secCorrection[k] == 2;
    p.secYes.checked = corrected;
    p.secNo.checked = !corrected;
    const bool upper = w.activeSurface[k] == 0;
    p.surface[0].checked = upper;
    p.surface[1].checked = !upper;
    setModeRadios(w, p, k, s, false);
}

void restoreSurfaceModes(WingModel& w, PanelWidgets& p, int s) {
    const int k = current(w);
    if (k < 0 || !isSurface(s)) return;
    setModeRadios(w, p, k, s, true);
    setIntervalSpinners(w, p, s);
}

void enableSurfaceControls(WingModel& w, PanelWidgets& p, int s) {
    const int k = current(w);
    if (k < 0 || !isSurface(s)) return;
    const int mode = w.surfMode[k][s];
    const bool edition = mode == MODE_CP_EDITION;
    const bool cpCorrection = edition || mode == MODE_CP_INTERP;
    p.cpEdition[s].enabled = cpCorrection;
    if (edition || !cpCorrection) p.spline[s].enabled = edition;
    p.cpInterpolation[s].enabled = cpCorrection;
    p.intervalStart[s].enabled = cpCorrection;
    p.intervalEnd[s].enabled = cpCorrection;
    p.point.enabled = edition;
    p.cpd.enabled = edition;
    p.nspl.enabled = edition;
}

void disableSurfaceControls(WingModel& w, PanelWidgets& p, int s) {
    const int k = current(w);
    if (k < 0 || !isSurface(s)) return;
    for (bool* e : {&p.spline[s].enabled, &p.cpEdition[s].enabled, &p.cpInterpolation[s].enabled,
                    &p.intervalStart[s].enabled, &p.intervalEnd[s].enabled})
        *e = false;
    // The point editors are shared: they stay while the other surface can
    // still use them.
    if (w.surfMode[k][0] == MODE_CP_EDITION && w.surfMode[k][1] == MODE_CP_EDITION) return;
    p.point.enabled = false;
    p.cpd.enabled = false;
    p.nspl.enabled = false;
    p.currentPointXEnabled = false;
}

void setIntervalSpinners(WingModel& w, PanelWidgets& p, int s) {
    const int k = current(w);
    if (k < 0 || !isSurface(s)) return;
    const int first = intervalFirst(w, k, s);
    const int last = intervalLast(w, k, s);
    p.intervalStart[s].setRange(shown(w, intervalLowerLimit(w, s)), shown(w, last));
    p.intervalStart[s].setValue(shown(w, first));
    p.intervalEnd[s].setRange(shown(w, first), shown(w, intervalUpperLimit(w, s)));
    p.intervalEnd[s].setValue(shown(w, last));
}

void setPointSpinner(WingModel& w, PanelWidgets& p, int s) {
    const int k = current(w);
    if (k < 0 || !isSurface(s)) return;
    const int first = shown(w, intervalFirst(w, k, s));
    const int last = shown(w, intervalLast(w, k, s));
    p.intervalStart[s].setValue(first);
    p.intervalEnd[s].setValue(last);
    p.point.setRange(first, last);
    p.point.setValue(shown(w, selectedPoint(w, k, s)));
}

void showUpperPoint(WingModel& w, PanelWidgets& p) { showSurfacePoint(w, p, 0); }
void showLowerPoint(WingModel& w, PanelWidgets& p) { showSurfacePoint(w, p, 1); }

void openSectionCorrection(WingModel& w, PanelWidgets& p) {
    const int k = current(w);
    if (k < 0) return;
    p.surface[0].enabled = true;
    p.surface[1].enabled = true;
    // Nothing else enables the section radios of a corrected section, and
    // every section is corrected after a load.
    p.secYes.enabled = true;
    p.secNo.enabled = true;

    const int a = activeOf(w, k);
    const int other = 1 - a;
    p.spline[a].enabled = true;
    p.spline[other].enabled = false;
    enableSurfaceControls(w, p, a);
    disableSurfaceControls(w, p, other);
    showSurfacePoint(w, p, a);
    showSplineCountOf(w, p, a);
    p.surface[a].checked = true;
    p.surface[other].checked = false;

    w.RU[k] = 1;
    w.RL[k] = -1;
    p.noCorrection[0].enabled = false;
    p.noCorrection[1].enabled = false;
}

void closeSectionCorrection(WingModel& w, PanelWidgets& p) {
    const int k = current(w);
    if (k < 0) return;
    for (int s = 0; s < 2; ++s) {
        for (bool* e : {&p.spline[s].enabled, &p.intervalStart[s].enabled, &p.intervalEnd[s].enabled,
                        &p.noCorrection[s].enabled, &p.cpCorrection[s].enabled, &p.cpInterpolation[s].enabled,
                        &p.cpEdition[s].enabled, &p.surface[s].enabled, &p.geomInterpolation[s].enabled,
                        &p.thickness[s].enabled, &p.maxThickness[s].enabled})
            *e = false;
        disableSurfaceControls(w, p, s);
    }
    p.point.enabled = false;
    p.cpd.enabled = false;
    p.nspl.enabled = false;
    p.secYes.enabled = true;
    p.secNo.enabled = true;

    w.secCorrection[k] = 1;
    w.surfMode[k] = {MODE_NONE, MODE_NONE};
    w.RU[k] = 0;
    w.RL[k] = 0;
}

void refreshCorrectionPanel(WingModel& w, PanelWidgets& p) {
    const int k = current(w);
    if (k < 0) return;
    showSurfaceModes(w, p, 0);
    showSurfaceModes(w, p, 1);
    setIntervalSpinners(w, p, 0);
    setIntervalSpinners(w, p, 1);
    const int a = activeOf(w, k);
    setPointSpinner(w, p, a);
    if (w.secCorrection[k] == 2) {
        p.secYes.checked = true;
        p.secNo.checked = false;
        openSectionCorrection(w, p);
        enableSurfaceControls(w, p, a);
        disableSurfaceControls(w, p, 1 - a);
        p.surface[a].checked = true;
        showSplineCountOf(w, p, a);
        // The active surface's regimes must be choosable: clicking its
        // selector, already checked, sends no command that would enable
        // them. "No correction" stays as entering the section left it.
        setRegimeRadiosEnabled(p, a, true);
        setRegimeRadiosEnabled(p, 1 - a, false);
        p.noCorrection[a].enabled = false;
    } else {
        p.secNo.checked = true;
        p.secYes.checked = false;
        closeSectionCorrection(w, p);
    }
}

Redraw chooseSectionCorrection(WingModel& w, PanelWidgets& p, bool corrected) {
    const int k = current(w);
    if (k < 0) return {};
    Redraw redraw;
    if (corrected) {
        w.secCorrection[k] = 2;
        p.secYes.checked = true;
        p.secNo.checked = false;
        openSectionCorrection(w, p);
        p.surface[0].enabled = true;
        p.surface[1].enabled = true;
        restoreSurfaceModes(w, p, 0);
        restoreSurfaceModes(w, p, 1);
        const int a = activeOf(w, k);
        setRegimeRadiosEnabled(p, a, true);
        setRegimeRadiosEnabled(p, 1 - a, false);
    } else {
        w.secCorrection[k] = 1;
        p.secYes.checked = false;
        p.secNo.checked = true;
        closeSectionCorrection(w, p);
        // Both regimes went to "No correction"; the planform shows regimes.
        redraw.planform = true;
    }
    return redraw;
}

Redraw chooseRegime(WingModel& w, PanelWidgets& p, int s, RegimeRadio radio) {
    const int k = current(w);
    if (k < 0 || !isSurface(s)) return {};
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
    if (mode != MODE_NONE) w.secCorrection[k] = 2;
    if (radio == RegimeRadio::CpCorrection) setPointSpinner(w, p, s);
    enableSurfaceControls(w, p, s);
    showSurfaceModes(w, p, s);
    Redraw redraw;
    redraw.planform = true;
    return redraw;
}

Redraw chooseCpOption(WingModel& w, PanelWidgets& p, int s, CpOption option) {
    const int k = current(w);
    if (k < 0 || !isSurface(s)) return {};
    const bool edition = option == CpOption::Edition;
    w.surfMode[k][s] = edition ? MODE_CP_EDITION : MODE_CP_INTERP;
    p.cpEdition[s].checked = edition;
    p.cpInterpolation[s].checked = !edition;
    p.spline[s].enabled = edition;
    p.point.enabled = edition;
    p.cpd.enabled = edition;
    Redraw redraw;
    redraw.planform = true;
    return redraw;
}

void resetOutsideInterval(WingModel& w, int s) {
    const int k = current(w);
    if (k < 0 || !isSurface(s)) return;
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
