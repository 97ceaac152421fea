#include "correction/Editing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "correction/SurfaceSpline.h"
#include "wing/CpFiles.h"
#include "wing/CpOutputFields.h"
#include "wing/Numbers.h"

namespace quarvel {

namespace {

// Surface s of section k with its values on their surfaces, or false when
// they cannot be worked on.
bool ready(WingModel& w, int k, int s) { return isSurface(s) && keepSectionOnSurfaces(w, k); }

Redraw plotRedraw() {
    Redraw r;
    r.plot = true;
    return r;
}

// Control point j of surface s to (x, cp), its chord position kept at least
// minControlPointGap from its neighbours (where they leave room for it).
void moveControlPoint(WingModel& w, int k, int s, int j, double x, double cp) {
    double& pointX = w.splX[j][k][s];
    const double lo = w.splX[j - 1][k][s] + minControlPointGap;
    const double hi = w.splX[j + 1][k][s] - minControlPointGap;
    if (lo <= hi) pointX = std::clamp(x, lo, hi);
    w.splY[j][k][s] = cp;
}

bool usable(const PlotTransform& t) {
    return std::isfinite(t.plotOriginX) && std::isfinite(t.plotOriginCp) && std::isfinite(t.plotScaleX) &&
           std::isfinite(t.plotScaleCp) && t.plotScaleX != 0.0 && t.plotScaleCp != 0.0;
}

}  // namespace

void dropStaleSelection(const WingModel& w, int k, int s, EditingState& e) {
    const int j = e.selectedControlPoint;
    const bool keep = j >= 1 && k >= 0 && k < w.nsec && std::size_t(k) < w.nspl.size() && isSurface(s) &&
                      e.selectionSection == k && e.selectionSurface == s && j <= w.nspl[k][s] - 2;
    if (!keep) e.selectedControlPoint = -1;
}

Redraw chooseSection(WingModel& w, EditingState& e, int section) {
    if (w.nsec <= 0) return {};
    w.curSection = section < 1 ? 1 : section > w.nsec ? w.nsec : section;
    const int k = w.curSection - 1;
    if (!keepSectionOnSurfaces(w, k)) return {};
    dropStaleSelection(w, k, activeSurfaceOf(w, k), e);
    return plotRedraw();
}

Redraw chooseSurface(WingModel& w, int k, int s, EditingState& e) {
    if (!ready(w, k, s)) return {};
    w.activeSurface[k] = s;
    dropStaleSelection(w, k, s, e);
    return plotRedraw();
}

Redraw switchSpline(WingModel& w, int k, int s, EditingState& e, bool checked) {
    if (!ready(w, k, s)) return {};
    w.splineOn[k][s] = checked ? 1 : 0;
    Redraw r = plotRedraw();
    if (checked) {
        r.note = narrowIntoLimits(w, k, s);
        if (!r.note.empty()) resetOutsideInterval(w, k, s);
        placeSurfaceSplinePoints(w, k, s);
    } else {
        w.shapeOn[k][s] = 0;
        w.shapeBase[k][s].clear();
    }
    dropStaleSelection(w, k, s, e);
    return r;
}

Redraw switchShapeChange(WingModel& w, int k, int s, EditingState& e, bool checked) {
    if (!ready(w, k, s)) return {};
    if (w.splineOn[k][s] != 1) checked = false;
    if ((w.shapeOn[k][s] == 1) == checked) return plotRedraw();
    w.shapeOn[k][s] = checked ? 1 : 0;
    if (!checked) w.shapeBase[k][s].clear();
    // Only the control points move: the curve stays as it is.
    placeSurfaceSplinePoints(w, k, s);
    dropStaleSelection(w, k, s, e);
    return plotRedraw();
}

Redraw setIntervalEnd(WingModel& w, int k, EditingState& e, IntervalEnd which, int shownValue) {
    const int s = which == IntervalEnd::U1 || which == IntervalEnd::U2 ? 0 : 1;
    if (!ready(w, k, s)) return {};
    w.activeSurface[k] = s;
    int& first = intervalFirst(w, k, s);
    int& last = intervalLast(w, k, s);
    int& point = selectedPoint(w, k, s);
    const bool start = which == IntervalEnd::U1 || which == IntervalEnd::L1;
    const int lo = intervalLowerLimit(w, s), hi = intervalUpperLimit(w, s);
    if (start) {
        // The start moves between its limit and the end, never past it.
        first = pointFromShown(w, shownValue, lo, std::max(lo, last));
        last = std::max(last, first);
    } else {
        last = pointFromShown(w, shownValue, std::min(first, hi), hi);
        first = std::min(first, last);
    }
    point = std::clamp(point, first, last);
    Redraw r = plotRedraw();
    const std::int64_t asked = std::int64_t(shownValue) - w.ioff;
    if (asked < lo || asked > hi) {
        static const char* const names[] = {"U1", "U2", "L1", "L2"};
        r.note = std::string(names[int(which)]) + " = " + std::to_string(shownValue) +
                 " lies beyond the points an edit may reach (" + std::to_string(shownPoint(w, lo)) + ".." +
                 std::to_string(shownPoint(w, hi)) + "); set to " + std::to_string(shownPoint(w, start ? first : last)) +
                 ".";
    }
    resetOutsideInterval(w, k, s);
    if (w.splineOn[k][s] == 1) {
        const std::string narrowed = narrowIntoLimits(w, k, s);
        if (!narrowed.empty()) {
            resetOutsideInterval(w, k, s);
            r.note = narrowed;
        }
        placeSurfaceSplinePoints(w, k, s);
    }
    dropStaleSelection(w, k, s, e);
    return r;
}

Redraw setSplineCount(WingModel& w, int k, int s, EditingState& e, int value) {
    if (!ready(w, k, s)) return {};
    const int count = std::clamp(value, WingModel::nsplMin, WingModel::nsplMax);
    if (count == w.nspl[k][s]) return {};
    w.nspl[k][s] = count;
    if (w.splineOn[k][s] == 1) {
        placeSurfaceSplinePoints(w, k, s);
        applySurfaceSpline(w, k, s);
    }
    dropStaleSelection(w, k, s, e);
    return plotRedraw();
}

Redraw choosePoint(WingModel& w, int k, int s, int shownValue) {
    if (!ready(w, k, s)) return {};
    // Only a surface in "Cp edition" has a point to edit.
    if (w.surfMode[k][s] != MODE_CP_EDITION) return {};
    selectedPoint(w, k, s) = pointFromShown(w, shownValue, intervalFirst(w, k, s), intervalLast(w, k, s));
    return plotRedraw();
}

Redraw setPointCp(WingModel& w, int k, int s, double value) {
    if (!ready(w, k, s) || !std::isfinite(value)) return {};
    // A design Cp is taken as typed, unless its column could not hold it.
    if (!fitsOutputField(cpoutput::CPDU, value)) {
        Redraw r;
        r.note = "Cpd = " + formatShortest(value) + " does not fit the " + std::to_string(cpoutput::CPDU.room) +
                 " columns the CpOutput file gives a design Cp; not set.";
        return r;
    }
    w.cpDes[selectedPoint(w, k, s) - 1][k] = value;
    return plotRedraw();
}

Redraw nudgeSelection(WingModel& w, int k, int s, EditingState& e, double dx, double dcp) {
    if (!ready(w, k, s) || !std::isfinite(dx) || !std::isfinite(dcp)) return {};
    dropStaleSelection(w, k, s, e);
    const int j = e.selectedControlPoint;
    if (j >= 1 && inSplineEditing(w, k, s)) {
        return setControlPoint(w, k, s, j, w.splX[j][k][s] + dx, w.splY[j][k][s] + dcp);
    }
    if (dcp == 0.0 || !inCpEdition(w, k, s) || w.splineOn[k][s] == 1) return {};
    return setPointCp(w, k, s, w.cpDes[selectedPoint(w, k, s) - 1][k] + dcp);
}

Redraw setControlPoint(WingModel& w, int k, int s, int j, double x, double cp) {
    if (!ready(w, k, s) || j < 1 || j > w.nspl[k][s] - 2 || !std::isfinite(x) || !std::isfinite(cp)) return {};
    moveControlPoint(w, k, s, j, x, cp);
    applySurfaceSpline(w, k, s);
    return plotRedraw();
}

Redraw revertSection(WingModel& w, int k, EditingState& e) {
    if (!keepSectionOnSurfaces(w, k)) return {};
    restoreDesignCpAsRead(w, k);
    for (int s = 0; s < 2; ++s)
        if (w.splineOn[k][s] == 1) placeSurfaceSplinePoints(w, k, s);
    dropStaleSelection(w, k, activeSurfaceOf(w, k), e);
    return plotRedraw();
}

Redraw moveMouse(WingModel& w, int k, int s, const PlotTransform& t, EditingState& e, double px, double py) {
    if (!ready(w, k, s) || !usable(t) || !std::isfinite(px) || !std::isfinite(py)) return {};
    const double x = t.xAt(px);
    const double cp = t.cpAt(py);
    if (!std::isfinite(x) || !std::isfinite(cp)) return {};
    e.mousePlotX = x;
    e.mousePlotCp = cp;

    dropStaleSelection(w, k, s, e);
    if (e.draggingControlPoint != 1 || !inSplineEditing(w, k, s)) return {};
    const int j = e.selectedControlPoint;
    if (j < 0) return {};

    return setControlPoint(w, k, s, j, x, cp);
}

Redraw pressMouse(WingModel& w, int k, int s, const PlotTransform& t, EditingState& e, double px, double py) {
    if (!ready(w, k, s)) return {};
    moveMouse(w, k, s, t, e, px, py);
    e.draggingControlPoint = 1;
    dropStaleSelection(w, k, s, e);
    if (!inSplineEditing(w, k, s) || w.nspl[k][s] < 3 || !usable(t)) return {};
    if (!std::isfinite(px) || !std::isfinite(py)) return {};
    // The end points are fixed; the nearest inner point whose circle holds
    // the pixel wins, the lower index on a tie.
    const double reach = controlPointRadius + 0.5;
    double best = reach * reach;
    int picked = -1;
    for (int j = 1; j <= w.nspl[k][s] - 2; ++j) {
        const double dx = t.columnOf(w.splX[j][k][s]) - px;
        const double dy = t.rowOf(w.splY[j][k][s]) - py;
        const double d = dx * dx + dy * dy;
        if (d <= best && (picked < 0 || d < best)) {
            best = d;
            picked = j;
        }
    }
    if (picked < 0) return {};
    e.selectedControlPoint = picked;
    e.selectionSection = k;
    e.selectionSurface = s;
    Redraw r;
    r.controlPoints = true;
    return r;
}

Redraw releaseMouse(EditingState& e) {
    if (e.draggingControlPoint == 1) e.draggingControlPoint = 0;
    return {};
}

}  // namespace quarvel
