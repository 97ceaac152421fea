#include "draw/Replay.h"

#include <cstring>

namespace quarvel {

namespace {

// The device context's pen, set only when it changes.
class Pen {
public:
    explicit Pen(FXDC& dc) : dc_(dc) {}

    void use(const PlotPrimitive& p) {
        if (!sameColor(p)) {
            color_ = p.color;
            rgb_ = p.rgb;
            dc_.setForeground(colorOf(p));
        }
        if (dashed_ != p.dashed) {
            dashed_ = p.dashed;
            dc_.setLineStyle(p.dashed ? LINE_ONOFF_DASH : LINE_SOLID);
        }
        if (width_ != p.lineWidth) {
            width_ = p.lineWidth;
            dc_.setLineWidth(FXuint(p.lineWidth));
        }
    }
    bool same(const PlotPrimitive& p) const {
        return sameColor(p) && dashed_ == p.dashed && width_ == p.lineWidth;
    }
    void reset() {
        if (dashed_) dc_.setLineStyle(LINE_SOLID);
        if (width_ != 1) dc_.setLineWidth(1);
    }

private:
    static FXColor colorOf(const PlotPrimitive& p) {
        if (p.rgb == PlotPrimitive::kNoRgb) return fxcolorfromname(p.color);
        return FXRGB((p.rgb >> 16) & 0xff, (p.rgb >> 8) & 0xff, p.rgb & 0xff);
    }
    // An exact colour is compared by value, a named one by name.
    bool sameColor(const PlotPrimitive& p) const {
        if (!color_ || rgb_ != p.rgb) return false;
        return p.rgb != PlotPrimitive::kNoRgb || std::strcmp(color_, p.color) == 0;
    }

    FXDC& dc_;
    const char* color_ = nullptr;
    int rgb_ = PlotPrimitive::kNoRgb;
    bool dashed_ = false;
    int width_ = 1;
};

}  // namespace

void replayPlot(FXDC& dc, const std::vector<PlotPrimitive>& primitives, FXFont* font) {
    Pen pen(dc);
    if (font) dc.setFont(font);
    std::vector<FXSegment> run;
    auto flush = [&] {
        if (!run.empty()) dc.drawLineSegments(run.data(), FXuint(run.size()));
        run.clear();
    };
    for (const PlotPrimitive& p : primitives) {
        if (p.kind == PlotPrimitive::Segment && pen.same(p)) {
            run.push_back(FXSegment{FXshort(p.x1), FXshort(p.y1), FXshort(p.x2), FXshort(p.y2)});
            continue;
        }
        flush();
        pen.use(p);
        switch (p.kind) {
        case PlotPrimitive::Segment:
            run.push_back(FXSegment{FXshort(p.x1), FXshort(p.y1), FXshort(p.x2), FXshort(p.y2)});
            break;
        case PlotPrimitive::Fill: dc.fillRectangle(p.x1, p.y1, p.x2, p.y2); break;
        case PlotPrimitive::Ellipse: dc.drawEllipse(p.x1, p.y1, p.x2, p.y2); break;
        case PlotPrimitive::FilledEllipse: dc.fillEllipse(p.x1, p.y1, p.x2, p.y2); break;
        case PlotPrimitive::Text: dc.drawText(p.x1, p.y1, p.text.c_str(), FXuint(p.text.size())); break;
        }
    }
    flush();
    pen.reset();
}

}  // namespace quarvel
