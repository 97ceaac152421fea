// Picking a control point in a zoomed plot: the drawn circle picks, at any
// magnification.
#include <gtest/gtest.h>

#include <tuple>

#include "PanelTestWing.h"
#include "correction/Editing.h"
#include "plot/CpPlot.h"

using namespace quarvel;

TEST(PlotZoom, APressInsideTheDrawnCirclePicksAtAnyZoom) {
    WingModel w = test::panelTestWing(1, 1);
    EditingState e;
    setSplineCount(w, 0, 0, e, 5);
    switchSpline(w, 0, 0, e, true);
    const PlotTransform whole = buildCpPlot(w, w.curSection - 1, 0.7, 600, 500, kNoControlPoint).transform;
    const double x = w.splX[2][0][0], cp = w.splY[2][0][0];
    // Pixel offsets from the circle's centre; its radius is 6.
    const std::tuple<double, double, bool> offsets[] = {
        {4.0, 0.0, true}, {0.0, -4.0, true}, {4.0, 4.0, true}, {0.0, 6.0, true}, {5.0, 5.0, false}, {8.0, 0.0, false}};
    for (double magnification : {1.0, 8.0, 20.0}) {
        PlotZoom z;
        z.zoomAbout(magnification, whole.columnOf(x), whole.rowOf(cp), 600, 500);
        const PlotTransform t = buildCpPlot(w, w.curSection - 1, 0.7, 600, 500, kNoControlPoint, z).transform;
        EXPECT_NEAR(t.xAt(whole.columnOf(x)), x, 1e-12) << "the wheel zooms about the pointer";
        for (const auto& [dx, dy, picked] : offsets) {
            e.selectedControlPoint = -1;
            releaseMouse(e);
            pressMouse(w, 0, 0, t, e, t.columnOf(x) + dx, t.rowOf(cp) + dy);
            EXPECT_EQ(e.selectedControlPoint == 2, picked) << "x" << magnification << ", off by " << dx << ", " << dy;
        }
    }
}
