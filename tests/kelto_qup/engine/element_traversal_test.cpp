// One step of the element traversal and the ray search, on small ranges
// whose joints are computed by hand.
#include "tests/kelto_qup/engine/engine_core_fixture.h"

#include <ostream>

namespace qup::testing {
namespace {

class TraversalTest : public EngineCoreTest {
 protected:
  void SetUp() override {
    run.core.OffsetMode = 0;
    run.SetCurrentFrameArc();
    run.core.JoinPending = 0xFFFF;
  }
  void Walk(int first, int last) {
    run.RangeStart = first;
    run.RangeEnd = last;
    run.RangeStep = 1;
    run.R1 = run.elements[first];
  }
  // The element R1 held before the step was exchanged into the frame.
  const NcElement& Stepped() { return run.core.ArcPassFrame; }
};

TEST_F(TraversalTest, RangeOfOneElementEndsAtOnce) {
  table.Line(0, 0, 10, 0);
  LoadTable();
  Walk(0, 0);
  run.R0 = NcElement{};
  run.R0.number = 77;
  EXPECT_EQ(run.TraverseElements(0), 0);
  EXPECT_EQ(run.R1.number, 77);  // R0 and R1 exchanged
  EXPECT_EQ(run.R0.number, 1);
  EXPECT_EQ(run.core.JoinPending, 0);
  EXPECT_EQ(run.core.LastIndexWord, 0);
}

TEST_F(TraversalTest, ElementsThatAlreadyMeetAreJoinedAsTheyStand) {
  table.Line(0, 0, 10, 0);
  table.Command(0x7500, 0, 0);  // a command inside the run is stepped over
  table.Line(10, 0, 10, 10);
  LoadTable();
  Walk(0, 2);
  EXPECT_EQ(run.TraverseElements(0), 1);
  EXPECT_EQ(run.RangeStart, 2);
  EXPECT_DOUBLE_EQ(run.R0.d4, 10.0);
  EXPECT_DOUBLE_EQ(run.R0.d5, 0.0);
  EXPECT_EQ(Stepped().number, 3);
  EXPECT_DOUBLE_EQ(Stepped().d6, 10.0);
  EXPECT_DOUBLE_EQ(Stepped().d7, 0.0);
}

// The next line starts at (8, 2). Heading down-left it crosses the current
// line at (6, 0), behind its start along the line: refused, the elements
// stand as they are. Heading down-right on the reversed side it crosses at
// (10, 0), ahead: the joint is taken.
TEST_F(TraversalTest, JointBehindTheNextStartIsRefusedAndOneAheadIsTaken) {
  struct Case {
    double dx, dy;
    int flags;
    int result;
  };
  const double h = std::sqrt(0.5);
  const Case cases[] = {{-h, -h, 0, 1}, {h, -h, kReversedSide, 2}, {h, -h, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.dx << " flags " << c.flags);
    table = ElementBuilder{};
    table.Line(0, 0, 10, 0);
    NcElement next{};
    next.number = 2;
    next.code = 0x1200;
    next.flags = c.flags;
    next.d2 = c.dx;
    next.d3 = c.dy;
    next.d6 = 8.0;
    next.d7 = 2.0;
    next.d4 = 8.0 + 10 * c.dx;
    next.d5 = 2.0 + 10 * c.dy;
    table.Add(next);
    LoadTable();
    run.core.JoinPending = 0xFFFF;
    Walk(0, 1);
    EXPECT_EQ(run.TraverseElements(0), c.result);
    if (c.result == 2) {
      EXPECT_NEAR(run.R0.d4, 10.0, 1e-12);
      EXPECT_NEAR(run.R0.d5, 0.0, 1e-12);
    } else {
      EXPECT_DOUBLE_EQ(run.R0.d4, run.R0.d6);  // taken as it stands
      EXPECT_DOUBLE_EQ(Stepped().d6, run.R0.d6);
    }
  }
}

// The next line starts at (7, -5) heading up-right and crosses the current
// line at (12, 0), 2 past its end: refused on the plain side, and on the
// reversed side its turn is refused. A contour loop marks every element of
// the range it holds (0x10000000, the side saved in 0x5000000): the marks
// must not change the joint. Either side bit counts as the reversed side.
// One traversal step: its result and where the next element starts after it.
struct Step {
  int result;
  double x, y;
  bool operator==(const Step&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Step& s) {
    return out << "result " << s.result << ", next start (" << s.x << ", " << s.y << ")";
  }
};

TEST_F(TraversalTest, AContourLoopsMarksDoNotChangeTheJoint) {
  const double h = std::sqrt(0.5);
  const auto walk = [&](int flags) {
    table = ElementBuilder{};
    table.Line(0, 0, 10, 0);
    NcElement next{};
    next.number = 2;
    next.code = 0x1200;
    next.flags = flags;
    next.d2 = h;
    next.d3 = h;
    next.d6 = 7.0;
    next.d7 = -5.0;
    next.d4 = 17.0;
    next.d5 = 5.0;
    table.Add(next);
    LoadTable();
    run.core.JoinPending = 0xFFFF;
    Walk(0, 1);
    const int result = run.TraverseElements(0);
    return Step{result, Stepped().d6, Stepped().d7};
  };
  const Step plain = walk(0);
  EXPECT_EQ(plain, (Step{1, 10.0, 0.0}));  // refused: the line keeps its end
  for (int flags : {0x10000000, 0x15000000}) EXPECT_EQ(walk(flags), plain) << std::hex << flags;
  const Step reversed = walk(kReversedSide);
  EXPECT_EQ(reversed.result, 1);
  for (int flags : {0x15050000, 0x10000, 0x40000}) EXPECT_EQ(walk(flags), reversed) << std::hex << flags;
}

// An arc about the origin from (10, 0) counter-clockwise; its end is the
// next element's start at (0, 10). Joints up to that end are ahead; one past
// it in the arc's sense is behind.
TEST_F(TraversalTest, ArcAcceptsJointsUpToItsEnd) {
  struct Case {
    double angle;  // of the joint, degrees
    int accepted;
  };
  const Case cases[] = {{45, 1}, {90, 1}, {135, 0}, {300, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.angle);
    const double a = c.angle * kRadiansPerDegree;
    run.R0 = NcElement{};
    run.R0.d1 = 10.0;
    run.R0.d6 = 10.0;  // the point before the joint
    run.R0.d4 = 10 * std::cos(a);
    run.R0.d5 = 10 * std::sin(a);
    run.R3.d4 = 0.0;  // the centre
    run.R3.d5 = 0.0;
    run.R1 = NcElement{};
    run.R1.d6 = 0.0;
    run.R1.d7 = 10.0;
    EXPECT_EQ(run.TraverseElementsAt(1), c.accepted);
  }
}

class RaySearchTest : public TraversalTest {
 protected:
  // A point, then the line x = 0 up to (0, 10), then y = 10 to (10, 10),
  // then x = 10 up to (10, 20).
  void Range() {
    table.Point(0, 0);
    table.Line(0, 0, 0, 10);
    table.Line(0, 10, 10, 10);
    table.Line(10, 10, 10, 20);
    table.Command(0x7100, 0, 3);
    LoadTable();
    run.R2 = run.elements[4];
    run.RangeStart = 0;
    run.RangeEnd = 3;
    run.core.RayMode = 1;
  }
};

// A horizontal first element leaves the side to the element after it in
// the walk: here the line down at x = 10 (side 3, the ray not reversed),
// never the line up at x = 0 behind it. The ray search always walks forward:
// a range marked backward is searched the same way.
TEST_F(RaySearchTest, AHorizontalStartTakesItsSideFromTheElementAhead) {
  for (int options : {0, kRangeBackward}) {
    SCOPED_TRACE(options);
    table = ElementBuilder{};
    table.Line(0, -10, 0, 0);
    table.Line(0, 0, 10, 0);
    table.Line(10, 0, 10, -10);
    const int command = table.Command(0x7100, 1, 2);
    LoadTable();
    run.R2 = run.elements[command];
    run.RangeStart = 1;
    run.RangeEnd = 2;
    run.RangeOptions = options;
    run.core.RayMode = 1;
    run.core.ArcPassFrame = NcElement{};
    run.R0 = NcElement{};
    run.R0.d4 = 5.0;
    run.R0.d5 = 5.0;
    EXPECT_NE(run.IntersectAndJoin(2), kStopRun);
    EXPECT_EQ(run.RangeStep, 1);
    EXPECT_EQ(run.core.ArcPassFrame.flags & kReversedSide, 0);
  }
}

// The ray leaves (5, -10) along the range's first direction (+Y): it meets
// the line y = 10 at (5, 10), which lies on that element.
TEST_F(RaySearchTest, RayFindsTheFirstElementItMeets) {
  Range();
  run.R0 = NcElement{};
  run.R0.d4 = 5.0;
  run.R0.d5 = -10.0;
  ASSERT_EQ(run.IntersectAndJoin(6), 1);
  EXPECT_NEAR(run.R0.d4, 5.0, 1e-12);
  EXPECT_NEAR(run.R0.d5, 10.0, 1e-12);
  EXPECT_EQ(run.RangeStart, 3);  // one step past the element hit
  EXPECT_DOUBLE_EQ(run.WorkVectorX(), -run.R0.d3);
  EXPECT_DOUBLE_EQ(run.WorkVectorY(), run.R0.d2);
  EXPECT_EQ(run.core.RayMode, 1);
}

// From (20, -10) the ray passes beyond the end of y = 10 and runs parallel
// to the other lines: nothing is found.
TEST_F(RaySearchTest, RayThatMissesEveryElementFindsNothing) {
  Range();
  run.R0 = NcElement{};
  run.R0.d4 = 20.0;
  run.R0.d5 = -10.0;
  EXPECT_EQ(run.IntersectAndJoin(6), 0);
  EXPECT_EQ(run.AbortFlag, 0);
}

// The corner search: the ray along +Y from (5, 7) meets y = 10 first and,
// going on from the element after it, y = 5. The walking sign decides which
// side of the start the joint is taken on.
TEST_F(RaySearchTest, CornerSearchTakesTheNearestHitInTheWalkingSense) {
  struct Case {
    double startY;
    int sign;
    double jointY;
  };
  const Case cases[] = {{7, 1, 10}, {7, -1, 5}, {-10, 1, 5}, {-10, -1, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.startY << " sign " << c.sign);
    table = ElementBuilder{};
    table.Point(0, 0);
    table.Line(0, 0, 0, 10);
    table.Line(0, 10, 10, 10);
    table.Line(10, 5, 0, 5);
    table.Command(0x7100, 0, 3);
    LoadTable();
    run.R2 = run.elements[4];
    run.RangeStart = 0;
    run.RangeEnd = 3;
    run.core.RayMode = 1;
    run.core.CornerWord = 0;
    run.core.WalkSign = c.sign;
    run.R0 = NcElement{};
    run.R0.d4 = 5.0;
    run.R0.d5 = c.startY;
    ASSERT_EQ(run.IntersectPairs(), 2);
    EXPECT_NEAR(run.R0.d4, 5.0, 1e-12);
    EXPECT_NEAR(run.R0.d5, c.jointY, 1e-12);
    EXPECT_EQ(run.RangeStart, 0);  // the range words are given back
    EXPECT_EQ(run.R2.code, 0x7100);
  }
}

TEST_F(RaySearchTest, CornerSearchWithoutAHitFindsNothing) {
  Range();
  run.R0 = NcElement{};
  run.R0.d4 = 20.0;
  run.R0.d5 = -10.0;
  EXPECT_EQ(run.IntersectPairs(), 0);
}

// The approach from (5, -10): the ray meets y = 10 at (5, 10). Along the
// start direction +Y the approach point is the joint itself; across it (+X)
// the joint lies 20 beside the start line and the point stays at the start.
TEST_F(RaySearchTest, ApproachPointIsTheJointBroughtOntoTheStartLine) {
  struct Case {
    double dx, dy;
    double px, py, dot, cross;
  };
  const Case cases[] = {{0, 1, 5, 10, 20, 0}, {1, 0, 5, -10, 0, 20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dx);
    table = ElementBuilder{};
    Range();
    run.R0 = NcElement{};
    run.R0.d2 = c.dx;
    run.R0.d3 = c.dy;
    run.R0.d4 = 5.0;
    run.R0.d5 = -10.0;
    run.R1 = NcElement{};
    ASSERT_EQ(run.ApproachFromSide(2), 1);
    EXPECT_NEAR(run.R0.d4, c.px, 1e-12);
    EXPECT_NEAR(run.R0.d5, c.py, 1e-12);
    EXPECT_NEAR(run.WorkVectorX(), c.dot, 1e-12);
    EXPECT_NEAR(run.WorkVectorY(), c.cross, 1e-12);
  }
}

// The point at a kept length and the length back to a point agree, on a
// line and on arcs of both senses.
TEST_F(EngineCoreTest, PointAtKeptLengthAndDirectionFromTheStartAgree) {
  struct Case {
    double radius;
    double length;
    double x, y;  // the point at that length from (10, 0)
  };
  const Case cases[] = {{0.0, 5.0, 10.0, 5.0},
                        {10.0, 0.5 * kPi * 10, 0.0, 10.0},
                        {-10.0, 0.5 * kPi * 10, 0.0, -10.0},
                        {10.0, 1.5 * kPi * 10, 0.0, -10.0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.radius << " " << c.length);
    run.R0 = NcElement{};
    run.R0.d1 = c.radius;
    run.R0.d3 = 1.0;  // a line runs along +Y
    run.R3.d4 = 0.0;  // an arc's centre
    run.R3.d5 = 0.0;
    run.core.KeptStart = {10.0, 0.0};
    run.ArcPointAt(c.length);
    EXPECT_NEAR(run.R0.d4, c.x, 1e-9);
    EXPECT_NEAR(run.R0.d5, c.y, 1e-9);
    run.IntersectDirection();
    EXPECT_NEAR(run.core.KeptLength, c.length, 1e-9);
  }
}

TEST_F(EngineCoreTest, SingleElementRunWithStraightFeed) {
  table.Line(0, 0, 10, 0);
  table.Line(10, 0, 10, 20);
  LoadTable();
  run.core.StraightFeedSwitch = 1;
  run.ElementIndex = 1;
  EXPECT_EQ(run.SetupSingleElement(), 1);
  EXPECT_EQ(run.RangeStart, 1);
  EXPECT_EQ(run.RangeEnd, 1);
  EXPECT_DOUBLE_EQ(run.R2.d4, 1.000001);
  EXPECT_EQ(run.R1.number, 2);
  EXPECT_EQ(run.R1.d4, 0.0);
  // An element that is not in the table stops the run.
  run.ElementIndex = 9;
  EXPECT_EQ(run.SetupSingleElement(), 0);
  EXPECT_EQ(run.AbortFlag, kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find("ERROR.2011"), std::string::npos);
  // A stopped run does nothing more.
  EXPECT_EQ(run.IntersectElements(), 0);
}

}  // namespace
}  // namespace qup::testing
