// The main window on a real display: its state before and after a wing is
// read, and files it cannot read.
#include "WindowFixture.h"
#include "view3d/GLView3D.h"

namespace fs = std::filesystem;
using quarvel::test::command;

namespace {

// The identifiers keep the order and the gaps that stored message numbers
// of the window rely on, counted from the base class's last one.
static_assert(int(Quarvel::ID_CANVAS) == int(FXMainWindow::ID_LAST) && Quarvel::ID_OPEN == Quarvel::ID_CANVAS + 4 &&
              Quarvel::ID_UPPER == Quarvel::ID_CANVAS + 8 && Quarvel::ID_U1 == Quarvel::ID_CANVAS + 14 &&
              Quarvel::ID_UP_NOCORR == Quarvel::ID_CANVAS + 25 && Quarvel::ID_SEC_NO == Quarvel::ID_CANVAS + 36);

class WindowTest : public quarvel::test::WindowFixture {
protected:
    void expectEmptyWindow(const std::string& situation) {
        TestWindow& w = *window;
        EXPECT_EQ(w.fileLoaded, 0) << situation;
        EXPECT_TRUE(w.openCommand->isEnabled()) << situation;
        std::vector<FXWindow*> controls = {w.shownCYDField, w.shownEPDField, w.mousePlotXField, w.currentPointXField,
            w.currentPointCpField, w.shownCNField, w.shownEPField, w.mousePlotCpField, w.pointSpinner, w.cpdSpinner,
            w.nsplSpinner, w.secYesRadio, w.secNoRadio, w.view3DButton};
        for (int s = 0; s < 2; ++s)
            controls.insert(controls.end(), {w.surfaceRadio[s], w.noCorrectionRadio[s], w.cpCorrectionRadio[s],
                w.cpEditionRadio[s], w.cpInterpolationRadio[s], w.geomInterpolationRadio[s], w.thicknessRadio[s],
                w.maxThicknessRadio[s], w.splineCheck[s], w.intervalFirstSpinner[s], w.intervalLastSpinner[s]});
        for (std::size_t i = 0; i < controls.size(); ++i)
            EXPECT_FALSE(controls[i]->isEnabled()) << "control " << i << " is enabled " << situation;
    }
};

TEST_F(WindowTest, StartsEmptyWithOnlyMenuAndCanvasEnabled) {
    EXPECT_STREQ(window->getTitle().text(), "Cp editor");
    expectEmptyWindow("before any file was read");
    for (FXWindow* item = window->fileMenu->getFirst(); item; item = item->getNext())
        EXPECT_TRUE(item->isEnabled()) << static_cast<FXMenuCommand*>(item)->getText().text();
    EXPECT_TRUE(window->canvas->isEnabled());
    // The read-outs look read-only: on the window's grey, not an entry's white.
    for (FXTextField* f : {window->shownCYDField, window->cpdDeltaField})
        EXPECT_EQ(f->getBackColor(), window->getApp()->getBaseColor()) << f->getTipText().text();
    command(*window, Quarvel::ID_SAVE);
    EXPECT_TRUE(fs::is_empty(dir)) << "nothing to write before a wing is read";
}

TEST_F(WindowTest, OpeningAWingEnablesEditingAndAnotherReplacesIt) {
    openExample();
    TestWindow& w = *window;
    EXPECT_EQ(w.fileLoaded, 1);
    EXPECT_EQ(w.wing.curSection, 1);
    EXPECT_TRUE(w.openCommand->isEnabled()) << "another wing can be opened";
    EXPECT_STREQ(w.getTitle().text(), "Cp editor - wing.cpi");
    EXPECT_TRUE(w.view3DButton->isEnabled());

    // Another wing takes the place of the first, with the planform and the
    // 3D view following it.
    GLView3D* view = w.view3D;
    ASSERT_TRUE(view) << "the 3D view of the first wing";
    fs::copy_file(fs::path(QUARVEL_EXAMPLES) / "tapered-odd.cpi", dir / "odd.cpi");
    ASSERT_TRUE(w.openFile((dir / "odd.cpi").c_str()));
    EXPECT_EQ(w.wing.nsec, 5);
    EXPECT_STREQ(w.getTitle().text(), "Cp editor - odd.cpi");
    ASSERT_TRUE(w.planForm) << "planform";
    EXPECT_EQ(w.view3D, view) << "the 3D view is kept and refilled";
    EXPECT_EQ(view->shownMesh().meshSections, 5) << "its mesh is the new wing's";

    // "Enlarge" shows its pane alone, "Restore" (the same button) brings the
    // others back; "Hide" on the enlarged pane brings back the others.
    // Panes as bits: plot 1, planform 2, spanload 4, 3D view 8.
    const struct { int pane, id; unsigned shown; } steps[] = {
        {quarvel::PaneSpanload, Quarvel::ID_PANE_ENLARGE, 4}, {quarvel::PaneSpanload, Quarvel::ID_PANE_ENLARGE, 15},
        {quarvel::Pane3D, Quarvel::ID_PANE_ENLARGE, 8}, {quarvel::Pane3D, Quarvel::ID_PANE_HIDE, 7},
    };
    for (const auto& step : steps) {
        FXButton* button = w.enlargeButton[step.pane];
        if (step.id == Quarvel::ID_PANE_HIDE) button = static_cast<FXButton*>(button->getPrev());
        w.handle(button, FXSEL(SEL_COMMAND, step.id), nullptr);
        EXPECT_EQ(w.shownPanes(), step.shown) << "pane " << step.pane << ", command " << step.id;
    }
    command(w, Quarvel::ID_SHOW_ALL_PANES);
    EXPECT_EQ(w.shownPanes(), quarvel::kAllPanes) << "Show all panes";

    // "Save As..." writes where asked, and later saves go there too.
    const fs::path other = dir / "other.cpd";
    ASSERT_TRUE(w.saveWingAs(other.c_str()));
    EXPECT_EQ(w.wing.outputFileName, other.string());
    EXPECT_STREQ(w.getTitle().text(), "Cp editor - odd.cpi (saved as other.cpd)");
    fs::remove(other);
    command(w, Quarvel::ID_SAVE);
    EXPECT_TRUE(fs::exists(other));
    EXPECT_FALSE(fs::exists(dir / "odd.cpd"));
}

// The reader's faults are covered case by case in the core tests; here the
// window's side of them.
TEST_F(WindowTest, BadFilesAreReportedAndLeaveTheWindowEmpty) {
    const fs::path absent = dir / "absent.cpi";
    EXPECT_FALSE(window->openFile(absent.c_str()));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(absent.string()), std::string::npos) << errors[0];
    errors.clear();
    expectEmptyWindow("after a bad file");
    openExample();
    EXPECT_EQ(window->fileLoaded, 1) << "a good file after a bad one";
    EXPECT_FALSE(window->openFile(absent.c_str()));
    errors.clear();
    EXPECT_EQ(window->wing.nsec, 12) << "a bad file leaves the wing loaded as it was";
}

}  // namespace

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (CTest does it after every build) needs no display.
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    FXApp app("Quarvel", "FOX Quarvel");
    app.init(argc, argv);
    app.create();
    return RUN_ALL_TESTS();
}
