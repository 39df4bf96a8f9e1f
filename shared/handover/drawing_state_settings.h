#pragma once
// PlotterSettings: "$LIB.@@@" in the program folder, two 192-byte drawing-state
// records: record 0 for the graphic (screen) display, record 1 for the pen
// plotter, 384 bytes.
//
// Written by Kelto_Dorn's drawing-state dialog and by Kelto_qup when it
// closes; read by both. Kelto_qup takes its 2-D panes from record 0: entry 0
// of the three arrays is the one-pane display, entries 1 to 4 the quarters
// (top left X-Y, top right Y-Z, bottom left X-Z, bottom right the arrow
// view). Each program keeps its own defaults for a missing file.
//
// | off | type      | field        | graphic record            | plotter record   |
// |-----|-----------|--------------|---------------------------|------------------|
// |   0 | double[5] | centreX      | pane X offset, 4 pixels  | X offset, mm     |
// |  40 | double[5] | centreY      | pane Y offset, 4 pixels  | Y offset, mm     |
// |  80 | double[5] | scale        | pane zoom, percent        | scale, percent   |
// | 120 | double    | rotationX    | arrow view about X, deg   | projection angle |
// | 128 | double    | rotationY    | arrow view about Y, deg   |                  |
// | 136 | double    | rotationZ    | arrow view about Z, deg   | projection angle |
// | 144 | int32     | paneWord     | 0 one pane, 1 four panes  | port: 0 COM1, 1  |
// |     |           |              |                           | COM2             |
// | 148 | int32     | colourChange | colour at tool change:    | 1: always the    |
// |     |           |              | 0 on, 1 off (fixed pen)   | fixed pen        |
// | 152 | int32     | lineColour   | line colour; the panes'   | pen number       |
// |     |           |              | last tool colour          |                  |
// | 156 | int32     | viewingPlane | 0 XY, 1 XZ, 2 YZ, 3 arrow | 0 XY, 1 XZ, 2 YZ |
// | 160 | int32     | rapidDisplay | rapid (G00) moves: 0 on,  | rapid style      |
// |     |           |              | 1 off                     |                  |
// | 164 | int32     | axes         | 0 off, 1 axes, 2 grid     | (unused)         |
// | 168 | char[8]   | reserved168  |                           |                  |
// | 176 | double    | planeHeight  | grid plane Z, mm          | (unused)         |
// | 184 | double    | axisInterval | grid spacing, mm          | (unused)         |
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "platform/record_file.h"

namespace handover {

struct DrawingStateRecord {
  static constexpr int kPaneCount = 5;
  double centreX[kPaneCount] = {};
  double centreY[kPaneCount] = {};
  double scale[kPaneCount] = {};
  double rotationX = 0.0;
  double rotationY = 0.0;
  double rotationZ = 0.0;
  std::int32_t paneWord = 0;
  std::int32_t colourChange = 0;
  std::int32_t lineColour = 0;
  std::int32_t viewingPlane = 0;
  std::int32_t rapidDisplay = 0;
  std::int32_t axes = 0;
  char reserved168[8] = {};
  double planeHeight = 0.0;
  double axisInterval = 0.0;
};
static_assert(sizeof(DrawingStateRecord) == 192);
static_assert(offsetof(DrawingStateRecord, centreX) == 0);
static_assert(offsetof(DrawingStateRecord, centreY) == 40);
static_assert(offsetof(DrawingStateRecord, scale) == 80);
static_assert(offsetof(DrawingStateRecord, rotationX) == 120);
static_assert(offsetof(DrawingStateRecord, rotationY) == 128);
static_assert(offsetof(DrawingStateRecord, rotationZ) == 136);
static_assert(offsetof(DrawingStateRecord, paneWord) == 144);
static_assert(offsetof(DrawingStateRecord, colourChange) == 148);
static_assert(offsetof(DrawingStateRecord, lineColour) == 152);
static_assert(offsetof(DrawingStateRecord, viewingPlane) == 156);
static_assert(offsetof(DrawingStateRecord, rapidDisplay) == 160);
static_assert(offsetof(DrawingStateRecord, axes) == 164);
static_assert(offsetof(DrawingStateRecord, reserved168) == 168);
static_assert(offsetof(DrawingStateRecord, planeHeight) == 176);
static_assert(offsetof(DrawingStateRecord, axisInterval) == 184);

struct PlotterSettings {
  DrawingStateRecord graphic;
  DrawingStateRecord plotter;
};
static_assert(sizeof(PlotterSettings) == 384);
static_assert(offsetof(PlotterSettings, plotter) == 192);
static_assert(platform::FileRecord<PlotterSettings>);

inline constexpr char kDrawingStateFileName[] = "$LIB.@@@";

// Reads both records. Missing: status Missing, `settings` unchanged (each
// program applies its own defaults). Any size but 384 bytes, or a value that
// is not a number: damaged, `settings` unchanged.
platform::FileResult ReadPlotterSettings(const std::filesystem::path& path, PlotterSettings& settings);

// Kelto_Dorn's defaults of both records (its drawing-state dialog and its
// plotter output start from these when the file is missing): graphic centre
// 0, 0, scale 50 %, rotations 30 / 0 / -30 degrees, plane X-Z, grid spacing
// 20; plotter offsets 190, 140 mm, scale 100 %, no rotation, port word 2,
// pen 1, plane X-Z.
PlotterSettings DefaultPlotterSettings();

// Writes both records atomically; a value that is not a number is refused.
platform::FileResult WritePlotterSettings(const std::filesystem::path& path, const PlotterSettings& settings);

}  // namespace handover
