#include "kelto_dorn/tooldb/atc_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/folder_names.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "platform/text.h"
#include "shared/handover/record_io.h"

namespace dorn {
namespace {

void SanitizeLoadedRow(AtcRecord& r) {
  for (float* f : {&r.diameter, &r.cornerRadius, &r.flatRadius, &r.tipAngle, &r.tipLength, &r.feed, &r.peckDepth,
                   &r.pCode, &r.fluteLength}) {
    if (!std::isfinite(*f)) *f = 0.0f;
  }
  platform::TerminateField(r.secName);
  platform::TerminateField(r.toolName);
}

bool RowIsFinite(const AtcRecord& r) {
  const float values[] = {r.diameter, r.cornerRadius, r.flatRadius, r.tipAngle,   r.tipLength,
                          r.feed,     r.peckDepth,    r.pCode,      r.fluteLength};
  return handover::AllFinite(values);
}

}  // namespace

DocAtcTable::DocAtcTable() : slots_(new AtcRecord[kSlotCount]()) {
  for (int i = 0; i < kSlotCount; ++i) ClearAtcRecord(*this, i);
}

AtcRecord& DocAtcTable::Record(int slot) {
  return const_cast<AtcRecord&>(static_cast<const DocAtcTable&>(*this).Record(slot));
}

const AtcRecord& DocAtcTable::Record(int slot) const {
  if (slot < 0 || slot >= kSlotCount) {
    throw std::out_of_range("DocAtcTable: slot " + std::to_string(slot) + " outside 0..1199");
  }
  return slots_[slot];
}

void CopyRecord168(AtcRecord& destination, const AtcRecord& source) {
  std::memcpy(&destination, &source, sizeof(AtcRecord));
}

void ClearAtcRecord(DocAtcTable& table, int slot) {
  AtcRecord& r = table.Record(slot);
  r = AtcRecord{};
  r.atcNumber = slot + 1;
}

int LoadAtcTable(DocAtcTable& table, platform::FileResult* result) {
  for (int i = 0; i < DocAtcTable::kSlotCount; ++i) ClearAtcRecord(table, i);
  table.SetLoadedCount(0);
  platform::FileResult status;
  const auto path = AtcFilePath(platform::FieldText(g_dbSelection.machineName));
  std::vector<std::uint8_t> bytes;
  if (!path) {
    status.status = platform::FileStatus::Missing;
    status.message = "no machine is chosen";
  } else {
    status = platform::ReadWholeFile(*path, bytes);
  }
  int count = 0;
  if (status.ok()) {
    const std::size_t inFile = bytes.size() / sizeof(AtcRecord);
    const std::size_t rows = std::min<std::size_t>(inFile, DocAtcTable::kRowCount);
    for (std::size_t i = 0; i < rows; ++i) {
      AtcRecord& row = table.Record(static_cast<int>(i));
      std::memcpy(&row, bytes.data() + i * sizeof(AtcRecord), sizeof(AtcRecord));
      SanitizeLoadedRow(row);
      row.inUse = 1;
      row.atcNumber = static_cast<int>(i) + 1;
    }
    count = static_cast<int>(rows);
  }
  table.SetLoadedCount(count);
  table.SetReadFailed(!status.ok() && !status.missing());
  if (result != nullptr) *result = status;
  return count;
}

int LoadSelectionAndAtcTable(DocAtcTable& table, platform::FileResult* result) {
  ReadDbSelection();
  if (platform::FieldText(g_dbSelection.machineName).empty()) return 0;
  return LoadAtcTable(table, result);
}

platform::FileResult WriteAtcTable(const DocAtcTable& table, std::string_view machineName) {
  if (platform::FieldText(g_dbSelection.machineName).empty()) {
    return handover::RefusedWrite("$ATC_DBS.@@@", "no machine is chosen");
  }
  const auto path = AtcFilePath(machineName);
  if (!path) return handover::RefusedWrite("$ATC_DBS.@@@", "the machine name is not usable");
  if (table.ReadFailed()) {
    return handover::RefusedWrite(*path, "the ATC table could not be read, so its file is kept as it is");
  }
  int last = 0;
  for (int slot = DocAtcTable::kRowCount - 1; slot >= 1; --slot) {
    if (table.Record(slot).inUse != 0) {
      last = slot;
      break;
    }
  }
  std::vector<AtcRecord> rows;
  rows.reserve(static_cast<std::size_t>(last) + 1);
  for (int slot = 0; slot <= last; ++slot) {
    const AtcRecord& row = table.Record(slot);
    if (!RowIsFinite(row)) return handover::RefusedWrite(*path, "a tool value is not a finite number");
    rows.push_back(row);
  }
  return platform::WriteRecords(*path, rows.data(), rows.size());
}

AtcFieldTexts FormatAtcRecord(DocAtcTable& table, int slot) { return FormatAtcFields(table.Record(slot)); }

AtcFieldTexts FormatAtcRecordCsv(DocAtcTable& table, int slot) { return FormatAtcFieldsCsv(table.Record(slot)); }

AtcFieldTexts FormatThroughScratch(DocAtcTable& table, AtcRecord& record, int scratchSlot) {
  if (scratchSlot != DocAtcTable::kScratchSlot && scratchSlot != DocAtcTable::kBlankToolSlot) {
    throw std::out_of_range("DocAtcTable: slot " + std::to_string(scratchSlot) + " is not a scratch slot");
  }
  AtcRecord& scratch = table.Record(scratchSlot);
  CopyRecord168(scratch, record);
  AtcFieldTexts texts = FormatAtcFields(scratch);
  record.coolant = scratch.coolant;
  return texts;
}

void ToolRecordToAtc(const ToolRecord& tool, std::string_view toolFolder, AtcRecord& row) {
  row.spindleSpeed = tool.spindleSpeed;
  row.cannedCycle = tool.fixedCycle;
  row.mCode = tool.mCode;
  row.tapTwice = tool.g84Twice;
  row.kCode = 0;
  row.hCode = tool.hCode;
  row.dCode = tool.dCode;
  row.stepWord = 0;
  row.diameter = tool.diameter;
  row.cornerRadius = tool.cornerRadius;
  row.flatRadius = tool.flatRadius;
  row.tipAngle = tool.tipAngle;
  row.tipLength = tool.tipLength;
  row.feed = tool.feed;
  row.peckDepth = tool.qValue;
  row.pCode = tool.pValue;
  row.fluteLength = tool.fluteLength;
  row.outputTNumber = tool.tNumber;
  row.postMCode = 0;
  row.coolant = tool.coolant;
  platform::SetFieldText(row.secName, platform::FieldText(tool.secName));
  platform::SetFieldText(row.toolName, toolFolder);
}

int MatchAtcToToolRecord(DocAtcTable& table, int slot, const DocToolTable& tools, int toolIndex) {
  constexpr int kNoMatch = 99;
  AtcRecord& row = table.Record(slot);
  const ToolRecord& tool = tools.Record(toolIndex);
  // Exact comparisons: a tool is the same tool only with the same name and the
  // same geometry, to the last bit of the stored floats.
  if (platform::FieldText(row.secName) != platform::FieldText(tool.secName) || row.diameter != tool.diameter ||
      row.cornerRadius != tool.cornerRadius || row.flatRadius != tool.flatRadius || row.tipAngle != tool.tipAngle) {
    return kNoMatch;
  }
  const std::string toolName = platform::FieldText(row.toolName);
  ToolRecordToAtc(tool, toolName, row);
  row.inUse = 1;
  row.atcNumber = slot + 1;
  return 0;
}

void RefreshAtcFromToolDb(DocAtcTable& table, DocToolTable& tools) {
  const std::string base = platform::FieldText(g_dbSelection.baseName);
  for (int slot = 0; slot < DocAtcTable::kRowCount && table.Record(slot).inUse != 0; ++slot) {
    const std::string toolName = platform::FieldText(table.Record(slot).toolName);
    if (toolName.empty()) continue;
    platform::FileResult file;
    const int count = LoadToolRecordsFrom(tools, base, toolName, &file, false);
    if (!file.ok()) continue;  // the folder cannot be read: the row stays
    bool matched = false;
    for (int k = 0; k < count && !matched; ++k) {
      matched = MatchAtcToToolRecord(table, slot, tools, k) == 0;
    }
    if (!matched) ClearAtcRecord(table, slot);
  }
}

}  // namespace dorn
