// Row list helpers: see row_list_controls.h.
#include "kelto_dorn/machining/dialogs/row_list_controls.h"

#include <algorithm>

#include "kelto_dorn/app/error_box.h"

namespace dorn {

int RowOfControl(std::span<const int> column, int id) {
  const auto it = std::find(column.begin(), column.end(), id);
  return it == column.end() ? -1 : static_cast<int>(it - column.begin());
}

void RowEditModes::Press(platform::Dialog& dialog, int pressedId, int insertId, int deleteId) {
  bool& mode = pressedId == insertId ? insert : remove;
  bool& other = pressedId == insertId ? remove : insert;
  other = false;
  mode = !mode;
  dialog.SetCheck(insertId, insert);
  dialog.SetCheck(deleteId, remove);
  SignalBeep();
}

}  // namespace dorn
