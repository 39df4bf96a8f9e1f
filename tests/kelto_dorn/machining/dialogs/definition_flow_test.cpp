// The definition flow driven by picks and scripted end codes of the shared
// definition dialog.
#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/machining/definition_flow.h"
#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/machining/dialogs/definition_frame_dialog.h"
#include "kelto_dorn/dialogs/choice_dialogs.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/surfaces/surface_state.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "tests/kelto_dorn/machining/dialogs/definition_fixture.h"

namespace dorn::test {
namespace {

using platform::headless::DialogDriver;
constexpr int kContourDialog = 299;
constexpr int kHoleDialog = 309;

class DefinitionFlowCommandTest : public DefinitionFlowTest {
 protected:
  void SetUp() override {
    DefinitionFlowTest::SetUp();
    curve_ = AddLineCurve(601, {{0, 0}, {20, 0}}, 2.0, 7);
  }
  // The next opening of the dialog ends with `code`, after `before` ran.
  void Answer(int templateId, int code, std::function<void()> before = {}) {
    backend().WhenDialogOpens(templateId, [code, before](DialogDriver& d) {
      if (before) before();
      d.dialog().EndDialog(code);
    });
  }
  // A stored contour from one pick.
  void MakeContour() {
    Answer(kContourDialog, define_end::kStore);
    RunMachiningCommand(define_cmd::kContour);
    PickCurve(curve_);
  }
  int Openings(int templateId) {
    int n = 0;
    for (int id : backend().DialogsOpened()) n += id == templateId;
    return n;
  }
  int curve_ = 0;
};

TEST_F(DefinitionFlowCommandTest, AContourIsNumberedAtItsFirstPickAndStored) {
  MakeContour();
  ASSERT_EQ(g_machiningCount, 1);
  const MachiningDefinition& d = document().definitions.Slot(0);
  EXPECT_EQ(d.number, 10000);
  EXPECT_EQ(d.steps[0].depth, 2.0);
  EXPECT_EQ(d.steps[0].endDepth, 2.0);
  EXPECT_EQ(d.steps[0].colour, 8);
  EXPECT_EQ(d.steps[0].repeat[0].kind, 1);
  EXPECT_EQ(d.steps[0].repeat[1].kind, 2);
  EXPECT_EQ(g_definitionEditMode, kEditModeNew);
  EXPECT_TRUE(backend().Problems().empty());
}

TEST_F(DefinitionFlowCommandTest, EndingTheFirstPickOfAContourStartsNoDefinition) {
  RunMachiningCommand(define_cmd::kContour);
  EndPicks();
  EXPECT_EQ(Openings(kContourDialog), 0);
  EXPECT_EQ(g_machiningCount, 0);
  EXPECT_EQ(endedPicks_, std::vector<int>{define_cmd::kContour});
}

TEST_F(DefinitionFlowCommandTest, AHoleWhosePicksEndWithoutAHoleIsNumberedBeforeItsDialog) {
  int numberSeen = -1;
  Answer(kHoleDialog, define_end::kStore, [&] { numberSeen = g_curMachiningDef.number; });
  RunMachiningCommand(define_cmd::kHole);
  EXPECT_EQ(prompts_.back(), 926);
  EndPicks();
  EXPECT_EQ(numberSeen, 10000);
  ASSERT_EQ(g_machiningCount, 1);
  EXPECT_EQ(platform::Cp932ToUtf8(platform::FieldText(g_machiningIndexTable.records[0].name)), "穴加工_10000");
}

TEST_F(DefinitionFlowCommandTest, CancelStoresNothingButSavesTheDrawing) {
  Answer(kContourDialog, define_end::kCancel);
  RunMachiningCommand(define_cmd::kContour);
  PickCurve(curve_);
  EXPECT_EQ(g_machiningCount, 0);
  EXPECT_TRUE(std::filesystem::exists(home() / "SAMPLE" / "PGM" / "SEG" / "TEST.KWD"));
}

TEST_F(DefinitionFlowCommandTest, DrawPicksFillTheSlotsUpTo146AndThenReopenTheDialog) {
  Answer(kContourDialog, 910, [] { g_pickTargetIndex = 131; });
  RunMachiningCommand(define_cmd::kContour);
  PickCurve(curve_);
  EXPECT_EQ(prompts_.back(), 910);
  Answer(kContourDialog, define_end::kStore);
  for (int slot = 131; slot <= 146; ++slot) {
    ASSERT_EQ(Openings(kContourDialog), 1) << slot;
    PickCurve(curve_);
  }
  EXPECT_EQ(Openings(kContourDialog), 2);
  ASSERT_EQ(g_machiningCount, 1);
  const MachiningDefinition& d = document().definitions.Slot(0);
  for (int slot = 131; slot <= 146; ++slot) EXPECT_EQ(d.figures[slot].figureKey, 601) << slot;
  EXPECT_EQ(d.figures[147].figureKey, 0);
}

TEST_F(DefinitionFlowCommandTest, AnOmitChainEndsAfterItsLastRowAndKeepsTheSpareEntryEmpty) {
  Answer(kContourDialog, 510, [] { g_pickTargetIndex = 0; });
  RunMachiningCommand(define_cmd::kContour);
  PickCurve(curve_);
  EXPECT_EQ(prompts_.back(), 936);
  Answer(kContourDialog, define_end::kStore);
  for (int row = 0; row < 128; ++row) {
    ASSERT_EQ(Openings(kContourDialog), 1) << row;
    PickCurve(curve_);
  }
  EXPECT_EQ(Openings(kContourDialog), 2);
  const MachiningDefinition& d = document().definitions.Slot(0);
  EXPECT_EQ(d.figures[127].figureKey, 601);
  EXPECT_EQ(d.figures[128].figureKey, 0);
}

TEST_F(DefinitionFlowCommandTest, AChainOfCurvesStopsGrowingAtItem78) {
  Answer(kContourDialog, 111, [] { g_curContourItem = 1; });
  RunMachiningCommand(define_cmd::kContour);
  PickCurve(curve_);
  Answer(kContourDialog, define_end::kStore);
  for (int item = 1; item <= 78; ++item) {
    ASSERT_EQ(Openings(kContourDialog), 1) << item;
    PickCurve(curve_);
  }
  EXPECT_EQ(Openings(kContourDialog), 2);
  const MachiningDefinition& d = document().definitions.Slot(0);
  EXPECT_EQ(d.curves[78].key, 601);
  EXPECT_EQ(d.curves[79].key, 0);
}

// Store and move: past either end the move ends and the list is asked for;
// in between the neighbour opens for editing and is stored into its slot.
TEST_F(DefinitionFlowCommandTest, StoreAndMoveEditsTheNeighbourOrEndsAtEitherEnd) {
  struct Case {
    const char* name;
    int code;
  };
  for (const Case& c : {Case{"previous at slot 0", define_end::kStorePrevious},
                        Case{"next at the last", define_end::kStoreNext}}) {
    SCOPED_TRACE(c.name);
    const int before = g_machiningCount;
    Answer(kContourDialog, c.code);
    RunMachiningCommand(define_cmd::kContour);
    PickCurve(curve_);
    EXPECT_EQ(g_machiningCount, before + 1);
    EXPECT_EQ(g_returnCommand, define_cmd::kDefinitionList);
    if (c.code == define_end::kStorePrevious) {
      // The first definition has no previous one.
      EXPECT_EQ(Openings(kContourDialog), 1);
    }
  }
  // A third definition stored with "previous" opens slot 1 for editing.
  std::string title;
  Answer(kContourDialog, define_end::kStorePrevious);
  backend().WhenDialogOpens(kContourDialog, [&title](DialogDriver& d) {
    title = platform::Cp932ToUtf8(d.dialog().Title());
    g_curMachiningDef.steps[0].contourStock = 0.25;
    d.dialog().EndDialog(define_end::kStore);
  });
  RunMachiningCommand(define_cmd::kContour);
  PickCurve(curve_);
  EXPECT_EQ(g_machiningCount, 3);
  EXPECT_NE(title.find("[ 2/3 ]"), std::string::npos) << title;
  EXPECT_EQ(document().definitions.Slot(1).steps[0].contourStock, 0.25);
  EXPECT_EQ(document().definitions.Slot(1).number, 11000);
}

TEST_F(DefinitionFlowCommandTest, At512DefinitionsANewOneIsRefusedAtOnceAndReEditsStore) {
  MakeContour();
  const MachiningDefinition first = document().definitions.Slot(0);
  for (int i = 1; i < kMachiningSlotCount; ++i) {
    document().definitions.Slot(i) = first;
    g_machiningIndexTable.records[i] = g_machiningIndexTable.records[0];
    g_machiningIndexTable.records[i].key = 10000 + 1000 * i;
  }
  g_machiningCount = kMachiningSlotCount;
  prompts_.clear();

  RunMachiningCommand(define_cmd::kContour);
  EXPECT_TRUE(prompts_.empty() || prompts_.back() != 922);
  ASSERT_EQ(backend().MessageBoxes().size(), 1u);
  EXPECT_EQ(g_machiningCount, kMachiningSlotCount);

  // Re-editing slot 5 stores there, with no message.
  Answer(kContourDialog, define_end::kStore, [] { g_curMachiningDef.steps[0].contourStock = 0.5; });
  g_curDefinitionSlot = 5;
  GetMachiningDefinition(document().definitions, 5, document().atc);
  g_definitionEditMode = kEditModeStoredSlot;
  g_curCommand = define_cmd::kContour;
  EditMachiningDefinition(5);
  EXPECT_EQ(backend().MessageBoxes().size(), 1u);
  EXPECT_EQ(document().definitions.Slot(5).steps[0].contourStock, 0.5);
  EXPECT_EQ(g_machiningCount, kMachiningSlotCount);
}

TEST_F(DefinitionFlowCommandTest, AZonePickLandsInTheCurrentStepAndTheDialogResumes) {
  Answer(kContourDialog, 120);
  RunMachiningCommand(define_cmd::kContour);
  PickCurve(curve_);
  EXPECT_EQ(prompts_.back(), 934);
  EXPECT_EQ(g_definitionPickStep, 3);
  int resume = 0;
  Answer(kContourDialog, define_end::kStore, [&resume] { resume = g_pickResumeCode; });
  PickCurve(curve_);
  EXPECT_EQ(resume, 120);
  EXPECT_EQ(document().definitions.Slot(0).steps[0].zone1Key, 601);
}

// --- the wire ---------------------------------------------------------------------

class WireFlowTest : public DefinitionFlowCommandTest {
 protected:
  void SetUp() override {
    DefinitionFlowCommandTest::SetUp();
    base2_ = AddLineCurve(602, {{0, 10}, {20, 10}}, 0.0, 5);
    for (int i = 0; i < 31; ++i) ribs_.push_back(AddLineCurve(700 + i, {{5.0 + i, 0}, {5.0 + i, 10}}));
  }
  // The next point input gets x and y typed and 登録, or Esc; its title is kept.
  void TypePoint(const char* x, const char* y) {
    backend().WhenDialogOpens(kPointInputDialogId, [this, x, y](DialogDriver& d) {
      titles_.push_back(platform::Cp932ToUtf8(d.dialog().Title()));
      ASSERT_TRUE(d.Type(1008, x));
      ASSERT_TRUE(d.Type(1029, y));
      d.Click(1000);
    });
  }
  void CancelPoint() {
    backend().WhenDialogOpens(kPointInputDialogId, [this](DialogDriver& d) {
      titles_.push_back(platform::Cp932ToUtf8(d.dialog().Title()));
      d.PressEscape();
    });
  }
  // Base line 1, base line 2, start (10, 20) and end (30, 40): the dialog opens.
  void MakeFourAxisWire(int code) {
    Answer(kContourDialog, code);
    RunMachiningCommand(define_cmd::kWire);
    PickCurve(curve_);
    TypePoint("10", "20");
    TypePoint("30", "40");
    PickCurve(base2_);
  }
  int base2_ = 0;
  std::vector<int> ribs_;
  std::vector<std::string> titles_;
};

TEST_F(WireFlowTest, TwoBaseLinesAndBothPointsMakeAFourAxisWireWithItsSurface) {
  RunMachiningCommand(define_cmd::kWire);
  EXPECT_EQ(prompts_.back(), 920);
  Answer(kContourDialog, define_end::kStore);
  PickCurve(curve_);
  EXPECT_EQ(prompts_.back(), 930);
  EXPECT_EQ(Openings(kContourDialog), 0);
  TypePoint("10", "20");
  TypePoint("30", "40");
  PickCurve(base2_);
  EXPECT_EQ(titles_, (std::vector<std::string>{"  [ ワイヤー加工 ] : 開始点を入力して下さい ",
                                               "  [ ワイヤー加工 ] : 終了点を入力して下さい "}));
  ASSERT_EQ(g_machiningCount, 1);
  const MachiningDefinition& d = document().definitions.Slot(0);
  EXPECT_EQ(d.kind, static_cast<std::int32_t>(MachiningKind::FourAxisWire));
  EXPECT_EQ(d.number, 10000);
  EXPECT_EQ((std::array{d.value[3], d.value[4]}), (std::array{10.0, 20.0}));
  EXPECT_EQ((std::array{d.steps[0].value272, d.steps[0].value280}), (std::array{10.0, 20.0}));
  EXPECT_EQ((std::array{d.steps[0].value312, d.steps[0].value320}), (std::array{30.0, 40.0}));
  EXPECT_EQ(d.steps[0].value264, g_machiningDefaults.wireDivision);
  EXPECT_EQ(d.steps[0].contourStock, g_machiningDefaults.wireStock);
  // The surface is stored with the definition and named by its own key.
  ASSERT_EQ(g_surfaceIndexTable.count, 1);
  EXPECT_EQ(g_surfaceIndexTable.records[0].key, 4000);
  EXPECT_EQ(platform::FieldText(g_surfaceIndexTable.records[0].name), "WIRE_4000");
  EXPECT_EQ(d.curves[0].key, 4000);
  const SurfaceDefinition& surface = g_surfaceSlots[0];
  EXPECT_EQ(surface.kind, static_cast<std::int32_t>(SurfaceKind::Wire4));
  EXPECT_EQ(surface.baseLine1, 601);
  EXPECT_EQ(surface.baseLine2, 602);
  EXPECT_EQ(surface.curvesB[0], kNoCurveKey);
  EXPECT_EQ(platform::Cp932ToUtf8(platform::FieldText(g_machiningIndexTable.records[0].name)), "４軸ワイヤー_10000");
}

TEST_F(WireFlowTest, SkippingTheSecondBaseLineMakesATwoAxisWireWithoutASurface) {
  Answer(kContourDialog, define_end::kStore);
  RunMachiningCommand(define_cmd::kWire);
  PickCurve(curve_);
  TypePoint("1", "2");
  TypePoint("3", "4");
  EndPicks();
  ASSERT_EQ(g_machiningCount, 1);
  const MachiningDefinition& d = document().definitions.Slot(0);
  EXPECT_EQ(d.kind, static_cast<std::int32_t>(MachiningKind::TwoAxisWire));
  EXPECT_EQ(d.curves[0].key, 601);
  EXPECT_EQ(d.steps[0].endDepth, d.zOrigin);
  EXPECT_EQ(g_surfaceIndexTable.count, 0);
  EXPECT_EQ(platform::Cp932ToUtf8(platform::FieldText(g_machiningIndexTable.records[0].name)), "２軸ワイヤー_10000");
}

// A cancelled start or end point leaves the wire unnumbered and asks for base
// line 2 again, from where both points are asked anew.
TEST_F(WireFlowTest, ACancelledPointGoesBackToTheSecondBaseLine) {
  Answer(kContourDialog, define_end::kStore);
  RunMachiningCommand(define_cmd::kWire);
  PickCurve(curve_);
  CancelPoint();
  PickCurve(base2_);
  EXPECT_EQ(prompts_.back(), 930);
  EXPECT_EQ(g_definitionPickCount, 0);
  TypePoint("10", "20");
  CancelPoint();
  PickCurve(base2_);
  EXPECT_EQ(prompts_.back(), 930);
  EXPECT_EQ(g_definitionPickCount, 0);
  EXPECT_EQ(Openings(kContourDialog), 0);
  TypePoint("10", "20");
  TypePoint("30", "40");
  PickCurve(base2_);
  ASSERT_EQ(g_machiningCount, 1);
  EXPECT_EQ(document().definitions.Slot(0).steps[0].value320, 40.0);
  EXPECT_EQ(g_surfaceIndexTable.count, 1) << "one surface, however often base line 2 was picked";
}

// Skipping base line 2 and then cancelling the start point leaves the choice
// open: a second base line picked then makes a four-axis wire after all.
TEST_F(WireFlowTest, ASecondBaseLineAfterACancelledSkipMakesAFourAxisWire) {
  Answer(kContourDialog, define_end::kStore);
  RunMachiningCommand(define_cmd::kWire);
  PickCurve(curve_);
  CancelPoint();
  EndPicks();
  EXPECT_EQ(prompts_.back(), 930);
  TypePoint("10", "20");
  TypePoint("30", "40");
  PickCurve(base2_);
  ASSERT_EQ(g_machiningCount, 1);
  EXPECT_EQ(document().definitions.Slot(0).kind, static_cast<std::int32_t>(MachiningKind::FourAxisWire));
  EXPECT_EQ(document().definitions.Slot(0).curves[0].key, 4000);
  EXPECT_EQ(g_surfaceIndexTable.count, 1);
}

TEST_F(WireFlowTest, RibLinesAreTakenUpToThirtyAndTheDialogReopens) {
  MakeFourAxisWire(500);
  EXPECT_EQ(prompts_.back(), 931);
  Answer(kContourDialog, define_end::kStore);
  for (int i = 0; i < 30; ++i) {
    ASSERT_EQ(Openings(kContourDialog), 1) << i;
    PickCurve(ribs_[static_cast<std::size_t>(i)]);
  }
  EXPECT_EQ(Openings(kContourDialog), 2) << "the 30th RIB line asks for no more";
  ASSERT_EQ(g_surfaceIndexTable.count, 1);
  const SurfaceDefinition& surface = g_surfaceSlots[0];
  for (int i = 0; i < 30; ++i) EXPECT_EQ(surface.curvesB[i], 700 + i) << i;
  EXPECT_EQ(surface.curvesB[30], kNoCurveKey);
}

// A cancelled centre reopens the dialog with the centre as it was; a typed
// one lands in the step and in the surface.
TEST_F(WireFlowTest, TheScaleCentreIsTypedBetweenDialogRoundsAndKeptInTheSurface) {
  Answer(kContourDialog, 600);
  Answer(kContourDialog, 600);
  Answer(kContourDialog, define_end::kStore);
  TypePoint("10", "20");
  TypePoint("30", "40");
  CancelPoint();
  TypePoint("5", "6");
  RunMachiningCommand(define_cmd::kWire);
  PickCurve(curve_);
  PickCurve(base2_);
  EXPECT_EQ(Openings(kContourDialog), 3);
  ASSERT_EQ(titles_.size(), 4u);
  EXPECT_EQ(titles_[3], "  [ ワイヤー加工 ] : スケール中心を入力して下さい ");
  ASSERT_EQ(g_machiningCount, 1);
  const MachiningDefinition& d = document().definitions.Slot(0);
  EXPECT_EQ((std::array{d.steps[0].value64, d.steps[0].value72}), (std::array{5.0, 6.0}));
  EXPECT_EQ((std::array{g_surfaceSlots[0].x[19], g_surfaceSlots[0].y[19]}), (std::array{5.0, 6.0}));
}

// Re-editing a stored four-axis wire works on its stored surface and stores
// it back in its own slot, without a second index record.
TEST_F(WireFlowTest, ReEditingAWireStoresItsSurfaceInItsOwnSlot) {
  MakeFourAxisWire(define_end::kStore);
  ASSERT_EQ(g_surfaceIndexTable.count, 1);
  Answer(kContourDialog, define_end::kStore, [] {
    EXPECT_EQ(g_curSurface.baseLine2, 602) << "the surface was loaded for the dialog";
    g_curSurface.x[19] = 9.0;
  });
  g_curDefinitionSlot = 0;
  GetMachiningDefinition(document().definitions, 0, document().atc);
  g_definitionEditMode = kEditModeStoredSlot;
  g_curCommand = define_cmd::kWire;
  EditMachiningDefinition(0);
  EXPECT_EQ(g_machiningCount, 1);
  EXPECT_EQ(g_surfaceIndexTable.count, 1);
  EXPECT_EQ(g_surfaceIndexTable.records[1].key, 0);
  EXPECT_EQ(g_surfaceSlots[0].x[19], 9.0);
  EXPECT_EQ(g_surfaceSlots[0].baseLine1, 601);
  EXPECT_EQ(document().definitions.Slot(0).curves[0].key, 4000);
}

}  // namespace
}  // namespace dorn::test
