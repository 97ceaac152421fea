#include "planform/Isobars.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <utility>

#include "flow/Aerodynamics.h"
#include "planform/PlanformGeometry.h"
#include "wing/Numbers.h"

namespace quarvel {

ContourField surfaceField(const WingModel& w, int surface, bool design) {
    ContourField f;
    const int N = w.nhalf;
    const int nsec = std::min({w.nsec, int(w.XLE.size()), int(w.Z.size()), int(w.B.size())});
    if (N < 1 || nsec < 1) return f;
    f.stations = N;
    f.sections = nsec;
    f.value.resize(std::size_t(N) * std::size_t(nsec));
    f.X.resize(f.value.size());
    f.XLE.assign(w.XLE.begin(), w.XLE.begin() + nsec);
    f.B.assign(w.B.begin(), w.B.begin() + nsec);
    f.Z.assign(w.Z.begin(), w.Z.begin() + nsec);
    const Grid<double>& cp = design ? w.cpDes : w.cpInit;
    for (int k = 0; k < nsec; ++k) {
        const std::size_t at = std::size_t(k) * N;
        for (auto [grid, out] : {std::pair{&cp, f.value.data() + at}, std::pair{&w.X, f.X.data() + at}}) {
            const double* column = grid->column(k);
            if (surface == 0)
                std::copy(column + N, column + 2 * N, out);
            else
                for (int j = 0; j < N; ++j) out[j] = column[N - 1 - j];
        }
    }
    return f;
}

namespace {

// Range of the finite values; lo > hi when there are none.
std::pair<double, double> finiteRange(const ContourField& f) {
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    for (double v : f.value)
        if (std::isfinite(v)) {
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
    return {lo, hi};
}

}  // namespace

double isobarLevelCount(const ContourField& f, double step) {
    const auto [lo, hi] = finiteRange(f);
    if (!(step > 0.0) || !std::isfinite(step) || !(hi >= lo)) return 0.0;
    return std::max(std::floor(hi / step) - std::ceil(lo / step) + 1.0, 0.0);
}

std::vector<double> isobarLevels(const ContourField& f, double step) {
    std::vector<double> levels;
    if (isobarLevelCount(f, step) > kMaxIsobarLevels) return levels;
    if (!(step > 0.0) || !std::isfinite(step)) return levels;
    const auto [lo, hi] = finiteRange(f);
    if (!(hi >= lo)) return levels;
    const double first = std::ceil(lo / step), last = std::floor(hi / step);
    const double perUnit = std::round(1.0 / step);
    const bool divide = perUnit >= 1.0 && std::fabs(1.0 / step - perUnit) < 1e-9 * perUnit;
    // One either side of the estimate, for the rounding of the division.
    for (double i = first - 1; i <= last + 1; ++i) {
        const double level = divide ? i / perUnit : i * step;
        if (level >= lo && level <= hi) levels.push_back(level);
    }
    return levels;
}

namespace {

// A grid edge: chord edges (j, k)-(j+1, k) first, then span edges
// (j, k)-(j, k+1).
struct EdgeIndex {
    int stations, sections;
    int chordEdges() const { return sections * (stations - 1); }
    int chord(int j, int k) const { return k * (stations - 1) + j; }
    int span(int j, int k) const { return chordEdges() + k * stations + j; }
    int count() const { return chordEdges() + (sections - 1) * stations; }
};

struct Segment {
    int a, b;
};

// Where the level crosses an edge whose ends lie on either side of it.
IsobarPoint crossing(const ContourField& f, const EdgeIndex& e, int edge, double level) {
    int j, k, j2, k2;
    if (edge < e.chordEdges()) {
        k = k2 = edge / (e.stations - 1);
        j = edge % (e.stations - 1);
        j2 = j + 1;
    } else {
        const int rest = edge - e.chordEdges();
        k = rest / e.stations;
        k2 = k + 1;
        j = j2 = rest % e.stations;
    }
    const double a = f.value[std::size_t(k) * e.stations + j], b = f.value[std::size_t(k2) * e.stations + j2];
    const double t = (level - a) / (b - a);
    const double xa = f.x(j, k), xb = f.x(j2, k2);
    return {xa + t * (xb - xa), f.Z[k] + t * (f.Z[k2] - f.Z[k])};
}

// The segments of one cell at one level; corners c0 (j, k), c1 (j+1, k),
// c2 (j+1, k+1), c3 (j, k+1), edge i from corner i to corner i+1.
void cellSegments(const double (&v)[4], const int (&edge)[4], double level, std::vector<Segment>& out) {
    bool above[4];
    for (int i = 0; i < 4; ++i) above[i] = v[i] >= level;
    int crossed[4], n = 0;
    for (int i = 0; i < 4; ++i)
        if (above[i] != above[(i + 1) % 4]) crossed[n++] = i;
    if (n == 2) {
        out.push_back({edge[crossed[0]], edge[crossed[1]]});
    } else if (n == 4) {
        // Cut off the two corners that the centre does not side with: each
        // with the edges on either side of it.
        const bool centreAbove = (v[0] + v[1] + v[2] + v[3]) / 4 >= level;
        for (int i = 0; i < 4; ++i)
            if (above[i] != centreAbove) out.push_back({edge[(i + 3) % 4], edge[i]});
    }
}

}  // namespace

std::vector<IsobarLine> traceIsobars(const ContourField& f, const std::vector<double>& levels) {
    std::vector<IsobarLine> lines;
    if (f.stations < 2 || f.sections < 2 || levels.empty()) return lines;
    const EdgeIndex e{f.stations, f.sections};

    // Every cell once: the levels between its lowest and highest corner.
    std::vector<std::vector<Segment>> segments(levels.size());
    for (int k = 0; k + 1 < f.sections; ++k) {
        const double* left = f.value.data() + std::size_t(k) * f.stations;
        const double* right = left + f.stations;
        for (int j = 0; j + 1 < f.stations; ++j) {
            const double v[4] = {left[j], left[j + 1], right[j + 1], right[j]};
            const double lo = std::min({v[0], v[1], v[2], v[3]}), hi = std::max({v[0], v[1], v[2], v[3]});
            if (!std::isfinite(lo) || !std::isfinite(hi) || lo == hi) continue;
            // Levels in (lo, hi] split the corners.
            auto it = std::upper_bound(levels.begin(), levels.end(), lo);
            if (it == levels.end() || *it > hi) continue;
            const int edge[4] = {e.chord(j, k), e.span(j + 1, k), e.chord(j, k + 1), e.span(j, k)};
            for (; it != levels.end() && *it <= hi; ++it)
                cellSegments(v, edge, *it, segments[std::size_t(it - levels.begin())]);
        }
    }

    // Join each level's segments through their shared edges. An edge holds
    // at most two segments. The slots stay -1 between uses (each level
    // clears what it set), so that they are allocated and filled once per
    // thread, not per call; a line's points are gathered in a scratch list
    // first and then copied once.
    static thread_local std::vector<int> slots;
    static thread_local std::vector<IsobarPoint> scratch;
    if (slots.size() < 2 * std::size_t(e.count())) slots.assign(2 * std::size_t(e.count()), -1);
    int* const slot0 = slots.data();
    int* const slot1 = slots.data() + e.count();
    std::vector<char> used;
    for (std::size_t l = 0; l < levels.size(); ++l) {
        const std::vector<Segment>& segs = segments[l];
        if (segs.empty()) continue;
        for (int s = 0; s < int(segs.size()); ++s)
            for (int edge : {segs[s].a, segs[s].b}) (slot0[edge] < 0 ? slot0[edge] : slot1[edge]) = s;
        auto other = [&](int edge, int s) { return slot0[edge] == s ? slot1[edge] : slot0[edge]; };
        used.assign(segs.size(), 0);
        auto follow = [&](int s, int from) {
            scratch.clear();
            scratch.push_back(crossing(f, e, from, levels[l]));
            int edge = from;
            while (s >= 0 && !used[s]) {
                used[s] = 1;
                edge = segs[s].a == edge ? segs[s].b : segs[s].a;
                scratch.push_back(crossing(f, e, edge, levels[l]));
                s = other(edge, s);
            }
            IsobarLine line;
            line.level = levels[l];
            line.closed = edge == from && scratch.size() > 2;
            line.points.assign(scratch.begin(), scratch.end() - (line.closed ? 1 : 0));
            lines.push_back(std::move(line));
        };
        // Open lines start at an edge of the grid's border; what is left
        // are closed loops.
        for (int s = 0; s < int(segs.size()); ++s)
            for (int edge : {segs[s].a, segs[s].b})
                if (!used[s] && other(edge, s) < 0) follow(s, edge);
        for (int s = 0; s < int(segs.size()); ++s)
            if (!used[s]) follow(s, segs[s].a);
        for (const Segment& s : segs) slot0[s.a] = slot1[s.a] = slot0[s.b] = slot1[s.b] = -1;
    }
    return lines;
}

std::string formatIsobarsCsv(const WingModel& w, double step) {
    std::string out = "surface,cp,level,line,x,z\n";
    int number = 0;
    for (int surface = 0; surface < 2; ++surface) {
        for (bool design : {false, true}) {
            const ContourField f = surfaceField(w, surface, design);
            const std::string head = std::string(surface == 0 ? "upper," : "lower,") + (design ? "design," : "initial,");
            for (const IsobarLine& line : traceIsobars(f, isobarLevels(f, step))) {
                ++number;
                const std::size_t n = line.points.size() + (line.closed ? 1 : 0);
                for (std::size_t i = 0; i < n; ++i) {
                    const IsobarPoint& p = line.points[i % line.points.size()];
                    out += head;
                    appendShortest(out, line.level);
                    out += ',';
                    out += std::to_string(number);
                    out += ',';
                    appendShortest(out, p.x);
                    out += ',';
                    appendShortest(out, p.z);
                    out += '\n';
                }
            }
        }
    }
    return out;
}

ShockLines shockLines(const WingModel& w, int surface, CpSource source, const ShockRule& rule) {
    ShockLines lines;
    std::vector<std::vector<Shock>> found;
    std::vector<int> firstOf;  // index in lines.shocks of each section's first shock
    for (int k = 0; k < w.nsec; ++k) {
        found.push_back(sectionShocks(w, k, surface, source, rule));
        firstOf.push_back(int(lines.shocks.size()));
        for (const Shock& s : found.back()) {
            lines.shocks.push_back({w.XLE[k] + s.x * w.B[k], w.Z[k]});
            lines.m1.push_back(s.m1);
        }
    }
    // The shock of to nearest along the chord to x, or -1 when none is within
    // kShockJoin.
    auto nearest = [&](const std::vector<Shock>& to, double x) {
        int best = -1;
        for (int j = 0; j < int(to.size()); ++j)
            if (std::abs(to[j].x - x) <= kShockJoin && (best < 0 || std::abs(to[j].x - x) < std::abs(to[best].x - x)))
                best = j;
        return best;
    };
    for (int k = 0; k + 1 < w.nsec; ++k) {
        std::vector<char> joined(found[k + 1].size(), 0);
        for (int i = 0; i < int(found[k].size()); ++i) {
            const int j = nearest(found[k + 1], found[k][i].x);
            if (j < 0) continue;
            joined[j] = 1;
            lines.segments.emplace_back(firstOf[k] + i, firstOf[k + 1] + j);
        }
        for (int j = 0; j < int(found[k + 1].size()); ++j) {
            if (joined[j]) continue;
            const int i = nearest(found[k], found[k + 1][j].x);
            if (i >= 0) lines.segments.emplace_back(firstOf[k] + i, firstOf[k + 1] + j);
        }
    }
    return lines;
}

ContourField residualField(const WingModel& w, const WingComparison& comparison, int surface) {
    ContourField f = surfaceField(w, surface, false);
    std::fill(f.value.begin(), f.value.end(), std::numeric_limits<double>::quiet_NaN());
    for (const SectionComparison& section : comparison.sections)
        for (const SurfaceComparison& c : section.surfaces) {
            if (c.surface != surface || section.k >= f.sections) continue;
            for (int n = 0; n < c.count(); ++n) {
                const int i = c.points[n];
                const int j = surface == 0 ? i - w.nhalf : w.nhalf - 1 - i;
                if (0 <= j && j < f.stations) f.value[std::size_t(section.k) * f.stations + j] = c.residual[n];
            }
        }
    return f;
}

std::vector<IsobarLine> residualIsolines(const WingModel& w, const WingComparison& comparison, int surface) {
    const ContourField f = residualField(w, comparison, surface);
    const auto [lo, hi] = finiteRange(f);
    if (!(lo <= hi)) return {};
    const double step = niceStep(std::max(std::fabs(lo), std::fabs(hi)), 5);
    std::vector<double> levels;
    for (double level : isobarLevels(f, step))
        if (std::fabs(level) > step / 2) levels.push_back(level);
    return traceIsobars(f, levels);
}

IsobarPicture upperIsobars(const WingModel& w, double step, bool withInitial, const ShockRule* rule) {
    IsobarPicture picture;
    const std::vector<double> sonic{sonicCp(w.MACH)};
    const ContourField design = surfaceField(w, 0, true);
    picture.design = traceIsobars(design, isobarLevels(design, step));
    picture.sonicDesign = traceIsobars(design, sonic);
    if (withInitial) {
        const ContourField initial = surfaceField(w, 0, false);
        picture.initial = traceIsobars(initial, isobarLevels(initial, step));
        picture.sonicInitial = traceIsobars(initial, sonic);
    }
    if (rule) picture.shocks = shockLines(w, 0, CpSource::Design, *rule);
    return picture;
}

namespace {

constexpr int kGrey = 0xb4b4b4;
constexpr int kCurrentSection = 0xc05000;
constexpr int kDesign = 0x1f3a93;
constexpr int kSonic = 0xd01010;
constexpr int kShockLine = 0x202020;
constexpr int kStrongShock = 0xff2020;
constexpr int kShock = 0x0050d0;
constexpr int kResidual = 0x008b8b;

// A label's box: about 7 pixels a character, 14 high, its baseline at y.
struct LabelBox {
    int x0, y0, x1, y1;
    bool overlaps(const LabelBox& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};
LabelBox labelBox(int x, int y, const std::string& text) {
    return LabelBox{x - 2, y - 12, x + 7 * int(text.size()) + 2, y + 3};
}

// The isobars, the shock lines and the labels, each point (chord x, span z)
// at the pixel at(x, z) gives.
void addIsobarLayer(const IsobarPicture& picture, const std::function<std::pair<int, int>(double, double)>& at,
                    std::vector<PlotPrimitive>& out, std::vector<LabelBox>& placed) {
    PrimitiveBuilder draw(out);
    auto segment = [&](double x1, double z1, double x2, double z2, int rgb, int lineWidth) {
        const auto [c1, r1] = at(x1, z1);
        const auto [c2, r2] = at(x2, z2);
        draw.line(c1, r1, c2, r2, rgb, lineWidth);
    };
    auto lines = [&](const std::vector<IsobarLine>& set, int rgb, int lineWidth) {
        for (const IsobarLine& line : set) {
            const std::size_t n = line.points.size();
            for (std::size_t i = 0; i + 1 < n + (line.closed ? 1 : 0); ++i) {
                const IsobarPoint &a = line.points[i], &b = line.points[(i + 1) % n];
                segment(a.x, a.z, b.x, b.z, rgb, lineWidth);
            }
        }
    };
    lines(picture.initial, kGrey, 1);
    lines(picture.sonicInitial, kGrey, 3);
    lines(picture.design, kDesign, 1);
    lines(picture.sonicDesign, kSonic, 3);
    const std::size_t residualFrom = out.size();
    lines(picture.residual, kResidual, 2);
    // Below zero dashed: the segments come line by line, level by level.
    std::size_t atSegment = residualFrom;
    for (const IsobarLine& line : picture.residual) {
        const std::size_t n = line.points.size(), segments = n < 2 ? 0 : n - 1 + (line.closed ? 1 : 0);
        for (std::size_t i = 0; i < segments && atSegment < out.size(); ++i, ++atSegment)
            out[atSegment].dashed = line.level < 0;
    }

    const ShockLines& shocks = picture.shocks;
    for (auto [a, b] : shocks.segments)
        segment(shocks.shocks[a].x, shocks.shocks[a].z, shocks.shocks[b].x, shocks.shocks[b].z, kShockLine, 3);
    for (std::size_t i = 0; i < shocks.shocks.size(); ++i) {
        PlotPrimitive dot;
        dot.kind = PlotPrimitive::FilledEllipse;
        dot.rgb = shocks.m1[i] >= kSeparationM1 ? kStrongShock : kShock;
        const auto [c, r] = at(shocks.shocks[i].x, shocks.shocks[i].z);
        dot.x1 = c - 4;
        dot.y1 = r - 4;
        dot.x2 = dot.y2 = 9;
        out.push_back(dot);
    }

    // Each line's level beside one of its points, the middle one first, then
    // others along it, wherever it overlaps no label already placed; a line
    // with no such place goes without.
    auto label = [&](const IsobarLine& line, const std::string& text, int rgb) {
        const std::size_t n = line.points.size();
        if (n < 2) return;
        for (std::size_t f : {4u, 2u, 6u, 1u, 7u, 3u, 5u}) {
            const IsobarPoint& p = line.points[std::min(n - 1, n * f / 8)];
            const auto [c, r] = at(p.x, p.z);
            const LabelBox box = labelBox(c + 2, r - 2, text);
            if (std::any_of(placed.begin(), placed.end(), [&](const LabelBox& b) { return b.overlaps(box); })) continue;
            placed.push_back(box);
            draw.label(c + 2, r - 2, text, rgb);
            return;
        }
    };
    for (const IsobarLine& line : picture.sonicDesign) label(line, "Cp* " + formatFixed(line.level, 2), kSonic);
    for (const IsobarLine& line : picture.residual) label(line, "dCp " + formatShortest(line.level), kResidual);
    for (const IsobarLine& line : picture.design) label(line, formatFixed(line.level, 2), kDesign);
}

}  // namespace

std::vector<PlotPrimitive> isobarPrimitives(const WingModel& w, const IsobarPicture& picture, int width,
                                            int height, int current) {
    std::vector<PlotPrimitive> out;
    PrimitiveBuilder draw(out);
    draw.background(width, height);

    const Planform plan = planformOf(w);
    // Room for the labels at the bottom and right.
    const PlanformFit fit = fitPlanform(plan.box, std::max(width - 40, 1), std::max(height - 20, 1));
    auto at = [&](double x, double z) { return std::pair(fit.columnOf(z) + 20, fit.rowOf(x) + 10); };
    auto segment = [&](double x1, double z1, double x2, double z2, int rgb, int lineWidth) {
        draw.line(at(x1, z1).first, at(x1, z1).second, at(x2, z2).first, at(x2, z2).second, rgb, lineWidth);
    };
    // The outline: leading and trailing edge, root and tip chords.
    for (int k = 0; k + 1 < plan.sections(); ++k) {
        segment(plan.XLE[k], plan.Z[k], plan.XLE[k + 1], plan.Z[k + 1], 0, 1);
        segment(plan.XLE[k] + plan.B[k], plan.Z[k], plan.XLE[k + 1] + plan.B[k + 1], plan.Z[k + 1], 0, 1);
    }
    for (int k : {0, plan.sections() - 1})
        if (k >= 0) segment(plan.XLE[k], plan.Z[k], plan.XLE[k] + plan.B[k], plan.Z[k], 0, 1);

    std::vector<LabelBox> placed;
    if (current >= 0 && current < plan.sections()) {
        const double x1 = plan.XLE[current], x2 = x1 + plan.B[current], z = plan.Z[current];
        segment(x1, z, x2, z, kCurrentSection, 2);
        out.back().dashed = true;
        const std::string text = "section " + std::to_string(w.KTE1 + current);
        const auto [c, r] = at(x2, z);
        placed.push_back(labelBox(c + 3, r + 14, text));
        draw.label(c + 3, r + 14, text, kCurrentSection);
    }
    addIsobarLayer(picture, at, out, placed);
    return out;
}

std::vector<PlotPrimitive> isobarLayer(const IsobarPicture& picture, const Planform& plan, int width, int height) {
    std::vector<PlotPrimitive> out;
    if (plan.sections() < 1 || width < 1 || height < 1) return out;
    const PlanformFit fit = fitPlanform(drawnBox(plan), width, height);
    std::vector<LabelBox> placed;
    addIsobarLayer(picture, [&](double x, double z) { return std::pair(fit.columnOf(z), fit.rowOf(x)); }, out,
                   placed);
    return out;
}

}  // namespace quarvel
