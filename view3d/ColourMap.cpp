#include "view3d/ColourMap.h"

#include <algorithm>
#include <cmath>

#include "wing/Numbers.h"

namespace quarvel {

namespace {

// Ten evenly spaced stops; linear in between.
constexpr unsigned char kStops[10][3] = {
    {0x44, 0x01, 0x54}, {0x48, 0x28, 0x78}, {0x3e, 0x49, 0x89}, {0x31, 0x68, 0x8e}, {0x26, 0x82, 0x8e},
    {0x1f, 0x9e, 0x89}, {0x35, 0xb7, 0x79}, {0x6e, 0xce, 0x58}, {0xb5, 0xde, 0x2b}, {0xfd, 0xe7, 0x25},
};

}  // namespace

Rgb8 mapColour(double t) {
    if (!(t > 0.0)) t = 0.0;
    if (t > 1.0) t = 1.0;
    const double at = t * 9.0;
    const int i = std::min(int(at), 8);
    const double f = at - i;
    Rgb8 c;
    unsigned char* out[3] = {&c.r, &c.g, &c.b};
    for (int ch = 0; ch < 3; ++ch)
        *out[ch] = (unsigned char)std::lround(kStops[i][ch] + f * (kStops[i + 1][ch] - kStops[i][ch]));
    return c;
}

double cpScalePosition(double cp, double lo, double hi) {
    if (!(hi > lo)) return 0.5;
    return std::clamp((hi - cp) / (hi - lo), 0.0, 1.0);
}

std::vector<PlotPrimitive> colourBarPrimitives(double lo, double hi, double sonicCp, int width, int height) {
    std::vector<PlotPrimitive> out;
    PrimitiveBuilder draw(out);
    draw.background(width, height);
    if (!(hi > lo) || !std::isfinite(lo) || !std::isfinite(hi)) return out;

    const int barX = 30, barW = 18, top = 30, bottom = height - 12;
    if (bottom - top < 10) return out;
    auto rowOf = [&](double cp) { return top + int(std::lround((cp - lo) / (hi - lo) * (bottom - top))); };
    for (int y = top; y < bottom; ++y) {
        const double cp = lo + (y + 0.5 - top) / (bottom - top) * (hi - lo);
        const Rgb8 c = mapColour(cpScalePosition(cp, lo, hi));
        draw.line(barX, y, barX + barW, y, c.r << 16 | c.g << 8 | c.b);
    }
    auto segment = [&](int x1, int y1, int x2, int y2, int rgb, int lineWidth) {
        draw.line(x1, y1, x2, y2, rgb, lineWidth);
    };
    auto text = [&](int x, int y, std::string t, int rgb) {
        draw.label(x, y, std::move(t), rgb);
    };
    text(barX, 14, "Cp", 0);
    const double step = niceStep(hi - lo, 8);
    const int decimals = std::clamp(int(-std::floor(std::log10(step) + 1e-9)), 0, 4);
    for (double cp = std::ceil(lo / step) * step; cp <= hi + 1e-9 * step; cp += step) {
        const int y = rowOf(cp);
        segment(barX + barW, y, barX + barW + 4, y, 0, 1);
        text(barX + barW + 6, y + 4, formatFixed(std::fabs(cp) < 1e-12 ? 0.0 : cp, decimals), 0);
    }
    if (sonicCp >= lo && sonicCp <= hi) {
        const int y = rowOf(sonicCp);
        segment(barX - 4, y, barX + barW + 4, y, 0xd01010, 2);
        text(2, y + 4, "Cp*", 0xd01010);
    }
    segment(barX, top, barX + barW, top, 0, 1);
    segment(barX, bottom, barX + barW, bottom, 0, 1);
    segment(barX, top, barX, bottom, 0, 1);
    segment(barX + barW, top, barX + barW, bottom, 0, 1);
    return out;
}

}  // namespace quarvel
