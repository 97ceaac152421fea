// The wing's planform as a list of drawing primitives: span to the right,
// chord downward at one scale, the upper surface's copy on top and the lower
// surface's copy below it, each chord line coloured by its surface's regime.
// Computed without any window; the dialog replays it on its canvas.
#pragma once

#include <string>
#include <vector>

#include "draw/Primitives.h"
#include "wing/WingModel.h"

namespace quarvel {

// Start values of the bounding-box search.
constexpr double boxSeedMin = 1.0e10;
constexpr double boxSeedMax = -1.0e10;

// Chordwise (x) and spanwise (z) extent of the planform.
struct PlanformBox {
    double xMin = boxSeedMin, xMax = boxSeedMax;
    double zMin = boxSeedMin, zMax = boxSeedMax;
};

// The per-section leading edge, span position and chord, copied from the
// wing once, and their bounding box.
struct Planform {
    std::vector<double> XLE, Z, B;
    PlanformBox box;

    int sections() const { return static_cast<int>(Z.size()); }
};

// The box covers both ends of every chord line, so that a negative chord
// still lies inside it.
PlanformBox planformBox(const std::vector<double>& XLE, const std::vector<double>& Z, const std::vector<double>& B);

Planform makePlanform(std::vector<double> XLE, std::vector<double> Z, std::vector<double> B);
Planform planformOf(const WingModel& wing);

// Maps (span z, chord x) to pixels, truncated toward zero.
struct PlanformFit {
    double z0 = 0.0, x0 = 0.0;
    double scale = 1.0;  // pixels per unit length, both directions

    int columnOf(double z) const;
    int rowOf(double x) const;
};

// The largest scale at which the box, with margins of about 1 % before and
// 2 % after it, fits a drawable of width x height pixels. Degenerate boxes
// (a single section, equal chord ends, nothing at all) still give a finite
// positive scale.
PlanformFit fitPlanform(const PlanformBox& box, int width, int height);

// The box of the whole drawing: the planform's, reaching down to the lower
// surface's copy, so that both copies fit the drawable.
PlanformBox drawnBox(const Planform& plan);

// Chord-line colour of a surface regime, as 0xRRGGBB; black for 0 and any
// value that is no regime.
int regimeColor(int surfMode);

// Z of a section relative to the last section's; 0 when the last is at 0.
double relativeSpan(double z, double zLast);

// The whole drawing: the white fill, then for the upper and the lower surface
// the chord lines of every section (the current one, 1-based, dashed) and the
// black leading and trailing edges between neighbouring sections. surfMode
// is read per section; a missing entry counts as no correction.
// The regimes the planform shows: a section that is not corrected keeps
// its regimes for later but is written with neither, so it shows as not
// changed.
std::vector<SurfacePair> shownRegimes(const WingModel& wing);

std::vector<PlotPrimitive> planformPrimitives(const Planform& plan, const std::vector<SurfacePair>& surfMode,
                                              int curSection, int width, int height);

// The section (1-based) whose chord line, on either surface's copy, passes
// within tolerance pixels of pixel (px, py) of the drawing on a width x
// height drawable; the nearest wins. 0 when no chord line is that near.
int sectionAtPixel(const Planform& plan, int width, int height, double px, double py, double tolerance = 4.0);

// The title broken at spaces into lines of at most columns characters (a
// longer word keeps a line of its own).
std::string wrapText(const std::string& text, std::size_t columns);

}  // namespace quarvel
