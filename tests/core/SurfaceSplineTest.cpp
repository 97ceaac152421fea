// Spline editing of a surface's design Cp on the current section.
#include <gtest/gtest.h>

#include "PanelTestWing.h"
#include "correction/Editing.h"
#include "correction/SurfaceSpline.h"

using namespace quarvel;

namespace {

// One section of nhalf rows, X = (row / (nhalf - 1))^2 so the spacing is
// uneven; upper design Cp -x, lower +x/2.
WingModel sectionWing(int nhalf) {
    const auto x = [nhalf](int r) { return double(r) * r / double(nhalf - 1) / double(nhalf - 1); };
    return test::rowWing(nhalf, 1, x, [&](int i, int) { return i >= nhalf ? -x(i - nhalf) : x(nhalf - 1 - i) / 2; });
}

}  // namespace

TEST(SurfaceSpline, AFailedCurveLeavesTheDesignCpAlone) {
    WingModel w = sectionWing(20);
    placeSurfaceSplinePoints(w, 0, 0);
    w.splX[2][0][0] = w.splX[1][0][0];  // two control points on one abscissa
    const WingModel before = w;
    EXPECT_FALSE(applySurfaceSpline(w, 0, 0));
    for (int i = 0; i < w.npt; ++i) EXPECT_EQ(w.cpDes[i][0], before.cpDes[i][0]) << "index " << i;}

TEST(SurfaceSpline, ShapeTheChangeOnChangesNothingOffKeepsTheResult) {
    // 200 points per surface: intervals of 195 points, far beyond any fixed
    // scratch size; the lower surface is written from l2 down to l1.
    for (int s = 0; s < 2; ++s) {
        SCOPED_TRACE(s == 0 ? "upper" : "lower");
        WingModel w = sectionWing(200);
        w.activeSurface[0] = s;
        w.nspl[0][s] = 9;
        w.splineOn[0][s] = 1;
        placeSurfaceSplinePoints(w, 0, s);
        applySurfaceSpline(w, 0, s);
        auto design = [](const WingModel& wing) { return captureSection(wing, 0).cpDes; };
        const auto spline = design(w);
        EditingState e;
        EXPECT_TRUE(switchShapeChange(w, 0, s, e, true).plot);
        EXPECT_EQ(design(w), spline) << "switching on changes nothing";
        for (int j = 0; j < 9; ++j) EXPECT_EQ(w.splY[j][0][s], 0.0) << "the change starts at 0";

        // A move of a control point, whose effect ShapeChangeTest holds to its word.
        w.splY[4][0][s] = 0.3;
        ASSERT_TRUE(applySurfaceSpline(w, 0, s));
        const auto moved = design(w);
        EXPECT_TRUE(switchShapeChange(w, 0, s, e, false).plot);
        EXPECT_EQ(design(w), moved) << "turning off keeps the result";
        // Counts the control-point arrays cannot hold place nothing.
        for (int count : {WingModel::nsplMax + 1, 1}) placeSplinePoints(w, 0, s, count, 0.5, 1.0, 9.0, 9.0);
        EXPECT_DOUBLE_EQ(w.splY[1][0][s], w.splX[1][0][s] * (s == 0 ? -1.0 : 0.5)) << "back on the curve";
    }
}
