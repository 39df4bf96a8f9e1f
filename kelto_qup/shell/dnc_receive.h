#pragma once
// Reception of an NC program that a machine punches out over the serial
// port (start mode 24 and view command 32861): the receive dialog
// CDncReceiveDlg and the reception it runs. The text arrives in a temporary
// file beside the target; only a reception that reached its end replaces the
// target, so a failure or a stop keeps the old file and leaves the partial
// text beside it.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "kelto_qup/engine/run_context.h"
#include "platform/dialog.h"

namespace qup::shell {

enum class ReceiveEnd { kPercent = 0, kPercentLf = 1, kEndOfFile = 2 };

struct ReceiveOutcome {
  bool complete = false;       // the end arrived; the target holds the text
  int lines = 0;               // lines written
  std::filesystem::path kept;  // where a partial text was left (empty when none)
};

// The name a user typed for a received file, or empty when it is no plain
// file name (a separator, "..", or nothing).
std::string CheckedReceiveName(std::string_view typedCp932);

// Receives into `target` through the port of the header's port byte; shows
// each line through `status` (CP932). Errors go through the run's error box.
ReceiveOutcome ReceiveNcProgram(RunContext& run, const std::filesystem::path& target, ReceiveEnd end,
                                const std::function<void(const std::string&)>& status);

class CDncReceiveDlg : public platform::Dialog {
 public:
  static constexpr int kTemplateId = 148;
  static constexpr int kExecute = 1016, kPortCombo = 1035, kFileName = 1003, kStatus = 1037;
  static constexpr int kEndPercent = 1036, kEndPercentLf = 1038, kEndEof = 1039, kEndGroup = 1040;

  explicit CDncReceiveDlg(RunContext& run);
  ReceiveEnd EndMode() const { return endMode_; }
  bool Receiving() const { return receiving_; }

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOk() override;      // Enter takes the name and moves on
  void OnCancel() override;  // during a reception: stops it first

 private:
  void OnExecute();
  void ShowEndMode();
  RunContext& run_;
  ReceiveEnd endMode_ = ReceiveEnd::kPercent;
  std::string fileName_;
  bool receiving_ = false;
  bool closeAfterReceive_ = false;
};

// Runs the receive dialog modally (start mode 24, command 32861).
int OnReceiveData(RunContext& run);

}  // namespace qup::shell
