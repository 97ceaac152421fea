// Builds the main window exactly as the program does, on the same display,
// and prints where a user has to click in it: the end-to-end scripts then
// drive the real program there with xdotool. Prints, window-relative:
//   window W H
//   spline_check X Y     the upper "Spline interp." check button
//   control_point X Y    control point 1 of the upper spline once it is on
//   drag_to X Y          the same point 0.2 further down the Cp axis
//   view3d_button X Y    the "3D VIEW" button
//   regime_S_R X Y       regime radio R (0..4) of surface S (0 upper, 1 lower)
//   window_at X Y        the window's place on the screen
//   section_up X Y       the up arrow of the planform's "N sec.=" spinner
//   pane_P X Y W H       pane P (0 plot, 1 planform, 2 spanload, 3 3D view)
//                        where it is shown, or "pane_P hidden"
//   hide_P X Y           the "Hide" button of pane P, where it is shown
#include <fx.h>

#include <cstdio>
#include <string>

#include "tests/gui/TestWindow.h"
#include "planform/PlanForm.h"

int main(int argc, char* argv[]) {
    FXApp app("Quarvel", "FOX Quarvel");
    app.init(argc, argv);
    TestWindow* window = new TestWindow(&app);
    app.create();
    if (argc < 2 || !window->openFile(argv[1])) return 1;

    auto printIn = [&](const char* name, FXWindow* to, FXWindow* from, double x, double y) {
        FXint wx = 0, wy = 0;
        from->translateCoordinatesTo(wx, wy, to, FXint(x), FXint(y));
        std::printf("%s %d %d\n", name, wx, wy);
    };
    auto print = [&](const char* name, FXWindow* from, double x, double y) { printIn(name, window, from, x, y); };
    auto centre = [&](const char* name, FXWindow* w) { print(name, w, w->getWidth() / 2.0, w->getHeight() / 2.0); };
    centre("view3d_button", window->view3DButton);
    for (int s = 0; s < 2; ++s) {
        int r = 0;
        for (FXWindow* radio : {window->noCorrectionRadio[s], window->cpCorrectionRadio[s], window->geomInterpolationRadio[s],
                                window->thicknessRadio[s], window->maxThicknessRadio[s]})
            centre(("regime_" + std::to_string(s) + "_" + std::to_string(r++)).c_str(), radio);
    }
    std::printf("window_at %d %d\n", window->getX(), window->getY());
    FXSpinner* sections = window->planForm->sectionSpinner;
    print("section_up", sections, sections->getWidth() - 6, sections->getHeight() / 4.0);
    for (int p = 0; p < quarvel::kPanes; ++p) {
        FXWindow* pane = window->paneFrame[p];
        if (!window->paneShown(p)) {
            std::printf("pane_%d hidden\n", p);
            continue;
        }
        FXint x = 0, y = 0;
        pane->translateCoordinatesTo(x, y, window, 0, 0);
        std::printf("pane_%d %d %d %d %d\n", p, x, y, pane->getWidth(), pane->getHeight());
        // The title row holds the name, "Hide", then "Enlarge".
        centre(("hide_" + std::to_string(p)).c_str(), window->enlargeButton[p]->getPrev());
    }
    std::printf("window %d %d\n", window->getWidth(), window->getHeight());
    FXCheckButton* check = window->splineCheck[0];
    centre("spline_check", check);

    check->setCheck(true);
    window->handle(window, FXSEL(SEL_COMMAND, Quarvel::ID_SPLINE), nullptr);
    const quarvel::WingModel& wing = window->wing;
    const quarvel::PlotTransform& t = window->plotTransform;
    const double x = wing.splX[1][0][0], cp = wing.splY[1][0][0];
    print("control_point", window->canvas, t.columnOf(x), t.rowOf(cp));
    print("drag_to", window->canvas, t.columnOf(x), t.rowOf(cp + 0.2));
    return 0;
}
