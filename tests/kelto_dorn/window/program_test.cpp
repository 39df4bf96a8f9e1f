// The program's start function on the off-screen desktop platform: the
// window opens, its picture is kept as an artefact, and it closes through
// the exit question.
#include <cstdlib>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
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

class ProgramTest : public testsupport::ProgramFolderTest {};

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
    // The exit question is answered OK once it is up.
    platform::PostTask([] {
      platform::Dialog* question = platform::ActiveModalDialog();
      ASSERT_NE(question, nullptr);
      EXPECT_EQ(question->TemplateId(), 193);
      question->UserClick(platform::kIdOk);
    });
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

}  // namespace
}  // namespace dorn::test
