// The flow floor: local Mach number and section moment, the shock rule on
// hand-made surfaces, --shocks against the model, and smoothing that keeps
// shocks and suction peaks.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>

#include "PanelTestWing.h"
#include "TestSupport.h"
#include "app/CommandLine.h"
#include "correction/SpanTools.h"
#include "flow/Aerodynamics.h"
#include "flow/Shocks.h"
#include "planform/Isobars.h"

using namespace quarvel;

TEST(Flow, LocalMachAndMoment) {
    for (double mach : {0.6, 0.8, 0.8395}) {
        EXPECT_NEAR(localMach(sonicCp(mach), mach), 1.0, 1e-12) << "sonic at Cp* " << mach;
        EXPECT_NEAR(localMach(0.0, mach), mach, 1e-12) << "free stream at Cp 0 " << mach;
    }
    EXPECT_NEAR(localMach(-0.8, 0.8), 1.18425, 1e-5);
    EXPECT_EQ(localMach(1.5, 0.8), 0.0) << "above stagnation";
    EXPECT_TRUE(std::isinf(localMach(-3.0, 0.8))) << "below vacuum";
    // A uniform load of 1 over stations 0, 0.25, 1: cl 1, cm about the
    // quarter chord 0.25 - 0.5; the second section's own stations reach
    // only half the chord: cl 0.5, cm 0.125 - 0.125.
    WingModel w = test::rowWing(3, 2, [](int r) { return r * r / 4.0; }, [](int i, int) { return i >= 3 ? -0.5 : 0.5; });
    for (int i = 0; i < w.npt; ++i) w.X[i][1] /= 2;
    EXPECT_DOUBLE_EQ(sectionLift(w, w.cpInit, 0), 1.0);
    EXPECT_DOUBLE_EQ(sectionMoment(w, w.cpInit, 0), -0.25);
    EXPECT_DOUBLE_EQ(sectionLift(w, w.cpInit, 1), 0.5) << "the section's own X";
    EXPECT_DOUBLE_EQ(sectionMoment(w, w.cpInit, 1), 0.0) << "the section's own X";
}

TEST(Shocks, TheRuleOnHandMadeSurfaces) {
    // Mach 0.8: Cp* -0.4346, the default rule S = 3, J = 0.1.
    struct Expected { double x, before, after; int first, last; };
    struct Case {
        const char* name;
        std::vector<double> x, cp;
        std::vector<Expected> shocks;
    } cases[] = {
        {"a step", {0, .1, .2, .3, .4}, {-.8, -.8, -.8, -.2, -.2}, {{.25, -.8, -.2, 2, 3}}},
        {"a ramp just under S", {0, .1, .2, .3}, {-.8, -.51, -.22, .07}, {}},
        {"a compression that starts subsonic", {0, .1, .2, .3}, {-.4, -.4, .2, .2}, {}},
        {"a steep rise under J", {0, .1, .11, .2}, {-.8, -.8, -.72, -.72}, {}},
        // The second's run has a segment of slope exactly S and a steeper one.
        {"two shocks", {0, .1, .2, .3, .4, .5, .6}, {-1, -.6, -.6, -.9, -.6, -.1, -.1},
         {{.05, -1, -.6, 0, 1}, {.45, -.9, -.1, 3, 5}}},
        // Cp falls at the first equal X, rises at the second.
        {"equal X at a point", {0, .1, .1, .2, .2, .3}, {-.9, -.8, -.9, -.9, -.3, -.3}, {{.2, -.9, -.3, 3, 4}}},
    };
    for (const Case& c : cases) {
        const std::vector<Shock> found = findShocks(c.x, c.cp, 0.8, ShockRule{});
        ASSERT_EQ(found.size(), c.shocks.size()) << c.name;
        for (std::size_t j = 0; j < found.size(); ++j) {
            const Expected& e = c.shocks[j];
            EXPECT_NEAR(found[j].x, e.x, 1e-12) << c.name << " " << j;
            EXPECT_EQ(found[j].cpBefore, e.before) << c.name << " " << j;
            EXPECT_EQ(found[j].cpAfter, e.after) << c.name << " " << j;
            EXPECT_NEAR(found[j].jump, e.after - e.before, 1e-12) << c.name << " " << j;
            EXPECT_DOUBLE_EQ(found[j].m1, localMach(e.before, 0.8)) << c.name << " " << j;
            EXPECT_EQ(found[j].first, e.first) << c.name << " " << j;
            EXPECT_EQ(found[j].last, e.last) << c.name << " " << j;
        }
    }
    // A looser rule takes the ramp, a stricter one drops the step.
    EXPECT_EQ(findShocks(cases[1].x, cases[1].cp, 0.8, {2.5, 0.1}).size(), 1u);
    EXPECT_EQ(findShocks(cases[0].x, cases[0].cp, 0.8, {3, 0.7}).size(), 0u);
}

namespace {

double number(const std::string& field) {
    double v = NAN;
    std::from_chars(field.data(), field.data() + field.size(), v);
    return v;
}

}  // namespace

TEST(Shocks, CommandLineAgainstTheModel) {
    for (const std::string& path : {std::string(QUARVEL_EXAMPLES) + "/wing12.cpi",
                                   std::string(QUARVEL_EXAMPLES) + "/tapered-odd.cpi",
                                   test::dataPath("onera-m6-t2308.perstation.cpi")}) {
        FileError error;
        const std::optional<WingModel> w = readCpInput(path, &error);
        ASSERT_TRUE(w) << error.message();
        const auto [status, out, err] = test::runCli({"--shocks", path});
        ASSERT_EQ(status, 0) << path << err;
        std::istringstream lines(out);
        std::string line;
        std::getline(lines, line);
        EXPECT_EQ(line, "section,z,surface,source,x,cp_before,cp_after,jump,m1") << path;
        // Each surface and source's shocks in their order.
        std::size_t count = 0;
        for (int k = 0; k < w->nsec; ++k)
            for (int s = 0; s < 2; ++s)
                for (CpSource source : {CpSource::Initial, CpSource::Design})
                    for (const Shock& shock : sectionShocks(*w, k, s, source, {})) {
                        ++count;
                        ASSERT_TRUE(std::getline(lines, line)) << path;
                        std::vector<std::string> f;
                        std::istringstream fields(line);
                        for (std::string v; std::getline(fields, v, ',');) f.push_back(v);
                        ASSERT_EQ(f.size(), 9u) << line;
                        EXPECT_EQ(f[0], std::to_string(w->KTE1 + k)) << line;
                        EXPECT_EQ(number(f[1]), w->Z[k]) << line;
                        EXPECT_EQ(f[2], s == 0 ? "upper" : "lower") << line;
                        EXPECT_EQ(f[3], source == CpSource::Initial ? "initial" : "design") << line;
                        EXPECT_EQ(number(f[4]), shock.x) << line;
                        EXPECT_EQ(number(f[5]), shock.cpBefore) << line;
                        EXPECT_EQ(number(f[6]), shock.cpAfter) << line;
                        EXPECT_EQ(number(f[7]), shock.jump) << line;
                        EXPECT_EQ(number(f[8]), shock.m1) << line;
                    }
        EXPECT_FALSE(std::getline(lines, line)) << path << ": more lines than shocks: " << line;
        EXPECT_GT(count, 0u) << path;
    }
    // The measured wing at eta 0.65: a forward shock, and the rear one at
    // x/c 0.46 from -0.725 to -0.301 (M1 1.21).
    const auto [status, out, err] =
        test::runCli({"--shocks", test::dataPath("onera-m6-t2308.perstation.cpi"), "--shock-slope", "3", "--shock-jump",
                      "0.41"});
    EXPECT_EQ(status, 0) << err;
    EXPECT_NE(out.find("\n3,0.7776,upper,initial,0.460235,-0.725,-0.301,0.424,1.2140"), std::string::npos) << out;
    EXPECT_EQ(out.find("\n3,0.7776,upper,initial,0.16"), std::string::npos) << "jump 0.397 under 0.41";
    for (auto bad : {std::vector<std::string>{"--shocks", "w.cpi", "--shock-slope", "0"},
                     {"--shocks", "w.cpi", "--shock-jump", "-1"}, {"--check", "w.cpi", "--shock-jump", "1"}})
        EXPECT_EQ(std::get<0>(test::runCli(bad)), kExitUsage) << bad[2] << " " << bad[3];
}

TEST(Shocks, TheMeasuredLambdaShowsAsTwoLinesThatMerge) {
    FileError error;
    const std::optional<WingModel> w = readCpInput(test::dataPath("onera-m6-t2308.perstation.cpi"), &error);
    ASSERT_TRUE(w) << error.message();
    // Stations 1-4 have a forward and a rear shock, 5-7 one: both lines of
    // station 4 run into station 5's shock (index 8), then one line on.
    const ShockLines lines = shockLines(*w, 0, CpSource::Design, {});
    ASSERT_EQ(lines.shocks.size(), 11u);
    const std::vector<std::pair<int, int>> segments{{0, 2}, {1, 3}, {2, 4}, {3, 5}, {4, 6},
                                                    {5, 7}, {6, 8}, {7, 8}, {8, 9}, {9, 10}};
    EXPECT_EQ(lines.segments, segments);
    EXPECT_DOUBLE_EQ(lines.shocks[8].z, w->Z[4]);
    EXPECT_DOUBLE_EQ(lines.shocks[8].x, w->XLE[4] + 0.279735 * w->B[4]);
}

namespace {

// The shock of surface s of section k nearest to x in the design Cp.
std::optional<Shock> shockNear(const WingModel& w, int k, double x) {
    std::optional<Shock> best;
    for (const Shock& s : sectionShocks(w, k, 0, CpSource::Design, {}))
        if (!best || std::abs(s.x - x) < std::abs(best->x - x)) best = s;
    return best;
}

double lowestDesignCp(const WingModel& w, int k) {
    double low = INFINITY;
    for (int i : intervalIndices(w, k, 0)) low = std::min(low, w.cpDes[i][k]);
    return low;
}

}  // namespace

TEST(Smoothing, KeepsShocksAndSuctionPeaksUnlessThroughShocks) {
    // The measured wing's rear shock at eta 0.65 (x/c 0.46, -0.725 to
    // -0.301), and wing12's section 6 in "Cp edition" over its whole upper
    // surface with its suction peak of -1.5758 (the foot of a leading-edge
    // shock); each by "Smooth" (10 passes) and "Smooth along the span",
    // which also moves the shock, jump and all, onto the shock line.
    FileError error;
    const std::optional<WingModel> m6 = readCpInput(test::dataPath("onera-m6-t2308.perstation.cpi"), &error);
    ASSERT_TRUE(m6) << error.message();
    std::optional<WingModel> wing12 = readCpInput(std::string(QUARVEL_EXAMPLES) + "/wing12.cpi", &error);
    ASSERT_TRUE(wing12) << error.message();
    for (int k : {3, 4, 5}) {
        wing12->surfMode[k][0] = MODE_CP_EDITION;
        wing12->u1[k] = wing12->u1Min;
        wing12->u2[k] = wing12->u2Max;
    }
    struct Case {
        const char* name;
        const WingModel& wing;
        int k;
        double shockX, jump, peak;
        double spanShockX;  // where smoothing along the span puts the shock
    } cases[] = {
        // The line through its neighbours' shocks (x/c 0.512 at z 0.526,
        // 0.361 at z 0.957) passes x/c 0.424 at z 0.778: the run moves one
        // point forward, to the nearest place the station's points allow.
        {"measured, eta 0.65", *m6, 2, 0.460235, 0.424, -1.181, 0.437670},
        {"wing12, section 6", *wing12, 4, 0.553128, 0.6535, -1.5758, 0.553128},
    };
    // Along the span the neighbours' peaks are alike, so smoothing through
    // them moves a peak little: only the measured wing's shock, whose
    // neighbours have theirs elsewhere, is asked to go there.
    for (const Case& c : cases)
        for (bool span : {false, true})
            for (bool through : {false, true}) {
                if (span && through && c.k == 4) continue;
                const std::string name = std::string(c.name) + (span ? ", along the span" : "") +
                                         (through ? ", through shocks" : "");
                WingModel w = c.wing;
                w.curSection = c.k + 1;
                SmoothStrength strength;
                strength.throughShocks = through;
                EditingState e;
                if (span)
                    smoothAlongSpan(w, 0, w.KTE1 + c.k - 1, w.KTE1 + c.k + 1, strength);
                else
                    ASSERT_TRUE(smoothSurface(w, c.k, 0, e, strength).plot) << name;
                const double x = span ? c.spanShockX : c.shockX;
                const std::optional<Shock> shock = shockNear(w, c.k, x);
                const bool kept = shock && std::abs(shock->x - x) < 1e-6 && shock->jump >= 0.9 * c.jump;
                EXPECT_EQ(kept, !through) << name << ": the shock";
                if (!(span && through)) {
                    EXPECT_EQ(std::abs(lowestDesignCp(w, c.k) - c.peak) < 0.02, !through) << name << ": the peak";
                }
            }
}
