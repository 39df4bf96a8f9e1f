// A closed outline of many short lines (a circle of R1000 with a gentle
// ripple, no radius of curvature below 20) cut with a tool offset of 5
// outside, from the hand-over files to the NC file through the
// interpreter's own contour command, at 1 100 and 11 000 elements (a
// contour command takes at most 12 000 elements: its walk works on a copy
// of its range). The baseline in the same binary offsets the same outline
// with the polygon clipping library (round joins, arc tolerance 0.001).
// Targets: at most twice the baseline's time, and the time per element at
// 11 000 at most twice that at 1 100.
#include <benchmark/benchmark.h>
#include <polyclipping/clipper.hpp>

#include <cmath>
#include <numbers>
#include <vector>

#include "tests/kelto_qup/ncout/benchmark/contour_benchmark_job.h"

namespace {

using contourbench::XY;

constexpr double kRadius = 1000.0;
constexpr double kRipple = 5.0;     // amplitude
constexpr double kRippleWaves = 50.0;  // radius of curvature at least R²/(a k²) = 80

// The outline counter-clockwise from angle 0, closed: points 0 and n coincide.
std::vector<XY> Outline(int n) {
  std::vector<XY> points;
  points.reserve(static_cast<std::size_t>(n) + 1);
  for (int i = 0; i <= n; ++i) {
    const double t = 2.0 * std::numbers::pi * (i % n) / n;
    const double r = kRadius + kRipple * std::sin(kRippleWaves * t);
    points.push_back({r * std::cos(t), r * std::sin(t)});
  }
  return points;
}

// The outline's lines; it is entered square to the first line at its start.
contourbench::Entry AddOutline(testsupport::HandoverBuilder& job, int n) {
  const std::vector<XY> points = Outline(n);
  for (int i = 0; i < n; ++i) job.Line(100, points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
  const double ux = points[1].x - points[0].x, uy = points[1].y - points[0].y, length = std::hypot(ux, uy);
  return {points[0], {uy / length, -ux / length}};
}

void BM_ContourJob(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const auto home = contourbench::WriteOutsideContourJob("kelto_contour_benchmark_" + std::to_string(n),
                                                         [n](testsupport::HandoverBuilder& job) { return AddOutline(job, n); });
  contourbench::RunContourJob(state, home, n);
}
BENCHMARK(BM_ContourJob)->Arg(1100)->Arg(11000)->Unit(benchmark::kMillisecond);

void BM_ClipperOffset(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  constexpr double kScale = 1e4;  // 0.1 µm
  const std::vector<XY> points = Outline(n);
  ClipperLib::Path path;
  for (int i = 0; i < n; ++i) {
    path.emplace_back(static_cast<ClipperLib::cInt>(std::llround(points[i].x * kScale)),
                      static_cast<ClipperLib::cInt>(std::llround(points[i].y * kScale)));
  }
  for (auto _ : state) {
    ClipperLib::ClipperOffset offset(2.0, 0.001 * kScale);
    offset.AddPath(path, ClipperLib::jtRound, ClipperLib::etClosedPolygon);
    ClipperLib::Paths out;
    offset.Execute(out, contourbench::kOffset * kScale);
    benchmark::DoNotOptimize(out);
  }
  state.counters["ns_per_element"] =
      benchmark::Counter(static_cast<double>(n) * state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ClipperOffset)->Arg(1100)->Arg(11000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
