#pragma once
// The whole program without a display: a temporary program folder, every
// state reset, the headless backend with printing and clipboard, start-up
// and InitInstance (document, frame with its bars, view), and a fixture
// drawing when a test asks for one.
#include <memory>
#include <string>
#include <vector>

#include "kelto_dorn/window/app_instance.h"
#include "kelto_dorn/window/kel_view.h"
#include "kelto_dorn/window/main_frame.h"
#include "platform/headless/clipboard_headless.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_frame.h"
#include "platform/headless/print_headless.h"
#include "tests/support/test_support.h"

namespace dorn::test {

class WindowTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the fixture drawing (lines on layers 0 and 1, a circle on layer 0)
  // as the drawing the system record names, then starts the program on it.
  void StartWithFixtureDrawing();
  // Starts the program (StartKeltoDorn) on what the program folder holds.
  void Start();
  // Ends the running program as closing its window does (the exit question
  // answered OK: the drawing and the settings are saved) and starts it again.
  void Restart();

  CKelApp& app() { return *app_; }
  CKelView& view() { return app_->View(); }
  CMainFrame& mainFrame() { return app_->MainFrame(); }
  platform::headless::HeadlessFrame& frame();
  platform::headless::HeadlessView& surface();
  platform::headless::HeadlessBackend& backend() { return *backend_; }
  platform::headless::HeadlessPrintService& printer() { return *printer_; }

  // Mouse and keys as the user gives them.
  void Click(int x, int y, unsigned modifiers = 0);
  void RightClick(int x, int y);
  void Drag(int x0, int y0, int x1, int y1, bool right = false);
  void Move(int x, int y);
  void Wheel(int x, int y, int delta);
  // Opens every menu so that every command's state is brought up to date.
  void UpdateAllCommands();
  // The UTF-8 texts of the message boxes shown so far.
  std::vector<std::string> ShownTexts() const;

 private:
  std::unique_ptr<CKelApp> app_;
  platform::headless::HeadlessBackend* backend_ = nullptr;
  platform::headless::HeadlessPrintService* printer_ = nullptr;
};

}  // namespace dorn::test
