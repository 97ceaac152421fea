#include "draw/CanvasBuffer.h"

#include "draw/CairoPicture.h"

namespace quarvel {

bool CanvasBuffer::render(const std::vector<PlotPrimitive>& primitives) {
    if (!canvas_ || !canvas_->id()) return false;
    const FXint w = canvas_->getWidth();
    const FXint h = canvas_->getHeight();
    if (w < 1 || h < 1) return false;
    const std::size_t count = std::size_t(w) * std::size_t(h);
    if (!image_) {
        image_ = new FXImage(canvas_->getApp(), nullptr, 0, w, h);
        image_->create();
    }
    if (pixels_.size() != count || image_->getWidth() != w || image_->getHeight() != h) {
        pixels_.assign(count, 0xffffffffu);
        colours_.assign(count, FXRGB(255, 255, 255));
        image_->setData(colours_.data(), 0, w, h);
    }
    paintPixels(pixels_.data(), w, h, primitives);
    // Opaque pictures: the premultiplied channels are the colours.
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = pixels_[i];
        colours_[i] = FXRGB((p >> 16) & 0xff, (p >> 8) & 0xff, p & 0xff);
    }
    image_->render();
    return true;
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
