// The set-up of the last design cycle carried onto a new wing: each section
// takes, from the section with the same file number in an earlier CpOutput,
// its correction flag, regimes and intervals (the same file point numbers)
// and, for "Cp edition" surfaces, its design Cp.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "wing/CpFiles.h"
#include "wing/WingModel.h"

namespace quarvel {

struct ImportResult {
    std::vector<int> sections;  // indices k that took a set-up
    std::vector<int> missing;   // file numbers of the sections the old wing lacks
};

// Carries old's set-up onto wing. A "Cp edition" surface takes the old
// design Cp over its interval and its own input Cp elsewhere; where the chord
// positions of the two differ, the old design Cp is interpolated linearly
// along the old surface (and held at its ends). The other surfaces keep
// their design Cp, as a change of regime by hand does. Sections that old
// lacks are left as they are. The current section keeps its number.
ImportResult importRegimes(WingModel& wing, const WingModel& old);

// The same from the file at path, read like any wing; nothing when it
// cannot be read (error says why).
std::optional<ImportResult> importRegimesFrom(WingModel& wing, const std::string& path, FileError* error);

// "Sections 1, 14..201 are not in OLD.cpd and stay as they are." for the
// sections an import left alone; empty when there are none.
std::string missingSectionsNote(const ImportResult& result, const std::string& oldPath);

}  // namespace quarvel
