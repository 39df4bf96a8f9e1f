#pragma once
// Records of the tool database.
//
// ToolRecord, 100 bytes, little-endian, the same bytes in memory and in the
// tool file "$DBS_GEN.@@@" of a tool folder (records one after another, no
// header, no count). A record is empty when every field is 0; reserved fields
// stay 0.
//
// offset type     field            unit / meaning                         writer / reader
//   0    int32    reserved0        0
//   4    int32    spindleSpeed     S value, never negative                  tool editor, calculator / ATC editor
//   8    int32    fixedCycle       G code of the drilling cycle             tool editor / ATC editor
//  12    int32    mCode                                                     tool editor / ATC editor
//  16    int32    g84Twice         1 on, anything else off                  tool editor / ATC editor
//  20    int32    reserved20       0
//  24    int16    hCode            tool-length offset number                tool editor / ATC editor
//  26    int16    dCode            radius offset number                     tool editor / ATC editor
//  28    int32    reserved28       0
//  32    float32  diameter         mm; editor keeps 2 x corner + 2 x flat   tool editor / ATC matching
//  36    float32  cornerRadius     mm                                       tool editor / ATC matching
//  40    float32  flatRadius       mm                                       tool editor / ATC matching
//  44    float32  tipAngle         degrees                                  tool editor / ATC matching
//  48    float32  tipLength        mm                                       tool editor / ATC editor
//  52    float32  feed             F value                                  tool editor, calculator / ATC editor
//  56    float32  qValue           depth of cut, mm                         tool editor / ATC editor
//  60    float32  pValue           P word                                   tool editor / ATC editor
//  64    float32  fluteLength      mm                                       tool editor / ATC editor
//  68    int32    tNumber          output tool number                       tool editor / ATC editor
//  72    int16    reserved72       0
//  74    int16    coolant          0 none, 1 oil, 2 air, 3 S-oil, 4 S-air   tool editor / ATC editor
//  76    char[24] secName          the tool's name, NUL-terminated          tool editor / ATC matching
//
// DbSelectionRecord, 200 bytes, the whole content of "$DBS_NAME.@@@" in the
// data root: the base, tool folder and machine the user works with.
//
// offset type     field            meaning                                  writer / reader
//   0    int32    reserved         0
//   4    int32    chosenFlags      0x01 base chosen, 0x10 tool folder       tool editor / tool editor
//                                  chosen (17 both)
//   8    char[64] baseName         current tool base                        tool editor / every database
//  72    char[64] toolName         current tool folder                      tool editor / every database
// 136    char[64] machineName      current machine (at most 56 bytes used)  machine dialogs / document
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace dorn {

struct ToolRecord {
  std::int32_t reserved0;
  std::int32_t spindleSpeed;
  std::int32_t fixedCycle;
  std::int32_t mCode;
  std::int32_t g84Twice;
  std::int32_t reserved20;
  std::int16_t hCode;
  std::int16_t dCode;
  std::int32_t reserved28;
  float diameter;
  float cornerRadius;
  float flatRadius;
  float tipAngle;
  float tipLength;
  float feed;
  float qValue;
  float pValue;
  float fluteLength;
  std::int32_t tNumber;
  std::int16_t reserved72;
  std::int16_t coolant;
  char secName[24];
};

static_assert(std::is_standard_layout_v<ToolRecord> && std::is_trivially_copyable_v<ToolRecord>);
static_assert(sizeof(ToolRecord) == 100);
static_assert(offsetof(ToolRecord, spindleSpeed) == 4);
static_assert(offsetof(ToolRecord, fixedCycle) == 8);
static_assert(offsetof(ToolRecord, mCode) == 12);
static_assert(offsetof(ToolRecord, g84Twice) == 16);
static_assert(offsetof(ToolRecord, reserved20) == 20);
static_assert(offsetof(ToolRecord, hCode) == 24);
static_assert(offsetof(ToolRecord, dCode) == 26);
static_assert(offsetof(ToolRecord, reserved28) == 28);
static_assert(offsetof(ToolRecord, diameter) == 32);
static_assert(offsetof(ToolRecord, cornerRadius) == 36);
static_assert(offsetof(ToolRecord, flatRadius) == 40);
static_assert(offsetof(ToolRecord, tipAngle) == 44);
static_assert(offsetof(ToolRecord, tipLength) == 48);
static_assert(offsetof(ToolRecord, feed) == 52);
static_assert(offsetof(ToolRecord, qValue) == 56);
static_assert(offsetof(ToolRecord, pValue) == 60);
static_assert(offsetof(ToolRecord, fluteLength) == 64);
static_assert(offsetof(ToolRecord, tNumber) == 68);
static_assert(offsetof(ToolRecord, reserved72) == 72);
static_assert(offsetof(ToolRecord, coolant) == 74);
static_assert(offsetof(ToolRecord, secName) == 76);

struct DbSelectionRecord {
  std::int32_t reserved;
  std::int32_t chosenFlags;
  char baseName[64];
  char toolName[64];
  char machineName[64];
};

static_assert(std::is_standard_layout_v<DbSelectionRecord> && std::is_trivially_copyable_v<DbSelectionRecord>);
static_assert(sizeof(DbSelectionRecord) == 200);
static_assert(offsetof(DbSelectionRecord, chosenFlags) == 4);
static_assert(offsetof(DbSelectionRecord, baseName) == 8);
static_assert(offsetof(DbSelectionRecord, toolName) == 72);
static_assert(offsetof(DbSelectionRecord, machineName) == 136);

inline constexpr std::int32_t kBaseChosen = 0x01;
inline constexpr std::int32_t kToolFolderChosen = 0x10;

}  // namespace dorn
