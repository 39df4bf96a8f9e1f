// The switches and settings the menus and bars hold: each press sets the word
// the command is for, and the command's update handler shows that word (tick
// or text) when the menus are next opened. The frame's display switches, the
// dimension pick modes, the view's toggles, the line types and colours of new
// figures and the user font.
#include <functional>
#include <string>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/dialogs/color_palette_dialog.h"
#include "kelto_dorn/window/command_ids.h"
#include "platform/headless/dialog_driver.h"
#include "platform/text.h"
#include "tests/kelto_dorn/window/window_fixture.h"

namespace dorn::test {
namespace {

using platform::CheckState;
using platform::headless::DialogDriver;

constexpr CheckState kOn = CheckState::Checked;
constexpr CheckState kOff = CheckState::Unchecked;

class SwitchesTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    Start();
    g_drawingHooks.showPrompt = [this](int code) { prompts.push_back(code); };
  }
  CheckState Tick(int id) {
    UpdateAllCommands();
    return frame().GetCommandState(id).check;
  }
  std::string Caption(int id) {
    UpdateAllCommands();
    const auto caption = frame().GetCommandState(id).caption;
    return caption ? platform::Cp932ToUtf8(*caption) : std::string("(table caption)");
  }
  std::vector<int> prompts;
};

// One press of a switch: the words it is for afterwards, the tick, whether
// the view is to be repainted.
struct Press {
  std::vector<int> words;
  CheckState tick;
  bool repaints;
};

struct SwitchCase {
  const char* name;
  int id;
  std::function<void()> arrange;            // the words before the first press
  std::function<std::vector<int>()> words;  // the words the switch is for
  std::vector<Press> presses;
};

TEST_F(SwitchesTest, EachPressOfASwitchSetsItsWordAndItsTickFollows) {
  auto dimensionValues = [] { return std::vector<int>{g_showDimensions}; };
  const SwitchCase cases[] = {
      {"+90 angle reference",
       cmd::kAngle90Reference,
       [] { g_view.m_angleReference90 = 0; },
       [] { return std::vector<int>{g_view.m_angleReference90}; },
       {{{0xFFFF}, kOn, false}, {{0}, kOff, false}}},
      {"dimension values",
       cmd::kDimensionValues,
       [] { g_showDimensions = 1; },
       dimensionValues,
       {{{0}, kOff, true}, {{1}, kOn, true}}},
      // 0 -> 1 (dimension values on) -> 2 (dimension values off) -> 0.
      {"CAD figure display",
       cmd::kCadDisplay,
       [] {
         g_view.m_cadDisplayMode = 0;
         g_showDimensions = 0;
       },
       [] {
         return std::vector<int>{g_view.m_cadDisplayMode, g_showDimensions};
       },
       {{{1, 1}, kOn, true}, {{2, 0}, kOff, true}, {{0, 0}, kOff, true}}},
      {"coordinate axes",
       cmd::kCoordinateAxes,
       [] { g_showAxes = 1; },
       [] { return std::vector<int>{g_showAxes}; },
       {{{0}, kOff, true}, {{1}, kOn, true}}},
      {"thick line of new figures",
       cmd::kThickLine,
       [] { g_figureAttribute = 0; },
       [] { return std::vector<int>{g_figureAttribute}; },
       {{{kAttrThick}, kOn, false}, {{0}, kOff, false}}},
      {"automatic intersection",
       cmd::kAutoIntersection,
       [] { g_autoIntersection = 0; },
       [] { return std::vector<int>{g_autoIntersection}; },
       {{{1}, kOn, false}, {{0}, kOff, false}}},
      {"dimension value extension",
       cmd::kDimensionExtension,
       [] { g_view.m_dimensionExtension = 0; },
       [] { return std::vector<int>{g_view.m_dimensionExtension}; },
       {{{1}, kOn, false}, {{0}, kOff, false}}},
  };
  for (const SwitchCase& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    surface().Paint();
    int press = 0;
    for (const Press& p : c.presses) {
      SCOPED_TRACE("press " + std::to_string(++press));
      ASSERT_TRUE(frame().Invoke(c.id));
      EXPECT_EQ(c.words(), p.words);
      EXPECT_EQ(surface().PaintPending(), p.repaints);
      EXPECT_EQ(Tick(c.id), p.tick);
      surface().Paint();
    }
  }
}

TEST_F(SwitchesTest, TheOverwriteSwitchNamesItsStateAndBeepsWhenItGoesOn) {
  EXPECT_EQ(Caption(cmd::kOverwrite), "上書き[OFF]");
  const int beeps = backend().BeepCount();
  ASSERT_TRUE(frame().Invoke(cmd::kOverwrite));
  EXPECT_EQ(g_view.m_overwrite, 1);
  EXPECT_EQ(backend().BeepCount(), beeps + 1);
  EXPECT_EQ(Caption(cmd::kOverwrite), "上書き[ON]");
  ASSERT_TRUE(frame().Invoke(cmd::kOverwrite));
  EXPECT_EQ(g_view.m_overwrite, 0);
  EXPECT_EQ(backend().BeepCount(), beeps + 1);
  EXPECT_EQ(Caption(cmd::kOverwrite), "上書き[OFF]");
}

struct DimensionModeCase {
  const char* name;
  int id;
  int activeCommand;
  int modeAfter;
  int stateAfter;
  int prompt;  // -1: none
  std::vector<int> dimensionRuns;
  CheckState crossTick, lineTick;
};

TEST_F(SwitchesTest, TheDimensionPickModes) {
  const DimensionModeCase cases[] = {
      {"cross mode, no command", cmd::kDimensionCrossMode, 0, 0, 33154, 13, {}, kOn, kOff},
      {"line mode, no command", cmd::kDimensionLineMode, 0, 1, 33155, 14, {}, kOff, kOn},
      {"cross mode runs the active dimension", cmd::kDimensionCrossMode, 33145, 0, 33154, 13, {33145}, kOn, kOff},
      {"line mode runs the active dimension", cmd::kDimensionLineMode, 33151, 1, 33155, 14, {33151}, kOff, kOn},
      // The diameter, radius and distance dimensions only change their mode.
      {"cross mode in a diameter dimension", cmd::kDimensionCrossMode, 33146, 1, 9, -1, {}, kOff, kOn},
      {"cross mode in a distance dimension", cmd::kDimensionCrossMode, 33161, 1, 9, -1, {}, kOff, kOn},
  };
  std::vector<int> runs;
  g_commandEngines.runDimensionCommand = [&runs](int id) { runs.push_back(id); };
  for (const DimensionModeCase& c : cases) {
    SCOPED_TRACE(c.name);
    g_dimensionStyle.dimPickMode = c.modeAfter == 0 ? 1 : 0;  // the other mode first
    g_curCommand = c.activeCommand;
    g_pickState = 9;
    prompts.clear();
    runs.clear();
    ASSERT_TRUE(frame().Invoke(c.id));
    EXPECT_EQ(g_dimensionStyle.dimPickMode, c.modeAfter);
    EXPECT_EQ(g_pickState, c.stateAfter);
    EXPECT_EQ(prompts.empty() ? -1 : prompts.back(), c.prompt);
    EXPECT_EQ(runs, c.dimensionRuns);
    EXPECT_EQ(Tick(cmd::kDimensionCrossMode), c.crossTick);
    EXPECT_EQ(Tick(cmd::kDimensionLineMode), c.lineTick);
  }
}

TEST_F(SwitchesTest, ALineTypeKeepsTheColourOfNewFiguresAndIsTheOnlyOneTicked) {
  struct Case {
    int id;
    int lineType;
  };
  const Case cases[] = {
      {cmd::kLineDashed, 0x1000}, {cmd::kLineChain1, 0x2000}, {cmd::kLineChain2, 0x4000}, {cmd::kLineSolid, 0}};
  const int lineTypes[] = {cmd::kLineSolid, cmd::kLineDashed, cmd::kLineChain1, cmd::kLineChain2};
  g_figureStyle = 5 + 0x2000;  // colour 5, chain line
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    ASSERT_TRUE(frame().Invoke(c.id));
    EXPECT_EQ(g_lineType, c.lineType);
    EXPECT_EQ(g_figureStyle, 5 + c.lineType);
    for (int other : lineTypes) EXPECT_EQ(Tick(other), other == c.id ? kOn : kOff) << other;
  }
}

TEST_F(SwitchesTest, TheColourCommandsTakeAChosenPaletteIndexAndACancelChangesNothing) {
  ASSERT_TRUE(frame().Invoke(cmd::kLineDashed));
  UpdateAllCommands();
  EXPECT_TRUE(frame().GetCommandState(cmd::kLineColour).enabled);
  EXPECT_TRUE(frame().GetCommandState(cmd::kCurveColour).enabled);

  backend().WhenDialogOpens(kColorPaletteDialogId, [](DialogDriver& d) { d.Click(PaletteButtonId(9)); });
  ASSERT_TRUE(frame().Invoke(cmd::kLineColour));
  EXPECT_EQ(g_figureStyle, 9 + 0x1000);  // the colour with the line type
  backend().WhenDialogOpens(kColorPaletteDialogId, [](DialogDriver& d) { d.PressEscape(); });
  ASSERT_TRUE(frame().Invoke(cmd::kLineColour));
  EXPECT_EQ(g_figureStyle, 9 + 0x1000);

  g_curveColor = 3;
  backend().WhenDialogOpens(kColorPaletteDialogId, [](DialogDriver& d) { d.Click(PaletteButtonId(31)); });
  ASSERT_TRUE(frame().Invoke(cmd::kCurveColour));
  EXPECT_EQ(g_curveColor, 31);
  backend().WhenDialogOpens(kColorPaletteDialogId, [](DialogDriver& d) { d.PressEscape(); });
  ASSERT_TRUE(frame().Invoke(cmd::kCurveColour));
  EXPECT_EQ(g_curveColor, 31);
  EXPECT_EQ(g_figureStyle, 9 + 0x1000);
  EXPECT_TRUE(backend().Problems().empty());
}

TEST_F(SwitchesTest, TheFontCommandReplacesTheUserFontAndACancelKeepsIt) {
  UpdateAllCommands();
  EXPECT_TRUE(frame().GetCommandState(cmd::kFontSettings).enabled);
  const platform::Font before = view().UserFont();
  backend().AnswerFontChooser(std::nullopt);
  ASSERT_TRUE(frame().Invoke(cmd::kFontSettings));
  EXPECT_EQ(view().UserFont(), before);

  platform::Font chosen = before;
  chosen.height = 24;
  chosen.weight = 700;
  backend().AnswerFontChooser(chosen);
  ASSERT_TRUE(frame().Invoke(cmd::kFontSettings));
  EXPECT_EQ(view().UserFont(), chosen);
  EXPECT_EQ(view().ReadoutFont().height, 20);  // the read-out keeps its own font
}

}  // namespace
}  // namespace dorn::test
