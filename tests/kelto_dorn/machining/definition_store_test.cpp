#include "kelto_dorn/machining/definition_store.h"

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/palette.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/machining_test_support.h"

namespace dorn {
namespace {

using testing::ErrorBoxes;
using testing::MachiningTest;

std::string IndexName(int i) {
  return platform::Cp932ToUtf8(platform::FieldText(g_machiningIndexTable.records[i].name));
}

class DefinitionStoreTest : public MachiningTest {
 protected:
  void SetUp() override {
    MachiningTest::SetUp();
    ResetMachiningRecord(*atc_);
  }
  // Fills the table with `count` stored definitions numbered 10000, 11000, ...
  void FillTable(int count) {
    for (int i = 0; i < count; ++i) {
      slots_->Slot(i).kind = static_cast<std::int32_t>(MachiningKind::PlaneContour);
      slots_->Slot(i).number = 10000 + 1000 * i;
      g_machiningIndexTable.records[i].key = 10000 + 1000 * i;
      g_machiningIndexTable.records[i].slot = i;
    }
    g_machiningCount = count;
  }
  // A new definition of `kind`, numbered as at its first pick.
  void NewDefinition(MachiningKind kind) {
    g_definitionEditMode = kEditModeNew;
    g_curDefinitionSlot = g_machiningCount;
    g_curMachiningDef.kind = static_cast<std::int32_t>(kind);
    AssignDefinitionNumber();
  }
};

TEST_F(DefinitionStoreTest, NumbersFollowTheHighestStoredKey) {
  EXPECT_EQ(NextDefinitionNumber(), 10000);
  FillTable(2);
  EXPECT_EQ(NextDefinitionNumber(), 12000);
  g_machiningIndexTable.records[0].key = 199000;
  EXPECT_EQ(NextDefinitionNumber(), 300000);
  g_machiningIndexTable.records[0].key = 210000;
  EXPECT_EQ(NextDefinitionNumber(), 211000);
  // After the highest definition is deleted its number is given again.
  g_machiningIndexTable.records[0].key = 10000;
  g_machiningCount = 1;
  EXPECT_EQ(NextDefinitionNumber(), 11000);
}

TEST_F(DefinitionStoreTest, FirstTwoDefinitionsAreNumberedAndNamed) {
  NewDefinition(MachiningKind::PlaneContour);
  EXPECT_EQ(g_curMachiningDef.number, 10000);
  ASSERT_TRUE(StoreMachiningDefinition(1, *slots_, *atc_));
  NewDefinition(MachiningKind::Hole);
  EXPECT_EQ(g_curMachiningDef.number, 11000);
  EXPECT_EQ(IndexName(0), "輪郭加工_10000");
  EXPECT_EQ(IndexName(1), "穴加工_11000");
  EXPECT_EQ(g_machiningIndexTable.records[1].kindCode, 0xB400);
  EXPECT_EQ(g_machiningIndexTable.records[1].slot, 1);
}

TEST_F(DefinitionStoreTest, DefaultNamesOfEveryKind) {
  struct Case {
    MachiningKind kind;
    FilletSurface surface;
    const char* name;
  };
  const Case cases[] = {
      {MachiningKind::CharacterContour, {}, "文字加工_%d"},
      {MachiningKind::HelicalHole, {}, "ヘリカル加工_%d"},
      {MachiningKind::DeepHole, {}, "深穴高速加工_%d"},
      {MachiningKind::FourAxisWire, {}, "４軸ワイヤー_%d"},
      {MachiningKind::TwoAxisWire, {}, "２軸ワイヤー_%d"},
      {MachiningKind::TwoAndHalfAxis, {}, "２・５軸_%d"},
      {MachiningKind::Taper, {}, "テーパー加工_%d"},
      {MachiningKind::ThreeAxisSurface, {}, "３軸曲面_%d"},
      {MachiningKind::Model, {}, "モデル加工_%d"},
      {MachiningKind::Fillet, {0x7000, 0}, "フィレット_%d"},
      {MachiningKind::Fillet, {0x7000, 0x10}, "ペンシル加工_%d"},
      {MachiningKind::Fillet, {0x7400, 0x10}, "Ｐフィレット_%d"},
      {MachiningKind::AAxisScrew, {}, "スクリュー_%d"},
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(DefaultNamePatternUtf8(static_cast<std::int32_t>(c.kind), c.surface), c.name);
  }
  EXPECT_EQ(DefaultNamePatternUtf8(0x1234, {}), nullptr);
}

TEST_F(DefinitionStoreTest, FilletIsNamedByTheSurfaceOfItsFirstCurveItem) {
  g_curMachiningDef.kind = static_cast<std::int32_t>(MachiningKind::Fillet);
  g_curMachiningDef.curves[0].key = 77;
  std::int32_t askedKey = 0;
  AssignDefinitionNumber([&](std::int32_t key) -> std::optional<FilletSurface> {
    askedKey = key;
    return FilletSurface{0x7400, 0};
  });
  EXPECT_EQ(askedKey, 77);
  EXPECT_EQ(IndexName(0), "Ｐフィレット_10000");
  // No surface with the key: the plain fillet name.
  AssignDefinitionNumber([](std::int32_t) -> std::optional<FilletSurface> { return std::nullopt; });
  EXPECT_EQ(IndexName(0), "フィレット_10000");
}

TEST_F(DefinitionStoreTest, FirstStepValuesByKind) {
  g_machiningDefaults.toolDownAmount = 12.0;
  g_machiningDefaults.moveZ = 33.0;
  ResetMachiningRecord(*atc_);
  for (StepCondition& s : g_curMachiningDef.steps) s.toolDownAmount = s.toolMoveZ = -1.0;

  g_curMachiningDef.kind = static_cast<std::int32_t>(MachiningKind::CharacterContour);
  AssignDefinitionNumber();
  EXPECT_EQ(g_curMachiningDef.steps[0].contourCentreFlag, 1);
  EXPECT_EQ(g_curMachiningDef.steps[0].toolDownAmount, 12.0);
  EXPECT_EQ(g_curMachiningDef.steps[0].toolMoveZ, 33.0);

  for (MachiningKind kind : {MachiningKind::HelicalHole, MachiningKind::TwoAxisWire}) {
    g_curMachiningDef.steps[0].toolDownAmount = -1.0;
    g_curMachiningDef.kind = static_cast<std::int32_t>(kind);
    AssignDefinitionNumber();
    EXPECT_EQ(g_curMachiningDef.steps[0].toolDownAmount, -1.0);  // hole and wire kinds keep theirs
  }
  EXPECT_EQ(g_curMachiningDef.stepTools[0].pCode, 1.0f);  // set by the helical hole
}

TEST_F(DefinitionStoreTest, StepColourAfterColour31IsKeptAndLooksUpSafely) {
  g_curCurveRecord.colour = 31;
  NewDefinition(MachiningKind::PlaneContour);
  EXPECT_EQ(g_curMachiningDef.steps[0].colour, 32);
  ASSERT_TRUE(StoreMachiningDefinition(1, *slots_, *atc_));
  EXPECT_EQ(slots_->Slot(0).steps[0].colour, 32);
  // The palette lookups accept a colour outside 0..31.
  EXPECT_EQ(ColorFromIndex(32), 32u);
  EXPECT_EQ(&PenForColour(32), &PenForColour(0));
}

TEST_F(DefinitionStoreTest, ReEditOfAStoredSlotKeepsTheCount) {
  FillTable(3);
  g_definitionEditMode = kEditModeStoredSlot;
  g_curDefinitionSlot = 1;
  g_curMachiningDef = slots_->Slot(1);
  g_curMachiningDef.zOrigin = 77.0;
  MachiningOrderValid = kMachiningOrderUpToDate;
  ASSERT_TRUE(StoreMachiningDefinition(1, *slots_, *atc_));
  EXPECT_EQ(g_machiningCount, 3);
  EXPECT_EQ(slots_->Slot(1).zOrigin, 77.0);
  EXPECT_EQ(g_definitionEditMode, kEditModeReturnToList);
  EXPECT_EQ(MachiningOrderValid, 0);
  EXPECT_EQ(g_machiningDefaults.originZ, 77.0);
}

TEST_F(DefinitionStoreTest, NextDefinitionStartsFromTheLastStoredOne) {
  NewDefinition(MachiningKind::PlaneContour);
  g_curMachiningDef.zOrigin = 35.0;
  g_curMachiningDef.steps[0].feedCode = 222.0;
  g_curMachiningDef.stepTools[0].spindleSpeed = 4500;
  ASSERT_TRUE(StoreMachiningDefinition(1, *slots_, *atc_));
  // The store reset the working record from the updated defaults.
  EXPECT_EQ(g_curMachiningDef.zOrigin, 35.0);
  EXPECT_EQ(g_curMachiningDef.steps[0].feedCode, 222.0);
  EXPECT_EQ(g_curMachiningDef.steps[5].secondFeedCode, 222.0);
  EXPECT_EQ(g_curMachiningDef.stepTools[11].spindleSpeed, 4500);
}

TEST_F(DefinitionStoreTest, StoreAtTheEndAppends) {
  FillTable(3);
  g_definitionEditMode = kEditModeStoredSlot;  // a copy edited at the end
  g_curDefinitionSlot = 3;
  g_curMachiningDef.kind = static_cast<std::int32_t>(MachiningKind::Taper);
  ASSERT_TRUE(StoreMachiningDefinition(1, *slots_, *atc_));
  EXPECT_EQ(g_machiningCount, 4);
  EXPECT_EQ(slots_->Slot(3).kind, 0xDA00);
}

TEST_F(DefinitionStoreTest, FiveHundredTwelfthDefinitionIsStored) {
  FillTable(511);
  NewDefinition(MachiningKind::PlaneContour);
  EXPECT_EQ(g_machiningIndexTable.records[511].key, 521000);
  ASSERT_TRUE(StoreMachiningDefinition(1, *slots_, *atc_));
  EXPECT_EQ(g_machiningCount, 512);
  EXPECT_EQ(slots_->Slot(511).number, 521000);
  EXPECT_TRUE(ErrorBoxes().empty());
}

TEST_F(DefinitionStoreTest, AppendToAFullTableIsRefusedWithError490) {
  FillTable(512);
  NewDefinition(MachiningKind::PlaneContour);  // no index record is written past the table
  g_curMachiningDef.zOrigin = 12.5;
  int saves = 0;
  StoreServices services;
  services.saveDrawing = [&] { ++saves; };
  EXPECT_FALSE(StoreMachiningDefinition(1, *slots_, *atc_, services));
  EXPECT_EQ(g_machiningCount, 512);
  ASSERT_EQ(ErrorBoxes().size(), 1u);
  EXPECT_EQ(ErrorBoxes()[0], "※ 加工定義数がＭＡＸです....");
  EXPECT_EQ(slots_->Slot(511).number, 521000);
  EXPECT_NE(g_machiningDefaults.originZ, 12.5);
  // The working record is reset and the drawing saved all the same.
  EXPECT_EQ(g_curMachiningDef.kind, 0);
  EXPECT_EQ(saves, 1);
}

TEST_F(DefinitionStoreTest, ReEditInAFullTableIsStored) {
  FillTable(512);
  g_definitionEditMode = kEditModeStoredSlot;
  g_curDefinitionSlot = 200;
  g_curMachiningDef = slots_->Slot(200);
  g_curMachiningDef.holeRPoint = 4.5;
  EXPECT_TRUE(StoreMachiningDefinition(1, *slots_, *atc_));
  EXPECT_EQ(slots_->Slot(200).holeRPoint, 4.5);
  EXPECT_EQ(g_machiningCount, 512);
  EXPECT_TRUE(ErrorBoxes().empty());
}

TEST_F(DefinitionStoreTest, CancelStoresNothingButResetsAndSaves) {
  FillTable(2);
  NewDefinition(MachiningKind::Hole);
  EXPECT_EQ(IndexName(2), "穴加工_12000");
  int resets = 0, saves = 0;
  StoreServices services;
  services.resetFigureAndSurface = [&] { ++resets; };
  services.saveDrawing = [&] { ++saves; };
  // The caller passes a result of 0 or below for a dialog that was not stored.
  EXPECT_FALSE(StoreMachiningDefinition(0, *slots_, *atc_, services));
  EXPECT_EQ(g_machiningCount, 2);
  EXPECT_EQ(slots_->Slot(2).kind, 0);
  EXPECT_EQ(IndexName(2), "");
  EXPECT_EQ(g_machiningIndexTable.records[2].key, 0);
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(saves, 1);
  EXPECT_FALSE(StoreMachiningDefinition(-1, *slots_, *atc_, services));
  EXPECT_EQ(g_machiningCount, 2);
}

TEST_F(DefinitionStoreTest, FourAxisWireRegistersItsSurfaceBeforeStoring) {
  NewDefinition(MachiningKind::FourAxisWire);
  int registered = 0;
  StoreServices services;
  services.registerWireSurface = [&] { ++registered; };
  ASSERT_TRUE(StoreMachiningDefinition(1, *slots_, *atc_, services));
  EXPECT_EQ(registered, 1);
  NewDefinition(MachiningKind::TwoAxisWire);
  ASSERT_TRUE(StoreMachiningDefinition(1, *slots_, *atc_, services));
  EXPECT_EQ(registered, 1);
}

TEST_F(DefinitionStoreTest, PutAndGetOutsideTheSlots) {
  g_curMachiningDef.kind = 0xA000;
  EXPECT_FALSE(PutMachiningDefinition(*slots_, 512));
  ASSERT_EQ(ErrorBoxes().size(), 1u);
  EXPECT_FALSE(GetMachiningDefinition(*slots_, 512, *atc_));
  EXPECT_EQ(g_curMachiningDef.kind, 0);  // reset instead
  slots_->Slot(7).number = 17000;
  EXPECT_TRUE(GetMachiningDefinition(*slots_, 7, *atc_));
  EXPECT_EQ(g_curMachiningDef.number, 17000);
}

class DefaultsFromDefinitionTest : public DefinitionStoreTest {
 protected:
  MachiningDefinition Definition(MachiningKind kind) {
    MachiningDefinition d = g_curMachiningDef;
    d.kind = static_cast<std::int32_t>(kind);
    d.generalA = 21;
    d.generalB = 22;
    d.zOrigin = 60.0;
    d.holeIPoint = 45.0;
    d.holeThroughAmount = 2.5;
    d.steps[0].toolDownAmount = 8.0;
    d.steps[0].downFeed = 70.0;
    d.steps[0].feedCode = 210.0;
    d.steps[0].toolMoveZ = 50.0;
    d.steps[0].value264 = 0.25;
    d.steps[0].contourStock = 0.15;
    d.stepTools[0].feed = 640.0f;
    d.stepTools[0].spindleSpeed = 3000;
    return d;
  }
};

TEST_F(DefaultsFromDefinitionTest, ByKind) {
  const handover::MachiningDefaults before = g_machiningDefaults;

  UpdateDefaultsFromDefinition(Definition(MachiningKind::TwoAxisWire));
  EXPECT_EQ(g_machiningDefaults.wireDivision, 0.25);
  EXPECT_EQ(g_machiningDefaults.wireStock, 0.15);
  EXPECT_EQ(g_machiningDefaults.originZ, before.originZ);
  EXPECT_EQ(g_machiningDefaults.moveZ, before.moveZ);
  EXPECT_EQ(g_machiningDefaults.generalB, before.generalB);
  EXPECT_EQ(g_machiningDefaults.generalA, 21);
  EXPECT_EQ(g_machiningDefaults.toolFeed, 640.0);
  EXPECT_EQ(g_machiningDefaults.spindleSpeed, 3000);

  g_machiningDefaults = before;
  UpdateDefaultsFromDefinition(Definition(MachiningKind::Hole));
  EXPECT_EQ(g_machiningDefaults.holeIPoint, 45.0);
  EXPECT_EQ(g_machiningDefaults.holeThroughAmount, 2.5);
  EXPECT_EQ(g_machiningDefaults.originZ, before.originZ);
  EXPECT_EQ(g_machiningDefaults.moveZ, 50.0);
  EXPECT_EQ(g_machiningDefaults.generalB, 22);

  g_machiningDefaults = before;
  UpdateDefaultsFromDefinition(Definition(MachiningKind::PlaneContour));
  EXPECT_EQ(g_machiningDefaults.originZ, 60.0);
  EXPECT_EQ(g_machiningDefaults.toolDownAmount, 8.0);
  EXPECT_EQ(g_machiningDefaults.downFeed, 70.0);
  EXPECT_EQ(g_machiningDefaults.feedCode, 210.0);
  EXPECT_EQ(g_machiningDefaults.moveZ, 50.0);
  EXPECT_EQ(g_machiningDefaults.holeIPoint, before.holeIPoint);
}

TEST_F(DefaultsFromDefinitionTest, ToolMoveZNeverAboveTheZOrigin) {
  MachiningDefinition d = Definition(MachiningKind::PlaneContour);
  d.steps[0].toolMoveZ = 80.0;
  UpdateDefaultsFromDefinition(d);
  EXPECT_EQ(g_machiningDefaults.moveZ, 60.0);
}

TEST_F(DefaultsFromDefinitionTest, ValuesThatAreNoNumbersAreNotTaken) {
  MachiningDefinition d = Definition(MachiningKind::PlaneContour);
  d.zOrigin = std::numeric_limits<double>::quiet_NaN();
  d.stepTools[0].feed = std::numeric_limits<float>::infinity();
  const handover::MachiningDefaults before = g_machiningDefaults;
  UpdateDefaultsFromDefinition(d);
  EXPECT_EQ(g_machiningDefaults.originZ, before.originZ);
  EXPECT_EQ(g_machiningDefaults.toolFeed, before.toolFeed);
  EXPECT_EQ(g_machiningDefaults.feedCode, 210.0);
}

}  // namespace
}  // namespace dorn
