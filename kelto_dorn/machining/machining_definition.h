#pragma once
// MachiningDefinition: one machining definition, 16096 bytes, little-endian,
// packed exactly as below. It is stored whole in the drawing's definition file
// and in capsules and read whole by the CAM data builder, so every offset and
// reserved area is file format: reserved bytes are stored and read back
// unchanged. "new" is what ResetMachiningRecord writes; "defaults N" is the
// MachiningDefaults field at offset N.
//
// offset size  type            field                         new
//     0     4  int32           kind (MachiningKind; 0 empty)  0
//     4     4  int32           number (key of its index)      0
//     8     4  int32           generalA                       defaults 4
//    12     4  int32           generalB                       defaults 16
//    16    20  5 x int32       general16[5] (24: key of the   0
//                              curve picked after code 600,
//                              28: axis conversion 0/2/3,
//                              32: OFFSET断面)
//    36     4  int32           general36                      0
//    40    40  5 x double      value[5] (40 general value 0;  1.0, 0.01, 0, 0, 0
//                              64/72 the wire's picked point)
//    80     8  double          zOrigin                        defaults 24
//    88     8  double          holeIPoint                     defaults 40
//    96     8  double          holeRPoint                     defaults 48
//   104     8  double          holeThroughAmount              defaults 56
//   112   384  32 x 12 B       checkSurfaces                  1, 1, 0 each
//   496    80  2 x 40 B        rotations                      0
//   576  4736  148 x 32 B      figures (0-128 OMIT rows,      0
//                              131-147 DRAW slots)
//  5312    80  2 x 40 B        moveEntries                    0
//  5392    96  2 x 48 B        multiPieceEntries              0
//  5488     4  int32           cornerSwitch (4096 corner      0
//                              deceleration, 1 shrink)
//  5492     4  -               reserved5492
//  5496     8  double          cornerDistance / shrink X %    g_lastCornerDistance
//  5504     8  double          cornerRate % / shrink Y %      g_lastCornerRate
//  5512     8  double          shrinkZ %                      0.0
//  5520  3520  80 x 44 B       curves (CurveListItem)         0
//  9040  4896  12 x 408 B      steps (StepCondition)          ClearStepCondition
// 13936  2016  12 x 168 B      stepTools (AtcRecord layout)   blank tool record with
//                                                             spindle speed defaults 12
//                                                             and feed defaults 104
// 15952    64  char[64]        processName (CP932)            empty
// 16016    52  char[52]        machineName                    empty
// 16068    12  3 x int32       general16068[3]                0
// 16080    16  4 x int32       reserved16080[4]               0
//
// Writers: the definition commands and dialogs through g_curMachiningDef, the
// store into the document's slots, the drawing loader (older form converted).
// Readers: the dialogs, the definition list, capsules, the CAM data builder.
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "kelto_dorn/machining/step_condition.h"
#include "kelto_dorn/tooldb/atc_record.h"

namespace dorn {

// First word of a definition: the kind of machining.
enum class MachiningKind : std::int32_t {
  None = 0,
  CharacterContour = 0x8000,
  PlaneContour = 0xA000,
  Hole = 0xB400,
  HelicalHole = 0xB800,
  DeepHole = 0xBC00,
  FourAxisWire = 0xC000,
  TwoAxisWire = 0xC100,
  TwoAndHalfAxis = 0xD000,
  Taper = 0xDA00,
  ThreeAxisSurface = 0xE300,
  ModelPending = 0xF000,  // the model command waiting for its surface pick
  Model = 0xF300,
  Fillet = 0xF400,
  AAxisScrew = 0xF700,
};

// Kinds grouped by their high nibble.
inline constexpr std::int32_t kKindGroupMask = 0xF000;
inline constexpr std::int32_t kHoleGroup = 0xB000;
inline constexpr std::int32_t kWireGroup = 0xC000;

// One row of the check-surface table (32 rows at 112). The TYPE word keeps
// the type in bits 0-7 (1 CHECK, 2 MODEL, 3 FILLET) and "no face offset" in
// bit 15; side 1 GT, 2 LT, 3 ZT; a surface key of 0 marks an empty row,
// which reads (1, 1, 0).
struct CheckSurfaceRow {
  std::int32_t typeWord;
  std::int32_t side;
  std::int32_t surfaceKey;
};
static_assert(sizeof(CheckSurfaceRow) == 12);

// One rotation of the work about a machine axis (two at 496): active 1 while
// the axis is set; option 0 ALL, 1 BSR, 2 CSR; axis 1 Z, 2 X, 3 Y; the angle
// and the two centre coordinates (X/Y for Z, Y/Z for X, Z/X for Y). Hole
// kinds keep their chamfer copy in the same bytes.
struct RotationEntry {
  std::int32_t active;
  std::int32_t option;
  std::int32_t axis;
  std::uint8_t unused12[4];
  double angle;
  double centre[2];
};
static_assert(sizeof(RotationEntry) == 40 && offsetof(RotationEntry, axis) == 8 &&
              offsetof(RotationEntry, angle) == 16 && offsetof(RotationEntry, centre) == 24);

// One entry of the figure table: OMIT rows 0-127 with the spare entry 128
// (flags: bit 0 registered, bit 15 NOT; the contour figure's key; the key of
// the surface giving the OMIT Z, else the Z value at 24; DOWN and UP F-codes),
// entry 130 the DRAW switches (contour 10 at 12, OMIT 20 at 16) with the OMIT
// contour stock at 24, DRAW slots 131-147 (free while the key is 0).
struct MachiningFigureEntry {
  std::int32_t word0;  // OMIT flags
  std::int32_t figureKey;
  std::int32_t word8;   // OMIT Z source (surface key)
  std::int32_t word12;  // OMIT DOWN_FCODE; entry 130: the contour-figure switch
  std::int32_t word16;  // OMIT UP_FCODE; entry 130: the OMIT-figure switch
  std::uint8_t reserved20[4];
  double value;
};
static_assert(sizeof(MachiningFigureEntry) == 32);
static_assert(offsetof(MachiningFigureEntry, figureKey) == 4);
static_assert(offsetof(MachiningFigureEntry, word16) == 16);
static_assert(offsetof(MachiningFigureEntry, value) == 24);

// MOVE (two at 5312): active, function (0 none, 1 translate, 2 rotate,
// 3 mirror), the mirror line's key, dX/dY or the centre, and the angle.
struct MoveEntry {
  std::int32_t word0;  // active
  std::int32_t word4;  // function
  std::int32_t figureKey;
  std::uint8_t reserved12[4];
  double value[3];
};
static_assert(sizeof(MoveEntry) == 40 && offsetof(MoveEntry, figureKey) == 8 && offsetof(MoveEntry, value) == 16);

// Multi-piece (two at 5392): flags (bit 0 active, bit 12 BSR), function,
// reserved, count, the mirror line's key, dX/dY or the centre, the angle.
struct MultiPieceEntry {
  std::int32_t word[4];
  std::int32_t figureKey;
  std::uint8_t reserved20[4];
  double value[3];
};
static_assert(sizeof(MultiPieceEntry) == 48 && offsetof(MultiPieceEntry, figureKey) == 16 &&
              offsetof(MultiPieceEntry, value) == 24);

// One item of the curve list: type 1 a picked contour curve, 2 an item of a
// compound traverse; the key is the curve's (the surface's for the 3-axis,
// model and fillet kinds); a second figure's key at 16.
struct CurveListItem {
  std::int32_t type;
  std::int32_t key;
  std::int32_t word8;
  std::int32_t word12;
  std::int32_t secondKey;
  std::int32_t word20;
  std::int32_t word24;
  float value[4];
};
static_assert(sizeof(CurveListItem) == 44);
static_assert(offsetof(CurveListItem, key) == 4 && offsetof(CurveListItem, secondKey) == 16 &&
              offsetof(CurveListItem, value) == 28);

inline constexpr int kStepCount = 12;
inline constexpr int kFigureEntryCount = 148;
inline constexpr int kCurveItemCount = 80;
inline constexpr int kCheckSurfaceRowCount = 32;
inline constexpr int kOmitRowCount = 128;
inline constexpr int kOmitSpareEntry = 128;
inline constexpr int kDrawSwitchEntry = 130;
inline constexpr int kFirstDrawSlot = 131;
inline constexpr int kLastDrawSlot = 147;

struct MachiningDefinition {
  std::int32_t kind;
  std::int32_t number;
  std::int32_t generalA;
  std::int32_t generalB;
  std::int32_t general16[5];
  std::int32_t general36;
  double value[5];
  double zOrigin;
  double holeIPoint;
  double holeRPoint;
  double holeThroughAmount;
  CheckSurfaceRow checkSurfaces[kCheckSurfaceRowCount];
  RotationEntry rotations[2];
  MachiningFigureEntry figures[kFigureEntryCount];
  MoveEntry moveEntries[2];
  MultiPieceEntry multiPieceEntries[2];
  std::int32_t cornerSwitch;
  std::uint8_t reserved5492[4];
  double cornerDistance;
  double cornerRate;
  double shrinkZ;
  CurveListItem curves[kCurveItemCount];
  StepCondition steps[kStepCount];
  AtcRecord stepTools[kStepCount];
  char processName[64];
  char machineName[52];
  std::int32_t general16068[3];
  std::int32_t reserved16080[4];
};

static_assert(std::is_standard_layout_v<MachiningDefinition> && std::is_trivially_copyable_v<MachiningDefinition>);
static_assert(sizeof(MachiningDefinition) == 16096);
static_assert(offsetof(MachiningDefinition, number) == 4);
static_assert(offsetof(MachiningDefinition, generalA) == 8);
static_assert(offsetof(MachiningDefinition, generalB) == 12);
static_assert(offsetof(MachiningDefinition, general16) == 16);
static_assert(offsetof(MachiningDefinition, general36) == 36);
static_assert(offsetof(MachiningDefinition, value) == 40);
static_assert(offsetof(MachiningDefinition, zOrigin) == 80);
static_assert(offsetof(MachiningDefinition, holeIPoint) == 88);
static_assert(offsetof(MachiningDefinition, holeRPoint) == 96);
static_assert(offsetof(MachiningDefinition, holeThroughAmount) == 104);
static_assert(offsetof(MachiningDefinition, checkSurfaces) == 112);
static_assert(offsetof(MachiningDefinition, rotations) == 496);
static_assert(offsetof(MachiningDefinition, figures) == 576);
static_assert(offsetof(MachiningDefinition, moveEntries) == 5312);
static_assert(offsetof(MachiningDefinition, multiPieceEntries) == 5392);
static_assert(offsetof(MachiningDefinition, cornerSwitch) == 5488);
static_assert(offsetof(MachiningDefinition, cornerDistance) == 5496);
static_assert(offsetof(MachiningDefinition, cornerRate) == 5504);
static_assert(offsetof(MachiningDefinition, shrinkZ) == 5512);
static_assert(offsetof(MachiningDefinition, curves) == 5520);
static_assert(offsetof(MachiningDefinition, steps) == 9040);
static_assert(offsetof(MachiningDefinition, stepTools) == 13936);
static_assert(offsetof(MachiningDefinition, processName) == 15952);
static_assert(offsetof(MachiningDefinition, machineName) == 16016);
static_assert(offsetof(MachiningDefinition, general16068) == 16068);
static_assert(offsetof(MachiningDefinition, reserved16080) == 16080);

// The older form (13968 bytes) of drawings of the earlier format and of old
// capsules: the same fields up to offset 5519, then only 32 curve-list items
// and no reserved integers at the end.
inline constexpr int kOldCurveItemCount = 32;
inline constexpr std::size_t kOldHeadBytes = 5520;  // bytes that keep their offsets

struct MachiningDefinitionV1 {
  std::uint8_t head[kOldHeadBytes];
  CurveListItem curves[kOldCurveItemCount];
  StepCondition steps[kStepCount];
  AtcRecord stepTools[kStepCount];
  char processName[64];
  char machineName[52];
  std::int32_t general13956[3];
};

static_assert(std::is_standard_layout_v<MachiningDefinitionV1> && std::is_trivially_copyable_v<MachiningDefinitionV1>);
static_assert(sizeof(MachiningDefinitionV1) == 13968);
static_assert(offsetof(MachiningDefinitionV1, curves) == 5520);
static_assert(offsetof(MachiningDefinitionV1, steps) == 6928);
static_assert(offsetof(MachiningDefinitionV1, stepTools) == 11824);
static_assert(offsetof(MachiningDefinitionV1, processName) == 13840);
static_assert(offsetof(MachiningDefinitionV1, machineName) == 13904);
static_assert(offsetof(MachiningDefinitionV1, general13956) == 13956);

inline std::int32_t KindGroup(std::int32_t kind) { return kind & kKindGroupMask; }

}  // namespace dorn
