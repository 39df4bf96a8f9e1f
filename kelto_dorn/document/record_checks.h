#pragma once
// Checks of records read from drawing and undo files, and of records before
// they are written: every floating value finite, layers in range.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "kelto_dorn/app/curve_record.h"
#include "kelto_dorn/app/figure_record.h"
#include "kelto_dorn/app/text_record.h"
#include "kelto_dorn/surfaces/surface_definition.h"

namespace dorn {

// A value is not finite when all its exponent bits are set. The figure
// check reads the twelve doubles in place and without branches, since the
// drawing loader checks every record it reads.
inline unsigned NotFiniteBit(double d) {
  constexpr std::uint64_t kExponent = 0x7FF0000000000000ull;
  return static_cast<unsigned>((std::bit_cast<std::uint64_t>(d) & kExponent) == kExponent);
}

inline bool IsFiniteFigure(const FigureRecord& r) {
  const unsigned bad = NotFiniteBit(r.origin.x) | NotFiniteBit(r.origin.y) | NotFiniteBit(r.start.x) |
                       NotFiniteBit(r.start.y) | NotFiniteBit(r.end.x) | NotFiniteBit(r.end.y) |
                       NotFiniteBit(r.centre.x) | NotFiniteBit(r.centre.y) | NotFiniteBit(r.dir.x) |
                       NotFiniteBit(r.dir.y) | NotFiniteBit(r.radius) | NotFiniteBit(r.depth);
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
