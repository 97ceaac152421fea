// The planform dialog on a real display: choosing a section through the
// message map for files numbering their sections from 1, 2 and 9, drawing in
// the regimes' exact colours, and closing.
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
        discard();
        quarvel::FileError err;
        auto read = quarvel::readCpInput(path.string(), &err);
        ASSERT_TRUE(read) << err.message();
        wing = std::move(*read);
        owner = new FXMainWindow(FXApp::instance(), "owner");
        dialog = new CPlanForm(owner, wing, [this](int section) { chosen.push_back(section); });
        owner->create();
        dialog->create();
        dialog->show();
        chosen.clear();
    }
    void discard() {
        delete dialog;
        delete owner;
        dialog = nullptr;
        owner = nullptr;
    }
    void TearDown() override { discard(); }

    // The spinner moved to section number v, then its command.
    void choose(int v) {
        dialog->sectionSpinner->setValue(v);
        dialog->handle(dialog->sectionSpinner, FXSEL(SEL_COMMAND, CPlanForm::ID_PLAN_SECTION), nullptr);
    }

    void expectCurrent(int section) {
        EXPECT_EQ(dialog->planCurSection, section);
        EXPECT_EQ(dialog->planSectionNumber, wing.KTE1 + section - 1);
        EXPECT_EQ(dialog->sectionSpinner->getValue(), wing.KTE1 + section - 1);
        EXPECT_DOUBLE_EQ(dialog->planZCur, wing.Z[section - 1]);
        EXPECT_DOUBLE_EQ(dialog->planZRel, wing.Z[section - 1] / wing.Z.back());
    }

    quarvel::WingModel wing;
    FXMainWindow* owner = nullptr;
    CPlanForm* dialog = nullptr;
    std::vector<int> chosen;
};

const fs::path examples = QUARVEL_EXAMPLES;

}  // namespace

TEST_F(PlanFormTest, TheSpinnerChoosesTheSectionWhateverTheFirstNumber) {
    for (const fs::path& file :
         {examples / "wing12.cpi", examples / "tapered-odd.cpi", fs::path(QUARVEL_TEST_DATA) / "small-odd.cpi"}) {
        SCOPED_TRACE(file.filename().string());
        open(file);
        expectCurrent(1);
        choose(wing.KTE1 + 2);
        EXPECT_EQ(chosen, std::vector<int>{3});
        expectCurrent(3);
        choose(wing.KTE2);
        EXPECT_EQ(chosen.back(), wing.nsec);

        // Moved from outside: no call back, kept inside the wing.
        dialog->setSection(2);
        expectCurrent(2);
        dialog->setSection(wing.nsec + 4);
        expectCurrent(wing.nsec);
        EXPECT_EQ(chosen.size(), 2u);
    }
}

TEST_F(PlanFormTest, DrawsEachRegimeInItsExactColour) {
    open(examples / "wing12.cpi");
    for (int k = 0; k < wing.nsec; ++k) wing.surfMode[k] = {k < 6 ? k : 0, k < 6 ? k : 0};
    dialog->setSection(4);
    SegmentDC dc;
    dialog->drawPlanform(dc, 400, 400);
    EXPECT_EQ(dc.dashed, 2);
    for (FXColor c : {FXRGB(255, 0, 0), FXRGB(0, 0, 255), FXRGB(0, 200, 0), FXRGB(0, 255, 255), FXRGB(200, 255, 255)})
        EXPECT_EQ(dc.byColor[c], 2) << std::hex << c;
    EXPECT_EQ(dc.byColor[FXRGB(0, 0, 0)], 2 * (wing.nsec - 5) + 4 * (wing.nsec - 1)) << "the others and the edges";
}

TEST_F(PlanFormTest, ClosingOnlyHides) {
    open(examples / "wing12.cpi");
    dialog->handle(owner, FXSEL(SEL_CLOSE, 0), nullptr);  // the title bar's close box
    EXPECT_FALSE(dialog->shown());
    dialog->show();
    dialog->handle(owner, FXSEL(SEL_COMMAND, FXTopWindow::ID_CLOSE), nullptr);
    EXPECT_FALSE(dialog->shown());
    choose(wing.KTE1 + 1);  // still alive
    EXPECT_EQ(chosen, std::vector<int>{2});
}
