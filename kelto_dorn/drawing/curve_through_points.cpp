// Curves through point groups: see curve_through_points.h.
#include "kelto_dorn/drawing/curve_through_points.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/document/message_dialog.h"
#include "kelto_dorn/document/system_state.h"
#include "platform/text.h"

namespace dorn {

int g_pointCurveNumber = 0;

namespace {

// The frame of the points being joined: their pieces carry it.
Vec2 g_pieceOrigin;

constexpr int kTangentKnown = 84;
// Squared lengths at or below this have no direction (mm^2).
constexpr double kNoLengthSquared = 1e-9;
constexpr double kNoBisector = 1e-11;
// Radii beyond this make a span a corner or a straight line (mm).
constexpr double kLargestRadius = 500000.0;
constexpr double kSmallestRadius = 0.001;
// A stored arc of a larger radius becomes a line (mm).
constexpr double kLargestStoredRadius = 1e7;
constexpr double kNoSolutionRadius1 = 99999999.0;
constexpr double kNoSolutionRadius2 = 999999999.0;

Vec2 Sub(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
Vec2 Add(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
Vec2 Scale(Vec2 a, double k) { return {a.x * k, a.y * k}; }
Vec2 Rot(Vec2 a) { return {-a.y, a.x}; }
double Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
double Cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }

// The unit vector of v, or `otherwise` when v has no length.
Vec2 Unit(Vec2 v, Vec2 otherwise = {1.0, 0.0}) {
  const double sq = Dot(v, v);
  if (sq <= kNoLengthSquared) return otherwise;
  const double len = std::sqrt(sq);
  return {v.x / len, v.y / len};
}

bool HasTangent(const FigureRecord& f) { return (f.kind & 0xFF) == kTangentKnown; }
Vec2 StoredTangent(const FigureRecord& f) { return UnitVectorFromAngle(f.radius); }

void SetTangent(FigureRecord& f, Vec2 t) {
  f.kind = kTangentKnown;
  f.dir = t;
  f.radius = std::atan2(t.y, t.x) * kDegreesPerRadian;
}

FigureRecord ReadPoint(int i, int step) {
  GetFigure(i);
  if (g_curFigure.kind == kKindEmpty) ShowCurveReadError(step);
  return g_curFigure;
}

void WritePoint(int i, const FigureRecord& f) {
  g_curFigure = f;
  PutFigure(i);
}

FigureRecord Piece(int kind, Vec2 start, Vec2 end, Vec2 centre, double radius) {
  FigureRecord f;
  f.kind = kind;
  f.start = start;
  f.end = end;
  f.centre = centre;
  f.radius = radius;
  return f;
}

FigureRecord ArcPiece(Vec2 p0, Vec2 t0, Vec2 p1, double r) {
  return Piece(kKindArc, p0, p1, Add(p0, Scale(Rot(t0), r)), r);
}
FigureRecord LinePiece(Vec2 p0, Vec2 p1) { return Piece(kKindLine, p0, p1, {}, 0.0); }

Biarc OneArc(Vec2 p0, Vec2 t0, Vec2 p1, double r) {
  Biarc b;
  b.pieces = 1;
  b.first = std::fabs(r) > kLargestRadius ? LinePiece(p0, p1) : ArcPiece(p0, t0, p1, r);
  return b;
}

Biarc Straight(Vec2 p0, Vec2 p1) {
  Biarc b;
  b.pieces = 1;
  b.first = LinePiece(p0, p1);
  return b;
}

Biarc Corner(Vec2 p0, Vec2 t0, Vec2 p1, Vec2 t1) {
  Biarc b;
  b.pieces = 2;
  b.first = Piece(kKindLine, p0, Add(p0, t0), {}, 0.0);
  b.first.dir = t0;
  b.second = Piece(kKindLine, Sub(p1, t1), p1, {}, 0.0);
  b.second.dir = t1;
  return b;
}

Biarc TwoArcs(Vec2 p0, Vec2 t0, Vec2 p1, Vec2 t1, double r1, double r2) {
  Biarc b;
  if (Round3(r1 - r2) != 0.0) {
    b.pieces = 2;
    b.first = ArcPiece(p0, t0, p1, r1);
    b.second = Piece(kKindArc, p0, p1, Add(p1, Scale(Rot(t1), r2)), r2);
    return b;
  }
  // One circle: the larger radius on r1's side is kept.
  const bool second = r1 >= 0.0 ? r1 - r2 < 0.0 : r2 - r1 < 0.0;
  if (!second) return OneArc(p0, t0, p1, r1);
  if (std::fabs(r2) > kLargestRadius) return Straight(p0, p1);
  b.pieces = 1;
  b.first = Piece(kKindArc, p0, p1, Add(p1, Scale(Rot(t1), r2)), r2);
  return b;
}

void Store(FigureRecord piece, const CurvePieceSink& sink) {
  if (piece.kind == kKindEmpty) return;
  piece.number = g_pointCurveNumber;
  piece.layer = g_curLayer;
  piece.style = kNewFigureStyle;
  piece.attribute = g_figureAttribute;
  piece.origin = g_pieceOrigin;
  g_curFigure = piece;
  CompleteSegmentGeometry();
  if (g_curFigure.kind == kKindArc && std::fabs(g_curFigure.radius) > kLargestStoredRadius) {
    g_curFigure.kind = kKindLine;
    g_curFigure.radius = 0.0;
    CompleteSegmentGeometry();
  }
  if (sink) {
    sink(g_curFigure);
  } else {
    AppendFigure(1);
  }
}

}  // namespace

Vec2 ThreePointTangent(Vec2 p0, Vec2 p1, Vec2 p2) {
  const Vec2 a = Sub(p1, p0);
  const Vec2 b = Sub(p2, p1);
  // Coincident points leave a chord without a direction: the other chord
  // (or the x axis) gives the tangent.
  if (Dot(a, a) <= kNoLengthSquared) return Unit(b);
  if (Dot(b, b) <= kNoLengthSquared) return Unit(a);
  FigureRecord bisector1;
  bisector1.kind = kKindLine;
  bisector1.start = Scale(Add(p0, p1), 0.5);
  bisector1.dir = Rot(Unit(a));
  bisector1.end = Add(bisector1.start, bisector1.dir);
  FigureRecord bisector2 = bisector1;
  bisector2.start = Scale(Add(p1, p2), 0.5);
  bisector2.dir = Rot(Unit(b));
  bisector2.end = Add(bisector2.start, bisector2.dir);
  const FigureRecord hit = IntersectFigures(bisector1, bisector2);
  if (hit.number > kHitTwoPoints) return Unit(a);
  Vec2 t = Rot(Unit(Sub(p0, hit.start)));
  if (Cross(a, b) < 0.0) t = Scale(t, -1.0);
  return t;
}

Vec2 BisectorTangent(Vec2 a, Vec2 b, Vec2 c) {
  const Vec2 e1 = Unit(Sub(b, a));
  const Vec2 next = Sub(c, b);
  if (Dot(next, next) <= kNoLengthSquared) return {1.0, 0.0};
  const Vec2 s = Add(Unit(next), e1);
  const double len = std::hypot(s.x, s.y);
  if (len < kNoBisector) return {1.0, 0.0};
  return {s.x / len, s.y / len};
}

Biarc SolveBiarc(Vec2 p0, Vec2 t0, Vec2 p1, Vec2 t1) {
  if (Round3(p0.x - p1.x) == 0.0 && Round3(p0.y - p1.y) == 0.0) return Biarc{};
  const Vec2 d = Sub(p1, p0);
  const double sq = Dot(d, d);
  const double L = sq > kNoLengthSquared ? std::sqrt(sq) : 0.0;
  const Vec2 c = L > 0.0 ? Vec2{d.x / L, d.y / L} : Vec2{1.0, 0.0};
  const double g0 = Dot(t0, c);
  const double f0 = Cross(c, t0);
  const double g1 = Dot(t1, c);
  const double f1 = Cross(c, t1);
  if (f0 * f1 < 0.0) {
    if (g0 != g1) {
      const double q = (1.0 - g1) * f0 - (1.0 - g0) * f1;
      const double r1 = q != 0.0 ? -L * (1.0 - g1) / q : kNoSolutionRadius1;
      const double r2 = q != 0.0 ? -L * (1.0 - g0) / q : kNoSolutionRadius2;
      if (std::fabs(r1) > kLargestRadius || std::fabs(r2) > kLargestRadius) return Corner(p0, t0, p1, t1);
      if (Round3(100.0 * (r2 - r1)) != 0.0) return TwoArcs(p0, t0, p1, t1, r1, r2);
      return OneArc(p0, t0, p1, r1);
    }
    const double r1 = L / (2.0 * f1);
    return std::fabs(r1) >= kSmallestRadius ? OneArc(p0, t0, p1, r1) : Corner(p0, t0, p1, t1);
  }
  if (g1 * f0 - f1 * g0 != 0.0) {
    const Vec2 cs = Unit({(g0 + g1) / 2.0, (f0 + f1) / 2.0});
    const double h = (g0 - cs.x) * (f1 + cs.y) / 4.0 - (g1 - cs.x) * (f0 + cs.y) / 4.0;
    const double r1 = h != 0.0 ? L * (g1 - cs.x) / (4.0 * h) : 0.0;
    const double r2 = h != 0.0 ? L * (g0 - cs.x) / (4.0 * h) : 0.0;
    const auto bad = [](double r) { return std::fabs(r) < kSmallestRadius || std::fabs(r) > kLargestRadius; };
    if (bad(r1) || bad(r2)) return Straight(p0, p1);
    return TwoArcs(p0, t0, p1, t1, r1, r2);
  }
  if (f0 != 0.0 && L / (4.0 * f0) != 0.0) return TwoArcs(p0, t0, p1, t1, -L / (4.0 * f0), L / (4.0 * f0));
  return Straight(p0, p1);
}

void ComputeSplineSegment(Vec2 p0, Vec2 t0, Vec2 p1, Vec2 t1, const CurvePieceSink& sink) {
  Biarc b = SolveBiarc(p0, t0, p1, t1);
  if (b.pieces == 0) return;
  if (b.pieces == 1) {
    b.first.start = p0;
    b.first.end = p1;
    Store(b.first, sink);
    return;
  }
  FigureRecord first = b.first;
  first.choice = 0;
  const FigureRecord hit = IntersectFigures(first, b.second);
  if (hit.number == kHitNone) {
    Store(LinePiece(p0, p1), sink);
    return;
  }
  if (hit.number == kHitSameLine) {
    b.first.start = p0;
    b.first.end = p1;
    Store(b.first, sink);
    return;
  }
  b.first.start = p0;
  b.first.end = hit.start;
  b.second.start = hit.start;
  b.second.end = p1;
  Store(b.first, sink);
  Store(b.second, sink);
}

void CompleteSegmentGeometry() {
  FigureRecord& f = g_curFigure;
  if (f.kind == kKindLine) {
    f.centre = {};
    f.dir = Unit(Sub(f.end, f.start), f.dir);
  } else if (f.kind == kKindArc) {
    f.dir = {VectorAngle(f.start.x - f.centre.x, f.start.y - f.centre.y),
             VectorAngle(f.end.x - f.centre.x, f.end.y - f.centre.y)};
  }
}

void ShowCurveReadError(int id) {
  SignalBeep();
  char line[64];
  std::snprintf(line, sizeof line, "DRAM_READ_error  id[%05d]......", id);
  // The message dialog's heading names the read error while it is shown.
  g_messageCaption = " LIST_a2... Read_error.";
  CMessageDlg dialog(line);
  RunModalDialog(dialog);
  g_messageCaption.clear();
}

int ComputeCurveFromPoints(int first, int end, int fallback, const CurvePieceSink& sink) {
  const int n = end - first;
  if (first < 0 || n < 2) return fallback;
  const FigureRecord saved = g_curFigure;
  if (n == 2) {
    const FigureRecord a = ReadPoint(first, 7);
    const FigureRecord b = ReadPoint(first + 1, 8);
    g_pieceOrigin = a.origin;
    g_curFigure = saved;
    if (!HasTangent(a) || !HasTangent(b)) return fallback;
    ComputeSplineSegment(a.start, StoredTangent(a), b.start, StoredTangent(b), sink);
    g_curFigure = saved;
    return GetFigureCount(g_figureTableSelector);
  }
  for (int a = first; a + 2 < end; ++a) {
    FigureRecord pa = ReadPoint(a, 1);
    FigureRecord pb = ReadPoint(a + 1, 2);
    const FigureRecord pc = ReadPoint(a + 2, 3);
    if (!HasTangent(pa)) {
      SetTangent(pa, ThreePointTangent(pa.start, pb.start, pc.start));
      WritePoint(a, pa);
    }
    if (!HasTangent(pb)) {
      SetTangent(pb, BisectorTangent(pa.start, pb.start, pc.start));
      WritePoint(a + 1, pb);
    }
  }
  FigureRecord last = ReadPoint(end - 1, 4);
  if (!HasTangent(last)) {
    const FigureRecord before = ReadPoint(end - 2, 5);
    const FigureRecord twoBefore = ReadPoint(end - 3, 6);
    SetTangent(last, Scale(ThreePointTangent(last.start, before.start, twoBefore.start), -1.0));
    WritePoint(end - 1, last);
  }
  // The points first (the spans append behind them).
  std::vector<FigureRecord> points;
  for (int i = first; i < end; ++i) points.push_back(ReadPoint(i, i == first ? 7 : 8));
  g_pieceOrigin = points.front().origin;
  for (std::size_t i = 1; i < points.size(); ++i)
    ComputeSplineSegment(points[i - 1].start, StoredTangent(points[i - 1]), points[i].start, StoredTangent(points[i]),
                         sink);
  ++g_pointCurveNumber;
  g_curFigure = saved;
  return GetFigureCount(g_figureTableSelector);
}

}  // namespace dorn
