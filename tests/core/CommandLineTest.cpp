// Which argument lists start the command line instead of the editor: the
// decision is made before any display is opened, so a wrong one either
// opens a window in a script or gives a user a usage message.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/CommandLine.h"

TEST(CommandLine, ArgumentsThatStartItInsteadOfTheEditor) {
    struct Case { std::vector<std::string> args; bool commandLine; } cases[] = {
        {{}, false},                                       // the empty editor
        {{"wing.cpi"}, false},                             // the editor on a wing
        {{"-"}, false},                                    // a file named "-"
        {{"-display", ":1", "wing.cpi"}, false},           // the toolkit's options with their values
        {{"-display", "--check"}, false},                  // ... even one that looks like ours
        {{"-sync", "-noshm", "-shm", "wing.cpi"}, false},  // ... and those without a value
        {{"-tracelevel", "3", "-maxcolors", "64"}, false},
        {{"--check", "wing.cpi"}, true},
        {{"wing.cpi", "--convert", "x"}, true},  // an option of ours anywhere
        {{"--help"}, true},
        {{"-V"}, true},
        {{"-o", "out.cpd"}, true},
        {{"--frobnicate"}, true},  // unknown: the command line says so
        {{"-sync", "--version"}, true},
        {{"a.cpi", "b.cpi"}, true},  // the editor opens one wing
        {{"-display", ":1", "a.cpi", "b.cpi"}, true},
    };
    for (auto& c : cases) {
        std::vector<char*> argv{const_cast<char*>("quarvel")};
        std::string shown;
        for (std::string& a : c.args) argv.push_back(a.data()), shown += " " + a;
        argv.push_back(nullptr);
        EXPECT_EQ(quarvel::wantsCommandLine(int(argv.size()) - 1, argv.data()), c.commandLine) << "quarvel" << shown;
    }
}
