// "Compare with target...": the wing that the design solver returned beside
// the target it was given, in the plot, the status line, the spanload and
// the isobars.
#include <optional>
#include <string>

#include "draw/FoxText.h"
#include "app/Quarvel.h"
#include "plot/PicturePane.h"
#include "wing/CpFiles.h"

bool Quarvel::compareWithTarget(const FXString& path) {
    if (!fileLoaded) return false;
    quarvel::FileError error;
    const std::optional<quarvel::WingModel> target = quarvel::readCpInput(quarvel::stdText(path), &error);
    if (!target) {
        reportError("Compare with target", quarvel::foxText(error.message()));
        return false;
    }
    targetPath = quarvel::stdText(path);
    comparison = quarvel::compareWithTarget(wing, *target);
    drawCpPlot();
    std::string note = quarvel::missingTargetNote(*comparison, targetPath, wing.inputFileName);
    if (comparison->sections.empty() && note.empty())
        note = FXPath::name(path).text() + std::string(" has no surface in Cp edition: there is nothing to compare.");
    if (!note.empty()) {
        if (noteHook)
            noteHook("Compare with target", quarvel::foxText(note));
        else
            FXMessageBox::information(this, MBOX_OK, "Compare with target", "%s", note.c_str());
    }
    return true;
}

const quarvel::SectionComparison* Quarvel::currentComparison() const {
    return fileLoaded && comparison ? comparison->ofSection(wing.curSection - 1) : nullptr;
}

long Quarvel::onCmdCompare(FXObject*, FXSelector, void*) {
    if (!fileLoaded) return 1;
    FXFileDialog dialog(this, "Compare with target");
    dialog.setPatternList("CpOutput files (*.cpd)\nAll files (*)");
    dialog.setDirectory(FXPath::directory(quarvel::foxText(wing.inputFileName)));
    if (dialog.execute(PLACEMENT_CURSOR)) compareWithTarget(dialog.getFilename());
    return 1;
}
