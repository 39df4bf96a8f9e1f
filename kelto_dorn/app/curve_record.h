#pragma once
// CurveRecord: one 256-byte entry of the curve table (g_curveTable, 1024
// entries). The figures of curve i are entries first..end-1 of figure table
// 90, contiguous and in order. Stored whole in the drawing definition file
// and in undo snapshots.
//
// | off | type      | field     | meaning                                          |
// |-----|-----------|-----------|--------------------------------------------------|
// |   0 | int32     | layer     | layer 0-31; 0xFFFF marks an empty entry          |
// |   4 | int32     | key       | unique among the curves                          |
// |   8 | int32     | kind      | 0 plain, 1 hole points, 5/7 pocket, 8/9 taper,   |
// |     |           |           | 1332 characters                                  |
// |  12 | int32     | first     | first figure index in table 90                   |
// |  16 | int32     | end       | end figure index in table 90 (exclusive)         |
// |  20 | int32     | colour    | palette index 0-31 (cleared value 6)             |
// |  24 | int32     | flags     | 0x80: IP point set; above the low byte the hole  |
// |     |           |           | flag: the machining kind a hole definition       |
// |     |           |           | stamps (0xB400, helical 0xB800)                  |
// |  28 | int32     | taperCode | section mode (0 or 4096 + section); its low byte |
// |     |           |           | is given as style to taper figures               |
// |  32 | int32     | zFlag     | taper reference face: 1 = the contour lies at    |
// |     |           |           | the bottom (END Z); read by the hand-over        |
// |  36 | int32     | spare36   | 0                                                |
// |  40 | 2 double  | ip        | IP point X, Y (mm)                               |
// |  56 | double    | topZ      | TOP Z (mm)                                       |
// |  64 | double    | endZ      | END Z (mm)                                       |
// |  72 | float[30] | values    | five groups of six; +144..+167 taper offsets     |
// | 192 | char[64]  | name      | CP932, compared whole                            |
//
// Written by the curve commands (registration, edits); read by painting, the
// machining definitions and the CAM data builder.
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace dorn {

struct CurveRecord {
  std::int32_t layer = 0;
  std::int32_t key = 0;
  std::int32_t kind = 0;
  std::int32_t first = 0;
  std::int32_t end = 0;
  std::int32_t colour = 0;
  std::int32_t flags = 0;
  std::int32_t taperCode = 0;
  std::int32_t zFlag = 0;
  std::int32_t spare36 = 0;
  double ipX = 0.0;
  double ipY = 0.0;
  double topZ = 0.0;
  double endZ = 0.0;
  float values[30] = {};
  char name[64] = {};
};

static_assert(std::is_standard_layout_v<CurveRecord>);
static_assert(sizeof(CurveRecord) == 256);
static_assert(offsetof(CurveRecord, key) == 4);
static_assert(offsetof(CurveRecord, kind) == 8);
static_assert(offsetof(CurveRecord, first) == 12);
static_assert(offsetof(CurveRecord, end) == 16);
static_assert(offsetof(CurveRecord, colour) == 20);
static_assert(offsetof(CurveRecord, flags) == 24);
static_assert(offsetof(CurveRecord, taperCode) == 28);
static_assert(offsetof(CurveRecord, zFlag) == 32);
static_assert(offsetof(CurveRecord, ipX) == 40);
static_assert(offsetof(CurveRecord, ipY) == 48);
static_assert(offsetof(CurveRecord, topZ) == 56);
static_assert(offsetof(CurveRecord, endZ) == 64);
static_assert(offsetof(CurveRecord, values) == 72);
static_assert(offsetof(CurveRecord, name) == 192);

// The hole flag of a curve: the machining kind above the flag word's low byte.
inline constexpr std::int32_t HoleFlag(const CurveRecord& c) { return c.flags & ~0xFF; }

inline constexpr int kCurveTableSize = 1024;
// The layer word of an entry that holds no curve.
inline constexpr std::int32_t kCurveEntryEmpty = 0xFFFF;
// The colour (style) of a cleared entry and of a new curve.
inline constexpr std::int32_t kCurveDefaultColour = 6;

}  // namespace dorn
