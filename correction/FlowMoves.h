// Design moves that follow the flow: a change carried from one section to
// another along the chord so that it keeps its place relative to the shock,
// the design lift of a section kept through an edit, and a shock weakened in
// one step. Everything acts on the section k and surface s it is given; each
// function is one design step, with its values in a plain struct.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "correction/CorrectionPanel.h"
#include "flow/Shocks.h"
#include "wing/WingModel.h"

namespace quarvel {

// The chord positions of the two ends of the interval of surface s of
// section k (the ends in chord order).
struct ChordSpan {
    double first = 0.0, last = 0.0;
};
ChordSpan intervalSpan(const WingModel& wing, int k, int s);

// The rear-most shock of surface s of section k strictly inside its
// interval, in the initial or design Cp.
std::optional<Shock> rearShockInInterval(const WingModel& wing, int k, int s, CpSource source,
                                         const ShockRule& rule);

// A piecewise-linear map of chord positions from one section (the source)
// onto another (the target): the source's interval ends onto the target's
// and, when it follows the shocks, the source's shocks onto the target's.
struct ChordMap {
    // Knots, increasing, the same count: the interval ends and between them,
    // for each shock followed, the first point of its run and the shock.
    std::vector<double> from, to;
    std::vector<double> shocks;  // the source's shocks followed
    bool followsShock() const { return !shocks.empty(); }
    // The source's position of target position x (held at the ends).
    double toSource(double x) const;
};

// The map from section c onto section k for surface s. With follow, and
// when both sections have a shock of their initial Cp strictly inside their
// intervals, the rear-most shock goes onto the rear-most, and every shock
// onto its own when both have as many (the two legs of a lambda): the first
// point of its run onto the first point of the other's, its position onto
// the other's. Otherwise the plain map of interval ends.
ChordMap chordMap(const WingModel& wing, int c, int k, int s, bool follow, const ShockRule& rule);

// The change of design Cp (design - initial) of surface s of section c at
// its chord position x, interpolated linearly between its interval points.
// With a shock map, only the points between the same two shocks followed
// (or a shock and an interval end) as x count, held beyond the last of
// them, so a change never leaks across a jump.
double changeAt(const WingModel& wing, int c, int s, double x, const ChordMap& map);

// --- Keeping the lift ---------------------------------------------------

// Section lift (the spanload's cl) and quarter-chord moment of a Cp grid.
struct LiftMoment {
    double cl = 0.0, cm = 0.0;
};
LiftMoment liftMoment(const WingModel& wing, const Grid<double>& cp, int k);

// Brings the design lift of section k back to cl by adding a half-sine bump
// to the design Cp of surface s (a corrected "Cp edition" surface). The bump
// spans the widest stretch of the interval between two anchored points
// (anchored: flag set in anchors, a contour-index flag vector; the interval
// ends and the points of every shock run of the design Cp are always
// anchored) and is zero at both ends of it, so no anchored point moves. While
// "Shape the change" is on the bump is added to the shape's base as well.
// False, and nothing changed, when no stretch holds a free point or the
// widest is narrower than the share narrowest of the interval's chord.
bool restoreLift(WingModel& wing, int k, int s, double cl, std::vector<char> anchors, const ShockRule& rule,
                 double narrowest = 0.0);

// Runs one design operation on the sections ks (the current section first)
// and, with keepLift, restores the design lift of every section whose
// design Cp it changed: on the first surface in "Cp edition" whose design Cp
// changed (upper first), over the part of its interval the operation did not
// touch, or over the whole interval when it touched every point or left no
// untouched stretch of a quarter of the interval's chord (a narrow stretch
// would take the lift as a spike). The note of the operation gets
// "dcl=... dcm=..." of the current section added.
Redraw keepingLift(WingModel& wing, const std::vector<int>& ks, bool keepLift, const ShockRule& rule,
                   const std::function<Redraw()>& operation);

// --- Weakening a shock --------------------------------------------------

struct WeakenShock {
    static constexpr double kDefaultM1 = 1.15;
    static constexpr double kDefaultWidth = 0.10;
    double m1 = kDefaultM1;        // local Mach number wanted ahead of the shock (1.0 at least)
    double width = kDefaultWidth;  // chord over which the compression is spread
};

// "Weaken shock...": the rear-most shock of the design Cp inside the
// interval of surface s of section k gets the local Mach number m1 ahead of
// it. The Cp at the foot of the shock (the start of its steepest segment)
// is raised to the Cp of m1, the part of the run ahead of the foot is
// levelled, and the rise is spread over the chord width ending at the
// shock's position, starting with zero slope on the design Cp ahead. With
// keepLift the lift lost is put back ahead of the compression. The note
// tells when there is no shock to weaken or it is already as weak.
Redraw weakenShock(WingModel& wing, int k, int s, const WeakenShock& values, const ShockRule& rule, bool keepLift);

}  // namespace quarvel
