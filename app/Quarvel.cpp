#include "app/Quarvel.h"

#include <fxkeys.h>

#include "draw/FoxText.h"
#include "draw/WindowIcon.h"
#include "planform/PlanForm.h"
#include "plot/PicturePane.h"
#include "view3d/GLView3D.h"

// clang-format off
FXDEFMAP(Quarvel) QuarvelMap[] = {
    FXMAPFUNC (SEL_PAINT,               Quarvel::ID_CANVAS,                                Quarvel::onPaintCanvas),
    FXMAPFUNC (SEL_CONFIGURE,           Quarvel::ID_CANVAS,                                Quarvel::onConfigureCanvas),
    FXMAPFUNCS(SEL_COMMAND,             Quarvel::ID_SEC_YES,     Quarvel::ID_SEC_NO,       Quarvel::onCmdSection),
    FXMAPFUNCS(SEL_COMMAND,             Quarvel::ID_UPPER,       Quarvel::ID_LOWER,        Quarvel::onCmdSurface),
    FXMAPFUNCS(SEL_COMMAND,             Quarvel::ID_UP_NOCORR,   Quarvel::ID_UP_MAXTHICK,  Quarvel::onCmdUpperMode),
    FXMAPFUNCS(SEL_COMMAND,             Quarvel::ID_LO_NOCORR,   Quarvel::ID_LO_MAXTHICK,  Quarvel::onCmdLowerMode),
    FXMAPFUNCS(SEL_COMMAND,             Quarvel::ID_UP_EDITION,  Quarvel::ID_UP_CPINTERP,  Quarvel::onCmdUpperCpMode),
    FXMAPFUNCS(SEL_COMMAND,             Quarvel::ID_LO_EDITION,  Quarvel::ID_LO_CPINTERP,  Quarvel::onCmdLowerCpMode),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_SPLINE,                                Quarvel::onCmdSpline),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_OPEN,                                  Quarvel::onCmdOpen),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_SAVE,                                  Quarvel::onCmdSave),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_U1,                                    Quarvel::onCmdInterval),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_U2,                                    Quarvel::onCmdInterval),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_L1,                                    Quarvel::onCmdInterval),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_L2,                                    Quarvel::onCmdInterval),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_POINT,                                 Quarvel::onCmdPoint),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_NSPL,                                  Quarvel::onCmdNspl),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_CPD,                                   Quarvel::onCmdCpd),
    FXMAPFUNC (SEL_LEFTBUTTONPRESS,     Quarvel::ID_CANVAS,                                Quarvel::onLeftBtnPress),
    FXMAPFUNC (SEL_LEFTBUTTONRELEASE,   Quarvel::ID_CANVAS,                                Quarvel::onLeftBtnRelease),
    FXMAPFUNC (SEL_MOTION,              Quarvel::ID_CANVAS,                                Quarvel::onMotion),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_3DVIEW,                                Quarvel::onCmd3DView),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_PLANFORM,                              Quarvel::onCmdPlanform),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_QUIT,                                  Quarvel::onCmdQuit),
    FXMAPFUNC (SEL_KEYPRESS,            0,                                                 Quarvel::onKeyPress),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_UNDO,                                  Quarvel::onCmdUndo),
    FXMAPFUNC (SEL_UPDATE,              Quarvel::ID_UNDO,                                  Quarvel::onUpdUndo),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_REDO,                                  Quarvel::onCmdRedo),
    FXMAPFUNC (SEL_UPDATE,              Quarvel::ID_REDO,                                  Quarvel::onUpdRedo),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_REVERT,                                Quarvel::onCmdRevert),
    FXMAPFUNC (SEL_UPDATE,              Quarvel::ID_REVERT,                                Quarvel::onUpdRevert),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_EXPORT_PNG,                            Quarvel::onCmdExportPng),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_EXPORT_FIGURE,                         Quarvel::onCmdExportFigure),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_EXPORT_CSV,                            Quarvel::onCmdExportCsv),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_FIT,                                   Quarvel::onCmdFit),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_SMOOTH,                                Quarvel::onCmdSmooth),
    FXMAPFUNC (SEL_UPDATE,              Quarvel::ID_SMOOTH,                                Quarvel::onUpdSmooth),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_SHAPE,                                 Quarvel::onCmdShape),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_APPLY_SECTIONS,                        Quarvel::onCmdApplySections),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_SMOOTH_SPAN,                           Quarvel::onCmdSmoothSpan),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_IMPORT_REGIMES,                        Quarvel::onCmdImportRegimes),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_SHOCK_SETTINGS,                        Quarvel::onCmdShockSettings),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_COMPARE,                               Quarvel::onCmdCompare),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_WEAKEN_SHOCK,                          Quarvel::onCmdWeakenShock),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_RUN_SCRIPT,                            Quarvel::onCmdRunScript),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_DELTA_CP,                              Quarvel::onCmdDeltaCp),
    FXMAPFUNC (SEL_UPDATE,              Quarvel::ID_DELTA_CP,                              Quarvel::onUpdDeltaCp),
    FXMAPFUNCS(SEL_UPDATE,              Quarvel::ID_APPLY_SECTIONS, Quarvel::ID_IMPORT_REGIMES, Quarvel::onUpdWingLoaded),
    FXMAPFUNC (SEL_MOUSEWHEEL,          Quarvel::ID_CANVAS,                                Quarvel::onMouseWheel),
    FXMAPFUNC (SEL_MIDDLEBUTTONPRESS,   Quarvel::ID_CANVAS,                                Quarvel::onMiddleBtnPress),
    FXMAPFUNC (SEL_MIDDLEBUTTONRELEASE, Quarvel::ID_CANVAS,                                Quarvel::onMiddleBtnRelease),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_SAVE_AS,                               Quarvel::onCmdSaveAs),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_ISOBARS,                               Quarvel::onCmdIsobars),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_SPANLOAD,                              Quarvel::onCmdSpanload),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_EXPORT_ISOBARS,                        Quarvel::onCmdExportIsobars),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_EXPORT_SPANLOAD,                       Quarvel::onCmdExportSpanload),
    FXMAPFUNCS(SEL_COMMAND,             Quarvel::ID_PANE_PLOT,   Quarvel::ID_PANE_3D,      Quarvel::onCmdPane),
    FXMAPFUNCS(SEL_UPDATE,              Quarvel::ID_PANE_PLOT,   Quarvel::ID_PANE_3D,      Quarvel::onUpdPane),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_PANE_ENLARGE,                          Quarvel::onCmdEnlargePane),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_PANE_HIDE,                             Quarvel::onCmdHidePane),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_SHOW_ALL_PANES,                        Quarvel::onCmdShowAllPanes),
    FXMAPFUNC (SEL_UPDATE,              Quarvel::ID_ISOBARS,                               Quarvel::onUpdIsobars),
    FXMAPFUNC (SEL_COMMAND,             Quarvel::ID_ISOBAR_CONTROL,                        Quarvel::onCmdIsobarControl),
    FXMAPFUNC (SEL_CHANGED,             Quarvel::ID_ISOBAR_CONTROL,                        Quarvel::onCmdIsobarControl),
    FXMAPFUNC (SEL_TIMEOUT,             Quarvel::ID_REFRESH_PANES,                         Quarvel::onRefreshPanes),
    FXMAPFUNCS(SEL_COMMAND,             Quarvel::ID_PREVIOUS_SECTION, Quarvel::ID_NEXT_SECTION, Quarvel::onCmdStepSection),
};
// clang-format on

FXIMPLEMENT(Quarvel, FXMainWindow, QuarvelMap, ARRAYNUMBER(QuarvelMap))

namespace {

// Layout of the cells of the value row and of the interval matrices.
constexpr FXuint kLabelStyle = JUSTIFY_RIGHT | LAYOUT_FILL_ROW | LAYOUT_CENTER_X | LAYOUT_CENTER_Y;
constexpr FXuint kEntryStyle = FRAME_SUNKEN | FRAME_THICK | LAYOUT_CENTER_X | LAYOUT_CENTER_Y;

// Every frame and group box of the body pads and spaces its children by 4.
constexpr FXint kPad = 4;

FXGroupBox* groupBox(FXComposite* parent) {
    return new FXGroupBox(parent, "", FRAME_RIDGE | LAYOUT_FILL_X, 0, 0, 0, 0, kPad, kPad, kPad, kPad, kPad, kPad);
}

FXVerticalFrame* verticalFrame(FXComposite* parent, FXuint opts) {
    return new FXVerticalFrame(parent, opts, 0, 0, 0, 0, kPad, kPad, kPad, kPad, kPad, kPad);
}

// A read-out: on the window's grey, not on an entry's white, so that it
// does not look as if it could be typed into.
FXTextField* realField(FXComposite* parent, FXint columns, FXDataTarget* target) {
    FXTextField* f = new FXTextField(parent, columns, target, FXDataTarget::ID_VALUE,
                                     TEXTFIELD_REAL | TEXTFIELD_READONLY | kEntryStyle);
    f->setBackColor(parent->getApp()->getBaseColor());
    return f;
}

}  // namespace

Quarvel::Quarvel(FXApp* a)
    : FXMainWindow(a, "Cp editor", nullptr, nullptr, DECOR_ALL, 0, 0, 680, 825) {
    quarvel::setProgramIcon(this);
    // The value row explains itself in tooltips; one tooltip serves the run.
    static bool tooltipMade = false;
    if (!tooltipMade) new FXToolTip(a, 0);
    tooltipMade = true;
    shockRule = quarvel::readShockRule(a->reg());
    showDeltaCp = a->reg().readIntEntry("Plot", "DeltaCp", 0) != 0;
    FXMenuBar* menuBar = new FXMenuBar(this, LAYOUT_FILL_X);
    fileMenu = new FXMenuPane(this);
    openCommand = new FXMenuCommand(fileMenu, "&Open...\tCtl-O\tOpen document file.", nullptr, this, ID_OPEN);
    new FXMenuCommand(fileMenu, "&Save...\tCtl-S\tSave output file.", nullptr, this, ID_SAVE);
    new FXMenuCommand(fileMenu, "Save &As...\tCtl-Shift-S\tSave the output file under another name.", nullptr, this,
                      ID_SAVE_AS);
    new FXMenuCommand(fileMenu, "Compare with target...\t\tShow the wing beside the design Cp of a CpOutput.",
                      nullptr, this, ID_COMPARE);
    new FXMenuCommand(fileMenu, "Run script...\t\tApply the design operations of a script.", nullptr, this,
                      ID_RUN_SCRIPT);
    new FXMenuCommand(fileMenu, "Export plot as PNG...", nullptr, this, ID_EXPORT_PNG);
    new FXMenuCommand(fileMenu, "Export plot as figure...\tPNG, SVG or PDF at a chosen size, its marks explained.",
                      nullptr, this, ID_EXPORT_FIGURE);
    new FXMenuCommand(fileMenu, "Export section as CSV...", nullptr, this, ID_EXPORT_CSV);
    new FXMenuCommand(fileMenu, "Export isobars as CSV...", nullptr, this, ID_EXPORT_ISOBARS);
    new FXMenuCommand(fileMenu, "Export spanload as CSV...", nullptr, this, ID_EXPORT_SPANLOAD);
    // Quitting goes through the window, which asks about unsaved changes.
    new FXMenuCommand(fileMenu, "&Quit\tCtl-Q", nullptr, this, ID_QUIT);
    new FXMenuTitle(menuBar, "&File", nullptr, fileMenu);
    editMenu = new FXMenuPane(this);
    undoCommand = new FXMenuCommand(editMenu, "&Undo\tCtl-Z", nullptr, this, ID_UNDO);
    redoCommand = new FXMenuCommand(editMenu, "&Redo\tCtl-Y", nullptr, this, ID_REDO);
    new FXMenuSeparator(editMenu);
    revertCommand = new FXMenuCommand(editMenu, "Revert section", nullptr, this, ID_REVERT);
    new FXMenuSeparator(editMenu);
    new FXMenuCommand(editMenu, "Smooth", nullptr, this, ID_SMOOTH);
    new FXMenuCommand(editMenu, "Apply to sections...", nullptr, this, ID_APPLY_SECTIONS);
    new FXMenuCommand(editMenu, "Smooth along the span", nullptr, this, ID_SMOOTH_SPAN);
    new FXMenuCommand(editMenu, "Weaken shock...", nullptr, this, ID_WEAKEN_SHOCK);
    new FXMenuCommand(editMenu, "Import regimes from...", nullptr, this, ID_IMPORT_REGIMES);
    // Grey until there is something to do; the update messages keep them so.
    undoCommand->disable();
    redoCommand->disable();
    revertCommand->disable();
    new FXMenuTitle(menuBar, "&Edit", nullptr, editMenu);
    viewMenu = new FXMenuPane(this);
    // Each pane shown or hidden; the checks follow the panes.
    new FXMenuCheck(viewMenu, "Cp plot\t\tThe Cp of the current section.", this, ID_PANE_PLOT);
    new FXMenuCheck(viewMenu, "&Planform\tCtl-P\tThe wing planform and the section chooser.", this, ID_PANE_PLANFORM);
    new FXMenuCheck(viewMenu, "Isobars\t\tLines of constant Cp on the planform, under it.", this, ID_ISOBARS);
    new FXMenuCheck(viewMenu, "Spanload\t\tThe load along the span, initial and design.", this, ID_PANE_SPANLOAD);
    new FXMenuCheck(viewMenu, "3D view\t\tThe Cp of the whole wing in 3D.", this, ID_PANE_3D);
    new FXMenuCommand(viewMenu, "Show &all panes\tCtl-Shift-A", nullptr, this, ID_SHOW_ALL_PANES);
    new FXMenuSeparator(viewMenu);
    new FXMenuCommand(viewMenu, "Fit", nullptr, this, ID_FIT);
    new FXMenuCommand(viewMenu, "Shock settings...\t\tWhat counts as a shock.", nullptr, this, ID_SHOCK_SETTINGS);
    new FXMenuCheck(viewMenu, "ΔCp\t\tThe change, design - initial Cp, on its own axis.", this, ID_DELTA_CP);
    new FXMenuTitle(menuBar, "&View", nullptr, viewMenu);
    // Made before the body, so that the body cannot take its place.
    statusBar = new FXStatusBar(this, LAYOUT_SIDE_BOTTOM | LAYOUT_FILL_X | FRAME_RAISED);

    new FXHorizontalSeparator(this, SEPARATOR_GROOVE | LAYOUT_FILL_X);

    buildValueRow();

    FXHorizontalFrame* body = new FXHorizontalFrame(this, LAYOUT_FILL_X | LAYOUT_FILL_Y, 0, 0, 0, 0,
                                                    kPad, kPad, kPad, kPad, kPad, kPad);
    buildOptionPanel(body);
    buildPanes(body);

    // Nothing can be edited before a wing has been read.
    // No wing yet: the panel of none, every control off.
    statusBar->getStatusLine()->setNormalText("No wing open: File > Open... (Ctrl-O) reads a wing file.");
    applyPanel();
    view3DButton->disable();
}

// Two rows of 6 labelled cells: the selected point (number, design Cp and
// its change, spline count) over its chord position and input Cp, the mouse
// position, and the section's design and input values side by side.
void Quarvel::buildValueRow() {
    FXMatrix* row = new FXMatrix(this, 12, MATRIX_BY_COLUMNS | FRAME_RIDGE | LAYOUT_FILL_X, 0, 0, 0, 0,
                                 kPad, kPad, kPad, kPad, kPad, kPad);
    // Room for a full "-0.0599239" in every read-out.
    constexpr FXint kColumns = 10;
    auto label = [&](const char* text, const char* tip = nullptr) {
        FXLabel* l = new FXLabel(row, text, nullptr, kLabelStyle);
        if (tip) l->setTipText(tip);
        return l;
    };
    auto readout = [&](FXDataTarget* target, const char* tip = nullptr) {
        FXTextField* f = realField(row, kColumns, target);
        if (tip) f->setTipText(tip);
        return f;
    };

    label("I=");
    pointSpinner = new FXSpinner(row, 5, this, ID_POINT, kEntryStyle);
    label("Cpd=");
    cpdSpinner = new FXRealSpinner(row, kColumns, this, ID_CPD, kEntryStyle);
    cpdSpinner->setRange(-2.0, 1.0);
    // An arrow click moves the design Cp one step from where it is, not to
    // the next multiple of the step.
    cpdSpinner->setIncrement(0.01);
    cpdSpinner->setGranularity(0.0);
    cpdSpinner->setTipText("Design Cp of the selected point");
    label("dCp=");
    cpdDeltaField = readout(&cpdDeltaTarget, "Design Cp minus input Cp of the selected point");
    label("Nspl=");
    nsplSpinner = new FXSpinner(row, 3, this, ID_NSPL, kEntryStyle);
    nsplSpinner->setRange(quarvel::WingModel::nsplMin, quarvel::WingModel::nsplMax);
    const char* cydTip = "Design lift coefficient of the section, from its design Cp";
    label("Cyd=", cydTip);
    shownCYDField = readout(&shownCYDTarget, cydTip);
    const char* epdTip = "Design value EPD of the section, as read from the file";
    label("Epd=", epdTip);
    shownEPDField = readout(&shownEPDTarget, epdTip);

    label("X=");
    currentPointXField = readout(&currentPointXTarget, "Chord position of the selected point");
    label("Cpt=");
    currentPointCpField = readout(&currentPointCpTarget, "Input Cp of the selected point");
    label("X=");
    mousePlotXField = readout(&mousePlotXTarget, "Chord position under the mouse");
    label("Cp=");
    mousePlotCpField = readout(&mousePlotCpTarget, "Cp under the mouse");
    const char* cytTip = "Lift coefficient of the section's input Cp (CN), as read from the file";
    label("Cyt=", cytTip);
    shownCNField = readout(&shownCNTarget, cytTip);
    const char* eptTip = "Value EP of the section's input Cp, as read from the file";
    label("Ept=", eptTip);
    shownEPField = readout(&shownEPTarget, eptTip);

    label("Cl init=", "Lift coefficient of the section's input Cp");
    readout(&initialLiftTarget, "Lift coefficient of the section's input Cp");
    label("Cm init=", "Quarter-chord moment of the section's input Cp");
    readout(&initialMomentTarget, "Quarter-chord moment of the section's input Cp");
    label("Cl des=", "Lift coefficient of the section's design Cp");
    readout(&designLiftTarget, "Lift coefficient of the section's design Cp");
    label("Cm des=", "Quarter-chord moment of the section's design Cp");
    readout(&designMomentTarget, "Quarter-chord moment of the section's design Cp");
}

// The section options with the two surfaces side by side, and the "3D VIEW"
// button below them, in a pane that scrolls when the window is too short.
void Quarvel::buildOptionPanel(FXComposite* parent) {
    optionScroll = new FXScrollWindow(parent, HSCROLLING_OFF | LAYOUT_FILL_Y | LAYOUT_FIX_WIDTH);
    FXVerticalFrame* panel = verticalFrame(optionScroll, LAYOUT_FILL_X | LAYOUT_FILL_Y);

    FXVerticalFrame* section = verticalFrame(groupBox(panel), LAYOUT_FILL_X);
    secYesRadio = new FXRadioButton(section, "Yes sec. correction", this, ID_SEC_YES);
    FXHorizontalFrame* surfaces = new FXHorizontalFrame(groupBox(section), LAYOUT_FILL_X | PACK_UNIFORM_WIDTH, 0, 0,
                                                        0, 0, 0, 0, 0, 0, kPad, kPad);
    buildSurfaceOptions(verticalFrame(surfaces, LAYOUT_FILL_X | LAYOUT_FILL_Y), 0);
    buildSurfaceOptions(verticalFrame(surfaces, LAYOUT_FILL_X | LAYOUT_FILL_Y), 1);
    secNoRadio = new FXRadioButton(section, "No sec. correction", this, ID_SEC_NO);

    // The strength of "Smooth" and "Smooth along the span", and the 3D view.
    FXHorizontalFrame* bottom = new FXHorizontalFrame(panel, LAYOUT_FILL_X, 0, 0, 0, 0, 0, 0, 0, 0);
    new FXLabel(bottom, "Passes=", nullptr, LAYOUT_CENTER_Y);
    FXSpinner* passes = new FXSpinner(bottom, 3, &smoothPassesTarget, FXDataTarget::ID_VALUE,
                                      FRAME_SUNKEN | FRAME_THICK | LAYOUT_CENTER_Y);
    passes->setRange(1, quarvel::SmoothStrength::kMaxPasses);
    passes->setTipText("Passes of \"Smooth\" and \"Smooth along the span\"");
    throughShocksCheck = new FXCheckButton(bottom, "Through shocks", &throughShocksTarget, FXDataTarget::ID_VALUE,
                                           CHECKBUTTON_NORMAL | LAYOUT_CENTER_Y);
    throughShocksCheck->setTipText("Smooth across shocks and suction peaks too");
    keepLiftCheck = new FXCheckButton(bottom, "Keep lift", &keepLiftTarget, FXDataTarget::ID_VALUE,
                                      CHECKBUTTON_NORMAL | LAYOUT_CENTER_Y);
    keepLiftCheck->setTipText("Every design operation keeps the section's design lift");
    view3DButton = new FXButton(bottom, "3D VIEW", nullptr, this, ID_3DVIEW,
                                FRAME_RAISED | FRAME_THICK | LAYOUT_RIGHT | LAYOUT_FIX_WIDTH | LAYOUT_FIX_HEIGHT,
                                0, 0, 100, 25, 2, 2, 2, 2);
    // As wide as the options; the scroll bar comes on top when needed.
    optionScroll->setWidth(panel->getDefaultWidth() + optionScroll->verticalScrollBar()->getDefaultWidth());
}

// The selector of one surface followed by the group of its regimes.
void Quarvel::buildSurfaceOptions(FXComposite* parent, int surface) {
    const bool upper = surface == 0;

    surfaceRadio[surface] = new FXRadioButton(parent, upper ? "Upper surface" : "Lower surface", this,
                                              upper ? ID_UPPER : ID_LOWER, RADIOBUTTON_NORMAL | LAYOUT_CENTER_Y);

    FXVerticalFrame* regimes = verticalFrame(groupBox(parent), LAYOUT_FILL_Y);
    noCorrectionRadio[surface] =
        new FXRadioButton(regimes, "No correction", this, upper ? ID_UP_NOCORR : ID_LO_NOCORR);
    cpCorrectionRadio[surface] =
        new FXRadioButton(regimes, "Cp correction", this, upper ? ID_UP_CPCORR : ID_LO_CPCORR);

    FXVerticalFrame* cpCorrection = verticalFrame(groupBox(regimes), LAYOUT_FILL_X);
    FXVerticalFrame* edition = verticalFrame(groupBox(cpCorrection), LAYOUT_FILL_X);
    // "Smooth" beside "Cp edition": the design Cp it smooths is this one's.
    FXHorizontalFrame* editionRow = new FXHorizontalFrame(edition, LAYOUT_FILL_X, 0, 0, 0, 0, 0, 0, 0, 0);
    cpEditionRadio[surface] =
        new FXRadioButton(editionRow, "Cp edition", this, upper ? ID_UP_EDITION : ID_LO_EDITION, RADIOBUTTON_NORMAL | LAYOUT_CENTER_Y);
    smoothButton[surface] = new FXButton(editionRow, "Smooth", nullptr, this, ID_SMOOTH, BUTTON_NORMAL | LAYOUT_RIGHT);
    splineCheck[surface] =
        new FXCheckButton(edition, "Spline interp.", this, ID_SPLINE, CHECKBUTTON_NORMAL | LAYOUT_RIGHT);
    shapeCheck[surface] =
        new FXCheckButton(edition, "Shape the change", this, ID_SHAPE, CHECKBUTTON_NORMAL | LAYOUT_RIGHT);
    cpInterpolationRadio[surface] =
        new FXRadioButton(edition, "Cp interpolation", this, upper ? ID_UP_CPINTERP : ID_LO_CPINTERP);

    FXMatrix* interval = new FXMatrix(cpCorrection, 2, MATRIX_BY_COLUMNS | LAYOUT_FILL_X, 0, 0, 0, 0,
                                      kPad, kPad, kPad, kPad, kPad, kPad);
    new FXLabel(interval, upper ? "U2=" : "L2=", nullptr, kLabelStyle);
    intervalLastSpinner[surface] = new FXSpinner(interval, 5, this, upper ? ID_U2 : ID_L2, kEntryStyle);
    new FXLabel(interval, upper ? "U1=" : "L1=", nullptr, kLabelStyle);
    intervalFirstSpinner[surface] = new FXSpinner(interval, 5, this, upper ? ID_U1 : ID_L1, kEntryStyle);

    geomInterpolationRadio[surface] =
        new FXRadioButton(regimes, "Geom interpolation", this, upper ? ID_UP_GEOM : ID_LO_GEOM);
    thicknessRadio[surface] =
        new FXRadioButton(regimes, "Save thickness distr.", this, upper ? ID_UP_THICK : ID_LO_THICK);
    maxThicknessRadio[surface] =
        new FXRadioButton(regimes, "Save max.thickness", this, upper ? ID_UP_MAXTHICK : ID_LO_MAXTHICK);
}

void Quarvel::create() {
    FXMainWindow::create();
    // The sizes are known only once the fonts exist. The option pane is as
    // wide as its options and a scroll bar; the window as tall as they need
    // but never past the screen (the pane scrolls then), and wide enough
    // for a plot that reads.
    FXWindow* options = optionScroll->contentWindow();
    optionScroll->setWidth(options->getDefaultWidth() + optionScroll->verticalScrollBar()->getDefaultWidth());
    // Nine tenths of the screen, at least the 1240 x 700 in which every pane
    // reads, but never past the screen (placeWindow keeps it on).
    const FXint w = FXMAX(1240, getRoot()->getWidth() * 9 / 10);
    const FXint h = FXMAX(700, getRoot()->getHeight() * 9 / 10);
    placeWindow(this, "Main", (getRoot()->getWidth() - w) / 2, (getRoot()->getHeight() - h) / 2, w, h);
    layout();
    restorePaneLayout();
    show(PLACEMENT_DEFAULT);
}

// Menu panes are not children of the window, so the window deletes its own.
Quarvel::~Quarvel() {
    getApp()->removeTimeout(this, ID_REFRESH_PANES);
    delete fileMenu;
    delete editMenu;
    delete viewMenu;
}

void Quarvel::chooseSection(int section) {
    if (!fileLoaded) return;
    quarvel::SectionLine op;
    op.number = wing.KTE1 + FXCLAMP(1, section, wing.nsec) - 1;
    runOp(op);
    if (planForm) planForm->setSection(wing.curSection);
}

namespace {

void applyToggle(FXCheckButton* w, const quarvel::Toggle& t) {
    w->setCheck(t.checked, false);
    t.enabled ? w->enable() : w->disable();
}
void applyToggle(FXRadioButton* w, const quarvel::Toggle& t) {
    w->setCheck(t.checked, false);
    t.enabled ? w->enable() : w->disable();
}
void applySpinner(FXSpinner* w, const quarvel::Spinner& sp) {
    w->setRange(sp.lo, sp.hi, false);
    w->setValue(sp.value, false);
    sp.enabled ? w->enable() : w->disable();
}

}  // namespace

void Quarvel::applyPanel() {
    panel = quarvel::panelOf(wing, cur());
    applyToggle(secYesRadio, panel.secYes);
    applyToggle(secNoRadio, panel.secNo);
    for (int s = 0; s < 2; ++s) {
        applyToggle(surfaceRadio[s], panel.surface[s]);
        applyToggle(noCorrectionRadio[s], panel.noCorrection[s]);
        applyToggle(cpCorrectionRadio[s], panel.cpCorrection[s]);
        applyToggle(geomInterpolationRadio[s], panel.geomInterpolation[s]);
        applyToggle(thicknessRadio[s], panel.thickness[s]);
        applyToggle(maxThicknessRadio[s], panel.maxThickness[s]);
        applyToggle(cpEditionRadio[s], panel.cpEdition[s]);
        applyToggle(cpInterpolationRadio[s], panel.cpInterpolation[s]);
        applyToggle(splineCheck[s], panel.spline[s]);
        applyToggle(shapeCheck[s], panel.shape[s]);
        applySpinner(intervalFirstSpinner[s], panel.intervalFirst[s]);
        applySpinner(intervalLastSpinner[s], panel.intervalLast[s]);
    }
    applySpinner(pointSpinner, panel.point);
    applySpinner(nsplSpinner, panel.nspl);
    cpdSpinner->setRange(panel.cpd.lo, panel.cpd.hi, false);
    cpdSpinner->setValue(panel.cpd.value, false);
    panel.cpd.enabled ? cpdSpinner->enable() : cpdSpinner->disable();
    // The read-outs show plain, not greyed, once there is a wing to show.
    for (FXTextField* f : {shownCYDField, shownEPDField, mousePlotXField, currentPointCpField, shownCNField,
                           shownEPField, mousePlotCpField, cpdDeltaField})
        fileLoaded ? f->enable() : f->disable();
    panel.currentPointXEnabled ? currentPointXField->enable() : currentPointXField->disable();
    mousePlotX = editing.mousePlotX;
    mousePlotCp = editing.mousePlotCp;
}

void Quarvel::afterCommand(const quarvel::Redraw& redraw) {
    // A regime or section command may leave the selection on another surface.
    quarvel::dropStaleSelection(wing, cur(), active(), editing);
    if (!redraw.note.empty()) statusNote = quarvel::foxText(redraw.note);
    applyPanel();
    if (planForm) planForm->followWing();
    // With the plot the isobars' planform is drawn as the plot's panes are
    // (drawCpPlot).
    if (redraw.planform && planForm && !(redraw.plot && isobarsShown())) planForm->redraw();
    if (redraw.plot) {
        drawCpPlot();
    } else if (redraw.controlPoints) {
        drawControlPoints();
    }
}

void Quarvel::reportError(const FXString& title, const FXString& text, bool warning) {
    if (errorHook) {
        errorHook(title, text);
        return;
    }
    if (warning) {
        FXMessageBox::warning(this, MBOX_OK, title.text(), "%s", text.text());
        return;
    }
    FXMessageBox::error(this, MBOX_OK, title.text(), "%s", text.text());
}

// Page Up / Page Down step to the previous / next section.
long Quarvel::onKeyPress(FXObject* sender, FXSelector sel, void* ptr) {
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    if (fileLoaded && (event->code == KEY_Page_Up || event->code == KEY_KP_Page_Up)) {
        chooseSection(wing.curSection - 1);
        return 1;
    }
    if (fileLoaded && (event->code == KEY_Page_Down || event->code == KEY_KP_Page_Down)) {
        chooseSection(wing.curSection + 1);
        return 1;
    }
    // The arrow keys nudge the selection in the plot while the plot (or
    // nothing) has the focus; a field with the focus keeps them, and they
    // do not wander the focus from the plot.
    FXWindow* focus = this;
    while (focus->getFocus()) focus = focus->getFocus();
    if ((focus == this || focus == canvas) && nudge(event->code, event->state)) return 1;
    if (FXMainWindow::onKeyPress(sender, sel, ptr)) return 1;
    // F and Home fit the plot unless a field took them.
    const bool fitKey = event->code == KEY_f || event->code == KEY_F || event->code == KEY_Home ||
                        event->code == KEY_KP_Home;
    if (fileLoaded && fitKey && !(event->state & (CONTROLMASK | ALTMASK | METAMASK)))
        return onCmdFit(this, 0, nullptr);
    return 0;
}
