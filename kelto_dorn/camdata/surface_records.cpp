// The surface records of the element stream: one group per 3-D surface of
// the drawing, written right after the figure data, so that the companion
// can rebuild the surfaces that 3-axis, model and wire machining refer to.
// A curve or number named in a double is written as its key value (the key
// plus a millionth of it), which the companion turns into an element range.
#include <cmath>
#include <algorithm>
#include <limits>
#include <numbers>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/record_resets.h"
#include "kelto_dorn/camdata/cam_builder.h"
#include "platform/text.h"

namespace dorn {

namespace {

namespace code = handover::element_code;

// Record codes of the surface groups.
constexpr std::int32_t kSurfaceMain = 0x3100;
constexpr std::int32_t kYzMain = 0x3200;
constexpr std::int32_t kXzMain = 0x3300;
constexpr std::int32_t kRollMain = 0x3500;
constexpr std::int32_t kRefMain = 0x3600;
constexpr std::int32_t kRefDetail = 0x3700;
constexpr std::int32_t kFilletMain = 0x3900;
constexpr std::int32_t kScaleSection = 0x5400;
constexpr std::int32_t kXzSection = 0x5500;
constexpr std::int32_t kYzSection = 0x5600;
constexpr std::int32_t kBaseZValue = 0x5700;
constexpr std::int32_t kBaseZCurve = 0x5800;
constexpr std::int32_t kRibPair = 0x5900;
constexpr std::int32_t kSpaceSections = 0x8800;
constexpr std::int32_t kSpaceSectionsB = 0x8810;

// Style word: the style in the low byte, bit 0 the variant, 0x1000 a surface
// of several sections; 0x4000 asks the companion to expand the surface
// between two point lists (only the BL style 8 carries it).
constexpr std::int32_t kStyleMask = 0xFF;
constexpr std::int32_t kSeveralSections = 0x1000;
constexpr std::int32_t kExpandBetweenLists = 0x4000;
constexpr std::int32_t kBlExpandStyle = 8;
constexpr std::int32_t kBlExpandFlags = 0x4007;
// Z source flags of a main record: a Z value, or a Z curve (key value).
constexpr std::int32_t kZValue = 0x100;
constexpr std::int32_t kZCurve = 0x110;
// A section point of a SPACE surface.
constexpr std::int32_t kSectionPoint = 0x8000;
// How many sections the GL and SCALE writers take.
constexpr int kGlSections = 16;
constexpr int kScaleSections = 28;
// The X value of a SCALE surface's scale and the double at 800.
constexpr int kScaleXIndex = 30;
constexpr int kScaleYIndex = 30;
// The wire's further values of styles 5 and 8.
constexpr int kWireValueIndex = 20;
constexpr int kWireValueIndex2 = 21;

double KeyValue(std::int32_t key) { return key + key * 0.000001; }

bool NamesCurve(std::int32_t key) { return key != 0 && key != kNoCurveKey; }

int Style(const SurfaceDefinition& s) { return s.mode & kStyleMask; }

// The section curves (from offset 24) up to the first 0xFFFF.
int SectionCount(const SurfaceDefinition& s) {
  int n = 0;
  while (n < kSurfaceCurveKeys && s.curvesA[n] != kNoCurveKey && s.curvesA[n] != 0) ++n;
  return n;
}
int RibCount(const SurfaceDefinition& s) {
  int n = 0;
  while (n < kSurfaceCurveKeys && s.curvesB[n] != kNoCurveKey && s.curvesB[n] != 0) ++n;
  return n;
}

// The length along the curve with that key from its start to the point of it
// nearest to (x, y) (mm); 0 when the curve is not found.
double LengthAlongCurve(std::int32_t key, double x, double y) {
  const int index = FindCurveByKey(key);
  if (index == kNone) return 0.0;
  const CurveRecord& curve = g_curveTable[static_cast<std::size_t>(index)];
  const int end = std::min(curve.end, GetFigureCount(kTableCurves));
  double walked = 0.0, best = std::numeric_limits<double>::max(), result = 0.0;
  const FigureRecord saved = g_curFigure;
  for (int i = std::max(curve.first, 0); i < end; ++i) {
    GetFigure(kTableCurves, i);
    const FigureRecord& f = g_curFigure;
    double length = 0.0, along = 0.0, distance = 0.0;
    if ((f.kind & 0xFF) == kKindLine) {
      const double dx = f.end.x - f.start.x, dy = f.end.y - f.start.y;
      length = std::hypot(dx, dy);
      const double t =
          length > 0.0 ? std::clamp(((x - f.start.x) * dx + (y - f.start.y) * dy) / (length * length), 0.0, 1.0) : 0.0;
      along = t * length;
      distance = std::hypot(f.start.x + t * dx - x, f.start.y + t * dy - y);
    } else if ((f.kind & 0xFF) == kKindArc) {
      const double r = std::fabs(f.radius);
      const double a0 = std::atan2(f.start.y - f.centre.y, f.start.x - f.centre.x);
      const double a1 = std::atan2(f.end.y - f.centre.y, f.end.x - f.centre.x);
      const double ap = std::atan2(y - f.centre.y, x - f.centre.x);
      const double sense = f.radius >= 0.0 ? 1.0 : -1.0;
      auto sweep = [&](double from, double to) {
        double s = sense * (to - from);
        while (s < 0.0) s += 2.0 * std::numbers::pi;
        return s;
      };
      double total = sweep(a0, a1);
      if (total == 0.0) total = 2.0 * std::numbers::pi;
      const double part = std::min(sweep(a0, ap), total);
      length = r * total;
      along = r * part;
      distance = std::fabs(std::hypot(x - f.centre.x, y - f.centre.y) - r);
    } else {
      continue;
    }
    if (distance < best) {
      best = distance;
      result = walked + along;
    }
    walked += length;
  }
  g_curFigure = saved;
  return result;
}

}  // namespace

void CCamDataBuilder::WriteSurfaceRecords() {
  const int count = std::min(g_surfaceIndexTable.count, kSurfaceSlotCount);
  for (int i = 0; i < count; ++i) {
    const int slot = g_surfaceIndexTable.records[static_cast<std::size_t>(i)].slot;
    if (slot < 0 || slot >= kSurfaceSlotCount) continue;
    const SurfaceDefinition& s = surfaces_[static_cast<std::size_t>(slot)];
    if (s.kind == 0) continue;
    ClearCamRecord();
    WriteSurface(s);
    if (definitionFault_) {
      definitionFault_ = false;
      Skip(platform::Sjis("曲面 ") + std::to_string(s.key) +
           platform::Sjis(" に数値でない値があり、その一部を除きました"));
    }
  }
}

void CCamDataBuilder::WriteSurface(const SurfaceDefinition& s) {
  switch (static_cast<SurfaceKind>(s.kind)) {
    case SurfaceKind::Roll:
      WriteRollSurface(s);
      break;
    case SurfaceKind::Xz:
      WriteSectionSurface(s, kXzMain, kXzSection);
      break;
    case SurfaceKind::Yz:
      WriteSectionSurface(s, kYzMain, kYzSection);
      break;
    case SurfaceKind::Gl:
      WriteGlSurface(s);
      break;
    case SurfaceKind::Xy:
      WriteXySurface(s, false);
      break;
    case SurfaceKind::XyRib:
      WriteXySurface(s, true);
      break;
    case SurfaceKind::Space:
      WriteSpaceOrScaleSurface(s, false);
      break;
    case SurfaceKind::Scale:
      WriteSpaceOrScaleSurface(s, true);
      break;
    case SurfaceKind::Bl:
      WriteBlSurface(s, false);
      break;
    case SurfaceKind::BlRib:
      WriteBlSurface(s, true);
      break;
    case SurfaceKind::Ref:
      WriteRefSurface(s);
      break;
    case SurfaceKind::Fillet:
    case SurfaceKind::FilletWall:
    case SurfaceKind::PlusFillet:
      WriteFilletSurface(s);
      break;
    case SurfaceKind::Wire4:
    case SurfaceKind::Wire2:
      WriteWireSurface(s);
      break;
  }
  ClearCamRecord();
}

// The rib pairs of a surface: each section curve with its rib.
void CCamDataBuilder::WriteRibPairs(const SurfaceDefinition& s, std::int32_t number) {
  const int count = std::min(RibCount(s), SectionCount(s));
  for (int i = 0; i < count; ++i) {
    work_.number = number;
    work_.code = kRibPair;
    work_.d4 = KeyValue(s.curvesA[i]);
    work_.d5 = KeyValue(s.curvesB[i]);
    WriteCamRecord();
  }
}

// Styles 2 and 3 of a main record: a direction by the angle X[0] (degrees),
// or the second point (X[1], Y[1]).
void CCamDataBuilder::WriteStyleDirection(const SurfaceDefinition& s) {
  if (Style(s) == 2) {
    work_.d2 = std::cos(s.x[0] * kRadiansPerDegree);
    work_.d3 = std::sin(s.x[0] * kRadiansPerDegree);
  } else if (Style(s) == 3) {
    work_.d2 = s.x[1];
    work_.d3 = s.y[1];
  }
}

void CCamDataBuilder::WriteRollSurface(const SurfaceDefinition& s) {
  work_.number = s.key;
  work_.code = kRollMain;
  work_.d1 = KeyValue(s.baseLine1);
  work_.d4 = s.x[0];
  work_.d5 = s.y[0];
  WriteCamRecord();
}

// XZ and YZ: the base curve and the first section; a surface of several
// sections names its two section records instead.
void CCamDataBuilder::WriteSectionSurface(const SurfaceDefinition& s, std::int32_t mainCode, std::int32_t sectionCode) {
  const bool several = (s.mode & kSeveralSections) != 0 && SectionCount(s) > 0;
  work_.number = s.key;
  work_.code = mainCode;
  work_.d4 = KeyValue(s.baseLine1);
  work_.flags = (s.mode & 1) ? 1 : 2;
  work_.d1 = several ? KeyValue(s.key + 1) : KeyValue(s.curvesA[0]);
  WriteCamRecord();
  if (!several) return;
  for (int i = 0; i < 2 && NamesCurve(s.curvesA[i]); ++i) {
    work_.number = s.key + 1;
    work_.code = sectionCode;
    work_.d5 = s.x[i];
    work_.d1 = KeyValue(s.curvesA[i]);
    WriteCamRecord();
  }
}

void CCamDataBuilder::WriteGlSurface(const SurfaceDefinition& s) {
  work_.number = s.key;
  work_.code = kXzMain;
  work_.flags = (s.mode & 1) ? 0x11 : 0x12;
  work_.d4 = KeyValue(s.baseLine1);
  work_.d2 = KeyValue(s.baseLine2);
  work_.d1 = KeyValue(s.curvesA[0]);
  WriteCamRecord();
  if ((s.mode & kSeveralSections) == 0) return;
  const int sections = std::min(SectionCount(s), kGlSections + 1);
  for (int i = 1; i < sections; ++i) {
    work_.number = s.key + 1;
    work_.code = kXzSection;
    work_.d1 = KeyValue(s.curvesA[i]);
    work_.d5 = LengthAlongCurve(s.baseLine2, s.x[i], s.y[i]);
    WriteCamRecord();
  }
}

// The Z source of a main record: the Z curve's key value, or the Z value.
void CCamDataBuilder::WriteZSource(const SurfaceDefinition& s) {
  if (NamesCurve(s.zSurface1)) {
    work_.flags |= kZCurve;
    work_.d5 = KeyValue(s.zSurface1);
  } else {
    work_.flags |= kZValue;
    work_.d5 = s.z1;
  }
}

void CCamDataBuilder::WriteXySurface(const SurfaceDefinition& s, bool ribs) {
  work_.number = s.key;
  work_.code = kSurfaceMain;
  work_.d4 = KeyValue(s.baseLine1);
  work_.d1 = ribs ? KeyValue(s.key + 1) : KeyValue(s.curvesA[0]);
  work_.flags = s.mode & ~kExpandBetweenLists;
  WriteZSource(s);
  WriteStyleDirection(s);
  WriteCamRecord();
  if (!ribs) return;
  WriteRibPairs(s, s.key + 1);
}

void CCamDataBuilder::WriteSpaceOrScaleSurface(const SurfaceDefinition& s, bool scale) {
  const int sections = SectionCount(s);
  const bool several = (s.mode & kSeveralSections) != 0 && sections > 0;
  work_.number = s.key;
  work_.code = kSurfaceMain;
  work_.flags = scale ? 3 : 4;
  work_.d4 = KeyValue(s.baseLine1);
  work_.d1 = several ? KeyValue(s.key + 1) : KeyValue(s.curvesA[0]);
  WriteZSource(s);
  if (scale) {
    work_.d2 = s.x[kScaleXIndex];
    work_.d3 = s.y[kScaleYIndex];
  }
  WriteCamRecord();
  if (!several) return;
  if (!scale) {
    work_.number = s.key + 1;
    work_.code = (s.option & 1) ? kSpaceSections : kSpaceSectionsB;
    WriteCamRecord();
  }
  const int count = scale ? std::min(sections, kScaleSections) : sections;
  for (int i = 0; i < count; ++i) {
    work_.number = s.key + 1;
    if (scale) {
      work_.code = kScaleSection;
      work_.d5 = s.x[i];
    } else {
      work_.code = code::kPoint;
      work_.flags = kSectionPoint;
      work_.d4 = work_.d6 = s.x[i];
      work_.d5 = work_.d7 = s.y[i];
    }
    work_.d1 = KeyValue(s.curvesA[i]);
    WriteCamRecord();
  }
}

// The Z records of the two base curves of a BL or wire surface: a Z value
// (0x5700) or a Z curve (0x5800) each.
void CCamDataBuilder::WriteBaseZRecords(const SurfaceDefinition& s) {
  const std::int32_t bases[2] = {s.baseLine1, s.baseLine2};
  const std::int32_t sources[2] = {s.zSurface1, s.zSurface2};
  const double values[2] = {s.z1, s.z2};
  for (int i = 0; i < 2; ++i) {
    if (!NamesCurve(bases[i])) continue;
    work_.number = s.key + 1;
    work_.d4 = KeyValue(bases[i]);
    if (NamesCurve(sources[i])) {
      work_.code = kBaseZCurve;
      work_.flags = kZCurve;
      work_.d5 = KeyValue(sources[i]);
    } else {
      work_.code = kBaseZValue;
      work_.flags = kZValue;
      work_.d5 = values[i];
    }
    WriteCamRecord();
  }
}

void CCamDataBuilder::WriteBlSurface(const SurfaceDefinition& s, bool ribs) {
  work_.number = s.key;
  work_.code = kSurfaceMain;
  work_.d4 = KeyValue(s.key + 1);
  if (ribs) {
    work_.d1 = KeyValue(s.key + 2);
    work_.flags = s.mode & ~kExpandBetweenLists;
  } else {
    work_.d1 = KeyValue(s.curvesA[0]);
    work_.flags = Style(s) == kBlExpandStyle ? kBlExpandFlags : (s.mode & ~kExpandBetweenLists);
    WriteStyleDirection(s);
  }
  WriteCamRecord();
  WriteBaseZRecords(s);
  if (!ribs) {
    if (RibCount(s) > 0) {
      work_.number = s.key + 1;
      work_.code = kRibPair;
      work_.d4 = KeyValue(s.curvesA[0]);
      work_.d5 = KeyValue(s.curvesB[0]);
      WriteCamRecord();
    }
    return;
  }
  WriteRibPairs(s, s.key + 2);
}

// REF: the referenced surface's curve and a detail record whose form
// follows the style: a point, two points with a rotation, a curve, a value
// or a Z value.
void CCamDataBuilder::WriteRefSurface(const SurfaceDefinition& s) {
  work_.number = s.key;
  work_.code = kRefMain;
  work_.d4 = KeyValue(s.curvesB[0]);
  work_.d1 = KeyValue(s.key + 1);
  WriteCamRecord();
  work_.number = s.key + 1;
  work_.code = kRefDetail;
  switch (Style(s)) {
    case 1:
      work_.flags = 0x220;
      work_.d4 = s.x[0];
      work_.d5 = s.y[0];
      break;
    case 2:
    case 3:
      work_.flags = Style(s) == 2 ? 0x620 : 0x720;
      work_.d4 = s.x[0];
      work_.d5 = s.y[0];
      work_.d6 = s.x[1];
      work_.d7 = s.y[1];
      work_.d2 = s.x[2];  // the rotation angle, degrees
      break;
    case 4:
      work_.flags = 0x400;
      work_.d1 = KeyValue(s.curvesA[0]);
      break;
    case 5:
      work_.flags = 0x300;
      work_.d1 = s.x[2];
      break;
    default:
      work_.flags = 0x100;
      work_.d1 = s.z1;
      break;
  }
  WriteCamRecord();
}

// The fillet kinds: the fillet's curves and values, its section geometry
// under key + 1 and one rib pair per rib.
void CCamDataBuilder::WriteFilletSurface(const SurfaceDefinition& s) {
  work_.number = s.key;
  work_.code = kFilletMain;
  work_.flags = s.mode & ~0x80 & ~kExpandBetweenLists;  // 0x80 would keep d1 from being a curve
  work_.d1 = NamesCurve(s.baseLine1) ? KeyValue(s.baseLine1) : 0.0;
  work_.d2 = NamesCurve(s.baseLine2) ? KeyValue(s.baseLine2) : 0.0;
  work_.d3 = NamesCurve(s.curvesA[0]) ? KeyValue(s.curvesA[0]) : 0.0;
  work_.d5 = NamesCurve(s.curvesB[0]) ? KeyValue(s.curvesB[0]) : 0.0;
  work_.d4 = s.z1;
  work_.d6 = s.x[0];
  work_.d7 = s.y[0];
  WriteCamRecord();
  const int index = NamesCurve(s.curvesA[0]) ? FindCurveByKey(s.curvesA[0]) : kNone;
  if (index != kNone) {
    const CurveRecord& curve = g_curveTable[static_cast<std::size_t>(index)];
    const int end = std::min(curve.end, GetFigureCount(kTableCurves));
    for (int i = std::max(curve.first, 0); i < end; ++i) WriteCurveFigure(i, s.key + 1);
  }
  WriteRibPairs(s, s.key + 1);
}

void CCamDataBuilder::WriteWireSurface(const SurfaceDefinition& s) {
  work_.number = s.key;
  work_.code = kSurfaceMain;
  work_.flags = s.mode & ~kExpandBetweenLists;
  work_.d4 = KeyValue(s.baseLine1);
  WriteStyleDirection(s);
  if (Style(s) == 5 || Style(s) == 8) {
    work_.d6 = s.x[kWireValueIndex];
    work_.d7 = s.x[kWireValueIndex2];
    work_.d8 = s.y[kWireValueIndex2];
  }
  WriteCamRecord();
  const std::int32_t bases[2] = {s.baseLine1, s.baseLine2};
  const double values[2] = {s.z1, s.z2};
  for (int i = 0; i < 2; ++i) {
    if (!NamesCurve(bases[i])) continue;
    work_.number = s.key + 1;
    work_.code = kBaseZValue;
    work_.flags = kZValue;
    work_.d4 = KeyValue(bases[i]);
    work_.d5 = values[i];
    WriteCamRecord();
  }
  WriteRibPairs(s, s.key + 1);
}

}  // namespace dorn
