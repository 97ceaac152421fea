// The Cp plot on a real display: what reaches a device context, the design
// lift the redraw leaves in the wing, and the plot following the canvas size.
#include <fx.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "app/Quarvel.h"
#include "plot/PlotReplay.h"
#include "wing/CpFiles.h"

namespace fs = std::filesystem;

namespace {

// A device context that only records what it is asked to draw.
class RecordingDC : public FXDC {
public:
    RecordingDC() : FXDC(FXApp::instance()) {}

    void setForeground(FXColor c) override { fg = c; }
    void setLineStyle(FXLineStyle s) override { style = s; }
    void drawLineSegments(const FXSegment* segs, FXuint n) override {
        for (FXuint i = 0; i < n; ++i) {
            segmentsByColor[fg] += 1;
            if (style == LINE_ONOFF_DASH) ++dashedSegments;
            lastSegment = segs[i];
        }
    }
    void drawLine(FXint x1, FXint y1, FXint x2, FXint y2) override {
        const FXSegment s{FXshort(x1), FXshort(y1), FXshort(x2), FXshort(y2)};
        drawLineSegments(&s, 1);
    }
    void drawText(FXint, FXint, const FXchar* s, FXuint n) override { texts.emplace_back(s, n); }
    void drawEllipse(FXint, FXint, FXint, FXint) override { ++ellipses; }
    void fillRectangle(FXint, FXint, FXint w, FXint h) override { fills.push_back({w, h}); }

    FXColor fg = 0;
    FXLineStyle style = LINE_SOLID;
    std::map<FXColor, int> segmentsByColor;
    int dashedSegments = 0;
    FXSegment lastSegment{};
    std::vector<std::string> texts;
    std::vector<std::pair<int, int>> fills;
    int ellipses = 0;
};

const fs::path exampleWing = fs::path(QUARVEL_EXAMPLES) / "wing12.cpi";

}  // namespace

TEST(PlotOnScreen, ReplayDrawsEveryPrimitiveInItsPen) {
    quarvel::FileError err;
    auto wing = quarvel::readCpInput(exampleWing.string(), &err);
    ASSERT_TRUE(wing) << err.message();
    wing->curSection = 2;
    const quarvel::CpPlot plot = quarvel::buildCpPlot(*wing, wing->MACH, 700, 600, quarvel::kNoControlPoint);

    std::map<FXColor, int> expected;
    int dashed = 0, texts = 0;
    for (const auto& p : plot.primitives) {
        if (p.kind == quarvel::PlotPrimitive::Segment) {
            expected[fxcolorfromname(p.color)] += 1;
            dashed += p.dashed;
        }
        texts += p.kind == quarvel::PlotPrimitive::Text;
    }
    RecordingDC dc;
    quarvel::replayPlot(dc, plot.primitives, nullptr);
    EXPECT_EQ(dc.segmentsByColor, expected);
    EXPECT_EQ(dc.dashedSegments, dashed);
    EXPECT_EQ(int(dc.texts.size()), texts);
    ASSERT_FALSE(dc.fills.empty());
    EXPECT_EQ(dc.fills.front(), std::make_pair(700, 600)) << "the white fill covers the canvas";
    EXPECT_EQ(dc.style, LINE_SOLID) << "the pen is left solid";
    EXPECT_GT(expected[fxcolorfromname("Green")], 0) << "both neighbours of section 2 are drawn";
}

TEST(PlotOnScreen, TheRedrawKeepsTheDesignLiftAndFollowsTheCanvas) {
    char pattern[] = "/tmp/quarvel-plot-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    fs::copy_file(exampleWing, dir / "wing.cpi");

    Quarvel* window = new Quarvel(FXApp::instance());
    window->create();
    ASSERT_TRUE(window->openFile((dir / "wing.cpi").c_str()));
    const double lift = quarvel::designLift(window->wing, 0);
    EXPECT_DOUBLE_EQ(window->wing.CYD[0], lift) << "the redraw after the open recomputes section 1";
    EXPECT_DOUBLE_EQ(window->shownCYD, lift);
    EXPECT_DOUBLE_EQ(window->shownCN, window->wing.CN[0]);

    // A save right after opening carries it.
    window->handle(window, FXSEL(SEL_COMMAND, Quarvel::ID_SAVE), nullptr);
    quarvel::FileError err;
    const auto back = quarvel::readCpInput((dir / "wing.cpd").string(), &err);
    ASSERT_TRUE(back) << err.message();
    EXPECT_NEAR(back->CYD[0], lift, 0.5e-5);

    // The plot fills the canvas whatever its size.
    for (FXint width : {900, 1200}) {
        window->resize(width, 900);
        window->layout();
        window->drawCpPlot();
        EXPECT_DOUBLE_EQ(window->plotTransform.plotScaleX, 0.89 * window->canvas->getWidth()) << width;
    }
    delete window;
    fs::remove_all(dir);
}
