// The whole wing at a glance without a display: isobars over the planform,
// the spanload, and the command line that prints both.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "PanelTestWing.h"
#include "TestSupport.h"
#include "planform/Isobars.h"
#include "plot/Spanload.h"
#include "wing/CpFiles.h"

using namespace quarvel;

namespace {

// Sections at XLE, Z, B, numbered from 2; the upper surface's station j at
// X = j / (n - 1) with Cp = upper(X), the lower surface at the same X with Cp 0.
template <typename Cp>
WingModel wingOf(int stations, std::vector<double> XLE, std::vector<double> Z, std::vector<double> B, Cp upper) {
    const auto x = [stations](int j) { return double(j) / (stations - 1); };
    WingModel w = test::rowWing(stations, int(Z.size()), x,
                                [&](int i, int k) { return i < stations ? 0.0 : upper(x(i - stations), k); });
    w.KTE1 = 2;
    w.XLE = XLE, w.Z = Z, w.B = B;
    return w;
}

}  // namespace

// Cp = -1 + 2X on both surfaces of every section, the stations uneven
// (X = (j/10)^2): each level crosses every section once, at
// X* = (level + 1) / 2, and nowhere between sections; one line per level
// joins the three sections.
TEST(Isobars, LinearCpGivesLinesAtTheLevelsChordPosition) {
    const std::vector<double> XLE{0.0, 0.5, 1.2}, Z{0.0, 1.0, 3.0}, B{2.0, 1.5, 1.0};
    WingModel w = wingOf(11, XLE, Z, B, [](double, int) { return 0.0; });
    for (int k = 0; k < 3; ++k)
        for (int r = 0; r < 11; ++r)
            for (int i : {w.nhalf + r, w.nhalf - 1 - r}) {
                w.X[i][k] = r * r / 100.0;
                w.cpInit[i][k] = w.cpDes[i][k] = -1.0 + 2.0 * w.X[i][k];
            }
    for (int s = 0; s < 2; ++s) {
        SCOPED_TRACE(s == 0 ? "upper" : "lower");
        const ContourField f = surfaceField(w, s, false);
        const std::vector<double> levels = isobarLevels(f, 0.25);
        ASSERT_EQ(levels.size(), 9u);
        EXPECT_EQ(levels[1], -0.75);

        const std::vector<IsobarLine> lines = traceIsobars(f, levels);
        ASSERT_EQ(lines.size(), 8u) << "the lowest level has nothing below it";
        for (const IsobarLine& line : lines) {
            ASSERT_EQ(line.points.size(), 3u) << line.level;
            const double Xstar = (line.level + 1.0) / 2.0;
            for (const IsobarPoint& p : line.points) {
                int k = 0;
                while (k < 3 && Z[k] != p.z) ++k;
                ASSERT_LT(k, 3) << "on a section, z = " << p.z;
                EXPECT_NEAR(p.x, XLE[k] + Xstar * B[k], 1e-9) << line.level;
            }
        }
        EXPECT_TRUE(traceIsobars(f, {1.5, -3.0}).empty()) << "levels outside the data";
        EXPECT_TRUE(isobarLevels(f, 0.0).empty()) << "no step";
        EXPECT_TRUE(isobarLevels(f, 1e-4).empty()) << "too many levels";
    }
}

// A saddle cell (1 and 0 on its diagonals, x = station, z = section): the
// mean of the corners (0.5) decides which corners the lines cut off: at 0.5
// the 0-corners (1, 0) and (0, 1), at 0.6 the 1-corners (0, 0) and (1, 1).
TEST(Isobars, SaddleFollowsTheMeanOfTheCorners) {
    const WingModel w = wingOf(2, {0.0, 0.0}, {0.0, 1.0}, {1.0, 1.0}, [](double X, int k) { return X == k ? 1.0 : 0.0; });
    const ContourField f = surfaceField(w, 0, true);
    const std::pair<double, std::vector<double>> cases[] = {{0.5, {0.5, 0, 1, 0.5, 0.5, 1, 0, 0.5}},
                                                            {0.6, {0, 0.4, 0.4, 0, 1, 0.6, 0.6, 1}}};
    for (const auto& [level, xz] : cases) {
        std::vector<double> got;
        for (const IsobarLine& line : traceIsobars(f, {level}))
            for (const IsobarPoint& p : line.points) got.insert(got.end(), {p.x, p.z});
        ASSERT_EQ(got.size(), xz.size()) << level;
        for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], xz[i], 1e-12) << level << " " << i;
    }
}

// Three sections of chords 2, 1.5, 1 (mean 1.5) at Z = 0, 1, 2; with two
// stations the lift is lower minus upper Cp. Worked by hand:
//   cl initial 0.6, 0.4, 0.2 -> load 0.8, 0.4, 0.2/1.5
//   cl design  0.5, 0.5, 0.3 -> load 2/3, 0.5, 0.2
//   elliptic shape 1, sqrt(0.75), 0 of area 0.5 + sqrt(0.75); the design's
//   area is (2/3 + 0.5) / 2 + (0.5 + 0.2) / 2 = 0.9333...
TEST(Spanload, ThreeSectionsWorkedByHand) {
    WingModel w = wingOf(2, {0.0, 0.2, 0.4}, {0.0, 1.0, 2.0}, {2.0, 1.5, 1.0}, [](double, int) { return 0.0; });
    const double upperInit[3] = {-0.5, -0.4, -0.2}, lowerInit[3] = {0.1, 0.0, 0.0}, upperDes[3] = {-0.4, -0.5, -0.3};
    for (int k = 0; k < 3; ++k)
        for (int i : {0, 1}) {
            w.cpInit[i][k] = w.cpDes[i][k] = lowerInit[k];
            w.cpInit[2 + i][k] = upperInit[k];
            w.cpDes[2 + i][k] = upperDes[k];
        }
    const Spanload s = computeSpanload(w);
    const double area = 7.0 / 12.0 + 0.35, L0 = area / (0.5 + std::sqrt(0.75));
    const std::vector<std::vector<double>> expected[] = {
        {s.clInitial, {0.6, 0.4, 0.2}},
        {s.clDesign, {0.5, 0.5, 0.3}},
        {s.loadInitial, {0.8, 0.4, 0.2 / 1.5}},
        {s.loadDesign, {2.0 / 3.0, 0.5, 0.2}},
        {s.loadElliptic, {L0, L0 * std::sqrt(0.75), 0.0}},
    };
    for (const auto& e : expected)
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(e[0][k], e[1][k], 1e-12) << k;
    EXPECT_NEAR(trapezoidalIntegral(s.z, s.loadElliptic), trapezoidalIntegral(s.z, s.loadDesign), 1e-12);
    const std::string head = "section,z,chord,cl_initial,cl_design,load_initial,load_design,load_elliptic\n2,0,2,0.6";
    EXPECT_EQ(formatSpanloadCsv(s).substr(0, head.size()), head);
    const Spanload one = computeSpanload(wingOf(2, {0.0}, {3.0}, {2.0}, [](double X, int) { return -X; }));
    EXPECT_EQ(one.loadElliptic, one.loadDesign) << "one section";
}

// On a small picture with many levels the isobars' labels never overlap
// (each about 6 pixels a character and 10 high at least), and the current
// section, numbered as in the file, is marked in the isobars and the
// spanload; the spanload's legend names the span of its elliptic load.
TEST(WingViews, LabelsApartAndTheCurrentSectionMarked) {
    const WingModel w = wingOf(11, {0.0, 0.2, 0.4}, {0.0, 1.0, 2.0}, {2.0, 1.5, 1.0},
                               [](double X, int k) { return -1.0 + 2.0 * X * X + 0.1 * k; });
    auto texts = [](const std::vector<PlotPrimitive>& picture) {
        std::vector<const PlotPrimitive*> out;
        for (const PlotPrimitive& p : picture)
            if (p.kind == PlotPrimitive::Text) out.push_back(&p);
        return out;
    };
    for (auto [width, height] : {std::pair{220, 140}, std::pair{400, 300}}) {
        const std::vector<PlotPrimitive> picture = isobarPrimitives(w, upperIsobars(w, 0.02, false), width, height, 1);
        const auto labels = texts(picture);
        ASSERT_GT(labels.size(), 3u) << width;
        for (std::size_t a = 0; a < labels.size(); ++a)
            for (std::size_t b = a + 1; b < labels.size(); ++b) {
                const PlotPrimitive &p = *labels[a], &q = *labels[b];
                const bool apart = p.x1 + 6 * int(p.text.size()) <= q.x1 || q.x1 + 6 * int(q.text.size()) <= p.x1 ||
                                   std::abs(p.y1 - q.y1) >= 10;
                EXPECT_TRUE(apart) << width << ": \"" << p.text << "\" and \"" << q.text << "\"";
            }
        EXPECT_EQ(labels[0]->text, "section 3") << width << ": the current section, numbered as in the file";
    }
    const std::vector<PlotPrimitive> spanload = spanloadPrimitives(computeSpanload(w), 640, 420, nullptr, 1);
    const auto load = texts(spanload);
    const auto has = [&](const std::string& start) {
        return std::any_of(load.begin(), load.end(), [&](const PlotPrimitive* p) { return p->text.rfind(start, 0) == 0; });
    };
    EXPECT_TRUE(has("section 3")) << "the current section in the spanload";
    EXPECT_TRUE(has("elliptic, z 0 to 2.0")) << "the span of the elliptic load";
}

// The command line prints what the window's exports write, from the wing as
// it stands after opening; a bad step is a usage error.
TEST(WingViewsCommandLine, PrintsTheCoreCsv) {
    std::string file = std::string(QUARVEL_EXAMPLES) + "/wing12.cpi";
    FileError err;
    const auto wing = readCpInput(file, &err);
    ASSERT_TRUE(wing) << err.message();
    auto run = [&](std::vector<std::string> args, int expected) {
        args.insert(args.begin() + 1, file);
        const auto [status, out, errors] = quarvel::test::runCli(args);
        EXPECT_EQ(status, expected) << errors;
        return out;
    };
    EXPECT_EQ(run({"--spanload"}, 0), formatSpanloadCsv(computeSpanload(*wing)));
    EXPECT_EQ(run({"--isobars"}, 0), formatIsobarsCsv(*wing, 0.1));
    const std::string csv = run({"--isobars", "--step", "0.25"}, 0);
    EXPECT_EQ(csv, formatIsobarsCsv(*wing, 0.25));
    EXPECT_NE(csv.find("\nupper,initial,-1.5,1,"), std::string::npos) << csv.substr(0, 200);
    for (const char* step : {"0", "0.1x", "1e-9"}) run({"--isobars", "--step", step}, 2);
}
