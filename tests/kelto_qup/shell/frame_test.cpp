// The companion's main frame: its place from "$RECT.@@@", closing and the
// exit commands, the settings written on close, and the command states.
#include <gtest/gtest.h>

#include "kelto_qup/shell/main_frame.h"
#include "platform/message_box.h"
#include "platform/record_file.h"
#include "shared/handover/display_record.h"
#include "shared/handover/display_settings_record.h"
#include "shared/handover/drawing_state_settings.h"
#include "tests/kelto_qup/shell/shell_fixture.h"

namespace qup::shell::test {
namespace {

void WritePlacement(const fs::path& home, WindowPlacement p) {
  ASSERT_TRUE(platform::WriteRecord(home / kWindowPlacementFileName, p).ok());
}

TEST_F(ShellTest, TheWindowTakesItsPlaceFromTheRectFileAndRightZeroMaximises) {
  WriteHeader(handover::DefaultDrawingHeader());
  WritePlacement(home(), {30, 40, 830, 640, 0, 0});
  Start();
  EXPECT_EQ(frame().WindowRect(), (platform::Rect{30, 40, 830, 640}));
  EXPECT_FALSE(frame().IsMaximized());
  EXPECT_EQ(frame().ToolBarSide(kToolBar1), platform::DockSide::Left);
  EXPECT_EQ(frame().ToolBarSide(kToolBar2), platform::DockSide::Right);

  WritePlacement(home(), {30, 40, 0, 640, 0x2074, 0x8074});
  Start();
  EXPECT_EQ(frame().WindowRect(), (platform::Rect{0, 0, 1280, 1020}));
  EXPECT_TRUE(frame().IsMaximized()) << "maximised when the window is first activated";
  EXPECT_EQ(companion().frame->MaximizeWord(), 2);
  EXPECT_EQ(frame().ToolBarSide(kToolBar1), platform::DockSide::Top);
  EXPECT_EQ(frame().ToolBarSide(kToolBar2), platform::DockSide::Bottom);
}

TEST_F(ShellTest, ClosingSavesTheDisplaySettingsExceptInSubModeTwo) {
  for (int subMode : {2, 0}) {
    fs::remove(home() / handover::kDrawingStateFileName);
    fs::remove(home() / handover::kDisplaySettingsFileName);
    handover::DrawingHeader header = handover::DefaultDrawingHeader();
    header.startMode = 4;
    header.subMode = subMode;
    WriteHeader(header);
    Companion& c = Start();
    Dispatch();
    c.app.panes.colorOffset = 3;
    c.app.panes.zoomAccumulator = 10.0;
    frame().RequestClose();
    ASSERT_TRUE(frame().IsClosed());
    EXPECT_EQ(fs::exists(home() / handover::kDrawingStateFileName), subMode != 2) << subMode;
    EXPECT_EQ(fs::exists(home() / handover::kDisplaySettingsFileName), subMode != 2) << subMode;
  }
  handover::PlotterSettings lib;
  ASSERT_TRUE(handover::ReadPlotterSettings(home() / handover::kDrawingStateFileName, lib).ok());
  EXPECT_EQ(lib.graphic.scale[0], 60.0) << "the zoom accumulator is folded in first";
  handover::DisplaySettingsRecord cgm;
  ASSERT_TRUE(handover::ReadDisplaySettings(home() / handover::kDisplaySettingsFileName, cgm).ok());
  EXPECT_EQ(cgm.colorOffset, 3);
}

TEST_F(ShellTest, TheCloseBoxDuringARunAsksAndKeepsTheWindow) {
  WriteHeader(handover::DefaultDrawingHeader());
  Companion& c = Start();
  view().Paint();
  c.view->RunState = kRunning;
  backend().AnswerMessageBox(platform::kIdNo);
  frame().RequestClose();
  EXPECT_EQ(Boxes(), std::vector<std::string>{"強制終了しますか....???"});
  EXPECT_FALSE(frame().IsClosed());
  EXPECT_EQ(c.app.run.AbortFlag, 0);
  backend().AnswerMessageBox(platform::kIdYes);
  frame().RequestClose();
  EXPECT_EQ(c.app.run.AbortFlag, kStopRun) << "Yes stops the run";
  EXPECT_FALSE(frame().IsClosed()) << "the run ends first; the window stays";
}

TEST_F(ShellTest, ExitCommandsWriteTheRectFileAndTheDisplayList) {
  struct Case {
    int command;
    WindowPlacement expected;
    bool displayList;
  } cases[] = {
      {32773, {0, 0, 1280, 1024, 0, 0}, false},
      {32772, {0, 0, 700, 500, 0x1074, 0x4074}, true},
      {32865, {0, 0, 0, 0, 0x1074, 0x4074}, true},
  };
  for (const Case& k : cases) {
    fs::remove(home() / handover::kDisplayListFileName);
    WriteHeader(handover::DefaultDrawingHeader());
    WritePlacement(home(), {100, 100, 800, 600, 0, 0});
    Companion& c = Start();
    Dispatch();
    handover::CDisplayRecord r;
    r.kind = 1;
    c.doc.AddDisplayRecord(r);
    ASSERT_TRUE(frame().Invoke(k.command)) << k.command;
    EXPECT_TRUE(frame().IsClosed()) << k.command;
    WindowPlacement written;
    ASSERT_TRUE(platform::ReadRecord(home() / kWindowPlacementFileName, written).ok());
    EXPECT_EQ(written.right, k.expected.right) << k.command;
    EXPECT_EQ(written.bottom, k.expected.bottom) << k.command;
    EXPECT_EQ(written.left, 0);
    EXPECT_EQ(written.bar1Style, k.expected.bar1Style) << k.command;
    EXPECT_EQ(fs::exists(home() / handover::kDisplayListFileName), k.displayList) << k.command;
  }
}

TEST_F(ShellTest, SettingsThatCannotBeWrittenAreNamedAndTheWindowStillCloses) {
  WriteHeader(handover::DefaultDrawingHeader());
  fs::create_directory(home() / handover::kDrawingStateFileName);
  Start();
  Dispatch();
  frame().RequestClose();
  EXPECT_TRUE(frame().IsClosed());
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].find("$LIB.@@@"), std::string::npos);
}

TEST_F(ShellTest, CommandStatesFollowTheProgram) {
  WriteHeader(handover::DefaultDrawingHeader());
  Companion& c = Start();
  Dispatch();
  frame().UpdateToolBars();
  ASSERT_TRUE(frame().OpenMenu(0));
  EXPECT_FALSE(frame().GetCommandState(32776).enabled) << "force quit only during a run";
  EXPECT_FALSE(frame().GetCommandState(32838).enabled) << "no 3-D display yet";
  EXPECT_TRUE(frame().GetCommandState(kCommandNcCopy).enabled);
  EXPECT_TRUE(frame().GetCommandState(kCommandNfsSend).enabled);
  EXPECT_TRUE(frame().GetCommandState(32824).enabled);
  EXPECT_EQ(frame().GetCommandState(32813).check, platform::CheckState::Checked);
  EXPECT_EQ(frame().GetCommandState(32806).check, platform::CheckState::Checked);
  ASSERT_TRUE(frame().Invoke(32812));
  EXPECT_EQ(c.app.Header().executionMode, 1);
  EXPECT_EQ(c.app.run.output.StepPause, 1) << "PAUSE arms the pause";
  ASSERT_TRUE(frame().Invoke(32806));
  frame().UpdateToolBars();
  EXPECT_EQ(frame().GetCommandState(32812).check, platform::CheckState::Checked);
  EXPECT_EQ(frame().GetCommandState(32806).check, platform::CheckState::Indeterminate);
  ASSERT_TRUE(frame().Invoke(32813));
  EXPECT_EQ(c.app.run.output.StepPause, 0);
  c.view->RunState = kRunning;
  frame().UpdateToolBars();
  EXPECT_TRUE(frame().GetCommandState(32776).enabled);
  EXPECT_FALSE(frame().GetCommandState(32824).enabled);
  EXPECT_FALSE(frame().Invoke(32824));
}

}  // namespace
}  // namespace qup::shell::test
