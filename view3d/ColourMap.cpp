#include "view3d/ColourMap.h"

#include <algorithm>
#include <functional>
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

std::string signedValue(double v, int decimals) {
    const std::string text = formatFixed(std::fabs(v), decimals);
    if (text.find_first_not_of("0.") == std::string::npos) return text;
    return (v < 0 ? "-" : "+") + text;
}

Rgb8 divergingColour(double t) {
    if (!(t == t)) t = 0.0;
    t = std::clamp(t, -1.0, 1.0);
    constexpr double kBlue[3] = {33, 102, 172}, kWhite[3] = {247, 247, 247}, kRed[3] = {178, 24, 43};
    const double* end = t < 0 ? kBlue : kRed;
    const double f = std::fabs(t);
    auto mix = [&](int i) { return static_cast<unsigned char>(std::lround(kWhite[i] + f * (end[i] - kWhite[i]))); };
    return Rgb8{mix(0), mix(1), mix(2)};
}

namespace {

// A bar from lo at the top to hi at the bottom in the colours given, its
// title above and its values at round steps beside it, clear of the ticks.
struct Bar {
    int x = 30, w = 18, top = 30, bottom = 0;
};

void drawBar(PrimitiveBuilder& draw, const Bar& bar, double lo, double hi, const char* title,
             const std::function<Rgb8(double)>& colourOf) {
    auto rowOf = [&](double v) { return bar.top + int(std::lround((v - lo) / (hi - lo) * (bar.bottom - bar.top))); };
    for (int y = bar.top; y < bar.bottom; ++y) {
        const Rgb8 c = colourOf(lo + (y + 0.5 - bar.top) / (bar.bottom - bar.top) * (hi - lo));
        draw.line(bar.x, y, bar.x + bar.w, y, c.r << 16 | c.g << 8 | c.b);
    }
    draw.label(bar.x - 4, 14, title, 0);
    const double step = niceStep(hi - lo, 8);
    const int decimals = std::clamp(int(-std::floor(std::log10(step) + 1e-9)), 0, 4);
    for (double v = std::ceil(lo / step) * step; v <= hi + 1e-9 * step; v += step) {
        const int y = rowOf(v);
        draw.line(bar.x + bar.w, y, bar.x + bar.w + 3, y, 0, 1);
        draw.label(bar.x + bar.w + 8, y + 4, signedValue(std::fabs(v) < 1e-9 * step ? 0.0 : v, decimals), 0);
    }
    draw.line(bar.x, bar.top, bar.x + bar.w, bar.top, 0, 1);
    draw.line(bar.x, bar.bottom, bar.x + bar.w, bar.bottom, 0, 1);
    draw.line(bar.x, bar.top, bar.x, bar.bottom, 0, 1);
    draw.line(bar.x + bar.w, bar.top, bar.x + bar.w, bar.bottom, 0, 1);
}

}  // namespace

std::vector<PlotPrimitive> colourBarPrimitives(double lo, double hi, double sonicCp, int width, int height) {
    std::vector<PlotPrimitive> out;
    PrimitiveBuilder draw(out);
    draw.background(width, height);
    if (!(hi > lo) || !std::isfinite(lo) || !std::isfinite(hi)) return out;
    Bar bar;
    bar.bottom = height - 12;
    if (bar.bottom - bar.top < 10) return out;
    drawBar(draw, bar, lo, hi, "Cp", [&](double cp) { return mapColour(cpScalePosition(cp, lo, hi)); });
    if (sonicCp >= lo && sonicCp <= hi) {
        const int y = bar.top + int(std::lround((sonicCp - lo) / (hi - lo) * (bar.bottom - bar.top)));
        draw.line(bar.x - 4, y, bar.x + bar.w + 3, y, 0xd01010, 2);
        draw.label(2, y + 4, "Cp*", 0xd01010);
    }
    return out;
}

std::vector<PlotPrimitive> deltaBarPrimitives(double largest, int width, int height) {
    std::vector<PlotPrimitive> out;
    PrimitiveBuilder draw(out);
    draw.background(width, height);
    Bar bar;
    bar.bottom = height - 12;
    if (bar.bottom - bar.top < 10 || !(largest > 0.0) || !std::isfinite(largest)) return out;
    drawBar(draw, bar, -largest, largest, "dCp", [&](double d) { return divergingColour(d / largest); });
    return out;
}

}  // namespace quarvel
