// A plane contour made the way a user makes it: the command, a click on the
// curve, the dialog's tool choice, an arc approach, a second step, 登録;
// then the drawing saved and reloaded, and the CAM data builder's hand-over
// written from it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/camdata/cam_builder.h"
#include "kelto_dorn/camdata/camdata_state.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/machining/definition_flow.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/dialogs/approach_dialogs.h"
#include "kelto_dorn/machining/dialogs/definition_frame_dialog.h"
#include "kelto_dorn/machining/dialogs/tool_select_dialog.h"
#include "kelto_dorn/machining/finish_pass_settings.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;

class DefinitionEndToEndTest : public DefinitionFlowTest {};

TEST_F(DefinitionEndToEndTest, AContourFromAPickReachesTheHandOverWithItsToolAndApproach) {
  WriteMachine({{"ENDMILL", "EM10", 10.0f, 0.0f, 0.0f, 0.0f, 10},
                {"ENDMILL", "EM8", 8.0f, 0.0f, 0.0f, 0.0f, 8, 0, 1500, 300.0f},
                {"DRILL", "DR8.5", 8.5f, 0.0f, 118.0f, 2.5f, 0, 81}});
  const int curve = AddLineCurve(601, {{0, 0}, {40, 0}, {40, 30}}, 0.0, /*colour=*/4);

  backend().WhenDialogOpens(299, [](DialogDriver& d) {
    // The tool choice lists the two end mills of the default name.
    ASSERT_TRUE(d.Click(frame_ctl::kChooseTool));
    ASSERT_TRUE(d.Click(frame_ctl::kApproach));
    ASSERT_TRUE(d.Click(frame_ctl::kAddStep));
    EXPECT_EQ(d.dialog().GetCount(frame_ctl::kTabs), 2);
    ASSERT_TRUE(d.Click(frame_ctl::kStore));
  });
  backend().WhenDialogOpens(kToolSelectDialogId, [](DialogDriver& d) {
    ASSERT_EQ(d.dialog().GetCount(tool_select_ctl::kList), 2);
    ASSERT_TRUE(d.Select(tool_select_ctl::kList, 1));
    ASSERT_TRUE(d.Click(tool_select_ctl::kOk));
  });
  backend().WhenDialogOpens(kApproachDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Type(approach_ctl::kAmount, "3"));
    ASSERT_TRUE(d.Click(approach_ctl::kArc));
    ASSERT_TRUE(d.Click(approach_ctl::kRegister));
  });

  RunMachiningCommand(define_cmd::kContour);
  EXPECT_EQ(prompts_.back(), 922);
  EXPECT_EQ(g_pickState, 50);
  PickCurve(curve);
  EXPECT_TRUE(backend().Problems().empty()) << backend().Problems().front();

  ASSERT_EQ(g_machiningCount, 1);
  const MachiningDefinition& d = document().definitions.Slot(0);
  EXPECT_EQ(d.kind, 0xA000);
  EXPECT_EQ(d.number, 10000);
  EXPECT_EQ(d.curves[0].key, 601);
  for (int s = 0; s < 2; ++s) {
    SCOPED_TRACE(s);
    EXPECT_EQ(d.stepTools[s].atcNumber, 2);
    EXPECT_EQ(platform::FieldText(d.stepTools[s].secName), "EM8");
    EXPECT_EQ(d.steps[s].compensationD, 8);  // the tool's D code
    EXPECT_EQ(d.steps[s].approachKind, 4);
    EXPECT_EQ(d.steps[s].escapeOn, 1);
    EXPECT_EQ(d.steps[s].escapeKind, 4);
    EXPECT_EQ(d.steps[s].value304, 3.0);
    EXPECT_EQ(d.steps[s].repeat[0].escapeStamp, 10002);
    EXPECT_EQ(d.steps[s].repeat[1].escapeStamp, 10002);
    EXPECT_EQ(d.steps[s].colour, 4 + 1 + s);
  }
  EXPECT_EQ(d.stepTools[2].inUse, 0);
  EXPECT_EQ(platform::Cp932ToUtf8(platform::FieldText(g_machiningIndexTable.records[0].name)), "輪郭加工_10000");
  EXPECT_EQ(endedPicks_, std::vector<int>{define_cmd::kContour});

  // The store saved the drawing; it reloads with the same definition.
  MachiningDefinition stored;
  std::memcpy(&stored, &d, sizeof stored);
  ClearMachiningTable(document().definitions, document().atc);
  ASSERT_TRUE(LoadDrawing(document()).faults.empty());
  ASSERT_EQ(g_machiningCount, 1);
  EXPECT_EQ(std::memcmp(&document().definitions.Slot(0), &stored, sizeof stored), 0);

  // The CAM data builder takes the definition as the flow stored it.
  OrderAllItems();
  FinishPassSettings finishPass{};
  CCamDataBuilder builder(document().definitions, document().atc, g_surfaceSlots, finishPass);
  const CamBuildResult result = builder.CreateCamData(1);
  ASSERT_TRUE(result.written) << result.failure;
  ASSERT_FALSE(builder.ToolMap().empty());
  EXPECT_EQ(builder.ToolMap()[0].atcNumber, 2);
  EXPECT_EQ(builder.ToolMap()[0].diameter, 8.0f);
  int approaches = 0, escapes = 0;
  for (const handover::NcElement& e : builder.Elements()) {
    if (e.code == 0x7580) {
      ++approaches;
      EXPECT_EQ(std::abs(e.d4), 3.0);
    }
    if (e.code == 0x7590) ++escapes;
  }
  EXPECT_EQ(approaches, 2);  // one per step
  EXPECT_EQ(escapes, 2);
}

}  // namespace
}  // namespace dorn::test
