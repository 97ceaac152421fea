// The small dialogs of the design tools: a range of sections (by file
// section number) with a blend, or with a smoothing strength. Each returns
// false when the user cancels and leaves the values as they were.
#pragma once

#include <fx.h>

#include "correction/SpanTools.h"

namespace quarvel {

// A range of sections, file numbers first..last; the spinners offer the
// wing's numbers lowest..highest.
struct SectionRange {
    int first = 0, last = 0;
};

// "Apply to sections...": the range and the blend (weight, fade or not).
bool askApplyToSections(FXWindow* owner, int lowest, int highest, SectionRange& range, Blend& blend);

// "Smooth along the span": the range and the number of passes.
bool askSmoothAlongSpan(FXWindow* owner, int lowest, int highest, SectionRange& range, SmoothStrength& strength);

// "Shock settings": the slope and the jump of the shock rule.
bool askShockRule(FXWindow* owner, ShockRule& rule);

// The shock rule kept in the registry (the default where none is, or where
// a value is out of range), and keeping one there.
ShockRule readShockRule(FXRegistry& reg);
void writeShockRule(FXRegistry& reg, const ShockRule& rule);

}  // namespace quarvel
