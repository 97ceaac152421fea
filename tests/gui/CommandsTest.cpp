// The main window's editing commands driven through its real message map, as
// the widgets and the keys send them, down to the file a save writes.
#include <fxkeys.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "WindowFixture.h"
#include "planform/Isobars.h"
#include "planform/PlanForm.h"
#include "plot/CpPlot.h"
#include "plot/PicturePane.h"
#include "plot/Spanload.h"
#include "view3d/GLView3D.h"
#include "draw/FoxText.h"
#include "wing/CpFiles.h"
#include "wing/Numbers.h"
#include "wing/SectionLift.h"
#include "flow/Aerodynamics.h"

namespace fs = std::filesystem;
using quarvel::test::command;
using quarvel::test::key;
using quarvel::test::readFile;
using CommandsTest = quarvel::test::WindowFixture;

// wing12 numbers its sections from 1, tapered-odd from 2. The planform's
// spinner, a click beside a chord line and the page keys choose the section.
TEST_F(CommandsTest, ThePlanformAndPageKeysChooseTheSection) {
    for (const char* name : {"wing12.cpi", "tapered-odd.cpi"}) {
        TearDown();
        SetUp();
        openExample(name);
        TestWindow& w = *window;
        CPlanForm& plan = *w.planForm;
        const int kte1 = w.wing.KTE1;
        plan.sectionSpinner->setValue(kte1 + 2);
        plan.handle(plan.sectionSpinner, FXSEL(SEL_COMMAND, CPlanForm::ID_PLAN_SECTION), nullptr);
        EXPECT_EQ(w.wing.curSection, 3) << name;
        EXPECT_EQ(w.shownCN, w.wing.CN[2]) << name << ": the section's CN shown";
        EXPECT_EQ(w.shownEP, w.wing.EP[2]) << name << ": the section's EP shown";

        key(&w, KEY_Page_Down);
        EXPECT_EQ(w.wing.curSection, 4) << name << ": Page Down";
        EXPECT_EQ(plan.sectionSpinner->getValue(), kte1 + 3) << name;
        for (int i = 0; i < 10; ++i) key(&w, KEY_Page_Up);
        EXPECT_EQ(w.wing.curSection, 1) << name << ": the first section stops the keys";

        const quarvel::PlanformFit fit = quarvel::fitPlanform(quarvel::drawnBox(plan.plan), plan.canvas->getWidth(), plan.canvas->getHeight());
        FXEvent click{};
        click.win_x = fit.columnOf(plan.plan.Z[4]) + 2;
        click.win_y = fit.rowOf(plan.plan.XLE[4] + plan.plan.B[4] / 2);
        plan.handle(plan.canvas, FXSEL(SEL_LEFTBUTTONPRESS, CPlanForm::ID_PLAN_CANVAS), &click);
        EXPECT_EQ(w.wing.curSection, 5) << name << ": a click beside section 5's chord line";
    }
    key(window, KEY_s, CONTROLMASK);
    const std::string saved = (dir / "wing.cpd").string();
    EXPECT_TRUE(fs::exists(saved)) << "Ctrl-S saves";
    const std::string status = quarvel::stdText(window->statusBar->getStatusLine()->getNormalText());
    EXPECT_NE(status.find("Saved " + saved), std::string::npos) << "the status line confirms it: " << status;
    // The View menu hides the planform's pane and shows it again.
    command(*window, Quarvel::ID_PANE_PLANFORM);
    EXPECT_FALSE(window->paneShown(quarvel::PanePlanform));
    command(*window, Quarvel::ID_PLANFORM);
    EXPECT_TRUE(window->paneShown(quarvel::PanePlanform));
}

namespace {

// The first text field under a window, depth first, that is no spinner's:
// the planform's "Mach=".
FXTextField* firstTextField(FXWindow* w) {
    for (FXWindow* c = w->getFirst(); c; c = c->getNext()) {
        if (dynamic_cast<FXSpinner*>(c)) continue;
        if (auto* field = dynamic_cast<FXTextField*>(c)) return field;
        if (FXTextField* inside = firstTextField(c)) return inside;
    }
    return nullptr;
}

}  // namespace

TEST_F(CommandsTest, UnsavedChangesAreMarkedAndGuarded) {
    openExample();
    TestWindow& w = *window;
    EXPECT_TRUE(w.confirmDiscard()) << "nothing to ask about";
    EXPECT_TRUE(questions.empty());
    command(w, Quarvel::ID_UP_GEOM);
    EXPECT_STREQ(w.getTitle().text(), "Cp editor - wing.cpi *");
    answers = {MBOX_CLICKED_CANCEL, MBOX_CLICKED_SAVE, MBOX_CLICKED_SAVE};
    EXPECT_FALSE(w.close()) << "Cancel keeps the window";
    const std::string output = (dir / "wing.cpd").string();
    EXPECT_EQ(questions, std::vector<std::string>{"Save changes to " + output + "?"});
    questions.clear();

    // A save that fails is reported and keeps the program and the mark.
    fs::rename(dir, dir.string() + "-away");
    EXPECT_FALSE(w.confirmDiscard());
    EXPECT_TRUE(w.modified);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(output), std::string::npos) << errors[0];
    errors.clear();
    fs::rename(dir.string() + "-away", dir);
    // A save that works clears it, and the file carries the change.
    EXPECT_TRUE(w.confirmDiscard());
    EXPECT_STREQ(w.getTitle().text(), "Cp editor - wing.cpi");
    quarvel::FileError err;
    EXPECT_EQ(quarvel::readCpInput(output, &err)->RU[0], -10);

    // A value typed into a bound field of the planform marks it too.
    FXTextField* mach = firstTextField(w.planForm);
    ASSERT_NE(mach, nullptr);
    mach->setText("0.85");
    mach->getTarget()->handle(mach, FXSEL(SEL_COMMAND, FXDataTarget::ID_VALUE), nullptr);
    EXPECT_DOUBLE_EQ(w.wing.MACH, 0.85);
    EXPECT_TRUE(w.modified);
    EXPECT_TRUE(w.confirmDiscard()) << "Discard (the fixture's answer) lets the program end";
    questions.clear();
}

// The 3D view, the isobars and the spanload: panes of the main window,
// following every edit of the plot; the exports write what the command
// line prints.
TEST_F(CommandsTest, TheWingViewsArePanesAndFollowThePlot) {
    openExample();
    TestWindow& w = *window;
    GLView3D* view = w.view3D;
    ASSERT_NE(view, nullptr);
    for (int pane = 0; pane < quarvel::kPanes; ++pane) EXPECT_TRUE(w.paneShown(pane)) << "pane " << pane;
    EXPECT_TRUE(w.isobarsShown()) << "the isobar layer";
    const int isobarDraws = w.planForm->drawCount, spanloadDraws = w.spanloadView->drawCount;
    ASSERT_TRUE(w.getIcon()) << "the window lacks the icon";
    EXPECT_TRUE(w.getIcon()->id()) << "its icon is not created";
    EXPECT_TRUE(w.getMiniIcon()) << "the window lacks the mini icon";

    // An edit of the design Cp in the plot reaches the mesh at the next paint,
    // at a station of the interval that the pane's detail shows; the panes
    // follow at once, however long this machine takes to draw them.
    w.panesAtOnceMs = HUGE_VAL;
    w.resize(1280, 720);
    w.layout();
    view->drawScene();
    const std::vector<int>& stations = view->shownMesh().stations;
    const auto shown = std::find_if(stations.begin(), stations.end(), [&](int station) {
        return quarvel::inInterval(w.wing, 0, 0, w.wing.nhalf + 1 + station);
    });
    ASSERT_NE(shown, stations.end()) << "a station of the interval shown";
    ASSERT_EQ(view->shownMesh().sections.front(), 0) << "the first section shown";
    const int p = w.wing.nhalf + 1 + *shown, j = int(shown - stations.begin());
    w.pointSpinner->setValue(p + w.wing.ioff);
    command(w, Quarvel::ID_POINT);
    w.cpdSpinner->setValue(w.wing.cpDes[p - 1][0] - 0.1);
    command(w, Quarvel::ID_CPD);
    view->drawScene();
    EXPECT_DOUBLE_EQ(view->shownMesh().meshUpperDes[j][0], -w.wing.cpDes[p - 1][0]);
    EXPECT_GT(w.planForm->drawCount, isobarDraws) << "planform and isobars redrawn";
    EXPECT_GT(w.spanloadView->drawCount, spanloadDraws) << "spanload redrawn";
    // Panes too slow to follow every edit are drawn once the mouse rests,
    // once, after the last edit.
    w.panesAtOnceMs = -1.0;
    const int restingDraws = w.spanloadView->drawCount;
    for (double change : {0.05, 0.1}) {
        w.cpdSpinner->setValue(w.wing.cpDes[p - 1][0] - change);
        command(w, Quarvel::ID_CPD);
    }
    EXPECT_EQ(w.spanloadView->drawCount, restingDraws) << "put off while editing";
    EXPECT_TRUE(w.getApp()->hasTimeout(&w, Quarvel::ID_REFRESH_PANES)) << "until the mouse rests";
    w.handle(&w, FXSEL(SEL_TIMEOUT, Quarvel::ID_REFRESH_PANES), nullptr);
    EXPECT_EQ(w.spanloadView->drawCount, restingDraws + 1) << "drawn once";
    EXPECT_FALSE(w.panesPending()) << "nothing left to draw";
    w.isobarStepSpinner->setValue(0.2);
    ASSERT_TRUE(w.exportIsobarsCsv((dir / "iso.csv").c_str())) << "isobars CSV";
    ASSERT_TRUE(w.exportSpanloadCsv((dir / "span.csv").c_str())) << "spanload CSV";
    EXPECT_EQ(readFile(dir / "iso.csv"), quarvel::formatIsobarsCsv(w.wing, 0.2));
    EXPECT_EQ(readFile(dir / "span.csv"), quarvel::formatSpanloadCsv(quarvel::computeSpanload(w.wing)));

    // "&Hide" hides the pane and asks nothing; "3D VIEW" shows it again,
    // the same view.
    view->hideButton->getTarget()->handle(view->hideButton, FXSEL(SEL_COMMAND, view->hideButton->getSelector()),
                                          nullptr);
    EXPECT_FALSE(w.paneShown(quarvel::Pane3D));
    EXPECT_TRUE(questions.empty());
    command(w, Quarvel::ID_3DVIEW);
    EXPECT_TRUE(w.paneShown(quarvel::Pane3D));
    EXPECT_EQ(w.view3D, view) << "the same view";
}

// What a save writes is what the window shows: edits at both ends of the
// shown interval reach the file under the same point numbers, and CYD stays
// the file's while a section's design Cp is as read.
TEST_F(CommandsTest, SavesTheShownIntervalAndKeepsTheFilesCydUntilAnEdit) {
    openExample();
    TestWindow& w = *window;
    const std::vector<double> fileCYD = w.wing.CYD;
    auto saveAndReadBack = [&] {
        command(w, Quarvel::ID_SAVE);
        quarvel::FileError err;
        auto back = quarvel::readCpInput((dir / "wing.cpd").string(), &err);
        EXPECT_TRUE(back) << err.message();
        return back ? std::move(*back) : quarvel::WingModel{};
    };

    // Looking at every section, its surfaces and a zoom changes no byte of
    // the save.
    EXPECT_EQ(saveAndReadBack().CYD, fileCYD);
    const std::string saved = readFile(dir / "wing.cpd");
    for (int section = w.wing.nsec; section >= 1; --section) {
        w.chooseSection(section);
        command(w, Quarvel::ID_LOWER);
        quarvel::test::mouse(w, SEL_MOUSEWHEEL, 200, 200, 120);
        command(w, Quarvel::ID_UPPER);
        // "Cyd=" shows the lift of the design Cp to the file's digits; the tooltip names the file's CYD
        // where that differs.
        const double lift = std::round(quarvel::designLift(w.wing, section - 1) * 1e5) / 1e5;
        EXPECT_EQ(w.shownCYD, lift) << "section " << section;
        const bool named = w.shownCYDField->getTipText().find(quarvel::foxText(quarvel::formatFixed(
                               fileCYD[std::size_t(section - 1)], 5))) >= 0;
        EXPECT_EQ(named, std::fabs(lift - fileCYD[std::size_t(section - 1)]) > 5e-6) << "section " << section;
    }
    command(w, Quarvel::ID_SAVE);
    EXPECT_EQ(readFile(dir / "wing.cpd"), saved);

    // Section 2 of the file: upper "Cp edition" over points 72 .. 104.
    EXPECT_EQ(w.intervalFirstSpinner[0]->getValue(), 72);
    EXPECT_EQ(w.intervalLastSpinner[0]->getValue(), 104);
    const std::pair<int, double> edits[] = {{72, -1.5}, {104, 0.05}};
    for (const auto& [point, cp] : edits) {
        w.pointSpinner->setValue(point);
        command(w, Quarvel::ID_POINT);
        w.cpdSpinner->setValue(cp);
        command(w, Quarvel::ID_CPD);
    }
    const double lift = quarvel::designLift(w.wing, 0);
    EXPECT_NEAR(w.shownCYD, lift, 5e-6) << "once edited, CYD is the design lift";
    quarvel::WingModel back = saveAndReadBack();
    for (const auto& [point, cp] : edits)
        EXPECT_DOUBLE_EQ(back.cpdIn[point - back.ITE1][0], cp) << "point " << point;
    EXPECT_NEAR(back.CYD[0], lift, 0.5e-5);
    for (int k = 1; k < back.nsec; ++k) EXPECT_EQ(back.CYD[std::size_t(k)], fileCYD[std::size_t(k)]) << k;

    // Undone back to the file's design Cp, a save writes the file's CYD again.
    command(w, Quarvel::ID_UNDO);
    command(w, Quarvel::ID_UNDO);
    EXPECT_EQ(saveAndReadBack().CYD, fileCYD);
}

TEST_F(CommandsTest, SmoothKeepsTheShockUnlessThroughShocksAndTheRuleIsKept) {
    openExample();
    TestWindow& w = *window;
    // Section 2 of wing12: the rear shock of its upper design Cp at x/c 0.61,
    // -0.6928 to -0.3675, inside "Cp edition" 72..104.
    const auto rear = [&] {
        std::pair<double, double> cp{0.0, 0.0};
        for (const quarvel::Shock& s : quarvel::sectionShocks(w.wing, 0, 0, quarvel::CpSource::Design, w.shockRule))
            if (std::abs(s.x - 0.6056535) < 1e-9) cp = {s.cpBefore, s.cpAfter};
        return cp;
    };
    const std::pair<double, double> read{-0.6928, -0.3675};
    ASSERT_EQ(rear(), read);
    command(w, Quarvel::ID_SMOOTH);
    EXPECT_EQ(rear(), read) << "kept";
    EXPECT_NE(w.wing.cpDes[72][0], w.wing.cpInit[72][0]) << "smoothed beside it";
    command(w, Quarvel::ID_UNDO);
    w.throughShocksCheck->setCheck(TRUE, TRUE);
    command(w, Quarvel::ID_SMOOTH);
    EXPECT_NE(rear().first, read.first) << "smoothed through";
    EXPECT_NE(rear().second, read.second) << "smoothed through";

    w.setShockRule({2.5, 0.2});
    const std::unique_ptr<TestWindow> next = newWindow();
    EXPECT_EQ(next->shockRule.slope, 2.5) << "from the registry";
    EXPECT_EQ(next->shockRule.jump, 0.2) << "from the registry";
    w.setShockRule({});
}

TEST_F(CommandsTest, WeakenShockWithKeepLiftOverThreeStationsIsOneStep) {
    const fs::path input = dir / "m6.cpi";
    fs::copy_file(quarvel::test::dataPath("onera-m6-t2308.perstation.cpi"), input);
    TestWindow& w = *window;
    ASSERT_TRUE(w.openFile(input.c_str()));
    const quarvel::WingModel read = w.wing;
    w.chooseSection(3);
    w.keepLiftCheck->setCheck(TRUE, TRUE);
    w.weakenShock({1.15, 0.10}, 2, 4, {1.0, false, true});
    const std::optional<quarvel::Shock> rear =
        quarvel::rearShockInInterval(w.wing, 2, 0, quarvel::CpSource::Design, w.shockRule);
    ASSERT_TRUE(rear);
    EXPECT_NEAR(rear->m1, 1.15, 0.01);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_NEAR(quarvel::designLift(w.wing, k), quarvel::designLift(read, k), 1e-4) << "station " << k + 1;
        EXPECT_NE(w.wing.cpDes[60][k], read.cpDes[60][k]) << "station " << k + 1;
    }
    EXPECT_NEAR(w.shownDesignLoad.cl, w.shownInitialLoad.cl, 1e-4) << "the value row";
    EXPECT_NE(w.shownDesignLoad.cm, w.shownInitialLoad.cm) << "the value row";
    const std::string status = quarvel::stdText(w.statusBar->getStatusLine()->getNormalText());
    EXPECT_NE(status.find("M1 1.214 to 1.150."), std::string::npos) << status;
    EXPECT_NE(status.find("dcl=+0.0000 dcm=+0.0011"), std::string::npos) << status;
    command(w, Quarvel::ID_UNDO);
    for (int k = 0; k < read.nsec; ++k)
        for (int i = 0; i < read.npt; ++i) ASSERT_EQ(w.wing.cpDes[i][k], read.cpDes[i][k]) << "one undo step";
    w.keepLiftCheck->setCheck(FALSE, TRUE);
}
