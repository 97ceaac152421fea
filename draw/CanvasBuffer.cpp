#include "draw/CanvasBuffer.h"

namespace quarvel {

bool CanvasBuffer::render(const std::function<void(FXDC&, int, int)>& draw) {
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
    FXDCWindow dc(image_);
    draw(dc, w, h);
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
