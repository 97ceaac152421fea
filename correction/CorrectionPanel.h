// The correction panel of the main window without the toolkit: a plain
// image of every widget the panel holds, computed from the wing alone, and
// the section and regime commands.
//
// Every widget's check state, enabled state, range and value is a function
// of the current section's state (correction flag, active surface, regimes,
// spline flags and counts, intervals and selected points, design Cp): the
// window computes panelOf(wing) after every command, whatever sent it, and
// copies it onto the widgets without notification. Nothing of the panel is
// kept beside the wing, so no command can leave it behind.
//
// What a widget shows while it is disabled is still the wing's: a section
// that is not corrected keeps its surfaces' regimes (greyed), and they come
// back with "Yes sec. correction".
#pragma once

#include "wing/SurfaceState.h"
#include "wing/WingModel.h"

namespace quarvel {

struct Toggle {
    bool checked = false;
    bool enabled = false;
    bool operator==(const Toggle& o) const { return checked == o.checked && enabled == o.enabled; }
};

// An integer spinner; values are the numbers shown (point number + ioff).
// Like the toolkit's spinner, the value is kept inside the range.
struct Spinner {
    int lo = 0, hi = 0, value = 0;
    bool enabled = false;

    void setRange(int from, int to);
    void setValue(int v);
    bool operator==(const Spinner& o) const {
        return lo == o.lo && hi == o.hi && value == o.value && enabled == o.enabled;
    }
};

struct RealSpinner {
    double lo = -2.0, hi = 1.0, value = 0.0;
    bool enabled = false;

    void setRange(double from, double to);
    void setValue(double v);
    bool operator==(const RealSpinner& o) const {
        return lo == o.lo && hi == o.hi && value == o.value && enabled == o.enabled;
    }
};

// Index [s] of the per-surface widgets: 0 upper, 1 lower.
struct PanelWidgets {
    Toggle secYes, secNo;  // "Yes sec. correction", "No sec. correction"
    Toggle surface[2];     // "Upper surface", "Lower surface"
    Toggle noCorrection[2], cpCorrection[2], geomInterpolation[2];
    Toggle thickness[2];     // "Save thickness distr."
    Toggle maxThickness[2];  // "Save max.thickness"
    Toggle cpEdition[2], cpInterpolation[2];
    Toggle spline[2];            // "Spline interp."
    Toggle shape[2];             // "Shape the change"
    Spinner intervalStart[2];    // "U1=", "L1="
    Spinner intervalEnd[2];      // "U2=", "L2="
    Spinner point;               // "I="
    Spinner nspl{WingModel::nsplMin, WingModel::nsplMax, WingModel::nsplMin, false};  // "Nspl="
    RealSpinner cpd;             // "Cpd=": design Cp of the selected point, range centred on it
    bool currentPointXEnabled = false;  // the second "X=" field

    // Values shown by "Cpt=" (input Cp of the selected point), the second
    // "X=" and "dCp=" (design minus input Cp of the selected point).
    double currentPointCp = 0.0;
    double currentPointX = 0.0;
    double cpdDelta = 0.0;

    bool operator==(const PanelWidgets& o) const;
    bool operator!=(const PanelWidgets& o) const { return !(*this == o); }
};

// Half the span of the "Cpd=" spinner's range around the design Cp.
constexpr double kCpdHalfRange = 0.5;

// The panel as the wing's current section and active surface make it. With
// no usable current section (no wing read) every widget is disabled.
PanelWidgets panelOf(const WingModel& wing);

// What the window has to redraw after a command.
struct Redraw {
    bool plot = false;           // the whole Cp plot
    bool planform = false;       // the planform dialog's canvas
    bool controlPoints = false;  // only the spline control points, over the plot as it is
};

// True when the wing has a current section whose arrays and limits the
// editing can work on (sizes and limits only; the section's own values may
// still lie outside their limits).
bool usableSection(const WingModel& wing);

// Brings the current section's editing values into their limits:
// u1Min <= u1 <= u2 <= u2Max, l1Min <= l1 <= l2 <= l2Max, each selected
// point inside its interval and each Nspl inside nsplMin..nsplMax. A wing
// read by readCpInput already satisfies all of it. Returns false when there
// is no usable current section; callers then do nothing.
bool keepSectionInLimits(WingModel& wing);

// The interval ends and the selected point of surface s in section k
// (1-based point numbers): u1, u2, upperPoint or l1, l2, lowerPoint.
inline int& intervalFirst(WingModel& w, int k, int s) { return s == 0 ? w.u1[k] : w.l1[k]; }
inline int& intervalLast(WingModel& w, int k, int s) { return s == 0 ? w.u2[k] : w.l2[k]; }
inline int& selectedPoint(WingModel& w, int k, int s) { return s == 0 ? w.upperPoint[k] : w.lowerPoint[k]; }
inline int intervalFirst(const WingModel& w, int k, int s) { return s == 0 ? w.u1[k] : w.l1[k]; }
inline int intervalLast(const WingModel& w, int k, int s) { return s == 0 ? w.u2[k] : w.l2[k]; }
inline int selectedPoint(const WingModel& w, int k, int s) { return s == 0 ? w.upperPoint[k] : w.lowerPoint[k]; }

// Fixed limits of the interval of surface s: u1Min, u2Max or l1Min, l2Max.
inline int intervalLowerLimit(const WingModel& w, int s) { return s == 0 ? w.u1Min : w.l1Min; }
inline int intervalUpperLimit(const WingModel& w, int s) { return s == 0 ? w.u2Max : w.l2Max; }

// A 1-based point number as the spinners show it.
inline int shownPoint(const WingModel& w, int point) { return point + w.ioff; }

// The point number behind a value shown by a spinner (shown - ioff), clamped
// into lo..hi (lo <= hi).
int pointFromShown(const WingModel& wing, int shown, int lo, int hi);

// The five regime radios of a surface, in the order of their identifiers.
enum class RegimeRadio { NoCorrection, CpCorrection, GeomInterpolation, SaveThickness, SaveMaxThickness };

// The two sub-options of a Cp correction.
enum class CpOption { Edition, Interpolation };

// "Yes sec. correction" (corrected true) and "No sec. correction". The
// regimes stay in the wing while the section is not corrected; the codes a
// save writes for it are 0.
Redraw chooseSectionCorrection(WingModel& wing, bool corrected);

// A regime radio of surface s: sets its mode and code, the section's
// correction flag for every regime but "No correction", and makes s the
// surface being edited. "Cp correction" starts in "Cp interpolation".
Redraw chooseRegime(WingModel& wing, int s, RegimeRadio radio);

// "Cp edition" (mode 1) or "Cp interpolation" (mode 2) of surface s, which
// becomes the surface being edited.
Redraw chooseCpOption(WingModel& wing, int s, CpOption option);

// Copies the input Cp into the design Cp of surface s at every point outside
// its interval and at the interval's two end points.
void resetOutsideInterval(WingModel& wing, int s);

}  // namespace quarvel
