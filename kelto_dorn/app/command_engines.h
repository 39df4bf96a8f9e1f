#pragma once
// The command engines as the view and the frame call them. The view routes
// every menu and bar-menu id to one family, and its click, key and move
// handlers call into the pick machines; those engines live in folders that
// depend on this one, so each installs its entries here at start-up. An entry
// that is not installed means its family is not in the program: the view
// shows its ids disabled and a call to it does nothing.
//
// Each owner keeps its entries in its own section below.
#include <functional>

#include "platform/device_context.h"

namespace dorn {

struct CommandEngines {
  // --- Routing families: each gets the command id it was chosen by ---------
  std::function<void(int id)> figureCommand;           // figure commands and their small dialogs
  std::function<void(int id)> viewModeCommand;         // view modes, BOX and copy switches
  std::function<void(int id)> originMoveCommand;       // origin move on the screen
  std::function<void(int id)> curveCommand;            // curve commands, curve list and colours
  std::function<void(int id)> pointGroupCurveCommand;  // point-group curve editing
  std::function<void(int id)> dimensionCommand;        // dimensions and text
  std::function<void(int id)> surfaceCommand;          // 3-D surfaces
  std::function<void(int id)> machiningCommand;        // machining definitions and NC data dialogs
  std::function<void(int id)> camDataRun;              // execution of CAM data runs
  std::function<void(int id)> cadImport;               // CAD file import
  std::function<void(int id)> dxfExportOrPlot;         // DXF export and plotter output

  // --- Figure command engine ---------------------------------------------
  // One step of the active figure command; -1 when the id has no step.
  std::function<int(int kind)> executeFigureCommand;
  std::function<void(int kind)> beginFigureCommand;
  std::function<void(int kind, int press)> setActiveCommand;
  // Removes the rubber band and the cross-hair.
  std::function<int()> eraseRubberBand;
  // Draws the rubber band of the active state at the mouse point (XOR).
  std::function<void(platform::DeviceContext&)> drawRubberBand;
  // Re-enters the figure machine with the point already computed.
  std::function<void()> resumePickCommand;
  // 2.105's point on a figure (intersection choice) with its prompt.
  std::function<void(platform::DeviceContext&, int prompt)> addPointOnFigure;

  // --- Picking --------------------------------------------------------------
  // The figure or curve under g_pickPoint (mode: the hit test mode).
  std::function<bool(int mode)> pickFigureOrCurve;
  // An intersection, centre (kind 1) or end/mid point (kind 2) near the cursor.
  std::function<int(int kind)> pickFiguresNearCursor;
  std::function<int(int index)> findFigureAtPick;
  std::function<int(int arg)> pickWorkFigure;
  std::function<void(platform::DeviceContext&)> drawPickHighlights;
  // What a click on a work figure chooses (0x7016: a curve offset's side,
  // which ends the command).
  std::function<int()> workPickMode;
  // F7, F8, F9: the candidate page (1-3) the highlight shows.
  std::function<void(int page)> setCandidatePage;
  // Reverses the figure the last pick found (mode 1: an arc keeps its sweep).
  std::function<int(int mode)> reverseFigureDirection;

  // --- Curve command engine ---------------------------------------------------
  std::function<void(int id)> beginCurveCommand;
  std::function<int(int id)> dispatchCurveCommand;
  std::function<void()> cancelCurveCommand;

  // --- Dimensions and operations ------------------------------------------------
  std::function<void(platform::DeviceContext&, int id)> inputDimension;
  std::function<int(double x, double y)> selectOriginNearPoint;

  // --- Machining definitions ------------------------------------------------------

  // --- CAM data ----------------------------------------------------------------------
  std::function<void()> machiningOrder;  // 32806: the machining order dialog
  std::function<void()> ncDataCheck;     // 32809: the NC data check dialog
  std::function<void()> postSettings;    // 32819: the post settings dialog

  // --- Files and CAD exchange -----------------------------------------------------------
};
extern CommandEngines g_commandEngines;

void ResetCommandEngines();

}  // namespace dorn
