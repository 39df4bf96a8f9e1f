// The curve commands that pick figures of the drawing rather than curves:
// hole points (one by one and in a BOX), figure replacement inside a curve,
// character figures from text strokes, the section figures of a taper curve,
// and the "カーブの編集" popup menu.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/prompt_state.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/dialogs/prompts.h"
#include "kelto_dorn/drawing/curve_engine.h"
#include "kelto_dorn/drawing/curve_engines.h"
#include "kelto_dorn/drawing/curve_figure_range.h"
#include "kelto_dorn/drawing/curve_register_dialog.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "kelto_dorn/drawing/figure_chains.h"
#include "kelto_dorn/drawing/point_group_edit.h"
#include "kelto_dorn/drawing/taper_contour_dialog.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_frame.h"
#include "platform/text.h"
#include "tests/kelto_dorn/drawing/drawing_fixture.h"

namespace dorn {
namespace {

using platform::headless::DialogDriver;
using namespace curve_cmd;

class CurvePickCommandsTest : public test::DrawingTest {
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

  // Registers whatever the dialog proposes, keeping the proposed name.
  void AnswerRegister() {
    backend().WhenDialogOpens(kCurveRegisterDialogId, [this](DialogDriver& d) {
      proposedName = d.dialog().GetText(kCurveNameEdit);
      ++registerDialogs;
      d.Click(kCurveRegisterButton);
    });
  }

  static std::vector<FigureRecord> FiguresOf(int curve) {
    CurveFigureRange range;
    std::vector<FigureRecord> out;
    if (!GetCurveFigureRange(curve, range)) return out;
    for (int i = range.first; i < range.end; ++i) out.push_back(g_figureStore.Table(kTableCurves)->slot(i));
    return out;
  }

  static double LineLength(const FigureRecord& f) { return std::hypot(f.end.x - f.start.x, f.end.y - f.start.y); }

  // A click of the view: the step it advances and the engine re-entered.
  static void Click(int id, int step = 1) {
    g_commandStep = step;
    DispatchCurveCommand(id);
  }

  static void SetBox(Vec2 a, Vec2 b) {
    g_view.m_boxFirst = a;
    g_view.m_boxSecond = b;
  }

  std::vector<int> errorBoxes;
  std::string proposedName;
  int registerDialogs = 0;
};

// --- hole points -------------------------------------------------------------------

TEST_F(CurvePickCommandsTest, PickedHoleCirclesAndPointsBecomeAHoleCurveOnTheRightButton) {
  AnswerRegister();
  BeginCurveCommand(kHolePoints);
  EXPECT_EQ(g_pickState, 66);
  EXPECT_EQ(g_workCount, 5) << "blocks 0-4 stay the pick's own";
  // A circle: its centre and radius; then a point, which keeps the diameter.
  SetBlock(0, Circle({10, 20}, 3));
  Click(kHolePoints);
  SetBlock(0, Point({40, 5}));
  Click(kHolePoints);
  ASSERT_EQ(g_workCount, 7);
  EXPECT_EQ(g_pickState, 66) << "each pick waits for the next hole";
  EXPECT_DOUBLE_EQ(g_curveEngine.holeDiameter, 6.0);
  // The right button registers.
  Click(kHolePoints, 2);
  ASSERT_EQ(g_curveCount, 1);
  EXPECT_EQ(proposedName, "ANA_0010");
  EXPECT_EQ(g_curveTable[0].kind, 1);
  const std::vector<FigureRecord> holes = FiguresOf(0);
  ASSERT_EQ(holes.size(), 2u);
  for (const FigureRecord& h : holes) {
    EXPECT_EQ(h.kind, kKindPointMark);
    EXPECT_EQ(h.style, 8);
    EXPECT_DOUBLE_EQ(h.radius, 3.0);
  }
  EXPECT_EQ(holes[0].start, (Vec2{10, 20}));
  EXPECT_EQ(holes[1].start, (Vec2{40, 5}));
  EXPECT_EQ(endPicks, 1);
}

// The analysis band's lines written since `from` (UTF-8).
std::vector<std::string> BandTexts(const std::vector<platform::Primitive>& log, std::size_t from) {
  std::vector<std::string> texts;
  for (std::size_t i = from; i < log.size(); ++i)
    if (log[i].kind == platform::PrimitiveKind::Text) texts.push_back(platform::Cp932ToUtf8(log[i].text));
  return texts;
}

TEST_F(CurvePickCommandsTest, EachAddedHoleShowsItsPointInTheAnalysisBandAndIsMarked) {
  BeginCurveCommand(kHolePoints);
  struct Pick {
    const char* name;
    int pickState;
    FigureRecord picked;
    Vec2 typed;
    const char* band;
  };
  const Pick picks[] = {
      {"a circle gives its centre", 66, Circle({10, 20}, 3), {}, "点 : (10.000000 20.000000)"},
      {"a picked point", 66, Point({40.25, -5}), {}, "点 : (40.250000 -5.000000)"},
      {"a typed point", 4, {}, {-7.5, 0.125}, "点 : (-7.500000 0.125000)"},
  };
  for (const Pick& p : picks) {
    SCOPED_TRACE(p.name);
    g_pickState = p.pickState;
    SetBlock(0, p.picked);
    PointInputValue = p.typed;
    const std::size_t from = ViewLog().size();
    Click(kHolePoints);
    EXPECT_EQ(BandTexts(ViewLog(), from), std::vector<std::string>{p.band});
    // Besides the band the hole is marked in the drawing.
    ASSERT_GT(ViewLog().size(), from + 1);
  }
  EXPECT_EQ(g_workCount, 8);
  // A pick that gives no hole (not a finite point) shows nothing.
  g_pickState = 4;
  PointInputValue = {std::nan(""), 0};
  const std::size_t from = ViewLog().size();
  Click(kHolePoints);
  EXPECT_TRUE(BandTexts(ViewLog(), from).empty());
  EXPECT_EQ(g_workCount, 8);
}

TEST_F(CurvePickCommandsTest, TheRightButtonWithoutHolesRegistersNothing) {
  AnswerRegister();
  BeginCurveCommand(kHolePoints);
  Click(kHolePoints, 2);
  EXPECT_EQ(g_curveCount, 0);
  EXPECT_EQ(registerDialogs, 0);
  EXPECT_EQ(endPicks, 1);
}

TEST_F(CurvePickCommandsTest, HolesInABoxComeInDrillingOrderAndAReferenceCircleChoosesTheirDiameter) {
  for (const FigureRecord& f : {Circle({50, 10}, 2), Circle({10, 10}, 2), Circle({30, 40}, 3), Circle({200, 200}, 2)})
    AddFigure(f);
  SetBox({0, 0}, {100, 100});
  AnswerRegister();
  // With the BOX selection the circles of the box are taken at once (the
  // BOX hole setting "every circle").
  g_boxHoleSettings.words[1] = 0;
  BeginCurveCommand(kHolePoints);
  g_boxMode = 1;
  Click(kHolePoints, 10);
  ASSERT_EQ(g_curveCount, 1);
  std::vector<FigureRecord> holes = FiguresOf(0);
  ASSERT_EQ(holes.size(), 3u) << "the circle outside the box stays out";
  EXPECT_LT(holes[0].start.x, holes[1].start.x);
  EXPECT_LT(holes[1].start.x, holes[2].start.x);
  // Without it a picked circle names the diameter of the holes wanted (the
  // BOX hole setting "same diameter").
  g_boxHoleSettings.words[1] = 1;
  AnswerRegister();
  BeginCurveCommand(kHolePoints);
  Click(kHolePoints, 10);
  EXPECT_EQ(g_pickState, 16);
  SetBlock(0, Circle({10, 10}, 2));
  Click(kHolePoints, 11);
  ASSERT_EQ(g_curveCount, 2);
  holes = FiguresOf(1);
  ASSERT_EQ(holes.size(), 2u);
  for (const FigureRecord& h : holes) EXPECT_DOUBLE_EQ(h.radius, 2.0);
}

TEST_F(CurvePickCommandsTest, GivingUpTheBoxReferenceRegistersTheHolesPickedBefore) {
  AddFigure(Circle({50, 10}, 2));
  AddFigure(Circle({10, 10}, 2));
  SetBox({0, 0}, {100, 100});
  g_boxHoleSettings.words[1] = 1;  // the box's holes chosen by a reference circle
  AnswerRegister();
  BeginCurveCommand(kHolePoints);
  SetBlock(0, Circle({300, 40}, 5));
  Click(kHolePoints);
  Click(kHolePoints, 10);
  ASSERT_EQ(g_pickState, 16);
  // The right button without a reference circle (the view sets step 2).
  Click(kHolePoints, 2);
  ASSERT_EQ(g_curveCount, 1);
  const std::vector<FigureRecord> holes = FiguresOf(0);
  ASSERT_EQ(holes.size(), 1u) << "the circles of the given-up box stay out";
  EXPECT_EQ(holes[0].start, (Vec2{300, 40}));
  EXPECT_DOUBLE_EQ(holes[0].radius, 5.0);
  EXPECT_EQ(endPicks, 1);
  // Nothing picked before the box: the command ends with nothing registered.
  BeginCurveCommand(kHolePoints);
  Click(kHolePoints, 10);
  ASSERT_EQ(g_pickState, 16);
  Click(kHolePoints, 2);
  EXPECT_EQ(g_curveCount, 1);
  EXPECT_EQ(endPicks, 2);
}

TEST_F(CurvePickCommandsTest, AppendingToAHoleCurvePicksMoreHolesAndKeepsTheKey) {
  FigureRecord hole = Point({0, 0}, kKindPointMark);
  hole.radius = 4;
  AddCurve({hole}, 0, 1);
  AddCurve({Line({0, 50}, {10, 50})});
  const int key = g_curveTable[0].key;
  AnswerRegister();
  BeginCurveCommand(kAppend);
  g_selectionList[0] = 0;
  DispatchCurveCommand(kAppend);
  EXPECT_EQ(g_curCommand, kHolePoints);
  EXPECT_EQ(g_pickState, 66);
  g_pickState = 4;  // a point typed or clicked
  PointInputValue = {25, 0};
  Click(kHolePoints);
  Click(kHolePoints, 2);
  ASSERT_EQ(g_curveCount, 2);
  const std::vector<FigureRecord> holes = FiguresOf(0);
  ASSERT_EQ(holes.size(), 2u);
  EXPECT_EQ(holes[1].start, (Vec2{25, 0}));
  EXPECT_DOUBLE_EQ(holes[1].radius, 4.0) << "the new hole takes the curve's diameter";
  EXPECT_EQ(g_curveTable[0].key, key);
  EXPECT_EQ(g_curveTable[1].first, g_curveTable[0].end) << "the curve behind is packed again";
  EXPECT_EQ(FiguresOf(1).front().start, (Vec2{0, 50}));
}

// --- figure replacement --------------------------------------------------------------

TEST_F(CurvePickCommandsTest, AReplacedFigureIsJoinedToBothNeighboursAndAMissedPickIsIgnored) {
  AddCurve({Line({0, 0}, {100, 0}), Line({100, 0}, {100, 100}), Line({100, 100}, {0, 100}), Line({0, 100}, {0, 0})});
  BeginCurveCommand(kReplaceFigure);
  EXPECT_EQ(g_pickState, kPickCurve);
  g_selectionList[0] = 0;
  DispatchCurveCommand(kReplaceFigure);
  EXPECT_EQ(g_pickState, kReplaceFigure);
  g_pickPoint = {50, 50};  // inside the square, on no figure
  Click(kReplaceFigure);
  EXPECT_EQ(g_pickState, kReplaceFigure);
  g_pickPoint = {100, 50};
  Click(kReplaceFigure);
  ASSERT_EQ(g_pickState, 3) << "now the new figure is picked";
  // The new line belongs to another origin: (20, 0) + (100, y) is x = 120.
  FigureRecord replacement = Line({100, -50}, {100, 150});
  replacement.origin = {20, 0};
  SetBlock(0, replacement);
  Click(kReplaceFigure);
  const std::vector<FigureRecord> f = FiguresOf(0);
  ASSERT_EQ(f.size(), 4u);
  EXPECT_EQ(f[0].end, (Vec2{120, 0}));
  EXPECT_EQ(f[1].start, (Vec2{120, 0}));
  EXPECT_EQ(f[1].end, (Vec2{120, 100}));
  EXPECT_EQ(f[2].start, (Vec2{120, 100}));
  double perimeter = 0;
  for (const FigureRecord& x : f) perimeter += LineLength(x);
  EXPECT_NEAR(perimeter, 440.0, 1e-9);
  EXPECT_EQ(g_pickState, kReplaceFigure) << "the command waits for the next figure to replace";
}

// --- character figures ------------------------------------------------------------------

TEST_F(CurvePickCommandsTest, StrokesInsideTheBoxChainIntoOneChainPerStroke) {
  // An "L" whose second stroke meets the first one's start, a dash, a stroke
  // too short to count and one reaching out of the box.
  for (const FigureRecord& f : {Line({0, 0}, {0, 10}), Line({20, 0}, {30, 0}), Line({0, 0}, {5, 0}),
                                Line({40, 0}, {40, 0.0005}), Line({45, 0}, {45, 500})})
    AddFigure(f);
  SetBox({-1, -1}, {50, 50});
  g_boxMode = 1;
  ASSERT_EQ(AutoConnectFigures(CurrentSelectionRegion()), 3);
  const FigureRecord& a = *g_figureStore.SegmentBlock(0);
  const FigureRecord& b = *g_figureStore.SegmentBlock(1);
  const FigureRecord& c = *g_figureStore.SegmentBlock(2);
  // The seed is turned so that the chain grows from its start.
  EXPECT_EQ(a.start, (Vec2{0, 10}));
  EXPECT_EQ(a.end, (Vec2{0, 0}));
  EXPECT_EQ(b.start, (Vec2{0, 0}));
  EXPECT_EQ(b.end, (Vec2{5, 0}));
  EXPECT_EQ(c.start, (Vec2{20, 0}));
  EXPECT_EQ(a.group, b.group);
  EXPECT_EQ(c.group, a.group + 1);
  EXPECT_EQ(c.group, LastChainId());
  EXPECT_GT(a.group, kChainIdBase);
  EXPECT_EQ(g_figureStore.Table(0)->slot(0).group, 0) << "the drawing's figures are not marked";
}

TEST_F(CurvePickCommandsTest, AStrokeContinuingTheChainInTheSameSenseExtendsIt) {
  // The second stroke continues the first on its line: the first grows over
  // it. The third lies on the line too but meets no end: a chain of its own.
  for (const FigureRecord& f : {Line({0, 0}, {10, 0}), Line({10, 0}, {20, 0}), Line({5, 0}, {15, 0})}) AddFigure(f);
  SetBox({-1, -1}, {50, 50});
  g_boxMode = 1;
  ASSERT_EQ(AutoConnectFigures(CurrentSelectionRegion()), 2);
  const FigureRecord& grown = *g_figureStore.SegmentBlock(0);
  EXPECT_EQ(grown.start, (Vec2{0, 0}));
  EXPECT_EQ(grown.end, (Vec2{20, 0}));
  EXPECT_EQ(g_figureStore.SegmentBlock(1)->group, grown.group + 1);
  EXPECT_TRUE(errorBoxes.empty());
}

TEST_F(CurvePickCommandsTest, AZigzagOfThousandsOfStrokesGivenBackToFrontIsOneChain) {
  constexpr int kStrokes = 6000;
  for (int i = kStrokes - 1; i >= 0; --i)
    AddFigure(Line({double(i), double(i % 2)}, {double(i + 1), double((i + 1) % 2)}));
  SetBox({-1, -1}, {kStrokes + 1.0, 2});
  g_boxMode = 1;
  ASSERT_EQ(AutoConnectFigures(CurrentSelectionRegion()), kStrokes);
  const int id = g_figureStore.SegmentBlock(0)->group;
  for (int i = 1; i < kStrokes; ++i) {
    const FigureRecord& a = *g_figureStore.SegmentBlock(i - 1);
    const FigureRecord& b = *g_figureStore.SegmentBlock(i);
    ASSERT_EQ(a.end, b.start) << i;
    ASSERT_EQ(b.group, id);
  }
}

TEST_F(CurvePickCommandsTest, TheCharacterCommandRegistersTheStrokesOfTheBoxAsOneCurve) {
  for (const FigureRecord& f : {Line({0, 0}, {0, 10}), Line({0, 0}, {5, 0}), Line({20, 0}, {30, 0})}) AddFigure(f);
  AnswerRegister();
  BeginCurveCommand(kCharacters);
  EXPECT_EQ(g_pickState, kCharacters);
  EXPECT_EQ(g_boxMode, 1);
  SetBox({-1, -1}, {50, 50});
  Click(kCharacters);
  ASSERT_EQ(g_curveCount, 1);
  EXPECT_EQ(g_curveTable[0].kind, 1332);
  EXPECT_EQ(proposedName, platform::Sjis("文字_0010"));
  EXPECT_EQ(FiguresOf(0).size(), 3u);
  EXPECT_EQ(g_boxMode, 0);
  // An empty box registers nothing: no dialog opens.
  AnswerRegister();
  BeginCurveCommand(kCharacters);
  SetBox({500, 500}, {600, 600});
  Click(kCharacters);
  EXPECT_EQ(g_curveCount, 1);
  EXPECT_EQ(registerDialogs, 1);
}

// --- taper sections ---------------------------------------------------------------------

TEST_F(CurvePickCommandsTest, APickedTaperFigureChangesSectionAndTheDialogWritesTheNewOffsetsBack) {
  AddCurve({Line({0, 0}, {100, 0}), Line({100, 0}, {100, 100}), Line({100, 100}, {0, 100}), Line({0, 100}, {0, 0})},
           0, 8);
  CurveRecord& taper = g_curveTable[0];
  for (int i = taper.first; i < taper.end; ++i) g_figureStore.Table(kTableCurves)->slot(i).style = 0;
  taper.taperCode = kTaperSectionModeBase + 1;
  TaperField(taper, TaperValue::ReferenceOffset, 1) = 2.0f;
  g_curCurveIndex = 0;
  g_curCommand = kTaper;
  g_pickState = kPickStateTaperFigure;
  g_pickPoint = {100, 50};
  Click(kTaper);
  std::vector<FigureRecord> f = FiguresOf(0);
  EXPECT_EQ(f[1].style, 1);
  EXPECT_DOUBLE_EQ(f[1].start.x, 98.0) << "the figure carries its new section's offset";
  EXPECT_EQ(g_pickState, kPickStateTaperFigure);
  // The dialog again ("登録" with a vertical wall): the offsets it computes
  // (none) replace the old ones in the stored figures.
  backend().WhenDialogOpens(kTaperDialogId, [](DialogDriver& d) { d.Click(kTaperRegisterButton); });
  Click(kTaper, 222);
  f = FiguresOf(0);
  EXPECT_DOUBLE_EQ(f[1].start.x, 100.0);
  EXPECT_EQ(TaperField(g_curveTable[0], TaperValue::ReferenceOffset, 1), 0.0f);
  EXPECT_EQ(endPicks, 1);
}

TEST_F(CurvePickCommandsTest, TheTaperContourCommandOffersTheFigureChoiceAndWaitsForTheSectionsFigures) {
  for (const FigureRecord& f : {Line({0, 0}, {100, 0}), Line({100, 0}, {100, 100}), Line({100, 100}, {0, 100}),
                                Line({0, 100}, {0, 0})})
    AddFigure(f);
  bool pickOffered = false;
  backend().WhenDialogOpens(kTaperDialogId, [&](DialogDriver& d) {
    pickOffered = d.dialog().IsEnabled(kTaperPickButton);
    d.Click(kTaperPickButton);
  });
  BeginCurveCommand(kTaper);
  g_figureTableSelector = 0;
  GetFigure(0, 0);
  StoreSegment(0);
  g_pickFoundIndex = 0;
  g_workCount = 1;
  DispatchCurveCommand(kTaper);
  EXPECT_TRUE(pickOffered);
  ASSERT_EQ(g_curveCount, 1) << "the curve is registered before its sections are chosen";
  EXPECT_EQ(g_curveTable[0].kind, 8);
  EXPECT_EQ(g_curveTable[0].taperCode, kTaperSectionModeBase);
  EXPECT_EQ(g_pickState, kPickStateTaperFigure);
  EXPECT_EQ(g_curCommand, kTaper);
}

// --- offset with a trim radius ----------------------------------------------------------

TEST_F(CurvePickCommandsTest, AnOffsetAmountWithATrimRadiusIsRefusedWithAMessageAndChangesNothing) {
  AddCurve({Line({0, 0}, {100, 0}), Line({100, 0}, {100, 100})});
  AddCurve({Line({0, 200}, {100, 200})});
  const std::vector<FigureRecord> before = FiguresOf(0);
  for (const char* typed : {"5R2F", "5R2"}) {
    g_selectionList.fill(kNone);
    g_selectionList[0] = 0;
    g_selectionList[1] = 1;
    g_curCurveIndex = 0;
    g_listMode = kListModeAll;
    g_commandStep = 1;
    backend().WhenDialogOpens(kValueInputDialogId, [typed](DialogDriver& d) {
      d.Type(1008, typed);
      d.Click(platform::kIdOk);
    });
    const std::size_t boxes = backend().MessageBoxes().size();
    ExecuteCurveCommand(kOffset, nullptr);
    ASSERT_EQ(backend().MessageBoxes().size(), boxes + 1) << typed;
    EXPECT_NE(backend().MessageBoxes().back().request.text.find(platform::Sjis("nnRmmF")), std::string::npos);
    const std::vector<FigureRecord> after = FiguresOf(0);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) EXPECT_EQ(after[i].start, before[i].start) << typed;
  }
  // A plain amount still offsets.
  g_selectionList.fill(kNone);
  g_selectionList[0] = 0;
  g_selectionList[1] = 1;
  g_commandStep = 1;
  backend().WhenDialogOpens(kValueInputDialogId, [](DialogDriver& d) {
    d.Type(1008, "5");
    d.Click(platform::kIdOk);
  });
  ExecuteCurveCommand(kOffset, nullptr);
  EXPECT_DOUBLE_EQ(FiguresOf(0)[0].start.y, 5.0);
}

// --- the curve edit menu ----------------------------------------------------------------

TEST_F(CurvePickCommandsTest, TheCurveEditMenuOffersTheFourEditsAndBeginsTheChosenOne) {
  std::unique_ptr<platform::Frame> frame = platform::CreateFrame();
  auto* headless = dynamic_cast<platform::headless::HeadlessFrame*>(frame.get());
  ASSERT_NE(headless, nullptr);
  g_viewAccess.mainFrame = [&] { return frame.get(); };
  g_view.m_lastMouseX = 120;
  g_view.m_lastMouseY = 80;
  // Closed without a choice: nothing starts.
  RoutePointGroupCommand(33009);
  EXPECT_EQ(g_pickState, 0);
  ASSERT_EQ(headless->LastPopup().size(), 4u);
  EXPECT_EQ(headless->LastPopup()[1].caption, platform::Sjis("点群の置換"));
  EXPECT_EQ(headless->LastPopupPoint(), (platform::Point{120, 80}));
  headless->WhenPopupOpens([](const std::vector<platform::MenuItem>&, platform::Point) { return 33049; });
  RoutePointGroupCommand(33009);
  EXPECT_EQ(g_pointGroupEdit, kPointGroupReplace);
  EXPECT_EQ(g_pickState, 630);
}

}  // namespace
}  // namespace dorn
