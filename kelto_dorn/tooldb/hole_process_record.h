#pragma once
// HoleProcessRecord: one named hole process, 1504 bytes, "$HOLE_DBS.@@@" in
// its folder <data root>\_ANA\<process>. Written by the hole-process editor;
// read by it, by the hole definitions and by the register print.
//
// offset type          field    meaning
//    0   int32[8]      rowNumbers  n for a filled row n, 0 for an empty row;
//                                  rows are shown up to the first 0
//   32   AtcRecord[8]  rows        the process steps in the ATC row layout; a
//                                  row is a tool when its diameter is above 0
// 1376   char[64]      name        the process name (CP932), also its folder
// 1440   char[64]      machineName the machine the rows were last bound to
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "kelto_dorn/tooldb/atc_record.h"

namespace dorn {

struct HoleProcessRecord {
  static constexpr int kRowCount = 8;

  std::int32_t rowNumbers[kRowCount];
  AtcRecord rows[kRowCount];
  char name[64];
  char machineName[64];
};

static_assert(std::is_standard_layout_v<HoleProcessRecord>);
static_assert(sizeof(HoleProcessRecord) == 1504);
static_assert(offsetof(HoleProcessRecord, rows) == 32);
static_assert(offsetof(HoleProcessRecord, name) == 1376);
static_assert(offsetof(HoleProcessRecord, machineName) == 1440);

inline constexpr char kHoleProcessFileName[] = "$HOLE_DBS.@@@";

}  // namespace dorn
