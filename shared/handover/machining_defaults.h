#pragma once
// MachiningDefaults: the 168-byte record "$DEF_KAKO2.@@@" in the program folder
// that every new machining definition starts from.
//
// Written by Kelto_Dorn's defaults dialog and with every drawing save (each
// stored definition updates it, so the next one starts from the last);
// read by Kelto_Dorn at start-up and by Kelto_qup at start-up. Lengths mm,
// feeds mm/min, angles degrees. An older 128-byte form (without the fields
// from 128 on) still loads; its missing fields keep their built-in values.
//
// | off | type   | field                 | meaning (built-in)                      |
// |-----|--------|-----------------------|-----------------------------------------|
// |   0 | int32  | arcFeedPercent        | arc feed rate % (100)                   |
// |   4 | int32  | generalA              | last definition's integer at 8 (0)      |
// |   8 | int32  | compensationCode      | 0 D code, 1 H code (0)                  |
// |  12 | int32  | spindleSpeed          | last step-1 tool's speed, rev/min (1200)|
// |  16 | int32  | generalB              | last definition's integer at 12 (0)     |
// |  20 | int32  | deepHoleReturn        | 0 G00, 1 G01 (0)                        |
// |  24 | double | originZ               | Z origin (100)                          |
// |  32 | double | moveZ                 | tool move Z (100)                       |
// |  40 | double | holeIPoint            | (100)                                   |
// |  48 | double | holeRPoint            | (5)                                     |
// |  56 | double | holeThroughAmount     | (3)                                     |
// |  64 | double | toolDownAmount        | (10)                                    |
// |  72 | double | downFeed              | (80)                                    |
// |  80 | double | feedCode              | F_CODE (180)                            |
// |  88 | double | wireDivision          | (0.5)                                   |
// |  96 | double | wireStock             | (0.3)                                   |
// | 104 | double | toolFeed              | last step-1 tool's feed (500)           |
// | 112 | double | arcAngle              | (90)                                    |
// | 120 | double | deepHoleRest          | (1)                                     |
// | 128 | int32  | chamferSpindleSpeed   | (0)                                     |
// | 132 | int32  | reserved132           |                                         |
// | 136 | double | chamferFeed           | (0)                                     |
// | 144 | int32  | useToolFeed           | 0 off, 1 on (0)                         |
// | 148 | int32  | returnFeedPercent     | area-cut return feed % (100)            |
// | 152 | float  | holeTopZ              | (0)                                     |
// | 156 | float  | overrun               | (0)                                     |
// | 160 | int32  | reserved160           | (0)                                     |
// | 164 | int32  | reserved164           |                                         |
#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "platform/record_file.h"

namespace handover {

struct MachiningDefaults {
  std::int32_t arcFeedPercent = 100;
  std::int32_t generalA = 0;
  std::int32_t compensationCode = 0;
  std::int32_t spindleSpeed = 1200;
  std::int32_t generalB = 0;
  std::int32_t deepHoleReturn = 0;
  double originZ = 100.0;
  double moveZ = 100.0;
  double holeIPoint = 100.0;
  double holeRPoint = 5.0;
  double holeThroughAmount = 3.0;
  double toolDownAmount = 10.0;
  double downFeed = 80.0;
  double feedCode = 180.0;
  double wireDivision = 0.5;
  double wireStock = 0.3;
  double toolFeed = 500.0;
  double arcAngle = 90.0;
  double deepHoleRest = 1.0;
  std::int32_t chamferSpindleSpeed = 0;
  std::int32_t reserved132 = 0;
  double chamferFeed = 0.0;
  std::int32_t useToolFeed = 0;
  std::int32_t returnFeedPercent = 100;
  float holeTopZ = 0.0f;
  float overrun = 0.0f;
  std::int32_t reserved160 = 0;
  std::int32_t reserved164 = 0;
};

static_assert(sizeof(MachiningDefaults) == 168);
static_assert(offsetof(MachiningDefaults, arcFeedPercent) == 0);
static_assert(offsetof(MachiningDefaults, generalA) == 4);
static_assert(offsetof(MachiningDefaults, compensationCode) == 8);
static_assert(offsetof(MachiningDefaults, spindleSpeed) == 12);
static_assert(offsetof(MachiningDefaults, generalB) == 16);
static_assert(offsetof(MachiningDefaults, deepHoleReturn) == 20);
static_assert(offsetof(MachiningDefaults, originZ) == 24);
static_assert(offsetof(MachiningDefaults, moveZ) == 32);
static_assert(offsetof(MachiningDefaults, holeIPoint) == 40);
static_assert(offsetof(MachiningDefaults, holeRPoint) == 48);
static_assert(offsetof(MachiningDefaults, holeThroughAmount) == 56);
static_assert(offsetof(MachiningDefaults, toolDownAmount) == 64);
static_assert(offsetof(MachiningDefaults, downFeed) == 72);
static_assert(offsetof(MachiningDefaults, feedCode) == 80);
static_assert(offsetof(MachiningDefaults, wireDivision) == 88);
static_assert(offsetof(MachiningDefaults, wireStock) == 96);
static_assert(offsetof(MachiningDefaults, toolFeed) == 104);
static_assert(offsetof(MachiningDefaults, arcAngle) == 112);
static_assert(offsetof(MachiningDefaults, deepHoleRest) == 120);
static_assert(offsetof(MachiningDefaults, chamferSpindleSpeed) == 128);
static_assert(offsetof(MachiningDefaults, reserved132) == 132);
static_assert(offsetof(MachiningDefaults, chamferFeed) == 136);
static_assert(offsetof(MachiningDefaults, useToolFeed) == 144);
static_assert(offsetof(MachiningDefaults, returnFeedPercent) == 148);
static_assert(offsetof(MachiningDefaults, holeTopZ) == 152);
static_assert(offsetof(MachiningDefaults, overrun) == 156);
static_assert(offsetof(MachiningDefaults, reserved160) == 160);
static_assert(offsetof(MachiningDefaults, reserved164) == 164);
static_assert(platform::FileRecord<MachiningDefaults>);

inline constexpr char kMachiningDefaultsFileName[] = "$DEF_KAKO2.@@@";
// Size of the older form of the file, which ends before the chamfer fields.
inline constexpr std::size_t kMachiningDefaultsOldSize = 128;

// Reads the record. Missing: `defaults` becomes the built-in record and the
// status is Missing. A 168-byte file, or a 128-byte file of the older form
// (the rest built-in), is taken when every double and float is finite; any
// other size or a value that is not a number is damaged and `defaults` is
// left as it was.
platform::FileResult ReadMachiningDefaults(const std::filesystem::path& path, MachiningDefaults& defaults);

// Writes the 168 bytes atomically; a value that is not finite is refused.
platform::FileResult WriteMachiningDefaults(const std::filesystem::path& path, const MachiningDefaults& defaults);

}  // namespace handover
