// The design tools of the main window: smoothing, shaping the change with the
// spline, one section's set-up over many, smoothing along the span and the
// set-up of an earlier CpOutput. Each change is one step of undo.
#include <optional>
#include <vector>
#include <string>

#include "draw/FoxText.h"
#include "app/Quarvel.h"
#include "correction/ImportRegimes.h"
#include "correction/Smoothing.h"
#include "planform/PlanForm.h"
#include "wing/CpFiles.h"

long Quarvel::onCmdSmooth(FXObject*, FXSelector, void*) {
    quarvel::SmoothLine op;
    op.smoothing.strength = smoothing();
    if (fileLoaded) runOp(op);
    return 1;
}

quarvel::SmoothStrength Quarvel::smoothing() const {
    quarvel::SmoothStrength strength = smoothStrength;
    strength.throughShocks = smoothThroughShocks != 0;
    strength.shocks = shockRule;
    return strength;
}

void Quarvel::setShockRule(const quarvel::ShockRule& rule) {
    shockRule = rule;
    quarvel::writeShockRule(getApp()->reg(), rule);
    if (fileLoaded) drawCpPlot();
}

long Quarvel::onCmdShockSettings(FXObject*, FXSelector, void*) {
    quarvel::ShockRule rule = shockRule;
    if (quarvel::askShockRule(this, rule)) setShockRule(rule);
    return 1;
}

// The menu entry and the button of the surface being edited.
long Quarvel::onUpdSmooth(FXObject* sender, FXSelector, void*) {
    bool can = fileLoaded && quarvel::canSmooth(wing, cur(), active());
    if (can && sender == smoothButton[wing.activeSurface[wing.curSection - 1] == 1 ? 0 : 1]) can = false;
    sender->handle(this, FXSEL(SEL_COMMAND, can ? ID_ENABLE : ID_DISABLE), nullptr);
    return 1;
}

// Both check buttons send this; the one of the surface being edited counts.
long Quarvel::onCmdShape(FXObject*, FXSelector, void*) {
    if (!fileLoaded) return 1;
    const int s = wing.activeSurface[wing.curSection - 1] == 1 ? 1 : 0;
    const bool checked = shapeCheck[s] && shapeCheck[s]->getCheck() != FALSE;
    quarvel::ShapeLine op;
    op.on = checked;
    runOp(op);
    return 1;
}

long Quarvel::onUpdWingLoaded(FXObject* sender, FXSelector, void*) {
    sender->handle(this, FXSEL(SEL_COMMAND, fileLoaded ? ID_ENABLE : ID_DISABLE), nullptr);
    return 1;
}

void Quarvel::applyToSections(int first, int last, const quarvel::Blend& blend) {
    if (!fileLoaded) return;
    quarvel::ApplyLine op;
    op.first = first;
    op.last = last;
    op.blend = blend;
    runOp(op);
}

void Quarvel::smoothAlongSpan(int first, int last, quarvel::SmoothStrength strength) {
    if (!fileLoaded) return;
    quarvel::SmoothSpanLine op;
    op.first = first;
    op.last = last;
    op.smoothing.strength = strength;
    op.follow = applyBlend.follow;
    runOp(op);
}

void Quarvel::weakenShock(const quarvel::WeakenShock& values, int first, int last, const quarvel::Blend& blend) {
    quarvel::WeakenShockLine weaken;
    weaken.values = values;
    std::vector<quarvel::DesignOp> ops{weaken};
    if (first != last) {
        quarvel::ApplyLine spread;
        spread.first = first;
        spread.last = last;
        spread.blend = blend;
        ops.push_back(spread);
    }
    runOps(ops);
}

bool Quarvel::importRegimesFrom(const FXString& path) {
    if (!fileLoaded) return false;
    quarvel::ImportLine op;
    op.path = quarvel::stdText(path);
    const quarvel::OpResult result = runOp(op);
    if (!result.fault.empty()) {
        reportError("Import regimes", quarvel::foxText(result.fault));
        return false;
    }
    const std::string& note = result.redraw.note;
    if (!note.empty()) {
        if (noteHook)
            noteHook("Import regimes", quarvel::foxText(note));
        else
            FXMessageBox::information(this, MBOX_OK, "Import regimes", "%s", note.c_str());
    }
    return true;
}

namespace {

// The range the dialogs offer first: the last one, or the five sections
// around the current one.
quarvel::SectionRange offeredRange(const quarvel::WingModel& w, const quarvel::SectionRange& last) {
    const int lowest = w.KTE1, highest = w.KTE1 + w.nsec - 1;
    if (last.first >= lowest && last.first <= highest && last.last >= lowest && last.last <= highest) return last;
    const int current = w.KTE1 + w.curSection - 1;
    return {FXMAX(lowest, current - 2), FXMIN(highest, current + 2)};
}

}  // namespace

long Quarvel::onCmdApplySections(FXObject*, FXSelector, void*) {
    if (!fileLoaded) return 1;
    quarvel::SectionRange range = offeredRange(wing, designRange);
    if (!quarvel::askApplyToSections(this, wing.KTE1, wing.KTE1 + wing.nsec - 1, range, applyBlend)) return 1;
    designRange = range;
    applyToSections(range.first, range.last, applyBlend);
    return 1;
}

long Quarvel::onCmdSmoothSpan(FXObject*, FXSelector, void*) {
    if (!fileLoaded) return 1;
    quarvel::SectionRange range = offeredRange(wing, designRange);
    if (!quarvel::askSmoothAlongSpan(this, wing.KTE1, wing.KTE1 + wing.nsec - 1, range, smoothStrength,
                                     applyBlend.follow))
        return 1;
    designRange = range;
    smoothAlongSpan(range.first, range.last, smoothing());
    return 1;
}

long Quarvel::onCmdWeakenShock(FXObject*, FXSelector, void*) {
    if (!fileLoaded) return 1;
    const int current = wing.KTE1 + cur();
    quarvel::SectionRange range{current, current};
    quarvel::Blend blend = applyBlend;
    if (!quarvel::askWeakenShock(this, wing.KTE1, wing.KTE1 + wing.nsec - 1, range, weakenValues, blend)) return 1;
    applyBlend.follow = blend.follow;
    weakenShock(weakenValues, range.first, range.last, blend);
    return 1;
}

long Quarvel::onCmdImportRegimes(FXObject*, FXSelector, void*) {
    if (!fileLoaded) return 1;
    FXFileDialog dialog(this, "Import regimes from");
    dialog.setPatternList("CpOutput files (*.cpd)\nAll files (*)");
    dialog.setDirectory(FXPath::directory(quarvel::foxText(wing.inputFileName)));
    if (dialog.execute(PLACEMENT_CURSOR)) importRegimesFrom(dialog.getFilename());
    return 1;
}
