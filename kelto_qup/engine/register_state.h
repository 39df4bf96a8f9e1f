#pragma once
// The element registers: the four working copies of element records on which
// every engine routine works, their 9-level save stack, and the scalar words
// beside them. One instance lives in the run context for the program's life.
#include <array>
#include <cstdint>

#include "shared/handover/nc_element.h"

namespace qup {

using handover::NcElement;

// dst takes every field of src except its own d6/d7.
inline void AssignKeepTail(NcElement& dst, const NcElement& src) {
  const double d6 = dst.d6;
  const double d7 = dst.d7;
  dst = src;
  dst.d6 = d6;
  dst.d7 = d7;
}

// Register numbers: current element, next element, current command, work block.
enum RegisterIndex : int { kR0 = 0, kR1 = 1, kR2 = 2, kR3 = 3 };

// A double carrying two unsigned integers: the integer part and millionths.
struct FixedPointPair {
  std::uint32_t whole = 0;       // integer part (a range's first element)
  std::uint32_t millionths = 0;  // fraction in millionths (a range's last)
  friend bool operator==(const FixedPointPair&, const FixedPointPair&) = default;
};

struct RegisterState {
  // R0 .. R3 in that order, so that the whole set copies as one block.
  std::array<NcElement, 4> R{};

  // Nine levels, each one copy of R0 .. R3; depth 0 to 9.
  static constexpr int kStackLevels = 9;
  std::array<std::array<NcElement, 4>, kStackLevels> RegisterStack{};
  int RegisterStackDepth = 0;

  // Length of WorkVector after NormalizeWorkVector; IntersectWithNext leaves
  // the kind of meeting here (1.0 crossing, 0.0 touching, or a discriminant).
  double WorkLength = 0.0;
  // The angle (degrees) from which UpdateRotationCosSin fills WorkVector.
  double WorkAngle = 0.0;
  // Result record of IntersectLineWithCurve.
  NcElement CurveHitRecord{};

  // Pairs left by UnpackCommandValue.
  FixedPointPair CommandValue1Pair{};
  FixedPointPair CommandValue2Pair{};
  FixedPointPair CommandValue6Pair{};
  FixedPointPair UnpackedPair{};
};

}  // namespace qup
