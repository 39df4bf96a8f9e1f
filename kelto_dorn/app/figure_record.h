#pragma once
// FigureRecord: one 128-byte figure, the unit of the figure tables, of the
// segment blocks and of the ".MZF" drawing file (the same bytes everywhere).
//
// | off | type   | field     | meaning                                             |
// |-----|--------|-----------|-----------------------------------------------------|
// |   0 | int32  | kind      | 0 empty; 1 point, 2 line, 3 arc or circle; 8, 9,    |
// |     |        |           | 55, 68, 84, 340 point-group and polyline kinds;     |
// |     |        |           | 0xD002..0xD602 dimension figures                    |
// |   4 | int32  | number    | figure number (".MZF": 378 stands for table 90);    |
// |     |        |           | an intersection result carries its code here        |
// |   8 | int32  | group     | chain number: 0 free, -1 excluded, from 400001      |
// |  12 | int32  | choice    | intersection choice (low four bits): 0/1 which      |
// |     |        |           | point comes first, 15 both points / overlap test    |
// |  16 | int32  | layer     | layer 0-31                                          |
// |  20 | int32  | style     | 5 for a new figure                                  |
// |  24 | int32  | attribute | bits 0-7 palette index; 0x100 thick; 0x1000 dashed, |
// |     |        |           | 0x2000 one-dot chain, 0x4000 two-dot chain, 0x8000  |
// |  28 | int32  | spare     | not touched by the store                            |
// |  32 | 2 dbl  | origin    | layer origin current when the figure was made       |
// |  48 | 2 dbl  | start     | start point, relative to origin (mm)                |
// |  64 | 2 dbl  | end       | end point, relative to origin (mm)                  |
// |  80 | 2 dbl  | centre    | centre, relative to origin (mm)                     |
// |  96 | 2 dbl  | dir       | unit direction of a line                            |
// | 112 | double | radius    | mm; negative for a clockwise arc                    |
// | 120 | double | depth     | Z (mm)                                              |
//
// Written by the drawing commands and importers through the figure store;
// read by painting, the kernel, the drawing files and the CAM data builder.
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace dorn {

// A plane point or vector in drawing units (mm).
struct Vec2 {
  double x = 0.0;
  double y = 0.0;
  friend bool operator==(const Vec2&, const Vec2&) = default;
};

struct FigureRecord {
  std::int32_t kind = 0;
  std::int32_t number = 0;
  std::int32_t group = 0;
  std::int32_t choice = 0;
  std::int32_t layer = 0;
  std::int32_t style = 0;
  std::int32_t attribute = 0;
  std::int32_t spare = 0;
  Vec2 origin;
  Vec2 start;
  Vec2 end;
  Vec2 centre;
  Vec2 dir;
  double radius = 0.0;
  double depth = 0.0;
};

static_assert(std::is_standard_layout_v<FigureRecord>);
static_assert(sizeof(FigureRecord) == 128);
static_assert(offsetof(FigureRecord, number) == 4);
static_assert(offsetof(FigureRecord, group) == 8);
static_assert(offsetof(FigureRecord, choice) == 12);
static_assert(offsetof(FigureRecord, layer) == 16);
static_assert(offsetof(FigureRecord, style) == 20);
static_assert(offsetof(FigureRecord, attribute) == 24);
static_assert(offsetof(FigureRecord, origin) == 32);
static_assert(offsetof(FigureRecord, start) == 48);
static_assert(offsetof(FigureRecord, end) == 64);
static_assert(offsetof(FigureRecord, centre) == 80);
static_assert(offsetof(FigureRecord, dir) == 96);
static_assert(offsetof(FigureRecord, radius) == 112);
static_assert(offsetof(FigureRecord, depth) == 120);

// Figure kinds the store and the kernel know by number.
inline constexpr std::int32_t kKindEmpty = 0;
inline constexpr std::int32_t kKindPoint = 1;
inline constexpr std::int32_t kKindLine = 2;
inline constexpr std::int32_t kKindArc = 3;
inline constexpr std::int32_t kKindPointMark = 8;
inline constexpr std::int32_t kKindText = 55;
inline constexpr std::int32_t kKindCurvePoint = 68;
inline constexpr std::int32_t kKindCurvePointTangent = 84;
inline constexpr std::int32_t kKindCurvePointAngle = 340;
// A work block marked to be replaced by the next picked figure.
inline constexpr std::int32_t kKindReplaceMark = 0xF0F0;

// Style of a new figure.
inline constexpr std::int32_t kNewFigureStyle = 5;

// Attribute word bits.
inline constexpr std::int32_t kAttrColourMask = 0xFF;
inline constexpr std::int32_t kAttrThick = 0x100;
inline constexpr std::int32_t kAttrDashed = 0x1000;
inline constexpr std::int32_t kAttrChain1 = 0x2000;
inline constexpr std::int32_t kAttrChain2 = 0x4000;
inline constexpr std::int32_t kAttrLineTypeExtra = 0x8000;

// The value that marks none, not found and the end of a list.
inline constexpr int kNone = 0xFFFF;

}  // namespace dorn
