// Undo, redo and "Revert section" through the main window's message map,
// editing in a zoomed plot, and the two exports.
#include <fx.h>
#include <FXPNGImage.h>

#include <algorithm>

#include "WindowFixture.h"
#include "planform/PlanForm.h"
#include "wing/CpFiles.h"
#include "wing/SectionCsv.h"

namespace fs = std::filesystem;
using quarvel::test::readFile;

namespace {

using quarvel::test::command;
using quarvel::test::mouse;

bool enabled(TestWindow& w, FXMenuCommand* item, FXint id) {
    w.handle(item, FXSEL(SEL_UPDATE, id), nullptr);
    return item->isEnabled();
}

// The edits, one step each: the upper spline of the first section on, a
// drag of its control point 1 in a zoomed plot, the lower surface of the
// second section to "Geom interpolation", and that section uncorrected.
void splineOn(TestWindow& w) {
    w.splineCheck[0]->setCheck(true);
    command(w, Quarvel::ID_SPLINE);
}
void zoomAndDrag(TestWindow& w) {
    const double x = w.wing.splX[1][0][0], cp = w.wing.splY[1][0][0];
    mouse(w, SEL_MOUSEWHEEL, w.plotTransform.columnOf(x), w.plotTransform.rowOf(cp), 3 * 120);
    const quarvel::PlotTransform& t = w.plotTransform;
    mouse(w, SEL_MOTION, t.columnOf(x), t.rowOf(cp));
    mouse(w, SEL_LEFTBUTTONPRESS, t.columnOf(x), t.rowOf(cp));
    for (int i = 1; i <= 4; ++i) mouse(w, SEL_MOTION, t.columnOf(x), t.rowOf(cp - 0.05 * i));
    mouse(w, SEL_LEFTBUTTONRELEASE, t.columnOf(x), t.rowOf(cp - 0.2));
}
void lowerGeom(TestWindow& w) {
    w.chooseSection(2);
    command(w, Quarvel::ID_LOWER);
    command(w, Quarvel::ID_LO_GEOM);
}

class EditHistoryTest : public quarvel::test::WindowFixture {
protected:
    std::unique_ptr<TestWindow> openWindow() {
        auto w = newWindow();
        openExample(*w);
        return w;
    }
    std::string saved(TestWindow& w) {
        command(w, Quarvel::ID_SAVE);
        return readFile((dir / "wing.cpd").string());
    }
};

}  // namespace

TEST_F(EditHistoryTest, UndoRedoAndImportEndInTheFileOfTheEditsByHand) {
    // Each from a window of its own: a save keeps the output interval of a
    // surface that a later save no longer writes.
    std::string untouched, byHand;
    {
        auto w = openWindow();
        w->chooseSection(2);
        untouched = saved(*w);
        fs::remove(dir / "wing.cpd");  // the next window starts from the input alone
    }
    {
        auto w = openWindow();
        splineOn(*w);
        zoomAndDrag(*w);
        lowerGeom(*w);
        byHand = saved(*w);
        fs::rename(dir / "wing.cpd", dir / "old.cpd");
    }

    auto w = openWindow();
    EXPECT_FALSE(enabled(*w, w->undoCommand, Quarvel::ID_UNDO));
    splineOn(*w);
    zoomAndDrag(*w);
    EXPECT_EQ(w->zoom.magnification(), 1.953125);
    lowerGeom(*w);
    command(*w, Quarvel::ID_SEC_NO);
    for (int i = 0; i < 3; ++i) command(*w, Quarvel::ID_UNDO);
    EXPECT_EQ(w->wing.curSection, 1) << "the drag's section is current again";
    EXPECT_EQ(w->planForm->sectionSpinner->getValue(), w->wing.KTE1);
    EXPECT_EQ(w->editing.selectedControlPoint, -1) << "no selection survives an undo";
    EXPECT_TRUE(enabled(*w, w->redoCommand, Quarvel::ID_REDO));
    command(*w, Quarvel::ID_REDO);
    command(*w, Quarvel::ID_REDO);
    EXPECT_TRUE(w->geomInterpolationRadio[1]->getCheck()) << "the panel follows a redo";
    EXPECT_EQ(saved(*w), byHand);

    for (int i = 0; i < 4; ++i) command(*w, Quarvel::ID_UNDO);
    EXPECT_FALSE(enabled(*w, w->undoCommand, Quarvel::ID_UNDO));
    EXPECT_FALSE(w->splineCheck[0]->getCheck());
    EXPECT_EQ(saved(*w), untouched);
    // One import, one step again, brings the set-up by hand back (but for
    // the design lift of the design Cp as the file rounds it); the command
    // line writes the same bytes.
    const std::string in = (dir / "wing.cpi").string(), old = (dir / "old.cpd").string(), out = (dir / "cli.cpd").string();
    auto withoutLift = [](std::string text) {
        for (std::size_t p = 0; (p = text.find("<   CYD  >", p)) != std::string::npos;)
            text.replace(p = text.find('\n', p) + 1, 10, 10, ' ');
        return text;
    };
    ASSERT_TRUE(w->importRegimesFrom(old.c_str()));
    const std::string imported = saved(*w);
    EXPECT_EQ(withoutLift(imported), withoutLift(byHand));
    EXPECT_EQ(std::get<0>(quarvel::test::runCli({"--convert", in, "--regimes-from", old, "-o", out})), 0);
    EXPECT_EQ(readFile(out), imported);
    command(*w, Quarvel::ID_UNDO);
    EXPECT_EQ(saved(*w), untouched);
    splineOn(*w);
    EXPECT_FALSE(enabled(*w, w->redoCommand, Quarvel::ID_REDO)) << "a new edit ends the redo";
    const std::string splined = saved(*w);
    command(*w, Quarvel::ID_REVERT);
    EXPECT_EQ(saved(*w), untouched) << "\"Revert section\" goes back to the file";
    command(*w, Quarvel::ID_UNDO);
    EXPECT_EQ(saved(*w), splined) << "in one step";
    // The undone import was dropped by the new edit: undo reaches the file, redo replays only the new edits.
    command(*w, Quarvel::ID_UNDO);
    EXPECT_FALSE(enabled(*w, w->undoCommand, Quarvel::ID_UNDO));
    command(*w, Quarvel::ID_REDO);
    EXPECT_EQ(saved(*w), splined);
    command(*w, Quarvel::ID_REDO);
    EXPECT_FALSE(enabled(*w, w->redoCommand, Quarvel::ID_REDO));
    EXPECT_EQ(saved(*w), untouched);
}

TEST_F(EditHistoryTest, ExportsWriteWhatIsShownOrReportAndWriteNothing) {
    auto w = openWindow();
    mouse(*w, SEL_MOUSEWHEEL, 100, 100, 2 * 120);
    ASSERT_TRUE(w->exportPlotPng((dir / "plot.png").c_str()));
    FXPNGImage image(FXApp::instance());
    FXFileStream in;
    ASSERT_TRUE(in.open((dir / "plot.png").c_str(), FXStreamLoad)) << "the PNG opens";
    ASSERT_TRUE(image.loadPixels(in)) << "the PNG reads";
    EXPECT_EQ(image.getWidth(), w->canvas->getWidth());
    EXPECT_EQ(image.getHeight(), w->canvas->getHeight());
    const FXColor* pixel = image.getData();
    EXPECT_GT(std::count_if(pixel, pixel + image.getWidth() * image.getHeight(),
                            [](FXColor c) { return c != FXRGB(255, 255, 255); }), 1000) << "the plot is drawn";

    ASSERT_TRUE(w->exportPlotFigure((dir / "plot.pdf").c_str(), 300, 200, quarvel::FigureMarks::Report));
    EXPECT_EQ(readFile((dir / "plot.pdf").string()).substr(0, 5), "%PDF-") << "the figure in the format asked";
    ASSERT_TRUE(w->exportSectionCsv((dir / "section.csv").c_str()));
    EXPECT_EQ(readFile((dir / "section.csv").string()), quarvel::formatSectionCsv(w->wing, 0));

    const std::string nowhere = (dir / "missing/plot").string();
    EXPECT_FALSE(w->exportPlotPng(nowhere.c_str()));
    EXPECT_FALSE(w->exportSectionCsv(nowhere.c_str()));
    EXPECT_FALSE(w->exportPlotFigure((nowhere + ".svg").c_str(), 300, 200, quarvel::FigureMarks::Editing));
    ASSERT_EQ(errors.size(), 3u);
    for (const std::string& e : errors) EXPECT_NE(e.find(nowhere), std::string::npos) << e;
    errors.clear();
    EXPECT_FALSE(fs::exists(dir / "missing"));
}
