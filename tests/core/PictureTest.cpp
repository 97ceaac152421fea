// The drawing floor's files: the section plot as PNG, SVG and PDF, the
// figure's legend and its "Report" form, and the pictures of the command
// line.
#include <algorithm>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "correction/Editing.h"
#include "draw/CairoPicture.h"
#include "plot/CpPlot.h"
#include "wing/CpFiles.h"

namespace quarvel {
namespace {

using test::readFile;
using test::runCli;
using test::TempDir;

const std::string kWing12 = std::string(QUARVEL_EXAMPLES) + "/wing12.cpi";

// wing12's file section 2 (upper surface in "Cp edition") with its spline
// on and its second control point picked.
WingModel splinedWing() {
    FileError error;
    std::optional<WingModel> read = readCpInput(kWing12, &error);
    EXPECT_TRUE(read) << error.what;
    WingModel w = read ? *read : WingModel{};
    EditingState e;
    chooseSection(w, e, 1);
    switchSpline(w, 0, 0, e, true);
    return w;
}

// Width and height of a PNG, from its header.
std::pair<int, int> pngSize(const std::string& png) {
    auto at = [&](std::size_t i) {
        return int(static_cast<unsigned char>(png[i])) << 24 | int(static_cast<unsigned char>(png[i + 1])) << 16 |
               int(static_cast<unsigned char>(png[i + 2])) << 8 | int(static_cast<unsigned char>(png[i + 3]));
    };
    if (png.size() < 24 || png.compare(1, 3, "PNG") != 0) return {0, 0};
    return {at(16), at(20)};
}

// The texts of a primitive list.
std::vector<std::string> textsOf(const std::vector<PlotPrimitive>& primitives) {
    std::vector<std::string> texts;
    for (const PlotPrimitive& p : primitives)
        if (p.kind == PlotPrimitive::Text) texts.push_back(p.text);
    return texts;
}

bool has(const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(Picture, EachFormatIsAFileOfItsKindAndSize) {
    const WingModel w = splinedWing();
    const std::vector<PlotPrimitive> plot = buildCpFigure(w, w.curSection - 1, w.MACH, 640, 480, 1, FigureMarks::Editing).primitives;
    const std::string png = encodePicture(PictureFormat::Png, plot, 640, 480);
    EXPECT_EQ(pngSize(png), std::make_pair(640, 480)) << "png";
    EXPECT_EQ(pngSize(encodePicture(PictureFormat::Png, plot, 33, 1000)), std::make_pair(33, 1000)) << "narrow png";
    EXPECT_EQ(encodePicture(PictureFormat::Pdf, plot, 640, 480).substr(0, 5), "%PDF-") << "pdf";

    const std::string svg = encodePicture(PictureFormat::Svg, plot, 640, 480);
    EXPECT_EQ(svg.substr(0, 5), "<?xml") << "svg";
    EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"640\" height=\"480\""), std::string::npos);
    EXPECT_NE(svg.find(">" + w.title + "</text>"), std::string::npos) << "the wing's title is a text";
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n") << "svg";
    EXPECT_TRUE(encodePicture(PictureFormat::Png, plot, 0, 480).empty()) << "no pixels, no file";
}

TEST(Picture, SvgTextsAreEscapedAndValidUtf8) {
    PlotPrimitive t;
    t.kind = PlotPrimitive::Text;
    const struct {
        const char* text;
        const char* written;
    } cases[] = {
        {"A&B <wing> \"1\"", ">A&amp;B &lt;wing&gt; &quot;1&quot;</text>"},
        {"M\xe9lange \xc3\xa9t\xc3\xa9", ">M?lange \xc3\xa9t\xc3\xa9</text>"},  // a Latin-1 byte, then UTF-8
        {"tab\there\x01", ">tab\there?</text>"},
        {"cut \xe2\x82", ">cut ?\?</text>"},
    };
    for (const auto& c : cases) {
        t.text = c.text;
        const std::string svg = encodePicture(PictureFormat::Svg, {t}, 100, 100);
        EXPECT_NE(svg.find(c.written), std::string::npos) << c.written << " in\n" << svg;
        EXPECT_EQ(pngSize(encodePicture(PictureFormat::Png, {t}, 100, 100)).first, 100) << c.written;
    }
}

// A figure names every mark it draws; the report draws none of the editing.
TEST(Picture, TheFigureExplainsItsMarksAndTheReportLeavesThemOut) {
    const WingModel w = splinedWing();
    const CpPlot figure = buildCpFigure(w, w.curSection - 1, w.MACH, 800, 600, 1, FigureMarks::Editing);
    const CpPlot report = buildCpFigure(w, w.curSection - 1, w.MACH, 800, 600, 1, FigureMarks::Report);
    auto count = [](const CpPlot& plot, PlotPrimitive::Kind kind, const char* colour, int width) {
        return std::count_if(plot.primitives.begin(), plot.primitives.end(), [&](const PlotPrimitive& p) {
            return p.kind == kind && std::string(p.color) == colour && p.lineWidth == width;
        });
    };
    const int points = std::min(w.nspl[0][0], WingModel::nsplMax);
    struct Mark {
        const char* name;
        PlotPrimitive::Kind kind;
        const char* colour;
        int width;
        long drawn;  // with the legend's sample
    } marks[] = {
        {"spline control points", PlotPrimitive::Ellipse, "Blue", 2, points - 1 + 1},
        {"picked control point", PlotPrimitive::Ellipse, "Red", 2, 1 + 1},
        {"interval, upper surface", PlotPrimitive::Segment, "Red", 1, 4 + 4},
        {"selected point", PlotPrimitive::Segment, "Red", 2, 2 + 2},
    };
    for (const Mark& m : marks) {
        EXPECT_TRUE(has(textsOf(figure.primitives), m.name)) << m.name;
        EXPECT_EQ(count(figure, m.kind, m.colour, m.width), m.drawn) << m.name;
        EXPECT_FALSE(has(textsOf(report.primitives), m.name)) << "report: " << m.name;
        EXPECT_EQ(count(report, m.kind, m.colour, m.width), 0) << "report: " << m.name;
    }
    // Mach 0.78: Cp* = (2 / (1.4 * 0.6084)) * ((1 + 0.2 * 0.6084)^3.5 / 1.2^3.5 - 1) = -0.494.
    EXPECT_TRUE(has(textsOf(figure.primitives), "Cp* = -0.494")) << "the sonic level in the figure";
    EXPECT_TRUE(has(textsOf(report.primitives), "Cp* = -0.494")) << "and in the report";
    EXPECT_TRUE(has(textsOf(report.primitives), w.title)) << "the report keeps the title";
}

TEST(Picture, TheCommandLineDrawsEachPictureOrSaysWhyNot) {
    TempDir dir;
    const struct {
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {{"--plot", kWing12, "--section", "13", "--size", "320x200", "-o", dir.file("a.png")}, 0, ""},
        {{"--plot", kWing12, "--report", "-o", dir.file("a.svg")}, 0, ""},
        {{"--planform", kWing12, "--size", "320x200", "-o", dir.file("p.png")}, 0, ""},
        {{"--isobars-plot", kWing12, "--step", "0.05", "--size", "320x200", "-o", dir.file("i.png")}, 0, ""},
        {{"--spanload-plot", kWing12, "-o", dir.file("s.pdf")}, 0, ""},
        {{"--plot", kWing12}, 2, "a picture needs -o"},
        {{"--plot", kWing12, "-o", dir.file("a.gif")}, 2, "must end in .png, .svg or .pdf"},
        {{"--plot", kWing12, "--section", "1", "-o", dir.file("a.png")}, 2, "the wing's sections are 2 .. 13"},
        {{"--plot", kWing12, "--size", "320x", "-o", dir.file("a.png")}, 2, "not WIDTHxHEIGHT"},
        {{"--plot", kWing12, "--size", "9000x200", "-o", dir.file("a.png")}, 2, "not WIDTHxHEIGHT"},
        {{"--planform", kWing12, "--section", "3", "-o", dir.file("a.png")}, 2, "--section goes with --plot only"},
        {{"--spanload-plot", kWing12, "--report", "-o", dir.file("a.png")}, 2, "--report goes with --plot only"},
        {{"--isobars-plot", kWing12, "--step", "0", "-o", dir.file("a.png")}, 2, "not a positive number"},
        {{"--plot", dir.file("none.cpi"), "-o", dir.file("a.png")}, 1, "none.cpi"},
        {{"--plot", kWing12, "-o", dir.file("no/such/dir.png")}, 1, "no/such/dir.png"},
    };
    for (const auto& c : cases) {
        const std::string name = c.args[0] + " " + c.args.back();
        const auto [status, out, err] = runCli(c.args);
        EXPECT_EQ(status, c.status) << name << ": " << err;
        EXPECT_NE(err.find(c.says), std::string::npos) << name << ": " << err;
    }
    EXPECT_EQ(pngSize(readFile(dir.file("a.png"))), std::make_pair(320, 200)) << "the asked size";
    const std::string svg = readFile(dir.file("a.svg"));
    EXPECT_NE(svg.find("width=\"1200\" height=\"900\""), std::string::npos) << "the default size";
    EXPECT_NE(svg.find(">Section 2   Z = "), std::string::npos) << "the first section by default";
    EXPECT_EQ(svg.find("interval, upper surface"), std::string::npos) << "--report";
    EXPECT_EQ(readFile(dir.file("s.pdf")).substr(0, 5), "%PDF-");
}

}  // namespace
}  // namespace quarvel
