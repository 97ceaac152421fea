// What the main window shows: the Cp plot and its view (zoom, pan, fit), the
// status line, and the commands that show the other panes.
#include <chrono>
#include <cmath>
#include <new>
#include <optional>
#include <string>

#include "draw/FoxText.h"
#include "app/Quarvel.h"
#include "planform/Isobars.h"
#include "planform/PlanForm.h"
#include "plot/PicturePane.h"
#include "plot/Spanload.h"
#include "view3d/GLView3D.h"
#include "wing/CpFiles.h"

namespace {

// How long the mouse rests before panes too slow for every edit are drawn.
constexpr FXuint kPanesRestMs = 150;

}  // namespace

void Quarvel::drawControlPoints() {
    if (!fileLoaded) return;
    std::vector<quarvel::PlotPrimitive> points;
    quarvel::addControlPoints(wing, cur(), controlTransform(), editing.selectedControlPoint, points);
    if (plotBuffer.render(points)) plotBuffer.show();
}

quarvel::CpPlot Quarvel::currentPlot() const {
    // While a control point is dragged the axis stays as the press found it.
    const bool dragging = editing.draggingControlPoint == 1 && editing.selectedControlPoint >= 0;
    return quarvel::buildCpPlot(wing, cur(), wing.MACH, canvas->getWidth(), canvas->getHeight(),
                                editing.selectedControlPoint, zoom, dragging ? &shownAxis : nullptr, shockRule,
                                currentComparison(), showDeltaCp != 0, dragging ? &shownDeltaAxis : nullptr);
}

bool Quarvel::renderPlot() {
    if (!fileLoaded) return false;
    const quarvel::CpPlot plot = currentPlot();
    const int k = wing.curSection - 1;
    // The lift of the design Cp shown; the tooltip names the file's CYD
    // where that differs.
    shownCYD = quarvel::shownCyd(wing, k);
    shownCYDField->setTipText(quarvel::foxText(quarvel::cydTip(wing, k)));
    shownCN = wing.CN[k];
    shownInitialLoad = quarvel::liftMoment(wing, wing.cpInit, k);
    shownDesignLoad = quarvel::liftMoment(wing, wing.cpDes, k);
    shownEPD = wing.EPD[k];
    shownEP = wing.EP[k];
    plotTransform = plot.transform;
    deltaTransform = plot.deltaTransform;
    shownDeltaAxis = plot.deltaAxis;
    shownAxis = plot.axis;
    showStatus();
    // While a control point is dragged the curve is drawn as a draft.
    return plotBuffer.render(plot.primitives, editing.draggingControlPoint == 1 && editing.selectedControlPoint >= 0);
}

void Quarvel::drawCpPlot() {
    if (renderPlot()) plotBuffer.show();
    // The 3D view, the isobars and the spanload follow every change of the
    // plot while they are shown.
    if (view3D) {
        view3D->setCurrentSection(wing.curSection - 1);
        view3D->refreshSurface();
    }
    if (panesMs <= panesAtOnceMs) {
        refreshPanes();
        return;
    }
    // Every edit puts the drawing off again, until the mouse rests.
    panesWaiting = true;
    getApp()->removeTimeout(this, ID_REFRESH_PANES);
    getApp()->addTimeout(this, ID_REFRESH_PANES, kPanesRestMs);
}

void Quarvel::refreshPanes() {
    getApp()->removeTimeout(this, ID_REFRESH_PANES);
    panesWaiting = false;
    const auto start = std::chrono::steady_clock::now();
    if (planForm && isobarsShown()) planForm->redraw();
    spanloadView->refresh();
    panesMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

long Quarvel::onRefreshPanes(FXObject*, FXSelector, void*) {
    refreshPanes();
    return 1;
}

void Quarvel::redrawView() {
    if (renderPlot()) plotBuffer.show();
}

// "Section 3   Upper surface   X = 0.2500   Cp = -1.2000", and the zoom
// while the plot is zoomed. Sections are numbered as in the file.
void Quarvel::showStatus() {
    if (!fileLoaded) return;
    const int k = wing.curSection - 1;
    std::string text = "Section " + std::to_string(wing.KTE1 + k);
    text += wing.activeSurface[k] == 1 ? "    Lower surface" : "    Upper surface";
    text += "    X = " + quarvel::formatFixed(mousePlotX, 4);
    // While "Shape the change" is on the mouse reads the ΔCp axis.
    const bool shaping = &controlTransform() == &deltaTransform;
    text += (shaping ? "    ΔCp = " : "    Cp = ") + quarvel::formatFixed(mousePlotCp, 4);
    if (!zoom.fitted()) text += "    Zoom " + quarvel::formatFixed(zoom.magnification(), 1) + "x";
    if (comparison) text += "    " + quarvel::residualSummary(currentComparison());
    FXString shown = quarvel::foxText(text);
    if (!statusNote.empty()) shown += "    " + statusNote;
    statusBar->getStatusLine()->setNormalText(shown);
}

void Quarvel::noteStatus(const FXString& note) {
    statusNote = note;
    if (fileLoaded) {
        showStatus();
    } else {
        statusBar->getStatusLine()->setNormalText(note);
    }
}

long Quarvel::onPaintCanvas(FXObject*, FXSelector, void* ptr) {
    const bool rendered = renderPlot();
    plotBuffer.paint(static_cast<FXEvent*>(ptr), rendered);
    return 1;
}

// A resize rescales both axes, so the whole plot is drawn again.
long Quarvel::onConfigureCanvas(FXObject*, FXSelector, void*) {
    canvas->update();
    return 1;
}

// The wheel zooms about the pointer, a notch by a quarter.
long Quarvel::onMouseWheel(FXObject*, FXSelector, void* ptr) {
    if (!fileLoaded) return 1;
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    zoom.zoomAbout(std::pow(1.25, event->code / 120.0), event->win_x, event->win_y, canvas->getWidth(),
                   canvas->getHeight());
    redrawView();
    return 1;
}

long Quarvel::onMiddleBtnPress(FXObject*, FXSelector, void* ptr) {
    if (!fileLoaded) return 1;
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    panning = true;
    panX = event->win_x;
    panY = event->win_y;
    return 1;
}

long Quarvel::onMiddleBtnRelease(FXObject*, FXSelector, void*) {
    panning = false;
    return 1;
}

long Quarvel::onCmdFit(FXObject*, FXSelector, void*) {
    zoom.fit();
    redrawView();
    return 1;
}

// "3D VIEW" shows the 3D view's pane.
long Quarvel::onCmd3DView(FXObject*, FXSelector, void*) {
    showPane(quarvel::Pane3D, true);
    return 1;
}

// "Planform" (Ctrl-P) shows the planform's pane.
long Quarvel::onCmdPlanform(FXObject*, FXSelector, void*) {
    showPane(quarvel::PanePlanform, true);
    return 1;
}

// A picture that does not fit in the memory left is left blank, and the
// status line says why.
std::vector<quarvel::PlotPrimitive> Quarvel::pictureWithin(
    const char* what, const std::function<std::vector<quarvel::PlotPrimitive>()>& picture) {
    try {
        return picture();
    } catch (const std::bad_alloc&) {
        noteStatus(FXString("Not enough memory for the ") + what + " of this wing; the wing and its edits are kept");
        return {};
    }
}

double Quarvel::isobarStep() const { return isobarStepSpinner ? isobarStepSpinner->getValue() : 0.1; }

// The isobars are a layer of the planform pane: shown with it, or hidden.
long Quarvel::onCmdIsobars(FXObject*, FXSelector, void*) {
    const bool show = !(isobarsShown() && paneShown(quarvel::PanePlanform));
    showIsobars(show);
    if (show) showPane(quarvel::PanePlanform, true);
    return 1;
}

long Quarvel::onCmdSpanload(FXObject*, FXSelector, void*) {
    showPane(quarvel::PaneSpanload, true);
    return 1;
}
