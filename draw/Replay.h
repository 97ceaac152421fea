// Draws a list of plot primitives on a toolkit device context.
#pragma once

#include <fx.h>

#include <vector>

#include "draw/Primitives.h"

namespace quarvel {

// Replays the primitives in order; runs of segments in one pen are drawn in
// one call. Text uses the font given.
void replayPlot(FXDC& dc, const std::vector<PlotPrimitive>& primitives, FXFont* font);

}  // namespace quarvel
