#include "tests/kelto_qup/ncout/benchmark/contour_benchmark_job.h"

#include <memory>
#include <system_error>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "shared/handover/drawing_header.h"

namespace contourbench {

namespace fs = std::filesystem;

fs::path WriteOutsideContourJob(const std::string& folderName,
                                const std::function<Entry(testsupport::HandoverBuilder&)>& addOutline) {
  const fs::path home = testsupport::FreshProgramFolder(folderName);
  testsupport::HandoverBuilder job;
  job.Begin();
  const Entry entry = addOutline(job);
  job.BeginProcess(400, 1, 0.0, 0.0, 50.0, 1000.0, 10.0);
  testsupport::ContourOptions options;
  options.offset = -kOffset;  // right of travel: outside the counter-clockwise outline
  options.toX = entry.start.x + 30.0 * entry.outward.x;
  options.toY = entry.start.y + 30.0 * entry.outward.y;
  testsupport::AddContour(job, 401, options);
  job.ProcessEnd(500);
  job.End();
  job.Write(home);
  return home;
}

void RunContourJob(benchmark::State& state, const fs::path& home, int elements) {
  for (auto _ : state) {
    qup::RecordingHost host;
    auto run = std::make_unique<qup::RunContext>(host);
    handover::ReadDrawingHeader(home / handover::kSystemRecordFileName, run->job.Header);
    run->job.Modes.StartMode = run->job.Header.startMode;
    run->LoadJob();
    run->InitNcJob();
    if (run->StartNcCreation() != 0 || !host.errorBoxes.empty() || run->job.RunIncomplete != 0) {
      state.SkipWithError(host.errorBoxes.empty() ? "the contour run stopped" : host.errorBoxes.back().c_str());
      return;
    }
  }
  state.counters["ns_per_element"] = benchmark::Counter(static_cast<double>(elements) * state.iterations(),
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  std::error_code ignored;
  state.counters["nc_bytes"] = static_cast<double>(fs::file_size(testsupport::DatFolder(home) / "HOLE.NC", ignored));
}

}  // namespace contourbench
