#include "correction/Editing.h"

#include <cmath>

#include "correction/SurfaceSpline.h"
#include "wing/CpFiles.h"

namespace quarvel {

namespace {

bool isSurface(int s) { return s == 0 || s == 1; }

int current(WingModel& w) { return keepSectionInLimits(w) ? w.curSection - 1 : -1; }

Redraw plotRedraw() {
    Redraw r;
    r.plot = true;
    return r;
}

void showSplineCountOf(const WingModel& w, PanelWidgets& p, int s) {
    if (auto n = showSplineCount(w, s)) p.nspl.setValue(*n);
}

bool usable(const PlotTransform& t) {
    return std::isfinite(t.plotOriginX) && std::isfinite(t.plotOriginCp) && std::isfinite(t.plotScaleX) &&
           std::isfinite(t.plotScaleCp) && t.plotScaleX != 0.0 && t.plotScaleCp != 0.0;
}

}  // namespace

void dropStaleSelection(const WingModel& w, EditingState& e) {
    const int j = e.selectedControlPoint;
    const int k = w.curSection - 1;
    bool keep = j >= 1 && k >= 0 && k < w.nsec && std::size_t(k) < w.activeSurface.size() &&
                std::size_t(k) < w.nspl.size() && e.selectionSection == k;
    if (keep) {
        const int s = w.activeSurface[k];
        keep = isSurface(s) && e.selectionSurface == s && j <= w.nspl[k][s] - 2;
    }
    if (!keep) e.selectedControlPoint = -1;
}

Redraw chooseSection(WingModel& w, PanelWidgets& p, EditingState& e, int section) {
    if (w.nsec <= 0) return {};
    w.curSection = section < 1 ? 1 : section > w.nsec ? w.nsec : section;
    dropStaleSelection(w, e);
    if (!keepSectionInLimits(w)) return {};
    refreshCorrectionPanel(w, p);
    return plotRedraw();
}

Redraw chooseSurface(WingModel& w, PanelWidgets& p, EditingState& e, int s) {
    const int k = current(w);
    if (k < 0 || !isSurface(s)) return {};
    const int other = 1 - s;
    p.surface[other].checked = false;
    p.surface[s].checked = true;
    setPointSpinner(w, p, s);
    w.activeSurface[k] = s;
    setRegimeRadiosEnabled(p, s, true);
    setRegimeRadiosEnabled(p, other, false);
    disableSurfaceControls(w, p, other);
    enableSurfaceControls(w, p, s);
    dropStaleSelection(w, e);
    return plotRedraw();
}

Redraw switchSpline(WingModel& w, PanelWidgets& p, EditingState& e, bool checked) {
    const int k = current(w);
    if (k < 0) return {};
    const int s = w.activeSurface[k];
    if (!isSurface(s)) return plotRedraw();
    p.spline[s].checked = checked;
    if (checked) {
        w.splineOn[k][s] = 1;
        p.nspl.enabled = true;
        p.point.enabled = false;
        p.cpd.enabled = false;
        placeSurfaceSplinePoints(w, s);
    } else {
        w.splineOn[k][s] = 0;
        w.shapeOn[k][s] = 0;
        w.shapeBase[k][s].clear();
        p.nspl.enabled = false;
        p.point.enabled = true;
        p.cpd.enabled = true;
    }
    showSplineCountOf(w, p, s);
    applySurfaceSpline(w);
    dropStaleSelection(w, e);
    return plotRedraw();
}

Redraw switchShapeChange(WingModel& w, EditingState& e, bool checked) {
    const int k = current(w);
    if (k < 0) return {};
    const int s = w.activeSurface[k];
    if (!isSurface(s)) return {};
    if (w.splineOn[k][s] != 1) checked = false;
    if ((w.shapeOn[k][s] == 1) == checked) return plotRedraw();
    w.shapeOn[k][s] = checked ? 1 : 0;
    if (!checked) w.shapeBase[k][s].clear();
    // Only the control points move: the curve stays as it is.
    placeSurfaceSplinePoints(w, s);
    dropStaleSelection(w, e);
    return plotRedraw();
}

Redraw setIntervalEnd(WingModel& w, PanelWidgets& p, EditingState& e, IntervalEnd which, int shownValue) {
    const int k = current(w);
    if (k < 0) return {};
    const int s = which == IntervalEnd::U1 || which == IntervalEnd::U2 ? 0 : 1;
    w.activeSurface[k] = s;
    int& first = intervalFirst(w, k, s);
    int& last = intervalLast(w, k, s);
    int& point = selectedPoint(w, k, s);
    const int lowest = intervalLowerLimit(w, s);
    const int highest = intervalUpperLimit(w, s);
    if (which == IntervalEnd::U1 || which == IntervalEnd::L1) {
        // The start moves between its limit and the end, never past it.
        first = pointFromShown(w, shownValue, lowest, last);
        if (point < first) point = first;
        p.intervalStart[s].setRange(shownPoint(w, lowest), shownPoint(w, last));
        p.intervalStart[s].setValue(shownPoint(w, first));
        p.intervalEnd[s].setRange(shownPoint(w, first), shownPoint(w, highest));
    } else {
        last = pointFromShown(w, shownValue, first, highest);
        if (point > last) point = last;
        p.intervalEnd[s].setRange(shownPoint(w, first), shownPoint(w, highest));
        p.intervalEnd[s].setValue(shownPoint(w, last));
        p.intervalStart[s].setRange(shownPoint(w, lowest), shownPoint(w, last));
    }
    p.point.setRange(shownPoint(w, first), shownPoint(w, last));
    p.point.setValue(shownPoint(w, point));
    resetOutsideInterval(w, s);
    if (w.splineOn[k][s] == 1) {
        initSurfaceSpline(w, s);
        showSplineCountOf(w, p, s);
    }
    dropStaleSelection(w, e);
    return plotRedraw();
}

Redraw setSplineCount(WingModel& w, PanelWidgets& p, EditingState& e, int value) {
    const int k = current(w);
    if (k < 0) return {};
    const int s = w.activeSurface[k];
    if (!isSurface(s)) return plotRedraw();
    const int count = value < WingModel::nsplMin ? WingModel::nsplMin
                      : value > WingModel::nsplMax ? WingModel::nsplMax
                                                   : value;
    w.nspl[k][s] = count;
    p.nspl.setValue(count);
    if (w.splineOn[k][s] == 1) {
        placeSurfaceSplinePoints(w, s);
        applySurfaceSpline(w);
    }
    dropStaleSelection(w, e);
    return plotRedraw();
}

Redraw choosePoint(WingModel& w, PanelWidgets& p, int shownValue) {
    const int k = current(w);
    if (k < 0) return {};
    const int s = w.activeSurface[k];
    if (!isSurface(s)) return plotRedraw();
    const int point = pointFromShown(w, shownValue, intervalFirst(w, k, s), intervalLast(w, k, s));
    // Only a surface in "Cp edition" has a point to edit; otherwise "I="
    // just shows the point.
    if (w.surfMode[k][s] == MODE_CP_EDITION) selectedPoint(w, k, s) = point;
    p.point.setValue(shownPoint(w, point));
    p.currentPointCp = w.cpInit[point - 1][k];
    p.currentPointX = w.X[point - 1];
    p.cpd.setRange(p.currentPointCp - 0.5, p.currentPointCp + 0.5);
    p.cpd.setValue(p.currentPointCp);
    return plotRedraw();
}

Redraw setPointCp(WingModel& w, PanelWidgets& p, double value) {
    const int k = current(w);
    if (k < 0) return {};
    const int s = w.activeSurface[k];
    if (!isSurface(s) || !std::isfinite(value)) return {};
    // The spinner keeps its values inside its range; so does a value sent
    // from elsewhere.
    p.cpd.setValue(value);
    w.cpDes[selectedPoint(w, k, s) - 1][k] = p.cpd.value;
    return plotRedraw();
}

Redraw revertSection(WingModel& w, EditingState& e) {
    const int k = current(w);
    if (k < 0) return {};
    restoreDesignCpAsRead(w, k);
    for (int s = 0; s < 2; ++s)
        if (w.splineOn[k][s] == 1) placeSurfaceSplinePoints(w, s);
    dropStaleSelection(w, e);
    return plotRedraw();
}

Redraw moveMouse(WingModel& w, const PlotTransform& t, EditingState& e, double px, double py) {
    const int k = current(w);
    if (k < 0 || !usable(t) || !std::isfinite(px) || !std::isfinite(py)) return {};
    const double x = t.xAt(px);
    const double cp = t.cpAt(py);
    if (!std::isfinite(x) || !std::isfinite(cp)) return {};
    e.mousePlotX = x;
    e.mousePlotCp = cp;

    dropStaleSelection(w, e);
    const int s = w.activeSurface[k];
    if (e.draggingControlPoint != 1 || !isSurface(s) || w.splineOn[k][s] != 1) return {};
    const int j = e.selectedControlPoint;
    if (j < 0) return {};

    double& pointX = w.splX[j][k][s];
    const double lo = w.splX[j - 1][k][s] + minControlPointGap;
    const double hi = w.splX[j + 1][k][s] - minControlPointGap;
    if (lo > hi) {
        // Neighbours closer than two gaps: the point keeps its chord position.
    } else if (lo > x) {
        pointX = lo;
    } else {
        pointX = x > hi ? hi : x;
    }
    w.splY[j][k][s] = cp;
    applySurfaceSpline(w);
    return plotRedraw();
}

Redraw pressMouse(WingModel& w, EditingState& e, int width, int height) {
    const int k = current(w);
    if (k < 0) return {};
    e.draggingControlPoint = 1;
    dropStaleSelection(w, e);
    const int s = w.activeSurface[k];
    if (!isSurface(s) || w.splineOn[k][s] != 1 || w.nspl[k][s] < 3) return {};
    if (width <= 0 || height <= 0) return {};
    const double cpTolerance = controlPointPickTolerance * double(width) / double(height);
    // The end points are fixed; the lowest index within reach wins.
    for (int j = 1; j <= w.nspl[k][s] - 2; ++j) {
        if (std::fabs(e.mousePlotX - w.splX[j][k][s]) < controlPointPickTolerance &&
            std::fabs(e.mousePlotCp - w.splY[j][k][s]) < cpTolerance) {
            e.selectedControlPoint = j;
            e.selectionSection = k;
            e.selectionSurface = s;
            Redraw r;
            r.controlPoints = true;
            return r;
        }
    }
    return {};
}

Redraw releaseMouse(EditingState& e) {
    if (e.draggingControlPoint == 1) e.draggingControlPoint = 0;
    return {};
}

}  // namespace quarvel
