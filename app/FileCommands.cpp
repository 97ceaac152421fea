// The file commands of the main window: open, save, save as, the exports,
// and the unsaved-changes question on the way out.
#include "app/Quarvel.h"

#include <FXPNGImage.h>

#include <optional>
#include <string>

#include "app/FoxText.h"
#include "planform/Isobars.h"
#include "planform/PlanForm.h"
#include "plot/PlotReplay.h"
#include "plot/Spanload.h"
#include "view3d/GLView3D.h"
#include "wing/AtomicFile.h"
#include "wing/CpFiles.h"
#include "wing/SectionCsv.h"

bool Quarvel::openFile(const FXString& path) {
    fxmessage("File=%s\n", path.text());

    quarvel::FileError error;
    quarvel::FileWarnings warnings;
    std::optional<quarvel::WingModel> read = quarvel::readCpInput(quarvel::stdText(path), &error, &warnings);
    if (!read) {
        reportError("Open CpInput file", quarvel::foxText(error.message()));
        return false;
    }

    wing = std::move(*read);
    history.clear();
    dragStart.reset();
    editing = quarvel::EditingState{};
    statusNote = FXString();
    zoom.fit();
    fileLoaded = 1;
    modified = false;
    updateTitle();
    // The dialogs show the wing they were made with; a new wing gets new ones,
    // and a 3D view that was open opens again on it.
    const bool viewShown = view3D && view3D->shown();
    rememberPlaces();
    delete view3D;
    view3D = nullptr;
    delete planForm;
    planForm = new CPlanForm(this, wing, [this](int section) { chooseSection(section); });
    planForm->onValueEdited = [this](quarvel::FlowValue which, double value) {
        quarvel::FlowLine op;
        op.which = which;
        op.value = value;
        runOp(op);
    };
    planForm->create();
    // At first in the bottom right corner, where the plot has least to show.
    const FXint planW = FXMAX(planForm->getDefaultWidth(), 480), planH = planForm->getDefaultHeight();
    placeWindow(planForm, "Planform", getRoot()->getWidth() - planW, getRoot()->getHeight() - planH, planW, planH);
    shareShortcuts(planForm);
    planForm->show(PLACEMENT_DEFAULT);
    view3DButton->enable();
    applyPanel();
    drawCpPlot();
    if (viewShown) onCmd3DView(this, 0, nullptr);
    if (!warnings.empty()) reportError("Open CpInput file", quarvel::foxText(warnings.message()), true);
    return true;
}

// With a wing loaded, its unsaved changes are settled before another is chosen.
long Quarvel::onCmdOpen(FXObject*, FXSelector, void*) {
    if (!confirmDiscard()) return 1;
    FXFileDialog dialog(this, "Open CpInput file", 0, 0, 0, 500, 300);
    dialog.setPatternList("Files (*.cpi)\nCpOutput files (*.cpd)\nAll files (*)");
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
    if (path != quarvel::foxText(wing.outputFileName) && FXStat::exists(path) &&
        FXMessageBox::question(this, MBOX_YES_NO, "Save CpOutput file as", "%s already exists.\nReplace it?",
                               path.text()) != MBOX_CLICKED_YES)
        return false;
    return saveWingAs(path);
}

bool Quarvel::saveWing() {
    if (!fileLoaded) return true;
    return saveWingAs(quarvel::foxText(wing.outputFileName));
}

bool Quarvel::saveWingAs(const FXString& path) {
    if (!fileLoaded) return true;
    quarvel::FileError error;
    if (!quarvel::saveCpOutput(wing, quarvel::stdText(path), &error)) {
        // A file that may not be written is left alone; another name may do.
        if (error.readOnly && !errorHook)
            return FXMessageBox::question(this, MBOX_YES_NO, "Save CpOutput file",
                                          "%s\nSave the wing under another name?",
                                          error.message().c_str()) == MBOX_CLICKED_YES &&
                   askAndSaveWingAs();
        reportError("Save CpOutput file", quarvel::foxText(error.message()));
        return false;
    }
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
    const FXuint answer = askHook ? askHook(question)
                                  : FXMessageBox::question(this, MBOX_SAVE_CANCEL_DONTSAVE, "Unsaved changes", "%s",
                                                           question.text());
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
    if (FXStat::exists(path) &&
        FXMessageBox::question(this, MBOX_YES_NO, title.text(), "%s already exists.\nReplace it?", path.text()) !=
            MBOX_CLICKED_YES)
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

bool writeExport(Quarvel& window, const FXString& title, const FXString& path, const std::string& text) {
    quarvel::FileError error;
    if (!quarvel::writeFileAtomically(quarvel::stdText(path), text, &error)) {
        window.reportError(title, quarvel::foxText(error.message()));
        return false;
    }
    return true;
}

}  // namespace

bool Quarvel::exportIsobarsCsv(const FXString& path) {
    return fileLoaded &&
           writeExport(*this, "Export isobars as CSV", path, quarvel::formatIsobarsCsv(wing, isobarStep()));
}

bool Quarvel::exportSpanloadCsv(const FXString& path) {
    return fileLoaded && writeExport(*this, "Export spanload as CSV", path,
                                     quarvel::formatSpanloadCsv(quarvel::computeSpanload(wing)));
}

bool Quarvel::exportSectionCsv(const FXString& path) {
    if (!fileLoaded) return false;
    quarvel::FileError error;
    if (!quarvel::writeFileAtomically(quarvel::stdText(path), quarvel::formatSectionCsv(wing, wing.curSection - 1),
                                      &error)) {
        reportError("Export section as CSV", quarvel::foxText(error.message()));
        return false;
    }
    noteStatus("Exported " + path);
    return true;
}

// The plot is drawn again into an image of the canvas's size, read back from
// the display and encoded in memory, so that only a complete file is written.
bool Quarvel::exportPlotPng(const FXString& path) {
    if (!fileLoaded) return false;
    const FXint w = canvas->getWidth();
    const FXint h = canvas->getHeight();
    if (!canvas->id() || w < 1 || h < 1) {
        reportError("Export plot as PNG", path + ": the plot is not shown, so there is nothing to export");
        return false;
    }
    FXImage image(getApp(), nullptr, IMAGE_KEEP, w, h);
    image.create();
    {
        FXDCWindow dc(&image);
        quarvel::replayPlot(dc, currentPlot().primitives, getApp()->getNormalFont());
    }
    image.restore();

    FXMemoryStream stream;
    stream.open(FXStreamSave, nullptr);
    const bool encoded = fxsavePNG(stream, image.getData(), w, h);
    const std::size_t size = std::size_t(stream.position());
    FXuchar* bytes = nullptr;
    FXuval capacity = 0;
    stream.takeBuffer(bytes, capacity);
    stream.close();
    const std::string png = encoded && bytes ? std::string(reinterpret_cast<const char*>(bytes), size) : std::string();
    FXFREE(&bytes);

    quarvel::FileError error{quarvel::stdText(path), 0, "the image could not be encoded"};
    if (png.empty() || !quarvel::writeFileAtomically(error.path, png, &error)) {
        reportError("Export plot as PNG", quarvel::foxText(error.message()));
        return false;
    }
    noteStatus("Exported " + path);
    return true;
}
