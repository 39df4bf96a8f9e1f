// A hole definition made the way a user makes it: the command, a click on a
// group of four hole circles, two tools chosen into steps 1 and 2, a typed
// depth and R point, 登録; then the hand-over the CAM data builder writes
// from what the dialog stored. And the dialog's faults that would reach
// outside its steps.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/camdata/cam_builder.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/machining/definition_flow.h"
#include "kelto_dorn/machining/dialogs/hole_define_dialog.h"
#include "kelto_dorn/machining/dialogs/single_step_hole_dialogs.h"
#include "kelto_dorn/machining/dialogs/tool_select_dialog.h"
#include "kelto_dorn/machining/finish_pass_settings.h"
#include "kelto_dorn/machining/hole_fields.h"
#include "kelto_dorn/machining/hole_rules.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;
namespace ctl = hole_ctl;

class HoleDefinitionTest : public DefinitionFlowTest {
 protected:
  void SetUp() override {
    DefinitionFlowTest::SetUp();
    WriteMachine({{"DRILL", "DR6.8", 6.8f, 0.0f, 118.0f, 2.0f, 0, 81},
                  {"CHAMFER", "CH10", 10.0f, 0.0f, 90.0f, 0.0f, 0, 81}});
    document().atc.Record(0).fluteLength = 60.0f;
    document().atc.Record(1).fluteLength = 20.0f;
  }

  // Four circles of 6.8 at TOP Z 0 as one hole group.
  int AddHoleGroup(std::int32_t key) {
    CurveRecord c;
    c.key = key;
    c.kind = kCurveKindHoleGroup;
    c.colour = 3;
    c.flags = 0x80;
    c.first = GetFigureCount(kTableCurves);
    g_figureTableSelector = kTableCurves;
    for (int i = 0; i < 4; ++i) {
      ClearCurrentFigure();
      g_curFigure.kind = kKindArc;
      g_curFigure.centre = {20.0 * i, 10.0};
      g_curFigure.radius = 3.4;
      AppendFigure(0);
    }
    c.end = GetFigureCount(kTableCurves);
    c.values[6] = 6.8f;
    platform::SetFieldText(c.name, "HOLES");
    g_curveTable[static_cast<std::size_t>(g_curveCount)] = c;
    return g_curveCount++;
  }

  // The tool choice: the row of `toolName`.
  void AnswerToolChoice(const char* toolName) {
    backend().WhenDialogOpens(kToolSelectDialogId, [toolName](DialogDriver& d) {
      const int row = d.dialog().FindPrefix(tool_select_ctl::kToolName, toolName);
      ASSERT_GE(row, 0) << toolName;
      ASSERT_TRUE(d.Select(tool_select_ctl::kToolName, row));
      ASSERT_TRUE(d.Select(tool_select_ctl::kList, 0));
      ASSERT_TRUE(d.Click(tool_select_ctl::kOk));
    });
  }

  CamBuildResult Build(CCamDataBuilder& builder) {
    OrderAllItems();
    return builder.CreateCamData(1);
  }
};

TEST_F(HoleDefinitionTest, TwoToolsFromAPickReachTheHandOverWithTheirDepthsAndRPoint) {
  const int curve = AddHoleGroup(701);
  double rAfterPick = 0.0;
  backend().WhenDialogOpens(kHoleDefineDialogId, [&](DialogDriver& d) {
    rAfterPick = g_curMachiningDef.holeRPoint;
    AnswerToolChoice("DRILL");
    ASSERT_TRUE(d.Click(ctl::kStepButton[0]));
    ASSERT_TRUE(d.Click(ctl::kChooseTool));
    ASSERT_TRUE(d.Focus(ctl::kMaxDepth));
    ASSERT_TRUE(d.Type(ctl::kMaxDepth, "15"));
    AnswerToolChoice("CHAMFER");
    ASSERT_TRUE(d.Click(ctl::kStepButton[1]));
    ASSERT_TRUE(d.Click(ctl::kChooseTool));
    ASSERT_TRUE(d.Focus(ctl::kRPoint));
    ASSERT_TRUE(d.Type(ctl::kRPoint, "3"));
    ASSERT_TRUE(d.dialog().UserCommand(ctl::kMenuStore));
  });
  RunMachiningCommand(define_cmd::kHole);
  EXPECT_EQ(prompts_.back(), 926);
  PickCurve(curve);
  ASSERT_TRUE(backend().Problems().empty()) << backend().Problems().front();

  ASSERT_EQ(g_machiningCount, 1);
  MachiningDefinition& d = document().definitions.Slot(0);
  EXPECT_EQ(d.kind, 0xB400);
  EXPECT_DOUBLE_EQ(rAfterPick, 5.0);
  EXPECT_DOUBLE_EQ(d.holeRPoint, 3.0);
  EXPECT_DOUBLE_EQ(d.steps[0].depth, 0.0);
  EXPECT_DOUBLE_EQ(d.steps[0].endDepth, -15.0);
  EXPECT_EQ(d.steps[0].word156, 3);
  EXPECT_NEAR(d.steps[1].endDepth, -3.9, 1e-6);  // 10 > 2 x 0.5 + 6.8: the chamfer plunges
  EXPECT_DOUBLE_EQ(HoleChamferSize(d), 0.5);
  EXPECT_DOUBLE_EQ(HoleChamferDownRate(d), 1.0);
  EXPECT_DOUBLE_EQ(HoleChamferApproachRate(d), 1.0);
  EXPECT_EQ(platform::Cp932ToUtf8(platform::FieldText(g_machiningIndexTable.records[0].name)), "穴加工_10000");
  EXPECT_EQ(g_curveTable[static_cast<std::size_t>(curve)].flags, 0xB480);
  for (int i = g_curveTable[0].first; i < g_curveTable[0].end; ++i) {
    GetFigure(kTableCurves, i);
    EXPECT_DOUBLE_EQ(g_curFigure.radius, 5.0);
  }

  FinishPassSettings finishPass{};
  CCamDataBuilder builder(document().definitions, document().atc, g_surfaceSlots, finishPass);
  const CamBuildResult result = Build(builder);
  ASSERT_TRUE(result.written) << result.failure;
  std::vector<double> depths;
  for (const handover::NcElement& e : builder.Elements()) {
    if (e.code != 0x6800) continue;
    EXPECT_DOUBLE_EQ(e.d1, 3.0);
    depths.push_back(e.d5);
  }
  ASSERT_EQ(depths.size(), 2u);
  EXPECT_DOUBLE_EQ(depths[0], -15.0);
  EXPECT_NEAR(depths[1], -3.9, 1e-6);
}

// After 追加 no step row is current: the tool choice beeps and writes no
// record; 複数 with a full list of 80 figures asks for no further pick.
TEST_F(HoleDefinitionTest, ChoicesWithoutACurrentRowOrRoomChangeNothing) {
  const int curve = AddHoleGroup(702);
  bool toolDialogOpened = false;
  int endCode = 0;
  backend().WhenDialogOpens(kToolSelectDialogId, [&](DialogDriver& d) {
    toolDialogOpened = true;
    d.dialog().EndDialog(2);
  });
  backend().WhenDialogOpens(kHoleDefineDialogId, [&](DialogDriver& d) {
    ASSERT_TRUE(d.Click(ctl::kInsert));
    EXPECT_EQ(g_curStepIndex, -1);
    const MachiningDefinition before = g_curMachiningDef;
    ASSERT_TRUE(d.Click(ctl::kChooseTool));
    EXPECT_EQ(std::memcmp(&before, &g_curMachiningDef, sizeof before), 0);
    for (int i = 0; i < kCurveItemCount; ++i) g_curMachiningDef.curves[i].key = 702;
    ASSERT_TRUE(d.Click(ctl::kMore));
    EXPECT_FALSE(d.dialog().HasEnded());
    ASSERT_TRUE(d.PressEscape());
    endCode = d.dialog().EndCode();
  });
  RunMachiningCommand(define_cmd::kHole);
  PickCurve(curve);
  EXPECT_FALSE(toolDialogOpened);
  EXPECT_EQ(endCode, 2);
  EXPECT_EQ(g_machiningCount, 0);  // Esc discards the working definition
}

}  // namespace
}  // namespace dorn::test

namespace dorn::test {
namespace {

// The helical relations as typed, the deep hole's absolute values, and a
// hole figure chosen in the combo keeps its own Z values.
TEST_F(HoleDefinitionTest, HelicalAndDeepHoleFields) {
  const int first = AddHoleGroup(711);
  const int second = AddHoleGroup(712);
  g_curveTable[static_cast<std::size_t>(second)].topZ = -7.0;
  backend().WhenDialogOpens(kHelicalHoleDialogId, [second](DialogDriver& d) {
    namespace c = single_hole_ctl;
    auto type = [&d](int id, const char* text) {
      ASSERT_TRUE(d.Focus(id));
      ASSERT_TRUE(d.Type(id, text));
    };
    type(c::kHelicalDiameter, "10");
    type(c::kHoleDiameter, "20");
    type(c::kSlopeAngle, "1");
    type(c::kHelicalCorner, "9");  // more than half the diameter
    ASSERT_TRUE(d.Focus(c::kIPoint));
    EXPECT_DOUBLE_EQ(g_curMachiningDef.steps[0].bottomZStock, 0.548);
    EXPECT_FLOAT_EQ(g_curMachiningDef.stepTools[0].cornerRadius, 5.0f);
    EXPECT_FLOAT_EQ(g_curMachiningDef.stepTools[0].flatRadius, 0.0f);
    ASSERT_TRUE(d.Click(c::kG41));
    EXPECT_NEAR(g_curMachiningDef.steps[0].bottomZStock, 1.0968, 1e-4);
    type(c::kCutPerRevolution, "0");
    ASSERT_TRUE(d.Focus(c::kIPoint));
    EXPECT_DOUBLE_EQ(g_curMachiningDef.stepTools[0].pCode, 360.0f);
    // Another curve is the current curve record when the figure is chosen.
    LoadCurveEntry(second);
    ASSERT_TRUE(d.Select(c::kFigures, 0));
    ASSERT_TRUE(d.dialog().UserCommand(c::kMenuStore));
  });
  g_curveTable[static_cast<std::size_t>(first)].topZ = 0.0;
  RunMachiningCommand(define_cmd::kHelicalHole);
  g_multiPickFlag = 0;
  PickCurve(first);
  ASSERT_TRUE(backend().Problems().empty()) << backend().Problems().front();
  EXPECT_DOUBLE_EQ(g_curveTable[static_cast<std::size_t>(first)].topZ, 0.0);
  EXPECT_EQ(g_curveTable[static_cast<std::size_t>(first)].flags, 0xB880);  // stamped on store too
  GetFigure(kTableCurves, g_curveTable[static_cast<std::size_t>(first)].first);
  EXPECT_DOUBLE_EQ(g_curFigure.radius, 10.0);

  backend().WhenDialogOpens(kDeepHoleDialogId, [](DialogDriver& d) {
    namespace c = single_hole_ctl;
    ASSERT_TRUE(d.Focus(c::kFastCut));
    ASSERT_TRUE(d.Type(c::kFastCut, "-5"));
    ASSERT_TRUE(d.Focus(c::kTopCut));
    ASSERT_TRUE(d.Type(c::kTopCut, "-2"));
    ASSERT_TRUE(d.dialog().UserCommand(c::kMenuStore));
  });
  RunMachiningCommand(define_cmd::kDeepHole);
  PickCurve(second);
  ASSERT_TRUE(backend().Problems().empty()) << backend().Problems().front();
  ASSERT_EQ(g_machiningCount, 2);
  const AtcRecord& tool = document().definitions.Slot(1).stepTools[0];
  EXPECT_FLOAT_EQ(tool.pCode, 5.0f);
  EXPECT_FLOAT_EQ(tool.peckDepth, 2.0f);
  EXPECT_EQ(g_curveTable[static_cast<std::size_t>(second)].flags, 0x80);  // the deep hole stamps nothing
  EXPECT_DOUBLE_EQ(g_curveTable[static_cast<std::size_t>(second)].topZ, -7.0);
}

}  // namespace
}  // namespace dorn::test
