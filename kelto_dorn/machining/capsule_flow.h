#pragma once
// Capsule machining: a saved capsule is appended to the drawing's
// definitions, then one definition after the other the user picks the
// curves that take the place of the capsule's curves and confirms the
// machining face and bottom Z in the capsule dialog. After "OK(輪郭確定）"
// or "同カプセルで続行" (and always for holes) the following definitions take
// the same curves and Z values without asking. Ending the first pick
// without a curve, or cancelling the dialog, drops every appended
// definition. The state lives in machining_state.h.
#include <optional>
#include <string_view>

namespace dorn {

struct MachiningDefinition;

// End codes of the capsule dialog besides OK (1) and Cancel (2).
inline constexpr int kCapsuleAllConfirmed = 1602;
inline constexpr int kCapsuleContourConfirmed = 1603;
inline constexpr int kCapsuleSameAgain = 1604;

// Appends the capsule g_capsuleName and starts the capsule command. False
// when nothing was appended (no such capsule, a damaged one, a full table,
// or a drawing without curves); the command then ends at once.
bool LoadCapsule();

// One pass of the capsule command (DefineMachining 33190), re-entered after
// each pick.
void ApplyCapsule();

// The depth of the first of steps 1-8 whose tool is a chamfering tool
// (SEC name holds "面取"); none without such a step.
std::optional<double> ChamferStepDepth(const MachiningDefinition& d);

// Gives every step of the working definition the face Z as its depth and
// the bottom Z as its reference Z, then the kind's own rule: a plane
// contour's Z-repeat rows span face to bottom, a hole's R point and step
// ends follow the face, a helical or deep hole's R point too.
void ApplyCapsuleZ(double faceZ, double bottomZ);

// The hole rule with the face Z f on steps 1-8 of the working definition:
// R point = default R point + f; a step deeper than its tool's flute
// reaches ends at depth - flute length; computed ends recomputed.
void ApplyCapsuleHoleRule(double faceZ);

}  // namespace dorn
