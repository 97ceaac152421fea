// Soundness of a wing's editing state and of the correction panel's mirror,
// shared by the editing tests and the fuzz targets. Each check returns an
// empty string when everything holds, otherwise the first fault it found.
#pragma once

#include <cmath>
#include <cstddef>
#include <string>

#include "correction/CorrectionPanel.h"
#include "correction/Editing.h"
#include "wing/WingModel.h"

namespace quarvel::test {

namespace detail {

inline std::string at(int k, const char* what) { return "section index " + std::to_string(k) + ": " + what; }

inline bool within(int lo, int v, int hi) { return lo <= v && v <= hi; }

inline std::string spinnerFault(const Spinner& sp, const char* name, int lo, int hi) {
    if (!(sp.lo <= sp.value && sp.value <= sp.hi))
        return std::string(name) + " shows " + std::to_string(sp.value) + " outside its range " +
               std::to_string(sp.lo) + ".." + std::to_string(sp.hi);
    if (sp.lo < lo || sp.hi > hi)
        return std::string(name) + " range " + std::to_string(sp.lo) + ".." + std::to_string(sp.hi) +
               " leaves " + std::to_string(lo) + ".." + std::to_string(hi);
    return {};
}

}  // namespace detail

// Sizes, limits, and every section's intervals, selected points, modes,
// flags, counts and design Cp. Holds for any wing the reader returns and
// after any editing command.
inline std::string wingFault(const WingModel& w) {
    using detail::at;
    using detail::within;
    const auto n = std::size_t(w.nsec);
    if (w.nsec < 1 || w.nhalf < 1 || w.npt < 2 * w.nhalf) return "bad sizes";
    if (!within(1, w.curSection, w.nsec)) return "curSection " + std::to_string(w.curSection) + " outside 1..nsec";
    if (w.X.size() != std::size_t(w.npt)) return "X has the wrong size";
    for (const Grid<double>* g : {&w.cpInit, &w.cpdIn, &w.cpDes, &w.cpdOut})
        if (g->rows() != w.npt || g->cols() != w.nsec) return "a Cp grid has the wrong size";
    for (const std::vector<int>* v : {&w.RU, &w.RL, &w.u1, &w.u2, &w.l1, &w.l2, &w.upperPoint, &w.lowerPoint,
                                      &w.outIU1, &w.outIU2, &w.outIL1, &w.outIL2, &w.secCorrection,
                                      &w.activeSurface})
        if (v->size() != n) return "a section array has the wrong size";
    if (w.surfMode.size() != n || w.splineOn.size() != n || w.nspl.size() != n)
        return "a surface array has the wrong size";
    if (w.l1Min < 2 || w.l1Min > w.l2Max || w.l2Max > w.nhalf - 1 || w.u1Min < w.nhalf + 2 ||
        w.u1Min > w.u2Max || w.u2Max > 2 * w.nhalf - 1)
        return "interval limits leave the surfaces";

    for (int k = 0; k < w.nsec; ++k) {
        if (!(w.u1Min <= w.u1[k] && w.u1[k] <= w.upperPoint[k] && w.upperPoint[k] <= w.u2[k] &&
              w.u2[k] <= w.u2Max))
            return at(k, "upper interval or point out of order or limits");
        if (!(w.l1Min <= w.l1[k] && w.l1[k] <= w.lowerPoint[k] && w.lowerPoint[k] <= w.l2[k] &&
              w.l2[k] <= w.l2Max))
            return at(k, "lower interval or point out of order or limits");
        if (!within(1, w.secCorrection[k], 2)) return at(k, "secCorrection neither 1 nor 2");
        if (!within(0, w.activeSurface[k], 1)) return at(k, "activeSurface neither 0 nor 1");
        for (int s = 0; s < 2; ++s) {
            if (!within(MODE_NONE, w.surfMode[k][s], MODE_MAX_THICKNESS)) return at(k, "mode outside 0..5");
            if (!within(0, w.splineOn[k][s], 1)) return at(k, "splineOn neither 0 nor 1");
            if (!within(WingModel::nsplMin, w.nspl[k][s], WingModel::nsplMax)) return at(k, "Nspl out of range");
        }
        for (int i = 0; i < w.npt; ++i)
            if (!std::isfinite(w.cpDes[i][k])) return at(k, "design Cp not finite");
    }
    return {};
}

// The correction panel's mirror and the mouse state, for a wing whose X
// increases along each surface from the leading edge (as every real wing's
// does): spinner values inside their ranges and the ranges inside the
// interval limits, the interval spinners showing the current section's
// intervals, finite read-outs, a selection that names an inner
// control point of the surface being edited, and control points in chord
// order wherever a spline is on.
inline std::string editingFault(const WingModel& w, const PanelWidgets& p, const EditingState& e) {
    using detail::spinnerFault;
    if (std::string f = wingFault(w); !f.empty()) return f;
    const auto shown = [&](int point) { return shownPoint(w, point); };
    const char* starts[] = {"U1=", "L1="};
    const char* ends[] = {"U2=", "L2="};
    const int k = w.curSection - 1, a = w.activeSurface[k];
    for (int s = 0; s < 2; ++s) {
        const int lo = shown(intervalLowerLimit(w, s)), hi = shown(intervalUpperLimit(w, s));
        if (std::string f = spinnerFault(p.intervalStart[s], starts[s], lo, hi); !f.empty()) return f;
        if (std::string f = spinnerFault(p.intervalEnd[s], ends[s], lo, hi); !f.empty()) return f;
        const int first = s == 0 ? w.u1[k] : w.l1[k], last = s == 0 ? w.u2[k] : w.l2[k];
        if (p.intervalStart[s].value != shown(first) || p.intervalEnd[s].value != shown(last))
            return std::string(starts[s]) + " or " + ends[s] + " shows another interval than the wing's";
    }
    if (std::string f = spinnerFault(p.point, "I=", shown(w.l1Min), shown(w.u2Max)); !f.empty()) return f;
    if (std::string f = spinnerFault(p.nspl, "Nspl=", WingModel::nsplMin, WingModel::nsplMax); !f.empty()) return f;
    if (!(std::isfinite(p.cpd.lo) && std::isfinite(p.cpd.hi) && p.cpd.lo <= p.cpd.value && p.cpd.value <= p.cpd.hi))
        return "Cpd= outside its range or not finite";
    if (!std::isfinite(p.currentPointCp) || !std::isfinite(p.currentPointX)) return "Cpt= or X= not finite";
    if (!std::isfinite(e.mousePlotX) || !std::isfinite(e.mousePlotCp)) return "mouse read-out not finite";
    if (e.draggingControlPoint != 0 && e.draggingControlPoint != 1) return "drag flag neither 0 nor 1";

    const int j = e.selectedControlPoint;
    if (j != -1 && !(j >= 1 && j <= w.nspl[k][a] - 2 && e.selectionSection == k && e.selectionSurface == a))
        return "selected control point " + std::to_string(j) + " is not an inner point of the edited surface";
    for (int sec = 0; sec < w.nsec; ++sec)
        for (int s = 0; s < 2; ++s) {
            if (w.splineOn[sec][s] != 1) continue;
            for (int c = 1; c < w.nspl[sec][s]; ++c)
                if (!(w.splX[c - 1][sec][s] < w.splX[c][sec][s]) || !std::isfinite(w.splY[c][sec][s]))
                    return detail::at(sec, "spline control points out of chord order or not finite");
        }
    return {};
}

}  // namespace quarvel::test
