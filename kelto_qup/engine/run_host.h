#pragma once
// What an NC creation run needs of the window world: the error box, the
// message list, draining the event queue, the panes and the display list.
// The companion's shell implements it on the real view; tests and headless
// runs use RecordingHost, which keeps every call for inspection.
#include <array>
#include <cstdint>
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
};

}  // namespace qup
