// A pane of the main window that shows one picture of the wing, drawn from
// plot primitives off screen and copied to its canvas: the isobars and the
// spanload. It draws only while shown; the main window asks it to refresh
// after every change of the wing.
#pragma once

#include <fx.h>

#include <functional>
#include <vector>

#include "draw/CanvasBuffer.h"
#include "plot/CpPlot.h"

class PicturePane : public FXVerticalFrame {
    FXDECLARE(PicturePane)

protected:
    // For the FOX object factory only: builds no widgets.
    PicturePane() {}

private:
    PicturePane(const PicturePane&);
    PicturePane& operator=(const PicturePane&);

public:
    enum {
        ID_PICTURE = FXVerticalFrame::ID_LAST,
        ID_REFRESH,  // a control of the picture changed
        ID_LAST
    };

    // The picture on a canvas of width x height pixels.
    using Picture = std::function<std::vector<quarvel::PlotPrimitive>(int width, int height)>;

    PicturePane(FXComposite* parent, Picture picture);

    // Draws the picture again, when it is on the screen.
    void refresh();
    virtual void show();

    long onPaintPicture(FXObject*, FXSelector, void*);
    long onCmdRefresh(FXObject*, FXSelector, void*);

    // Above the picture: room for its controls, whose target may be this
    // dialog with ID_REFRESH.
    FXHorizontalFrame* controls = nullptr;
    FXCanvas* canvas = nullptr;
    // Pictures drawn so far.
    int drawCount = 0;

private:
    Picture picture;
    quarvel::CanvasBuffer buffer;
    bool render();
};
