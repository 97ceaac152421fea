// Builds the main window exactly as the program does, on the same display,
// and prints where a user has to click in it: the end-to-end scripts then
// drive the real program there with xdotool. Prints, window-relative:
//   window W H
//   spline_check X Y     the upper "Spline interp." check button
//   control_point X Y    control point 1 of the upper spline once it is on
//   drag_to X Y          the same point 0.2 further down the Cp axis
#include <fx.h>

#include <cstdio>

#include "app/Quarvel.h"

int main(int argc, char* argv[]) {
    FXApp app("Quarvel", "FOX Quarvel");
    app.init(argc, argv);
    Quarvel* window = new Quarvel(&app);
    app.create();
    if (argc < 2 || !window->openFile(argv[1])) return 1;

    auto print = [&](const char* name, FXWindow* from, double x, double y) {
        FXint wx = 0, wy = 0;
        from->translateCoordinatesTo(wx, wy, window, FXint(x), FXint(y));
        std::printf("%s %d %d\n", name, wx, wy);
    };
    std::printf("window %d %d\n", window->getWidth(), window->getHeight());
    FXCheckButton* check = window->splineCheck[0];
    print("spline_check", check, check->getWidth() / 2.0, check->getHeight() / 2.0);

    check->setCheck(true);
    window->handle(window, FXSEL(SEL_COMMAND, Quarvel::ID_SPLINE), nullptr);
    const quarvel::WingModel& wing = window->wing;
    const quarvel::PlotTransform& t = window->plotTransform;
    const double x = wing.splX[1][0][0], cp = wing.splY[1][0][0];
    print("control_point", window->canvas, t.columnOf(x), t.rowOf(cp));
    print("drag_to", window->canvas, t.columnOf(x), t.rowOf(cp + 0.2));
    return 0;
}
