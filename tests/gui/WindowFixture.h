// A main window on a real display with a scratch directory of its own, and
// the messages its widgets and the mouse send.
#pragma once

#include <fx.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "../core/TestSupport.h"
#include "draw/FoxText.h"
#include "tests/gui/TestWindow.h"

namespace quarvel::test {

inline long command(TestWindow& w, FXint id, FXObject* sender = nullptr) {
    return w.handle(sender ? sender : &w, FXSEL(SEL_COMMAND, id), nullptr);
}

inline long mouse(TestWindow& w, FXSelType type, double px, double py, FXint code = 0) {
    FXEvent ev{};
    ev.win_x = FXint(px);
    ev.win_y = FXint(py);
    ev.code = code;
    return w.handle(w.canvas, FXSEL(type, Quarvel::ID_CANVAS), &ev);
}

inline void key(FXWindow* to, FXuint code, FXuint state = 0) {
    FXEvent ev{};
    ev.code = code;
    ev.state = state;
    to->handle(to, FXSEL(SEL_KEYPRESS, 0), &ev);
}

// Error messages are collected in errors, and the questions the window asks
// in questions (answered with answers, in turn, then with "No"); a test
// that expects some clears them, any left at the end fail it.
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        scratch = std::make_unique<TempDir>();
        dir = scratch->path();
        window = newWindow().release();
    }
    void TearDown() override {
        delete window;
        scratch.reset();
        EXPECT_TRUE(errors.empty()) << errors.front();
        EXPECT_TRUE(questions.empty()) << questions.front();
    }

    std::unique_ptr<TestWindow> newWindow() {
        auto w = std::make_unique<TestWindow>(FXApp::instance());
        w->create();
        w->errorHook = [this](const FXString&, const FXString& text) { errors.push_back(stdText(text)); };
        w->askHook = [this](const FXString& question) {
            questions.push_back(stdText(question));
            if (answers.empty()) return FXuint(MBOX_CLICKED_NO);
            const FXuint answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        };
        return w;
    }
    // The example copied to dir/wing.cpi (once) and read into w.
    void openExample(TestWindow& w, const char* name = "wing12.cpi") {
        const std::filesystem::path input = dir / "wing.cpi";
        if (!std::filesystem::exists(input)) std::filesystem::copy_file(std::filesystem::path(QUARVEL_EXAMPLES) / name, input);
        ASSERT_TRUE(w.openFile(input.c_str()));
    }
    void openExample(const char* name = "wing12.cpi") { openExample(*window, name); }

    std::unique_ptr<TempDir> scratch;
    std::filesystem::path dir;
    TestWindow* window = nullptr;
    std::vector<std::string> errors;
    std::vector<std::string> questions;
    std::vector<FXuint> answers;
};

}  // namespace quarvel::test
