// The element stepper's helpers: tool normal from the direction, the step
// towards the command point and the interpolation between two stations.
#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

TEST_F(EngineCoreTest, ToolNormalFromTheElementDirection) {
  run.R0 = NcElement{};
  run.R0.d2 = 0.6;
  run.R0.d3 = 0.8;
  run.StepperHelperB();
  EXPECT_EQ(run.core.ToolNormal[0], -0.8);
  EXPECT_EQ(run.core.ToolNormal[1], 0.6);
  EXPECT_EQ(run.core.ToolNormal[2], 0.0);
  run.core.StepPassWord = 0x08;  // turned over
  run.StepperHelperB();
  EXPECT_EQ(run.core.ToolNormal[0], 0.8);
  run.core.SnapshotFlags = 0x0100;  // a surface move: straight up
  run.StepperHelperB();
  EXPECT_EQ(run.core.ToolNormal[2], 1.0);
  EXPECT_EQ(run.core.ToolNormal[0], 0.0);
}

TEST_F(EngineCoreTest, StepTowardsTheCommandPoint) {
  run.R0 = NcElement{};
  run.R0.d4 = 4.0;
  run.R0.d5 = 3.0;
  run.R2 = NcElement{};
  run.StepperHelperC();
  EXPECT_DOUBLE_EQ(run.core.ToolNormal[0], 0.8);
  EXPECT_DOUBLE_EQ(run.core.ToolNormal[1], 0.6);
  EXPECT_DOUBLE_EQ(run.core.StepRecord.d0, 5.0);
  EXPECT_EQ(run.ElementIndex, 0);
  EXPECT_EQ(run.StepMode, 3);
  // Coinciding points: the direction (1, 0).
  run.R0.d4 = run.R0.d5 = 0.0;
  run.StepperHelperC();
  EXPECT_EQ(run.core.ToolNormal[0], 1.0);
  EXPECT_EQ(run.core.ToolNormal[1], 0.0);
}

TEST_F(EngineCoreTest, InterpolationBetweenTwoStations) {
  // Stations J = 10 and K = 30; R2's d2 = 20 lies half way.
  run.core.ToolNormal = {0.0, 10.0, 30.0};
  run.R2 = NcElement{};
  run.R2.d2 = 20.0;
  run.R1 = NcElement{};
  run.R1.d2 = 1.0;  // direction +X at (0, 0)
  run.R0 = NcElement{};
  run.R0.d3 = 1.0;  // direction +Y at (10, 20)
  run.R0.d4 = 10.0;
  run.R0.d5 = 20.0;
  run.StepperHelperE();
  EXPECT_DOUBLE_EQ(run.R0.d4, 5.0);
  EXPECT_DOUBLE_EQ(run.R0.d5, 10.0);
  EXPECT_NEAR(run.R0.d2, std::sqrt(0.5), 1e-15);
  EXPECT_NEAR(run.R0.d3, std::sqrt(0.5), 1e-15);
  EXPECT_NEAR(run.WorkVectorX(), -std::sqrt(0.5), 1e-15);
  // Stations that coincide give the first station.
  run.core.ToolNormal = {0.0, 10.0, 10.0};
  run.R0.d4 = 8.0;
  run.R0.d5 = 8.0;
  run.StepperHelperE();
  EXPECT_EQ(run.R0.d4, 0.0);
  EXPECT_EQ(run.R0.d5, 0.0);
}

}  // namespace
}  // namespace qup::testing
