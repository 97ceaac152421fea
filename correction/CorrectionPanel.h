// The correction panel of the main window without the toolkit: a plain
// mirror of every widget the panel touches, the operations that bring it into
// line with the current section, and the section and regime commands.
//
// The window keeps one PanelWidgets as the image of its widgets. After every
// command (and after a refresh) it copies the whole mirror onto the widgets:
// check states, enabled states, spinner ranges and then values, all without
// notification. A command therefore records in the mirror the new state of
// the widget that sent it as well (a clicked radio is checked, a spinner
// shows the value it was given).
//
// Everything acts on the current section k = curSection - 1 and does nothing
// when the wing has no usable current section.
#pragma once

#include "wing/WingModel.h"

namespace quarvel {

struct Toggle {
    bool checked = false;
    bool enabled = false;
};

// An integer spinner; values are the numbers shown (point number + ioff).
// Like the toolkit's spinner, the value is kept inside the range.
struct Spinner {
    int lo = 0, hi = 0, value = 0;
    bool enabled = false;

    void setRange(int from, int to);
    void setValue(int v);
};

struct RealSpinner {
    double lo = -2.0, hi = 1.0, value = 0.0;
    bool enabled = false;

    void setRange(double from, double to);
    void setValue(double v);
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
    Spinner intervalStart[2];    // "U1=", "L1="
    Spinner intervalEnd[2];      // "U2=", "L2="
    Spinner point;               // "I="
    Spinner nspl{WingModel::nsplMin, WingModel::nsplMax, WingModel::nsplMin, false};  // "Nspl="
    RealSpinner cpd;             // "Cpd="
    bool currentPointXEnabled = false;  // the second "X=" field

    // Values shown by "Cpt=" and the second "X=".
    double currentPointCp = 0.0;
    double currentPointX = 0.0;
};

// What the window has to redraw after a command.
struct Redraw {
    bool plot = false;           // the whole Cp plot
    bool planform = false;       // the planform dialog's canvas
    bool controlPoints = false;  // only the spline control points, over the plot as it is
};

// Brings the current section's editing values into their limits:
// u1Min <= u1 <= u2 <= u2Max, l1Min <= l1 <= l2 <= l2Max, each selected
// point inside its interval and each Nspl inside nsplMin..nsplMax. A wing
// read by readCpInput already satisfies all of it. Returns false when there
// is no usable current section (no wing, curSection outside 1..nsec, arrays
// of the wrong size or limits that leave no interval); callers then do
// nothing.
bool keepSectionInLimits(WingModel& wing);

// The interval ends and the selected point of surface s in section k
// (1-based point numbers): u1, u2, upperPoint or l1, l2, lowerPoint.
inline int& intervalFirst(WingModel& w, int k, int s) { return s == 0 ? w.u1[k] : w.l1[k]; }
inline int& intervalLast(WingModel& w, int k, int s) { return s == 0 ? w.u2[k] : w.l2[k]; }
inline int& selectedPoint(WingModel& w, int k, int s) { return s == 0 ? w.upperPoint[k] : w.lowerPoint[k]; }

// Fixed limits of the interval of surface s: u1Min, u2Max or l1Min, l2Max.
inline int intervalLowerLimit(const WingModel& w, int s) { return s == 0 ? w.u1Min : w.l1Min; }
inline int intervalUpperLimit(const WingModel& w, int s) { return s == 0 ? w.u2Max : w.l2Max; }

// A 1-based point number as the spinners show it.
inline int shownPoint(const WingModel& w, int point) { return point + w.ioff; }

// The point number behind a value shown by a spinner (shown - ioff), clamped
// into lo..hi (lo <= hi).
int pointFromShown(const WingModel& wing, int shown, int lo, int hi);

// Synchronisation of the panel with the current section.
void refreshCorrectionPanel(WingModel& wing, PanelWidgets& p);
void openSectionCorrection(WingModel& wing, PanelWidgets& p);
void closeSectionCorrection(WingModel& wing, PanelWidgets& p);
void showSurfaceModes(WingModel& wing, PanelWidgets& p, int s);
void restoreSurfaceModes(WingModel& wing, PanelWidgets& p, int s);
void enableSurfaceControls(WingModel& wing, PanelWidgets& p, int s);
void disableSurfaceControls(WingModel& wing, PanelWidgets& p, int s);
void setIntervalSpinners(WingModel& wing, PanelWidgets& p, int s);
void setPointSpinner(WingModel& wing, PanelWidgets& p, int s);
void showUpperPoint(WingModel& wing, PanelWidgets& p);
void showLowerPoint(WingModel& wing, PanelWidgets& p);

// Enables (or disables) the five regime radios of surface s.
void setRegimeRadiosEnabled(PanelWidgets& p, int s, bool enabled);

// The five regime radios of a surface, in the order of their identifiers.
enum class RegimeRadio { NoCorrection, CpCorrection, GeomInterpolation, SaveThickness, SaveMaxThickness };

// The two sub-options of a Cp correction.
enum class CpOption { Edition, Interpolation };

// "Yes sec. correction" (corrected true) and "No sec. correction".
Redraw chooseSectionCorrection(WingModel& wing, PanelWidgets& p, bool corrected);

// A regime radio of surface s: sets its mode and code, and the section's
// correction flag for every regime but "No correction".
Redraw chooseRegime(WingModel& wing, PanelWidgets& p, int s, RegimeRadio radio);

// "Cp edition" (mode 1) or "Cp interpolation" (mode 2) of surface s.
Redraw chooseCpOption(WingModel& wing, PanelWidgets& p, int s, CpOption option);

// Copies the input Cp into the design Cp of surface s at every point outside
// its interval and at the interval's two end points.
void resetOutsideInterval(WingModel& wing, int s);

}  // namespace quarvel
