// The planform dialog draws the regimes in their exact colours on its canvas
// (the geometry is the core tests').
#include <map>

#include "WindowFixture.h"
#include "planform/PlanForm.h"

namespace {

using PlanFormTest = quarvel::test::WindowFixture;

}  // namespace

TEST_F(PlanFormTest, DrawsEachRegimeInItsExactColour) {
    openExample();
    quarvel::WingModel& wing = window->wing;
    for (int k = 0; k < wing.nsec; ++k) wing.surfMode[k] = {k < 6 ? k : 0, k < 6 ? k : 0};
    window->planForm->setSection(4);
    const quarvel::CanvasBuffer& picture = window->planForm->planPicture();
    ASSERT_GT(picture.width(), 0) << "the planform is drawn";
    std::map<int, int> pixels;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) ++pixels[picture.pixel(x, y)];
    // Lines two pixels wide on whole pixels keep their colour unmixed.
    for (int c : {0xff0000, 0x0000ff, 0x00c800, 0x00ffff, 0xc8ffff, 0x000000})
        EXPECT_GT(pixels[c], 10) << std::hex << c;
}
