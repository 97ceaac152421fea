// A canvas drawn through an off-screen image of its own size: a redraw is
// copied to the screen whole, so it never shows half-drawn.
#pragma once

#include <fx.h>

#include <functional>

namespace quarvel {

class CanvasBuffer {
public:
    CanvasBuffer() = default;
    CanvasBuffer(const CanvasBuffer&) = delete;
    CanvasBuffer& operator=(const CanvasBuffer&) = delete;
    ~CanvasBuffer() { delete image_; }

    void attach(FXCanvas* canvas) { canvas_ = canvas; }

    // Draws into the image, sized like the canvas first; false when the
    // canvas has no window or no area yet (nothing is drawn then).
    bool render(const std::function<void(FXDC& dc, int width, int height)>& draw);
    // Copies the image onto the canvas.
    void show();
    // Paint handler: the image when one was rendered, else a white fill.
    void paint(FXEvent* event, bool rendered);

private:
    FXCanvas* canvas_ = nullptr;
    FXImage* image_ = nullptr;
};

}  // namespace quarvel
