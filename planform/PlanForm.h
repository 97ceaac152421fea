// The planform pane of the main window: the wing-level values of the file,
// the planform coloured by the regime of each section's surfaces, and the
// "N sec.=" spinner that chooses the current section for the whole program.
#pragma once

#include <fx.h>

#include <functional>

#include "planform/PlanformGeometry.h"
#include "draw/CanvasBuffer.h"
#include "wing/WingModel.h"

class CPlanForm : public FXVerticalFrame {
    FXDECLARE(CPlanForm)

protected:
    // For the FOX object factory only: builds no widgets.
    CPlanForm() {}

private:
    CPlanForm(const CPlanForm&);
    CPlanForm& operator=(const CPlanForm&);

public:
    enum {
        ID_PLAN_CANVAS = FXVerticalFrame::ID_LAST,
        ID_PLAN_SECTION,
        ID_PLAN_VALUE,  // "Mach=" or "Alpha=" edited
        ID_LAST
    };

    // Called with the chosen section, 1-based, after the spinner moved.
    using SectionChosen = std::function<void(int section)>;

    // Copies the planform of the wing, which must outlive the pane (the
    // value fields stay bound to it); section 1 is current.
    CPlanForm(FXComposite* parent, quarvel::WingModel& wing, SectionChosen onSectionChosen);
    virtual ~CPlanForm();

    // Makes the given section (1-based, kept inside the wing) current here:
    // spinner, display, "Z=", "Zref=" and the dashed chord line. Does not
    // call back.
    void setSection(int section);

    // Draws the planform again with the wing's current regimes.
    void redraw();

    // The whole planform on a canvas of width x height pixels.
    std::vector<quarvel::PlotPrimitive> planformPicture(int width, int height) const;
    // A layer drawn over the planform on the canvas (the isobars), and the
    // pictures drawn so far.
    std::function<std::vector<quarvel::PlotPrimitive>(int width, int height)> layer;
    int drawCount = 0;
    // The picture last drawn on the canvas.
    const quarvel::CanvasBuffer& planPicture() const { return planBuffer; }

    long onPaintPlanform(FXObject*, FXSelector, void*);
    long onClickPlanform(FXObject*, FXSelector, void*);
    long onCmdSection(FXObject*, FXSelector, void*);
    long onCmdValue(FXObject*, FXSelector, void*);

    // Called with the value typed into "Mach=" or "Alpha=", which the window
    // then edits the wing with; the fields show followWing()'s values.
    std::function<void(quarvel::FlowValue which, double value)> onValueEdited;
    void followWing();
    double planMach = 0.0, planAlpha = 0.0;

    // The planform as it was when the pane was made; never refreshed.
    int planNsec = 0;
    quarvel::Planform plan;

    int planCurSection = 1;     // 1-based
    int planSectionNumber = 0;  // the section's number in the file, shown by the display
    double planZCur = 0.0;      // "Z="
    double planZRel = 0.0;      // "Zref="

    FX7Segment* sectionDisplay = nullptr;
    FXSpinner* sectionSpinner = nullptr;  // "N sec.="
    FXCanvas* canvas = nullptr;

private:
    quarvel::WingModel* wing = nullptr;
    SectionChosen onSectionChosen;
    // Number of the first section when the file was read: the spinner counts
    // from it even if "KTE1=" is edited afterwards.
    int firstSectionNumber = 1;

    // The planform is drawn off screen first and then copied to the canvas.
    quarvel::CanvasBuffer planBuffer;

    FXDataTarget machTarget, alphaTarget;
    FXDataTarget ite1Target, ite2Target, kte1Target, kte2Target;
    FXDataTarget zRelTarget, zCurTarget, sectionNumberTarget;

    void buildWidgets();
    bool render();
};
