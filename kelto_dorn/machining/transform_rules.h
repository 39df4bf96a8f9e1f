#pragma once
// The transform conditions of a definition: MOVE and multi-piece entries
// (translate, rotate, mirror), the rotations about a machine axis, the
// shrink percentages and the axis conversion. The window-free rules of
// their dialogs: what 登録 and RESET leave in the record.
#include <cstdint>

#include "kelto_dorn/machining/machining_definition.h"

namespace dorn {

// Functions of MOVE and multi-piece entries.
inline constexpr int kTransformNone = 0;
inline constexpr int kTransformTranslate = 1;
inline constexpr int kTransformRotate = 2;
inline constexpr int kTransformMirror = 3;

inline constexpr std::int32_t kMultiPieceBsr = 0x1000;

// 登録: an entry is active while its function is set.
void RegisterMoveEntries(MachiningDefinition& d);
void ResetMoveEntries(MachiningDefinition& d);
// 登録: an entry without pieces is switched off whole, the others are
// active while their function is set.
void RegisterMultiPieceEntries(MachiningDefinition& d);
void ResetMultiPieceEntries(MachiningDefinition& d);
// A mirror makes one piece.
void KeepMirrorCountOne(MultiPieceEntry& e);
void RegisterRotations(MachiningDefinition& d);
void ResetRotations(MachiningDefinition& d);

// BSR and CSR are offered only while check-surface row 1 holds a surface.
bool HasFirstCheckSurface(const MachiningDefinition& d);

// The shrink condition: a view of the 32 bytes at 5488 that it shares with
// the corner feed. Active 1; percentages per axis.
struct ShrinkSettings {
  std::int32_t active;
  std::int32_t unused;
  double x, y, z;
};
inline constexpr std::int32_t kShrinkActive = 1;
ShrinkSettings ReadShrink(const MachiningDefinition& d);
void WriteShrink(MachiningDefinition& d, const ShrinkSettings& s);
// What the shrink dialog starts from: the stored percentages while the
// switch says shrink, else 100 % on every axis (corner-feed values are not
// percentages).
ShrinkSettings ShrinkStartValues(const MachiningDefinition& d);
// 登録: inactive when every axis is 0.
void RegisterShrink(ShrinkSettings& s);

// The axis conversion word at 28: 0 off, 2 XZ, 3 YZ.
inline std::int32_t& AxisConversion(MachiningDefinition& d) { return d.general16[3]; }

}  // namespace dorn
