// What every view draws: a list of primitives in pixels, built without any
// window. The cairo back end turns the list into the anti-aliased pixels of
// a canvas or into a PNG, SVG or PDF file.
#pragma once

#include <string>
#include <vector>

namespace quarvel {

// One thing to draw, in pixels; colours are names of the toolkit's table,
// or an exact colour when rgb is set.
struct PlotPrimitive {
    enum Kind { Fill, Segment, Ellipse, Text, FilledEllipse };
    static constexpr int kNoRgb = -1;
    Kind kind = Segment;
    const char* color = "Black";
    int rgb = kNoRgb;  // 0xRRGGBB; when set it is drawn instead of color
    bool dashed = false;
    int lineWidth = 1;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // Fill, (Filled)Ellipse: x, y, width, height; Text: baseline start
    std::string text;
};

// The colour a primitive is drawn in, 0xRRGGBB: its exact colour or its
// named one (the names the views use; an unknown name is black).
int rgbOf(const PlotPrimitive& p);

// A step of 1, 2 or 5 times a power of ten that cuts span into about count
// parts, for the values on an axis or a colour bar.
double niceStep(double span, int count);

// Pixel coordinate of a floating-point position, truncated toward zero and
// kept within what a window system can draw (NaN gives 0).
int toPixel(double v);

// Builds a primitive list with a pen, as a device context draws: the colour,
// dash and width set last apply to what is added next. Every view builds its
// picture through one.
class PrimitiveBuilder {
public:
    explicit PrimitiveBuilder(std::vector<PlotPrimitive>& out) : out_(out) {}

    // The pen: a named colour, an exact one (0xRRGGBB), dashes and width.
    void color(const char* name) {
        color_ = name;
        rgb_ = PlotPrimitive::kNoRgb;
    }
    void rgb(int rgb) { rgb_ = rgb; }
    void dashed(bool on) { dashed_ = on; }
    void width(int w) { width_ = w; }

    // A white fill of width x height pixels at the origin; the pen is kept.
    void background(int width, int height);
    // A segment between two pixel positions; one reaching far outside the
    // drawable square is cut to it and keeps its slope, one wholly outside
    // ends on its border.
    void segment(double x1, double y1, double x2, double y2);
    void fill(int x, int y, int w, int h) { push(PlotPrimitive::Fill, x, y, w, h); }
    void ellipse(double x, double y, int w, int h) { push(PlotPrimitive::Ellipse, toPixel(x), toPixel(y), w, h); }
    void disc(double x, double y, int w, int h) { push(PlotPrimitive::FilledEllipse, toPixel(x), toPixel(y), w, h); }
    // A text whose baseline starts at (x, y).
    void text(double x, double y, std::string s);

    // A segment and a text with a pen of their own, for views that give
    // each line its colour; the builder's pen is left as it was.
    void line(double x1, double y1, double x2, double y2, int rgb, int lineWidth = 1, bool dashed = false);
    void label(double x, double y, std::string s, int rgb = 0);

private:
    void push(PlotPrimitive::Kind kind, int x, int y, int w, int h);

    std::vector<PlotPrimitive>& out_;
    const char* color_ = "Black";
    int rgb_ = PlotPrimitive::kNoRgb;
    bool dashed_ = false;
    int width_ = 1;
};

}  // namespace quarvel
