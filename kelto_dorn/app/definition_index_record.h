#pragma once
// DefinitionIndexRecord: the 80-byte name record of one surface (record kind
// 1, in SurfaceIndexTable) or machining definition (record kind 2, in
// MachiningIndexTable), stored with the definitions in the ".KWD" file.
//
// | off | type     | field      | meaning                                        |
// |-----|----------|------------|------------------------------------------------|
// |   0 | int32    | recordKind | 1 surface, 2 machining definition              |
// |   4 | int32    | key        | surface key or definition key                  |
// |   8 | int32    | slot       | slot of the definition in the document         |
// |  12 | int32    | kindCode   | SurfaceKind or MachiningKind                   |
// |  16 | char[64] | name       | CP932, zero-terminated                         |
#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace dorn {

struct DefinitionIndexRecord {
  std::int32_t recordKind = 0;
  std::int32_t key = 0;
  std::int32_t slot = 0;
  std::int32_t kindCode = 0;
  char name[64] = {};
};

static_assert(std::is_standard_layout_v<DefinitionIndexRecord>);
static_assert(sizeof(DefinitionIndexRecord) == 80);
static_assert(offsetof(DefinitionIndexRecord, key) == 4);
static_assert(offsetof(DefinitionIndexRecord, slot) == 8);
static_assert(offsetof(DefinitionIndexRecord, kindCode) == 12);
static_assert(offsetof(DefinitionIndexRecord, name) == 16);

inline constexpr std::int32_t kIndexRecordSurface = 1;
inline constexpr std::int32_t kIndexRecordMachining = 2;
inline constexpr int kSurfaceSlotCount = 256;
inline constexpr int kMachiningSlotCount = 512;

// One index table with its count (and the two further counters that the
// definition commands keep beside it: the current slot and the index of the
// definition in progress).
template <std::size_t N>
struct DefinitionIndexTable {
  std::array<DefinitionIndexRecord, N> records{};
  int count = 0;
  int currentSlot = 0;
  int indexInProgress = 0;
};

}  // namespace dorn
