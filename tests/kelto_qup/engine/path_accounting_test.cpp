// Path length and machining time of the moves the block output books.
#include <array>

#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

// Books one move: a line (radius 0) or an arc in the XY plane.
void BookMove(RunContext& run, double radius, double dx, double dy, double dz, double i, double j) {
  run.R0 = NcElement{};
  run.R0.d1 = radius;
  run.WorkVectorX() = dx;
  run.WorkVectorY() = dy;
  run.core.MoveVectorZ = dz;
  run.core.MoveCentreOffsets = {i, j, 0.0};
  run.core.PlaneSelect = 1;
  run.AddMoveLength();
}

TEST_F(EngineCoreTest, MoveLengthsOfLinesAndArcs) {
  struct Case {
    const char* what;
    double radius, dx, dy, dz, i, j;
    double length;
  };
  const Case cases[] = {
      {"line in space", 0, 3, 4, 12, 0, 0, 13.0},
      // (10,0) -> (0,10) about the origin, counter-clockwise: a quarter.
      {"quarter counter-clockwise", 10, -10, 10, 0, -10, 0, 0.5 * kPi * 10},
      // The same end points clockwise: three quarters.
      {"three quarters clockwise", -10, -10, 10, 0, -10, 0, 1.5 * kPi * 10},
      // End on the start: a full circle.
      {"full circle", 20, 0, 0, 0, -20, 0, 2 * kPi * 20},
      {"full circle clockwise", -20, 0, 0, 0, 0, 20, 2 * kPi * 20},
      // A centre on the start point has no sweep: nothing is booked.
      {"centre on the start", 5, 3, 4, 0, 0, 0, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    run.PathLength = 0.0;
    BookMove(run, c.radius, c.dx, c.dy, c.dz, c.i, c.j);
    EXPECT_TRUE(std::isfinite(run.PathLength));
    EXPECT_NEAR(run.PathLength, c.length, 1e-9);
  }
  // The reports read the same word under their own name.
  EXPECT_EQ(&run.CuttingDistance, &run.PathLength);
}

// The quarter of R10 counter-clockwise laid in each plane: the sweep is
// measured with the plane's own pair of offsets and move components, so
// each books the same length; with no plane selected nothing is booked.
TEST_F(EngineCoreTest, ArcLengthsAreMeasuredInTheSelectedPlane) {
  struct Case {
    const char* what;
    int plane;
    double dx, dy, dz;
    std::array<double, 3> centre;  // I, J, K
    double length;
  };
  const Case cases[] = {
      {"XY", 1, -10, 10, 0, {-10, 0, 0}, 0.5 * kPi * 10},
      {"ZX", 2, -10, 0, 10, {-10, 0, 0}, 0.5 * kPi * 10},
      {"YZ", 3, 0, -10, 10, {0, -10, 0}, 0.5 * kPi * 10},
      {"no plane", 0, -10, 10, 0, {-10, 0, 0}, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    run.PathLength = 0.0;
    run.R0 = NcElement{};
    run.R0.d1 = 10.0;
    run.WorkVectorX() = c.dx;
    run.WorkVectorY() = c.dy;
    run.core.MoveVectorZ = c.dz;
    run.core.MoveCentreOffsets = c.centre;
    run.core.PlaneSelect = c.plane;
    run.AddMoveLength();
    EXPECT_NEAR(run.PathLength, c.length, 1e-9);
  }
}

TEST_F(EngineCoreTest, MachiningTimeIsBookedAtFeedChangesAndAtTheEnd) {
  // The first move only takes the feed.
  run.core.NextFeed = 500.0;
  run.ElementIndex = kReady;
  run.AddMachiningTime(0);
  EXPECT_EQ(run.core.CurrentFeed, 500.0);
  EXPECT_EQ(run.MachiningTime, 0.0);
  // 100 mm at 500 mm/min, then a feed change: 12 s.
  run.PathLength = 100.0;
  run.core.NextFeed = 250.0;
  run.AddMachiningTime(0);
  EXPECT_NEAR(run.MachiningTime, 12.0, 1e-12);
  EXPECT_EQ(run.core.TimedLength, 100.0);
  // Same feed, not forced: nothing.
  run.PathLength = 150.0;
  run.AddMachiningTime(0);
  EXPECT_NEAR(run.MachiningTime, 12.0, 1e-12);
  // Forced: 50 mm at 250 mm/min = 12 s more.
  run.AddMachiningTime(1);
  EXPECT_NEAR(run.MachiningTime, 24.0, 1e-12);
  // Final booking of the rest: 25 mm at 250 mm/min = 6 s.
  run.PathLength = 175.0;
  run.ElementIndex = 0;
  run.AddMachiningTime(0);
  EXPECT_NEAR(run.PredictedMachiningTime, 30.0, 1e-12);
}

// A move at feed 0 (no feed) between timed moves: the length before it is
// booked once, not again when the next feed arrives, and the length run at
// feed 0 is not timed at the feed that follows.
TEST_F(EngineCoreTest, FeedZeroBetweenMovesDoesNotBookTheRunTwice) {
  run.ElementIndex = kReady;
  run.core.NextFeed = 500.0;
  run.AddMachiningTime(0);  // first move: feed 500
  run.PathLength = 100.0;
  run.core.NextFeed = 0.0;
  run.AddMachiningTime(0);  // 100 mm at 500 mm/min: 12 s
  EXPECT_NEAR(run.MachiningTime, 12.0, 1e-12);
  run.PathLength = 150.0;
  run.core.NextFeed = 500.0;
  run.AddMachiningTime(0);  // the feed comes back: nothing booked yet
  EXPECT_NEAR(run.MachiningTime, 12.0, 1e-12);
  run.PathLength = 250.0;
  run.ElementIndex = 0;
  run.AddMachiningTime(0);  // 100 mm more at 500 mm/min: 12 s (the 50 mm at feed 0 untimed)
  EXPECT_NEAR(run.MachiningTime, 24.0, 1e-12);
}

TEST_F(EngineCoreTest, FinalBookingWithoutAnyTimedMoveBooksNothing) {
  run.PathLength = 40.0;
  run.ElementIndex = 0;
  run.AddMachiningTime(0);
  EXPECT_EQ(run.MachiningTime, 0.0);
  EXPECT_TRUE(std::isfinite(run.MachiningTime));
}

}  // namespace
}  // namespace qup::testing
