#pragma once
// The view's routing of the 199 command ids it receives: each id belongs to
// one family. The families of the drawing commands, surfaces, machining and
// CAM runs are engines installed in g_commandEngines; the others are the
// view's own handlers (view, File menu, undo, CAD import, printing).
namespace dorn {

enum class RouteFamily {
  kNone,             // not an id of the view
  kFigure,           // figure commands and their small dialogs
  kViewMode,         // view modes, BOX and copy switches
  kOriginMove,       // origin move on the screen
  kCurve,            // curve commands, curve list and colours
  kPointGroupCurve,  // point-group curve editing
  kDimension,        // dimensions and text
  kSurface,          // 3-D surfaces
  kMachining,        // machining definitions and NC data dialogs
  kCamDataRun,       // execution of CAM data runs
  kFileMenu,         // File menu, drawing file list, network import
  kUndoRedo,         // undo and redo
  kCadImport,        // CAD file import
  kDxfExportOrPlot,  // plotter output
  kDxfExport,        // DXF export
  kView,             // zoom, pan, snaps, printing, work settings, line type and colours
  kFrameworkPrint,   // print, print directly, print preview
};

inline constexpr int kRoutedCommandCount = 199;

RouteFamily FamilyOf(int id);
// Whether the family is an engine installed elsewhere.
bool IsEngineFamily(RouteFamily family);
// Whether the engine of an engine family is in the program.
bool EngineInstalled(RouteFamily family);
// Hands the id to its engine; false when the engine is not installed.
bool RouteToEngine(RouteFamily family, int id);

// Every routed id, in ascending order (for the tests and the enabling).
const int* RoutedCommands();

}  // namespace dorn
