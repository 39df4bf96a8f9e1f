// The window rectangle file: how the frame opens from it and what the exit
// commands write into it.
#include <fstream>

#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/window/window_rect_file.h"
#include "platform/record_file.h"
#include "tests/kelto_dorn/window/window_fixture.h"

namespace dorn::test {
namespace {

void WriteBytes(const std::filesystem::path& p, const void* data, std::size_t n) {
  std::ofstream out(p, std::ios::binary);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(n));
}

class WindowRectTest : public WindowTest {};

struct PlacementCase {
  const char* name;
  WindowRectRecord record;
  std::size_t bytes;  // 0: no file
  platform::Rect rect;
  bool maximize;
};

TEST_F(WindowRectTest, PlacementFromTheFile) {
  const platform::Rect desktop{0, 0, 1920, 1080};
  const PlacementCase cases[] = {
      {"missing", {}, 0, {0, 0, 1280, 1024}, false},
      {"stored", {10, 20, 810, 620, 0, 0, 0}, 28, {10, 20, 810, 620}, false},
      {"maximised request", {0, 0, 0, 0, 0, 0, 0}, 28, {0, 0, 1280, 900}, true},
      {"short", {10, 20, 810, 620, 0, 0, 0}, 12, {0, 0, 1280, 900}, true},
      {"upside down", {800, 600, 10, 20, 0, 0, 0}, 28, {0, 0, 1280, 900}, true},
      {"off the desktop", {5000, 4000, 5800, 4600, 0, 0, 0}, 28, {0, 0, 1280, 900}, true},
      {"unknown bar style", {10, 20, 810, 620, 0x70000, 0, 0}, 28, {0, 0, 1280, 900}, true},
  };
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(c.name);
    g_programFolder = home();
    std::filesystem::remove(home() / kWindowRectFileName);
    if (c.bytes) WriteBytes(home() / kWindowRectFileName, &c.record, c.bytes);
    const WindowPlacement p = ReadWindowPlacement(desktop);
    EXPECT_EQ(p.rect, c.rect);
    EXPECT_EQ(p.maximize, c.maximize);
  }
}

TEST_F(WindowRectTest, AnEmptyRectangleMaximisesOnceOnTheFirstActivation) {
  const WindowRectRecord zero{};
  WriteBytes(home() / kWindowRectFileName, &zero, sizeof zero);
  Start();
  EXPECT_TRUE(frame().IsMaximized());
  EXPECT_EQ(mainFrame().MaximizeOnActivate(), 2);
  frame().SetWindowRect({0, 0, 640, 480});
  mainFrame().OnActivate();
  EXPECT_FALSE(frame().IsMaximized());
}

TEST_F(WindowRectTest, StoredBarSidesDockTheBars) {
  const WindowRectRecord r{0, 0, 900, 700, 0x8074 /*bottom*/, 0x4074 /*right*/, 0x1074 /*left*/};
  WriteBytes(home() / kWindowRectFileName, &r, sizeof r);
  Start();
  EXPECT_EQ(frame().ToolBarSide(kStandardBarId), platform::DockSide::Bottom);
  EXPECT_EQ(frame().ToolBarSide(kBarMenuBarId), platform::DockSide::Right);
  EXPECT_EQ(frame().ToolBarSide(kSelectorBarId), platform::DockSide::Left);
}

struct ExitCase {
  int command;
  WindowRectRecord expected;
};

TEST_F(WindowRectTest, TheExitCommandsWriteTheFileAndClose) {
  const ExitCase cases[] = {
      {33038, {0, 0, 1000, 800, 0x4074, 0x1074, 0x2074}},
      {33039, {0, 0, 0, 0, 0, 0, 0}},
      {33196, {0, 0, 0, 0, 0x4074, 0x1074, 0x2074}},
  };
  for (const ExitCase& c : cases) {
    SCOPED_TRACE(c.command);
    Start();
    frame().SetWindowRect({30, 40, 1000, 800});
    backend().WhenDialogOpens(193, [](platform::headless::DialogDriver& d) { d.Click(1); });
    ASSERT_TRUE(frame().Invoke(c.command));
    EXPECT_TRUE(frame().IsClosed());
    WindowRectRecord written;
    ASSERT_TRUE(platform::ReadRecord(home() / kWindowRectFileName, written).ok());
    EXPECT_EQ(written.left, c.expected.left);
    EXPECT_EQ(written.top, c.expected.top);
    EXPECT_EQ(written.right, c.expected.right);
    EXPECT_EQ(written.bottom, c.expected.bottom);
    EXPECT_EQ(written.standardBar, c.expected.standardBar);
    EXPECT_EQ(written.barMenus, c.expected.barMenus);
    EXPECT_EQ(written.selectorBar, c.expected.selectorBar);
    TearDown();
    SetUp();
  }
}

TEST_F(WindowRectTest, AFailedWriteIsReported) {
  Start();
  // A folder in the file's place: the rename over it fails.
  std::filesystem::create_directories(home() / kWindowRectFileName / "x");
  backend().WhenDialogOpens(193, [](platform::headless::DialogDriver& d) { d.Click(2); });
  ASSERT_TRUE(frame().Invoke(33196));
  ASSERT_FALSE(ShownTexts().empty());
  EXPECT_NE(ShownTexts().front().find("RECT_BLD"), std::string::npos) << ShownTexts().front();
}

}  // namespace
}  // namespace dorn::test
