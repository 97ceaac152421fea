// The planform dialog draws the regimes in their exact colours through the
// toolkit's colour format (the geometry is the core tests').
#include <map>

#include "WindowFixture.h"
#include "planform/PlanForm.h"

namespace {

// Counts the segments drawn per colour, and the dashed ones.
class SegmentDC : public FXDC {
public:
    SegmentDC() : FXDC(FXApp::instance()) {}
    void setForeground(FXColor c) override { fg = c; }
    void setLineStyle(FXLineStyle s) override { style = s; }
    void drawLineSegments(const FXSegment*, FXuint n) override {
        byColor[fg] += int(n);
        if (style == LINE_ONOFF_DASH) dashed += int(n);
    }
    void fillRectangle(FXint, FXint, FXint, FXint) override {}

    FXColor fg = 0;
    FXLineStyle style = LINE_SOLID;
    std::map<FXColor, int> byColor;
    int dashed = 0;
};

using PlanFormTest = quarvel::test::WindowFixture;

}  // namespace

TEST_F(PlanFormTest, DrawsEachRegimeInItsExactColour) {
    openExample();
    quarvel::WingModel& wing = window->wing;
    for (int k = 0; k < wing.nsec; ++k) wing.surfMode[k] = {k < 6 ? k : 0, k < 6 ? k : 0};
    window->planForm->setSection(4);
    SegmentDC dc;
    window->planForm->drawPlanform(dc, 400, 400);
    EXPECT_EQ(dc.dashed, 2);
    for (FXColor c : {FXRGB(255, 0, 0), FXRGB(0, 0, 255), FXRGB(0, 200, 0), FXRGB(0, 255, 255), FXRGB(200, 255, 255)})
        EXPECT_EQ(dc.byColor[c], 2) << std::hex << c;
    EXPECT_EQ(dc.byColor[FXRGB(0, 0, 0)], 2 * (wing.nsec - 5) + 4 * (wing.nsec - 1)) << "the others and the edges";
}
