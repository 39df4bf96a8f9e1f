// A closed outline of alternating lines and R20 arcs (a regular polygon
// with every corner rounded, lines and arcs meeting tangentially) cut with
// a tool offset of 5 outside, from the hand-over files to the NC file
// through the interpreter's own contour command (0x7100): the copy of the
// range, the two-axis check over every line and arc, the walk, the closing
// joint. The copy of a range holds at most 11 988 elements, so the sizes are
// 1 000 and 11 000 elements. Target: the time per element at 11 000 at most
// twice that at 1 000.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numbers>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/paths.h"
#include "tests/kelto_qup/support/handover_builder.h"

namespace {

namespace fs = std::filesystem;

constexpr double kCentreDistance = 5000.0;  // from the origin to each corner arc's centre
constexpr double kCornerRadius = 20.0;
constexpr double kOffset = 5.0;

struct XY {
  double x, y;
};

// The outline of n elements (n even): n / 2 lines, each followed by the
// corner arc it runs into, counter-clockwise, closed.
void AddOutline(testsupport::HandoverBuilder& job, int n, XY& entry, XY& outward) {
  const int corners = n / 2;
  const double half = std::numbers::pi / corners;
  auto centre = [&](int k) {
    const double a = 2.0 * half * (k % corners);
    return XY{kCentreDistance * std::cos(a), kCentreDistance * std::sin(a)};
  };
  // The point where corner k's arc meets the side at angle `a`.
  auto touch = [&](int k, double a) {
    const XY c = centre(k);
    return XY{c.x + kCornerRadius * std::cos(a), c.y + kCornerRadius * std::sin(a)};
  };
  for (int k = 0; k < corners; ++k) {
    const double side = 2.0 * half * k + half;  // the outward normal of the side after corner k
    const XY from = touch(k, side), to = touch(k + 1, side);
    if (k == 0) {
      entry = from;
      outward = {std::cos(side), std::sin(side)};
    }
    job.Line(100, from.x, from.y, to.x, to.y);
    const XY c = centre(k + 1);
    const XY end = touch(k + 1, side + 2.0 * half);
    job.Arc(100, kCornerRadius, to.x, to.y, end.x, end.y, c.x, c.y);
  }
}

fs::path PrepareJob(int n, testsupport::HandoverBuilder& job) {
  const fs::path home = fs::temp_directory_path() / ("kelto_contour_command_benchmark_" + std::to_string(n));
  fs::remove_all(home);
  fs::create_directories(home);
  setenv("KELTO_HOME", home.c_str(), 1);
  platform::ResetProgramFolder();
  platform::ResetDataRoot();
  job.Begin();
  XY entry{}, outward{};
  AddOutline(job, n, entry, outward);
  job.BeginProcess(400, 1, 0.0, 0.0, 50.0, 1000.0, 10.0);
  testsupport::ContourOptions options;
  options.offset = -kOffset;  // right of travel: outside the counter-clockwise outline
  // The tool comes in square to the first line, from 30 outside its start.
  options.toX = entry.x + 30.0 * outward.x;
  options.toY = entry.y + 30.0 * outward.y;
  testsupport::AddContour(job, 401, options);
  job.ProcessEnd(500);
  job.End();
  job.Write(home);
  return home;
}

void BM_ContourCommand(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  testsupport::HandoverBuilder job;
  const fs::path home = PrepareJob(n, job);
  const fs::path nc = testsupport::DatFolder(home) / "HOLE.NC";
  for (auto _ : state) {
    qup::RecordingHost host;
    auto run = std::make_unique<qup::RunContext>(host);
    run->job.Header = job.header;
    run->job.Modes.StartMode = job.header.startMode;
    run->LoadJob();
    run->InitNcJob();
    if (run->StartNcCreation() != 0 || !host.errorBoxes.empty()) {
      state.SkipWithError(host.errorBoxes.empty() ? "the contour run stopped" : host.errorBoxes.back().c_str());
      return;
    }
  }
  state.counters["ns_per_element"] =
      benchmark::Counter(static_cast<double>(n) * state.iterations(), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  std::error_code ignored;
  state.counters["nc_bytes"] = static_cast<double>(fs::file_size(nc, ignored));
}
BENCHMARK(BM_ContourCommand)->Arg(1000)->Arg(11000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
