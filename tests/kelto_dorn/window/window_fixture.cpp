#include "tests/kelto_dorn/window/window_fixture.h"

#include <cmath>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/document/document.h"
#include "kelto_dorn/document/drawing_files.h"
#include "kelto_dorn/document/startup.h"
#include "kelto_dorn/window/program.h"
#include "platform/clipboard.h"
#include "platform/headless/dialog_driver.h"
#include "platform/key_codes.h"
#include "platform/print_job.h"
#include "platform/text.h"
#include "tests/support/shown_texts.h"

namespace dorn::test {

namespace {

void AddFigure(int table, FigureRecord f) {
  g_curFigure = f;
  g_figureTableSelector = table;
  ASSERT_TRUE(AppendFigure(0));
}

FigureRecord Line(double x0, double y0, double x1, double y1, int layer) {
  FigureRecord f;
  f.kind = kKindLine;
  f.layer = layer;
  f.style = kNewFigureStyle;
  f.attribute = 2;
  f.start = {x0, y0};
  f.end = {x1, y1};
  const double len = std::hypot(x1 - x0, y1 - y0);
  f.dir = {(x1 - x0) / len, (y1 - y0) / len};
  return f;
}

}  // namespace

void WindowTest::SetUp() {
  ProgramFolderTest::SetUp();
  ResetProgramState();
  backend_ = &platform::headless::InstallHeadlessBackend();
  printer_ = &platform::headless::InstallHeadlessPrinting();
  platform::headless::InstallHeadlessClipboard();
}

void WindowTest::TearDown() {
  app_.reset();
  FinishKeltoDorn();
  ResetProgramState();
  platform::UninstallClipboard();
  platform::UninstallPrintService();
  platform::UninstallBackend();
  backend_ = nullptr;
  ProgramFolderTest::TearDown();
}

void WindowTest::Start() {
  app_ = std::make_unique<CKelApp>();
  ASSERT_TRUE(StartKeltoDorn(*app_));
  surface().Paint();
}

void WindowTest::Restart() {
  backend().WhenDialogOpens(193, [](platform::headless::DialogDriver& d) { d.Click(platform::kIdOk); });
  frame().RequestClose();
  ASSERT_TRUE(frame().IsClosed());
  app_.reset();
  FinishKeltoDorn();
  ResetProgramState();
  Start();
}

void WindowTest::StartWithFixtureDrawing() {
  // A first run makes the unit, and the fixture drawing is saved into it.
  ResetProgramState();
  StartupSystem();
  {
    CKelDoc document;
    AddFigure(0, Line(0, 0, 100, 0, 0));
    AddFigure(0, Line(100, 0, 100, 60, 0));
    FigureRecord circle;
    circle.kind = kKindArc;
    circle.attribute = 3;
    circle.style = kNewFigureStyle;
    circle.centre = {50, 30};
    circle.start = circle.end = {60, 30};
    circle.radius = 10;
    AddFigure(0, circle);
    AddFigure(1, Line(-50, -50, 50, 50, 1));
    ASSERT_TRUE(SaveDrawing(document));
  }
  ReleaseSystemResources();
  Start();
}

platform::headless::HeadlessFrame& WindowTest::frame() {
  return static_cast<platform::headless::HeadlessFrame&>(mainFrame().Frame());
}

platform::headless::HeadlessView& WindowTest::surface() { return frame().view(); }

void WindowTest::Click(int x, int y, unsigned modifiers) {
  platform::MouseEvent e;
  e.action = platform::MouseAction::LeftDown;
  e.position = {x, y};
  e.modifiers = modifiers;
  surface().Mouse(e);
  e.action = platform::MouseAction::LeftUp;
  surface().Mouse(e);
}

void WindowTest::RightClick(int x, int y) {
  platform::MouseEvent e;
  e.action = platform::MouseAction::RightDown;
  e.position = {x, y};
  surface().Mouse(e);
  e.action = platform::MouseAction::RightUp;
  surface().Mouse(e);
}

void WindowTest::Drag(int x0, int y0, int x1, int y1, bool right) {
  platform::MouseEvent e;
  e.action = right ? platform::MouseAction::RightDown : platform::MouseAction::LeftDown;
  e.position = {x0, y0};
  surface().Mouse(e);
  e.action = platform::MouseAction::Move;
  e.position = {x1, y1};
  surface().Mouse(e);
  e.action = right ? platform::MouseAction::RightUp : platform::MouseAction::LeftUp;
  surface().Mouse(e);
}

void WindowTest::Move(int x, int y) {
  platform::MouseEvent e;
  e.action = platform::MouseAction::Move;
  e.position = {x, y};
  surface().Mouse(e);
}

void WindowTest::Wheel(int x, int y, int delta) {
  platform::MouseEvent e;
  e.action = platform::MouseAction::Wheel;
  e.position = {x, y};
  e.wheelDelta = delta;
  surface().Mouse(e);
}

void WindowTest::UpdateAllCommands() {
  for (std::size_t i = 0; i < frame().Menu().size(); ++i) frame().OpenMenu(i);
  frame().UpdateToolBars();
}

std::vector<std::string> WindowTest::ShownTexts() const { return testsupport::ShownMessageTexts(*backend_); }

}  // namespace dorn::test
