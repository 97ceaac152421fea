// The 3D view's mesh and frame without a display: both layouts of a small
// wing, the bounds, the default camera, degenerate wings and the normals.
#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "view3d/ColourMap.h"
#include "view3d/MeshColours.h"
#include "view3d/WingMesh.h"

using namespace quarvel;

namespace {

// Two sections, three point rows. Row r: upper index 3 + r, lower 2 - r.
// Section 1 sits at XLE 0.5 with half the first section's chord.
WingModel smallWing(int npt = 6, int nsec = 2) {
    WingModel w;
    w.npt = npt;
    w.nsec = nsec;
    w.nhalf = npt / 2;
    w.allocate();
    const double rowX[3] = {0.0, 0.5, 1.0};
    // [row][section]
    const double upper[3][2] = {{1.0, 0.8}, {-1.2, -0.6}, {0.2, 0.1}};
    const double lower[3][2] = {{1.0, 0.8}, {3.0, 0.3}, {0.2, 0.1}};
    for (int r = 0; r < 3 && npt >= 6; ++r) {
        for (int k = 0; k < nsec; ++k) {
            w.X[3 + r][k] = w.X[2 - r][k] = rowX[r];
            w.cpInit[3 + r][k] = w.cpDes[3 + r][k] = upper[r][k % 2];
            w.cpInit[2 - r][k] = w.cpDes[2 - r][k] = lower[r][k % 2];
        }
    }
    if (npt >= 6) w.cpDes[4][0] = -1.5;
    for (int k = 0; k < nsec; ++k) {
        w.ZREF[k] = 0.5 * (k + 1);
        w.Z[k] = 1.0 + 2.0 * k;
        w.XLE[k] = 0.5 * k;
        w.B[k] = k == 0 ? 2.0 : 1.0;
    }
    return w;
}

WingMesh meshOf(const WingModel& w, MeshLayout layout) {
    WingMesh m;
    allocateMesh(m, w.nhalf, w.nsec);
    fillMesh(m, w, layout);
    return m;
}

void expectUsableFrame(const WingMesh& m, const char* which) {
    ViewFrame f;
    Camera c;
    resetView(m, f, c);
    for (float v : {f.minX, f.maxX, f.minY, f.maxY, f.minZ, f.maxZ, f.cx, f.cy, f.cz, c.eyeDistance})
        EXPECT_TRUE(std::isfinite(v)) << which;
    for (float v : {f.Lx, f.Ly, f.Lz, f.radius}) EXPECT_GT(v, 0) << which;
    const Projection p = projectionFor(f, c, 300, 200);
    EXPECT_LT(p.left, p.right) << which;
    EXPECT_LT(p.bottom, p.top) << which;
    EXPECT_LT(p.zNear, p.zFar) << which;
    EXPECT_GT(p.fovy, 0) << which;
    EXPECT_LT(p.fovy, 180) << which;
    EXPECT_LT(p.perspectiveNear, p.perspectiveFar) << which;
}

}  // namespace

// Stations are point rows: the lower surface at station j is the lower point
// of row j, at the same x as the upper one. The planform layout puts each
// section at its leading edge and span and scales chord and Cp by its chord,
// all over the first section's chord (2).
TEST(WingMesh, BothLayouts) {
    const WingMesh sq = meshOf(smallWing(), MeshLayout::Square);
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 3; ++j) {
            EXPECT_DOUBLE_EQ(sq.meshX[j][k], 0.5 * j);
            EXPECT_DOUBLE_EQ(sq.meshZ[j][k], k + 1.0);
        }
    EXPECT_DOUBLE_EQ(sq.meshUpperInit[1][1], 0.6);
    EXPECT_DOUBLE_EQ(sq.meshLowerInit[1][0], -3.0);
    EXPECT_DOUBLE_EQ(sq.meshLowerInit[2][1], -0.1);
    EXPECT_DOUBLE_EQ(sq.meshUpperDes[1][0], 1.5);
    EXPECT_DOUBLE_EQ(sq.meshLowerDes[0][1], -0.8);

    const WingMesh pl = meshOf(smallWing(), MeshLayout::Planform);
    EXPECT_DOUBLE_EQ(pl.meshX[2][0], 1.0);
    EXPECT_DOUBLE_EQ(pl.meshX[0][1], 0.25);
    EXPECT_DOUBLE_EQ(pl.meshX[2][1], 0.75);
    EXPECT_DOUBLE_EQ(pl.meshZ[0][0], 0.5);
    EXPECT_DOUBLE_EQ(pl.meshZ[2][1], 1.5);
    EXPECT_DOUBLE_EQ(pl.meshUpperInit[1][0], 1.2);
    EXPECT_DOUBLE_EQ(pl.meshLowerInit[1][1], -0.15);
}

// The box holds all four surfaces (the lower Cp init's -3, the design's
// 1.5); the camera looks down on the wing from behind at three quarters,
// and in either projection the default view fits the whole box to a canvas
// of any shape, filling one of its sides but for the margin.
TEST(ViewFrame, BoundsAndTheFittedDefaultView) {
    ViewFrame f;
    Camera c;
    c.rotX = c.panX = 7;
    resetView(meshOf(smallWing(), MeshLayout::Square), f, c);
    EXPECT_EQ((std::array<float, 6>{f.minX, f.maxX, f.minY, f.maxY, f.minZ, f.maxZ}),
              (std::array<float, 6>{0.0f, 1.0f, -3.0f, 1.5f, 1.0f, 2.0f}));
    EXPECT_FLOAT_EQ(f.cy, -0.75f);
    EXPECT_EQ(c.panX, 0.0f) << "the camera is reset";
    EXPECT_EQ((std::array<float, 3>{c.rotX, c.rotY, c.orthoZoom[0]}), (std::array<float, 3>{kDefaultRotX, kDefaultRotY, 1.0f}));

    const double deg = std::acos(-1.0) / 180;
    for (int width : {200, 400, 1000}) {
        const Projection p = projectionFor(f, c, width, 400);
        const double t = std::tan(p.fovy / 2 * deg);
        double ortho = 0, persp = 0;
        for (int corner = 0; corner < 8; ++corner) {
            double v[3] = {corner & 1 ? 0.5 : -0.5, corner & 2 ? 2.25 : -2.25, corner & 4 ? 0.5 : -0.5};
            // Turned as the camera turns: about x, then y (rotZ is 0).
            const double cy = std::cos(c.rotY * deg), sy = std::sin(c.rotY * deg);
            const double cx = std::cos(c.rotX * deg), sx = std::sin(c.rotX * deg);
            const double x = v[0] * cy + v[2] * sy, z1 = -v[0] * sy + v[2] * cy;
            const double y = v[1] * cx - z1 * sx, z = v[1] * sx + z1 * cx;
            ortho = std::max({ortho, std::fabs(x) / p.right, std::fabs(y) / p.top});
            const double depth = c.eyeDistance - z;
            persp = std::max({persp, std::fabs(x) / depth / (t * p.aspect), std::fabs(y) / depth / t});
        }
        EXPECT_NEAR(ortho, 1 / 1.06, 1e-6) << width;
        EXPECT_NEAR(persp, 1 / 1.06, 1e-6) << width;
    }
}

// A flat upper Cp, one section, a pointed root chord, no rows at all: the
// frame stays finite and every box positive; the odd contour point that no
// row holds never shows.
TEST(ViewFrame, DegenerateWings) {
    WingModel flat = smallWing();
    for (int r = 0; r < 3; ++r) flat.cpInit[3 + r][0] = flat.cpInit[3 + r][1] = -0.5;
    expectUsableFrame(meshOf(flat, MeshLayout::Square), "constant upper Cp");

    expectUsableFrame(meshOf(smallWing(6, 1), MeshLayout::Square), "one section");
    EXPECT_TRUE(triangleIndices(3, 1, 1).empty());

    WingModel pointed = smallWing();
    pointed.B[0] = 0.0;
    const WingMesh p = meshOf(pointed, MeshLayout::Planform);
    EXPECT_DOUBLE_EQ(p.meshZ[0][1], 3.0);  // over the next chord, 1
    EXPECT_DOUBLE_EQ(p.meshUpperInit[1][0], 0.0);
    expectUsableFrame(p, "first chord 0");

    expectUsableFrame(meshOf(smallWing(1, 2), MeshLayout::Square), "no point rows");

    WingModel odd = smallWing(7);
    odd.X[6][0] = 99.0;
    odd.cpInit[6][0] = -99.0;
    ViewFrame f;
    Camera c;
    resetView(meshOf(odd, MeshLayout::Square), f, c);
    EXPECT_FLOAT_EQ(f.maxX, 1.0f);
    EXPECT_FLOAT_EQ(f.maxY, 1.5f) << "the design's peak, not the stray -99";
}

// The GL arrays: unit normals pointing up out of the surface; each vertex
// in the colour of its Cp on the scale of all four surfaces.
TEST(SurfaceArrays, NormalsAndColours) {
    const WingMesh m = meshOf(smallWing(), MeshLayout::Planform);
    const CpRange range = cpRangeOf(m);
    EXPECT_EQ((std::array<double, 2>{range.lo, range.hi}), (std::array<double, 2>{-1.5, 3.0}));
    SurfaceArrays a;
    buildSurfaceArrays(m, m.meshUpperDes, range, a);
    ASSERT_EQ(a.normal.size(), 18u);
    for (std::size_t v = 0; v < 6; ++v) {
        const float* n = &a.normal[3 * v];
        EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0, 1e-6) << v;
        EXPECT_GT(n[1], 0.0f) << v;
    }
    const Rgb8 bright = mapColour(1.0);  // Cp -1.5 at station 1 of section 0
    EXPECT_EQ((std::array<int, 3>{a.colour[3], a.colour[4], a.colour[5]}), (std::array<int, 3>{bright.r, bright.g, bright.b}));
}

namespace {

// npt points of nsec sections: x evenly from 0 to 1, a Cp of the given
// amplitude that varies smoothly along chord and span, sections 1 apart.
WingModel gridWing(int npt, int nsec, double amplitude = 1.0) {
    WingModel w;
    w.npt = npt;
    w.nsec = nsec;
    w.nhalf = npt / 2;
    w.allocate();
    for (int k = 0; k < nsec; ++k) {
        for (int j = 0; j < w.nhalf; ++j) {
            const double x = double(j) / (w.nhalf - 1), cp = -amplitude * std::sin(3.0 * x + 0.01 * k);
            w.X[w.nhalf + j][k] = w.X[w.nhalf - 1 - j][k] = x;
            w.cpInit[w.nhalf + j][k] = w.cpDes[w.nhalf + j][k] = cp;
            w.cpInit[w.nhalf - 1 - j][k] = w.cpDes[w.nhalf - 1 - j][k] = 0.5 * cp;
        }
        w.ZREF[k] = 0.5 * k / (nsec - 1);
        w.Z[k] = k;
        w.B[k] = 1.0;
    }
    return w;
}

}  // namespace

// A pane draws at most its budget of quads, one per 12 pixels, shared among
// the fills shown; a pane large enough gets every station and section, and
// one zoomed in on the middle of the wing gets that region at full detail.
TEST(LevelOfDetail, ThePaneSetsTheQuadsDrawn) {
    EXPECT_EQ(quadBudget(120, 100), 1000) << "120 x 100";
    EXPECT_EQ(quadBudget(0, 100), 0) << "no pane";
    const WingModel w = gridWing(600, 200);  // 300 stations
    WingMesh full;
    allocateMesh(full, w.nhalf, w.nsec);
    fillMesh(full, w, MeshLayout::Square);
    ViewFrame frame;
    Camera camera;
    resetView(full, frame, camera);
    struct Case {
        int width, height, fills;
        bool ortho;
        float zoom;
    };
    for (const Case c : {Case{40, 30, 1, true, 1}, {200, 150, 2, true, 1}, {640, 480, 2, false, 1},
                         {640, 480, 4, true, 1}, {200, 150, 2, true, 40}, {2000, 2000, 1, true, 1}}) {
        Camera zoomed = camera;
        for (float& z : zoomed.orthoZoom) z *= c.zoom;
        const MeshDetail d = chooseDetail(w, MeshLayout::Square, frame, zoomed, c.ortho, c.width, c.height, c.fills);
        EXPECT_LE(d.quads(), quadBudget(c.width, c.height) / c.fills) << c.width << "x" << c.height << " zoom " << c.zoom;
        EXPECT_GT(d.quads(), 0) << c.width << "x" << c.height << " zoom " << c.zoom;
    }
    const MeshDetail all = chooseDetail(w, MeshLayout::Square, frame, camera, true, 2000, 2000, 1);
    EXPECT_EQ(all, fullDetail(w.nhalf, w.nsec)) << "a large pane shows all";

    // On a flat wing the middle of the pane shows the middle of the wing.
    const WingModel flat = gridWing(600, 200, 0.0);
    fillMesh(full, flat, MeshLayout::Square);
    resetView(full, frame, camera);
    for (float& z : camera.orthoZoom) z *= 40;
    const MeshDetail near = chooseDetail(flat, MeshLayout::Square, frame, camera, true, 200, 150, 2);
    for (const auto& [name, v, middle, all] : {std::tuple{"stations", near.stations, w.nhalf / 2, w.nhalf},
                                                {"sections", near.sections, w.nsec / 2, w.nsec}}) {
        EXPECT_LT(v.size(), std::size_t(all / 4)) << name << ": a region";
        EXPECT_TRUE(std::binary_search(v.begin(), v.end(), middle)) << name << ": the middle";
        for (std::size_t i = 1; i < v.size(); ++i) ASSERT_EQ(v[i] - v[i - 1], 1) << name << ": full detail at " << i;
    }
}

// An edit of one section rewrites that section's column of a sampled mesh
// and its surfaces' arrays to what a fresh build from the edited wing holds,
// at either end of the span and in the middle; only its digest changes.
TEST(LevelOfDetail, AStripUpdatedAfterAnEditEqualsAFreshBuild) {
    const MeshDetail d = sampleDetail(0, 19, 0, 11, 40);  // stride 3: sections 0 3 6 9 11
    ASSERT_EQ(d.sections, (std::vector<int>{0, 3, 6, 9, 11}));
    for (int column : {0, 2, 4}) {
        WingModel w = gridWing(40, 12);
        const CpRange range{-2.0, 1.0};
        WingMesh m;
        fillMesh(m, w, MeshLayout::Planform, d);
        SurfaceArrays kept;
        buildSurfaceArrays(m, m.meshUpperDes, range, kept);
        const std::vector<unsigned long long> before = sectionDigests(w);
        const int k = d.sections[std::size_t(column)];
        for (int j = 0; j < w.nhalf; ++j) {
            w.cpDes[w.nhalf + j][k] -= 0.3 * j / w.nhalf;
            w.X[w.nhalf + j][k] += 0.01;
        }
        w.XLE[k] = 0.2;
        const std::vector<unsigned long long> after = sectionDigests(w);
        for (int s = 0; s < w.nsec; ++s) EXPECT_EQ(after[s] != before[s], s == k) << "column " << column << " digest " << s;

        fillMeshColumns(m, w, MeshLayout::Planform, column, column);
        int lo = 0, hi = 0;
        updateSurfaceColumns(m, m.meshUpperDes, range, column, column, kept, &lo, &hi);
        EXPECT_EQ(lo, std::max(column - 1, 0)) << "column " << column;
        EXPECT_EQ(hi, std::min(column + 1, 4)) << "column " << column;
        WingMesh fresh;
        fillMesh(fresh, w, MeshLayout::Planform, d);
        SurfaceArrays built;
        buildSurfaceArrays(fresh, fresh.meshUpperDes, range, built);
        EXPECT_EQ(kept.position, built.position) << "column " << column;
        EXPECT_EQ(kept.normal, built.normal) << "column " << column;
        EXPECT_EQ(kept.colour, built.colour) << "column " << column;
    }
}

// smallWing's design changes one Cp: -1.2 to -1.5 at station 1 of section 0
// of the upper surface. Coloured by dCp that vertex takes the blue end of
// the diverging map (the largest change, more suction) and every other
// vertex of both surfaces the white of no change; by initial or design Cp
// each takes its own Cp on the scale from -1.5 to 3.0.
TEST(MeshColours, ColourByInitialDesignOrChange) {
    const WingMesh m = meshOf(smallWing(), MeshLayout::Square);
    const CpRange range = cpRangeOf(m);
    const double largest = largestDeltaCp(m);
    EXPECT_NEAR(largest, 0.3, 1e-12);
    using C = std::array<int, 3>;
    const C white{247, 247, 247}, blue{33, 102, 172};
    auto of = [](Rgb8 c) { return C{c.r, c.g, c.b}; };
    const struct {
        const char* name;
        int surface;
        ColourBy by;
        int j, k;
        C expected;
    } cases[] = {
        {"changed vertex by dCp", 0, ColourBy::DeltaCp, 1, 0, blue},
        {"unchanged upper vertex by dCp", 0, ColourBy::DeltaCp, 1, 1, white},
        {"lower vertex by dCp", 1, ColourBy::DeltaCp, 1, 0, white},
        {"changed vertex by design Cp", 0, ColourBy::DesignCp, 1, 0, of(mapColour(1.0))},
        // (3.0 - -1.2) / (3.0 - -1.5)
        {"changed vertex by initial Cp", 0, ColourBy::InitialCp, 1, 0, of(mapColour(4.2 / 4.5))},
        {"lower Cp 3.0 by design Cp", 1, ColourBy::DesignCp, 1, 0, of(mapColour(0.0))},
    };
    for (const auto& t : cases) {
        std::vector<unsigned char> colour;
        surfaceColours(m, t.surface, t.by, range, largest, colour);
        ASSERT_EQ(colour.size(), 3u * m.meshPoints * m.meshSections) << t.name;
        const std::size_t v = 3 * (std::size_t(t.k) * m.meshPoints + t.j);
        EXPECT_EQ((C{colour[v], colour[v + 1], colour[v + 2]}), t.expected) << t.name;
    }
    // No change at all: every vertex white, not a division by zero.
    WingModel same = smallWing();
    same.cpDes[4][0] = same.cpInit[4][0];
    const WingMesh flat = meshOf(same, MeshLayout::Square);
    EXPECT_EQ(largestDeltaCp(flat), 0.0);
    std::vector<unsigned char> colour;
    surfaceColours(flat, 0, ColourBy::DeltaCp, cpRangeOf(flat), 0.0, colour);
    EXPECT_EQ((C{colour[3], colour[4], colour[5]}), white) << "no change";
}

// The diverging map half way to red, clamped past its ends, white for NaN;
// the colour bar's values carry their sign, and zero none.
TEST(MeshColours, DivergingMapAndSignedValues) {
    using C = std::array<int, 3>;
    auto of = [](Rgb8 c) { return C{c.r, c.g, c.b}; };
    EXPECT_EQ(of(divergingColour(0.5)), (C{213, 136, 145})) << "half way to red";
    EXPECT_EQ(of(divergingColour(-2.0)), (C{33, 102, 172})) << "clamped to blue";
    EXPECT_EQ(of(divergingColour(std::nan(""))), (C{247, 247, 247})) << "NaN";
    const struct { double v; const char* text; } values[] = {{0.5, "+0.5"}, {-1.0, "-1.0"}, {-0.0, "0.0"}, {1e-9, "0.0"}};
    for (const auto& t : values) EXPECT_EQ(signedValue(t.v, 1), t.text) << t.v;
}
