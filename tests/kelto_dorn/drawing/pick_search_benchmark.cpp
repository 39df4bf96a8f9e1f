// A click that misses in a big drawing: FindFigureAtPick scanning 200000
// curve figures, against a plain loop of point-to-segment and point-to-arc
// distances over the same records.
#include <algorithm>
#include <cmath>
#include <memory>

#include <benchmark/benchmark.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/pick_search.h"
#include "platform/headless/headless_backend.h"

namespace {

using dorn::FigureRecord;
using dorn::Vec2;

constexpr int kCurves = 20000;
constexpr int kFiguresPerCurve = 10;  // 200000 curve figures

// Twenty thousand small runs of lines and quarter arcs on layer 0, spread
// over a 2 x 1 m sheet and shared out among the 1024 curves the table holds;
// the click lands on none of them.
void BuildDrawing() {
  dorn::ResetAppState();
  dorn::ResetDrawingState();
  dorn::g_figureStore.Start();
  dorn::g_curLayer = 0;
  dorn::g_pickTolerance = 1.0;
  dorn::g_pickPoint = {-5000.0, -5000.0};
  dorn::g_curCurveIndex = dorn::kNone;
  int figure = 0;
  for (int c = 0; c < kCurves; ++c) {
    const Vec2 base{static_cast<double>(c % 200) * 10.0, static_cast<double>(c / 200) * 10.0};
    for (int k = 0; k < kFiguresPerCurve; ++k) {
      FigureRecord f;
      f.layer = 0;
      f.start = {base.x + k * 0.5, base.y};
      if (k % 2 == 0) {
        f.kind = dorn::kKindLine;
        f.end = {f.start.x + 0.5, base.y + 1.0};
        const double len = std::hypot(0.5, 1.0);
        f.dir = {0.5 / len, 1.0 / len};
      } else {
        f.kind = dorn::kKindArc;
        f.radius = 1.0;
        f.centre = {f.start.x, f.start.y + 1.0};
        f.start = {f.centre.x + 1.0, f.centre.y};
        f.end = {f.centre.x, f.centre.y + 1.0};
      }
      dorn::g_curFigure = f;
      dorn::PutFigure(dorn::kTableCurvesAlias, figure++);
    }
  }
  // The curve table holds 1024 entries: each spans a share of the figures.
  dorn::g_curveCount = dorn::kCurveTableSize;
  const int per = figure / dorn::kCurveTableSize;
  for (int c = 0; c < dorn::kCurveTableSize; ++c) {
    dorn::CurveRecord& curve = dorn::g_curveTable[static_cast<std::size_t>(c)];
    curve.layer = 0;
    curve.first = c * per;
    curve.end = c == dorn::kCurveTableSize - 1 ? figure : (c + 1) * per;
  }
}

void BM_FindFigureAtPickMissing(benchmark::State& state) {
  BuildDrawing();
  for (auto _ : state) benchmark::DoNotOptimize(dorn::FindFigureAtPick(dorn::kFindAnyCurve));
  state.counters["figures"] = dorn::GetFigureCount(dorn::kTableCurves);
  dorn::ResetAppState();
}
BENCHMARK(BM_FindFigureAtPickMissing)->Unit(benchmark::kMillisecond);

double SegmentDistance(const FigureRecord& f, Vec2 p) {
  const Vec2 d{f.end.x - f.start.x, f.end.y - f.start.y};
  const double len2 = d.x * d.x + d.y * d.y;
  double t = len2 > 0 ? ((p.x - f.start.x) * d.x + (p.y - f.start.y) * d.y) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (f.start.x + t * d.x), p.y - (f.start.y + t * d.y));
}

double ArcDistance(const FigureRecord& f, Vec2 p) {
  const double a0 = std::atan2(f.start.y - f.centre.y, f.start.x - f.centre.x);
  const double a1 = std::atan2(f.end.y - f.centre.y, f.end.x - f.centre.x);
  const double ap = std::atan2(p.y - f.centre.y, p.x - f.centre.x);
  const double sweep = std::remainder(a1 - a0, 2 * M_PI) + (a1 > a0 ? 0 : 2 * M_PI);
  const double at = std::fmod(ap - a0 + 4 * M_PI, 2 * M_PI);
  if (at <= sweep) return std::fabs(std::hypot(p.x - f.centre.x, p.y - f.centre.y) - std::fabs(f.radius));
  return std::min(std::hypot(p.x - f.start.x, p.y - f.start.y), std::hypot(p.x - f.end.x, p.y - f.end.y));
}

void BM_PlainDistanceLoop(benchmark::State& state) {
  BuildDrawing();
  const dorn::FigureTable& table = *dorn::g_figureStore.Table(dorn::kTableCurves);
  const Vec2 p = dorn::g_pickPoint;
  for (auto _ : state) {
    int hits = 0;
    for (int i = 0; i < table.count(); ++i) {
      const FigureRecord& f = table.slot(i);
      const double d = f.kind == dorn::kKindArc ? ArcDistance(f, p) : SegmentDistance(f, p);
      if (d <= dorn::g_pickTolerance) ++hits;
    }
    benchmark::DoNotOptimize(hits);
  }
  state.counters["figures"] = table.count();
  dorn::ResetAppState();
}
BENCHMARK(BM_PlainDistanceLoop)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  platform::InstallBackend(std::make_unique<platform::headless::HeadlessBackend>());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  platform::UninstallBackend();
  return 0;
}
