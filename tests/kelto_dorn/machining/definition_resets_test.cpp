#include "kelto_dorn/machining/definition_resets.h"

#include <cstring>
#include <utility>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/machining_state.h"
#include "tests/kelto_dorn/machining/machining_test_support.h"

namespace dorn {
namespace {

using testing::MachiningTest;

class DefinitionResetsTest : public MachiningTest {
 protected:
  void SetUp() override {
    MachiningTest::SetUp();
    handover::MachiningDefaults& m = g_machiningDefaults;
    m.generalA = 5;
    m.generalB = 6;
    m.spindleSpeed = 2400;
    m.originZ = 50.0;
    m.moveZ = 40.0;
    m.holeIPoint = 30.0;
    m.holeRPoint = 2.0;
    m.holeThroughAmount = 1.5;
    m.toolDownAmount = 7.0;
    m.downFeed = 60.0;
    m.feedCode = 150.0;
    m.toolFeed = 321.5;
    g_lastCornerDistance = 0.75;
    g_lastCornerRate = 40.0;
    // Something in every area, so that the reset has to clear it.
    std::memset(&g_curMachiningDef, 0x5A, sizeof g_curMachiningDef);
  }
};

TEST_F(DefinitionResetsTest, NewDefinitionTakesItsValuesFromTheDefaults) {
  EXPECT_EQ(ResetMachiningRecord(*atc_), 0);
  const MachiningDefinition& d = g_curMachiningDef;
  EXPECT_EQ(d.kind, 0);
  EXPECT_EQ(d.number, 0);
  EXPECT_EQ(d.generalA, 5);
  EXPECT_EQ(d.generalB, 6);
  EXPECT_EQ(d.general16[2], 0);
  EXPECT_EQ(d.general36, 0);
  EXPECT_EQ(d.value[0], 1.0);
  EXPECT_EQ(d.value[1], 0.01);
  EXPECT_EQ(d.value[4], 0.0);
  EXPECT_EQ(d.zOrigin, 50.0);
  EXPECT_EQ(d.holeIPoint, 30.0);
  EXPECT_EQ(d.holeRPoint, 2.0);
  EXPECT_EQ(d.holeThroughAmount, 1.5);
  for (const CheckSurfaceRow& t : d.checkSurfaces) {
    ASSERT_EQ(t.typeWord, 1);
    ASSERT_EQ(t.side, 1);
    ASSERT_EQ(t.surfaceKey, 0);
  }
  EXPECT_EQ(d.rotations[1].axis, 0);
  EXPECT_EQ(d.moveEntries[1].figureKey, 0);
  EXPECT_EQ(d.multiPieceEntries[1].figureKey, 0);
  EXPECT_EQ(d.multiPieceEntries[0].value[2], 0.0);
  EXPECT_EQ(d.cornerSwitch, 0);
  EXPECT_EQ(d.cornerDistance, 0.75);
  EXPECT_EQ(d.cornerRate, 40.0);
  EXPECT_EQ(d.shrinkZ, 0.0);
  EXPECT_EQ(d.curves[79].key, 0);
  EXPECT_EQ(d.processName[0], '\0');
  EXPECT_EQ(d.machineName[51], '\0');
  EXPECT_EQ(d.general16068[2], 0);
  EXPECT_EQ(d.reserved16080[3], 0);
}

TEST_F(DefinitionResetsTest, StepToolsCopyTheBlankToolRecordWithTheDefaultSpeedAndFeed) {
  atc_->Record(DocAtcTable::kBlankToolSlot).diameter = 9.0f;  // left over from formatting
  ResetMachiningRecord(*atc_);
  const AtcRecord& blank = atc_->Record(DocAtcTable::kBlankToolSlot);
  EXPECT_EQ(blank.atcNumber, 0);
  EXPECT_EQ(blank.diameter, 0.0f);
  for (const AtcRecord& tool : g_curMachiningDef.stepTools) {
    ASSERT_EQ(tool.inUse, 0);
    ASSERT_EQ(tool.atcNumber, 0);
    ASSERT_EQ(tool.diameter, 0.0f);
    ASSERT_EQ(tool.spindleSpeed, 2400);
    ASSERT_EQ(tool.feed, 321.5f);
    ASSERT_EQ(tool.toolName[0], '\0');
  }
}

TEST_F(DefinitionResetsTest, FigureEntriesKeepTheirReservedBytes) {
  ResetMachiningRecord(*atc_);
  for (const MachiningFigureEntry& e : g_curMachiningDef.figures) {
    ASSERT_EQ(e.word0, 0);
    ASSERT_EQ(e.figureKey, 0);
    ASSERT_EQ(e.word16, 0);
    ASSERT_EQ(e.value, 0.0);
    ASSERT_EQ(e.reserved20[0], 0x5A);
  }
}

TEST_F(DefinitionResetsTest, NewStepTakesDefaultsAndTheGlobalZOnlyInItsMode) {
  struct Case {
    std::int32_t mode;
    double globalZ;
    double depth;
  };
  for (const Case& c : {Case{0, 25.0, 0.0}, Case{9999, 25.0, 25.0}, Case{9998, -3.0, 0.0}}) {
    SCOPED_TRACE(c.mode);
    g_globalZMode = c.mode;
    g_globalZ = c.globalZ;
    ClearStepCondition(3);
    const StepCondition& s = g_curMachiningDef.steps[3];
    EXPECT_EQ(s.depth, c.depth);
    EXPECT_EQ(s.colour, 1);
    EXPECT_EQ(s.stepMode, 0);
    EXPECT_EQ(s.toolDownAmount, 7.0);
    EXPECT_EQ(s.downFeed, 60.0);
    EXPECT_EQ(s.toolMoveZ, 40.0);
    EXPECT_EQ(s.feedCode, 150.0);
    EXPECT_EQ(s.secondFeedCode, 150.0);
    EXPECT_EQ(s.endDepth, 0.0);
    EXPECT_EQ(s.zone2Key, 0);
    EXPECT_EQ(s.repeat[1].third, 0.0);
    EXPECT_EQ(s.reserved36[0], 0x5A);
    EXPECT_EQ(s.reserved164[3], 0x5A);
  }
  EXPECT_THROW(ClearStepCondition(12), std::out_of_range);
  EXPECT_THROW(ClearToolSlot(80), std::out_of_range);
  EXPECT_THROW(ClearItemRecord(-1), std::out_of_range);
}

TEST_F(DefinitionResetsTest, ClearingTheTableEmptiesEverySlotAndIndexRecord) {
  g_machiningIndexTable.count = 3;
  g_machiningIndexTable.records[2].key = 12000;
  slots_->Slot(511).kind = 0xA000;
  MachiningOrderValid = kMachiningOrderUpToDate;
  ClearMachiningTable(*slots_, *atc_);
  EXPECT_EQ(g_machiningCount, 0);
  EXPECT_EQ(g_machiningIndexTable.records[2].key, 0);
  EXPECT_EQ(slots_->Slot(511).kind, 0);
  EXPECT_EQ(slots_->Slot(511).zOrigin, 50.0);
  EXPECT_EQ(std::memcmp(&slots_->Slot(0), &g_curMachiningDef, sizeof(MachiningDefinition)), 0);
  EXPECT_EQ(MachiningOrderValid, 0);
}

// Clearing skips the copies it can, never a slot that could differ: slots
// written since the last clear, and all of them once the reset record changes.
TEST_F(DefinitionResetsTest, RepeatedClearsResetEveryWrittenSlotAndFollowNewDefaults) {
  ClearMachiningTable(*slots_, *atc_);
  slots_->Slot(7).kind = 0xB400;
  slots_->Slot(300).zOrigin = -1.0;
  ClearMachiningTable(*slots_, *atc_);
  EXPECT_EQ(slots_->Slot(7).kind, 0);
  EXPECT_EQ(slots_->Slot(300).zOrigin, 50.0);

  g_machiningDefaults.originZ = 75.0;  // a new reset record
  ClearMachiningTable(*slots_, *atc_);
  for (int slot : {0, 7, 300, 511}) {
    EXPECT_EQ(std::as_const(*slots_).Slot(slot).zOrigin, 75.0) << slot;
    EXPECT_EQ(std::memcmp(&std::as_const(*slots_).Slot(slot), &g_curMachiningDef, sizeof(MachiningDefinition)), 0)
        << slot;
  }
}

struct DepthCase {
  const char* name;
  float corner, tipLength, flute;
  double through, globalZ;
  std::int32_t mode;
  double startDepth;
  double endDepth;
};

class ComputeRecordDepthTest : public DefinitionResetsTest, public ::testing::WithParamInterface<DepthCase> {};

TEST_P(ComputeRecordDepthTest, ThroughHoleDepthFromTheTool) {
  const DepthCase& c = GetParam();
  ResetMachiningRecord(*atc_);
  g_globalZ = c.globalZ;
  g_globalZMode = c.mode;
  g_curMachiningDef.holeThroughAmount = c.through;
  AtcRecord& tool = g_curMachiningDef.stepTools[1];
  tool.cornerRadius = c.corner;
  tool.tipLength = c.tipLength;
  tool.fluteLength = c.flute;
  StepCondition& s = g_curMachiningDef.steps[1];
  s.depth = c.startDepth;
  s.bottomZStock = 0.4;
  ComputeRecordDepth(1);
  EXPECT_DOUBLE_EQ(s.endDepth, c.endDepth);
  EXPECT_EQ(s.bottomFlag, 1);
  EXPECT_EQ(s.bottomZStock, 0.0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ComputeRecordDepthTest,
                         ::testing::Values(
                             // 20 + 3 + 0.5 + 2.0 = 25.5
                             DepthCase{"Plain", 0.5f, 2.0f, 40.0f, 3.0, 20.0, 0, 0.0, -25.5},
                             // The work top is the global Z: it is not added.
                             DepthCase{"GlobalZTop", 0.5f, 2.0f, 40.0f, 3.0, 20.0, 9999, 20.0, -5.5},
                             // The flute reaches only 10 below the start depth.
                             DepthCase{"FluteLimits", 0.5f, 2.0f, 10.0f, 3.0, 20.0, 0, 0.0, -10.0},
                             // A tool without a flute length is not limited to its start depth.
                             DepthCase{"NoFluteLength", 0.0f, 1.0f, 0.0f, 3.0, 5.0, 0, 0.0, -9.0},
                             // Rounded to 0.001 by the fourth decimal.
                             DepthCase{"Rounded", 0.1234f, 0.0f, 0.0f, 1.0, 0.0, 0, 0.0, -1.123}),
                         [](const ::testing::TestParamInfo<DepthCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace dorn
