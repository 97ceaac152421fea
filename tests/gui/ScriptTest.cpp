// The design script against the window: each script line leaves the wing as
// the same operation through the window's widgets does, the window keeps
// the line of each operation in its journal, and a journal written by a
// session replays headless to the same saved file.
#include <fxkeys.h>

#include <functional>

#include "WindowFixture.h"
#include "planform/PlanForm.h"
#include "wing/CpFiles.h"

namespace fs = std::filesystem;
using quarvel::test::command;
using quarvel::test::key;
using quarvel::test::mouse;
using quarvel::test::readFile;
using quarvel::test::runCli;

namespace {

// The script lines of text, applied to w through the window's own path.
void runLines(TestWindow& w, const std::string& text) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const quarvel::ParsedLine parsed = quarvel::parseScriptLine(line);
        ASSERT_TRUE(parsed.op) << line << ": " << parsed.fault;
        const quarvel::OpResult r = w.runOp(*parsed.op);
        ASSERT_EQ(r.fault, "") << line;
    }
}

// The same lines applied headless; the fault of the first refused one.
std::string applyLines(quarvel::WingModel& wing, quarvel::ScriptState& state, const std::string& text) {
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const quarvel::ParsedLine parsed = quarvel::parseScriptLine(line);
        if (!parsed.op) return line + ": " + parsed.fault;
        const quarvel::OpResult r = quarvel::applyOp(*parsed.op, wing, state);
        if (!r.fault.empty()) return line + ": " + r.fault;
    }
    return {};
}

// Control point j of the surface edited, pressed and dragged by (dx, dcp)
// in the transform the window edits control points with.
void drag(TestWindow& w, int j, double dx, double dcp) {
    const int k = w.wing.curSection - 1, s = quarvel::activeSurfaceOf(w.wing, k);
    const double x = w.wing.splX[j][k][s], v = w.wing.splY[j][k][s];
    const quarvel::PlotTransform t = w.controlTransform();
    mouse(w, SEL_LEFTBUTTONPRESS, t.columnOf(x) + 0.5, t.rowOf(v) + 0.5);
    mouse(w, SEL_MOTION, t.columnOf(x + dx / 2) + 0.5, t.rowOf(v + dcp / 2) + 0.5);
    mouse(w, SEL_MOTION, t.columnOf(x + dx) + 0.5, t.rowOf(v + dcp) + 0.5);
    mouse(w, SEL_LEFTBUTTONRELEASE, t.columnOf(x + dx) + 0.5, t.rowOf(v + dcp) + 0.5);
}

void check(FXCheckButton* b, TestWindow& w, FXint id) {
    b->setCheck(!b->getCheck());
    command(w, id, b);
}

}  // namespace

using ScriptTest = quarvel::test::WindowFixture;

TEST_F(ScriptTest, EveryLineDoesWhatTheWindowsOperationDoes) {
    const std::string old = (dir / "old.cpd").string();
    {
        quarvel::WingModel prior = *quarvel::readCpInput(std::string(QUARVEL_EXAMPLES) + "/wing12.cpi", nullptr, nullptr);
        quarvel::ScriptState state;
        ASSERT_EQ(applyLines(prior, state, "section 2\npoint 80 -0.9\nsection 4\nregime edition 70 100"), "");
        ASSERT_TRUE(quarvel::saveCpOutput(prior, old, nullptr));
    }
    struct Case {
        const char* setUp;                    // script lines run first
        std::function<void(TestWindow&)> act;    // the window's widgets
        std::string line;                     // the line it journals ("" for section and surface; "?" read it)
    };
    const Case cases[] = {
        {"section 2", [](TestWindow& w) { command(w, Quarvel::ID_SEC_NO); }, "correction no"},
        {"section 3", [](TestWindow& w) { command(w, Quarvel::ID_LOWER); }, ""},
        {"section 2", [](TestWindow& w) { w.chooseSection(5); }, ""},
        {"section 2", [](TestWindow& w) { command(w, Quarvel::ID_UP_GEOM); }, "regime geometry"},
        {"section 4", [](TestWindow& w) { command(w, Quarvel::ID_UP_CPCORR); }, "regime interpolation"},
        {"section 3", [](TestWindow& w) { command(w, Quarvel::ID_UP_EDITION); }, "regime edition"},
        {"section 4\nsurface upper", [](TestWindow& w) { command(w, Quarvel::ID_LO_NOCORR); }, "regime none"},
        {"section 2",
         [](TestWindow& w) {
             w.intervalFirstSpinner[0]->setValue(70);
             command(w, Quarvel::ID_U1, w.intervalFirstSpinner[0]);
         },
         "interval 70 104"},
        {"section 2",
         [](TestWindow& w) {
             w.intervalLastSpinner[0]->setValue(90);
             command(w, Quarvel::ID_U2, w.intervalLastSpinner[0]);
         },
         "interval 72 90"},
        {"section 2",
         [](TestWindow& w) {
             w.cpdSpinner->setValue(-0.625);
             command(w, Quarvel::ID_CPD);
         },
         "point 88 -0.625"},
        {"section 2\nsurface upper", [](TestWindow& w) { key(&w, KEY_Up); }, "point 88 -0.918"},
        {"section 2", [](TestWindow& w) { check(w.splineCheck[0], w, Quarvel::ID_SPLINE); }, "spline on"},
        {"section 2\nspline on",
         [](TestWindow& w) {
             w.nsplSpinner->setValue(7);
             command(w, Quarvel::ID_NSPL);
         },
         "nspl 7"},
        {"section 2\nspline on\nnspl 5", [](TestWindow& w) { drag(w, 2, 0.05, -0.2); }, "?"},
        {"section 2\nspline on\nnspl 5",
         [](TestWindow& w) {
             const quarvel::PlotTransform t = w.controlTransform();
             const int k = w.wing.curSection - 1;
             const double col = t.columnOf(w.wing.splX[1][k][0]), row = t.rowOf(w.wing.splY[1][k][0]);
             mouse(w, SEL_LEFTBUTTONPRESS, col, row);
             mouse(w, SEL_LEFTBUTTONRELEASE, col, row);
             key(&w, KEY_Right);
         },
         "?"},
        {"section 2\nspline on", [](TestWindow& w) { check(w.shapeCheck[0], w, Quarvel::ID_SHAPE); }, "shape on"},
        {"section 2\nspline on\nnspl 6\nshape on", [](TestWindow& w) { drag(w, 3, -0.04, -0.1); }, "?"},
        {"section 2", [](TestWindow& w) { command(w, Quarvel::ID_SMOOTH); }, "smooth 10"},
        {"section 3", [](TestWindow& w) { w.smoothAlongSpan(2, 6, w.smoothing()); }, "smooth-span 2 6 10"},
        {"section 3", [](TestWindow& w) { w.applyToSections(2, 7, quarvel::Blend{0.5, true}); }, "apply 2 7 fade weight 0.5"},
        {"section 3", [&](TestWindow& w) { w.importRegimesFrom(old.c_str()); }, "import " + old},
        {"section 3", [](TestWindow& w) { w.planForm->onValueEdited(quarvel::FlowValue::Mach, 0.8125); }, "mach 0.8125"},
        {"section 2\npoint 80 -1.5", [](TestWindow& w) { command(w, Quarvel::ID_REVERT); }, "revert"},
    };
    for (const Case& c : cases) {
        auto window = newWindow();
        TestWindow& w = *window;
        openExample(w);
        runLines(w, c.setUp);
        const std::size_t steps = w.history.journal().size();
        c.act(w);
        const std::vector<std::string> journal = w.history.journal();
        const std::string name = c.line == "?" ? "a drag or nudge" : c.line.empty() ? c.setUp : c.line;
        std::string entry;
        if (c.line.empty()) {
            EXPECT_EQ(journal.size(), steps) << name << ": choosing where to act is no step";
        } else {
            ASSERT_EQ(journal.size(), steps + 1) << name << ": one journal entry";
            entry = journal.back();
            const std::size_t last = entry.rfind('\n', entry.size() - 2);
            const std::string journaled = entry.substr(last + 1, entry.size() - last - 2);
            if (c.line == "?")
                EXPECT_EQ(journaled.rfind("control ", 0), 0u) << journaled;
            else
                EXPECT_EQ(journaled, c.line) << name;
        }
        // The same set-up and journal entry (the line where it acts) headless,
        // then where the window left the current section and surface.
        quarvel::WingModel wing = *quarvel::readCpInput((dir / "wing.cpi").string(), nullptr, nullptr);
        quarvel::ScriptState state;
        const int k = w.wing.curSection - 1;
        const std::string where = "section " + std::to_string(w.wing.KTE1 + k) + "\nsurface " +
                                  (quarvel::activeSurfaceOf(w.wing, k) == 1 ? "lower" : "upper");
        ASSERT_EQ(applyLines(wing, state, std::string(c.setUp) + "\n" + entry + where), "")
            << name;
        for (int s = 0; s < wing.nsec; ++s)
            EXPECT_TRUE(quarvel::captureSection(w.wing, s).sameEdit(quarvel::captureSection(wing, s)))
                << name << ": section index " << s;
        EXPECT_EQ(w.wing.MACH, wing.MACH) << name;
        ASSERT_TRUE(quarvel::saveCpOutput(wing, (dir / "script.cpd").string(), nullptr));
        command(w, Quarvel::ID_SAVE);
        EXPECT_TRUE(readFile((dir / "wing.cpd").string()) == readFile((dir / "script.cpd").string()))
            << name << ": the saved files";
        fs::remove(dir / "wing.cpd");  // the next case opens the wing with no saved work beside it
    }
}

TEST_F(ScriptTest, ASessionsJournalReplaysHeadlessToTheSameFile) {
    openExample();
    TestWindow& w = *window;
    // wing12 numbers its sections from 2; the window counts them from 1.
    w.chooseSection(1);
    check(w.splineCheck[0], w, Quarvel::ID_SPLINE);
    drag(w, 1, 0.02, -0.1);
    check(w.shapeCheck[0], w, Quarvel::ID_SHAPE);
    drag(w, 2, -0.03, 0.05);
    key(&w, KEY_Down);
    w.applyToSections(2, 5, quarvel::Blend{1.0, true});
    w.chooseSection(5);
    command(w, Quarvel::ID_LOWER);
    command(w, Quarvel::ID_SMOOTH);
    command(w, Quarvel::ID_LO_GEOM);
    command(w, Quarvel::ID_UNDO);  // left out of the journal
    w.chooseSection(3);
    command(w, Quarvel::ID_UP_CPCORR);
    command(w, Quarvel::ID_UP_EDITION);
    command(w, Quarvel::ID_SAVE);
    const std::string journal = (dir / "wing.qvs").string();
    ASSERT_TRUE(fs::exists(journal)) << "the journal beside the save";
    const std::string text = readFile(journal);
    EXPECT_EQ(text.find("regime geometry"), std::string::npos) << "the undone operation:\n" << text;
    for (const char* line : {"spline on", "shape on", "apply 2 5 fade", "smooth 10", "regime edition"})
        EXPECT_NE(text.find(std::string("\n") + line + "\n"), std::string::npos) << line << " in\n" << text;
    const std::size_t drag = text.find("\ncontrol 2 ");
    ASSERT_NE(drag, std::string::npos) << "the drag:\n" << text;
    EXPECT_NE(text.find("\ncontrol 2 ", drag + 1), std::string::npos) << "the nudge after the drag:\n" << text;
    const std::string out = (dir / "replayed.cpd").string();
    const auto [status, stdOut, stdErr] = runCli({"--convert", (dir / "wing.cpi").string(), "--script", journal, "-o", out});
    ASSERT_EQ(status, 0) << stdErr;
    EXPECT_EQ(readFile(out), readFile((dir / "wing.cpd").string())) << text;

    // File > "Run script..." applies it to a fresh window: the same file again.
    auto again = newWindow();
    openExample(*again);
    ASSERT_EQ(questions.size(), 1u) << "the newer saved work is offered (and declined)";
    questions.clear();
    EXPECT_TRUE(again->runScriptFile(journal.c_str()));
    again->saveWingAs((dir / "again.cpd").string().c_str());
    EXPECT_EQ(readFile((dir / "again.cpd").string()), readFile((dir / "wing.cpd").string()));
}
