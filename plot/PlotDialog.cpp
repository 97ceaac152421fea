#include "plot/PlotDialog.h"

#include <utility>

#include "draw/WindowIcon.h"

// clang-format off
FXDEFMAP(PlotDialog) PlotDialogMap[] = {
    FXMAPFUNC(SEL_PAINT,   PlotDialog::ID_PICTURE, PlotDialog::onPaintPicture),
    FXMAPFUNC(SEL_COMMAND, PlotDialog::ID_REFRESH, PlotDialog::onCmdRefresh),
    FXMAPFUNC(SEL_CHANGED, PlotDialog::ID_REFRESH, PlotDialog::onCmdRefresh),
};
// clang-format on

FXIMPLEMENT(PlotDialog, FXDialogBox, PlotDialogMap, ARRAYNUMBER(PlotDialogMap))

PlotDialog::PlotDialog(FXWindow* owner, const FXString& title, Picture p, FXint width, FXint height)
    : FXDialogBox(owner, title, DECOR_ALL, 0, 0, width, height, 6, 6, 6, 6, 4, 4), picture(std::move(p)) {
    quarvel::setProgramIcon(this);
    controls = new FXHorizontalFrame(this, LAYOUT_FILL_X, 0, 0, 0, 0, 0, 0, 0, 0, 6, 0);
    FXVerticalFrame* frame =
        new FXVerticalFrame(this, FRAME_SUNKEN | FRAME_THICK | LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0);
    canvas = new FXCanvas(frame, this, ID_PICTURE, LAYOUT_FILL_X | LAYOUT_FILL_Y);
    buffer.attach(canvas);
}

bool PlotDialog::render() {
    const int w = canvas->getWidth(), h = canvas->getHeight();
    if (!canvas->id() || w < 1 || h < 1) return false;
    ++drawCount;
    return buffer.render(picture(w, h));
}

void PlotDialog::refresh() {
    if (shown() && render()) buffer.show();
}

void PlotDialog::show(FXuint placement) {
    FXDialogBox::show(placement);
    refresh();
}

FXbool PlotDialog::close(FXbool) {
    hide();
    return FALSE;
}

long PlotDialog::onPaintPicture(FXObject*, FXSelector, void* ptr) {
    const bool rendered = render();
    buffer.paint(static_cast<FXEvent*>(ptr), rendered);
    return 1;
}

long PlotDialog::onCmdRefresh(FXObject*, FXSelector, void*) {
    refresh();
    return 1;
}
