// The Cp plot replayed on a device context of the toolkit.
#include <fx.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

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
    void drawLineSegments(const FXSegment*, FXuint n) override {
        segmentsByColor[fg] += int(n);
        if (style == LINE_ONOFF_DASH) dashedSegments += int(n);
    }
    void drawLine(FXint x1, FXint y1, FXint x2, FXint y2) override {
        const FXSegment s{FXshort(x1), FXshort(y1), FXshort(x2), FXshort(y2)};
        drawLineSegments(&s, 1);
    }
    void drawText(FXint, FXint, const FXchar* s, FXuint n) override { texts.emplace_back(s, n); }
    void drawEllipse(FXint, FXint, FXint, FXint) override {}
    void fillRectangle(FXint, FXint, FXint w, FXint h) override { fills.push_back({w, h}); }

    FXColor fg = 0;
    FXLineStyle style = LINE_SOLID;
    std::map<FXColor, int> segmentsByColor;
    int dashedSegments = 0;
    std::vector<std::string> texts;
    std::vector<std::pair<int, int>> fills;
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
