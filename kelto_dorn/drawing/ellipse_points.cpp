// The points of an ellipse: see ellipse_points.h.
#include "kelto_dorn/drawing/ellipse_points.h"

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/curve_through_points.h"

namespace dorn {

namespace {
// A point group lives in the work blocks from 20 on.
constexpr int kPointGroupFirstBlock = 20;
constexpr int kPointColourShift = 3;
}  // namespace

int EllipsePointCount(double step) {
  if (!(step > 0.0) || !std::isfinite(step)) return 0;
  if (360.0 / step + 2.0 > kSegmentBlockCount - kPointGroupFirstBlock) return 0;
  // The parameters below 360, then 360 itself.
  int n = 0;
  while (n * step < 360.0) ++n;
  return n + 1;
}

int AddEllipseFigures(Vec2 centre, double a, double b, double slope, double step) {
  const int count = EllipsePointCount(step);
  if (count == 0 || !std::isfinite(a) || !std::isfinite(b) || !std::isfinite(slope)) return 0;
  ClearCurrentFigure();
  g_workCount = 0;
  g_undoSaved = 0;
  SnapshotForUndo(kUndoTypeTable);
  g_figureTableSelector = g_curLayer;
  const int first = GetFigureCount(g_curLayer);
  const double cs = std::cos(slope * kRadiansPerDegree), sn = std::sin(slope * kRadiansPerDegree);
  const Vec2 tangent{std::cos((slope + 90.0) * kRadiansPerDegree), std::sin((slope + 90.0) * kRadiansPerDegree)};
  const FigureRecord blank = g_curFigure;
  int added = 0;
  for (int i = 0; i < count; ++i) {
    const double t = std::min(360.0, i * step);
    const double x = a * std::cos(t * kRadiansPerDegree), y = b * std::sin(t * kRadiansPerDegree);
    FigureRecord& f = g_curFigure;
    f = blank;
    f.origin = CurrentLayerOrigin();
    f.layer = g_curLayer;
    f.start = f.end = {centre.x + x * cs - y * sn, centre.y + x * sn + y * cs};
    f.group = g_nextFigureNumber;
    const bool end = i == 0 || i == count - 1;
    f.kind = end ? kKindCurvePointAngle : kKindCurvePoint;
    if (end) {
      // The curve builder takes a given tangent from the angle in the
      // radius field; the direction pair carries the same tangent.
      f.dir = tangent;
      f.radius = slope + 90.0;
    }
    if (!AppendFigure(0)) break;
    ++added;
  }
  // The ellipse itself: the curve laid through its points.
  const int last = added > 1 ? ComputeCurveFromPoints(first, first + added, first + added) : first + added;
  if (auto dc = GetViewDC()) {
    for (int i = first; i < last; ++i) {
      GetFigure(g_curLayer, i);
      DrawFigure((g_curFigure.attribute & kAttrColourMask) + kPointColourShift, *dc);
    }
  }
  g_commandStep = 0;
  ++g_nextFigureNumber;
  return added;
}

}  // namespace dorn
