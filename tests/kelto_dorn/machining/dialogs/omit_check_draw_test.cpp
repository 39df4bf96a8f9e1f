// OMIT rows, check surfaces and DRAW curves of the working definition:
// their rules and their dialogs.
#include <array>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/check_surface_rules.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/dialogs/check_surface_dialog.h"
#include "kelto_dorn/machining/dialogs/condition_openers.h"
#include "kelto_dorn/machining/dialogs/draw_line_dialog.h"
#include "kelto_dorn/machining/dialogs/omit_dialog.h"
#include "kelto_dorn/machining/draw_slots.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/omit_rules.h"
#include "kelto_dorn/machining/step_operations.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;

class RowTablesTest : public DefinitionFlowTest {
 protected:
  void SetUp() override {
    DefinitionFlowTest::SetUp();
    ResetMachiningRecord(document().atc);
    g_curMachiningDef.kind = 0xA000;
    g_curStepIndex = 0;
    EnsureFirstStep(g_curMachiningDef);
  }
  MachiningDefinition& D() { return g_curMachiningDef; }
  std::vector<int> OmitKeys(int rows) {
    std::vector<int> keys;
    for (int i = 0; i < rows; ++i) keys.push_back(D().figures[i].figureKey);
    return keys;
  }
};

TEST_F(RowTablesTest, OmitRowsCompactInsertAndDelete) {
  D().figures[0].figureKey = 11;
  D().figures[2].figureKey = 33;
  D().figures[4].figureKey = 55;
  D().figures[4].word0 = kOmitNot;
  CompactOmitRows(D());
  EXPECT_EQ(OmitKeys(5), (std::vector<int>{11, 33, 55, 0, 0}));
  EXPECT_EQ(D().figures[2].word0, kOmitNot | kOmitRegistered);

  for (int i = 0; i < kOmitRowCount; ++i) D().figures[i].figureKey = 1000 + i;
  InsertOmitRow(D(), 0);
  EXPECT_EQ(D().figures[0].figureKey, 0);
  EXPECT_EQ(D().figures[1].figureKey, 1000);
  EXPECT_EQ(D().figures[127].figureKey, 1126);  // row 128's contents are lost
  DeleteOmitRow(D(), 127);
  EXPECT_EQ(D().figures[127].figureKey, 0);
  EXPECT_EQ(FirstEmptyOmitRow(D()), 0);
  EXPECT_FALSE(OmitRowPickable(D(), 2) && D().figures[1].figureKey == 0);
}

// 輪郭図形 asks for the first empty row; Cancel after a change brings the rows
// back but keeps the stock.
TEST_F(RowTablesTest, OmitDialogAsksForTheNextRowAndCancelKeepsTheStock) {
  D().figures[0].figureKey = 11;
  D().figures[1].figureKey = 22;
  backend().WhenDialogOpens(kOmitDialogId, [](DialogDriver& d) { ASSERT_TRUE(d.Click(omit_ctl::kFigureHead)); });
  EXPECT_EQ(g_conditionOpeners.omit(), kOmitPickNext);
  EXPECT_EQ(g_pickTargetIndex, 2);

  backend().WhenDialogOpens(kOmitDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Type(omit_ctl::kUp[0], "12"));
    ASSERT_TRUE(d.Type(omit_ctl::kStock, "0.3"));
    ASSERT_TRUE(d.Click(omit_ctl::kDelete));
    ASSERT_TRUE(d.Focus(omit_ctl::kFigure[0]));  // delete mode: row 1 goes
    EXPECT_EQ(g_curMachiningDef.figures[0].figureKey, 22);
    ASSERT_TRUE(d.Scroll(omit_ctl::kScroll, 500));
    EXPECT_EQ(d.dialog().GetText(omit_ctl::kFigure[5]), "[128]");
    ASSERT_TRUE(d.Click(omit_ctl::kCancel));
  });
  EXPECT_EQ(g_conditionOpeners.omit(), 2);
  EXPECT_EQ(OmitKeys(3), (std::vector<int>{11, 22, 0}));
  EXPECT_EQ(D().figures[0].word16, 0);
  EXPECT_EQ(OmitStock(D()), 0.3);
  EXPECT_EQ(g_pickTargetIndex, 122);
}

TEST_F(RowTablesTest, CheckSurfacesFillCycleAndRefuseByDefinitionKind) {
  g_surfaceIndexTable.count = 3;
  g_surfaceIndexTable.records[0].key = 501;
  g_surfaceIndexTable.records[0].kindCode = 0x4000;
  g_surfaceIndexTable.records[1].key = 502;
  g_surfaceIndexTable.records[1].kindCode = 0x7400;
  g_surfaceIndexTable.records[2].key = 503;
  g_surfaceIndexTable.records[2].kindCode = 0x7000;

  // The list ends at 0x9999 and at an index outside the table.
  EXPECT_EQ(ChosenSurfaces(std::vector<int>{0, 0x9999, 1}).size(), 1u);
  EXPECT_EQ(ChosenSurfaces(std::vector<int>{2, 77, 0}).size(), 1u);

  const std::vector<ChosenSurface> chosen = ChosenSurfaces(std::vector<int>{0, 2, 0xFFFF});
  FillCheckSurfaces(D(), 0, chosen);
  EXPECT_EQ(D().checkSurfaces[1].surfaceKey, 503);
  EXPECT_EQ(D().checkSurfaces[1].typeWord, 3);
  EXPECT_EQ(D().checkSurfaces[1].side, 3);
  CycleCheckSurfaceSide(D(), 1);
  EXPECT_EQ(D().checkSurfaces[1].side, 3);

  struct Case {
    std::int32_t kind;
    std::vector<int> types;
  };
  for (const Case& c : {Case{0xE300, {2, 3, 1}}, Case{0xDA00, {2, 1, 2}}}) {
    D().kind = c.kind;
    D().checkSurfaces[0] = CheckSurfaceRow{1 | kNoFaceOffset, 1, 501};
    std::vector<int> seen;
    for (int i = 0; i < 3; ++i) {
      CycleCheckSurfaceType(D(), 0);
      seen.push_back(D().checkSurfaces[0].typeWord & 0xFF);
    }
    EXPECT_EQ(seen, c.types) << std::hex << c.kind;
    EXPECT_NE(D().checkSurfaces[0].typeWord & kNoFaceOffset, 0);
  }

  // A hole definition refuses the P+FLT surface; the next takes its row.
  ResetCheckSurfaces(D());
  D().kind = 0xB400;
  FillCheckSurfaces(D(), 0, ChosenSurfaces(std::vector<int>{1, 0, 0xFFFF}));
  EXPECT_EQ(D().checkSurfaces[0].surfaceKey, 501);
  EXPECT_EQ(D().checkSurfaces[1].surfaceKey, 0);

  ResetCheckSurfaces(D());
  D().checkSurfaces[0].surfaceKey = 501;
  D().checkSurfaces[2].surfaceKey = 503;
  CompactCheckSurfaces(D());
  EXPECT_EQ(D().checkSurfaces[1].surfaceKey, 503);
  EXPECT_EQ(D().checkSurfaces[2].typeWord, 1);
  EXPECT_EQ(D().checkSurfaces[2].side, 1);
  EXPECT_EQ(D().checkSurfaces[2].surfaceKey, 0);
}

TEST_F(RowTablesTest, CheckSurfaceDialogCancelRestoresTheRows) {
  D().checkSurfaces[0] = CheckSurfaceRow{1, 1, 501};
  backend().WhenDialogOpens(kCheckSurfaceDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Click(check_surface_ctl::kSide[0]));
    EXPECT_EQ(g_curMachiningDef.checkSurfaces[0].side, 2);
    ASSERT_TRUE(d.Click(check_surface_ctl::kReset));
    d.PressEscape();
  });
  EXPECT_EQ(g_conditionOpeners.checkSurface(), 2);
  EXPECT_EQ(D().checkSurfaces[0].surfaceKey, 501);
  EXPECT_EQ(D().checkSurfaces[0].side, 1);
}

// Seventeen used slots end the walk at slot 147 (the MOVE entry behind the
// table is not a slot), and a curve that is gone keeps its line, so deleting
// the line after it deletes the right slot.
TEST_F(RowTablesTest, DrawSlotsWalkSeventeenSlotsAndEachLineKeepsItsSlot) {
  for (int i = 0; i < kDrawSlotCount; ++i) D().figures[kFirstDrawSlot + i].figureKey = 700 + i;
  D().moveEntries[0].word0 = 1;
  EXPECT_EQ(UsedDrawSlots(D()), 17);
  EXPECT_EQ(FirstFreeDrawSlot(D()), -1);
  backend().WhenDialogOpens(kDrawLineDialogId, [](DialogDriver& d) { ASSERT_TRUE(d.Click(draw_ctl::kAdd)); });
  EXPECT_EQ(g_conditionOpeners.runDrawFigureList(), 0);

  ResetDrawSlots(D());
  AddLineCurve(801, {{0, 0}, {10, 0}});
  AddLineCurve(803, {{0, 5}, {10, 5}});
  D().figures[131].figureKey = 801;
  D().figures[132].figureKey = 802;  // no such curve
  D().figures[133].figureKey = 803;
  backend().WhenDialogOpens(kDrawLineDialogId, [](DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetCount(draw_ctl::kList), 3);
    EXPECT_EQ(d.dialog().GetItemText(draw_ctl::kList, 0), "[70] : CURVE");
    EXPECT_EQ(d.dialog().GetItemText(draw_ctl::kList, 1), "");
    ASSERT_TRUE(d.ToggleSelection(draw_ctl::kList, 2));
    ASSERT_TRUE(d.Click(draw_ctl::kDelete));
    ASSERT_TRUE(d.Click(draw_ctl::kContour));
    ASSERT_TRUE(d.Click(draw_ctl::kAdd));
  });
  EXPECT_EQ(g_conditionOpeners.runDrawFigureList(), kDrawPickCode);
  EXPECT_EQ(g_pickTargetIndex, 133);
  EXPECT_EQ(D().figures[131].figureKey, 801);
  EXPECT_EQ(D().figures[132].figureKey, 802);
  EXPECT_EQ(D().figures[133].figureKey, 0);
  EXPECT_EQ(D().figures[kDrawSwitchEntry].word12, kDrawContourOn);

  OmitStock(D()) = 0.5;
  ResetDrawSlots(D());
  EXPECT_EQ(OmitStock(D()), 0.0);
  EXPECT_EQ(D().figures[131].figureKey, 0);
}

}  // namespace
}  // namespace dorn::test
