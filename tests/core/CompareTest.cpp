// A wing beside its target: known residuals on hand-made wings, in the model
// and through --compare, and what the plot, the spanload and the isobars
// draw of them.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>

#include "PanelTestWing.h"
#include "TestSupport.h"
#include "flow/Compare.h"
#include "planform/Isobars.h"
#include "plot/CpPlot.h"
#include "plot/Spanload.h"

using namespace quarvel;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Eleven rows a surface at X = r/10; upper rows 2..8 are points 14..20,
// lower rows 2..8 points 9..3.
constexpr int kRows = 11;
double rowX(int r) { return r / 10.0; }
double xOf(const WingModel& w, int i, int k) { return w.X[i][k]; }

// A CSV field read whatever the locale.
double number(const std::string& field) {
    double v = NAN;
    std::from_chars(field.data(), field.data() + field.size(), v);
    return v;
}

// The target: three sections, both surfaces in "Cp edition" over rows
// 2..8, design Cp -0.5 on section 1's upper surface, x^2 on the others'
// and 0.5 - x on the lower;
// section 2's lower surface in "Cp interpolation", section 3 uncorrected.
WingModel targetWing() {
    WingModel t = test::rowWing(kRows, 3, rowX, [](int, int) { return 0.0; });
    deriveSections(t);
    t.MACH = 0.8;
    for (int k = 0; k < 3; ++k) {
        t.Z[k] = 1.5 * k, t.B[k] = 1.0, t.XLE[k] = 0.25 * k;
        t.secCorrection[k] = 2;
        t.surfMode[k] = {MODE_CP_EDITION, k == 1 ? MODE_CP_INTERP : MODE_CP_EDITION};
        t.RU[k] = codeOfMode(t.surfMode[k][0]), t.RL[k] = codeOfMode(t.surfMode[k][1]);
        t.u1[k] = 14, t.u2[k] = 20, t.l1[k] = 3, t.l2[k] = 9;
        for (int i = 0; i < 2 * kRows; ++i) {
            const double x = t.X[i][k];
            t.cpInit[i][k] = 0.1;
            t.cpDes[i][k] = i < kRows ? 0.5 - x : k == 0 ? -0.5 : x * x;
        }
    }
    t.secCorrection[2] = 1;
    return t;
}

// What the solver returned, with known residuals: section 1's upper
// surface 0.0625 above the target, its lower surface 0.1 sin(pi x) above;
// section 2 at stations halfway between the target's (x^2 there is 0.0025
// below the target's chord between them) and 0.03 above at x = 0.55; no
// section 3.
WingModel achievedWing() {
    WingModel w = test::rowWing(kRows, 2, rowX, [](int, int) { return 0.0; });
    deriveSections(w);
    w.MACH = 0.8;
    for (int k = 0; k < 2; ++k) w.Z[k] = 1.5 * k, w.B[k] = 1.0, w.XLE[k] = 0.25 * k;
    for (int r = 0; r < kRows; ++r) w.X[kRows + r][1] = w.X[kRows - 1 - r][1] = rowX(r) + 0.05;
    for (int i = 0; i < 2 * kRows; ++i) {
        const double x0 = xOf(w, i, 0), x1 = xOf(w, i, 1);
        w.cpInit[i][0] = w.cpDes[i][0] = i >= kRows ? -0.4375 : 0.5 - x0 + 0.1 * std::sin(kPi * x0);
        w.cpInit[i][1] = w.cpDes[i][1] = i >= kRows ? x1 * x1 + (std::fabs(x1 - 0.55) < 1e-9 ? 0.03 : 0.0) : 0.0;
    }
    return w;
}

struct Row {
    const char* name;
    int section, surface, points;
    double rms, maxAbs, xAtMax;
};

// sin^2 at 0.2 pi .. 0.8 pi: (5 - sqrt5)/8, (3 + sqrt5)/8, (5 + sqrt5)/8, 1 and back.
const Row kExpected[] = {
    {"a constant", 1, 0, 7, 0.0625, 0.0625, 0.2},
    {"a sine along the chord", 1, 1, 7, 0.1 * std::sqrt((17 + std::sqrt(5.0)) / 28), 0.1, 0.5},
    {"different X", 2, 0, 6, std::sqrt((5 * 0.0025 * 0.0025 + 0.0275 * 0.0275) / 6), 0.0275, 0.55},
};

}  // namespace

TEST(Compare, KnownResidualsInTheModelAndThroughTheCommandLine) {
    const WingModel target = targetWing(), wing = achievedWing();
    const WingComparison c = compareWithTarget(wing, target);
    EXPECT_EQ(c.missing, std::vector<int>{}) << "section 3 is uncorrected: nothing of it is compared";

    test::TempDir dir;
    WingModel t = target, w = wing;
    FileError error;
    ASSERT_TRUE(saveCpOutput(t, dir.file("old.cpd"), &error)) << error.message();
    ASSERT_TRUE(saveCpOutput(w, dir.file("new.cpd"), &error)) << error.message();
    // The target's section 3 corrected: the new wing lacks it.
    t.secCorrection[2] = 2;
    ASSERT_TRUE(saveCpOutput(t, dir.file("old3.cpd"), &error)) << error.message();
    const auto [status, out, err] = test::runCli({"--compare", dir.file("new.cpd"), "--target", dir.file("old3.cpd")});
    EXPECT_EQ(status, kExitOk);
    EXPECT_EQ(err, "quarvel: Section 3 of old3.cpd is not in new.cpd and not compared.\n");
    std::istringstream lines(out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "section,z,surface,points,rms,max_abs,x_at_max");

    std::vector<const SurfaceComparison*> model;
    for (const SectionComparison& s : c.sections)
        for (const SurfaceComparison& sc : s.surfaces) model.push_back(&sc);
    ASSERT_EQ(model.size(), std::size(kExpected));
    for (std::size_t n = 0; n < model.size(); ++n) {
        const Row& e = kExpected[n];
        const SurfaceComparison& m = *model[n];
        EXPECT_EQ(m.surface, e.surface) << e.name;
        EXPECT_EQ(m.count(), e.points) << e.name;
        EXPECT_NEAR(m.rms, e.rms, 1e-12) << e.name;
        EXPECT_NEAR(m.maxAbs, e.maxAbs, 1e-12) << e.name;
        EXPECT_NEAR(m.xAtMax, e.xAtMax, 1e-12) << e.name;
        // The files keep Cp to four decimals.
        ASSERT_TRUE(std::getline(lines, line)) << e.name;
        std::istringstream fields(line);
        std::string section, z, surface, points, rms, maxAbs, xAtMax;
        for (std::string* f : {&section, &z, &surface, &points, &rms, &maxAbs, &xAtMax}) std::getline(fields, *f, ',');
        EXPECT_EQ(section, std::to_string(e.section)) << e.name;
        EXPECT_EQ(z, e.section == 1 ? "0" : "1.5") << e.name;
        EXPECT_EQ(surface, e.surface == 0 ? "upper" : "lower") << e.name;
        EXPECT_EQ(points, std::to_string(e.points)) << e.name;
        EXPECT_NEAR(number(rms), e.rms, 1e-4) << e.name;
        EXPECT_NEAR(number(maxAbs), e.maxAbs, 1e-4) << e.name;
        EXPECT_NEAR(number(xAtMax), e.xAtMax, 1e-12) << e.name;
    }
    EXPECT_FALSE(std::getline(lines, line)) << "no row for a surface out of Cp edition: " << line;

    // Without --target, or --target without --compare, is a usage error.
    EXPECT_EQ(std::get<0>(test::runCli({"--compare", dir.file("new.cpd")})), kExitUsage);
    EXPECT_EQ(std::get<0>(test::runCli({"--check", dir.file("new.cpd"), "--target", dir.file("old.cpd")})),
              kExitUsage);
    EXPECT_EQ(std::get<0>(test::runCli({"--compare", dir.file("new.cpd"), "--target", dir.file("none.cpd")})),
              kExitInputFault);
}

// The editor's own options: the target, and --views, the panes shown (a bit
// each: plot, planform, spanload, 3D view; none for a name that is no pane's,
// which the editor refuses).
TEST(Compare, TheEditorTakesTheTargetAndThePanes) {
    struct Case {
        std::vector<std::string> args;
        bool commandLine;
        const char* file;
        const char* target;
        unsigned panes = 0;
    } cases[] = {
        {{"wing.cpi", "--target", "old.cpd"}, false, "wing.cpi", "old.cpd"},
        {{"--target=old.cpd", "wing.cpi"}, false, "wing.cpi", "old.cpd"},
        {{"--target", "old.cpd"}, true, nullptr, "old.cpd"},
        {{"--compare", "wing.cpi", "--target", "old.cpd"}, true, "--compare", "old.cpd"},
        {{"--views", "all", "wing.cpi"}, false, "wing.cpi", nullptr, 15u},
        {{"wing.cpi", "--views=plot,3d"}, false, "wing.cpi", nullptr, 9u},
        {{"--views", "spanload,planform"}, false, nullptr, nullptr, 6u},
        {{"--views", "plot,wings", "a.cpi"}, false, "a.cpi", nullptr, 0u},
    };
    for (Case& c : cases) {
        std::vector<char*> argv{const_cast<char*>("quarvel")};
        for (std::string& a : c.args) argv.push_back(a.data());
        const std::string name = c.args[0] + " " + c.args[1];
        EXPECT_EQ(wantsCommandLine(int(argv.size()), argv.data()), c.commandLine) << name;
        if (c.commandLine) continue;
        const EditorStart start = editorStart(int(argv.size()), argv.data());
        EXPECT_STREQ(start.file, c.file) << name;
        EXPECT_STREQ(start.target, c.target) << name;
        EXPECT_EQ(panesNamed(start.views), c.panes) << name;
    }
}

TEST(Compare, WhatTheViewsDraw) {
    const WingModel target = targetWing();
    WingModel wing = achievedWing();
    const WingComparison c = compareWithTarget(wing, target);
    const SectionComparison* first = c.ofSection(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(residualSummary(first),
              "Target upper: RMS 0.0625, max 0.0625 at X = 0.2000    lower: RMS 0.0829, max 0.1000 at X = 0.5000");
    EXPECT_EQ(residualSummary(nullptr), "No target for this section");

    // The plot: the target dashed in its colour, one segment between each
    // two of its seven points a surface, and the dCp axis from -0.1 to 0.1.
    const CpPlot plot =
        buildCpPlot(wing, wing.curSection - 1, wing.MACH, 800, 600, kNoControlPoint, PlotZoom{}, nullptr, ShockRule{}, first);
    int targetSegments = 0;
    std::vector<std::string> residualLabels;
    for (const PlotPrimitive& p : plot.primitives) {
        if (p.kind == PlotPrimitive::Segment && std::string(p.color) == kTargetColor && p.dashed && p.lineWidth == 2)
            ++targetSegments;
        if (p.kind == PlotPrimitive::Text && std::string(p.color) == kResidualColor) residualLabels.push_back(p.text);
    }
    EXPECT_EQ(targetSegments, 2 * 6) << "both surfaces";
    EXPECT_EQ(residualLabels, (std::vector<std::string>{"-0.10", "-0.05", "0.00", "0.05", "0.10", "dCp"}));

    // The spanload's residual RMS: the upper surface at both sections, the
    // lower at the first only.
    const ResidualSpan span = residualAlongSpan(wing, c);
    EXPECT_NEAR(span.rmsUpper[1], kExpected[2].rms, 1e-12);
    EXPECT_TRUE(std::isnan(span.rmsLower[1])) << "not compared";
    const std::vector<PlotPrimitive> load = spanloadPrimitives(computeSpanload(wing), 640, 420, &span);
    int residualLines = 0;
    for (const PlotPrimitive& p : load) residualLines += p.kind == PlotPrimitive::Segment && p.rgb == 0x008b8b &&
                                                         p.lineWidth == 2 && p.x1 != p.x2;
    EXPECT_EQ(residualLines, 1 + 1) << "one span of the upper curve, and its legend's sample";

    // The residual field holds the compared points alone; on the upper
    // surface it falls from 0.0625 at section 1 to -0.0025 at section 2
    // (0.0275 at x = 0.55): a step of 0.02, one line a level across the
    // cells between them, but for 0.02, which the point at 0.55 reaching
    // above it cuts in two at the field's edge.
    const ContourField f = residualField(wing, c, 0);
    EXPECT_DOUBLE_EQ(f.value[2], 0.0625);
    EXPECT_TRUE(std::isnan(f.value[1])) << "a point out of the interval";
    std::vector<double> levels;
    for (const IsobarLine& line : residualIsolines(wing, c, 0)) levels.push_back(line.level);
    EXPECT_EQ(levels, (std::vector<double>{0.02, 0.02, 0.04, 0.06}));
}
