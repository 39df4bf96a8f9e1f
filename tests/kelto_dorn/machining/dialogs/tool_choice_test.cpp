// The tool choice of a step: the names and rows a kind is offered, the copy
// into the step, and the refusals.
#include <functional>

#include <gtest/gtest.h>

#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/dialogs/tool_select_dialog.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/step_operations.h"
#include "kelto_dorn/tooldb/atc_list.h"
#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;

class ToolChoiceTest : public DefinitionFlowTest {
 protected:
  void SetUp() override {
    DefinitionFlowTest::SetUp();
    WriteMachine({{"ENDMILL", "EM10", 10.0f},
                  {"ENDMILL", "EM8", 8.0f},
                  {"CHAMFER", "CH90", 10.0f, 0.0f, 90.0f, 5.0f},
                  {"DRILL", "DR8.5", 8.5f, 0.0f, 118.0f, 2.5f, 0, 81},
                  {"DRILL", "DR5", 5.0f, 0.0f, 118.0f, 1.5f, 0, 81},
                  {"TAP", "M6", 6.0f, 0.0f, 0.0f, 1.0f, 0, 84}});
    ResetMachiningRecord(document().atc);
    g_curStepIndex = 0;
  }
  // What the dialog offers for a kind: the names, the chosen name and the list.
  struct Offer {
    std::vector<std::string> names;
    std::string chosen;
    int lines = 0;
  };
  Offer OfferFor(int kind) {
    g_curMachiningDef.kind = kind;
    Offer offer;
    backend().WhenDialogOpens(kToolSelectDialogId, [&offer](DialogDriver& d) {
      for (int i = 0; i < d.dialog().GetCount(tool_select_ctl::kToolName); ++i)
        offer.names.push_back(d.dialog().GetItemText(tool_select_ctl::kToolName, i));
      offer.chosen = d.dialog().GetText(tool_select_ctl::kToolName);
      offer.lines = d.dialog().GetCount(tool_select_ctl::kList);
      d.PressEscape();
    });
    CToolSelectDlg dialog(document().atc);
    EXPECT_EQ(RunModalDialog(dialog), platform::kIdCancel);
    return offer;
  }
};

TEST_F(ToolChoiceTest, EachKindIsOfferedTheToolsItCanUse) {
  struct Case {
    const char* name;
    int kind;
    std::vector<std::string> names;
    std::string chosen;
    int lines;
  };
  const Case cases[] = {
      {"contour", 0xA000, {"ENDMILL", "CHAMFER"}, "ENDMILL", 2},
      {"two-axis wire", 0xC100, {"ENDMILL", "CHAMFER"}, "CHAMFER", 1},
      {"hole", 0xB400, {"DRILL", "TAP"}, "TAP", 1},
      {"deep hole", 0xBC00, {"ENDMILL", "CHAMFER", "DRILL", "TAP"}, "TAP", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Offer offer = OfferFor(c.kind);
    EXPECT_EQ(offer.names, c.names);
    EXPECT_EQ(offer.chosen, c.chosen);
    EXPECT_EQ(offer.lines, c.lines);
  }
  // A step that has a tool proposes its name.
  platform::SetFieldText(g_curMachiningDef.stepTools[0].toolName, "DRILL");
  EXPECT_EQ(OfferFor(0xBC00).lines, 2);
}

TEST_F(ToolChoiceTest, TheDiameterFilterNarrowsTheList) {
  g_curMachiningDef.kind = 0xA000;
  backend().WhenDialogOpens(kToolSelectDialogId, [](DialogDriver& d) {
    ASSERT_EQ(d.dialog().GetCount(tool_select_ctl::kList), 2);
    d.Type(tool_select_ctl::kDiameter, "8");
    d.PressEnter();
    EXPECT_EQ(d.dialog().GetCount(tool_select_ctl::kList), 1);
    EXPECT_NE(d.dialog().GetItemText(tool_select_ctl::kList, 0).find("EM8"), std::string::npos);
    d.PressEscape();
  });
  CToolSelectDlg dialog(document().atc);
  RunModalDialog(dialog);
}

TEST_F(ToolChoiceTest, TheChosenRowIsCopiedWholeIntoTheStep) {
  g_curMachiningDef.kind = 0xA000;
  g_curStepIndex = 1;
  backend().WhenDialogOpens(kToolSelectDialogId, [](DialogDriver& d) {
    d.Click(tool_select_ctl::kOk);  // nothing chosen yet: a message, the dialog stays
    EXPECT_FALSE(d.dialog().HasEnded());
    d.DoubleClick(tool_select_ctl::kList, 1);
  });
  CToolSelectDlg dialog(document().atc);
  EXPECT_EQ(RunModalDialog(dialog), platform::kIdOk);
  ASSERT_EQ(backend().MessageBoxes().size(), 1u);
  const AtcRecord& tool = g_curMachiningDef.stepTools[1];
  EXPECT_EQ(tool.inUse, 1);
  EXPECT_EQ(tool.atcNumber, 2);
  EXPECT_EQ(platform::FieldText(tool.secName), "EM8");
}

TEST_F(ToolChoiceTest, ALineThatNamesNoRowAnymoreTakesNothing) {
  g_curMachiningDef.kind = 0xA000;
  platform::SetFieldText(g_curMachiningDef.stepTools[0].secName, "KEPT");
  backend().WhenDialogOpens(kToolSelectDialogId, [this](DialogDriver& d) {
    d.Select(tool_select_ctl::kList, 0);
    for (int slot = 0; slot < 6; ++slot) document().atc.Record(slot).inUse = 1;  // the tags are gone
    d.Click(tool_select_ctl::kOk);
  });
  CToolSelectDlg dialog(document().atc);
  EXPECT_EQ(RunModalDialog(dialog), platform::kIdCancel);
  EXPECT_EQ(platform::FieldText(g_curMachiningDef.stepTools[0].secName), "KEPT");
}

// With nothing to choose from the choice closes, but says where tools come
// from: the two database commands by their menu names.
TEST_F(ToolChoiceTest, WithoutAMachineOrToolsTheChoiceSaysWhereToolsComeFrom) {
  const std::function<void()> arrangements[] = {
      [] { ResetDbSelection(); },     // no machine chosen
      [this] { WriteMachine({}); },  // a machine whose table holds no tool
  };
  for (const auto& arrange : arrangements) {
    arrange();
    const std::size_t before = ShownTexts().size();
    CToolSelectDlg dialog(document().atc);
    EXPECT_EQ(RunModalDialog(dialog), platform::kIdCancel);
    EXPECT_TRUE(backend().Problems().empty());
    ASSERT_EQ(ShownTexts().size(), before + 1);
    const std::string text = ShownTexts().back();
    EXPECT_NE(text.find("機械別ＡＴＣの登録"), std::string::npos) << text;
    EXPECT_NE(text.find("工具データベース"), std::string::npos) << text;
  }
}

TEST_F(ToolChoiceTest, ToolNamesAreCutAtABlankADotOrPosition61) {
  EXPECT_EQ(ToolNameFromText("   ENDMILL.old"), 0);
  EXPECT_EQ(g_toolNameFilter, "ENDMILL");
  EXPECT_EQ(ToolNameFromText("    "), 4);
  EXPECT_EQ(g_toolNameFilter, "");
  ToolNameFromText(std::string(70, 'A'));
  EXPECT_EQ(g_toolNameFilter.size(), 61u);
}

}  // namespace
}  // namespace dorn::test
