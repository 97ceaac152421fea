// "Shape the change": the change of the design Cp is 0 at the interval's two
// end points, varies only inside, never goes beyond its control points'
// values, and its control points move along the chord as well as in Cp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "PanelTestWing.h"
#include "correction/Editing.h"
#include "correction/MonotoneCubic.h"
#include "correction/SurfaceSpline.h"

using namespace quarvel;

TEST(MonotoneCubic, HandWorkedValuesAndNoOvershoot) {
    struct Case {
        const char* name;
        std::vector<double> x, y;
        double u, expected;
    };
    // A peak: end slope (3*1 - 1*(-1))/2 = 2, slope 0 at the peak; at 0.5 the
    // Hermite cubic gives 0.125*2 + 0.5*1 = 0.75.
    // A step: slopes 0 beside the flat parts, so the flat stays flat and the
    // rise is the smooth step 3s^2 - 2s^3.
    const Case cases[] = {
        {"peak, left half", {0, 1, 2}, {0, 1, 0}, 0.5, 0.75},
        {"peak, at the control point", {0, 1, 2}, {0, 1, 0}, 1.0, 1.0},
        {"step, flat part", {0, 1, 2, 3}, {0, 0, 1, 1}, 0.5, 0.0},
        {"step, middle of the rise", {0, 1, 2, 3}, {0, 0, 1, 1}, 1.5, 0.5},
        {"step, a quarter into the rise", {0, 1, 2, 3}, {0, 0, 1, 1}, 1.25, 0.15625},
        {"two points: the straight line", {0, 2}, {1, 3}, 0.5, 1.5},
        {"before the first point: its value", {0, 1, 2}, {0, 1, 0}, -1.0, 0.0},
        {"after the last point: its value", {0, 1, 2}, {0, 1, 0.5}, 7.0, 0.5},
    };
    for (const Case& c : cases) {
        double v = -99.0;
        ASSERT_TRUE(monotoneCubicInterpolate(int(c.x.size()), c.x.data(), c.y.data(), 1, &c.u, &v)) << c.name;
        EXPECT_NEAR(v, c.expected, 1e-12) << c.name;
    }
    const double x[] = {0.0, 0.0}, y[] = {0.0, 1.0}, u = 0.0;
    double v = -99.0;
    EXPECT_FALSE(monotoneCubicInterpolate(2, x, y, 1, &u, &v)) << "equal abscissae";
    EXPECT_EQ(v, -99.0) << "nothing written on failure";
}

namespace {

// One corrected section of 41 rows at X = r/40, both surfaces in "Cp
// edition" with Nspl 5 and "Shape the change" on. Both intervals: rows 2..37
// (X 0.05 .. 0.925), so the control points sit at 0.05 + j * 0.21875.
WingModel shapedWing(int s, EditingState& e) {
    WingModel w = test::rowWing(41, 1, [](int r) { return r / 40.0; },
                                [](int i, int) { return i >= 41 ? -1.0 + 0.02 * (i - 41) : 0.3 - 0.005 * i; });
    w.secCorrection[0] = 2;
    w.surfMode[0] = {MODE_CP_EDITION, MODE_CP_EDITION};
    w.nspl[0] = {5, 5};
    switchSpline(w, 0, s, e, true);
    switchShapeChange(w, 0, s, e, true);
    return w;
}

}  // namespace

TEST(ShapeTheChange, ControlMovesKeepTheEndsStayInsideTheirValuesAndGoSideways) {
    struct Move {
        const char* name;
        int j;
        double dx, dcp;
        double expectedX;  // upper surface
    };
    const Move moves[] = {
        {"first inner point down", 1, 0.0, -0.2, 0.26875},
        {"middle point up", 2, 0.0, 0.216, 0.4875},
        {"third point down and aft", 3, 0.1, -0.1, 0.80625},
        {"first point up, stopped by the start", 1, -1.0, 0.3, 0.05 + minControlPointGap},
        {"third point, stopped by the end", 3, 1.0, 0.05, 0.925 - minControlPointGap},
    };
    for (int s = 0; s < 2; ++s)
        for (const Move& m : moves) {
            const std::string name = std::string(s == 0 ? "upper, " : "lower, ") + m.name;
            EditingState e;
            WingModel w = shapedWing(s, e);
            const WingModel before = w;
            e.selectedControlPoint = m.j;
            e.selectionSection = 0;
            e.selectionSurface = s;
            ASSERT_TRUE(nudgeSelection(w, 0, s, e, m.dx, m.dcp).plot) << name;
            EXPECT_NEAR(w.splX[m.j][0][s], m.expectedX, 1e-12) << name << ": the point's chord position";
            EXPECT_EQ(w.splY[m.j][0][s], m.dcp) << name << ": the point's change";
            const std::vector<int> inside = intervalIndices(w, 0, s);
            EXPECT_EQ(w.cpDes[inside.front()][0], before.cpDes[inside.front()][0]) << name << ": interval start";
            EXPECT_EQ(w.cpDes[inside.back()][0], before.cpDes[inside.back()][0]) << name << ": interval end";
            for (int i = 0; i < w.npt; ++i) {
                if (std::find(inside.begin(), inside.end(), i) != inside.end()) continue;
                EXPECT_EQ(w.cpDes[i][0], before.cpDes[i][0]) << name << ": index " << i << " outside";
            }
            int peak = inside.front();
            for (int i : inside) {
                const double change = w.cpDes[i][0] - before.cpDes[i][0];
                EXPECT_GE(change, std::min(0.0, m.dcp) - 1e-15) << name << ": index " << i;
                EXPECT_LE(change, std::max(0.0, m.dcp) + 1e-15) << name << ": index " << i;
                if (std::fabs(change) > std::fabs(w.cpDes[peak][0] - before.cpDes[peak][0])) peak = i;
            }
            EXPECT_LE(std::fabs(w.X[peak][0] - w.splX[m.j][0][s]), 1.0 / 40 + 1e-12)
                << name << ": the change peaks at its control point";
        }
}

TEST(ShapeTheChange, AMouseDragMovesAControlPointAlongTheChord) {
    EditingState e;
    WingModel w = shapedWing(0, e);
    const WingModel before = w;
    // 1000 pixels a chord, 100 a unit of change, 0 at row 50.
    PlotTransform t;
    t.plotOriginX = 0.0;
    t.plotScaleX = 1000.0;
    t.plotOriginCp = -0.5;
    t.plotScaleCp = 100.0;
    pressMouse(w, 0, 0, t, e, t.columnOf(w.splX[2][0][0]), t.rowOf(0.0));
    ASSERT_EQ(e.selectedControlPoint, 2) << "the middle point picked";
    EXPECT_TRUE(moveMouse(w, 0, 0, t, e, t.columnOf(0.6), t.rowOf(-0.15)).plot);
    releaseMouse(e);
    EXPECT_DOUBLE_EQ(w.splX[2][0][0], 0.6);
    EXPECT_DOUBLE_EQ(w.splY[2][0][0], -0.15);
    // Row 24 lies at x 0.6: the change there is the point's.
    EXPECT_NEAR(w.cpDes[41 + 24][0] - before.cpDes[41 + 24][0], -0.15, 1e-12);
    EXPECT_EQ(w.cpDes[41 + 2][0], before.cpDes[41 + 2][0]) << "the interval's start";
    EXPECT_EQ(w.cpDes[41 + 37][0], before.cpDes[41 + 37][0]) << "the interval's end";
}
