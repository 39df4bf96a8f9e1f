// The step operations of the definition dialogs and the condition
// dialogs, each on the working definition.
#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/dialogs/approach_dialogs.h"
#include "kelto_dorn/machining/dialogs/condition_dialogs.h"
#include "kelto_dorn/machining/dialogs/definition_frame_dialog.h"
#include "kelto_dorn/machining/dialogs/tool_detail_dialog.h"
#include "kelto_dorn/dialogs/choice_dialogs.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/step_operations.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;

class StepPageTest : public DefinitionFlowTest {
 protected:
  void SetUp() override {
    DefinitionFlowTest::SetUp();
    ResetMachiningRecord(document().atc);
    g_curMachiningDef.number = 10000;
    g_curStepIndex = 0;
    EnsureFirstStep(g_curMachiningDef);
  }
  // Steps 0 .. n-1 in use, step k marked by its ATC number k + 1.
  void MakeSteps(int n) {
    for (int k = 0; k < n; ++k) {
      g_curMachiningDef.stepTools[k].inUse = 1;
      g_curMachiningDef.stepTools[k].atcNumber = k + 1;
      g_curMachiningDef.steps[k].colour = 10 + k;
    }
  }
  std::vector<int> AtcNumbers() const {
    std::vector<int> v;
    for (int k = 0; k < kStepCount && g_curMachiningDef.stepTools[k].inUse != 0; ++k)
      v.push_back(g_curMachiningDef.stepTools[k].atcNumber);
    return v;
  }
};

TEST_F(StepPageTest, AddCopiesTheLastStepWithTheNextColourUpToEightSteps) {
  MakeSteps(2);
  MachiningOrderValid = kMachiningOrderUpToDate;
  ASSERT_TRUE(AddProcessStep());
  EXPECT_EQ(g_curStepIndex, 2);
  EXPECT_EQ(AtcNumbers(), (std::vector<int>{1, 2, 2}));
  EXPECT_EQ(g_curMachiningDef.steps[2].colour, 12);
  EXPECT_EQ(MachiningOrderValid, 0);
  MakeSteps(8);
  EXPECT_FALSE(AddProcessStep());
  EXPECT_EQ(CountProcessSteps(g_curMachiningDef), 8);
}

TEST_F(StepPageTest, DeleteMovesTheLaterStepsDownAndClearsTheLastPlace) {
  struct Case {
    int steps, current;
    std::vector<int> left;
    int currentAfter;
  };
  const Case cases[] = {
      {3, 2, {1, 2}, 1},                                           // the last of three
      {3, 1, {1, 3}, 1},                                           // the middle one
      {12, 0, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 0},            // twelve: nothing read past the end
      {12, 11, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.steps << " steps, current " << c.current);
    ResetMachiningRecord(document().atc);
    MakeSteps(c.steps);
    g_curStepIndex = c.current;
    ASSERT_TRUE(DeleteProcessStep());
    EXPECT_EQ(AtcNumbers(), c.left);
    EXPECT_EQ(g_curStepIndex, c.currentAfter);
    EXPECT_EQ(g_curMachiningDef.stepTools[kStepCount - 1].inUse, 0);
  }
  ResetMachiningRecord(document().atc);
  MakeSteps(1);
  EXPECT_FALSE(DeleteProcessStep());
}

TEST_F(StepPageTest, TheDiameterOfAToolWithoutTipLengthFollowsItsRadii) {
  AtcRecord t{};
  t.cornerRadius = 2.0f;
  t.flatRadius = 3.0f;
  ApplyDiameterRule(t);
  EXPECT_EQ(t.diameter, 10.0f);
  AtcRecord none{};
  ApplyDiameterRule(none);
  EXPECT_GT(none.diameter, 0.0f);
  // An end mill given by its diameter alone keeps it.
  AtcRecord plain{};
  plain.diameter = 8.0f;
  ApplyDiameterRule(plain);
  EXPECT_EQ(plain.diameter, 8.0f);
}

TEST_F(StepPageTest, ResetClearsTheSpecialModesAndKeepsTheStamps) {
  StepCondition& s = g_curMachiningDef.steps[0];
  s.approachOn = s.approachKind = s.escapeOn = s.escapeKind = s.compensationOn = 1;
  s.stepMode = 10;
  s.areaCutValue = 2.0;
  s.repeat[1].escapeStamp = 10002;
  s.repeat[0].second = 5.0;
  ResetStepModes();
  EXPECT_EQ(s.approachOn + s.approachKind + s.escapeOn + s.escapeKind + s.compensationOn + s.stepMode, 0);
  EXPECT_EQ(s.areaCutValue, 0.0);
  EXPECT_EQ(s.repeat[0].second, 0.0);
  EXPECT_EQ(s.repeat[1].kind, 2);
  EXPECT_EQ(s.repeat[1].escapeStamp, 10002);
}

TEST_F(StepPageTest, ADuplicateDefinitionNameIsRefused) {
  g_machiningCount = 2;
  platform::SetFieldText(g_machiningIndexTable.records[0].name, "A");
  g_curDefinitionSlot = 1;
  EXPECT_FALSE(CheckDefinitionName("  A"));
  EXPECT_EQ(backend().MessageBoxes().size(), 1u);
  EXPECT_TRUE(CheckDefinitionName("  NEW NAME"));
  EXPECT_EQ(platform::FieldText(g_machiningIndexTable.records[1].name), "NEW_NAME");
}

// --- the approach and escape ---------------------------------------------------------

TEST_F(StepPageTest, ArcApproachTurnsTheEscapeOnAsItsCopyAndOffClearsBoth) {
  backend().WhenDialogOpens(kApproachDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Type(approach_ctl::kAmount, "2.5"));
    ASSERT_TRUE(d.Click(approach_ctl::kArc));
    const StepCondition& s = g_curMachiningDef.steps[0];
    EXPECT_EQ(s.escapeKind, 4);
    EXPECT_EQ(s.value304, 2.5);
    EXPECT_EQ(s.repeat[0].escapeStamp, 10002);
    ASSERT_TRUE(d.Click(approach_ctl::kHelical));
    EXPECT_EQ(s.escapeOn, 0);
    ASSERT_TRUE(d.Click(approach_ctl::kArc));
    ASSERT_TRUE(d.Click(approach_ctl::kOff));
    EXPECT_EQ(s.approachOn + s.escapeOn + s.repeat[0].escapeStamp + s.repeat[1].escapeStamp, 0);
    d.PressEscape();
  });
  backend().WhenDialogOpens(kHelicalApproachDialogId, [](DialogDriver& d) { d.PressEscape(); });
  CApproachDlg dialog;
  EXPECT_EQ(RunModalDialog(dialog), 2);
}

TEST_F(StepPageTest, ACancelledPointInputLeavesTheCentreApproachAsItWas) {
  StepCondition& s = g_curMachiningDef.steps[0];
  s.approachOn = 1;
  s.approachKind = 2;
  s.value272 = 7.0;
  backend().WhenDialogOpens(kPointInputDialogId, [](DialogDriver& d) { d.PressEscape(); });
  backend().WhenDialogOpens(kApproachDialogId, [&s](DialogDriver& d) {
    ASSERT_TRUE(d.Click(approach_ctl::kCentre));
    EXPECT_EQ(s.approachKind, 2);
    EXPECT_EQ(s.value272, 7.0);
    d.Click(approach_ctl::kRegister);
  });
  CApproachDlg dialog;
  RunModalDialog(dialog);
}

TEST_F(StepPageTest, TheEscapeDialogStampsWhenClosedWithEsc) {
  g_curMachiningDef.steps[0].escapeOn = 1;
  g_curMachiningDef.steps[0].escapeKind = 41;
  backend().WhenDialogOpens(kEscapeDialogId, [](DialogDriver& d) {
    for (int id : {escape_ctl::kArc, escape_ctl::kNormal, escape_ctl::kTangent, escape_ctl::kCentre,
                   escape_ctl::kVector, escape_ctl::kNone}) {
      EXPECT_EQ(d.dialog().GetCheck(id), 0) << id;
    }
    d.Type(escape_ctl::kFeed, "120");
    d.PressEscape();
  });
  CEscapeDlg dialog;
  EXPECT_EQ(RunModalDialog(dialog), 1);
  EXPECT_EQ(g_curMachiningDef.steps[0].repeat[1].escapeStamp, 10002);
  EXPECT_EQ(g_curMachiningDef.steps[0].secondFeedCode, 120.0);
}

// --- compensation, corner feed, chamfer ----------------------------------------------------

TEST_F(StepPageTest, CompensationTakesTheToolsDNumberAndCancelRestoresTheSideOnly) {
  g_curMachiningDef.stepTools[0].dCode = 7;
  backend().WhenDialogOpens(kToolCompensationDialogId, [](DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetText(compensation_ctl::kD), " 7");
    d.Click(compensation_ctl::kG42);
    d.Type(compensation_ctl::kD, "12");
    d.Click(compensation_ctl::kCancel);
  });
  CToolCompensationDlg dialog;
  EXPECT_EQ(RunModalDialog(dialog), 2);
  EXPECT_EQ(g_curMachiningDef.steps[0].compensationOn, 0);
  EXPECT_EQ(g_curMachiningDef.steps[0].compensationD, 12);
  EXPECT_EQ(g_curMachiningDef.stepTools[0].dCode, 12);
}

TEST_F(StepPageTest, CornerFeedReplacesTheUnsetRatesAndStoresOnClose) {
  struct Case {
    double rate;
    const char* shown;
  };
  for (const Case& c : {Case{100.0, "50.0"}, Case{99.5, "99.5"}}) {
    g_curMachiningDef.cornerRate = c.rate;
    std::string shown;
    backend().WhenDialogOpens(kCornerFeedDialogId, [&shown](DialogDriver& d) {
      shown = d.dialog().GetText(corner_ctl::kRate);
      d.Click(corner_ctl::kOn);
      d.Click(corner_ctl::kRegister);
    });
    CCornerFeedDlg dialog;
    EXPECT_EQ(RunModalDialog(dialog), 2);
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(g_curMachiningDef.cornerSwitch, kCornerDeceleration);
    EXPECT_EQ(g_lastCornerRate, g_curMachiningDef.cornerRate);
    g_curMachiningDef.cornerSwitch = 0;
  }
}

TEST_F(StepPageTest, ChamferStocksFollowPositionSizeAndTip) {
  struct Case {
    double p, c, tip;
    int ball;
    double stock, bottom;
  };
  const Case cases[] = {
      {2, 1, 4, 0, 1.41421356, -0.41421356},
      {2, 1, 4, 1, 1.41421356, -2.41421356 + (1.41421356 * 2 - 2)},
      {0, 0.5, 0, 0, 0.0, -0.5},
  };
  for (const Case& c : cases) {
    const ChamferStocks r = ComputeChamferStocks(c.p, c.c, c.tip, c.ball);
    EXPECT_NEAR(r.contourStock, c.stock, 1e-6);
    EXPECT_NEAR(r.bottomZStock, c.bottom, 1e-6);
  }
  // Through the dialog the values show with four decimals.
  backend().WhenDialogOpens(kChamferDialogId, [](DialogDriver& d) {
    d.Type(chamfer_ctl::kSize, "1");
    d.Type(chamfer_ctl::kPosition, "2");
    d.Type(chamfer_ctl::kTipDiameter, "4");
    d.PressEnter();
    EXPECT_EQ(d.dialog().GetText(chamfer_ctl::kOffset), " 1.4142");
    EXPECT_EQ(d.dialog().GetText(chamfer_ctl::kTipZ), " -0.4142");
    d.PressEscape();
  });
  CChamferDlg dialog;
  RunModalDialog(dialog);
}

TEST_F(StepPageTest, AChamferClosedWithoutASizeReturnsTheStepToPlainMachining) {
  WriteMachine({{"CHAMFER", "CH90", 10.0f, 0.0f, 90.0f, 5.0f}});
  g_curMachiningDef.stepTools[0] = document().atc.Record(0);
  g_curMachiningDef.kind = 0xA000;
  backend().WhenDialogOpens(kChamferDialogId, [](DialogDriver& d) { d.PressEscape(); });
  backend().WhenDialogOpens(299, [](DialogDriver& d) {
    ASSERT_TRUE(d.dialog().IsEnabled(frame_ctl::kChamfer));
    d.Click(frame_ctl::kChamfer);
    EXPECT_EQ(g_curMachiningDef.steps[0].stepMode, 0);
    EXPECT_EQ(d.dialog().GetCheck(frame_ctl::kChamfer), 0);
    d.Click(frame_ctl::kCancel);
  });
  OpenDefinitionFrame(DefinitionRunner::Contour, document().atc);
  EXPECT_TRUE(backend().Problems().empty());
}

// --- tool details ---------------------------------------------------------------------------

TEST_F(StepPageTest, ToolDetailFieldsKeepAToolEitherRadiusOrPointed) {
  struct Case {
    const char* name;
    int field;
    const char* text;
    float corner, flat, angle, length;
  };
  const Case cases[] = {
      {"R 3", tool_detail_ctl::kCornerRadius, "3", 3, 2, 0, 0},
      {"R 5", tool_detail_ctl::kCornerRadius, "5", 5, 0, 0, 0},
      {"R 6", tool_detail_ctl::kCornerRadius, "6", 5, 0, 0, 0},
      {"F 4", tool_detail_ctl::kFlatRadius, "4", 1, 4, 0, 0},
      {"118 degrees", tool_detail_ctl::kTipAngle, "118", 0, 0, 118, 3.0043f},
      {"tip 3.0043", tool_detail_ctl::kTipLength, "3.0043", 0, 0, 118, 3.0043f},
      {"0.5 degrees", tool_detail_ctl::kTipAngle, "0.5", 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AtcRecord t{};
    t.diameter = 10.0f;
    t.tipAngle = c.field == tool_detail_ctl::kTipAngle && c.angle == 0 ? 90.0f : 0.0f;
    CommitToolDetailField(t, c.field, c.text);
    EXPECT_NEAR(t.cornerRadius, c.corner, 1e-4);
    EXPECT_NEAR(t.flatRadius, c.flat, 1e-4);
    EXPECT_NEAR(t.tipAngle, c.angle, 1e-3);
    EXPECT_NEAR(t.tipLength, c.length, 1e-4);
  }
  AtcRecord t{};
  t.mCode = 8;
  t.postMCode = 30;
  CommitToolDetailField(t, tool_detail_ctl::kMCode, "");
  CommitToolDetailField(t, tool_detail_ctl::kPostM, "");
  EXPECT_EQ(t.mCode, 8);
  EXPECT_EQ(t.postMCode, 0);
}

// Every caption of the tool details is CP932 text the window can show: a
// UTF-8 literal that skipped the conversion reads back as mojibake.
TEST_F(StepPageTest, ToolDetailCaptionsAreShownAsWritten) {
  CToolDetailDlg dialog;
  for (const platform::ControlState& c : dialog.Controls()) {
    const std::string shown = platform::Cp932ToUtf8(c.decl.caption);
    EXPECT_EQ(shown.find("\xEF\xBF\xBD"), std::string::npos) << shown;
    EXPECT_EQ(platform::Utf8ToCp932(shown), c.decl.caption) << shown;
    if (c.decl.id == tool_detail_ctl::kTapTwice) EXPECT_EQ(shown, "G84_2回");
  }
}

}  // namespace
}  // namespace dorn::test

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;

// A kind's dialog that records which sub-dialog the resume would reopen.
class ResumingFrame : public CDefinitionFrameDlg {
 public:
  using CDefinitionFrameDlg::CDefinitionFrameDlg;
  int resumed = 0;

 protected:
  void ResumeSubDialog(int code) override { resumed = code; }
};

TEST_F(StepPageTest, AfterAPickTheFrameResumesTheAskingSubDialogOnItsTimer) {
  struct Case {
    DefinitionRunner runner;
    int code;
    bool timer;
    int resumed;
  };
  const Case cases[] = {
      {DefinitionRunner::Contour, 510, true, 510},
      {DefinitionRunner::Contour, 510 | kResumeNothing, true, 0},
      {DefinitionRunner::Hole, 400, false, 0},
  };
  MakeSteps(2);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    g_pickResumeCode = c.code;
    g_savedStepIndex = 1;
    g_savedRowIndex = 5;
    g_curStepIndex = 0;
    backend().WhenDialogOpens(DefinitionTemplateOf(c.runner), [&c](DialogDriver& d) {
      EXPECT_EQ(d.dialog().HasTimer(kResumeTimerId), c.timer);
      EXPECT_EQ(d.dialog().GetCurSel(frame_ctl::kTabs), 1);  // the step the pick was for
      if (c.timer) d.TickTimer(kResumeTimerId);
      EXPECT_FALSE(d.dialog().HasTimer(kResumeTimerId));
      d.PressEscape();
    });
    ResumingFrame frame(c.runner, document().atc);
    EXPECT_EQ(RunModalDialog(frame), define_end::kCancel);
    EXPECT_EQ(frame.resumed, c.resumed);
  }
}

}  // namespace
}  // namespace dorn::test
