// The design tools: smoothing, shaping the change with the spline, one
// section's set-up applied over the span (and its undo), and the set-up of an
// earlier CpOutput imported.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "PanelTestWing.h"
#include "TestSupport.h"
#include "correction/History.h"
#include "correction/ImportRegimes.h"
#include "correction/SpanTools.h"
#include "correction/SurfaceSpline.h"

using namespace quarvel;
using quarvel::test::panelTestWing;

namespace {

// Largest |second difference| of the upper design Cp over points first..last.
double largestBend(const WingModel& w, int k, int first, int last) {
    double bend = 0.0;
    for (int p = first + 1; p < last; ++p)
        bend = std::max(bend, std::fabs(w.cpDes[p - 2][k] - 2 * w.cpDes[p - 1][k] + w.cpDes[p][k]));
    return bend;
}

}  // namespace

TEST(Smoothing, EndsStayLinesStayBendsFallAJumpPastTheEndSurvives) {
    // Upper interval points 13..17 at X 0.2..0.6; u2 = 15 puts the jump of
    // the third case between the interval's last point and the next.
    struct Case {
        const char* name;
        int u2;
        double (*cp)(int row);
    } cases[] = {
        {"zigzag", 17, [](int r) { return -0.5 * r / 10.0 + (r % 2 ? 0.1 : -0.1); }},
        {"straight line", 17, [](int r) { return 0.3 - 2.0 * r / 10.0; }},
        {"zigzag before a shock", 15, [](int r) { return r <= 4 ? -1.0 + (r % 2 ? 0.1 : -0.1) : -0.2; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WingModel w = panelTestWing(MODE_CP_EDITION, MODE_NONE);
        w.u2[0] = c.u2;
        for (int r = 0; r < 10; ++r) w.cpDes[10 + r][0] = c.cp(r);
        const WingModel before = w;
        EditingState e;
        ASSERT_TRUE(smoothSurface(w, e, {20, 0.5}).plot);
        for (int i = 0; i < w.npt; ++i) {
            const bool fixed = i + 1 <= w.u1[0] || i + 1 >= w.u2[0];
            EXPECT_TRUE(!fixed || w.cpDes[i][0] == before.cpDes[i][0]) << "index " << i;
        }
        const double bend = largestBend(before, 0, w.u1[0], w.u2[0]);
        if (bend < 1e-12) {
            for (int i = 0; i < w.npt; ++i) EXPECT_NEAR(w.cpDes[i][0], before.cpDes[i][0], 1e-12);
        } else {
            EXPECT_LT(largestBend(w, 0, w.u1[0], w.u2[0]), bend / 2);
        }
    }
    WingModel w = panelTestWing(MODE_CP_INTERP, MODE_NONE);
    EditingState e;
    EXPECT_FALSE(smoothSurface(w, e, {}).plot) << "only a surface in \"Cp edition\" is smoothed";
}

TEST(ShapeTheChange, OnChangesNothingAMoveStaysWithinTwoControlPointsOffKeepsTheResult) {
    FileError error;
    std::optional<WingModel> read = readCpInput(std::string(QUARVEL_EXAMPLES) + "/wing12.cpi", &error);
    ASSERT_TRUE(read) << error.message();
    WingModel w = *read;
    w.surfMode[0][0] = MODE_CP_EDITION;
    w.u1[0] = w.u1Min;
    w.u2[0] = w.u2Max;
    PanelWidgets p;
    EditingState e;
    refreshCorrectionPanel(w, p);
    setSplineCount(w, p, e, 9);
    switchSpline(w, p, e, true);
    const SectionState spline = captureSection(w, 0);
    EXPECT_TRUE(switchShapeChange(w, e, true).plot);
    EXPECT_TRUE(captureSection(w, 0).sameOutput(spline)) << "switching on changes nothing";
    for (int j = 0; j < 9; ++j) EXPECT_EQ(w.splY[j][0][0], 0.0);

    const WingModel shaped = w;
    for (int j : {1, 2, 4, 7}) {
        SCOPED_TRACE(j);
        w = shaped;
        for (double change : {0.3, -0.2}) {
            w.splY[j][0][0] = change;
            ASSERT_TRUE(applySurfaceSpline(w));
        }
        const double from = w.splX[std::max(j - 2, 0)][0][0], to = w.splX[std::min(j + 2, 8)][0][0];
        int changed = 0;
        for (int i = 0; i < w.npt; ++i) {
            if (w.cpDes[i][0] == shaped.cpDes[i][0]) continue;
            ++changed;
            EXPECT_TRUE(i >= w.nhalf && from < w.X[i] && w.X[i] < to) << "index " << i << " X " << w.X[i];
        }
        EXPECT_GT(changed, 0);
    }
    const SectionState moved = captureSection(w, 0);
    EXPECT_TRUE(switchShapeChange(w, e, false).plot);
    EXPECT_TRUE(captureSection(w, 0).sameOutput(moved)) << "turning off keeps the result";
    EXPECT_TRUE(w.shapeBase[0][0].empty());
}

TEST(ApplyToSections, ConstantAndFadingBlendsOnFiveSectionsAndOneUndo) {
    // Section 3 (k 2) is the source: upper "Cp edition" over points 14..16
    // with a change of 0.1, 0.2, 0.1 there, lower "Cp interpolation".
    struct Case {
        int first, last;
        Blend blend;
        double weight[5];
    } cases[] = {
        {1, 5, {1.0, false}, {1, 1, 1, 1, 1}},
        {5, 2, {0.5, false}, {-1, 0.5, 1, 0.5, 0.5}},  // -1: outside the range, untouched
        {1, 5, {1.0, true}, {0, 0.5, 1, 0.5, 0}},
        {2, 5, {1.0, true}, {-1, 0, 1, 0.5, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << ".." << c.last << (c.blend.fade ? " fade" : ""));
        WingModel w = panelTestWing(MODE_NONE, MODE_GEOM, 5);
        w.curSection = 3;
        w.surfMode[2] = {MODE_CP_EDITION, MODE_CP_INTERP};
        w.u1[2] = 14;
        w.u2[2] = 16;
        const double change[] = {0.1, 0.2, 0.1};
        for (int j = 0; j < 3; ++j) w.cpDes[13 + j][2] += change[j];
        const WingModel before = w;
        History h;
        std::vector<int> all{2, 0, 1, 3, 4};
        SectionStates states = captureSections(w, all);

        EXPECT_TRUE(applyToSections(w, c.first, c.last, c.blend).planform);
        for (int k = 0; k < 5; ++k) {
            if (c.weight[k] < 0 || k == 2) {
                EXPECT_TRUE(captureSection(w, k).sameEdit(captureSection(before, k))) << "section " << k + 1;
                continue;
            }
            EXPECT_EQ(w.surfMode[k], (SurfacePair{MODE_CP_EDITION, MODE_CP_INTERP}));
            EXPECT_EQ(std::vector<int>({w.u1[k], w.u2[k]}), std::vector<int>({14, 16}));
            for (int i = 0; i < w.npt; ++i) {
                const double added = i >= 13 && i <= 15 ? c.weight[k] * change[i - 13] : 0.0;
                EXPECT_NEAR(w.cpDes[i][k], w.cpInit[i][k] + added, 1e-12) << "section " << k + 1 << " index " << i;
            }
        }
        h.record(std::move(states), captureSections(w, all));
        PanelWidgets p;
        EditingState e;
        w.curSection = 5;
        ASSERT_TRUE(undoEdit(w, p, e, h).planform);
        EXPECT_EQ(w.curSection, 3);
        for (int k = 0; k < 5; ++k) EXPECT_TRUE(captureSection(w, k).sameEdit(captureSection(before, k))) << k + 1;
    }
}

TEST(SmoothAlongSpan, MovesOnlyEditedPointsOfTheInnerSections) {
    WingModel w = panelTestWing(MODE_CP_EDITION, MODE_NONE, 5);
    for (int k = 0; k < 5; ++k) {
        w.Z[k] = k * k;  // uneven span stations
        for (int i = 12; i <= 16; ++i) w.cpDes[i][k] = -0.5 + (k % 2 ? 0.2 : 0.0);
    }
    w.surfMode[3][0] = MODE_GEOM;  // holds its values
    const WingModel before = w;
    EXPECT_TRUE(smoothAlongSpan(w, 5, 1, {5, 0.5}).plot);
    for (int k = 0; k < 5; ++k)
        for (int i = 0; i < w.npt; ++i) {
            const bool moves = (k == 1 || k == 2) && i >= 12 && i <= 16;
            EXPECT_EQ(w.cpDes[i][k] != before.cpDes[i][k], moves) << "section " << k + 1 << " index " << i;
        }
    EXPECT_LT(w.cpDes[14][1], before.cpDes[14][1]);
    EXPECT_GT(w.cpDes[14][2], before.cpDes[14][2]);
}

TEST(ImportRegimes, ASavedSetUpComesBackOntoTheWingWithNewCp) {
    test::TempDir dir;
    FileError error;
    std::optional<WingModel> read = readCpInput(std::string(QUARVEL_EXAMPLES) + "/wing12.cpi", &error);
    ASSERT_TRUE(read) << error.message();
    WingModel saved = *read;
    // Mixed regimes and edited design Cp on both surfaces.
    saved.surfMode[0] = {MODE_CP_EDITION, MODE_GEOM};
    saved.u1[0] = saved.u1Min + 2;
    saved.u2[0] = saved.u2Max - 5;
    for (int i = saved.u1[0]; i < saved.u2[0] - 1; ++i) saved.cpDes[i][0] -= 0.0625;
    saved.surfMode[1] = {MODE_CP_INTERP, MODE_THICKNESS};
    saved.surfMode[2] = {MODE_NONE, MODE_NONE};
    saved.surfMode[3] = {MODE_MAX_THICKNESS, MODE_CP_EDITION};
    saved.l1[3] = saved.l1Min + 1;
    saved.l2[3] = saved.l2Max - 1;
    for (int i = saved.l1[3]; i < saved.l2[3] - 1; ++i) saved.cpDes[i][3] += 0.125;
    ASSERT_TRUE(saveCpOutput(saved, dir.file("old.cpd"), &error)) << error.message();

    // The next cycle: other Cp, and numbered from one less, so that its
    // first section is not in the old file.
    WingModel next = *read;
    for (int k = 0; k < next.nsec; ++k)
        for (int i = 0; i < next.npt; ++i) next.cpInit[i][k] = next.cpDes[i][k] += 0.01;
    next.KTE1 -= 1;
    const std::optional<ImportResult> result = importRegimesFrom(next, dir.file("old.cpd"), &error);
    ASSERT_TRUE(result) << error.message();
    EXPECT_EQ(result->missing, std::vector<int>{next.KTE1});
    EXPECT_EQ(missingSectionsNote(*result, dir.file("old.cpd")), "Section 1 is not in old.cpd and stays as it is.");
    for (int k = 1; k < next.nsec; ++k) {
        const int o = k - 1;
        SCOPED_TRACE(testing::Message() << "section " << next.KTE1 + k);
        EXPECT_EQ(next.secCorrection[k], saved.secCorrection[o]);
        EXPECT_EQ(next.surfMode[k], saved.surfMode[o]);
        for (int s = 0; s < 2; ++s) {
            if (saved.surfMode[o][s] != MODE_CP_EDITION && saved.surfMode[o][s] != MODE_CP_INTERP) continue;
            EXPECT_EQ(s == 0 ? next.u1[k] : next.l1[k], s == 0 ? saved.u1[o] : saved.l1[o]);
            EXPECT_EQ(s == 0 ? next.u2[k] : next.l2[k], s == 0 ? saved.u2[o] : saved.l2[o]);
            const bool edition = saved.surfMode[o][s] == MODE_CP_EDITION;
            for (int i : intervalIndices(next, k, s))
                EXPECT_NEAR(next.cpDes[i][k], edition ? saved.cpDes[i][o] : next.cpInit[i][k], 0.5e-4) << "index " << i;
        }
    }
}
