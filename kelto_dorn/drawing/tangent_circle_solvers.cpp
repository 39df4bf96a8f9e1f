// The circles tangent to three figures: see tangent_circle_solvers.h.
//
// Every case runs the same damped search over r: step 1 builds the two
// working figures for r, step 2 intersects them (no intersection moves r on
// and may turn the error's sign round), step 3 measures the error at the
// candidate centre Q, step 4 stores a converged circle, and step 5 moves r:
// coarse StepValue steps outward until the error changes sign, then steps of
// 1/pi of the bracket between the last positive and non-positive r.
#include "kelto_dorn/drawing/tangent_circle_solvers.h"

#include <cmath>
#include <cstdlib>
#include <utility>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/drawing/candidate_choice.h"
#include "kelto_dorn/drawing/construction_figures.h"

namespace dorn {
namespace {

// A candidate whose miss is below this is a solution (mm).
constexpr double kConverged = 1e-7;
// r beyond this ends a search.
constexpr double kLargestR = 99999999999.0;
// The bracket steps: 1/pi of the bracket.
constexpr double kBracketStep = 0.3183098861837907;
// A duplicate found by the line cases: search on from this multiple of r.
constexpr double kDuplicateJump = 15.0;
// Overlapping circles: the first steps are this long (mm).
constexpr double kHalfStep = 0.5;
constexpr double kShortMiss = 0.75;
constexpr int kLongSearch = 19999;
// The solvers' copies of the picks, and of the lines of the three-line case.
constexpr int kBlockA = 31, kBlockB = 32, kBlockC = 33;
constexpr int kBlockSavedA = 41, kBlockSavedB = 42;
// Blocks emptied before the solvers run.
constexpr int kFirstClearedBlock = 6, kLastClearedBlock = 27;
// Bit 0x8000 of a side argument: start with the error negated (or turn a
// line round); the low bits are the intersection selector.
constexpr int kSideFlag = 0x8000;
// Three arcs: when fewer solutions than this were found, the rotated outer
// case runs once more with the negated error.
constexpr int kEnoughSolutions = 8;

// The side of an arc to arc intersection the selector chooses.
constexpr int kSelectorMask = 0xF;

FigureRecord& Block(int i) { return *g_figureStore.SegmentBlock(i); }

double Distance(Vec2 a, Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

// The distance of p from the carrier line of `line` (via the perpendicular foot).
double DistanceToLine(Vec2 p, const FigureRecord& line) {
  return Distance(p, IntersectFigures(PointFigure(p), line).start);
}

FigureRecord Circle(Vec2 centre, double radius) { return CircleFigure(centre, radius); }

// Line `line` moved by r to the left of its direction.
FigureRecord Shifted(FigureRecord line, double r) {
  const Vec2 shift{-r * line.dir.y, r * line.dir.x};
  line.start = {line.start.x + shift.x, line.start.y + shift.y};
  line.end = {line.end.x + shift.x, line.end.y + shift.y};
  return line;
}

FigureRecord WithChoice(FigureRecord f, int selector) {
  f.choice = selector;
  return f;
}

bool IsArc(const FigureRecord& f) { return f.kind == kKindArc; }
bool IsLine(const FigureRecord& f) { return f.kind == kKindLine; }

int CountSolutions() {
  int n = 0;
  for (int i = kFirstCandidateBlock; i <= kLastCandidateBlock; ++i)
    if (Block(i).kind == kKindArc) ++n;
  return n;
}

// Stores the circle of radius |radius| about q; 0 stored, else duplicate or
// full. The cases store from different first blocks, so a solution found by
// a later case may already stand above its first block: every candidate
// block is compared, and a circle is stored once.
int StoreSolution(Vec2 q, double radius, int firstBlock) {
  const FigureRecord saved = g_curFigure;
  g_curFigure = Block(1);
  g_curFigure.choice = 0;
  g_curFigure.centre = q;
  g_curFigure.radius = std::fabs(radius);
  int result = 0;
  for (int i = firstBlock; i <= kLastCandidateBlock && result == 0; ++i) {
    const FigureRecord& stored = Block(i);
    if (stored.kind == kKindArc && IsSameArcPoint(stored.radius, stored.centre.x, stored.centre.y) == 1) ++result;
  }
  if (result == 0) result = MakeArcFigure(radius, firstBlock);
  g_curFigure = saved;
  return result;
}

}  // namespace

double TangentCircleSolver::SetupTangentSolver(int type) {
  const FigureRecord p1 = Block(1), p2 = Block(2), p3 = Block(3);
  switch (type) {
    case 0:
    case 1:
      a_ = p1, b_ = p2, c_ = p3;
      break;
    case 2:
      a_ = p2, b_ = p3, c_ = p1;
      break;
    case 3:
      a_ = p3, b_ = p1, c_ = p2;
      break;
    case 5:
    case 7: {
      const auto wanted = [type](const FigureRecord& f) { return type == 5 ? IsLine(f) : IsArc(f); };
      if (wanted(p1))
        a_ = p1, b_ = p2, c_ = p3;
      else if (wanted(p2))
        a_ = p2, b_ = p1, c_ = p3;
      else
        a_ = p3, b_ = p1, c_ = p2;
      break;
    }
    default:
      break;  // A, B and C keep what they hold
  }
  Block(kBlockA) = a_;
  Block(kBlockB) = b_;
  Block(kBlockC) = c_;
  hits_ = 0;
  if (type == 5) {
    distanceC_ = DistanceToLine(c_.centre, a_);
    return (DistanceToLine(b_.centre, a_) - b_.radius) * 0.5;
  }
  return (Distance(a_.centre, b_.centre) - (a_.radius + b_.radius)) * 0.5;
}

template <class Build, class Error, class Radius>
void TangentCircleSolver::Run(const Search& s, Build build, Error error, Radius radius) {
  double r = s.start;
  double rLow = r, rHigh = r;
  bool up = true, down = true, flip = s.flipAtStart;
  int bracketSteps = 0, misses = 0;
  FigureRecord first, second;
  for (int k = 1; k <= s.maxSteps && r <= kLargestR; ++k) {
    build(r, first, second);
    const FigureRecord hit = IntersectFigures(first, second);
    if (hit.number > kHitTwoPoints) {
      r += s.missStep;
      if (hits_ != 0 && ++misses > 1 && s.flipOnMiss) flip = s.flipToggles ? !flip : true;
      if (s.resetOnMiss) {
        bracketSteps = 0;
        up = down = true;
      }
      continue;
    }
    ++hits_;
    const Vec2 q = hit.start;
    double e = error(q, r);
    if (std::fabs(e) < kConverged) {
      const int stored = StoreSolution(q, radius(r), s.firstBlock);
      if (stored == 0 || stored == kNoFreeBlock || !s.searchOnDuplicate) return;
      r *= kDuplicateJump;
      flip = !flip;
      continue;
    }
    if (flip) e = -e;
    const bool coarse = bracketSteps == 0;
    if (e > 0.0) {
      rLow = r;
      if (up && coarse)
        r = s.halfSteps ? r + kHalfStep : StepValue(0, std::fabs(e), r);
      else
        r += std::fabs(r - rHigh) * kBracketStep, ++bracketSteps;
      up = true, down = false;
    } else {
      rHigh = r;
      if (down && coarse)
        r = s.halfSteps ? r - kHalfStep : StepValue(1, std::fabs(e), r);
      else
        r -= std::fabs(rLow - r) * kBracketStep, ++bracketSteps;
      up = false, down = true;
    }
  }
}

void TangentCircleSolver::SolveTangentCircleOutside(int side) {
  Search s;
  s.start = SetupTangentSolver(0);
  s.resetOnMiss = false;
  const FigureRecord a = a_, b = b_, c = c_;
  Run(
      s,
      [&](double r, FigureRecord& x, FigureRecord& y) {
        x = Circle(a.centre, r + a.radius);
        y = WithChoice(Circle(b.centre, r + b.radius), side);
      },
      [&](Vec2 q, double r) { return Distance(q, c.centre) - c.radius - r; }, [](double r) { return r; });
}

void TangentCircleSolver::SolveTangentCircleAroundTwo(int side) {
  Search s;
  s.start = SetupTangentSolver(0);
  s.resetOnMiss = false;
  s.firstBlock = 8;
  const FigureRecord a = a_, b = b_, c = c_;
  Run(
      s,
      [&](double r, FigureRecord& x, FigureRecord& y) {
        x = Circle(a.centre, r + a.radius);
        y = WithChoice(Circle(b.centre, b.radius - (2.0 * a.radius + r)), side);
      },
      [&](Vec2 q, double r) { return Distance(q, c.centre) + c.radius - (2.0 * a.radius + r); },
      [&](double r) { return 2.0 * a.radius + r; });
}

void TangentCircleSolver::SolveTangentCircleRotatedOuter(int side) {
  for (int type = 1; type <= 3; ++type) {
    Search s;
    s.start = SetupTangentSolver(type);
    s.flipAtStart = (side & kSideFlag) != 0;
    s.firstBlock = 9 + type;
    const FigureRecord a = a_, b = b_, c = c_;
    const bool inside = Distance(a.centre, c.centre) < a.radius + c.radius;
    Run(
        s,
        [&](double r, FigureRecord& x, FigureRecord& y) {
          x = Circle(a.centre, std::fabs(r + a.radius));
          y = WithChoice(Circle(b.centre, std::fabs(r + b.radius)), side & 3);
        },
        [&](Vec2 q, double r) {
          const double d = Distance(q, c.centre);
          return inside ? c.radius - d - r : d + c.radius - r;
        },
        [](double r) { return r; });
  }
}

void TangentCircleSolver::SolveTangentCircleRotatedInner(int side) {
  for (int type = 1; type <= 3; ++type) {
    Search s;
    s.start = SetupTangentSolver(type);
    s.firstBlock = 15 + type;
    const FigureRecord a = a_, b = b_, c = c_;
    const bool inside = Distance(a.centre, c.centre) < a.radius + c.radius;
    Run(
        s,
        [&](double r, FigureRecord& x, FigureRecord& y) {
          x = Circle(a.centre, r + a.radius);
          y = WithChoice(Circle(b.centre, r - b.radius), side);
        },
        [&](Vec2 q, double r) {
          const double d = Distance(q, c.centre);
          return inside ? c.radius - d - r : d + c.radius - r;
        },
        [](double r) { return r; });
  }
}

void TangentCircleSolver::SolveTangentCircleLineTwoArcs(int side) {
  Search s;
  s.start = std::fabs(SetupTangentSolver(5));
  s.flipAtStart = (side & kSideFlag) != 0;
  s.flipToggles = true;
  s.searchOnDuplicate = true;
  const FigureRecord a = a_, b = b_, c = c_;
  Run(
      s,
      [&](double r, FigureRecord& x, FigureRecord& y) {
        x = Circle(b.centre, r + b.radius);
        y = WithChoice(Circle(c.centre, r + c.radius), side & kSelectorMask);
      },
      [&](Vec2 q, double r) { return DistanceToLine(q, a) - r; }, [](double r) { return r; });
}

void TangentCircleSolver::SolveTangentCircleLineInsideArc(int side) {
  Search s;
  s.start = std::max(SetupTangentSolver(5), 0.0);
  RunLineAndArc(side, -1.0, s);
}

void TangentCircleSolver::SolveTangentCircleLineOutsideArc(int side, int second) {
  (void)second;  // always 0: no effect
  Search s;
  s.start = std::fabs(SetupTangentSolver(5));
  s.searchOnDuplicate = true;
  s.firstBlock = 14;
  RunLineAndArc(side, 1.0, s);
}

// Line A shifted by r against the circle about B's centre of radius
// RB + sense r: inside B (sense -1) or around it (+1); C measured as inside
// or outside by where its centre lies from line A.
void TangentCircleSolver::RunLineAndArc(int side, double sense, Search s) {
  if ((side & kSideFlag) != 0) {
    a_ = ReversedFigure(a_);
    Block(kBlockA) = a_;
  }
  const bool inside = distanceC_ <= c_.radius;
  if (inside) s.missStep = kShortMiss;
  const FigureRecord a = a_, b = b_, c = c_;
  Run(
      s,
      [&](double r, FigureRecord& x, FigureRecord& y) {
        x = Shifted(a, r);
        y = WithChoice(Circle(b.centre, b.radius + sense * r), side & kSelectorMask);
      },
      [&](Vec2 q, double r) {
        const double d = Distance(q, c.centre);
        return inside ? c.radius - d - r : d + c.radius - r;
      },
      [](double r) { return r; });
}

void TangentCircleSolver::SolveTangentCircleLineArcPair(int side, int swap) {
  Search s;
  s.start = SetupTangentSolver(5);
  if (swap == 2) {
    std::swap(b_, c_);
    Block(kBlockB) = b_;
    Block(kBlockC) = c_;
  }
  const bool overlap = Distance(b_.centre, c_.centre) < b_.radius + c_.radius;
  s.halfSteps = overlap;
  s.missStep = overlap ? kShortMiss : s.missStep;
  s.maxSteps = kLongSearch;
  s.firstBlock = 14;
  const FigureRecord a = a_, b = b_, c = c_;
  Run(
      s,
      [&](double r, FigureRecord& x, FigureRecord& y) {
        x = Circle(b.centre, b.radius + r);
        y = WithChoice(Circle(c.centre, c.radius - r), side);
      },
      [&](Vec2 q, double r) { return DistanceToLine(q, a) - r; }, [](double r) { return r; });
}

void TangentCircleSolver::SolveTangentCircleArcTwoLines(int side, int inner, int reverse) {
  SetupTangentSolver(7);
  if (reverse == 1) {
    b_ = ReversedFigure(b_);
    Block(kBlockB) = b_;
  }
  Search s;
  s.start = (DistanceToLine(a_.centre, b_) - a_.radius) * 0.5;
  const FigureRecord a = a_, b = b_, c = c_;
  Run(
      s,
      [&](double r, FigureRecord& x, FigureRecord& y) {
        x = Circle(a.centre, inner != 0 ? a.radius - r : a.radius + r);
        y = WithChoice(Shifted(b, r), side);
      },
      [&](Vec2 q, double r) { return DistanceToLine(q, c) - r; }, [](double r) { return r; });
}

void TangentCircleSolver::SolveTangentCircleThreeLines(int type) {
  SetupTangentSolver(type);
  const FigureRecord crossing = IntersectFigures(a_, b_);
  if (crossing.number != kHitOnePoint) return;  // parallel: no circle
  const double start = DistanceToLine(crossing.start, c_) * 0.5;
  Block(kBlockSavedA) = a_;
  Block(kBlockSavedB) = b_;
  for (int pass = 0; pass < 4; ++pass) {
    // Each pass turns round none, A, B or both: the four angles at the
    // crossing of A and B.
    a_ = Block(kBlockSavedA);
    b_ = Block(kBlockSavedB);
    if (pass == 1 || pass == 3) a_ = ReversedFigure(a_);
    if (pass == 2 || pass == 3) b_ = ReversedFigure(b_);
    Block(kBlockA) = a_;
    Block(kBlockB) = b_;
    Search s;
    s.start = start;
    s.flipOnMiss = false;
    s.resetOnMiss = false;
    s.firstBlock = 6 + pass;
    const FigureRecord a = a_, b = b_, c = c_;
    Run(
        s,
        [&](double r, FigureRecord& x, FigureRecord& y) {
          x = Shifted(a, r);
          y = WithChoice(Shifted(b, r), 0);
        },
        [&](Vec2 q, double r) { return DistanceToLine(q, c) - r; }, [](double r) { return r; });
  }
}

int SolveTangentCircles() {
  FigureRecord& p1 = Block(1);
  int arcs = 0;
  for (int i = 1; i <= 3; ++i) {
    FigureRecord& p = Block(i);
    if (!IsLine(p) && !IsArc(p)) return 0;
    if (i > 1) p = FigureInFrame(p, p1.origin);
    p.radius = std::fabs(p.radius);
    if (IsArc(p)) ++arcs;
  }
  for (int i = kFirstClearedBlock; i <= kLastClearedBlock; ++i) Block(i).kind = kKindEmpty;
  TangentCircleSolver solver;
  static constexpr int kSides[4] = {0, 1, kSideFlag, kSideFlag + 1};
  switch (arcs) {
    case 3:
      for (int side : {0, 1}) solver.SolveTangentCircleOutside(side);
      for (int side : {0, 1}) solver.SolveTangentCircleAroundTwo(side);
      for (int side : {0, 1}) solver.SolveTangentCircleRotatedOuter(side);
      for (int side : {0, 1}) solver.SolveTangentCircleRotatedInner(side);
      if (CountSolutions() < kEnoughSolutions)
        for (int side : {kSideFlag, kSideFlag + 1}) solver.SolveTangentCircleRotatedOuter(side);
      break;
    case 2:
      for (int side : kSides) solver.SolveTangentCircleLineTwoArcs(side);
      for (int side : kSides) solver.SolveTangentCircleLineInsideArc(side);
      for (int side : kSides) solver.SolveTangentCircleLineOutsideArc(side, 0);
      solver.SolveTangentCircleLineArcPair(0, 0);
      solver.SolveTangentCircleLineArcPair(1, 0);
      solver.SolveTangentCircleLineArcPair(0, 2);
      solver.SolveTangentCircleLineArcPair(1, 2);
      break;
    case 1:
      for (int inner : {0, 1})
        for (int side : {0, 1})
          for (int reverse : {0, 1}) solver.SolveTangentCircleArcTwoLines(side, inner, reverse);
      break;
    default:
      solver.SolveTangentCircleThreeLines(1);
      solver.SolveTangentCircleThreeLines(3);
      break;
  }
  return CountSolutions();
}

}  // namespace dorn
