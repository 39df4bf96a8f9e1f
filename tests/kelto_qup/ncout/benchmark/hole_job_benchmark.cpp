// Load and run a hole job of 20000 holes, from the hand-over files written
// by the test helper to the NC file, and report holes and NC bytes per
// second. Compare with the time rs274 needs to read the same NC program:
//   rs274 -t tools.tbl -g <the NC file> > /dev/null
#include <benchmark/benchmark.h>

#include <filesystem>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "tests/kelto_qup/support/handover_builder.h"

namespace {

namespace fs = std::filesystem;
constexpr int kHoles = 20000;

fs::path PrepareJob() {
  const fs::path home = testsupport::FreshProgramFolder("kelto_hole_benchmark");
  testsupport::HandoverBuilder job;
  job.Begin();
  // 20000 points of one curve (number 100), on a grid of 200 x 100 at 5 mm.
  for (int i = 0; i < kHoles; ++i) job.Point(100, (i % 200) * 5.0, (i / 200) * 5.0);
  const testsupport::HoleProcess drill;  // G81
  job.HoleProcessItem(400, 100, drill);
  job.End();
  job.Write(home);
  return home;
}

void BM_HoleJob(benchmark::State& state) {
  const fs::path home = PrepareJob();
  std::int64_t bytes = 0;
  for (auto _ : state) {
    qup::RecordingHost host;
    auto run = std::make_unique<qup::RunContext>(host);
    run->output.MonitorFlags = 0x8000;
    handover::ReadDrawingHeader(home / handover::kSystemRecordFileName, run->job.Header);
    run->job.Modes.StartMode = run->job.Header.startMode;
    run->LoadJob();
    run->InitNcJob();
    run->StartNcCreation();
    bytes += run->output.NcByteCount;
  }
  state.counters["holes_per_s"] =
      benchmark::Counter(static_cast<double>(kHoles) * state.iterations(), benchmark::Counter::kIsRate);
  state.counters["nc_bytes_per_s"] = benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HoleJob)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
