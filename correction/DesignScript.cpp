#include "correction/DesignScript.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "correction/History.h"
#include "correction/ImportRegimes.h"
#include "correction/SurfaceSpline.h"
#include "wing/CpOutputFields.h"
#include "wing/Numbers.h"
#include "wing/SectionSurface.h"

namespace quarvel {

namespace {

using Words = std::vector<std::string>;

int cur(const WingModel& w) { return w.curSection - 1; }

OpResult refused(std::string why) {
    OpResult r;
    r.fault = std::move(why);
    return r;
}

OpResult done(Redraw redraw) {
    OpResult r;
    r.redraw = std::move(redraw);
    return r;
}

const char* surfaceWord(int s) { return s == 1 ? "lower" : "upper"; }

// "the upper surface of section 3", for the reasons a line is refused.
std::string where(const WingModel& w) {
    const int k = cur(w);
    return std::string("the ") + surfaceWord(activeSurfaceOf(w, k)) + " surface of section " +
           std::to_string(w.KTE1 + k);
}

// The current section can be worked on; every line but section needs one.
bool haveSection(WingModel& w) { return w.nsec > 0 && keepSectionOnSurfaces(w, cur(w)); }

bool readInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const std::from_chars_result r = std::from_chars(text.data(), end, value);
    return r.ec == std::errc() && r.ptr == end;
}

bool readReal(const std::string& text, double& value) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    const std::from_chars_result r = std::from_chars(begin, end, value);
    return r.ec == std::errc() && r.ptr == end && std::isfinite(value);
}

const char* const kRegimeWords[] = {"none", "edition", "interpolation", "geometry", "thickness", "max-thickness"};

// Regime of a mode, as the radios of the panel choose it.
RegimeRadio radioOf(int mode) {
    switch (mode) {
    case MODE_GEOM: return RegimeRadio::GeomInterpolation;
    case MODE_THICKNESS: return RegimeRadio::SaveThickness;
    case MODE_MAX_THICKNESS: return RegimeRadio::SaveMaxThickness;
    case MODE_CP_EDITION:
    case MODE_CP_INTERP: return RegimeRadio::CpCorrection;
    default: return RegimeRadio::NoCorrection;
    }
}

// The parsers: each takes the words after its own and returns the operation
// or fills fault.
using Parser = std::optional<DesignOp> (*)(const Words& args, std::string& fault);

bool count(const Words& args, std::size_t lo, std::size_t hi, std::string& fault) {
    if (args.size() >= lo && args.size() <= hi) return true;
    fault = args.size() < lo ? "too few values" : "too many values";
    return false;
}

bool onOff(const Words& args, bool& on, std::string& fault, const char* yes = "on", const char* no = "off") {
    if (!count(args, 1, 1, fault)) return false;
    if (args[0] == yes || args[0] == no) {
        on = args[0] == yes;
        return true;
    }
    fault = std::string("expected ") + yes + " or " + no + ", not " + args[0];
    return false;
}

bool intArg(const std::string& text, int& value, std::string& fault) {
    if (readInt(text, value)) return true;
    fault = "not a whole number: " + text;
    return false;
}

bool realArg(const std::string& text, double& value, std::string& fault) {
    if (readReal(text, value)) return true;
    fault = "not a number: " + text;
    return false;
}

// [PASSES] [through-shocks] [shock-slope S] [shock-jump J], from args[from].
bool smoothArgs(const Words& args, std::size_t from, SmoothStrength& st, std::string& fault) {
    for (std::size_t i = from; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i == from && readInt(a, st.passes)) {
            if (st.passes < 1 || st.passes > SmoothStrength::kMaxPasses) {
                fault = "passes must lie in 1.." + std::to_string(SmoothStrength::kMaxPasses);
                return false;
            }
        } else if (a == "through-shocks") {
            st.throughShocks = true;
        } else if ((a == "shock-slope" || a == "shock-jump") && i + 1 < args.size()) {
            double& v = a == "shock-slope" ? st.shocks.slope : st.shocks.jump;
            if (!realArg(args[++i], v, fault)) return false;
            if (v < 0.0 || (a == "shock-slope" && v == 0.0)) {
                fault = a + " out of range";
                return false;
            }
        } else {
            fault = "unexpected " + a;
            return false;
        }
    }
    return true;
}

std::optional<DesignOp> parseSection(const Words& args, std::string& fault) {
    SectionLine op;
    if (!count(args, 1, 1, fault) || !intArg(args[0], op.number, fault)) return std::nullopt;
    return op;
}

std::optional<DesignOp> parseSurface(const Words& args, std::string& fault) {
    bool upper = true;
    if (!onOff(args, upper, fault, "upper", "lower")) return std::nullopt;
    SurfaceLine op;
    op.surface = upper ? 0 : 1;
    return op;
}

std::optional<DesignOp> parseRegime(const Words& args, std::string& fault) {
    if (args.size() != 1 && args.size() != 3) {
        fault = "expected a regime and, for edition or interpolation, an interval FROM TO";
        return std::nullopt;
    }
    RegimeLine op;
    op.mode = -1;
    for (int m = MODE_NONE; m <= MODE_MAX_THICKNESS; ++m)
        if (args[0] == kRegimeWords[m]) op.mode = m;
    if (op.mode < 0) {
        fault = "unknown regime " + args[0];
        return std::nullopt;
    }
    if (args.size() == 3) {
        if (!hasInterval(op.mode)) {
            fault = "an interval goes with edition and interpolation only";
            return std::nullopt;
        }
        std::pair<int, int> interval;
        if (!intArg(args[1], interval.first, fault) || !intArg(args[2], interval.second, fault)) return std::nullopt;
        op.interval = interval;
    }
    return op;
}

std::optional<DesignOp> parseInterval(const Words& args, std::string& fault) {
    IntervalLine op;
    if (!count(args, 2, 2, fault) || !intArg(args[0], op.first, fault) || !intArg(args[1], op.last, fault))
        return std::nullopt;
    return op;
}

std::optional<DesignOp> parseCorrection(const Words& args, std::string& fault) {
    CorrectionLine op;
    if (!onOff(args, op.corrected, fault, "yes", "no")) return std::nullopt;
    return op;
}

std::optional<DesignOp> parsePoint(const Words& args, std::string& fault) {
    PointLine op;
    if (!count(args, 2, 2, fault) || !intArg(args[0], op.point, fault) || !realArg(args[1], op.cp, fault))
        return std::nullopt;
    return op;
}

std::optional<DesignOp> parseSpline(const Words& args, std::string& fault) {
    SplineLine op;
    if (!onOff(args, op.on, fault)) return std::nullopt;
    return op;
}

std::optional<DesignOp> parseNspl(const Words& args, std::string& fault) {
    NsplLine op;
    if (!count(args, 1, 1, fault) || !intArg(args[0], op.count, fault)) return std::nullopt;
    return op;
}

std::optional<DesignOp> parseControl(const Words& args, std::string& fault) {
    ControlLine op;
    if (!count(args, 2, 3, fault) || !intArg(args[0], op.index, fault) || !realArg(args[1], op.value, fault))
        return std::nullopt;
    if (args.size() == 3) {
        double x = 0.0;
        if (!realArg(args[2], x, fault)) return std::nullopt;
        op.x = x;
    }
    return op;
}

std::optional<DesignOp> parseShape(const Words& args, std::string& fault) {
    ShapeLine op;
    if (!onOff(args, op.on, fault)) return std::nullopt;
    return op;
}

std::optional<DesignOp> parseSmooth(const Words& args, std::string& fault) {
    SmoothLine op;
    if (!smoothArgs(args, 0, op.smoothing.strength, fault)) return std::nullopt;
    return op;
}

bool rangeArgs(const Words& args, ManySections& op, std::string& fault) {
    if (args.size() < 2) {
        fault = "expected FIRST LAST";
        return false;
    }
    return intArg(args[0], op.first, fault) && intArg(args[1], op.last, fault);
}

// Takes the words follow-shock and no-follow out of args.
bool followArg(Words& args) {
    bool follow = true;
    for (auto it = args.begin(); it != args.end();) {
        if (*it != "follow-shock" && *it != "no-follow") {
            ++it;
            continue;
        }
        follow = *it == "follow-shock";
        it = args.erase(it);
    }
    return follow;
}

std::optional<DesignOp> parseSmoothSpan(const Words& given, std::string& fault) {
    SmoothSpanLine op;
    Words args = given;
    op.follow = followArg(args);
    if (!rangeArgs(args, op, fault) || !smoothArgs(args, 2, op.smoothing.strength, fault)) return std::nullopt;
    return op;
}

std::optional<DesignOp> parseKeepLift(const Words& args, std::string& fault) {
    KeepLiftLine op;
    if (!onOff(args, op.on, fault)) return std::nullopt;
    return op;
}

std::optional<DesignOp> parseWeakenShock(const Words& args, std::string& fault) {
    WeakenShockLine op;
    if (!count(args, 1, 2, fault) || !realArg(args[0], op.values.m1, fault)) return std::nullopt;
    if (args.size() > 1 && !realArg(args[1], op.values.width, fault)) return std::nullopt;
    if (op.values.m1 < 1.0) {
        fault = "M1 must be 1 or more";
        return std::nullopt;
    }
    if (!(op.values.width > 0.0 && op.values.width <= 1.0)) {
        fault = "the width must lie in 0..1 of the chord";
        return std::nullopt;
    }
    return op;
}

std::optional<DesignOp> parseApply(const Words& given, std::string& fault) {
    ApplyLine op;
    Words args = given;
    op.blend.follow = followArg(args);
    if (!rangeArgs(args, op, fault)) return std::nullopt;
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "fade") {
            op.blend.fade = true;
        } else if (args[i] == "weight" && i + 1 < args.size()) {
            if (!realArg(args[++i], op.blend.weight, fault)) return std::nullopt;
            if (op.blend.weight < 0.0 || op.blend.weight > 1.0) {
                fault = "the weight must lie in 0..1";
                return std::nullopt;
            }
        } else {
            fault = "unexpected " + args[i];
            return std::nullopt;
        }
    }
    return op;
}

std::optional<DesignOp> parseFlow(FlowValue which, const Words& args, std::string& fault) {
    FlowLine op;
    op.which = which;
    if (!count(args, 1, 1, fault) || !realArg(args[0], op.value, fault)) return std::nullopt;
    return op;
}

std::optional<DesignOp> parseMach(const Words& args, std::string& fault) { return parseFlow(FlowValue::Mach, args, fault); }
std::optional<DesignOp> parseAlpha(const Words& args, std::string& fault) { return parseFlow(FlowValue::Alpha, args, fault); }

std::optional<DesignOp> parseRevert(const Words& args, std::string& fault) {
    if (!count(args, 0, 0, fault)) return std::nullopt;
    return RevertLine{};
}

// Every line's first word and its parser (import takes the rest of its line
// as a path and is read apart).
struct LineKind {
    const char* word;
    Parser parse;
};
const LineKind kLineKinds[] = {
    {"section", parseSection},
    {"surface", parseSurface},
    {"regime", parseRegime},
    {"interval", parseInterval},
    {"correction", parseCorrection},
    {"point", parsePoint},
    {"spline", parseSpline},
    {"nspl", parseNspl},
    {"control", parseControl},
    {"shape", parseShape},
    {"smooth", parseSmooth},
    {"smooth-span", parseSmoothSpan},
    {"apply", parseApply},
    {"mach", parseMach},
    {"alpha", parseAlpha},
    {"revert", parseRevert},
    {"keep-lift", parseKeepLift},
    {"weaken-shock", parseWeakenShock},
};

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string trimmed(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && isSpace(s[a])) ++a;
    while (b > a && isSpace(s[b - 1])) --b;
    return s.substr(a, b - a);
}

}  // namespace

// ---- text ----------------------------------------------------------------

std::string SectionLine::text() const { return "section " + std::to_string(number); }
std::string SurfaceLine::text() const { return std::string("surface ") + surfaceWord(surface); }
std::string RegimeLine::text() const {
    std::string t = std::string("regime ") + kRegimeWords[mode];
    if (interval) t += " " + std::to_string(interval->first) + " " + std::to_string(interval->second);
    return t;
}
std::string IntervalLine::text() const { return "interval " + std::to_string(first) + " " + std::to_string(last); }
std::string CorrectionLine::text() const { return corrected ? "correction yes" : "correction no"; }
std::string PointLine::text() const { return "point " + std::to_string(point) + " " + formatShortest(cp); }
std::string SplineLine::text() const { return on ? "spline on" : "spline off"; }
std::string NsplLine::text() const { return "nspl " + std::to_string(count); }
std::string ControlLine::text() const {
    std::string t = "control " + std::to_string(index) + " " + formatShortest(value);
    if (x) t += " " + formatShortest(*x);
    return t;
}
std::string ShapeLine::text() const { return on ? "shape on" : "shape off"; }
std::string SmoothWords::text() const {
    std::string t = std::to_string(strength.passes);
    if (strength.throughShocks) t += " through-shocks";
    const ShockRule standard;
    if (strength.shocks.slope != standard.slope) t += " shock-slope " + formatShortest(strength.shocks.slope);
    if (strength.shocks.jump != standard.jump) t += " shock-jump " + formatShortest(strength.shocks.jump);
    return t;
}
std::string SmoothLine::text() const { return "smooth " + smoothing.text(); }
std::string SmoothSpanLine::text() const {
    return "smooth-span " + std::to_string(first) + " " + std::to_string(last) + " " + smoothing.text() +
           (follow ? "" : " no-follow");
}
std::string TargetLine::text() const { return "target " + path; }
std::string KeepLiftLine::text() const { return on ? "keep-lift on" : "keep-lift off"; }
std::string WeakenShockLine::text() const {
    return "weaken-shock " + formatShortest(values.m1) + " " + formatShortest(values.width);
}
std::string ApplyLine::text() const {
    std::string t = "apply " + std::to_string(first) + " " + std::to_string(last);
    if (blend.fade) t += " fade";
    if (blend.weight != 1.0) t += " weight " + formatShortest(blend.weight);
    if (!blend.follow) t += " no-follow";
    return t;
}
std::string ImportLine::text() const { return "import " + path; }
std::string FlowLine::text() const { return (which == FlowValue::Mach ? "mach " : "alpha ") + formatShortest(value); }
std::string RevertLine::text() const { return "revert"; }

// ---- apply ---------------------------------------------------------------

OpResult SectionLine::apply(WingModel& w, ScriptState& st) const {
    if (w.nsec <= 0 || number < w.KTE1 || number > w.KTE1 + w.nsec - 1)
        return refused("section " + std::to_string(number) + " is not in the wing (" + std::to_string(w.KTE1) + ".." +
                       std::to_string(w.KTE1 + w.nsec - 1) + ")");
    return done(chooseSection(w, st.editing, number - w.KTE1 + 1));
}

OpResult SurfaceLine::apply(WingModel& w, ScriptState& st) const {
    if (!haveSection(w)) return refused("no section to work on");
    return done(chooseSurface(w, cur(w), surface, st.editing));
}

OpResult IntervalLine::apply(WingModel& w, ScriptState& st) const {
    if (!haveSection(w)) return refused("no section to work on");
    const int k = cur(w), s = activeSurfaceOf(w, k);
    const IntervalEnd start = s == 0 ? IntervalEnd::U1 : IntervalEnd::L1;
    const IntervalEnd end = s == 0 ? IntervalEnd::U2 : IntervalEnd::L2;
    // The start never passes the end: a start beyond the end as it is moves
    // the end first.
    const bool endFirst = std::int64_t(first) - w.ioff > intervalLast(w, k, s);
    Redraw r = setIntervalEnd(w, k, st.editing, endFirst ? end : start, endFirst ? last : first);
    const Redraw second = setIntervalEnd(w, k, st.editing, endFirst ? start : end, endFirst ? first : last);
    if (r.note.empty()) r.note = second.note;
    return done(r);
}

OpResult RegimeLine::apply(WingModel& w, ScriptState& st) const {
    if (!haveSection(w)) return refused("no section to work on");
    const int k = cur(w), s = activeSurfaceOf(w, k);
    Redraw r;
    if (hasInterval(mode)) {
        // "Cp edition" and "Cp interpolation" are the options of a Cp
        // correction, which the "Cp correction" radio starts in interpolation.
        if (!(isCorrected(w, k) && hasInterval(w.surfMode[k][s]))) r = chooseRegime(w, k, s, RegimeRadio::CpCorrection);
        r = chooseCpOption(w, k, s, mode == MODE_CP_EDITION ? CpOption::Edition : CpOption::Interpolation);
    } else {
        r = chooseRegime(w, k, s, radioOf(mode));
    }
    if (interval) {
        IntervalLine ends;
        ends.first = interval->first;
        ends.last = interval->second;
        const OpResult moved = ends.apply(w, st);
        r.note = moved.redraw.note;
    }
    return done(r);
}

OpResult CorrectionLine::apply(WingModel& w, ScriptState&) const {
    if (!haveSection(w)) return refused("no section to work on");
    return done(chooseSectionCorrection(w, cur(w), corrected));
}

OpResult PointLine::apply(WingModel& w, ScriptState&) const {
    if (!haveSection(w)) return refused("no section to work on");
    const int k = cur(w), s = activeSurfaceOf(w, k);
    if (!inCpEdition(w, k, s)) return refused(where(w) + " is not in Cp edition");
    const int p = int(std::int64_t(point) - w.ioff);
    if (std::int64_t(point) - w.ioff != p || !inInterval(w, k, s, p))
        return refused("point " + std::to_string(point) + " lies outside the interval " +
                       std::to_string(shownPoint(w, intervalFirst(w, k, s))) + ".." +
                       std::to_string(shownPoint(w, intervalLast(w, k, s))));
    choosePoint(w, k, s, point);
    const Redraw r = setPointCp(w, k, s, cp);
    if (!r.plot) return refused(r.note);
    return done(r);
}

OpResult SplineLine::apply(WingModel& w, ScriptState& st) const {
    if (!haveSection(w)) return refused("no section to work on");
    const int k = cur(w), s = activeSurfaceOf(w, k);
    if (on && !inCpEdition(w, k, s)) return refused(where(w) + " is not in Cp edition");
    return done(switchSpline(w, k, s, st.editing, on));
}

OpResult NsplLine::apply(WingModel& w, ScriptState& st) const {
    if (!haveSection(w)) return refused("no section to work on");
    if (count < WingModel::nsplMin || count > WingModel::nsplMax)
        return refused("nspl must lie in " + std::to_string(WingModel::nsplMin) + ".." +
                       std::to_string(WingModel::nsplMax));
    const int k = cur(w);
    return done(setSplineCount(w, k, activeSurfaceOf(w, k), st.editing, count));
}

OpResult ControlLine::apply(WingModel& w, ScriptState& st) const {
    if (!haveSection(w)) return refused("no section to work on");
    const int k = cur(w), s = activeSurfaceOf(w, k);
    if (!inSplineEditing(w, k, s)) return refused(where(w) + " is not in spline editing");
    if (index < 1 || index > w.nspl[k][s] - 2)
        return refused("control point " + std::to_string(index) + " is not one that moves (1.." +
                       std::to_string(w.nspl[k][s] - 2) + ")");
    Redraw r = setControlPoint(w, k, s, index, x ? *x : w.splX[index][k][s], value);
    dropStaleSelection(w, k, s, st.editing);
    return done(r);
}

OpResult ShapeLine::apply(WingModel& w, ScriptState& st) const {
    if (!haveSection(w)) return refused("no section to work on");
    const int k = cur(w), s = activeSurfaceOf(w, k);
    if (on && !inSplineEditing(w, k, s)) return refused(where(w) + " is not in spline editing");
    return done(switchShapeChange(w, k, s, st.editing, on));
}

OpResult SmoothLine::apply(WingModel& w, ScriptState& st) const {
    if (!haveSection(w)) return refused("no section to work on");
    const int k = cur(w), s = activeSurfaceOf(w, k);
    if (!canSmooth(w, k, s)) return refused(where(w) + " has no Cp edition interval to smooth");
    return done(smoothSurface(w, k, s, st.editing, smoothing.strength));
}

namespace {

std::string rangeFault(const WingModel& w, int first, int last) {
    const int lo = w.KTE1, hi = w.KTE1 + w.nsec - 1;
    if (first >= lo && first <= hi && last >= lo && last <= hi) return {};
    return "sections " + std::to_string(first) + ".." + std::to_string(last) + " reach beyond the wing's " +
           std::to_string(lo) + ".." + std::to_string(hi);
}

}  // namespace

OpResult SmoothSpanLine::apply(WingModel& w, ScriptState&) const {
    if (!haveSection(w)) return refused("no section to work on");
    const std::string fault = rangeFault(w, first, last);
    if (!fault.empty()) return refused(fault);
    return done(smoothAlongSpan(w, activeSurfaceOf(w, cur(w)), first, last, smoothing.strength, follow));
}

OpResult ApplyLine::apply(WingModel& w, ScriptState& st) const {
    if (!haveSection(w)) return refused("no section to work on");
    const std::string fault = rangeFault(w, first, last);
    if (!fault.empty()) return refused(fault);
    return done(applyToSections(w, cur(w), first, last, blend, st.rule));
}

OpResult TargetLine::apply(WingModel&, ScriptState& st) const {
    const std::string found = path.empty() || path[0] == '/' || st.directory.empty() ? path : st.directory + "/" + path;
    FileError error;
    if (!readCpInput(found, &error)) return refused(error.message());
    st.target = found;
    return {};
}

OpResult KeepLiftLine::apply(WingModel&, ScriptState& st) const {
    st.keepLift = on;
    return {};
}

OpResult WeakenShockLine::apply(WingModel& w, ScriptState& st) const {
    if (!haveSection(w)) return refused("no section to work on");
    const int k = cur(w), s = activeSurfaceOf(w, k);
    if (!inCpEdition(w, k, s)) return refused(where(w) + " is not in Cp edition");
    const Redraw r = weakenShock(w, k, s, values, st.rule, st.keepLift);
    if (!r.plot) return refused(r.note);
    return done(r);
}

std::vector<int> ImportLine::sections(const WingModel& w) const { return sectionsBetween(w, w.KTE1, w.KTE1 + w.nsec - 1); }

OpResult ImportLine::apply(WingModel& w, ScriptState& st) const {
    if (!haveSection(w)) return refused("no section to work on");
    const std::string found = path.empty() || path[0] == '/' || st.directory.empty() ? path : st.directory + "/" + path;
    FileError error;
    const std::optional<ImportResult> result = importRegimesFrom(w, found, &error);
    if (!result) return refused(error.message());
    Redraw r = showChangedSection(w, cur(w), st.editing);
    r.note = missingSectionsNote(*result, found);
    return done(r);
}

OpResult FlowLine::apply(WingModel& w, ScriptState&) const {
    const Redraw r = setFlowValue(w, which, value);
    if (!r.note.empty()) return refused(r.note);
    return done(r);
}

OpResult RevertLine::apply(WingModel& w, ScriptState& st) const {
    if (!haveSection(w)) return refused("no section to work on");
    return done(revertSection(w, cur(w), st.editing));
}

// ---- the script ----------------------------------------------------------

std::optional<DesignOp> nudgeOp(WingModel& w, int k, int s, EditingState& e, double dx, double dcp) {
    if (!isSurface(s) || !keepSectionOnSurfaces(w, k) || !std::isfinite(dx) || !std::isfinite(dcp)) return std::nullopt;
    dropStaleSelection(w, k, s, e);
    const int j = e.selectedControlPoint;
    if (j >= 1 && inSplineEditing(w, k, s)) {
        ControlLine op;
        op.index = j;
        op.value = w.splY[j][k][s] + dcp;
        if (dx != 0.0) op.x = w.splX[j][k][s] + dx;
        return op;
    }
    if (dcp == 0.0 || !inCpEdition(w, k, s) || w.splineOn[k][s] == 1) return std::nullopt;
    PointLine op;
    op.point = shownPoint(w, selectedPoint(w, k, s));
    op.cp = w.cpDes[selectedPoint(w, k, s) - 1][k] + dcp;
    return op;
}

ParsedLine parseScriptLine(const std::string& raw) {
    // A comment starts at "#" at the start of the line or after a space.
    std::string line = raw;
    for (std::size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || isSpace(line[i - 1]))) {
            line.resize(i);
            break;
        }
    line = trimmed(line);
    ParsedLine parsed;
    if (line.empty()) return parsed;
    std::istringstream in(line);
    std::string word;
    in >> word;
    // The path of an import or a target is the rest of the line.
    if (word == "import" || word == "target") {
        const std::string path = trimmed(line.substr(word.size()));
        if (path.empty())
            parsed.fault = word + " needs the path of a CpOutput file";
        else if (word == "import")
            parsed.op = ImportLine{path};
        else
            parsed.op = TargetLine{{}, path};
        return parsed;
    }
    Words args;
    for (std::string a; in >> a;) args.push_back(a);
    for (const LineKind& kind : kLineKinds)
        if (word == kind.word) {
            parsed.op = kind.parse(args, parsed.fault);
            if (!parsed.fault.empty()) parsed.fault = word + ": " + parsed.fault;
            return parsed;
        }
    parsed.fault = "unknown operation " + word;
    return parsed;
}

std::string scriptLine(const DesignOp& op) {
    return std::visit([](const auto& o) { return o.text(); }, op);
}

namespace {

// The operations that change design Cp by design: "Keep lift" keeps the
// lift of the sections they change, and the status line gets their change
// of lift and moment. A weakening puts its lift back itself.
bool isDesignMove(const DesignOp& op) {
    return std::holds_alternative<PointLine>(op) || std::holds_alternative<ControlLine>(op) ||
           std::holds_alternative<NsplLine>(op) || std::holds_alternative<SmoothLine>(op) ||
           std::holds_alternative<SmoothSpanLine>(op) || std::holds_alternative<ApplyLine>(op) ||
           std::holds_alternative<WeakenShockLine>(op);
}

}  // namespace

OpResult applyOp(const DesignOp& op, WingModel& w, ScriptState& st) {
    auto apply = [&] { return std::visit([&](const auto& o) { return o.apply(w, st); }, op); };
    if (!isDesignMove(op) || !haveSection(w)) return apply();
    std::vector<int> ks{cur(w)};
    for (int k : sectionsOf(op, w))
        if (k != ks.front()) ks.push_back(k);
    OpResult result;
    const bool keep = st.keepLift && !std::holds_alternative<WeakenShockLine>(op);
    const Redraw r = keepingLift(w, ks, keep, st.rule, [&] {
        result = apply();
        return result.redraw;
    });
    if (result.fault.empty()) result.redraw = r;
    return result;
}

std::vector<int> sectionsOf(const DesignOp& op, const WingModel& w) {
    return std::visit([&](const auto& o) { return o.sections(w); }, op);
}

Script readScript(const std::string& path) {
    Script script;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        script.fault = path + ": cannot be read";
        return script;
    }
    // A relative path in the script is found from the script's folder, and
    // kept so in the operation (and in a journal that records it).
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        ParsedLine parsed = parseScriptLine(line);
        if (!parsed.fault.empty()) {
            script.fault = path + ":" + std::to_string(number) + ": " + parsed.fault;
            return script;
        }
        if (!parsed.op) continue;
        if (auto* import = std::get_if<ImportLine>(&*parsed.op); import && import->path[0] != '/')
            import->path = directory + import->path;
        if (auto* target = std::get_if<TargetLine>(&*parsed.op); target && target->path[0] != '/')
            target->path = directory + target->path;
        script.ops.emplace_back(number, std::move(*parsed.op));
    }
    return script;
}

std::string runScript(WingModel& wing, const std::string& path) {
    const Script script = readScript(path);
    if (!script.fault.empty()) return script.fault;
    ScriptState state;
    for (const auto& [number, op] : script.ops) {
        const OpResult r = applyOp(op, wing, state);
        if (!r.fault.empty()) return path + ":" + std::to_string(number) + ": " + r.fault;
    }
    return {};
}

std::string journalEntry(const WingModel& w, const ScriptState& st, const DesignOp& op) {
    if (std::holds_alternative<SectionLine>(op) || std::holds_alternative<SurfaceLine>(op) ||
        std::holds_alternative<KeepLiftLine>(op) || w.nsec <= 0)
        return {};
    const int k = cur(w);
    return "section " + std::to_string(w.KTE1 + k) + "\nsurface " + surfaceWord(activeSurfaceOf(w, k)) + "\n" +
           KeepLiftLine{{}, st.keepLift}.text() + "\n" + scriptLine(op) + "\n";
}

std::string journalText(const std::vector<std::string>& entries, const std::string& wingPath) {
    std::string out = "# Quarvel design script: the operations on " + wingPath + " since it was opened\n";
    std::string section, surface, keepLift = KeepLiftLine{{}, false}.text();
    for (const std::string& entry : entries) {
        std::istringstream in(entry);
        for (std::string line; std::getline(in, line);) {
            // The surface edited belongs to its section: a new section line
            // makes the surface line count again.
            if (line.rfind("section ", 0) == 0) {
                if (line == section) continue;
                section = line;
                surface.clear();
            } else if (line.rfind("surface ", 0) == 0) {
                if (line == surface) continue;
                surface = line;
            } else if (line.rfind("keep-lift ", 0) == 0) {
                if (line == keepLift) continue;
                keepLift = line;
            }
            out += line + "\n";
        }
    }
    return out;
}

std::string journalPathFor(const std::string& savedPath) {
    const std::size_t slash = savedPath.rfind('/');
    const std::size_t dot = savedPath.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > 0 && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? savedPath.substr(0, dot) : savedPath) + ".qvs";
}

}  // namespace quarvel
