// The main window: menu, value row, correction option panel and Cp plot of
// the wing being edited. The window owns the wing and is the target of every
// command its widgets send.
#pragma once

#include <fx.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/DesignDialogs.h"
#include "correction/CorrectionPanel.h"
#include "correction/DesignScript.h"
#include "correction/Editing.h"
#include "correction/FlowMoves.h"
#include "correction/History.h"
#include "correction/SpanTools.h"
#include "draw/CanvasBuffer.h"
#include "flow/Compare.h"
#include "plot/CpPlot.h"
#include "draw/PlotTransform.h"
#include "plot/PlotZoom.h"
#include "wing/WingModel.h"

class CPlanForm;
class GLView3D;
class PicturePane;

class Quarvel : public FXMainWindow {
    FXDECLARE(Quarvel)

protected:
    // For the FOX object factory only: builds no widgets.
    Quarvel() {}

private:
    Quarvel(const Quarvel&);
    Quarvel& operator=(const Quarvel&);

public:
    // The numbering, gaps included, is the one the rest of the program quotes
    // (ID_CANVAS + 4 is ID_OPEN, and so on); the gaps are values no widget
    // sends.
    enum {
        ID_CANVAS = FXMainWindow::ID_LAST,
        ID_3DVIEW,
        ID_OPEN = ID_3DVIEW + 3,
        ID_SAVE,
        ID_UPPER = ID_SAVE + 3,
        ID_LOWER,
        ID_SPLINE,
        ID_U1 = ID_SPLINE + 4,
        ID_U2,
        ID_L1,
        ID_L2,
        ID_NSPL,
        ID_POINT,
        ID_CPD,
        ID_UP_EDITION,
        ID_UP_CPINTERP,
        ID_LO_EDITION,
        ID_LO_CPINTERP,
        ID_UP_NOCORR,
        ID_UP_CPCORR,
        ID_UP_GEOM,
        ID_UP_THICK,
        ID_UP_MAXTHICK,
        ID_LO_NOCORR,
        ID_LO_CPCORR,
        ID_LO_GEOM,
        ID_LO_THICK,
        ID_LO_MAXTHICK,
        ID_SEC_YES,
        ID_SEC_NO,
        ID_PLANFORM,  // "View" menu: show the planform dialog again
        ID_QUIT,      // "&Quit" and the 3D view's "&Exit": asks about unsaved changes
        ID_UNDO,
        ID_REDO,
        ID_REVERT,      // "Revert section"
        ID_EXPORT_PNG,  // "Export plot as PNG..."
        ID_EXPORT_FIGURE,  // "Export plot as figure..."
        ID_EXPORT_CSV,  // "Export section as CSV..."
        ID_FIT,         // "Fit": the plot back to the axis of the table
        ID_SAVE_AS,     // "Save As...": the CpOutput file where the user chooses
        ID_ISOBARS,         // "Isobars": the isobar view of the planform
        ID_SPANLOAD,        // "Spanload"
        ID_EXPORT_ISOBARS,  // "Export isobars as CSV..."
        ID_EXPORT_SPANLOAD, // "Export spanload as CSV..."
        ID_PREVIOUS_SECTION,  // Page Up in a dialog
        ID_NEXT_SECTION,      // Page Down in a dialog
        ID_SMOOTH,          // "Smooth": the active surface over its interval
        ID_SHAPE,           // "Shape the change", both check buttons
        ID_APPLY_SECTIONS,  // "Apply to sections..."
        ID_SMOOTH_SPAN,     // "Smooth along the span"
        ID_IMPORT_REGIMES,  // "Import regimes from..."
        ID_SHOCK_SETTINGS,  // "Shock settings..."
        ID_COMPARE,         // "Compare with target..."
        ID_WEAKEN_SHOCK,    // "Weaken shock..."
        ID_RUN_SCRIPT,      // "Run script..."
        ID_DELTA_CP,        // the "ΔCp" toggle: design - initial on its own axis
        ID_PANE_PLOT,       // "View" menu: show or hide each pane, in pane order
        ID_PANE_PLANFORM,
        ID_PANE_SPANLOAD,
        ID_PANE_3D,
        ID_PANE_ENLARGE,    // a pane's "Enlarge" / "Restore" (its number as user data)
        ID_PANE_HIDE,       // a pane's "Hide" (its number as user data)
        ID_SHOW_ALL_PANES,  // "Show all panes"
        ID_ISOBAR_CONTROL,  // a control of the isobar layer changed
        ID_REFRESH_PANES,   // the timer that draws the isobars and the spanload once the mouse rests
        ID_LAST
    };

    explicit Quarvel(FXApp* a);
    virtual void create();
    // The close box: asks about unsaved changes first.
    virtual FXbool close(FXbool notify = FALSE);
    virtual ~Quarvel();

    // Reads a CpInput (or CpOutput) file into the wing, in place of any wing
    // loaded, and brings the window into editing. When the CpOutput file
    // beside a CpInput file was saved after it, opening that saved work
    // instead is offered first. On failure reports the fault and leaves the
    // window as it was. Unsaved changes are the caller's to settle
    // (confirmDiscard).
    bool openFile(const FXString& path);

    // The panes to show at the start (--views, a bit per pane), over those
    // of the registry; set before create().
    void setStartPanes(unsigned panes) { startPanes = panes; }

    // Shows panelOf(wing) on the correction controls, without notification.
    void applyPanel();

    // Makes section (1-based) the current one, as the planform's "N sec.="
    // spinner and Page Up / Page Down do.
    void chooseSection(int section);

    // Write the CpOutput file (to the save path, or to path, which becomes
    // the save path); a failure is reported and returns false. A file there
    // that this run neither opened nor wrote is replaced only when the user
    // says so (or replaceAsked: the user has already said so); false when
    // not.
    bool saveWing();
    bool saveWingAs(const FXString& path, bool replaceAsked = false);
    // Asks for a path and saves there; false when cancelled or not saved. A
    // read-only save target offers this.
    bool askAndSaveWingAs();

    // True when there is nothing unsaved or the user chose to save (and the
    // save worked) or to discard; false keeps the program running.
    bool confirmDiscard();

    // The design tools over several sections, each one step of undo: the
    // current section's set-up over the sections numbered first..last, the
    // design Cp smoothed along the span over them, and the set-up of an
    // earlier CpOutput (false, with a message, when it cannot be read; the
    // sections it lacks are named in a note).
    void applyToSections(int first, int last, const quarvel::Blend& blend);
    void smoothAlongSpan(int first, int last, quarvel::SmoothStrength strength);
    // "Weaken shock...": the rear shock of the current section's surface
    // being edited, and, over the sections first..last, the change carried
    // onto the others with the blend.
    void weakenShock(const quarvel::WeakenShock& values, int first, int last, const quarvel::Blend& blend);
    bool importRegimesFrom(const FXString& path);

    // "Compare with target...": the wing against the CpOutput at path, the
    // last design cycle's target, until another wing is opened; false, with
    // a message, when it cannot be read (the target's sections the wing
    // lacks are named in a note).
    bool compareWithTarget(const FXString& path);
    // The comparison of the current section; null without one.
    const quarvel::SectionComparison* currentComparison() const;
    // The plot of the current section as the canvas shows it.
    quarvel::CpPlot currentPlot() const;

    // Every error message goes through here: a message box, or errorHook
    // when one is installed (the tests install one). A warning is shown as
    // such: something was done, but the user should know how.
    void reportError(const FXString& title, const FXString& text, bool warning = false);

    // Redraws the whole Cp plot of the current section on the canvas and
    // recomputes the section's design lift; the 3D view, the isobars and
    // the spanload follow (see refreshPanes).
    void drawCpPlot();

    // The isobars and the spanload drawn again for the wing as it is now.
    // After an edit they are drawn at once while that is quick; a wing whose
    // panes take longer than panesAtOnceMs gets them once the mouse has
    // rested for a moment or the drag has ended, so that a drag keeps up
    // with the mouse. panesPending(): an edit they do not show yet.
    void refreshPanes();
    bool panesPending() const { return panesWaiting; }

    // Write the plot as shown (a PNG image of the canvas's size) and the
    // current section's Cp (CSV) to path; a failure is reported and leaves
    // no file behind. False when nothing was written.
    bool exportPlotPng(const FXString& path);
    // The section plot as a figure of width x height pixels (points in a
    // PDF) in the format the path's extension names: .png, .svg or .pdf.
    bool exportPlotFigure(const FXString& path, int width, int height, quarvel::FigureMarks marks);
    bool exportSectionCsv(const FXString& path);
    // The whole wing's isobars (at the isobar view's step) and spanload as
    // CSV, the same as the command line writes.
    bool exportIsobarsCsv(const FXString& path);
    bool exportSpanloadCsv(const FXString& path);
    // The isobar view's step of Cp; 0.1 until the view is opened.
    double isobarStep() const;

    long onPaintCanvas(FXObject*, FXSelector, void*);
    long onConfigureCanvas(FXObject*, FXSelector, void*);
    long onCmdSection(FXObject*, FXSelector, void*);
    long onCmdSurface(FXObject*, FXSelector, void*);
    long onCmdUpperMode(FXObject*, FXSelector, void*);
    long onCmdLowerMode(FXObject*, FXSelector, void*);
    long onCmdUpperCpMode(FXObject*, FXSelector, void*);
    long onCmdLowerCpMode(FXObject*, FXSelector, void*);
    long onCmdSpline(FXObject*, FXSelector, void*);
    long onCmdOpen(FXObject*, FXSelector, void*);
    long onCmdSave(FXObject*, FXSelector, void*);
    long onCmdSaveAs(FXObject*, FXSelector, void*);
    long onCmdStepSection(FXObject*, FXSelector, void*);
    long onCmdInterval(FXObject*, FXSelector, void*);
    long onCmdPoint(FXObject*, FXSelector, void*);
    long onCmdNspl(FXObject*, FXSelector, void*);
    long onCmdCpd(FXObject*, FXSelector, void*);
    long onLeftBtnPress(FXObject*, FXSelector, void*);
    long onLeftBtnRelease(FXObject*, FXSelector, void*);
    long onMotion(FXObject*, FXSelector, void*);
    long onCmd3DView(FXObject*, FXSelector, void*);
    long onCmdPlanform(FXObject*, FXSelector, void*);
    long onCmdQuit(FXObject*, FXSelector, void*);
    long onKeyPress(FXObject*, FXSelector, void*);
    long onCmdUndo(FXObject*, FXSelector, void*);
    long onCmdRedo(FXObject*, FXSelector, void*);
    long onUpdUndo(FXObject*, FXSelector, void*);
    long onUpdRedo(FXObject*, FXSelector, void*);
    long onCmdRevert(FXObject*, FXSelector, void*);
    long onUpdRevert(FXObject*, FXSelector, void*);
    long onCmdExportPng(FXObject*, FXSelector, void*);
    long onCmdExportFigure(FXObject*, FXSelector, void*);
    long onCmdExportCsv(FXObject*, FXSelector, void*);
    long onCmdFit(FXObject*, FXSelector, void*);
    long onCmdIsobars(FXObject*, FXSelector, void*);
    long onCmdSpanload(FXObject*, FXSelector, void*);
    long onCmdExportIsobars(FXObject*, FXSelector, void*);
    long onCmdExportSpanload(FXObject*, FXSelector, void*);
    long onCmdSmooth(FXObject*, FXSelector, void*);
    long onUpdSmooth(FXObject*, FXSelector, void*);
    long onCmdShape(FXObject*, FXSelector, void*);
    long onCmdApplySections(FXObject*, FXSelector, void*);
    long onCmdSmoothSpan(FXObject*, FXSelector, void*);
    long onCmdImportRegimes(FXObject*, FXSelector, void*);
    long onCmdShockSettings(FXObject*, FXSelector, void*);
    long onCmdCompare(FXObject*, FXSelector, void*);
    long onCmdWeakenShock(FXObject*, FXSelector, void*);
    long onCmdRunScript(FXObject*, FXSelector, void*);
    long onCmdDeltaCp(FXObject*, FXSelector, void*);
    long onUpdDeltaCp(FXObject*, FXSelector, void*);
    long onUpdWingLoaded(FXObject*, FXSelector, void*);
    long onMouseWheel(FXObject*, FXSelector, void*);
    long onMiddleBtnPress(FXObject*, FXSelector, void*);
    long onMiddleBtnRelease(FXObject*, FXSelector, void*);
    long onCmdPane(FXObject*, FXSelector, void*);
    long onUpdPane(FXObject*, FXSelector, void*);
    long onCmdEnlargePane(FXObject*, FXSelector, void*);
    long onCmdHidePane(FXObject*, FXSelector, void*);
    long onCmdShowAllPanes(FXObject*, FXSelector, void*);
    long onUpdIsobars(FXObject*, FXSelector, void*);
    long onCmdIsobarControl(FXObject*, FXSelector, void*);
    long onRefreshPanes(FXObject*, FXSelector, void*);

protected:
    unsigned startPanes = 0;

    // The time the isobars and the spanload took to draw last, and the most
    // they may take to be drawn at every edit.
    double panesMs = 0.0;
    double panesAtOnceMs = 8.0;
    bool panesWaiting = false;

    // The panes: each a frame with a title row ("Enlarge", "Hide") over its
    // content, in two rows of two, beside the option panel.
    FXVerticalFrame* paneFrame[quarvel::kPanes] = {};
    FXVerticalFrame* paneContent[quarvel::kPanes] = {};
    FXButton* enlargeButton[quarvel::kPanes] = {};
    FXSplitter* paneRows = nullptr;                 // the two rows, one over the other
    FXSplitter* paneRow[2] = {};                    // plot | planform, spanload | 3D view
    FXVerticalFrame* planformHolder = nullptr;      // the planform of the wing read
    FXLabel* emptyNote[quarvel::kPanes] = {};       // what to do before a wing is read
    // The pane enlarged (-1: none) and the panes shown before it was.
    int enlargedPane = -1;
    unsigned shownBeforeEnlarging = 0;

    bool paneShown(int pane) const;
    void showPane(int pane, bool show);
    // The panes shown (a bit per pane).
    unsigned shownPanes() const;
    void showPanes(unsigned panes);
    // The layout from the registry, or the first one: every pane shown.
    void restorePaneLayout();
    void rememberPaneLayout();
    // The isobar layer of the planform pane shown or hidden, and its
    // picture over the planform of width x height pixels (none while hidden).
    void showIsobars(bool show);
    bool isobarsShown() const;
    std::vector<quarvel::PlotPrimitive> isobarPicture(int width, int height);

    // The wing being edited; empty until a file has been read.
    quarvel::WingModel wing;
    int fileLoaded = 0;

    // The correction controls as last shown (panelOf the wing), and the
    // mouse editing.
    quarvel::PanelWidgets panel;
    quarvel::ScriptState designState;
    quarvel::EditingState& editing = designState.editing;

    // Every design operation of the window goes through here: applied to the
    // wing as the script applies it, one step of undo, its line kept in the
    // journal. The result says why it was refused (shown in the status line).
    quarvel::OpResult runOp(const quarvel::DesignOp& op);
    // Several operations as one step of undo, their lines one journal entry.
    quarvel::OpResult runOps(const std::vector<quarvel::DesignOp>& ops);
    // File > "Run script...": every line of the script at path, one step each;
    // a line that cannot be read or is refused is reported as
    // "SCRIPT:LINE: reason" and stops the run (the lines before it stay done).
    bool runScriptFile(const FXString& path);
    // The journal of the operations done since the wing was opened, written
    // beside savedPath (journalPathFor); false, reported, when it could not be.
    bool writeJournal(const FXString& savedPath);

    // The "ΔCp" toggle: design - initial Cp of the current section drawn on
    // its own axis (kept in the registry). "Shape the change" draws it too.
    FXint showDeltaCp = 0;

    // The planform, made in its pane for each wing read, and the 3D view,
    // made in its pane for the first wing and refilled for the next ones.
    CPlanForm* planForm = nullptr;
    GLView3D* view3D = nullptr;
    // The isobars, a layer of the planform pane ("Isobars" and its
    // controls under the planform), and the spanload.
    FXCheckButton* isobarLayerCheck = nullptr;
    PicturePane* spanloadView = nullptr;
    FXRealSpinner* isobarStepSpinner = nullptr;  // "Step"
    FXCheckButton* isobarInitialCheck = nullptr;  // "Initial Cp"

    // Set by every plot redraw; the mouse editing maps pixels back with it.
    // It is the transform of the zoomed view.
    quarvel::PlotTransform plotTransform;
    // The transform of the ΔCp axis, where "Shape the change" draws and picks
    // its control points.
    quarvel::PlotTransform deltaTransform;
    // The transform the mouse edits the control points with.
    const quarvel::PlotTransform& controlTransform() const;
    quarvel::CpAxis shownAxis{};  // the axis of the last redraw
    quarvel::DeltaCpAxis shownDeltaAxis{};  // and its ΔCp axis
    quarvel::PlotZoom zoom;

    // Every change to a section, for "&Undo" and "&Redo".
    quarvel::History history;

    // Values shown by the eight display fields of the value row.
    double shownCYD = 0.0;        // "Cyd="
    double shownEPD = 0.0;        // "Epd="
    double mousePlotX = 0.0;      // first "X=": chord position under the mouse
    double shownCN = 0.0;         // "Cyt="
    double shownEP = 0.0;         // "Ept="
    double mousePlotCp = 0.0;     // "Cp=": Cp under the mouse
    // "Cl init=", "Cm init=", "Cl des=", "Cm des=": the section's lift and
    // quarter-chord moment from its input and its design Cp.
    quarvel::LiftMoment shownInitialLoad, shownDesignLoad;

    std::function<void(const FXString& title, const FXString& text)> errorHook;
    // Takes the notes that are no error (the sections an import left alone)
    // in place of a message box; the tests install one.
    std::function<void(const FXString& title, const FXString& text)> noteHook;

    // The strength of "Smooth" and "Smooth along the span", and the range
    // and blend the design dialogs offer first (the last ones chosen).
    quarvel::SmoothStrength smoothStrength;
    // "Through shocks": smoothing goes across shocks and suction peaks.
    FXint smoothThroughShocks = 0;
    // "Keep lift": every design operation keeps the section's design lift.
    FXint keepLift = 0;
    // The values "Weaken shock..." offers first (the last ones chosen).
    quarvel::WeakenShock weakenValues;
    // What counts as a shock, in the plot, the isobars and for smoothing
    // (kept in the registry).
    quarvel::ShockRule shockRule;
    void setShockRule(const quarvel::ShockRule& rule);
    // The smoothing the window does: the strength with "Through shocks" and
    // the shock rule.
    quarvel::SmoothStrength smoothing() const;
    quarvel::SectionRange designRange;
    quarvel::Blend applyBlend;
    // Every question goes through here: a message box with the buttons
    // given (MBOX_YES_NO, MBOX_SAVE_CANCEL_DONTSAVE), or askHook when one is
    // installed. The answer is the box's: MBOX_CLICKED_YES, _SAVE, ...
    FXuint ask(const FXString& title, const FXString& question, FXuint buttons);
    // Answers the questions in the tests: MBOX_CLICKED_SAVE, MBOX_CLICKED_NO
    // (discard, or no) or MBOX_CLICKED_CANCEL to "Save changes to ...?",
    // MBOX_CLICKED_YES or MBOX_CLICKED_NO to the others.
    std::function<FXuint(const FXString& question)> askHook;

    // The files this run opened or wrote, by their real paths: a save
    // replaces these without a question.
    std::set<std::string> ownFiles;
    // The target the wing is compared with, and the comparison; a wing
    // opened drops them.
    std::string targetPath;
    std::optional<quarvel::WingComparison> comparison;
    FXCheckButton* isobarResidualCheck = nullptr;  // "Residual" in the isobars

    // The wing holds changes that no save has written yet.
    bool modified = false;

    // Widgets the handlers touch. Per-surface widgets are indexed by surface:
    // 0 upper, 1 lower.
    FXMenuPane* fileMenu = nullptr;
    FXMenuPane* editMenu = nullptr;
    FXMenuPane* viewMenu = nullptr;
    FXMenuCommand* openCommand = nullptr;
    FXMenuCommand* undoCommand = nullptr;
    FXMenuCommand* redoCommand = nullptr;
    FXMenuCommand* revertCommand = nullptr;
    // Section, surface and the chord position and Cp under the mouse.
    FXStatusBar* statusBar = nullptr;

    FXSpinner* pointSpinner = nullptr;  // "I="
    FXRealSpinner* cpdSpinner = nullptr;  // "Cpd="
    FXSpinner* nsplSpinner = nullptr;  // "Nspl="

    FXTextField* shownCYDField = nullptr;
    FXTextField* shownEPDField = nullptr;
    FXTextField* mousePlotXField = nullptr;
    FXTextField* currentPointXField = nullptr;
    FXTextField* currentPointCpField = nullptr;
    FXTextField* shownCNField = nullptr;
    FXTextField* shownEPField = nullptr;
    FXTextField* mousePlotCpField = nullptr;
    FXTextField* cpdDeltaField = nullptr;

    FXRadioButton* secYesRadio = nullptr;  // "Yes sec. correction"
    FXRadioButton* secNoRadio = nullptr;   // "No sec. correction"
    FXRadioButton* surfaceRadio[2] = {};   // "Upper surface", "Lower surface"
    FXRadioButton* noCorrectionRadio[2] = {};
    FXRadioButton* cpCorrectionRadio[2] = {};
    FXRadioButton* cpEditionRadio[2] = {};
    FXRadioButton* cpInterpolationRadio[2] = {};
    FXRadioButton* geomInterpolationRadio[2] = {};
    FXRadioButton* thicknessRadio[2] = {};     // "Save thickness distr."
    FXRadioButton* maxThicknessRadio[2] = {};  // "Save max.thickness"
    FXCheckButton* splineCheck[2] = {};        // "Spline interp."
    FXCheckButton* shapeCheck[2] = {};         // "Shape the change"
    FXButton* smoothButton[2] = {};            // "Smooth"
    FXCheckButton* throughShocksCheck = nullptr;  // "Through shocks"
    FXCheckButton* keepLiftCheck = nullptr;       // "Keep lift"
    FXSpinner* intervalFirstSpinner[2] = {};   // "U1=", "L1="
    FXSpinner* intervalLastSpinner[2] = {};     // "U2=", "L2="

    FXButton* view3DButton = nullptr;
    FXScrollWindow* optionScroll = nullptr;  // the option panel, scrolled when the window is short
    FXCanvas* canvas = nullptr;

    // The plot is drawn off screen first and then copied to the canvas.
    quarvel::CanvasBuffer plotBuffer;

    // Builds the plot off screen and brings the section values shown in
    // the value row up to date; false when there is nothing to show.
    bool renderPlot();
    // Redraws the plot alone, for a new view of it (the wing is unchanged).
    void redrawView();
    void showStatus();
    // What the status line confirms (a save, an export, with its path) until
    // the next change to the wing.
    FXString statusNote;
    void noteStatus(const FXString& note);

    // The drag in progress: the section as it was before the first motion
    // that moved anything. The release makes it one step.
    std::optional<quarvel::SectionState> dragStart;
    void closeDragStep();
    // Puts the sections back as they were before a command that ran out of
    // memory, and says so.
    void undoForWantOfMemory(const quarvel::SectionStates& before);
    // Puts back what undo or redo returned and marks the wing modified.
    void afterUndo(const quarvel::Redraw& redraw);

    // Middle-button panning: the pixel the plot was last moved to.
    bool panning = false;
    FXint panX = 0, panY = 0;

    // The CpOutput file beside a CpInput file path, when it was saved after
    // path and the user chooses to open it instead; path otherwise.
    FXString offerSavedWork(const FXString& path);

    // The picture of a wing view (the isobars, the spanload), or none with
    // a note on the status line when it does not fit in the memory left.
    std::vector<quarvel::PlotPrimitive> pictureWithin(
        const char* what, const std::function<std::vector<quarvel::PlotPrimitive>()>& picture);

    // Asks for the file to export to, beside the input file; empty when the
    // user cancels.
    // The name suggested is the input's with "-sectionN", or with "-" and
    // the suffix given.
    FXString askExportPath(const FXString& title, const FXString& patterns, const char* extension,
                           const char* suffix = nullptr);

    // Gives a top window its size and place from the registry (name is its
    // key there), or the ones given, kept whole on the screen.
    void placeWindow(FXTopWindow* w, const char* name, FXint x, FXint y, FXint width, FXint height);
    // Stores the size and place of the window and its dialogs in the registry.
    void rememberPlaces();
    // The panes and their parts, built once with the window.
    void buildPanes(FXComposite* parent);
    FXVerticalFrame* buildPane(FXComposite* parent, int pane, const char* title);
    // Makes the 3D view in its pane for the wing read, or refills it; while
    // the pane is hidden that waits until it shows (view3DStale).
    void make3DView();
    bool view3DStale = false;

    // The arrow keys on the plot; false when nothing was nudged.
    bool nudge(FXuint key, FXuint state);
    // Runs an editing command on the current section, marks the wing
    // modified when the command changed what a save writes, records the
    // change for undo (a motion of a drag only once the drag ends) and
    // brings the window into line.
    // line is the step's journal entry.
    void edit(const std::function<quarvel::Redraw()>& command, bool partOfDrag = false);
    // The same for a command that may change the sections (indices k) besides
    // the current one: one step over all of them.
    void editSections(const std::vector<int>& sections, const std::function<quarvel::Redraw()>& command,
                      const std::string& line = {});
    void setModified(bool on);
    void updateTitle();

    // Applies the panel and redraws what a command changed.
    void afterCommand(const quarvel::Redraw& redraw);
    // The section index the window shows, and the surface edited in it: what
    // every command acts on.
    int cur() const { return wing.curSection - 1; }
    int active() const { return fileLoaded ? quarvel::activeSurfaceOf(wing, cur()) : 0; }
    // Draws the spline control points over the plot as it stands.
    void drawControlPoints();

    // One data target per display field, each bound to its value above.
    FXDataTarget shownCYDTarget{shownCYD};
    FXDataTarget shownEPDTarget{shownEPD};
    FXDataTarget mousePlotXTarget{mousePlotX};
    FXDataTarget currentPointXTarget{panel.currentPointX};    // second "X="
    FXDataTarget currentPointCpTarget{panel.currentPointCp};  // "Cpt=", read from the panel
    FXDataTarget shownCNTarget{shownCN};
    FXDataTarget shownEPTarget{shownEP};
    FXDataTarget mousePlotCpTarget{mousePlotCp};
    FXDataTarget cpdDeltaTarget{panel.cpdDelta};              // "dCp="
    FXDataTarget smoothPassesTarget{smoothStrength.passes};
    FXDataTarget throughShocksTarget{smoothThroughShocks};
    FXDataTarget keepLiftTarget{keepLift};
    FXDataTarget initialLiftTarget{shownInitialLoad.cl};
    FXDataTarget initialMomentTarget{shownInitialLoad.cm};
    FXDataTarget designLiftTarget{shownDesignLoad.cl};
    FXDataTarget designMomentTarget{shownDesignLoad.cm};

private:
    void buildValueRow();
    void buildOptionPanel(FXComposite* parent);
    void buildSurfaceOptions(FXComposite* parent, int surface);
};
