#pragma once
// HoleProcessRecord: one named hole process, 1504 bytes, "$HOLE_DBS.@@@" in
// its folder <data root>\_ANA\<process>. Written by the hole-process editor;
// read by it, by the hole definitions and by the register print.
//
// offset type          field    meaning
//    0   uint8[32]     head     carried as read
//   32   AtcRecord[8]  rows     the process steps in the ATC row layout; a
//                               row is in use when its diameter is not 0
// 1376   char[64]      name     the process name (CP932)
// 1440   uint8[64]     tail     carried as read
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "kelto_dorn/tooldb/atc_record.h"

namespace dorn {

struct HoleProcessRecord {
  static constexpr int kRowCount = 8;

  std::uint8_t head[32];
  AtcRecord rows[kRowCount];
  char name[64];
  std::uint8_t tail[64];
};

static_assert(std::is_standard_layout_v<HoleProcessRecord>);
static_assert(sizeof(HoleProcessRecord) == 1504);
static_assert(offsetof(HoleProcessRecord, rows) == 32);
static_assert(offsetof(HoleProcessRecord, name) == 1376);

inline constexpr char kHoleProcessFileName[] = "$HOLE_DBS.@@@";

}  // namespace dorn
