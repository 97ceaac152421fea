// The planform dialog on a real display: a wing numbering its sections from
// 9 (the main window's tests cover 1 and 2), and the regimes' exact colours
// through the toolkit's colour format.
#include <fx.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <vector>

#include "planform/PlanForm.h"
#include "wing/CpFiles.h"

namespace fs = std::filesystem;

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

class PlanFormTest : public ::testing::Test {
protected:
    void open(const fs::path& path) {
        quarvel::FileError err;
        auto read = quarvel::readCpInput(path.string(), &err);
        ASSERT_TRUE(read) << err.message();
        wing = std::move(*read);
        owner = new FXMainWindow(FXApp::instance(), "owner");
        dialog = new CPlanForm(owner, wing, [this](int section) { chosen.push_back(section); });
        owner->create();
        dialog->create();
        dialog->show();
    }
    void TearDown() override {
        delete dialog;
        delete owner;
    }

    // The spinner moved to section number v, then its command.
    void choose(int v) {
        dialog->sectionSpinner->setValue(v);
        dialog->handle(dialog->sectionSpinner, FXSEL(SEL_COMMAND, CPlanForm::ID_PLAN_SECTION), nullptr);
    }

    quarvel::WingModel wing;
    FXMainWindow* owner = nullptr;
    CPlanForm* dialog = nullptr;
    std::vector<int> chosen;
};

}  // namespace

TEST_F(PlanFormTest, TheSpinnerChoosesTheSectionAndSetSectionStaysInside) {
    open(fs::path(QUARVEL_TEST_DATA) / "small-odd.cpi");
    choose(wing.KTE1 + 2);
    EXPECT_EQ(chosen, std::vector<int>{3});
    choose(wing.KTE2);
    EXPECT_EQ(chosen.back(), wing.nsec);
    // Moved from outside: no call back, kept inside the wing.
    dialog->setSection(wing.nsec + 4);
    EXPECT_EQ(dialog->planCurSection, wing.nsec);
    EXPECT_EQ(dialog->sectionSpinner->getValue(), wing.KTE2);
    EXPECT_DOUBLE_EQ(dialog->planZRel, 1.0);
    EXPECT_EQ(chosen.size(), 2u);
}

TEST_F(PlanFormTest, DrawsEachRegimeInItsExactColour) {
    open(fs::path(QUARVEL_EXAMPLES) / "wing12.cpi");
    for (int k = 0; k < wing.nsec; ++k) wing.surfMode[k] = {k < 6 ? k : 0, k < 6 ? k : 0};
    dialog->setSection(4);
    SegmentDC dc;
    dialog->drawPlanform(dc, 400, 400);
    EXPECT_EQ(dc.dashed, 2);
    for (FXColor c : {FXRGB(255, 0, 0), FXRGB(0, 0, 255), FXRGB(0, 200, 0), FXRGB(0, 255, 255), FXRGB(200, 255, 255)})
        EXPECT_EQ(dc.byColor[c], 2) << std::hex << c;
    EXPECT_EQ(dc.byColor[FXRGB(0, 0, 0)], 2 * (wing.nsec - 5) + 4 * (wing.nsec - 1)) << "the others and the edges";
}
