// The Cp plot's geometry, primitive by primitive, without a display.
#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "PanelTestWing.h"
#include "correction/Editing.h"
#include "plot/CpPlot.h"

using namespace quarvel;

namespace {

// X running 0 .. 1 evenly over the rows.
WingModel makeWing(int nhalf, int nsec, const std::function<double(int, int)>& cp, bool odd = false) {
    return test::rowWing(nhalf, nsec, [nhalf](int r) { return double(r) / (nhalf - 1); }, cp, odd);
}

// A section whose smallest initial Cp is m (at one upper point), else -0.1.
WingModel wingWithMinimum(double m) {
    return makeWing(10, 1, [m](int i, int) { return i == 14 ? m : -0.1; });
}

std::vector<const PlotPrimitive*> select(const CpPlot& plot, const char* color, bool dashed,
                                         PlotPrimitive::Kind kind = PlotPrimitive::Segment) {
    std::vector<const PlotPrimitive*> out;
    for (const auto& p : plot.primitives)
        if (p.kind == kind && std::string(p.color) == color && p.dashed == dashed) out.push_back(&p);
    return out;
}

}  // namespace

TEST(CpPlot, AxisRowsAtTheirStrictBoundaries) {
    struct Case { double minimum; double lower; int grid; const char* lastLabel; } cases[] = {
        {-0.39, -0.6, 11, "0.5"}, {-0.4, -0.8, 13, "0.5"},  {-1.1, -1.4, 18, "0.4"}, {-1.5, -1.8, 22, "0.4"},
        {-2.1, -2.4, 28, "0.4"},  {-2.5, -2.8, 32, "0.4"},  {-3.25, -3.8, 42, "0.4"}, {-3.3, -3.8, 42, "0.4"},
        {-3.5, -5.0, 55, "0.5"},  {-2.95, -3.2, 37, "0.5"},
    };
    for (const auto& c : cases) {
        const CpPlot plot = buildCpPlot(wingWithMinimum(c.minimum), 0, 0.5, 600, 1000, kNoControlPoint);
        EXPECT_DOUBLE_EQ(plot.axis.lower, c.lower) << "minimum " << c.minimum;
        EXPECT_EQ(plot.axis.gridCount, c.grid) << "minimum " << c.minimum;
        const auto labels = select(plot, "Black", false, PlotPrimitive::Text);
        ASSERT_EQ(labels.size(), std::size_t(c.grid + 1)) << "minimum " << c.minimum;
        EXPECT_EQ(labels.back()->text, c.lastLabel) << "minimum " << c.minimum;
        for (const auto* l : labels) EXPECT_NE(l->text, "-0.0") << "minimum " << c.minimum;
        // 11 vertical grid lines and one horizontal line per label.
        EXPECT_EQ(select(plot, "Orange", true).size(), std::size_t(11 + c.grid + 1)) << "minimum " << c.minimum;
    }
}

TEST(CpPlot, CriticalCpAndTheSonicSegment) {
    EXPECT_NEAR(sonicCp(0.8), -0.4346, 1e-4);

    // Two crossings of the critical Cp: the segment belongs to the one with
    // the highest index and reaches from four points before it to one after.
    const double cc = sonicCp(0.8);
    WingModel w = makeWing(10, 1, [](int i, int) { return (i == 13 || i == 17 || i == 18) ? -0.9 : -0.2; });
    CpPlot plot = buildCpPlot(w, w.curSection - 1, 0.8, 800, 600, kNoControlPoint);
    const int sonicRow = int(plot.transform.rowOf(cc));
    auto sonic = [&](const CpPlot& p) {
        std::vector<const PlotPrimitive*> out;
        for (const auto* s : select(p, "Black", false))
            if (s->y1 == sonicRow && s->y2 == sonicRow && s->x1 != s->x2) out.push_back(s);
        return out;
    };
    auto found = sonic(plot);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->x1, int(plot.transform.columnOf(w.X[19 - 4][0])));
    EXPECT_EQ(found[0]->x2, int(plot.transform.columnOf(w.X[19][0])));

    // A crossing at the last index or at index 3: the ends are clamped to the contour.
    for (const bool last : {true, false}) {
        w = makeWing(10, 1, [last](int i, int) { return (last ? i == 19 : i <= 2) ? -0.9 : -0.2; });
        plot = buildCpPlot(w, w.curSection - 1, 0.8, 800, 600, kNoControlPoint);
        found = sonic(plot);
        ASSERT_EQ(found.size(), 1u) << last;
        if (last) EXPECT_EQ(found[0]->x2, int(plot.transform.columnOf(w.X[19][0])));
        else EXPECT_EQ(found[0]->x1, int(plot.transform.columnOf(w.X[0][0])));
    }
    // Below Mach 0.1 there is no sonic level.
    plot = buildCpPlot(w, w.curSection - 1, 0.0999, 800, 600, kNoControlPoint);
    EXPECT_TRUE(sonic(plot).empty());
}

TEST(CpPlot, NeighboursSurfacesIntervalAndMarker) {
    WingModel w = makeWing(8, 3, [](int i, int k) { return -0.05 * i + 0.1 * k; });
    const int segmentsPerCurve = 2 * 8 - 1;
    // First section: only the next one, solid green (initial and design Cp),
    // and its sample in the legend.
    CpPlot plot = buildCpPlot(w, w.curSection - 1, 0.7, 640, 480, kNoControlPoint);
    EXPECT_TRUE(select(plot, "Green", true).empty());
    EXPECT_EQ(select(plot, "Green", false).size(), std::size_t(2 * segmentsPerCurve + 1));
    // Last section: only the previous one, dashed, without the segment from point 0.
    w.curSection = 3;
    plot = buildCpPlot(w, w.curSection - 1, 0.7, 640, 480, kNoControlPoint);
    EXPECT_TRUE(select(plot, "Green", false).empty());
    EXPECT_EQ(select(plot, "Green", true).size(), std::size_t(2 * (segmentsPerCurve - 1) + 1));

    // The surface being edited is solid; the interval strip moves with it.
    w.curSection = 2;
    auto redRows = [](const CpPlot& p) {
        int lo = 1 << 30, hi = -(1 << 30);
        for (const auto* s : select(p, "Red", false))
            if (s->lineWidth == 1) lo = std::min({lo, s->y1, s->y2}), hi = std::max({hi, s->y1, s->y2});
        return std::pair<int, int>(lo, hi);
    };
    plot = buildCpPlot(w, w.curSection - 1, 0.7, 640, 480, kNoControlPoint);
    const int top = int(plot.transform.rowOf(plot.axis.lower));
    EXPECT_EQ(redRows(plot).first, top) << "upper surface: the strip at the top";
    const auto upperSolid = select(plot, "Black", false).size();
    w.activeSurface[1] = 1;
    plot = buildCpPlot(w, w.curSection - 1, 0.7, 640, 480, kNoControlPoint);
    EXPECT_EQ(redRows(plot).second, int(plot.transform.rowOf(0.5))) << "lower surface: the strip at the bottom";
    EXPECT_EQ(select(plot, "Black", false).size(), upperSolid) << "the two halves are drawn alike";

    // The selected point's marker is red and two pixels wide.
    int wide = 0;
    for (const auto* s : select(plot, "Red", false)) wide += s->lineWidth == 2;
    EXPECT_EQ(wide, 2);
}

TEST(CpPlot, TransformFollowsTheCanvasAndControlPoints) {
    WingModel w = wingWithMinimum(-0.5);  // axis -0.8 .. 0.5, span 1.3
    for (auto size : {std::pair<int, int>{600, 500}, {1200, 300}}) {
        const CpPlot plot = buildCpPlot(w, w.curSection - 1, 0.7, size.first, size.second, kNoControlPoint);
        // The chord fills most of the width, inside it, with room for the Cp labels at the left.
        const double left = plot.transform.columnOf(0.0), right = plot.transform.columnOf(1.0);
        EXPECT_GT(left, 30) << size.first << " wide: room for the labels";
        EXPECT_LT(right, size.first) << size.first << " wide";
        EXPECT_GT(right - left, 0.85 * size.first) << size.first << " wide";
        EXPECT_NEAR(plot.transform.rowOf(-0.81), kPlotTopMargin, 1e-9);
        EXPECT_NEAR(plot.transform.rowOf(0.51), size.second - kPlotBottomMargin, 1e-9);
        EXPECT_EQ(plot.primitives.front().kind, PlotPrimitive::Fill);
        EXPECT_EQ(plot.primitives.front().x2, size.first);
    }
    // Spline editing on: one circle per control point, the selected one red.
    w.splineOn[0][0] = 1;
    w.surfMode[0][0] = MODE_CP_EDITION;
    w.secCorrection[0] = 2;
    for (int j = 0; j < 4; ++j) w.splX[j][0][0] = 0.2 * (j + 1), w.splY[j][0][0] = -0.3;
    const CpPlot plot = buildCpPlot(w, w.curSection - 1, 0.7, 600, 500, 2);
    ASSERT_EQ(select(plot, "Blue", false, PlotPrimitive::Ellipse).size(), 3u);
    const auto red = select(plot, "Red", false, PlotPrimitive::Ellipse);
    ASSERT_EQ(red.size(), 1u);
    EXPECT_EQ(red[0]->x1, int(plot.transform.columnOf(0.6) - controlPointRadius));
    EXPECT_EQ(red[0]->x2, 2 * controlPointRadius);
    // A canvas without area draws only the background and still gives the lift.
    const CpPlot empty = buildCpPlot(w, w.curSection - 1, 0.7, 0, 0, kNoControlPoint);
    EXPECT_EQ(empty.primitives.size(), 1u);
}

TEST(CpPlot, AnOddContourNeverDrawsItsEmptyIndex) {
    // The index after the last row holds a wild value that must stay unseen.
    WingModel w = makeWing(10, 2, [](int, int) { return -0.2; }, true);
    ASSERT_EQ(w.npt, 21);
    for (int k = 0; k < 2; ++k) w.cpInit[20][k] = w.cpDes[20][k] = -40.0;
    for (int k = 0; k < 2; ++k) w.X[20][k] = 0.5;
    const CpPlot plot = buildCpPlot(w, w.curSection - 1, 0.7, 600, 500, kNoControlPoint);
    EXPECT_DOUBLE_EQ(plot.axis.lower, -0.6) << "the empty index is not part of the minimum";
    const int wildRow = int(plot.transform.rowOf(-40.0));
    for (const auto& p : plot.primitives) {
        if (p.kind != PlotPrimitive::Segment) continue;
        EXPECT_NE(p.y1, wildRow) << "segment from " << p.x1;
        EXPECT_NE(p.y2, wildRow) << "segment to " << p.x2;
    }
    EXPECT_DOUBLE_EQ(designLift(w, 0), 0.0);
}

// The plot reads on its own: the axis covers every Cp drawn, the current
// section lies over its neighbours, and titles and legend say what is what.
TEST(CpPlot, CoversEveryCpShownAndExplainsItself) {
    WingModel w = makeWing(10, 3, [](int i, int k) { return k == 2 && i == 14 ? -1.3 : i == 3 ? 0.93 : -0.2; });
    w.curSection = 2;
    const CpPlot plot = buildCpPlot(w, w.curSection - 1, 0.7, 800, 600, kNoControlPoint);
    EXPECT_DOUBLE_EQ(plot.axis.lower, -1.6) << "the neighbours' lowest Cp";
    EXPECT_GE(plot.axis.lower + plot.axis.span, 0.93) << "the neighbours' highest Cp";
    std::vector<std::string> order;  // colours of the solid curves and texts, in drawing order
    for (const PlotPrimitive& p : plot.primitives)
        order.push_back(p.kind == PlotPrimitive::Text ? p.text : p.dashed || p.y1 == p.y2 ? "" : p.color);
    const auto at = [&](const std::string& what) { return std::find(order.begin(), order.end(), what) - order.begin(); };
    EXPECT_LT(at("Green"), at("Black")) << "the neighbours first";
    for (const char* text : {"Section 2   Z = 0.0000   Mach = 0.700", "Cp", "x/c", "initial Cp, section 2", "section 3"})
        EXPECT_LT(at(text), std::ptrdiff_t(order.size())) << text;
}

// The change design - initial Cp on its own axis at the right: the axis
// -0.08 .. 0.04 in steps of 0.02 for a change from -0.06 to 0.02 (span 0.08,
// 1.2 x 0.08 / 6 = 0.016 rounds up to 0.02, each end a step beyond).
TEST(CpPlot, TheChangeOnItsOwnAxis) {
    WingModel w = wingWithMinimum(-0.5);
    w.cpDes[12][0] = w.cpInit[12][0] - 0.06;
    w.cpDes[16][0] = w.cpInit[16][0] + 0.02;
    const CpPlot plain = buildCpPlot(w, w.curSection - 1, 0.7, 600, 500, kNoControlPoint);
    EXPECT_FALSE(plain.deltaShown);
    EXPECT_TRUE(select(plain, "DarkViolet", false).empty()) << "no change drawn unless asked";

    const CpPlot plot = buildCpPlot(w, w.curSection - 1, 0.7, 600, 500, kNoControlPoint, PlotZoom{}, nullptr, ShockRule{}, nullptr, true);
    ASSERT_TRUE(plot.deltaShown);
    EXPECT_NEAR(plot.deltaAxis.lower, -0.08, 1e-12);
    EXPECT_NEAR(plot.deltaAxis.upper, 0.04, 1e-12);
    EXPECT_NEAR(plot.deltaAxis.step, 0.02, 1e-12);
    const PlotTransform& d = plot.deltaTransform;
    EXPECT_NEAR(d.rowOf(-0.08), kPlotTopMargin, 1e-9) << "the axis fills the data rows";
    EXPECT_NEAR(d.rowOf(0.04), 500 - kPlotBottomMargin, 1e-9);
    EXPECT_DOUBLE_EQ(plot.transform.plotScaleX, 500.0) << "x = 1.1 ends left of the labels: (600 - 44 - 6) / 1.1";
    const auto zero = select(plot, "DarkViolet", true);
    ASSERT_FALSE(zero.empty());
    EXPECT_EQ(zero.front()->y1, toPixel(d.rowOf(0.0))) << "the zero line";
    EXPECT_EQ(zero.front()->x1, toPixel(d.columnOf(0.0)));
    EXPECT_EQ(zero.front()->x2, toPixel(d.columnOf(1.0)));
    // The upper surface, edited, solid: its segment from row 2 (index 12) starts at the change there.
    const auto solid = select(plot, "DarkViolet", false);
    const bool atRow2 = std::any_of(solid.begin(), solid.end(), [&](const PlotPrimitive* p) {
        return p->x1 == toPixel(d.columnOf(2.0 / 9)) && p->y1 == toPixel(d.rowOf(-0.06));
    });
    EXPECT_TRUE(atRow2);
    std::vector<std::string> texts;
    for (const auto& p : plot.primitives)
        if (p.kind == PlotPrimitive::Text) texts.push_back(p.text);
    for (const char* label : {"ΔCp", "-0.08", "0.00", "0.04"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;

    // "Shape the change" draws the axis by itself, its control points on it.
    w.secCorrection[0] = 2;
    w.surfMode[0][0] = MODE_CP_EDITION;
    w.splineOn[0][0] = 1;
    w.shapeOn[0][0] = 1;
    for (int j = 0; j < 4; ++j) w.splX[j][0][0] = 0.2 * (j + 1), w.splY[j][0][0] = j == 1 ? 0.03 : 0.0;
    const CpPlot shaped = buildCpPlot(w, w.curSection - 1, 0.7, 600, 500, kNoControlPoint);
    ASSERT_TRUE(shaped.deltaShown);
    const auto circles = select(shaped, "Blue", false, PlotPrimitive::Ellipse);
    ASSERT_EQ(circles.size(), 4u);
    EXPECT_EQ(circles[1]->y1, toPixel(shaped.deltaTransform.rowOf(0.03) - controlPointRadius));
}
