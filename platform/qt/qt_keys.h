#pragma once
// Qt key events as the system's virtual key codes and modifier bits.
#include <QKeyEvent>

#include "platform/key_codes.h"

namespace platform::qt {

inline unsigned ToModifiers(Qt::KeyboardModifiers m) {
  unsigned r = 0;
  if (m & Qt::ShiftModifier) r |= kModShift;
  if (m & Qt::ControlModifier) r |= kModControl;
  if (m & Qt::AltModifier) r |= kModAlt;
  return r;
}

// 0 for a key the system has no code for.
inline int ToVirtualKey(const QKeyEvent& e) {
  const int k = e.key();
  if (e.modifiers() & Qt::KeypadModifier && k >= Qt::Key_0 && k <= Qt::Key_9) return NumpadKey(k - Qt::Key_0);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return FunctionKey(k - Qt::Key_F1 + 1);
  if ((k >= Qt::Key_0 && k <= Qt::Key_9) || (k >= Qt::Key_A && k <= Qt::Key_Z)) return k;  // same as ASCII
  switch (k) {
    case Qt::Key_Escape:
      return kKeyEscape;
    case Qt::Key_Space:
      return kKeySpace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kKeyEnter;
    case Qt::Key_PageUp:
      return kKeyPageUp;
    case Qt::Key_PageDown:
      return kKeyPageDown;
    case Qt::Key_Home:
      return kKeyHome;
    case Qt::Key_End:
      return kKeyEnd;
    case Qt::Key_Left:
      return kKeyLeft;
    case Qt::Key_Up:
      return kKeyUp;
    case Qt::Key_Right:
      return kKeyRight;
    case Qt::Key_Down:
      return kKeyDown;
    case Qt::Key_Insert:
      return kKeyInsert;
    case Qt::Key_Delete:
      return kKeyDelete;
    case Qt::Key_Tab:
      return kKeyTab;
    case Qt::Key_Backspace:
      return kKeyBack;
    default:
      return 0;
  }
}

}  // namespace platform::qt
