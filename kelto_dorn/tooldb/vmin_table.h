#pragma once
// The cutting-speed calculator's settings and arithmetic: spindle speeds and
// feeds from a work material, a tool kind and the tool diameter, written into
// the records of the open tool folder either over the records there ("編集")
// or as a new series of stepped diameters ("新規").
//
// VminTable, 128 bytes, little-endian, the whole content of "$DB_Vmin.@@@" in
// the data root (written by the calculator after each set-up, read when it
// opens).
//
// offset type     field              meaning
//   0    int32    material           index in Materials(), -1 none
//   4    int32    toolKind           index in ToolKinds(), -1 none
//   8    int32    updateMode         0 new series ("新規"), 1 edit the records ("編集")
//  12    int32    endShape           0 ball, 1 flat, 2 bull nose
//  16    int32    gCode              fixed cycle written into the records, 0 none
//  20    int32    reserved20
//  24    double   diameterFrom       mm, first diameter of a new series
//  32    double   diameterTo         mm, last diameter of a new series
//  40    double   diameterPitch      mm, step of a new series
//  48    double   fluteLength        mm
//  56    double   tipAngleOrCorner   degrees (ball, flat) or corner radius mm (bull nose)
//  64    double   cuttingSpeed       Vc, m/min
//  72    double   axialRatio         Ad, fraction of the diameter
//  80    double   radialRatio        Rd, fraction of the diameter
//  88    double   kindFactor         set by each computation
//  96    double   baseValue          set by each computation
// 104    char[24] secName            name of new records, filter of edited ones (12 bytes used)
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

#include "platform/record_file.h"

namespace dorn {

class DocToolTable;

struct VminTable {
  std::int32_t material;
  std::int32_t toolKind;
  std::int32_t updateMode;
  std::int32_t endShape;
  std::int32_t gCode;
  std::int32_t reserved20;
  double diameterFrom;
  double diameterTo;
  double diameterPitch;
  double fluteLength;
  double tipAngleOrCorner;
  double cuttingSpeed;
  double axialRatio;
  double radialRatio;
  double kindFactor;
  double baseValue;
  char secName[24];
};

static_assert(std::is_standard_layout_v<VminTable> && std::is_trivially_copyable_v<VminTable>);
static_assert(sizeof(VminTable) == 128);
static_assert(offsetof(VminTable, updateMode) == 8);
static_assert(offsetof(VminTable, gCode) == 16);
static_assert(offsetof(VminTable, diameterFrom) == 24);
static_assert(offsetof(VminTable, fluteLength) == 48);
static_assert(offsetof(VminTable, cuttingSpeed) == 64);
static_assert(offsetof(VminTable, radialRatio) == 80);
static_assert(offsetof(VminTable, baseValue) == 96);
static_assert(offsetof(VminTable, secName) == 104);

inline constexpr int kEndShapeBall = 0;
inline constexpr int kEndShapeFlat = 1;
inline constexpr int kEndShapeBullNose = 2;
inline constexpr int kUpdateNewSeries = 0;
inline constexpr int kUpdateEdit = 1;

// The one settings record of the calculator.
extern VminTable g_vminTable;

// The settings of a missing file: no material or tool kind, new series, flat
// end, both depth ratios 0.5, every other number 0, no SEC name.
VminTable DefaultVminTable();

// Reads "$DB_Vmin.@@@". A missing file gives the defaults; a damaged one
// (wrong size, unreadable) gives the defaults too, is reported in the result
// and marks the file so that WriteVminTable leaves it alone.
platform::FileResult ReadVminTable();
// Writes the settings whole; refused while the file on disk could not be read.
platform::FileResult WriteVminTable();

struct MaterialEntry {
  const char* nameUtf8;
  double cuttingSpeed[3];  // Vc in m/min for tool classes 0, 1, 2
  double baseValues[17];   // at kBaseDiameters
};
struct ToolKindEntry {
  const char* nameUtf8;
  int toolClass;
  double factor;
};
inline constexpr double kBaseDiameters[17] = {1, 2, 3, 5, 6, 8, 10, 12, 15, 18, 20, 25, 30, 35, 40, 45, 50};

std::span<const MaterialEntry> Materials();
std::span<const ToolKindEntry> ToolKinds();

// The Vc of the chosen material for the chosen tool kind's class, or nothing
// (a negative value) while either is not chosen.
double TableCuttingSpeed(const VminTable& settings);

struct BaseValue {
  double kindFactor;
  double baseValue;
};
// The kind factor (1.5 without a tool kind) and the material's base value at
// diameter d (row 1 without a material), interpolated between the table's
// diameters; from 50 mm on the value at 50. Below 1 mm the value at 1 mm is
// scaled down to 0 at d = 0, so a small tool gets a small finite value.
BaseValue InterpolateBaseValue(const VminTable& settings, double d);

// S = whole part of Vc x 320 / d; F = whole part of kind factor x base value
// x Vc x d / (d x d x Rd x Ad). A diameter or ratio that is not above 0 gives
// 0; a result beyond the int range is held at its end.
int SpindleSpeedFor(const VminTable& settings, double d);
int FeedFor(const VminTable& settings, double d);

// What a set-up ended with: 0 done, or the message to show (100 conditions,
// 101 no material or tool kind, 102 too many records, the series stopped).
struct SetupResult {
  int message = 0;
  int recordCount = 0;  // the tool folder's record count afterwards
  bool applied = false;
};

// "セットＵＰ" over the first recordCount records of `table`, as the settings'
// update mode says. Writes neither the settings nor the tool file.
SetupResult ApplyToolSetup(DocToolTable& table, int recordCount, VminTable& settings);

}  // namespace dorn
