#include "draw/CanvasBuffer.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstring>

#include "draw/CairoPicture.h"

namespace quarvel {

namespace {

bool samePrimitive(const PlotPrimitive& a, const PlotPrimitive& b) {
    return a.kind == b.kind && a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 && a.rgb == b.rgb &&
           a.dashed == b.dashed && a.lineWidth == b.lineWidth &&
           (a.color == b.color || std::strcmp(a.color, b.color) == 0) && a.text == b.text;
}

// Segments in one pen are stroked as one path: a kept part never ends
// inside such a run.
bool continuesPen(const PlotPrimitive& before, const PlotPrimitive& p) {
    return before.kind == PlotPrimitive::Segment && p.kind == PlotPrimitive::Segment && rgbOf(before) == rgbOf(p) &&
           before.lineWidth == p.lineWidth && before.dashed == p.dashed;
}

// A kept part is worth its copy when it is at least this share of a picture.
constexpr std::size_t kBaseShareDivisor = 4;

}  // namespace

bool CanvasBuffer::render(const std::vector<PlotPrimitive>& primitives, bool draft) {
    if (!canvas_ || !canvas_->id()) return false;
    const FXint w = canvas_->getWidth();
    const FXint h = canvas_->getHeight();
    if (w < 1 || h < 1) return false;
    if (!image_) {
        image_ = new FXImage(canvas_->getApp(), nullptr, 0, w, h);
        image_->create();
    } else if (image_->getWidth() != w || image_->getHeight() != h) {
        image_->resize(w, h);
    }
    if (w != width_ || h != height_) {
        width_ = w;
        height_ = h;
        pixels_.assign(std::size_t(w) * std::size_t(h), 0xffffffffu);
        last_.clear();
        baseCount_ = 0;
    }
    const std::size_t n = primitives.size();
    std::size_t common = 0;
    while (common < n && common < last_.size() && samePrimitive(primitives[common], last_[common])) ++common;
    if (baseCount_ == 0 || baseCount_ > common) {
        // A new kept part: what this picture shares with the one before.
        baseCount_ = 0;
        while (common > 0 && common < n && continuesPen(primitives[common - 1], primitives[common])) --common;
        if (common > 0 && common * kBaseShareDivisor >= n) {
            basePixels_ = pixels_;
            paintPixels(basePixels_.data(), w, h, primitives, 0, common, false);
            baseCount_ = common;
        }
    }
    if (baseCount_ > 0) {
        std::copy(basePixels_.begin(), basePixels_.end(), pixels_.begin());
        paintPixels(pixels_.data(), w, h, primitives, baseCount_, n, draft);
    } else {
        paintPixels(pixels_.data(), w, h, primitives, 0, n, draft);
    }
    last_ = primitives;
    upload();
    return true;
}

// The pixels go to the image's pixmap in one request where the display
// keeps pixels as cairo does (32 bits, 0xXXRRGGBB: nearly every display),
// else through the toolkit's conversion.
void CanvasBuffer::upload() {
    Display* display = static_cast<Display*>(canvas_->getApp()->getDisplay());
    Visual* visual = static_cast<Visual*>(image_->getVisual()->getVisual());
    const int depth = int(image_->getVisual()->getDepth());
    if (visual && visual->red_mask == 0xff0000 && visual->green_mask == 0xff00 && visual->blue_mask == 0xff &&
        (depth == 24 || depth == 32)) {
        XImage* x = XCreateImage(display, visual, unsigned(depth), ZPixmap, 0, reinterpret_cast<char*>(pixels_.data()),
                                 unsigned(width_), unsigned(height_), 32, width_ * 4);
        if (x && x->bits_per_pixel == 32) {
            x->byte_order = ImageByteOrder(display);
            GC gc = XCreateGC(display, image_->id(), 0, nullptr);
            XPutImage(display, image_->id(), gc, x, 0, 0, 0, 0, unsigned(width_), unsigned(height_));
            XFreeGC(display, gc);
            x->data = nullptr;  // the pixels stay ours
            XDestroyImage(x);
            return;
        }
        if (x) {
            x->data = nullptr;
            XDestroyImage(x);
        }
    }
    colours_.resize(pixels_.size());
    for (std::size_t i = 0; i < pixels_.size(); ++i) {
        const std::uint32_t p = pixels_[i];
        colours_[i] = FXRGB((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
    }
    image_->setData(colours_.data(), 0, width_, height_);
    image_->render();
}

int CanvasBuffer::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
    return int(pixels_[std::size_t(y) * std::size_t(width_) + std::size_t(x)] & 0xffffff);
}

void CanvasBuffer::show() {
    if (!image_ || !canvas_ || !canvas_->id()) return;
    FXDCWindow dc(canvas_);
    dc.drawImage(image_, 0, 0);
}

void CanvasBuffer::paint(FXEvent* event, bool rendered) {
    FXDCWindow dc(canvas_, event);
    if (rendered && image_) {
        dc.drawImage(image_, 0, 0);
    } else {
        dc.setForeground(fxcolorfromname("White"));
        dc.fillRectangle(event->rect.x, event->rect.y, event->rect.w, event->rect.h);
    }
}

}  // namespace quarvel
