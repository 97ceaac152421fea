// The design script: every design operation as a small value with a one-line
// text form. The window builds an operation from its widgets and applies it,
// a script file is parsed into the same operations, and the undo history
// keeps each applied operation's line for the journal written beside a save.
// One path for window, script, undo and journal.
//
// Numbers are as in the file: sections by their file number, points as the
// spinners show them (point + ioff). An operation acts on the current section
// and its active surface, as the window's commands do; `section` and
// `surface` choose them.
//
// Adding a line: a struct below with text() and apply() (and sections() when
// it changes more than the current section: derive from ManySections), its
// name in the DesignOp variant, and a row {word, parse} in the parser table of
// DesignScript.cpp.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "correction/CorrectionPanel.h"
#include "correction/FlowMoves.h"
#include "correction/Editing.h"
#include "correction/SpanTools.h"
#include "correction/Smoothing.h"
#include "wing/WingModel.h"

namespace quarvel {

// What a script carries from one line to the next besides the wing.
struct ScriptState {
    EditingState editing;
    // "Keep lift": every design operation keeps the design lift of each
    // section it changes; keep-lift lines set it.
    bool keepLift = false;
    // The rule that finds the shocks the design moves follow and keep.
    ShockRule rule;
    // The target the wing is compared with (target lines), found already.
    std::string target;
    // A relative path of an operation is found from here (the working
    // directory when empty); readScript has made a script's paths relative to
    // the script's folder already.
    std::string directory;
};

// What applying an operation did: what to redraw, and why it was refused
// (empty when it was not). A refused operation leaves the wing as it was.
struct OpResult {
    Redraw redraw;
    std::string fault;
};

// The section indices an operation changes besides the current one.
struct OneSection {
    std::vector<int> sections(const WingModel&) const { return {}; }
};

// section N: the section numbered N becomes the current one.
struct SectionLine : OneSection {
    int number = 0;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// surface upper|lower: the surface edited in the current section.
struct SurfaceLine : OneSection {
    int surface = 0;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// regime none|edition|interpolation|geometry|thickness|max-thickness [FROM TO]:
// the regime of the surface (a regime other than none corrects the section),
// with the interval FROM..TO for the two Cp corrections.
struct RegimeLine : OneSection {
    int mode = MODE_NONE;
    std::optional<std::pair<int, int>> interval;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// interval FROM TO: the interval of the surface ("U1=" / "U2=", "L1=" / "L2=").
struct IntervalLine : OneSection {
    int first = 0, last = 0;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// correction yes|no: "Yes sec. correction" / "No sec. correction".
struct CorrectionLine : OneSection {
    bool corrected = true;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// point P CP: the design Cp of point P ("I=" and "Cpd=").
struct PointLine : OneSection {
    int point = 0;
    double cp = 0.0;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// spline on|off: "Spline interp.".
struct SplineLine : OneSection {
    bool on = true;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// nspl N: "Nspl=".
struct NsplLine : OneSection {
    int count = 0;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// control J VALUE [X]: control point J (1 .. Nspl-2, counted from the
// interval's start; 0 and Nspl-1 are the fixed ends) to VALUE, the change
// while "Shape the change" is on and the Cp otherwise, and to chord position
// X (kept between its neighbours) when given: a drag or a nudge.
struct ControlLine : OneSection {
    int index = 0;
    double value = 0.0;
    std::optional<double> x;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// shape on|off: "Shape the change".
struct ShapeLine : OneSection {
    bool on = true;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// The smoothing words that smooth and smooth-span share: [PASSES]
// [through-shocks] [shock-slope S] [shock-jump J].
struct SmoothWords {
    SmoothStrength strength;
    std::string text() const;
};

// smooth [PASSES] [through-shocks] ...: "Smooth".
struct SmoothLine : OneSection {
    SmoothWords smoothing;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// Operations over a range of sections: first and last by file number.
struct ManySections {
    int first = 0, last = 0;
    std::vector<int> sections(const WingModel& w) const { return sectionsBetween(w, first, last); }
};

// smooth-span FIRST LAST [PASSES] [through-shocks] ... [follow-shock|no-follow]:
// "Smooth along the span", following each section's shocks unless no-follow.
struct SmoothSpanLine : ManySections {
    SmoothWords smoothing;
    bool follow = true;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// apply FIRST LAST [fade] [weight W] [follow-shock|no-follow]: "Apply to
// sections...", the change carried along each section's shock unless
// no-follow.
struct ApplyLine : ManySections {
    Blend blend;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// import OLD.cpd: "Import regimes from...".
struct ImportLine {
    std::string path;
    std::vector<int> sections(const WingModel& w) const;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// mach V, alpha V: the planform's "Mach=" and "Alpha=".
struct FlowLine : OneSection {
    FlowValue which = FlowValue::Mach;
    double value = 0.0;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// keep-lift on|off: "Keep lift" for the design operations that follow.
struct KeepLiftLine : OneSection {
    bool on = true;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// weaken-shock M1 [WIDTH]: "Weaken shock..." on the rear-most shock of the
// surface's interval, the compression spread over WIDTH of the chord.
struct WeakenShockLine : OneSection {
    WeakenShock values;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// target OLD.cpd: "Compare with target...": the wing is compared with the
// CpOutput at OLD.cpd (the rest of the line), which must be readable; the
// wing does not change.
struct TargetLine : OneSection {
    std::string path;
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

// revert: "Revert section".
struct RevertLine : OneSection {
    std::string text() const;
    OpResult apply(WingModel& w, ScriptState& st) const;
};

using DesignOp = std::variant<SectionLine, SurfaceLine, RegimeLine, IntervalLine, CorrectionLine, PointLine,
                              SplineLine, NsplLine, ControlLine, ShapeLine, SmoothLine, SmoothSpanLine, ApplyLine,
                              ImportLine, FlowLine, RevertLine, KeepLiftLine, WeakenShockLine,
                              TargetLine>;

// A line of a script: an operation, nothing (blank or a comment: "#" at the
// start or after a space starts one), or why it cannot be read.
struct ParsedLine {
    std::optional<DesignOp> op;
    std::string fault;
};
ParsedLine parseScriptLine(const std::string& line);

// The line that parses back into op (numbers as the file reads them, exact).
std::string scriptLine(const DesignOp& op);

// Applies op to the wing: what the window's command does.
OpResult applyOp(const DesignOp& op, WingModel& wing, ScriptState& state);

// The sections (indices k) op may change besides the current one, for undo.
std::vector<int> sectionsOf(const DesignOp& op, const WingModel& wing);

// The operation an arrow key makes on surface s of section k (the current
// one): the selected control point moved by dx along the chord and dcp in
// value, or, while the surface is edited point by point, the selected point's
// design Cp moved by dcp. Nothing when there is nothing to nudge.
std::optional<DesignOp> nudgeOp(WingModel& wing, int k, int s, EditingState& e, double dx, double dcp);

// A script read whole: each operation with its line number, or the first
// fault as "SCRIPT:LINE: reason". A relative import path is made relative to
// the script's folder.
struct Script {
    std::vector<std::pair<int, DesignOp>> ops;
    std::string fault;
};
Script readScript(const std::string& path);

// Runs the script at path on the wing (its directory finds relative paths):
// every operation in turn. Returns "" or, at the first line that cannot be
// read or is refused, "SCRIPT:LINE: reason"; the wing is then half done.
std::string runScript(WingModel& wing, const std::string& path);

// The journal entry of op applied to the wing as it is now: the lines
// "section N", "surface S" and "keep-lift on|off" that put it where and how
// it acts, then its own line. Empty for section, surface and keep-lift,
// which only set how the next acts.
std::string journalEntry(const WingModel& wing, const ScriptState& state, const DesignOp& op);

// A script of the entries in order, each section or surface line dropped
// where it repeats the one before, under a comment naming the wing.
std::string journalText(const std::vector<std::string>& entries, const std::string& wingPath);

// Where the journal of a save to savedPath goes: the same name with ".qvs".
std::string journalPathFor(const std::string& savedPath);

}  // namespace quarvel
