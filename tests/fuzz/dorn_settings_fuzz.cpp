// Kelto_Dorn's settings and database files, fuzzed one at a time (the first
// byte picks which): the system record and colours, the BOX-hole and
// finishing-pass settings, "$QUP.@@@", the machining defaults, the database
// selection, the current tool folder, the current machine's ATC table, a hole
// process (its steps then formatted as the register print lists them) and
// the tool numbers of the machining order's "M00SET.txt".
#include <cstdint>
#include <span>

#include "kelto_dorn/camdata/order_list.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/document/system_record.h"
#include "kelto_dorn/machining/definition_defaults.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/hole_process_file.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "tests/fuzz/dorn_fuzz_setup.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr char kHoleProcessFile[] = "_ANA/P/$HOLE_DBS.@@@";

void ReadHoleProcess(dorn::CKelDoc& d) {
  dorn::HoleProcessRecord process{};
  if (!dorn::ReadHoleProcessFile(fuzz::ProgramFolder() / kHoleProcessFile, process).ok()) return;
  for (dorn::AtcRecord& row : process.rows) {
    if (row.diameter != 0.0f) dorn::FormatThroughScratch(d.atc, row, dorn::DocAtcTable::kScratchSlot);
  }
}

struct Target {
  const char* relativePath;  // under the program folder (here also the data root)
  void (*read)(dorn::CKelDoc&);
};

// The selection names base "B", tool folder "T" and machine "M" (written
// once) so the tool and ATC readers find their files.
void WriteSelection() {
  static const bool written = [] {
    dorn::SetBaseName("B");
    dorn::SetToolName("T");
    dorn::SetMachineName("M");
    return dorn::WriteDbSelection().ok();
  }();
  (void)written;
}

const Target kTargets[] = {
    {"$@@@.@@@", [](dorn::CKelDoc&) { dorn::ReadSystemSettings(); }},
    {"$COLOR.@@@", [](dorn::CKelDoc&) { dorn::ReadSystemSettings(); }},
    {"$Box_Ana.@@@", [](dorn::CKelDoc&) { dorn::ReadBoxHoleSettings(); }},
    {"$UrvoOikomi.@@@", [](dorn::CKelDoc&) { dorn::ReadFinishPassSettings(); }},
    {"$QUP.@@@", [](dorn::CKelDoc&) { dorn::ReadQupSettings(); }},
    {"$DEF_KAKO2.@@@", [](dorn::CKelDoc&) { dorn::ReadMachiningDefaults(); }},
    {"$DBS_NAME.@@@", [](dorn::CKelDoc&) { dorn::ReadDbSelection(); }},
    {"_DBS/B/T/$DBS_GEN.@@@",
     [](dorn::CKelDoc& d) {
       WriteSelection();
       dorn::LoadToolRecords(d.tools);
     }},
    {"_ATC/M/$ATC_DBS.@@@",
     [](dorn::CKelDoc& d) {
       WriteSelection();
       dorn::LoadAtcTable(d.atc);
     }},
    {kHoleProcessFile, ReadHoleProcess},
    {"M00SET.txt", [](dorn::CKelDoc&) { dorn::ReadM00Settings(); }},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  fuzz::HeadlessGuard backend;
  dorn::CKelDoc& document = fuzz::DornDocument();
  const Target& target = kTargets[data[0] % std::size(kTargets)];
  fuzz::WriteInput(fuzz::ProgramFolder() / target.relativePath, std::span(data + 1, size - 1));
  target.read(document);
  return 0;
}
