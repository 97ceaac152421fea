#include "correction/SurfaceSpline.h"

#include <vector>

#include "correction/Akima.h"
#include "correction/MonotoneCubic.h"

namespace quarvel {

bool linearCpAt(const WingModel& w, int k, int s, double x, double& cpOut) {
    // X(p) and c(p) of 1-based point p.
    auto X = [&](int p) { return w.X[p - 1][k]; };
    auto c = [&](int p) { return w.cpDes[p - 1][k]; };
    bool found = false;
    if (s == 1) {
        for (int p = 2; p <= w.nhalf; ++p)
            if (X(p) < x && x <= X(p - 1)) {
                cpOut = c(p - 1) + (c(p) - c(p - 1)) * (x - X(p - 1)) / (X(p) - X(p - 1));
                found = true;
            }
    } else {
        // The last upper point is 2*nhalf: with an odd npt the index after it holds no row.
        for (int p = w.nhalf + 1; p < 2 * w.nhalf; ++p)
            if (X(p) < x && x <= X(p + 1)) {
                cpOut = c(p) + (c(p + 1) - c(p)) * (x - X(p)) / (X(p + 1) - X(p));
                found = true;
            }
    }
    return found;
}

void placeSplinePoints(WingModel& w, int k, int s, int count, double x0, double x1, double cp0, double cp1) {
    if (count < 2 || count > WingModel::nsplMax) return;
    const double step = (x1 - x0) / (count - 1);
    for (int j = 1; j <= count - 2; ++j) {
        w.splX[j][k][s] = j * step + x0;
        linearCpAt(w, k, s, w.splX[j][k][s], w.splY[j][k][s]);
    }
    w.splX[0][k][s] = x0;
    w.splY[0][k][s] = cp0;
    w.splX[count - 1][k][s] = x1;
    w.splY[count - 1][k][s] = cp1;
}

void placeSurfaceSplinePoints(WingModel& w, int k, int s) {
    // Contour indices of the points just outside the interval, smaller X first.
    const int first = s == 0 ? w.u1[k] - 2 : w.l2[k];
    const int last = s == 0 ? w.u2[k] : w.l1[k] - 2;
    if (w.shapeOn[k][s] != 1) {
        placeSplinePoints(w, k, s, w.nspl[k][s], w.X[first][k], w.X[last][k], w.cpDes[first][k], w.cpDes[last][k]);
        return;
    }
    // The change starts from nothing on the design Cp as it now stands, and
    // its end points sit on the interval's end points, where it stays 0.
    w.shapeBase[k][s].assign(w.cpDes.column(k), w.cpDes.column(k) + w.npt);
    const int start = s == 0 ? w.u1[k] - 1 : w.l2[k] - 1;
    const int end = s == 0 ? w.u2[k] - 1 : w.l1[k] - 1;
    placeSplinePoints(w, k, s, w.nspl[k][s], w.X[start][k], w.X[end][k], 0.0, 0.0);
    for (int j = 0; j < w.nspl[k][s]; ++j) w.splY[j][k][s] = 0.0;
}

bool applySurfaceSpline(WingModel& w, int k, int s) {
    const int n = w.nspl[k][s];
    if (n < 2 || n > WingModel::nsplMax) return false;
    double cx[WingModel::nsplMax], cy[WingModel::nsplMax];
    for (int j = 0; j < n; ++j) {
        cx[j] = w.splX[j][k][s];
        cy[j] = w.splY[j][k][s];
    }
    // Contour index of the first rewritten point and the step along the
    // surface, so that the abscissae increase.
    const int first = s == 0 ? w.u1[k] - 1 : w.l2[k] - 1;
    const int step = s == 0 ? 1 : -1;
    const int count = s == 0 ? w.u2[k] - w.u1[k] + 1 : w.l2[k] - w.l1[k] + 1;
    if (count <= 0) return true;
    std::vector<double> u(static_cast<std::size_t>(count)), v(static_cast<std::size_t>(count));
    for (int j = 0; j < count; ++j) u[j] = w.X[first + j * step][k];
    const std::vector<double>& base = w.shapeBase[k][s];
    const bool shaping = w.shapeOn[k][s] == 1 && base.size() == std::size_t(w.npt);
    if (shaping) {
        // The change keeps its word: 0 at the interval's ends, and between
        // its control points never beyond their values.
        if (!monotoneCubicInterpolate(n, cx, cy, count, u.data(), v.data())) return false;
    } else {
        int code = 0;
        akimaInterpolate(n, cx, cy, count - 1, u.data(), v.data(), code);
        if (code != 0) return false;
    }
    for (int j = 0; j < count; ++j) {
        const int i = first + j * step;
        w.cpDes[i][k] = shaping ? base[std::size_t(i)] + v[j] : v[j];
    }
    return true;
}

}  // namespace quarvel
