// The element registers: table copies, keep-tail copies, the register stack
// and command value unpacking.
#include <gtest/gtest.h>

#include "kelto_qup/engine/number_helpers.h"
#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"

namespace qup {
namespace {

NcElement Element(int number, double base) {
  NcElement e;
  e.number = number;
  e.code = 0x1200;
  e.flags = 0x50000;
  e.int1 = 7;
  e.d0 = base;
  e.d1 = base + 1;
  e.d4 = base + 4;
  e.d6 = base + 6;
  e.d7 = base + 7;
  e.d8 = base + 8;
  return e;
}

class RegistersTest : public ::testing::Test {
 protected:
  RecordingHost host;
  RunContext ctx{host};
};

TEST_F(RegistersTest, TableCopiesUseElementIndex) {
  ctx.AllocElementTable(0, 4);
  ctx.elements[2] = Element(2, 20);
  ctx.ElementIndex = 2;
  ctx.LoadR1FromTable();
  EXPECT_EQ(ctx.R1.number, 2);
  ctx.R1.d8 = 99;
  ctx.ElementIndex = 3;
  ctx.StoreR1ToTable();
  EXPECT_EQ(ctx.elements[3].d8, 99);
  EXPECT_EQ(ctx.elements[2].d8, 28);  // the source stays as it was
}

TEST_F(RegistersTest, KeepTailCopiesNeverMoveTheSecondPoint) {
  ctx.R1 = Element(1, 10);
  const NcElement rec = Element(5, 50);
  ctx.SetR1KeepTail(rec);
  EXPECT_EQ(ctx.R1.number, 5);
  EXPECT_EQ(ctx.R1.flags, rec.flags);
  EXPECT_EQ(ctx.R1.int1, rec.int1);
  EXPECT_EQ(ctx.R1.d4, 54);
  EXPECT_EQ(ctx.R1.d8, 58);
  EXPECT_EQ(ctx.R1.d6, 16);
  EXPECT_EQ(ctx.R1.d7, 17);

  NcElement out = Element(9, 90);
  ctx.R0 = Element(0, 0);
  ctx.GetR0KeepTail(out);
  EXPECT_EQ(out.number, 0);
  EXPECT_EQ(out.d6, 96);
  EXPECT_EQ(out.d7, 97);
}

TEST_F(RegistersTest, ExchangeR1KeepTailSwapsAllButTheTails) {
  ctx.R1 = Element(1, 10);
  const NcElement rec = Element(5, 50);
  NcElement out;
  ctx.ExchangeR1KeepTail(out, rec);
  EXPECT_EQ(ctx.R1.number, 5);
  EXPECT_EQ(ctx.R1.d4, 54);
  EXPECT_EQ(ctx.R1.d6, 16);  // R1's own tail
  EXPECT_EQ(out.number, 1);
  EXPECT_EQ(out.d4, 14);
  EXPECT_EQ(out.d6, 56);  // the record's tail
  EXPECT_EQ(out.d7, 57);
}

TEST_F(RegistersTest, SwapR0R1KeepTailLeavesEachTailInPlace) {
  ctx.R0 = Element(0, 0);
  ctx.R1 = Element(1, 10);
  ctx.SwapR0R1KeepTail();
  EXPECT_EQ(ctx.R0.number, 1);
  EXPECT_EQ(ctx.R0.d4, 14);
  EXPECT_EQ(ctx.R0.d6, 6);
  EXPECT_EQ(ctx.R1.number, 0);
  EXPECT_EQ(ctx.R1.d7, 17);
  const NcElement mixed = WithTailOf(Element(2, 20), Element(3, 30));
  EXPECT_EQ(mixed.d4, 24);
  EXPECT_EQ(mixed.d6, 36);
}

TEST_F(RegistersTest, NinePushesSucceedTheTenthIsRefused) {
  for (int i = 0; i < 9; ++i) {
    ctx.R0.number = i;
    EXPECT_EQ(ctx.PushRegs(), 0) << i;
  }
  EXPECT_EQ(ctx.registers.RegisterStackDepth, 9);
  EXPECT_TRUE(host.errorBoxes.empty());
  ctx.R0.number = 100;
  EXPECT_EQ(ctx.PushRegs(), kStopRun);
  EXPECT_EQ(ctx.registers.RegisterStackDepth, 9);
  EXPECT_EQ(ctx.AbortFlag, kStopRun);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find("ERROR.2037"), std::string::npos);
  // The levels pop back in order, the refused push left no trace.
  EXPECT_EQ(ctx.PopRegs(), 0);
  EXPECT_EQ(ctx.R0.number, 8);
}

TEST_F(RegistersTest, PopAtDepthZeroShowsErrorAndKeepsRegisters) {
  ctx.R2 = Element(2, 20);
  EXPECT_EQ(ctx.PopRegs(), kStopRun);
  EXPECT_EQ(ctx.R2.number, 2);
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_NE(host.errorBoxes[0].find("ERROR.2036"), std::string::npos);
  // With AbortFlag already set neither error shows a box.
  EXPECT_EQ(ctx.PopRegs(), kStopRun);
  EXPECT_EQ(host.errorBoxes.size(), 1u);
}

TEST_F(RegistersTest, PushPopRoundTripsAllFourRegisters) {
  for (int r = 0; r < 4; ++r) ctx.registers.R[r] = Element(r, r * 10);
  ASSERT_EQ(ctx.PushRegs(), 0);
  for (int r = 0; r < 4; ++r) ctx.registers.R[r] = Element(40 + r, 0);
  ASSERT_EQ(ctx.PopRegs(), 0);
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(ctx.registers.R[r].number, r);
    EXPECT_EQ(ctx.registers.R[r].d8, r * 10 + 8);
  }
}

TEST_F(RegistersTest, SaveRestoreAndExchangeAllRegs) {
  NcElement block[4];
  for (int r = 0; r < 4; ++r) ctx.registers.R[r] = Element(r, 0);
  ctx.SaveAllRegs(block);
  for (int r = 0; r < 4; ++r) block[r].number += 10;
  ctx.ExchangeAllRegs(block);
  EXPECT_EQ(ctx.R3.number, 13);
  EXPECT_EQ(block[3].number, 3);
  ctx.RestoreAllRegs(block);
  EXPECT_EQ(ctx.R0.number, 0);
}

TEST_F(RegistersTest, UnpackCommandValueFillsItsPair) {
  ctx.R2.d4 = 12.000034;
  ctx.R2.d5 = 3.000001;
  ctx.R2.d1 = 7.000250;
  EXPECT_EQ(ctx.UnpackCommandValue(4), 12u);
  EXPECT_EQ(ctx.RangeStart, 12);
  EXPECT_EQ(ctx.RangeEnd, 34);
  EXPECT_EQ(ctx.UnpackCommandValue(5), 3u);
  EXPECT_EQ(ctx.engine.RangeStep, 3);
  EXPECT_EQ(ctx.engine.RangeStepFraction, 1);
  EXPECT_EQ(ctx.UnpackCommandValue(1), 7u);
  EXPECT_EQ(ctx.registers.CommandValue1Pair, (FixedPointPair{7, 250}));
  EXPECT_EQ(ctx.registers.UnpackedPair, (FixedPointPair{7, 250}));
  // Value 3 carries no pair: nothing changes.
  ctx.R2.d3 = 99.000099;
  EXPECT_EQ(ctx.UnpackCommandValue(3), 0u);
  EXPECT_EQ(ctx.registers.UnpackedPair, (FixedPointPair{7, 250}));
  EXPECT_EQ(ctx.RangeStart, 12);
}

TEST_F(RegistersTest, PolarAndWorkVector) {
  struct Case {
    double x, y, length, angle;
  };
  // The last case: an angle a hair below 0 stays inside 0 to below 360.
  const Case cases[] = {{1, 0, 1, 0}, {0, 0, 0, 0}, {0, -2, 2, 270}, {1, -1e-300, 1, 0}};
  for (const Case& c : cases) {
    ctx.R0.d4 = c.x;
    ctx.R0.d5 = c.y;
    ctx.RegToPolar();
    EXPECT_NEAR(ctx.R0.d4, c.length, 1e-12) << c.x << "," << c.y;
    EXPECT_NEAR(ctx.R0.d5, c.angle, 1e-9) << c.x << "," << c.y;
  }
  ctx.registers.WorkAngle = 90.0;
  ctx.UpdateRotationCosSin();
  EXPECT_NEAR(ctx.WorkVectorX(), 0.0, 1e-15);
  EXPECT_NEAR(ctx.WorkVectorY(), 1.0, 1e-15);
  ctx.WorkVectorX() = 3;
  ctx.WorkVectorY() = 4;
  ctx.NormalizeWorkVector();
  EXPECT_DOUBLE_EQ(ctx.registers.WorkLength, 5.0);
  EXPECT_DOUBLE_EQ(ctx.WorkVectorX(), 0.6);
  ctx.WorkVectorX() = 0;
  ctx.WorkVectorY() = 0;
  ctx.NormalizeWorkVector();
  EXPECT_EQ(ctx.registers.WorkLength, 0.0);
  EXPECT_EQ(ctx.WorkVectorX(), 1.0);
  EXPECT_EQ(ctx.WorkVectorY(), 0.0);
}

}  // namespace
}  // namespace qup
