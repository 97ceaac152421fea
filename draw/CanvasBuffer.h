// A canvas drawn through an off-screen image of its own size: the picture's
// primitives are drawn anti-aliased by the cairo back end, the pixels go to
// the image on the display, and a redraw is copied to the screen whole, so
// it never shows half-drawn.
#pragma once

#include <fx.h>

#include <cstdint>
#include <vector>

#include "draw/Primitives.h"

namespace quarvel {

class CanvasBuffer {
public:
    CanvasBuffer() = default;
    CanvasBuffer(const CanvasBuffer&) = delete;
    CanvasBuffer& operator=(const CanvasBuffer&) = delete;
    ~CanvasBuffer() { delete image_; }

    void attach(FXCanvas* canvas) { canvas_ = canvas; }

    // Draws the primitives over what the image holds (a picture starts with
    // its background), sized like the canvas first; false when the canvas
    // has no window or no area yet (nothing is drawn then).
    //
    // The pixels of the part a picture shares with the one before it (the
    // grid, the neighbouring sections) are kept: while a drag changes only
    // what is drawn late, a render draws just that, over a copy of them.
    // A draft (while something is dragged) draws the rest without
    // anti-aliasing.
    bool render(const std::vector<PlotPrimitive>& primitives, bool draft = false);
    // Copies the image onto the canvas.
    void show();
    // Paint handler: the image when one was rendered, else a white fill.
    void paint(FXEvent* event, bool rendered);

    // The colour (0xRRGGBB) of pixel (x, y) of the picture last rendered,
    // -1 outside it.
    int pixel(int x, int y) const;
    int width() const { return width_; }
    int height() const { return height_; }

private:
    void upload();

    FXCanvas* canvas_ = nullptr;
    FXImage* image_ = nullptr;
    int width_ = 0, height_ = 0;
    std::vector<std::uint32_t> pixels_;  // cairo's 0xXXRRGGBB, rows of width_
    std::vector<FXColor> colours_;       // the same for the toolkit, on odd displays
    // The picture last rendered, and the pixels of its first baseCount_
    // primitives (none while baseCount_ is 0).
    std::vector<PlotPrimitive> last_;
    std::size_t baseCount_ = 0;
    std::vector<std::uint32_t> basePixels_;
};

}  // namespace quarvel
