#pragma once
// CMainFrame: the main window. It restores its rectangle and bar styles from
// "$RECT_BLD.@@@", owns the fourteen tool bars (the bar-menu bar whose
// buttons change with the chosen bar menu, the eleven bar menus of the
// simultaneous display, the standard bar and the selector bar), the 32 layer
// commands, the display switches, the Help read-outs and the exit commands,
// and turns the close into the program's exit question. There is no status
// bar: the prompt is the window title.
#include <array>
#include <memory>

#include "kelto_dorn/window/menu_tables.h"
#include "kelto_dorn/window/window_rect_file.h"
#include "platform/frame.h"

namespace dorn {

class CKelDoc;

// The chosen bar menu and the one before, as bits (2, 4, ... 4096).
extern int g_curBarMenu;
extern int g_prevBarMenu;

// Bar ids of the frame's tool bars.
inline constexpr int kBarMenuBarId = 0xE800;        // the bar whose buttons follow the bar menu
inline constexpr int kFirstSeparateBarId = 0xE801;  // + bar menu index 0-10
inline constexpr int kStandardBarId = 0xE810;
inline constexpr int kSelectorBarId = 0xE811;
// Buttons of the bar menus are this wide; the standard and selector bars' 30.
inline constexpr int kBarMenuButtonWidth = 80;
inline constexpr int kIconButtonWidth = 30;

class CMainFrame {
 public:
  explicit CMainFrame(CKelDoc& document);
  ~CMainFrame();
  CMainFrame(const CMainFrame&) = delete;
  CMainFrame& operator=(const CMainFrame&) = delete;

  // PreCreateWindow and OnCreate: the window from its rectangle file, the
  // menu bar and the tool bars. Returns 0, or -1 when a bar failed.
  int Create();
  // The first activation: a frame that opens maximised maximises once.
  void OnActivate();

  platform::Frame& Frame() { return *frame_; }

  // Runs a command of the frame; false when the id is not the frame's.
  bool OnCommand(int id);
  // Whether the frame has a handler (or a read-out) for the id.
  bool Handles(int id) const;
  // Enabling, ticks and texts of the frame's commands and of the view's
  // commands that only the frame shows the state of.
  void OnUpdateCommand(platform::CommandUpdate& update);
  // WM_CLOSE: the exit question; true when the window may close.
  bool OnClose();

  void SelectLayer(int layer);
  // The bar-menu commands, 32886 and 33018.
  void ShowBarMenu(const BarMenu& menu);
  void ShowPreviousBarMenu();
  void ToggleSimultaneousBarMenus();
  bool BarMenuShown(int index) const { return shown_[static_cast<std::size_t>(index)] != 0; }
  int SimultaneousBarMenus() const { return barMenuAll_; }
  int MaximizeOnActivate() const { return maximizeOnActivate_; }

 private:
  void CreateToolBars();
  // The exit commands: the rectangle file, then the close.
  void SaveRectAndClose(int id);
  WindowRectRecord CurrentStyles() const;
  void OnDimensionPickMode(int id);
  void OpenProgramFile(const char* name);
  void OpenToolReport();
  void ShowMenuFault();

  CKelDoc& document_;
  std::unique_ptr<platform::Frame> frame_;
  WindowRectRecord styles_;  // as read (0 = default)
  int barMenuAll_ = 0;       // 0xFFFF while every bar menu has a bar of its own
  std::array<int, kBarMenuCount> shown_{};
  int maximizeOnActivate_ = 0;  // 1 to maximise on the first activation, 2 after
  int coordFilesEnabled_ = 1;
};

}  // namespace dorn
