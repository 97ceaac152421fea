// File, "Export plot as figure...": the section plot as a PNG of a chosen
// size, an SVG or a PDF, with a legend of every mark drawn or, for a report,
// without the marks of the editing.
#include "app/Quarvel.h"

#include "draw/CairoPicture.h"
#include "draw/FoxText.h"

namespace {

// Asks the size of the figure and whether it is for a report; false when
// cancelled.
bool askFigureOptions(FXWindow* owner, int& width, int& height, bool& report) {
    FXDialogBox dialog(owner, "Export plot as figure");
    FXMatrix* grid = new FXMatrix(&dialog, 2, MATRIX_BY_COLUMNS | LAYOUT_FILL_X);
    new FXLabel(grid, "Width=");
    FXSpinner* widthSpinner = new FXSpinner(grid, 6, nullptr, 0, FRAME_SUNKEN | FRAME_THICK);
    new FXLabel(grid, "Height=");
    FXSpinner* heightSpinner = new FXSpinner(grid, 6, nullptr, 0, FRAME_SUNKEN | FRAME_THICK);
    widthSpinner->setRange(16, 8000);
    heightSpinner->setRange(16, 8000);
    widthSpinner->setValue(width);
    heightSpinner->setValue(height);
    FXCheckButton* reportCheck =
        new FXCheckButton(&dialog, "Report\tWithout the interval box, the control points and the selected point.");
    reportCheck->setCheck(report);
    FXHorizontalFrame* buttons = new FXHorizontalFrame(&dialog, LAYOUT_FILL_X | PACK_UNIFORM_WIDTH);
    new FXButton(buttons, "&OK", nullptr, &dialog, FXDialogBox::ID_ACCEPT,
                 BUTTON_DEFAULT | BUTTON_INITIAL | FRAME_RAISED | FRAME_THICK | LAYOUT_RIGHT);
    new FXButton(buttons, "&Cancel", nullptr, &dialog, FXDialogBox::ID_CANCEL,
                 FRAME_RAISED | FRAME_THICK | LAYOUT_RIGHT);
    if (!dialog.execute(PLACEMENT_OWNER)) return false;
    width = widthSpinner->getValue();
    height = heightSpinner->getValue();
    report = reportCheck->getCheck() == TRUE;
    return true;
}

}  // namespace

long Quarvel::onCmdExportFigure(FXObject*, FXSelector, void*) {
    if (!fileLoaded) return 1;
    static int width = 1200, height = 900;
    static bool report = false;
    if (!askFigureOptions(this, width, height, report)) return 1;
    const FXString path = askExportPath("Export plot as figure",
                                        "PNG image (*.png)\nSVG drawing (*.svg)\nPDF document (*.pdf)", "png");
    if (!path.empty())
        exportPlotFigure(path, width, height, report ? quarvel::FigureMarks::Report : quarvel::FigureMarks::Editing);
    return 1;
}

bool Quarvel::exportPlotFigure(const FXString& path, int width, int height, quarvel::FigureMarks marks) {
    if (!fileLoaded) return false;
    const quarvel::CpPlot figure =
        quarvel::buildCpFigure(wing, cur(), wing.MACH, width, height, editing.selectedControlPoint, marks);
    quarvel::FileError error;
    if (!quarvel::writePicture(quarvel::stdText(path), figure.primitives, width, height, &error)) {
        reportError("Export plot as figure", quarvel::foxText(error.message()));
        return false;
    }
    noteStatus("Exported " + path);
    return true;
}
