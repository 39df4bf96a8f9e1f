#pragma once
// The display-window files of the panes: "$LIB.@@@" (pane tables and display
// words), "$CG_WINDW.@@@" (the extents of the last run) and "$CGM.@@@" (step
// sizes), read at start-up and written back when the program closes.
#include <string>
#include <vector>

#include "kelto_qup/shell/path_panes.h"
#include "shared/handover/drawing_header.h"

namespace qup::shell {

// The graphic and plotter records of a missing "$LIB.@@@", as this program
// starts without one.
handover::PlotterSettings DefaultDrawingState();

// Reads the three files into the panes. A missing file gives its defaults;
// a damaged one gives them too and its fault is returned (UTF-8), one line
// each. With reloadDisplayList the extents of the last run stay, otherwise
// only their centre.
std::vector<std::string> LoadDisplayWindow(PathPanes& panes, bool reloadDisplayList);

// Writes "$LIB.@@@" and "$CGM.@@@" (with the panes' colour shift), unless the
// start mode or the sub-mode is 2. Returns the faults of files that could not
// be written (UTF-8).
std::vector<std::string> SaveDisplaySettings(const PathPanes& panes, const handover::DrawingHeader& header);

}  // namespace qup::shell
