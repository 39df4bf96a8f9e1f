#pragma once
// Helpers of the dialogs that show their rows as columns of controls, one id
// per visible row (the omit and check surface lists, the hole steps).
#include <span>

#include "platform/dialog.h"

namespace dorn {

// The visible row of control `id` in one column of ids, or -1.
int RowOfControl(std::span<const int> column, int id);

// The INS and DEL buttons of a row list: at most one mode is on. Pressing a
// button turns its mode over and the other off, shows both and beeps.
struct RowEditModes {
  bool insert = false;
  bool remove = false;

  void Press(platform::Dialog& dialog, int pressedId, int insertId, int deleteId);
};

}  // namespace dorn
