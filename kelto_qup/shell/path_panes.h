#pragma once
// PathPanes: the companion's 2-D display of tool paths in one pane or in four
// (top left X-Y, top right Y-Z, bottom left X-Z, bottom right the arrow view).
// Every move goes to all visible panes at once, clipped to each pane and kept
// as a polyline per pane until a buffer fills or the caller flushes; a rapid
// move is drawn dotted at once. Pane 0 is the one-pane display, panes 1 to 4
// the quarters.
//
// The pane tables and display words are the graphic record of "$LIB.@@@"
// (one storage: the file is read into it and written from it); the step
// sizes are "$CGM.@@@"'s. Pan and zoom requests gather in accumulators that
// are folded into the pane tables before a drag and when the program closes.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "kelto_qup/shell/companion_colors.h"
#include "platform/device_context.h"
#include "shared/handover/color_table.h"
#include "shared/handover/display_record.h"
#include "shared/handover/display_settings_record.h"
#include "shared/handover/drawing_header.h"
#include "shared/handover/drawing_state_settings.h"

namespace qup::shell {

inline constexpr int kPaneCount = 5;
// Extents that have seen no point.
inline constexpr double kNoExtent = -9999990.0;
// The drawing kind of lines that are not moves of a path (axes, grid, work
// box): drawn, never recorded, never part of the extents.
inline constexpr int kDecorationMode = 9;
// The plane of the one-pane display: 0 X-Y, 1 X-Z, 2 Y-Z, 3 arrow view.
inline constexpr int kPlaneArrow = 3;

struct PaneGeometry {
  double scale = 1.0;  // pixels per mm
  double centreX = 0.0;
  double centreY = 0.0;
  platform::Rect rect;
};

struct PathExtents3 {
  double minX = kNoExtent, minY = kNoExtent, minZ = kNoExtent;
  double maxX = kNoExtent, maxY = kNoExtent, maxZ = kNoExtent;
  bool Exist() const { return minX != kNoExtent; }
  void Add(double x, double y, double z);
};

// The X-Y corners of the stock and the origin mark of the work settings.
struct WorkBoxCorners {
  bool valid = false;                             // origin codes 0 to 4 define the box
  std::array<std::array<double, 2>, 4> corner{};  // (Xmax,Ymax) (Xmin,Ymax) (Xmax,Ymin) (Xmin,Ymin)
  bool hasMark = false;
  std::array<std::array<double, 2>, 3> mark{};  // the right triangle at the origin corner
};
WorkBoxCorners ComputeWorkBoxCorners(const handover::DrawingHeader& header);

// One entry of the zoom-undo stack.
struct ZoomUndoEntry {
  int pane = 0;
  double zoom = 0.0, offsetX = 0.0, offsetY = 0.0;
};

class PathPanes {
 public:
  PathPanes(const handover::ColorTable& colors, const PenTable& pens) : colors_(colors), pens_(pens) {}

  // ---- settings: "$LIB.@@@" (record 0 drives the panes) and "$CGM.@@@"
  handover::PlotterSettings lib{};
  handover::DrawingStateRecord savedRecord{};  // the copy "元に戻す" restores
  bool hasSavedRecord = false;
  handover::DisplaySettingsRecord cgm{};
  handover::DrawingStateRecord& Graphic() { return lib.graphic; }
  const handover::DrawingStateRecord& Graphic() const { return lib.graphic; }

  // Display words of the graphic record, by name.
  bool FourPanes() const { return lib.graphic.paneWord != 0; }
  int Plane() const { return lib.graphic.viewingPlane; }
  bool RapidShown() const { return lib.graphic.rapidDisplay == 0; }
  bool FixedColour() const { return lib.graphic.colourChange != 0; }
  int AxisMode() const { return lib.graphic.axes; }

  // ---- program-wide display state
  int colorOffset = 0;  // 0 to 31, added to tool colours
  double zoomAccumulator = 0.0, panAccumulatorX = 0.0, panAccumulatorY = 0.0;
  std::vector<ZoomUndoEntry> zoomUndo;  // at most kZoomUndoDepth
  static constexpr std::size_t kZoomUndoDepth = 15;
  PathExtents3 extents;
  std::array<double, 3> extentsCentre{};
  double printScale = 1.0;
  // Flush rules: buffers are drawn sooner while a run draws, and after every
  // segment outside the NORMAL execution mode.
  bool running = false;
  int executionMode = 0;
  int printColourMode = 0;  // bits 0x1000 / 0x2000: print every line with pen 0
  int dragPane = -1;        // during a mouse drag only this pane is drawn
  bool tracePaneOnly = false;

  // ---- set-up and decorations
  // Pane scales, centres and rectangles for a client area and list height;
  // empties the buffers and builds the arrow view's rotation.
  void Setup(platform::Size client, int listHeight);
  const PaneGeometry& Pane(int pane) const { return geometry_[static_cast<std::size_t>(pane)]; }
  int VisiblePaneCount() const { return FourPanes() ? 4 : 1; }
  int FirstVisiblePane() const { return FourPanes() ? 1 : 0; }
  // Frames, axes and the work box, before a replay.
  void DrawDecorations(platform::DeviceContext& dc, const handover::DrawingHeader& header, bool workBoxShown);
  void DrawAxes(platform::DeviceContext& dc);
  void DrawWorkBox(platform::DeviceContext& dc, const handover::DrawingHeader& header);

  // ---- colours (pen indexes 1 to 24)
  int MovePen(int tool);
  int LinePen(int tool, int secondTool);
  int ReplayPen(std::uint16_t colorWord) const;
  // The drawing kind of a rapid line in pen `pen` while rapids are shown.
  static int RapidKind(int pen) { return pen <= 2 ? -6 : 2 - pen; }

  // ---- drawing
  // Draws from the current point to (x, y, z) in every visible pane: kind > 0
  // a solid line in that pen, 0 a pen-up move, < 0 a dotted line in pen
  // -kind. mode kDecorationMode keeps the point out of the extents.
  void MoveDraw3D(platform::DeviceContext& dc, double x, double y, double z, int kind, int mode = 0);
  // A pen-up move: the current point only.
  void MoveTo3D(double x, double y, double z);
  void Flush(platform::DeviceContext& dc);
  const std::array<double, 3>& CurrentPoint() const { return current_; }
  // Replays one record of the display list: the first of a replay is a
  // pen-up move to its point; a cutting line is drawn in its tool's colour
  // (moved on by the colour shift), a rapid dotted while rapids are shown;
  // markers of path sections and calls carry no point and are passed over.
  void Replay(platform::DeviceContext& dc, const handover::CDisplayRecord& record, bool first);

  // ---- coordinates
  // The pane's 2-D pair of a model point, before scaling.
  std::array<double, 2> PanePair(int pane, double x, double y, double z) const;
  // The pane pixel of a model point (the one-pane display's pane, else pane 1).
  platform::Point ProjectPointToPane(double x, double y, double z) const;
  // The model pair of a pixel in a pane (x and y of the pane's plane).
  std::array<double, 2> PaneToModel(int pane, platform::Point p) const;
  // The pane under a pixel: 0 in the one-pane display, else 1 to 4 (0 off them).
  int PaneAtPoint(platform::Point p, platform::Size client, int drawBottom) const;

  // ---- zoom and pan (pane_zoom.cpp)
  // Zooms pane `pane` to the box given in pixels. False (nothing changed)
  // when the scale or the centre would leave +-999999.
  bool ZoomToBox(int pane, platform::Rect box);
  bool UndoZoom(int pane);
  void FoldAccumulators();
  // Fits the path extents into every pane.
  void CenterOrigin(platform::Size client, int listHeight);
  // Zoom in (+1) or out (-1) by one step; out is refused (false) where pane
  // 0's zoom would fall below 1.
  bool StepZoom(int direction);
  void StepPan(int dx, int dy);

 private:
  struct Buffer {
    std::vector<platform::Point> points;
    int pen = -1;
  };
  void Append(platform::DeviceContext& dc, int pane, platform::Point a, platform::Point b, int kind);
  void FlushPane(platform::DeviceContext& dc, int pane);
  void DrawPointMark(platform::DeviceContext& dc, platform::Point p, int pen);
  std::array<double, 2> ScreenPoint(int pane, const std::array<double, 3>& p,
                                    const std::array<double, 3>& turned) const;
  void ProjectVisible(const std::array<double, 3>& p, std::array<std::array<double, 2>, kPaneCount>& out) const;
  void DrawScreenSegment(platform::DeviceContext& dc, int pane, std::array<double, 2> a, std::array<double, 2> b,
                         int kind);
  std::array<double, 3> Turned(double x, double y, double z) const;
  double EffectiveZoom(int pane) const;

  const handover::ColorTable& colors_;
  const PenTable& pens_;
  std::array<PaneGeometry, kPaneCount> geometry_{};
  std::array<std::array<double, 3>, 3> rotation_{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
  std::array<Buffer, kPaneCount> buffers_{};
  std::array<double, 3> current_{};
  // The current point's pixels in each visible pane, while valid.
  std::array<std::array<double, 2>, kPaneCount> screen_{};
  bool screenValid_ = false;
  int currentPen_ = 0;
};

// Clips the segment a-b (pixels, as doubles) to r: false when nothing of it
// lies inside, else a and b are moved onto the crossed edges.
bool ClipSegment(double& ax, double& ay, double& bx, double& by, const platform::Rect& r);

}  // namespace qup::shell
