#pragma once
// Checks of records read from drawing and undo files, and of records before
// they are written: every floating value finite, layers in range.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "kelto_dorn/app/curve_record.h"
#include "kelto_dorn/app/figure_record.h"
#include "kelto_dorn/app/text_record.h"
#include "kelto_dorn/surfaces/surface_definition.h"

namespace dorn {

// The twelve doubles from the origin to the depth lie back to back; a value
// is not finite when all its exponent bits are set. Checked without branches,
// since the drawing loader checks every record it reads.
inline bool IsFiniteFigure(const FigureRecord& r) {
  static_assert(offsetof(FigureRecord, depth) - offsetof(FigureRecord, origin) == 11 * sizeof(double));
  constexpr std::uint64_t kExponent = 0x7FF0000000000000ull;
  std::uint64_t bits[12];
  std::memcpy(bits, &r.origin, sizeof bits);
  unsigned bad = 0;
  for (std::uint64_t b : bits) bad |= static_cast<unsigned>((b & kExponent) == kExponent);
  return bad == 0;
}

inline bool IsFiniteText(const TextRecord& r) {
  const float v[] = {r.size, r.angle, r.baseX, r.baseY, r.originX, r.originY};
  for (float f : v) {
    if (!std::isfinite(f)) return false;
  }
  return true;
}

inline bool IsFiniteCurve(const CurveRecord& r) {
  if (!std::isfinite(r.ipX) || !std::isfinite(r.ipY) || !std::isfinite(r.topZ) || !std::isfinite(r.endZ)) return false;
  for (float f : r.values) {
    if (!std::isfinite(f)) return false;
  }
  return true;
}

// Replaces every value of a surface that is not finite by 0; true when one
// was replaced.
inline bool ZeroNonFiniteSurfaceValues(SurfaceDefinition& s) {
  bool replaced = false;
  auto fix = [&](double& v) {
    if (!std::isfinite(v)) {
      v = 0.0;
      replaced = true;
    }
  };
  fix(s.z1);
  fix(s.z2);
  for (double& v : s.x) fix(v);
  for (double& v : s.y) fix(v);
  return replaced;
}

inline bool IsFiniteSurface(const SurfaceDefinition& s) {
  SurfaceDefinition copy = s;
  return !ZeroNonFiniteSurfaceValues(copy);
}

// A text layer that may be stored: a drawing layer 0-31 or the hidden 888.
inline bool IsStorableTextLayer(int layer) { return (layer >= 0 && layer < 32) || layer == kTextLayerHidden; }

}  // namespace dorn
