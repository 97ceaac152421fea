// Undo puts back only what the correction panel can show.
#include <gtest/gtest.h>

#include "PanelTestWing.h"
#include "correction/History.h"

using namespace quarvel;

TEST(History, UndoKeepsThePutBackSectionInsideItsLimits) {
    WingModel w = test::panelTestWing(1, 1);
    EditingState e{2, 1, 0.0, 0.0, 0, 0};  // control point 2 of section 1 picked, mid-drag
    History h;
    SectionState before = captureSection(w, 0);
    before.u1 = w.u1Min - 3;
    before.l2 = w.l2Max + 5;
    before.upperPoint = 99;
    before.nspl = {40, 1};
    h.record(before, captureSection(w, 0));
    w.curSection = 2;

    ASSERT_TRUE(undoEdit(w, e, h).plot);
    EXPECT_EQ(w.curSection, 1) << "the step's section becomes current";
    EXPECT_EQ(w.u1[0], w.u1Min);
    EXPECT_EQ(w.l2[0], w.l2Max);
    EXPECT_EQ(w.upperPoint[0], w.u2[0]);
    EXPECT_EQ(w.nspl[0], (SurfacePair{WingModel::nsplMax, WingModel::nsplMin}));
    EXPECT_EQ(e.selectedControlPoint, -1);
    EXPECT_EQ(panelOf(w).intervalStart[0].value, w.u1Min + w.ioff) << "the panel follows";
    EXPECT_FALSE(h.canUndo());
    EXPECT_FALSE(undoEdit(w, e, h).plot) << "nothing left to undo";
}
