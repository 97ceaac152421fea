// The main window's editing commands driven through its real message map, as
// the widgets and the mouse send them, down to the file a save writes.
#include <fx.h>
#include <fxkeys.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "app/Quarvel.h"
#include "planform/PlanForm.h"
#include "view3d/GLView3D.h"
#include "wing/CpFiles.h"

namespace fs = std::filesystem;

namespace {

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quarvel-commands-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        window = new Quarvel(FXApp::instance());
        window->create();
        window->errorHook = [](const FXString&, const FXString& text) { ADD_FAILURE() << text.text(); };
    }
    void TearDown() override {
        delete window;
        fs::remove_all(dir);
    }

    void openExample(const char* name) {
        fs::copy_file(fs::path(QUARVEL_EXAMPLES) / name, dir / "wing.cpi");
        ASSERT_TRUE(window->openFile((dir / "wing.cpi").c_str()));
    }
    long command(FXint id, FXObject* sender = nullptr) {
        return window->handle(sender ? sender : window, FXSEL(SEL_COMMAND, id), nullptr);
    }
    long mouse(FXSelType type, double px, double py) {
        FXEvent ev{};
        ev.win_x = FXint(px);
        ev.win_y = FXint(py);
        return window->handle(window->canvas, FXSEL(type, Quarvel::ID_CANVAS), &ev);
    }

    fs::path dir;
    Quarvel* window = nullptr;
};

}  // namespace

TEST_F(CommandsTest, RegimeAndSectionCommandsReachTheWingAndThePanel) {
    openExample("wing12.cpi");
    Quarvel& w = *window;
    auto& wing = w.wing;
    // The surface selector enables the regime radios of its surface.
    EXPECT_EQ(command(Quarvel::ID_UPPER), 1);
    EXPECT_TRUE(w.geomInterpolationRadio[0]->isEnabled());
    command(Quarvel::ID_UP_GEOM);
    EXPECT_EQ(wing.surfMode[0][0], quarvel::MODE_GEOM);
    EXPECT_EQ(wing.RU[0], -10);
    EXPECT_TRUE(w.geomInterpolationRadio[0]->getCheck());
    EXPECT_FALSE(w.cpCorrectionRadio[0]->getCheck());
    command(Quarvel::ID_UP_CPCORR);
    EXPECT_EQ(wing.surfMode[0][0], quarvel::MODE_CP_INTERP) << "Cp correction starts as interpolation";
    EXPECT_FALSE(w.pointSpinner->isEnabled());
    command(Quarvel::ID_UP_EDITION);
    EXPECT_EQ(wing.surfMode[0][0], quarvel::MODE_CP_EDITION);
    EXPECT_TRUE(w.pointSpinner->isEnabled() && w.cpdSpinner->isEnabled());

    command(Quarvel::ID_SEC_NO);
    EXPECT_EQ(wing.secCorrection[0], 1);
    EXPECT_EQ(wing.surfMode[0][0], quarvel::MODE_NONE);
    EXPECT_EQ(wing.RU[0], 0);
    EXPECT_TRUE(w.secNoRadio->getCheck() && !w.secYesRadio->getCheck());
    EXPECT_FALSE(w.surfaceRadio[0]->isEnabled());
    command(Quarvel::ID_SEC_YES);
    EXPECT_EQ(wing.secCorrection[0], 2);
    EXPECT_TRUE(w.surfaceRadio[0]->isEnabled() && w.surfaceRadio[1]->isEnabled());

    // "L1=" while the upper surface is edited makes the lower one current.
    w.intervalStartSpinner[1]->setValue(wing.l1[0] + wing.ioff + 2);
    command(Quarvel::ID_L1, w.intervalStartSpinner[1]);
    EXPECT_EQ(wing.activeSurface[0], 1);
}

TEST_F(CommandsTest, ASplineDragRewritesTheIntervalAndTheSaveCarriesIt) {
    openExample("wing12.cpi");  // section 2: upper Cp edition over points 72 .. 104
    Quarvel& w = *window;
    auto& wing = w.wing;
    const quarvel::WingModel before = wing;
    w.splineCheck[0]->setCheck(true);
    command(Quarvel::ID_SPLINE);
    ASSERT_EQ(wing.splineOn[0][0], 1);
    EXPECT_TRUE(w.nsplSpinner->isEnabled());

    // A drag before any pick moves nothing.
    const auto& t = w.plotTransform;
    mouse(SEL_MOTION, t.columnOf(0.5), t.rowOf(-1.5));
    EXPECT_EQ(w.editing.selectedControlPoint, -1);

    // Pick control point 1 exactly and drag it 0.3 down the Cp axis.
    const double x1 = wing.splX[1][0][0], y1 = wing.splY[1][0][0];
    mouse(SEL_MOTION, t.columnOf(x1), t.rowOf(y1));
    mouse(SEL_LEFTBUTTONPRESS, t.columnOf(x1), t.rowOf(y1));
    ASSERT_EQ(w.editing.selectedControlPoint, 1);
    mouse(SEL_MOTION, t.columnOf(x1), t.rowOf(y1 + 0.3));
    mouse(SEL_LEFTBUTTONRELEASE, t.columnOf(x1), t.rowOf(y1 + 0.3));
    EXPECT_EQ(w.editing.draggingControlPoint, 0);
    EXPECT_NEAR(wing.splY[1][0][0], y1 + 0.3, 0.02);

    int changed = 0;
    for (int i = 0; i < wing.npt; ++i) {
        const bool inside = i >= wing.u1[0] - 1 && i <= wing.u2[0] - 1;
        if (!inside) {
            EXPECT_EQ(wing.cpDes[i][0], before.cpDes[i][0]) << "index " << i << " outside the interval";
        } else {
            changed += wing.cpDes[i][0] != before.cpDes[i][0];
        }
    }
    EXPECT_GT(changed, 10);

    command(Quarvel::ID_SAVE);
    quarvel::FileError err;
    const auto back = quarvel::readCpInput((dir / "wing.cpd").string(), &err);
    ASSERT_TRUE(back) << err.message();
    for (int i = wing.nhalf; i < 2 * wing.nhalf; ++i) {
        const bool inside = i >= wing.u1[0] && i <= wing.u2[0];  // the output column's interval
        const double expected = inside ? wing.cpDes[i][0] : 0.0;
        EXPECT_NEAR(back->cpdIn[i][0], expected, 0.6e-4) << "design Cp written at index " << i;
    }
}

TEST_F(CommandsTest, ThePlanformAndPageKeysChooseTheSection) {
    for (const char* name : {"wing12.cpi", "tapered-odd.cpi"}) {
        TearDown();
        SetUp();
        openExample(name);
        Quarvel& w = *window;
        ASSERT_NE(w.planForm, nullptr);
        const int kte1 = w.wing.KTE1;
        w.planForm->sectionSpinner->setValue(kte1 + 2);
        w.planForm->handle(w.planForm->sectionSpinner, FXSEL(SEL_COMMAND, CPlanForm::ID_PLAN_SECTION), nullptr);
        EXPECT_EQ(w.wing.curSection, 3) << name;
        EXPECT_DOUBLE_EQ(w.shownCN, w.wing.CN[2]) << name;
        EXPECT_DOUBLE_EQ(w.shownCYD, w.wing.CYD[2]) << name;
        EXPECT_DOUBLE_EQ(w.shownEPD, w.wing.EPD[2]) << name;
        EXPECT_DOUBLE_EQ(w.shownEP, w.wing.EP[2]) << name;
        EXPECT_EQ(w.secYesRadio->getCheck(), w.wing.secCorrection[2] == 2) << name;

        FXEvent key{};
        key.code = KEY_Page_Down;
        w.handle(&w, FXSEL(SEL_KEYPRESS, 0), &key);
        EXPECT_EQ(w.wing.curSection, 4) << name;
        EXPECT_EQ(w.planForm->sectionSpinner->getValue(), kte1 + 3) << name;
        key.code = KEY_Page_Up;
        for (int i = 0; i < 10; ++i) w.handle(&w, FXSEL(SEL_KEYPRESS, 0), &key);
        EXPECT_EQ(w.wing.curSection, 1) << name << ": the first section stops the keys";

        // Closing the dialog only hides it; the View menu shows it again.
        w.planForm->close();
        EXPECT_FALSE(w.planForm->shown());
        command(Quarvel::ID_PLANFORM);
        EXPECT_TRUE(w.planForm->shown());
    }
}

namespace {

// The first text field under a window, depth first: the planform's "Mach=".
FXTextField* firstTextField(FXWindow* w) {
    for (FXWindow* c = w->getFirst(); c; c = c->getNext()) {
        if (auto* field = dynamic_cast<FXTextField*>(c)) return field;
        if (FXTextField* inside = firstTextField(c)) return inside;
    }
    return nullptr;
}

}  // namespace

TEST_F(CommandsTest, UnsavedChangesAreMarkedAndGuarded) {
    openExample("wing12.cpi");
    Quarvel& w = *window;
    std::vector<FXString> asked;
    FXuint answer = MBOX_CLICKED_CANCEL;
    w.askHook = [&](const FXString& q) {
        asked.push_back(q);
        return answer;
    };
    EXPECT_STREQ(w.getTitle().text(), "Cp editor - wing.cpi");

    // Looking around changes nothing a save writes.
    command(Quarvel::ID_LOWER);
    command(Quarvel::ID_UPPER);
    w.chooseSection(3);
    w.chooseSection(1);
    EXPECT_FALSE(w.modified);
    EXPECT_TRUE(w.confirmDiscard());
    EXPECT_TRUE(asked.empty()) << "nothing to ask about";
    command(Quarvel::ID_UP_GEOM);
    EXPECT_TRUE(w.modified);
    EXPECT_STREQ(w.getTitle().text(), "Cp editor - wing.cpi *");
    EXPECT_FALSE(w.close()) << "Cancel keeps the window";
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(std::string(asked[0].text()), "Save changes to " + (dir / "wing.cpd").string() + "?");

    // Save that fails keeps the program and the mark.
    answer = MBOX_CLICKED_SAVE;
    w.errorHook = [](const FXString&, const FXString&) {};
    fs::rename(dir, dir.string() + "-away");
    EXPECT_FALSE(w.confirmDiscard());
    EXPECT_TRUE(w.modified);
    fs::rename(dir.string() + "-away", dir);
    // Save that works clears it, and the file carries the change.
    EXPECT_TRUE(w.confirmDiscard());
    EXPECT_FALSE(w.modified);
    EXPECT_STREQ(w.getTitle().text(), "Cp editor - wing.cpi");
    quarvel::FileError err;
    EXPECT_EQ(quarvel::readCpInput((dir / "wing.cpd").string(), &err)->RU[0], -10);

    // A value typed into a bound field of the planform marks it too.
    FXTextField* mach = firstTextField(w.planForm);
    ASSERT_NE(mach, nullptr);
    mach->setText("0.85");
    mach->getTarget()->handle(mach, FXSEL(SEL_COMMAND, FXDataTarget::ID_VALUE), nullptr);
    EXPECT_DOUBLE_EQ(w.wing.MACH, 0.85);
    EXPECT_TRUE(w.modified);
    answer = MBOX_CLICKED_NO;
    EXPECT_TRUE(w.confirmDiscard()) << "Discard lets the program end";
}

TEST_F(CommandsTest, TheThreeDViewIsOneDialogThatFollowsThePlot) {
    openExample("wing12.cpi");
    Quarvel& w = *window;
    command(Quarvel::ID_3DVIEW);
    GLView3D* view = w.view3D;
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->shown());
    command(Quarvel::ID_3DVIEW);
    EXPECT_EQ(w.view3D, view) << "a second press shows the same dialog";

    // An edit of the design Cp in the plot reaches the mesh.
    const int p = w.wing.upperPoint[0];
    const int j = p - 1 - w.wing.nhalf;  // the point's station on the upper surface
    w.cpdSpinner->setValue(w.wing.cpDes[p - 1][0] - 0.1);
    command(Quarvel::ID_CPD);
    EXPECT_DOUBLE_EQ(view->mesh.meshUpperDes[j][0], -w.wing.cpDes[p - 1][0]);

    // "&Exit" goes through the window's question about unsaved changes.
    FXuint asked = 0;
    w.askHook = [&](const FXString&) {
        ++asked;
        return FXuint(MBOX_CLICKED_CANCEL);
    };
    view->exitButton->getTarget()->handle(view->exitButton,
                                          FXSEL(SEL_COMMAND, view->exitButton->getSelector()), nullptr);
    EXPECT_EQ(asked, 1u);
    view->close();
    EXPECT_FALSE(view->shown());
}
