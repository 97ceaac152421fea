// Where the main window stands: its size and place come back from the
// toolkit's registry, kept on the screen, with the layout of its panes.
#include <algorithm>
#include <string>

#include "app/Quarvel.h"

namespace {

constexpr const char* kSection = "Places";

// Room a window manager takes around a window: its title bar above, and a
// frame on the other sides.
constexpr FXint kTitleBar = 40;
constexpr FXint kFrame = 8;

std::string key(const char* name, const char* what) { return std::string(name) + what; }

}  // namespace

void Quarvel::placeWindow(FXTopWindow* w, const char* name, FXint x, FXint y, FXint width, FXint height) {
    FXRegistry& reg = getApp()->reg();
    const bool stored = reg.existingEntry(kSection, key(name, "Width").c_str());
    if (stored) {
        x = reg.readIntEntry(kSection, key(name, "X").c_str(), x);
        y = reg.readIntEntry(kSection, key(name, "Y").c_str(), y);
        width = reg.readIntEntry(kSection, key(name, "Width").c_str(), width);
        height = reg.readIntEntry(kSection, key(name, "Height").c_str(), height);
    }
    // Whole on the screen, title bar included.
    const FXint screenW = getRoot()->getWidth(), screenH = getRoot()->getHeight();
    width = std::clamp(width, 100, std::max(100, screenW - 2 * kFrame));
    height = std::clamp(height, 100, std::max(100, screenH - kTitleBar - kFrame));
    x = std::clamp(x, kFrame, std::max(kFrame, screenW - width - kFrame));
    y = std::clamp(y, kTitleBar, std::max(kTitleBar, screenH - height - kFrame));
    w->position(x, y, width, height);
}

void Quarvel::rememberPlaces() {
    FXRegistry& reg = getApp()->reg();
    auto remember = [&](FXTopWindow* w, const char* name) {
        if (!w || !w->id()) return;
        reg.writeIntEntry(kSection, key(name, "X").c_str(), w->getX());
        reg.writeIntEntry(kSection, key(name, "Y").c_str(), w->getY());
        reg.writeIntEntry(kSection, key(name, "Width").c_str(), w->getWidth());
        reg.writeIntEntry(kSection, key(name, "Height").c_str(), w->getHeight());
    };
    remember(this, "Main");
    rememberPaneLayout();
}

long Quarvel::onCmdStepSection(FXObject*, FXSelector sel, void*) {
    if (fileLoaded) chooseSection(wing.curSection + (FXSELID(sel) == ID_NEXT_SECTION ? 1 : -1));
    return 1;
}
