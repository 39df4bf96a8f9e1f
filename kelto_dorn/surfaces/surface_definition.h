#pragma once
// SurfaceDefinition: the 816-byte record of one 3-D surface, stored in the
// document's 256 surface slots and, in slot order, in the ".KWD" drawing file
// (a reset record ends the list there). Little-endian.
//
// | off | type      | field     | meaning                                        |
// |-----|-----------|-----------|------------------------------------------------|
// |   0 | int32     | key       | surface key; 0 in a reset record               |
// |   4 | int32     | kind      | SurfaceKind; 0 = no surface (ends the list)    |
// |   8 | int32     | mode      | low 12 bits variant; 0x1000 sections added     |
// |  12 | int32     | option    | kind-specific flags                            |
// |  16 | int32     | baseLine1 | curve key of base line 1 (guide line of FLT)   |
// |  20 | int32     | baseLine2 | curve key of base line 2 / plane curve / R line|
// |  24 | int32[32] | curvesA   | feed and section line keys; 0xFFFF none        |
// | 152 | int32[32] | curvesB   | rib / PS line keys, REF's surface key; 0xFFFF  |
// | 280 | int32     | zSurface1 | surface giving base line 1's Z (0 typed Z)     |
// | 284 | int32     | zSurface2 | surface giving base line 2's Z (0xFFFF none)   |
// | 288 | double    | z1        | Z of base line 1 (mm)                          |
// | 296 | double    | z2        | Z of base line 2 (mm)                          |
// | 304 | double[32]| x         | section positions, centres, R points (mm)      |
// | 560 | double[32]| y         | paired with x by index (mm)                    |
//
// Written by the surface commands and dialogs through g_curSurface; read by
// the machining definitions, the CAM data builder and the 3-D model.
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace dorn {

enum class SurfaceKind : std::int32_t {
  Roll = 0x1000,
  Xz = 0x2000,
  Gl = 0x2200,
  Yz = 0x3000,
  Xy = 0x4000,
  XyRib = 0x4400,
  Space = 0x4800,
  Scale = 0x4A00,
  Bl = 0x5000,
  BlRib = 0x5500,
  Ref = 0x6000,
  Fillet = 0x7000,
  FilletWall = 0x7200,
  PlusFillet = 0x7400,
  Wire4 = 0xC000,
  Wire2 = 0xC100,
};

inline constexpr int kSurfaceCurveKeys = 32;
inline constexpr int kSurfaceValues = 32;
// A curve-key entry that names no curve.
inline constexpr std::int32_t kNoCurveKey = 0xFFFF;

struct SurfaceDefinition {
  std::int32_t key = 0;
  std::int32_t kind = 0;
  std::int32_t mode = 0;
  std::int32_t option = 0;
  std::int32_t baseLine1 = 0;
  std::int32_t baseLine2 = 0;
  std::int32_t curvesA[kSurfaceCurveKeys] = {};
  std::int32_t curvesB[kSurfaceCurveKeys] = {};
  std::int32_t zSurface1 = 0;
  std::int32_t zSurface2 = 0;
  double z1 = 0.0;
  double z2 = 0.0;
  double x[kSurfaceValues] = {};
  double y[kSurfaceValues] = {};
};

static_assert(std::is_standard_layout_v<SurfaceDefinition>);
static_assert(sizeof(SurfaceDefinition) == 816);
static_assert(offsetof(SurfaceDefinition, kind) == 4);
static_assert(offsetof(SurfaceDefinition, mode) == 8);
static_assert(offsetof(SurfaceDefinition, option) == 12);
static_assert(offsetof(SurfaceDefinition, baseLine1) == 16);
static_assert(offsetof(SurfaceDefinition, baseLine2) == 20);
static_assert(offsetof(SurfaceDefinition, curvesA) == 24);
static_assert(offsetof(SurfaceDefinition, curvesB) == 152);
static_assert(offsetof(SurfaceDefinition, zSurface1) == 280);
static_assert(offsetof(SurfaceDefinition, zSurface2) == 284);
static_assert(offsetof(SurfaceDefinition, z1) == 288);
static_assert(offsetof(SurfaceDefinition, z2) == 296);
static_assert(offsetof(SurfaceDefinition, x) == 304);
static_assert(offsetof(SurfaceDefinition, y) == 560);

// The reset record: every int and double 0, every curve key 0xFFFF.
SurfaceDefinition ResetSurfaceDefinition();

}  // namespace dorn
