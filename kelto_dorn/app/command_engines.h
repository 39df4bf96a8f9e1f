#pragma once
// The command engines as the view and the frame call them. The view routes
// every menu and bar-menu id to one family, and its click, key and move
// handlers call into the pick machines; those engines live in folders that
// depend on this one, so each installs its entries here at start-up. An entry
// that is not installed means its family is not in the program: the view
// shows its ids disabled and a call to it does nothing.
//
// Each owner keeps its entries in its own section below.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/device_context.h"
#include "shared/handover/drawing_header.h"

namespace dorn {

struct HoleProcessRecord;

// What the CAD file list dialog chose.
struct CadFileChoice {
  std::filesystem::path file;   // the CAD file to read
  int kind = 0;                 // 1 BMI, 2 DXF, 3 IGES, 4 DRN, 5 NC program, 6 point list
  int scale = 5;                // the CAD scale setting, 1..19
  bool replaceDrawing = false;  // the drawing is emptied before the figures come in
};

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
  std::function<void(int id)> dxfExportOrPlot;         // plotter output
  std::function<void(int id)> dxfExport;               // 32832 "ＤＸＦ変換"

  // --- Figure command engine ---------------------------------------------
  // One step of the active figure command; -1 when the id has no step.
  std::function<int(int kind)> executeFigureCommand;
  std::function<void(int kind)> beginFigureCommand;
  std::function<void(int kind, int press)> setActiveCommand;
  // Removes the rubber band and the cross-hair.
  std::function<int()> eraseRubberBand;
  // Draws the rubber band of the active state at the mouse point (XOR).
  std::function<void(platform::DeviceContext&)> drawRubberBand;
  // 2.105's point on a figure (intersection choice) with its prompt.
  std::function<void(platform::DeviceContext&, int prompt)> addPointOnFigure;
  // Back to no command: input area, selection, pick words, prompt 0.
  std::function<void()> resetCommandInput;
  // Appends g_curFigure to the current layer and draws it.
  std::function<void(int flag)> storeAndDrawFigure;
  // Writes the analysis of g_curFigure into the view's bottom band.
  std::function<void(platform::DeviceContext&)> showFigureAnalysis;
  // The point-group work point under the cursor; its block, or -1.
  std::function<int()> pickPolylineWorkFigure;
  // The numbered user-error box of the drawing commands.
  std::function<int(int code)> showErrorBox;
  // Mirrors g_curFigure about the axis figure the command picked (block 5).
  std::function<void()> mirrorCurrentFigure;

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
  // Registers the selected curves as one curve; 222 asks for the taper choice.
  std::function<int()> registerCurve;
  // Selects the curves named in the name input; the count selected.
  std::function<int()> selectCurvesByName;
  // A click of the point-group input (pick state 630).
  std::function<void(platform::DeviceContext&)> pointGroupInput;
  // What the curve commands take from the figure and curve operations; a
  // command whose operation is not installed says so and ends.
  // Selects the curves inside the view's box into g_selectionList; the count.
  std::function<int()> selectCurvesInBox;
  // Reverses order and direction of the current curve's figures.
  std::function<void()> reverseCurve;
  // Re-joins the picked curve figure with its predecessor at the other point.
  std::function<void()> toggleCornerJoin;
  // Gives the selected curves another colour; moves them to the current layer.
  std::function<void()> setCurveColour;
  std::function<void()> moveCurvesToLayer;

  // --- Dimensions and operations ------------------------------------------------
  std::function<void(platform::DeviceContext&, int id)> inputDimension;
  std::function<int(double x, double y)> selectOriginNearPoint;
  // Moves the selected origin to the point, with the figures made on it.
  std::function<void(double x, double y)> reassignFigureOrigin;
  // The dimension preview at the cursor (state 4101).
  std::function<void(platform::DeviceContext&)> previewDimension;
  std::function<void(int mode)> setDimensionPickMode;
  std::function<void(int id)> runDimensionCommand;
  // The value-text editor's highlight of the stored text near the cursor
  // (absolute mm), on every move while its pick state 33258 is on.
  std::function<void(platform::DeviceContext&, double x, double y)> highlightTextNearCursor;
  // The DXF reader the stroke font reads its character files with: appends
  // the file's entities to the selected figure table, the line type in the
  // attribute word's bits 12-15; false when the file cannot be read.
  // Installed by the CAD exchange.
  std::function<bool(const std::filesystem::path& file)> readDxfFile;

  // --- Databases ---------------------------------------------------------------------
  // The database dialogs; each runs modally and returns its end code.
  std::function<int()> toolDatabaseDialog;
  std::function<int()> machineAtcDialog;
  std::function<int()> holeProcessDialog;
  // Binds the rows of a hole process to the current machine's ATC table.
  std::function<void(HoleProcessRecord&)> matchToolsToAtcTable;
  // Dialogs of other subsystems that the database editors open, installed by
  // their owners so that the dialog folders do not depend on each other.
  // The name dialog in a mode (0x100 new base, 0x110 rename base, 0x200 and
  // 0x220 tool folder, 0x400 and 0x420 machine), starting from `name`
  // (CP932): true on OK with the typed name in `name`.
  std::function<bool(int mode, std::string& name)> renameDialog;
  // The machine choice of the post list: true with the chosen machine.
  std::function<bool(std::string& machine)> chooseMachineDialog;

  // --- Machining definitions ------------------------------------------------------
  // One step of the definition flow for a definition command id (32959-32966,
  // 32968, 33188-33190, 33203); the curve dispatcher hands these ids here.
  std::function<int(int command)> defineMachining;
  // The pick handler of the definition commands in pick state 50: a curve
  // was hit (g_curCurveIndex names it) or the picks were ended.
  std::function<void(bool picked)> definitionCurvePick;
  // Which ids of the machining family are in the program (the others show
  // disabled); empty: all of them.
  std::function<bool(int id)> machiningCommandAvailable;
  // One step of a surface definition command, which the curve engine
  // forwards.
  std::function<void(int id)> defineSurface;
  std::function<int()> boxHoleStyleDialog;
  // The ATC ranking before NC data is made (IDD 330); 1 when confirmed.
  std::function<int()> atcRankDialog;
  std::function<int()> timeEstimateDialog;
  std::function<int()> capsuleNameDialog;
  std::function<int()> definitionGroupDialog;

  // --- CAM data ----------------------------------------------------------------------
  std::function<void()> machiningOrder;  // 32806: the machining order dialog
  std::function<void()> ncDataCheck;     // 32809: the NC data check dialog
  std::function<int()> machiningInfoDialog;
  std::function<int()> postSettingsDialog;
  // Works on a copy of the system record that the caller takes back.
  std::function<int(handover::DrawingHeader&)> ncTransferDialog;
  // The screw-lead list on a printer page: rectangle, extent factor, character height.
  std::function<void(platform::DeviceContext&, int left, int top, int right, int bottom, double factor, int height)>
      printScrewLeadList;

  // --- Files and CAD exchange -----------------------------------------------------------
  // The drawing file list: on OK the system record names the drawing to load.
  std::function<int()> drawingFileListDialog;
  std::function<int(CadFileChoice&)> cadFileListDialog;
  // Reads a CAD file of a kind into the selected figure table; false when it
  // could not be read.
  std::function<bool(int kind, const std::filesystem::path& file)> readCadFile;
  // What a network import keeps: 0x01 layer figures, 0x10 curves, 0x100 definitions.
  std::function<int()> importSelectDialog;
  std::function<int(handover::DrawingHeader&)> dataEditDialog;
  std::function<int()> fileServerDialog;
  // The file list in copy (1) or delete (2) mode, as the NC data transfer opens it.
  std::function<void(int mode)> fileListDialog;
  // The print choice: sets the print mode (20, 30, 40); 120 asks for the font dialog.
  std::function<int(int& printMode)> printOutputDialog;
  // The register print choice for mode 800, 810 or 820: the scope 1, 2 or 3.
  std::function<int(int printMode, int& scope)> printListDialog;
  // The text-input dialog with its history (mode 2 of the name dialog):
  // true on OK with the typed text (CP932) in `text`, which holds the
  // default on entry.
  std::function<bool(std::string& text)> textInputDialog;
};
extern CommandEngines g_commandEngines;

void ResetCommandEngines();

}  // namespace dorn
