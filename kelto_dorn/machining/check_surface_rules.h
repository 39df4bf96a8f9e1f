#pragma once
// The check surfaces of a definition: 32 CheckSurfaceRow at record offset
// 112 (TYPE with the no-face-offset bit 15, side GT/LT/ZT, surface key). The
// window-free rules of the check-surface dialog.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "kelto_dorn/machining/machining_definition.h"

namespace dorn {

inline constexpr std::int32_t kCheckType = 1;
inline constexpr std::int32_t kModelType = 2;
inline constexpr std::int32_t kFilletType = 3;
inline constexpr std::int32_t kNoFaceOffset = 0x8000;
inline constexpr std::int32_t kSurfaceListCheckSurfaces = 0x1100;

inline constexpr CheckSurfaceRow kEmptyCheckSurfaceRow{1, 1, 0};

// A chosen surface: its key and kind code from its index record.
struct ChosenSurface {
  std::int32_t key;
  std::int32_t kindCode;
};

// The surfaces an answer of the surface list names, in the order chosen:
// the list ends at 0xFFFF, at the "all" answer 0x9999 and at an index
// outside the surface index table.
std::vector<ChosenSurface> ChosenSurfaces(std::span<const int> answer);

// Fills rows from `row` on with the chosen surfaces. Hole, taper and fillet
// definitions refuse surfaces above kind 0x6FFF: the row becomes (0, 0, 0)
// and the next surface takes it.
void FillCheckSurfaces(MachiningDefinition& d, int row, std::span<const ChosenSurface> chosen);

// The buttons of a row holding a surface: side GT <-> LT (FILLET stays ZT),
// TYPE CHECK -> MODEL -> FILLET -> CHECK (MODEL -> CHECK for hole, taper and
// fillet definitions), the face-offset bit. A row without a surface is left.
void CycleCheckSurfaceSide(MachiningDefinition& d, int row);
void CycleCheckSurfaceType(MachiningDefinition& d, int row);
void ToggleCheckSurfaceFaceOffset(MachiningDefinition& d, int row);

void DeleteCheckSurfaceRow(MachiningDefinition& d, int row);
void InsertCheckSurfaceRow(MachiningDefinition& d, int row);
// 登 録: rows with a surface close up in their order; the rest are empty.
void CompactCheckSurfaces(MachiningDefinition& d);
void ResetCheckSurfaces(MachiningDefinition& d);

}  // namespace dorn
