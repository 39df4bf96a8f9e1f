#pragma once
// AtcRecord: one tool in one machine, 168 bytes, little-endian, the same bytes
// in memory and in the files. The same layout serves three roles: a row of a
// machine's ATC table ("$ATC_DBS.@@@"), a row of a hole process and the tool of
// each process step of a machining definition. A tool always travels as a whole
// copy of such a record.
//
// offset type     field            unit / meaning                         writer / reader
//   0    int32    inUse            0 empty; 1 in use; 10 + list position    ATC editor, loader / every list
//                                  while a tool list shows it
//   4    int32    atcNumber        1-based; the loader sets slot + 1        loader, editor / lists, CAM data
//   8    int32    spindleSpeed     S word, 0 none                           editor, calculator / CAM data
//  12    int32    cannedCycle      G code of the drilling cycle; >= 1       editor / hole kinds
//                                  marks a hole-making tool
//  16    int32    mCode            0 none                                   editor / CAM data
//  20    int32    tapTwice         1 on, anything else off                  editor / CAM data
//  24    int32    kCode            0 none                                   tool detail dialog / CAM data
//  28    int16    hCode            length offset number, 0 none             editor / CAM data
//  30    int16    dCode            radius offset number, 0 none             editor / step page
//  32    int32    stepWord         0 in ATC and hole rows; kept by a step   step page / definitions
//                                  across a tool change
//  36    float32  diameter         mm; a real tool when > 0                 editor / everything
//  40    float32  cornerRadius     mm                                       editor / depths, paths
//  44    float32  flatRadius       mm, radius of the flat bottom            editor / paths
//  48    float32  tipAngle         degrees (drills: included angle)         editor / chamfer test
//  52    float32  tipLength        mm                                       editor / depths
//  56    float32  feed             F word, mm/min                           editor, defaults / CAM data
//  60    float32  peckDepth        Q word, mm                               editor / CAM data
//  64    float32  pCode            P word                                   editor / CAM data
//  68    float32  fluteLength      mm                                       editor / depths
//  72    int32    outputTNumber    0 none                                   editor / CAM data
//  76    int16    postMCode        0 none                                   tool detail dialog / CAM data
//  78    int16    coolant          0 none, 1 oil, 2 air, 3 S-oil, 4 S-air   editor / CAM data
//  80    char[24] secName          name of the tool record it came from     editor / lists, matching
// 104    char[64] toolName         tool folder it came from                 editor / lists, refresh
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace dorn {

struct AtcRecord {
  std::int32_t inUse;
  std::int32_t atcNumber;
  std::int32_t spindleSpeed;
  std::int32_t cannedCycle;
  std::int32_t mCode;
  std::int32_t tapTwice;
  std::int32_t kCode;
  std::int16_t hCode;
  std::int16_t dCode;
  std::int32_t stepWord;
  float diameter;
  float cornerRadius;
  float flatRadius;
  float tipAngle;
  float tipLength;
  float feed;
  float peckDepth;
  float pCode;
  float fluteLength;
  std::int32_t outputTNumber;
  std::int16_t postMCode;
  std::int16_t coolant;
  char secName[24];
  char toolName[64];
};

static_assert(std::is_standard_layout_v<AtcRecord> && std::is_trivially_copyable_v<AtcRecord>);
static_assert(sizeof(AtcRecord) == 168);
static_assert(offsetof(AtcRecord, inUse) == 0);
static_assert(offsetof(AtcRecord, atcNumber) == 4);
static_assert(offsetof(AtcRecord, spindleSpeed) == 8);
static_assert(offsetof(AtcRecord, cannedCycle) == 12);
static_assert(offsetof(AtcRecord, mCode) == 16);
static_assert(offsetof(AtcRecord, tapTwice) == 20);
static_assert(offsetof(AtcRecord, kCode) == 24);
static_assert(offsetof(AtcRecord, hCode) == 28);
static_assert(offsetof(AtcRecord, dCode) == 30);
static_assert(offsetof(AtcRecord, stepWord) == 32);
static_assert(offsetof(AtcRecord, diameter) == 36);
static_assert(offsetof(AtcRecord, cornerRadius) == 40);
static_assert(offsetof(AtcRecord, flatRadius) == 44);
static_assert(offsetof(AtcRecord, tipAngle) == 48);
static_assert(offsetof(AtcRecord, tipLength) == 52);
static_assert(offsetof(AtcRecord, feed) == 56);
static_assert(offsetof(AtcRecord, peckDepth) == 60);
static_assert(offsetof(AtcRecord, pCode) == 64);
static_assert(offsetof(AtcRecord, fluteLength) == 68);
static_assert(offsetof(AtcRecord, outputTNumber) == 72);
static_assert(offsetof(AtcRecord, postMCode) == 76);
static_assert(offsetof(AtcRecord, coolant) == 78);
static_assert(offsetof(AtcRecord, secName) == 80);
static_assert(offsetof(AtcRecord, toolName) == 104);

// Coolant words shared by tool and ATC records.
inline constexpr int kCoolantNone = 0;
inline constexpr int kCoolantLast = 4;  // 1 oil, 2 air, 3 S-oil, 4 S-air

}  // namespace dorn
