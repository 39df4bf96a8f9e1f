#pragma once
// The application side of the window layer: the event loop, PumpMessages,
// the wait cursor, cursors by id, the beep and the dialog colours.
#include <functional>
#include <string>

#include "platform/bitmap.h"
#include "platform/color.h"
#include "platform/geometry.h"

namespace platform {

// Processes every pending event (paints, keys, timers, clicks) and returns.
// Re-entrant: a long computation inside a handler calls it, and handlers that
// run inside it may call it again or open dialogs.
void PumpMessages();

// Runs the main event loop until QuitEventLoop; returns its code.
int RunEventLoop();
void QuitEventLoop(int code = 0);
// Runs `task` from the event loop once the current handler has returned (the
// next PumpMessages, a modal loop included).
void PostTask(std::function<void()> task);

// The area of the desktop that windows may take (screen pixels).
Rect DesktopRect();

// The nestable wait cursor: shown while the depth is above zero.
void BeginWaitCursor();
void EndWaitCursor();
int WaitCursorDepth();
class WaitCursor {
 public:
  WaitCursor() { BeginWaitCursor(); }
  ~WaitCursor() { EndWaitCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// Cursors by the system's resource ids. An id never registered shows the arrow.
enum class StandardCursor { Arrow, Cross, Wait, IBeam, Hand, SizeAll };
void RegisterCursor(int cursorId, StandardCursor shape);
// An image cursor: pixels of `transparent` colour are see-through.
void RegisterCursor(int cursorId, const Bitmap& image, Point hotSpot, Color transparent);

// Sounds the warning beep; false when the sound could not be made.
bool Beep();

// The colours every dialog asks for (background, text), set program-wide.
struct DialogColors {
  Color background = 0xC0C0C0;
  Color text = 0x000000;
  friend bool operator==(const DialogColors&, const DialogColors&) = default;
};
void SetDialogBkColor(Color background, Color text);
DialogColors CurrentDialogColors();

// The program's name shown by message boxes without a caption (CP932).
void SetApplicationTitle(const std::string& titleCp932);
const std::string& ApplicationTitle();

}  // namespace platform
