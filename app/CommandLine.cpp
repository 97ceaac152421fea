#include "app/CommandLine.h"

#include <getopt.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include <charconv>
#include <cmath>

#include "correction/DesignScript.h"
#include "correction/ImportRegimes.h"
#include "draw/CairoPicture.h"
#include "flow/Compare.h"
#include "flow/Shocks.h"
#include "planform/Isobars.h"
#include "planform/PlanformGeometry.h"
#include "plot/CpPlot.h"
#include "plot/Spanload.h"
#include "wing/CpFiles.h"
#include "wing/Numbers.h"
#include "wing/SectionSurface.h"

#ifndef QUARVEL_VERSION
#define QUARVEL_VERSION "unknown"
#endif

namespace quarvel {

namespace {

// What the command line was asked to do; one mode per run.
enum class Mode {
    None,
    Check,
    Convert,
    Spanload,
    Isobars,
    Shocks,
    Compare,
    Help,
    Version,
    PlotPicture,
    PlanformPicture,
    IsobarsPicture,
    SpanloadPicture
};

struct Options {
    Mode mode = Mode::None;
    std::string file;         // the wing the mode works on
    std::string output;       // -o
    std::string regimesFrom;  // --regimes-from
    std::string step;         // --step, as given
    std::string shockSlope;   // --shock-slope, as given
    std::string shockJump;    // --shock-jump, as given
    bool force = false;       // --force: --convert may replace the file beside FILE
    std::string target;       // --target
    std::string section;      // --section, as given
    std::string size;         // --size, as given
    bool report = false;      // --report
    std::string script;       // --script
    std::string fault;        // a usage error, when not empty
    bool strict = false;      // --strict: a warning about an input file is a fault
};

enum LongOnly {
    kCheck = 256,
    kConvert,
    kSpanload,
    kIsobars,
    kStep,
    kRegimesFrom,
    kShocks,
    kShockSlope,
    kShockJump,
    kStrict,
    kForce,
    kCompare,
    kTarget,
    kPlot,
    kPlanform,
    kIsobarsPlot,
    kSpanloadPlot,
    kSection,
    kSize,
    kReport,
    kScript
};

const option kOptions[] = {
    {"check", required_argument, nullptr, kCheck},
    {"convert", required_argument, nullptr, kConvert},
    {"spanload", required_argument, nullptr, kSpanload},
    {"isobars", required_argument, nullptr, kIsobars},
    {"step", required_argument, nullptr, kStep},
    {"regimes-from", required_argument, nullptr, kRegimesFrom},
    {"shocks", required_argument, nullptr, kShocks},
    {"shock-slope", required_argument, nullptr, kShockSlope},
    {"shock-jump", required_argument, nullptr, kShockJump},
    {"strict", no_argument, nullptr, kStrict},
    {"force", no_argument, nullptr, kForce},
    {"compare", required_argument, nullptr, kCompare},
    {"target", required_argument, nullptr, kTarget},
    {"plot", required_argument, nullptr, kPlot},
    {"planform", required_argument, nullptr, kPlanform},
    {"isobars-plot", required_argument, nullptr, kIsobarsPlot},
    {"spanload-plot", required_argument, nullptr, kSpanloadPlot},
    {"section", required_argument, nullptr, kSection},
    {"size", required_argument, nullptr, kSize},
    {"report", no_argument, nullptr, kReport},
    {"script", required_argument, nullptr, kScript},
    {"output", required_argument, nullptr, 'o'},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};
const char kShortOptions[] = "+:o:hV";

void setMode(Options& o, Mode mode, const char* file) {
    if (o.mode != Mode::None && o.mode != mode)
        o.fault = "only one of --check, --convert, --spanload, --isobars, --shocks, --compare, --plot, --planform, "
                  "--isobars-plot, --spanload-plot, --help and --version can be given";
    o.mode = mode;
    if (file) o.file = file;
}

// The options of --shocks; false for any other.
bool parseShockOption(Options& o, int c, const char* arg) {
    switch (c) {
    case kShocks: setMode(o, Mode::Shocks, arg); return true;
    case kShockSlope: o.shockSlope = arg; return true;
    case kShockJump: o.shockJump = arg; return true;
    default: return false;
    }
}

// The options of --compare; false for any other.
bool parseCompareOption(Options& o, int c, const char* arg) {
    switch (c) {
    case kCompare: setMode(o, Mode::Compare, arg); return true;
    case kTarget: o.target = arg; return true;
    default: return false;
    }
}

// A usage error of --compare's options, empty when there is none.
std::string compareOptionsFault(const Options& o) {
    if (o.mode == Mode::Compare && o.target.empty()) return "--compare needs --target OLD.cpd";
    if (!o.target.empty() && o.mode != Mode::Compare) return "--target goes with --compare or a FILE to edit only";
    return {};
}

// --plot, --planform, --isobars-plot and --spanload-plot draw pictures.
bool isPicture(Mode mode) {
    return mode == Mode::PlotPicture || mode == Mode::PlanformPicture || mode == Mode::IsobarsPicture ||
           mode == Mode::SpanloadPicture;
}

// What is wrong with the options of the pictures, or nothing.
std::string pictureOptionFault(const Options& o) {
    if (!o.section.empty() && o.mode != Mode::PlotPicture) return "--section goes with --plot only";
    if (o.report && o.mode != Mode::PlotPicture) return "--report goes with --plot only";
    if (!o.size.empty() && !isPicture(o.mode)) return "--size goes with the pictures only";
    if (isPicture(o.mode) && o.output.empty()) return "a picture needs -o OUT.png, OUT.svg or OUT.pdf";
    PictureFormat format;
    if (isPicture(o.mode) && !pictureFormatOf(o.output, format))
        return "-o " + o.output + ": the name must end in .png, .svg or .pdf";
    return {};
}

Options parse(int argc, char* argv[]) {
    Options o;
    // getopt keeps its place in globals; every call starts afresh.
    optind = 0;
    opterr = 0;
    int c;
    while ((c = getopt_long(argc, argv, kShortOptions, kOptions, nullptr)) != -1) {
        if (parseShockOption(o, c, optarg) || parseCompareOption(o, c, optarg)) {
            if (!o.fault.empty()) return o;
            continue;
        }
        switch (c) {
        case kCheck: setMode(o, Mode::Check, optarg); break;
        case kConvert: setMode(o, Mode::Convert, optarg); break;
        case kSpanload: setMode(o, Mode::Spanload, optarg); break;
        case kIsobars: setMode(o, Mode::Isobars, optarg); break;
        case kStep: o.step = optarg; break;
        case kRegimesFrom: o.regimesFrom = optarg; break;
        case kScript: o.script = optarg; break;
        case kStrict: o.strict = true; break;
        case kForce: o.force = true; break;
        case kPlot: setMode(o, Mode::PlotPicture, optarg); break;
        case kPlanform: setMode(o, Mode::PlanformPicture, optarg); break;
        case kIsobarsPlot: setMode(o, Mode::IsobarsPicture, optarg); break;
        case kSpanloadPlot: setMode(o, Mode::SpanloadPicture, optarg); break;
        case kSection: o.section = optarg; break;
        case kSize: o.size = optarg; break;
        case kReport: o.report = true; break;
        case 'o': o.output = optarg; break;
        case 'h': setMode(o, Mode::Help, nullptr); break;
        case 'V': setMode(o, Mode::Version, nullptr); break;
        case ':': o.fault = std::string("option ") + argv[optind - 1] + " needs a value"; break;
        default:
            // A short option's letter is in optopt; a long one is the argument.
            o.fault = "unknown option " + (optopt ? std::string("-") + char(optopt) : std::string(argv[optind - 1]));
            break;
        }
        if (!o.fault.empty()) return o;
    }
    if (optind < argc) {
        o.fault = std::string("unexpected argument ") + argv[optind];
    } else if (o.mode == Mode::None) {
        o.fault = "no command given";
    } else if (!o.output.empty() && o.mode != Mode::Convert && !isPicture(o.mode)) {
        o.fault = "-o goes with --convert and the pictures only";
    } else if (o.force && o.mode != Mode::Convert) {
        o.fault = "--force goes with --convert only";
    } else if (!o.regimesFrom.empty() && o.mode != Mode::Convert) {
        o.fault = "--regimes-from goes with --convert only";
    } else if (!o.script.empty() && o.mode != Mode::Convert) {
        o.fault = "--script goes with --convert only";
    } else if (!o.step.empty() && o.mode != Mode::Isobars && o.mode != Mode::IsobarsPicture) {
        o.fault = "--step goes with --isobars and --isobars-plot only";
    } else if ((!o.shockSlope.empty() || !o.shockJump.empty()) && o.mode != Mode::Shocks) {
        o.fault = "--shock-slope and --shock-jump go with --shocks only";
    } else {
        o.fault = compareOptionsFault(o);
        if (o.fault.empty()) o.fault = pictureOptionFault(o);
    }
    return o;
}

// "FILE:LINE: reason", the form compilers use, so that editors can jump to it.
void printFault(std::ostream& err, const FileError& e) {
    err << e.path;
    if (e.line > 0) err << ':' << e.line;
    err << ": " << e.what << '\n';
}

// Fields that are not plain numbers, one "FILE:LINE: warning: ..." each.
void printWarnings(std::ostream& err, const FileWarnings& warnings) {
    for (const FileError& field : warnings.fields) printFault(err, {field.path, field.line, "warning: " + field.what});
    if (warnings.count > warnings.fields.size())
        err << warnings.path << ": warning: and " << warnings.count - warnings.fields.size()
            << " more fields that are not plain numbers\n";
}

// The wing in path, its faults and warnings printed; with strict, a file
// with warnings is refused too.
std::optional<WingModel> readWing(const std::string& path, std::ostream& err, bool strict) {
    FileError error;
    FileWarnings warnings;
    std::optional<WingModel> wing = readCpInput(path, &error, &warnings);
    if (!wing) printFault(err, error);
    printWarnings(err, warnings);
    if (wing && strict && !warnings.empty()) {
        err << path << ": refused: --strict makes its warnings faults\n";
        return std::nullopt;
    }
    return wing;
}

// A point interval as the editor shows it, "72..104", or "-" for a surface
// without one.
std::string intervalText(const WingModel& w, int mode, int first, int last) {
    if (mode != MODE_CP_EDITION && mode != MODE_CP_INTERP) return "-";
    return std::to_string(first + w.ioff) + ".." + std::to_string(last + w.ioff);
}

void padTo(std::string& line, std::size_t width) {
    line.resize(std::max(line.size() + 1, width), ' ');
}

int check(const Options& o, std::ostream& out, std::ostream& err) {
    const std::optional<WingModel> read = readWing(o.file, err, o.strict);
    if (!read) return kExitInputFault;
    const WingModel& w = *read;
    out << "File:     " << o.file << '\n'
        << "Title:    " << w.title << '\n'
        << "Mach:     " << formatShortest(w.MACH) << '\n'
        << "Alpha:    " << formatShortest(w.ALPHA) << '\n'
        << "Sections: " << w.nsec << " (" << w.KTE1 << " .. " << w.KTE2 << ")\n"
        << "Points:   " << w.nhalf << " per surface (" << w.ITE1 << " .. " << w.ITE2 << ")\n\n";
    out << "Section  Correction  Upper surface          Interval   Lower surface          Interval\n";
    for (int k = 0; k < w.nsec; ++k) {
        std::string line = std::to_string(w.KTE1 + k);
        padTo(line, 9);
        line += isCorrected(w, k) ? "yes" : "no";
        padTo(line, 21);
        line += modeName(w.surfMode[k][0]);
        padTo(line, 44);
        line += intervalText(w, w.surfMode[k][0], w.u1[k], w.u2[k]);
        padTo(line, 55);
        line += modeName(w.surfMode[k][1]);
        padTo(line, 78);
        line += intervalText(w, w.surfMode[k][1], w.l1[k], w.l2[k]);
        out << line << '\n';
    }
    // Intervals that reach the points an edit keeps fixed are kept as read;
    // a spline on them narrows them first.
    bool noted = false;
    for (int k = 0; k < w.nsec; ++k)
        for (int s = 0; s < 2; ++s) {
            const int mode = w.surfMode[k][s];
            const int first = s == 0 ? w.u1[k] : w.l1[k], last = s == 0 ? w.u2[k] : w.l2[k];
            const int lo = s == 0 ? w.u1Min : w.l1Min, hi = s == 0 ? w.u2Max : w.l2Max;
            if ((mode != MODE_CP_EDITION && mode != MODE_CP_INTERP) || (lo <= first && last <= hi)) continue;
            out << (noted ? "" : "\n") << "Note: section " << w.KTE1 + k << ", " << (s == 0 ? "upper" : "lower")
                << " interval " << intervalText(w, mode, first, last) << " reaches beyond " << lo + w.ioff << ".."
                << hi + w.ioff << ", the points an edit may change\n";
            noted = true;
        }
    return kExitOk;
}

// --script: the design script applied to the wing; false, with
// "SCRIPT:LINE: reason" printed, at a line that cannot be read or is refused.
bool runScriptOption(const Options& o, WingModel& wing, std::ostream& err) {
    if (o.script.empty()) return true;
    const std::string fault = runScript(wing, o.script);
    if (fault.empty()) return true;
    err << fault << '\n';
    return false;
}

int convert(const Options& o, std::ostream&, std::ostream& err) {
    std::optional<WingModel> wing = readWing(o.file, err, o.strict);
    if (!wing) return kExitInputFault;
    FileError error;
    if (!o.regimesFrom.empty()) {
        const std::optional<ImportResult> imported = importRegimesFrom(*wing, o.regimesFrom, &error);
        if (!imported) {
            printFault(err, error);
            return kExitInputFault;
        }
        const std::string note = missingSectionsNote(*imported, o.regimesFrom);
        if (!note.empty()) err << "quarvel: " << note << '\n';
    }
    if (!runScriptOption(o, *wing, err)) return kExitInputFault;
    // The file beside FILE may hold saved work: it is replaced only when
    // asked for, by name (-o) or by --force.
    const std::string path = o.output.empty() ? wing->outputFileName : o.output;
    struct stat existing {};
    if (o.output.empty() && !o.force && ::lstat(path.c_str(), &existing) == 0) {
        err << "quarvel: " << path << " already exists and may hold saved work; it was not replaced "
            << "(--force replaces it, -o OUT writes elsewhere)\n";
        return kExitInputFault;
    }
    if (!saveCpOutput(*wing, path, &error)) {
        printFault(err, error);
        return kExitInputFault;
    }
    return kExitOk;
}

int spanload(const Options& o, std::ostream& out, std::ostream& err) {
    const std::optional<WingModel> wing = readWing(o.file, err, o.strict);
    if (!wing) return kExitInputFault;
    out << formatSpanloadCsv(computeSpanload(*wing));
    return kExitOk;
}

int isobars(const Options& o, std::ostream& out, std::ostream& err) {
    double step = 0.1;
    if (!o.step.empty()) {
        const char* end = o.step.data() + o.step.size();
        const std::from_chars_result r = std::from_chars(o.step.data(), end, step);
        if (r.ec != std::errc() || r.ptr != end || !(step > 0.0) || !std::isfinite(step)) {
            err << "quarvel: --step " << o.step << ": not a positive number\n";
            return kExitUsage;
        }
    }
    const std::optional<WingModel> wing = readWing(o.file, err, o.strict);
    if (!wing) return kExitInputFault;
    for (int surface = 0; surface < 2; ++surface)
        for (bool design : {false, true}) {
            const ContourField f = surfaceField(*wing, surface, design);
            if (isobarLevelCount(f, step) > kMaxIsobarLevels) {
                err << "quarvel: --step " << o.step << ": more than " << kMaxIsobarLevels
                    << " isobars; choose a larger step\n";
                return kExitUsage;
            }
        }
    out << formatIsobarsCsv(*wing, step);
    return kExitOk;
}

// A number given on the command line: all of text, finite, at least lo (above
// it when strict).
bool readNumber(const std::string& text, double lo, bool strict, double& value) {
    const char* end = text.data() + text.size();
    double v = 0.0;
    const std::from_chars_result r = std::from_chars(text.data(), end, v);
    if (r.ec != std::errc() || r.ptr != end || !std::isfinite(v) || v < lo || (strict && v == lo)) return false;
    value = v;
    return true;
}

int shocks(const Options& o, std::ostream& out, std::ostream& err) {
    ShockRule rule;
    if (!o.shockSlope.empty() && !readNumber(o.shockSlope, 0.0, true, rule.slope)) {
        err << "quarvel: --shock-slope " << o.shockSlope << ": not a positive number\n";
        return kExitUsage;
    }
    if (!o.shockJump.empty() && !readNumber(o.shockJump, 0.0, false, rule.jump)) {
        err << "quarvel: --shock-jump " << o.shockJump << ": not a number of 0 or more\n";
        return kExitUsage;
    }
    const std::optional<WingModel> wing = readWing(o.file, err, o.strict);
    if (!wing) return kExitInputFault;
    out << formatShocksCsv(*wing, rule);
    return kExitOk;
}

// The new wing against the target it was made for: the residual of each
// compared surface as CSV, the target's sections the wing lacks on err.
int compare(const Options& o, std::ostream& out, std::ostream& err) {
    const std::optional<WingModel> wing = readWing(o.file, err, o.strict);
    if (!wing) return kExitInputFault;
    const std::optional<WingModel> target = readWing(o.target, err, o.strict);
    if (!target) return kExitInputFault;
    const WingComparison comparison = compareWithTarget(*wing, *target);
    const std::string note = missingTargetNote(comparison, o.target, o.file);
    if (!note.empty()) err << "quarvel: " << note << '\n';
    out << formatComparisonCsv(*wing, comparison);
    return kExitOk;
}

// A whole number of from..to, as given on the command line.
bool readWhole(const std::string& text, int from, int to, int& value) {
    const char* end = text.data() + text.size();
    const std::from_chars_result r = std::from_chars(text.data(), end, value);
    return r.ec == std::errc() && r.ptr == end && value >= from && value <= to;
}

// The largest side of a picture, in pixels (or points).
constexpr int kMaxPictureSide = 8000;

// --plot, --planform, --isobars-plot and --spanload-plot: the picture of the
// wing as read, drawn as the editor draws it, in the file -o names.
int picture(const Options& o, std::ostream& err) {
    int width = 1200, height = 900;
    if (!o.size.empty()) {
        const std::size_t x = o.size.find('x');
        if (x == std::string::npos || !readWhole(o.size.substr(0, x), 16, kMaxPictureSide, width) ||
            !readWhole(o.size.substr(x + 1), 16, kMaxPictureSide, height)) {
            err << "quarvel: --size " << o.size << ": not WIDTHxHEIGHT, each 16 to " << kMaxPictureSide << '\n';
            return kExitUsage;
        }
    }
    double step = 0.1;
    if (!o.step.empty()) {
        const char* end = o.step.data() + o.step.size();
        const std::from_chars_result r = std::from_chars(o.step.data(), end, step);
        if (r.ec != std::errc() || r.ptr != end || !(step > 0.0) || !std::isfinite(step)) {
            err << "quarvel: --step " << o.step << ": not a positive number\n";
            return kExitUsage;
        }
    }
    std::optional<WingModel> wing = readWing(o.file, err, o.strict);
    if (!wing) return kExitInputFault;
    WingModel& w = *wing;
    std::vector<PlotPrimitive> primitives;
    switch (o.mode) {
    case Mode::PlotPicture: {
        int number = w.KTE1;
        if (!o.section.empty() && !readWhole(o.section, w.KTE1, w.KTE1 + w.nsec - 1, number)) {
            err << "quarvel: --section " << o.section << ": the wing's sections are " << w.KTE1 << " .. "
                << w.KTE1 + w.nsec - 1 << '\n';
            return kExitUsage;
        }
        primitives = buildCpFigure(w, number - w.KTE1, w.MACH, width, height, kNoControlPoint,
                                   o.report ? FigureMarks::Report : FigureMarks::Editing)
                         .primitives;
        break;
    }
    case Mode::PlanformPicture:
        primitives = planformPrimitives(planformOf(w), shownRegimes(w), 0, width, height);
        break;
    case Mode::IsobarsPicture:
        for (bool design : {false, true})
            if (isobarLevelCount(surfaceField(w, 0, design), step) > kMaxIsobarLevels) {
                err << "quarvel: --step " << o.step << ": more than " << kMaxIsobarLevels
                    << " isobars; choose a larger step\n";
                return kExitUsage;
            }
        primitives = isobarPrimitives(w, upperIsobars(w, step, true), width, height);
        break;
    default: primitives = spanloadPrimitives(computeSpanload(w), width, height); break;
    }
    FileError error;
    if (!writePicture(o.output, primitives, width, height, &error)) {
        printFault(err, error);
        return kExitInputFault;
    }
    return kExitOk;
}

}  // namespace

void printUsage(std::ostream& os) {
    os << "Usage: quarvel [FILE]                      edit the wing in FILE (a CpInput or CpOutput file)\n"
          "       quarvel --check FILE                read FILE and print a summary of the wing\n"
          "       quarvel --convert FILE [-o OUT | --force] [--regimes-from OLD] [--script SCRIPT]\n"
          "                                           write the CpOutput file that opening FILE (and\n"
          "                                           running SCRIPT) and saving writes (OUT: the save\n"
          "                                           path); an existing file beside FILE is replaced\n"
          "                                           only with --force\n"
          "       quarvel --spanload FILE             print the spanload of the wing as CSV\n"
          "       quarvel --isobars FILE [--step S]   print the isobars of the wing as CSV (S: 0.1)\n"
          "       quarvel --shocks FILE [--shock-slope S] [--shock-jump J]\n"
          "                                           print the shocks of the wing as CSV (S: 3, J: 0.1)\n"
          "       quarvel --compare FILE --target OLD print, as CSV, how far the initial Cp of FILE is\n"
          "                                           from the design Cp of the target OLD (a CpOutput)\n"
          "       quarvel FILE --target OLD           edit FILE, compared with the target OLD\n"
          "       quarvel --views all|plot,planform,spanload,3d FILE\n"
          "                                           edit FILE with only the panes named shown\n"
          "       quarvel --plot FILE [--section N] [--report] [--size WxH] -o OUT.png|OUT.svg|OUT.pdf\n"
          "                                           draw the Cp plot of section N (the first; numbered\n"
          "                                           as in the file) with a legend of every mark, or\n"
          "                                           without the editing marks (--report); WxH: 1200x900\n"
          "       quarvel --planform FILE [--size WxH] -o OUT\n"
          "       quarvel --isobars-plot FILE [--step S] [--size WxH] -o OUT\n"
          "       quarvel --spanload-plot FILE [--size WxH] -o OUT\n"
          "                                           draw the planform, the isobars or the spanload\n"
          "       quarvel --help | --version\n"
          "--strict with any of them makes a warning about an input file a fault.\n"
          "Exit status: 0 done, 1 a fault in an input file or a file not written (or not\n"
          "replaced), 2 a usage error.\n";
}

namespace {

// Option name of the editor at argv[i], as "--name VALUE" (i moves past the
// value) or "--name=VALUE"; value set to its value.
bool editorOption(int argc, char* argv[], int& i, const char* name, const char*& value) {
    const std::size_t n = std::strlen(name);
    if (std::strcmp(argv[i], name) == 0 && i + 1 < argc) {
        value = argv[++i];
        return true;
    }
    if (std::strncmp(argv[i], name, n) == 0 && argv[i][n] == '=') {
        value = argv[i] + n + 1;
        return true;
    }
    return false;
}

std::vector<std::string> splitList(const std::string& list) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    while (true) {
        const std::size_t comma = list.find(',', from);
        parts.push_back(list.substr(from, comma - from));
        if (comma == std::string::npos) return parts;
        from = comma + 1;
    }
}

}  // namespace

bool wantsCommandLine(int argc, char* argv[]) {
    // The toolkit's own options, and whether each takes a value.
    static const std::pair<const char*, bool> kToolkitOptions[] = {
        {"-display", true}, {"-tracelevel", true}, {"-maxcolors", true},
        {"-sync", false},   {"-noshm", false},     {"-shm", false},
    };
    int files = 0;
    bool target = false;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (a[0] != '-' || a[1] == '\0') {
            ++files;
            continue;
        }
        // The editor's own: the target to compare the wing with, the panes
        // to show.
        const char* value = nullptr;
        if (editorOption(argc, argv, i, "--target", value)) {
            target = true;
            continue;
        }
        if (editorOption(argc, argv, i, "--views", value)) continue;
        bool toolkit = false;
        for (const auto& [name, takesValue] : kToolkitOptions) {
            if (std::strcmp(a, name) != 0) continue;
            toolkit = true;
            if (takesValue) ++i;
        }
        if (!toolkit) return true;
    }
    // The editor opens one wing, and compares it only when it has one.
    return files > 1 || (target && files == 0);
}

EditorStart editorStart(int argc, char* argv[]) {
    EditorStart start;
    for (int i = 1; i < argc; ++i) {
        if (editorOption(argc, argv, i, "--target", start.target)) continue;
        if (editorOption(argc, argv, i, "--views", start.views)) continue;
        if (!start.file) start.file = argv[i];
    }
    return start;
}

unsigned panesNamed(const char* list) {
    static const char* const kNames[kPanes] = {"plot", "planform", "spanload", "3d"};
    if (!list) return 0;
    if (std::strcmp(list, "all") == 0) return kAllPanes;
    unsigned panes = 0;
    for (const std::string& name : splitList(list)) {
        const auto found = std::find_if(std::begin(kNames), std::end(kNames), [&](const char* n) { return name == n; });
        if (found == std::end(kNames)) return 0;
        panes |= 1u << (found - std::begin(kNames));
    }
    return panes;
}

int runCommandLine(int argc, char* argv[], std::ostream& out, std::ostream& err) {
    const Options o = parse(argc, argv);
    if (!o.fault.empty()) {
        err << "quarvel: " << o.fault << '\n';
        printUsage(err);
        return kExitUsage;
    }
    try {
        switch (o.mode) {
        case Mode::Help: printUsage(out); return kExitOk;
        case Mode::Version: out << "quarvel " << QUARVEL_VERSION << '\n'; return kExitOk;
        case Mode::Check: return check(o, out, err);
        case Mode::Convert: return convert(o, out, err);
        case Mode::Spanload: return spanload(o, out, err);
        case Mode::Isobars: return isobars(o, out, err);
        case Mode::Shocks: return shocks(o, out, err);
        case Mode::Compare: return compare(o, out, err);
        case Mode::PlotPicture:
        case Mode::PlanformPicture:
        case Mode::IsobarsPicture:
        case Mode::SpanloadPicture: return picture(o, err);
        default:
            err << "quarvel: this command is not available yet\n";
            return kExitUsage;
        }
    } catch (const std::bad_alloc&) {
        // A wing that fits in memory may still leave too little for what is
        // asked of it; no file is left half written.
        err << "quarvel: " << o.file << ": not enough memory for this command on this wing\n";
        return kExitInputFault;
    }
}

}  // namespace quarvel
