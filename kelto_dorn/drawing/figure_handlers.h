#pragma once
// The view's handlers of the figure commands (menu items and bar buttons)
// and the view commands that change how the drawing is shown or selected:
// the two routing entries the view calls with a command id.
namespace dorn {

// A figure command id: most start the engine; some set up their first step.
void OnFigureCommand(int id);
// 33112-33115 projections, 32776 curve names, 32775 continuous mode, 32864
// BOX, 33247 polyline BOX, 32848 copy.
void OnViewModeCommand(int id);

// Installs the figure command engine's entries of command_engines.h and the
// prompt and pending-figure hooks of the painters.
void InstallFigureEngines();

}  // namespace dorn
