// The Cp plot of a section (the window's current one) as a list of drawing primitives: the
// geometry is computed here without any window, and the canvas only replays
// it on a device context.
#pragma once

#include <string>
#include <vector>

#include "draw/Marks.h"
#include "draw/PlotTransform.h"
#include "draw/Primitives.h"
#include "flow/Aerodynamics.h"
#include "flow/Compare.h"
#include "flow/Shocks.h"
#include "plot/PlotZoom.h"
#include "wing/WingModel.h"

namespace quarvel {

// Lower bound, span and number of grid steps of the Cp axis.
struct CpAxis {
    double lower;
    double span;
    int gridCount;
};

// The axis row for the minimum Cp of a section.
CpAxis cpAxisFor(double minimumCp);



// Minimum of the initial Cp of section k and the index of the highest
// sonic crossing (-1 when the curve does not cross the critical Cp).
struct SonicScan {
    double minimum;
    int crossing;
};
SonicScan scanSection(const WingModel& wing, int k, double sonic);

// The ΔCp axis of section k: from lower to upper (lower < 0 < upper) in steps
// of step, covering design - initial Cp of both surfaces and, while "Shape
// the change" is on for the surface edited, its control points.
struct DeltaCpAxis {
    double lower = -0.05, upper = 0.05, step = 0.01;
};
DeltaCpAxis deltaCpAxisFor(const WingModel& wing, int k);

struct CpPlot {
    PlotTransform transform;
    CpAxis axis{};
    // The ΔCp axis on the right, where design - initial Cp is drawn; set when
    // it is shown (deltaShown).
    PlotTransform deltaTransform;
    DeltaCpAxis deltaAxis{};
    bool deltaShown = false;
    double CYD = 0.0;  // the section's design lift, recomputed
    std::vector<PlotPrimitive> primitives;
};

// Pixels kept above the data for the title line and the Cp axis title, and
// below it for the chord labels.
constexpr int kPlotTopMargin = 40;
constexpr int kPlotBottomMargin = 18;

// The axis for the Cp shown, smallest and largest: the table's row for the
// smallest, its bottom (+0.5) lowered by whole grid steps to the largest.
CpAxis cpAxisFor(double minimumCp, double maximumCp);

// No control point is selected.
constexpr int kNoControlPoint = -1;

// The plot of section k on a canvas of width x height pixels, in
// the given view of its default axis; the transform is the view's. The
// neighbouring sections are drawn first, the current one over them and the
// control points over everything; a title line (wing title, section, Z,
// Mach), the axis titles, the chord labels and a legend make the plot read
// on its own.
// With keepAxis the plot keeps that axis (a drag in progress must not
// rescale the plot under the mouse). Each shock of the section's design Cp
// (found by shockRule) gets a bar over its jump and its M1 ("M1 1.21"), red
// from kSeparationM1.
// With a comparison of the section with a target, the target's design Cp is
// drawn dashed (kTargetColor) and the residual (achieved - target) on the
// dCp axis at the right, over the whole height with its zero line in the
// middle (kResidualColor); the shocks of the target and of the initial Cp
// get their markers too.
//
// With deltaCp, or while "Shape the change" is on for the surface edited, the
// change design - initial Cp of the section is drawn too, as its own curve on
// a second axis at the right ("ΔCp", with its zero line); the control points
// of "Shape the change" hold such a change and are drawn on that axis, which
// keepDeltaAxis holds during a drag as keepAxis holds the Cp axis.
CpPlot buildCpPlot(const WingModel& wing, int k, double mach, int width, int height, int selectedControlPoint,
                   const PlotZoom& zoom = PlotZoom{}, const CpAxis* keepAxis = nullptr,
                   const ShockRule& shockRule = ShockRule{}, const SectionComparison* comparison = nullptr,
                   bool deltaCp = false, const DeltaCpAxis* keepDeltaAxis = nullptr);

// Pixels the ΔCp axis's labels take at the right of the plot.
constexpr int kDeltaLabels = 44;

constexpr const char* kTargetColor = "Magenta";
constexpr const char* kResidualColor = "DarkCyan";

// The dCp axis of a comparison: the residual from -bound (top) to +bound
// (bottom), labelled every step.
struct ResidualAxis {
    double bound = 0.0, step = 0.0;
};
ResidualAxis residualAxisFor(const SectionComparison& comparison);

// The label of a shock's M1.
std::string shockLabel(const Shock& shock);

// The plot of section k as a figure for a file: the full axis
// and a legend that names every mark drawn (Cp*, the interval box, the
// control points, the selected point). Report leaves out the marks of the
// editing (interval box, control points, selected point).
enum class FigureMarks { Editing, Report };
CpPlot buildCpFigure(const WingModel& wing, int k, double mach, int width, int height, int selectedControlPoint,
                     FigureMarks marks);

// The control points of the active surface of section k, drawn
// with the given transform (the press handler draws them over the plot).
void addControlPoints(const WingModel& wing, int k, const PlotTransform& t, int selectedControlPoint,
                      std::vector<PlotPrimitive>& out);

}  // namespace quarvel
