#pragma once
// AutoCenteringRecord: one automatic-centring (probing) record of
// "$Cps_Post.@@@" in the program folder; the file holds up to four, for the
// work coordinate systems G54, G55, G56 and G57 in that order (608 bytes).
//
// Written by Kelto_Dorn's automatic-centring dialog; read by Kelto_qup at
// start-up, which takes the work size from the system record instead of the
// file, derives the corner code and the half offsets, and writes the
// centring blocks of the NC program from it. Lengths mm.
//
// | off | type     | field        | meaning                                     |
// |-----|----------|--------------|---------------------------------------------|
// |   0 | int32    | active       | centring data output: 1 on, 0 off           |
// |   4 | int32    | workNumber   | 54 .. 57                                    |
// |   8 | int32    | macroCall    | Q rotation coordinate call: 1 on, 0 off     |
// |  12 | int32    | cycleKind    | origin corner 1 lower left, 2 lower right,  |
// |     |          |              | 3 upper right, 4 upper left ("C1".."C4")    |
// |  16 | double   | b, e, k, i, j| measuring point B (x), E (y), height K,     |
// |     |          |              | origin setting values I and J               |
// |  56 | double[3]| reserved56   |                                             |
// |  80 | double   | x            | work width                                  |
// |  88 | double   | y            | work depth                                  |
// |  96 | double   | thickness    | work thickness                              |
// | 104 | double   | offsetX      | X from the origin corner to the work centre |
// | 112 | double   | offsetY      | Y from the origin corner to the work centre |
// | 120 | double   | reserved120  | 0.0                                         |
// | 128 | int32    | sideCode     | the corner in the second numbering:         |
// |     |          |              | corner 1 -> 3, 2 -> 4, 3 -> 1, 4 -> 2       |
// | 132 | int32    | centringKind | output post: 0 standard, 1 "TOSNUC.txt",    |
// |     |          |              | 2 "FANUC.txt" (the same in all four)        |
// | 136 | int32[4] | reserved136  |                                             |
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "platform/record_file.h"

namespace handover {

struct AutoCenteringRecord {
  std::int32_t active = 0;
  std::int32_t workNumber = 0;
  std::int32_t macroCall = 0;
  std::int32_t cycleKind = 0;
  double b = 0.0;
  double e = 0.0;
  double k = 0.0;
  double i = 0.0;
  double j = 0.0;
  double reserved56[3] = {};
  double x = 0.0;
  double y = 0.0;
  double thickness = 0.0;
  double offsetX = 0.0;
  double offsetY = 0.0;
  double reserved120 = 0.0;
  std::int32_t sideCode = 0;
  std::int32_t centringKind = 0;
  std::int32_t reserved136[4] = {};
};
static_assert(sizeof(AutoCenteringRecord) == 152);
static_assert(offsetof(AutoCenteringRecord, active) == 0);
static_assert(offsetof(AutoCenteringRecord, workNumber) == 4);
static_assert(offsetof(AutoCenteringRecord, macroCall) == 8);
static_assert(offsetof(AutoCenteringRecord, cycleKind) == 12);
static_assert(offsetof(AutoCenteringRecord, b) == 16);
static_assert(offsetof(AutoCenteringRecord, e) == 24);
static_assert(offsetof(AutoCenteringRecord, k) == 32);
static_assert(offsetof(AutoCenteringRecord, i) == 40);
static_assert(offsetof(AutoCenteringRecord, j) == 48);
static_assert(offsetof(AutoCenteringRecord, reserved56) == 56);
static_assert(offsetof(AutoCenteringRecord, x) == 80);
static_assert(offsetof(AutoCenteringRecord, y) == 88);
static_assert(offsetof(AutoCenteringRecord, thickness) == 96);
static_assert(offsetof(AutoCenteringRecord, offsetX) == 104);
static_assert(offsetof(AutoCenteringRecord, offsetY) == 112);
static_assert(offsetof(AutoCenteringRecord, reserved120) == 120);
static_assert(offsetof(AutoCenteringRecord, sideCode) == 128);
static_assert(offsetof(AutoCenteringRecord, centringKind) == 132);
static_assert(offsetof(AutoCenteringRecord, reserved136) == 136);
static_assert(platform::FileRecord<AutoCenteringRecord>);

inline constexpr char kAutoCenteringFileName[] = "$Cps_Post.@@@";
inline constexpr std::size_t kAutoCenteringRecordCount = 4;

// Reads up to four whole records into the start of `records`; *count gets
// how many the file held (records beyond the fourth are not read). Missing:
// status Missing, nothing changed. A length that is not whole records, or a
// value that is not a number: damaged, nothing changed.
platform::FileResult ReadAutoCenteringRecords(const std::filesystem::path& path,
                                              std::array<AutoCenteringRecord, kAutoCenteringRecordCount>& records,
                                              std::size_t* count);

}  // namespace handover
