#pragma once
// StepCondition: the cutting conditions of one process step, 408 bytes, stored
// whole in the drawing's definition file and in capsules (12 per
// MachiningDefinition, step s at definition offset 9040 + 408 s). Each step has
// its tool beside it in AtcRecord layout. Lengths mm, angles degrees, feeds
// mm/min. "new" is what ClearStepCondition writes.
//
// offset type    field                 meaning                                   new
//   0    int32   switch0               step switch (model steps set 1)            0
//   4    int32   stepMode              0 plain, 1 area cut, 10 chamfer            0
//   8    int32   switch8               cleared by the step reset                  0
//  12    int32   bottomFlag            bottom (0/1); depth fixed by the hole      0
//                                      depth computation
//  16    int32   contourCentreFlag     contour centre (0/1)                       0
//  20    int32   colour                palette index, normally 0..31 (a step      1
//                                      added after colour 31 holds 32)
//  24    int32   surfaceKey            surface giving the reference Z, 0 none     0
//  28    int32   chamferTipShape       0 flat, 1 ball                             0
//  32    int32   word32                repeat in-use test of the first block      0
//  36    4 B     reserved36            kept as stored
//  40    double  depth                 start depth; the drawing's global Z        0.0 / global Z
//                                      when its switch holds 9999
//  48    double  endDepth              end depth, or contour reference Z          0.0
//  56    double  areaCutValue          non-zero with mode 1                       0.0
//  64    double  value64               (scale centre X of a wire step)            0.0
//  72    double  value72               (scale centre Y of a wire step)            0.0
//  80    double  contourStock                                                     0.0
//  88    double  bottomZStock                                                     0.0
//  96    double  chamferTipDiameter    also the helical slope angle               0.0
// 104    double  chamferToolPosition                                              0.0
// 112    double  chamferSize           chamfer C; also the helical diameter       0.0
// 120    double  toolDownAmount                                                   defaults 64
// 128    double  downFeed                                                         defaults 72
// 136    float   float136                                                         0.0
// 140    float   overrun               0.0 or 1.0                                 0.0
// 144    int32   word144                                                          0
// 148    int32   zone1Key              ZONE figure [1]; 0xFFFF for a point        0
// 152    int32   word152                                                          0
// 156    int32   word156               hole cycle word; cleared by the reset      0
// 160    int32   word160                                                          0
// 164    4 B     reserved164           kept as stored
// 168    double  toolMoveZ                                                        defaults 32
// 176    double  value176                                                         0.0
// 184    double  zone1X, zone1Y (192)  ZONE point 1                               0.0
// 200    int32   word200                                                          0
// 204    int32   zone2Key              ZONE figure [2]; 0xFFFF for a point        0
// 208    int32   word208               cleared by the reset                       0
// 212    4 B     pad212                                                           0
// 216    double  value216                                                         0.0
// 224    double  zone2X, zone2Y (232)  ZONE point 2                               0.0
// 240    int32   approachOn, approachKind (244), compensationOn (248),            0
//                compensationD (252)
// 256    double  feedCode              F_CODE                                     defaults 80
// 264    double  value264              (wire division amount)                     0.0
// 272    double  value272, value280 (280)                                         0.0
// 288    int32   escapeOn, escapeKind (292)                                       0
// 296    double  secondFeedCode                                                   defaults 80
// 304    double  value304, value312, value320                                     0.0
// 328    2 x 40  repeat / section blocks (RepeatBlock)                            0
//
// RepeatBlock, 40 bytes: int32 inUse at 0, int32 escapeStamp at 4, int32
// figureKey at 8 (the UNI section figure), int32 kind at 12 (2 and 7 are Z
// repeats; 9 the cleared value of a 3-axis definition), doubles at 16, 24
// (the in-use test) and 32.
//
// Writers: the definition dialogs and their condition sub-dialogs, the resets
// here. Readers: the dialogs, the CAM data builder, capsules.
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace dorn {

struct RepeatBlock {
  std::int32_t inUse;
  std::int32_t escapeStamp;
  std::int32_t figureKey;
  std::int32_t kind;
  double first;
  double second;
  double third;
};
static_assert(sizeof(RepeatBlock) == 40);
static_assert(offsetof(RepeatBlock, kind) == 12);
static_assert(offsetof(RepeatBlock, first) == 16);
static_assert(offsetof(RepeatBlock, second) == 24);
static_assert(offsetof(RepeatBlock, third) == 32);

struct StepCondition {
  std::int32_t switch0;
  std::int32_t stepMode;
  std::int32_t switch8;
  std::int32_t bottomFlag;
  std::int32_t contourCentreFlag;
  std::int32_t colour;
  std::int32_t surfaceKey;
  std::int32_t chamferTipShape;
  std::int32_t word32;
  std::uint8_t reserved36[4];
  double depth;
  double endDepth;
  double areaCutValue;
  double value64;
  double value72;
  double contourStock;
  double bottomZStock;
  double chamferTipDiameter;
  double chamferToolPosition;
  double chamferSize;
  double toolDownAmount;
  double downFeed;
  float float136;
  float overrun;
  std::int32_t word144;
  std::int32_t zone1Key;
  std::int32_t word152;
  std::int32_t word156;
  std::int32_t word160;
  std::uint8_t reserved164[4];
  double toolMoveZ;
  double value176;
  double zone1X;
  double zone1Y;
  std::int32_t word200;
  std::int32_t zone2Key;
  std::int32_t word208;
  std::int32_t pad212;
  double value216;
  double zone2X;
  double zone2Y;
  std::int32_t approachOn;
  std::int32_t approachKind;
  std::int32_t compensationOn;
  std::int32_t compensationD;
  double feedCode;
  double value264;
  double value272;
  double value280;
  std::int32_t escapeOn;
  std::int32_t escapeKind;
  double secondFeedCode;
  double value304;
  double value312;
  double value320;
  RepeatBlock repeat[2];
};

static_assert(std::is_standard_layout_v<StepCondition> && std::is_trivially_copyable_v<StepCondition>);
static_assert(sizeof(StepCondition) == 408);
static_assert(offsetof(StepCondition, stepMode) == 4);
static_assert(offsetof(StepCondition, switch8) == 8);
static_assert(offsetof(StepCondition, bottomFlag) == 12);
static_assert(offsetof(StepCondition, contourCentreFlag) == 16);
static_assert(offsetof(StepCondition, colour) == 20);
static_assert(offsetof(StepCondition, surfaceKey) == 24);
static_assert(offsetof(StepCondition, chamferTipShape) == 28);
static_assert(offsetof(StepCondition, word32) == 32);
static_assert(offsetof(StepCondition, depth) == 40);
static_assert(offsetof(StepCondition, endDepth) == 48);
static_assert(offsetof(StepCondition, areaCutValue) == 56);
static_assert(offsetof(StepCondition, value64) == 64);
static_assert(offsetof(StepCondition, value72) == 72);
static_assert(offsetof(StepCondition, contourStock) == 80);
static_assert(offsetof(StepCondition, bottomZStock) == 88);
static_assert(offsetof(StepCondition, chamferTipDiameter) == 96);
static_assert(offsetof(StepCondition, chamferToolPosition) == 104);
static_assert(offsetof(StepCondition, chamferSize) == 112);
static_assert(offsetof(StepCondition, toolDownAmount) == 120);
static_assert(offsetof(StepCondition, downFeed) == 128);
static_assert(offsetof(StepCondition, float136) == 136);
static_assert(offsetof(StepCondition, overrun) == 140);
static_assert(offsetof(StepCondition, word144) == 144);
static_assert(offsetof(StepCondition, zone1Key) == 148);
static_assert(offsetof(StepCondition, word152) == 152);
static_assert(offsetof(StepCondition, word156) == 156);
static_assert(offsetof(StepCondition, word160) == 160);
static_assert(offsetof(StepCondition, toolMoveZ) == 168);
static_assert(offsetof(StepCondition, value176) == 176);
static_assert(offsetof(StepCondition, zone1X) == 184);
static_assert(offsetof(StepCondition, zone1Y) == 192);
static_assert(offsetof(StepCondition, word200) == 200);
static_assert(offsetof(StepCondition, zone2Key) == 204);
static_assert(offsetof(StepCondition, word208) == 208);
static_assert(offsetof(StepCondition, value216) == 216);
static_assert(offsetof(StepCondition, zone2X) == 224);
static_assert(offsetof(StepCondition, zone2Y) == 232);
static_assert(offsetof(StepCondition, approachOn) == 240);
static_assert(offsetof(StepCondition, approachKind) == 244);
static_assert(offsetof(StepCondition, compensationOn) == 248);
static_assert(offsetof(StepCondition, compensationD) == 252);
static_assert(offsetof(StepCondition, feedCode) == 256);
static_assert(offsetof(StepCondition, value264) == 264);
static_assert(offsetof(StepCondition, value272) == 272);
static_assert(offsetof(StepCondition, value280) == 280);
static_assert(offsetof(StepCondition, escapeOn) == 288);
static_assert(offsetof(StepCondition, escapeKind) == 292);
static_assert(offsetof(StepCondition, secondFeedCode) == 296);
static_assert(offsetof(StepCondition, value304) == 304);
static_assert(offsetof(StepCondition, value312) == 312);
static_assert(offsetof(StepCondition, value320) == 320);
static_assert(offsetof(StepCondition, repeat) == 328);

}  // namespace dorn
