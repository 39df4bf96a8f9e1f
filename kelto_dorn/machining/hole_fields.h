#pragma once
// What the hole kinds (0xB400 hole, 0xB800 helical, 0xBC00 deep hole) keep in
// the general areas of a MachiningDefinition, as typed views, and the chamfer
// detail that governs chamfering a hole with a 90-degree tool.
//
// offset  type    field                              writer / reader
//    16   int32   data format: 0 main, 10 sub        hole dialog / CAM data
//    20   int32   return level: 0 G98 (I point),     hole dialogs / CAM data
//                 1 G99 (R point)
//   512   double  chamfer size C      (pair 0, value 0)  hole dialog / CAM data
//   520   double  cutting offset      (pair 0, value 1)
//   560   double  down feed rate      (pair 1, value 1)
//   568   double  approach feed rate  (pair 1, value 2)
//
// In a hole step (StepCondition): switch8 is the through flag, bottomFlag
// the depth-fixed flag, depth (40) the machining surface Z and endDepth (48)
// the hole depth; word156 the cycle word.
//
// ChamferDetail, "$MenHc.@@@" in the program folder, 32 bytes, four doubles:
// C (0.5), cutting position offset (0.0), down feed rate (1.0) and approach
// feed rate (1.0); written by the chamfer detail dialog, read by the hole
// dialog, which copies it into the definition.
#include <cstddef>
#include <cstdint>

#include "kelto_dorn/machining/machining_definition.h"
#include "platform/record_file.h"

namespace dorn {

inline constexpr int kHoleDataMain = 0;
inline constexpr int kHoleDataSub = 10;

inline std::int32_t& HoleDataFormat(MachiningDefinition& d) { return d.general16[0]; }
inline std::int32_t& HoleReturnLevel(MachiningDefinition& d) { return d.general16[1]; }
// The chamfer copy lies in the bytes of the rotation entries, which hole
// kinds do not use for rotations.
inline double& HoleChamferSize(MachiningDefinition& d) { return d.rotations[0].angle; }
inline double& HoleChamferOffset(MachiningDefinition& d) { return d.rotations[0].centre[0]; }
inline double& HoleChamferDownRate(MachiningDefinition& d) { return d.rotations[1].centre[0]; }
inline double& HoleChamferApproachRate(MachiningDefinition& d) { return d.rotations[1].centre[1]; }

static_assert(offsetof(MachiningDefinition, general16) + 0 * sizeof(std::int32_t) == 16);
static_assert(offsetof(MachiningDefinition, general16) + 1 * sizeof(std::int32_t) == 20);
static_assert(offsetof(MachiningDefinition, rotations) + offsetof(RotationEntry, angle) == 512);
static_assert(offsetof(MachiningDefinition, rotations) + offsetof(RotationEntry, centre) == 520);
static_assert(offsetof(MachiningDefinition, rotations) + sizeof(RotationEntry) + offsetof(RotationEntry, centre) == 560);
static_assert(offsetof(MachiningDefinition, rotations) + sizeof(RotationEntry) + offsetof(RotationEntry, centre) + 8 ==
              568);

struct ChamferDetail {
  double size = 0.5;
  double offset = 0.0;
  double downRate = 1.0;
  double approachRate = 1.0;
};
static_assert(sizeof(ChamferDetail) == 32 && std::is_standard_layout_v<ChamferDetail>);

inline constexpr char kChamferDetailFileName[] = "$MenHc.@@@";

// The program's chamfer detail (the dialogs edit it in place).
extern ChamferDetail g_chamferDetail;

// Reads "$MenHc.@@@": missing gives the defaults (status Missing); a wrong
// size or a value that is not a finite number is reported and gives the
// defaults too.
platform::FileResult ReadChamferDetail(ChamferDetail& out);
// Writes the record; a failure is reported and the values stay in memory.
platform::FileResult WriteChamferDetail(const ChamferDetail& detail);

// The definition's copy of the four values, and back.
void CopyChamferDetailToDefinition(const ChamferDetail& detail, MachiningDefinition& d);
ChamferDetail ChamferDetailOfDefinition(MachiningDefinition& d);

}  // namespace dorn
