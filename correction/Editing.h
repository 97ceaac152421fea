// Editing of the current section's design Cp without the toolkit: the
// surface selectors, the spline switch, the interval, count, point and Cp
// spinners, and the mouse picking and dragging of spline control points.
//
// Each command takes the new state of the widget that sent it (the check
// state, the spinner's value), changes the wing and returns what the window
// must redraw; the window then shows panelOf(wing). Every handler acts on the
// current section and, unless said otherwise, on its activeSurface.
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

// Drops the selection when it no longer belongs to the current section and
// surface or no longer names an inner control point. Every command here runs
// it; a window that changes curSection other than through chooseSection runs
// it before the plot is redrawn.
void dropStaleSelection(const WingModel& wing, EditingState& e);

// Makes section (1-based, clamped into 1..nsec) the current one, as the
// planform's section spinner does, and drops a selection of another
// section. The window then redraws the plot.
Redraw chooseSection(WingModel& wing, EditingState& e, int section);

// "Upper surface" (s = 0) and "Lower surface" (s = 1).
Redraw chooseSurface(WingModel& wing, EditingState& e, int s);

// "Spline interp." of the active surface; checked is that surface's check
// button's new state. Switching on places the control points on the design
// Cp as it is and changes no design Cp; switching off keeps the design Cp.
Redraw switchSpline(WingModel& wing, EditingState& e, bool checked);

// "Shape the change" of the active surface, which must be in spline editing;
// checked is its check button's new state. On, the control points hold the
// change of the design Cp, starting at 0 on the curve as it stands (nothing
// changes); off, they go back onto the curve as it is then, which stays.
Redraw switchShapeChange(WingModel& wing, EditingState& e, bool checked);

// "U1=", "U2=", "L1=", "L2=" with the value shown by the spinner; the
// surface becomes the one being edited. With its spline on, the control
// points are placed again over the new interval.
enum class IntervalEnd { U1, U2, L1, L2 };
Redraw setIntervalEnd(WingModel& wing, EditingState& e, IntervalEnd which, int shownValue);

// "Nspl=": the number of control points of the active surface; with its
// spline on they are placed anew and the curve is written.
Redraw setSplineCount(WingModel& wing, EditingState& e, int value);

// "I=": the selected point of the active surface, as shown by the spinner.
Redraw choosePoint(WingModel& wing, int shownValue);

// "Cpd=": the design Cp of the active surface's selected point, kept within
// kCpdHalfRange of its design Cp before the command (the spinner's range).
Redraw setPointCp(WingModel& wing, double value);

// The arrow keys: moves the selected control point by dx in chord (between
// its neighbours) and dcp in Cp and writes the curve; without a selected
// control point, moves the design Cp of the selected point by dcp while the
// surface is edited point by point. Nothing else moves.
Redraw nudgeSelection(WingModel& wing, EditingState& e, double dx, double dcp);

// "Revert section": the design Cp of the current section back to what was
// read from the file. A surface in spline editing gets its control points
// placed anew on the reverted curve.
Redraw revertSection(WingModel& wing, EditingState& e);

// Mouse over the canvas at pixel (px, py): updates the mouse readout and,
// while a control point is dragged, moves it and rewrites the curve.
Redraw moveMouse(WingModel& wing, const PlotTransform& t, EditingState& e, double px, double py);

// Left-button press at pixel (px, py) of a plot drawn with transform t:
// moves the mouse there, starts a drag and picks the control point whose
// drawn circle holds the pixel (the nearest one when circles overlap).
Redraw pressMouse(WingModel& wing, const PlotTransform& t, EditingState& e, double px, double py);

// Left-button release: ends the drag.
Redraw releaseMouse(EditingState& e);

}  // namespace quarvel
