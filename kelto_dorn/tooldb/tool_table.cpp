#include "kelto_dorn/tooldb/tool_table.h"

#include <cmath>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/folder_names.h"
#include "platform/text.h"
#include "shared/handover/record_io.h"

namespace dorn {

int g_curToolIndex = 0;

namespace {

constexpr int kTooManyToolsMessage = 102;

float FiniteOrZero(float v) { return std::isfinite(v) ? v : 0.0f; }

// A record from a file: floats that are not numbers become 0, the reserved
// words 0, and the name is terminated within its field.
void SanitizeLoadedRecord(ToolRecord& r) {
  r.reserved0 = r.reserved20 = r.reserved28 = 0;
  r.reserved72 = 0;
  for (float* f : {&r.diameter, &r.cornerRadius, &r.flatRadius, &r.tipAngle, &r.tipLength, &r.feed, &r.qValue,
                   &r.pValue, &r.fluteLength}) {
    *f = FiniteOrZero(*f);
  }
  platform::TerminateField(r.secName);
}

bool RecordIsFinite(const ToolRecord& r) {
  const float values[] = {r.diameter, r.cornerRadius, r.flatRadius, r.tipAngle,   r.tipLength,
                          r.feed,     r.qValue,       r.pValue,     r.fluteLength};
  return handover::AllFinite(values);
}

}  // namespace

bool DocToolTable::Allocate() {
  if (records_) return true;
  records_.reset(new (std::nothrow) ToolRecord[kSlotCount]());
  return records_ != nullptr;
}

void DocToolTable::Release() { records_.reset(); }

ToolRecord& DocToolTable::Record(int index) {
  return const_cast<ToolRecord&>(static_cast<const DocToolTable&>(*this).Record(index));
}

const ToolRecord& DocToolTable::Record(int index) const {
  if (!records_) throw std::out_of_range("DocToolTable: the record buffers are not allocated");
  if (index < 0 || index >= kSlotCount) {
    throw std::out_of_range("DocToolTable: slot " + std::to_string(index) + " outside 0..767");
  }
  return records_[index];
}

void CopyToolRecord(ToolRecord& destination, const ToolRecord& source) {
  std::memcpy(&destination, &source, sizeof(ToolRecord));
}

ToolFieldTexts FormatToolRecord(DocToolTable& table, int index) { return FormatToolFields(table.Record(index)); }

void ClearToolRecord(DocToolTable& table, int index) { table.Record(index) = ToolRecord{}; }

void ClearToolTable(DocToolTable& table) {
  if (!table.IsAllocated()) return;
  for (int i = 0; i < DocToolTable::kSlotCount; ++i) ClearToolRecord(table, i);
}

int LoadToolRecords(DocToolTable& table, platform::FileResult* result) {
  return LoadToolRecordsFrom(table, platform::FieldText(g_dbSelection.baseName),
                             platform::FieldText(g_dbSelection.toolName), result);
}

int LoadToolRecordsFrom(DocToolTable& table, std::string_view base, std::string_view tool, platform::FileResult* result,
                        bool warnWhenFull) {
  platform::FileResult status;
  ClearToolTable(table);
  g_curToolIndex = 0;
  const auto path = ToolFilePath(base, tool);
  if (!table.IsAllocated()) {
    status.status = platform::FileStatus::ReadError;
    status.message = "the tool table has no record buffers; nothing was read";
  } else if (!path) {
    // An empty or refused name names no file: no records, as for a missing file.
    status.status = platform::FileStatus::Missing;
    status.message = "no tool folder is chosen";
  } else {
    std::vector<std::uint8_t> bytes;
    status = platform::ReadWholeFile(*path, bytes);
    if (status.ok()) {
      // Whole records only: a tail shorter than a record is ignored.
      const std::size_t inFile = bytes.size() / sizeof(ToolRecord);
      std::size_t count = inFile;
      if (count >= static_cast<std::size_t>(DocToolTable::kMaxLoadedRecords)) {
        count = DocToolTable::kMaxLoadedRecords;
      }
      for (std::size_t i = 0; i < count; ++i) {
        ToolRecord& slot = table.Record(static_cast<int>(i));
        std::memcpy(&slot, bytes.data() + i * sizeof(ToolRecord), sizeof(ToolRecord));
        SanitizeLoadedRecord(slot);
      }
      g_curToolIndex = static_cast<int>(count);
      if (warnWhenFull && count == static_cast<std::size_t>(DocToolTable::kMaxLoadedRecords)) {
        ShowMessage(kTooManyToolsMessage);
      }
    }
  }
  if (result != nullptr) *result = status;
  return g_curToolIndex;
}

platform::FileResult WriteToolFile(const DocToolTable& table, int count, std::string_view base, std::string_view tool) {
  const auto path = ToolFilePath(base, tool);
  if (!path) return handover::RefusedWrite("$DBS_GEN.@@@", "the base or tool folder name is not usable");
  if (count < 0 || count > DocToolTable::kMaxLoadedRecords) {
    return handover::RefusedWrite(*path, "the record count is outside 0..765");
  }
  if (count > 0 && !table.IsAllocated()) {
    return handover::RefusedWrite(*path, "the tool table has no buffers");
  }
  std::vector<ToolRecord> records;
  records.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const ToolRecord& r = table.Record(i);
    if (!RecordIsFinite(r)) return handover::RefusedWrite(*path, "a tool value is not a finite number");
    records.push_back(r);
  }
  return platform::WriteRecords(*path, records.data(), records.size());
}

}  // namespace dorn
