#pragma once
// What an NC creation run needs of the window world: the error box, the
// message list, draining the event queue, the panes and the display list.
// The companion's shell implements it on the real view; tests and headless
// runs use RecordingHost, which keeps every call for inspection.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "shared/handover/nc_element.h"

namespace qup {

class RunHost {
 public:
  virtual ~RunHost() = default;

  // A stop-icon message box with the text (CP932 bytes, may hold a line break).
  virtual void ShowErrorBox(std::string_view text) = 0;

  // The view's message list. AddListLine appends one line (CP932) and returns
  // its index; SelectListLine selects a line by index; DeleteListLine removes
  // the line at that index.
  virtual int AddListLine(std::string_view text) = 0;
  virtual void SelectListLine(int index) = 0;
  virtual void DeleteListLine(int index) = 0;
  // Empties the list (the DNC send does before each file).
  virtual void ClearList() {}

  // Drains the event queue once. The shell's handlers run inside this call and
  // may change the run's AbortFlag, StepPause, execution mode and
  // DcRefreshRequest through the run context they hold.
  virtual void PumpMessages() = 0;

  // Takes the view's device context again (after the shell asked for it).
  virtual void RefreshViewDc() {}
  // Flushes the panes' pending polylines (before an error box).
  virtual void FlushPanes() {}
  // Appends one display record (the eight 32-bit words of a 32-byte record).
  virtual void AddDisplayRecord(const std::array<std::uint32_t, 8>& /*words*/) {}
  // Draws one computed move on a display channel (64 or 128).
  virtual void DrawPathStep(int /*channel*/, const handover::NcElement& /*move*/) {}
  // The frame's title text.
  virtual void SetTitleText(std::string_view /*text*/) {}
  // The input-error beep.
  virtual void Beep() {}
  // A monotonic millisecond tick (the slow execution mode waits on it).
  virtual std::uint64_t TickMs();

  // ---- the NC text check and the transfers
  // One move of the NC text check to (x, y, z): kind 1 a feed move, -1 a
  // rapid, 0 a pen-up move; kept in the display list.
  virtual void DrawCheckSegment(double /*x*/, double /*y*/, double /*z*/, int /*kind*/) {}
  // The check's modeless monitor: shown or hidden, its 16 lines, closed.
  virtual void ShowMonitor(bool /*shown*/) {}
  virtual void SetMonitorTexts(const std::array<std::string, 16>& /*lines*/) {}
  virtual void CloseMonitor() {}
  // A message box with the exclamation icon (CP932 text).
  virtual void ShowExclamationBox(std::string_view /*text*/) {}
  // Draws the view again (the end of a check).
  virtual void RedrawView() {}
  // The network-drive send of the NC program the run's header names:
  // 0 after an NC creation run, 41 from the DNC list (the dialog sends by
  // itself). Returns 1 when the program was sent, 0 when not.
  virtual int RunNfsTransfer(int /*fromList*/) { return 0; }
};

}  // namespace qup
