#pragma once
// The template part of record_resets.h.
#include <cstring>

namespace dorn {

// The part of an index record's name that a table reset clears (bytes).
inline constexpr std::size_t kIndexNameClearedBytes = 52;

template <typename Table>
void ClearDefinitionIndexTable(Table& table) {
  table.count = 0;
  table.currentSlot = 0;
  table.indexInProgress = 0;
  for (auto& record : table.records) {
    record.recordKind = 0;
    record.key = 0;
    record.slot = 0;
    record.kindCode = 0;
    std::memset(record.name, 0, kIndexNameClearedBytes);
  }
}

}  // namespace dorn
