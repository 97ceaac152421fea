// The program's icon on the main window and both dialogs, made on the display.
#include "WindowFixture.h"
#include "planform/PlanForm.h"
#include "view3d/GLView3D.h"

using quarvel::test::command;
using WindowIconTest = quarvel::test::WindowFixture;

TEST_F(WindowIconTest, EveryWindowWearsTheProgramIcon) {
    openExample();
    command(*window, Quarvel::ID_3DVIEW);
    for (FXTopWindow* w : {static_cast<FXTopWindow*>(window), static_cast<FXTopWindow*>(window->planForm),
                           static_cast<FXTopWindow*>(window->view3D)}) {
        ASSERT_NE(w, nullptr);
        ASSERT_NE(w->getIcon(), nullptr) << w->getTitle().text();
        EXPECT_NE(w->getIcon()->id(), 0u) << w->getTitle().text() << ": the icon was not made on the display";
        EXPECT_EQ(w->getIcon()->getWidth(), 32);
        EXPECT_EQ(w->getMiniIcon()->getWidth(), 16);
    }
}
