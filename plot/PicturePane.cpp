#include "plot/PicturePane.h"

#include <utility>


// clang-format off
FXDEFMAP(PicturePane) PicturePaneMap[] = {
    FXMAPFUNC(SEL_PAINT,   PicturePane::ID_PICTURE, PicturePane::onPaintPicture),
    FXMAPFUNC(SEL_COMMAND, PicturePane::ID_REFRESH, PicturePane::onCmdRefresh),
    FXMAPFUNC(SEL_CHANGED, PicturePane::ID_REFRESH, PicturePane::onCmdRefresh),
};
// clang-format on

FXIMPLEMENT(PicturePane, FXVerticalFrame, PicturePaneMap, ARRAYNUMBER(PicturePaneMap))

PicturePane::PicturePane(FXComposite* parent, Picture p)
    : FXVerticalFrame(parent, LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0, 4, 4), picture(std::move(p)) {
    controls = new FXHorizontalFrame(this, LAYOUT_FILL_X, 0, 0, 0, 0, 0, 0, 0, 0, 6, 0);
    FXVerticalFrame* frame =
        new FXVerticalFrame(this, FRAME_SUNKEN | FRAME_THICK | LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0);
    canvas = new FXCanvas(frame, this, ID_PICTURE, LAYOUT_FILL_X | LAYOUT_FILL_Y);
    buffer.attach(canvas);
}

bool PicturePane::render() {
    const int w = canvas->getWidth(), h = canvas->getHeight();
    if (!canvas->id() || w < 1 || h < 1) return false;
    ++drawCount;
    return buffer.render(picture(w, h));
}

void PicturePane::refresh() {
    for (FXWindow* w = this; w && w != getRoot(); w = w->getParent())
        if (!w->shown()) return;
    if (render()) buffer.show();
}

void PicturePane::show() {
    FXVerticalFrame::show();
    refresh();
}

long PicturePane::onPaintPicture(FXObject*, FXSelector, void* ptr) {
    const bool rendered = render();
    buffer.paint(static_cast<FXEvent*>(ptr), rendered);
    return 1;
}

long PicturePane::onCmdRefresh(FXObject*, FXSelector, void*) {
    refresh();
    return 1;
}
