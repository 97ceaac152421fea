// The correction panel of the real window: after every command, whatever
// sent it, the widgets show panelOf(wing), and the spinners and the spline
// switch write only what the user chose.
#include <fxkeys.h>

#include <string>

#include "../core/WingInvariants.h"
#include "WindowFixture.h"
#include "planform/PlanForm.h"
#include "wing/SectionLift.h"

using quarvel::test::command;

namespace {

void read(FXRadioButton* w, quarvel::Toggle& t) { t = {w->getCheck() == TRUE, w->isEnabled() == TRUE}; }
void read(FXCheckButton* w, quarvel::Toggle& t) { t = {w->getCheck() == TRUE, w->isEnabled() == TRUE}; }
void read(FXSpinner* w, quarvel::Spinner& s) {
    FXint lo, hi;
    w->getRange(lo, hi);
    s = {lo, hi, w->getValue(), w->isEnabled() == TRUE};
}

// What the widgets of the window show, read back from them.
quarvel::PanelWidgets shownPanel(Quarvel& w) {
    quarvel::PanelWidgets p;
    read(w.secYesRadio, p.secYes);
    read(w.secNoRadio, p.secNo);
    for (int s = 0; s < 2; ++s) {
        read(w.surfaceRadio[s], p.surface[s]);
        read(w.noCorrectionRadio[s], p.noCorrection[s]);
        read(w.cpCorrectionRadio[s], p.cpCorrection[s]);
        read(w.geomInterpolationRadio[s], p.geomInterpolation[s]);
        read(w.thicknessRadio[s], p.thickness[s]);
        read(w.maxThicknessRadio[s], p.maxThickness[s]);
        read(w.cpEditionRadio[s], p.cpEdition[s]);
        read(w.cpInterpolationRadio[s], p.cpInterpolation[s]);
        read(w.splineCheck[s], p.spline[s]);
        read(w.intervalStartSpinner[s], p.intervalStart[s]);
        read(w.intervalEndSpinner[s], p.intervalEnd[s]);
    }
    read(w.pointSpinner, p.point);
    read(w.nsplSpinner, p.nspl);
    w.cpdSpinner->getRange(p.cpd.lo, p.cpd.hi);
    p.cpd.value = w.cpdSpinner->getValue();
    p.cpd.enabled = w.cpdSpinner->isEnabled();
    p.currentPointXEnabled = w.currentPointXField->isEnabled();
    p.currentPointCp = w.currentPointCp;
    p.currentPointX = w.currentPointX;
    p.cpdDelta = w.cpdDelta;
    return p;
}

void pageKey(Quarvel& w, FXuint code) {
    FXEvent key{};
    key.code = code;
    w.handle(&w, FXSEL(SEL_KEYPRESS, 0), &key);
}

// One arrow click of a spinner, as the user makes it.
void increment(FXWindow* spinner) { spinner->handle(spinner, FXSEL(SEL_COMMAND, FXSpinner::ID_INCREMENT), nullptr); }
void increment(FXRealSpinner* spinner) {
    spinner->handle(spinner, FXSEL(SEL_COMMAND, FXRealSpinner::ID_INCREMENT), nullptr);
}

class PanelTest : public quarvel::test::WindowFixture {
protected:
    // The widgets show the panel of the wing, and that panel tells the wing.
    void expectPanelShown(const std::string& when) {
        Quarvel& w = *window;
        EXPECT_EQ(quarvel::test::panelFault(w.wing, shownPanel(w)), "") << when;
    }
};

}  // namespace

// Item by item, every way of reaching a section or a state shows it as it is:
// a load, the page keys, the planform, undo and redo, and the regime and
// section radios of both surfaces.
TEST_F(PanelTest, EveryCommandShowsThePanelOfTheWing) {
    openExample();
    Quarvel& w = *window;
    expectPanelShown("after the load");
    int edition = 0;
    for (int section = 1; section <= w.wing.nsec; ++section) {
        w.chooseSection(section);
        expectPanelShown("section " + std::to_string(section));
        const int k = section - 1;
        if (w.wing.surfMode[k][0] != quarvel::MODE_CP_EDITION) continue;
        ++edition;
        EXPECT_TRUE(w.pointSpinner->isEnabled() && w.cpdSpinner->isEnabled()) << "section " << section;
    }
    EXPECT_GT(edition, 3);
    pageKey(w, KEY_Page_Up);
    expectPanelShown("Page Up");

    // Every regime of both surfaces, one click each, "No correction" too.
    w.chooseSection(1);
    for (int id = Quarvel::ID_UP_NOCORR; id <= Quarvel::ID_LO_MAXTHICK; ++id) {
        command(w, id);
        expectPanelShown("regime radio " + std::to_string(id - Quarvel::ID_UP_NOCORR));
    }
    command(w, Quarvel::ID_UP_GEOM);
    command(w, Quarvel::ID_LO_CPCORR);
    command(w, Quarvel::ID_LO_EDITION);
    expectPanelShown("upper geometry, lower Cp edition");
    EXPECT_TRUE(w.cpEditionRadio[1]->getCheck() && w.pointSpinner->isEnabled());

    // "No sec. correction" and back gives the regimes back.
    command(w, Quarvel::ID_SEC_NO);
    expectPanelShown("No sec. correction");
    command(w, Quarvel::ID_SEC_YES);
    EXPECT_EQ(w.wing.surfMode[0], (quarvel::SurfacePair{quarvel::MODE_GEOM, quarvel::MODE_CP_EDITION}));
    expectPanelShown("Yes sec. correction");
    command(w, Quarvel::ID_UNDO);
    expectPanelShown("undo");
    command(w, Quarvel::ID_REDO);
    expectPanelShown("redo");
}

// Each section keeps its own spline switch; the control points drag only
// where it is on.
TEST_F(PanelTest, TheSplineSwitchIsTheSectionsOwn) {
    openExample();
    Quarvel& w = *window;
    auto& wing = w.wing;
    int on = 0;  // a section whose upper surface is in Cp edition
    for (int k = 1; k < wing.nsec && !on; ++k)
        if (wing.surfMode[k][0] == quarvel::MODE_CP_EDITION) on = k + 1;
    ASSERT_GT(on, 1);
    w.chooseSection(on);
    w.splineCheck[0]->setCheck(true);
    command(w, Quarvel::ID_SPLINE, w.splineCheck[0]);
    EXPECT_TRUE(w.nsplSpinner->isEnabled() && !w.pointSpinner->isEnabled());
    w.chooseSection(1);
    EXPECT_FALSE(w.splineCheck[0]->getCheck()) << "section 1 has its spline off";
    expectPanelShown("section 1");
    w.chooseSection(on);
    EXPECT_TRUE(w.splineCheck[0]->getCheck() && w.nsplSpinner->isEnabled());
    expectPanelShown("back on the spline's section");

    // Off again: no control point is left to drag.
    w.splineCheck[0]->setCheck(false);
    command(w, Quarvel::ID_SPLINE, w.splineCheck[0]);
    const double x = wing.splX[1][on - 1][0], cp = wing.splY[1][on - 1][0];
    const quarvel::PlotTransform t = w.plotTransform;
    quarvel::test::mouse(w, SEL_LEFTBUTTONPRESS, t.columnOf(x), t.rowOf(cp));
    EXPECT_EQ(w.editing.selectedControlPoint, -1);
    quarvel::test::mouse(w, SEL_LEFTBUTTONRELEASE, t.columnOf(x), t.rowOf(cp));
}

// "Cpd=" edits from the design Cp of the active surface's selected point:
// an arrow click moves it one step from there, on either surface.
TEST_F(PanelTest, TheCpdArrowStepsFromTheDesignCp) {
    openExample();
    Quarvel& w = *window;
    auto& wing = w.wing;
    command(w, Quarvel::ID_UP_CPCORR);
    command(w, Quarvel::ID_UP_EDITION);
    const int i = wing.upperPoint[0] - 1;
    w.cpdSpinner->setValue(wing.cpInit[i][0] - 0.3);
    command(w, Quarvel::ID_CPD, w.cpdSpinner);
    const double edited = wing.cpDes[i][0];
    increment(w.pointSpinner);
    EXPECT_EQ(wing.upperPoint[0], i + 2);
    w.pointSpinner->setValue(i + 1 + wing.ioff);
    command(w, Quarvel::ID_POINT, w.pointSpinner);
    EXPECT_DOUBLE_EQ(w.cpdSpinner->getValue(), edited) << "back on the edited point, Cpd= shows its design Cp";
    increment(w.cpdSpinner);
    EXPECT_NEAR(wing.cpDes[i][0], edited + 0.01, 1e-9) << "one step from the design Cp";
    EXPECT_NEAR(w.cpdDelta, edited + 0.01 - wing.cpInit[i][0], 1e-9);

    command(w, Quarvel::ID_LO_CPCORR);
    command(w, Quarvel::ID_LO_EDITION);
    const int j = wing.lowerPoint[0] - 1;
    const double lower = wing.cpDes[j][0];
    EXPECT_DOUBLE_EQ(w.cpdSpinner->getValue(), lower) << "the lower surface's point";
    increment(w.cpdSpinner);
    EXPECT_NEAR(wing.cpDes[j][0], lower + 0.01, 1e-9);
    EXPECT_NEAR(wing.cpDes[i][0], edited + 0.01, 1e-9) << "the upper point keeps its edit";
}

// Ticking "Spline interp." changes no design Cp and no lift; a drag does.
TEST_F(PanelTest, TheSplineSwitchChangesNothingByItself) {
    openExample();
    Quarvel& w = *window;
    auto& wing = w.wing;
    for (int section = 1; section <= wing.nsec; ++section) {
        w.chooseSection(section);
        const int k = section - 1;
        for (int s = 0; s < 2; ++s) {
            if (wing.surfMode[k][s] != quarvel::MODE_CP_EDITION) continue;
            command(w, s == 0 ? Quarvel::ID_UPPER : Quarvel::ID_LOWER);
            const std::vector<double> before(wing.cpDes.column(k), wing.cpDes.column(k) + wing.npt);
            const double lift = w.shownCYD;
            w.splineCheck[s]->setCheck(true);
            command(w, Quarvel::ID_SPLINE, w.splineCheck[s]);
            EXPECT_EQ(std::vector<double>(wing.cpDes.column(k), wing.cpDes.column(k) + wing.npt), before)
                << "section " << section << ", surface " << s;
            EXPECT_DOUBLE_EQ(w.shownCYD, lift) << "section " << section << ", surface " << s;
            EXPECT_FALSE(w.modified) << "section " << section << ", surface " << s;
        }
    }
}

// The arrow keys on the plot nudge the selected point, one undo step each.
TEST_F(PanelTest, ArrowKeysNudgeTheSelectedPoint) {
    openExample();
    Quarvel& w = *window;
    const int i = w.wing.upperPoint[0] - 1;
    const double design = w.wing.cpDes[i][0];
    ASSERT_EQ(w.wing.surfMode[0][0], quarvel::MODE_CP_EDITION);
    w.canvas->setFocus();
    FXEvent key{};
    key.code = KEY_Up;
    w.handle(&w, FXSEL(SEL_KEYPRESS, 0), &key);
    key.state = SHIFTMASK;
    w.handle(&w, FXSEL(SEL_KEYPRESS, 0), &key);
    EXPECT_NEAR(w.wing.cpDes[i][0], design - 0.011, 1e-12) << "Up lowers the Cp, Shift by a tenth";
    EXPECT_DOUBLE_EQ(w.cpdSpinner->getValue(), w.wing.cpDes[i][0]);
    command(w, Quarvel::ID_UNDO);
    EXPECT_NEAR(w.wing.cpDes[i][0], design - 0.01, 1e-12) << "one undo step per nudge";
}

// The planform answers the main window's shortcuts, and a click on a chord
// line chooses its section; the status line confirms the save with its path.
TEST_F(PanelTest, ThePlanformTakesShortcutsAndClicks) {
    openExample();
    Quarvel& w = *window;
    CPlanForm& plan = *w.planForm;
    FXEvent key{};
    key.code = KEY_Page_Down;
    plan.handle(&plan, FXSEL(SEL_KEYPRESS, 0), &key);
    EXPECT_EQ(w.wing.curSection, 2);
    key.code = KEY_s;
    key.state = CONTROLMASK;
    plan.handle(&plan, FXSEL(SEL_KEYPRESS, 0), &key);
    const std::string saved = (dir / "wing.cpd").string();
    EXPECT_TRUE(std::filesystem::exists(saved)) << "Ctrl-S in the planform saves";
    const std::string status = quarvel::stdText(w.statusBar->getStatusLine()->getNormalText());
    EXPECT_NE(status.find("Saved " + saved), std::string::npos) << status;

    const quarvel::PlanformFit fit = quarvel::fitPlanform(plan.plan.box, plan.canvas->getWidth(), plan.canvas->getHeight());
    FXEvent click{};
    click.win_x = fit.columnOf(plan.plan.Z[4]) + 2;
    click.win_y = fit.rowOf(plan.plan.XLE[4] + plan.plan.B[4] / 2);
    plan.handle(plan.canvas, FXSEL(SEL_LEFTBUTTONPRESS, CPlanForm::ID_PLAN_CANVAS), &click);
    EXPECT_EQ(w.wing.curSection, 5) << "a click beside section 5's chord line";
    expectPanelShown("after the click");
}
