// Applying a capsule to another drawing: the curves are picked for the first
// definition, the capsule dialog confirms the face and bottom Z, and after
// "OK(輪郭確定）" the following definitions take the same curves and Z
// values without asking; ending the first pick without a curve, or
// cancelling the dialog, drops what the capsule appended.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/machining/capsule_file.h"
#include "kelto_dorn/machining/capsule_flow.h"
#include "kelto_dorn/machining/definition_flow.h"
#include "kelto_dorn/machining/dialogs/capsule_machining_dialog.h"
#include "kelto_dorn/machining/dialogs/machining_commands.h"
#include "kelto_dorn/machining/dialogs/process_select_dialog.h"
#include "kelto_dorn/machining/dialogs/definition_list_dialog.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

using platform::Sjis;
using platform::headless::DialogDriver;
namespace ctl = capsule_ctl;

class CapsuleMachiningTest : public DefinitionFlowTest {
 protected:
  void SetUp() override {
    DefinitionFlowTest::SetUp();
    AddLineCurve(601, {{0, 0}, {20, 0}}, 0.0, 7);
    // A contour (with a Z repeat) and a hole, saved as the capsule "CAPS".
    const std::int32_t kinds[] = {0xA000, 0xB400};
    const char* names[] = {"輪郭加工_10000", "穴加工_11000"};
    for (int i = 0; i < 2; ++i) {
      MachiningDefinition& d = document().definitions.Slot(i);
      d.kind = kinds[i];
      d.number = 10000 + 1000 * i;
      d.curves[0] = {1, 601};
      d.steps[0].switch0 = 1;
      d.steps[0].depth = 0.0;
      d.steps[0].endDepth = -1.0;
      DefinitionIndexRecord& r = g_machiningIndexTable.records[static_cast<std::size_t>(i)];
      r.recordKind = 2;
      r.key = d.number;
      r.slot = i;
      r.kindCode = d.kind;
      platform::SetFieldText(r.name, Sjis(names[i]));
    }
    document().definitions.Slot(0).steps[0].repeat[1] = {1, 0, 0, 2, 0.0, 1.5, -6.0};
    g_machiningCount = 2;
    ASSERT_TRUE(ExportCapsuleFile(document().definitions, document().atc, "CAPS"));
    // The drawing the capsule is applied to: a curve at Z 5, bottom 0.
    target_ = AddLineCurve(702, {{0, 0}, {0, 30}}, 5.0, 3);
    g_capsuleName = "CAPS";
    // The command binds the document before it loads the capsule.
    g_definitionFlow.definitions = &document().definitions;
    g_definitionFlow.atc = &document().atc;
  }
  int Openings(int templateId) {
    return static_cast<int>(std::count(backend().DialogsOpened().begin(), backend().DialogsOpened().end(), templateId));
  }
  int target_ = 0;
};

TEST_F(CapsuleMachiningTest, ContourConfirmedGivesTheFollowingDefinitionsTheSameCurvesAndZ) {
  std::string faceShown, title;
  backend().WhenDialogOpens(kCapsuleMachiningDialogId, [&](DialogDriver& d) {
    faceShown = d.dialog().GetText(ctl::kFaceZ);
    title = platform::Cp932ToUtf8(d.dialog().Title());
    d.Type(ctl::kFaceZ, "4");
    d.Type(ctl::kBottomZ, "-3");
    d.Click(ctl::kContourConfirmed);
  });
  backend().WhenDialogOpens(kDefineListDialogId, [](DialogDriver& d) { d.Click(define_list_ctl::kCancel); });
  ASSERT_TRUE(LoadCapsule());
  ASSERT_EQ(g_machiningCount, 4);
  EXPECT_EQ(prompts_.back(), 1000);
  PickCurve(target_);
  EXPECT_EQ(prompts_.back(), 1001);
  EndPicks();

  EXPECT_EQ(faceShown, " 5.0");
  EXPECT_EQ(title, "輪郭加工_01");
  EXPECT_EQ(Openings(kCapsuleMachiningDialogId), 1);
  const MachiningDefinition& contour = document().definitions.Slot(2);
  EXPECT_EQ(contour.curves[0].key, 702);
  EXPECT_EQ(contour.curves[1].key, 0);
  EXPECT_EQ(contour.steps[0].depth, 4.0);
  // The Z repeat spans face to bottom, the reference Z is the face.
  EXPECT_EQ(contour.steps[0].endDepth, 4.0);
  EXPECT_EQ(contour.steps[0].repeat[1].first, 4.0);
  EXPECT_EQ(contour.steps[0].repeat[1].third, -3.0);
  const MachiningDefinition& hole = document().definitions.Slot(3);
  EXPECT_EQ(hole.curves[0].key, 702);
  EXPECT_EQ(hole.steps[0].depth, 4.0);
  EXPECT_EQ(hole.steps[0].endDepth, -3.0);
  EXPECT_EQ(hole.holeRPoint, g_machiningDefaults.holeRPoint + 4.0);
  // Keys and numbers agree; the list opens at the end.
  EXPECT_EQ(g_machiningIndexTable.records[3].key, 13000);
  EXPECT_EQ(hole.number, 13000);
  EXPECT_EQ(Openings(kDefineListDialogId), 1);
}

TEST_F(CapsuleMachiningTest, TheMenuCommandChoosesTheCapsuleAndAsksForItsCurves) {
  g_capsuleName.clear();
  std::string offered;
  backend().WhenDialogOpens(kProcessSelectDialogId, [&](DialogDriver& d) {
    offered = d.dialog().GetItemText(process_select_ctl::kFolders, 0);
    d.Select(process_select_ctl::kFolders, 0);
    d.DoubleClick(process_select_ctl::kFolders, 0);
  });
  RunMachiningMenuCommand(define_cmd::kCapsule);
  EXPECT_EQ(offered, "CAPS");
  EXPECT_EQ(g_capsuleName, "CAPS");
  EXPECT_EQ(g_machiningCount, 4);
  EXPECT_EQ(prompts_.back(), 1000);
  EXPECT_EQ(g_pickState, 50);
}

TEST_F(CapsuleMachiningTest, EndingTheFirstPickWithoutACurveDropsTheCapsule) {
  ASSERT_TRUE(LoadCapsule());
  EndPicks();
  EXPECT_EQ(g_machiningCount, 2);
  EXPECT_EQ(g_machiningIndexTable.records[2].key, 0);
  EXPECT_EQ(document().definitions.Slot(2).kind, 0);
  EXPECT_EQ(endedPicks_.back(), define_cmd::kCapsule);
  EXPECT_EQ(Openings(kCapsuleMachiningDialogId), 0);
}

TEST_F(CapsuleMachiningTest, CancelAsksAndNoKeepsTheDialogThenTheNextDefinitionAsksForItsOwnCurves) {
  int questions = 0;
  backend().WhenDialogOpens(kCapsuleMachiningDialogId, [&](DialogDriver& d) {
    backend().AnswerMessageBox(platform::kIdNo);
    d.PressEscape();
    questions = static_cast<int>(backend().MessageBoxes().size());
    EXPECT_FALSE(d.dialog().HasEnded());
    d.Click(ctl::kNext);
  });
  ASSERT_TRUE(LoadCapsule());
  PickCurve(target_);
  EndPicks();
  EXPECT_EQ(questions, 1);
  EXPECT_TRUE(backend().WasShown(Sjis("カプセル加工：CAPS\n取消しますか？")));
  // The hole is not taken over after a plain OK: its curves are asked for.
  EXPECT_EQ(prompts_.back(), 1000);
  EXPECT_EQ(g_capsuleSlot, 3);

  backend().WhenDialogOpens(kCapsuleMachiningDialogId, [&](DialogDriver& d) {
    backend().AnswerMessageBox(platform::kIdYes);
    d.PressEscape();
  });
  PickCurve(target_);
  EndPicks();
  EXPECT_EQ(g_machiningCount, 2);
  EXPECT_EQ(document().definitions.Slot(3).kind, 0);
}

TEST_F(CapsuleMachiningTest, SameCapsuleAgainLoadsItOnceMoreAfterTheLastDefinition) {
  backend().WhenDialogOpens(kCapsuleMachiningDialogId, [](DialogDriver& d) { d.Click(ctl::kSameAgain); });
  ASSERT_TRUE(LoadCapsule());
  PickCurve(target_);
  EndPicks();
  // Both definitions are done; the capsule is appended again, named _02,
  // and its first definition asks for its curves.
  ASSERT_EQ(g_machiningCount, 6);
  EXPECT_EQ(platform::Cp932ToUtf8(platform::FieldText(g_machiningIndexTable.records[4].name)), "輪郭加工_02");
  EXPECT_EQ(g_capsuleSlot, 4);
  EXPECT_EQ(prompts_.back(), 1000);
  EXPECT_EQ(document().definitions.Slot(3).curves[0].key, 702);
  // Ending that pick drops the second copy only.
  EndPicks();
  EXPECT_EQ(g_machiningCount, 4);
}

// The face and bottom Z by kind: every step takes them; holes move their R
// point with the face, and a computed hole end is computed again for step 1
// (never for a step before the first).
TEST_F(CapsuleMachiningTest, FaceAndBottomZAreAppliedByKind) {
  struct Case {
    std::int32_t kind;
    std::int32_t bottomFlag;
    double rPoint;    // expected R point
    double firstEnd;  // expected reference Z of step 1
  };
  const double r = g_machiningDefaults.holeRPoint;
  const Case cases[] = {
      {0xD000, 1, 0.0, -3.0},
      {0xB800, 0, r + 4.0, -3.0},
      {0xB800, 1, r + 4.0, -5.0},  // |through 3| + tip 2
      {0xBC00, 1, r + 4.0, -5.0},  // -(tip 2 + through 3 + global Z 0)
  };
  for (const Case& c : cases) {
    MachiningDefinition& d = g_curMachiningDef;
    d = MachiningDefinition{};
    d.kind = c.kind;
    d.holeThroughAmount = 3.0;
    d.steps[0].bottomFlag = c.bottomFlag;
    d.stepTools[0].tipLength = 2.0f;
    ApplyCapsuleZ(4.0, -3.0);
    SCOPED_TRACE(c.kind);
    EXPECT_EQ(d.steps[0].depth, 4.0);
    EXPECT_EQ(d.steps[11].endDepth, -3.0);
    EXPECT_EQ(d.holeRPoint, c.rPoint);
    EXPECT_EQ(d.steps[0].endDepth, c.firstEnd);
  }
}

// The hole rule: a step deeper than its flute reaches ends at depth - flute
// length; a tool of unknown flute length (0) keeps its bottom rather than
// ending every hole at its face.
TEST_F(CapsuleMachiningTest, TheHoleRuleLimitsAStepToItsFlute) {
  MachiningDefinition& d = g_curMachiningDef;
  d = MachiningDefinition{};
  d.kind = 0xB400;
  d.stepTools[0].fluteLength = 10.0f;
  d.stepTools[0].diameter = 6.0f;
  d.steps[0].bottomZStock = 0.2;
  d.stepTools[1].diameter = 6.0f;
  ApplyCapsuleZ(4.0, -20.0);
  EXPECT_EQ(d.holeRPoint, g_machiningDefaults.holeRPoint + 4.0);
  EXPECT_EQ(d.steps[0].endDepth, -6.0);
  EXPECT_EQ(d.steps[0].bottomZStock, 0.0);
  EXPECT_EQ(d.steps[1].endDepth, -20.0);
}

}  // namespace
}  // namespace dorn::test
