// Save slots with the keep-tail rule, the snapshot, the element transforms
// and the tool normal.
#include <cstring>

#include "tests/kelto_qup/engine/engine_core_fixture.h"

namespace qup::testing {
namespace {

NcElement Numbered(double base) {
  NcElement e{};
  e.number = static_cast<int>(base);
  e.code = 0x1200;
  e.flags = 0x30;
  for (int i = 0; i < 9; ++i) e.DoubleAt(i) = base + i;
  return e;
}

bool Same(const NcElement& a, const NcElement& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST_F(EngineCoreTest, SlotSwapKeepsEachSidesSecondPointAndUndoesItself) {
  const NcElement r1 = Numbered(10);
  const NcElement slot = Numbered(50);
  run.R1 = r1;
  run.Slot(SaveSlot::Slot52) = slot;
  run.SwapR1WithSlot(SaveSlot::Slot52);
  EXPECT_EQ(run.R1.d0, 50.0);
  EXPECT_EQ(run.R1.d5, 55.0);
  EXPECT_EQ(run.R1.d8, 58.0);
  EXPECT_EQ(run.R1.d6, 16.0);  // its own start point or centre
  EXPECT_EQ(run.R1.d7, 17.0);
  EXPECT_EQ(run.Slot(SaveSlot::Slot52).d4, 14.0);
  EXPECT_EQ(run.Slot(SaveSlot::Slot52).d6, 56.0);
  run.SwapR1WithSlot(SaveSlot::Slot52);
  EXPECT_TRUE(Same(run.R1, r1));
  EXPECT_TRUE(Same(run.Slot(SaveSlot::Slot52), slot));
}

TEST_F(EngineCoreTest, SlotCopiesOnlyTouchTheirOwnSlots) {
  run.R0 = Numbered(1);
  run.R1 = Numbered(2);
  run.R2 = Numbered(3);
  const NcElement r0 = run.R0, r1 = run.R1;
  run.Slot(SaveSlot::Slot224) = Numbered(224);
  run.Slot(SaveSlot::Slot65) = Numbered(65);
  // Slots that an operation does not serve are left alone.
  run.SwapR1WithSlot(SaveSlot::Slot224);
  run.LoadR1FromSlot(SaveSlot::Slot224);
  run.LoadR0FromSlot(SaveSlot::Slot65);
  EXPECT_TRUE(Same(run.R0, r0));
  EXPECT_TRUE(Same(run.R1, r1));
  // The served ones keep the destination's d6/d7.
  run.LoadR1FromSlot(SaveSlot::Slot65);
  EXPECT_EQ(run.R1.d5, 70.0);
  EXPECT_EQ(run.R1.d6, 8.0);
  run.StoreR2ToSlot(SaveSlot::Slot227);
  EXPECT_EQ(run.Slot(SaveSlot::Slot227).d0, 3.0);
  EXPECT_EQ(run.Slot(SaveSlot::Slot227).d6, 0.0);
  run.StoreR0ToSlot(SaveSlot::Slot224);
  EXPECT_EQ(run.Slot(SaveSlot::Slot224).d0, 1.0);
  EXPECT_EQ(run.Slot(SaveSlot::Slot224).d7, 231.0);
}

TEST_F(EngineCoreTest, CurrentFrameNamesTheRecordTheMotionFills) {
  run.SetCurrentFrameC();
  run.R0 = Numbered(5);
  run.core.MoveFlags = 0x14;  // +Y axis line
  run.SetMoveMode();
  EXPECT_EQ(run.Slot(SaveSlot::Slot227).code, 0x1200);
  EXPECT_EQ(run.Slot(SaveSlot::Slot227).d3, 1.0);
  run.SetCurrentFrameArc();
  run.ExchangeR1WithArcFrame();
  EXPECT_EQ(&run.CurrentFrameRecord(), &run.core.ArcPassFrame);
}

TEST_F(EngineCoreTest, SnapshotWithoutTransformOnlyKeepsThePreviousState) {
  run.Slot(SaveSlot::Slot551) = Numbered(551);
  run.core.Slot551Companion = Numbered(9);
  run.core.MotionRecords = {Numbered(71), Numbered(72)};
  run.core.MotionOptions = 0x44;
  run.SnapshotCounterNext = 7;
  run.R1 = Numbered(1);
  const NcElement r1 = run.R1;
  EXPECT_EQ(run.SnapshotElements(), 0);
  EXPECT_TRUE(Same(run.core.PreviousFrames[0], Numbered(551)));
  EXPECT_TRUE(Same(run.Slot(SaveSlot::Slot542), Numbered(9)));
  EXPECT_TRUE(Same(run.core.PreviousFrames[2], Numbered(72)));
  EXPECT_EQ(run.core.SnapshotFlags, 0x44);
  EXPECT_EQ(run.core.SnapshotCounter, 7);
  EXPECT_TRUE(Same(run.R1, r1));
  // The pending command word adds its option bits, never its move kind: a
  // surface pass with its offset pass (0x2800) over the default kind 6.
  run.output.PendingCommandWord = 0x2806;
  EXPECT_EQ(run.SnapshotElements(), 0);
  EXPECT_EQ(run.core.SnapshotFlags, 0x2844);
  // The group index and the snapshot's next counter are one word.
  run.GroupIndex = 3;
  EXPECT_EQ(run.SnapshotCounterNext, 3);
}

// A transform record in slot 420: rotation by `degrees` about (x0, y0),
// mirrored in Y first when `mirror`.
void SetTransform(RunContext& run, double degrees, double x0, double y0, bool mirror) {
  NcElement& t = run.Slot(SaveSlot::Slot420);
  t.d2 = std::cos(degrees * kRadiansPerDegree);
  t.d3 = std::sin(degrees * kRadiansPerDegree);
  t.d4 = x0;
  t.d5 = y0;
  t.flags = mirror ? 0x400 : 0;
  run.core.TransformKey = 1;
}

TEST_F(EngineCoreTest, TransformRoundTripsReturnTheElement) {
  struct Case {
    double degrees, x0, y0;
    bool mirror;
  };
  const Case cases[] = {{0, 0, 0, false}, {90, 0, 0, false},  {30, 12.5, -4, false},
                        {0, 0, 0, true},  {135, -3, 7, true}, {-60, 100, 100, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.degrees << " mirror " << c.mirror);
    SetTransform(run, c.degrees, c.x0, c.y0, c.mirror);
    NcElement e{};
    e.code = 0x1300;
    e.d1 = 7.5;
    e.d2 = 0.6;
    e.d3 = 0.8;
    e.d4 = 3.25;
    e.d5 = -11.0;
    run.R1 = e;
    run.RotateTangents();
    run.RotateR1Element();
    EXPECT_NEAR(run.R1.d1, e.d1, 1e-12);
    EXPECT_NEAR(run.R1.d2, e.d2, 1e-12);
    EXPECT_NEAR(run.R1.d3, e.d3, 1e-12);
    EXPECT_NEAR(run.R1.d4, e.d4, 1e-12);
    EXPECT_NEAR(run.R1.d5, e.d5, 1e-12);
  }
}

// The forward transform places the element in the transform's frame: the
// point turns by the angle and moves by the origin.
TEST_F(EngineCoreTest, TransformTurnsAndPlacesAndMirrorFlipsTheRadius) {
  SetTransform(run, 90, 10, 0, false);
  run.R1 = NcElement{};
  run.R1.d2 = 1.0;
  run.R1.d4 = 20.0;
  run.RotateTangents();
  EXPECT_NEAR(run.R1.d2, 0.0, 1e-15);
  EXPECT_NEAR(run.R1.d3, 1.0, 1e-15);
  EXPECT_NEAR(run.R1.d4, 10.0, 1e-12);
  EXPECT_NEAR(run.R1.d5, 20.0, 1e-12);

  SetTransform(run, 0, 0, 0, true);
  run.R1 = NcElement{};
  run.R1.d1 = 5.0;
  run.RotateTangents();
  EXPECT_EQ(run.R1.d1, -5.0);

  // Without a transform key both directions leave R1 alone.
  run.core.TransformKey = 0;
  run.R1 = Numbered(3);
  run.RotateTangents();
  run.RotateR1Element();
  EXPECT_TRUE(Same(run.R1, Numbered(3)));
}

TEST_F(EngineCoreTest, AxisStepParallelToTheElementFailsWithoutNonFiniteValues) {
  run.R0 = NcElement{};
  run.R0.d1 = 5.0;
  run.R0.d4 = 1.0;
  run.R0.d5 = 2.0;
  const NcElement r0 = run.R0;
  run.core.DirectionScratchDot = 1.0;
  run.core.DirectionScratchCross = 0.0;  // the element runs along the work direction
  run.WorkLength = 3.0;
  EXPECT_EQ(run.AxisModeThreeStep(), 0);
  EXPECT_TRUE(Same(run.R0, r0));
  // A crossing direction steps to a finite point.
  run.core.DirectionScratchCross = 0.5;
  run.WorkVectorX() = 1.0;
  run.WorkVectorY() = 0.0;
  EXPECT_EQ(run.AxisModeThreeStep(), 1);
  EXPECT_DOUBLE_EQ(run.R0.d4, 1.0 + 1.0 * 3.0 / 0.5);
  EXPECT_TRUE(std::isfinite(run.R0.d1));
}

TEST_F(EngineCoreTest, ToolNormalFollowsTheElement) {
  run.core.ToolNormal = {0.3, 0.4, 0.0};
  run.UpdateToolNormal();
  EXPECT_EQ(run.core.ToolNormal[0], 1.0);
  EXPECT_EQ(run.core.ToolNormal[1], 0.0);
  // K non-zero: (I, J) becomes the unit of (K, -(I, J) . direction).
  run.core.ToolNormal = {1.0, 0.0, 1.0};
  run.R0 = NcElement{};
  run.R0.d2 = 1.0;
  run.UpdateToolNormal();
  EXPECT_NEAR(run.core.ToolNormal[0], std::sqrt(0.5), 1e-15);
  EXPECT_NEAR(run.core.ToolNormal[1], -std::sqrt(0.5), 1e-15);
}

TEST_F(EngineCoreTest, WorkDirectionIsTheLeftNormalOrItsReverse) {
  run.R0 = NcElement{};
  run.R0.d2 = 1.0;
  run.core.PreviousFrames[0].d5 = 0.0;  // axis mode 0 in the state pair's d5
  run.WorkDirectionByMode(1);
  EXPECT_EQ(run.core.AxisMode, 0);
  EXPECT_EQ(run.WorkVectorX(), 0.0);
  EXPECT_EQ(run.WorkVectorY(), 1.0);
  run.RangeOptions = 0x08;
  run.WorkDirectionByMode(1);
  EXPECT_EQ(run.WorkVectorY(), -1.0);
  // Mode 2: the direction of the state pair's record.
  run.core.PreviousFrames[0].d5 = 2.0;
  run.core.PreviousFrames[0].d2 = 0.0;
  run.core.PreviousFrames[0].d3 = -1.0;
  run.WorkDirectionByMode(1);
  EXPECT_EQ(run.core.AxisMode, 2);
  EXPECT_EQ(run.WorkVectorY(), -1.0);
}

}  // namespace
}  // namespace qup::testing
