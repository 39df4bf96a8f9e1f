#pragma once
// CDisplayRecord: one 32-byte drawn move of Kelto_qup's display list, the same
// in memory and in "$CG_DATA.LST" (program folder), which holds the records
// back to back in drawing order.
//
// Written by Kelto_qup at the end of a run and by its exit commands (each
// record's colour moved on by the display colour offset); read back by
// Kelto_qup at start-up when the header's reload flag is set or in start
// mode 39, and replayed in the panes, the trace and the 3-D path model.
//
// | off | type   | field      | meaning                                         |
// |-----|--------|------------|-------------------------------------------------|
// |   0 | int16  | kind       | 0 move, 1 cutting line, -1 dashed (rapid) line; |
// |     |        |            | markers: -9999 path section start, -7499/-9901  |
// |     |        |            | figure reference open/close                     |
// |   2 | uint16 | colorWord  | low 12 bits tool number (colour); 0x8000 tool on|
// |     |        |            | one side, 0x4000 on the other (compensation)    |
// |   4 | float  | x, y, z    | end point, mm                                   |
// |  16 | float  | dir[3]     | current direction                               |
// |  28 | float  | radius     | trace radius, mm (0.001: no diameter given)     |
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "platform/record_file.h"

namespace handover {

struct CDisplayRecord {
  std::int16_t kind = 0;
  std::uint16_t colorWord = 0;
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
  float dir[3] = {};
  float radius = 0.0f;

  static constexpr std::uint16_t kColorMask = 0x0FFF;
  static constexpr std::uint16_t kSideFlagsMask = 0xF000;
  static constexpr std::uint16_t kSideOne = 0x8000;
  static constexpr std::uint16_t kSideOther = 0x4000;
};

static_assert(sizeof(CDisplayRecord) == 32);
static_assert(offsetof(CDisplayRecord, kind) == 0);
static_assert(offsetof(CDisplayRecord, colorWord) == 2);
static_assert(offsetof(CDisplayRecord, x) == 4);
static_assert(offsetof(CDisplayRecord, y) == 8);
static_assert(offsetof(CDisplayRecord, z) == 12);
static_assert(offsetof(CDisplayRecord, dir) == 16);
static_assert(offsetof(CDisplayRecord, radius) == 28);
static_assert(platform::FileRecord<CDisplayRecord>);

inline constexpr char kDisplayListFileName[] = "$CG_DATA.LST";

// The colour word moved on by offset: the tool number wraps within its 12
// bits and the side flags stay as they are (a plain addition would carry
// into them after repeated saves).
std::uint16_t OffsetColorWord(std::uint16_t colorWord, int offset);

// Reads the display list. Missing: status Missing, `records` left as it
// was. A short tail (a length that is not a multiple of 32) is left out: the
// whole records are taken and the result's message names the bytes dropped.
// A float that is not finite is damaged: `records` is left as it was.
platform::FileResult ReadDisplayList(const std::filesystem::path& path, std::vector<CDisplayRecord>& records);

// Writes every record with its colour moved on by colorOffset, whole and
// atomically. A float that is not finite is refused and nothing is written.
platform::FileResult WriteDisplayList(const std::filesystem::path& path, std::span<const CDisplayRecord> records,
                                      int colorOffset);

}  // namespace handover
