// The definition list command: the lines it shows, and the re-edit, copy,
// delete, row moves and scrolling done through it with scripted picks.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/definition_flow.h"
#include "kelto_dorn/machining/definition_list.h"
#include "kelto_dorn/machining/definition_list_lines.h"
#include "kelto_dorn/machining/definition_list_run.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/camdata/post_list_dialog.h"
#include "kelto_dorn/camdata/process_name_dialog.h"
#include "kelto_dorn/machining/capsule_file.h"
#include "kelto_dorn/machining/dialogs/define_group_dialog.h"
#include "kelto_dorn/machining/dialogs/definition_list_dialog.h"
#include "kelto_dorn/machining/dialogs/machining_commands.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;
namespace ctl = define_list_ctl;
constexpr int kContourDialog = 299;

class DefinitionListCommandTest : public DefinitionFlowTest {
 protected:
  void SetUp() override {
    DefinitionFlowTest::SetUp();
    curve_ = AddLineCurve(601, {{0, 0}, {20, 0}}, 2.0, 7);
  }
  // n stored plane contours on the curve, numbered 1..n and named D1..Dn.
  void Store(int n) {
    for (int i = 0; i < n; ++i) {
      MachiningDefinition& d = document().definitions.Slot(i);
      d.kind = 0xA000;
      d.number = i + 1;
      d.curves[0] = {1, 601};
      d.steps[0].switch0 = 1;
      d.stepTools[0].inUse = 1;
      d.stepTools[0].atcNumber = 3;
      d.stepTools[0].diameter = 6.0f;
      d.stepTools[0].cornerRadius = 1.0f;
      DefinitionIndexRecord& r = g_machiningIndexTable.records[static_cast<std::size_t>(i)];
      r.recordKind = 2;
      r.key = d.number;
      r.slot = i;
      r.kindCode = d.kind;
      platform::SetFieldText(r.name, "D" + std::to_string(i + 1));
    }
    g_machiningCount = n;
  }
  std::vector<int> Numbers() {
    std::vector<int> v;
    for (int i = 0; i < g_machiningCount; ++i) v.push_back(document().definitions.Slot(i).number);
    return v;
  }
  // The list's next opening runs `script` on it.
  void WithList(std::function<void(DialogDriver&)> script) {
    backend().WhenDialogOpens(kDefineListDialogId, std::move(script));
  }
  int curve_ = 0;
};

TEST_F(DefinitionListCommandTest, LinesShowToolAndFigureAndDropItemsOfCurvesThatAreGone) {
  Store(2);
  MachiningDefinition& second = document().definitions.Slot(1);
  second.curves[0] = {1, 999};  // gone
  second.curves[1] = {1, 601};
  MachiningDefinition& first = document().definitions.Slot(0);
  first.curves[1] = {1, 601};
  const std::vector<std::string> lines = DefinitionListLines(document().definitions);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(platform::Cp932ToUtf8(lines[0]).rfind("D1                        1回  ATC#003 工具[   1.0R    0.0F]", 0),
            0u);
  EXPECT_NE(platform::Cp932ToUtf8(lines[0]).find("->2図面"), std::string::npos);
  // The dead first item is dropped from the stored definition.
  EXPECT_EQ(second.curves[0].key, 601);
  EXPECT_EQ(second.curves[1].key, 0);

  second.curves[0] = {1, 999};
  second.curves[1] = {};
  const std::string gone = platform::Cp932ToUtf8(DefinitionListLine(second, g_machiningIndexTable.records[1]));
  EXPECT_EQ(gone.rfind("D2                     図面名が見つかりません ???", 0), 0u);
}

TEST_F(DefinitionListCommandTest, DeletingChosenRowsAsksAndDeletesThemAfterTheListCloses) {
  Store(6);
  WithList([](DialogDriver& d) {
    d.Click(ctl::kDelete);
    d.ToggleSelection(ctl::kList, 1);
    d.ToggleSelection(ctl::kList, 4);
    d.ToggleSelection(ctl::kList, 6);  // "[EOF]" is never taken
    d.Click(ctl::kChoose);
  });
  backend().AnswerMessageBox(platform::kIdYes);
  RunMachiningMenuCommand(define_cmd::kDefinitionList);
  EXPECT_EQ(Numbers(), (std::vector<int>{1, 3, 4, 6}));
  EXPECT_EQ(g_selectionList[0], 1);
  EXPECT_EQ(g_selectionList[2], 0xFFFF);
}

TEST_F(DefinitionListCommandTest, AllInDeleteModeDeletesEveryDefinitionAndCancelNothing) {
  Store(3);
  WithList([](DialogDriver& d) { d.Click(ctl::kCancel); });
  RunMachiningMenuCommand(define_cmd::kDefinitionList);
  EXPECT_EQ(g_machiningCount, 3);

  WithList([](DialogDriver& d) {
    EXPECT_FALSE(d.dialog().IsEnabled(ctl::kAll));
    d.Click(ctl::kDelete);
    d.Click(ctl::kAll);
  });
  backend().AnswerMessageBox(platform::kIdYes);
  RunMachiningMenuCommand(define_cmd::kDefinitionList);
  EXPECT_EQ(g_machiningCount, 0);
  EXPECT_EQ(document().definitions.Slot(0).kind, 0);
}

TEST_F(DefinitionListCommandTest, EditingTheChosenRowStoresIntoItsSlot) {
  Store(3);
  WithList([](DialogDriver& d) {
    d.Select(ctl::kList, 1);
    d.DoubleClick(ctl::kList, 1);
  });
  int numberSeen = 0;
  backend().WhenDialogOpens(kContourDialog, [&](DialogDriver& d) {
    numberSeen = g_curMachiningDef.number;
    g_curMachiningDef.steps[0].contourStock = 0.25;
    d.dialog().EndDialog(define_end::kStore);
  });
  // After the store the list opens again; it is closed.
  WithList([](DialogDriver& d) { d.Click(ctl::kCancel); });
  RunMachiningMenuCommand(define_cmd::kDefinitionList);
  EXPECT_EQ(numberSeen, 2);
  EXPECT_EQ(g_machiningCount, 3);
  EXPECT_EQ(document().definitions.Slot(1).steps[0].contourStock, 0.25);
}

TEST_F(DefinitionListCommandTest, ACopyIsANewDefinitionAtTheEndWithItsOwnNumber) {
  Store(2);
  g_machiningIndexTable.records[0].key = document().definitions.Slot(0).number = 10000;
  g_machiningIndexTable.records[1].key = document().definitions.Slot(1).number = 11000;
  WithList([](DialogDriver& d) {
    d.Click(ctl::kCopy);
    d.Select(ctl::kList, 0);
    d.Click(ctl::kChoose);
  });
  backend().WhenDialogOpens(kContourDialog, [](DialogDriver& d) { d.dialog().EndDialog(define_end::kStore); });
  WithList([](DialogDriver& d) { d.Click(ctl::kCancel); });
  RunMachiningMenuCommand(define_cmd::kDefinitionList);
  ASSERT_EQ(g_machiningCount, 3);
  EXPECT_EQ(document().definitions.Slot(2).number, 12000);
  EXPECT_EQ(g_machiningIndexTable.records[2].key, 12000);
  EXPECT_EQ(document().definitions.Slot(2).curves[0].key, 601);
  EXPECT_EQ(document().definitions.Slot(0).number, 10000);
}

TEST_F(DefinitionListCommandTest, ACopyIntoAFullTableIsRefusedBeforeItsDialogOpens) {
  Store(512);
  WithList([](DialogDriver& d) {
    d.Click(ctl::kCopy);
    d.Select(ctl::kList, 0);
    d.Click(ctl::kChoose);
  });
  RunMachiningMenuCommand(define_cmd::kDefinitionList);
  EXPECT_TRUE(backend().WasShown(platform::Utf8ToCp932(std::string(ErrorCodeText(kErrorMachiningFull)))));
  EXPECT_EQ(std::count(backend().DialogsOpened().begin(), backend().DialogsOpened().end(), kContourDialog), 0);
  EXPECT_EQ(g_machiningCount, 512);
}

TEST_F(DefinitionListCommandTest, RowButtonsMoveTheChosenRowsAndTheTopStaysWithinTheList) {
  Store(20);
  WithList([](DialogDriver& d) {
    auto& list = static_cast<CDefineListDlg&>(d.dialog());
    EXPECT_EQ(d.dialog().GetText(ctl::kFirstRowButton), "No.001");
    d.ToggleSelection(ctl::kList, 6);
    d.ToggleSelection(ctl::kList, 2);
    d.Click(ctl::kFirstRowButton);
    list.OnMouseWheel(ctl::kList, -120);  // a notch towards the user
    EXPECT_EQ(list.TopRow(), 2);
    list.ScrollRows(100);
    EXPECT_EQ(list.TopRow(), 8);  // 12 rows stay shown
    EXPECT_EQ(d.dialog().GetText(ctl::kFirstRowButton + 11), "No.020");
    d.Scroll(ctl::kScroll, -5);
    EXPECT_EQ(list.TopRow(), 0);
    d.Click(ctl::kCancel);
  });
  RunMachiningMenuCommand(define_cmd::kDefinitionList);
  const std::vector<int> numbers = Numbers();
  EXPECT_EQ(std::vector<int>(numbers.begin(), numbers.begin() + 8), (std::vector<int>{7, 3, 1, 2, 4, 5, 6, 8}));
  EXPECT_EQ(g_machiningIndexTable.records[0].key, 7);
}

TEST_F(DefinitionListCommandTest, TheListsMachineChangeRebindsEveryDefinitionsToolsOnYes) {
  WriteMachine({{"ENDMILL", "EM10", 10.0f}});
  Store(2);
  for (int i = 0; i < 2; ++i) {
    AtcRecord& tool = document().definitions.Slot(i).stepTools[0];
    platform::SetFieldText(tool.toolName, "ENDMILL");
    platform::SetFieldText(tool.secName, "EM10");
    tool.diameter = 10.0f;
    tool.atcNumber = 9;
  }
  std::string title;
  WithList([&](DialogDriver& d) {
    backend().WhenDialogOpens(kPostListDialogId, [](DialogDriver& chooser) {
      chooser.Select(post_list::kList, 0);
      chooser.DoubleClick(post_list::kList, 0);
    });
    backend().AnswerMessageBox(platform::kIdYes);
    d.Click(ctl::kChangeMachine);
    EXPECT_EQ(d.dialog().GetCheck(ctl::kChangeMachine), 0);
    title = platform::Cp932ToUtf8(d.dialog().Title());
    d.Click(ctl::kCancel);
  });
  RunMachiningMenuCommand(define_cmd::kDefinitionList);
  EXPECT_EQ(title, "  ◇ 加工定義の一覧表\t 機械名::MC1");
  EXPECT_EQ(document().definitions.Slot(0).stepTools[0].atcNumber, 1);
  EXPECT_EQ(document().definitions.Slot(1).stepTools[0].atcNumber, 1);
  EXPECT_EQ(platform::FieldText(document().definitions.Slot(1).machineName), "MC1");
}

TEST_F(DefinitionListCommandTest, TheCapsuleButtonExportsEveryDefinitionUnderTheNameGiven) {
  Store(2);
  WithList([&](DialogDriver& d) {
    backend().WhenDialogOpens(kProcessNameDialogId, [](DialogDriver& name) {
      name.Type(process_name_ctl::kFirst, "EXP");
      name.Type(process_name_ctl::kSecond, "A");
      name.Type(process_name_ctl::kThird, "B");
      name.Click(process_name_ctl::kOk);
    });
    d.Click(ctl::kCapsule);
    EXPECT_EQ(d.dialog().GetCheck(ctl::kCapsule), 0);
    d.Click(ctl::kCancel);
  });
  RunMachiningMenuCommand(define_cmd::kDefinitionList);
  EXPECT_EQ(g_lastCapsuleName, "EXP_A_B");
  EXPECT_EQ(std::filesystem::file_size(CapsuleFilePath("EXP_A_B")), 48528u);
}

TEST_F(DefinitionListCommandTest, TheDefinitionMenusSettingsDialogsAreInstalled) {
  EXPECT_TRUE(g_commandEngines.timeEstimateDialog);
  EXPECT_TRUE(g_commandEngines.capsuleNameDialog);
  ASSERT_TRUE(g_commandEngines.definitionGroupDialog);
  std::string shown;
  backend().WhenDialogOpens(kDefineGroupDialogId, [&](DialogDriver& d) {
    d.Type(define_group_ctl::kNames[0], "  GROUP A");
    d.Focus(define_group_ctl::kNames[1]);
    shown = d.dialog().GetText(define_group_ctl::kNames[0]);
    d.Click(define_group_ctl::kRegister);
  });
  EXPECT_EQ(g_commandEngines.definitionGroupDialog(), 1);
  EXPECT_EQ(shown, " GROUP A");
}

}  // namespace
}  // namespace dorn::test
