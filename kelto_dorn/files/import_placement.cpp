// Placing imported figures: see import_placement.h.
#include "kelto_dorn/files/import_placement.h"

#include <cmath>
#include <cstdlib>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/geometry.h"

namespace dorn {

namespace {

constexpr double kShortestLine = 0.0005;
constexpr double kLargestRadius = 1e7;

bool Finite(Vec2 v) { return std::isfinite(v.x) && std::isfinite(v.y); }

bool FiniteFigure(const FigureRecord& f) {
  return Finite(f.start) && Finite(f.end) && Finite(f.centre) && Finite(f.dir) && std::isfinite(f.radius);
}

// Drops what cannot be drawn and turns huge arcs into lines. False: dropped.
bool NormaliseImportedFigure(FigureRecord& f) {
  if (!FiniteFigure(f)) return false;
  if (f.kind == kKindArc && std::fabs(f.radius) > kLargestRadius) {
    f.kind = kKindLine;
    f.centre = {};
    f.radius = 0.0;
  }
  if (f.kind == kKindLine) return ComputeLineDirection(kCurrentFigure) == 0;
  return true;
}

}  // namespace

std::int32_t MapImportColour(int fileColour, std::int32_t lineTypeBits) {
  const int current = DefaultFigureColour() & 0xFF;
  long colour = std::labs(static_cast<long>(fileColour));
  if (g_cadByColor == 0) colour = current;
  if (colour == g_backgroundIndex) colour += 3;
  colour %= 32;  // what subtracting 32 until it is at most 31 leaves
  if (colour == 0) colour = current;
  return static_cast<std::int32_t>(colour) | (lineTypeBits & kLineTypeBits);
}

Vec2 InsertTransform::Apply(Vec2 p) const {
  const double x = p.x * scaleX, y = p.y * scaleY;
  const double c = std::cos(rotation * kRadiansPerDegree), s = std::sin(rotation * kRadiansPerDegree);
  return {x * c - y * s + at.x, x * s + y * c + at.y};
}

void TransformInsertedFigure(FigureRecord& f, const InsertTransform& t) {
  f.start = t.Apply(f.start);
  f.end = t.Apply(f.end);
  f.centre = t.Apply(f.centre);
  if (f.kind == kKindArc) {
    const double scale = t.scaleY != 1.0 ? t.scaleY : t.scaleX;
    f.radius *= std::fabs(scale);
    // A mirrored arc runs the other way round from its (mirrored) start.
    if (t.scaleX * t.scaleY < 0.0) f.radius = -f.radius;
  }
  if (f.kind == kKindLine) {
    const double dx = f.end.x - f.start.x, dy = f.end.y - f.start.y, len = std::hypot(dx, dy);
    if (len > 0.0) f.dir = {dx / len, dy / len};
  }
}

bool PlaceImportedFigure(const PlacementTarget& target) {
  FigureRecord& f = g_curFigure;
  if (!NormaliseImportedFigure(f)) return false;
  const int selected = g_figureTableSelector;
  if (target.blockNumber >= 0) {
    f.number = target.blockNumber;
    g_figureTableSelector = kTableImport;
  } else {
    f.origin = CurrentLayerOrigin();
    g_figureTableSelector = target.table;
  }
  f.layer = target.table < kLayerCount ? target.table : g_curLayer;
  const bool stored = AppendFigure(0);
  g_figureTableSelector = selected;
  return stored;
}

bool ShiftImportedFigure(const PlacementTarget& target, Vec2 blockBase) {
  if (target.blockNumber >= 0) {
    FigureRecord& f = g_curFigure;
    for (Vec2* p : {&f.start, &f.end, &f.centre}) *p = {p->x - blockBase.x, p->y - blockBase.y};
  }
  return PlaceImportedFigure(target);
}

}  // namespace dorn
