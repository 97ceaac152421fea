#include "app/CommandLine.h"

#include <getopt.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include <charconv>
#include <cmath>

#include "correction/DesignScript.h"
#include "correction/ImportRegimes.h"
#include "flow/Shocks.h"
#include "planform/Isobars.h"
#include "plot/Spanload.h"
#include "wing/CpFiles.h"
#include "wing/Numbers.h"

#ifndef QUARVEL_VERSION
#define QUARVEL_VERSION "unknown"
#endif

namespace quarvel {

namespace {

// What the command line was asked to do; one mode per run.
enum class Mode { None, Check, Convert, Spanload, Isobars, Shocks, Help, Version };

struct Options {
    Mode mode = Mode::None;
    std::string file;         // the wing the mode works on
    std::string output;       // -o
    std::string regimesFrom;  // --regimes-from
    std::string step;         // --step, as given
    std::string shockSlope;   // --shock-slope, as given
    std::string shockJump;    // --shock-jump, as given
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
    {"script", required_argument, nullptr, kScript},
    {"output", required_argument, nullptr, 'o'},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};
const char kShortOptions[] = "+:o:hV";

void setMode(Options& o, Mode mode, const char* file) {
    if (o.mode != Mode::None && o.mode != mode) o.fault = "only one of --check, --convert, --spanload, --isobars, "
                                                          "--shocks, --help and --version can be given";
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

Options parse(int argc, char* argv[]) {
    Options o;
    // getopt keeps its place in globals; every call starts afresh.
    optind = 0;
    opterr = 0;
    int c;
    while ((c = getopt_long(argc, argv, kShortOptions, kOptions, nullptr)) != -1) {
        if (parseShockOption(o, c, optarg)) {
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
    } else if (!o.output.empty() && o.mode != Mode::Convert) {
        o.fault = "-o goes with --convert only";
    } else if (!o.regimesFrom.empty() && o.mode != Mode::Convert) {
        o.fault = "--regimes-from goes with --convert only";
    } else if (!o.script.empty() && o.mode != Mode::Convert) {
        o.fault = "--script goes with --convert only";
    } else if (!o.step.empty() && o.mode != Mode::Isobars) {
        o.fault = "--step goes with --isobars only";
    } else if ((!o.shockSlope.empty() || !o.shockJump.empty()) && o.mode != Mode::Shocks) {
        o.fault = "--shock-slope and --shock-jump go with --shocks only";
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
        line += w.secCorrection[k] == 2 ? "yes" : "no";
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
    const std::string path = o.output.empty() ? wing->outputFileName : o.output;
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

}  // namespace

void printUsage(std::ostream& os) {
    os << "Usage: quarvel [FILE]                      edit the wing in FILE (a CpInput or CpOutput file)\n"
          "       quarvel --check FILE                read FILE and print a summary of the wing\n"
          "       quarvel --convert FILE [-o OUT] [--regimes-from OLD] [--script SCRIPT]\n"
          "                                           write the CpOutput file that opening FILE (and\n"
          "                                           running SCRIPT) and saving writes (OUT: the save path)\n"
          "       quarvel --spanload FILE             print the spanload of the wing as CSV\n"
          "       quarvel --isobars FILE [--step S]   print the isobars of the wing as CSV (S: 0.1)\n"
          "       quarvel --shocks FILE [--shock-slope S] [--shock-jump J]\n"
          "                                           print the shocks of the wing as CSV (S: 3, J: 0.1)\n"
          "       quarvel --help | --version\n"
          "--strict with any of them makes a warning about an input file a fault.\n"
          "Exit status: 0 done, 1 a fault in an input file, 2 a usage error.\n";
}

bool wantsCommandLine(int argc, char* argv[]) {
    // The toolkit's own options, and whether each takes a value.
    static const std::pair<const char*, bool> kToolkitOptions[] = {
        {"-display", true}, {"-tracelevel", true}, {"-maxcolors", true},
        {"-sync", false},   {"-noshm", false},     {"-shm", false},
    };
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (a[0] != '-' || a[1] == '\0') {
            ++files;
            continue;
        }
        bool toolkit = false;
        for (const auto& [name, takesValue] : kToolkitOptions) {
            if (std::strcmp(a, name) != 0) continue;
            toolkit = true;
            if (takesValue) ++i;
        }
        if (!toolkit) return true;
    }
    // The editor opens one wing.
    return files > 1;
}

int runCommandLine(int argc, char* argv[], std::ostream& out, std::ostream& err) {
    const Options o = parse(argc, argv);
    if (!o.fault.empty()) {
        err << "quarvel: " << o.fault << '\n';
        printUsage(err);
        return kExitUsage;
    }
    switch (o.mode) {
    case Mode::Help: printUsage(out); return kExitOk;
    case Mode::Version: out << "quarvel " << QUARVEL_VERSION << '\n'; return kExitOk;
    case Mode::Check: return check(o, out, err);
    case Mode::Convert: return convert(o, out, err);
    case Mode::Spanload: return spanload(o, out, err);
    case Mode::Isobars: return isobars(o, out, err);
    case Mode::Shocks: return shocks(o, out, err);
    default:
        err << "quarvel: this command is not available yet\n";
        return kExitUsage;
    }
}

}  // namespace quarvel
