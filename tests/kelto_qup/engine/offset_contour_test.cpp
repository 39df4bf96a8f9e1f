// Offset contours end to end through the engine's fetch and successor
// resolution: the surviving offset elements of a closed contour are joined
// into moves (sharp joints, or round corners about the contour's corner
// where the offset elements part), booked with AddMoveLength, and checked
// against lengths computed by hand. Every path also keeps the invariants:
// consecutive moves meet within 0.001, every move lies on its element, and
// the booked length is the sum of the moves.
#include <optional>

#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

struct P {
  double x = 0.0, y = 0.0;
};
P operator-(P a, P b) { return {a.x - b.x, a.y - b.y}; }
P operator+(P a, P b) { return {a.x + b.x, a.y + b.y}; }
P operator*(double s, P a) { return {s * a.x, s * a.y}; }
double Dot(P a, P b) { return a.x * b.x + a.y * b.y; }
double Len(P a) { return std::hypot(a.x, a.y); }

struct Move {
  double radius = 0.0;  // 0: a line
  P start, end, centre;
};

enum class Corners { Sharp, Round };

class OffsetContourTest : public EngineCoreTest {
 protected:
  // The surviving offset elements of first..last, walked with `mode`.
  std::vector<NcElement> SurvivingElements(int first, int last, double offset, int mode) {
    SetRange(first, last, offset);
    if (first > last) run.RangeStep = -1;  // walked backwards
    std::vector<NcElement> kept;
    run.R1 = run.elements[first];
    if (run.FetchNextElement(0) != 1) return kept;
    kept.push_back(run.R1);
    for (;;) {
      run.SwapR0R1();
      if (run.RangeStart == run.RangeEnd) break;
      run.RangeStart += run.RangeStep;
      run.R1 = run.elements[run.RangeStart];
      if (run.FetchNextElement(mode) != 1) break;
      kept.push_back(run.R1);
    }
    EXPECT_EQ(run.AbortFlag, 0);
    return kept;
  }

  static bool IsArc(const NcElement& e) { return e.d1 != 0.0; }
  static P Centre(const NcElement& e) { return {e.d6, e.d7}; }

  // Crossings of two offset elements (lines through d6/d7 along d2/d3,
  // circles about d6/d7 with |d1|).
  static std::vector<P> Crossings(const NcElement& a, const NcElement& b) {
    auto lineCircle = [](const NcElement& line, const NcElement& circle) {
      const P p{line.d6, line.d7}, u{line.d2, line.d3}, c = Centre(circle);
      const double t = Dot(c - p, u);
      const P foot = p + t * u;
      const double d = Len(foot - c), r = std::fabs(circle.d1);
      if (d > r + 1e-9) return std::vector<P>{};
      const double s = std::sqrt(std::max(0.0, r * r - d * d));
      return std::vector<P>{foot + s * u, foot - s * u};
    };
    if (!IsArc(a) && !IsArc(b)) {
      const double h = a.d2 * b.d3 - a.d3 * b.d2;
      if (std::fabs(h) < 1e-12) return {};
      const P pa{a.d6, a.d7}, pb{b.d6, b.d7};
      const double t = ((pb.x - pa.x) * b.d3 - (pb.y - pa.y) * b.d2) / h;
      return {pa + t * P{a.d2, a.d3}};
    }
    if (!IsArc(a)) return lineCircle(a, b);
    if (!IsArc(b)) return lineCircle(b, a);
    return {};
  }

  // The moves of the closed offset contour of `kept`.
  std::vector<Move> JoinMoves(const std::vector<NcElement>& kept, const std::vector<P>& corners, Corners style,
                              double offset) {
    std::vector<Move> moves;
    const std::size_t n = kept.size();
    if (n == 1) {
      const NcElement& e = kept[0];
      moves.push_back({e.d1, {e.d4, e.d5}, {e.d4, e.d5}, Centre(e)});
      return moves;
    }
    // Joint j[i] between kept[i] and kept[i+1]; an optional round corner.
    std::vector<P> inPoint(n), outPoint(n);
    std::vector<std::optional<Move>> cornerArcs(n);
    for (std::size_t i = 0; i < n; ++i) {
      const NcElement& a = kept[i];
      const NcElement& b = kept[(i + 1) % n];
      const P endA{a.d4, a.d5};
      std::vector<P> c = Crossings(a, b);
      P joint = endA;
      if (!c.empty()) {
        joint = c[0];
        for (const P& q : c) {
          if (Len(q - endA) < Len(joint - endA)) joint = q;
        }
      }
      const P dirA = IsArc(a) ? P{0, 0} : P{a.d2, a.d3};
      const bool beyond = Dot(joint - endA, dirA) > 1e-9;
      if (style == Corners::Round && (c.empty() || beyond)) {
        const P corner = corners[i];
        const P startB = IsArc(b) ? Centre(b) + (std::fabs(b.d1) / Len(corner - Centre(b))) * (corner - Centre(b))
                                  : corner + offset * P{-b.d3, b.d2};
        // The arc about the corner turns the way the contour turns there:
        // offsets to the right of travel go round it clockwise.
        cornerArcs[i] = Move{offset < 0 ? std::fabs(offset) : -std::fabs(offset), endA, startB, corner};
        outPoint[i] = endA;
        inPoint[(i + 1) % n] = startB;
      } else {
        outPoint[i] = joint;
        inPoint[(i + 1) % n] = joint;
      }
    }
    for (std::size_t i = 0; i < n; ++i) {
      const NcElement& e = kept[i];
      moves.push_back({e.d1, inPoint[i], outPoint[i], Centre(e)});
      if (cornerArcs[i]) moves.push_back(*cornerArcs[i]);
    }
    return moves;
  }

  // Books every move as the block output does and checks the invariants.
  double BookAndCheck(const std::vector<Move>& moves) {
    run.PathLength = 0.0;
    double sum = 0.0;
    for (std::size_t k = 0; k < moves.size(); ++k) {
      const Move& m = moves[k];
      const Move& next = moves[(k + 1) % moves.size()];
      EXPECT_LT(Len(m.end - next.start), 0.001) << "moves " << k << " and " << k + 1 << " do not meet";
      run.R0 = NcElement{};
      run.R0.d1 = m.radius;
      run.WorkVectorX() = m.end.x - m.start.x;
      run.WorkVectorY() = m.end.y - m.start.y;
      run.core.MoveVectorZ = 0.0;
      run.core.MoveCentreOffsets = {m.centre.x - m.start.x, m.centre.y - m.start.y, 0.0};
      run.core.PlaneSelect = 1;
      const double before = run.PathLength;
      run.AddMoveLength();
      const double booked = run.PathLength - before;
      EXPECT_TRUE(std::isfinite(booked));
      if (m.radius != 0.0) {
        EXPECT_NEAR(Len(m.start - m.centre), std::fabs(m.radius), 0.001) << "move " << k << " leaves its arc";
        EXPECT_NEAR(Len(m.end - m.centre), std::fabs(m.radius), 0.001) << "move " << k << " leaves its arc";
        const double a0 = std::atan2(m.start.y - m.centre.y, m.start.x - m.centre.x);
        const double a1 = std::atan2(m.end.y - m.centre.y, m.end.x - m.centre.x);
        double sweep = m.radius > 0 ? a1 - a0 : a0 - a1;
        while (sweep <= 1e-12) sweep += 2 * kPi;
        sum += sweep * std::fabs(m.radius);
      } else {
        sum += Len(m.end - m.start);
      }
    }
    EXPECT_NEAR(run.PathLength, sum, 1e-9);
    return run.PathLength;
  }

  // A 100 by 100 square, counter-clockwise from the origin.
  std::vector<P> Square() {
    table.Line(0, 0, 100, 0);
    table.Line(100, 0, 100, 100);
    table.Line(100, 100, 0, 100);
    table.Line(0, 100, 0, 0);
    LoadTable();
    return {{100, 0}, {100, 100}, {0, 100}, {0, 0}};
  }
};

TEST_F(OffsetContourTest, SquareOffsetOutsideHasRoundCorners) {
  const std::vector<P> corners = Square();
  for (int mode : {kResolveModeA, kResolveModeB}) {
    SCOPED_TRACE(mode);
    LoadTable();
    const auto kept = SurvivingElements(0, 3, -5.0, mode);  // right of travel: outside
    ASSERT_EQ(kept.size(), 4u);
    const double length = BookAndCheck(JoinMoves(kept, corners, Corners::Round, -5.0));
    EXPECT_NEAR(length, 400.0 + 10.0 * kPi, 1e-9);
  }
}

TEST_F(OffsetContourTest, SquareOffsetInsideIsTrimmedAtTheJoints) {
  const std::vector<P> corners = Square();
  for (int mode : {kResolveModeA, kResolveModeB}) {
    SCOPED_TRACE(mode);
    LoadTable();
    const auto kept = SurvivingElements(0, 3, 5.0, mode);
    ASSERT_EQ(kept.size(), 4u);
    EXPECT_NEAR(BookAndCheck(JoinMoves(kept, corners, Corners::Sharp, 5.0)), 360.0, 1e-9);
  }
}

TEST_F(OffsetContourTest, CircleOffsetByFiveAndByItsRadius) {
  struct Case {
    double offset;
    bool survives;
    double length;
  };
  const Case cases[] = {{5.0, true, 2 * kPi * 15}, {-5.0, true, 2 * kPi * 25}, {20.0, false, 0.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    table = ElementBuilder{};
    table.Arc(20.0, 20, 0, 0, 0);  // a whole circle from (20,0) back to (20,0)
    LoadTable();
    const auto kept = SurvivingElements(0, 0, c.offset, kResolveModeA);
    if (!c.survives) {
      EXPECT_TRUE(kept.empty());
      EXPECT_TRUE(Consumed(0));
      continue;
    }
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_NEAR(BookAndCheck(JoinMoves(kept, {}, Corners::Sharp, c.offset)), c.length, 1e-9);
  }
}

// A rounded square (corner radius 10): every line continues tangentially
// into its arc, and the arcs stay concentric with the offset.
TEST_F(OffsetContourTest, TangentContinuationKeepsEveryElement) {
  struct Case {
    double offset;
    double length;
  };
  const Case cases[] = {{5.0, 4 * 80.0 + 2 * kPi * 5}, {-5.0, 4 * 80.0 + 2 * kPi * 15}};
  for (const Case& c : cases) {
    for (int mode : {kResolveModeA, kResolveModeB}) {
      SCOPED_TRACE(::testing::Message() << "offset " << c.offset << " mode " << mode);
      table = ElementBuilder{};
      table.Line(10, 0, 90, 0);
      table.Arc(10, 100, 10, 90, 10);
      table.Line(100, 10, 100, 90);
      table.Arc(10, 90, 100, 90, 90);
      table.Line(90, 100, 10, 100);
      table.Arc(10, 0, 90, 10, 90);
      table.Line(0, 90, 0, 10);
      table.Arc(10, 10, 0, 10, 10);
      LoadTable();
      const auto kept = SurvivingElements(0, 7, c.offset, mode);
      ASSERT_EQ(kept.size(), 8u);
      EXPECT_NEAR(BookAndCheck(JoinMoves(kept, {}, Corners::Sharp, c.offset)), c.length, 1e-6);
    }
  }
}

// A notch 20 deep in the top edge of the square, 4 or 8 wide: a tool of
// radius 5 cannot enter it. All four notch elements are consumed and the
// path runs straight past the notch: the square's inside length 360 again.
TEST_F(OffsetContourTest, NotchNarrowerThanTwiceTheOffsetIsCutOff) {
  for (double leftWall : {56.0, 52.0}) {
    SCOPED_TRACE(60.0 - leftWall);
    table = ElementBuilder{};
    table.Line(0, 0, 100, 0);
    table.Line(100, 0, 100, 100);
    table.Line(100, 100, 60, 100);
    table.Line(60, 100, 60, 120);
    table.Line(60, 120, leftWall, 120);
    table.Line(leftWall, 120, leftWall, 100);
    table.Line(leftWall, 100, 0, 100);
    table.Line(0, 100, 0, 0);
    LoadTable();
    const auto kept = SurvivingElements(0, 7, 5.0, kResolveModeA);
    for (int notch = 3; notch <= 6; ++notch) EXPECT_TRUE(Consumed(notch)) << notch;
    ASSERT_EQ(kept.size(), 4u);
    EXPECT_EQ(kept[2].number, 3);  // the top edge right of the notch ...
    EXPECT_EQ(kept[3].number, 8);  // ... joins the left side directly
    EXPECT_NEAR(BookAndCheck(JoinMoves(kept, {}, Corners::Sharp, 5.0)), 360.0, 1e-9);
  }
}

// The same notch walked backwards (from the last element to the first): the
// elements travel the other way, so the inside lies to their right (offset
// -5). The resolution's re-base must search back towards the candidate in
// the walking direction; the notch is cut off as before.
TEST_F(OffsetContourTest, NotchIsCutOffOnABackwardWalkToo) {
  table.Line(0, 0, 100, 0);
  table.Line(100, 0, 100, 100);
  table.Line(100, 100, 60, 100);
  table.Line(60, 100, 60, 120);
  table.Line(60, 120, 56, 120);
  table.Line(56, 120, 56, 100);
  table.Line(56, 100, 0, 100);
  table.Line(0, 100, 0, 0);
  LoadTable();
  const auto kept = SurvivingElements(7, 0, -5.0, kResolveModeA);
  // The mirror of the forward walk: the notch and the top edge on its far side.
  for (int notch = 2; notch <= 5; ++notch) EXPECT_TRUE(Consumed(notch)) << notch;
  ASSERT_EQ(kept.size(), 4u);
  EXPECT_EQ(kept[1].number, 7);  // the top edge left of the notch ...
  EXPECT_EQ(kept[2].number, 2);  // ... joins the right side directly
  EXPECT_NEAR(BookAndCheck(JoinMoves(kept, {}, Corners::Sharp, -5.0)), 360.0, 1e-9);
}

// A slot 8 wide with round ends offset inside by 5: the ends are swallowed
// (radius 4 - 5 < 0) and the sides never meet again: nothing survives after
// the first side.
TEST_F(OffsetContourTest, SlotNarrowerThanTwiceTheOffsetDisappears) {
  for (int mode : {kResolveModeA, kResolveModeB}) {
    SCOPED_TRACE(mode);
    table = ElementBuilder{};
    table.Line(0, 0, 50, 0);
    table.Arc(4, 50, 8, 50, 4);
    table.Line(50, 8, 0, 8);
    table.Arc(4, 0, 0, 0, 4);
    LoadTable();
    const auto kept = SurvivingElements(0, 3, 5.0, mode);
    EXPECT_EQ(kept.size(), 1u);
    EXPECT_TRUE(Consumed(1));
    EXPECT_TRUE(Consumed(2));
    EXPECT_TRUE(Consumed(3));
  }
}

}  // namespace
}  // namespace qup::testing
