// Contour machining from the drawing to the NC program: a contour definition
// goes through CreateCamData, the companion loads what the builder wrote and
// runs it through its interpreter (cut-in, contour walk, overrun), and rs274
// reads the program back: every block accepted, the tool on the hand-computed
// path.
#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "tests/kelto_dorn/camdata/contour_job_fixture.h"

namespace dorn::test {
namespace {

class ContourAgreementTest : public ContourJobTest {};

TEST_F(ContourAgreementTest, SquareOnItsCentreLineClosesItsLoop) {
  // A square machined on its centre line, entered from (-10, 0): the tool
  // comes down at the entry and runs along every side back to the corner it
  // began at, at the contour's depth and feed.
  AddLineCurve(601, {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}});
  MachiningDefinition d = PlaneContour(601);
  d.steps[0].contourCentreFlag = 1;
  d.steps[0].zone1X = -10.0;
  d.steps[0].zone2X = -10.0;
  const CheckResult r = RunJob(d);
  if (!ExpectRanClean(r)) GTEST_SKIP() << "rs274 is not installed";
  const std::vector<CanonMove> cut = CuttingMoves(r.check, -5.0);
  const std::vector<std::array<double, 3>> expected = {{-10, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}, {0, 0, 0}};
  ASSERT_EQ(cut.size(), expected.size() - 1) << r.nc;
  for (std::size_t i = 0; i < cut.size(); ++i) {
    EXPECT_NEAR(cut[i].fromX, expected[i][0], 0.001) << i;
    EXPECT_NEAR(cut[i].fromY, expected[i][1], 0.001) << i;
    EXPECT_NEAR(cut[i].x, expected[i + 1][0], 0.001) << i;
    EXPECT_NEAR(cut[i].y, expected[i + 1][1], 0.001) << i;
    EXPECT_EQ(cut[i].kind, CanonMove::Kind::kFeed);
  }
  EXPECT_NE(r.nc.find("F500"), std::string::npos) << r.nc;
}

// The tool-centre circle of an R20 circle cut with a tool of 10 mm: the
// offset lies to the left of the travel, inside a counter-clockwise circle
// (radius 15) and outside a clockwise one (radius 25). The cut enters with
// a "RIN" arc of 3, leaves with a "ROUT" arc of 3, and runs 5 on past the
// point where the loop closes.
// A square and a rectangle cut with the tool's offset (tool of 10 mm,
// offset 5), inside (drawn counter-clockwise from its lower left corner, the
// offset on the left of the travel) and outside (drawn clockwise), entered
// at a corner and in the middle of a side; the cut-in and the overrun share
// their TO point, so the walk enters and leaves on the lead through it. The
// tool must never go into the wall, and every part of the contour must be
// cut: where the cut began part-way along the first side, the last side is
// joined back to the first and the first is cut once more up to that place;
// where it ended part-way along the last side, that side is cut to its end
// and round the corner onto the first.
TEST_F(ContourAgreementTest, AClosedContourWithAnOffsetIsCutAllRoundAndNeverIntoTheWall) {
  using P = std::array<double, 2>;
  struct Case {
    const char* name;
    double w, h;  // the rectangle (0, 0) .. (w, h)
    bool inside;
    P to;                 // the TO point of the cut-in and the overrun
    std::vector<P> path;  // inside: the whole tool-centre path, in order
    P start, end;         // the first and the last point at depth
    float overrun = 0.0f;  // the overrun length asked
  };
  const std::vector<Case> cases = {
      {"square inside, mid-side", 100, 100, true, {50, 20},
       {{50, 5}, {95, 5}, {95, 95}, {5, 95}, {5, 5}, {50, 5}}, {50, 5}, {50, 5}},
      {"square inside, corner", 100, 100, true, {5, 20}, {{5, 5}, {95, 5}, {95, 95}, {5, 95}, {5, 5}}, {5, 5}, {5, 5}},
      // The overrun runs on along the first side past where the cut began.
      {"square inside, mid-side, overrun", 100, 100, true, {50, 20},
       {{50, 5}, {95, 5}, {95, 95}, {5, 95}, {5, 5}, {50, 5}, {55, 5}}, {50, 5}, {55, 5}, 5.0f},
      {"square inside, near the first corner, overrun", 100, 100, true, {93, 20},
       {{93, 5}, {95, 5}, {95, 95}, {5, 95}, {5, 5}, {93, 5}, {95, 5}}, {93, 5}, {95, 5}, 5.0f},
      // A TO point on the corner itself, or far outside the first side: the
      // tool comes down on the inset corner, never in the wall beside it.
      {"square inside, on the corner", 100, 100, true, {0, 0},
       {{5, 5}, {95, 5}, {95, 95}, {5, 95}, {5, 5}}, {5, 5}, {5, 5}},
      {"square inside, far outside the first side", 100, 100, true, {-50, 20},
       {{5, 5}, {95, 5}, {95, 95}, {5, 95}, {5, 5}}, {5, 5}, {5, 5}},
      {"rectangle inside, mid-side", 120, 60, true, {70, 30},
       {{70, 5}, {115, 5}, {115, 55}, {5, 55}, {5, 5}, {70, 5}}, {70, 5}, {70, 5}},
      {"rectangle inside, corner", 120, 60, true, {5, 30}, {{5, 5}, {115, 5}, {115, 55}, {5, 55}, {5, 5}}, {5, 5}, {5, 5}},
      // Outside the first side is the left one, walked upwards.
      {"square outside, mid-side", 100, 100, false, {-20, 50}, {}, {-5, 50}, {-5, 50}},
      {"square outside, mid-side of the last side", 100, 100, false, {50, -20}, {}, {-5, -20}, {-5, 0}},
      {"square outside, corner", 100, 100, false, {-20, -20}, {}, {-5, -20}, {-20, -5}},
      {"rectangle outside, mid-side", 120, 60, false, {-20, 25}, {}, {-5, 25}, {-5, 25}},
      {"rectangle outside, corner", 120, 60, false, {-20, -20}, {}, {-5, -20}, {-20, -5}},
  };
  constexpr double kRadius = 5.0;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ResetForAnotherJob();
    std::vector<Point> drawn = {{0, 0}, {k.w, 0}, {k.w, k.h}, {0, k.h}, {0, 0}};
    if (!k.inside) drawn = {{0, 0}, {0, k.h}, {k.w, k.h}, {k.w, 0}, {0, 0}};
    AddLineCurve(603, drawn);
    MachiningDefinition d = PlaneContour(603);
    d.steps[0].zone1X = d.steps[0].zone2X = k.to[0];
    d.steps[0].zone1Y = d.steps[0].zone2Y = k.to[1];
    d.steps[0].overrun = k.overrun != 0.0f ? 1.0f : 0.0f;
    g_machiningDefaults.overrun = k.overrun;
    overrunLength = k.overrun;
    const CheckResult r = RunJob(d);
    if (!ExpectRanClean(r)) GTEST_SKIP() << "rs274 is not installed";
    std::vector<CanonMove> cut;
    for (const CanonMove& m : CuttingMoves(r.check, -5.0)) {
      if (std::hypot(m.x - m.fromX, m.y - m.fromY) > 1e-9) cut.push_back(m);
    }
    ASSERT_FALSE(cut.empty()) << r.nc;
    EXPECT_NEAR(cut.front().fromX, k.start[0], 0.001) << r.nc;
    EXPECT_NEAR(cut.front().fromY, k.start[1], 0.001) << r.nc;
    EXPECT_NEAR(cut.back().x, k.end[0], 0.001) << r.nc;
    EXPECT_NEAR(cut.back().y, k.end[1], 0.001) << r.nc;

    // The distance of a point from the drawn rectangle's outline, and from
    // the cut.
    auto fromWall = [&](double x, double y) {
      const double dx = std::max({-x, 0.0, x - k.w}), dy = std::max({-y, 0.0, y - k.h});
      if (dx > 0.0 || dy > 0.0) return std::hypot(dx, dy);
      return std::min({x, k.w - x, y, k.h - y});
    };
    auto fromCut = [&](double x, double y) {
      double best = 1e9;
      for (const CanonMove& m : cut) {
        const double vx = m.x - m.fromX, vy = m.y - m.fromY;
        const double t = std::clamp(((x - m.fromX) * vx + (y - m.fromY) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
        best = std::min(best, std::hypot(m.fromX + t * vx - x, m.fromY + t * vy - y));
      }
      return best;
    };
    auto isInside = [&](double x, double y) { return x > 0.0 && x < k.w && y > 0.0 && y < k.h; };
    // Never into the wall: every point of the cut keeps the tool's radius
    // from the outline on its own side (a chord's middle within its
    // stepping tolerance).
    for (const CanonMove& m : cut) {
      for (const double t : {0.0, 0.5, 1.0}) {
        const double x = m.fromX + t * (m.x - m.fromX), y = m.fromY + t * (m.y - m.fromY);
        EXPECT_EQ(isInside(x, y), k.inside) << x << " " << y << " line " << m.line;
        EXPECT_GE(fromWall(x, y), kRadius - (t == 0.5 ? 0.01 : 0.001)) << x << " " << y << " line " << m.line;
      }
    }
    if (k.inside) {
      // Point by point on the inset outline, in order, all of it.
      ASSERT_EQ(cut.size() + 1, k.path.size()) << r.nc;
      for (std::size_t i = 0; i < cut.size(); ++i) {
        EXPECT_NEAR(cut[i].x, k.path[i + 1][0], 0.001) << i;
        EXPECT_NEAR(cut[i].y, k.path[i + 1][1], 0.001) << i;
        EXPECT_EQ(cut[i].kind, CanonMove::Kind::kFeed) << i;
      }
    } else {
      // Every point of the outline is touched: the cut passes at the tool's
      // radius from it (the corners' chords within their tolerance).
      for (double along = 0.0; along < 2.0 * (k.w + k.h); along += 0.5) {
        double x = 0.0, y = 0.0;
        if (along < k.h) {
          y = along;
        } else if (along < k.h + k.w) {
          x = along - k.h, y = k.h;
        } else if (along < 2.0 * k.h + k.w) {
          x = k.w, y = 2.0 * k.h + k.w - along;
        } else {
          x = 2.0 * (k.w + k.h) - along;
        }
        EXPECT_NEAR(fromCut(x, y), kRadius, 0.01) << x << " " << y << "\n" << r.nc;
      }
    }
  }
}

TEST_F(ContourAgreementTest, CircleWithLeadsAndOverrunStaysOnTheOffsetCircle) {
  struct Case {
    double radius;      // the drawn circle's signed radius
    double toolCircle;  // the tool centre's radius
  };
  for (const Case& k : {Case{20.0, 15.0}, Case{-20.0, 25.0}}) {
    SCOPED_TRACE(k.radius);
    ResetForAnotherJob();
    AddCircleCurve(602, 0.0, 0.0, k.radius);
    MachiningDefinition d = PlaneContour(602);
    StepCondition& c = d.steps[0];
    c.approachOn = 1;
    c.approachKind = 4;  // "RIN"
    c.value264 = 3.0;
    c.escapeOn = 1;
    c.escapeKind = 4;  // "ROUT"
    c.value304 = 3.0;
    c.overrun = 1.0f;
    g_machiningDefaults.overrun = 5.0f;
    overrunLength = 5.0f;
    const CheckResult r = RunJob(d);
    if (!ExpectRanClean(r)) GTEST_SKIP() << "rs274 is not installed";

    // The straight feed moves at depth are the contour: each ends on the
    // tool-centre circle.
    const std::vector<CanonMove> cut = CuttingMoves(r.check, -5.0);
    std::vector<CanonMove> contour;
    for (const CanonMove& m : cut) {
      if (m.kind == CanonMove::Kind::kFeed) contour.push_back(m);
    }
    ASSERT_GT(contour.size(), 20u) << r.nc;
    for (const CanonMove& m : contour) EXPECT_NEAR(std::hypot(m.x, m.y), k.toolCircle, 0.001) << m.line;
    // The loop closes where it began: the start of the first contour move
    // is passed again, then the overrun runs 5 on round the circle.
    const CanonMove& first = contour.front();
    const double startAngle = std::atan2(first.fromY, first.fromX);
    bool closed = false;
    std::size_t pastTheClose = 0;
    for (const CanonMove& m : contour) {
      if (closed) ++pastTheClose;
      if (std::hypot(m.x - first.fromX, m.y - first.fromY) < 0.001) closed = true;
    }
    EXPECT_TRUE(closed) << r.nc;
    // The overrun follows the circle in steps (each on it, as checked
    // above), not one chord across it.
    EXPECT_GE(pastTheClose, 5u) << r.nc;
    const double sense = k.radius > 0.0 ? 1.0 : -1.0;
    const double endAngle = startAngle + sense * 5.0 / k.toolCircle;
    const CanonMove& last = contour.back();
    EXPECT_NEAR(last.x, k.toolCircle * std::cos(endAngle), 0.001) << r.nc;
    EXPECT_NEAR(last.y, k.toolCircle * std::sin(endAngle), 0.001) << r.nc;
    // The leads are arcs of 3 into and out of the contour.
    std::vector<CanonMove> arcs;
    for (const CanonMove& m : cut) {
      if (m.kind == CanonMove::Kind::kArc) arcs.push_back(m);
    }
    ASSERT_EQ(arcs.size(), 2u) << r.nc;
    EXPECT_NEAR(arcs[0].x, first.fromX, 0.001);
    EXPECT_NEAR(arcs[0].y, first.fromY, 0.001);
    EXPECT_NEAR(arcs[1].fromX, last.x, 0.001);
    EXPECT_NEAR(arcs[1].fromY, last.y, 0.001);
    for (const CanonMove& a : arcs) {
      EXPECT_NEAR(std::hypot(a.x - a.centreFirst, a.y - a.centreSecond), 3.0, 0.001) << a.line;
      // Tangent to the tool-centre circle where it meets it (the arc's
      // centre on the radius through that point), and on the free side:
      // inside the circle for a bore, outside it round a boss, so that no
      // point of the arc comes nearer the wall than the tool's radius.
      const bool entering = &a == &arcs[0];
      const double px = entering ? a.x : a.fromX, py = entering ? a.y : a.fromY;
      const double centreFromOrigin = std::hypot(a.centreFirst, a.centreSecond);
      EXPECT_NEAR(std::fabs(px * a.centreSecond - py * a.centreFirst) / centreFromOrigin, 0.0, 0.001) << a.line;
      EXPECT_NEAR(centreFromOrigin, k.toolCircle + (k.radius > 0.0 ? -3.0 : 3.0), 0.001) << a.line;
    }
  }
}

// A quarter pie of R40 about the origin: the line from the origin out to
// (40, 0), the arc round to (0, ±40), the line back to the origin; drawn
// counter-clockwise (arc above) or clockwise (its mirror, arc below). The
// offset lies left of the travel: inside the first, outside the mirror.
// Both bottom lines end on the arc's circle turning onto the arc; the
// offset bottom line crosses the offset circle twice, and the mirrored
// contour must take the mirror of the crossing the first one takes.
TEST_F(ContourAgreementTest, AQuarterPieAndItsMirrorJoinTheirLineAndArcAtTheMirroredCrossing) {
  struct Piece {
    std::array<double, 2> from, to;
    double radius = 0.0;  // arcs: > 0 counter-clockwise about `centre`
    std::array<double, 2> centre{};
  };
  const double x = std::sqrt(35.0 * 35.0 - 25.0);
  struct Case {
    const char* name;
    double sense;  // +1 counter-clockwise, -1 clockwise
    std::vector<Piece> path;
  };
  const std::vector<Case> cases = {
      {"counter-clockwise, inside",
       1.0,
       {{{20, 5}, {x, 5}}, {{x, 5}, {5, x}, 35.0, {0, 0}}, {{5, x}, {5, 5}}, {{5, 5}, {20, 5}}}},
      {"clockwise, outside",
       -1.0,
       {{{20, 5}, {40, 5}},
        {{40, 5}, {45, 0}, -5.0, {40, 0}},
        {{45, 0}, {0, -45}, -45.0, {0, 0}},
        {{0, -45}, {-5, -40}, -5.0, {0, -40}},
        {{-5, -40}, {-5, 0}},
        {{-5, 0}, {0, 5}, -5.0, {0, 0}},
        {{0, 5}, {20, 5}}}},
  };
  // Distance of p from a piece (an arc over its sweep only).
  auto distance = [](const Piece& piece, double px, double py) {
    const double pi = 3.14159265358979323846;
    if (piece.radius == 0.0) {
      const double vx = piece.to[0] - piece.from[0], vy = piece.to[1] - piece.from[1];
      const double t =
          std::clamp(((px - piece.from[0]) * vx + (py - piece.from[1]) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
      return std::hypot(piece.from[0] + t * vx - px, piece.from[1] + t * vy - py);
    }
    const double s = piece.radius > 0.0 ? 1.0 : -1.0;
    auto angle = [&](double qx, double qy) {
      double a = s * (std::atan2(qy - piece.centre[1], qx - piece.centre[0]) -
                      std::atan2(piece.from[1] - piece.centre[1], piece.from[0] - piece.centre[0]));
      while (a < -1e-9) a += 2.0 * pi;
      return a;
    };
    if (angle(px, py) <= angle(piece.to[0], piece.to[1]) + 1e-9) {
      return std::fabs(std::hypot(px - piece.centre[0], py - piece.centre[1]) - std::fabs(piece.radius));
    }
    return std::min(std::hypot(px - piece.from[0], py - piece.from[1]), std::hypot(px - piece.to[0], py - piece.to[1]));
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ResetForAnotherJob();
    const double r = 40.0 * k.sense;
    CurveRecord curve;
    curve.key = 605;
    curve.first = GetFigureCount(kTableCurves);
    g_figureTableSelector = kTableCurves;
    ASSERT_TRUE(AppendLineFigure(0, 0, 40, 0));
    ASSERT_TRUE(AppendArcFigure(40, 0, 0, r, 0, 0, r));
    ASSERT_TRUE(AppendLineFigure(0, r, 0, 0));
    curve.end = GetFigureCount(kTableCurves);
    platform::SetFieldText(curve.name, "PIE");
    g_curveTable[static_cast<std::size_t>(g_curveCount++)] = curve;
    g_figureTableSelector = 0;

    MachiningDefinition d = PlaneContour(605);
    d.steps[0].zone1X = d.steps[0].zone2X = 20.0;
    d.steps[0].zone1Y = d.steps[0].zone2Y = 20.0;
    const CheckResult result = RunJob(d);
    EXPECT_EQ(result.status, 0) << result.nc;
    for (const std::string& box : host.errorBoxes) ADD_FAILURE() << box;
    if (!result.check.ran) GTEST_SKIP() << "rs274 is not installed";
    EXPECT_TRUE(result.check.violations.empty()) << testsupport::Describe(result.check.violations) << result.nc;
    const std::vector<CanonMove> cut = CuttingMoves(result.check, -5.0);
    ASSERT_FALSE(cut.empty()) << result.nc;
    auto offPath = [&](double px, double py) {
      double best = 1e9;
      for (const Piece& piece : k.path) best = std::min(best, distance(piece, px, py));
      return best;
    };
    // Every move ends on the path and its chord stays within the tolerance.
    for (const CanonMove& m : cut) {
      EXPECT_LT(offPath(m.x, m.y), 0.001) << m.line << "\n" << result.nc;
      EXPECT_LT(offPath(0.5 * (m.x + m.fromX), 0.5 * (m.y + m.fromY)), 0.011) << m.line;
    }
    // All of the path is cut.
    auto fromCut = [&](double px, double py) {
      double best = 1e9;
      for (const CanonMove& m : cut) {
        const double vx = m.x - m.fromX, vy = m.y - m.fromY;
        const double l2 = vx * vx + vy * vy;
        const double t = l2 > 0.0 ? std::clamp(((px - m.fromX) * vx + (py - m.fromY) * vy) / l2, 0.0, 1.0) : 0.0;
        best = std::min(best, std::hypot(m.fromX + t * vx - px, m.fromY + t * vy - py));
      }
      return best;
    };
    for (const Piece& piece : k.path) {
      for (int i = 0; i <= 20; ++i) {
        const double t = i / 20.0;
        double px = piece.from[0] + t * (piece.to[0] - piece.from[0]);
        double py = piece.from[1] + t * (piece.to[1] - piece.from[1]);
        if (piece.radius != 0.0) {
          const double a0 = std::atan2(piece.from[1] - piece.centre[1], piece.from[0] - piece.centre[0]);
          double a1 = std::atan2(piece.to[1] - piece.centre[1], piece.to[0] - piece.centre[0]);
          if (piece.radius > 0.0 && a1 < a0) a1 += 2.0 * 3.14159265358979323846;
          if (piece.radius < 0.0 && a1 > a0) a1 -= 2.0 * 3.14159265358979323846;
          const double a = a0 + t * (a1 - a0);
          px = piece.centre[0] + std::fabs(piece.radius) * std::cos(a);
          py = piece.centre[1] + std::fabs(piece.radius) * std::sin(a);
        }
        EXPECT_LT(fromCut(px, py), 0.011) << px << " " << py;
      }
    }
  }
}

TEST_F(ContourAgreementTest, WithoutAnOverrunLengthTheCutEndsWhereTheLoopCloses) {
  // No overrun asked (d0 0), and an overrun asked with no length (no
  // defaults file): the contour is cut once round and ends where it began.
  struct Case {
    float asked;
    float length;
  };
  for (const Case& k : {Case{0.0f, 5.0f}, Case{1.0f, 0.0f}}) {
    SCOPED_TRACE(k.asked);
    ResetForAnotherJob();
    AddCircleCurve(602, 0.0, 0.0, 20.0);
    MachiningDefinition d = PlaneContour(602);
    d.steps[0].overrun = k.asked;
    g_machiningDefaults.overrun = 5.0f;
    overrunLength = k.length;
    const CheckResult r = RunJob(d);
    if (!ExpectRanClean(r)) GTEST_SKIP() << "rs274 is not installed";
    const std::vector<CanonMove> cut = CuttingMoves(r.check, -5.0);
    ASSERT_GT(cut.size(), 20u) << r.nc;
    for (const CanonMove& m : cut) EXPECT_NEAR(std::hypot(m.x, m.y), 15.0, 0.001) << m.line;
    EXPECT_NEAR(cut.back().x, -15.0, 0.001) << r.nc;
    EXPECT_NEAR(cut.back().y, 0.0, 0.001) << r.nc;
  }
}

// A contour that no overrun command leaves (a wire contour without an exit
// figure or point has none) is cut to the end of its last element: the tool
// runs along every element as drawn, from the cut-in's foot to the
// contour's end, and an escape starts there. Open chains walked forwards,
// and a closed square entered part-way along its first side, which is
// closed back to where the cut began. Offset by a stock of 2 (left of
// travel, inside the chain), the cut ends on the offset last element square
// to its drawn end, not short of it by the offset.
TEST_F(ContourAgreementTest, AContourWithNoOverrunAfterItIsCutToTheEndOfItsLastElement) {
  using P = std::array<double, 2>;
  struct Case {
    const char* name;
    std::int32_t kind;
    std::vector<Point> drawn;
    P to;                 // the cut-in point
    std::vector<P> path;  // the tool's path at depth, every corner
    double stock = 0.0;   // the wire's offset, left of travel
  };
  const std::vector<Case> cases = {
      {"wire, open chain", 0xC100, {{0, 0}, {100, 0}, {100, 50}, {40, 50}}, {-10, 0},
       {{-10, 0}, {100, 0}, {100, 50}, {40, 50}}},
      {"wire, open chain offset", 0xC100, {{0, 0}, {100, 0}, {100, 50}, {40, 50}}, {-10, 0},
       {{-10, 2}, {98, 2}, {98, 48}, {40, 48}}, 2.0},
      {"wire, closed square entered mid-side", 0xC100, {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}, {50, -10},
       {{50, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}, {50, 0}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ResetForAnotherJob();
    AddLineCurve(606, k.drawn);
    MachiningDefinition d = PlaneContour(606);
    d.kind = k.kind;
    StepCondition& c = d.steps[0];
    c.contourCentreFlag = 1;
    c.contourStock = k.stock;
    c.zone1X = k.to[0];
    c.zone1Y = k.to[1];
    // No exit: neither a figure nor a point.
    c.zone2Key = 0;
    c.zone2X = c.zone2Y = 0.0;
    const CheckResult r = RunJob(d);
    EXPECT_EQ(r.status, 0) << r.nc;
    for (const std::string& box : host.errorBoxes) ADD_FAILURE() << box;
    if (!r.check.ran) GTEST_SKIP() << "rs274 is not installed";
    // The wire generator writes no process end, so the program ends with
    // the spindle word still on; every other rule holds.
    for (const testsupport::MotionViolation& v : r.check.violations) {
      if (v.what.find("spindle running") == std::string::npos) ADD_FAILURE() << v.line << ": " << v.what << "\n" << r.nc;
    }
    ExpectMovesAlong(r, k.path);
  }
}

// A ZONE trim: the contour is cut only between where the first ZONE
// figure crosses it and where the second one does (a one-shot run: cut-in
// 0x7301, the end taken from the overrun command that follows the contour).
// The ZONE figures are lines across the square's sides; the line of the
// first crosses the top side too, farther from its own point, which does
// not count. On the centre line and inside with the tool's offset of 5.
TEST_F(ContourAgreementTest, AZoneTrimCutsTheContourBetweenItsTwoZoneFigures) {
  using P = std::array<double, 2>;
  struct Case {
    const char* name;
    bool onCentreLine;
    std::vector<Point> zone2;
    std::vector<P> path;  // the tool's path at depth, every corner
  };
  const std::vector<Case> cases = {
      {"centre line, ends on the second side", true, {{80, 50}, {120, 50}}, {{30, 0}, {100, 0}, {100, 50}}},
      {"centre line, ends on the last side", true, {{-20, 50}, {20, 50}},
       {{30, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 50}}},
      {"inside, ends on the second side", false, {{80, 50}, {120, 50}}, {{30, 5}, {95, 5}, {95, 50}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ResetForAnotherJob();
    AddLineCurve(601, {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}});
    AddLineCurve(611, {{30, -20}, {30, 20}}, 0, "ZONE1");
    AddLineCurve(612, k.zone2, 0, "ZONE2");
    MachiningDefinition d = PlaneContour(601);
    StepCondition& c = d.steps[0];
    c.contourCentreFlag = k.onCentreLine ? 1 : 0;
    c.word152 = 3;
    c.zone1Key = 611;
    c.zone2Key = 612;
    const CheckResult r = RunJob(d);
    if (!ExpectCutAlong(r, k.path)) GTEST_SKIP() << "rs274 is not installed";
  }
  // A circle as the second ZONE figure gives no line to cross the contour
  // with: the run stops with its box before anything is cut.
  ResetForAnotherJob();
  AddLineCurve(601, {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}});
  AddLineCurve(611, {{30, -20}, {30, 20}}, 0, "ZONE1");
  AddCircleCurve(612, 100.0, 50.0, 10.0);
  MachiningDefinition d = PlaneContour(601);
  d.steps[0].contourCentreFlag = 1;
  d.steps[0].word152 = 3;
  d.steps[0].zone1Key = 611;
  d.steps[0].zone2Key = 612;
  const CheckResult r = RunJob(d);
  ASSERT_EQ(host.errorBoxes.size(), 1u) << r.nc;
  EXPECT_NE(host.errorBoxes.front().find("2016"), std::string::npos) << host.errorBoxes.front();
  if (r.check.ran) EXPECT_TRUE(CuttingMoves(r.check, -5.0).empty()) << r.nc;
}

// A half disc of R40 (the arc drawn first, counter-clockwise over the top,
// then the diameter back) cut inside with the tool of 10: the inset arc R35
// meets the inset diameter (y 5) at x = +-34.641. Entered on the arc 10
// degrees before its end with an overrun of 5: after the closing joint the
// overrun runs on along the arc only up to the corner where the first cut
// left it, not on round the circle into the flat wall. Entered and left at
// the drawn corner where the arc begins: the tool comes down and leaves on
// the inset corner, not 5 into the flat wall.
TEST_F(ContourAgreementTest, AHalfDiscIsCutInsideItsWallsFromAnArcEntryAndFromItsCorner) {
  const double pi = 3.14159265358979323846;
  const double cornerX = std::sqrt(35.0 * 35.0 - 25.0);
  struct Case {
    const char* name;
    double toX, toY;
    float overrun;
    double startX, startY, endX, endY;
  };
  const double entry = 170.0 * pi / 180.0;
  const std::vector<Case> cases = {
      {"on the arc near its end, overrun", 20.0 * std::cos(entry), 20.0 * std::sin(entry), 5.0f, 35.0 * std::cos(entry),
       35.0 * std::sin(entry), -cornerX, 5.0},
      {"on the corner where the arc begins", 40.0, 0.0, 0.0f, cornerX, 5.0, cornerX, 5.0},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ResetForAnotherJob();
    CurveRecord curve;
    curve.key = 607;
    curve.first = GetFigureCount(kTableCurves);
    g_figureTableSelector = kTableCurves;
    ASSERT_TRUE(AppendArcFigure(40, 0, -40, 0, 0, 0, 40));
    ASSERT_TRUE(AppendLineFigure(-40, 0, 40, 0));
    curve.end = GetFigureCount(kTableCurves);
    platform::SetFieldText(curve.name, "HALF");
    g_curveTable[static_cast<std::size_t>(g_curveCount++)] = curve;
    g_figureTableSelector = 0;
    MachiningDefinition d = PlaneContour(607);
    d.steps[0].zone1X = d.steps[0].zone2X = k.toX;
    d.steps[0].zone1Y = d.steps[0].zone2Y = k.toY;
    d.steps[0].overrun = k.overrun != 0.0f ? 1.0f : 0.0f;
    g_machiningDefaults.overrun = k.overrun;
    overrunLength = k.overrun;
    const CheckResult r = RunJob(d);
    if (!ExpectRanClean(r)) GTEST_SKIP() << "rs274 is not installed";
    const std::vector<CanonMove> cut = CuttingMoves(r.check, -5.0);
    ASSERT_GT(cut.size(), 10u) << r.nc;
    // The tool's radius from the wall everywhere: inside the R35 circle and
    // above y 5.
    for (const CanonMove& m : cut) {
      EXPECT_LE(std::hypot(m.x, m.y), 35.0 + 0.001) << m.line << "\n" << r.nc;
      EXPECT_GE(m.y, 5.0 - 0.001) << m.line << "\n" << r.nc;
    }
    EXPECT_NEAR(cut.front().fromX, k.startX, 0.001) << r.nc;
    EXPECT_NEAR(cut.front().fromY, k.startY, 0.001) << r.nc;
    EXPECT_NEAR(cut.back().x, k.endX, 0.001) << r.nc;
    EXPECT_NEAR(cut.back().y, k.endY, 0.001) << r.nc;
    // All of the inset outline is cut: the arc and the diameter.
    auto fromCut = [&](double x, double y) {
      double best = 1e9;
      for (const CanonMove& m : cut) {
        const double vx = m.x - m.fromX, vy = m.y - m.fromY, l2 = vx * vx + vy * vy;
        const double t = l2 > 0.0 ? std::clamp(((x - m.fromX) * vx + (y - m.fromY) * vy) / l2, 0.0, 1.0) : 0.0;
        best = std::min(best, std::hypot(m.fromX + t * vx - x, m.fromY + t * vy - y));
      }
      return best;
    };
    const double a0 = std::atan2(5.0, cornerX);
    for (double a = a0; a <= pi - a0; a += 0.02) EXPECT_LT(fromCut(35.0 * std::cos(a), 35.0 * std::sin(a)), 0.011) << a;
    for (double x = -cornerX; x <= cornerX; x += 1.0) EXPECT_LT(fromCut(x, 5.0), 0.001) << x;
  }
}

// The square pocket entered in the middle of its first side and left at a
// point whose foot lies before that entry (or before the side): the last
// side is joined back to the first and the first cut up to where the cut
// began, so none of it stays uncut and the tool never runs back over the
// corner into the wall.
TEST_F(ContourAgreementTest, AnExitBeforeTheEntryClosesTheContourUpToTheEntry) {
  using P = std::array<double, 2>;
  for (const P exit : {P{30, 20}, P{-40, 20}}) {
    SCOPED_TRACE(exit[0]);
    ResetForAnotherJob();
    AddLineCurve(603, {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}});
    MachiningDefinition d = PlaneContour(603);
    StepCondition& c = d.steps[0];
    c.zone1X = 50.0;
    c.zone1Y = 20.0;
    c.zone2X = exit[0];
    c.zone2Y = exit[1];
    const CheckResult r = RunJob(d);
    if (!ExpectCutAlong(r, {{50, 5}, {95, 5}, {95, 95}, {5, 95}, {5, 5}, {50, 5}})) {
      GTEST_SKIP() << "rs274 is not installed";
    }
  }
}

TEST_F(ContourAgreementTest, JointDepthPassesCutContourAndOverrunPerPass) {
  // A joint of kind 0 from -2 by -3 to -5: two passes, each the whole
  // offset circle and the overrun, the first at -2, the second at -5.
  AddCircleCurve(602, 0.0, 0.0, 20.0);
  MachiningDefinition d = PlaneContour(602);
  StepCondition& c = d.steps[0];
  c.repeat[0].inUse = 1;
  c.repeat[0].kind = 0;
  c.repeat[0].first = -2.0;
  c.repeat[0].second = -3.0;
  c.repeat[0].third = -5.0;
  c.overrun = 1.0f;
  g_machiningDefaults.overrun = 5.0f;
  overrunLength = 5.0f;
  const CheckResult r = RunJob(d);
  if (!ExpectRanClean(r)) GTEST_SKIP() << "rs274 is not installed";
  for (const double z : {-2.0, -5.0}) {
    SCOPED_TRACE(z);
    const std::vector<CanonMove> pass = CuttingMoves(r.check, z);
    ASSERT_GT(pass.size(), 20u) << r.nc;
    for (const CanonMove& m : pass) EXPECT_NEAR(std::hypot(m.x, m.y), 15.0, 0.001) << m.line;
    // From (-15, 0) round the circle and 5 on past it.
    bool closed = false;
    for (const CanonMove& m : pass) closed = closed || std::hypot(m.x + 15.0, m.y) < 0.001;
    EXPECT_TRUE(closed);
    const double endAngle = 3.14159265358979323846 + 5.0 / 15.0;
    EXPECT_NEAR(pass.back().x, 15.0 * std::cos(endAngle), 0.001);
    EXPECT_NEAR(pass.back().y, 15.0 * std::sin(endAngle), 0.001);
  }
}



TEST_F(ContourAgreementTest, ASlotEnteredMidSideIsClosedRoundItsArcsAndOverrunsOnItsFirstSide) {
  // A slot of 100 between two half circles of R20, cut inside with the tool
  // of 10 entered in the middle of its first side with an overrun of 5: the
  // tool runs on the inset outline (the sides at 5 from the wall, the ends
  // R15 about the same centres), round the second end back onto the first
  // side, on to where it came down and 5 past it.
  AddSlotCurve(604, 100, 20);
  MachiningDefinition d = PlaneContour(604);
  d.steps[0].zone1X = d.steps[0].zone2X = 50.0;
  d.steps[0].zone1Y = d.steps[0].zone2Y = 20.0;
  d.steps[0].overrun = 1.0f;
  g_machiningDefaults.overrun = 5.0f;
  overrunLength = 5.0f;
  const CheckResult r = RunJob(d);
  if (!ExpectRanClean(r)) GTEST_SKIP() << "rs274 is not installed";
  const std::vector<CanonMove> cut = CuttingMoves(r.check, -5.0);
  ASSERT_GT(cut.size(), 20u) << r.nc;
  EXPECT_NEAR(cut.front().fromX, 50.0, 0.001);
  EXPECT_NEAR(cut.front().fromY, 5.0, 0.001);
  EXPECT_NEAR(cut.back().x, 55.0, 0.001) << r.nc;
  EXPECT_NEAR(cut.back().y, 5.0, 0.001) << r.nc;
  // The distance of a point from the inset outline (0 on it).
  auto offInset = [](double x, double y) {
    if (x >= 0.0 && x <= 100.0) return std::min(std::fabs(y - 5.0), std::fabs(y - 35.0));
    const double cx = x < 0.0 ? 0.0 : 100.0;
    return std::fabs(std::hypot(x - cx, y - 20.0) - 15.0);
  };
  for (const CanonMove& m : cut) {
    EXPECT_LT(offInset(m.x, m.y), 0.001) << m.line;
    EXPECT_LT(offInset(0.5 * (m.x + m.fromX), 0.5 * (m.y + m.fromY)), 0.01) << m.line;
  }
  // All of the inset outline is cut.
  auto fromCut = [&](double x, double y) {
    double best = 1e9;
    for (const CanonMove& m : cut) {
      const double vx = m.x - m.fromX, vy = m.y - m.fromY;
      const double t = std::clamp(((x - m.fromX) * vx + (y - m.fromY) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
      best = std::min(best, std::hypot(m.fromX + t * vx - x, m.fromY + t * vy - y));
    }
    return best;
  };
  for (double x = 0.0; x <= 100.0; x += 0.5) {
    EXPECT_LT(fromCut(x, 5.0), 0.01) << x;
    EXPECT_LT(fromCut(x, 35.0), 0.01) << x;
  }
  for (double a = -90.0; a <= 90.0; a += 2.0) {
    const double c = std::cos(a * 3.14159265358979323846 / 180.0), sn = std::sin(a * 3.14159265358979323846 / 180.0);
    EXPECT_LT(fromCut(100.0 + 15.0 * c, 20.0 + 15.0 * sn), 0.01) << a;
    EXPECT_LT(fromCut(-15.0 * c, 20.0 + 15.0 * sn), 0.01) << a;
  }
}


TEST_F(ContourAgreementTest, LeadArcsIntoASquarePocketRunAlongItsFirstSide) {
  // The square pocket entered in the middle of its first side with a "RIN"
  // arc of 3 and left there with a "ROUT" arc of 3: both arcs touch the
  // first side's tool path (y 5) along it, their centres 3 inside it.
  AddLineCurve(603, {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}});
  MachiningDefinition d = PlaneContour(603);
  StepCondition& c = d.steps[0];
  c.zone1X = c.zone2X = 50.0;
  c.zone1Y = c.zone2Y = 20.0;
  c.approachOn = 1;
  c.approachKind = 4;  // "RIN"
  c.value264 = 3.0;
  c.escapeOn = 1;
  c.escapeKind = 4;  // "ROUT"
  c.value304 = 3.0;
  const CheckResult r = RunJob(d);
  if (!ExpectRanClean(r)) GTEST_SKIP() << "rs274 is not installed";
  std::vector<CanonMove> arcs;
  for (const CanonMove& m : CuttingMoves(r.check, -5.0)) {
    if (m.kind == CanonMove::Kind::kArc) arcs.push_back(m);
    // Inside the pocket, the tool's radius from every wall.
    EXPECT_GE(std::min({m.x, 100.0 - m.x, m.y, 100.0 - m.y}), 5.0 - 0.001) << m.line << "\n" << r.nc;
  }
  ASSERT_EQ(arcs.size(), 2u) << r.nc;
  EXPECT_NEAR(arcs[0].x, 50.0, 0.001);
  EXPECT_NEAR(arcs[0].y, 5.0, 0.001);
  EXPECT_NEAR(arcs[1].fromX, 50.0, 0.001);
  EXPECT_NEAR(arcs[1].fromY, 5.0, 0.001);
  for (const CanonMove& a : arcs) {
    EXPECT_NEAR(a.centreFirst, 50.0, 0.001) << a.line;
    EXPECT_NEAR(a.centreSecond, 8.0, 0.001) << a.line;
  }
}

// A contour cut there and back (the integer at 208 = 1): the first pass,
// the overrun before the return pass (0x7410, which runs on no further),
// then the same contour walked back (side bits 0x50000) with no cut-in of
// its own, and the overrun after it, whose TO point is the cut-in's. The
// tool comes down once at the foot of the TO point, goes round the way the
// contour is drawn, turns there and goes round the other way on the same
// offset path, and runs on past the foot by the overrun length. R20 circles
// and 100 x 100 squares with the tool of 10 (offset 5 to the left of the
// drawn direction: inside a counter-clockwise outline, outside a clockwise
// one). No move may leave that path: before, the return pass was joined to
// the wrong lead and went straight through the centre of a boss.
TEST_F(ContourAgreementTest, AThereAndBackContourGoesBackAlongItsOffsetPathFromWhereTheFirstPassEnded) {
  using P = std::array<double, 2>;
  struct Case {
    const char* name;
    bool square;    // else a circle of R20 about the origin
    bool inside;    // drawn counter-clockwise: the offset lies inside
    P to;           // the TO point of the cut-in and of both overruns
    P foot;         // where the tool meets the offset path
    float overrun;  // the overrun length after the return pass
    P end{};        // squares: where the overrun ends
  };
  const Case cases[] = {
      {"bore", false, true, {-10, 0}, {-15, 0}, 0.0f},
      {"bore, overrun", false, true, {-10, 0}, {-15, 0}, 5.0f},
      {"boss, overrun", false, false, {-30, 0}, {-25, 0}, 5.0f},
      // The first side of the pocket is drawn along +X, of the outline
      // along +Y: the overrun after the return pass runs the other way.
      {"square pocket, mid-side, overrun", true, true, {50, 20}, {50, 5}, 5.0f, {45, 5}},
      {"square outside, mid-side, overrun", true, false, {-20, 50}, {-5, 50}, 5.0f, {-5, 45}},
      // Entered at the corner: the overrun stops there, not in the wall.
      {"square pocket, corner, overrun", true, true, {5, 20}, {5, 5}, 5.0f, {5, 5}},
  };
  constexpr double kRadius = 5.0;
  constexpr double kPi = 3.14159265358979323846;
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    ResetForAnotherJob();
    if (k.square) {
      AddLineCurve(603, k.inside ? std::vector<Point>{{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}}
                                 : std::vector<Point>{{0, 0}, {0, 100}, {100, 100}, {100, 0}, {0, 0}});
    } else {
      AddCircleCurve(603, 0.0, 0.0, k.inside ? 20.0 : -20.0);
    }
    MachiningDefinition d = PlaneContour(603);
    StepCondition& c = d.steps[0];
    c.word208 = 1;
    c.zone1X = c.zone2X = k.to[0];
    c.zone1Y = c.zone2Y = k.to[1];
    c.overrun = k.overrun != 0.0f ? 1.0f : 0.0f;
    g_machiningDefaults.overrun = k.overrun;
    overrunLength = k.overrun;
    const CheckResult r = RunJob(d);
    if (!ExpectRanClean(r)) GTEST_SKIP() << "rs274 is not installed";

    // The distance of a point from the drawn outline, and whether it lies
    // on the outline's inner side.
    const P centre = k.square ? P{50, 50} : P{0, 0};
    auto fromWall = [&](double x, double y) {
      if (!k.square) return std::fabs(std::hypot(x, y) - 20.0);
      const double dx = std::max({-x, 0.0, x - 100.0}), dy = std::max({-y, 0.0, y - 100.0});
      if (dx > 0.0 || dy > 0.0) return std::hypot(dx, dy);
      return std::min({x, 100.0 - x, y, 100.0 - y});
    };
    auto isInside = [&](double x, double y) {
      return k.square ? x > 0.0 && x < 100.0 && y > 0.0 && y < 100.0 : std::hypot(x, y) < 20.0;
    };
    std::vector<CanonMove> cut;
    for (const CanonMove& m : CuttingMoves(r.check, -5.0)) {
      if (std::hypot(m.x - m.fromX, m.y - m.fromY) > 1e-9) cut.push_back(m);
    }
    ASSERT_GE(cut.size(), 8u) << r.nc;
    EXPECT_NEAR(cut.front().fromX, k.foot[0], 0.001) << r.nc;
    EXPECT_NEAR(cut.front().fromY, k.foot[1], 0.001) << r.nc;
    // Every move on the offset path, on the outline's offset side: its ends
    // exactly, its middle within the arc stepping tolerance. A move across
    // the part fails here.
    for (const CanonMove& m : cut) {
      EXPECT_EQ(m.kind, CanonMove::Kind::kFeed) << m.line;
      for (const double t : {0.0, 0.5, 1.0}) {
        const double x = m.fromX + t * (m.x - m.fromX), y = m.fromY + t * (m.y - m.fromY);
        EXPECT_EQ(isInside(x, y), k.inside) << x << " " << y << " line " << m.line;
        EXPECT_NEAR(fromWall(x, y), kRadius, t == 0.5 ? 0.011 : 0.001) << x << " " << y << " line " << m.line;
      }
    }
    // Round once the way the outline is drawn, then once back and on by the
    // overrun: the angle turned about the centre goes up to a full turn and
    // comes back, the way round changing once.
    const double drawn = k.inside ? 1.0 : -1.0;
    double there = 0.0, back = 0.0;
    int turns = 0;
    double previous = 1.0;
    for (const CanonMove& m : cut) {
      const double ax = m.fromX - centre[0], ay = m.fromY - centre[1], bx = m.x - centre[0], by = m.y - centre[1];
      const double angle = drawn * std::atan2(ax * by - ay * bx, ax * bx + ay * by);
      if (angle * previous < 0.0) ++turns;
      previous = angle;
      (angle > 0.0 ? there : back) += angle;
    }
    EXPECT_EQ(turns, 1) << r.nc;
    EXPECT_NEAR(there, 2.0 * kPi, 0.001) << r.nc;
    // Back: a full turn and the overrun past the foot.
    const CanonMove& last = cut.back();
    if (k.square) {
      EXPECT_NEAR(last.x, k.end[0], 0.001) << r.nc;
      EXPECT_NEAR(last.y, k.end[1], 0.001) << r.nc;
    } else {
      const double toolCircle = std::hypot(k.foot[0], k.foot[1]);
      EXPECT_NEAR(back, -2.0 * kPi - k.overrun / toolCircle, 0.001) << r.nc;
      const double endAngle = kPi - drawn * k.overrun / toolCircle;
      EXPECT_NEAR(last.x, toolCircle * std::cos(endAngle), 0.001) << r.nc;
      EXPECT_NEAR(last.y, toolCircle * std::sin(endAngle), 0.001) << r.nc;
    }
  }
}

TEST_F(ContourAgreementTest, AThereAndBackContourInADepthJointGoesEachWayOneDepthDeeper) {
  // A joint of kind 0 from -2 by -3 to -11 round an R20 boss cut there and
  // back: the overrun before the return pass ends each depth pass, so the
  // tool goes round the way the boss is drawn at -2, back at -5, round at
  // -8 and back at -11, each time on the offset circle (R25), going down
  // only at the foot of the TO point where it turns.
  AddCircleCurve(602, 0.0, 0.0, -20.0);
  MachiningDefinition d = PlaneContour(602);
  StepCondition& c = d.steps[0];
  c.word208 = 1;
  c.zone1X = c.zone2X = -30.0;
  c.repeat[0].inUse = 1;
  c.repeat[0].kind = 0;
  c.repeat[0].first = -2.0;
  c.repeat[0].second = -3.0;
  c.repeat[0].third = -11.0;
  const CheckResult r = RunJob(d);
  if (!ExpectRanClean(r)) GTEST_SKIP() << "rs274 is not installed";
  const double way[] = {-1.0, 1.0, -1.0, 1.0};  // the boss is drawn clockwise
  const double depths[] = {-2.0, -5.0, -8.0, -11.0};
  for (int pass = 0; pass < 4; ++pass) {
    SCOPED_TRACE(depths[pass]);
    const std::vector<CanonMove> cut = CuttingMoves(r.check, depths[pass]);
    ASSERT_GT(cut.size(), 20u) << r.nc;
    double turned = 0.0;
    for (const CanonMove& m : cut) {
      EXPECT_NEAR(std::hypot(m.x, m.y), 25.0, 0.001) << m.line;
      turned += std::atan2(m.fromX * m.y - m.fromY * m.x, m.fromX * m.x + m.fromY * m.y);
    }
    EXPECT_NEAR(turned, way[pass] * 2.0 * 3.14159265358979323846, 0.001) << r.nc;
  }
  for (const CanonMove& m : r.check.moves) {
    if (m.kind == CanonMove::Kind::kTraverse || m.z >= 0.0 || std::fabs(m.z - m.fromZ) < 1e-9) continue;
    EXPECT_NEAR(m.x, -25.0, 0.001) << m.line;
    EXPECT_NEAR(m.y, 0.0, 0.001) << m.line;
  }
}

TEST_F(ContourAgreementTest, AnOpenContourCutThereAndBackTurnsAtItsEndAndOverrunsPastItsStart) {
  // An L of two lines, cut with its offset (5 to the left: inside the L),
  // entered through (0, 20) and left through (80, 50): the tool goes along
  // the offset L to the foot on the last side, turns there and comes back
  // along the same path to the first foot, then 5 on past it.
  AddLineCurve(603, {{0, 0}, {100, 0}, {100, 50}});
  MachiningDefinition d = PlaneContour(603);
  StepCondition& c = d.steps[0];
  c.word208 = 1;
  c.zone1X = 0.0;
  c.zone1Y = 20.0;
  c.zone2X = 80.0;
  c.zone2Y = 50.0;
  c.overrun = 1.0f;
  g_machiningDefaults.overrun = 5.0f;
  overrunLength = 5.0f;
  const CheckResult r = RunJob(d);
  if (!ExpectRanClean(r)) GTEST_SKIP() << "rs274 is not installed";
  std::vector<CanonMove> cut;
  for (const CanonMove& m : CuttingMoves(r.check, -5.0)) {
    if (std::hypot(m.x - m.fromX, m.y - m.fromY) > 1e-9) cut.push_back(m);
  }
  const std::vector<std::array<double, 2>> path = {{0, 5}, {95, 5}, {95, 50}, {95, 5}, {0, 5}, {-5, 5}};
  ASSERT_EQ(cut.size() + 1, path.size()) << r.nc;
  for (std::size_t i = 0; i < cut.size(); ++i) {
    EXPECT_NEAR(cut[i].fromX, path[i][0], 0.001) << i;
    EXPECT_NEAR(cut[i].fromY, path[i][1], 0.001) << i;
    EXPECT_NEAR(cut[i].x, path[i + 1][0], 0.001) << i;
    EXPECT_NEAR(cut[i].y, path[i + 1][1], 0.001) << i;
    EXPECT_EQ(cut[i].kind, CanonMove::Kind::kFeed) << i;
  }
}

}  // namespace
}  // namespace dorn::test
