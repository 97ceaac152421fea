// The main window as a frame that places panes: the Cp plot, the planform
// with its isobars as a layer, the spanload and the 3D view, in two rows of
// two beside the option panel. Each pane can be enlarged, hidden and shown
// again; which panes are shown and how the splitters divide the window are
// kept in the toolkit's registry.
#include <optional>

#include "app/Quarvel.h"
#include "planform/Isobars.h"
#include "planform/PlanForm.h"
#include "plot/Spanload.h"
#include "wing/CpFiles.h"
#include "plot/PicturePane.h"
#include "view3d/GLView3D.h"

namespace {

constexpr const char* kSection = "Panes";

constexpr const char* kPaneTitle[quarvel::kPanes] = {"Cp plot", "Planform and isobars", "Spanload", "3D view"};

}  // namespace

FXVerticalFrame* Quarvel::buildPane(FXComposite* parent, int pane, const char* title) {
    FXVerticalFrame* frame =
        new FXVerticalFrame(parent, FRAME_RAISED | LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 2, 2, 2, 2, 0, 2);
    FXHorizontalFrame* header = new FXHorizontalFrame(frame, LAYOUT_FILL_X, 0, 0, 0, 0, 4, 2, 1, 1, 4, 0);
    header->setBackColor(FXRGB(214, 222, 235));
    FXLabel* name = new FXLabel(header, title, nullptr, JUSTIFY_LEFT | LAYOUT_CENTER_Y | LAYOUT_FILL_X);
    name->setBackColor(header->getBackColor());
    void* data = reinterpret_cast<void*>(static_cast<FXival>(pane));
    FXButton* hide = new FXButton(header, "Hide\tHide this pane (the View menu shows it again)", nullptr, this,
                                  ID_PANE_HIDE, BUTTON_TOOLBAR | FRAME_RAISED | LAYOUT_RIGHT | LAYOUT_CENTER_Y, 0, 0,
                                  0, 0, 6, 6, 1, 1);
    hide->setUserData(data);
    enlargeButton[pane] = new FXButton(header, "Enlarge\tThis pane alone beside the options; again to restore",
                                       nullptr, this, ID_PANE_ENLARGE,
                                       BUTTON_TOOLBAR | FRAME_RAISED | LAYOUT_RIGHT | LAYOUT_CENTER_Y, 0, 0, 0, 0, 6,
                                       6, 1, 1);
    enlargeButton[pane]->setUserData(data);
    paneFrame[pane] = frame;
    paneContent[pane] = new FXVerticalFrame(frame, LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    return paneContent[pane];
}

void Quarvel::buildPanes(FXComposite* parent) {
    paneRows = new FXSplitter(parent, SPLITTER_VERTICAL | SPLITTER_TRACKING | LAYOUT_FILL_X | LAYOUT_FILL_Y);
    for (FXSplitter*& row : paneRow)
        row = new FXSplitter(paneRows, SPLITTER_HORIZONTAL | SPLITTER_TRACKING | LAYOUT_FILL_X | LAYOUT_FILL_Y);

    FXComposite* plot = buildPane(paneRow[0], quarvel::PanePlot, kPaneTitle[quarvel::PanePlot]);
    canvas = new FXCanvas(plot, this, ID_CANVAS, FRAME_SUNKEN | FRAME_THICK | LAYOUT_FILL_X | LAYOUT_FILL_Y);
    canvas->setDefaultCursor(getApp()->getDefaultCursor(DEF_CROSSHAIR_CURSOR));
    plotBuffer.attach(canvas);

    // The planform of the wing read, its isobars a layer over the upper
    // surface's copy, their controls under it.
    FXComposite* planform = buildPane(paneRow[0], quarvel::PanePlanform, kPaneTitle[quarvel::PanePlanform]);
    planformHolder = new FXVerticalFrame(planform, LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    FXHorizontalFrame* isobarControls =
        new FXHorizontalFrame(planform, LAYOUT_FILL_X, 0, 0, 0, 0, 4, 4, 2, 2, 6, 0);
    isobarLayerCheck = new FXCheckButton(isobarControls, "Isobars\tLines of constant design Cp, upper surface", this,
                                         ID_ISOBAR_CONTROL, CHECKBUTTON_NORMAL | LAYOUT_CENTER_Y);
    isobarLayerCheck->setCheck(TRUE);
    new FXLabel(isobarControls, "Step=", nullptr, LAYOUT_CENTER_Y);
    isobarStepSpinner = new FXRealSpinner(isobarControls, 4, this, ID_ISOBAR_CONTROL,
                                          SPIN_NORMAL | FRAME_SUNKEN | FRAME_THICK | LAYOUT_CENTER_Y);
    isobarStepSpinner->setRange(0.01, 1.0);
    isobarStepSpinner->setIncrement(0.05);
    isobarStepSpinner->setValue(0.1);
    isobarInitialCheck = new FXCheckButton(isobarControls, "Initial (grey)", this, ID_ISOBAR_CONTROL,
                                           CHECKBUTTON_NORMAL | LAYOUT_CENTER_Y);
    isobarInitialCheck->setCheck(TRUE);
    isobarResidualCheck = new FXCheckButton(isobarControls, "Residual", this, ID_ISOBAR_CONTROL,
                                            CHECKBUTTON_NORMAL | LAYOUT_CENTER_Y);
    isobarResidualCheck->setTipText("Isolines of the initial Cp minus the target's design Cp, in cyan, where "
                                    "compared; dashed below zero");
    FXLabel* key = new FXLabel(isobarControls, "Red: Cp*", nullptr, LAYOUT_CENTER_Y);
    key->setTipText("Red: the sonic isobar; black lines join the shocks of neighbouring sections, a red dot: "
                    "M1 >= 1.30");

    FXComposite* spanload = buildPane(paneRow[1], quarvel::PaneSpanload, kPaneTitle[quarvel::PaneSpanload]);
    spanloadView = new PicturePane(spanload, [this](int w, int h) {
        if (!fileLoaded) return std::vector<quarvel::PlotPrimitive>{};
        return pictureWithin("spanload", [&] {
            const std::optional<quarvel::ResidualSpan> residual =
                comparison ? std::optional(quarvel::residualAlongSpan(wing, *comparison)) : std::nullopt;
            return quarvel::spanloadPrimitives(quarvel::computeSpanload(wing), w, h,
                                               residual ? &*residual : nullptr, wing.curSection - 1);
        });
    });

    buildPane(paneRow[1], quarvel::Pane3D, kPaneTitle[quarvel::Pane3D]);
    // Until a wing is read, the panes say what to do.
    for (int pane : {quarvel::PanePlanform, quarvel::Pane3D})
        emptyNote[pane] = new FXLabel(pane == quarvel::PanePlanform ? static_cast<FXComposite*>(planformHolder)
                                                                     : paneContent[pane],
                                      "No wing open.\nFile > Open... (Ctrl-O) reads a wing file (.cpi, .cpd).",
                                      nullptr, LAYOUT_FILL_X | LAYOUT_FILL_Y | JUSTIFY_CENTER_X | JUSTIFY_CENTER_Y);
}

bool Quarvel::paneShown(int pane) const { return paneFrame[pane] && paneFrame[pane]->shown(); }

unsigned Quarvel::shownPanes() const {
    unsigned panes = 0;
    for (int p = 0; p < quarvel::kPanes; ++p)
        if (paneShown(p)) panes |= 1u << p;
    return panes;
}

void Quarvel::showPanes(unsigned panes) {
    for (int p = 0; p < quarvel::kPanes; ++p) {
        const bool show = panes & (1u << p);
        if (show == paneShown(p)) continue;
        show ? paneFrame[p]->show() : paneFrame[p]->hide();
    }
    // A row without a shown pane gives its room to the other.
    for (int r = 0; r < 2; ++r) {
        const bool any = panes & (3u << (2 * r));
        any ? paneRow[r]->show() : paneRow[r]->hide();
    }
    if (!panes) paneRows->hide(); else paneRows->show();
    for (int p = 0; p < quarvel::kPanes; ++p)
        enlargeButton[p]->setText(p == enlargedPane ? "Restore" : "Enlarge");
    paneRows->getParent()->recalc();
    // What was hidden did not follow the wing; a 3D view is made (or
    // refilled for another wing) once its pane shows.
    if (fileLoaded && paneShown(quarvel::Pane3D) && (!view3D || view3DStale)) make3DView();
    if (fileLoaded) {
        if (paneShown(quarvel::PanePlot)) canvas->update();
        if (view3D) view3D->refreshSurface();
        if (planForm) planForm->redraw();
        spanloadView->refresh();
    }
}

void Quarvel::showPane(int pane, bool show) {
    unsigned panes = shownPanes();
    if (enlargedPane >= 0) {
        // Showing another pane ends the enlargement.
        if (show && pane != enlargedPane) panes = shownBeforeEnlarging;
        enlargedPane = -1;
    }
    panes = show ? panes | (1u << pane) : panes & ~(1u << pane);
    showPanes(panes);
}

void Quarvel::showIsobars(bool show) {
    isobarLayerCheck->setCheck(show);
    if (planForm) planForm->redraw();
}

bool Quarvel::isobarsShown() const { return isobarLayerCheck->getCheck(); }

std::vector<quarvel::PlotPrimitive> Quarvel::isobarPicture(int width, int height) {
    if (!fileLoaded || !planForm || !isobarsShown()) return {};
    return pictureWithin("isobars", [&] {
        quarvel::IsobarPicture picture =
            quarvel::upperIsobars(wing, isobarStep(), isobarInitialCheck->getCheck(), &shockRule);
        if (comparison && isobarResidualCheck->getCheck())
            picture.residual = quarvel::residualIsolines(wing, *comparison, 0);
        return quarvel::isobarLayer(picture, planForm->plan, width, height);
    });
}

long Quarvel::onCmdIsobarControl(FXObject*, FXSelector, void*) {
    if (planForm) planForm->redraw();
    return 1;
}

long Quarvel::onCmdPane(FXObject*, FXSelector sel, void*) {
    const int pane = FXSELID(sel) - ID_PANE_PLOT;
    showPane(pane, !paneShown(pane));
    return 1;
}

long Quarvel::onUpdPane(FXObject* sender, FXSelector sel, void*) {
    const int pane = FXSELID(sel) - ID_PANE_PLOT;
    sender->handle(this, FXSEL(SEL_COMMAND, paneShown(pane) ? ID_CHECK : ID_UNCHECK), nullptr);
    return 1;
}

long Quarvel::onCmdHidePane(FXObject* sender, FXSelector, void*) {
    const int pane = static_cast<int>(reinterpret_cast<FXival>(static_cast<FXWindow*>(sender)->getUserData()));
    if (pane == enlargedPane) {
        // The enlarged pane hidden: the others come back.
        const unsigned before = shownBeforeEnlarging;
        enlargedPane = -1;
        showPanes(before & ~(1u << pane));
        return 1;
    }
    showPane(pane, false);
    return 1;
}

long Quarvel::onCmdEnlargePane(FXObject* sender, FXSelector, void*) {
    const int pane = static_cast<int>(reinterpret_cast<FXival>(static_cast<FXWindow*>(sender)->getUserData()));
    if (pane == enlargedPane) {
        enlargedPane = -1;
        showPanes(shownBeforeEnlarging);
        return 1;
    }
    if (enlargedPane < 0) shownBeforeEnlarging = shownPanes();
    enlargedPane = pane;
    showPanes(1u << pane);
    return 1;
}

long Quarvel::onCmdShowAllPanes(FXObject*, FXSelector, void*) {
    enlargedPane = -1;
    showPanes(quarvel::kAllPanes);
    return 1;
}

long Quarvel::onUpdIsobars(FXObject* sender, FXSelector, void*) {
    const bool shown = isobarsShown() && paneShown(quarvel::PanePlanform);
    sender->handle(this, FXSEL(SEL_COMMAND, shown ? ID_CHECK : ID_UNCHECK), nullptr);
    return 1;
}

// The splitters divide the room beside the options: the top row a bit
// taller, the 3D view wider than the spanload, unless the registry holds
// the last run's division.
void Quarvel::restorePaneLayout() {
    FXRegistry& reg = getApp()->reg();
    const FXint width = FXMAX(paneRows->getWidth(), 200), height = FXMAX(paneRows->getHeight(), 200);
    const FXint top = reg.readIntEntry(kSection, "TopHeight", height * 11 / 20);
    const FXint plot = reg.readIntEntry(kSection, "PlotWidth", width / 2);
    const FXint spanload = reg.readIntEntry(kSection, "SpanloadWidth", width * 2 / 5);
    paneRow[0]->setHeight(FXCLAMP(60, top, height - 60));
    paneFrame[quarvel::PanePlot]->setWidth(FXCLAMP(60, plot, width - 60));
    paneFrame[quarvel::PaneSpanload]->setWidth(FXCLAMP(60, spanload, width - 60));
    unsigned panes = FXuint(reg.readIntEntry(kSection, "Shown", int(quarvel::kAllPanes))) & quarvel::kAllPanes;
    if (startPanes) panes = startPanes;
    if (!reg.readIntEntry(kSection, "Isobars", 1)) showIsobars(false);
    showPanes(panes ? panes : quarvel::kAllPanes);
}

void Quarvel::rememberPaneLayout() {
    if (!paneRows) return;
    FXRegistry& reg = getApp()->reg();
    // An enlarged pane is kept as the panes it was enlarged from.
    reg.writeIntEntry(kSection, "Shown", int(enlargedPane >= 0 ? shownBeforeEnlarging : shownPanes()));
    if (enlargedPane < 0) {
        if (paneRow[0]->shown() && paneRow[1]->shown()) reg.writeIntEntry(kSection, "TopHeight", paneRow[0]->getHeight());
        if (paneShown(quarvel::PanePlot) && paneShown(quarvel::PanePlanform))
            reg.writeIntEntry(kSection, "PlotWidth", paneFrame[quarvel::PanePlot]->getWidth());
        if (paneShown(quarvel::PaneSpanload) && paneShown(quarvel::Pane3D))
            reg.writeIntEntry(kSection, "SpanloadWidth", paneFrame[quarvel::PaneSpanload]->getWidth());
    }
    reg.writeIntEntry(kSection, "Isobars", isobarsShown() ? 1 : 0);
}

// The 3D view is made once, for the first wing read, and refilled for the
// next ones. Short of memory the GL driver cannot start, and the toolkit
// then ends the program: the view is not tried.
void Quarvel::make3DView() {
    view3DStale = false;
    const std::size_t needed = GLView3D::bytesFor(wing), left = quarvel::availableMemory();
    if (needed > left) {
        FXString fault;
        fault.format("Not enough memory for the 3D view of this wing (%d sections of %d points: it takes "
                     "about %lu MB, %lu MB are left); the wing and its edits are kept",
                     wing.nsec, wing.npt, (unsigned long)(needed >> 20), (unsigned long)(left >> 20));
        if (view3D) {
            delete view3D;
            view3D = nullptr;
            emptyNote[quarvel::Pane3D]->show();
        }
        reportError("3D view", fault);
        return;
    }
    if (view3D) {
        view3D->setWing(wing);
        return;
    }
    view3D = new GLView3D(paneContent[quarvel::Pane3D], wing);
    // A wing too large for the memory left gets a message, and the next
    // wing read tries again.
    if (!view3D->memoryFault.empty()) {
        const FXString fault = view3D->memoryFault;
        delete view3D;
        view3D = nullptr;
        reportError("3D view", fault);
        return;
    }
    view3D->onMemoryFault = [this](const FXString& fault) { noteStatus(fault); };
    view3D->hideButton->setTarget(this);
    view3D->hideButton->setSelector(ID_PANE_HIDE);
    view3D->hideButton->setUserData(reinterpret_cast<void*>(static_cast<FXival>(quarvel::Pane3D)));
    emptyNote[quarvel::Pane3D]->hide();
    view3D->create();
    paneContent[quarvel::Pane3D]->recalc();
}
