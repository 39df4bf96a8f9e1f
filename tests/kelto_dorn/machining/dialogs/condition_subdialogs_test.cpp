// The condition sub-dialogs of the definition dialogs, driven field by field
// on the working definition: repeat, transforms, area cutting and figure
// resolution, and the finishing-pass settings file.
#include <cstring>
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/dialogs/choice_dialogs.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/machining/definition_resets.h"
#include "kelto_dorn/machining/dialogs/area_cut_dialogs.h"
#include "kelto_dorn/machining/dialogs/centring_dialog.h"
#include "kelto_dorn/machining/dialogs/condition_openers.h"
#include "kelto_dorn/machining/dialogs/finish_pass_dialog.h"
#include "kelto_dorn/machining/dialogs/repeat_dialogs.h"
#include "kelto_dorn/machining/dialogs/time_estimate_dialog.h"
#include "kelto_dorn/machining/dialogs/transform_dialogs.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/machining/repeat_rules.h"
#include "kelto_dorn/machining/step_operations.h"
#include "platform/headless/dialog_driver.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

using platform::Sjis;
using platform::headless::DialogDriver;

class ConditionDialogTest : public DefinitionFlowTest {
 protected:
  void SetUp() override {
    DefinitionFlowTest::SetUp();
    ResetMachiningRecord(document().atc);
    g_curMachiningDef.kind = 0xA000;
    g_curMachiningDef.number = 10000;
    g_curStepIndex = 0;
    EnsureFirstStep(g_curMachiningDef);
  }
  StepCondition& Step() { return g_curMachiningDef.steps[0]; }
};

// A contour step gets a Z repeat 0 / 1.5 / -6 cut to and fro; ZONE figure 1
// asks for a pick, and the reopened dialog flips its direction.
TEST_F(ConditionDialogTest, ContourRepeatFieldByFieldWithAZonePick) {
  const int curve = AddLineCurve(4242, {{0, 0}, {50, 0}});
  (void)curve;
  backend().WhenDialogOpens(kRepeatMachiningDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Click(repeat_ctl::kFirstStyle + repeat_style::kZ));
    ASSERT_TRUE(d.Type(repeat_ctl::kStart, "0"));
    ASSERT_TRUE(d.Type(repeat_ctl::kCut, "1.5"));
    ASSERT_TRUE(d.Type(repeat_ctl::kEnd, "-6"));
    ASSERT_TRUE(d.Click(repeat_ctl::kToAndFro));
    ASSERT_TRUE(d.Click(repeat_ctl::kReverse));
    ASSERT_TRUE(d.Click(repeat_ctl::kZone1));
  });
  ASSERT_TRUE(g_conditionOpeners.repeatMachining);
  EXPECT_EQ(g_conditionOpeners.repeatMachining(), repeat_end::kPickZone1);
  EXPECT_EQ(g_pickTargetIndex, 0);
  Step().zone1Key = 4242;  // where the flow puts the picked curve
  backend().WhenDialogOpens(kRepeatMachiningDialogId, [](DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetText(repeat_ctl::kZone1Name), " CURVE");
    EXPECT_EQ(d.dialog().GetCheck(repeat_ctl::kReverse), 0);
    ASSERT_TRUE(d.Click(repeat_ctl::kZone1Flip));
    ASSERT_TRUE(d.Click(repeat_ctl::kRegister));
  });
  Step().stepMode = 7;
  EXPECT_EQ(g_conditionOpeners.repeatMachining(), 1);
  const StepCondition& s = Step();
  EXPECT_EQ(s.repeat[0].inUse, 1);
  EXPECT_EQ(s.repeat[0].kind, 2);
  EXPECT_EQ(s.repeat[0].first, 0.0);
  EXPECT_EQ(s.repeat[0].second, 1.5);
  EXPECT_EQ(s.repeat[0].third, -6.0);
  EXPECT_EQ(s.word208, 1);
  EXPECT_EQ(s.switch8, 0);
  EXPECT_EQ(s.word32, 0);
  EXPECT_EQ(s.word144, -1);
  EXPECT_EQ(s.stepMode, 0);
  EXPECT_EQ(s.repeat[1].inUse, 0);  // no cut per pass in range 2
}

TEST_F(ConditionDialogTest, RangesWithoutACutAreInactiveUnlessReverseTravelKeepsRangeOne) {
  struct Case {
    double cut1;
    int reverse;
    double cut2;
    int flags1, flags2;
  };
  const Case cases[] = {{0.0, 0, 0.0, 0, 0}, {0.0, 1, 0.0, 1, 0}, {1.0, 0, 2.0, 1, 1}, {0.0, 0, 2.0, 0, 1}};
  for (const Case& c : cases) {
    StepCondition s{};
    s.repeat[0].second = c.cut1;
    s.repeat[1].second = c.cut2;
    s.word32 = c.reverse;
    s.repeat[0].inUse = 0x8001;
    MarkRangesForClose(s, true);
    EXPECT_EQ(s.repeat[0].inUse != 0, c.flags1 != 0) << c.cut1 << " " << c.reverse;
    EXPECT_EQ(s.repeat[1].inUse, c.flags2);
  }
  StepCondition s{};
  s.repeat[1].second = 2.0;
  EXPECT_EQ(OpeningRepeatRange(s), 1);
  std::int32_t zero = 0;
  FlipZoneDirection(zero);
  EXPECT_EQ(zero, -1);
}

// A cancelled centre input keeps the centre; a typed one is taken.
TEST_F(ConditionDialogTest, ScaleCentreIsTakenOnlyFromAConfirmedPointInput) {
  Step().value64 = 7.0;
  Step().value72 = 8.0;
  backend().WhenDialogOpens(kPointInputDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Type(1008, "111"));  // a typed value that is then dropped
    d.PressEscape();
  });
  backend().WhenDialogOpens(kRepeatMachiningDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Click(repeat_ctl::kFirstStyle + repeat_style::kScale));
    EXPECT_EQ(d.dialog().GetText(repeat_ctl::kRangeGroup), Sjis("加工範囲 :: 1～100"));
    d.PressEscape();
  });
  g_conditionOpeners.repeatMachining();
  EXPECT_EQ(Step().value64, 7.0);
  EXPECT_EQ(Step().value72, 8.0);
  EXPECT_EQ(Step().repeat[0].kind, repeat_style::kScale);
}

TEST_F(ConditionDialogTest, TaperRangeDialogRefusesTheUniFigureAndShowsTheRangeFromZero) {
  g_curMachiningDef.kind = 0xDA00;
  g_curCurveRecord.topZ = 0.0;
  g_curCurveRecord.endZ = 12.0;
  Step().repeat[0].kind = repeat_style::kZ;
  backend().WhenDialogOpens(kRepeatRangeDialogId, [](DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetText(repeat_ctl::kRangeGroup), Sjis("加工範囲::0～12.0"));
    EXPECT_FALSE(d.dialog().IsEnabled(repeat_ctl::kOffsetOff));
    ASSERT_TRUE(d.Click(repeat_ctl::kUni));
    EXPECT_FALSE(d.dialog().HasEnded());
    d.PressEscape();
  });
  EXPECT_EQ(g_conditionOpeners.repeatRange(), 2);
}

TEST_F(ConditionDialogTest, MoveMultiPieceRotationAndAxisConversionLandInTheirBlocks) {
  backend().WhenDialogOpens(kMoveDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Click(transform_ctl::kTranslate));
    EXPECT_EQ(d.dialog().GetText(transform_ctl::kLabel1), "dX");
    ASSERT_TRUE(d.Type(transform_ctl::kValue1, "10"));
    ASSERT_TRUE(d.Type(transform_ctl::kValue2, "-5"));
    EXPECT_FALSE(d.Focus(transform_ctl::kValue3) && d.dialog().FocusedControl() == transform_ctl::kValue3);
    ASSERT_TRUE(d.Click(transform_ctl::kRegister));
  });
  EXPECT_EQ(g_conditionOpeners.move(), 1);
  const MoveEntry& m = g_curMachiningDef.moveEntries[0];
  EXPECT_EQ(m.word0, 1);
  EXPECT_EQ(m.word4, 1);
  EXPECT_EQ(m.value[0], 10.0);
  EXPECT_EQ(m.value[1], -5.0);
  EXPECT_EQ(g_curMachiningDef.moveEntries[1].word0, 0);

  backend().WhenDialogOpens(kMultiPieceDialogId, [](DialogDriver& d) {
    EXPECT_FALSE(d.dialog().IsEnabled(transform_ctl::kOptionBsr));  // no check surface
    ASSERT_TRUE(d.Click(transform_ctl::kRotate));
    ASSERT_TRUE(d.Type(transform_ctl::kValue1, "50"));
    ASSERT_TRUE(d.Type(transform_ctl::kValue2, "25"));
    ASSERT_TRUE(d.Type(transform_ctl::kValue3, "90"));
    ASSERT_TRUE(d.Type(transform_ctl::kCount, "4"));
    ASSERT_TRUE(d.Select(transform_ctl::kTabs, 1));
    ASSERT_TRUE(d.Click(transform_ctl::kTranslate));
    ASSERT_TRUE(d.Type(transform_ctl::kValue1, "30"));
    ASSERT_TRUE(d.Click(transform_ctl::kRegister));
  });
  EXPECT_EQ(g_conditionOpeners.multiPiece(), 1);
  const MultiPieceEntry& p = g_curMachiningDef.multiPieceEntries[0];
  EXPECT_EQ(p.word[0], 1);
  EXPECT_EQ(p.word[1], 2);
  EXPECT_EQ(p.word[3], 4);
  EXPECT_EQ(p.value[2], 90.0);
  // The second entry had no count: it is switched off whole.
  EXPECT_EQ(g_curMachiningDef.multiPieceEntries[1].word[0], 0);
  EXPECT_EQ(g_curMachiningDef.multiPieceEntries[1].word[1], 0);

  backend().WhenDialogOpens(kMultiPieceDialogId, [](DialogDriver& d) { ASSERT_TRUE(d.Click(transform_ctl::kMirror)); });
  EXPECT_EQ(g_conditionOpeners.multiPiece(), transform_end::kPickMultiPieceMirror);
  EXPECT_EQ(g_pickTargetIndex, 0);

  backend().WhenDialogOpens(kRotationDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Click(transform_ctl::kTranslate));  // Ｘ_ＲＯＴ
    EXPECT_EQ(d.dialog().GetText(transform_ctl::kLabel1), "C[Y]");
    EXPECT_EQ(d.dialog().GetText(transform_ctl::kLabel2), "C[Z]");
    ASSERT_TRUE(d.Click(transform_ctl::kMirror));  // Ｚ_ＲＯＴ
    ASSERT_TRUE(d.Type(transform_ctl::kValue3, "30"));
    d.PressEscape();  // Esc registers as 登録 does
  });
  EXPECT_EQ(g_conditionOpeners.rotation(), 1);
  EXPECT_EQ(g_curMachiningDef.rotations[0].active, 1);
  EXPECT_EQ(g_curMachiningDef.rotations[0].axis, 1);
  EXPECT_EQ(g_curMachiningDef.rotations[0].angle, 30.0);

  backend().WhenDialogOpens(kAxisConversionDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Click(transform_ctl::kXZ));
    ASSERT_TRUE(d.Click(transform_ctl::kRegister));
  });
  EXPECT_EQ(g_conditionOpeners.axisConversion(), 1);
  EXPECT_EQ(g_curMachiningDef.general16[3], 2);
}

// Opened on corner-feed values, shrink starts from 100 % and Cancel leaves
// the corner feed byte for byte.
TEST_F(ConditionDialogTest, ShrinkStartsFromFullScaleOnCornerFeedStorageAndCancelRestores) {
  g_curMachiningDef.cornerSwitch = 4096;
  g_curMachiningDef.cornerDistance = 2.5;
  g_curMachiningDef.cornerRate = 60.0;
  auto before = std::make_unique<MachiningDefinition>(g_curMachiningDef);
  backend().WhenDialogOpens(kShrinkDialogId, [](DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetText(transform_ctl::kValue1), " 100.0");
    ASSERT_TRUE(d.Type(transform_ctl::kValue1, "50"));
    ASSERT_TRUE(d.Focus(transform_ctl::kValue2));
    EXPECT_EQ(g_curMachiningDef.cornerSwitch, 1);
    d.PressEscape();
  });
  EXPECT_EQ(g_conditionOpeners.shrink(), 2);
  EXPECT_EQ(std::memcmp(before.get(), &g_curMachiningDef, sizeof(MachiningDefinition)), 0);

  backend().WhenDialogOpens(kShrinkDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Type(transform_ctl::kValue1, "0"));
    ASSERT_TRUE(d.Type(transform_ctl::kValue2, "0"));
    ASSERT_TRUE(d.Type(transform_ctl::kValue3, "0"));
    ASSERT_TRUE(d.Click(transform_ctl::kRegister));
  });
  EXPECT_EQ(g_conditionOpeners.shrink(), 1);
  EXPECT_EQ(g_curMachiningDef.cornerSwitch, 0);
}

// Cancel of area cutting on a plain step gives back every byte the opening
// cleared.
TEST_F(ConditionDialogTest, AreaCutCancelLeavesThePlainStepByteIdentical) {
  StepCondition& s = Step();
  s.repeat[0] = RepeatBlock{1, 10002, 0, 2, 0.0, 1.5, -6.0};
  s.word152 = 3;
  s.word208 = 1;
  s.switch8 = 1;
  s.value216 = 120.0;
  const StepCondition before = s;
  backend().WhenDialogOpens(kAreaCutDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Type(area_cut_ctl::kPick, "3"));
    ASSERT_TRUE(d.Type(area_cut_ctl::kFeed, "99"));
    ASSERT_TRUE(d.Click(area_cut_ctl::kCancel));
  });
  EXPECT_EQ(g_conditionOpeners.areaCut(), 2);
  EXPECT_EQ(std::memcmp(&before, &s, sizeof s), 0);

  backend().WhenDialogOpens(kAreaCutDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Type(area_cut_ctl::kPick, "3"));
    ASSERT_TRUE(d.Type(area_cut_ctl::kCut, "2"));
    ASSERT_TRUE(d.Click(area_cut_ctl::kRegister));
  });
  EXPECT_EQ(g_conditionOpeners.areaCut(), 1);
  EXPECT_EQ(s.stepMode, 1);
  EXPECT_EQ(s.areaCutValue, 3.0);
  EXPECT_EQ(s.repeat[1].inUse, 4);
  EXPECT_EQ(s.repeat[1].kind, 2);
  EXPECT_EQ(s.repeat[0].escapeStamp, 0);  // the opening cleared the plain pass's blocks
}

TEST_F(ConditionDialogTest, FigureResolutionTakesMagnitudesWithLowerLimitsAndHolesHaveNoFixSplit) {
  struct Case {
    const char* typed;
    double stored;
  };
  for (const Case& c : {Case{"-0.5", 0.5}, Case{"0.0001", 0.001}}) {
    backend().WhenDialogOpens(kFigureResolutionDialogId, [&c](DialogDriver& d) {
      ASSERT_TRUE(d.Type(resolution_ctl::kStep, c.typed));
      ASSERT_TRUE(d.Click(resolution_ctl::kRegister));
    });
    EXPECT_EQ(g_conditionOpeners.figureResolution(), 1);
    EXPECT_EQ(g_curMachiningDef.value[0], c.stored) << c.typed;
  }
  g_curMachiningDef.kind = 0xB400;
  const double step = g_curMachiningDef.value[0];
  backend().WhenDialogOpens(kFigureResolutionDialogId, [](DialogDriver& d) {
    EXPECT_FALSE(d.Click(resolution_ctl::kOn));
    ASSERT_TRUE(d.Type(resolution_ctl::kStep, "5"));
    d.PressEscape();
  });
  EXPECT_EQ(g_conditionOpeners.figureResolution(), 2);
  EXPECT_EQ(g_curMachiningDef.value[0], step);
}

TEST_F(ConditionDialogTest, FinishPassValuesAreWrittenWholeAndShownRounded) {
  const auto file = platform::ProgramFolder() / kFinishPassFileName;
  {
    CFinishPassInitDlg dialog;
    backend().WhenDialogOpens(kFinishPassDialogId, [](DialogDriver& d) {
      for (int id : {1008, 1029, 1030, 1031, 1065, 1066, 1067, 1068, 1069}) ASSERT_TRUE(d.Type(id, ""));
      d.PressEscape();
    });
    dialog.DoModal();
  }
  ASSERT_EQ(std::filesystem::file_size(file), 80u);
  FinishPassSettings read;
  ASSERT_TRUE(platform::ReadRecord(file, read).ok());
  const FinishPassSettings zero{};
  EXPECT_EQ(std::memcmp(&read, &zero, sizeof zero), 0);

  backend().WhenDialogOpens(kFinishPassDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Click(finish_ctl::kContourBox[1]));
    ASSERT_TRUE(d.Type(finish_ctl::kContourValue[1], "1.23456"));
    ASSERT_TRUE(d.Type(finish_ctl::kExtZ, "abc"));
    d.PressEscape();
  });
  CFinishPassInitDlg second;
  second.DoModal();
  EXPECT_EQ(g_finishPassRecord.flags, 0x4);
  EXPECT_EQ(g_finishPassRecord.contour[1], 1.23456);
  EXPECT_EQ(g_finishPassRecord.extZ, 0.0);
  backend().WhenDialogOpens(kFinishPassDialogId, [](DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetText(finish_ctl::kContourValue[1]), "1.235");
    d.PressEscape();
  });
  CFinishPassInitDlg third;
  third.DoModal();
}

TEST_F(ConditionDialogTest, AFinishPassFileThatCannotBeWrittenIsNamedAndTheValuesStay) {
  std::filesystem::create_directories(platform::ProgramFolder() / kFinishPassFileName / "x");
  backend().WhenDialogOpens(kFinishPassDialogId, [](DialogDriver& d) {
    ASSERT_TRUE(d.Type(finish_ctl::kBottomValue[0], "0.2"));
    d.PressEscape();
  });
  CFinishPassInitDlg dialog;
  dialog.DoModal();
  EXPECT_EQ(g_finishPassRecord.bottom[0], 0.2);
  ASSERT_EQ(backend().MessageBoxes().size(), 1u);
  EXPECT_NE(backend().MessageBoxes()[0].request.text.find("UrvoOikomi"), std::string::npos);
}

// Work 200 x 100 with the origin code 1 (upper right): corner 3 and the
// offsets to the work centre; a post outside 0-2 is read as 0; the saved
// file holds the four records whole.
TEST_F(ConditionDialogTest, CentringTakesTheWorkSettingsAndSavesFourRecords) {
  g_drawingHeader.workSizeX = 200.0;
  g_drawingHeader.workSizeY = 100.0;
  g_drawingHeader.workOriginPosition = 1;
  CentringRecords stored{};
  stored[0].centringKind = 7;
  stored[1].b = 12.5;
  const auto file = platform::ProgramFolder() / handover::kAutoCenteringFileName;
  ASSERT_TRUE(platform::WriteFileAtomic(file, stored.data(), sizeof stored).ok());
  backend().WhenDialogOpens(kAutoCenteringDialogId, [](DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetCheck(centring_ctl::kUpperRight), 1);
    EXPECT_EQ(d.dialog().GetCheck(centring_ctl::kPostStandard), 1);
    EXPECT_EQ(d.dialog().GetText(centring_ctl::kE), " 50.0");
    ASSERT_TRUE(d.Select(centring_ctl::kTabs, 1));
    EXPECT_EQ(d.dialog().GetText(centring_ctl::kB), " 12.5");
    ASSERT_TRUE(d.Click(centring_ctl::kPostSecond));
    ASSERT_TRUE(d.Click(centring_ctl::kRegister));
  });
  CAutoCenteringDlg dialog;
  dialog.DoModal();
  CentringRecords read{};
  ASSERT_TRUE(platform::ReadExact(file, read.data(), sizeof read).ok());
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(read[static_cast<std::size_t>(i)].workNumber, 54 + i);
    EXPECT_EQ(read[static_cast<std::size_t>(i)].centringKind, 2);
    EXPECT_EQ(read[static_cast<std::size_t>(i)].cycleKind, 3);
  }
  EXPECT_EQ(read[0].offsetX, -100.0);
  EXPECT_EQ(read[0].offsetY, -50.0);
  EXPECT_EQ(read[0].sideCode, 1);
  EXPECT_EQ(read[1].b, 12.5);
}

// Without a file the built-in values show; a file of the wrong size is named
// and left until 登　録 replaces it with the four records.
TEST_F(ConditionDialogTest, TimeEstimatesStartBuiltInAndAreWrittenWhole) {
  const auto file = platform::DataRoot() / handover::kMachiningTimeFileName;
  ASSERT_TRUE(platform::WriteFileAtomic(file, "short", 5).ok());
  backend().WhenDialogOpens(kTimeEstimateDialogId, [](DialogDriver& d) {
    EXPECT_EQ(d.dialog().GetText(time_ctl::kFields[3][0]), " 14000");
    EXPECT_EQ(d.dialog().GetText(time_ctl::kFields[1][1]), " 11");
    ASSERT_TRUE(d.Type(time_ctl::kFields[0][0], "9000.7"));
    d.PressEscape();
  });
  CTimeEstimateDlg dialog;
  dialog.DoModal();
  EXPECT_EQ(backend().MessageBoxes().size(), 1u);
  handover::MachiningTimeTable read{};
  ASSERT_TRUE(handover::ReadMachiningTimeTable(file, read).ok());
  EXPECT_EQ(read.records[0].rapidRate, 9000);
  EXPECT_EQ(read.records[3].machineNumber, 4);
  EXPECT_EQ(read.records[2].timeFactor, 1.0);
}

}  // namespace
}  // namespace dorn::test
