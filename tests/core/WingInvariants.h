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
    for (const Grid<double>* g : {&w.X, &w.cpInit, &w.cpdIn, &w.cpDes, &w.cpdOut})
        if (g->rows() != w.npt || g->cols() != w.nsec) return "an X or Cp grid has the wrong size";
    for (const std::vector<int>* v : {&w.RU, &w.RL, &w.u1, &w.u2, &w.l1, &w.l2, &w.upperPoint, &w.lowerPoint,
                                      &w.outIU1, &w.outIU2, &w.outIL1, &w.outIL2, &w.secCorrection,
                                      &w.activeSurface})
        if (v->size() != n) return "a section array has the wrong size";
    if (w.surfMode.size() != n || w.splineOn.size() != n || w.nspl.size() != n)
        return "a surface array has the wrong size";
    if (w.l1Min < 2 || w.l1Min > w.l2Max || w.l2Max > w.nhalf - 1 || w.u1Min < w.nhalf + 2 ||
        w.u1Min > w.u2Max || w.u2Max > 2 * w.nhalf - 1)
        return "interval limits leave the surfaces";

    // An interval lies on its surface, in the editing limits while its spline is on.
    for (int k = 0; k < w.nsec; ++k) {
        const bool upperSpline = w.splineOn[k][0] == 1, lowerSpline = w.splineOn[k][1] == 1;
        if (!((upperSpline ? w.u1Min : w.nhalf + 1) <= w.u1[k] && w.u1[k] <= w.upperPoint[k] &&
              w.upperPoint[k] <= w.u2[k] && w.u2[k] <= (upperSpline ? w.u2Max : 2 * w.nhalf)))
            return at(k, "upper interval or point out of order or off its surface");
        if (!((lowerSpline ? w.l1Min : 1) <= w.l1[k] && w.l1[k] <= w.lowerPoint[k] &&
              w.lowerPoint[k] <= w.l2[k] && w.l2[k] <= (lowerSpline ? w.l2Max : w.nhalf)))
            return at(k, "lower interval or point out of order or off its surface");
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

// The panel the window shows after a command: panelOf(wing), telling the
// wing as it is (checks, enabled states, intervals, "I=", "Cpd=" centred on
// the selected point's design Cp, "Nspl=", one click to every regime).
inline std::string panelFault(const WingModel& w, const PanelWidgets& p) {
    using detail::spinnerFault;
    if (p != panelOf(w, w.curSection - 1)) return "the panel shown is not the panel of the wing";
    const auto shown = [&](int point) { return shownPoint(w, point); };
    const int k = w.curSection - 1, a = w.activeSurface[k];
    const bool corrected = w.secCorrection[k] == 2;
    if (p.secYes.checked != corrected || p.secNo.checked == corrected || !p.secYes.enabled || !p.secNo.enabled)
        return "the section radios do not show the correction flag";
    for (int s = 0; s < 2; ++s) {
        const std::string at = s == 0 ? "upper surface: " : "lower surface: ";
        const int mode = w.surfMode[k][s];
        const int radio = mode == MODE_NONE ? 0 : mode <= MODE_CP_INTERP ? 1 : mode - 1;
        const Toggle* radios[] = {&p.noCorrection[s], &p.cpCorrection[s], &p.geomInterpolation[s], &p.thickness[s],
                                  &p.maxThickness[s]};
        for (int r = 0; r < 5; ++r)
            if (radios[r]->checked != (r == radio) || radios[r]->enabled != corrected)
                return at + "a regime radio does not show the mode or is not one click away";
        if (p.cpEdition[s].checked != (mode == MODE_CP_EDITION) || p.cpInterpolation[s].checked != (mode == MODE_CP_INTERP) ||
            p.spline[s].checked != (w.splineOn[k][s] == 1) || p.surface[s].checked != (a == s))
            return at + "a Cp option, the spline check or the selector does not show the wing";
        if (!corrected && (p.surface[s].enabled || p.cpEdition[s].enabled || p.spline[s].enabled ||
                           p.intervalFirst[s].enabled || p.intervalLast[s].enabled))
            return at + "a control works in a section that is not corrected";
        const int lo = shown(firstPointOf(w, s)), hi = shown(lastPointOf(w, s));
        if (std::string f = spinnerFault(p.intervalFirst[s], "U1= or L1=", lo, hi); !f.empty()) return f;
        if (std::string f = spinnerFault(p.intervalLast[s], "U2= or L2=", lo, hi); !f.empty()) return f;
        if (p.intervalFirst[s].value != shown(intervalFirst(w, k, s)) || p.intervalLast[s].value != shown(intervalLast(w, k, s)))
            return at + "the interval spinners show another interval than the wing's";
    }
    if (std::string f = spinnerFault(p.point, "I=", shown(1), shown(2 * w.nhalf)); !f.empty()) return f;
    const int i = selectedPoint(w, k, a) - 1;
    if (p.point.value != shown(i + 1) || p.nspl.value != w.nspl[k][a]) return "I= or Nspl= is not the edited surface's";
    if (p.cpd.value != w.cpDes[i][k] || !(p.cpd.lo <= p.cpd.value && p.cpd.value <= p.cpd.hi))
        return "Cpd= is not the selected point's design Cp inside its range";
    if (p.currentPointCp != w.cpInit[i][k] || p.cpdDelta != w.cpDes[i][k] - w.cpInit[i][k])
        return "Cpt= or dCp= is not the selected point's";
    const bool edition = inCpEdition(w, k, a), spline = w.splineOn[k][a] == 1;
    if (p.point.enabled != (edition && !spline) || p.cpd.enabled != p.point.enabled || p.nspl.enabled != (edition && spline))
        return "the point editors or Nspl= work where the mode and spline flag say otherwise";
    return {};
}

// A sound wing and panel, finite read-outs, a selection naming an inner
// control point of the edited surface, and control points in chord order
// wherever a spline is on (for a wing whose X grows from the leading edge).
inline std::string editingFault(const WingModel& w, const PanelWidgets& p, const EditingState& e) {
    if (std::string f = wingFault(w); !f.empty()) return f;
    if (std::string f = panelFault(w, p); !f.empty()) return f;
    const int k = w.curSection - 1, a = w.activeSurface[k];
    if (!std::isfinite(p.cpd.value) || !std::isfinite(p.currentPointCp) || !std::isfinite(p.currentPointX))
        return "Cpd=, Cpt= or X= not finite";
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
