#include "kelto_dorn/machining/transform_rules.h"

namespace dorn {

void RegisterMoveEntries(MachiningDefinition& d) {
  for (MoveEntry& e : d.moveEntries) e.word0 = e.word4 != kTransformNone ? 1 : 0;
}

void ResetMoveEntries(MachiningDefinition& d) {
  for (MoveEntry& e : d.moveEntries) {
    e.word0 = e.word4 = e.figureKey = 0;
    e.value[0] = e.value[1] = e.value[2] = 0.0;
  }
}

void RegisterMultiPieceEntries(MachiningDefinition& d) {
  for (MultiPieceEntry& e : d.multiPieceEntries) {
    if (e.word[3] == 0) e.word[0] = e.word[1] = 0;
    e.word[0] = e.word[1] != kTransformNone ? (e.word[0] | 1) : 0;
  }
}

void ResetMultiPieceEntries(MachiningDefinition& d) {
  for (MultiPieceEntry& e : d.multiPieceEntries) {
    e.word[0] = e.word[1] = e.word[2] = e.word[3] = 0;
    e.figureKey = 0;
    e.value[0] = e.value[1] = e.value[2] = 0.0;
  }
}

void KeepMirrorCountOne(MultiPieceEntry& e) {
  if (e.word[1] == kTransformMirror) e.word[3] = 1;
}

void RegisterRotations(MachiningDefinition& d) {
  for (RotationEntry& r : d.rotations) r.active = r.axis != 0 ? 1 : 0;
}

void ResetRotations(MachiningDefinition& d) {
  for (RotationEntry& r : d.rotations) {
    r.active = r.option = r.axis = 0;
    r.angle = r.centre[0] = r.centre[1] = 0.0;
  }
}

bool HasFirstCheckSurface(const MachiningDefinition& d) { return d.checkSurfaces[0].surfaceKey != 0; }

ShrinkSettings ReadShrink(const MachiningDefinition& d) {
  return ShrinkSettings{d.cornerSwitch, 0, d.cornerDistance, d.cornerRate, d.shrinkZ};
}

void WriteShrink(MachiningDefinition& d, const ShrinkSettings& s) {
  d.cornerSwitch = s.active;
  d.cornerDistance = s.x;
  d.cornerRate = s.y;
  d.shrinkZ = s.z;
}

ShrinkSettings ShrinkStartValues(const MachiningDefinition& d) {
  if (d.cornerSwitch == kShrinkActive) return ReadShrink(d);
  return ShrinkSettings{0, 0, 100.0, 100.0, 100.0};
}

void RegisterShrink(ShrinkSettings& s) {
  if (s.x == 0.0 && s.y == 0.0 && s.z == 0.0) s.active = 0;
}

}  // namespace dorn
