// The file commands of the main window: open, save, save as, the exports,
// and the unsaved-changes question on the way out.
#include "app/Quarvel.h"

#include <FXPNGImage.h>

#include <new>
#include <optional>
#include <string>

#include "draw/CairoPicture.h"
#include "draw/FoxText.h"
#include "planform/Isobars.h"
#include "planform/PlanForm.h"
#include "plot/Spanload.h"
#include "view3d/GLView3D.h"
#include "wing/AtomicFile.h"
#include "wing/CpFiles.h"
#include "wing/SectionCsv.h"

FXuint Quarvel::ask(const FXString& title, const FXString& question, FXuint buttons) {
    if (askHook) return askHook(question);
    return FXMessageBox::question(this, buttons, title.text(), "%s", question.text());
}

// A CpOutput file beside the input that was saved after the input was
// written holds work the user may want back: it is offered first.
FXString Quarvel::offerSavedWork(const FXString& path) {
    const std::string input = quarvel::stdText(path), saved = quarvel::outputPathFor(input);
    if (saved == input) return path;
    const std::optional<timespec> inputTime = quarvel::modificationTime(input);
    const std::optional<timespec> savedTime = quarvel::modificationTime(saved);
    if (!inputTime || !savedTime || !quarvel::changedAfter(*savedTime, *inputTime)) return path;
    const FXString question = quarvel::foxText(saved + " holds work saved on " + quarvel::formatLocalTime(*savedTime) +
                                               ", after " + input + " was written.\nOpen the saved work instead?");
    return ask("Open CpInput file", question, MBOX_YES_NO) == MBOX_CLICKED_YES ? quarvel::foxText(saved) : path;
}

bool Quarvel::openFile(const FXString& asked) {
    const FXString path = offerSavedWork(asked);
    fxmessage("File=%s\n", path.text());

    quarvel::FileError error;
    quarvel::FileWarnings warnings;
    std::optional<quarvel::WingModel> read;
    try {
        read = quarvel::readCpInput(quarvel::stdText(path), &error, &warnings);
    } catch (const std::bad_alloc&) {
        error = quarvel::FileError{quarvel::stdText(path), 0, "cannot be opened: not enough memory for this wing"};
    }
    if (!read) {
        reportError("Open CpInput file", quarvel::foxText(error.message()));
        return false;
    }
    ownFiles.insert(quarvel::realPathOf(quarvel::stdText(path)));

    wing = std::move(*read);
    // A comparison holds for the wing it was made with.
    comparison.reset();
    targetPath.clear();
    history.clear();
    dragStart.reset();
    editing = quarvel::EditingState{};
    statusNote = FXString();
    zoom.fit();
    fileLoaded = 1;
    modified = false;
    updateTitle();
    // The planform pane shows the planform it was made with: a new wing gets
    // a new one. The 3D view is kept and refilled.
    delete planForm;
    emptyNote[quarvel::PanePlanform]->hide();
    planForm = new CPlanForm(planformHolder, wing, [this](int section) { chooseSection(section); });
    planForm->onValueEdited = [this](quarvel::FlowValue which, double value) {
        quarvel::FlowLine op;
        op.which = which;
        op.value = value;
        runOp(op);
    };
    planForm->layer = [this](int width, int height) { return isobarPicture(width, height); };
    planForm->create();
    planformHolder->recalc();
    // Laid out now, so that the planform has its size before the first paint.
    layout();
    if (paneShown(quarvel::Pane3D))
        make3DView();
    else
        view3DStale = true;
    view3DButton->enable();
    applyPanel();
    drawCpPlot();
    if (!warnings.empty()) reportError("Open CpInput file", quarvel::foxText(warnings.message()), true);
    return true;
}

// With a wing loaded, its unsaved changes are settled before another is chosen.
long Quarvel::onCmdOpen(FXObject*, FXSelector, void*) {
    if (!confirmDiscard()) return 1;
    FXFileDialog dialog(this, "Open CpInput file", 0, 0, 0, 500, 300);
    dialog.setPatternList("Wing files (*.cpi,*.cpd)\nCpInput files (*.cpi)\nCpOutput files (*.cpd)\nAll files (*)");
    if (fileLoaded) dialog.setDirectory(FXPath::directory(quarvel::foxText(wing.inputFileName)));
    if (dialog.execute(PLACEMENT_CURSOR)) {
        openFile(dialog.getFilename());
    }
    return 1;
}

long Quarvel::onCmdSave(FXObject*, FXSelector, void*) {
    saveWing();
    return 1;
}

long Quarvel::onCmdSaveAs(FXObject*, FXSelector, void*) {
    askAndSaveWingAs();
    return 1;
}

bool Quarvel::askAndSaveWingAs() {
    if (!fileLoaded) return false;
    FXFileDialog dialog(this, "Save CpOutput file as");
    dialog.setPatternList("CpOutput files (*.cpd)\nAll files (*)");
    dialog.setFilename(quarvel::foxText(wing.outputFileName));
    if (!dialog.execute(PLACEMENT_CURSOR)) return false;
    const FXString path = dialog.getFilename();
    const bool asked = path != quarvel::foxText(wing.outputFileName) && FXStat::exists(path);
    if (asked && ask("Save CpOutput file as", path + " already exists.\nReplace it?", MBOX_YES_NO) != MBOX_CLICKED_YES)
        return false;
    return saveWingAs(path, asked);
}

bool Quarvel::saveWing() {
    if (!fileLoaded) return true;
    return saveWingAs(quarvel::foxText(wing.outputFileName));
}

bool Quarvel::saveWingAs(const FXString& path, bool replaceAsked) {
    if (!fileLoaded) return true;
    // A file this run neither opened nor wrote may hold someone's saved work.
    const std::string real = quarvel::realPathOf(quarvel::stdText(path));
    const std::optional<timespec> changed = quarvel::modificationTime(real);
    if (changed && !replaceAsked && !ownFiles.count(real)) {
        const FXString when = quarvel::foxText(quarvel::formatLocalTime(*changed));
        const FXString question = path + " was last changed on " + when + ", not by this session.\nReplace it?";
        if (ask("Save CpOutput file", question, MBOX_YES_NO) != MBOX_CLICKED_YES) return false;
    }
    quarvel::FileError error;
    bool saved = false;
    try {
        saved = quarvel::saveCpOutput(wing, quarvel::stdText(path), &error);
    } catch (const std::bad_alloc&) {
        error = quarvel::FileError{quarvel::stdText(path), 0, "cannot be written: not enough memory; the wing is kept"};
    }
    if (!saved) {
        // A file that may not be written is left alone; another name may do.
        if (error.readOnly)
            return ask("Save CpOutput file", quarvel::foxText(error.message()) + "\nSave the wing under another name?",
                       MBOX_YES_NO) == MBOX_CLICKED_YES &&
                   askAndSaveWingAs();
        reportError("Save CpOutput file", quarvel::foxText(error.message()));
        return false;
    }
    ownFiles.insert(quarvel::realPathOf(quarvel::stdText(path)));
    // Later saves go where this one went.
    wing.outputFileName = quarvel::stdText(path);
    modified = false;
    updateTitle();
    noteStatus("Saved " + path);
    return writeJournal(path);
}

bool Quarvel::confirmDiscard() {
    if (!modified) return true;
    const FXString question = "Save changes to " + quarvel::foxText(wing.outputFileName) + "?";
    const FXuint answer = ask("Unsaved changes", question, MBOX_SAVE_CANCEL_DONTSAVE);
    if (answer == MBOX_CLICKED_SAVE) return saveWing();
    return answer == MBOX_CLICKED_NO;
}

FXbool Quarvel::close(FXbool notify) {
    if (!confirmDiscard()) return FALSE;
    rememberPlaces();
    return FXMainWindow::close(notify);
}

long Quarvel::onCmdQuit(FXObject*, FXSelector, void*) {
    if (!confirmDiscard()) return 1;
    rememberPlaces();
    getApp()->handle(this, FXSEL(SEL_COMMAND, FXApp::ID_QUIT), nullptr);
    return 1;
}

void Quarvel::setModified(bool on) {
    if (modified == on) return;
    modified = on;
    updateTitle();
}

// "Cp editor", then the file's name once one is read (and where a save
// goes when that is not beside it under the usual name), and a star while
// there are unsaved changes.
void Quarvel::updateTitle() {
    FXString text = "Cp editor";
    if (fileLoaded) {
        text += " - " + FXPath::name(quarvel::foxText(wing.inputFileName));
        if (wing.outputFileName != quarvel::outputPathFor(wing.inputFileName))
            text += " (saved as " + FXPath::name(quarvel::foxText(wing.outputFileName)) + ")";
        if (modified) text += " *";
    }
    setTitle(text);
}

FXString Quarvel::askExportPath(const FXString& title, const FXString& patterns, const char* extension,
                                const char* suffix) {
    if (!fileLoaded) return FXString();
    // Suggested: beside the input file, named after it and the section.
    const std::string& input = wing.inputFileName;
    const std::size_t nameStart = input.find_last_of('/') + 1;
    const std::size_t dot = input.find_last_of('.');
    const std::string stem = dot != std::string::npos && dot > nameStart ? input.substr(0, dot) : input;
    const std::string suggested =
        stem + (suffix ? std::string("-") + suffix : "-section" + std::to_string(wing.KTE1 + wing.curSection - 1)) +
        "." + extension;

    FXFileDialog dialog(this, title);
    dialog.setPatternList(patterns);
    dialog.setFilename(quarvel::foxText(suggested));
    if (!dialog.execute(PLACEMENT_CURSOR)) return FXString();
    const FXString path = dialog.getFilename();
    if (FXStat::exists(path) && ask(title, path + " already exists.\nReplace it?", MBOX_YES_NO) != MBOX_CLICKED_YES)
        return FXString();
    return path;
}

long Quarvel::onCmdExportPng(FXObject*, FXSelector, void*) {
    const FXString path = askExportPath("Export plot as PNG", "PNG image (*.png)\nAll files (*)", "png");
    if (!path.empty()) exportPlotPng(path);
    return 1;
}

long Quarvel::onCmdExportCsv(FXObject*, FXSelector, void*) {
    const FXString path = askExportPath("Export section as CSV", "CSV file (*.csv)\nAll files (*)", "csv");
    if (!path.empty()) exportSectionCsv(path);
    return 1;
}

long Quarvel::onCmdExportIsobars(FXObject*, FXSelector, void*) {
    const FXString path = askExportPath("Export isobars as CSV", "CSV file (*.csv)\nAll files (*)", "csv", "isobars");
    if (!path.empty()) exportIsobarsCsv(path);
    return 1;
}

long Quarvel::onCmdExportSpanload(FXObject*, FXSelector, void*) {
    const FXString path =
        askExportPath("Export spanload as CSV", "CSV file (*.csv)\nAll files (*)", "csv", "spanload");
    if (!path.empty()) exportSpanloadCsv(path);
    return 1;
}

namespace {

// Writes the text made by text(); a fault, or a text that does not fit in
// the memory left, is reported and leaves the wing and its edits as they
// were.
bool writeExport(Quarvel& window, const FXString& title, const FXString& path,
                 const std::function<std::string()>& text) {
    quarvel::FileError error;
    try {
        if (quarvel::writeFileAtomically(quarvel::stdText(path), text(), &error)) return true;
    } catch (const std::bad_alloc&) {
        error = quarvel::FileError{quarvel::stdText(path), 0,
                                   "was not written: not enough memory; the wing and its edits are kept"};
    }
    window.reportError(title, quarvel::foxText(error.message()));
    return false;
}

}  // namespace

bool Quarvel::exportIsobarsCsv(const FXString& path) {
    return fileLoaded && writeExport(*this, "Export isobars as CSV", path,
                                     [&] { return quarvel::formatIsobarsCsv(wing, isobarStep()); });
}

bool Quarvel::exportSpanloadCsv(const FXString& path) {
    return fileLoaded && writeExport(*this, "Export spanload as CSV", path,
                                     [&] { return quarvel::formatSpanloadCsv(quarvel::computeSpanload(wing)); });
}

bool Quarvel::exportSectionCsv(const FXString& path) {
    if (!fileLoaded || !writeExport(*this, "Export section as CSV", path,
                                    [&] { return quarvel::formatSectionCsv(wing, wing.curSection - 1); }))
        return false;
    noteStatus("Exported " + path);
    return true;
}

// The plot is drawn again, anti-aliased, at the canvas's size and encoded in
// memory, so that only a complete file is written.
bool Quarvel::exportPlotPng(const FXString& path) {
    if (!fileLoaded) return false;
    const FXint w = canvas->getWidth();
    const FXint h = canvas->getHeight();
    if (!canvas->id() || w < 1 || h < 1) {
        reportError("Export plot as PNG", path + ": the plot is not shown, so there is nothing to export");
        return false;
    }
    const std::string png = quarvel::encodePicture(quarvel::PictureFormat::Png, currentPlot().primitives, w, h);

    quarvel::FileError error{quarvel::stdText(path), 0, "the image could not be encoded"};
    if (png.empty() || !quarvel::writeFileAtomically(error.path, png, &error)) {
        reportError("Export plot as PNG", quarvel::foxText(error.message()));
        return false;
    }
    noteStatus("Exported " + path);
    return true;
}
