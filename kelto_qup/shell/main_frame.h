#pragma once
// CMainFrame: the companion's main window on the platform frame. It restores
// its place from "$RECT.@@@", carries two tool bars, routes the frame-level
// commands (force quit, the three exit commands, one or four panes,
// execution mode, rapid and work-box display, zoom, undo of a pane switch,
// settings, the tool-information CSV), keeps every command's enabled and
// ticked state in step with the program, and saves the display settings
// when the window closes.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "kelto_qup/shell/display_settings_dlg.h"
#include "kelto_qup/shell/qup_app.h"
#include "kelto_qup/shell/qup_doc.h"
#include "platform/frame.h"
#include "platform/record_file.h"

namespace qup::shell {

class CQupView;

// "$RECT.@@@" in the program folder, 24 bytes, written and read by this
// program: the window rectangle and the styles of its two tool bars. A right
// or bottom of 0 opens the window maximised.
//
// | off | type  | field     | meaning                                   |
// |-----|-------|-----------|-------------------------------------------|
// |   0 | int32 | left      | screen pixels                             |
// |   4 | int32 | top       |                                           |
// |   8 | int32 | right     |                                           |
// |  12 | int32 | bottom    |                                           |
// |  16 | int32 | bar1Style | 0: default 0x1074; the dock side in the   |
// |     |       |           | bits 0x1000 left, 0x2000 top, 0x4000      |
// |     |       |           | right, 0x8000 bottom                      |
// |  20 | int32 | bar2Style | 0: default 0x4074                         |
struct WindowPlacement {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 1280;
  std::int32_t bottom = 1024;
  std::int32_t bar1Style = 0;
  std::int32_t bar2Style = 0;
};
static_assert(sizeof(WindowPlacement) == 24);
static_assert(offsetof(WindowPlacement, left) == 0);
static_assert(offsetof(WindowPlacement, top) == 4);
static_assert(offsetof(WindowPlacement, right) == 8);
static_assert(offsetof(WindowPlacement, bottom) == 12);
static_assert(offsetof(WindowPlacement, bar1Style) == 16);
static_assert(offsetof(WindowPlacement, bar2Style) == 20);
static_assert(platform::FileRecord<WindowPlacement>);

inline constexpr char kWindowPlacementFileName[] = "$RECT.@@@";
inline constexpr int kToolBar1 = 128;
inline constexpr int kToolBar2 = 133;

class CMainFrame {
 public:
  CMainFrame(CQupApp& app, CQupDoc& doc, platform::Frame& frame);

  // "$RECT.@@@" (missing: 0, 0, 1280, 1024 and the default bar styles) gives
  // the window's place; right or bottom 0 opens it maximised on activation.
  void PreCreateWindow();
  // The menu and the two tool bars.
  void OnCreate();
  // Routes the frame's commands, its update handler and its close request.
  void Attach(CQupView& view);
  void OnActivate();
  void OnCommand(int commandId);
  void OnUpdate(platform::CommandUpdate& update) const;
  // The close box and the exit commands: false keeps the window open.
  bool OnClose();
  // "$LIB.@@@" and "$CGM.@@@" (not in start or sub-mode 2); a file that
  // cannot be written is named in a box, the window closes all the same.
  void SaveDisplaySettings();

  platform::Frame& Frame() { return frame_; }
  const WindowPlacement& Placement() const { return placement_; }
  int MaximizeWord() const { return maximizeWord_; }
  View3DSettings view3D;

 private:
  bool ExitCommandAllowed();
  void WritePlacement(const WindowPlacement& placement);
  void SaveDisplayList();
  bool settingsOpen_ = false;
  bool closed_ = false;
  bool teardownDone_ = false;

  CQupApp& app_;
  CQupDoc& doc_;
  platform::Frame& frame_;
  CQupView* view_ = nullptr;
  WindowPlacement placement_{};
  int maximizeWord_ = 0;
};

}  // namespace qup::shell
