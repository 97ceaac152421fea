#include "planform/PlanformGeometry.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "wing/SectionSurface.h"

namespace quarvel {

namespace {

// Lower end and length of one side of the box; an empty or broken side is
// a point at 0.
std::pair<double, double> extent(double lo, double hi) {
    if (!std::isfinite(lo) || !std::isfinite(hi) || !(hi >= lo)) return {0.0, 0.0};
    return {lo, hi - lo};
}

constexpr int kBlack = 0x000000;
constexpr int kLineWidth = 2;
// The lower surface's copy lies this many first-section chords below the
// upper one (below also when that chord is negative).
constexpr double kLowerCopyOffset = 1.1;

}  // namespace

PlanformBox planformBox(const std::vector<double>& XLE, const std::vector<double>& Z, const std::vector<double>& B) {
    PlanformBox box;
    const std::size_t n = std::min({XLE.size(), Z.size(), B.size()});
    for (std::size_t k = 0; k < n; ++k) {
        const double lead = XLE[k], trail = XLE[k] + B[k];
        box.xMin = std::min({box.xMin, lead, trail});
        box.xMax = std::max({box.xMax, lead, trail});
        box.zMin = std::min(box.zMin, Z[k]);
        box.zMax = std::max(box.zMax, Z[k]);
    }
    return box;
}

Planform makePlanform(std::vector<double> XLE, std::vector<double> Z, std::vector<double> B) {
    Planform plan;
    plan.box = planformBox(XLE, Z, B);
    plan.XLE = std::move(XLE);
    plan.Z = std::move(Z);
    plan.B = std::move(B);
    return plan;
}

Planform planformOf(const WingModel& wing) { return makePlanform(wing.XLE, wing.Z, wing.B); }

int PlanformFit::columnOf(double z) const { return toPixel((z - z0) * scale); }
int PlanformFit::rowOf(double x) const { return toPixel((x - x0) * scale); }

PlanformFit fitPlanform(const PlanformBox& box, int width, int height) {
    const double W = std::max(width, 1), H = std::max(height, 1);
    auto [xMin, dx] = extent(box.xMin, box.xMax);
    auto [zMin, dz] = extent(box.zMin, box.zMax);
    // Nothing has a size: show a unit of span around the point.
    if (dx == 0.0 && dz == 0.0) {
        dz = 1.0;
        zMin -= 0.5;
    }

    // H / W > dx / dz, compared without dividing by a zero span.
    double vx, vz;
    if (H * dz > W * dx) {
        vz = 1.02 * dz;
        vx = H / W * vz;
    } else {
        vx = 1.02 * dx;
        vz = vx * W / H;
    }
    PlanformFit fit;
    fit.z0 = zMin - 0.01 * vz;
    fit.x0 = xMin - 0.01 * vx;
    fit.scale = W / (1.01 * vz);
    return fit;
}

int regimeColor(int surfMode) {
    switch (surfMode) {
    case MODE_CP_EDITION: return 0xff0000;
    case MODE_CP_INTERP: return 0x0000ff;
    case MODE_GEOM: return 0x00c800;
    case MODE_THICKNESS: return 0x00ffff;
    case MODE_MAX_THICKNESS: return 0xc8ffff;
    default: return kBlack;
    }
}

double relativeSpan(double z, double zLast) { return zLast == 0.0 ? 0.0 : z / zLast; }

std::vector<SurfacePair> shownRegimes(const WingModel& w) {
    std::vector<SurfacePair> regimes = w.surfMode;
    for (std::size_t k = 0; k < regimes.size() && k < w.secCorrection.size(); ++k)
        if (!isCorrected(w, k)) regimes[k] = {MODE_NONE, MODE_NONE};
    return regimes;
}

PlanformBox drawnBox(const Planform& plan) {
    PlanformBox box = plan.box;
    if (plan.B.empty() || box.xMax < box.xMin) return box;
    const double offset = kLowerCopyOffset * std::abs(plan.B[0]);
    box.xMax += offset;
    return box;
}

std::vector<PlotPrimitive> planformPrimitives(const Planform& plan, const std::vector<SurfacePair>& surfMode,
                                              int curSection, int width, int height) {
    std::vector<PlotPrimitive> out;
    PrimitiveBuilder draw(out);
    draw.background(width, height);

    const int n = std::min({plan.sections(), static_cast<int>(plan.XLE.size()), static_cast<int>(plan.B.size())});
    if (n == 0 || width < 1 || height < 1) return out;

    const PlanformFit fit = fitPlanform(drawnBox(plan), width, height);
    auto segment = [&](int rgb, bool dashed, double za, double xa, double zb, double xb) {
        draw.line(fit.columnOf(za), fit.rowOf(xa), fit.columnOf(zb), fit.rowOf(xb), rgb, kLineWidth, dashed);
    };

    const std::vector<double>& XLE = plan.XLE;
    const std::vector<double>& Z = plan.Z;
    const std::vector<double>& B = plan.B;
    for (int s = 0; s < 2; ++s) {
        const double offset = s == 0 ? 0.0 : kLowerCopyOffset * std::abs(B[0]);
        for (int k = 0; k < n; ++k) {
            const int mode = k < static_cast<int>(surfMode.size()) ? surfMode[k][s] : MODE_NONE;
            segment(regimeColor(mode), k == curSection - 1, Z[k], XLE[k] + offset, Z[k], XLE[k] + B[k] + offset);
            if (k == 0) continue;
            segment(kBlack, false, Z[k - 1], XLE[k - 1] + offset, Z[k], XLE[k] + offset);
            segment(kBlack, false, Z[k - 1], XLE[k - 1] + B[k - 1] + offset, Z[k], XLE[k] + B[k] + offset);
        }
    }
    return out;
}

int sectionAtPixel(const Planform& plan, int width, int height, double px, double py, double tolerance) {
    const int n = std::min({plan.sections(), static_cast<int>(plan.XLE.size()), static_cast<int>(plan.B.size())});
    if (n == 0 || width < 1 || height < 1) return 0;
    const PlanformFit fit = fitPlanform(drawnBox(plan), width, height);
    int best = 0;
    double bestDistance = tolerance;
    for (int s = 0; s < 2; ++s) {
        const double offset = s == 0 ? 0.0 : kLowerCopyOffset * std::abs(plan.B[0]);
        for (int k = 0; k < n; ++k) {
            const double a = fit.rowOf(plan.XLE[k] + offset), b = fit.rowOf(plan.XLE[k] + plan.B[k] + offset);
            if (py < std::min(a, b) - tolerance || py > std::max(a, b) + tolerance) continue;
            const double distance = std::abs(px - fit.columnOf(plan.Z[k]));
            if (distance <= bestDistance && (best == 0 || distance < bestDistance)) {
                best = k + 1;
                bestDistance = distance;
            }
        }
    }
    return best;
}

std::string wrapText(const std::string& text, std::size_t columns) {
    if (text.size() <= columns) return text;
    std::string out, line, word;
    auto flushWord = [&] {
        if (word.empty()) return;
        if (!line.empty() && line.size() + 1 + word.size() > columns) {
            out += (out.empty() ? "" : "\n") + line;
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        word.clear();
    };
    for (char c : text) {
        if (c == ' ') {
            flushWord();
        } else {
            word += c;
        }
    }
    flushWord();
    if (!line.empty()) out += (out.empty() ? "" : "\n") + line;
    return out;
}

}  // namespace quarvel
