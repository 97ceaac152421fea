#include "plot/CpPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "wing/Numbers.h"
#include "wing/SectionSurface.h"

namespace quarvel {

namespace {

struct AxisRow {
    double above;  // the row holds for minima above this
    CpAxis axis;
};

// Minima are tested from the top; the comparisons are strict.
constexpr AxisRow kAxisTable[] = {
    {-0.4, {-0.6, 1.1, 11}},   {-0.6, {-0.8, 1.3, 13}},   {-0.8, {-1.0, 1.5, 15}},
    {-1.0, {-1.2, 1.7, 17}},   {-1.2, {-1.4, 1.9, 18}},   {-1.4, {-1.6, 2.1, 21}},
    {-1.6, {-1.8, 2.3, 22}},   {-1.8, {-2.0, 2.5, 25}},   {-2.0, {-2.2, 2.7, 27}},
    {-2.2, {-2.4, 2.9, 28}},   {-2.4, {-2.6, 3.1, 31}},   {-2.6, {-2.8, 3.3, 32}},
    {-2.8, {-3.0, 3.5, 35}},   {-3.0, {-3.2, 3.7, 37}},   {-3.25, {-3.5, 4.0, 40}},
    {-3.5, {-3.8, 4.3, 42}},
};
constexpr CpAxis kWidestAxis{-5.0, 5.5, 55};
// The largest Cp the axis reaches down to.
constexpr double kMaxAxisBottom = 3.0;

// Text line height assumed for the annotations, and their colour (the Cp
// labels are "Black").
constexpr int kLine = 16;
// Pixels at the right kept for the labels of the dCp axis.
constexpr int kResidualLabels = 48;
constexpr const char* kNoteColor = "gray15";
// The change design - initial Cp and its axis.
constexpr const char* kDeltaColor = "DarkViolet";

// The shared builder with the plot's transform, for segments between
// (chord, Cp) points.
class Painter : public PrimitiveBuilder {
public:
    Painter(std::vector<PlotPrimitive>& out, const PlotTransform& t) : PrimitiveBuilder(out), t_(t) {}

    void dataSegment(double xa, double ca, double xb, double cb) {
        segment(t_.columnOf(xa), t_.rowOf(ca), t_.columnOf(xb), t_.rowOf(cb));
    }
    const PlotTransform& transform() const { return t_; }

private:
    const PlotTransform& t_;
};

// Section k's Cp of one grid as a column read by contour index.
struct Column {
    const Grid<double>& grid;
    int k;
    double operator[](int i) const { return grid[i][k]; }
};

// Segments between consecutive points first .. end-1.
void polyline(Painter& p, Column X, Column c, int first, int end, bool dashed,
              const char* color) {
    p.dashed(dashed);
    p.color(color);
    for (int i = first; i + 1 < end; ++i) p.dataSegment(X[i], c[i], X[i + 1], c[i + 1]);
    p.dashed(false);
}

// A cross on each point first .. end-1; the vertical arm is scaled by the
// canvas's aspect so the crosses look square on the data.
void crosses(Painter& p, Column X, Column c, int first, int end, double aspect, bool small,
             const char* color) {
    const double h = small ? 2.0 : 4.0;
    p.color(color);
    const PlotTransform& t = p.transform();
    for (int i = first; i < end; ++i) {
        const double col = t.columnOf(X[i]);
        const double row = t.rowOf(c[i]);
        p.segment(col - h, row, col + h, row);
        p.segment(col, row - h * aspect, col, row + h * aspect);
    }
}

// The interval strip of the surface being edited, joined to the initial Cp
// at both ends.
void intervalBox(Painter& p, Column X, Column cpInit, int first, int last, double level,
                 double height) {
    const PlotTransform& t = p.transform();
    const double xa = t.columnOf(X[first]), xb = t.columnOf(X[last]);
    const double ya = t.rowOf(level), yb = t.rowOf(level + height);
    p.color("Black");
    p.segment(xa, ya, xa, t.rowOf(cpInit[first]));
    p.segment(xb, ya, xb, t.rowOf(cpInit[last]));
    p.color("Red");
    p.segment(xa, ya, xb, ya);
    p.segment(xb, ya, xb, yb);
    p.segment(xb, yb, xa, yb);
    p.segment(xa, yb, xa, ya);
    p.color("Black");
}

std::string axisLabel(double v) {
    std::string s = formatFixed(v, 1);
    // Sums of tenths can land a hair below zero; the label is still zero.
    if (s == "-0.0") s = "0.0";
    return s;
}

}  // namespace

CpAxis cpAxisFor(double minimumCp) {
    for (const AxisRow& row : kAxisTable)
        if (minimumCp > row.above) return row.axis;
    return kWidestAxis;
}

CpAxis cpAxisFor(double minimumCp, double maximumCp) {
    CpAxis axis = cpAxisFor(minimumCp);
    // Below +0.5 by whole steps, up to a bound that keeps the grid drawable.
    const double below = std::min(maximumCp, kMaxAxisBottom) - (axis.lower + axis.span);
    if (below > 1e-9) {
        const int steps = int(std::ceil(below / 0.1 - 1e-9));
        axis.span += 0.1 * steps;
        axis.gridCount += steps;
    }
    return axis;
}

SonicScan scanSection(const WingModel& w, int k, double sonic) {
    // Only the points of the rows: with an odd count the last index is empty.
    const int top = 2 * w.nhalf - 1;
    SonicScan scan{w.cpInit[1][k], -1};
    for (int i = top; i >= 3; --i) {
        const double a = w.cpInit[i - 1][k] - sonic;
        const double b = w.cpInit[i][k] - sonic;
        if (a * b < 0 && scan.crossing < 0) scan.crossing = i;
        scan.minimum = std::min(scan.minimum, w.cpInit[i][k]);
    }
    return scan;
}

void addControlPoints(const WingModel& w, int k, const PlotTransform& t, int selectedControlPoint,
                      std::vector<PlotPrimitive>& out) {
    Painter p(out, t);
    if (k < 0 || k >= w.nsec) return;
    const int s = w.activeSurface[k];
    const int count = std::min(w.nspl[k][s], WingModel::nsplMax);
    // A white disc in a thick ring, so that the points stand out from the
    // crosses of a dense section; the ring is what a press picks.
    const int r = controlPointRadius, d = 2 * controlPointRadius;
    p.width(2);
    for (int j = 0; j < count; ++j) {
        const double col = t.columnOf(w.splX[j][k][s]) - r, row = t.rowOf(w.splY[j][k][s]) - r;
        p.color("White");
        p.disc(col, row, d, d);
        p.color(j == selectedControlPoint ? "Red" : "Blue");
        p.ellipse(col, row, d, d);
    }
    p.width(1);
}

namespace {

// Smallest and largest finite Cp of rows first..end-1 of a column.
void extend(double& lo, double& hi, const Grid<double>& g, int k, int first, int end) {
    for (int i = first; i < end; ++i) {
        const double c = g[i][k];
        if (!std::isfinite(c)) continue;
        lo = std::min(lo, c);
        hi = std::max(hi, c);
    }
}

// Under the wing title: the section's number in the file, Z, Mach.
std::string sectionLine(const WingModel& w, int k, double mach) {
    return "Section " + std::to_string(std::int64_t(w.KTE1) + k) + "   Z = " + formatFixed(w.Z[k], 4) +
           "   Mach = " + formatFixed(mach, 3);
}

// What the plot shows of the editing, for a legend that names it.
struct MarksDrawn {
    bool sonic = false;           // the Cp* level
    int intervalSurface = -1;     // the interval box, of this surface
    bool controlPoints = false;   // the spline's control points
    bool pickedControlPoint = false;
    bool selectedPoint = false;
    bool shocks = false;          // a shock's marker
    double sonicLevel = 0.0;
};

// The legend box at the top right of the data: a sample of each line and
// what it is, of the comparison's curves when there is one, and of each
// mark drawn when marks is given.
void legend(Painter& p, const WingModel& w, int k, int width, const MarksDrawn* marks, bool target) {
    enum class Sample { Line, Cross, Box, Ring, BoldCross };
    struct Entry {
        const char* color;
        bool dashed;
        Sample sample;
        std::string text;
    };
    const std::string number = std::to_string(std::int64_t(w.KTE1) + k);
    std::vector<Entry> entries = {{"Black", false, Sample::Line, "initial Cp, section " + number},
                                  {"Black", false, Sample::Cross, "design Cp, section " + number}};
    if (target) {
        entries.push_back({kTargetColor, true, Sample::Line, "target Cp"});
        entries.push_back({kResidualColor, false, Sample::Line, "dCp = initial - target"});
    }
    if (k > 0)
        entries.push_back({"Green", true, Sample::Line, "section " + std::to_string(std::int64_t(w.KTE1) + k - 1)});
    if (k + 1 < w.nsec)
        entries.push_back({"Green", false, Sample::Line, "section " + std::to_string(std::int64_t(w.KTE1) + k + 1)});
    if (marks) {
        if (marks->sonic) entries.push_back({"Black", false, Sample::Line, "Cp* = " + formatFixed(marks->sonicLevel, 3)});
        if (marks->intervalSurface >= 0)
            entries.push_back({"Red", false, Sample::Box,
                               std::string("interval, ") + (marks->intervalSurface == 0 ? "upper" : "lower") +
                                   " surface"});
        if (marks->controlPoints) entries.push_back({"Blue", false, Sample::Ring, "spline control points"});
        if (marks->pickedControlPoint) entries.push_back({"Red", false, Sample::Ring, "picked control point"});
        if (marks->selectedPoint) entries.push_back({"Red", false, Sample::BoldCross, "selected point"});
        if (marks->shocks) entries.push_back({"Blue", false, Sample::Line, "shock and its M1 (red from 1.30)"});
    }
    const int boxWidth = marks ? 200 : 180;
    // Left of the dCp axis's labels when there is one.
    const int x0 = std::max(0, width - boxWidth - (target ? kResidualLabels : 4)), y0 = kPlotTopMargin + 4;
    const int boxHeight = int(entries.size()) * kLine + 6;
    p.color("White");
    p.fill(x0, y0, boxWidth, boxHeight);
    p.color(kNoteColor);
    p.segment(x0, y0, x0 + boxWidth, y0);
    p.segment(x0 + boxWidth, y0, x0 + boxWidth, y0 + boxHeight);
    p.segment(x0 + boxWidth, y0 + boxHeight, x0, y0 + boxHeight);
    p.segment(x0, y0 + boxHeight, x0, y0);
    for (std::size_t n = 0; n < entries.size(); ++n) {
        const Entry& e = entries[n];
        const double y = y0 + 3 + kLine * (double(n) + 0.5);
        p.color(e.color);
        switch (e.sample) {
        case Sample::Cross:
            p.segment(x0 + 16, y - 4, x0 + 16, y + 4);
            p.segment(x0 + 12, y, x0 + 20, y);
            break;
        case Sample::BoldCross:
            p.width(2);
            p.segment(x0 + 17, y - 5, x0 + 17, y + 5);
            p.segment(x0 + 12, y, x0 + 22, y);
            p.width(1);
            break;
        case Sample::Box:
            p.segment(x0 + 6, y - 4, x0 + 28, y - 4);
            p.segment(x0 + 28, y - 4, x0 + 28, y + 4);
            p.segment(x0 + 28, y + 4, x0 + 6, y + 4);
            p.segment(x0 + 6, y + 4, x0 + 6, y - 4);
            break;
        case Sample::Ring:
            p.width(2);
            p.ellipse(x0 + 17 - controlPointRadius, y - controlPointRadius, 2 * controlPointRadius,
                      2 * controlPointRadius);
            p.width(1);
            break;
        case Sample::Line:
            p.dashed(e.dashed);
            p.segment(x0 + 6, y, x0 + 28, y);
            p.dashed(false);
            break;
        }
        p.color(kNoteColor);
        p.text(x0 + 34, y + 5, e.text);
    }
}

struct PlotOptions {
    bool editingMarks = true;  // interval box, selected point, control points
    bool markLegend = false;   // the legend names the marks drawn
    ShockRule shockRule;       // finds the shocks marked
    const SectionComparison* comparison = nullptr;  // the target and residual drawn
    bool deltaCp = false;                            // design - initial on its own axis
    const DeltaCpAxis* keepDeltaAxis = nullptr;      // that axis held during a drag
};

CpPlot buildPlot(const WingModel& w, int k, double mach, int width, int height, int selectedControlPoint,
                 const PlotZoom& zoom, const CpAxis* keepAxis, const PlotOptions& options);

}  // namespace

std::string shockLabel(const Shock& shock) { return "M1 " + formatFixed(shock.m1, 2); }

ResidualAxis residualAxisFor(const SectionComparison& comparison) {
    double largest = 0.0;
    for (const SurfaceComparison& c : comparison.surfaces)
        if (std::isfinite(c.maxAbs)) largest = std::max(largest, c.maxAbs);
    // Never finer than 0.01 a step: a target met to the file's last digits
    // is met.
    ResidualAxis axis;
    axis.step = std::max(niceStep(largest, 2), 0.01);
    axis.bound = std::max(1, int(std::ceil(largest / axis.step - 1e-9))) * axis.step;
    return axis;
}

DeltaCpAxis deltaCpAxisFor(const WingModel& w, int k) {
    double lo = 0.0, hi = 0.0;
    for (int i = 0; i < 2 * w.nhalf; ++i) {
        const double d = w.cpDes[i][k] - w.cpInit[i][k];
        if (!std::isfinite(d)) continue;
        lo = std::min(lo, d);
        hi = std::max(hi, d);
    }
    const int a = activeSurfaceOf(w, k);
    if (inSplineEditing(w, k, a) && w.shapeOn[k][a] == 1)
        for (int j = 0; j < std::min(w.nspl[k][a], WingModel::nsplMax); ++j)
            if (std::isfinite(w.splY[j][k][a])) lo = std::min(lo, w.splY[j][k][a]), hi = std::max(hi, w.splY[j][k][a]);
    // Room around the change, and never less than a small span: no change
    // still shows an axis.
    const double span = std::max(hi - lo, 0.05);
    DeltaCpAxis axis;
    axis.step = niceStep(1.2 * span, 6);
    axis.lower = std::min(-axis.step, std::floor(lo / axis.step - 0.1) * axis.step);
    axis.upper = std::max(axis.step, std::ceil(hi / axis.step + 0.1) * axis.step);
    return axis;
}

namespace {

// A shock's bar over its jump, its M1 written row pixels from its start
// (from its end when row is positive).
void shockMarker(Painter& p, const Shock& shock, int row, const std::string& prefix) {
    const PlotTransform& t = p.transform();
    const double col = t.columnOf(shock.x);
    p.color(shock.m1 >= kSeparationM1 ? "Red" : "Blue");
    p.width(3);
    p.segment(col, t.rowOf(shock.cpBefore), col, t.rowOf(shock.cpAfter));
    p.segment(col - 4, t.rowOf(shock.cpBefore), col + 4, t.rowOf(shock.cpBefore));
    p.width(1);
    p.text(col - 20, t.rowOf(row > 0 ? shock.cpAfter : shock.cpBefore) + row, prefix + shockLabel(shock));
}

// The target dashed over its interval, its shocks and those of the initial
// Cp, and the residual on the dCp axis: the surface being edited solid, the
// other dashed, as the Cp curves are.
void drawComparison(Painter& p, const WingModel& w, int k, double mach, const ShockRule& rule,
                    const SectionComparison& comparison, int height) {
    const PlotTransform& t = p.transform();
    const ResidualAxis axis = residualAxisFor(comparison);
    const double top = kPlotTopMargin, bottom = height - kPlotBottomMargin, middle = (top + bottom) / 2;
    auto rowOf = [&](double r) { return middle + r / axis.bound * (bottom - top) / 2; };
    p.color(kResidualColor);
    p.dashed(true);
    p.segment(t.columnOf(0.0), middle, t.columnOf(1.0), middle);
    p.dashed(false);
    for (const SurfaceComparison& c : comparison.surfaces) {
        const bool other = c.surface != w.activeSurface[k];
        p.color(kTargetColor);
        p.width(2);
        p.dashed(true);
        for (std::size_t j = 0; j + 1 < c.targetX.size(); ++j)
            p.dataSegment(c.targetX[j], c.targetCp[j], c.targetX[j + 1], c.targetCp[j + 1]);
        p.width(1);
        p.color(kResidualColor);
        p.dashed(other);
        for (std::size_t j = 0; j + 1 < c.x.size(); ++j)
            p.segment(t.columnOf(c.x[j]), rowOf(c.residual[j]), t.columnOf(c.x[j + 1]), rowOf(c.residual[j + 1]));
        p.dashed(false);
        for (std::size_t j = 0; j < c.x.size(); ++j) p.disc(t.columnOf(c.x[j]) - 2, rowOf(c.residual[j]) - 2, 5, 5);
        for (const Shock& shock : findShocks(c.targetX, c.targetCp, mach, rule))
            shockMarker(p, shock, -20, "target ");
        // Where the design Cp is the initial Cp its marker is there already.
        const std::vector<Shock> design = sectionShocks(w, k, c.surface, CpSource::Design, rule);
        for (const Shock& shock : sectionShocks(w, k, c.surface, CpSource::Initial, rule)) {
            const bool drawn = std::any_of(design.begin(), design.end(), [&](const Shock& d) {
                return d.x == shock.x && d.cpBefore == shock.cpBefore && d.cpAfter == shock.cpAfter;
            });
            if (!drawn) shockMarker(p, shock, 14, "initial ");
        }
    }
}

// The dCp axis at the right edge, its values every step.
void residualAxisLabels(Painter& p, const SectionComparison& comparison, int width, int height) {
    const ResidualAxis axis = residualAxisFor(comparison);
    const double top = kPlotTopMargin, bottom = height - kPlotBottomMargin, middle = (top + bottom) / 2;
    auto rowOf = [&](double r) { return middle + r / axis.bound * (bottom - top) / 2; };
    const int labels = std::max(0, width - kResidualLabels + 4);
    p.color(kResidualColor);
    p.segment(labels - 2, top, labels - 2, bottom);
    const int steps = int(std::lround(axis.bound / axis.step));
    const int decimals = std::clamp(int(-std::floor(std::log10(axis.step) + 1e-9)), 0, 6);
    for (int i = -steps; i <= steps; ++i) {
        const double r = i * axis.step, row = rowOf(r);
        p.segment(labels - 6, row, labels + 2, row);
        p.text(labels + 2, row + 5, formatFixed(r, decimals));
    }
    p.text(labels - 14, 2 * kLine + 2, "dCp");
}

// The change design - initial Cp of section k on its own axis at the right:
// a zero line, the surface edited solid and the other dashed, the labels of
// the axis and, while "Shape the change" is on, its control points.
void drawDeltaCp(CpPlot& plot, const WingModel& w, int k, int height, int selectedControlPoint,
                 const DeltaCpAxis* keepAxis) {
    plot.deltaAxis = keepAxis ? *keepAxis : deltaCpAxisFor(w, k);
    const DeltaCpAxis& axis = plot.deltaAxis;
    PlotTransform& d = plot.deltaTransform;
    d = plot.transform;
    d.plotScaleCp = std::max(1, height - kPlotTopMargin - kPlotBottomMargin) / (axis.upper - axis.lower);
    d.plotOriginCp = axis.lower - kPlotTopMargin / d.plotScaleCp;
    plot.deltaShown = true;
    Painter q(plot.primitives, d);
    q.color(kDeltaColor);
    q.dashed(true);
    q.dataSegment(0.0, 0.0, 1.0, 0.0);
    q.dashed(false);
    const int a = activeSurfaceOf(w, k);
    const int nh = w.nhalf;
    for (int s = 0; s < 2; ++s) {
        // Contour indices of surface s: the upper surface nh .. 2nh-1, the lower 0 .. nh-1.
        const int first = s == 0 ? nh : 0, end = s == 0 ? 2 * nh : nh;
        q.dashed(s != a);
        q.width(s == a ? 2 : 1);
        for (int i = first; i + 1 < end; ++i)
            q.dataSegment(w.X[i][k], w.cpDes[i][k] - w.cpInit[i][k], w.X[i + 1][k],
                          w.cpDes[i + 1][k] - w.cpInit[i + 1][k]);
    }
    q.dashed(false);
    q.width(1);
    if (!inSplineEditing(w, k, a) || w.shapeOn[k][a] != 1) return;
    // The change being shaped, design Cp less the Cp it is added to, thin
    // through its control points: where the design Cp already differed from
    // the initial one, the curve above lies beside it.
    const std::vector<double>& base = w.shapeBase[k][a];
    if (base.size() == std::size_t(w.npt)) {
        const std::vector<int> inside = intervalIndices(w, k, a);
        q.dashed(true);
        for (std::size_t n = 0; n + 1 < inside.size(); ++n) {
            const int i = inside[n], j = inside[n + 1];
            q.dataSegment(w.X[i][k], w.cpDes[i][k] - base[std::size_t(i)], w.X[j][k], w.cpDes[j][k] - base[std::size_t(j)]);
        }
        q.dashed(false);
    }
    addControlPoints(w, k, d, selectedControlPoint, plot.primitives);
}

// The ΔCp axis's labels and title in the right margin.
void deltaCpLabels(Painter& p, const CpPlot& plot, int width, int height) {
    const DeltaCpAxis& axis = plot.deltaAxis;
    const PlotTransform& d = plot.deltaTransform;
    p.color("White");
    p.fill(width - kDeltaLabels, kPlotTopMargin, kDeltaLabels, height - kPlotTopMargin - kPlotBottomMargin);
    p.color(kDeltaColor);
    const int decimals = axis.step >= 0.1 ? 1 : axis.step >= 0.01 ? 2 : 3;
    const int x = width - kDeltaLabels + 6;
    p.segment(x - 3, d.rowOf(axis.lower), x - 3, d.rowOf(axis.upper));
    for (int i = 0; axis.lower + i * axis.step <= axis.upper + axis.step / 2; ++i) {
        const double v = axis.lower + i * axis.step;
        const double row = d.rowOf(v);
        p.segment(x - 6, row, x - 3, row);
        std::string label = formatFixed(std::fabs(v) < axis.step / 2 ? 0.0 : v, decimals);
        p.text(x, row + 5, label);
    }
    p.text(width - kDeltaLabels + 4, 2 * kLine + 2, "ΔCp");
}

}  // namespace

CpPlot buildCpPlot(const WingModel& w, int k, double mach, int width, int height, int selectedControlPoint,
                   const PlotZoom& zoom, const CpAxis* keepAxis, const ShockRule& shockRule,
                   const SectionComparison* comparison, bool deltaCp, const DeltaCpAxis* keepDeltaAxis) {
    PlotOptions options;
    options.shockRule = shockRule;
    options.comparison = comparison;
    options.deltaCp = deltaCp;
    options.keepDeltaAxis = keepDeltaAxis;
    return buildPlot(w, k, mach, width, height, selectedControlPoint, zoom, keepAxis, options);
}

CpPlot buildCpFigure(const WingModel& w, int k, double mach, int width, int height, int selectedControlPoint,
                     FigureMarks marks) {
    PlotOptions options;
    options.editingMarks = marks == FigureMarks::Editing;
    options.markLegend = true;
    return buildPlot(w, k, mach, width, height, selectedControlPoint, PlotZoom{}, nullptr, options);
}

namespace {

CpPlot buildPlot(const WingModel& w, int k, double mach, int width, int height, int selectedControlPoint,
                 const PlotZoom& zoom, const CpAxis* keepAxis, const PlotOptions& options) {
    CpPlot plot;
    MarksDrawn marks;
    Painter p(plot.primitives, plot.transform);
    p.color("White");
    p.fill(0, 0, width, height);
    if (w.empty() || k < 0 || k >= w.nsec) return plot;
    plot.CYD = designLift(w, k);
    if (width <= 0 || height <= 0) return plot;

    const int rows = 2 * w.nhalf;  // contour indices that hold a row
    const double sonic = sonicCp(mach);
    const SonicScan scan = scanSection(w, k, sonic);
    // The axis covers every Cp shown: both curves of the section and of its
    // neighbours, and the control points being edited.
    double lo = scan.minimum, hi = scan.minimum;
    for (int sec = std::max(k - 1, 0); sec <= std::min(k + 1, w.nsec - 1); ++sec) {
        extend(lo, hi, w.cpInit, sec, 0, rows);
        extend(lo, hi, w.cpDes, sec, 0, rows);
    }
    const int a = activeSurfaceOf(w, k);
    const bool shaping = inSplineEditing(w, k, a) && w.shapeOn[k][a] == 1;
    const bool delta = options.deltaCp || shaping;
    if (inSplineEditing(w, k, a) && !shaping)
        for (int j = 0; j < std::min(w.nspl[k][a], WingModel::nsplMax); ++j)
            if (std::isfinite(w.splY[j][k][a])) lo = std::min(lo, w.splY[j][k][a]), hi = std::max(hi, w.splY[j][k][a]);
    plot.axis = keepAxis ? *keepAxis : cpAxisFor(std::isfinite(lo) ? lo : scan.minimum, hi);
    const CpAxis& axis = plot.axis;
    const double bottom = axis.lower + axis.span;

    PlotTransform& t = plot.transform;
    // The ΔCp axis's labels take a strip at the right, and the residual's
    // axis beside it one more.
    const int strips = delta ? kDeltaLabels + (options.comparison ? kResidualLabels : 0) : 0;
    t.plotScaleX = delta ? std::min(0.89 * width, (width - strips - 6) / 1.1) : 0.89 * width;
    t.plotScaleCp = std::max(1, height - kPlotTopMargin - kPlotBottomMargin) / (axis.span + 0.02);
    t.plotOriginX = -0.1;
    t.plotOriginCp = axis.lower - 0.01 - kPlotTopMargin / t.plotScaleCp;
    t = zoom.apply(t, width, height);
    const double aspect = double(height) / double(width);

    // Grid.
    p.color("Orange");
    p.dashed(true);
    for (int i = 0; i <= 10; ++i) {
        const double x = i * 0.1 + 0.0;
        p.dataSegment(x, bottom, x, axis.lower);
    }
    for (int i = 0; i <= axis.gridCount; ++i) {
        const double c = axis.lower + i * 0.1;
        p.dataSegment(1.0, c, 0.0, c);
    }

    p.dashed(false);
    double labelColumn = t.columnOf(-0.065);
    if (!zoom.fitted()) labelColumn = std::clamp(labelColumn, 2.0, std::max(2.0, width - 40.0));

    // Sonic level, from four points before the crossing to one after it.
    marks.sonicLevel = sonic;
    if (scan.crossing >= 0) {
        marks.sonic = true;
        const int a = std::max(scan.crossing - 4, 0);
        const int b = std::min(scan.crossing + 1, rows - 1);
        p.color("Black");
        p.dataSegment(w.X[a][k], sonic, w.X[b][k], sonic);
    }

    // The neighbours first, so that the current section is drawn over them:
    // the previous section dashed, the next one solid.
    if (k > 0) {
        polyline(p, Column{w.X, k - 1}, Column{w.cpInit, k - 1}, 1, rows, true, "Green");
        polyline(p, Column{w.X, k - 1}, Column{w.cpDes, k - 1}, 1, rows, true, "Green");
    }
    if (k + 1 < w.nsec) {
        polyline(p, Column{w.X, k + 1}, Column{w.cpInit, k + 1}, 0, rows, false, "Green");
        polyline(p, Column{w.X, k + 1}, Column{w.cpDes, k + 1}, 0, rows, false, "Green");
    }

    // Current section: the surface being edited solid with large crosses.
    const Column init{w.cpInit, k}, des{w.cpDes, k};
    const int nh = w.nhalf;
    if (w.activeSurface[k] == 0) {
        polyline(p, Column{w.X, k}, init, 0, nh, true, "Black");
        crosses(p, Column{w.X, k}, des, 0, nh, aspect, true, "Black");
        polyline(p, Column{w.X, k}, init, nh, rows, false, "Black");
        crosses(p, Column{w.X, k}, des, nh, rows, aspect, false, "Black");
    } else {
        polyline(p, Column{w.X, k}, init, nh, rows, true, "Black");
        crosses(p, Column{w.X, k}, des, nh, rows, aspect, true, "Black");
        polyline(p, Column{w.X, k}, init, 0, nh, false, "Black");
        crosses(p, Column{w.X, k}, des, 0, nh, aspect, false, "Black");
    }

    // Interval box and selected point of the surface being edited.
    const bool upper = w.activeSurface[k] == 0;
    if (options.editingMarks) {
        marks.intervalSurface = upper ? 0 : 1;
        if (upper)
            intervalBox(p, Column{w.X, k}, init, w.u1[k] - 1, w.u2[k] - 1, axis.lower, 0.01);
        else
            intervalBox(p, Column{w.X, k}, init, w.l1[k] - 1, w.l2[k] - 1, 0.5, -0.01);
        const int selected = (upper ? w.upperPoint[k] : w.lowerPoint[k]) - 1;
        if (selected >= 0 && selected < rows) {
            marks.selectedPoint = true;
            const double col = t.columnOf(w.X[selected][k]);
            const double row = t.rowOf(w.cpDes[selected][k]);
            p.color("Red");
            p.width(2);
            p.segment(col - 5, row, col + 5, row);
            p.segment(col, row - 5 * aspect, col, row + 5 * aspect);
            p.width(1);
        }
        if (inSplineEditing(w, k, a) && !shaping) {
            marks.controlPoints = true;
            marks.pickedControlPoint =
                selectedControlPoint >= 0 && selectedControlPoint < std::min(w.nspl[k][a], WingModel::nsplMax);
            addControlPoints(w, k, t, selectedControlPoint, plot.primitives);
        }
    }
    if (delta) drawDeltaCp(plot, w, k, height, selectedControlPoint, options.keepDeltaAxis);

    // Each shock of the design Cp: a bar over its jump and its M1 above it.
    for (int s = 0; s < 2; ++s)
        for (const Shock& shock : sectionShocks(w, k, s, CpSource::Design, options.shockRule)) {
            shockMarker(p, shock, -6, "");
            marks.shocks = true;
        }
    if (options.comparison) drawComparison(p, w, k, mach, options.shockRule, *options.comparison, height);

    // The margins, whatever a zoomed view drew into them, with the titles,
    // the chord labels and the legend.
    p.color("White");
    p.fill(0, 0, width, kPlotTopMargin);
    p.fill(0, height - kPlotBottomMargin, width, kPlotBottomMargin);
    // Cp labels centred on their grid lines; a zoomed view keeps them at its
    // left edge.
    // Every grid line while they are far enough apart, else every second or fifth.
    p.color("Black");
    const double spacing = 0.1 * t.plotScaleCp;
    const int every = spacing >= 13 ? 1 : 2 * spacing >= 13 ? 2 : 5;
    for (int i = 0; i <= axis.gridCount; ++i) {
        const double v = i * 0.1 + axis.lower;
        if (std::lround(v * 10) % every != 0) continue;
        const double row = t.rowOf(v) + 5;
        if (row >= kPlotTopMargin + 2 && row <= height - kPlotBottomMargin + 8) p.text(labelColumn, row, axisLabel(v));
    }
    p.color(kNoteColor);
    p.text(6, kLine - 2, w.title);
    p.text(std::max(2.0, labelColumn), 2 * kLine + 2, "Cp");
    p.text(std::max(2.0, labelColumn) + 40, 2 * kLine + 2, sectionLine(w, k, mach));
    for (int i = 0; i <= 10; ++i) {
        const double col = t.columnOf(0.1 * i);
        if (col >= 0 && col <= width - 20) p.text(col - 9, height - 4, axisLabel(0.1 * i));
    }
    p.text(std::max(2.0, labelColumn), height - 4, "x/c");
    if (options.comparison) residualAxisLabels(p, *options.comparison, delta ? width - kDeltaLabels : width, height);
    if (delta) deltaCpLabels(p, plot, width, height);
    legend(p, w, k, delta ? width - kDeltaLabels : width, options.markLegend ? &marks : nullptr,
           options.comparison != nullptr);
    return plot;
}

}  // namespace

}  // namespace quarvel
