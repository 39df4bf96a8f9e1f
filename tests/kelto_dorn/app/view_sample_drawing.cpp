#include "tests/kelto_dorn/app/view_sample_drawing.h"

#include <cmath>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/work_box.h"
#include "platform/text.h"

namespace dorn::test {

namespace {

void Append(const FigureRecord& f) {
  g_curFigure = f;
  g_figureTableSelector = f.layer;
  AppendFigure(0);
}

FigureRecord Line(int layer, double x1, double y1, double x2, double y2, int attribute) {
  FigureRecord f;
  f.kind = kKindLine;
  f.layer = layer;
  f.attribute = attribute;
  f.start = {x1, y1};
  f.end = {x2, y2};
  const double len = std::hypot(x2 - x1, y2 - y1);
  if (len > 0) f.dir = {(x2 - x1) / len, (y2 - y1) / len};
  return f;
}

FigureRecord Arc(int layer, double cx, double cy, double r, double a0, double a1, int attribute) {
  FigureRecord f;
  f.kind = kKindArc;
  f.layer = layer;
  f.attribute = attribute;
  f.centre = {cx, cy};
  f.radius = r;
  const double ar = std::fabs(r);
  f.start = {cx + ar * std::cos(a0 * kRadiansPerDegree), cy + ar * std::sin(a0 * kRadiansPerDegree)};
  f.end = {cx + ar * std::cos(a1 * kRadiansPerDegree), cy + ar * std::sin(a1 * kRadiansPerDegree)};
  return f;
}

}  // namespace

void MakeSampleDrawing() {
  g_workSizeX = 120;
  g_workSizeY = 80;
  g_globalZ = 20;
  g_workOriginPosition = kWorkOriginLowerLeft;
  g_showAxes = 1;
  g_showFigures = 1;
  g_figureTableSelector = 0;
  PlaceWork();

  Append(Line(0, 0, 0, 120, 0, 2));
  Append(Line(0, 120, 0, 120, 80, 2));
  Append(Line(0, 120, 80, 0, 80, 0x0100 | 3));
  Append(Line(0, 0, 80, 0, 0, 0x1000 | 4));
  Append(Line(0, -10, 40, 130, 40, 0x2000 | 5));
  Append(Line(0, 60, -10, 60, 90, 0x4000 | 5));
  Append(Arc(0, 60, 40, 25, 0, 0, 6));
  Append(Arc(0, 60, 40, 15, 30, 250, 9));
  Append(Arc(0, 20, 60, -8, 90, 0, 12));
  FigureRecord point;
  point.kind = kKindPoint;
  point.attribute = 1;
  point.start = {100, 20};
  Append(point);
  FigureRecord dim;
  dim.kind = 54018;
  dim.attribute = 21;
  dim.start = {0, 95};
  dim.end = {120, 95};
  Append(dim);
  dim.kind = 53762;
  dim.start = {60, 40};
  dim.end = {60 + 25 * std::cos(45 * kRadiansPerDegree), 40 + 25 * std::sin(45 * kRadiansPerDegree)};
  Append(dim);

  g_figureTableSelector = kTableCurves;
  const int first = GetFigureCount(kTableCurves);
  g_curFigure = Line(0, 20, 20, 50, 20, 11);
  AppendFigure(0);
  g_curFigure = Arc(0, 50, 30, 10, 270, 0, 11);
  AppendFigure(0);
  CurveRecord& c = g_curveTable[0];
  c = CurveRecord{};
  c.layer = 0;
  c.key = 1;
  c.first = first;
  c.end = first + 2;
  c.colour = 11;
  std::strcpy(c.name, "CURVE-1");
  g_curveCount = 1;
  g_showCurveArrows = kCurveArrowNames;

  TextRecord& t = g_textRecords[3];
  t = TextRecord{};
  t.colour = 7;
  t.size = 5;
  t.angle = 15;
  t.baseX = 10;
  t.baseY = 100;
  SetTextRecordText(t, platform::Sjis("加工テスト"));
  g_textRecords[4].layer = kTextRecordFree;
  g_figureTableSelector = 0;
}

void MakeManyFigures(int count, int width, int height) {
  // Inside the window at 4 pixels per mm about its centre.
  const double halfW = width / 8.0 - 5, halfH = height / 8.0 - 5;
  unsigned seed = 12345;
  auto next = [&seed](double span) {
    seed = seed * 1103515245u + 12345u;
    return ((seed >> 8) & 0xFFFF) / 65535.0 * span;
  };
  for (int i = 0; i < count; ++i) {
    const int layer = i % kLayerCount;
    const int colour = 1 + (layer + (i / kLayerCount) % 3) % 31;  // three colours per layer
    const double x = next(2 * halfW) - halfW, y = next(2 * halfH) - halfH;
    if (i % 2 == 0) {
      Append(Line(layer, x, y, x + next(4) - 2, y + next(4) - 2, colour));
    } else {
      const double a0 = next(360);
      Append(Arc(layer, x, y, 0.5 + next(3), a0, a0 + 30 + next(300), colour));
    }
  }
}

}  // namespace dorn::test
