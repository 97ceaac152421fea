#include "draw/WindowIcon.h"

#include <FXPNGIcon.h>

#include "dist/ProgramIcon.h"

namespace quarvel {

void setProgramIcon(FXTopWindow* window) {
    // One pair for every window of the process (FOX has one application
    // object per process); windows do not own their icons, so these are kept
    // to the end of the run. Each window creates them with itself.
    static FXIcon* const icon = new FXPNGIcon(window->getApp(), programIcon32);
    static FXIcon* const miniIcon = new FXPNGIcon(window->getApp(), programIcon16);
    window->setIcon(icon);
    window->setMiniIcon(miniIcon);
}

}  // namespace quarvel
