// The curve commands through their engine: registration by automatic
// connection, the curve bookkeeping (store, delete, select by name), the
// transforms and figure edits, and the start-up limit.
#include <cmath>
#include <cstring>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/document/undo.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/dialogs/prompts.h"
#include "kelto_dorn/drawing/candidate_choice.h"
#include "kelto_dorn/drawing/curve_deletion.h"
#include "kelto_dorn/drawing/curve_engine.h"
#include "kelto_dorn/drawing/curve_engines.h"
#include "kelto_dorn/drawing/curve_figure_edits.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/curve_list_dialog.h"
#include "kelto_dorn/drawing/curve_register_dialog.h"
#include "kelto_dorn/drawing/curve_registration.h"
#include "kelto_dorn/drawing/curve_selection.h"
#include "kelto_dorn/drawing/curve_transforms.h"
#include "kelto_dorn/drawing/curve_work_list.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "platform/headless/headless_backend.h"
#include "platform/text.h"
#include "tests/kelto_dorn/drawing/drawing_fixture.h"

namespace dorn {
namespace {

using platform::headless::DialogDriver;
using namespace curve_cmd;

constexpr int kValueEdit = 1008;
constexpr int kXEdit = 1015;
constexpr int kYEdit = 1016;

class CurveCommandsTest : public test::DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    InstallCurveEngines();
    g_commandEngines.showErrorBox = [this](int code) {
      errorBoxes.push_back(code);
      return 0;
    };
    g_joinTolerance = 0.01;
  }

  // A counter-clockwise square of four lines from (x, y), side s.
  static std::vector<FigureRecord> Square(double x, double y, double s) {
    return {Line({x, y}, {x + s, y}), Line({x + s, y}, {x + s, y + s}), Line({x + s, y + s}, {x, y + s}),
            Line({x, y + s}, {x, y})};
  }
  // The square framed by its start and end points, as registered curves are.
  static std::vector<FigureRecord> FramedSquare(double x, double y, double s) {
    std::vector<FigureRecord> f = Square(x, y, s);
    FigureRecord start = Point({x, y});
    start.dir = {1, 0};
    FigureRecord end = Point({x, y});
    end.dir = {0, -1};
    f.insert(f.begin(), start);
    f.push_back(end);
    return f;
  }

  void AnswerRegister() {
    backend().WhenDialogOpens(kCurveRegisterDialogId, [](DialogDriver& d) { d.Click(kCurveRegisterButton); });
  }
  void AnswerValue(const char* text) {
    backend().WhenDialogOpens(kValueInputDialogId, [text](DialogDriver& d) {
      d.Type(kValueEdit, text);
      d.Click(platform::kIdOk);
    });
  }
  void AnswerPoint(const char* x, const char* y) {
    backend().WhenDialogOpens(kPointPickDialogId, [x, y](DialogDriver& d) {
      d.Type(kXEdit, x);
      d.PressEnter();
      d.Type(kYEdit, y);
      d.PressEnter();
    });
  }

  static void Select(std::initializer_list<int> curves) {
    g_selectionList.fill(kNone);
    int i = 0;
    for (int c : curves) g_selectionList[static_cast<std::size_t>(i++)] = c;
    g_curCurveIndex = *curves.begin();
  }

  static std::vector<FigureRecord> FiguresOf(int curve) {
    CurveFigureRange range;
    std::vector<FigureRecord> out;
    if (!GetCurveFigureRange(curve, range)) return out;
    for (int i = range.first; i < range.end; ++i) out.push_back(g_figureStore.Table(kTableCurves)->slot(i));
    return out;
  }

  static double Perimeter(const std::vector<FigureRecord>& figures) {
    double sum = 0.0;
    for (const FigureRecord& f : figures)
      if (f.kind == kKindLine) sum += std::hypot(f.end.x - f.start.x, f.end.y - f.start.y);
    return sum;
  }

  // Every curve's range starts where the previous one ends, and table 90
  // holds exactly their figures.
  static void ExpectContiguous() {
    int expected = 0;
    for (int c = 0; c < g_curveCount; ++c) {
      EXPECT_EQ(g_curveTable[static_cast<std::size_t>(c)].first, expected) << "curve " << c;
      expected = g_curveTable[static_cast<std::size_t>(c)].end;
    }
    EXPECT_EQ(GetFigureCount(kTableCurves), expected);
  }

  std::vector<int> errorBoxes;
};

// --- bookkeeping ------------------------------------------------------------------

TEST_F(CurveCommandsTest, StoringAWorkListGrowsAndShrinksACurveAndPacksTheOthers) {
  AddCurve(Square(0, 0, 10));
  AddCurve(Square(100, 0, 10));
  AddCurve(Square(200, 0, 10));
  g_curCurveIndex = 1;
  CollectCurveFigures(0);
  ASSERT_EQ(g_workCount, 4);
  CopySegment(3, 4);
  CopySegment(3, 5);
  g_workCount = 6;
  ASSERT_TRUE(StoreCurveFigures(0, 0));
  EXPECT_EQ(g_curveTable[1].end - g_curveTable[1].first, 6);
  ExpectContiguous();
  EXPECT_EQ(FiguresOf(2)[0].start.x, 200.0) << "the curve behind was packed, not overwritten";
  g_curCurveIndex = 1;
  g_workCount = 2;
  ASSERT_TRUE(StoreCurveFigures(0, 1));
  EXPECT_EQ(g_curCurveIndex, kNone) << "a re-pack leaves no curve current";
  ExpectContiguous();
  EXPECT_EQ(FiguresOf(2)[3].end.x, 200.0);
}

TEST_F(CurveCommandsTest, DeletingTheMiddleCurveMovesTheWholeRecordDown) {
  AddCurve(Square(0, 0, 10));
  AddCurve(Square(100, 0, 10));
  AddCurve(Square(200, 0, 10));
  // A name longer than 20 bytes whose cut would split a double-byte character.
  const std::string name = platform::Sjis("長い曲線の名前ですね_ABCDEFGH");
  platform::SetFieldText(g_curveTable[2].name, name);
  g_curveTable[2].ipX = 205;
  Select({1});
  EXPECT_EQ(DeleteCurves(nullptr), 1);
  ASSERT_EQ(g_curveCount, 2);
  EXPECT_EQ(std::string(g_curveTable[1].name), name);
  EXPECT_EQ(g_curveTable[1].ipX, 205);
  EXPECT_EQ(g_curveTable[1].key, 30);
  EXPECT_EQ(g_curveTable[2].layer, kCurveEntryEmpty);
  ExpectContiguous();
  EXPECT_EQ(FiguresOf(1)[0].start.x, 200.0);
}

TEST_F(CurveCommandsTest, AnEmptySelectionDeletesNothingAndOnlyTheAllMarkerDeletesEverything) {
  AddCurve(Square(0, 0, 10));
  AddCurve(Square(100, 0, 10));
  AddCurve(Square(200, 0, 10));
  // A box that caught no curve leaves the selection empty and no curve current.
  g_selectionList.fill(kNone);
  g_curCurveIndex = kNone;
  EXPECT_EQ(DeleteCurves(nullptr), 0);
  EXPECT_EQ(g_curveCount, 3);
  // Two of three, in any order, in one pass.
  Select({2, 0});
  EXPECT_EQ(DeleteCurves(nullptr), 2);
  ASSERT_EQ(g_curveCount, 1);
  EXPECT_EQ(FiguresOf(0)[0].start.x, 100.0);
  ExpectContiguous();
  // The curve list's ALL choice.
  g_curveNameBuffers[0][1] = kAllCurvesMarker;
  EXPECT_EQ(SelectCurvesByName(), 1);
  EXPECT_EQ(DeleteCurves(nullptr), 1);
  EXPECT_EQ(g_curveCount, 0);
  EXPECT_EQ(GetFigureCount(kTableCurves), 0);
}

TEST_F(CurveCommandsTest, SelectionByNameFindsTheFirstOfTwoEqualNamesAndTakesItsLayer) {
  AddCurve(Square(0, 0, 10), 0);
  AddCurve(Square(100, 0, 10), 3);
  AddCurve(Square(200, 0, 10), 4);
  platform::SetFieldText(g_curveTable[0].name, "A");
  platform::SetFieldText(g_curveTable[1].name, "B");
  platform::SetFieldText(g_curveTable[2].name, "B");
  platform::SetFieldText(g_curveNameBuffers[0].data(), 64, "B");
  platform::SetFieldText(g_curveNameBuffers[1].data(), 64, "A");
  EXPECT_EQ(SelectCurvesByName(), 2);
  EXPECT_EQ(g_selectionList[0], 1);
  EXPECT_EQ(g_selectionList[1], 0);
  EXPECT_EQ(g_curCurveIndex, 1);
  EXPECT_EQ(g_curLayer, 3);
  EXPECT_EQ(g_curveTable[1].layer, 3) << "the record stays";
  EXPECT_EQ(g_curveNameBuffers[0][0], '\0');
}

TEST_F(CurveCommandsTest, TheCurveListHandsTheChosenNamesToTheRunningCommand) {
  AddCurve(Square(0, 0, 10), 0);
  AddCurve(Square(100, 0, 10), 0);
  AddCurve(Square(200, 0, 10), 2);
  platform::SetFieldText(g_curveTable[0].name, "N_0010");
  platform::SetFieldText(g_curveTable[1].name, "N_0020");
  platform::SetFieldText(g_curveTable[2].name, "N_0030");
  g_curCommand = kDelete;
  const int depth = ModalDepth;
  OnCurveList();
  CCurveListDlg* list = OpenCurveList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ModalDepth, depth + 1) << "the open list counts once";
  EXPECT_EQ(g_curveListOpen, kCurveListOpen);
  EXPECT_TRUE(list->IsEnabled(kCurveListAll));
  EXPECT_EQ(list->GetCount(kCurveListBox), 3) << "one header and the current layer's curves";
  DialogDriver d(*list);
  d.Click(kCurveListAllLayers);
  ASSERT_EQ(list->GetCount(kCurveListBox), 5) << "no header for the empty layers";
  EXPECT_EQ(list->GetItemText(kCurveListBox, 3), platform::Sjis("【 レイヤー 3 】"));
  d.ToggleSelection(kCurveListBox, 4);
  d.ToggleSelection(kCurveListBox, 1);
  d.DoubleClick(kCurveListBox);
  EXPECT_EQ(std::string(g_curveNameBuffers[0].data()), "N_0030");
  EXPECT_EQ(std::string(g_curveNameBuffers[1].data()), "N_0010");
  EXPECT_EQ(g_curveListOpen, 0);
  EXPECT_EQ(ModalDepth, depth);
  EXPECT_EQ(g_view.m_curveNameMode, 50);
  EXPECT_EQ(OpenCurveList(), nullptr);
  EXPECT_EQ(SelectCurvesByName(), 2);
  EXPECT_EQ(g_selectionList[0], 2);
}

TEST_F(CurveCommandsTest, AFullCurveTableRefusesWithErrorBox4AndWritesNothing) {
  g_curveCount = kCurveTableSize;
  SetBlock(0, Line({0, 0}, {1, 0}));
  g_workCount = 1;
  EXPECT_EQ(RegisterCurveEntry(kRegisterPlain, 1, nullptr), kCurveRegistrationRefused);
  EXPECT_EQ(errorBoxes, std::vector<int>{4});
  EXPECT_EQ(GetFigureCount(kTableCurves), 0);
}

// --- the engine -------------------------------------------------------------------------

TEST_F(CurveCommandsTest, AutoConnectRegistersAClosedSquareAndAsksForItsEndPoints) {
  for (const FigureRecord& f : Square(0, 0, 100)) AddFigure(f);
  // A line of another origin touches the square's corner: never chained.
  FigureRecord foreign = Line({100, 0}, {150, 0});
  foreign.origin = {0, 0.0001};
  AddFigure(foreign);
  std::string name;
  backend().WhenDialogOpens(kCurveRegisterDialogId, [&](DialogDriver& d) {
    name = d.dialog().GetText(kCurveNameEdit);
    d.Click(kCurveRegisterButton);
  });
  BeginCurveCommand(kAutoConnect);
  EXPECT_EQ(g_pickState, kAutoConnect);
  // The view's pick of the first figure: block 0 and the found index.
  g_figureTableSelector = 0;
  GetFigure(0, 1);
  StoreSegment(0);
  g_pickFoundIndex = 1;
  g_workCount = 1;
  DispatchCurveCommand(kAutoConnect);
  ASSERT_EQ(g_curveCount, 1);
  EXPECT_EQ(name, "N_0010");
  const std::vector<FigureRecord> figures = FiguresOf(0);
  ASSERT_EQ(figures.size(), 6u) << "four sides framed by a start and an end point";
  EXPECT_EQ(figures.front().kind, kKindPoint);
  EXPECT_EQ(figures.back().kind, kKindPoint);
  EXPECT_EQ(figures[1].start.x, 100.0) << "the chain starts at the picked side";
  EXPECT_DOUBLE_EQ(Perimeter(figures), 400.0);
  const CurveRecord& c = g_curveTable[0];
  EXPECT_EQ(c.kind, 0);
  EXPECT_NE(c.flags & 0x80, 0) << "four figures get an IP point";
  EXPECT_NEAR(c.ipX, 50.0, 1e-9);
  EXPECT_NEAR(c.ipY, 50.0, 1e-9);
  // The command goes on with the start and end points of the new curve.
  EXPECT_EQ(g_curCommand, kEndPoints);
  EXPECT_EQ(g_pickState, 6);
  EXPECT_EQ(g_curCurveIndex, 0);
}

TEST_F(CurveCommandsTest, StartAndEndPointsAreAddedOnTheCurveAndRemovedAgain) {
  AddCurve(Square(0, 0, 100));
  g_curCurveIndex = 0;
  g_curCommand = kEndPoints;
  g_commandStep = 0;
  ExecuteCurveCommand(kEndPoints, nullptr);
  ASSERT_EQ(g_pickState, 6);
  PointInputValue = {30, -4};  // projected onto the first side
  g_pickState = 4;
  g_commandStep = 1;
  ExecuteCurveCommand(kEndPoints, nullptr);
  EXPECT_EQ(g_pickState, kEndPoints);
  PointInputValue = {0, 20};
  g_commandStep = 2;
  ExecuteCurveCommand(kEndPoints, nullptr);
  std::vector<FigureRecord> figures = FiguresOf(0);
  ASSERT_EQ(figures.size(), 6u);
  EXPECT_EQ(figures[0].kind, kKindPoint);
  EXPECT_DOUBLE_EQ(figures[0].start.x, 30.0);
  EXPECT_DOUBLE_EQ(figures[0].start.y, 0.0);
  EXPECT_DOUBLE_EQ(figures[0].dir.x, 1.0);
  EXPECT_DOUBLE_EQ(figures[5].start.y, 20.0);
  EXPECT_DOUBLE_EQ(figures[5].dir.y, -1.0);
  // Removing them again: the command collects the bare figures.
  g_curCurveIndex = 0;
  g_curCommand = kEndPoints;
  g_commandStep = 0;
  ExecuteCurveCommand(kEndPoints, nullptr);
  g_commandStep = 3;
  ExecuteCurveCommand(kEndPoints, nullptr);
  figures = FiguresOf(0);
  ASSERT_EQ(figures.size(), 4u);
  EXPECT_EQ(figures[0].kind, kKindLine);
}

TEST_F(CurveCommandsTest, Above763CurvesOnlyTheDeleteCommandStarts) {
  for (int i = 0; i < 764; ++i) AddCurve({Line({0, double(i)}, {1, double(i)})});
  BeginCurveCommand(kAutoConnect);
  EXPECT_EQ(g_pickState, 0);
  BeginCurveCommand(kDelete);
  EXPECT_EQ(g_pickState, kPickCurve);
  EXPECT_EQ(g_listMode, kListModeAll);
}

TEST_F(CurveCommandsTest, TheDeleteCommandDeletesThePickedCurveAfterTheConfirmingClick) {
  AddCurve(Square(0, 0, 10));
  AddCurve(Square(100, 0, 10));
  BeginCurveCommand(kDelete);
  g_selectionList[0] = 0;
  g_curCurveIndex = 0;
  DispatchCurveCommand(kDelete);
  EXPECT_EQ(g_pickState, kDelete);
  EXPECT_EQ(g_curveCount, 2);
  ++g_commandStep;
  DispatchCurveCommand(kDelete);
  ASSERT_EQ(g_curveCount, 1);
  EXPECT_EQ(FiguresOf(0)[0].start.x, 100.0);
  EXPECT_EQ(endPicks, 1);
}

// --- transforms --------------------------------------------------------------------------

TEST_F(CurveCommandsTest, TranslateMovesInPlaceOrRegistersACopy) {
  AddCurve(FramedSquare(0, 0, 100));
  g_curveTable[0].flags = 0x80;
  g_curveTable[0].ipX = 50;
  g_curveTable[0].ipY = 50;
  Select({0});
  TranslateCurves(10, 5, nullptr);
  EXPECT_EQ(FiguresOf(0)[1].start.x, 10.0);
  EXPECT_EQ(FiguresOf(0)[1].start.y, 5.0);
  EXPECT_EQ(g_curveTable[0].ipX, 60.0);
  g_copyMode = 1;
  AnswerRegister();
  Select({0});
  TranslateCurves(200, 0, nullptr);
  ASSERT_EQ(g_curveCount, 2);
  EXPECT_EQ(FiguresOf(0)[1].start.x, 10.0) << "the source stays";
  EXPECT_EQ(FiguresOf(1)[1].start.x, 210.0);
  EXPECT_EQ(g_curveTable[1].ipX, 260.0);
  EXPECT_NE(g_curveTable[1].key, g_curveTable[0].key);
  ExpectContiguous();
}

TEST_F(CurveCommandsTest, ACopyTranslateOfSeveralCurvesIsOneUndoStepAndOneSave) {
  AddCurve(FramedSquare(0, 0, 100));
  AddCurve(FramedSquare(200, 0, 100));
  AddCurve(FramedSquare(400, 0, 100));
  const int figures = g_figureStore.Table(kTableCurves)->count();
  std::filesystem::create_directories(UndoFilePath(UndoSlot{}).parent_path());
  // The drawing has no name here, so every save says that it could not
  // save: the boxes count the saves.
  CKelDoc document;
  g_pDocument = &document;
  g_copyMode = 1;
  backend().WhenDialogOpensAlways(kCurveRegisterDialogId, [](DialogDriver& d) { d.Click(kCurveRegisterButton); });
  Select({0, 1, 2});
  const int serial = g_undo.serial;
  const std::size_t boxes = backend().MessageBoxes().size();
  g_commandStep = 1;
  AnswerPoint("0", "300");
  ExecuteCurveCommand(kTranslate, nullptr);
  g_pDocument = nullptr;
  ASSERT_EQ(g_curveCount, 6);
  EXPECT_EQ(FiguresOf(5)[1].start.y, 300.0);
  EXPECT_EQ(g_undo.serial, serial + 1) << "one snapshot before the three copies";
  EXPECT_EQ(backend().MessageBoxes().size(), boxes + 1) << "one save after them";
  // Undone, the three copies go together.
  OnEditUndo();
  EXPECT_EQ(g_curveCount, 3);
  EXPECT_EQ(g_figureStore.Table(kTableCurves)->count(), figures);
  ExpectContiguous();
}

TEST_F(CurveCommandsTest, ACopyBatchStopsWhenTheCurveTableIsFull) {
  AddCurve(Square(0, 0, 10));
  AddCurve(Square(100, 0, 10));
  g_curveCount = kCurveTableSize - 1;  // room for one copy
  for (int c = 2; c < g_curveCount; ++c) {
    g_curveTable[static_cast<std::size_t>(c)] = g_curveTable[1];
    g_curveTable[static_cast<std::size_t>(c)].first = g_curveTable[static_cast<std::size_t>(c)].end = 8;
    g_curveTable[static_cast<std::size_t>(c)].key = 100 + c;
  }
  g_copyMode = 1;
  AnswerRegister();
  Select({0, 1});
  TranslateCurves(0, 50, nullptr);
  EXPECT_EQ(g_curveCount, kCurveTableSize);
  EXPECT_EQ(errorBoxes, std::vector<int>{4});
  EXPECT_EQ(FiguresOf(kCurveTableSize - 1)[0].start.y, 50.0) << "the first copy stays registered";
}

TEST_F(CurveCommandsTest, RotateAndScaleThroughTheirPrompts) {
  AddCurve(Square(0, 0, 100));
  Select({0});
  g_commandStep = 1;
  g_listMode = kListModeAll;
  AnswerValue("90");
  AnswerPoint("0", "0");
  ExecuteCurveCommand(kRotate, nullptr);
  const std::vector<FigureRecord> rotated = FiguresOf(0);
  EXPECT_NEAR(rotated[0].end.x, 0.0, 1e-9);
  EXPECT_NEAR(rotated[0].end.y, 100.0, 1e-9);
  EXPECT_NEAR(rotated[0].dir.y, 1.0, 1e-12);
  EXPECT_EQ(endPicks, 1);
  // A scale factor of 0 scales by 100 percent.
  Select({0});
  g_commandStep = 1;
  AnswerValue("0");
  AnswerPoint("0", "0");
  ExecuteCurveCommand(kScale, nullptr);
  EXPECT_NEAR(FiguresOf(0)[0].end.y, 100.0, 1e-9);
  Select({0});
  g_commandStep = 1;
  AnswerValue("50");
  AnswerPoint("0", "0");
  ExecuteCurveCommand(kScale, nullptr);
  EXPECT_NEAR(FiguresOf(0)[0].end.y, 50.0, 1e-9);
}

TEST_F(CurveCommandsTest, OffsetOfOneCurveOffersBothSidesAndOfTwoOffsetsEach) {
  AddCurve(FramedSquare(0, 0, 100));
  AddCurve(FramedSquare(200, 0, 100));
  Select({0});
  ASSERT_TRUE(OffsetCurves(5, nullptr));
  EXPECT_EQ(g_pickState, kPickStateChooseCandidate);
  EXPECT_EQ(g_drawingView.m_workPickMode, kWorkPickTwoLists);
  const int lengthA = WorkListLength(kWorkListA);
  ASSERT_EQ(lengthA, 6);
  std::vector<FigureRecord> inner, outer;
  for (int i = 0; i < lengthA; ++i) inner.push_back(*g_figureStore.SegmentBlock(kWorkListA + i));
  for (int i = 0; i < WorkListLength(kWorkListB); ++i) outer.push_back(*g_figureStore.SegmentBlock(kWorkListB + i));
  EXPECT_NEAR(Perimeter(inner), 360.0, 1e-9);
  EXPECT_NEAR(Perimeter(outer), 440.0, 1e-9);
  EXPECT_NEAR(inner.front().start.x, 5.0, 1e-9) << "the start point follows its figure";
  EXPECT_EQ(FiguresOf(0)[1].start.x, 0.0) << "nothing changes before the choice";
  g_drawingView.m_workPickMode = 0;
  Select({0, 1});
  ASSERT_TRUE(OffsetCurves(-5, nullptr));
  EXPECT_NEAR(Perimeter(FiguresOf(0)), 440.0, 1e-9);
  EXPECT_NEAR(Perimeter(FiguresOf(1)), 440.0, 1e-9);
  ExpectContiguous();
}

TEST_F(CurveCommandsTest, ATwoSidedOffsetTooLongForTheCandidateListsChangesNothing) {
  std::vector<FigureRecord> many;
  for (int i = 0; i < 10000; ++i) many.push_back(Line({double(i), 0}, {double(i + 1), 0}));
  AddCurve(many);
  Select({0});
  EXPECT_FALSE(OffsetCurves(5, nullptr));
  EXPECT_EQ(errorBoxes, std::vector<int>{4});
  EXPECT_EQ(g_figureStore.SegmentBlock(kWorkListB)->kind, kKindEmpty);
}

// --- figure edits -----------------------------------------------------------------------------

TEST_F(CurveCommandsTest, AFilletIsInsertedTangentToBothSidesAndTheNextProposalIsItsRadius) {
  AddCurve(Square(0, 0, 100));
  g_curCurveIndex = 0;
  CollectCurveFigures(0);
  AnswerValue("5");
  EXPECT_EQ(InsertTangentCircle(100, 0, 10.0, nullptr), 5.0);
  ASSERT_EQ(g_workCount, 5);
  const FigureRecord* arc = g_figureStore.SegmentBlock(1);
  EXPECT_EQ(arc->kind, kKindArc);
  EXPECT_NEAR(arc->centre.x, 95.0, 1e-9);
  EXPECT_NEAR(arc->centre.y, 5.0, 1e-9);
  EXPECT_NEAR(g_figureStore.SegmentBlock(0)->end.x, 95.0, 1e-9);
  EXPECT_NEAR(g_figureStore.SegmentBlock(2)->start.y, 5.0, 1e-9);
  ASSERT_TRUE(WriteBackCurveFigures());
  EXPECT_EQ(FiguresOf(0).size(), 5u);
  // A larger fillet at the next corner; a cancel changes nothing.
  CollectCurveFigures(0);
  AnswerValue("10");
  EXPECT_EQ(InsertTangentCircle(100, 100, 5.0, nullptr), 10.0);
  EXPECT_NEAR(g_figureStore.SegmentBlock(3)->centre.x, 90.0, 1e-9);
  EXPECT_NEAR(g_figureStore.SegmentBlock(3)->centre.y, 90.0, 1e-9);
  backend().WhenDialogOpens(kValueInputDialogId, [](DialogDriver& d) { d.PressEscape(); });
  CollectCurveFigures(0);
  EXPECT_EQ(InsertTangentCircle(0, 100, 5.0, nullptr), kTangentCancelled);
  EXPECT_EQ(g_workCount, 5);
}

TEST_F(CurveCommandsTest, DeletingAFigureJoinsItsNeighboursAndTheLastFigureRemovesTheCurve) {
  AddCurve({Line({0, 0}, {10, 0}), Line({10, 0}, {10, 10}), Line({10, 10}, {20, 10})});
  AddCurve({Line({50, 0}, {60, 0})});
  g_curCurveIndex = 0;
  ASSERT_TRUE(DeleteCurveFigure(1));
  std::vector<FigureRecord> figures = FiguresOf(0);
  ASSERT_EQ(figures.size(), 2u);
  ExpectContiguous();
  g_curCurveIndex = 1;
  EXPECT_FALSE(DeleteCurveFigure(0));
  EXPECT_EQ(g_curveCount, 1);
  ExpectContiguous();
}

TEST_F(CurveCommandsTest, TheHeadOfAClosedCurveMovesToTheSecondHalfOfThePickedFigure) {
  AddCurve(Square(0, 0, 100));
  g_curCurveIndex = 0;
  EXPECT_EQ(ChangeHeadFigure(99, 0), 0);
  ASSERT_EQ(ChangeHeadFigure(0, 2), 0);
  const std::vector<FigureRecord> figures = FiguresOf(0);
  ASSERT_EQ(figures.size(), 5u);
  EXPECT_DOUBLE_EQ(figures.front().start.x, 50.0);
  EXPECT_DOUBLE_EQ(figures.front().start.y, 100.0);
  EXPECT_DOUBLE_EQ(figures.back().end.x, 50.0);
  EXPECT_NEAR(Perimeter(figures), 400.0, 1e-9);
  AddCurve({Line({0, 0}, {10, 0})});
  g_curCurveIndex = 1;
  EXPECT_EQ(ChangeHeadFigure(99, 0), 1);
  EXPECT_EQ(errorBoxes, std::vector<int>{2});
}

}  // namespace
}  // namespace dorn
