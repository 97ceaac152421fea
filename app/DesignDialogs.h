// The small dialogs of the design tools: a range of sections (by file
// section number) with a blend, or with a smoothing strength. Each returns
// false when the user cancels and leaves the values as they were.
#pragma once

#include <fx.h>

#include "correction/FlowMoves.h"
#include "correction/SpanTools.h"

namespace quarvel {

// A range of sections, file numbers first..last; the spinners offer the
// wing's numbers lowest..highest.
struct SectionRange {
    int first = 0, last = 0;
};

// "Apply to sections...": the range and the blend (weight, fade or not,
// following the shock or not).
bool askApplyToSections(FXWindow* owner, int lowest, int highest, SectionRange& range, Blend& blend);

// "Smooth along the span": the range, the number of passes and whether the
// smoothing follows the shock.
bool askSmoothAlongSpan(FXWindow* owner, int lowest, int highest, SectionRange& range, SmoothStrength& strength,
                        bool& follow);

// "Weaken shock...": the local Mach number wanted ahead of the shock, the
// width of the compression, and the range (the current section alone at
// first) with its blend over which the change is carried.
bool askWeakenShock(FXWindow* owner, int lowest, int highest, SectionRange& range, WeakenShock& values, Blend& blend);

// "Shock settings": the slope and the jump of the shock rule.
bool askShockRule(FXWindow* owner, ShockRule& rule);

// The shock rule kept in the registry (the default where none is, or where
// a value is out of range), and keeping one there.
ShockRule readShockRule(FXRegistry& reg);
void writeShockRule(FXRegistry& reg, const ShockRule& rule);

}  // namespace quarvel
