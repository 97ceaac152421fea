// The correction panel as a function of the section state, and the section
// and regime commands. Expected values are worked out from the wing in
// PanelTestWing.h (a spinner shows point p as p + 10).
#include <string>

#include <gtest/gtest.h>

#include "PanelTestWing.h"
#include "TestSupport.h"
#include "WingInvariants.h"
#include "correction/CorrectionPanel.h"

using namespace quarvel;
using quarvel::test::panelTestWing;

namespace {
using RadioRow = Toggle (PanelWidgets::*)[2];
}

TEST(RegimeCommands, SetModeCodeAndSectionFlagOfTheirSurfaceOnly) {
    const struct {
        RegimeRadio radio;
        RadioRow row;
        int mode, code, secCorrection;
    } cases[] = {
        {RegimeRadio::NoCorrection, &PanelWidgets::noCorrection, 0, 0, 1},
        {RegimeRadio::CpCorrection, &PanelWidgets::cpCorrection, 2, 1, 2},
        {RegimeRadio::GeomInterpolation, &PanelWidgets::geomInterpolation, 3, -10, 2},
        {RegimeRadio::SaveThickness, &PanelWidgets::thickness, 4, -1, 2},
        {RegimeRadio::SaveMaxThickness, &PanelWidgets::maxThickness, 5, -2, 2},
    };
    for (int s = 0; s < 2; ++s) {
        for (const auto& c : cases) {
            const std::string name = "surface " + std::to_string(s) + ", mode " + std::to_string(c.mode);
            WingModel w = panelTestWing(1, 1);
            chooseSectionCorrection(w, false);  // secCorrection 1
            (s == 0 ? w.RL : w.RU)[0] = 7;      // the other surface's code

            const Redraw r = chooseRegime(w, s, c.radio);
            EXPECT_EQ(w.surfMode[0][s], c.mode) << name;
            EXPECT_EQ((s == 0 ? w.RU : w.RL)[0], c.code) << name;
            EXPECT_EQ((s == 0 ? w.RL : w.RU)[0], 7) << name << ": other surface's code kept";
            EXPECT_EQ(w.secCorrection[0], c.secCorrection) << name;
            EXPECT_EQ(w.activeSurface[0], s) << name << ": the clicked surface is the one edited";
            EXPECT_TRUE(r.planform) << name;
            const PanelWidgets p = panelOf(w);
            EXPECT_TRUE((p.*c.row)[s].checked) << name;
            EXPECT_EQ(test::panelFault(w, p), "") << name;
        }
    }
}

// A section that is not corrected keeps its regimes (greyed) and gets them
// back; its file codes are 0 meanwhile.
TEST(SectionCommands, NoThenYesGivesTheRegimesBack) {
    WingModel w = panelTestWing(1, 3);
    EXPECT_TRUE(chooseSectionCorrection(w, false).planform);
    EXPECT_TRUE(w.secCorrection[0] == 1 && sectionOutput(w, 0).codes == (SurfacePair{0, 0}));
    PanelWidgets p = panelOf(w);
    EXPECT_TRUE(p.secNo.checked && p.cpEdition[0].checked && p.geomInterpolation[1].checked && !p.cpEdition[0].enabled);
    EXPECT_EQ(test::panelFault(w, p), "");
    chooseSectionCorrection(w, true);
    EXPECT_EQ(sectionOutput(w, 0).codes, (SurfacePair{1, -10}));
    EXPECT_EQ(test::panelFault(w, panelOf(w)), "");
}

TEST(Panel, PointEditorsAndSpinners) {
    {
        SCOPED_TRACE("Cpd= shows the design Cp centred in its range; Cpt= and dCp= the input and the change");
        WingModel w = panelTestWing(1, 0);
        w.cpDes[14][0] = -0.3;  // upper point 15, input Cp -0.6
        const PanelWidgets p = panelOf(w);
        EXPECT_DOUBLE_EQ(p.cpd.lo, -0.8);
        EXPECT_DOUBLE_EQ(p.cpd.hi, 0.2);
        EXPECT_DOUBLE_EQ(p.cpd.value, -0.3);
        EXPECT_DOUBLE_EQ(p.currentPointCp, -0.6);
        EXPECT_DOUBLE_EQ(p.cpdDelta, 0.3);
        EXPECT_TRUE(p.point.enabled && p.cpd.enabled && !p.nspl.enabled);
    }
    {
        SCOPED_TRACE("stored bounds outside the limits are brought in first");
        WingModel w = panelTestWing(1, 1);
        w.u1[0] = 40;
        w.u2[0] = -3;
        w.l1[0] = 9;
        ASSERT_TRUE(keepSectionInLimits(w));
        EXPECT_TRUE(w.u1[0] == 13 && w.u2[0] == 17 && w.l1[0] == 8 && w.lowerPoint[0] == 8);
        EXPECT_EQ(test::panelFault(w, panelOf(w)), "");
    }
    EXPECT_FALSE(panelOf(WingModel{}).secYes.enabled) << "nothing works before a wing is read";
}

TEST(ResetOutsideInterval, UpperFromNhalfPlus3ToNptMinus3) {
    WingModel w = panelTestWing(1, 1);  // u1 = 13 = nhalf + 3, u2 = 17 = npt - 3
    for (int i = 0; i < w.npt; ++i) w.cpDes[i][0] = w.cpDes[i][1] = 9.0;
    resetOutsideInterval(w, 0);
    for (int point = 1; point <= 20; ++point) {
        const bool restored = (point >= 11 && point <= 13) || point >= 17;
        EXPECT_EQ(w.cpDes[point - 1][0], restored ? w.cpInit[point - 1][0] : 9.0) << "point " << point;
        EXPECT_EQ(w.cpDes[point - 1][1], 9.0) << "section 2, point " << point;
    }
}
