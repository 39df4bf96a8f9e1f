// The attribute changes of figures picked one by one, the figure colour
// command that alternates between picks and like figures, the text colour
// and the drawing origin move, driven as a user drives them. The fixture
// drawing's layer 0 holds the lines (0, 0)-(100, 0) and (100, 0)-(100, 60)
// and the circle of radius 10 about (50, 30).
#include <functional>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/curve_record.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/text_record.h"
#include "kelto_dorn/dialogs/choice_dialogs.h"
#include "kelto_dorn/dialogs/color_palette_dialog.h"
#include "platform/headless/dialog_driver.h"
#include "tests/kelto_dorn/drawing/figure_script.h"

namespace dorn::test {
namespace {

using Driver = platform::headless::DialogDriver;

constexpr int kCopy = 32848, kBox = 32864, kUndo = 33076, kEndOfInput = 33225;

void ExpectNear(Vec2 got, Vec2 want) {
  EXPECT_NEAR(got.x, want.x, 1e-9);
  EXPECT_NEAR(got.y, want.y, 1e-9);
}

class AttributeCommandTest : public FigureScriptTest {
 protected:
  // The attribute words of the fixture's three figures.
  std::vector<std::int32_t> Attributes() const {
    std::vector<std::int32_t> a;
    for (const FigureRecord& f : Figures()) a.push_back(f.attribute);
    return a;
  }
};

struct Restyle {
  const char* name;
  int command;
  int dialog;
  std::function<void(Driver&)> answer;
  std::int32_t mask;  // the bits the change replaces
  std::int32_t want;  // what they become
};

TEST_F(AttributeCommandTest, PickedFiguresTakeTheChosenAttributeWhenTheCopyCommandIsGiven) {
  const Restyle cases[] = {
      {"line type", 33102, kLineTypeDialogId, [](Driver& d) { d.Click(1001); }, kAttrDashed | kAttrChain1 | kAttrChain2,
       kAttrDashed},
      {"colour", 33104, kColorPaletteDialogId, [](Driver& d) { d.Click(PaletteButtonId(12)); }, kAttrColourMask, 12},
      {"width", 33175, kLineWidthDialogId, [](Driver& d) { d.Click(1555); }, kAttrThick, kAttrThick},
  };
  for (const Restyle& r : cases) {
    SCOPED_TRACE(r.name);
    const auto before = Attributes();
    backend().WhenDialogOpens(r.dialog, r.answer);
    Start(r.command);
    EXPECT_TRUE(Pressed(r.command));
    EXPECT_EQ(g_pickState, r.command);
    ClickAt(50, 0);
    ClickAt(100, 30);
    ClickAt(50, 0);  // the same figure again is changed once
    Start(kCopy);
    const auto after = Attributes();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(after[i] & r.mask, r.want) << i;
      EXPECT_EQ(after[i] & ~r.mask, before[i] & ~r.mask) << i;  // the other bits kept
    }
    EXPECT_EQ(after[2], before[2]);  // the circle was not picked
    EXPECT_FALSE(Pressed(r.command));
    EXPECT_EQ(g_pickState, 0);
    Start(kUndo);
    EXPECT_EQ(Attributes(), before);
  }
}

TEST_F(AttributeCommandTest, AClosedDialogOrNoPickChangesNothing) {
  const auto before = Attributes();
  backend().WhenDialogOpens(kColorPaletteDialogId, [](Driver& d) { d.PressEscape(); });
  Start(33104);
  ClickAt(50, 0);
  Start(kEndOfInput);  // the end of input applies like the copy command
  EXPECT_EQ(Attributes(), before);
  EXPECT_EQ(g_pickState, 0);
  // Without a pick the copy command only switches the copy mode.
  Start(33175);
  Start(kCopy);
  EXPECT_EQ(g_pickState, 33175);
  EXPECT_EQ(Attributes(), before);
}

TEST_F(AttributeCommandTest, ARightClickTakesTheLastPickBack) {
  backend().WhenDialogOpens(kLineWidthDialogId, [](Driver& d) { d.Click(1555); });
  Start(33175);
  ClickAt(50, 0);
  ClickAt(100, 30);
  RightClickAt(-150, -120);
  Start(kCopy);
  const auto after = Attributes();
  EXPECT_EQ(after[0] & kAttrThick, kAttrThick);
  EXPECT_EQ(after[1] & kAttrThick, 0);
}

TEST_F(AttributeCommandTest, TheBoxCommandTurnsAPickChangeIntoItsBoxVariant) {
  backend().WhenDialogOpens(kColorPaletteDialogId, [](Driver& d) { d.Click(PaletteButtonId(9)); });
  Start(33104);
  Start(kBox);
  EXPECT_EQ(g_curCommand, 33103);
  EXPECT_TRUE(Pressed(33103));
  EXPECT_FALSE(Pressed(33104));
  ClickAt(-10, -10);
  ClickAt(70, 45);  // holds the first line's start and the circle's start
  const auto after = Attributes();
  EXPECT_EQ(after[0] & kAttrColourMask, 9);
  EXPECT_NE(after[1] & kAttrColourMask, 9);
  EXPECT_EQ(after[2] & kAttrColourMask, 9);
}

TEST_F(AttributeCommandTest, TheFigureColourCommandAlternatesBetweenPicksAndLikeFigures) {
  Start(33224);
  EXPECT_EQ(g_curCommand, 33104);
  EXPECT_EQ(g_pickState, 33104);
  Escape();
  Start(33224);
  EXPECT_EQ(g_curCommand, 33105);
  EXPECT_EQ(g_pickState, 42);
  Escape();
  Start(33224);
  EXPECT_EQ(g_curCommand, 33104);
  Escape();
  // The BOX colour command starts the alternation afresh.
  Start(33103);
  Escape();
  Start(33224);
  EXPECT_EQ(g_curCommand, 33104);
}

TEST_F(AttributeCommandTest, TextsOfThePickedCharactersColourTakeTheNewColour) {
  // A character curve on layer 0 in colour 5: one stroke (-40, -40)-(-30, -40).
  FigureRecord stroke;
  stroke.kind = kKindLine;
  stroke.start = {-40, -40};
  stroke.end = {-30, -40};
  stroke.dir = {1, 0};
  stroke.attribute = 5;
  CurveRecord& curve = g_curveTable[static_cast<std::size_t>(g_curveCount)];
  curve = CurveRecord{};
  curve.first = GetFigureCount(kTableCurves);
  g_curFigure = stroke;
  PutFigure(kTableCurvesAlias, curve.first);
  curve.end = GetFigureCount(kTableCurves);
  ++g_curveCount;
  // Texts: colour 5 on layer 0 (changes), colour 4 on layer 0 and colour 5
  // on layer 2 (both stay).
  const int colours[] = {5, 4, 5};
  const int layers[] = {0, 0, 2};
  // (Records 0-2 belong to the work box's size texts.)
  for (int i = 0; i < 3; ++i) {
    g_textRecords[static_cast<std::size_t>(i + 3)] = TextRecord{};
    g_textRecords[static_cast<std::size_t>(i + 3)].colour = colours[i];
    g_textRecords[static_cast<std::size_t>(i + 3)].layer = layers[i];
  }
  g_textRecords[6].layer = -1;
  backend().WhenDialogOpens(kColorPaletteDialogId, [](Driver& d) { d.Click(PaletteButtonId(17)); });
  Start(33086);
  EXPECT_EQ(g_pickState, 49);
  ClickAt(-35, -40);
  EXPECT_EQ(g_textRecords[3].colour, 17);
  EXPECT_EQ(g_textRecords[4].colour, 4);
  EXPECT_EQ(g_textRecords[5].colour, 5);
  EXPECT_EQ(g_pickState, 0);
  EXPECT_FALSE(Pressed(33086));
}

TEST_F(AttributeCommandTest, TheDrawingOriginMovesToAPickedIntersectionAndIsUndone) {
  const auto before = Figures();
  Start(32884);
  EXPECT_EQ(g_pickState, 6);
  ClickAt(50, 0);
  ClickAt(100, 30);  // the two lines meet at (100, 0)
  const auto after = Figures();
  ExpectNear(after[0].start, {-100, 0});
  ExpectNear(after[0].end, {0, 0});
  ExpectNear(after[1].end, {0, 60});
  ExpectNear(after[2].centre, {-50, 30});
  EXPECT_EQ(g_pickState, 0);
  Start(kUndo);
  ExpectNear(Figures()[0].start, before[0].start);
  ExpectNear(Figures()[2].centre, before[2].centre);
}

TEST_F(AttributeCommandTest, OnASecondOriginTheMoveIsMeasuredFromThatOrigin) {
  // Origin 1 at (100, 0) holds the second line and a line across it at
  // y 30; the two meet at (100, 30), which is (0, 30) from origin 1.
  g_originTable[0][1] = {100, 0};
  g_originCount[0] = 2;
  g_layerOriginIndex[0] = g_curOriginIndex = 1;
  FigureRecord& second = g_figureStore.Table(0)->slot(1);
  second.start = {0, 0};
  second.end = {0, 60};
  second.origin = {100, 0};
  ClearCurrentFigure();
  g_curFigure.kind = kKindLine;
  g_curFigure.origin = {100, 0};
  g_curFigure.start = {-50, 30};
  g_curFigure.end = {50, 30};
  g_curFigure.dir = {1, 0};
  g_figureTableSelector = 0;
  ASSERT_TRUE(AppendFigure(0));
  Start(32884);
  ClickAt(100, 45);
  ClickAt(130, 30);
  const auto after = Figures();
  ExpectNear(after[1].start, {0, -30});
  ExpectNear(after[1].end, {0, 30});
  ExpectNear(after.back().start, {-50, 0});
  ExpectNear(after[0].start, {0, 0});  // origin 0's line stays
}

}  // namespace
}  // namespace dorn::test
