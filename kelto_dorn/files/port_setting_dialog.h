#pragma once
// The serial port settings dialog (IDD 265, "  ポートの設定"): the line
// settings of one port COM1..COM9 in "$COM_DCB.@@@" (handover::ComSettings),
// which the plotter output, the companion's DNC send, its drip feed and its
// reception open their port with. Register and Cancel both store the
// settings; a file that cannot be written is named and the dialog stays open.
#include <string>

#include "platform/dialog.h"
#include "shared/handover/com_settings.h"

namespace dorn {

namespace port_setting {
inline constexpr int kTemplateId = 265;
inline constexpr int kBaud = 1386, kDataBits = 1387, kParity = 1388, kFlow = 1389, kStopBits = 1390;
inline constexpr int kLineEndCrLf = 1472, kLineEndCr = 1473, kLineEndLf = 1474, kLineEndNull = 1475,
                     kLineEndLfCrCr = 1477;
inline constexpr int kXoff = 1476, kEndOfFile = 1478, kRegister = 1178, kLineEndGroup = 1479;

// The changes the dialog makes to the words of one port, as the file keeps
// them (the high bits of each word survive a change of its low code).
void SetBaud(handover::ComSettings& s, int port, int index);
void SetDataBits(handover::ComSettings& s, int port, int index);
void SetParity(handover::ComSettings& s, int port, int index);
void SetFlow(handover::ComSettings& s, int port, int index);
void SetStopBits(handover::ComSettings& s, int port, int index);
// lineEnd: 0 CR LF, kLineEndCr, kLineEndLf, kLineEndNone, kLineEndLfCrCr bits.
void SetLineEnd(handover::ComSettings& s, int port, int lineEndBit);
void ToggleEndOfFile(handover::ComSettings& s, int port);
void ToggleXoff(handover::ComSettings& s, int port);
}  // namespace port_setting

class CPortSettingDlg : public platform::Dialog {
 public:
  // port: 0..8 for COM1..COM9.
  explicit CPortSettingDlg(int port);
  const handover::ComSettings& Settings() const { return settings_; }

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOk() override {}  // Enter does not close
  void OnCancel() override { Register(); }

 private:
  void Register();
  void Refresh();
  int port_;
  handover::ComSettings settings_{};
};

// Runs the dialog for a port index; an index that names no port (above 8)
// is refused with a message and nothing is opened. 1 when stored.
int RunPortSettingDialog(int port);

}  // namespace dorn
