// Design moves that follow the flow: the chord map along the shock on
// hand-made sections, the lift kept through every kind of edit, a shock
// weakened in one step on the generated wing, and the whole design move on
// the measured wing.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "PanelTestWing.h"
#include "TestSupport.h"
#include "correction/DesignScript.h"
#include "correction/Editing.h"
#include "correction/FlowMoves.h"
#include "correction/Smoothing.h"
#include "correction/SpanTools.h"
#include "correction/SurfaceSpline.h"
#include "flow/Aerodynamics.h"
#include "wing/CpFiles.h"
#include "wing/SectionLift.h"
#include "wing/SectionSurface.h"

using namespace quarvel;

namespace {

// Four sections of 11 upper rows at X = r/10, upper interval rows 1..9
// (x 0.1 .. 0.9), Mach 0.8 (Cp* -0.435). The upper Cp is -1 ahead of a step
// to -0.2 at row shockRow[k] (the shock at x (row - 0.5)/10): section 1 at
// 0.45, section 2 at 0.25, section 3 none, section 4 at 0.95, behind the
// interval.
WingModel stepWing() {
    static const int shockRow[] = {5, 3, 99, 10};
    WingModel w = test::rowWing(11, 4, [](int r) { return r / 10.0; }, [](int i, int k) {
        return i >= 11 ? (i - 11 < shockRow[k] ? -1.0 : -0.2) : 0.2;
    });
    w.MACH = 0.8;
    for (int k = 0; k < 4; ++k) {
        w.secCorrection[k] = SECTION_CORRECTED;
        w.surfMode[k] = {MODE_CP_EDITION, MODE_NONE};
        w.u1[k] = 13;  // row 1
        w.u2[k] = 21;  // row 9
        w.Z[k] = k;
    }
    return w;
}

std::vector<double> shockPositions(const WingModel& w, int k, int s, CpSource source) {
    std::vector<double> x;
    for (const Shock& shock : sectionShocks(w, k, s, source, {})) x.push_back(shock.x);
    return x;
}

double lowestDesignCp(const WingModel& w, int k) {
    double low = INFINITY;
    for (int i = 0; i < w.npt; ++i) low = std::min(low, w.cpDes[i][k]);
    return low;
}

// x lies on the run of the shock (between its first and last point): a
// shock whose run was weakened evenly stands there still.
bool withinRun(const WingModel& w, int k, const Shock& shock, double x) {
    return x >= w.X[shock.first][k] && x <= w.X[shock.last][k];
}

WingModel readWing(const std::string& path) {
    FileError error;
    std::optional<WingModel> w = readCpInput(path, &error);
    EXPECT_TRUE(w) << error.message();
    return w ? *w : WingModel{};
}

// The generated wing with the upper surfaces of sections first..last
// (indices) in "Cp edition" over the editing limits, design Cp = input Cp.
WingModel generatedWing(int first, int last) {
    WingModel w = readWing(std::string(QUARVEL_EXAMPLES) + "/wing12.cpi");
    for (int k = first; k <= last && k < w.nsec; ++k) {
        w.secCorrection[k] = SECTION_CORRECTED;
        w.surfMode[k][0] = MODE_CP_EDITION;
        w.u1[k] = w.u1Min;
        w.u2[k] = w.u2Max;
        for (int i = 0; i < w.npt; ++i) w.cpDes[i][k] = w.cpInit[i][k];
    }
    return w;
}

}  // namespace

TEST(ChordMap, FollowsTheShockWhereBothSectionsHaveOneInside) {
    struct Case { const char* name; int target; bool follow; std::vector<double> to; double x, source; } cases[] = {
        {"shock further forward", 1, true, {0.1, 0.2, 0.25, 0.9}, 0.5, 0.45 + 0.45 * 5.0 / 13.0},
        {"ahead of the shock", 1, true, {0.1, 0.2, 0.25, 0.9}, 0.175, 0.325},
        {"on the shock", 1, true, {0.1, 0.2, 0.25, 0.9}, 0.225, 0.425},
        {"following off", 1, false, {0.1, 0.9}, 0.5, 0.5},
        {"no shock", 2, true, {0.1, 0.9}, 0.3, 0.3},
        {"shock behind the interval", 3, true, {0.1, 0.9}, 0.3, 0.3},
    };
    const WingModel w = stepWing();
    for (const Case& c : cases) {
        const ChordMap map = chordMap(w, 0, c.target, 0, c.follow, {});
        ASSERT_EQ(map.to.size(), c.to.size()) << c.name;
        for (std::size_t j = 0; j < c.to.size(); ++j) EXPECT_NEAR(map.to[j], c.to[j], 1e-12) << c.name << " knot " << j;
        EXPECT_NEAR(map.toSource(c.x), c.source, 1e-12) << c.name;
    }
}

TEST(ChordMap, TheChangeLandsOnTheSameSideOfEachShock) {
    // Section 1 raises rows 3 and 4 (ahead of its shock at 0.45) by 0.1 and
    // 0.3. Carried onto section 2 (shock at 0.25), the foot of its shock,
    // row 2, takes the 0.3 of the source's foot, row 4, and row 3, behind
    // its shock, nothing. Without following, row 3 takes the 0.1 of x 0.3,
    // behind its shock.
    struct Case { const char* name; bool follow; double row2, row3; } cases[] = {
        {"follow", true, 0.3, 0.0},
        {"plain", false, 0.0, 0.1},
    };
    for (const Case& c : cases) {
        WingModel w = stepWing();
        w.cpDes[14][0] += 0.1;
        w.cpDes[15][0] += 0.3;
        EXPECT_NEAR(changeAt(w, 0, 0, 0.44, chordMap(w, 0, 1, 0, true, {})), 0.3, 1e-12)
            << "ahead of the shock the change is held, not blended across it";
        applyToSections(w, 0, 1, 2, {1.0, false, c.follow});
        EXPECT_NEAR(w.cpDes[13][1] - w.cpInit[13][1], c.row2, 1e-12) << c.name;
        EXPECT_NEAR(w.cpDes[14][1] - w.cpInit[14][1], c.row3, 1e-12) << c.name;
    }
    WingModel w = stepWing();
    w.cpDes[15][0] += 0.3;
    EXPECT_EQ(applyToSections(w, 0, 1, 4, {}).note,
              "No shock to follow on the upper surface of sections 3, 4: the change kept its chord position there.");
}

TEST(KeepLift, EveryEditEndsWithTheLiftItStartedWith) {
    // Section 4 of the generated wing, upper surface in "Cp edition": each
    // operation with and without "Keep lift". Kept, the lift is back; the
    // interval's ends and the shocks stand as the operation alone left them.
    enum Op { Point, SplineMove, Smooth, Weaken };
    struct Case { const char* name; Op op; } cases[] = {
        {"point edit", Point}, {"spline move", SplineMove}, {"smoothing", Smooth}, {"weakening", Weaken},
    };
    const int k = 3;
    const WingModel read = generatedWing(k, k);
    for (const Case& c : cases) {
        WingModel alone = read, kept;
        EditingState e;
        if (c.op == SplineMove) {
            switchSpline(alone, k, 0, e, true);
            e.selectedControlPoint = 2;
            e.selectionSection = k;
            e.selectionSurface = 0;
        }
        const double cl = designLift(alone, k);
        kept = alone;
        std::string note;
        for (bool keep : {false, true}) {
            WingModel& w = keep ? kept : alone;
            EditingState edit = e;
            note = keepingLift(w, {k}, keep, {}, [&] {
                switch (c.op) {
                case Point: return setPointCp(w, k, 0, w.cpDes[w.upperPoint[k] - 1][k] - 0.05);
                case SplineMove: return nudgeSelection(w, k, 0, edit, 0.0, -0.05);
                case Smooth: return smoothSurface(w, k, 0, edit, {});
                case Weaken: return weakenShock(w, k, 0, {}, {}, keep);
                }
                return Redraw{};
            }).note;
        }
        EXPECT_GT(std::fabs(designLift(alone, k) - cl), 1e-3) << c.name << ": the operation changes the lift";
        EXPECT_NEAR(designLift(kept, k), cl, 1e-4) << c.name;
        EXPECT_NE(note.find("dcl=+0.0000 dcm="), std::string::npos) << c.name << ": " << note;
        for (int end : {kept.u1[k], kept.u2[k]})
            EXPECT_EQ(kept.cpDes[end - 1][k], alone.cpDes[end - 1][k]) << c.name << " end " << end;
        EXPECT_EQ(shockPositions(kept, k, 0, CpSource::Design), shockPositions(alone, k, 0, CpSource::Design)) << c.name;
    }
}

TEST(WeakenShock, ReachesItsMachNumberOverTheWidthAsked) {
    struct Case { double m1, width; bool keepLift; } cases[] = {
        {1.20, 0.10, false}, {1.15, 0.15, false}, {1.15, 0.15, true}, {1.05, 0.40, false},
    };
    const int k = 3;
    const WingModel read = generatedWing(k, k);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "M1 " << c.m1 << " width " << c.width << (c.keepLift ? " keep lift" : ""));
        WingModel w = read;
        const WingModel before = w;
        const std::optional<Shock> old = rearShockInInterval(w, k, 0, CpSource::Design, {});
        ASSERT_TRUE(old);
        ASSERT_GT(old->m1, 1.2);
        EXPECT_TRUE(weakenShock(w, k, 0, {c.m1, c.width}, {}, c.keepLift).plot);
        const std::optional<Shock> now = rearShockInInterval(w, k, 0, CpSource::Design, {});
        ASSERT_TRUE(now);
        EXPECT_NEAR(now->m1, c.m1, 0.01);
        EXPECT_TRUE(withinRun(before, k, *old, now->x)) << now->x;
        EXPECT_EQ(shockPositions(w, k, 0, CpSource::Design).size(), shockPositions(before, k, 0, CpSource::Design).size());
        if (c.keepLift) {
            EXPECT_NEAR(designLift(w, k), designLift(before, k), 1e-4);
            continue;
        }
        // The points changed lie within the width ahead of the shock, the
        // first of them within one point spacing of its start.
        double first = 1.0;
        for (int i : intervalIndices(w, k, 0))
            if (w.cpDes[i][k] != before.cpDes[i][k]) first = std::min(first, w.X[i][k]);
        EXPECT_GE(first, old->x - c.width);
        EXPECT_LT(first, old->x - c.width + 0.03);
    }
}

TEST(WeakenShock, NeverAsksForLessThanSonicAhead) {
    WingModel sonic = generatedWing(3, 3), below = sonic;
    weakenShock(sonic, 3, 0, {1.0, 0.4}, {}, false);
    weakenShock(below, 3, 0, {0.9, 0.4}, {}, false);
    for (int i = 0; i < sonic.npt; ++i) EXPECT_EQ(below.cpDes[i][3], sonic.cpDes[i][3]) << i;
}

TEST(WeakenShock, SpreadAlongTheShockWeakensEachSectionByItsWeight) {
    // Section 5 of the generated wing weakened to M1 1.15 and carried over
    // sections 3..7 with a fade (sections 3 and 7 take nothing, 4 and 6 half):
    // the Cp ahead of each target's shock rises by its weight's share of the
    // source's rise, and no section gets a new shock.
    WingModel w = generatedWing(1, 5);
    const int c = 3;
    const WingModel before = w;
    const std::vector<int> ks = sectionsBetween(w, w.KTE1 + 1, w.KTE1 + 5);
    keepingLift(w, {c, 1, 2, 4, 5}, true, {}, [&] {
        weakenShock(w, c, 0, {1.15, 0.15}, {}, true);
        return applyToSections(w, c, w.KTE1 + 1, w.KTE1 + 5, {1.0, true, true});
    });
    // The rise of the Cp ahead of the shock (M1 falls with it).
    const double sourceRise = rearShockInInterval(w, c, 0, CpSource::Design, {})->cpBefore -
                              rearShockInInterval(before, c, 0, CpSource::Design, {})->cpBefore;
    ASSERT_GT(sourceRise, 0.1);
    for (int k : ks) {
        SCOPED_TRACE(testing::Message() << "section " << w.KTE1 + k);
        const double weight = blendWeight(w, {1.0, true, true}, k, c, 1, 5);
        const std::optional<Shock> old = rearShockInInterval(before, k, 0, CpSource::Design, {});
        const std::optional<Shock> now = rearShockInInterval(w, k, 0, CpSource::Design, {});
        ASSERT_TRUE(old);
        ASSERT_TRUE(now);
        EXPECT_NEAR(now->cpBefore - old->cpBefore, weight * sourceRise, 1e-3);
        EXPECT_TRUE(withinRun(before, k, *old, now->x)) << now->x;
        EXPECT_EQ(shockPositions(w, k, 0, CpSource::Design).size(), shockPositions(before, k, 0, CpSource::Design).size());
        EXPECT_NEAR(designLift(w, k), designLift(before, k), 1e-4);
    }
}

TEST(WeakenShock, TheMeasuredWingAlongItsSweptShockLine) {
    // Station 3 (eta 0.65) of the measured wing: its rear shock weakened to
    // M1 1.15 with the lift kept, then carried over stations 2..4 along the
    // shock line (x/c 0.51, 0.46, 0.36), from a five-line script. Every
    // station is weaker at its own shock, gains no shock and keeps its lift.
    WingModel w = readWing(test::dataPath("onera-m6-t2308.perstation.cpi"));
    const WingModel before = w;
    const int c = 2;
    const std::vector<int> ks = sectionsBetween(w, 2, 4);
    test::TempDir dir;
    test::writeFile(dir.file("weaken.qvs"),
                    "section 3\nsurface upper\nkeep-lift on\nweaken-shock 1.15\napply 2 4 follow-shock\n");
    ASSERT_EQ(runScript(w, dir.file("weaken.qvs")), "");
    EXPECT_NEAR(rearShockInInterval(w, c, 0, CpSource::Design, {})->m1, 1.15, 0.01);
    for (int k : ks) {
        SCOPED_TRACE(testing::Message() << "station " << k + 1);
        const std::optional<Shock> old = rearShockInInterval(before, k, 0, CpSource::Design, {});
        const std::optional<Shock> now = rearShockInInterval(w, k, 0, CpSource::Design, {});
        ASSERT_TRUE(old);
        ASSERT_TRUE(now);
        EXPECT_TRUE(withinRun(before, k, *old, now->x)) << now->x;
        EXPECT_LT(now->m1, old->m1 - 0.03);
        EXPECT_EQ(shockPositions(w, k, 0, CpSource::Design).size(), shockPositions(before, k, 0, CpSource::Design).size());
        const std::vector<Shock> forward = sectionShocks(w, k, 0, CpSource::Design, {});
        EXPECT_LE(forward.front().m1, sectionShocks(before, k, 0, CpSource::Design, {}).front().m1 + 1e-9)
            << "the forward shock is no stronger";
        EXPECT_NEAR(designLift(w, k), designLift(before, k), 1e-4);
    }
    // Smoothed along the span over stations 2..4 in the shocks' coordinates
    // with the lift kept, every station keeps its shocks, each jump at least
    // 90 % of its size, and its lift, with no new suction peak; station 3's
    // rear shock moves toward the line through its neighbours' (x/c 0.424 at
    // its z), the front one no farther from theirs.
    const WingModel weakened = w;
    test::writeFile(dir.file("smooth.qvs"), "keep-lift on\nsmooth-span 2 4\n");
    ASSERT_EQ(runScript(w, dir.file("smooth.qvs")), "");
    for (int k = 1; k < 4; ++k) {
        EXPECT_NEAR(designLift(w, k), designLift(weakened, k), 1e-4) << "station " << k + 1;
        EXPECT_GE(lowestDesignCp(w, k), lowestDesignCp(weakened, k)) << "station " << k + 1;
        const std::vector<Shock> was = sectionShocks(weakened, k, 0, CpSource::Design, {});
        const std::vector<Shock> now = sectionShocks(w, k, 0, CpSource::Design, {});
        ASSERT_EQ(now.size(), was.size()) << "station " << k + 1;
        for (std::size_t j = 0; j < now.size(); ++j) {
            EXPECT_GE(now[j].jump, 0.9 * was[j].jump) << "station " << k + 1 << " shock " << j;
            if (k != 2) {
                EXPECT_EQ(now[j].x, was[j].x) << "station " << k + 1 << " shock " << j;
            }
        }
    }
    const auto offLine = [&](const WingModel& wing, std::size_t j) {
        const auto x = [&](int k) { return sectionShocks(wing, k, 0, CpSource::Design, {})[j].x; };
        const double t = (w.Z[2] - w.Z[1]) / (w.Z[3] - w.Z[1]);
        return std::fabs(x(2) - (x(1) + t * (x(3) - x(1))));
    };
    EXPECT_LT(offLine(w, 1), offLine(weakened, 1) - 0.01) << "the rear shock";
    EXPECT_LE(offLine(w, 0), offLine(weakened, 0)) << "the front shock";
    // At fixed chord positions the same smoothing makes a new jump at station 3.
    WingModel fixedChord = weakened;
    smoothAlongSpan(fixedChord, 0, 2, 4, {}, false);
    EXPECT_GT(sectionShocks(fixedChord, 2, 0, CpSource::Design, {}).size(), 2u);
    // The plain chord map puts station 4's share behind its shock, at x/c 0.40 .. 0.47.
    WingModel plain = readWing(test::dataPath("onera-m6-t2308.perstation.cpi"));
    weakenShock(plain, c, 0, {}, {}, false);
    applyToSections(plain, c, 2, 4, {1.0, false, false});
    double behind = 0.0;
    for (int i : intervalIndices(plain, 3, 0))
        if (plain.X[i][3] > 0.37) behind = std::max(behind, plain.cpDes[i][3] - plain.cpInit[i][3]);
    EXPECT_GT(behind, 0.05);
}
