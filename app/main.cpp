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
    Quarvel* window = new Quarvel(&app);
    app.create();
    // A wing named on the command line is opened once the window exists, so
    // that a fault in it can be shown in a message box; then the target it
    // is compared with.
    const quarvel::EditorStart start = quarvel::editorStart(argc, argv);
    if (start.file && window->openFile(start.file) && start.target) window->compareWithTarget(start.target);
    return app.run();
}
