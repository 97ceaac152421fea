// Which argument lists start the command line instead of the editor, decided
// before any display is opened: a wrong answer opens a window in a script or
// gives a user a usage message.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/CommandLine.h"

TEST(CommandLine, ArgumentsThatStartItInsteadOfTheEditor) {
    struct Case { std::vector<std::string> args; bool commandLine; } cases[] = {
        {{}, false}, {{"wing.cpi"}, false}, {{"-"}, false},  // a file named "-"
        {{"-display", ":1", "wing.cpi"}, false}, {{"-display", "--check"}, false},  // the toolkit's, with a value
        {{"-sync", "-noshm", "-shm", "wing.cpi"}, false}, {{"-tracelevel", "3", "-maxcolors", "64"}, false},
        {{"--check", "wing.cpi"}, true}, {{"wing.cpi", "--convert", "x"}, true}, {{"--help"}, true}, {{"-V"}, true},
        {{"-o", "out.cpd"}, true}, {{"--frobnicate"}, true}, {{"-sync", "--version"}, true},
        {{"a.cpi", "b.cpi"}, true}, {{"-display", ":1", "a.cpi", "b.cpi"}, true},  // the editor opens one wing
    };
    for (auto& c : cases) {
        std::vector<char*> argv{const_cast<char*>("quarvel")};
        std::string shown;
        for (std::string& a : c.args) argv.push_back(a.data()), shown += " " + a;
        argv.push_back(nullptr);
        EXPECT_EQ(quarvel::wantsCommandLine(int(argv.size()) - 1, argv.data()), c.commandLine) << "quarvel" << shown;
    }
}
