#include "tests/kelto_dorn/app/view_fixture.h"

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/dimension_painter.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/app/view_transform.h"

namespace dorn::test {

void ViewTest::SetUp() {
  KernelTest::SetUp();
  ResetViewState();
  ResetDrawingHooks();
  ResetCommandEngines();
  ResetViewAccess();
  SetDefaultPalette(0);
  RebuildPenTable();
  for (int l = 0; l < kLayerCount; ++l) {
    g_layerScale[l] = 100.0;
    g_layerGridPitch[l] = 10.0;
    g_originCount[l] = 1;
  }
  g_view.m_clientWidth = 800;
  g_view.m_clientHeight = 600;
  g_showFigures = 1;
  g_dimTextSlider = 5;
  g_dimensionStyle.arrowAngle = 15.0;
  g_dimensionStyle.arrowLength = 4.0;
  UpdateDimensionArrowShape();
  UpdateViewTransform();
}

void ViewTest::TearDown() {
  ResetViewState();
  ResetDrawingHooks();
  ResetCommandEngines();
  ResetViewAccess();
  KernelTest::TearDown();
}

void ViewTest::AddFigure(const FigureRecord& f) {
  g_curFigure = f;
  g_figureTableSelector = f.layer;
  ASSERT_TRUE(AppendFigure(0));
}

void ViewTest::AddLine(double x1, double y1, double x2, double y2, int attribute) {
  FigureRecord f;
  f.kind = kKindLine;
  f.attribute = attribute;
  f.start = {x1, y1};
  f.end = {x2, y2};
  const double len = std::hypot(x2 - x1, y2 - y1);
  if (len > 0) f.dir = {(x2 - x1) / len, (y2 - y1) / len};
  AddFigure(f);
}

void ViewTest::AddArc(double cx, double cy, double r, double a0, double a1, int attribute) {
  const double k = 0.017453292519943295;
  FigureRecord f;
  f.kind = kKindArc;
  f.attribute = attribute;
  f.centre = {cx, cy};
  f.radius = r;
  f.start = {cx + std::fabs(r) * std::cos(a0 * k), cy + std::fabs(r) * std::sin(a0 * k)};
  f.end = {cx + std::fabs(r) * std::cos(a1 * k), cy + std::fabs(r) * std::sin(a1 * k)};
  AddFigure(f);
}

std::vector<platform::Primitive> ViewTest::Recorded(platform::PrimitiveKind kind) const {
  std::vector<platform::Primitive> out;
  for (const auto& p : dc.Primitives())
    if (p.kind == kind) out.push_back(p);
  return out;
}

}  // namespace dorn::test
