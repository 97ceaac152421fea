#include "correction/Akima.h"

#include <cmath>

namespace quarvel {

namespace {

// The cubic v = ((q3 d + q2) d + t3) d + y3 with d = u - x3.
struct Cubic {
    double x3 = 0, y3 = 0, t3 = 0, q2 = 0, q3 = 0;
    double at(double u) const {
        const double d = u - x3;
        return ((q3 * d + q2) * d + t3) * d + y3;
    }
};

// Interval index of u: 0 before the first point, n beyond the last, else the
// i with x[i-1] <= u < x[i].
int intervalOf(int n, const double* x, double u) {
    if (n == 2) return 1;
    if (u >= x[n - 1]) return n;
    if (u < x[0]) return 0;
    for (int i = 1; i < n; ++i)
        if (x[i - 1] <= u && u < x[i]) return i;
    return 1;  // u is NaN: any cubic gives NaN
}

// Weighted slope at a data point from the four chord slopes around it.
double akimaSlope(double ma, double mb, double mc, double md) {
    const double wa = std::fabs(md - mc);
    const double wb = std::fabs(mb - ma);
    if (wa + wb == 0.0) return (mb + mc) / 2;
    return (wa * mb + wb * mc) / (wa + wb);
}

Cubic cubicOf(int n, const double* x, const double* y, int I) {
    const int J = I == 0 ? 1 : I == n ? n - 1 : I;
    Cubic c;
    c.x3 = x[J - 1];
    c.y3 = y[J - 1];
    const double x4 = x[J], y4 = y[J];
    double a3 = x4 - c.x3;
    double m3 = (y4 - c.y3) / a3;
    double a2 = 0, a4 = 0, m1, m2, m4, m5;
    if (n == 2) {
        m1 = m2 = m4 = m5 = m3;
    } else {
        if (J == 1) {
            a4 = x[2] - x[1];
            m4 = (y[2] - y[1]) / a4;
            m2 = 2 * m3 - m4;
        } else {
            a2 = x[J - 1] - x[J - 2];
            m2 = (y[J - 1] - y[J - 2]) / a2;
            if (J == n - 1) {
                m4 = 2 * m3 - m2;
            } else {
                a4 = x[J + 1] - x[J];
                m4 = (y[J + 1] - y[J]) / a4;
            }
        }
        m1 = J >= 3 ? (y[J - 2] - y[J - 3]) / (x[J - 2] - x[J - 3]) : 2 * m2 - m3;
        m5 = J <= n - 3 ? (y[J + 2] - y[J + 1]) / (x[J + 2] - x[J + 1]) : 2 * m4 - m3;
    }
    double t3 = 0, t4 = 0;
    if (I != n) t3 = akimaSlope(m1, m2, m3, m4);
    if (I != 0) t4 = akimaSlope(m2, m3, m4, m5);
    if (I == 0) {
        // Before the first point: the cubic of a virtual interval of length a4.
        t4 = t3;
        t3 = (m1 + m2 - a4 * (a3 - a4) * (m3 - m4) / ((a3 + a4) * (a3 + a4))) / 2;
        c.x3 -= a4;
        c.y3 -= m2 * a4;
        a3 = a4;
        m3 = m2;
    } else if (I == n) {
        // Beyond the last point: a virtual interval of length a2.
        t3 = t4;
        t4 = (m4 + m5 - a2 * (a2 - a3) * (m2 - m3) / ((a2 + a3) * (a2 + a3))) / 2;
        c.x3 = x4;
        c.y3 = y4;
        a3 = a2;
        m3 = m4;
    }
    c.t3 = t3;
    c.q2 = (2 * (m3 - t3) + m3 - t4) / a3;
    c.q3 = (t3 + t4 - 2 * m3) / (a3 * a3);
    return c;
}

}  // namespace

void akimaInterpolate(int n, const double* x, const double* y, int m, const double* u, double* v, int& code) {
    if (n < 2) {
        code = 1;
        return;
    }
    if (m < 0) {
        code = 2;
        return;
    }
    for (int i = 1; i < n; ++i) {
        if (x[i - 1] > x[i]) {
            code = 3;
            return;
        }
        if (x[i - 1] == x[i]) {
            code = 4;
            return;
        }
    }
    int previous = -1;
    Cubic cubic;
    for (int k = 0; k <= m; ++k) {
        const int I = intervalOf(n, x, u[k]);
        if (I != previous) {
            cubic = cubicOf(n, x, y, I);
            previous = I;
        }
        v[k] = cubic.at(u[k]);
    }
}

}  // namespace quarvel
