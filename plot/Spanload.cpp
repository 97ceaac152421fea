#include "plot/Spanload.h"

#include <algorithm>
#include <cmath>

#include "flow/Aerodynamics.h"
#include "wing/Numbers.h"

namespace quarvel {

double trapezoidalIntegral(const std::vector<double>& z, const std::vector<double>& values) {
    double sum = 0.0;
    for (std::size_t k = 1; k < std::min(z.size(), values.size()); ++k)
        sum += (values[k] + values[k - 1]) / 2 * (z[k] - z[k - 1]);
    return sum;
}

Spanload computeSpanload(const WingModel& w) {
    Spanload s;
    const int n = std::min({w.nsec, int(w.Z.size()), int(w.B.size())});
    if (n < 1 || w.nhalf < 1) return s;
    double chordSum = 0.0;
    for (int k = 0; k < n; ++k) {
        s.section.push_back(w.KTE1 + k);
        s.z.push_back(w.Z[k]);
        s.chord.push_back(w.B[k]);
        s.clInitial.push_back(sectionLift(w, w.cpInit, k));
        s.clDesign.push_back(sectionLift(w, w.cpDes, k));
        chordSum += w.B[k];
    }
    const double mean = chordSum / n;
    const double weight = mean != 0.0 && std::isfinite(mean) ? 1.0 / mean : 1.0;
    for (int k = 0; k < n; ++k) {
        const double c = mean != 0.0 && std::isfinite(mean) ? s.chord[k] * weight : 1.0;
        s.loadInitial.push_back(s.clInitial[k] * c);
        s.loadDesign.push_back(s.clDesign[k] * c);
    }

    const double zLast = s.z.back();
    std::vector<double> shape(std::size_t(n), 0.0);
    for (int k = 0; k < n && zLast != 0.0; ++k) {
        const double r = s.z[k] / zLast;
        shape[k] = 1.0 - r * r > 0.0 ? std::sqrt(1.0 - r * r) : 0.0;
    }
    const double area = trapezoidalIntegral(s.z, shape);
    if (n > 1 && area != 0.0 && std::isfinite(area)) {
        const double L0 = trapezoidalIntegral(s.z, s.loadDesign) / area;
        for (double v : shape) s.loadElliptic.push_back(L0 * v);
    } else {
        s.loadElliptic = s.loadDesign;
    }
    return s;
}

std::string formatSpanloadCsv(const Spanload& s) {
    std::string out = "section,z,chord,cl_initial,cl_design,load_initial,load_design,load_elliptic\n";
    for (int k = 0; k < s.sections(); ++k) {
        out += std::to_string(s.section[k]);
        for (double v : {s.z[k], s.chord[k], s.clInitial[k], s.clDesign[k], s.loadInitial[k], s.loadDesign[k],
                         s.loadElliptic[k]}) {
            out += ',';
            appendShortest(out, v);
        }
        out += '\n';
    }
    return out;
}

namespace {

int decimalsOf(double step) { return std::clamp(int(-std::floor(std::log10(step) + 1e-9)), 0, 6); }

constexpr int kInitialColor = 0x909090;
constexpr int kDesignColor = 0x1f3a93;
constexpr int kEllipticColor = 0x000000;
constexpr int kCurrentColor = 0xc05000;
constexpr int kResidualRgb = 0x008b8b;

// The residual RMS of both surfaces on an axis from 0 at the bottom, its
// values right of the plot; a section without a value breaks the curve.
template <typename Column>
void residualCurves(std::vector<PlotPrimitive>& out, const ResidualSpan& r, Column col, int axisColumn, int top,
                    int bottom) {
    double largest = 0.0;
    for (const std::vector<double>* v : {&r.rmsUpper, &r.rmsLower})
        for (double x : *v)
            if (std::isfinite(x)) largest = std::max(largest, x);
    const double step = std::max(niceStep(largest, 4), 0.001);
    const double ceiling = std::max(1.0, std::ceil(largest / step - 1e-9)) * step;
    auto row = [&](double v) { return toPixel(bottom - v / ceiling * (bottom - top)); };
    PrimitiveBuilder b(out);
    b.line(axisColumn, bottom, axisColumn, top, kResidualRgb);
    for (double v = 0.0; v <= ceiling + 1e-9 * step; v += step) {
        b.line(axisColumn, row(v), axisColumn + 4, row(v), kResidualRgb);
        b.label(axisColumn + 6, row(v) + 5, formatFixed(v, decimalsOf(step)), kResidualRgb);
    }
    b.label(axisColumn - 10, top - 24, "dCp RMS", kResidualRgb);
    b.rgb(kResidualRgb);
    const std::size_t n = std::min(r.z.size(), std::min(r.rmsUpper.size(), r.rmsLower.size()));
    for (const std::vector<double>* v : {&r.rmsUpper, &r.rmsLower}) {
        const bool dashed = v == &r.rmsLower;
        for (std::size_t k = 0; k < n; ++k) {
            if (!std::isfinite((*v)[k])) continue;
            const int x = col(r.z[k]), y = row((*v)[k]);
            b.disc(x - 3, y - 3, 7, 7);
            if (k + 1 < n && std::isfinite((*v)[k + 1]))
                b.line(x, y, col(r.z[k + 1]), row((*v)[k + 1]), kResidualRgb, 2, dashed);
        }
    }
}

}  // namespace

std::vector<PlotPrimitive> spanloadPrimitives(const Spanload& s, int width, int height,
                                              const ResidualSpan* residual, int current) {
    std::vector<PlotPrimitive> out;
    PrimitiveBuilder draw(out);
    draw.background(width, height);
    if (s.sections() < 1) return out;

    double zMin = *std::min_element(s.z.begin(), s.z.end()), zMax = *std::max_element(s.z.begin(), s.z.end());
    double lMin = 0.0, lMax = 0.0;
    for (const std::vector<double>* v : {&s.loadInitial, &s.loadDesign, &s.loadElliptic})
        for (double x : *v)
            if (std::isfinite(x)) {
                lMin = std::min(lMin, x);
                lMax = std::max(lMax, x);
            }
    if (!(zMax > zMin)) {
        zMin -= 0.5;
        zMax += 0.5;
    }
    if (!(lMax > lMin)) lMax = lMin + 1.0;
    const double zStep = niceStep(zMax - zMin, 8), lStep = niceStep(lMax - lMin, 6);
    lMin = std::floor(lMin / lStep) * lStep;
    lMax = std::ceil(lMax / lStep) * lStep;

    // Margins for the values on the axes and the legend.
    const int left = 60, right = residual ? 60 : 20, top = 40, bottom = 40;
    const double plotW = std::max(width - left - right, 10), plotH = std::max(height - top - bottom, 10);
    auto col = [&](double z) { return toPixel(left + (z - zMin) / (zMax - zMin) * plotW); };
    auto row = [&](double l) { return toPixel(top + (lMax - l) / (lMax - lMin) * plotH); };
    auto segment = [&](int x1, int y1, int x2, int y2, int rgb, int lineWidth = 1, bool dashed = false) {
        draw.line(x1, y1, x2, y2, rgb, lineWidth, dashed);
    };
    auto text = [&](int x, int y, std::string t, int rgb = 0) {
        draw.label(x, y, std::move(t), rgb);
    };

    // Grid and the values on both axes.
    for (double z = std::ceil(zMin / zStep) * zStep; z <= zMax + 1e-9 * zStep; z += zStep) {
        segment(col(z), row(lMin), col(z), row(lMax), 0xe0e0e0);
        text(col(z) - 12, row(lMin) + 16, formatFixed(z, decimalsOf(zStep)));
    }
    for (double l = lMin; l <= lMax + 1e-9 * lStep; l += lStep) {
        segment(col(zMin), row(l), col(zMax), row(l), 0xe0e0e0);
        text(4, row(l) + 5, formatFixed(l, decimalsOf(lStep)));
    }
    segment(col(zMin), row(lMin), col(zMax), row(lMin), 0);
    segment(col(zMin), row(lMin), col(zMin), row(lMax), 0);
    text(left + int(plotW) - 10, height - 6, "Z");
    text(4, top - 24, "cl * B / mean B");

    auto curve = [&](const std::vector<double>& v, int rgb, int lineWidth, bool dashed) {
        for (int k = 0; k + 1 < s.sections(); ++k)
            segment(col(s.z[k]), row(v[k]), col(s.z[k + 1]), row(v[k + 1]), rgb, lineWidth, dashed);
        if (s.sections() == 1) segment(col(s.z[0]) - 3, row(v[0]), col(s.z[0]) + 3, row(v[0]), rgb, lineWidth);
    };
    // The current section: a line across the plot, with its number.
    if (current >= 0 && current < s.sections()) {
        segment(col(s.z[current]), row(lMin), col(s.z[current]), row(lMax), kCurrentColor, 1, true);
        text(col(s.z[current]) + 3, row(lMin) - 4, "section " + std::to_string(s.section[current]), kCurrentColor);
    }
    curve(s.loadElliptic, kEllipticColor, 1, true);
    curve(s.loadInitial, kInitialColor, 2, false);
    curve(s.loadDesign, kDesignColor, 2, false);

    if (residual) residualCurves(out, *residual, col, int(plotW) + left, top, top + int(plotH));

    // The legend, top right.
    struct Entry {
        std::string name;
        int rgb;
        bool dashed;
    };
    // The elliptic reference says over which span it is drawn: from z = 0 to
    // the last section.
    const std::string elliptic = "elliptic, z 0 to " + formatFixed(s.z.back(), decimalsOf(zStep) + 1);
    std::vector<Entry> legend = {
        {"initial", kInitialColor, false}, {"design", kDesignColor, false}, {elliptic, kEllipticColor, true}};
    if (residual) {
        legend.push_back({"dCp upper", kResidualRgb, false});
        legend.push_back({"dCp lower", kResidualRgb, true});
    }
    // Each entry as wide as its name (about 7 pixels a character).
    auto entryWidth = [](const Entry& e) { return 28 + 7 * int(e.name.size()) + 14; };
    // Right-aligned rows, as many as it takes: the first above the plot, the
    // others inside its top right corner.
    std::vector<std::vector<const Entry*>> rows(1);
    int rowWidth = 0;
    for (const auto& e : legend) {
        if (!rows.back().empty() && rowWidth + entryWidth(e) > width - right - left) {
            rows.emplace_back();
            rowWidth = 0;
        }
        rows.back().push_back(&e);
        rowWidth += entryWidth(e);
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        int total = 0;
        for (const Entry* e : rows[r]) total += entryWidth(*e);
        int x = std::max(left, width - right - total);
        const int y = top - 14 + 18 * int(r);
        for (const Entry* e : rows[r]) {
            segment(x, y, x + 24, y, e->rgb, e->dashed ? 1 : 2, e->dashed);
            text(x + 28, y + 5, e->name, e->rgb);
            x += entryWidth(*e);
        }
    }
    return out;
}

}  // namespace quarvel
