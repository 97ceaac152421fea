// Sizes of the marks that the Cp plot draws and the mouse picks, shared by
// the drawing and the editing so that a press lands where a mark is seen.
#pragma once

namespace quarvel {

// Radius in pixels of the circle drawn around a control point; a press
// inside it (or on its rim) picks the point, at any zoom.
constexpr int controlPointRadius = 6;

}  // namespace quarvel
