// Motion segment geometry: the one or two pieces (lines or arcs) that carry
// the tool from a start point A with direction t0 to an end point B with
// direction t1, the circle through three points and the direction at the
// middle one, the lengths of the pieces, and the point at a length along
// them.
//
// A piece is an arc when its d1 (signed radius, positive counter-clockwise)
// is not 0; its centre is then in d6/d7. Every piece ends at its d4/d5. The
// first piece lives in MotionSegFrame, the second in MotionSegFrame2, whose
// flags 0 mean that there is no second piece.
#include <cmath>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {

using geom::Vec2;

namespace {

// Pieces of a segment: 15 marks a piece built here; 0 no second piece.
constexpr int kPieceFlags = 15;
// Radii (mm) outside this band are not usable for a piece.
constexpr double kSmallestRadius = 0.001;
constexpr double kLargestRadius = 500000.0;
// Sides of the chord: products of the end sines below this are an S shape.
constexpr double kSameSideLimit = -1e-11;
// Slack of the test that a crossing lies between A and B in X (mm).
constexpr double kBetweenSlack = 1e-11;
// A clockwise turn of the chords of three points.
constexpr double kClockwiseCross = -1e-12;

bool UsableRadius(double r) {
  // NaN and infinity come from chords that give no circle: never usable.
  if (!std::isfinite(r)) return false;
  const double size = std::fabs(r);
  return size >= kSmallestRadius && size <= kLargestRadius;
}

// The centre of the circle of signed radius r tangent to t at p.
Vec2 CentreFrom(Vec2 p, Vec2 t, double r) { return p + r * Vec2{-t.y, t.x}; }

bool BetweenInX(Vec2 x, Vec2 a, Vec2 b) { return x.x >= a.x - kBetweenSlack && x.x <= b.x + kBetweenSlack; }

}  // namespace

int RunContext::BuildSegmentPieces() {
  const Vec2 a = geom::PointD4(R0);
  const Vec2 b = geom::PointD4(R1);
  const Vec2 t0 = geom::DirectionD2(R0);
  const Vec2 t1 = geom::DirectionD2(R1);
  R0.flags = kPieceFlags;
  R1.flags = kPieceFlags;
  // 1. Points that meet at 0.001 carry no segment.
  if (RoundTo3Decimals(a.x - b.x) == 0.0 && RoundTo3Decimals(a.y - b.y) == 0.0) return 0;

  // 2. The chord.
  geom::SetD6(R0, a);
  geom::SetD6(R1, b);
  WorkVectorX() = b.x - a.x;
  WorkVectorY() = b.y - a.y;
  NormalizeWorkVector();
  const Vec2 u{WorkVectorX(), WorkVectorY()};
  const double chord = WorkLength;

  // 3. The end directions in the chord's frame.
  const double ca = geom::Dot(t0, u);
  const double sa = geom::Cross(u, t0);
  const double cb = geom::Dot(t1, u);
  const double sb = geom::Cross(u, t1);

  enum class Piece { TwoArcs, SingleArc, Corner, Straight, ArcFallback };
  Piece next = Piece::Straight;
  if (sa * sb >= kSameSideLimit) {
    // 5. Both ends turn to the same side (or one runs along the chord).
    const double s = sa * cb - sb * ca;
    if (s != 0.0) {
      const Vec2 m = geom::UnitOr({(ca + cb) / 2.0, (sa + sb) / 2.0}, {1.0, 0.0});
      const double d = ((m.y + sb) / 2.0) * ((ca - m.x) / 2.0) - ((cb - m.x) / 2.0) * ((sa + m.y) / 2.0);
      const double r1 = (cb - m.x) * chord / d / 4.0;
      const double r2 = (m.x - ca) * chord / d / 4.0;
      if (UsableRadius(r1) && UsableRadius(r2)) {
        R0.d1 = r1;
        R1.d1 = -r2;
        next = Piece::TwoArcs;
      }
    } else {
      const double r = (chord / 4.0) / sa;
      if (UsableRadius(r)) {
        R0.d1 = -r;
        R1.d1 = r;
        next = Piece::TwoArcs;
      }
    }
  } else if (ca != cb) {
    // 6. An S shape.
    const double caRest = 1.0 - ca;
    const double cbRest = 1.0 - cb;
    const double k = sa * cbRest - sb * caRest;
    const double r1 = -chord * cbRest / k;
    const double r2 = -chord * caRest / k;
    if (!UsableRadius(r1) || !UsableRadius(r2)) {
      next = Piece::Corner;
    } else {
      R0.d1 = r1;
      R1.d1 = r2;
      next = std::fabs(r2 - r1) >= kSmallestRadius ? Piece::TwoArcs : Piece::SingleArc;
    }
  } else {
    const double r = chord / sb / 2.0;
    if (!std::isfinite(r) || std::fabs(r) < kSmallestRadius) {
      next = Piece::Corner;
    } else {
      R0.d1 = r;
      next = Piece::SingleArc;
    }
  }

  Vec2 heldCentre{};
  if (next == Piece::TwoArcs) {
    // 7. Two arcs, each tangent at its end, meeting where their circles cross.
    const double p = R0.d1;
    const double q = R1.d1;
    R0.code = kCodeArc;
    R1.code = kCodeArc;
    const Vec2 centre1 = CentreFrom(a, t0, p);
    const Vec2 centre2 = CentreFrom(b, t1, q);
    geom::SetD4(R0, centre1);
    geom::SetD4(R1, centre2);
    const double gap = RoundTo3Decimals(p - q);
    heldCentre = centre1;
    if (gap == 0.0) {
      next = Piece::ArcFallback;
    } else if (std::fabs(gap) > kLargestRadius) {
      geom::SetD4(R0, a);
      geom::SetD4(R1, b);
      next = Piece::Corner;
    } else {
      R0.d2 = R0.d3 = 0.0;
      R1.d2 = R1.d3 = 0.0;
      if (IntersectWithNext() == 0) {
        // Circles that do not cross: the corner of the two end lines, else
        // the straight chord.
        next = Piece::Corner;
      } else {
        const Vec2 x = geom::PointD4(R0);
        if (BetweenInX(x, a, b)) {
          R0.d1 = p;
          geom::SetD6(R0, centre1);
          R1.d1 = q;
          geom::SetD6(R1, centre2);
          geom::SetD4(R1, b);
          return 0;
        }
        // The crossing lies outside the segment: the arc around centre 1.
        geom::SetD4(R0, centre1);
        next = Piece::ArcFallback;
      }
    }
  }

  if (next == Piece::Corner) {
    // 9. The lines through A along t0 and through B along t1.
    R0.d1 = 0.0;
    R1.d1 = 0.0;
    R0.code = kCodeLine;
    R1.code = kCodeLine;
    geom::SetD2(R0, t0);
    geom::SetD2(R1, t1);
    geom::SetD4(R0, a);
    geom::SetD4(R1, b);
    next = Piece::Straight;
    if (IntersectWithNext() != 0) {
      const Vec2 x = geom::PointD4(R0);
      if (BetweenInX(x, a, b)) {
        // Each line runs from its start towards its end.
        geom::SetD2(R0, geom::UnitOr(x - a, t0));
        geom::SetD6(R0, a);
        geom::SetD2(R1, geom::UnitOr(b - x, t1));
        geom::SetD6(R1, x);
        geom::SetD4(R1, b);
        return 0;
      }
      // A corner outside the segment: the straight chord.
      geom::SetD4(R0, a);
    }
  }

  if (next == Piece::SingleArc) {
    // 8. One arc tangent to t0 at A through B.
    R0.code = kCodeArc;
    geom::SetD4(R0, CentreFrom(a, t0, R0.d1));
    R0.d2 = R0.d3 = 0.0;
  } else if (next == Piece::Straight) {
    // 10. The chord itself.
    R0.code = kCodeLine;
    R0.d1 = 0.0;
    geom::SetD2(R0, u);
    geom::SetD4(R0, a);
  } else if (next == Piece::ArcFallback) {
    // 11. One of the two arcs: the larger radius in the sense of the first.
    geom::SetD4(R0, heldCentre);
    double w = R0.d1 - R1.d1;
    if (R0.d1 < 0.0) w = -w;
    if (w < 0.0) {
      R0.d1 = R1.d1;
      R0.d4 = R1.d4;
      R0.d5 = R1.d5;
    }
  }
  // 12. One piece ending at B; an arc's centre (or a line's start) in d6/d7.
  R0.d6 = R0.d4;
  R0.d7 = R0.d5;
  geom::SetD4(R0, b);
  R1.flags = 0;
  return 0;
}

int RunContext::CircleThroughThreePoints() {
  auto& s = engine.stepping;
  const Vec2 a = geom::PointD4(R0);
  const Vec2 b = geom::PointD4(R1);
  const Vec2 c{R3.d4, R3.d5};
  // 1.-2. The perpendicular bisectors of AB and BC.
  const Vec2 u = geom::UnitOr(b - a, {1.0, 0.0});
  const Vec2 v = geom::UnitOr(c - b, {1.0, 0.0});
  R0.code = kCodeLine;
  R1.code = kCodeLine;
  R0.d1 = R1.d1 = 0.0;
  geom::SetD4(R0, 0.5 * (a + b));
  geom::SetD2(R0, {-u.y, u.x});
  geom::SetD4(R1, 0.5 * (b + c));
  geom::SetD2(R1, {-v.y, v.x});
  geom::SetD4(R3, a);
  geom::SetD6(R3, b);
  // 3. Collinear points give parallel bisectors: no circle.
  if (IntersectWithNext() == 0) return 0;
  const Vec2 centre = geom::PointD4(R0);
  // 4. The radius from the centre to A, negative for a clockwise turn.
  Vec2 w = a - centre;
  double r = geom::Length(w);
  w = r < geom::kZeroLength ? Vec2{1.0, 0.0} : (1.0 / r) * w;
  s.ChordA = {u.x, u.y};
  s.ChordB = {v.x, v.y};
  if (geom::Cross(u, v) < kClockwiseCross) {
    w = -1.0 * w;
    r = -r;
  }
  WorkLength = r;
  // 5. The circle: centre, A, and the tangent at A.
  geom::SetD4(R1, b);
  geom::SetD6(R0, centre);
  geom::SetD4(R0, a);
  geom::SetD2(R0, {-w.y, w.x});
  return 1;
}

int RunContext::MiddleDirection() {
  const Vec2 a = geom::PointD4(R0);
  const Vec2 b = geom::PointD4(R1);
  const Vec2 c{R3.d4, R3.d5};
  if (CircleThroughThreePoints() == 0) return 0;
  const double p = b.y - a.y;
  const double q = b.y - c.y;
  Vec2 direction{1.0, 0.0};
  if (q != 0.0) {
    if (p == 0.0) return 0;
    const bool highest = p > 0.0 && q >= 0.0;
    const bool lowest = p < 0.0 && q < 0.0;
    if (!highest && !lowest) {
      const Vec2 half = 0.5 * geom::UnitOr(b - a, {1.0, 0.0}) + 0.5 * geom::UnitOr(c - b, {1.0, 0.0});
      direction = geom::UnitOr(half, {1.0, 0.0});
    }
  }
  geom::SetD2(R1, direction);
  return 1;
}

namespace {

// The length of one piece from `start`: the distance for a line, for an arc
// |R| times the sweep from start to end in the arc's sense (a sweep under
// 0.001 mm of arc counts as none).
double PieceLength(const NcElement& piece, Vec2 start, double degreesPerRadian) {
  const Vec2 end = geom::PointD4(piece);
  if (piece.d1 == 0.0) return geom::Distance(start, end);
  const Vec2 centre = geom::PointD6(piece);
  const Vec2 e = geom::UnitOr(end - centre, {1.0, 0.0});
  const Vec2 s = start - centre;
  const double x = geom::Dot(e, s);
  double y = RoundTo3Decimals(geom::Cross(e, s));
  if (piece.d1 > 0.0) y = -y;
  double sweep = geom::PolarDegrees(x, y);
  if (piece.d1 < 0.0) sweep = -sweep;
  return piece.d1 * sweep / degreesPerRadian;
}

}  // namespace

int RunContext::SegmentLengths() {
  auto& s = engine.stepping;
  auto& n = core.ToolNormal;
  const NcElement& first = s.MotionSegFrame;
  const NcElement& second = s.MotionSegFrame2;
  // 1. The segment starts at (I, J); K and ToolPointZ keep that start, I and
  // J take the first piece's end.
  s.SegmentStart = {n[0], n[1]};
  n[2] = n[0];
  core.ToolPointZ = n[1];
  n[0] = first.d4;
  n[1] = first.d5;
  R0 = first;
  R1 = second;
  R1.d2 = R1.d3 = 0.0;
  // 2.-4. The first piece, then the second one from the first one's end.
  s.SegmentRecord.d2 = PieceLength(first, {s.SegmentStart[0], s.SegmentStart[1]}, core.DegreesPerRadian);
  s.SegmentRecord.d3 = 0.0;
  if (second.flags != 0) {
    s.SegmentStart = {first.d4, first.d5};
    s.SegmentRecord.d3 = PieceLength(second, {first.d4, first.d5}, core.DegreesPerRadian);
  }
  // 5. The whole length.
  R2.d3 = s.SegmentRecord.d2 + s.SegmentRecord.d3;
  return 0;
}

int RunContext::PointAtLength() {
  auto& s = engine.stepping;
  const auto& n = core.ToolNormal;
  double length = R2.d3;
  // 1. On the first piece, from the segment's start (K, ToolPointZ).
  WorkLength = s.SegmentRecord.d2;
  Vec2 start{n[2], core.ToolPointZ};
  const NcElement* piece = &s.MotionSegFrame;
  // 2. Past the first piece: on the second one, from the first one's end;
  // never past the segment's end.
  if (length > s.SegmentRecord.d2) {
    if (s.MotionSegFrame2.flags == 0) {
      length = s.SegmentRecord.d2;
    } else {
      length -= s.SegmentRecord.d2;
      start = {n[0], n[1]};
      piece = &s.MotionSegFrame2;
      if (length > s.SegmentRecord.d3) length = s.SegmentRecord.d3;
    }
    R2.d3 = length;
  }
  // 3.-4. Along the piece: turned about an arc's centre, or straight along a
  // line from the piece's start.
  R0 = *piece;
  if (R0.d1 != 0.0) {
    const Vec2 centre = geom::PointD6(R0);
    const auto [c, sn] = DegToCosSin(core.DegreesPerRadian * length / R0.d1);
    const Vec2 v = start - centre;
    geom::SetD4(R0, centre + Vec2{c * v.x - sn * v.y, sn * v.x + c * v.y});
  } else {
    geom::SetD4(R0, start + length * geom::DirectionD2(R0));
  }
  return 0;
}

}  // namespace qup
