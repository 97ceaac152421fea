// The program's icon on the main window and both dialogs, made with them.
#include "WindowFixture.h"
#include "planform/PlanForm.h"
#include "view3d/GLView3D.h"

using WindowIconTest = quarvel::test::WindowFixture;

TEST_F(WindowIconTest, EveryWindowWearsTheProgramIcon) {
    openExample();
    quarvel::test::command(*window, Quarvel::ID_3DVIEW);
    for (FXTopWindow* w : std::initializer_list<FXTopWindow*>{window, window->planForm, window->view3D}) {
        ASSERT_TRUE(w && w->getIcon() && w->getMiniIcon());
        EXPECT_NE(w->getIcon()->id(), 0u) << w->getTitle().text() << ": the icon was not made on the display";
        EXPECT_EQ(w->getIcon()->getWidth(), 32);
    }
}
