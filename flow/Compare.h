// The last design cycle's target beside what the design solver achieved: a
// new wing (its initial Cp is what the reshaped wing gives) against the
// CpOutput that was its target. Sections are matched by their file number;
// each "Cp edition" surface of a corrected target section is compared over
// its interval. The residual at a point of the new wing is its initial Cp
// minus the target's design Cp there, the target interpolated linearly in
// chord position along its interval (each section's own X) where the two
// wings' stations differ.
#pragma once

#include <string>
#include <vector>

#include "wing/WingModel.h"

namespace quarvel {

struct SurfaceComparison {
    int surface = 0;  // 0 upper, 1 lower
    // The target: the design Cp of the target's interval, in increasing x.
    std::vector<double> targetX, targetCp;
    // The new wing's points that lie within the interval's chord range, in
    // increasing x: their contour indices, chord positions and residuals.
    std::vector<int> points;
    std::vector<double> x, residual;
    // sqrt(mean(residual^2)), the largest |residual| and the first x where
    // it is reached; 0 when no point was compared.
    double rms = 0.0, maxAbs = 0.0, xAtMax = 0.0;

    int count() const { return int(points.size()); }
};

struct SectionComparison {
    int number = 0;  // the file's section number
    int k = -1;      // index in the new wing
    int target = -1;  // index in the target
    std::vector<SurfaceComparison> surfaces;  // those in "Cp edition" in the target, upper first
};

struct WingComparison {
    std::vector<SectionComparison> sections;  // by section number
    // File numbers of the target's sections with a "Cp edition" surface
    // that the new wing lacks.
    std::vector<int> missing;

    // The comparison of the new wing's section k; null when it has none.
    const SectionComparison* ofSection(int k) const;
};

// Surface s of section k of wing against surface s of section o of target
// over the target's interval (which must be that of a "Cp edition" surface).
SurfaceComparison compareSurface(const WingModel& wing, int k, const WingModel& target, int o, int s);

// Every section of target with a "Cp edition" surface against the section
// of wing with the same number.
WingComparison compareWithTarget(const WingModel& wing, const WingModel& target);

// "section,z,surface,points,rms,max_abs,x_at_max" and one row per compared
// surface, by section, upper first; z of the new wing, numbers in their
// shortest exact form (the last three empty when no point was compared).
std::string formatComparisonCsv(const WingModel& wing, const WingComparison& comparison);

// "Sections 3, 7..9 of OLD.cpd are not in NEW.cpi and are not compared."
// for the target's sections the new wing lacks; empty when there are none.
std::string missingTargetNote(const WingComparison& comparison, const std::string& targetPath,
                              const std::string& wingPath);

// The residual RMS of each section along the span, upper and lower surface
// (NaN where a surface was not compared), for the spanload.
struct ResidualSpan {
    std::vector<double> z;
    std::vector<double> rmsUpper, rmsLower;
};
ResidualSpan residualAlongSpan(const WingModel& wing, const WingComparison& comparison);

// What the status line says of a section's comparison: "Target upper: RMS
// 0.0123, max 0.0456 at X = 0.4120" for each compared surface, or "No target
// for this section" without one.
std::string residualSummary(const SectionComparison* comparison);

}  // namespace quarvel
