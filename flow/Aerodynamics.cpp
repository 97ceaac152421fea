#include "flow/Aerodynamics.h"

#include <cmath>
#include <limits>

namespace quarvel {

double sonicCp(double mach) {
    if (!(mach > 0.0999)) return -67.0;
    const double m2 = mach * mach;
    return (0.5282817877171742 * std::pow(1.0 + 0.2 * m2, 3.5) - 1.0) / (0.7 * m2);
}

double localMach(double cp, double mach) {
    const double m2 = mach * mach;
    const double p = 1.0 + kGamma * m2 * cp / 2;  // p / p-infinity
    if (!(p > 0.0)) return std::numeric_limits<double>::infinity();
    const double p0 = std::pow(1.0 + (kGamma - 1) / 2 * m2, kGamma / (kGamma - 1));
    const double ratio = std::pow(p0 / p, (kGamma - 1) / kGamma) - 1.0;
    return ratio > 0.0 ? std::sqrt(2.0 / (kGamma - 1) * ratio) : 0.0;
}

double cpAtLocalMach(double m, double mach) {
    const double m2 = mach * mach;
    const double e = kGamma / (kGamma - 1);
    const double p0 = std::pow(1.0 + (kGamma - 1) / 2 * m2, e);
    const double p = p0 / std::pow(1.0 + (kGamma - 1) / 2 * m * m, e);
    return (p - 1.0) / (kGamma * m2 / 2);
}

double sectionMoment(const WingModel& w, const Grid<double>& cp, int k) {
    const int p = w.nhalf;
    // (lower - upper) Cp times the arm ahead of the quarter chord at row j.
    auto load = [&](int j) { return (cp[p - 1 - j][k] - cp[p + j][k]) * (0.25 - w.X[p + j][k]); };
    double cm = 0.0;
    for (int j = 0; j <= p - 2; ++j) cm += (load(j) + load(j + 1)) / 2 * (w.X[p + j + 1][k] - w.X[p + j][k]);
    return cm;
}

}  // namespace quarvel
