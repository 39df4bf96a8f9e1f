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
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <vector>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/paths.h"
#include "tests/kelto_qup/support/handover_builder.h"

namespace {

namespace fs = std::filesystem;

constexpr double kRadius = 1000.0;
constexpr double kRipple = 5.0;     // amplitude
constexpr double kRippleWaves = 50.0;  // radius of curvature at least R²/(a k²) = 80
constexpr double kOffset = 5.0;

struct XY {
  double x, y;
};

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

fs::path PrepareJob(int n) {
  const fs::path home = fs::temp_directory_path() / ("kelto_contour_benchmark_" + std::to_string(n));
  fs::remove_all(home);
  fs::create_directories(home);
  setenv("KELTO_HOME", home.c_str(), 1);
  platform::ResetProgramFolder();
  platform::ResetDataRoot();
  const std::vector<XY> points = Outline(n);
  testsupport::HandoverBuilder job;
  job.Begin();
  for (int i = 0; i < n; ++i) job.Line(100, points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
  job.BeginProcess(400, 1, 0.0, 0.0, 50.0, 1000.0, 10.0);
  testsupport::ContourOptions options;
  options.offset = -kOffset;  // right of travel: outside the counter-clockwise outline
  // The tool comes in square to the first element, from 30 outside its start.
  const double ux = points[1].x - points[0].x, uy = points[1].y - points[0].y, length = std::hypot(ux, uy);
  options.toX = points[0].x + 30.0 * uy / length;
  options.toY = points[0].y - 30.0 * ux / length;
  testsupport::AddContour(job, 401, options);
  job.ProcessEnd(500);
  job.End();
  job.Write(home);
  return home;
}

void BM_ContourJob(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const fs::path home = PrepareJob(n);
  for (auto _ : state) {
    qup::RecordingHost host;
    auto run = std::make_unique<qup::RunContext>(host);
    handover::ReadDrawingHeader(home / handover::kSystemRecordFileName, run->job.Header);
    run->job.Modes.StartMode = run->job.Header.startMode;
    run->LoadJob();
    run->InitNcJob();
    if (run->StartNcCreation() != 0 || !host.errorBoxes.empty()) {
      state.SkipWithError(host.errorBoxes.empty() ? "the contour run stopped" : host.errorBoxes.back().c_str());
      return;
    }
  }
  state.counters["ns_per_element"] =
      benchmark::Counter(static_cast<double>(n) * state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
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
    offset.Execute(out, kOffset * kScale);
    benchmark::DoNotOptimize(out);
  }
  state.counters["ns_per_element"] =
      benchmark::Counter(static_cast<double>(n) * state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ClipperOffset)->Arg(1100)->Arg(11000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
