// A small wing whose every number can be followed by hand, for the panel and
// editing tests.
//
// ITE1 = 11, so ioff = 10 and a spinner shows point p as p + 10; npt = 20,
// nhalf = 10, two sections (or as many as asked, numbered from 1). Row r
// (0..9) has X = r/10; upper point 11 + r,
// lower point 10 - r. Limits: u1Min 13, u2Max 17, l1Min 4, l2Max 8, which are
// also the intervals; upperPoint 15, lowerPoint 6; Nspl 4, spline off,
// activeSurface 0, section corrected.
#pragma once

#include "wing/CpFiles.h"
#include "wing/WingModel.h"

namespace quarvel::test {

// Input Cp of row r in section 0 (section 1 adds 1): not linear on the upper
// surface, so that a straight spline is told apart from the data.
inline double upperCp(int r) { return r / 10.0 - 1.0 + (r % 2 ? 0.05 : 0.0); }
inline double lowerCp(int r) { return 0.5 - r / 20.0; }

inline WingModel panelTestWing(int upperMode, int lowerMode, int sections = 2) {
    WingModel w;
    w.ITE1 = 11;
    w.ITE2 = 31;
    w.KTE1 = 1;
    w.KTE2 = sections;
    w.npt = 20;
    w.nsec = sections;
    w.nhalf = 10;
    w.allocate();
    for (int r = 0; r < 10; ++r) {
        w.X[10 + r] = w.X[9 - r] = r / 10.0;
        for (int k = 0; k < sections; ++k) {
            w.cpInit[10 + r][k] = w.cpDes[10 + r][k] = upperCp(r) + k;
            w.cpInit[9 - r][k] = w.cpDes[9 - r][k] = lowerCp(r) + k;
        }
    }
    deriveSections(w);
    for (int k = 0; k < sections; ++k) {
        w.surfMode[k] = {upperMode, lowerMode};
        w.RU[k] = codeOfMode(upperMode);
        w.RL[k] = codeOfMode(lowerMode);
    }
    w.curSection = 1;
    return w;
}

}  // namespace quarvel::test
