// The plane and character contour dialogs as a user drives them: the fields
// that reach the hand-over, a MOVE pick that closes the dialog and reopens
// the MOVE condition on its step, and the character twin's one contour.
#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/camdata/cam_builder.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/machining/definition_flow.h"
#include "kelto_dorn/machining/dialogs/condition_openers.h"
#include "kelto_dorn/machining/dialogs/contour_define_dialog.h"
#include "kelto_dorn/machining/dialogs/tool_select_dialog.h"
#include "kelto_dorn/machining/finish_pass_settings.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/step_operations.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "shared/handover/nc_element.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;
namespace ctl = contour_ctl;

class ContourDefinitionTest : public DefinitionFlowTest {
 protected:
  void SetUp() override {
    DefinitionFlowTest::SetUp();
    WriteMachine({{"ENDMILL", "EM10", 10.0f, 0.0f, 0.0f, 0.0f, 10}});
  }
  void TearDown() override {
    g_conditionOpeners = ConditionOpeners{};
    DefinitionFlowTest::TearDown();
  }
  void AnswerToolChoice() {
    backend().WhenDialogOpens(kToolSelectDialogId, [](DialogDriver& d) {
      ASSERT_TRUE(d.Select(tool_select_ctl::kList, 0));
      ASSERT_TRUE(d.Click(tool_select_ctl::kOk));
    });
  }
};

TEST_F(ContourDefinitionTest, FieldsOfTheDialogReachTheProcessStart) {
  const int curve = AddLineCurve(801, {{0, 0}, {50, 0}, {50, 30}, {0, 30}, {0, 0}});
  std::string postText;
  backend().WhenDialogOpens(299, [&](DialogDriver& d) {
    postText = d.dialog().GetText(ctl::kPost);
    AnswerToolChoice();
    ASSERT_TRUE(d.Click(frame_ctl::kChooseTool));
    ASSERT_TRUE(d.Select(ctl::kWorkOffset, 1));
    ASSERT_TRUE(d.Focus(ctl::kAtcZ));
    ASSERT_TRUE(d.Type(ctl::kAtcZ, "100"));
    ASSERT_TRUE(d.Focus(ctl::kMoveZ));
    ASSERT_TRUE(d.Type(ctl::kMoveZ, "50"));
    // A reference surface is dropped by a typed reference Z.
    CurrentStep().surfaceKey = 4242;
    ASSERT_TRUE(d.Focus(frame_ctl::kReferenceZ));
    ASSERT_TRUE(d.Type(frame_ctl::kReferenceZ, "-5"));
    ASSERT_TRUE(d.dialog().UserCommand(ctl::kMenuStore));
  });
  RunMachiningCommand(define_cmd::kContour);
  PickCurve(curve);
  ASSERT_TRUE(backend().Problems().empty()) << backend().Problems().front();

  ASSERT_EQ(g_machiningCount, 1);
  const MachiningDefinition& d = document().definitions.Slot(0);
  EXPECT_EQ(d.generalA, 1);  // no post: the current one, shown and stored
  EXPECT_EQ(postText.rfind("No.01::", 0), 0u) << postText;
  EXPECT_EQ(d.generalB, 1);  // G55
  EXPECT_DOUBLE_EQ(d.zOrigin, 100.0);
  EXPECT_DOUBLE_EQ(d.holeIPoint, 50.0);  // offset 88: the contour's tool move Z
  EXPECT_DOUBLE_EQ(d.steps[0].toolMoveZ, 50.0);
  EXPECT_DOUBLE_EQ(d.steps[0].endDepth, -5.0);
  EXPECT_EQ(d.steps[0].surfaceKey, 0);

  OrderAllItems();
  FinishPassSettings finishPass{};
  CCamDataBuilder builder(document().definitions, document().atc, g_surfaceSlots, finishPass);
  const CamBuildResult result = builder.CreateCamData(1);
  ASSERT_TRUE(result.written) << result.failure;
  int starts = 0;
  for (const handover::NcElement& e : builder.Elements()) {
    if (e.code != handover::element_code::kProcessStartAtc) continue;
    ++starts;
    EXPECT_DOUBLE_EQ(e.d3, 100.0);
  }
  EXPECT_EQ(starts, 1);
}

TEST_F(ContourDefinitionTest, AMovePickReopensTheMoveConditionOnItsStep) {
  const int curve = AddLineCurve(802, {{0, 0}, {50, 0}, {50, 30}});
  const int axis = AddLineCurve(803, {{25, -10}, {25, 40}});
  std::vector<int> moveSteps;
  g_conditionOpeners.move = [&] {
    moveSteps.push_back(g_curStepIndex);
    return moveSteps.size() == 1 ? 400 : 1;
  };
  backend().WhenDialogOpens(299, [](DialogDriver& d) {
    ASSERT_TRUE(d.Click(frame_ctl::kAddStep));
    ASSERT_TRUE(d.Select(frame_ctl::kTabs, 1));
    ASSERT_TRUE(d.Click(ctl::kMove));
    EXPECT_EQ(d.dialog().EndCode(), 400);
  });
  backend().WhenDialogOpens(299, [](DialogDriver& d) {
    d.TickTimer(kResumeTimerId);
    EXPECT_EQ(d.dialog().GetCurSel(frame_ctl::kTabs), 1);
    ASSERT_TRUE(d.dialog().UserCommand(ctl::kMenuStore));
  });
  RunMachiningCommand(define_cmd::kContour);
  PickCurve(curve);
  EXPECT_EQ(prompts_.back(), 929);
  PickCurve(axis);
  ASSERT_TRUE(backend().Problems().empty()) << backend().Problems().front();
  EXPECT_EQ(moveSteps, (std::vector<int>{1, 1}));
  ASSERT_EQ(g_machiningCount, 1);
  EXPECT_EQ(document().definitions.Slot(0).moveEntries[0].figureKey, 803);
}

TEST_F(ContourDefinitionTest, TheCharacterTwinKeepsOneContourAndTheListStopsAt80) {
  AddLineCurve(804, {{0, 0}, {5, 0}});
  AddLineCurve(805, {{0, 5}, {5, 5}});
  MachiningDefinition& d = g_curMachiningDef;
  d.kind = 0x8000;
  d.curves[0] = {1, 804};
  d.curves[1] = {1, 805};
  backend().WhenDialogOpens(349, [](DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetCount(ctl::kContours), 1);
    EXPECT_EQ(platform::Cp932ToUtf8(d.dialog().Title()).find("文字加工定義"), 1u);
    ASSERT_TRUE(d.PressEscape());
  });
  CContourDefineDlg twin(DefinitionRunner::CharContour, document().atc);
  EXPECT_EQ(RunModalDialog(twin), define_end::kCancel);
  EXPECT_EQ(d.curves[1].key, 0);

  // A full list of 80 contours asks for no further pick.
  d.kind = 0xA000;
  for (CurveListItem& item : d.curves) item = {1, 804};
  backend().WhenDialogOpens(299, [](DialogDriver& d) {
    ASSERT_TRUE(d.Click(ctl::kMore));
    EXPECT_FALSE(d.dialog().HasEnded());
    ASSERT_TRUE(d.PressEscape());
  });
  CContourDefineDlg plane(DefinitionRunner::Contour, document().atc);
  EXPECT_EQ(RunModalDialog(plane), define_end::kCancel);
  EXPECT_EQ(g_curContourItem, 0);
}

}  // namespace
}  // namespace dorn::test
