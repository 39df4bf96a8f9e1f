// Joining consecutive contour elements: the current element (R0) must end
// where the next one (R1) begins, both offset by the tool offset. A point
// hands its position over; elements that meet are cut at their crossing;
// elements that do not meet are joined by a corner.
#include <cmath>
#include <string>

#include "kelto_qup/engine/engine_geometry.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {

namespace {

// Offsets one element register to the left of its travel, as the fetch of
// the next element offsets it: a line moves both its points along its left
// normal; an arc moves its end point along the radius (from the centre in
// d6/d7) and its radius shrinks by the offset.
void OffsetElement(NcElement& e, double offset) {
  if ((e.code & 0xFF00) == kCodeArc || e.d1 != 0.0) {
    double ux = e.d6 - e.d4, uy = e.d7 - e.d5;
    const double length = std::hypot(ux, uy);
    if (length == 0.0) return;
    ux /= length;
    uy /= length;
    if (e.d1 < 0.0) {
      ux = -ux;
      uy = -uy;
    }
    e.d4 += offset * ux;
    e.d5 += offset * uy;
    e.d1 -= offset;
    return;
  }
  if ((e.code & 0xFF00) != kCodeLine) return;  // points and markers stay
  const double dx = -offset * e.d3, dy = offset * e.d2;
  e.d4 += dx;
  e.d5 += dy;
  e.d6 += dx;
  e.d7 += dy;
}

}  // namespace

void RunContext::ApplyOffsetToRegs() {
  const double offset = R3.d0;
  if (offset == 0.0) return;
  OffsetElement(R0, offset);
  OffsetElement(R1, offset);
}

}  // namespace qup

namespace qup {

namespace {

constexpr int kErrorNoCrossing = 16;
constexpr int kErrorCornerFit = 13;
constexpr int kErrorContourFigure = 9;
// Points closer than this (mm) coincide on the contour.
constexpr double kOnContour = 0.001;
constexpr int kFirstNonGeometry = 0x1A;
constexpr int kCornerCode = 0x1001;
constexpr int kCornerFlags = 0x11300;
// Directions whose cross product is below this in size go straight on: no corner.
constexpr double kStraightOn = 0.00001;
// A corner offset of exactly 0 would read as "no corner": it is kept this small instead.
constexpr double kZeroCornerOffset = 1e-14;

bool IsCornerMarker(const NcElement& e) { return e.code == kCornerCode || e.flags == kCornerFlags; }

geom::Vec2 LeftNormal(geom::Vec2 u) { return {-u.y, u.x}; }

// The unit tangent of an element at a point on it, in its direction of
// travel: a line's own direction; for a circle (centre, signed radius) the
// radius vector turned a quarter in the turning sense.
geom::Vec2 TangentAt(const NcElement& e, geom::Vec2 centre, geom::Vec2 at) {
  if (e.d1 == 0.0) return {e.d2, e.d3};
  geom::Vec2 r = at - centre;
  const double length = std::hypot(r.x, r.y);
  if (length == 0.0) return {e.d2, e.d3};
  r = (1.0 / length) * r;
  return e.d1 > 0.0 ? geom::Vec2{-r.y, r.x} : geom::Vec2{r.y, -r.x};
}

// Where the line through p with unit direction u meets the circle (c,
// radius r), the crossing nearest to `near`; false when they do not meet.
bool LineCircleNear(geom::Vec2 p, geom::Vec2 u, geom::Vec2 c, double r, geom::Vec2 near, geom::Vec2& out) {
  const geom::Vec2 foot = p + ((c.x - p.x) * u.x + (c.y - p.y) * u.y) * u;
  const double d2 = (foot.x - c.x) * (foot.x - c.x) + (foot.y - c.y) * (foot.y - c.y);
  const double h2 = r * r - d2;
  if (h2 < -1e-6) return false;
  const double h = h2 > 0.0 ? std::sqrt(h2) : 0.0;
  const geom::Vec2 a = foot + h * u, b = foot - h * u;
  const auto dist = [near](geom::Vec2 q) { return std::hypot(q.x - near.x, q.y - near.y); };
  out = dist(a) <= dist(b) ? a : b;
  return true;
}

// Where the line through p with unit direction u meets the circle (c,
// radius r) first ahead of `from` (beyond the joint tolerance); the crossing
// nearest to `from` when none lies ahead. False when they do not meet.
bool LineCircleAhead(geom::Vec2 p, geom::Vec2 u, geom::Vec2 c, double r, geom::Vec2 from, geom::Vec2& out) {
  geom::Vec2 nearest{};
  if (!LineCircleNear(p, u, c, r, from, nearest)) return false;
  const geom::Vec2 foot = p + ((c.x - p.x) * u.x + (c.y - p.y) * u.y) * u;
  const double h2 = r * r - ((foot.x - c.x) * (foot.x - c.x) + (foot.y - c.y) * (foot.y - c.y));
  const double h = h2 > 0.0 ? std::sqrt(h2) : 0.0;
  const double start = (from.x - foot.x) * u.x + (from.y - foot.y) * u.y;
  // The two crossings lie at -h and +h along the line from the foot.
  if (-h - start > kOnContour) {
    out = foot - h * u;
  } else if (h - start > kOnContour) {
    out = foot + h * u;
  } else {
    out = nearest;
  }
  return true;
}

// Where the circles (c0, r0) and (c1, r1) cross, the crossing nearest to
// `near`; circles that only just miss (by less than a micron) touch. False
// when they do not meet or share their centre.
bool CircleCircleNear(geom::Vec2 c0, double r0, geom::Vec2 c1, double r1, geom::Vec2 near, geom::Vec2& out) {
  const geom::Vec2 d = c1 - c0;
  const double h = geom::Length(d);
  if (h < 1e-9) return false;
  const geom::Vec2 u = (1.0 / h) * d;
  const double along = (r0 * r0 - r1 * r1 + h * h) / (2.0 * h);
  const double across2 = r0 * r0 - along * along;
  if (across2 < 0.0 && (h > r0 + r1 + 1e-6 || h < std::fabs(r0 - r1) - 1e-6)) return false;
  const double across = across2 > 0.0 ? std::sqrt(across2) : 0.0;
  const geom::Vec2 foot = c0 + along * u;
  const geom::Vec2 a = foot + across * LeftNormal(u), b = foot - across * LeftNormal(u);
  out = geom::Distance(a, near) <= geom::Distance(b, near) ? a : b;
  return true;
}

// A drawn element as the joint search sees it: a line through p along the
// unit u, or a full circle about c of radius r.
struct DrawnElement {
  bool circle = false;
  geom::Vec2 p{}, u{}, c{};
  double r = 0.0;

  // The point of the element nearest to q.
  geom::Vec2 Nearest(geom::Vec2 q) const {
    if (!circle) return p + ((q.x - p.x) * u.x + (q.y - p.y) * u.y) * u;
    const geom::Vec2 d = q - c;
    const double length = geom::Length(d);
    if (length < 1e-12) return c + geom::Vec2{r, 0.0};
    return c + (r / length) * d;
  }
};

// The fit stops after this many corrections.
constexpr int kFitLimit = 1024;
constexpr double kNoCorrectionYet = 7777777.0;

// The correction the fit accepts after i corrections: slow cases are let
// go with a wider tolerance.
double FitTolerance(int i) {
  if (i < 33) return 0.00002;
  if (i < 129) return 0.0001;
  if (i < 257) return 0.0002;
  if (i < 513) return 0.0003;
  return 0.00045;
}

// How far a point moves by its correction: the steps shorten as the count
// grows, so that a fit swinging about the joint settles.
double FitRelaxation(int i, bool damped) {
  if (i < 31) return damped ? 0.5 : 1.0;
  if (i < 127) return 0.4;
  if (i < 255) return 0.2857142857142857;
  return 0.23529411764705882;
}

struct JointFit {
  bool converged = false;
  geom::Vec2 joint{};
  double smallest = kNoCorrectionYet;  // the smallest correction seen
  int corrections = 0;
};

// Where two drawn elements meet when no closed construction gives it (they
// touch, or miss by less than the fit accepts): a point on each is moved
// towards the other's and put back on its element, until the two lie
// within the tolerance of the count. `rounded`: the correction is compared
// rounded to 0.001, as the contour walk writes its points.
JointFit FitJoint(const DrawnElement& e0, const DrawnElement& e1, geom::Vec2 a, geom::Vec2 b, bool rounded, bool damped) {
  JointFit fit;
  a = e0.Nearest(a);
  b = e1.Nearest(b);
  for (int i = 0;;) {
    const geom::Vec2 d = a - b;
    const double exact = geom::Length(d);
    const double correction = rounded ? RoundTo3Decimals(exact) : exact;
    fit.smallest = std::min(fit.smallest, exact);
    if (correction <= FitTolerance(i)) {
      fit.converged = true;
      fit.joint = 0.5 * (a + b);
      fit.corrections = i;
      return fit;
    }
    if (++i > kFitLimit) {
      fit.corrections = i;
      return fit;
    }
    const double relax = FitRelaxation(i, damped);
    a = e0.Nearest(a - relax * d);
    b = e1.Nearest(b + relax * (a - b));
  }
}

// Whether the register holds the table entry, offset as the walk offsets
// it: a line keeps its direction and moves across it only; an arc keeps its
// centre and its turning sense. Anything else (a lead line, a corner) is no
// element of the table.
bool IsOffsetOf(const NcElement& reg, const NcElement& entry) {
  constexpr double kSame = 1e-6;
  if (reg.d1 == 0.0) {
    if (entry.d1 != 0.0 || std::fabs(reg.d2 - entry.d2) > kSame || std::fabs(reg.d3 - entry.d3) > kSame) return false;
    const double along = (reg.d6 - entry.d6) * entry.d2 + (reg.d7 - entry.d7) * entry.d3;
    return std::fabs(along) < kSame;
  }
  return reg.d1 * entry.d1 > 0.0 && std::fabs(reg.d6 - entry.d6) < kSame && std::fabs(reg.d7 - entry.d7) < kSame;
}

// Where the next element (R1, the table entry at RangeStart while the walk
// joins two contour elements) begins as drawn: its start (a line's d6/d7,
// an arc's d2/d3, or, when the writer left the arc's start out, the end of
// the entry before it). Only forward walks: a backward walk keeps the side
// the join gives R1 from R0's.
bool JointAsDrawn(const RunContext& run, geom::Vec2& joint) {
  const int kind = run.R1.code & 0xFF00;
  if (run.RangeStep != 1 || (kind != kCodeLine && kind != kCodeArc)) return false;
  if (run.RangeStart < 1 || run.RangeStart >= run.elements.ElementCount) return false;
  const NcElement& entry = run.elements[run.RangeStart];
  if ((entry.code & 0xFF00) != kind || !IsOffsetOf(run.R1, entry)) return false;
  if (kind == kCodeLine) {
    joint = {entry.d6, entry.d7};
  } else if (entry.d2 != 0.0 || entry.d3 != 0.0) {
    joint = {entry.d2, entry.d3};
  } else {
    const NcElement& before = run.elements[run.RangeStart - 1];
    if ((before.code & 0xFF00) != kCodeLine && (before.code & 0xFF00) != kCodeArc) return false;
    joint = {before.d4, before.d5};
  }
  return true;
}

}  // namespace

int RunContext::cal303() {
  ContourWords& c = engine.contour;
  if (IsCornerMarker(R0)) return 1;
  R3.d4 = R0.d4;
  R3.d5 = R0.d5;
  if (R0.code == 0) return 0;
  const int kind0 = (R0.code >> 8) & 0xFF, kind1 = (R1.code >> 8) & 0xFF;
  JoinKind = kind1 == 0x11 ? 2 : kind0 == 0x11 ? 1 : 0;
  if (kind0 >= kFirstNonGeometry || kind1 >= kFirstNonGeometry) {
    const bool first = kind0 >= kFirstNonGeometry;
    const std::string text = platform::Sjis(first ? "GO図形のエラーcal303　aNo.%d" : "GO図形のエラーcal303　bNo.%d");
    const std::size_t at = text.find("%d");
    host.ShowErrorBox(text.substr(0, at) + std::to_string(first ? R0.number : R1.number));
    StopWithError(kErrorBadElement);
    return 0;
  }
  if (JoinKind == 2) {
    // The next element is a point: the current one ends there.
    R0.d4 = R1.d4;
    R0.d5 = R1.d5;
    return FinishJoin();
  }
  if (JoinKind == 1) return FinishJoin();  // a point hands its position over
  (void)c;
  return JoinLineCircle();
}

int RunContext::FinishJoin() {
  SetEndDirection();
  engine.contour.NoCrossingMark = 0;
  return 1;
}

int RunContext::JoinLineCircle() {
  ContourWords& c = engine.contour;
  c.CornerFactors = {0.0, 0.0};
  TraceStep(141, 1);
  const NcElement before = R0;
  // An arc meets the other element twice; R1's side bits pick the crossing.
  // Between two contour elements, mark them from the turn at the joint as
  // drawn, for this intersection only, so that a mirrored contour takes the
  // mirrored crossing whether or not an earlier side check marked the table.
  const int flags = R1.flags;
  if (core.TransformMode == 4 && (R0.d1 != 0.0 || R1.d1 != 0.0)) MarkSideFromTurn();
  const int met = IntersectWithNext();
  R1.flags = flags;
  if (met == 0) {
    if (core.TransformMode != 4) {
      StopWithError(kErrorNoCrossing);
      return 0;
    }
    c.NoCrossingMark = 0xFFFF;
    if (SameKindAndApart() == 1) {
      R0 = before;
      return CornerStep() == 1 ? FinishJoin() : 0;
    }
    if (R0.d1 != 0.0 && R1.d1 != 0.0) {
      // Two arcs of one circle (a circle drawn in pieces, the closing joint
      // of a lens or an oval): they meet where the first ends and no corner
      // stands between them. The fetch left the first's end as its unit
      // radius (d2/d3, towards the centre for a counter-clockwise arc);
      // while they are intersected d4/d5 hold the centre, which must never
      // become the joint. Concentric arcs of other radii never meet.
      if (std::fabs(std::fabs(R0.d1) - std::fabs(R1.d1)) >= kOnContour) {
        StopWithError(kErrorNoCrossing);
        return 0;
      }
      R0.d4 -= R0.d1 * R0.d2;
      R0.d5 -= R0.d1 * R0.d3;
      return FinishJoin();
    }
    // Parallel lines go on where the next begins.
    R0.d4 = R1.d4;
    R0.d5 = R1.d5;
    return FinishJoin();
  }
  if (core.TransformMode == 4 && IsOutsideCorner(before)) {
    R0 = before;
    R3.d4 = before.d4;
    R3.d5 = before.d5;
    c.CornerFactors = {1.0, 1.0};
    if (CornerStep() != 1) return 0;
  }
  if (SwallowedByOffset()) {
    StopWithError(kErrorContourFigure);
    return 0;
  }
  return FinishJoin();
}

void RunContext::MarkSideFromTurn() {
  geom::Vec2 joint{};
  if (!JointAsDrawn(*this, joint)) return;
  // Both offset elements stand the offset away from the joint as drawn;
  // elements built for the run (a line through a circle's centre, a lead)
  // do not, and keep the side bits they have.
  const double offset = std::fabs(ElementOffset());
  const auto away = [&joint](const NcElement& e) {
    if (e.d1 == 0.0) return std::fabs(geom::Cross(geom::DirectionD2(e), joint - geom::PointD4(e)));
    return std::fabs(geom::Distance(joint, geom::PointD4(e)) - std::fabs(e.d1));
  };
  constexpr double kOnOffset = 0.001;
  if (std::fabs(away(R0) - offset) > kOnOffset || std::fabs(away(R1) - offset) > kOnOffset) return;
  // The direction of travel of each element at the joint; an offset keeps
  // it, so the drawn joint tells the turn of the offset elements too. An
  // arc's centre is in d4/d5 while the elements are intersected.
  const auto along = [&joint](const NcElement& e) {
    if (e.d1 == 0.0) return geom::DirectionD2(e);
    return geom::QuarterTurn(geom::UnitOr(joint - geom::PointD4(e), {1.0, 0.0}), e.d1);
  };
  const double right = RoundTo3Decimals(geom::Cross(along(R1), along(R0)));
  if (right > 0.0) {
    R1.flags = (R1.flags & static_cast<int>(0xFF000000u)) | kReversedSide;
  } else {
    R1.flags &= static_cast<int>(0xFF000000u);
  }
}

bool RunContext::SwallowedByOffset() const {
  // A straight element whose end comes out behind where the tool stands
  // has been swallowed by the offset (a notch narrower than the tool):
  // cutting it would take the tool back through the walls beside it.
  const ContourWords& c = engine.contour;
  if (core.TransformMode != 4 || R0.d1 != 0.0 || ElementOffset() == 0.0 || c.PendingMove != 0) return false;
  const double along = (R0.d4 - c.LastCommandPoint[0]) * R0.d2 + (R0.d5 - c.LastCommandPoint[1]) * R0.d3;
  return along < -kOnContour;
}

int RunContext::SameKindAndApart() const {
  const bool line0 = R0.d1 == 0.0, line1 = R1.d1 == 0.0;
  if (line0 != line1) return 1;
  if (line0) return 0;
  return std::hypot(R0.d4 - R1.d4, R0.d5 - R1.d5) >= 0.001 ? 1 : 0;
}

double RunContext::ElementOffset() const {
  // The offset the walk gave the elements: the command's own in offset mode 1.
  return (core.OffsetMode & 0xF) == 1 ? R2.d1 : 0.0;
}

bool RunContext::IsOutsideCorner(const NcElement& current) {
  // The offset elements cross beyond the joint when the contour turns away
  // from the offset side: the tool must go round the joint there.
  const double offset = ElementOffset();
  if (offset == 0.0) return false;
  const geom::Vec2 crossing{R0.d4, R0.d5};
  const geom::Vec2 u0 = TangentAt(current, {current.d6, current.d7}, crossing);
  const geom::Vec2 u1 = TangentAt(R1, {R1.d4, R1.d5}, crossing);
  const double turn = u0.x * u1.y - u0.y * u1.x;
  return std::fabs(turn) >= kStraightOn && offset * turn < 0.0;
}

int RunContext::CornerStep() {
  // The process and allowance offsets belong to the elements, not to the
  // corner: they are set aside while it is built.
  ContourWords& c = engine.contour;
  const double keptD0 = R3.d0, keptExtra = engine.stepping.ExtraOffset;
  const bool clear = ((core.SnapshotFlags & 0xFD07) != 0 || c.AllowanceMode != 0) && engine.call.CallState != 17;
  if (clear) {
    R3.d0 = 0.0;
    engine.stepping.ExtraOffset = 0.0;
  }
  const int result = PrepareCornerOffset();
  R3.d0 = keptD0;
  engine.stepping.ExtraOffset = keptExtra;
  if (result != 1) c.NoCrossingMark = 0;
  return result;
}

int RunContext::PrepareCornerOffset() {
  ContourWords& c = engine.contour;
  if ((R2.code & 0xFFF0) == 0x7140) {
    // The contour set-up pass joins nothing: the next element starts here.
    R0.code = kCornerCode;
    R1.d4 = R0.d4;
    R1.d5 = R0.d5;
    return 1;
  }
  if (c.CornerGuard != 0) return 1;
  c.CornerGuard = 0xFFFF;
  // The corner keeps the distance the elements were offset by, so that it
  // meets them at both ends.
  c.CornerOffset = ElementOffset();
  if (c.CornerOffset == 0.0) c.CornerOffset = kZeroCornerOffset;
  const int fitted = FitCorner();
  c.CornerGuard = 0;
  return fitted;
}

int RunContext::FitCorner() {
  // The joint of the elements as drawn (before the offset), and the two
  // tool positions beside it: P at the end of the current element, Q at the
  // start of the next. The tool goes round the joint from P to Q at the
  // offset distance.
  ContourWords& c = engine.contour;
  const double offset = c.CornerOffset;
  geom::Vec2 joint{};
  if (R1.d1 == 0.0) {
    // The drawn line of the next element. A forward walk leaves its start
    // in d4/d5, so the joint is there; a backward walk turns the element
    // over but leaves its points, d4/d5 then lies at its far end: the joint
    // is where the drawn lines of both elements cross.
    const geom::Vec2 u1{R1.d2, R1.d3};
    joint = geom::Vec2{R1.d4, R1.d5} - offset * LeftNormal(u1);
    if (R0.d1 == 0.0) {
      const geom::Vec2 u0{R0.d2, R0.d3};
      const geom::Vec2 p0 = geom::Vec2{R0.d6, R0.d7} - offset * LeftNormal(u0);
      const double across = geom::Cross(u1, u0);
      if (std::fabs(across) >= kStraightOn) joint = joint + (geom::Cross(p0 - joint, u0) / across) * u1;
    }
  } else {
    // The drawn elements: the offset ones moved back by the offset. The
    // fetch left an arc's end unit radius in d2/d3 (towards the centre for
    // a counter-clockwise arc); its drawn radius is the offset one plus
    // the offset.
    DrawnElement e0, e1;
    geom::Vec2 near{R0.d4, R0.d5};
    if (R0.d1 == 0.0) {
      e0.u = {R0.d2, R0.d3};
      e0.p = geom::Vec2{R0.d6, R0.d7} - offset * LeftNormal(e0.u);
    } else {
      e0.circle = true;
      e0.c = {R0.d6, R0.d7};
      e0.r = std::fabs(R0.d1 + offset);
      near = e0.c - (R0.d1 + offset) * geom::Vec2{R0.d2, R0.d3};
    }
    e1.circle = true;
    e1.c = {R1.d4, R1.d5};
    e1.r = std::fabs(R1.d1 + offset);
    // The joint is where they cross, the crossing at the current
    // element's drawn end.
    // A line ends at the first crossing ahead of where it begins: a line
    // that begins on the circle (a chord closing onto its own arc) meets it
    // again at its far end, and the joint is there, not behind the tool.
    const bool met = e0.circle ? CircleCircleNear(e0.c, e0.r, e1.c, e1.r, near, joint)
                               : LineCircleAhead(e0.p, e0.u, e1.c, e1.r, near, joint);
    if (!met) {
      // Elements that only touch, or miss by a drawing's rounding, are
      // met by the fit; a gap it cannot close stops the run.
      const bool rounded = core.TransformMode == 4 && c.FineFitWord == 0;
      const JointFit fit = FitJoint(e0, e1, near, near, rounded, c.DampingSwitch != 0);
      c.CornerFitCorrection = fit.smallest;
      if (!fit.converged) return StopWithError(kErrorCornerFit);
      joint = fit.joint;
    }
  }
  const geom::Vec2 u0 = TangentAt(R0, {R0.d6, R0.d7}, joint);
  const geom::Vec2 u1 = TangentAt(R1, {R1.d4, R1.d5}, joint);
  const geom::Vec2 p = joint + offset * LeftNormal(u0);
  const geom::Vec2 q = joint + offset * LeftNormal(u1);
  for (const double v : {p.x, p.y, q.x, q.y}) {
    if (!std::isfinite(v)) return StopWithError(kErrorCornerFit);
  }
  const double turn = u0.x * u1.y - u0.y * u1.x;
  c.CornerP = {p.x, p.y};
  c.CornerQ = {q.x, q.y};
  c.CornerJoint = {joint.x, joint.y};
  c.CornerSense = turn > 0.0 ? 1.0 : -1.0;
  R0.d4 = p.x;
  R0.d5 = p.y;
  NcElement marker{};
  marker.number = R1.number;
  marker.code = kCornerCode;
  marker.flags = kCornerFlags;
  marker.d0 = turn > 0.0 ? 1.0 : -1.0;  // the sense the tool goes round the joint
  marker.d1 = offset;
  marker.d2 = u1.x;
  marker.d3 = u1.y;
  marker.d4 = q.x;
  marker.d5 = q.y;
  marker.d6 = joint.x;
  marker.d7 = joint.y;
  R1 = marker;
  // The real next element is fetched again after the corner.
  RangeStart -= RangeStep;
  return 1;
}

}  // namespace qup
