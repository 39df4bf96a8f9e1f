// Moving curves: see curve_transforms.h.
#include "kelto_dorn/drawing/curve_transforms.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <optional>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_painter.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/drawing/candidate_choice.h"
#include "kelto_dorn/drawing/construction_figures.h"
#include "kelto_dorn/drawing/curve_engine_calls.h"
#include "kelto_dorn/drawing/curve_entries.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/curve_registration.h"
#include "kelto_dorn/drawing/curve_work_list.h"
#include "kelto_dorn/drawing/drawing_state.h"

namespace dorn {
namespace {

using FigureTransform = std::function<void(FigureRecord&)>;
using PointTransform = std::function<Vec2(Vec2)>;

constexpr int kSnapshotCurves = 3;
constexpr int kErrorCountOverflow = 4;
constexpr int kCandidateColour = 5;
constexpr int kMirrorAxisBlock = 5;
// A start or end point is mirrored as a line of this kind so that its
// direction turns with it.
constexpr int kKindMirroredPoint = 1000;
constexpr double kPointDirectionLength = 10.0;
constexpr double kPercent = 0.01;

Vec2 Plus(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
Vec2 Minus(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
Vec2 Rotated(Vec2 v, Vec2 unit) { return {v.x * unit.x - v.y * unit.y, v.x * unit.y + v.y * unit.x}; }

Vec2 CurrentOrigin() { return CurrentLayerOrigin(); }

// The selected curve indexes, each once, inside the table.
std::vector<int> SelectedCurves() {
  std::vector<int> curves;
  const int count = ScannableCurveCount();
  std::vector<bool> taken(static_cast<std::size_t>(std::max(count, 0)));
  for (int c : g_selectionList) {
    if (c == kNone) break;
    if (c < 0 || c >= count || taken[static_cast<std::size_t>(c)]) continue;
    taken[static_cast<std::size_t>(c)] = true;
    curves.push_back(c);
  }
  return curves;
}

bool HasIpPoint(const CurveRecord& c) { return (c.flags & 0x80) != 0 || c.kind > 4; }

void TransformIp(CurveRecord& record, const PointTransform& ip) {
  if (!ip || !HasIpPoint(record)) return;
  const Vec2 p = ip({record.ipX, record.ipY});
  record.ipX = p.x;
  record.ipY = p.y;
}

// A copy of curve c, transformed, registered as a new curve; false stops the
// batch (table full or registration cancelled).
bool RegisterTransformedCopy(int c, const FigureTransform& fig, const PointTransform& ip,
                             platform::DeviceContext* dc) {
  CurveFigureRange range;
  if (!GetCurveFigureRange(c, range)) return true;
  if (g_curveCount >= kCurveTableSize || range.count() > kSegmentBlockCount) {
    ShowErrorBoxCall(kErrorCountOverflow);
    return false;
  }
  CopyCurveEntry(c, g_curveCount);
  TransformIp(g_curveTable[static_cast<std::size_t>(g_curveCount)], ip);
  // The range lies inside the table's count and fits the segment blocks
  // (checked above): each figure is transformed straight into its block.
  const FigureTable& table = *g_figureStore.Table(kTableCurves);
  g_workCount = 0;
  for (int i = range.first; i < range.end; ++i) {
    FigureRecord& block = *g_figureStore.SegmentBlock(g_workCount++);
    block = table.slot(i);
    fig(block);
    if (dc != nullptr) {
      g_curFigure = block;
      DrawFigure(block.attribute & kAttrColourMask, *dc);
    }
  }
  // The current record ends as the last copy, as the figure-by-figure walk left it.
  if (g_workCount > 0) LoadSegment(g_workCount - 1);
  return RegisterCurveEntry(kRegisterPlain, 1, dc) >= 0;
}

void TransformInPlace(int c, const FigureTransform& fig, const PointTransform& ip) {
  CurveFigureRange range;
  if (!GetCurveFigureRange(c, range)) return;
  for (int i = range.first; i < range.end; ++i) {
    GetFigure(kTableCurves, i);
    fig(g_curFigure);
    PutFigure(kTableCurves, i);
  }
  TransformIp(g_curveTable[static_cast<std::size_t>(c)], ip);
}

void ApplyToSelection(const FigureTransform& fig, const PointTransform& ip, platform::DeviceContext* dc) {
  const FigureRecord saved = g_curFigure;
  std::optional<CurveRegistrationBatch> copies;
  if (g_copyMode != 0) copies.emplace();
  for (int c : SelectedCurves()) {
    if (g_copyMode != 0) {
      if (!RegisterTransformedCopy(c, fig, ip, dc)) break;
    } else {
      TransformInPlace(c, fig, ip);
    }
  }
  g_curFigure = saved;
  g_figureTableSelector = g_curLayer;
  RedrawView();
}

void NormaliseDirection(FigureRecord& f) {
  const double len = std::hypot(f.dir.x, f.dir.y);
  if (len != 0.0) f.dir = {f.dir.x / len, f.dir.y / len};
}

// A point of the current origin's frame in the frame of figure f.
Vec2 InFigureFrame(Vec2 p, const FigureRecord& f) { return Minus(Plus(p, CurrentOrigin()), f.origin); }

bool IsLineOrArc(const FigureRecord& f) { return f.kind == kKindLine || f.kind == kKindArc; }

// Joins a and b at the intersection nearest the point `near`.
void JoinAt(FigureRecord& a, FigureRecord& b, Vec2 near) {
  if (!IsLineOrArc(a) || !IsLineOrArc(b)) return;
  FigureRecord second = b;
  second.choice = kChoiceBothPoints;
  FigureRecord first = a;
  first.choice = 0;
  const FigureRecord hit = IntersectFigures(first, second);
  if (hit.number > kHitTwoPoints) return;
  Vec2 x = hit.start;
  if (hit.number == kHitTwoPoints &&
      std::hypot(hit.end.x - near.x, hit.end.y - near.y) < std::hypot(x.x - near.x, x.y - near.y))
    x = hit.end;
  a.end = x;
  b.start = x;
}

}  // namespace

std::vector<FigureRecord> OffsetChain(const std::vector<FigureRecord>& figures, double d) {
  std::vector<FigureRecord> out;
  std::vector<Vec2> joints;  // the original end of each kept figure
  out.reserve(figures.size());
  for (const FigureRecord& f : figures) {
    FigureRecord o;
    if (!OffsetCopy(f, d, o) && f.kind == kKindArc) continue;
    out.push_back(o);
    joints.push_back(f.end);
  }
  int firstFigure = -1;
  int lastFigure = -1;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (!IsLineOrArc(out[i])) continue;
    if (firstFigure < 0) firstFigure = static_cast<int>(i);
    if (lastFigure >= 0) JoinAt(out[static_cast<std::size_t>(lastFigure)], out[i], out[i].start);
    lastFigure = static_cast<int>(i);
  }
  if (firstFigure < 0) return out;
  FigureRecord& head = out[static_cast<std::size_t>(firstFigure)];
  FigureRecord& tail = out[static_cast<std::size_t>(lastFigure)];
  const FigureRecord& origHead = figures[0].kind == kKindPoint && figures.size() > 1 ? figures[1] : figures[0];
  const FigureRecord& origTail = figures.back().kind == kKindPoint && figures.size() > 1 ? figures[figures.size() - 2]
                                                                                         : figures.back();
  const bool closed = firstFigure != lastFigure &&
                      std::hypot(origHead.start.x - origTail.end.x, origHead.start.y - origTail.end.y) < 0.001;
  if (closed) JoinAt(tail, head, head.start);
  if (out.front().kind == kKindPoint) out.front().start = out.front().end = head.start;
  if (out.back().kind == kKindPoint) out.back().start = out.back().end = tail.end;
  return out;
}

void TranslateCurves(double dx, double dy, platform::DeviceContext* dc) {
  const Vec2 d{dx, dy};
  ApplyToSelection(
      [d](FigureRecord& f) {
        f.start = Plus(f.start, d);
        f.end = Plus(f.end, d);
        if (f.kind == kKindArc) f.centre = Plus(f.centre, d);
      },
      [d](Vec2 p) { return Plus(p, d); }, dc);
}

void RotateCurves(double degrees, Vec2 centre, platform::DeviceContext* dc) {
  const Vec2 unit = UnitVectorFromAngle(degrees);
  const Vec2 absoluteCentre = Plus(centre, CurrentOrigin());
  ApplyToSelection(
      [unit, centre](FigureRecord& f) {
        const Vec2 c = InFigureFrame(centre, f);
        f.start = Plus(c, Rotated(Minus(f.start, c), unit));
        f.end = Plus(c, Rotated(Minus(f.end, c), unit));
        if (f.kind == kKindArc) {
          f.centre = Plus(c, Rotated(Minus(f.centre, c), unit));
          f.dir = Rotated(f.dir, unit);
        } else if (f.kind == kKindLine) {
          f.dir = Minus(f.end, f.start);
        } else {
          f.dir = Rotated(f.dir, unit);
        }
        NormaliseDirection(f);
      },
      [unit, absoluteCentre](Vec2 p) { return Plus(absoluteCentre, Rotated(Minus(p, absoluteCentre), unit)); }, dc);
}

void MirrorCurves(platform::DeviceContext* dc) {
  if (!CallOperation(static_cast<bool>(g_commandEngines.mirrorCurrentFigure))) return;
  const auto mirror = [](FigureRecord& f) {
    const FigureRecord saved = g_curFigure;
    const bool point = f.kind == kKindPoint;
    if (point) {
      f.kind = kKindMirroredPoint;
      f.end = {f.start.x + kPointDirectionLength * f.dir.x, f.start.y + kPointDirectionLength * f.dir.y};
    }
    g_curFigure = f;
    g_commandEngines.mirrorCurrentFigure();
    f = g_curFigure;
    if (point) {
      const Vec2 d = Minus(f.end, f.start);
      const double len = std::hypot(d.x, d.y);
      if (len > 0.0) f.dir = {d.x / len, d.y / len};
      f.kind = kKindPoint;
      f.end = f.start;
    }
    g_curFigure = saved;
  };
  ApplyToSelection(mirror,
                   [mirror](Vec2 p) {
                     FigureRecord ip = PointFigure(p);
                     mirror(ip);
                     return ip.start;
                   },
                   dc);
}

void ScaleCurves(double factor, Vec2 centre, platform::DeviceContext* dc) {
  const double k = (factor == 0.0 ? 100.0 : factor) * kPercent;
  const Vec2 absoluteCentre = Plus(centre, CurrentOrigin());
  const auto scaled = [k](Vec2 p, Vec2 c) { return Vec2{c.x + (p.x - c.x) * k, c.y + (p.y - c.y) * k}; };
  ApplyToSelection(
      [k, centre, scaled](FigureRecord& f) {
        const Vec2 c = InFigureFrame(centre, f);
        f.start = scaled(f.start, c);
        f.end = scaled(f.end, c);
        f.centre = scaled(f.centre, c);
        f.radius *= k;
      },
      [absoluteCentre, scaled](Vec2 p) { return scaled(p, absoluteCentre); }, dc);
}

namespace {

std::vector<FigureRecord> CurveFigures(int c) {
  std::vector<FigureRecord> figures;
  CurveFigureRange range;
  if (!GetCurveFigureRange(c, range)) return figures;
  figures.reserve(static_cast<std::size_t>(range.count()));
  for (int i = range.first; i < range.end; ++i) figures.push_back(g_figureStore.Table(kTableCurves)->slot(i));
  return figures;
}

void WriteList(int first, const std::vector<FigureRecord>& list, platform::DeviceContext* dc) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    g_curFigure = list[i];
    StoreSegment(first + static_cast<int>(i));
    if (dc != nullptr) DrawFigure(kCandidateColour, *dc);
  }
  ClearCurrentFigure();
  g_curFigure.kind = kKindEmpty;
  StoreSegment(first + static_cast<int>(list.size()));
}

bool OffsetBothSides(int c, double amount, platform::DeviceContext* dc) {
  const std::vector<FigureRecord> figures = CurveFigures(c);
  // Each list must end before the next one starts.
  if (static_cast<int>(figures.size()) >= kWorkListB - kWorkListA - 1 ||
      kWorkListB + static_cast<int>(figures.size()) >= kSegmentBlockCount) {
    ShowErrorBoxCall(kErrorCountOverflow);
    return false;
  }
  const FigureRecord saved = g_curFigure;
  WriteList(kWorkListA, OffsetChain(figures, amount), dc);
  WriteList(kWorkListB, OffsetChain(figures, -amount), dc);
  g_curFigure = saved;
  g_workCount = 0;
  g_pickIndex = 0;
  g_pickState = kPickStateChooseCandidate;
  g_curveEngine.inputMode = 1;
  g_drawingView.m_workPickMode = kWorkPickTwoLists;
  return true;
}

bool OffsetOne(int c, double amount, platform::DeviceContext* dc) {
  const std::vector<FigureRecord> result = OffsetChain(CurveFigures(c), amount);
  if (static_cast<int>(result.size()) > kSegmentBlockCount) {
    ShowErrorBoxCall(kErrorCountOverflow);
    return false;
  }
  const FigureRecord saved = g_curFigure;
  if (g_copyMode != 0 && g_curveCount >= kCurveTableSize) {
    ShowErrorBoxCall(kErrorCountOverflow);
    return false;
  }
  for (std::size_t i = 0; i < result.size(); ++i) *g_figureStore.SegmentBlock(static_cast<int>(i)) = result[i];
  g_workCount = static_cast<int>(result.size());
  bool ok = true;
  if (g_copyMode != 0) {
    CopyCurveEntry(c, g_curveCount);
    ok = RegisterCurveEntry(kRegisterPlain, 1, dc) >= 0;
  } else {
    g_curCurveIndex = c;
    ok = StoreCurveFigures(0, 0);
  }
  g_curFigure = saved;
  return ok;
}

}  // namespace

bool OffsetCurves(double amount, platform::DeviceContext* dc) {
  const std::vector<int> curves = SelectedCurves();
  if (curves.empty()) return false;
  SnapshotForUndo(kSnapshotCurves);
  if (curves.size() == 1 && amount > 0.0) return OffsetBothSides(curves[0], amount, dc);
  // Indexes are kept: in place the curve count does not change, and copies
  // go behind the last curve.
  std::optional<CurveRegistrationBatch> copies;
  if (g_copyMode != 0) copies.emplace();
  for (int c : curves)
    if (!OffsetOne(c, amount, dc)) break;
  g_figureTableSelector = g_curLayer;
  RedrawView();
  return true;
}

}  // namespace dorn
