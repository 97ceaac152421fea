// The correction panel of the real window shows panelOf(wing) after every
// command; spinners, spline switch and keys write only what the user chose.
#include <fxkeys.h>

#include <tuple>
#include <utility>

#include "../core/WingInvariants.h"
#include "WindowFixture.h"

using quarvel::test::command;
using quarvel::test::key;

namespace {

template <typename Button>
quarvel::Toggle toggle(Button* b) { return {b->getCheck() == TRUE, b->isEnabled() == TRUE}; }
quarvel::Spinner spinner(FXSpinner* w) {
    quarvel::Spinner s{0, 0, w->getValue(), w->isEnabled() == TRUE};
    w->getRange(s.lo, s.hi);
    return s;
}

// What the widgets of the window show, read back from them.
quarvel::PanelWidgets shownPanel(TestWindow& w) {
    using P = quarvel::PanelWidgets;
    quarvel::PanelWidgets p;
    std::tie(p.secYes, p.secNo) = std::make_pair(toggle(w.secYesRadio), toggle(w.secNoRadio));
    const std::pair<quarvel::Toggle (P::*)[2], FXRadioButton* (Quarvel::*)[2]> radios[] = {
        {&P::surface, &TestWindow::surfaceRadio}, {&P::noCorrection, &TestWindow::noCorrectionRadio},
        {&P::cpCorrection, &TestWindow::cpCorrectionRadio}, {&P::geomInterpolation, &TestWindow::geomInterpolationRadio},
        {&P::thickness, &TestWindow::thicknessRadio}, {&P::maxThickness, &TestWindow::maxThicknessRadio},
        {&P::cpEdition, &TestWindow::cpEditionRadio}, {&P::cpInterpolation, &TestWindow::cpInterpolationRadio}};
    for (int s = 0; s < 2; ++s) {
        for (const auto& [row, widgets] : radios) (p.*row)[s] = toggle((w.*widgets)[s]);
        p.spline[s] = toggle(w.splineCheck[s]);
        p.shape[s] = toggle(w.shapeCheck[s]);
        p.intervalFirst[s] = spinner(w.intervalFirstSpinner[s]);
        p.intervalLast[s] = spinner(w.intervalLastSpinner[s]);
    }
    p.point = spinner(w.pointSpinner);
    p.nspl = spinner(w.nsplSpinner);
    w.cpdSpinner->getRange(p.cpd.lo, p.cpd.hi);
    p.cpd = {p.cpd.lo, p.cpd.hi, w.cpdSpinner->getValue(), w.cpdSpinner->isEnabled() == TRUE};
    p.currentPointXEnabled = w.currentPointXField->isEnabled();
    // The values the read-out fields are bound to.
    for (const auto& [value, target] : {std::pair{&p.currentPointCp, &w.currentPointCpTarget},
                                        {&p.currentPointX, &w.currentPointXTarget}, {&p.cpdDelta, &w.cpdDeltaTarget}})
        *value = *static_cast<const double*>(target->getData());
    return p;
}

// One arrow click of a spinner, as the user makes it.
template <typename Spinner>
void increment(Spinner* s) { s->handle(s, FXSEL(SEL_COMMAND, Spinner::ID_INCREMENT), nullptr); }

class PanelTest : public quarvel::test::WindowFixture {
protected:
    void expectPanelShown(const std::string& when) {
        EXPECT_EQ(quarvel::test::panelFault(window->wing, shownPanel(*window)), "") << when;
    }
    void spline(int s, bool on) {
        window->splineCheck[s]->setCheck(on);
        command(*window, Quarvel::ID_SPLINE, window->splineCheck[s]);
    }
};

}  // namespace

// A load, the sections one by one, the regime radios of both
// surfaces, "No sec. correction" and back, undo and redo: each shows the
// panel of the wing (a section in "Cp edition" with its point editors on).
TEST_F(PanelTest, EveryCommandShowsThePanelOfTheWing) {
    openExample();
    TestWindow& w = *window;
    expectPanelShown("after the load");
    for (int section = 1; section <= w.wing.nsec; ++section) {
        w.chooseSection(section);
        expectPanelShown("section " + std::to_string(section));
    }
    w.chooseSection(1);
    std::vector<int> ids = {Quarvel::ID_UP_GEOM, Quarvel::ID_LO_CPCORR, Quarvel::ID_LO_EDITION, Quarvel::ID_SEC_NO,
                            Quarvel::ID_SEC_YES, Quarvel::ID_UNDO, Quarvel::ID_REDO};
    for (int id = Quarvel::ID_LO_MAXTHICK; id >= Quarvel::ID_UP_NOCORR; --id) ids.insert(ids.begin(), id);
    for (int id : ids) {
        command(w, id);
        expectPanelShown("command " + std::to_string(id - Quarvel::ID_CANVAS));
    }
    EXPECT_EQ(w.wing.surfMode[0], (quarvel::SurfacePair{quarvel::MODE_GEOM, quarvel::MODE_CP_EDITION}))
        << "No then Yes sec. correction gives the regimes back";
}

// Ticking "Spline interp." changes no design Cp, lift or file, and each
// section keeps its own switch.
TEST_F(PanelTest, TheSplineSwitchIsTheSectionsOwnAndChangesNothing) {
    openExample();
    TestWindow& w = *window;
    auto& wing = w.wing;
    int on = 0;  // the last section with a surface in "Cp edition"
    for (int k = 0; k < wing.nsec; ++k) {
        for (int s = 0; s < 2; ++s) {
            if (wing.surfMode[k][s] != quarvel::MODE_CP_EDITION) continue;
            w.chooseSection(k + 1);
            const double lift = w.shownCYD;
            spline(s, true);  // the check of either surface, edited or not
            EXPECT_EQ(wing.splineOn[k][s], 1) << "section index " << k;
            EXPECT_EQ(wing.activeSurface[k], s) << "section index " << k;
            EXPECT_EQ(w.shownCYD, lift) << "section index " << k;
            EXPECT_FALSE(w.modified) << "section index " << k << ": nothing a save writes changed";
            on = k + 1;
        }
    }
    w.chooseSection(1);
    spline(wing.activeSurface[0], false);
    w.chooseSection(on);
    expectPanelShown("back on a section with its spline on");
}

// "Cpd=" edits from the design Cp of the active surface's selected point:
// an arrow click or key moves it one step from there, on either surface.
TEST_F(PanelTest, CpdStepsFromTheDesignCp) {
    openExample();
    TestWindow& w = *window;
    auto& wing = w.wing;
    ASSERT_EQ(wing.surfMode[0][0], quarvel::MODE_CP_EDITION);
    const int i = wing.upperPoint[0] - 1;
    w.cpdSpinner->setValue(wing.cpInit[i][0] - 0.3);
    command(w, Quarvel::ID_CPD, w.cpdSpinner);
    const double edited = wing.cpDes[i][0];
    increment(w.pointSpinner);
    w.pointSpinner->setValue(i + 1 + wing.ioff);
    command(w, Quarvel::ID_POINT, w.pointSpinner);
    EXPECT_DOUBLE_EQ(w.cpdSpinner->getValue(), edited) << "back on the edited point";
    increment(w.cpdSpinner);
    EXPECT_NEAR(wing.cpDes[i][0], edited + 0.01, 1e-9) << "one step from the design Cp";
    w.canvas->setFocus();
    key(&w, KEY_Up, SHIFTMASK);
    EXPECT_NEAR(wing.cpDes[i][0], edited + 0.009, 1e-9) << "Shift-Up: a fine step up the plot";
    command(w, Quarvel::ID_UNDO);
    EXPECT_NEAR(wing.cpDes[i][0], edited + 0.01, 1e-9) << "one undo step per nudge";

    for (int id : {Quarvel::ID_LO_CPCORR, Quarvel::ID_LO_EDITION}) command(w, id);
    const int j = wing.lowerPoint[0] - 1;
    const double lower = wing.cpDes[j][0];
    increment(w.cpdSpinner);
    EXPECT_NEAR(wing.cpDes[j][0], lower + 0.01, 1e-9) << "the lower surface's point";
    EXPECT_NEAR(wing.cpDes[i][0], edited + 0.01, 1e-9) << "the upper point keeps its edit";
}
