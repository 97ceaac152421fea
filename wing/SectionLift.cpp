#include "wing/SectionLift.h"

namespace quarvel {

double sectionLift(const WingModel& w, const Grid<double>& cp, int k) {
    const int p = w.nhalf;
    double cy = 0.0;
    for (int j = 0; j <= p - 2; ++j) {
        const double lower = (cp[p - 1 - j][k] + cp[p - 2 - j][k]) / 2;
        const double upper = (cp[p + j][k] + cp[p + j + 1][k]) / 2;
        cy += (lower - upper) * (w.X[p + j + 1][k] - w.X[p + j][k]);
    }
    return cy;
}

}  // namespace quarvel
