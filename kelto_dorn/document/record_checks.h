#pragma once
// Checks of records read from drawing and undo files, and of records before
// they are written: every floating value finite, layers and ranges in reach.
// The save and the load ask the same questions, so a record that the load
// would drop is never saved as if it were sound.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "kelto_dorn/app/curve_record.h"
#include "kelto_dorn/app/definition_index_record.h"
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

// A figure that a table can hold: layer 0-31 and every value a number.
inline bool IsStorableFigure(const FigureRecord& r) { return r.layer >= 0 && r.layer < 32 && IsFiniteFigure(r); }

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

// A curve spanning this many figures or more is taken as damaged.
inline constexpr int kCurveFigureLimit = 56000;

// Why a curve cannot be kept, or nullptr when it can: its layer, its figure
// range within the `curveFigures` figures of table 90 (not empty, fewer than
// 56000), its values.
inline const char* CurveFault(const CurveRecord& c, int curveFigures) {
  if (c.layer < 0 || c.layer >= 32) return "its layer is outside 1..32";
  if (c.first < 0 || c.first >= c.end || c.end - c.first >= kCurveFigureLimit || c.end > curveFigures) {
    return "its figure range is empty or lies outside the curve figures";
  }
  if (!IsFiniteCurve(c)) return "a value (IP point, TOP Z, END Z or a taper value) is not a number";
  return nullptr;
}

// Why a definition name cannot be kept in a table of `slots` slots, or
// nullptr: its slot must lie in the table, and a key of 0 ends the table.
inline const char* IndexRecordFault(const DefinitionIndexRecord& r, int slots) {
  if (r.slot < 0 || r.slot >= slots) return "its slot is outside the table";
  if (r.key == 0) return "its key is 0";
  return nullptr;
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
