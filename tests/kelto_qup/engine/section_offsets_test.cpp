// The section offset pass: the offset distance, the pieces a long move is
// cut into, the slope base, the lowering on a slope, and the sections
// compared at a position and searched for their crossing. The sections are
// swept surfaces (0x33) of a flat section z = 1 along two guides: one level
// at z = 5 (height 6) and one rising as z = x + 2 (height x + 3); they cross
// at x = 3.
#include <cmath>

#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

double Pack(int first, int last) {
  return JoinFixedPoint(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(last));
}

class SectionOffsetsTest : public EngineCoreTest {
 protected:
  void BuildSections() {
    table.Point(0.0, 0.0);
    const int section = table.Line(-100.0, -50.0, -100.0, 50.0);
    table.Line(-100.0, 1.0, 100.0, 1.0);  // z = 1
    const int level = table.Line(-100.0, -50.0, -100.0, 50.0);
    table.Line(-100.0, 5.0, 100.0, 5.0);  // z = 5
    const int rising = table.Line(-100.0, -50.0, -100.0, 50.0);
    table.Line(-100.0, -98.0, 100.0, 102.0);  // z = x + 2
    flat = table.Command(0x3300, level, level + 1);
    slope = table.Command(0x3300, rising, rising + 1);
    for (int command : {flat, slope}) {
      table.records[command].flags = 2;
      table.records[command].d1 = Pack(section, section + 1);
    }
    LoadTable();
  }
  int flat = 0, slope = 0;
};

TEST_F(SectionOffsetsTest, OffsetDistance) {
  const struct {
    double radius, r, a, extra;
    int mode;
    double distance, kept;
  } cases[] = {
      {5.0, 1.0, 2.0, 0.5, 1, std::sqrt(9.0 + 25.0) + 0.5, std::sqrt(9.0 + 25.0) + 0.5},  // a second radius
      {5.0, 1.0, 0.0, 0.0, 1, 1.0 + 4.0 * std::sqrt(2.0), 1.0 + 4.0 * std::sqrt(2.0)},    // the root-2 rule
      {5.0, 4.9995, 0.0, 0.25, 1, 5.25, 5.25},  // corner radius within 0.001 of the tool's: a ball
      {5.0, 1.0, 0.0, 0.3, 2048, 0.3, 0.0},     // per position only the allowance
  };
  for (const auto& c : cases) {
    run.job.ToolRadius = c.radius;
    auto& s = run.engine.stepping;
    s.DepthStep = c.r;
    s.DepthStepAlt = c.a;
    s.ExtraOffset = c.extra;
    s.OffsetPassMode = c.mode;
    EXPECT_NEAR(run.ComputeOffsetDistance(), c.distance, 1e-12) << c.r << " " << c.mode;
    EXPECT_NEAR(run.R3.d0, c.distance, 1e-12);
    EXPECT_NEAR(s.KeptOffset, c.kept, 1e-12);
  }
}

TEST_F(SectionOffsetsTest, LongMovesAreCutIntoPiecesOfAboutAStep) {
  const struct {
    double length, stepUnit;
    int pieces;
  } cases[] = {
      {1.01 + 0.005, 1.0, 1},                                         // at the limit: not cut
      {1.0151, 1.0, 2},                                               // slightly longer: two pieces
      {2.2, 1.0, 3},                                                  // not yet measured twice
      {2.3, 1.0, 5},                                                  // above 2.2 steps: measured at 4.6
      {2.025, 2.0, 1},                                                // the limit scales with the step unit
      {2.0251, 2.0, 2},       {0.0, 1.0, 1}, {std::nan(""), 1.0, 1},  // no length: no pieces
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RunContext::SubdivisionCount(c.length, c.stepUnit), c.pieces) << c.length;
  }
}

TEST_F(SectionOffsetsTest, CloseConsecutivePositionsTakeTheFineSlopeBase) {
  auto& s = run.engine.stepping;
  const struct {
    int passState;
    double x, y;
    double slopeBase;
    int nextState;
  } cases[] = {
      {2, 1.001, 1.001, 0.002, 2},  // 0.0014 apart in XY
      {2, 1.01, 1.0, 1.0, 2},
      {1, 1.001, 1.0, 0.5, 2},  // the first position after the start only arms the pass
      {0, 1.001, 1.0, 0.5, 0},
  };
  for (const auto& c : cases) {
    s.PassState = c.passState;
    s.SlopeBase = 0.5;
    s.PreviousPosition = {1.0, 1.0, 0.0};
    run.R0.d4 = c.x;
    run.R0.d5 = c.y;
    run.R1.d7 = 0.0;
    run.UpdateSlopeBase();
    EXPECT_DOUBLE_EQ(s.SlopeBase, c.slopeBase) << c.x;
    EXPECT_EQ(s.PassState, c.nextState);
    EXPECT_DOUBLE_EQ(s.PreviousPosition[0], c.x);
  }
}

TEST_F(SectionOffsetsTest, LoweringOnASlope) {
  // A tool of radius 3: nothing on a wall, the whole radius on the flat, and
  // c (1 - sqrt(1 - K^2)) / K between.
  const double c = 3.0;
  const struct {
    double k, alt, drop;
  } cases[] = {
      {0.0, 0.0, 0.0},
      {0.5, 0.0, c * (1.0 - std::sqrt(0.75)) / 0.5},
      {1.0, 0.0, c},
      {0.5, 3.0, c},  // a second radius not below the tool's
  };
  for (const auto& k : cases) {
    run.job.ToolRadius = c;
    auto& s = run.engine.stepping;
    s.SlopeRadius = c;
    s.DepthStepOn = 1;
    s.DepthStepAlt = k.alt;
    run.core.ToolNormal[2] = k.k;
    run.R1.d7 = 10.0;
    run.core.ToolPointZ = 10.0;
    run.LowerForSlope(13);
    EXPECT_NEAR(run.R1.d7, 10.0 - k.drop, 1e-12) << k.k;
    EXPECT_NEAR(run.core.ToolPointZ, 10.0 - k.drop, 1e-12);
  }
  run.engine.stepping.DepthStepOn = 0;
  run.LowerForSlope(13);
  EXPECT_NEAR(run.R1.d7, 10.0 - c, 1e-12);  // switched off: unchanged
}

TEST_F(SectionOffsetsTest, TheHighestSectionDecidesEachPosition) {
  BuildSections();
  auto& s = run.engine.stepping;
  s.SectionListA = {flat, slope, 0};
  s.SectionListACount = 2;
  const struct {
    double x;
    int section;
    double z;
  } positions[] = {{0.0, flat, 6.0}, {10.0, slope, 13.0}};
  for (const auto& p : positions) {
    run.R0 = NcElement{};
    run.R0.d4 = p.x;
    run.R0.d5 = 0.0;
    ASSERT_EQ(run.RunOffsetPass(), 0);
    EXPECT_EQ(s.KeptSectionIndex[1], p.section) << p.x;
    EXPECT_NEAR(s.KeptSectionZ[1], p.z, 1e-9) << p.x;
    EXPECT_EQ(run.R0.d4, p.x);  // the registers are given back
  }
  EXPECT_TRUE(host.errorBoxes.empty());
  // A run that has stopped: the pass stops too, with the run's stop value.
  run.AbortFlag = kStopSeen;
  EXPECT_EQ(run.RunSectionOffsets(1), kStopRun);
}

TEST_F(SectionOffsetsTest, TheCrossingBetweenTwoSectionsIsFoundByHalving) {
  BuildSections();
  auto& s = run.engine.stepping;
  s.PreviousPosition = {0.0, 0.0, 6.0};  // the flat section decided there
  s.KeptSectionIndex = {slope, flat};    // the rising one decides here
  run.R0.d4 = 10.0;
  run.R0.d5 = 0.0;
  ASSERT_EQ(run.SearchSectionCrossing(13.0 - 6.0), 1);
  EXPECT_NEAR(run.R0.d4, 3.0, 1e-9);
  EXPECT_NEAR(run.R0.d5, 0.0, 1e-12);
  EXPECT_NEAR(run.R1.d7, 6.0, 1e-9);
  EXPECT_NEAR(run.core.ToolPointZ, 6.0, 1e-9);
  EXPECT_TRUE(host.errorBoxes.empty());
}

}  // namespace
}  // namespace qup::testing
