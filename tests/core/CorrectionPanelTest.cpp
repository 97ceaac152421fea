// The correction panel's synchronisation with the section state, and the
// section and regime commands. Expected values are worked out from the wing
// in PanelTestWing.h (a spinner shows point p as p + 10).
#include <string>

#include <gtest/gtest.h>

#include "PanelTestWing.h"
#include "TestSupport.h"
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
            PanelWidgets p;
            refreshCorrectionPanel(w, p);
            chooseSectionCorrection(w, p, false);  // secCorrection 1
            (s == 0 ? w.RL : w.RU)[0] = 7;         // the other surface's code

            const Redraw r = chooseRegime(w, p, s, c.radio);
            EXPECT_EQ(w.surfMode[0][s], c.mode) << name;
            EXPECT_EQ((s == 0 ? w.RU : w.RL)[0], c.code) << name;
            EXPECT_EQ((s == 0 ? w.RL : w.RU)[0], 7) << name << ": other surface's code kept";
            EXPECT_EQ(w.secCorrection[0], c.secCorrection) << name;
            EXPECT_TRUE((p.*c.row)[s].checked) << name;
            EXPECT_TRUE(r.planform && !r.plot) << name;
            EXPECT_FALSE(p.point.enabled || p.cpd.enabled) << name << ": no point editing";
            if (c.mode == 2) {
                EXPECT_TRUE(p.cpInterpolation[s].checked && p.intervalStart[s].enabled) << name;
                EXPECT_EQ(p.point.lo, s == 0 ? 23 : 14) << name << ": I= gets this surface's interval";
            }
        }
    }
}

TEST(SectionCommands, NoThenYesSecCorrection) {
    WingModel w = panelTestWing(1, 3);
    PanelWidgets p;
    refreshCorrectionPanel(w, p);

    EXPECT_TRUE(chooseSectionCorrection(w, p, false).planform) << "both regimes changed";
    EXPECT_EQ(w.secCorrection[0], 1);
    EXPECT_TRUE(w.surfMode[0][0] == 0 && w.surfMode[0][1] == 0 && w.RU[0] == 0 && w.RL[0] == 0);
    EXPECT_TRUE(p.secNo.checked && !p.secYes.checked && p.secNo.enabled && p.secYes.enabled);
    for (int s = 0; s < 2; ++s)
        for (const bool on : {p.surface[s].enabled, p.noCorrection[s].enabled, p.cpCorrection[s].enabled,
                              p.geomInterpolation[s].enabled, p.maxThickness[s].enabled, p.cpEdition[s].enabled,
                              p.spline[s].enabled, p.intervalStart[s].enabled, p.point.enabled, p.nspl.enabled})
            EXPECT_FALSE(on) << "closed section, surface " << s;

    chooseSectionCorrection(w, p, true);
    EXPECT_EQ(w.secCorrection[0], 2);
    EXPECT_EQ(w.RU[0], 1) << "opening sets the codes 1 / -1";
    EXPECT_EQ(w.RL[0], -1);
    EXPECT_TRUE(p.secYes.checked && !p.secNo.checked);
    EXPECT_TRUE(p.surface[0].enabled && p.surface[1].enabled && p.surface[0].checked && !p.surface[1].checked);
    EXPECT_TRUE(p.noCorrection[0].checked && p.noCorrection[1].checked);
    for (RadioRow row : {&PanelWidgets::noCorrection, &PanelWidgets::cpCorrection, &PanelWidgets::maxThickness})
        EXPECT_TRUE((p.*row)[0].enabled && !(p.*row)[1].enabled) << "only the active surface's regimes";
}

TEST(PanelRefresh, AfterLoadOnASectionWithBothRegimesNone) {
    // small-even with the lower code of section 2 set to 0 as well (ioff 2).
    std::string text = test::readFile(test::dataPath("small-even.cpi"));
    const std::string codes = "                           0                            1\n";
    ASSERT_NE(text.find(codes), std::string::npos);
    text.replace(text.find(codes), codes.size(), "                           0                            0\n");
    FileError err;
    auto read = parseCpInput(text, "both-none.cpi", &err);
    ASSERT_TRUE(read) << err.message();
    WingModel w = std::move(*read);
    w.curSection = 2;
    ASSERT_TRUE(w.surfMode[1][0] == 0 && w.surfMode[1][1] == 0);

    PanelWidgets p;
    refreshCorrectionPanel(w, p);
    EXPECT_TRUE(p.secYes.checked && !p.secNo.checked);
    EXPECT_TRUE(p.secYes.enabled && p.secNo.enabled) << "the section radios work after a load";
    EXPECT_TRUE(p.noCorrection[0].checked && p.noCorrection[1].checked);
    EXPECT_FALSE(p.noCorrection[0].enabled || p.noCorrection[1].enabled);
    EXPECT_TRUE(p.surface[0].checked && !p.surface[1].checked && p.surface[1].enabled);
    EXPECT_FALSE(p.point.enabled || p.cpd.enabled || p.nspl.enabled);
    // U1 = 11, U2 = u2Max = 13; upper point 12 is row 3 of section 2.
    EXPECT_TRUE(p.intervalStart[0].value == 13 && p.intervalEnd[0].value == 15);
    EXPECT_DOUBLE_EQ(p.currentPointCp, -0.8);
}

TEST(PanelRefresh, PointEditorsAndSpinners) {
    {
        SCOPED_TRACE("both surfaces in Cp edition keep the shared point editors");
        WingModel w = panelTestWing(1, 1);
        PanelWidgets p;
        refreshCorrectionPanel(w, p);
        p.currentPointXEnabled = true;
        disableSurfaceControls(w, p, 0);
        disableSurfaceControls(w, p, 1);
        EXPECT_TRUE(p.point.enabled && p.cpd.enabled && p.nspl.enabled && p.currentPointXEnabled);
        w.surfMode[0][1] = 2;
        disableSurfaceControls(w, p, 1);
        EXPECT_FALSE(p.point.enabled || p.cpd.enabled || p.nspl.enabled || p.currentPointXEnabled);

        w.surfMode[0][0] = 2;
        refreshCorrectionPanel(w, p);
        EXPECT_TRUE(p.spline[0].enabled) << "Cp interpolation leaves the spline check as opening set it";
    }
    {
        SCOPED_TRACE("u1 = u2 pins U1=, U2= and I= to one value");
        WingModel w = panelTestWing(1, 0);
        w.u1[0] = w.u2[0] = 15;
        PanelWidgets p;
        refreshCorrectionPanel(w, p);
        EXPECT_TRUE(p.intervalStart[0].hi == 25 && p.intervalStart[0].value == 25);
        EXPECT_TRUE(p.intervalEnd[0].lo == 25 && p.intervalEnd[0].value == 25);
        EXPECT_TRUE(p.point.lo == 25 && p.point.hi == 25 && p.point.value == 25);
    }
    {
        SCOPED_TRACE("Cpd= spans the design Cp -0.5 .. +0.5, Cpt= shows the input Cp");
        WingModel w = panelTestWing(1, 0);
        w.cpDes[14][0] = -0.3;  // upper point 15
        PanelWidgets p;
        refreshCorrectionPanel(w, p);
        EXPECT_DOUBLE_EQ(p.cpd.lo, -0.8);
        EXPECT_DOUBLE_EQ(p.cpd.hi, 0.2);
        EXPECT_DOUBLE_EQ(p.cpd.value, -0.3);
        EXPECT_DOUBLE_EQ(p.currentPointCp, -0.6);
    }
    {
        SCOPED_TRACE("stored bounds outside the limits are brought in first");
        WingModel w = panelTestWing(1, 1);
        w.u1[0] = 40;
        w.u2[0] = -3;
        w.l1[0] = 9;
        PanelWidgets p;
        refreshCorrectionPanel(w, p);
        EXPECT_TRUE(w.u1[0] == 13 && w.u2[0] == 17 && w.l1[0] == 8 && w.lowerPoint[0] == 8);
        EXPECT_LE(p.intervalEnd[1].lo, p.intervalEnd[1].hi);
    }
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
