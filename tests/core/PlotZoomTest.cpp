// Picking a control point in a zoomed plot.
#include <gtest/gtest.h>

#include <tuple>

#include "PanelTestWing.h"
#include "correction/Editing.h"
#include "plot/CpPlot.h"

using namespace quarvel;

TEST(PlotZoom, PickingToleranceStaysInChordAndCpUnits) {
    WingModel w = test::panelTestWing(1, 1);
    PanelWidgets p;
    EditingState e;
    refreshCorrectionPanel(w, p);
    setSplineCount(w, p, e, 5);
    switchSpline(w, p, e, true);
    const PlotTransform whole = buildCpPlot(w, 0.7, 600, 500, kNoControlPoint).transform;
    const double x = w.splX[2][0][0], cp = w.splY[2][0][0];
    // Tolerances: 0.01 of chord, 0.01 x 600 / 500 of Cp.
    const std::tuple<double, double, bool> offsets[] = {
        {0.008, 0.0, true}, {0.012, 0.0, false}, {0.0, 0.011, true}, {0.0, 0.013, false}};
    for (double magnification : {1.0, 8.0}) {
        PlotZoom z;
        z.zoomAbout(magnification, whole.columnOf(x), whole.rowOf(cp), 600, 500);
        const PlotTransform t = buildCpPlot(w, 0.7, 600, 500, kNoControlPoint, z).transform;
        EXPECT_NEAR(t.xAt(whole.columnOf(x)), x, 1e-12) << "the wheel zooms about the pointer";
        for (const auto& [dx, dcp, picked] : offsets) {
            e.selectedControlPoint = -1;
            releaseMouse(e);
            moveMouse(w, t, e, t.columnOf(x + dx), t.rowOf(cp + dcp));
            pressMouse(w, e, 600, 500);
            EXPECT_EQ(e.selectedControlPoint == 2, picked) << "x" << magnification << ", off by " << dx << ", " << dcp;
        }
    }
}
