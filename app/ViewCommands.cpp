// What the main window shows: the Cp plot and its view (zoom, pan, fit), the
// status line, and the planform and 3D view dialogs.
#include <cmath>
#include <new>
#include <optional>
#include <string>

#include "draw/FoxText.h"
#include "app/Quarvel.h"
#include "planform/Isobars.h"
#include "planform/PlanForm.h"
#include "plot/PlotDialog.h"
#include "plot/Spanload.h"
#include "view3d/GLView3D.h"
#include "wing/CpFiles.h"

void Quarvel::drawControlPoints() {
    if (!fileLoaded) return;
    std::vector<quarvel::PlotPrimitive> points;
    quarvel::addControlPoints(wing, controlTransform(), editing.selectedControlPoint, points);
    if (plotBuffer.render(points)) plotBuffer.show();
}

quarvel::CpPlot Quarvel::currentPlot() const {
    // While a control point is dragged the axis stays as the press found it.
    const bool dragging = editing.draggingControlPoint == 1 && editing.selectedControlPoint >= 0;
    return quarvel::buildCpPlot(wing, wing.MACH, canvas->getWidth(), canvas->getHeight(),
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
    if (view3D) view3D->refreshSurface();
    if (isobarView) isobarView->refresh();
    if (spanloadView) spanloadView->refresh();
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

// One 3D view for the run: a second press shows and raises it again.
long Quarvel::onCmd3DView(FXObject*, FXSelector, void*) {
    if (!fileLoaded) return 1;
    if (!view3D) {
        // Short of memory the GL driver cannot start, and the toolkit then
        // ends the program: the view is not tried.
        const std::size_t needed = GLView3D::bytesFor(wing), left = quarvel::availableMemory();
        if (needed > left) {
            FXString fault;
            fault.format("Not enough memory for the 3D view of this wing (%d sections of %d points: it takes "
                         "about %lu MB, %lu MB are left); the wing and its edits are kept",
                         wing.nsec, wing.npt, (unsigned long)(needed >> 20), (unsigned long)(left >> 20));
            reportError("3D view", fault);
            return 1;
        }
        view3D = new GLView3D(this, wing);
        // A wing too large for the memory left gets a message, and the next
        // press tries again.
        if (!view3D->memoryFault.empty()) {
            const FXString fault = view3D->memoryFault;
            delete view3D;
            view3D = nullptr;
            reportError("3D view", fault);
            return 1;
        }
        view3D->onMemoryFault = [this](const FXString& fault) { noteStatus(fault); };
        // "&Exit" ends the program through the window, which asks about
        // unsaved changes.
        view3D->exitButton->setTarget(this);
        view3D->exitButton->setSelector(ID_QUIT);
        view3D->create();
        // Centred on the main window unless it has a place of its own.
        const FXint w = view3D->getWidth(), h = view3D->getHeight();
        placeWindow(view3D, "View3D", getX() + (getWidth() - w) / 2, getY() + (getHeight() - h) / 2, w, h);
        shareShortcuts(view3D);
    }
    view3D->show(PLACEMENT_DEFAULT);
    view3D->raise();
    return 1;
}

// The planform dialog is the section selector: closing it only hides it,
// and this brings it back.
long Quarvel::onCmdPlanform(FXObject*, FXSelector, void*) {
    if (planForm) {
        planForm->show();
        planForm->raise();
    }
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

// The upper surface's isobars on the planform: the design Cp, the initial Cp
// in grey beside it, at a step of Cp the user chooses.
long Quarvel::onCmdIsobars(FXObject*, FXSelector, void*) {
    if (!fileLoaded) return 1;
    if (!isobarView) {
        isobarView = new PlotDialog(
            this, "Isobars",
            [this](int w, int h) {
                return pictureWithin("isobars", [&] {
                    quarvel::IsobarPicture picture =
                        quarvel::upperIsobars(wing, isobarStep(), isobarInitialCheck->getCheck(), &shockRule);
                    if (comparison && isobarResidualCheck->getCheck())
                        picture.residual = quarvel::residualIsolines(wing, *comparison, 0);
                    return quarvel::isobarPrimitives(wing, picture, w, h);
                });
            },
            700, 560);
        new FXLabel(isobarView->controls, "Upper surface, design Cp; Step=", nullptr, LAYOUT_CENTER_Y);
        isobarStepSpinner = new FXRealSpinner(isobarView->controls, 6, isobarView, PlotDialog::ID_REFRESH,
                                              SPIN_NORMAL | FRAME_SUNKEN | FRAME_THICK | LAYOUT_CENTER_Y);
        isobarStepSpinner->setRange(0.01, 1.0);
        isobarStepSpinner->setIncrement(0.05);
        isobarStepSpinner->setValue(0.1);
        isobarInitialCheck = new FXCheckButton(isobarView->controls, "Initial Cp (grey)", isobarView,
                                               PlotDialog::ID_REFRESH, CHECKBUTTON_NORMAL | LAYOUT_CENTER_Y);
        isobarInitialCheck->setCheck(TRUE);
        isobarResidualCheck = new FXCheckButton(isobarView->controls, "Residual (cyan)", isobarView,
                                                PlotDialog::ID_REFRESH, CHECKBUTTON_NORMAL | LAYOUT_CENTER_Y);
        isobarResidualCheck->setTipText("Isolines of the initial Cp minus the target's design Cp, where compared; "
                                        "dashed below zero");
        FXLabel* key = new FXLabel(isobarView->controls, "Red: sonic Cp*; black: shocks", nullptr, LAYOUT_CENTER_Y);
        key->setTipText("Shock lines join the shocks of neighbouring sections; a red dot: M1 >= 1.30");
        isobarView->create();
        shareShortcuts(isobarView);
    }
    isobarView->show(PLACEMENT_OWNER);
    isobarView->raise();
    return 1;
}

long Quarvel::onCmdSpanload(FXObject*, FXSelector, void*) {
    if (!fileLoaded) return 1;
    if (!spanloadView) {
        spanloadView = new PlotDialog(
            this, "Spanload",
            [this](int w, int h) {
                return pictureWithin("spanload", [&] {
                    const std::optional<quarvel::ResidualSpan> residual =
                        comparison ? std::optional(quarvel::residualAlongSpan(wing, *comparison)) : std::nullopt;
                    return quarvel::spanloadPrimitives(quarvel::computeSpanload(wing), w, h,
                                                       residual ? &*residual : nullptr);
                });
            },
            640, 420);
        spanloadView->create();
        shareShortcuts(spanloadView);
    }
    spanloadView->show(PLACEMENT_OWNER);
    spanloadView->raise();
    return 1;
}
