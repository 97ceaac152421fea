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

#include <string>

#include "wing/SectionSurface.h"
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
    Spinner intervalFirst[2];    // "U1=", "L1="
    Spinner intervalLast[2];     // "U2=", "L2="
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

// The "Cpd=" spinner's range: wide, so that a typed value reaches the command
// as typed and one that its file column cannot hold is refused there.
constexpr double kCpdRange = 1e6;

// The panel as section k (the window's current one) and its active surface
// make it. Without a usable section (no wing read) every widget is disabled.
PanelWidgets panelOf(const WingModel& wing, int k);

// What the window has to redraw after a command.
struct Redraw {
    bool plot = false;           // the whole Cp plot
    bool planform = false;       // the planform dialog's canvas
    bool controlPoints = false;  // only the spline control points, over the plot as it is
    std::string note;            // for the status line: what the command did beyond what was asked
};

// True when section k is one whose arrays and limits the editing can work
// on (sizes and limits only; the section's own values may still lie off
// their surfaces).
bool usableSection(const WingModel& wing, int k);

// Brings the editing values of section k onto their surfaces: each interval
// in order on its own surface's points, each selected point inside its
// interval and each Nspl inside nsplMin..nsplMax. A wing read by
// readCpInput already satisfies all of it; an interval may still reach
// beyond the editing limits, as a file may give it. Returns false when the
// section is not usable; every command then does nothing.
bool keepSectionOnSurfaces(WingModel& wing, int k);

// Narrows the interval of surface s of section k into the editing limits,
// which a spline needs (it reaches one point beyond each end, on the same
// surface). Returns what the status line says when it narrowed, else "".
std::string narrowIntoLimits(WingModel& wing, int k, int s);

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
Redraw chooseSectionCorrection(WingModel& wing, int k, bool corrected);

// A regime radio of surface s: sets its mode and code, the section's
// correction flag for every regime but "No correction", and makes s the
// surface being edited. "Cp correction" starts in "Cp interpolation".
Redraw chooseRegime(WingModel& wing, int k, int s, RegimeRadio radio);

// "Cp edition" (mode 1) or "Cp interpolation" (mode 2) of surface s, which
// becomes the surface being edited.
Redraw chooseCpOption(WingModel& wing, int k, int s, CpOption option);

// "Mach=" and "Alpha=" of the planform: the wing's value, unless its
// CpOutput field cannot hold it (or a Mach is not above 0); the note then
// says so and nothing changes.
Redraw setFlowValue(WingModel& wing, FlowValue which, double value);

// Copies the input Cp into the design Cp of surface s at every point outside
// its interval and at the interval's two end points.
void resetOutsideInterval(WingModel& wing, int k, int s);

}  // namespace quarvel
