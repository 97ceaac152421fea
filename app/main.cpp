#include <fx.h>

#include <iostream>

#include "app/CommandLine.h"
#include "app/Quarvel.h"

int main(int argc, char* argv[]) {
    // The command line needs no display: it runs before the toolkit starts.
    if (quarvel::wantsCommandLine(argc, argv)) return quarvel::runCommandLine(argc, argv, std::cout, std::cerr);
    FXApp app("Quarvel", "FOX Quarvel");
    // Takes the toolkit's own options out of argv; what is left is ours.
    app.init(argc, argv);
    const quarvel::EditorStart start = quarvel::editorStart(argc, argv);
    const unsigned panes = quarvel::panesNamed(start.views);
    if (start.views && !panes) {
        std::cerr << "quarvel: --views takes all, or plot, planform, spanload, 3d joined by commas\n";
        return quarvel::kExitUsage;
    }
    Quarvel* window = new Quarvel(&app);
    window->setStartPanes(panes);
    app.create();
    // A wing named on the command line is opened once the window exists, so
    // that a fault in it can be shown in a message box; then the target it
    // is compared with.
    if (start.file && window->openFile(start.file) && start.target) window->compareWithTarget(start.target);
    return app.run();
}
