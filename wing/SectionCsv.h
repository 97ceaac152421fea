// One section's Cp as comma-separated values, for spreadsheets and other
// plotting programs.
#pragma once

#include <string>

#include "wing/WingModel.h"

namespace quarvel {

// A header row, then one row per point row of the file (from the leading
// edge): X, then the initial and the design Cp of the upper and of the lower
// surface of section k. Numbers have six decimals and a decimal point,
// whatever the locale. Empty when k is not a section.
std::string formatSectionCsv(const WingModel& wing, int k);

}  // namespace quarvel
