// The command line without a display, for scripts and design loops: check a
// wing, convert it to CpOutput, print its spanload or isobars. Everything it
// prints is computed by the same core functions the window uses.
#pragma once

#include <iosfwd>

namespace quarvel {

// Exit statuses, as GNU programs use them.
enum ExitStatus { kExitOk = 0, kExitInputFault = 1, kExitUsage = 2 };

// True when the arguments ask for the command line rather than the editor:
// any option that is not one of the toolkit's own ("-display", "-sync"), or
// more than one file. Decided before any display is opened.
// "quarvel FILE --target OLD.cpd" is the editor's, comparing the wing with
// a target, and so is "--views LIST", the panes it shows.
bool wantsCommandLine(int argc, char* argv[]);

// What the editor opens, once the toolkit has taken its options out of argv:
// the wing (the first argument that is not --target's) and the target it is
// compared with; null for what is not given.
struct EditorStart {
    const char* file = nullptr;
    const char* target = nullptr;
    const char* views = nullptr;  // --views
};
EditorStart editorStart(int argc, char* argv[]);

// The panes of the editor's main window, in the order of its "View" menu.
enum Pane { PanePlot, PanePlanform, PaneSpanload, Pane3D, kPanes };
constexpr unsigned kAllPanes = (1u << kPanes) - 1;
// The panes --views names (a bit 1 << Pane each): "all", or names from
// "plot", "planform", "spanload", "3d" joined by commas; 0 when a name is
// none of these.
unsigned panesNamed(const char* list);

// Runs the command line; data goes to out, messages to err. Returns the
// process's exit status.
int runCommandLine(int argc, char* argv[], std::ostream& out, std::ostream& err);

// The usage text (also printed by --help).
void printUsage(std::ostream& os);

}  // namespace quarvel
