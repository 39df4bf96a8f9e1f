// The companion's NC text check on a fuzzed NC program: the file named in
// "$com_dat.@@@" (start mode 12) is tokenised, interpreted and drawn, with
// the arcs, cycles, comments and lathe and thread forms its words ask for.
// A program may draw nonsense; it must never crash, read outside its tables
// or run without end.
#include <cstdint>
#include <memory>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto& home = fuzz::ProgramFolder();
  const auto program = home / "CHECK.NC";
  fuzz::WriteInput(program, {data, size});
  const std::string named = platform::Utf8ToCp932(program.string());
  fuzz::WriteInput(home / "$com_dat.@@@",
                   {reinterpret_cast<const std::uint8_t*>(named.data()), named.size()});

  qup::RecordingHost host;
  auto run = std::make_unique<qup::RunContext>(host);
  run->job.Header.startMode = 12;
  // The lathe form and the fine word format take their own branches.
  if (size > 0) run->output.CodeFormat = (data[0] & 1) != 0 ? 0x4000 : 0;
  if (size > 1) run->output.WordFormat = (data[1] & 1) != 0 ? 0x4000 : 0;
  run->RunNcTextCheck();
  return 0;
}
