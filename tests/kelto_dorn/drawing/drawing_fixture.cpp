#include "tests/kelto_dorn/drawing/drawing_fixture.h"

#include <cmath>
#include <cstdlib>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/picking_engines.h"

namespace dorn::test {

void DrawingTest::SetUp() {
  home_ = std::make_unique<testsupport::TempFolder>();
  setenv("KELTO_HOME", home_->path().c_str(), 1);
  ViewTest::SetUp();
  ResetDocumentState();
  ResetDrawingState();
  InstallPickingEngines();
  viewLog_ = std::make_shared<std::vector<platform::Primitive>>();
  g_viewAccess.endPick = [this](int) { ++endPicks; };
  g_viewAccess.redrawView = [this] { ++redraws; };
  g_viewAccess.viewDC = [this]() -> std::unique_ptr<platform::DeviceContext> {
    return std::make_unique<platform::RecordingContext>(platform::Size{800, 600}, viewLog_);
  };
  g_curveCount = 0;
  g_curCurveIndex = kNone;
}

void DrawingTest::TearDown() {
  ResetDrawingState();
  ResetDocumentState();
  ViewTest::TearDown();
  unsetenv("KELTO_HOME");
  home_.reset();
}

FigureRecord DrawingTest::Line(Vec2 start, Vec2 end) {
  FigureRecord f;
  f.kind = kKindLine;
  f.style = kNewFigureStyle;
  f.attribute = 2;
  f.start = start;
  f.end = end;
  const double len = std::hypot(end.x - start.x, end.y - start.y);
  if (len > 0) f.dir = {(end.x - start.x) / len, (end.y - start.y) / len};
  return f;
}

FigureRecord DrawingTest::Arc(Vec2 centre, double radius, double fromDegrees, double toDegrees) {
  const double k = 0.017453292519943295;
  const double r = std::fabs(radius);
  FigureRecord f;
  f.kind = kKindArc;
  f.style = kNewFigureStyle;
  f.attribute = 3;
  f.centre = centre;
  f.radius = radius;
  f.start = {centre.x + r * std::cos(fromDegrees * k), centre.y + r * std::sin(fromDegrees * k)};
  f.end = {centre.x + r * std::cos(toDegrees * k), centre.y + r * std::sin(toDegrees * k)};
  return f;
}

FigureRecord DrawingTest::Circle(Vec2 centre, double radius) { return Arc(centre, radius, 0.0, 0.0); }

FigureRecord DrawingTest::Point(Vec2 at, int kind) {
  FigureRecord f;
  f.kind = kind;
  f.style = kNewFigureStyle;
  f.start = f.end = at;
  return f;
}

void DrawingTest::SetBlock(int i, const FigureRecord& f) { *g_figureStore.SegmentBlock(i) = f; }

int DrawingTest::AddCurve(const std::vector<FigureRecord>& figures, int layer, int kind) {
  const int index = g_curveCount;
  CurveRecord& c = g_curveTable[static_cast<std::size_t>(index)];
  c = CurveRecord{};
  c.layer = layer;
  c.kind = kind;
  c.key = 10 * (index + 1);
  c.colour = 6;
  c.first = GetFigureCount(kTableCurves);
  for (FigureRecord f : figures) {
    f.layer = layer;
    g_curFigure = f;
    PutFigure(kTableCurvesAlias, GetFigureCount(kTableCurves));
  }
  c.end = GetFigureCount(kTableCurves);
  ++g_curveCount;
  return index;
}

}  // namespace dorn::test
