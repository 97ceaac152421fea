#include "plot/CpPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "correction/Editing.h"
#include "wing/Numbers.h"

namespace quarvel {

double niceStep(double span, int count) {
    if (!(span > 0.0) || !std::isfinite(span)) return 1.0;
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (raw <= m * power) return m * power;
    return 10.0 * power;
}

PlotPrimitive PlotPrimitive::background(int width, int height) {
    PlotPrimitive p;
    p.kind = Fill;
    p.color = "White";
    p.x2 = width;
    p.y2 = height;
    return p;
}

PlotPrimitive PlotPrimitive::line(int x1, int y1, int x2, int y2, int rgb, int lineWidth, bool dashed) {
    PlotPrimitive p;
    p.rgb = rgb;
    p.lineWidth = lineWidth;
    p.dashed = dashed;
    p.x1 = x1;
    p.y1 = y1;
    p.x2 = x2;
    p.y2 = y2;
    return p;
}

PlotPrimitive PlotPrimitive::label(int x, int y, std::string text, int rgb) {
    PlotPrimitive p;
    p.kind = Text;
    p.rgb = rgb;
    p.x1 = x;
    p.y1 = y;
    p.text = std::move(text);
    return p;
}

namespace {

// Pixels are kept within +-kPixelLimit, which a window system can draw.
constexpr double kPixelLimit = 30000.0;

// Cuts a segment to the square of drawable pixels, so that one that reaches
// far outside a zoomed canvas keeps its slope. False, leaving the ends alone,
// when no part of it lies inside.
bool clipToPixelLimit(double& x1, double& y1, double& x2, double& y2) {
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 + kPixelLimit, kPixelLimit - x1, y1 + kPixelLimit, kPixelLimit - y1};
    double t0 = 0.0, t1 = 1.0;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1) return false;
    }
    x2 = x1 + t1 * dx;
    y2 = y1 + t1 * dy;
    x1 += t0 * dx;
    y1 += t0 * dy;
    return true;
}

}  // namespace

int toPixel(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::clamp(v, -kPixelLimit, kPixelLimit));
}

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
constexpr const char* kNoteColor = "gray15";
// The change design - initial Cp and its axis.
constexpr const char* kDeltaColor = "DarkViolet";

// Collects the primitives with the pen state of the device context.
class Painter {
public:
    Painter(std::vector<PlotPrimitive>& out, const PlotTransform& t) : out_(out), t_(t) {}

    void color(const char* name) { color_ = name; }
    void dashed(bool on) { dashed_ = on; }
    void width(int w) { width_ = w; }

    void segment(double x1, double y1, double x2, double y2) {
        const bool finite = std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2);
        if (finite && std::max({std::fabs(x1), std::fabs(y1), std::fabs(x2), std::fabs(y2)}) > kPixelLimit)
            clipToPixelLimit(x1, y1, x2, y2);
        PlotPrimitive p;
        p.kind = PlotPrimitive::Segment;
        p.color = color_;
        p.dashed = dashed_;
        p.lineWidth = width_;
        p.x1 = toPixel(x1);
        p.y1 = toPixel(y1);
        p.x2 = toPixel(x2);
        p.y2 = toPixel(y2);
        out_.push_back(std::move(p));
    }
    // A segment between two (chord, Cp) points.
    void dataSegment(double xa, double ca, double xb, double cb) {
        segment(t_.columnOf(xa), t_.rowOf(ca), t_.columnOf(xb), t_.rowOf(cb));
    }
    void fill(int x, int y, int w, int h) { push(PlotPrimitive::Fill, x, y, w, h); }
    void ellipse(double x, double y, int w, int h) { push(PlotPrimitive::Ellipse, toPixel(x), toPixel(y), w, h); }
    void disc(double x, double y, int w, int h) { push(PlotPrimitive::FilledEllipse, toPixel(x), toPixel(y), w, h); }
    void text(double x, double y, std::string s) {
        push(PlotPrimitive::Text, toPixel(x), toPixel(y), 0, 0);
        out_.back().text = std::move(s);
    }

    const PlotTransform& transform() const { return t_; }

private:
    void push(PlotPrimitive::Kind kind, int x, int y, int w, int h) {
        PlotPrimitive p;
        p.kind = kind;
        p.color = color_;
        p.lineWidth = width_;
        p.x1 = x;
        p.y1 = y;
        p.x2 = w;
        p.y2 = h;
        out_.push_back(std::move(p));
    }

    std::vector<PlotPrimitive>& out_;
    const PlotTransform& t_;
    const char* color_ = "Black";
    bool dashed_ = false;
    int width_ = 1;
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

void addControlPoints(const WingModel& w, const PlotTransform& t, int selectedControlPoint,
                      std::vector<PlotPrimitive>& out) {
    Painter p(out, t);
    const int k = w.curSection - 1;
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

// The legend box at the top right of the data: a sample of each line and
// what it is.
void legend(Painter& p, const WingModel& w, int k, int width) {
    struct Entry {
        const char* color;
        bool dashed, cross;
        std::string text;
    };
    const std::string number = std::to_string(std::int64_t(w.KTE1) + k);
    std::vector<Entry> entries = {{"Black", false, false, "initial Cp, section " + number},
                                  {"Black", false, true, "design Cp, section " + number}};
    if (k > 0) entries.push_back({"Green", true, false, "section " + std::to_string(std::int64_t(w.KTE1) + k - 1)});
    if (k + 1 < w.nsec)
        entries.push_back({"Green", false, false, "section " + std::to_string(std::int64_t(w.KTE1) + k + 1)});
    const int boxWidth = 180;
    const int x0 = std::max(0, width - boxWidth - 4), y0 = kPlotTopMargin + 4;
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
        if (e.cross) {
            p.segment(x0 + 16, y - 4, x0 + 16, y + 4);
            p.segment(x0 + 12, y, x0 + 20, y);
        } else {
            p.dashed(e.dashed);
            p.segment(x0 + 6, y, x0 + 28, y);
            p.dashed(false);
        }
        p.color(kNoteColor);
        p.text(x0 + 34, y + 5, e.text);
    }
}

}  // namespace

std::string shockLabel(const Shock& shock) { return "M1 " + formatFixed(shock.m1, 2); }

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
    addControlPoints(w, d, selectedControlPoint, plot.primitives);
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

CpPlot buildCpPlot(const WingModel& w, double mach, int width, int height, int selectedControlPoint,
                  const PlotZoom& zoom, const CpAxis* keepAxis, const ShockRule& shockRule, bool deltaCp,
                  const DeltaCpAxis* keepDeltaAxis) {
    CpPlot plot;
    Painter p(plot.primitives, plot.transform);
    p.color("White");
    p.fill(0, 0, width, height);
    if (w.empty()) return plot;
    const int k = w.curSection - 1;
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
    const bool delta = deltaCp || shaping;
    if (inSplineEditing(w, k, a) && !shaping)
        for (int j = 0; j < std::min(w.nspl[k][a], WingModel::nsplMax); ++j)
            if (std::isfinite(w.splY[j][k][a])) lo = std::min(lo, w.splY[j][k][a]), hi = std::max(hi, w.splY[j][k][a]);
    plot.axis = keepAxis ? *keepAxis : cpAxisFor(std::isfinite(lo) ? lo : scan.minimum, hi);
    const CpAxis& axis = plot.axis;
    const double bottom = axis.lower + axis.span;

    PlotTransform& t = plot.transform;
    // The ΔCp axis's labels take a strip at the right.
    t.plotScaleX = delta ? std::min(0.89 * width, (width - kDeltaLabels - 6) / 1.1) : 0.89 * width;
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
    if (scan.crossing >= 0) {
        const int a = std::max(scan.crossing - 4, 0);
        const int b = std::min(scan.crossing + 1, rows - 1);
        p.color("Black");
        p.dataSegment(w.X[a][k], sonic, w.X[b][k], sonic);
    }

    // The neighbours first, so that the current section is drawn over them:
    // the previous section dashed, the next one solid.
    if (w.curSection > 1) {
        polyline(p, Column{w.X, k - 1}, Column{w.cpInit, k - 1}, 1, rows, true, "Green");
        polyline(p, Column{w.X, k - 1}, Column{w.cpDes, k - 1}, 1, rows, true, "Green");
    }
    if (w.curSection < w.nsec) {
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
    if (upper)
        intervalBox(p, Column{w.X, k}, init, w.u1[k] - 1, w.u2[k] - 1, axis.lower, 0.01);
    else
        intervalBox(p, Column{w.X, k}, init, w.l1[k] - 1, w.l2[k] - 1, 0.5, -0.01);
    const int selected = (upper ? w.upperPoint[k] : w.lowerPoint[k]) - 1;
    if (selected >= 0 && selected < rows) {
        const double col = t.columnOf(w.X[selected][k]);
        const double row = t.rowOf(w.cpDes[selected][k]);
        p.color("Red");
        p.width(2);
        p.segment(col - 5, row, col + 5, row);
        p.segment(col, row - 5 * aspect, col, row + 5 * aspect);
        p.width(1);
    }
    if (inSplineEditing(w, k, a) && !shaping) addControlPoints(w, t, selectedControlPoint, plot.primitives);
    if (delta) drawDeltaCp(plot, w, k, height, selectedControlPoint, keepDeltaAxis);

    // Each shock of the design Cp: a bar over its jump and its M1 above it.
    for (int s = 0; s < 2; ++s)
        for (const Shock& shock : sectionShocks(w, k, s, CpSource::Design, shockRule)) {
            const double col = t.columnOf(shock.x);
            p.color(shock.m1 >= kSeparationM1 ? "Red" : "Blue");
            p.width(2);
            p.segment(col, t.rowOf(shock.cpBefore), col, t.rowOf(shock.cpAfter));
            p.segment(col - 4, t.rowOf(shock.cpBefore), col + 4, t.rowOf(shock.cpBefore));
            p.width(1);
            p.text(col - 20, t.rowOf(shock.cpBefore) - 6, shockLabel(shock));
        }


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
    if (delta) deltaCpLabels(p, plot, width, height);
    legend(p, w, k, delta ? width - kDeltaLabels : width);
    return plot;
}

}  // namespace quarvel
