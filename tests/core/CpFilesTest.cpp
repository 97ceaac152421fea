// Reading CpInput files, writing CpOutput files, and the round trip between
// them. The expected CpOutput files in the test data were worked out by hand
// from the column tables, not produced by the writer.

#include <array>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "wing/CpFiles.h"

using namespace quarvel;
using quarvel::test::dataPath;
using quarvel::test::readFile;
using quarvel::test::runCli;
using quarvel::test::TempDir;
using quarvel::test::writeFile;

namespace {

WingModel load(const std::string& path) {
    FileError err;
    auto wing = readCpInput(path, &err);
    EXPECT_TRUE(wing) << err.message();
    return wing ? std::move(*wing) : WingModel{};
}

}  // namespace

// What opening and saving at once writes, here through "--convert".
TEST(CpOutput, MatchesTheHandWorkedFilesByteForByte) {
    for (const std::string name : {"small-odd", "small-even"}) {
        TempDir dir;
        writeFile(dir.file("wing.cpi"), readFile(dataPath(name + ".cpi")));
        EXPECT_EQ(std::get<0>(runCli({"--convert", dir.file("wing.cpi")})), 0) << name;
        EXPECT_EQ(readFile(dir.file("wing.cpd")), readFile(dataPath(name + ".cpd"))) << name;
    }
}

// A saved file reopens as the wing that was saved, and saves to the same
// bytes: open + save is a fixed point from the first save on.
TEST(CpOutput, OpenAndSaveIsAFixedPointOnEveryWing) {
    std::vector<std::string> inputs = {dataPath("small-odd.cpi"), dataPath("small-even.cpi")};
    for (const auto& e : std::filesystem::directory_iterator(QUARVEL_EXAMPLES))
        if (e.path().extension() == ".cpi") inputs.push_back(e.path().string());
    for (const std::string& input : inputs) {
        TempDir dir;
        WingModel in = load(input);
        FileError err;
        ASSERT_TRUE(saveCpOutput(in, dir.file("a.cpd"), &err)) << err.message();
        WingModel back = load(dir.file("a.cpd"));
        ASSERT_TRUE(saveCpOutput(back, dir.file("b.cpd"), &err)) << err.message();
        EXPECT_EQ(readFile(dir.file("a.cpd")), readFile(dir.file("b.cpd"))) << input;

        // Written with four decimals, MACH and ALPHA come back as written.
        EXPECT_NEAR(back.MACH, in.MACH, 0.5e-4) << input;
        EXPECT_NEAR(back.ALPHA, in.ALPHA, 0.5e-4) << input;
        for (int k = 0; k < in.nsec; ++k) {
            EXPECT_EQ(back.surfMode[k], in.surfMode[k]) << input << ", section " << k;
            EXPECT_EQ((std::array<int, 4>{back.u1[k], back.u2[k], back.l1[k], back.l2[k]}),
                      (std::array<int, 4>{in.u1[k], in.u2[k], in.l1[k], in.l2[k]}))
                << input << ", section " << k;
            for (int i = 0; i < 2 * in.nhalf; ++i) ASSERT_NEAR(back.cpDes[i][k], in.cpDes[i][k], 0.5e-4) << i;
        }
    }
}

// What a written file does not show: the limits, the default intervals and
// points, and the modes the codes and the design Cp give.
TEST(CpInput, DerivesIntervalsModesAndDesignCp) {
    const WingModel w = load(dataPath("small-even.cpi"));
    EXPECT_EQ((std::array<int, 5>{w.ioff, w.u1Min, w.u2Max, w.l1Min, w.l2Max}), (std::array<int, 5>{2, 11, 13, 4, 6}));
    // Interval 0 in the file means the default limit, not point ioff.
    EXPECT_EQ((std::array<int, 6>{w.u1[0], w.u2[0], w.upperPoint[0], w.l1[0], w.l2[0], w.lowerPoint[0]}),
              (std::array<int, 6>{11, 13, 12, 4, 6, 5}));
    EXPECT_EQ(w.surfMode[0], (SurfacePair{MODE_THICKNESS, MODE_CP_EDITION}));
    EXPECT_EQ(w.surfMode[1], (SurfacePair{MODE_NONE, MODE_CP_INTERP})) << "code 1, zero design Cp throughout";
    // Lower "Cp edition" over file points 6 .. 8 (indices 3 .. 5): the design
    // Cp of exactly those points comes from the file, the rest is the initial
    // Cp, and so is all of a "Cp interpolation" surface.
    for (const auto& [i, cp] : std::initializer_list<std::pair<int, double>>{
             {2, w.cpInit[2][0]}, {3, 0.04}, {4, 0.06}, {5, 0.09}, {6, w.cpInit[6][0]}, {12, w.cpInit[12][0]}})
        EXPECT_DOUBLE_EQ(w.cpDes[i][0], cp) << "index " << i;
    for (int i = 0; i < w.nhalf; ++i) EXPECT_EQ(w.cpDes[i][1], w.cpInit[i][1]) << "index " << i;
    EXPECT_TRUE(designCpAsRead(w, 0)) << "section index 0";
    EXPECT_TRUE(designCpAsRead(w, 1)) << "section index 1";
    EXPECT_EQ(cydToWrite(w, 0), w.CYD[0]) << "the file's CYD while the design Cp is as read";

    // The odd wing leaves its last contour index unfilled and zero.
    const WingModel odd = load(dataPath("small-odd.cpi"));
    EXPECT_EQ(odd.title, "Small odd wing") << "surrounding blanks are not part of the title";
    for (int k = 0; k < odd.nsec; ++k) EXPECT_EQ(odd.cpInit[12][k], 0.0);
    EXPECT_EQ(odd.X[12][0], 0.0);
}

namespace {

// The bytes with one field of one line replaced (columns 1-based), the new
// text right-justified in the field.
std::string withField(std::string bytes, int line, int first, int last, const std::string& text) {
    std::size_t pos = 0;
    for (int i = 1; i < line; ++i) pos = bytes.find('\n', pos) + 1;
    const std::size_t end = bytes.find('\n', pos);
    std::string l = bytes.substr(pos, end - pos);
    const std::size_t width = std::size_t(last - first + 1);
    l.resize(std::max(l.size(), std::size_t(last)), ' ');
    l.replace(std::size_t(first - 1), width, std::string(width - std::min(text.size(), width), ' ') + text);
    return bytes.substr(0, pos) + l + bytes.substr(end);
}

std::string evenWingWith(int line, int first, int last, const std::string& text) {
    return withField(readFile(dataPath("small-even.cpi")), line, first, last, text);
}

WingModel parse(const std::string& bytes) {
    FileError err;
    auto w = parseCpInput(bytes, "wing.cpi", &err);
    EXPECT_TRUE(w) << err.message();
    return w ? std::move(*w) : WingModel{};
}

}  // namespace

// Hand-made wings as real files come: open + save writes every number as
// read, a saved file saves to the same bytes, and a field that is not a plain
// number is named in a warning that --strict makes a fault.
TEST(CpFiles, HandMadeWingsSaveEveryNumberAsRead) {
    const std::string even = readFile(dataPath("small-even.cpi"));
    auto line = [](std::string bytes, int number, const std::string& text) {  // the whole line replaced
        std::size_t pos = 0;
        for (int i = 1; i < number; ++i) pos = bytes.find('\n', pos) + 1;
        return bytes.replace(pos, bytes.find('\n', pos) - pos, text);
    };
    // Section 0: interval line 13, rows 15 .. 22; section 1: rows 32 .. 39. Upper points are file 11 .. 18, lower
    // 3 .. 10; the lower "Cp edition" of section 0 has design Cp at file points 6, 7 and 8.
    struct Case { const char* name; std::string bytes; const char* warning; } cases[] = {
        {"own X per block", withField(withField(even, 32, 1, 10, "0.0100"), 35, 1, 10, "0.3000"), ""},
        {"intervals at both ends of both surfaces",
         withField(withField(withField(withField(even, 13, 19, 28, "11"), 13, 29, 38, "18"), 13, 49, 58, "3"), 13,
                   59, 68, "10"),
         ""},
        {"one-point interval", withField(withField(even, 13, 49, 58, "7"), 13, 59, 68, "7"), ""},
        {"reversed interval", withField(withField(even, 13, 49, 58, "8"), 13, 59, 68, "6"), ""},
        {"D exponents", withField(withField(even, 7, 37, 47, "1.5D+00"), 17, 58, 67, "9.0d-2"), ""},
        {"text after numbers", withField(withField(even, 7, 56, 66, "0.6,5"), 16, 19, 28, "1.2.3"),
         "CN: \"0.6,5\" has text after its number, read as 0.6"},
        {"label lines of the other file type",
         line(line(even, 2, std::string(kCpOutputMachLabels)), 4, std::string(kCpOutputHeadLabels)), ""},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeFile(dir.file("wing.cpi"), c.bytes);
        const WingModel in = load(dir.file("wing.cpi"));
        const auto [status, out, err] = runCli({"--convert", dir.file("wing.cpi")});
        EXPECT_EQ(status, 0) << c.name;
        EXPECT_EQ(err.find(c.warning) != std::string::npos && err.empty() == (*c.warning == 0), true)
            << c.name << ": " << err;
        EXPECT_EQ(std::get<0>(runCli({"--strict", "--check", dir.file("wing.cpi")})), *c.warning ? 1 : 0) << c.name;
        const WingModel back = load(dir.file("wing.cpd"));
        EXPECT_EQ(back.ALPHA, -1.25) << c.name;
        for (int k = 0; k < in.nsec; ++k) {
            EXPECT_EQ((std::array<int, 6>{back.RU[k], back.RL[k], back.IU1[k], back.IU2[k], back.IL1[k], back.IL2[k]}),
                      (std::array<int, 6>{in.RU[k], in.RL[k], in.IU1[k], in.IU2[k], in.IL1[k], in.IL2[k]}))
                << c.name << ", section " << k;
            for (const auto& [grid, name] : {std::pair{&WingModel::X, "X"}, std::pair{&WingModel::cpInit, "Cp"},
                                              std::pair{&WingModel::cpdIn, "design Cp"}})
                for (int i = 0; i < 2 * in.nhalf; ++i)
                    EXPECT_EQ((back.*grid)[i][k], (in.*grid)[i][k]) << c.name << ": " << name << " " << i << ", " << k;
        }
        ASSERT_EQ(std::get<0>(runCli({"--convert", dir.file("wing.cpd"), "-o", dir.file("again.cpd")})), 0);
        EXPECT_EQ(readFile(dir.file("again.cpd")), readFile(dir.file("wing.cpd"))) << c.name;
    }
    // The values themselves: a D exponent is an E, a number before text is taken, each block keeps its X.
    const WingModel d = parse(cases[4].bytes), text = parse(cases[5].bytes), x = parse(cases[0].bytes);
    EXPECT_EQ(d.Z[0], 1.5);
    EXPECT_EQ(d.cpdIn[5][0], 0.09);
    EXPECT_EQ(text.CN[0], 0.6);
    EXPECT_EQ(x.X[11][1], 0.3);
    EXPECT_EQ(x.X[11][0], 0.25);
    EXPECT_EQ(parse(cases[6].bytes).ALPHA, -1.25) << "a CpInput with CpOutput labels";
}

TEST(CpInput, IntervalsBeyondTheSurfaceAndOddCodesAreMadeSafe) {
    // Section 0's interval line is line 13, its code line 11; the upper surface is points 9 .. 16 (file 11 .. 18),
    // the lower 1 .. 8, the default ends 11, 13 and 4, 6. Only what lies beyond a surface is brought onto it.
    const std::string inverted = withField(evenWingWith(13, 19, 28, "15"), 13, 29, 38, "13");
    struct Case { std::string bytes; std::array<int, 6> got; } cases[] = {
        {evenWingWith(13, 19, 28, "500"), {13, 16, 4, 6, MODE_THICKNESS, MODE_CP_EDITION}},  // IU1 beyond the surface
        {evenWingWith(13, 19, 28, "-7"), {9, 13, 4, 6, MODE_THICKNESS, MODE_CP_EDITION}},
        {inverted, {11, 13, 4, 6, MODE_THICKNESS, MODE_CP_EDITION}},  // file 15 .. 13 put in order
        {withField(evenWingWith(13, 49, 58, "1"), 13, 59, 68, "1000"),  // lower file points 1 .. 1000
         {11, 13, 1, 8, MODE_THICKNESS, MODE_CP_EDITION}},
        // Code 1 with equal interval numbers, and an unknown code, mean no correction.
        {evenWingWith(11, 19, 28, "1"), {11, 13, 4, 6, MODE_NONE, MODE_CP_EDITION}},
        {evenWingWith(11, 48, 57, "7"), {11, 13, 4, 6, MODE_THICKNESS, MODE_NONE}},
    };
    for (const auto& c : cases) {
        const WingModel w = parse(c.bytes);
        EXPECT_EQ((std::array<int, 6>{w.u1[0], w.u2[0], w.l1[0], w.l2[0], w.surfMode[0][0], w.surfMode[0][1]}), c.got);
        EXPECT_LE(w.u1[0], w.upperPoint[0]) << "the selected point is inside U1..U2";
        EXPECT_LE(w.upperPoint[0], w.u2[0]) << "the selected point is inside U1..U2";
    }
    // A text that CpOutput cuts only in trailing zeros still reads back whole.
    EXPECT_EQ(parse(evenWingWith(7, 25, 31, "-12.5")).ZREF[0], -12.5);
}

TEST(CpInput, FieldsWithoutANumberReadAsZeroAndAreListedInOneWarning) {
    std::string garbled = withField(withField(evenWingWith(3, 29, 35, "M0.78"), 7, 37, 47, "nan"), 16, 19, 28, "inf");
    garbled = withField(garbled, 16, 29, 38, "0x1p3");
    FileError err;
    FileWarnings warned;
    auto w = parseCpInput(garbled, "wing.cpi", &err, &warned);
    ASSERT_TRUE(w) << err.message();
    EXPECT_EQ((std::array<double, 4>{w->MACH, w->Z[0], w->cpInit[9][0], w->cpdIn[9][0]}), (std::array<double, 4>{}));
    EXPECT_EQ(warned.message(), "wing.cpi: 4 fields are not plain numbers:\n"
                                "line 3, MACH: \"M0.78\" is not a number, read as 0\n"
                                "line 7, Z: \"nan\" is not a number, read as 0\n"
                                "line 16, CPTU: \"inf\" is not a number, read as 0\n"
                                "line 16, CPDU: \"0x1p3\" has text after its number, read as 0");
    // Past 20 fields the rest are only counted.
    std::string many = readFile(dataPath("small-even.cpi"));
    for (int line = 15; line < 23; ++line)
        for (int first : {19, 29, 48, 58}) many = withField(many, line, first, first + 9, "x");
    ASSERT_TRUE(parseCpInput(many, "wing.cpi", &err, &warned));
    EXPECT_EQ(warned.fields.size(), 20u);
    EXPECT_EQ(warned.message().substr(warned.message().size() - 12), "\nand 12 more") << warned.message();
}

// A wing of 20000 point rows and more is read by two threads, the later
// sections by the second: its values, warnings and first fault are those of
// one reader going through the file in order.
TEST(CpInput, ALargeWingReadsAsInFileOrder) {
    const std::string small = readFile(dataPath("small-even.cpi"));
    const int sections = 2600, blockLines = 17;  // 8 point rows of 2600 sections
    std::size_t blockStart = 0, blockEnd = 0;  // the first section's lines, 6 .. 22
    for (int line = 1; line <= 5 + blockLines; ++line) {
        blockEnd = small.find('\n', blockEnd) + 1;
        if (line == 5) blockStart = blockEnd;
    }
    std::string large = withField(small.substr(0, blockStart), 5, 31, 40, std::to_string(sections - 1));
    for (int k = 0; k < sections; ++k) large += small.substr(blockStart, blockEnd - blockStart);
    const int rowOf = 15, last = rowOf + blockLines * (sections - 1) + 7;  // a row of the first and the last section
    const WingModel one = parse(small), two = parse(large);
    ASSERT_EQ(two.nsec, sections);
    int differing = 0;
    for (int k = 0; k < sections; ++k)
        for (int i = 0; i < two.npt; ++i)
            differing += two.cpInit[i][k] != one.cpInit[i][0] || two.X[i][k] != one.X[i][0];
    EXPECT_EQ(differing, 0) << "values that are not the one section's";
    FileError err;
    FileWarnings warned;
    ASSERT_TRUE(parseCpInput(withField(withField(large, last, 48, 57, "y"), rowOf, 19, 28, "x"), "w", &err, &warned));
    EXPECT_EQ(warned.message(), "w: 2 fields are not plain numbers:\nline 15, CPTU: \"x\" is not a number, read as 0\n"
                                "line " + std::to_string(last) + ", CPTL: \"y\" is not a number, read as 0");
    const std::string tooLarge = withField(large, last, 19, 28, "1e308");
    EXPECT_FALSE(parseCpInput(withField(tooLarge, rowOf + 1, 1, 10, "12345.678"), "w", &err));
    EXPECT_EQ(err.line, rowOf + 1) << "the fault of the first section, not the one found first";
    EXPECT_FALSE(parseCpInput(tooLarge, "w", &err));
    EXPECT_EQ(err.line, last) << err.message();
}

TEST(CpInput, LineEndingsAndLongLines) {
    const std::string lf = readFile(dataPath("small-even.cpi"));
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const WingModel a = parse(lf);
    const WingModel b = parse(crlf);
    ASSERT_EQ(a.nsec, b.nsec);
    EXPECT_EQ(b.title, "Small even wing");
    EXPECT_EQ(formatCpOutput(a), formatCpOutput(b));

    // A label line of 300 characters: its tail must not become the next line.
    std::string longLine = lf;
    longLine.insert(longLine.find('\n'), std::string(300, 'x'));
    const WingModel c = parse(longLine);
    EXPECT_DOUBLE_EQ(c.MACH, a.MACH);
    EXPECT_EQ(c.title.size(), std::size_t(kMaxLineLength));
    // A long point row keeps its first 120 columns.
    const std::string row = evenWingWith(15, 70, 200, "12345");
    EXPECT_EQ(formatCpOutput(parse(row)), formatCpOutput(a));
}

TEST(CpInput, BadFilesAreReportedWithFileLineAndReason) {
    const std::string good = readFile(dataPath("small-even.cpi"));
    auto firstLines = [&](int n) {
        std::size_t pos = 0;
        for (int i = 0; i < n; ++i) pos = good.find('\n', pos) + 1;
        return good.substr(0, pos);
    };
    struct Case { const char* name; std::string bytes; int line; const char* says; } cases[] = {
        {"empty file", "", 0, "empty"},
        {"short head", firstLines(3), 3, "head"},
        {"block cut short", firstLines(20), 20, "section 0 is cut short"},
        {"no point rows at all", firstLines(5), 5, "ends"},
        {"nsec 0", evenWingWith(5, 31, 40, "-1"), 5, "no section"},
        {"nsec negative", evenWingWith(5, 31, 40, "-50"), 5, "no section"},
        {"nhalf 0", evenWingWith(5, 11, 20, "3"), 5, "0 points per surface"},
        {"nhalf 5", evenWingWith(5, 11, 20, "13"), 5, "5 points per surface"},
        {"ITE2 below ITE1", evenWingWith(5, 11, 20, "-400"), 5, "0 points per surface"},
        {"count far beyond the file", evenWingWith(5, 31, 40, "2000000000"), 39, "2000000001 sections"},
        {"points far beyond the file", evenWingWith(5, 11, 20, "1999999999"), 39, "ends here"},
        {"integer out of range", evenWingWith(5, 1, 10, "1e12"), 5, "ITE1 in columns 1-10 is outside the integer range"},
        {"wider than the output head", withField(evenWingWith(5, 1, 10, "10000"), 5, 11, 20, "10016"), 5,
         "ITE1 = 10000 is outside -999 .. 9999"},
        {"code out of range", evenWingWith(11, 19, 28, "-3e9"), 11, "RU in columns 19-28"},
        {"huge real", evenWingWith(7, 37, 47, "1e999"), 7, "Z in columns 37-47 is too large"},
        // Values CpOutput could not write back whole.
        {"Cp wider than CpOutput's", evenWingWith(16, 19, 28, "1e308"), 16,
         "CPTU: 1e308 does not fit the 9 columns CpOutput gives it"},
        {"X wider than CpOutput's", evenWingWith(15, 1, 10, "12345.678"), 15, "X: 12345.678 does not fit the 8 col"},
        {"ZREF wider than CpOutput's", evenWingWith(7, 25, 31, "123.456"), 7, "ZREF: 123.456 does not fit the 6"},
        {"MACH wider than CpOutput's", evenWingWith(3, 29, 35, "1e308"), 3, "MACH: 1e+308 does not fit the 15"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        FileError err;
        const auto w = parseCpInput(c.bytes, "/some/dir/wing.cpi", &err);
        EXPECT_FALSE(w) << c.name;
        EXPECT_EQ(err.line, c.line) << c.name << ": " << err.message();
        EXPECT_NE(err.message().find("/some/dir/wing.cpi"), std::string::npos) << c.name;
        EXPECT_NE(err.what.find(c.says), std::string::npos) << c.name << ": " << err.message();

        // The command line says the same as "FILE:LINE: reason" and exits 1.
        const std::string path = dir.file("bad.cpi");
        writeFile(path, c.bytes);
        const auto [status, out, messages] = runCli({"--check", path});
        EXPECT_EQ(status, 1) << c.name;
        const std::string where = c.line > 0 ? path + ":" + std::to_string(c.line) + ": " : path + ": ";
        EXPECT_EQ(messages.rfind(where, 0), 0u) << c.name << ": " << messages;
    }
}

TEST(CpOutput, PathBesideTheInput) {
    for (const auto& [input, output] : std::initializer_list<std::pair<const char*, const char*>>{
             {"dir/wing.cpi", "dir/wing.cpd"}, {"wing.dat", "wing.cpd"}, {"wing.cpd", "wing.cpd"},
             {"wing", "wing.cpd"}, {"wing.cp", "wing.cp.cpd"}, {"my.dir/wing", "my.dir/wing.cpd"},
             {"dir/.cpi", "dir/.cpi.cpd"}})
        EXPECT_EQ(outputPathFor(input), output) << "never cut into the base name";
}

TEST(CommandLine, ChecksConvertsAndRefusesWhatItDoesNotKnow) {
    const auto [status, summary, none] = runCli({"--check", dataPath("small-odd.cpi")});
    EXPECT_EQ(status, 0) << none;
    for (const char* line : {"Title:    Small odd wing\n", "Mach:     0.7834\n", "Alpha:    2.5\n",
                             "Sections: 3 (9 .. 11)\n", "9        yes         Cp edition             103..104   "})
        EXPECT_NE(summary.find(line), std::string::npos) << line << "\n" << summary;

    TempDir dir;
    // Fields without a number are warned of on stderr; the check still passes.
    writeFile(dir.file("garbled.cpi"), evenWingWith(3, 29, 35, "M0.78"));
    const auto [garbledStatus, garbledOut, warned] = runCli({"--check", dir.file("garbled.cpi")});
    EXPECT_EQ(garbledStatus, 0);
    EXPECT_EQ(warned, dir.file("garbled.cpi") + ":3: warning: MACH: \"M0.78\" is not a number, read as 0\n");

    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--frobnicate"}, {"-x"}, {"--check"}, {"--check", "a", "--convert", "b"}, {"--step", "0.1"},
             {"--check", "a", "-o", "b"}, {"a.cpi", "b.cpi"}}) {
        const auto [code, out, err] = runCli(args);
        EXPECT_EQ(code, 2) << args[0];
        EXPECT_NE(err.find("Usage: quarvel"), std::string::npos) << args[0];
    }
    EXPECT_EQ(std::get<0>(runCli({"--help"})), 0);
    EXPECT_EQ(std::get<1>(runCli({"--version"})).rfind("quarvel ", 0), 0u);
}
