// The program's icon on its top windows: the main window and its dialogs.
#pragma once

#include <fx.h>

namespace quarvel {

// Gives window the program's icon and mini icon. Call it in the window's
// constructor, before the window is created.
void setProgramIcon(FXTopWindow* window);

}  // namespace quarvel
