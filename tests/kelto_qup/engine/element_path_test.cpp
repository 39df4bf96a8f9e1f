// The path of contour elements as written moves: straight moves collected
// into one linking move (and a move turning back along the line is not
// swallowed), the end zones of long moves, and arcs written as chords.
// Positions are read on the display channel, which draws every move.
#include <cmath>
#include <string>
#include <vector>

#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

struct Pos {
  double x, y;
};

class ElementPathTest : public EngineCoreTest {
 protected:
  void SetUp() override {
    run.output.OutputSuppress = 64;
    run.output.Feed = 100.0;
    run.engine.contour.SectionCommand.d7 = 100.0;
    run.job.CurrentPoint = {0.0, 0.0, -5.0};
    run.engine.contour.LastCommandPoint = {0.0, 0.0};
    run.R1.d7 = -5.0;
    run.R3.d1 = -5.0;
    run.engine.contour.Pending.MoveBaseHeight = -5.0;  // the approach left the tool at the contour's height
  }
  void Collecting() {
    run.core.SnapshotFlags = 0x0100;
    run.engine.contour.CompensationRequest = 1;
  }
  int LineTo(double x, double y) {
    run.R0 = NcElement{};
    run.R0.code = 0x1200;
    run.R0.d4 = x;
    run.R0.d5 = y;
    return run.ComputeElementPath(0);
  }
  std::vector<Pos> Drawn() const {
    std::vector<Pos> out;
    for (const auto& step : host.pathSteps) out.push_back({step.move.d4, step.move.d5});
    return out;
  }
  static void ExpectPath(const std::vector<Pos>& got, const std::vector<Pos>& want) {
    std::string text;
    for (const Pos& p : got) text += std::to_string(p.x) + "," + std::to_string(p.y) + " ";
    ASSERT_EQ(got.size(), want.size()) << text;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_NEAR(got[i].x, want[i].x, 1e-9) << i;
      EXPECT_NEAR(got[i].y, want[i].y, 1e-9) << i;
    }
  }
};

TEST_F(ElementPathTest, CollinearMovesBecomeOneMove) {
  Collecting();
  for (const Pos p : {Pos{10, 0}, Pos{20, 0}, Pos{30, 0}}) ASSERT_EQ(LineTo(p.x, p.y), 1);
  EXPECT_TRUE(Drawn().empty());
  // A turn writes the three as one move; the flush writes the turn.
  ASSERT_EQ(LineTo(30, 10), 1);
  ASSERT_EQ(run.FlushPendingMove(66), 0);
  ExpectPath(Drawn(), {{30, 0}, {30, 10}});
}

TEST_F(ElementPathTest, MoveTurningBackAlongTheLineIsKept) {
  // Out to 20 and back to 5 on one line: both stretches are cut.
  Collecting();
  for (const Pos p : {Pos{10, 0}, Pos{20, 0}, Pos{5, 0}}) ASSERT_EQ(LineTo(p.x, p.y), 1);
  ASSERT_EQ(run.FlushPendingMove(66), 0);
  ExpectPath(Drawn(), {{20, 0}, {5, 0}});
}

TEST_F(ElementPathTest, MergingStopsAfterTwentyWhenTheOutputAsks) {
  Collecting();
  run.output.MergeMoveMode = 4;
  for (int x = 1; x <= 30; ++x) ASSERT_EQ(LineTo(x, 0), 1);
  ASSERT_EQ(run.FlushPendingMove(66), 0);
  ExpectPath(Drawn(), {{20, 0}, {30, 0}});
}

TEST_F(ElementPathTest, UncollectedMovesAreWrittenOneByOne) {
  for (const Pos p : {Pos{10, 0}, Pos{20, 0}}) ASSERT_EQ(LineTo(p.x, p.y), 1);
  ExpectPath(Drawn(), {{10, 0}, {20, 0}});
}

TEST_F(ElementPathTest, EndZonesOfLongMoves) {
  run.output.EndZoneMode = 0x1000;
  run.output.EndZoneLength = 2.0;
  run.output.EndZoneFactor = 0.5;
  // Exactly 2.1 zones long: not split.
  ASSERT_EQ(LineTo(4.2, 0), 1);
  ExpectPath(Drawn(), {{4.2, 0}});
  // The first long move: up to the end zone, then the zone.
  host.pathSteps.clear();
  ASSERT_EQ(LineTo(14.2, 0), 1);
  ExpectPath(Drawn(), {{12.2, 0}, {14.2, 0}});
  // Later ones also start in a zone: three pieces.
  host.pathSteps.clear();
  ASSERT_EQ(LineTo(24.2, 0), 1);
  ExpectPath(Drawn(), {{16.2, 0}, {22.2, 0}, {24.2, 0}});
  EXPECT_EQ(run.output.Feed, 50.0);  // the last piece ran in the zone
}

TEST_F(ElementPathTest, ArcsAreWrittenAsChords) {
  struct Case {
    double radius;  // signed, counter-clockwise positive
    Pos from, to;
    double tolerance;
    std::size_t steps;
  };
  // R10: sqrt(2 * 0.01 / 10) rad = 2.5624 degrees a chord. A tolerance of a
  // quarter of the radius or more is taken as an eighth (0.5 rad steps).
  const Case cases[] = {
      {10.0, {10, 0}, {0, 10}, 0.01, 36u},   // quarter, counter-clockwise
      {-10.0, {0, 10}, {10, 0}, 0.01, 36u},  // the same quarter clockwise
      {10.0, {10, 0}, {10, 0}, 0.01, 141u},  // full circle
      {10.0, {10, 0}, {0, 10}, 3.0, 4u},
  };
  for (const Case& c : cases) {
    host.pathSteps.clear();
    run.engine.contour.ArcTolerance = c.tolerance;
    run.engine.contour.LastCommandPoint = {c.from.x, c.from.y};
    run.job.CurrentPoint = {c.from.x, c.from.y, -5.0};
    run.R3.d4 = 0.0;
    run.R3.d5 = 0.0;
    run.R0 = NcElement{};
    run.R0.code = 0x1300;
    run.R0.d1 = c.radius;
    run.R0.d4 = c.to.x;
    run.R0.d5 = c.to.y;
    ASSERT_EQ(run.ComputeElementPath(0), 0);
    const std::vector<Pos> got = Drawn();
    ASSERT_EQ(got.size(), c.steps) << c.radius << " " << c.tolerance;
    for (const Pos& p : got) EXPECT_NEAR(std::hypot(p.x, p.y), 10.0, 1e-9);
    EXPECT_NEAR(got.back().x, c.to.x, 1e-12);
    EXPECT_NEAR(got.back().y, c.to.y, 1e-12);
    // The clockwise quarter stays in the first quadrant too.
    if (c.radius < 0.0 && c.steps == 36u) EXPECT_GT(got[17].x, 0.0);
  }
}

TEST_F(ElementPathTest, ArcRoundingToZeroRadiusIsACorner) {
  run.R0 = NcElement{};
  run.R0.code = 0x1300;
  run.R0.d1 = 0.0004;
  run.R0.d4 = 1.0;
  EXPECT_EQ(run.ComputeElementPath(0), 0);
  EXPECT_TRUE(Drawn().empty());
}

TEST_F(ElementPathTest, ContourGoingOnWhereTheLastEndedOpensALinkingMove) {
  // Within 2.5 step units of the last command point: no approach, the
  // pending move begins there.
  Collecting();
  run.StepUnit = 1.0;
  run.engine.contour.LastCommandPoint = {0.0, 0.0};
  run.R0 = NcElement{};
  run.R0.code = 0x1200;
  run.R0.d4 = 2.0;
  run.R0.d5 = 0.0;
  EXPECT_TRUE(run.IsWithinRadiusRange());
  ASSERT_EQ(run.ComputeElementStart(), 1);
  EXPECT_EQ(run.engine.contour.PendingMove, 1);
  EXPECT_TRUE(Drawn().empty());
  run.R0.d4 = 3.0;
  EXPECT_FALSE(run.IsWithinRadiusRange());
}

}  // namespace
}  // namespace qup::testing
