// The main window on a real display: its state before and after a wing is
// read, the message map, and the open and save commands.
#include <fx.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/FoxText.h"
#include "app/Quarvel.h"

namespace fs = std::filesystem;

namespace {

FXApp* theApp = nullptr;

// The identifiers keep the numbering the rest of the program quotes: checked
// at the gaps and at the ends of the ranges that one map row serves.
static_assert(int(Quarvel::ID_CANVAS) == int(FXMainWindow::ID_LAST));
static_assert(Quarvel::ID_OPEN == Quarvel::ID_CANVAS + 4);
static_assert(Quarvel::ID_UPPER == Quarvel::ID_CANVAS + 8);
static_assert(Quarvel::ID_U1 == Quarvel::ID_CANVAS + 14);
static_assert(Quarvel::ID_UP_EDITION == Quarvel::ID_CANVAS + 21);
static_assert(Quarvel::ID_UP_NOCORR == Quarvel::ID_CANVAS + 25);
static_assert(Quarvel::ID_LO_NOCORR == Quarvel::ID_CANVAS + 30);
static_assert(Quarvel::ID_SEC_NO == Quarvel::ID_CANVAS + 36);

// The example wing: a head of 5 lines, then 12 sections of 9 + 60 lines.
const std::string& exampleWing() {
    static const std::string text = [] {
        std::ifstream in(fs::path(QUARVEL_EXAMPLES) / "wing12.cpi", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return text;
}

std::string firstLines(const std::string& text, int n) {
    std::size_t end = 0;
    for (int i = 0; i < n; ++i) end = text.find('\n', end) + 1;
    return text.substr(0, end);
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(exampleWing().empty()) << "examples/wing12.cpi is missing";
        char pattern[] = "/tmp/quarvel-window-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        window = new Quarvel(theApp);
        window->create();
        window->errorHook = [this](const FXString&, const FXString& text) {
            errors.push_back(quarvel::stdText(text));
        };
    }

    void TearDown() override {
        delete window;
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }

    fs::path writeWing(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    bool open(const fs::path& path) { return window->openFile(path.c_str()); }

    void save() { window->handle(window, FXSEL(SEL_COMMAND, Quarvel::ID_SAVE), nullptr); }

    void expectEmptyWindow(const std::string& situation) {
        Quarvel& w = *window;
        EXPECT_EQ(w.fileLoaded, 0) << situation;
        EXPECT_TRUE(w.openCommand->isEnabled()) << situation;
        std::vector<FXWindow*> controls = {
            w.shownCYDField, w.shownEPDField, w.mousePlotXField, w.currentPointXField, w.currentPointCpField,
            w.shownCNField, w.shownEPField, w.mousePlotCpField, w.pointSpinner, w.cpdSpinner, w.nsplSpinner,
            w.secYesRadio, w.secNoRadio, w.view3DButton,
        };
        for (int s = 0; s < 2; ++s) {
            controls.insert(controls.end(), {
                w.surfaceRadio[s], w.noCorrectionRadio[s], w.cpCorrectionRadio[s], w.cpEditionRadio[s],
                w.cpInterpolationRadio[s], w.geomInterpolationRadio[s], w.thicknessRadio[s],
                w.maxThicknessRadio[s], w.splineCheck[s], w.intervalStartSpinner[s], w.intervalEndSpinner[s],
            });
        }
        for (std::size_t i = 0; i < controls.size(); ++i) {
            EXPECT_FALSE(controls[i]->isEnabled()) << "control " << i << " is enabled " << situation;
        }
    }

    fs::path dir;
    Quarvel* window = nullptr;
    std::vector<std::string> errors;
};

TEST_F(WindowTest, StartsEmptyWithOnlyMenuAndCanvasEnabled) {
    EXPECT_STREQ(window->getTitle().text(), "Cp editor");
    expectEmptyWindow("before any file was read");
    for (FXWindow* item = window->fileMenu->getFirst(); item; item = item->getNext()) {
        EXPECT_TRUE(item->isEnabled()) << static_cast<FXMenuCommand*>(item)->getText().text();
    }
    EXPECT_TRUE(window->canvas->isEnabled());
}

TEST_F(WindowTest, MessagesReachHandlersThroughTheMap) {
    for (int gap : {Quarvel::ID_3DVIEW + 1, Quarvel::ID_SAVE + 1, Quarvel::ID_SPLINE + 1}) {
        EXPECT_EQ(window->handle(window, FXSEL(SEL_COMMAND, gap), nullptr), 0) << "unused identifier " << gap;
    }
    FXEvent expose{};
    expose.rect = FXRectangle(0, 0, 40, 30);
    EXPECT_EQ(window->handle(window->canvas, FXSEL(SEL_PAINT, Quarvel::ID_CANVAS), &expose), 1);

    // A file written proves that the message got to the save command.
    ASSERT_TRUE(open(writeWing(dir / "wing.cpi", exampleWing())));
    EXPECT_EQ(window->handle(window, FXSEL(SEL_COMMAND, Quarvel::ID_SAVE), nullptr), 1);
    EXPECT_TRUE(fs::exists(dir / "wing.cpd"));
}

TEST_F(WindowTest, OpeningAWingEnablesEditing) {
    ASSERT_TRUE(open(writeWing(dir / "wing.cpi", exampleWing())));
    EXPECT_TRUE(errors.empty());

    Quarvel& w = *window;
    EXPECT_EQ(w.fileLoaded, 1);
    EXPECT_EQ(w.wing.nsec, 12);
    EXPECT_EQ(w.wing.curSection, 1);
    EXPECT_FALSE(w.openCommand->isEnabled()) << "a run reads one wing";
    EXPECT_TRUE(w.view3DButton->isEnabled());
    EXPECT_TRUE(w.secYesRadio->isEnabled() && w.secNoRadio->isEnabled());
    EXPECT_TRUE(w.secYesRadio->getCheck()) << "a section read from a file is corrected";
    EXPECT_FALSE(w.secNoRadio->getCheck());
    EXPECT_TRUE(w.surfaceRadio[0]->isEnabled() && w.surfaceRadio[1]->isEnabled());
    EXPECT_TRUE(w.surfaceRadio[0]->getCheck()) << "the upper surface is edited first";
    EXPECT_FALSE(w.surfaceRadio[1]->getCheck());
}

TEST_F(WindowTest, BadFilesAreReportedAndLeaveTheWindowEmpty) {
    const std::string& full = exampleWing();
    const std::vector<std::pair<std::string, fs::path>> cases = {
        {"missing file", dir / "absent.cpi"},
        {"empty file", writeWing(dir / "empty.cpi", "")},
        {"head only", writeWing(dir / "head.cpi", firstLines(full, 5))},
        {"last point row missing", writeWing(dir / "cut.cpi", firstLines(full, 5 + 12 * (9 + 60) - 1))},
    };
    for (const auto& [situation, path] : cases) {
        errors.clear();
        EXPECT_FALSE(open(path)) << situation;
        ASSERT_EQ(errors.size(), 1u) << situation;
        EXPECT_NE(errors[0].find(path.string()), std::string::npos)
            << situation << ": the message does not name the file: " << errors[0];
        expectEmptyWindow("after the " + situation);
    }

    errors.clear();
    EXPECT_TRUE(open(writeWing(dir / "good.cpi", full))) << "a good file after bad ones";
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(window->fileLoaded, 1);
}

TEST_F(WindowTest, SaveWritesBesideTheInputOnlyOnceAWingIsRead) {
    save();
    EXPECT_TRUE(fs::is_empty(dir)) << "nothing to write before a wing is read";

    ASSERT_TRUE(open(writeWing(dir / "wing.cpi", exampleWing())));
    save();
    EXPECT_TRUE(errors.empty());
    std::ifstream output(dir / "wing.cpd");
    std::string title;
    ASSERT_TRUE(std::getline(output, title)) << "no wing.cpd beside wing.cpi";
    EXPECT_EQ(title.substr(0, 20), firstLines(exampleWing(), 1).substr(0, 20));
}

TEST_F(WindowTest, SaveIntoAVanishedDirectoryIsReported) {
    const fs::path sub = dir / "gone";
    fs::create_directory(sub);
    ASSERT_TRUE(open(writeWing(sub / "wing.cpi", exampleWing())));
    fs::remove_all(sub);

    save();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find((sub / "wing.cpd").string()), std::string::npos) << errors[0];
    EXPECT_FALSE(fs::exists(sub));
}

}  // namespace

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    FXApp app("Quarvel", "FOX Quarvel");
    app.init(argc, argv);
    app.create();
    theApp = &app;
    return RUN_ALL_TESTS();
}
