// The shared record readers of the hand-over and settings files, each on a
// file of fuzzed bytes; the first byte picks the reader. A reader must refuse
// what it cannot use and leave its caller's copy as it was.
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "shared/handover/code_line_record.h"
#include "shared/handover/color_table.h"
#include "shared/handover/com_settings.h"
#include "shared/handover/display_record.h"
#include "shared/handover/drawing_header.h"
#include "shared/handover/machining_defaults.h"
#include "shared/handover/nc_element.h"
#include "shared/handover/pit_in_map_record.h"
#include "shared/handover/post_definition.h"
#include "shared/handover/tool_map_record.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// The copy a reader was given must be whole after a refusal: compare bytes.
// (A missing file is no refusal: it gives the documented defaults.)
template <class T>
void ExpectUnchangedOnRefusal(const platform::FileResult& result, const T& before, const T& after) {
  if (!result.ok() && !result.missing() && std::memcmp(&before, &after, sizeof(T)) != 0) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto path = fuzz::ProgramFolder() / "record.@@@";
  fuzz::WriteInput(path, std::span(data + 1, size - 1));
  switch (data[0] % 10) {
    case 0: {
      auto header = handover::DefaultDrawingHeader();
      const auto before = header;
      ExpectUnchangedOnRefusal(handover::ReadDrawingHeader(path, header), before, header);
      break;
    }
    case 1: {
      handover::ColorTable table{};
      const auto before = table;
      ExpectUnchangedOnRefusal(handover::ReadColorTable(path, table), before, table);
      break;
    }
    case 2: {
      handover::ComSettings settings{};
      const auto before = settings;
      ExpectUnchangedOnRefusal(handover::ReadComSettings(path, settings), before, settings);
      break;
    }
    case 3: {
      handover::MachiningDefaults defaults{};
      const auto before = defaults;
      ExpectUnchangedOnRefusal(handover::ReadMachiningDefaults(path, defaults), before, defaults);
      break;
    }
    case 4: {
      auto table = std::make_unique<handover::PostTable>();
      handover::ReadPostTable(path, *table);
      break;
    }
    case 5: {
      auto table = std::make_unique<handover::CodeLineTable>();
      std::size_t count = 0;
      handover::ReadCodeLineFile(path, *table, &count);
      break;
    }
    case 6: {
      std::vector<handover::CDisplayRecord> records;
      handover::ReadDisplayList(path, records);
      break;
    }
    case 7: {
      std::vector<handover::PitInMapRecord> items;
      handover::ReadPitInMap(path, items);
      break;
    }
    case 8: {
      std::vector<handover::ToolMapRecord> records;
      handover::ReadToolMapFile(path, records);
      break;
    }
    default: {
      std::vector<handover::NcElement> elements;
      handover::ReadElementFile(path, elements);
      break;
    }
  }
  return 0;
}
