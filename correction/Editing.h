// Editing of a section's design Cp without the toolkit: the surface
// selectors, the spline switch, the interval, count, point and Cp spinners,
// and the mouse picking and dragging of spline control points.
//
// Each command takes the section k and surface s it acts on (the window
// passes its current section and that section's active surface) and the new
// state of the widget that sent it (the check state, the spinner's value),
// changes the wing and returns what the window must redraw; the window then
// shows panelOf(wing, k).
#pragma once

#include "correction/CorrectionPanel.h"
#include "draw/Marks.h"
#include "draw/PlotTransform.h"
#include "wing/WingModel.h"

namespace quarvel {

// Smallest chord distance kept between a dragged control point and its
// neighbours.
constexpr double minControlPointGap = 0.001;

// Steps of the arrow keys: Cp for Up and Down, chord for Left and Right,
// and the fine steps with Shift.
constexpr double nudgeStep = 0.01;
constexpr double fineNudgeStep = 0.001;

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

// Drops the selection unless it belongs to surface s of section k and
// names an inner control point. Every command here runs it; a window that
// changes its current section other than through chooseSection runs it
// before the plot is redrawn.
void dropStaleSelection(const WingModel& wing, int k, int s, EditingState& e);

// Makes section (1-based, clamped into 1..nsec) the current one, as the
// planform's section spinner does, and drops a selection of another
// section. The window then redraws the plot.
Redraw chooseSection(WingModel& wing, EditingState& e, int section);

// "Upper surface" (s = 0) and "Lower surface" (s = 1).
Redraw chooseSurface(WingModel& wing, int k, int s, EditingState& e);

// "Spline interp." of surface s; checked is that surface's check
// button's new state. Switching on places the control points on the design
// Cp as it is and changes no design Cp (an interval wider than the editing
// limits is first narrowed into them, and the note says so); switching off
// keeps the design Cp.
Redraw switchSpline(WingModel& wing, int k, int s, EditingState& e, bool checked);

// "Shape the change" of surface s, which must be in spline editing;
// checked is its check button's new state. On, the control points hold the
// change of the design Cp, starting at 0 on the curve as it stands (nothing
// changes); off, they go back onto the curve as it is then, which stays.
Redraw switchShapeChange(WingModel& wing, int k, int s, EditingState& e, bool checked);

// "U1=", "U2=", "L1=", "L2=" with the value shown by the spinner; the
// surface becomes the one being edited. The new end is kept inside the
// editing limits (the note says so when the value asked for lay beyond
// them); the other end stays as it is. With its spline on, the control
// points are placed again over the new interval.
enum class IntervalEnd { U1, U2, L1, L2 };
Redraw setIntervalEnd(WingModel& wing, int k, EditingState& e, IntervalEnd which, int shownValue);

// "Nspl=": the number of control points of surface s; with its
// spline on they are placed anew and the curve is written.
Redraw setSplineCount(WingModel& wing, int k, int s, EditingState& e, int value);

// "I=": the selected point of surface s, as shown by the spinner.
Redraw choosePoint(WingModel& wing, int k, int s, int shownValue);

// "Cpd=": the design Cp of surface s's selected point, as typed; a
// value that the CpOutput design Cp column cannot hold is refused, with a
// note.
Redraw setPointCp(WingModel& wing, int k, int s, double value);

// The arrow keys: moves the selected control point by dx in chord (between
// its neighbours) and dcp in Cp and writes the curve; without a selected
// control point, moves the design Cp of the selected point by dcp while the
// surface is edited point by point. Nothing else moves.
Redraw nudgeSelection(WingModel& wing, int k, int s, EditingState& e, double dx, double dcp);

// Control point j (1 .. nspl-2) of surface s to chord position x (kept
// between its neighbours) and value cp, and the curve written: what a drag
// and a nudge do, and the script's "control" line.
Redraw setControlPoint(WingModel& wing, int k, int s, int j, double x, double cp);

// "Revert section": the design Cp of section k back to what was
// read from the file. A surface in spline editing gets its control points
// placed anew on the reverted curve.
Redraw revertSection(WingModel& wing, int k, EditingState& e);

// Mouse over the canvas at pixel (px, py) of the plot of section k, whose
// surface s is edited: updates the mouse readout and, while a control point
// is dragged, moves it and rewrites the curve.
Redraw moveMouse(WingModel& wing, int k, int s, const PlotTransform& t, EditingState& e, double px, double py);

// Left-button press at pixel (px, py) of a plot drawn with transform t:
// moves the mouse there, starts a drag and picks the control point whose
// drawn circle holds the pixel (the nearest one when circles overlap).
Redraw pressMouse(WingModel& wing, int k, int s, const PlotTransform& t, EditingState& e, double px, double py);

// Left-button release: ends the drag.
Redraw releaseMouse(EditingState& e);

}  // namespace quarvel
