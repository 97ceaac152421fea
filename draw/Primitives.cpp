#include "draw/Primitives.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quarvel {

namespace {

// Pixels are kept within +-kPixelLimit, which a window system can draw.
constexpr double kPixelLimit = 30000.0;

// Cuts a segment to the square of drawable pixels, so that one that reaches
// far outside a zoomed canvas keeps its slope. False, leaving the ends alone,
// when no part of it lies inside.
bool clipToPixelLimit(double& x1, double& y1, double& x2, double& y2) {
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 + kPixelLimit, kPixelLimit - x1, y1 + kPixelLimit, kPixelLimit - y1};
    double t0 = 0.0, t1 = 1.0;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1) return false;
    }
    x2 = x1 + t1 * dx;
    y2 = y1 + t1 * dy;
    x1 += t0 * dx;
    y1 += t0 * dy;
    return true;
}

// The named colours the views draw in, as the toolkit's colour table has them.
struct NamedColour {
    const char* name;
    int rgb;
};
constexpr NamedColour kNamedColours[] = {
    {"White", 0xffffff}, {"Black", 0x000000}, {"Red", 0xff0000},    {"Green", 0x00ff00},
    {"Blue", 0x0000ff},  {"Orange", 0xffa500}, {"gray15", 0x262626},
};

}  // namespace

int rgbOf(const PlotPrimitive& p) {
    if (p.rgb != PlotPrimitive::kNoRgb) return p.rgb;
    if (!p.color) return 0;
    for (const NamedColour& c : kNamedColours)
        if (std::strcmp(c.name, p.color) == 0) return c.rgb;
    return 0;
}

double niceStep(double span, int count) {
    if (!(span > 0.0) || !std::isfinite(span)) return 1.0;
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (raw <= m * power) return m * power;
    return 10.0 * power;
}

int toPixel(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::clamp(v, -kPixelLimit, kPixelLimit));
}

void PrimitiveBuilder::background(int width, int height) {
    PlotPrimitive p;
    p.kind = PlotPrimitive::Fill;
    p.color = "White";
    p.x2 = width;
    p.y2 = height;
    out_.push_back(std::move(p));
}

void PrimitiveBuilder::segment(double x1, double y1, double x2, double y2) {
    const bool finite = std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2);
    if (finite && std::max({std::fabs(x1), std::fabs(y1), std::fabs(x2), std::fabs(y2)}) > kPixelLimit)
        clipToPixelLimit(x1, y1, x2, y2);
    PlotPrimitive p;
    p.kind = PlotPrimitive::Segment;
    p.color = color_;
    p.rgb = rgb_;
    p.dashed = dashed_;
    p.lineWidth = width_;
    p.x1 = toPixel(x1);
    p.y1 = toPixel(y1);
    p.x2 = toPixel(x2);
    p.y2 = toPixel(y2);
    out_.push_back(std::move(p));
}

void PrimitiveBuilder::text(double x, double y, std::string s) {
    push(PlotPrimitive::Text, toPixel(x), toPixel(y), 0, 0);
    out_.back().text = std::move(s);
}

void PrimitiveBuilder::line(double x1, double y1, double x2, double y2, int rgb, int lineWidth, bool dashed) {
    const int keepRgb = rgb_, keepWidth = width_;
    const bool keepDashed = dashed_;
    rgb_ = rgb;
    width_ = lineWidth;
    dashed_ = dashed;
    segment(x1, y1, x2, y2);
    rgb_ = keepRgb;
    width_ = keepWidth;
    dashed_ = keepDashed;
}

void PrimitiveBuilder::label(double x, double y, std::string s, int rgb) {
    text(x, y, std::move(s));
    out_.back().rgb = rgb;
    out_.back().lineWidth = 1;
}

void PrimitiveBuilder::push(PlotPrimitive::Kind kind, int x, int y, int w, int h) {
    PlotPrimitive p;
    p.kind = kind;
    p.color = color_;
    p.rgb = rgb_;
    p.lineWidth = width_;
    p.x1 = x;
    p.y1 = y;
    p.x2 = w;
    p.y2 = h;
    out_.push_back(std::move(p));
}

}  // namespace quarvel
