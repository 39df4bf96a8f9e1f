// The temporary element array of the contour routines.
#include <gtest/gtest.h>

#include "kelto_qup/engine/recording_host.h"
#include "kelto_qup/engine/run_context.h"
#include "platform/text.h"

namespace qup {
namespace {

class TempElementsTest : public ::testing::Test {
 protected:
  TempElementsTest() : run(host) {
    run.elements.Grow(12100);
    run.elements.ElementCount = 12050;
    for (int i = 0; i < run.elements.ElementCount; ++i) run.elements[i].number = i;
  }
  RecordingHost host;
  RunContext run;
};

TEST_F(TempElementsTest, TheRangeLimitCountsTwelveSpareRecords) {
  EXPECT_EQ(run.AllocTempElements(12000, 100), 0) << "11912 records are within 12000";
  EXPECT_EQ(run.TempElements[0].number, 100);
  EXPECT_EQ(run.TempElements[11900].number, 12000);
  EXPECT_TRUE(host.errorBoxes.empty());
  run.CopyBackTempElements(100, 12000);
  EXPECT_TRUE(run.TempElements.empty());

  EXPECT_EQ(run.AllocTempElements(0, 11990), 1) << "11990 + 12 exceeds 12000";
  ASSERT_EQ(host.errorBoxes.size(), 1u);
  EXPECT_EQ(host.errorBoxes[0], platform::Sjis("MEMORY_Over_ERROR... DORN_MAX12000 !"));
  EXPECT_EQ(run.AbortFlag, kStopRun);
  EXPECT_TRUE(run.TempElements.empty());
}

TEST_F(TempElementsTest, AnArrayLeftFromASmallerRangeGrowsToFit) {
  ASSERT_EQ(run.AllocTempElements(5, 6), 0);
  ASSERT_EQ(run.AllocTempElements(20, 60), 0) << "the array still holds the first range";
  ASSERT_GE(run.TempElements.size(), 41u);
  for (int i = 0; i <= 40; ++i) EXPECT_EQ(run.TempElements[static_cast<std::size_t>(i)].number, 20 + i);
  EXPECT_TRUE(host.errorBoxes.empty());
}

TEST_F(TempElementsTest, ARangeOutsideTheElementsIsRefused) {
  struct Case {
    int a, b;
  } cases[] = {{-1, 10}, {12000, 12050}, {12060, 12070}};
  for (const Case& k : cases) {
    run.AbortFlag = 0;
    host.errorBoxes.clear();
    EXPECT_EQ(run.AllocTempElements(k.a, k.b), 1) << k.a << ".." << k.b;
    EXPECT_EQ(run.AbortFlag, kStopRun);
    EXPECT_EQ(host.errorBoxes.size(), 1u);
    EXPECT_TRUE(run.TempElements.empty());
  }
}

TEST_F(TempElementsTest, CopiesComeBackFromTheRangesFirstSlotEitherOrder) {
  ASSERT_EQ(run.AllocTempElements(30, 20), 0);
  for (auto& e : run.TempElements) e.number += 1000;
  run.CopyBackTempElements(30, 20);
  EXPECT_EQ(run.elements[19].number, 19);
  EXPECT_EQ(run.elements[20].number, 1020);
  EXPECT_EQ(run.elements[30].number, 1030);
  EXPECT_EQ(run.elements[31].number, 31) << "never past the range";
  EXPECT_TRUE(run.TempElements.empty());
}

}  // namespace
}  // namespace qup
