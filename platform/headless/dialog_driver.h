#pragma once
// Drives an open dialog the way a user would, without a display: click,
// focus, type, select, press Enter or Esc, tick a timer. Every call returns
// false when a user could not have done it (no such control, disabled,
// hidden, or the dialog already ended). Values are read back through the
// dialog itself (GetText, GetCheck, GetCurSel ...).
#include <string_view>
#include <vector>

#include "platform/dialog.h"
#include "platform/recording_context.h"

namespace platform::headless {

class DialogDriver {
 public:
  explicit DialogDriver(Dialog& dialog) : dialog_(dialog) {}

  Dialog& dialog() { return dialog_; }

  bool Click(int id) { return dialog_.UserClick(id); }
  bool Focus(int id) { return dialog_.UserFocus(id); }
  // Focuses the control and replaces its text (a rich edit gets the text at
  // its selection), as typing there would.
  bool Type(int id, std::string_view cp932) { return dialog_.UserType(id, cp932); }
  bool Select(int id, int row) { return dialog_.UserSelect(id, row); }
  bool ToggleSelection(int id, int row) { return dialog_.UserToggleSelection(id, row); }
  bool DoubleClick(int id, int row = -1) { return dialog_.UserDoubleClick(id, row); }
  bool Scroll(int id, int position) { return dialog_.UserScroll(id, position); }
  bool Key(int id, int key, unsigned modifiers = 0) { return dialog_.UserKey(id, key, modifiers); }
  // The wheel over control id (0: none): 120 per notch, positive away from the user.
  bool Wheel(int id, int delta) { return dialog_.UserWheel(id, delta); }
  bool MenuCommand(int commandId) { return dialog_.UserCommand(commandId); }
  bool PressEnter() { return dialog_.UserEnter(); }
  bool PressEscape() { return dialog_.UserEscape(); }
  bool TickTimer(int timerId) { return dialog_.UserTimer(timerId); }
  bool SelectText(int id, int start, int end) { return dialog_.UserSetSelection(id, start, end); }

  // Paints an owner-drawn button in the given state and returns what it drew.
  std::vector<Primitive> Paint(int id, const OwnerDrawItem& state);

 private:
  Dialog& dialog_;
};

}  // namespace platform::headless
