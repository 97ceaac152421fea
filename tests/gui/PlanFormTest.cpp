// The planform dialog draws the regimes in their exact colours on its canvas,
// through the cairo back end and the toolkit's colour format (the geometry
// is the core tests').
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
    const FXImage* image = window->planForm->planImage();
    ASSERT_NE(image, nullptr) << "the planform is drawn";
    std::map<FXColor, int> pixels;
    const FXColor* data = image->getData();
    for (int i = 0; i < image->getWidth() * image->getHeight(); ++i) ++pixels[data[i]];
    // Lines two pixels wide on whole pixels keep their colour unmixed.
    for (FXColor c : {FXRGB(255, 0, 0), FXRGB(0, 0, 255), FXRGB(0, 200, 0), FXRGB(0, 255, 255), FXRGB(200, 255, 255),
                      FXRGB(0, 0, 0)})
        EXPECT_GT(pixels[c], 10) << std::hex << c;
}
