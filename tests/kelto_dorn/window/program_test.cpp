// The program's start function on the off-screen desktop platform: the
// window opens, its picture is kept as an artefact, and it closes through
// the exit question.
#include <cstdlib>
#include <cstring>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/files/files_state.h"
#include "kelto_dorn/files/rename_dialog.h"
#include "kelto_dorn/window/kel_view.h"
#include "platform/headless/headless_backend.h"
#include "platform/key_codes.h"
#include "platform/text.h"
#include "kelto_dorn/window/app_instance.h"
#include "kelto_dorn/window/main_frame.h"
#include "kelto_dorn/window/program.h"
#include "platform/application.h"
#include "platform/backend.h"
#include "platform/dialog.h"
#include "platform/qt/qt_backend.h"
#include "platform/record_file.h"
#include "shared/handover/drawing_header.h"
#include "tests/support/test_support.h"

// Fontconfig keeps its caches for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace dorn::test {
namespace {

namespace fs = std::filesystem;

class ProgramTest : public testsupport::ProgramFolderTest {
 protected:
  // The fixture drawing of a first run's unit: three figures on layer 0,
  // one on layer 1.
  void WriteFixtureDrawing() {
    platform::headless::InstallHeadlessBackend();
    ResetProgramState();
    StartupSystem();
    {
      CKelDoc document;
      for (int i = 0; i < 4; ++i) {
        g_curFigure = FigureRecord{};
        g_curFigure.kind = kKindLine;
        g_curFigure.attribute = 2 + i;
        g_curFigure.start = {-40.0 * i, -30.0};
        g_curFigure.end = {60.0, 40.0 * i};
        g_figureTableSelector = i < 3 ? 0 : 1;
        ASSERT_TRUE(AppendFigure(0));
      }
      ASSERT_TRUE(SaveDrawing(document));
    }
    ReleaseSystemResources();
    ResetProgramState();
    platform::UninstallBackend();
  }
  static platform::MouseEvent Mouse(platform::MouseAction action, int x, int y, int wheel = 0) {
    platform::MouseEvent e;
    e.action = action;
    e.position = {x, y};
    e.wheelDelta = wheel;
    return e;
  }
  // The next modal dialog of a template is answered with a button once it is up.
  static void AnswerNextDialog(int templateId, int button) {
    platform::PostTask([templateId, button] {
      platform::Dialog* d = platform::ActiveModalDialog();
      ASSERT_NE(d, nullptr);
      EXPECT_EQ(d->TemplateId(), templateId);
      d->UserClick(button);
    });
  }
};

TEST_F(ProgramTest, TheStartFunctionOpensTheWindowAndLeavesThroughTheExitQuestion) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const fs::path picture = fs::path(KELTO_ARTEFACT_DIR) / "kelto_dorn_main.png";
  fs::create_directories(picture.parent_path());
  fs::remove(picture);
  bool shown = false;
  ProgramHooks hooks;
  hooks.onShown = [&](CKelApp& app) {
    shown = true;
    platform::Frame& frame = app.MainFrame().Frame();
    frame.SetWindowRect({0, 0, 1280, 900});
    for (int i = 0; i < 5; ++i) platform::PumpMessages();
    frame.View().UpdateNow();
    EXPECT_TRUE(platform::qt::SaveBitmapPng(frame.Snapshot(), picture));
    AnswerNextDialog(193, platform::kIdOk);  // the exit question
    frame.RequestClose();
  };
  static int argc = 1;
  static char name[] = "Kelto_Dorn";
  static char* argv[] = {name, nullptr};
  EXPECT_EQ(RunKeltoDorn(argc, argv, hooks), 0);
  EXPECT_TRUE(shown);
  EXPECT_TRUE(fs::exists(picture));
  handover::DrawingHeader written;
  ASSERT_TRUE(platform::ReadRecord(home() / "$@@@.@@@", written).ok());
  EXPECT_EQ(written.startMode, 99);
  EXPECT_FALSE(g_figureStore.started());
  ResetProgramState();
  platform::UninstallBackend();
}

// The figure commands on the desktop backend: a line from the tool bar by
// two clicks (the point dialog's mouse button, the rubber band on the way),
// then a circle of typed radius about a clicked centre; the picture is kept.
TEST_F(ProgramTest, ALineAndACircleDrawnFromTheToolBarOnTheDesktopBackend) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  WriteFixtureDrawing();
  const fs::path picture = fs::path(KELTO_ARTEFACT_DIR) / "kelto_dorn_line_drawn.png";
  fs::create_directories(picture.parent_path());
  fs::remove(picture);
  int figuresAfter = 0;
  std::string titleWhileDrawing;
  ProgramHooks hooks;
  hooks.onShown = [&](CKelApp& app) {
    platform::Frame& frame = app.MainFrame().Frame();
    frame.SetWindowRect({0, 0, 1280, 900});
    for (int i = 0; i < 5; ++i) platform::PumpMessages();
    CKelView& view = app.View();
    AnswerNextDialog(161, 1002);  // the point dialog: by mouse
    app.Route(32837);
    titleWhileDrawing = platform::Cp932ToUtf8(frame.Title());
    view.OnMouse(Mouse(platform::MouseAction::LeftDown, 300, 600));
    view.OnMouse(Mouse(platform::MouseAction::LeftUp, 300, 600));
    view.OnMouse(Mouse(platform::MouseAction::Move, 500, 400));
    view.OnMouse(Mouse(platform::MouseAction::Move, 700, 300));
    view.OnMouse(Mouse(platform::MouseAction::LeftDown, 900, 250));
    view.OnMouse(Mouse(platform::MouseAction::LeftUp, 900, 250));
    platform::PostTask([] {
      platform::Dialog* d = platform::ActiveModalDialog();
      ASSERT_NE(d, nullptr);
      d->UserType(1008, "40");
      d->UserEnter();
      AnswerNextDialog(161, 1002);  // then the centre by mouse
    });
    app.Route(32852);
    view.OnMouse(Mouse(platform::MouseAction::Move, 400, 300));
    view.OnMouse(Mouse(platform::MouseAction::LeftDown, 450, 300));
    view.OnMouse(Mouse(platform::MouseAction::LeftUp, 450, 300));
    figuresAfter = GetFigureCount(0);
    for (int i = 0; i < 5; ++i) platform::PumpMessages();
    frame.View().UpdateNow();
    EXPECT_TRUE(platform::qt::SaveBitmapPng(frame.Snapshot(), picture));
    AnswerNextDialog(193, platform::kIdOk);
    frame.RequestClose();
  };
  static int argc = 1;
  static char name[] = "Kelto_Dorn";
  static char* argv[] = {name, nullptr};
  EXPECT_EQ(RunKeltoDorn(argc, argv, hooks), 0);
  EXPECT_EQ(figuresAfter, 5);  // the drawing's three figures, the line and the circle
  EXPECT_NE(titleWhileDrawing.find("ポイントをマウスで指定して下さい"), std::string::npos) << titleWhileDrawing;
  EXPECT_TRUE(fs::exists(picture));
  ResetProgramState();
  platform::UninstallBackend();
}

// What a new user does, on the desktop backend: the last drawing comes up,
// the wheel, a drag and the keys zoom and pan, layer 2 and a bar menu are
// chosen, the drawing is saved and opened again, the work is set, and the
// exit question saves the drawing.
TEST_F(ProgramTest, ANewUsersSessionOnTheDesktopBackend) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  WriteFixtureDrawing();
  const fs::path picture = fs::path(KELTO_ARTEFACT_DIR) / "kelto_dorn_session.png";
  fs::create_directories(picture.parent_path());
  ProgramHooks hooks;
  hooks.onShown = [&](CKelApp& app) {
    platform::Frame& frame = app.MainFrame().Frame();
    frame.SetWindowRect({0, 0, 1280, 900});
    for (int i = 0; i < 5; ++i) platform::PumpMessages();
    CKelView& view = app.View();
    EXPECT_EQ(GetFigureCount(0), 3);  // the drawing of the system record
    const double scale = g_layerScale[0];
    view.OnMouse(Mouse(platform::MouseAction::Wheel, 600, 400, 120));
    EXPECT_GT(g_layerScale[0], scale);
    view.OnMouse(Mouse(platform::MouseAction::RightDown, 600, 400));
    view.OnMouse(Mouse(platform::MouseAction::Move, 650, 420));
    view.OnMouse(Mouse(platform::MouseAction::RightUp, 650, 420));
    view.OnKeyDown(platform::kKeyPageUp, 0);
    view.OnKeyDown(platform::kKeyLeft, 0);
    app.Route(33020);  // layer 2
    EXPECT_EQ(g_curLayer, 1);
    app.Route(33019);
    app.Route(32793);  // the line bar menu
    EXPECT_EQ(g_curBarMenu, 8);
    app.Route(33031);  // save
    AnswerNextDialog(193, platform::kIdOk);
    app.Route(33030);  // open again
    EXPECT_EQ(GetFigureCount(0), 3);
    platform::PostTask([] {
      platform::Dialog* work = platform::ActiveModalDialog();
      ASSERT_NE(work, nullptr);
      EXPECT_EQ(work->TemplateId(), 293);
      work->UserType(1066, "120");
      work->UserClick(1020);  // 登 録
    });
    app.Route(33125);  // the work settings
    EXPECT_DOUBLE_EQ(g_drawingHeader.workSizeX, 120.0);
    for (int i = 0; i < 5; ++i) platform::PumpMessages();
    frame.View().UpdateNow();
    EXPECT_TRUE(platform::qt::SaveBitmapPng(frame.Snapshot(), picture));
    AnswerNextDialog(193, platform::kIdOk);
    frame.RequestClose();
  };
  static int argc = 1;
  static char name[] = "Kelto_Dorn";
  static char* argv[] = {name, nullptr};
  EXPECT_EQ(RunKeltoDorn(argc, argv, hooks), 0);
  handover::DrawingHeader written;
  ASSERT_TRUE(platform::ReadRecord(home() / "$@@@.@@@", written).ok());
  EXPECT_DOUBLE_EQ(written.workSizeX, 120.0);
  EXPECT_EQ(fs::file_size(home() / "SAMPLE" / "PGM" / "SEG" / "TEST.MZF"), 4u * sizeof(FigureRecord));
  ResetProgramState();
  platform::UninstallBackend();
}

// A program start leaves no file-list mode of an earlier run behind: a delete
// mode left at 2 would delete the next pick without asking.
TEST(ProgramStateTest, TheResetClearsTheFileListModesAndPicks) {
  g_deleteMode = 2;
  g_fileCopyMode = 2;
  g_renameMode = kRenameTextInput;
  g_pickedItems[0] = 7;
  g_pickedItemCount = 1;
  std::strcpy(g_typedFolder, "X:\\OLD\\*.*");
  ResetProgramState();
  EXPECT_EQ(g_deleteMode, 0);
  EXPECT_EQ(g_fileCopyMode, 0);
  EXPECT_EQ(g_renameMode, 0);
  EXPECT_EQ(g_pickedItems[0], 0xFFFF);
  EXPECT_EQ(g_pickedItemCount, 0);
  EXPECT_STREQ(g_typedFolder, "");
}

}  // namespace
}  // namespace dorn::test
