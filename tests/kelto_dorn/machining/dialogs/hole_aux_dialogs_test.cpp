// The small hole dialogs: the chamfer detail kept as absolute values and
// written when it closes, the BOX hole style edited in place, and the ATC
// ranking of the machining order, which the CAM data then uses.
#include "kelto_dorn/machining/dialogs/hole_aux_dialogs.h"

#include <gtest/gtest.h>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/camdata/cam_builder.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/machining/hole_fields.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;

class HoleAuxDialogsTest : public DefinitionFlowTest {};

TEST_F(HoleAuxDialogsTest, ChamferDetailKeepsAbsoluteValuesAndWritesOnEscape) {
  backend().WhenDialogOpens(kChamferDetailDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Focus(chamfer_detail_ctl::kSize));
    ASSERT_TRUE(d.Type(chamfer_detail_ctl::kSize, "-0.3"));
    ASSERT_TRUE(d.Focus(chamfer_detail_ctl::kDownRate));
    ASSERT_TRUE(d.Type(chamfer_detail_ctl::kDownRate, "0.7"));
    ASSERT_TRUE(d.PressEscape());  // the pending field is taken too
  });
  CHoleChamferDetailDlg dialog;
  EXPECT_EQ(RunModalDialog(dialog), 2);
  EXPECT_DOUBLE_EQ(g_chamferDetail.size, 0.3);
  EXPECT_DOUBLE_EQ(g_chamferDetail.downRate, 0.7);
  ChamferDetail stored;
  ASSERT_TRUE(ReadChamferDetail(stored).ok());
  EXPECT_DOUBLE_EQ(stored.size, 0.3);
  EXPECT_DOUBLE_EQ(stored.downRate, 0.7);
}

TEST_F(HoleAuxDialogsTest, BoxHoleStyleEditsTheSettingsInPlace) {
  backend().WhenDialogOpens(kBoxHoleStyleDialogId, [](DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetCheck(box_hole_ctl::kSameDiameter), 1);
    EXPECT_EQ(d.dialog().GetCheck(box_hole_ctl::kYDecreasing), 1);
    ASSERT_TRUE(d.Click(box_hole_ctl::kAllCircles));
    ASSERT_TRUE(d.Click(box_hole_ctl::kBackAndForth));
    ASSERT_TRUE(d.Click(box_hole_ctl::kShowEveryTime));
    ASSERT_TRUE(d.Type(box_hole_ctl::kTolerance, "-0.05"));
    ASSERT_TRUE(d.Click(box_hole_ctl::kRegister));
  });
  ASSERT_TRUE(g_commandEngines.boxHoleStyleDialog);
  EXPECT_EQ(g_commandEngines.boxHoleStyleDialog(), 1);
  EXPECT_EQ(g_boxHoleSettings.words[1], 0);
  EXPECT_EQ(g_boxHoleSettings.words[6], 1);
  EXPECT_EQ(g_boxHoleSettings.word40, 1);
  EXPECT_DOUBLE_EQ(g_boxHoleSettings.tolerance, 0.05);
}

// Three ordered steps of ATC numbers 5, a wire and 7, then 5 again: the wire
// contributes no tool and the ranking goes on past it.
TEST_F(HoleAuxDialogsTest, AtcRankingSkipsAWireAndPutsTheRanksInForce) {
  const std::int32_t kinds[] = {0xB400, 0xC000, 0xA000, 0xB400};
  const std::int32_t atc[] = {5, 0, 7, 5};
  ResetOrderItems();
  for (int i = 0; i < 4; ++i) {
    MachiningDefinition& d = document().definitions.Slot(i);
    d.kind = kinds[i];
    d.stepTools[0].atcNumber = atc[i];
    d.stepTools[0].diameter = 6.8f;
    OrderItem& item = g_orderItems[static_cast<std::size_t>(i)];
    item.number = i + 1;
    item.id = 100 + i;
    item.slot = i;
    item.step = 0;
    g_machiningOrderList[static_cast<std::size_t>(i)] = 100 + i;
  }
  std::vector<std::string> lines;
  backend().WhenDialogOpens(kAtcRankDialogId, [&lines](DialogDriver& d) {
    for (int i = 0; i < d.dialog().GetCount(atc_rank_ctl::kList); ++i) {
      lines.push_back(platform::Cp932ToUtf8(d.dialog().GetItemText(atc_rank_ctl::kList, i)));
    }
    ASSERT_TRUE(d.Click(atc_rank_ctl::kRegister));
  });
  ASSERT_TRUE(g_commandEngines.atcRankDialog);
  EXPECT_EQ(g_commandEngines.atcRankDialog(), 1);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind("001  T001   DBS_ATC#005 工具[", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1].rfind("003  T002   DBS_ATC#007 工具[", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2].rfind("004  T001   DBS_ATC#005", 0), 0u) << lines[2];
  ASSERT_TRUE(g_atcRenumbering.inForce);
  EXPECT_EQ(g_atcRenumbering.oldNumber[1], 7);
  EXPECT_EQ(g_atcRenumbering.newNumber[1], 2);
}

}  // namespace
}  // namespace dorn::test
