// The design script's text: every line reads back as the operation it was
// written from, a line that cannot be read says why, and the command line
// applies a script or refuses it whole.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "correction/DesignScript.h"

using namespace quarvel;

TEST(DesignScript, EveryLineReadsBackAsWritten) {
    struct Case {
        const char* line;
        const char* written;  // as the operation writes itself
    };
    const Case cases[] = {
        {"section 3", "section 3"},
        {"surface lower", "surface lower"},
        {"regime edition 72 104", "regime edition 72 104"},
        {"regime max-thickness", "regime max-thickness"},
        {"interval 70 100", "interval 70 100"},
        {"correction no", "correction no"},
        {"point 88 -0.625", "point 88 -0.625"},
        {"spline on", "spline on"},
        {"nspl 7", "nspl 7"},
        {"control 2 -0.1 0.35", "control 2 -0.1 0.35"},
        {"control 3 0.050909090909090904", "control 3 0.050909090909090904"},
        {"shape off", "shape off"},
        {"smooth", "smooth 10"},
        {"smooth 25 through-shocks shock-slope 4 shock-jump 0.2", "smooth 25 through-shocks shock-slope 4 shock-jump 0.2"},
        {"smooth-span 2 6 no-follow", "smooth-span 2 6 10 no-follow"},
        {"apply 2 7 weight 0.5 fade follow-shock", "apply 2 7 fade weight 0.5"},
        {"apply 2 4 no-follow", "apply 2 4 no-follow"},
        {"keep-lift on", "keep-lift on"},
        {"target old wing.cpd", "target old wing.cpd"},
        {"weaken-shock 1.15", "weaken-shock 1.15 0.1"},
        {"weaken-shock 1.2 0.15", "weaken-shock 1.2 0.15"},
        {"import old runs/cycle 3.cpd", "import old runs/cycle 3.cpd"},
        {"mach +0.8125", "mach 0.8125"},
        {"alpha -1.5", "alpha -1.5"},
        {"revert", "revert"},
        {"\t  spline   on  # the comment goes", "spline on"},
        {"import a#b.cpd # a comment after a space", "import a#b.cpd"},
    };
    for (const Case& c : cases) {
        const ParsedLine parsed = parseScriptLine(c.line);
        ASSERT_TRUE(parsed.op.has_value()) << c.line << ": " << parsed.fault;
        EXPECT_EQ(scriptLine(*parsed.op), c.written) << c.line;
        EXPECT_EQ(scriptLine(*parseScriptLine(c.written).op), c.written) << c.line << ": written reads back";
    }
    for (const char* nothing : {"", "   ", "# a comment", "  # indented"}) {
        const ParsedLine parsed = parseScriptLine(nothing);
        EXPECT_FALSE(parsed.op.has_value()) << '"' << nothing << '"';
        EXPECT_EQ(parsed.fault, "") << '"' << nothing << '"';
    }
}

TEST(DesignScript, ALineThatCannotBeReadSaysWhy) {
    struct Case {
        const char* line;
        const char* fault;
    };
    const Case cases[] = {
        {"frobnicate 1", "unknown operation frobnicate"},
        {"section x", "section: not a whole number: x"},
        {"section 3 4", "section: too many values"},
        {"surface middle", "surface: expected upper or lower, not middle"},
        {"regime edition 72", "regime: expected a regime and, for edition or interpolation, an interval FROM TO"},
        {"regime geometry 1 2", "regime: an interval goes with edition and interpolation only"},
        {"regime laminar", "regime: unknown regime laminar"},
        {"nspl", "nspl: too few values"},
        {"control 2 1,5", "control: not a number: 1,5"},
        {"control 2 nan", "control: not a number: nan"},
        {"smooth 0", "smooth: passes must lie in 1..200"},
        {"smooth 10 gently", "smooth: unexpected gently"},
        {"apply 2 7 weight 2", "apply: the weight must lie in 0..1"},
        {"apply 2", "apply: expected FIRST LAST"},
        {"weaken-shock 0.9", "weaken-shock: M1 must be 1 or more"},
        {"keep-lift maybe", "keep-lift: expected on or off, not maybe"},
        {"shape maybe", "shape: expected on or off, not maybe"},
        {"import", "import needs the path of a CpOutput file"},
    };
    for (const Case& c : cases) {
        const ParsedLine parsed = parseScriptLine(c.line);
        EXPECT_FALSE(parsed.op.has_value()) << c.line;
        EXPECT_EQ(parsed.fault, c.fault) << c.line;
    }
}

TEST(DesignScript, TheJournalSaysWhereOnlyWhenItChanges) {
    const std::vector<std::string> entries = {"section 2\nsurface upper\nspline on\n",
                                              "section 2\nsurface upper\nnspl 7\n",
                                              "section 2\nsurface lower\nsmooth 10\n",
                                              "section 5\nsurface lower\nrevert\n"};
    EXPECT_EQ(journalText(entries, "w.cpi"),
              "# Quarvel design script: the operations on w.cpi since it was opened\n"
              "section 2\nsurface upper\nspline on\nnspl 7\nsurface lower\nsmooth 10\n"
              "section 5\nsurface lower\nrevert\n");
    EXPECT_EQ(journalPathFor("/a/b.c/wing.cpd"), "/a/b.c/wing.qvs");
    EXPECT_EQ(journalPathFor("/a/b.c/wing"), "/a/b.c/wing.qvs");
}

// --convert --script: the script after the open, a fault named by its line
// and nothing written then.
TEST(DesignScript, TheCommandLineAppliesAScriptOrWritesNothing) {
    test::TempDir dir;
    const std::string wing = std::string(QUARVEL_EXAMPLES) + "/wing12.cpi", out = dir.path() + "/out.cpd";
    const std::string old = dir.path() + "/sub/old.cpd", script = dir.path() + "/sub/s.qvs";
    std::filesystem::create_directories(dir.path() + "/sub");
    test::writeFile(dir.path() + "/sub/make-old.qvs", "section 2\npoint 80 -0.9\n");
    ASSERT_EQ(std::get<0>(test::runCli({"--convert", wing, "--script", dir.path() + "/sub/make-old.qvs", "-o", old})), 0);
    struct Case {
        const char* script;
        int status;
        const char* err;  // after "SCRIPT:"
    };
    const Case cases[] = {
        {"# the set-up of the last cycle, found beside the script\nimport old.cpd\n", 0, ""},
        {"section 2\n\nspline on\nnspl 2\n", 1, "4: nspl must lie in 3..21\n"},
        {"section 14\n", 1, "1: section 14 is not in the wing (2..13)\n"},
        {"section 3\nsurface upper\npoint 80 -1\n", 1, "3: the upper surface of section 3 is not in Cp edition\n"},
        {"section 2\npoint 71 -1\n", 1, "2: point 71 lies outside the interval 72..104\n"},
        {"section 2\ncontrol 1 0.1\n", 1, "2: the upper surface of section 2 is not in spline editing\n"},
        {"section 2\nspline on\ncontrol 3 0.1\n", 1, "3: control point 3 is not one that moves (1..2)\n"},
        {"section 2\nshape on\n", 1, "2: the upper surface of section 2 is not in spline editing\n"},
        {"apply 1 5\n", 1, "1: sections 1..5 reach beyond the wing's 2..13\n"},
        {"mach 0\n", 1, "1: Mach = 0 is not above 0; not set.\n"},
        {"import missing.cpd\n", 1, ""},
        {"spline on\nsmooth 10 softly\n", 1, "2: smooth: unexpected softly\n"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(out);
        test::writeFile(script, c.script);
        const auto [status, stdOut, stdErr] = test::runCli({"--convert", wing, "--script", script, "-o", out});
        EXPECT_EQ(status, c.status) << c.script << stdErr;
        EXPECT_EQ(std::filesystem::exists(out), c.status == 0) << c.script;
        if (c.status == 0) continue;
        EXPECT_EQ(stdErr.rfind(script + ":", 0), 0u) << c.script << stdErr;
        if (*c.err) {
            EXPECT_EQ(stdErr, script + ":" + c.err) << c.script;
        }
    }
    EXPECT_EQ(test::readFile(out), "") << "the last, refused, wrote nothing";
    const auto [status, stdOut, stdErr] = test::runCli({"--check", wing, "--script", script});
    EXPECT_EQ(status, 2) << "--script goes with --convert only";
}
