// The design tools on the wing of PanelTestWing.h: smoothing along the chord
// and the span, one section's set-up over five with its undo, and the import
// of an earlier CpOutput's set-up.
#include <array>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "PanelTestWing.h"
#include "TestSupport.h"
#include "correction/History.h"
#include "correction/ImportRegimes.h"
#include "correction/SpanTools.h"

using namespace quarvel;
using quarvel::test::panelTestWing;

namespace {

// Largest |second difference| of the upper design Cp of section k inside points first..last.
double largestBend(const WingModel& w, int k, int first, int last) {
    double bend = 0.0;
    for (int i = first; i < last - 1; ++i)
        bend = std::max(bend, std::fabs(w.cpDes[i - 1][k] - 2 * w.cpDes[i][k] + w.cpDes[i + 1][k]));
    return bend;
}

}  // namespace

TEST(Smoothing, EndsStayLinesStayBendsFallAJumpPastTheEndSurvives) {
    // Upper rows r at the uneven X = (r/10)^2; the interval is points 13..u2 (rows 2..u2-11).
    struct Case { const char* name; int u2; bool line; double (*cp)(int row, double x); } cases[] = {
        {"zigzag", 17, false, [](int r, double) { return -0.05 * r + (r % 2 ? 0.1 : -0.1); }},
        {"straight line in x", 17, true, [](int, double x) { return 0.3 - 2.0 * x; }},
        {"zigzag before a shock", 15, false, [](int r, double) { return r <= 4 ? -1.0 + (r % 2 ? 0.1 : -0.1) : -0.2; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WingModel w = panelTestWing(MODE_CP_EDITION, MODE_NONE);
        w.u2[0] = c.u2;
        for (int r = 0; r < 10; ++r) {
            w.X[10 + r][0] = w.X[9 - r][0] = r * r / 100.0;
            w.cpDes[10 + r][0] = c.cp(r, w.X[10 + r][0]);
        }
        const WingModel before = w;
        EditingState e;
        ASSERT_TRUE(smoothSurface(w, 0, 0, e, {20, 0.5}).plot);
        const double bend = largestBend(before, 0, w.u1[0], w.u2[0]);
        for (int i = 0; i < w.npt; ++i) {
            const bool fixed = i + 1 <= w.u1[0] || i + 1 >= w.u2[0];
            EXPECT_NEAR(w.cpDes[i][0], before.cpDes[i][0], fixed ? 0.0 : c.line ? 1e-12 : 1.0) << i;
        }
        if (!c.line) {
            EXPECT_LE(largestBend(w, 0, w.u1[0], w.u2[0]), bend / 2 + 1e-12);
        }
    }
    WingModel w = panelTestWing(MODE_CP_INTERP, MODE_NONE);
    EditingState e;
    EXPECT_FALSE(smoothSurface(w, 0, 0, e, {}).plot) << "only a surface in \"Cp edition\" is smoothed";
}

TEST(ApplyToSections, ConstantAndFadingBlendsOnFiveSectionsAndOneUndo) {
    // Section 3 is the source: upper "Cp edition" over points 14..16 with a
    // change of 0.1, 0.2, 0.1 there, lower "Cp interpolation". The sections
    // stand at Z 0, 0.3, 0.5, 0.6, 1: a fade goes by span distance (section
    // 2 is 0.2 of 0.5 away, section 4 0.1 of 0.5). Weight -1: outside the
    // range or of weight 0, untouched.
    struct Case { int first, last; Blend blend; double weight[5]; } cases[] = {
        {1, 5, {1.0, false}, {1, 1, 1, 1, 1}},
        {5, 2, {0.5, false}, {-1, 0.5, 1, 0.5, 0.5}},
        {1, 5, {1.0, true}, {-1, 0.6, 1, 0.8, -1}},
        {2, 5, {1.0, true}, {-1, -1, 1, 0.8, -1}},
    };
    const double z[] = {0.0, 0.3, 0.5, 0.6, 1.0};
    const double change[] = {0.1, 0.2, 0.1};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << ".." << c.last << (c.blend.fade ? " fade" : ""));
        WingModel w = panelTestWing(MODE_NONE, MODE_GEOM, 5);
        for (int k = 0; k < 5; ++k) w.Z[k] = z[k];
        w.curSection = 3;
        w.surfMode[2] = {MODE_CP_EDITION, MODE_CP_INTERP};
        w.u1[2] = 14;
        w.u2[2] = 16;
        for (int j = 0; j < 3; ++j) w.cpDes[13 + j][2] += change[j];
        const WingModel before = w;
        const std::vector<int> all{2, 0, 1, 3, 4};
        SectionStates states = captureSections(w, all);

        EXPECT_TRUE(applyToSections(w, 2, c.first, c.last, c.blend).planform);
        for (int k = 0; k < 5; ++k) {
            const bool outside = c.weight[k] < 0, kept = outside || k == 2;  // outside: untouched
            EXPECT_EQ(w.surfMode[k], outside ? before.surfMode[k] : before.surfMode[2]) << k + 1;
            EXPECT_EQ(w.u1[k] * 100 + w.u2[k], outside ? 1317 : 1416) << k + 1;
            for (int i = 0; i < w.npt; ++i) {
                const double added = i >= 13 && i <= 15 ? c.weight[k] * change[i - 13] : 0.0;
                EXPECT_NEAR(w.cpDes[i][k], kept ? before.cpDes[i][k] : w.cpInit[i][k] + added, 1e-12) << k + 1;
            }
        }
        History h;
        // An undo puts an interval end that lies on the other surface back onto its own.
        states.front().u1 = w.nhalf - 2;
        h.record(std::move(states), captureSections(w, all));
        EditingState e;
        w.curSection = 5;
        ASSERT_TRUE(undoEdit(w, e, h).planform);
        EXPECT_EQ(w.curSection, 3);
        EXPECT_EQ(panelOf(w, 2).intervalFirst[0].value, firstPointOf(w, 0) + w.ioff) << "the panel follows";
        w.u1[2] = 14;
        for (int k = 0; k < 5; ++k) EXPECT_TRUE(captureSection(w, k).sameEdit(captureSection(before, k))) << k + 1;
    }
}

TEST(SmoothAlongSpan, MovesOnlyEditedPointsOfTheInnerSections) {
    WingModel w = panelTestWing(MODE_CP_EDITION, MODE_NONE, 5);
    for (int k = 0; k < 5; ++k) {
        w.Z[k] = k * k;  // uneven span stations
        for (int i = 12; i <= 16; ++i) w.cpDes[i][k] = k % 2 ? -0.3 : -0.5;
    }
    w.surfMode[3][0] = MODE_GEOM;  // holds its values
    const WingModel before = w;
    EXPECT_TRUE(smoothAlongSpan(w, 0, 5, 1, {5, 0.5}).plot);
    for (int k = 0; k < 5; ++k)
        for (int i = 0; i < w.npt; ++i)
            EXPECT_EQ(w.cpDes[i][k] != before.cpDes[i][k], k > 0 && k < 3 && i >= 12 && i <= 16) << k + 1 << " " << i;
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
    for (int i = saved.u1[0]; i < saved.u2[0] - 1; ++i) saved.cpDes[i][0] -= 0.0625;
    saved.surfMode[1] = {MODE_CP_INTERP, MODE_THICKNESS};
    saved.surfMode[2] = {MODE_NONE, MODE_NONE};
    saved.surfMode[3] = {MODE_MAX_THICKNESS, MODE_CP_EDITION};
    saved.l2[3] = saved.l2Max - 1;
    for (int i = saved.l1[3]; i < saved.l2[3] - 1; ++i) saved.cpDes[i][3] += 0.125;
    // Surfaces without correction carry interval values too, a default end written by its number among them.
    saved.outIU1[2] = saved.ioff + saved.u1Min + 1;
    saved.outIU2[2] = saved.ioff + saved.u2Max;
    saved.outIL1[2] = saved.ioff + saved.l1Min + 2;
    saved.outIL2[2] = saved.ioff + saved.l2Max - 3;
    ASSERT_TRUE(saveCpOutput(saved, dir.file("old.cpd"), &error)) << error.message();
    const std::optional<WingModel> old = readCpInput(dir.file("old.cpd"), &error);
    ASSERT_TRUE(old) << error.message();

    // The next cycle: other Cp, sections numbered from one less, so that its first section is not in the old
    // file, and points numbered as before or from two more (the same rows under other numbers).
    for (int shift : {0, 2}) {
        SCOPED_TRACE(testing::Message() << "points numbered " << shift << " more");
        WingModel next = *read;
        for (int k = 0; k < next.nsec; ++k)
            for (int i = 0; i < next.npt; ++i) next.cpInit[i][k] = next.cpDes[i][k] += 0.01;
        next.KTE1 -= 1;
        next.ITE1 += shift, next.ITE2 += shift, next.ioff += shift;
        const std::optional<ImportResult> result = importRegimesFrom(next, dir.file("old.cpd"), &error);
        ASSERT_TRUE(result) << error.message();
        EXPECT_EQ(missingSectionsNote(*result, dir.file("old.cpd")), "Section 1 is not in old.cpd and stays as it is.");
        for (int k = 1, o = 0; k < next.nsec; ++k, ++o) {
            SCOPED_TRACE(testing::Message() << "section " << next.KTE1 + k);
            EXPECT_EQ(next.surfMode[k], saved.surfMode[o]);
            // Intervals go by point number, the design Cp by chord position.
            EXPECT_EQ(std::vector<int>({next.u1[k], next.u2[k], next.l1[k], next.l2[k]}),
                      std::vector<int>({old->u1[o] - shift, old->u2[o] - shift, old->l1[o] - shift, old->l2[o] - shift}));
            for (int s = 0; s < 2; ++s) {
                const bool edition = saved.surfMode[o][s] == MODE_CP_EDITION;
                for (int i : intervalIndices(next, k, s))
                    EXPECT_NEAR(next.cpDes[i][k], edition ? saved.cpDes[i][o] : next.cpInit[i][k], 0.5e-4) << i;
            }
        }
        // Every regime's interval is written with the old file's values; a 0 only while it names the same point.
        prepareOutput(next);
        for (int k = 1, o = 0; k < next.nsec; ++k, ++o) {
            const std::array<int, 4> values{old->IU1[o], old->IU2[o], old->IL1[o], old->IL2[o]};
            const std::array<int, 4> points{next.u1[k], next.u2[k], next.l1[k], next.l2[k]};
            std::array<int, 4> expected = values;
            for (int s = 0; s < 2; ++s)
                if (shift != 0 && (values[2 * s] == 0 || values[2 * s + 1] == 0))
                    for (int e : {2 * s, 2 * s + 1}) expected[e] = next.ioff + points[e];
            EXPECT_EQ((std::array<int, 4>{next.outIU1[k], next.outIU2[k], next.outIL1[k], next.outIL2[k]}), expected)
                << "section " << next.KTE1 + k;
        }
    }
}
