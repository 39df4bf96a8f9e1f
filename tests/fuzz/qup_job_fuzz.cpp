// The companion's job load and a short run on fuzzed hand-over files: the
// element stream, the code lines, the tool map and the pit-in map of one
// input (joined by the part separator) go through LoadJob, the pre-passes and
// the interpreter to the NC file, so the engine meets damaged geometry the
// way it meets a torn hand-over. A run may stop with a message; it must never
// crash, read outside its tables or run without end.
#include <cstdint>
#include <memory>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "shared/handover/code_line_record.h"
#include "shared/handover/nc_element.h"
#include "shared/handover/pit_in_map_record.h"
#include "shared/handover/tool_map_record.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/kelto_qup/support/handover_builder.h"

namespace {

// The post table, the system record and the drawing's DAT folder are written
// once; the four job files change with every input.
const testsupport::HandoverBuilder& Job() {
  static const testsupport::HandoverBuilder job = [] {
    testsupport::HandoverBuilder b;
    b.Begin();
    b.End();
    b.Write(fuzz::ProgramFolder());
    return b;
  }();
  return job;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto& job = Job();
  const auto& home = fuzz::ProgramFolder();
  const auto parts = fuzz::SplitParts(data, size, 4);
  fuzz::WriteInput(home / handover::kElementFileName, parts[0]);
  fuzz::WriteInput(home / handover::kCodeLineFileName, parts[1]);
  fuzz::WriteInput(home / handover::kToolMapFileName, parts[2]);
  fuzz::WriteInput(home / handover::kPitInMapFileName, parts[3]);

  qup::RecordingHost host;
  auto run = std::make_unique<qup::RunContext>(host);
  run->job.DisplayList = [&host] { return host.displayRecords; };
  run->job.Header = job.header;
  run->job.Modes.StartMode = job.header.startMode;
  if (run->LoadJob() != 0) return 0;
  run->InitNcJob();
  run->StartNcCreation();
  return 0;
}
