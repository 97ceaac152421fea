// Small wings whose every number can be followed by hand: rowWing, and
// panelTestWing for the panel and editing tests:
//
// ITE1 = 11, so ioff = 10 and a spinner shows point p as p + 10; npt = 20,
// nhalf = 10, two sections (or as many as asked, numbered from 1). Row r
// (0..9) has X = r/10; upper point 11 + r, lower point 10 - r. Limits: u1Min
// 13, u2Max 17, l1Min 4, l2Max 8, which are also the intervals; upperPoint
// 15, lowerPoint 6; Nspl 4, spline off, activeSurface 0, section corrected.
#pragma once

#include "wing/CpFiles.h"
#include "wing/WingModel.h"

namespace quarvel::test {

// Input Cp of row r in section 0 (section 1 adds 1): not linear on the upper
// surface, so that a straight spline is told apart from the data.
inline double upperCp(int r) { return r / 10.0 - 1.0 + (r % 2 ? 0.05 : 0.0); }
inline double lowerCp(int r) { return 0.5 - r / 20.0; }

// A wing of nsec sections with nhalf point rows a surface: row r at X = x(r),
// upper contour index nhalf + r, lower nhalf - 1 - r (and one unused index
// more when odd); initial and design Cp of index i in section k are cp(i, k).
// Intervals at their limits (upper nhalf + 3 .. 2 nhalf - 3, lower 4 ..
// nhalf - 2), the points in their middle, Nspl 4.
template <typename X, typename Cp>
WingModel rowWing(int nhalf, int nsec, X x, Cp cp, bool odd = false) {
    WingModel w;
    w.ITE1 = w.KTE1 = 1;
    w.ITE2 = 1 + 2 * nhalf + (odd ? 1 : 0);
    w.KTE2 = w.nsec = nsec;
    w.npt = w.ITE2 - w.ITE1;
    w.nhalf = nhalf;
    w.allocate();
    w.l1Min = 4, w.l2Max = nhalf - 2, w.u1Min = nhalf + 3, w.u2Max = 2 * nhalf - 3;
    for (int r = 0; r < nhalf; ++r)
        for (int k = 0; k < nsec; ++k) w.X[nhalf + r][k] = w.X[nhalf - 1 - r][k] = x(r);
    for (int k = 0; k < nsec; ++k) {
        for (int i = 0; i < 2 * nhalf; ++i) w.cpInit[i][k] = w.cpDes[i][k] = cp(i, k);
        w.u1[k] = w.u1Min, w.u2[k] = w.u2Max, w.l1[k] = w.l1Min, w.l2[k] = w.l2Max;
        w.upperPoint[k] = (w.u1[k] + w.u2[k]) / 2;
        w.lowerPoint[k] = (w.l1[k] + w.l2[k]) / 2;
        w.nspl[k] = {4, 4};
    }
    w.curSection = 1;
    return w;
}

inline WingModel panelTestWing(int upperMode, int lowerMode, int sections = 2) {
    WingModel w = rowWing(10, sections, [](int r) { return r / 10.0; },
                          [](int i, int k) { return (i >= 10 ? upperCp(i - 10) : lowerCp(9 - i)) + k; });
    w.ITE1 = 11;
    w.ITE2 = 31;
    deriveSections(w);
    for (int k = 0; k < sections; ++k) {
        w.surfMode[k] = {upperMode, lowerMode};
        w.RU[k] = codeOfMode(upperMode);
        w.RL[k] = codeOfMode(lowerMode);
    }
    return w;
}

}  // namespace quarvel::test
