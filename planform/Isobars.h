// Lines of constant Cp over the planform: marching squares on the grid of
// chordwise stations x sections, each station of section k at chord position
// x = XLE[k] + X * B[k] and span position z = Z[k]. Computed without any
// window; the isobar dialog draws them and the CSV export writes them.
#pragma once

#include <string>
#include <vector>

#include "draw/Primitives.h"
#include "flow/Compare.h"
#include "flow/Shocks.h"
#include "planform/PlanformGeometry.h"
#include "wing/WingModel.h"

namespace quarvel {

// One surface's Cp, stored section by section (node (j, k) at index
// k * stations + j), and where its nodes lie: node (j, k) at chord position
// XLE[k] + X[k * stations + j] * B[k] and span position Z[k].
struct ContourField {
    int stations = 0, sections = 0;
    std::vector<double> value;
    std::vector<double> X;            // per node, as value
    std::vector<double> XLE, B, Z;    // per section

    double x(int j, int k) const { return XLE[k] + X[std::size_t(k) * stations + j] * B[k]; }
};

// Station j of the upper surface (0) is contour index nhalf + j, of the
// lower surface (1) nhalf - 1 - j, each at its own X; design picks cpDes
// over cpInit.
ContourField surfaceField(const WingModel& wing, int surface, bool design);

struct IsobarPoint {
    double x = 0.0, z = 0.0;
};

struct IsobarLine {
    double level = 0.0;
    bool closed = false;  // the last point joins the first
    std::vector<IsobarPoint> points;
};

// More levels than this make no readable picture; a step that would give
// more is refused.
constexpr int kMaxIsobarLevels = 2000;

// The integer multiples of step that lie within the range of the field's
// finite values, ascending; i * step is computed as i / (1 / step) when that
// is a whole number, so that 0.1 gives -0.3 and not -0.30000000000000004.
// Empty when step is not a positive number or the levels would be more
// than kMaxIsobarLevels.
std::vector<double> isobarLevels(const ContourField& field, double step);
// About how many levels that is, however many (0 for a bad step).
double isobarLevelCount(const ContourField& field, double step);

// The polylines of every level. A node counts as above a level when its
// value is at least the level; a crossed cell edge gets the point found by
// linear interpolation along it; the saddle cell (two opposite corners
// above) is resolved by the mean of its four corners: when it is above, the
// two above corners are joined. Segments of neighbouring cells are joined
// through their shared edge into one line; lines come level by level in the
// order of levels. Cells with a value that is not finite are left out.
std::vector<IsobarLine> traceIsobars(const ContourField& field, const std::vector<double>& levels);

// "surface,cp,level,line,x,z" and one row per vertex: the upper, then the
// lower surface, each with the initial, then the design Cp, lines numbered
// from 1 through the file. Numbers in their shortest exact form.
std::string formatIsobarsCsv(const WingModel& wing, double step);

// The shocks of a surface on the planform, joined along the span: a shock of
// one section and the shock of the next section nearest to it along the
// chord (within kShockJoin of a chord) make a segment of a shock line; a
// shock of the next section that none joined joins its nearest shock of the
// section before in the same way. A lambda shock so shows as two lines that
// merge into one.
constexpr double kShockJoin = 0.15;
struct ShockLines {
    std::vector<IsobarPoint> shocks;  // every shock, section by section
    std::vector<double> m1;           // the M1 of each
    std::vector<std::pair<int, int>> segments;  // pairs of indices into shocks
};
ShockLines shockLines(const WingModel& wing, int surface, CpSource source, const ShockRule& rule);

// The isobar view: the planform outline, the initial upper-surface isobars
// as thin grey lines (when given), the design ones in dark blue with their
// level written beside them, and the sonic isobars (the lines at sonicCp)
// heavier in red. Span to the right, chord downward, as in the planform
// dialog. With a shock rule, the shock lines of the design Cp over them,
// each shock a dot, red from kSeparationM1.
// With a comparison, the isolines of its residual (residualIsolines) in dark
// cyan, dashed below zero, each with its value.
struct IsobarPicture {
    std::vector<IsobarLine> initial, design, sonicInitial, sonicDesign, residual;
    ShockLines shocks;
};
// The residual of a comparison on a surface, at the nodes of the points it
// compared and NaN elsewhere, and its isolines at a step of niceStep of its
// largest value in about five (zero left out, where the target is met).
ContourField residualField(const WingModel& wing, const WingComparison& comparison, int surface);
std::vector<IsobarLine> residualIsolines(const WingModel& wing, const WingComparison& comparison, int surface);

IsobarPicture upperIsobars(const WingModel& wing, double step, bool withInitial, const ShockRule* rule = nullptr);
// The current section (an index, -1 for none) is marked by its chord line,
// dashed in orange, and its number. Labels are placed where they overlap
// no other: a line's level goes beside its middle point or, where that is
// taken, another point along it, or is left out.
std::vector<PlotPrimitive> isobarPrimitives(const WingModel& wing, const IsobarPicture& picture, int width,
                                            int height, int current = -1);
// The same lines, shocks and labels alone, over the upper surface's copy of
// the planform as planformPrimitives draws it on a width x height drawable:
// the isobar layer of the planform.
std::vector<PlotPrimitive> isobarLayer(const IsobarPicture& picture, const Planform& plan, int width, int height);

}  // namespace quarvel
