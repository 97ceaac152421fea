// Editing of the design Cp: the interval, point and count spinners, and
// picking and dragging spline control points with the mouse. Expected values
// come from the wing in PanelTestWing.h.
#include <climits>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "PanelTestWing.h"
#include "TestSupport.h"
#include "WingInvariants.h"
#include "correction/Editing.h"

using namespace quarvel;
using quarvel::test::panelTestWing;
using quarvel::test::upperCp;

namespace {

// 1000 pixels to a unit both ways from (0, 0).
const PlotTransform millTransform{0.0, 0.0, 1000.0, 1000.0};

// Upper surface in Cp edition with its spline on.
struct SplineSetup {
    WingModel w = panelTestWing(1, 1);
    EditingState e;
    PlotTransform t = millTransform;

    explicit SplineSetup(int count) {
        setSplineCount(w, 0, 0, e, count);
        switchSpline(w, 0, 0, e, true);
    }
    double ctrlX(int j) const { return w.splX[j][0][0]; }
    double ctrlY(int j) const { return w.splY[j][0][0]; }
    Redraw move(double x, double cp) { return moveMouse(w, 0, 0, t, e, x * 1000.0, cp * 1000.0); }
    Redraw pressAt(double x, double cp) {
        releaseMouse(e);
        return pressMouse(w, 0, 0, t, e, x * 1000.0, cp * 1000.0);
    }
};

}  // namespace

TEST(IntervalSpinners, MoveTheIntervalWithinTheLimits) {
    WingModel w = panelTestWing(1, 1);
    EditingState e{1, 0, 0.0, 0.0, 0, 0};  // control point 1 of the upper surface picked

    EXPECT_TRUE(setIntervalEnd(w, 0, e, IntervalEnd::L1, 15).plot);
    EXPECT_EQ(w.activeSurface[0], 1) << "L1= makes the lower surface the edited one";
    EXPECT_EQ(w.l1[0], 5) << "L1= is set";
    EXPECT_EQ(e.selectedControlPoint, -1) << "another surface drops the selection";

    setIntervalEnd(w, 0, e, IntervalEnd::U1, 26);
    EXPECT_EQ(w.u1[0], 16) << "U1= is set";
    EXPECT_EQ(w.upperPoint[0], 16) << "U1= carries the point up";

    const struct { IntervalEnd which; int shown; const int& field; int expected; } cases[] = {
        {IntervalEnd::U1, 0, w.u1[0], 13},    {IntervalEnd::U1, 1000, w.u1[0], 17},
        {IntervalEnd::U2, INT_MIN, w.u2[0], 17}, {IntervalEnd::U1, 23, w.u1[0], 13},
        {IntervalEnd::U2, INT_MAX, w.u2[0], 17}, {IntervalEnd::L2, 99, w.l2[0], 8},
        {IntervalEnd::L1, -5, w.l1[0], 4},    {IntervalEnd::L2, -5, w.l2[0], 4},
    };
    for (const auto& c : cases) {
        setIntervalEnd(w, 0, e, c.which, c.shown);
        EXPECT_EQ(c.field, c.expected) << "spinner " << int(c.which) << " given " << c.shown;
        EXPECT_EQ(test::panelFault(w, panelOf(w, 0)), "") << "spinner " << int(c.which) << " given " << c.shown;
    }
    EXPECT_EQ(w.lowerPoint[0], 4) << "L2= lowered to 4 carries the lower point down";
    EXPECT_NE(setIntervalEnd(w, 0, e, IntervalEnd::L2, 99).note, "") << "a value beyond the limits is said";
    EXPECT_EQ(setIntervalEnd(w, 0, e, IntervalEnd::L2, 16).note, "") << "one inside them is not";
}

// An interval that a file gives over a whole surface stays so through point
// edits; switching the spline on narrows it into the limits and says so.
TEST(IntervalSpinners, AFileIntervalBeyondTheLimitsNarrowsOnlyForTheSpline) {
    for (int s = 0; s < 2; ++s) {
        WingModel w = panelTestWing(1, 1);  // upper points 11 .. 20, lower 1 .. 10; limits 13 .. 17 and 4 .. 8
        w.activeSurface[0] = s;
        intervalFirst(w, 0, s) = firstPointOf(w, s);
        intervalLast(w, 0, s) = lastPointOf(w, s);
        EditingState e;
        EXPECT_EQ(choosePoint(w, 0, s, shownPoint(w, lastPointOf(w, s))).note, "") << s;
        EXPECT_EQ(selectedPoint(w, 0, s), lastPointOf(w, s)) << "the surface's last point is editable, " << s;
        const Redraw r = switchSpline(w, 0, s, e, true);
        EXPECT_EQ(r.note, std::string(s == 0 ? "Upper interval 21..30 narrowed to 23..27"
                                              : "Lower interval 11..20 narrowed to 14..18") +
                              ": the spline needs a point beyond each end on the same surface.");
        EXPECT_EQ(test::panelFault(w, panelOf(w, 0)), "") << s;
    }
}

TEST(PointSpinners, SelectedPointAndItsDesignCp) {
    WingModel w = panelTestWing(2, 1);
    choosePoint(w, 0, 0, 24);  // point 14
    EXPECT_EQ(w.upperPoint[0], 15) << "I= off Cp edition keeps the selected point";

    w.surfMode[0][0] = 1;
    choosePoint(w, 0, 0, 99);
    EXPECT_EQ(w.upperPoint[0], 17) << "I= past the interval is clamped to it";
    choosePoint(w, 0, 0, INT_MIN);
    EXPECT_EQ(w.upperPoint[0], 13);

    setPointCp(w, 0, 0, std::numeric_limits<double>::quiet_NaN());
    setPointCp(w, 0, 0, 5.0);  // point 13: design Cp -0.8
    EXPECT_EQ(w.cpDes[12][0], 5.0) << "Cpd= takes the value as typed; a NaN is ignored";
}

// Switching the spline on places its control points on the design Cp and
// changes nothing (the window tests check each section of the example);
// another count writes the curve. The arrow keys move a picked control point
// in Cp and, within its neighbours' gaps, in chord; without one, the
// selected point's design Cp, but never while the spline is on.
TEST(SplineSwitchAndNudges, ChangeOnlyWhatIsMovedOrCounted) {
    SplineSetup d(3);  // control points at X 0.1, 0.4, 0.7
    const double y = d.ctrlY(1), before = d.w.cpDes[13][0];
    EXPECT_FALSE(nudgeSelection(d.w, 0, 0, d.e, 0.0, nudgeStep).plot) << "spline on, nothing picked";
    ASSERT_TRUE(d.pressAt(0.4, y).controlPoints);
    EXPECT_TRUE(nudgeSelection(d.w, 0, 0, d.e, fineNudgeStep, -nudgeStep).plot);
    EXPECT_TRUE(nudgeSelection(d.w, 0, 0, d.e, 0.5, 0.0).plot);
    EXPECT_DOUBLE_EQ(d.ctrlX(1), 0.7 - minControlPointGap);
    EXPECT_DOUBLE_EQ(d.ctrlY(1), y - nudgeStep);
    EXPECT_NE(d.w.cpDes[13][0], before) << "the curve follows the nudged point";

    switchSpline(d.w, 0, 0, d.e, false);
    EXPECT_FALSE(d.pressAt(0.4, y).controlPoints) << "no control point to pick with the spline off";
    const double design = d.w.cpDes[14][0];
    EXPECT_TRUE(nudgeSelection(d.w, 0, 0, d.e, 0.0, fineNudgeStep).plot);
    EXPECT_DOUBLE_EQ(d.w.cpDes[14][0], design + fineNudgeStep) << "the selected point's design Cp";
    switchSpline(d.w, 0, 0, d.e, true);
    EXPECT_EQ(d.w.cpDes[14][0], design + fineNudgeStep) << "on again, untouched";
    EXPECT_TRUE(setSplineCount(d.w, 0, 0, d.e, 4).plot);
    EXPECT_NE(d.w.cpDes[14][0], design + fineNudgeStep) << "a new count writes the curve";
    EXPECT_FALSE(setSplineCount(d.w, 0, 0, d.e, 4).plot) << "the same count is no change";
}

TEST(SplineDrag, PickTheMiddlePointAndDragItBetweenItsNeighbours) {
    SplineSetup d(3);  // control points at points 12, 15, 18: X 0.1, 0.4, 0.7
    ASSERT_DOUBLE_EQ(d.ctrlX(1), 0.4);
    ASSERT_DOUBLE_EQ(d.ctrlY(1), upperCp(4));

    EXPECT_FALSE(d.pressAt(0.1, upperCp(1)).controlPoints) << "end points are never picked";
    EXPECT_TRUE(d.pressAt(0.404, upperCp(4) + 0.004).controlPoints);

    EXPECT_TRUE(d.move(-0.1, -0.3).plot);
    EXPECT_DOUBLE_EQ(d.ctrlX(1), 0.1 + minControlPointGap) << "stops 0.001 right of its left neighbour";
    EXPECT_DOUBLE_EQ(d.ctrlY(1), -0.3) << "the Cp follows the mouse";
    d.move(0.9, -0.3);
    EXPECT_DOUBLE_EQ(d.ctrlX(1), 0.7 - minControlPointGap) << "stops 0.001 left of its right neighbour";

    // On the chord of its neighbours the curve is the line cp = x - 0.95
    // over points 13..17 (X 0.2 .. 0.6); the data there is not on it.
    d.move(0.4, -0.55);
    const double line[] = {-0.75, -0.65, -0.55, -0.45, -0.35};
    for (int j = 0; j < 5; ++j) EXPECT_NEAR(d.w.cpDes[12 + j][0], line[j], 1e-12) << "point " << 13 + j;
    for (int point : {1, 10, 11, 12, 18, 19, 20})
        EXPECT_EQ(d.w.cpDes[point - 1][0], d.w.cpInit[point - 1][0]) << "point " << point << " outside";

    releaseMouse(d.e);
    EXPECT_FALSE(d.move(0.3, -0.1).plot) << "no drag after the release";
    EXPECT_DOUBLE_EQ(d.e.mousePlotX, 0.3) << "the readout still follows";
}

// No room, non-finite positions, a flat transform: nothing moves.
TEST(SplineDrag, NothingMovesWithoutRoomOrAValidPosition) {
    SplineSetup d(3);
    ASSERT_TRUE(d.pressAt(0.4, upperCp(4)).controlPoints);
    d.w.splX[0][0][0] = 0.3995;
    d.w.splX[2][0][0] = 0.4005;
    d.move(0.45, -0.5);
    EXPECT_DOUBLE_EQ(d.ctrlX(1), 0.4) << "neighbours closer than two gaps: x stays between them";
    EXPECT_FALSE(moveMouse(d.w, 0, 0, d.t, d.e, std::numeric_limits<double>::quiet_NaN(), 0.0).plot);
    PlotTransform flat = d.t;
    flat.plotScaleCp = 0.0;
    EXPECT_FALSE(moveMouse(d.w, 0, 0, flat, d.e, 100.0, 100.0).plot);
    EXPECT_DOUBLE_EQ(d.e.mousePlotX, 0.45) << "the readout keeps its last sound value";
    EXPECT_FALSE(pressMouse(d.w, 0, 0, flat, d.e, 400.0, 400.0).controlPoints) << "a flat transform picks nothing";
}

// Random commands, keys and mouse events, on the hand wing and on a loaded
// odd wing with 2- and 1-point intervals: after every step the wing is sound
// and the panel tells it as it is ("Cpd=" the selected point's design Cp).
TEST(EditingInvariants, RandomCommandSequences) {
    FileError err;
    auto odd = readCpInput(test::dataPath("small-odd.cpi"), &err);
    ASSERT_TRUE(odd) << err.message();
    for (WingModel w : {panelTestWing(1, 1), *odd}) {
        SCOPED_TRACE(w.title.empty() ? "hand wing" : w.title);
        std::mt19937 rng(12345);
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        EditingState e;
        const PlotTransform t = millTransform;
        int picks = 0, drags = 0;
        for (int step = 0; step < 4000; ++step) {
            const int k = w.curSection - 1, a = w.activeSurface[k];
            switch (pick(0, 16)) {
            case 0: chooseSurface(w, k, pick(0, 1), e); break;
            case 1: switchSpline(w, k, a, e, pick(0, 1) == 1); break;
            case 2: setIntervalEnd(w, k, e, IntervalEnd(pick(0, 3)), w.ioff + pick(-20, 60)); break;
            case 3: setSplineCount(w, k, a, e, pick(-2, 30)); break;
            case 4: choosePoint(w, k, a, w.ioff + pick(-5, 40)); break;
            case 5: setPointCp(w, k, a, pick(-300, 300) / 100.0); break;
            case 6: chooseRegime(w, k, pick(0, 1), RegimeRadio(pick(0, 4))); break;
            case 7: chooseCpOption(w, k, pick(0, 1), CpOption(pick(0, 3) == 0)); break;
            case 8: chooseSectionCorrection(w, k, pick(0, 3) != 0); break;
            case 9: chooseSection(w, e, pick(0, w.nsec + 1)); break;
            case 10:
            case 12: {
                const int j = pick(0, w.nspl[k][a] - 1);
                picks += pressMouse(w, k, a, t, e, w.splX[j][k][a] * 1000.0 + pick(-4, 4), w.splY[j][k][a] * 1000.0)
                             .controlPoints;
                break;
            }
            case 11: nudgeSelection(w, k, a, e, pick(-1, 1) * nudgeStep, pick(-1, 1) * fineNudgeStep); break;
            default:
                drags += moveMouse(w, k, a, t, e, pick(-200, 1200), pick(-2000, 1000)).plot;
                if (pick(0, 3) == 0) releaseMouse(e);
            }
            // The window settles the selection and shows panelOf(wing) after every command.
            const int now = w.curSection - 1;
            dropStaleSelection(w, now, activeSurfaceOf(w, now), e);
            ASSERT_EQ(test::editingFault(w, panelOf(w, now), e), "") << "step " << step;
        }
        EXPECT_GT(picks, 20);
        EXPECT_GT(drags, 20);
    }
}
