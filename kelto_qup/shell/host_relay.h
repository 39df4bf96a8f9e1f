#pragma once
// HostRelay: the run context's host from the start of the program on. The
// run context is made at start-up, before the view exists; until the view is
// attached, boxes go straight to the screen, list lines are kept, and draining
// the queue drains the program's queue. The view then takes the kept lines
// and shows them after its dispatch has emptied the list.
#include <string>
#include <vector>

#include "kelto_qup/engine/run_host.h"

namespace qup::shell {

class HostRelay final : public RunHost {
 public:
  // The view (or null to go back to the start-up behaviour).
  void Attach(RunHost* target) { target_ = target; }
  // The lines listed before a view took over, in order; the list is emptied.
  std::vector<std::string> TakePendingLines();

  void ShowErrorBox(std::string_view text) override;
  int AddListLine(std::string_view text) override;
  void SelectListLine(int index) override;
  void DeleteListLine(int index) override;
  void ClearList() override;
  void PumpMessages() override;
  void RefreshViewDc() override;
  void FlushPanes() override;
  void AddDisplayRecord(const std::array<std::uint32_t, 8>& words) override;
  void DrawPathStep(int channel, const handover::NcElement& move) override;
  void SetTitleText(std::string_view text) override;
  void Beep() override;
  std::uint64_t TickMs() override;
  void DrawCheckSegment(double x, double y, double z, int kind) override;
  void ShowMonitor(bool shown) override;
  void SetMonitorTexts(const std::array<std::string, 16>& lines) override;
  void CloseMonitor() override;
  void ShowExclamationBox(std::string_view text) override;
  void RedrawView() override;
  int RunNfsTransfer(int fromList) override;

 private:
  RunHost* target_ = nullptr;
  std::vector<std::string> pending_;
};

}  // namespace qup::shell
