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
            EXPECT_TRUE(chooseSectionCorrection(w, 0, false).planform);
            EXPECT_EQ(captureSection(w, 0).codes(), (SurfacePair{0, 0})) << name;
            (s == 0 ? w.RL : w.RU)[0] = 7;
            EXPECT_TRUE(chooseRegime(w, 0, s, c.radio).planform);
            EXPECT_EQ(w.surfMode[0][s], c.mode) << name;
            EXPECT_EQ((s == 0 ? w.RU : w.RL)[0], c.code) << name;
            EXPECT_EQ((s == 0 ? w.RL : w.RU)[0], 7) << name << ": the other surface";
            EXPECT_EQ(w.secCorrection[0], c.secCorrection) << name;
            EXPECT_EQ(w.activeSurface[0], s) << name;
            EXPECT_EQ(test::panelFault(w, panelOf(w, 0)), "") << name;
        }
    }
}

TEST(Panel, CpdTakesATypedValueAndIntervalsAreBroughtOntoTheirSurfaces) {
    WingModel w = panelTestWing(1, 1);  // upper points 11 .. 20, lower 1 .. 10
    w.cpDes[14][0] = -0.3;              // upper point 15, input Cp -0.6
    PanelWidgets p = panelOf(w, 0);
    EXPECT_EQ(p.cpd.value, -0.3);
    EXPECT_EQ(p.currentPointCp, -0.6);
    // A value far from the design Cp is set as typed; one its column cannot hold is refused and said.
    EXPECT_TRUE(setPointCp(w, 0, 0, -1.5).note.empty());
    EXPECT_EQ(w.cpDes[14][0], -1.5);
    EXPECT_NE(setPointCp(w, 0, 0, 1234567.891).note, "");
    EXPECT_EQ(w.cpDes[14][0], -1.5) << "a refused value changes nothing";
    w.u1[0] = 40;
    w.u2[0] = -3;
    w.l1[0] = 9;
    ASSERT_TRUE(keepSectionOnSurfaces(w, 0));
    EXPECT_EQ((std::array<int, 5>{w.u1[0], w.u2[0], w.l1[0], w.l2[0], w.lowerPoint[0]}),
              (std::array<int, 5>{11, 20, 8, 9, 8}));
}

TEST(ResetOutsideInterval, EachSurfaceOutsideItsIntervalAndAtItsEnds) {
    // Upper interval 13 .. 17 on points 11 .. 20, lower 4 .. 8 on points 1 .. 10.
    const struct { int s; bool (*restored)(int point); } cases[] = {
        {0, [](int p) { return (p >= 11 && p <= 13) || p >= 17; }},
        {1, [](int p) { return p <= 4 || (p >= 8 && p <= 10); }},
    };
    for (const auto& c : cases) {
        WingModel w = panelTestWing(1, 1);
        for (int i = 0; i < w.npt; ++i) w.cpDes[i][0] = w.cpDes[i][1] = 9.0;
        resetOutsideInterval(w, 0, c.s);
        for (int point = 1; point <= 20; ++point) {
            EXPECT_EQ(w.cpDes[point - 1][0], c.restored(point) ? w.cpInit[point - 1][0] : 9.0)
                << "surface " << c.s << ", point " << point;
            EXPECT_EQ(w.cpDes[point - 1][1], 9.0) << "surface " << c.s << ", section 2, point " << point;
        }
    }
}
