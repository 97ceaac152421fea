// The design script in the window: File > "Run script..." applies one, and
// every save writes the journal of the session's operations beside the
// saved file.
#include <filesystem>
#include <string>

#include "draw/FoxText.h"
#include "app/Quarvel.h"
#include "planform/PlanForm.h"
#include "wing/AtomicFile.h"

bool Quarvel::runScriptFile(const FXString& path) {
    if (!fileLoaded) return false;
    const std::string file = quarvel::stdText(path);
    const quarvel::Script script = quarvel::readScript(file);
    if (!script.fault.empty()) {
        reportError("Run script", quarvel::foxText(script.fault));
        return false;
    }
    bool ok = true;
    for (const auto& [number, op] : script.ops) {
        const quarvel::OpResult result = runOp(op);
        if (result.fault.empty()) continue;
        reportError("Run script", quarvel::foxText(file + ":" + std::to_string(number) + ": " + result.fault));
        ok = false;
        break;
    }
    if (planForm) planForm->setSection(wing.curSection);
    // A target line compares the wing with that target.
    if (!designState.target.empty()) {
        const std::string target = designState.target;
        designState.target.clear();
        ok = compareWithTarget(quarvel::foxText(target)) && ok;
    }
    return ok;
}

bool Quarvel::writeJournal(const FXString& savedPath) {
    const std::string path = quarvel::journalPathFor(quarvel::stdText(savedPath));
    const std::vector<std::string> entries = history.journal();
    // A session without operations leaves no journal, unless an earlier
    // save wrote one that would now tell of undone ones.
    std::error_code ignored;
    if (entries.empty() && !std::filesystem::exists(path, ignored)) return true;
    quarvel::FileError error;
    if (quarvel::writeFileAtomically(path, quarvel::journalText(entries, wing.inputFileName), &error)) return true;
    reportError("Save design script", quarvel::foxText(error.message()), true);
    return false;
}

long Quarvel::onCmdRunScript(FXObject*, FXSelector, void*) {
    if (!fileLoaded) return 1;
    FXFileDialog dialog(this, "Run script");
    dialog.setPatternList("Design scripts (*.qvs)\nAll files (*)");
    dialog.setDirectory(FXPath::directory(quarvel::foxText(wing.inputFileName)));
    if (dialog.execute(PLACEMENT_CURSOR)) runScriptFile(dialog.getFilename());
    return 1;
}

long Quarvel::onCmdDeltaCp(FXObject*, FXSelector, void*) {
    showDeltaCp = !showDeltaCp;
    getApp()->reg().writeIntEntry("Plot", "DeltaCp", showDeltaCp ? 1 : 0);
    if (fileLoaded) redrawView();
    return 1;
}

long Quarvel::onUpdDeltaCp(FXObject* sender, FXSelector, void*) {
    sender->handle(this, FXSEL(SEL_COMMAND, showDeltaCp ? ID_CHECK : ID_UNCHECK), nullptr);
    return 1;
}

const quarvel::PlotTransform& Quarvel::controlTransform() const {
    const int k = wing.curSection - 1;
    const bool shaping = fileLoaded && wing.shapeOn[k][quarvel::activeSurfaceOf(wing, k)] == 1;
    return shaping ? deltaTransform : plotTransform;
}
