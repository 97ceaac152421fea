// The planform drawing's geometry without a display: the fit, the two
// copies, the regime colours and the dashed current section.
#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "planform/PlanformGeometry.h"

using namespace quarvel;

namespace {

// The chord lines, the upper copy's then the lower copy's. Each copy draws
// section 0's chord, then per further section its chord and two edges.
std::vector<PlotPrimitive> chordLines(const Planform& plan, const std::vector<SurfacePair>& modes, int current,
                                      int W, int H) {
    std::vector<PlotPrimitive> segments, out;
    for (const auto& p : planformPrimitives(plan, modes, current, W, H))
        if (p.kind == PlotPrimitive::Segment) segments.push_back(p);
    const std::size_t perCopy = segments.size() / 2;
    for (std::size_t i = 0; i < segments.size(); ++i)
        if (i % perCopy == 0 || (i % perCopy - 1) % 3 == 0) out.push_back(segments[i]);
    return out;
}

std::vector<SurfacePair> noRegimes(std::size_t n) { return std::vector<SurfacePair>(n, SurfacePair{0, 0}); }

}  // namespace

// Wide against the canvas the span fills the width with margins of about
// 1 % and 2 %, straight edges, the lower copy 1.1 chords lower; narrow, the
// two copies fill the height and space is left on the right.
TEST(PlanformFit, WideAndNarrowWings) {
    const Planform wide = makePlanform({0, 0, 0, 0, 0}, {0, 1, 2, 3, 4}, {1, 1, 1, 1, 1});
    const auto c = chordLines(wide, noRegimes(5), 1, 400, 400);
    ASSERT_EQ(c.size(), 10u);
    EXPECT_NEAR(c[0].x1, 4, 1.5);
    EXPECT_NEAR(400 - c[4].x1, 8, 1.5);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(c[k].y1, c[0].y1) << "leading edge, section " << k;
        EXPECT_EQ(c[k].y2, c[0].y2) << "trailing edge, section " << k;
        EXPECT_EQ(c[5 + k].x1, c[k].x1) << "lower copy, section " << k;
        EXPECT_NEAR(c[5 + k].y1 - c[k].y1, 1.1 * fitPlanform(drawnBox(wide), 400, 400).scale, 1.0);
    }
    const auto n = chordLines(makePlanform({0, 0.5}, {0, 1}, {4, 3.5}), noRegimes(2), 1, 600, 300);
    EXPECT_NEAR(n[0].y1, 3, 1.5);
    EXPECT_NEAR(300 - n[2].y2, 6, 1.5) << "the lower copy's trailing edge";
    EXPECT_LT(n[1].x1, 300);
}

// No span, no chord, negative chords: a finite fit, and both copies' chord
// lines on the canvas, the lower copy under the upper.
TEST(PlanformFit, DegeneratePlanforms) {
    const struct { const char* name; std::vector<double> XLE, Z, B; } cases[] = {
        {"one section", {0.2}, {3.0}, {1.5}},
        {"zero chords", {0, 0, 0}, {0, 1, 2}, {0, 0, 0}},
        {"one section of zero chord", {1.0}, {2.0}, {0.0}},
        {"negative chords", {0, 0.1, 0.2}, {0, 1, 2}, {-1, -0.8, -0.6}},
    };
    const int W = 300, H = 200;
    for (const auto& t : cases) {
        const Planform plan = makePlanform(t.XLE, t.Z, t.B);
        const PlanformFit fit = fitPlanform(drawnBox(plan), W, H);
        for (double v : {fit.z0, fit.x0, fit.scale}) EXPECT_TRUE(std::isfinite(v)) << t.name;
        EXPECT_GT(fit.scale, 0) << t.name;
        const std::size_t n = t.Z.size();
        const auto c = chordLines(plan, noRegimes(n), 1, W, H);
        ASSERT_EQ(c.size(), 2 * n) << t.name;
        for (std::size_t k = 0; k < 2 * n; ++k) {
            EXPECT_GE(c[k].x1, 0) << t.name << " section " << k;
            EXPECT_LE(c[k].x1, W) << t.name << " section " << k;
            EXPECT_GE(std::min(c[k].y1, c[k].y2), 0) << t.name << " section " << k;
            EXPECT_LE(std::max(c[k].y1, c[k].y2), H) << t.name << " section " << k;
        }
        EXPECT_GE(c[n].y1, c[0].y1) << t.name;
    }
    // Nowhere to draw: the white fill only.
    EXPECT_EQ(planformPrimitives(makePlanform({0}, {0}, {1}), noRegimes(1), 1, 0, 0).size(), 1u);
    EXPECT_EQ(relativeSpan(2.0, 0.0), 0.0) << "last section at the root";
}

// Upper surface in regime k, lower in k + 1: each copy takes its own
// surface's colour; anything that is no regime is black. The current
// section is dashed in both copies.
TEST(PlanformColours, EachSurfaceColoursItsOwnCopyAndTheCurrentIsDashed) {
    const int expected[] = {0x000000, 0xff0000, 0x0000ff, 0x00c800, 0x00ffff, 0xc8ffff};
    const int n = 6;
    std::vector<SurfacePair> modes;
    for (int k = 0; k < n; ++k) modes.push_back({k, (k + 1) % n});
    const Planform plan = makePlanform(std::vector<double>(n, 0.0), {0, 1, 2, 3, 4, 5}, std::vector<double>(n, 1.0));
    const auto c = chordLines(plan, modes, 3, 500, 500);
    for (int k = 0; k < n; ++k) {
        EXPECT_EQ(c[k].rgb, expected[k]) << "upper, mode " << k;
        EXPECT_EQ(c[n + k].rgb, expected[(k + 1) % n]) << "lower, mode " << (k + 1) % n;
        EXPECT_EQ(c[k].dashed && c[n + k].dashed, k == 2) << k;
    }
    EXPECT_EQ(regimeColor(7), 0x000000);
}
