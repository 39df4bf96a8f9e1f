// The work box: see work_box.h.
#include "kelto_dorn/app/work_box.h"

#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/dimension_painter.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"

namespace dorn {

namespace {

// Size texts: 7 mm high, 8 mm and 15 mm away from the box.
constexpr float kSizeTextHeight = 7.0f;
constexpr double kTextInset = 8.0;
constexpr double kTextOffset = 15.0;
// Size dimensions: extension lines 20 long, dimension lines 15 away (mm).
constexpr double kExtensionLength = 20.0;
constexpr double kDimensionOffset = 15.0;
// Legs of the origin-corner mark (mm).
constexpr double kCornerMarkLeg = 10.0;
// Colours: on a dark background (index 1..20) the box is drawn in 1 and the
// texts in 0, else both in 7; bottom and vertical edges in 20.
constexpr int kBottomEdgeColour = 20;
constexpr int kCornerMarkColour = 1;

bool DarkBackground() { return g_colorTable.backgroundIndex >= 1 && g_colorTable.backgroundIndex <= 20; }
int TopEdgeColour() { return DarkBackground() ? 1 : 7; }
int SizeTextColour() { return DarkBackground() ? 0 : 7; }

double TopZ() { return g_globalZMode == handover::DrawingHeader::kGlobalZBottom ? g_globalZ : 0.0; }
double BottomZ() { return g_globalZMode == handover::DrawingHeader::kGlobalZBottom ? 0.0 : -g_globalZ; }

void SelectColourPen(platform::DeviceContext& dc, int c) {
  dc.SelectPen({DeviceColour(c), 1, platform::PenStyle::Solid});
}

void SetSizeText(int index, double value, double x, double y, float angle) {
  TextRecord& t = g_textRecords[static_cast<std::size_t>(index)];
  t.layer = kTextLayerHidden;
  t.originX = t.originY = 0.0f;
  FormatNumber4(value);
  SetTextRecordText(t, std::string_view(g_textBuffer, strnlen(g_textBuffer, sizeof g_textBuffer)));
  t.baseX = static_cast<float>(x);
  t.baseY = static_cast<float>(y);
  t.angle = angle;
  t.size = kSizeTextHeight;
  t.layer = g_figureTableSelector;
  t.colour = SizeTextColour();
}

void SegmentAt(platform::DeviceContext& dc, Vec2 a, Vec2 b, double z) {
  g_curFigure.start = a;
  g_curFigure.end = b;
  DrawDimension(dc, a, b, z, 0);
}

void DrawOutline(platform::DeviceContext& dc) {
  const FigureRecord& w = g_workBoxFigure;
  const Vec2 c1 = w.start, c2 = w.end, c3 = w.centre, c4 = w.dir;
  const Vec2 edges[4][2] = {{c1, c2}, {c4, c3}, {c1, c3}, {c2, c4}};
  for (int i = 0; i < 4; ++i) {
    g_curFigure.start = edges[i][0];
    g_curFigure.end = edges[i][1];
    DrawWorkBoxEdge(0, dc);
    if (i < 2) DrawWorkBoxEdge(1, dc);  // the vertical edges at the four corners
  }
}

void DrawCornerMark(platform::DeviceContext& dc) {
  const FigureRecord& w = g_workBoxFigure;
  Vec2 corner;
  double sx = 0, sy = 0;
  switch (g_workOriginPosition) {
    case kWorkOriginUpperRight:
      corner = w.start;
      sx = -1;
      sy = -1;
      break;
    case kWorkOriginUpperLeft:
      corner = w.end;
      sx = 1;
      sy = -1;
      break;
    case kWorkOriginLowerLeft:
      corner = w.dir;
      sx = 1;
      sy = 1;
      break;
    case kWorkOriginLowerRight:
      corner = w.centre;
      sx = -1;
      sy = 1;
      break;
    default:
      return;
  }
  SelectColourPen(dc, kCornerMarkColour);
  g_curFigure.kind = kKindDimExtension;
  const Vec2 a{corner.x + sx * kCornerMarkLeg, corner.y};
  const Vec2 b{corner.x, corner.y + sy * kCornerMarkLeg};
  SegmentAt(dc, corner, a, TopZ());
  SegmentAt(dc, a, b, TopZ());
  SegmentAt(dc, b, corner, TopZ());
}

void DrawSizeDimensions(platform::DeviceContext& dc) {
  const FigureRecord& w = g_workBoxFigure;
  const Vec2 c2 = w.end, c3 = w.centre, c4 = w.dir;
  SelectColourPen(dc, g_workDimColour);
  g_curFigure.kind = kKindLine;
  const double top = TopZ();
  // Y: along the left edge.
  SegmentAt(dc, c2, {c2.x - kExtensionLength, c2.y}, top);
  SegmentAt(dc, c4, {c4.x - kExtensionLength, c4.y}, top);
  DrawDimension(dc, {c2.x - kDimensionOffset, c2.y}, {c4.x - kDimensionOffset, c4.y}, top, 3);
  // Z: at the bottom of the lower left corner.
  SegmentAt(dc, c4, {c4.x - kExtensionLength, c4.y}, BottomZ());
  DrawDimension(dc, {c4.x - kDimensionOffset, c4.y}, {c4.x - kDimensionOffset, c4.y}, BottomZ(), kDimensionTextAnchor);
  // X: along the lower edge.
  if (!g_workBoxHidden) {
    SegmentAt(dc, c4, {c4.x, c4.y - kExtensionLength}, top);
    SegmentAt(dc, c3, {c3.x, c3.y - kExtensionLength}, top);
    DrawDimension(dc, {c4.x, c4.y - kDimensionOffset}, {c3.x, c3.y - kDimensionOffset}, top, 3);
  }
}

}  // namespace

std::optional<WorkBoxCorners> FindWorkBoxCorners() {
  const double W = g_workSizeX, H = g_workSizeY;
  const double ox = g_workOffsetX, oy = g_workOffsetY;
  Vec2 c1, c2, c3, c4;
  switch (g_workOriginPosition) {
    case kWorkOriginCentre:
      c1 = {W / 2, H / 2};
      c2 = {-W / 2, H / 2};
      c3 = {W / 2, -H / 2};
      c4 = {-W / 2, -H / 2};
      break;
    case kWorkOriginUpperRight:
      c1 = {0, 0};
      c2 = {-W, 0};
      c3 = {0, -H};
      c4 = {-W, -H};
      break;
    case kWorkOriginUpperLeft:
      c1 = {W, 0};
      c2 = {0, 0};
      c3 = {W, -H};
      c4 = {0, -H};
      break;
    case kWorkOriginLowerLeft:
      c1 = {W, H};
      c2 = {0, H};
      c3 = {W, 0};
      c4 = {0, 0};
      break;
    case kWorkOriginLowerRight:
      c1 = {0, H};
      c2 = {-W, H};
      c3 = {0, 0};
      c4 = {-W, 0};
      break;
    default:
      return std::nullopt;
  }
  return WorkBoxCorners{{c1.x - ox, c1.y - oy}, {c2.x - ox, c2.y - oy}, {c3.x - ox, c3.y - oy}, {c4.x - ox, c4.y - oy}};
}

void PlaceWork() {
  const std::optional<WorkBoxCorners> corners = FindWorkBoxCorners();
  if (!corners) return;  // an unknown position keeps the previous box
  const double W = g_workSizeX, H = g_workSizeY;
  // The projection centre of the side views: the middle of the box.
  const Vec2 centre{(corners->upperRight.x + corners->lowerLeft.x) / 2,
                    (corners->upperRight.y + corners->lowerLeft.y) / 2};
  FigureRecord& w = g_workBoxFigure;
  g_projectionCentre = centre;
  w.origin = {};
  w.start = corners->upperRight;
  w.end = corners->upperLeft;
  w.centre = corners->lowerRight;
  w.dir = corners->lowerLeft;
  const Vec2 C2 = w.end, C3 = w.centre, C4 = w.dir;
  SetSizeText(0, W, (C3.x + C4.x) / 2 - kTextInset, C4.y - kTextOffset, 0.0f);
  SetSizeText(1, H, C4.x - kTextOffset, (C4.y + C2.y) / 2 - kTextInset, 90.0f);
  SetSizeText(2, g_globalZ, C4.x - kTextOffset, C4.y, 90.0f);
  if (g_workBoxHidden) g_textRecords[0].layer = kTextLayerHidden;
}

void DrawWorkBoxEdge(int vertical, platform::DeviceContext& dc) {
  const Vec2 a = g_curFigure.start, b = g_curFigure.end;
  double x1, y1, x2, y2;
  if (vertical == 0) {
    SelectColourPen(dc, TopEdgeColour());
    WorldToScreenExact(a.x, a.y, TopZ(), x1, y1);
    WorldToScreenExact(b.x, b.y, TopZ(), x2, y2);
    DrawClippedSegment(dc, x1, y1, x2, y2);
    SelectColourPen(dc, kBottomEdgeColour);
    WorldToScreenExact(a.x, a.y, BottomZ(), x1, y1);
    WorldToScreenExact(b.x, b.y, BottomZ(), x2, y2);
    DrawClippedSegment(dc, x1, y1, x2, y2);
  } else {
    SelectColourPen(dc, kBottomEdgeColour);
    for (const Vec2 p : {a, b}) {
      WorldToScreenExact(p.x, p.y, TopZ(), x1, y1);
      WorldToScreenExact(p.x, p.y, BottomZ(), x2, y2);
      DrawClippedSegment(dc, x1, y1, x2, y2);
    }
  }
  g_view.m_curPen = kPenUnknown;
}

int PaintWorkBox(platform::DeviceContext& dc) {
  if (!g_showAxes) return kWorkBoxNotDrawn;
  for (int i = 0; i < 3; ++i) {
    TextRecord& t = g_textRecords[static_cast<std::size_t>(i)];
    t.colour = SizeTextColour();
    t.layer = (i == 0 && g_workBoxHidden) ? kTextLayerHidden : g_curLayer;
  }
  if (g_workSizeX == 0.0 || g_workSizeY == 0.0 || g_globalZ == 0.0) {
    for (int i = 0; i < 3; ++i) g_textRecords[static_cast<std::size_t>(i)].layer = kTextLayerHidden;
    return kWorkBoxNotDrawn;
  }
  const FigureRecord saved = g_curFigure;
  const platform::Pen oldPen = dc.CurrentPen();
  g_curFigure = g_workBoxFigure;
  g_curFigure.kind = kKindLine;
  g_curFigure.attribute = 0;
  if (!g_workBoxHidden) DrawOutline(dc);
  DrawCornerMark(dc);
  if (g_showDimensions == 1 && g_showFigures) DrawSizeDimensions(dc);
  dc.SelectPen(oldPen);
  g_view.m_curPen = kPenUnknown;
  g_curFigure = saved;
  return 0;
}

}  // namespace dorn
