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

// Each regime radio from a section that is not corrected (file codes 0, the
// regimes kept): its mode and code, the section flag, the clicked surface
// edited, the other surface's code kept, and a panel that tells it all.
TEST(RegimeCommands, SetModeCodeAndSectionFlagOfTheirSurfaceOnly) {
    const struct { RegimeRadio radio; int mode, code, secCorrection; } cases[] = {{RegimeRadio::NoCorrection, 0, 0, 1}, {RegimeRadio::CpCorrection, 2, 1, 2},
                 {RegimeRadio::GeomInterpolation, 3, -10, 2}, {RegimeRadio::SaveThickness, 4, -1, 2},
                 {RegimeRadio::SaveMaxThickness, 5, -2, 2}};
    for (int s = 0; s < 2; ++s) {
        for (const auto& c : cases) {
            const std::string name = "surface " + std::to_string(s) + ", mode " + std::to_string(c.mode);
            WingModel w = panelTestWing(1, 3);
            EXPECT_TRUE(chooseSectionCorrection(w, false).planform);
            EXPECT_EQ(captureSection(w, 0).codes(), (SurfacePair{0, 0})) << name;
            (s == 0 ? w.RL : w.RU)[0] = 7;
            EXPECT_TRUE(chooseRegime(w, s, c.radio).planform);
            EXPECT_EQ(w.surfMode[0][s], c.mode) << name;
            EXPECT_EQ((s == 0 ? w.RU : w.RL)[0], c.code) << name;
            EXPECT_EQ((s == 0 ? w.RL : w.RU)[0], 7) << name << ": the other surface";
            EXPECT_EQ(w.secCorrection[0], c.secCorrection) << name;
            EXPECT_EQ(w.activeSurface[0], s) << name;
            EXPECT_EQ(test::panelFault(w, panelOf(w)), "") << name;
        }
    }
}

TEST(Panel, CpdCentredOnTheDesignCpAndBoundsBroughtIn) {
    WingModel w = panelTestWing(1, 1);
    w.cpDes[14][0] = -0.3;  // upper point 15, input Cp -0.6
    const PanelWidgets p = panelOf(w);
    EXPECT_DOUBLE_EQ(p.cpd.lo, -0.8) << "Cpd= lower bound";
    EXPECT_DOUBLE_EQ(p.cpd.hi, 0.2) << "Cpd= upper bound";
    EXPECT_DOUBLE_EQ(p.cpd.value, -0.3) << "Cpd= value";
    EXPECT_DOUBLE_EQ(p.currentPointCp, -0.6) << "the point's Cp";
    w.u1[0] = 40;
    w.u2[0] = -3;
    w.l1[0] = 9;
    ASSERT_TRUE(keepSectionInLimits(w));
    EXPECT_EQ(w.u1[0], 13) << "U1=";
    EXPECT_EQ(w.u2[0], 17) << "U2=";
    EXPECT_EQ(w.l1[0], 8) << "L1=";
    EXPECT_EQ(w.lowerPoint[0], 8) << "lower I=";
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
