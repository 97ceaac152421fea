// Editing of the current section's design Cp without the toolkit: the
// surface selectors, the spline switch, the interval, count, point and Cp
// spinners, and the mouse picking and dragging of spline control points.
//
// Each command takes the new state of the widget that sent it (the check
// state, the spinner's value), records it in the PanelWidgets mirror, changes
// the wing and returns what the window must redraw. Every handler acts on the
// current section and, unless said otherwise, on its activeSurface.
#pragma once

#include "correction/CorrectionPanel.h"
#include "plot/PlotTransform.h"
#include "wing/WingModel.h"

namespace quarvel {

// Smallest chord distance kept between a dragged control point and its
// neighbours.
constexpr double minControlPointGap = 0.001;

// Pick tolerance: chord distance, and Cp distance per unit of the canvas's
// width-to-height ratio. Both tests are strict.
constexpr double controlPointPickTolerance = 0.01;

// Mouse state of the Cp plot; the window owns one.
struct EditingState {
    // Control point picked last (1 .. nspl-2), or -1 for none.
    int selectedControlPoint = -1;
    // 1 from a left-button press on the canvas until its release.
    int draggingControlPoint = 0;
    // Chord position and Cp under the mouse (first "X=" and "Cp=").
    double mousePlotX = 0.0;
    double mousePlotCp = 0.0;
    // Section index and surface the selection belongs to.
    int selectionSection = -1;
    int selectionSurface = -1;
};

// Drops the selection when it no longer belongs to the current section and
// surface or no longer names an inner control point. Every command here runs
// it; a window that changes curSection other than through chooseSection runs
// it before the plot is redrawn.
void dropStaleSelection(const WingModel& wing, EditingState& e);

// Makes section (1-based, clamped into 1..nsec) the current one, as the
// planform's section spinner does: drops a selection of another section and
// refreshes the panel. The window then redraws the plot.
Redraw chooseSection(WingModel& wing, PanelWidgets& p, EditingState& e, int section);

// "Upper surface" (s = 0) and "Lower surface" (s = 1).
Redraw chooseSurface(WingModel& wing, PanelWidgets& p, EditingState& e, int s);

// "Spline interp." of the active surface; checked is that surface's check
// button's new state.
Redraw switchSpline(WingModel& wing, PanelWidgets& p, EditingState& e, bool checked);

// "Shape the change" of the active surface, which must be in spline editing;
// checked is its check button's new state. On, the control points hold the
// change of the design Cp, starting at 0 on the curve as it stands (nothing
// changes); off, they go back onto the curve as it is then, which stays.
Redraw switchShapeChange(WingModel& wing, EditingState& e, bool checked);

// "U1=", "U2=", "L1=", "L2=" with the value shown by the spinner.
enum class IntervalEnd { U1, U2, L1, L2 };
Redraw setIntervalEnd(WingModel& wing, PanelWidgets& p, EditingState& e, IntervalEnd which, int shownValue);

// "Nspl=": the number of control points of the active surface.
Redraw setSplineCount(WingModel& wing, PanelWidgets& p, EditingState& e, int value);

// "I=": the selected point of the active surface, as shown by the spinner.
Redraw choosePoint(WingModel& wing, PanelWidgets& p, int shownValue);

// "Cpd=": the design Cp of the active surface's selected point.
Redraw setPointCp(WingModel& wing, PanelWidgets& p, double value);

// "Revert section": the design Cp of the current section back to what was
// read from the file. A surface in spline editing gets its control points
// placed anew on the reverted curve.
Redraw revertSection(WingModel& wing, EditingState& e);

// Mouse over the canvas at pixel (px, py): updates the mouse readout and,
// while a control point is dragged, moves it and rewrites the curve.
Redraw moveMouse(WingModel& wing, const PlotTransform& t, EditingState& e, double px, double py);

// Left-button press on a canvas of width x height pixels: starts a drag and
// picks the control point under the last mouse position. The tolerance is in
// chord and Cp units (the Cp one scaled by the canvas's width-to-height
// ratio), so a zoomed plot picks the same points as the whole one.
Redraw pressMouse(WingModel& wing, EditingState& e, int width, int height);

// Left-button release: ends the drag.
Redraw releaseMouse(EditingState& e);

}  // namespace quarvel
