// The editing commands of the main window: regimes, spline, spinners, the
// mouse on the plot, and undo and redo. Each runs through edit(), which marks
// the wing modified and records the step.
#include <fxkeys.h>

#include <new>
#include <optional>
#include <utility>

#include "app/Quarvel.h"
#include "planform/PlanForm.h"

void Quarvel::edit(const std::function<quarvel::Redraw()>& command, bool partOfDrag) {
    if (!partOfDrag) {
        editSections({}, command);
        return;
    }
    const int k = wing.curSection - 1;
    // The motions of a drag make one step, from before the first of them.
    std::optional<quarvel::SectionState> before;
    quarvel::Redraw redraw;
    try {
        before = quarvel::captureSection(wing, k);
        redraw = command();
        if (!quarvel::captureSection(wing, k).sameOutput(*before)) {
            setModified(true);
            statusNote = FXString();
        }
    } catch (const std::bad_alloc&) {
        undoForWantOfMemory(before ? quarvel::SectionStates{std::move(*before)} : quarvel::SectionStates{});
        return;
    }
    if (!dragStart) dragStart = std::move(before);
    afterCommand(redraw);
}

quarvel::Redraw Quarvel::designStep(const std::function<quarvel::Redraw()>& command, const std::vector<int>& ks) {
    std::vector<int> sections{cur()};
    for (int k : ks)
        if (k != cur()) sections.push_back(k);
    return quarvel::keepingLift(wing, sections, keepLift != 0, shockRule, command);
}

void Quarvel::editSections(const std::vector<int>& sections, const std::function<quarvel::Redraw()>& command) {
    closeDragStep();
    std::vector<int> ks{wing.curSection - 1};
    for (int k : sections)
        if (k != ks.front()) ks.push_back(k);
    quarvel::SectionStates before, after;
    quarvel::Redraw redraw;
    try {
        before = quarvel::captureSections(wing, ks);
        redraw = command();
        after = quarvel::captureSections(wing, ks);
    } catch (const std::bad_alloc&) {
        undoForWantOfMemory(std::move(before));
        return;
    }
    for (std::size_t i = 0; i < ks.size(); ++i) {
        if (after[i].sameOutput(before[i])) continue;
        setModified(true);
        statusNote = FXString();
    }
    try {
        history.record(std::move(before), std::move(after));
    } catch (const std::bad_alloc&) {
        // The edit stands; the steps before it can no longer be undone.
        history.clear();
        reportError("Not enough memory", "Not enough memory to keep the edits for undo; the wing and its edits are "
                                         "kept, but undo starts afresh");
    }
    afterCommand(redraw);
}

// A command that ran out of memory half way is taken back whole: the
// sections it may have changed are put back as they were before it.
void Quarvel::undoForWantOfMemory(const quarvel::SectionStates& before) {
    for (const quarvel::SectionState& s : before) quarvel::restoreSection(wing, s);
    afterCommand(quarvel::showChangedSection(wing, cur(), editing));
    reportError("Not enough memory", "Not enough memory for this edit of the wing, so it was not made; the wing "
                                     "and its earlier edits are kept");
}

void Quarvel::closeDragStep() {
    if (!dragStart) return;
    history.record(std::move(*dragStart), quarvel::captureSection(wing, dragStart->section));
    dragStart.reset();
}

long Quarvel::onCmdSection(FXObject*, FXSelector sel, void*) {
    edit([&] { return quarvel::chooseSectionCorrection(wing, cur(), FXSELID(sel) == ID_SEC_YES); });
    return 1;
}

long Quarvel::onCmdSurface(FXObject*, FXSelector sel, void*) {
    edit([&] { return quarvel::chooseSurface(wing, cur(), FXSELID(sel) == ID_UPPER ? 0 : 1, editing); });
    return 1;
}

long Quarvel::onCmdUpperMode(FXObject*, FXSelector sel, void*) {
    edit([&] { return quarvel::chooseRegime(wing, cur(), 0, quarvel::RegimeRadio(FXSELID(sel) - ID_UP_NOCORR)); });
    return 1;
}

long Quarvel::onCmdLowerMode(FXObject*, FXSelector sel, void*) {
    edit([&] { return quarvel::chooseRegime(wing, cur(), 1, quarvel::RegimeRadio(FXSELID(sel) - ID_LO_NOCORR)); });
    return 1;
}

long Quarvel::onCmdUpperCpMode(FXObject*, FXSelector sel, void*) {
    const auto option = FXSELID(sel) == ID_UP_EDITION ? quarvel::CpOption::Edition : quarvel::CpOption::Interpolation;
    edit([&] { return quarvel::chooseCpOption(wing, cur(), 0, option); });
    return 1;
}

long Quarvel::onCmdLowerCpMode(FXObject*, FXSelector sel, void*) {
    const auto option = FXSELID(sel) == ID_LO_EDITION ? quarvel::CpOption::Edition : quarvel::CpOption::Interpolation;
    edit([&] { return quarvel::chooseCpOption(wing, cur(), 1, option); });
    return 1;
}

// Both check buttons send this: the clicked one's surface becomes the one
// edited (sent from elsewhere, the edited surface's check counts).
long Quarvel::onCmdSpline(FXObject* sender, FXSelector, void*) {
    if (!fileLoaded) return 1;
    const int active = wing.activeSurface[wing.curSection - 1] == 1 ? 1 : 0;
    const int s = sender == splineCheck[0] ? 0 : sender == splineCheck[1] ? 1 : active;
    edit([&] {
        quarvel::chooseSurface(wing, cur(), s, editing);
        return quarvel::switchSpline(wing, cur(), s, editing, splineCheck[s]->getCheck() != FALSE);
    });
    return 1;
}

// The arrow keys nudge the selected control point, or the design Cp of the
// selected point; Shift makes the steps fine. Up moves up the plot, where
// Cp is lower. False when there was nothing to nudge.
bool Quarvel::nudge(FXuint key, FXuint state) {
    if (!fileLoaded) return false;
    const double step = (state & SHIFTMASK) ? quarvel::fineNudgeStep : quarvel::nudgeStep;
    double dx = 0.0, dcp = 0.0;
    switch (key) {
    case KEY_Up: case KEY_KP_Up: dcp = -step; break;
    case KEY_Down: case KEY_KP_Down: dcp = step; break;
    case KEY_Left: case KEY_KP_Left: dx = -step; break;
    case KEY_Right: case KEY_KP_Right: dx = step; break;
    default: return false;
    }
    bool moved = false;
    edit([&] {
        return designStep([&] {
            const quarvel::Redraw r = quarvel::nudgeSelection(wing, cur(), active(), editing, dx, dcp);
            moved = r.plot;
            return r;
        });
    });
    return moved;
}

long Quarvel::onCmdInterval(FXObject* sender, FXSelector sel, void*) {
    const int value = static_cast<FXSpinner*>(sender)->getValue();
    edit([&] { return quarvel::setIntervalEnd(wing, cur(), editing, quarvel::IntervalEnd(FXSELID(sel) - ID_U1), value); });
    return 1;
}

long Quarvel::onCmdPoint(FXObject*, FXSelector, void*) {
    edit([&] { return quarvel::choosePoint(wing, cur(), active(), pointSpinner->getValue()); });
    return 1;
}

long Quarvel::onCmdNspl(FXObject*, FXSelector, void*) {
    edit([&] {
        return designStep([&] { return quarvel::setSplineCount(wing, cur(), active(), editing, nsplSpinner->getValue()); });
    });
    return 1;
}

long Quarvel::onCmdCpd(FXObject*, FXSelector, void*) {
    edit([&] { return designStep([&] { return quarvel::setPointCp(wing, cur(), active(), cpdSpinner->getValue()); }); });
    return 1;
}

long Quarvel::onLeftBtnPress(FXObject*, FXSelector, void* ptr) {
    if (!fileLoaded) return 1;
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    canvas->setFocus();
    afterCommand(quarvel::pressMouse(wing, cur(), active(), plotTransform, editing, event->win_x, event->win_y));
    return 1;
}

long Quarvel::onLeftBtnRelease(FXObject*, FXSelector, void*) {
    if (!fileLoaded) return 1;
    const bool draggedPoint = editing.draggingControlPoint == 1 && editing.selectedControlPoint >= 0;
    afterCommand(quarvel::releaseMouse(editing));
    closeDragStep();
    // The axis held during the drag fits the curve again.
    if (draggedPoint) redrawView();
    return 1;
}

long Quarvel::onMotion(FXObject*, FXSelector, void* ptr) {
    if (!fileLoaded) return 1;
    const FXEvent* event = static_cast<const FXEvent*>(ptr);
    if (panning) {
        zoom.pan(event->win_x - panX, event->win_y - panY, canvas->getWidth(), canvas->getHeight());
        panX = event->win_x;
        panY = event->win_y;
        redrawView();
    }
    if (editing.draggingControlPoint) {
        edit([&] {
            return designStep([&] {
                return quarvel::moveMouse(wing, cur(), active(), plotTransform, editing, event->win_x, event->win_y);
            });
        }, true);
        return 1;
    }
    // Without a drag only the readout follows the mouse.
    quarvel::moveMouse(wing, cur(), active(), plotTransform, editing, event->win_x, event->win_y);
    mousePlotX = editing.mousePlotX;
    mousePlotCp = editing.mousePlotCp;
    showStatus();
    return 1;
}

void Quarvel::afterUndo(const quarvel::Redraw& redraw) {
    if (!redraw.plot) return;  // nothing was put back
    setModified(true);
    if (planForm) planForm->setSection(wing.curSection);
    afterCommand(redraw);
}

long Quarvel::onCmdUndo(FXObject*, FXSelector, void*) {
    closeDragStep();
    afterUndo(quarvel::undoEdit(wing, editing, history));
    return 1;
}

long Quarvel::onCmdRedo(FXObject*, FXSelector, void*) {
    closeDragStep();
    afterUndo(quarvel::redoEdit(wing, editing, history));
    return 1;
}

long Quarvel::onUpdUndo(FXObject* sender, FXSelector, void*) {
    sender->handle(this, FXSEL(SEL_COMMAND, history.canUndo() ? ID_ENABLE : ID_DISABLE), nullptr);
    return 1;
}

long Quarvel::onUpdRedo(FXObject* sender, FXSelector, void*) {
    sender->handle(this, FXSEL(SEL_COMMAND, history.canRedo() ? ID_ENABLE : ID_DISABLE), nullptr);
    return 1;
}

long Quarvel::onCmdRevert(FXObject*, FXSelector, void*) {
    if (fileLoaded) edit([&] { return quarvel::revertSection(wing, cur(), editing); });
    return 1;
}

long Quarvel::onUpdRevert(FXObject* sender, FXSelector, void*) {
    sender->handle(this, FXSEL(SEL_COMMAND, fileLoaded ? ID_ENABLE : ID_DISABLE), nullptr);
    return 1;
}
