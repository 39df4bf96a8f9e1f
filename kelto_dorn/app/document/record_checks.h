#pragma once
// Checks of records read from drawing and undo files, and of records before
// they are written: every floating value finite, layers in range.
#include <cmath>

#include "kelto_dorn/app/curve_record.h"
#include "kelto_dorn/app/figure_record.h"
#include "kelto_dorn/app/text_record.h"

namespace dorn {

inline bool IsFiniteFigure(const FigureRecord& r) {
  const double v[] = {r.origin.x, r.origin.y, r.start.x, r.start.y, r.end.x, r.end.y, r.centre.x,
                      r.centre.y, r.dir.x,    r.dir.y,    r.radius,  r.depth};
  for (double d : v) {
    if (!std::isfinite(d)) return false;
  }
  return true;
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

// A text layer that may be stored: a drawing layer 0-31 or the hidden 888.
inline bool IsStorableTextLayer(int layer) { return (layer >= 0 && layer < 32) || layer == kTextLayerHidden; }

}  // namespace dorn
