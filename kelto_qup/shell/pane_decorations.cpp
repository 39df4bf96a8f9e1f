// What the panes show besides the paths: their frames, the axes or the grid,
// and the stock box with its origin mark.
#include <algorithm>
#include <cmath>

#include "kelto_qup/shell/path_panes.h"

namespace qup::shell {

namespace {

// Palette indexes of the decorations.
constexpr int kColourXAxis = 12, kColourYAxis = 13, kColourZAxis = 14;
constexpr int kColourBoxSides = 23, kColourBoxTop = 7, kColourOriginMark = 1;
constexpr double kAxisLengthXY = 100.0, kAxisLengthZ = 80.0;
constexpr double kDefaultGridSpacing = 50.0;
constexpr double kGridReach = 20000.0;
constexpr double kOriginMarkLeg = 10.0;

}  // namespace

WorkBoxCorners ComputeWorkBoxCorners(const handover::DrawingHeader& header) {
  WorkBoxCorners box;
  const double w = header.workSizeX, h = header.workSizeY;
  double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
  switch (header.workOriginPosition) {
    case 0:  // "[中央]"
      xMin = -w / 2, xMax = w / 2, yMin = -h / 2, yMax = h / 2;
      break;
    case 1:  // "[右上]"
      xMin = -w, xMax = 0, yMin = -h, yMax = 0;
      break;
    case 2:  // "[左上]"
      xMin = 0, xMax = w, yMin = -h, yMax = 0;
      break;
    case 3:  // "[左下]"
      xMin = 0, xMax = w, yMin = 0, yMax = h;
      break;
    case 4:  // "[右下]"
      xMin = -w, xMax = 0, yMin = 0, yMax = h;
      break;
    default:  // no placement: no box and no mark
      return box;
  }
  xMin -= header.originOffsetX, xMax -= header.originOffsetX;
  yMin -= header.originOffsetY, yMax -= header.originOffsetY;
  box.valid = true;
  box.corner = {{{xMax, yMax}, {xMin, yMax}, {xMax, yMin}, {xMin, yMin}}};
  const double leg = kOriginMarkLeg;
  switch (header.workOriginPosition) {
    case 1:
      box.mark = {{{xMax, yMax}, {xMax - leg, yMax}, {xMax, yMax - leg}}};
      break;
    case 2:
      box.mark = {{{xMin, yMax}, {xMin + leg, yMax}, {xMin, yMax - leg}}};
      break;
    case 3:
      box.mark = {{{xMin, yMin}, {xMin + leg, yMin}, {xMin, yMin + leg}}};
      break;
    case 4:
      box.mark = {{{xMax, yMin}, {xMax - leg, yMin}, {xMax, yMin + leg}}};
      break;
    default:
      return box;
  }
  box.hasMark = true;
  return box;
}

void PathPanes::DrawDecorations(platform::DeviceContext& dc, const handover::DrawingHeader& header, bool workBoxShown) {
  const int first = FirstVisiblePane();
  const int frameColour = std::clamp(colors_.axisColor, 0, handover::ColorTable::kColorCount - 1);
  dc.SelectPen({colors_.palette[frameColour], 1, platform::PenStyle::Solid});
  dc.SelectBrush({0, platform::BrushStyle::Null});
  for (int p = first; p < first + VisiblePaneCount(); ++p) dc.Rectangle(Pane(p).rect);
  DrawAxes(dc);
  if (workBoxShown) DrawWorkBox(dc, header);
  Flush(dc);
}

void PathPanes::DrawAxes(platform::DeviceContext& dc) {
  const auto line = [&](double x0, double y0, double z0, double x1, double y1, double z1, int colour) {
    MoveTo3D(x0, y0, z0);
    MoveDraw3D(dc, x1, y1, z1, colour, kDecorationMode);
  };
  auto& g = lib.graphic;
  if (AxisMode() == 1) {
    line(0, 0, 0, kAxisLengthXY, 0, 0, kColourXAxis);
    line(0, 0, 0, 0, kAxisLengthXY, 0, kColourYAxis);
    line(0, 0, 0, 0, 0, kAxisLengthZ, kColourZAxis);
    return;
  }
  if (AxisMode() != 2) return;
  if (g.axisInterval == 0.0) g.axisInterval = kDefaultGridSpacing;
  const double spacing = std::fabs(g.axisInterval);
  const double zoom = std::max(1.0, zoomAccumulator + g.scale[0]);
  const double reach = kGridReach / zoom;
  const double z = g.planeHeight;
  // Lines closer than a pixel in the finest visible pane would only paint
  // the pane solid (and a spacing typed near zero would mean millions of
  // them): then only the border and the main axes are drawn.
  double finest = Pane(FirstVisiblePane()).scale;
  for (int p = FirstVisiblePane(); p < FirstVisiblePane() + VisiblePaneCount(); ++p) {
    finest = std::min(finest, Pane(p).scale);
  }
  if (spacing * finest >= 1.0) {
    for (double d = spacing; d <= reach; d += spacing) {
      for (double s : {d, -d}) {
        line(-reach, s, z, reach, s, z, kColourZAxis);
        line(s, -reach, z, s, reach, z, kColourZAxis);
      }
    }
  }
  line(-reach, -reach, z, reach, -reach, z, kColourZAxis);
  line(reach, -reach, z, reach, reach, z, kColourZAxis);
  line(reach, reach, z, -reach, reach, z, kColourZAxis);
  line(-reach, reach, z, -reach, -reach, z, kColourZAxis);
  line(-reach, 0, z, reach, 0, z, kColourXAxis);
  line(0, -reach, z, 0, reach, z, kColourXAxis);
}

void PathPanes::DrawWorkBox(platform::DeviceContext& dc, const handover::DrawingHeader& header) {
  const WorkBoxCorners box = ComputeWorkBoxCorners(header);
  if (!box.valid) return;
  const double height = header.workSizeZ;
  const bool bottomAtZero = header.globalZMode == handover::DrawingHeader::kGlobalZBottom;
  const double lower = bottomAtZero ? 0.0 : -height;
  const double upper = bottomAtZero ? height : 0.0;
  // The corners in drawing order around the rectangle.
  const int ring[5] = {0, 1, 3, 2, 0};
  const auto rectangle = [&](double z, int colour) {
    MoveTo3D(box.corner[0][0], box.corner[0][1], z);
    for (int i = 1; i < 5; ++i) {
      const auto& c = box.corner[static_cast<std::size_t>(ring[i])];
      MoveDraw3D(dc, c[0], c[1], z, colour, kDecorationMode);
    }
  };
  const auto verticals = [&] {
    for (const auto& c : box.corner) {
      MoveTo3D(c[0], c[1], lower);
      MoveDraw3D(dc, c[0], c[1], upper, kColourBoxSides, kDecorationMode);
    }
  };
  rectangle(lower, kColourBoxSides);
  verticals();
  rectangle(upper, kColourBoxTop);
  verticals();
  if (header.workOriginPosition == 0 || !box.hasMark) return;
  MoveTo3D(box.mark[0][0], box.mark[0][1], upper);
  for (int i : {1, 2, 0}) {
    const auto& m = box.mark[static_cast<std::size_t>(i)];
    MoveDraw3D(dc, m[0], m[1], upper, kColourOriginMark, kDecorationMode);
  }
}

}  // namespace qup::shell
