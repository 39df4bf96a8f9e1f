// Element lengths added to R2's d3: arcs by their sweep in their turning
// sense with the closed-arc rules, lines by their chord.
#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

// R0 an arc about (cx, cy) from (sx, sy) (d6/d7) to (ex, ey) (d4/d5), its
// centre in R3's d4/d5.
void SetArc(RunContext& run, double radius, double sx, double sy, double ex, double ey, double cx, double cy) {
  run.R0 = NcElement{};
  run.R0.code = 0x1300;
  run.R0.d1 = radius;
  run.R0.d4 = ex;
  run.R0.d5 = ey;
  run.R0.d6 = sx;
  run.R0.d7 = sy;
  run.R3.d4 = cx;
  run.R3.d5 = cy;
  run.R2.d3 = 0.0;
}

TEST_F(EngineCoreTest, ArcLengthsBySweepAndRule) {
  struct Case {
    const char* what;
    double radius;
    double sx, sy, ex, ey;
    int mode, rule;
    double length;
  };
  const double r = 12.0;
  const Case cases[] = {
      {"quarter counter-clockwise", r, 12, 0, 0, 12, 0x8000, 0, 0.5 * kPi * r},
      {"same points clockwise", -r, 12, 0, 0, 12, 0x8000, 0, 1.5 * kPi * r},
      {"quarter clockwise", -r, 0, 12, 12, 0, 0x8000, 0, 0.5 * kPi * r},
      {"closed circle, whole-circle mode", r, 12, 0, 12, 0, 0x8000, 0, 2 * kPi * r},
      {"closed circle clockwise", -r, 12, 0, 12, 0, 0x8000, 0, 2 * kPi * r},
      {"closed circle, no rule", r, 12, 0, 12, 0, 0, 0, 0.0},
      {"closed circle, rule 13834", r, 12, 0, 12, 0, 0, 13834, 2 * kPi * r},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    run.SweepRule = c.rule;
    SetArc(run, c.radius, c.sx, c.sy, c.ex, c.ey, 0, 0);
    run.core.GuidePrevPoint = {c.sx, c.sy};  // the start when not in whole-circle mode
    EXPECT_EQ(run.AddElementLength(c.mode), 0);
    EXPECT_NEAR(run.R2.d3, c.length, 1e-9);
    EXPECT_EQ(run.R0.d4, c.ex);  // the end point comes back
    EXPECT_EQ(run.R0.d5, c.ey);
  }
  run.SweepRule = 0;
}

// Under rule 13999 an arc of more than 359 degrees counts 0, whichever way
// it turns.
TEST_F(EngineCoreTest, NearlyClosedArcCountsNothingUnderTheManyElementsRule) {
  const double a = 359.5 * kRadiansPerDegree;
  run.SweepRule = 13999;
  for (double sense : {1.0, -1.0}) {
    SCOPED_TRACE(sense);
    SetArc(run, 10.0 * sense, 10, 0, 10 * std::cos(a), 10 * sense * std::sin(a), 0, 0);
    run.AddElementLength(0x8000);
    EXPECT_EQ(run.R2.d3, 0.0);
  }
  // Without the rule the same arcs measure their sweep.
  run.SweepRule = 0;
  SetArc(run, -10.0, 10, 0, 10 * std::cos(a), -10 * std::sin(a), 0, 0);
  run.AddElementLength(0x8000);
  EXPECT_NEAR(run.R2.d3, 359.5 / 360.0 * 2 * kPi * 10, 1e-9);
  EXPECT_EQ(&run.RangeEndCode, &run.SweepRule);
}

TEST_F(EngineCoreTest, LineLengthsAndTheRunningSum) {
  run.R0 = NcElement{};
  run.R0.d4 = 3.0;
  run.R0.d5 = 4.0;
  run.core.GuidePrevPoint = {0.0, 0.0};
  run.R2.d3 = 10.0;
  run.AddElementLength(0);
  EXPECT_DOUBLE_EQ(run.R2.d3, 15.0);
  EXPECT_DOUBLE_EQ(run.engine.ElementLength, 5.0);
  // A line of zero length adds 0.
  run.core.GuidePrevPoint = {3.0, 4.0};
  run.AddElementLength(0);
  EXPECT_DOUBLE_EQ(run.R2.d3, 15.0);
}

}  // namespace
}  // namespace qup::testing
