// The three CSV imports of the database editors, fuzzed one at a time (the
// first byte picks which): the tool database, every machine's ATC table and
// the hole processes. Each reads "ExPort\..._Export.csv" of the program
// folder, backs up the tree it replaces and then writes folder files named
// by the CSV's own text, so the database trees start empty for every input:
// a run must never be able to write outside them, whatever the names say.
#include <cstdint>
#include <filesystem>
#include <span>

#include "kelto_dorn/tooldb/atc_csv.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/hole_process_csv.h"
#include "kelto_dorn/tooldb/tool_csv.h"
#include "kelto_dorn/tooldb/tool_folders.h"
#include "tests/fuzz/dorn_fuzz_setup.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

namespace fs = std::filesystem;

struct Target {
  const char* csvName;
  void (*import)(dorn::CKelDoc&);
};

const Target kTargets[] = {
    {"DBS_Export.csv",
     [](dorn::CKelDoc& d) {
       dorn::ToolFolderState state;
       dorn::ImportToolDatabase(d.tools, state);
     }},
    {"ATC_Export.csv", [](dorn::CKelDoc& d) { dorn::ImportAtcTables(d.atc); }},
    {"ANA_Export.csv", [](dorn::CKelDoc& d) { dorn::ImportHoleProcesses(d.atc); }},
};

// Everything an import writes or backs up, removed so each input starts from
// the same empty database and the backups never pile up.
void ClearDatabaseTrees() {
  std::error_code ec;
  for (const char* folder : {"_DBS", "_ATC", "_ANA", "退避"}) fs::remove_all(fuzz::ProgramFolder() / folder, ec);
  fs::create_directories(fuzz::ProgramFolder() / "_DBS", ec);
  fs::create_directories(fuzz::ProgramFolder() / "_ATC", ec);
  fs::create_directories(fuzz::ProgramFolder() / "_ANA", ec);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  fuzz::HeadlessGuard backend;
  dorn::CKelDoc& document = fuzz::DornDocument();
  static const bool selected = [] {
    dorn::SetBaseName("B");
    dorn::SetToolName("T");
    dorn::SetMachineName("M");
    return dorn::WriteDbSelection().ok();
  }();
  (void)selected;
  ClearDatabaseTrees();
  const Target& target = kTargets[data[0] % std::size(kTargets)];
  fuzz::WriteInput(fuzz::ProgramFolder() / "ExPort" / target.csvName, std::span(data + 1, size - 1));
  target.import(document);
  return 0;
}
