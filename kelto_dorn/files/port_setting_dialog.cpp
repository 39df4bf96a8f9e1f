#include "kelto_dorn/files/port_setting_dialog.h"

#include <cstdio>
#include <vector>

#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

namespace port_setting {

namespace {
constexpr std::int32_t kHighNibble = 0xF000;
constexpr std::int32_t kLineEndBits = 0xF000;
}  // namespace

void SetBaud(handover::ComSettings& s, int port, int index) { s.baud[port] = (s.baud[port] & kHighNibble) | index; }
void SetDataBits(handover::ComSettings& s, int port, int index) { s.dataBits[port] = index; }
void SetParity(handover::ComSettings& s, int port, int index) {
  s.parity[port] = (s.parity[port] & kHighNibble) | index;
}
void SetFlow(handover::ComSettings& s, int port, int index) { s.flow[port] = index; }
void SetStopBits(handover::ComSettings& s, int port, int index) { s.stop[port] = (s.stop[port] & 0xFF00) | index; }

void SetLineEnd(handover::ComSettings& s, int port, int lineEndBit) {
  s.stop[port] = (s.stop[port] & 0x0F) | (lineEndBit & kLineEndBits);
}

void ToggleEndOfFile(handover::ComSettings& s, int port) { s.parity[port] ^= handover::ComSettings::kSendEndOfFile; }

void ToggleXoff(handover::ComSettings& s, int port) {
  if ((s.baud[port] & handover::ComSettings::kStartXoff) != 0) {
    s.baud[port] &= 0x0FFF;
  } else {
    s.baud[port] |= handover::ComSettings::kStartXoff;
  }
}

}  // namespace port_setting

namespace {

using namespace port_setting;
constexpr int kPortCount = handover::kComPortCount;

std::filesystem::path SettingsPath() {
  return platform::ResolvePath(platform::ProgramFolder(), handover::kComSettingsFileName);
}

std::vector<platform::ControlSpec> PortControls() {
  using platform::ControlKind;
  const unsigned drop = platform::control_style::kDropList;
  return {
      {ControlKind::StaticText, -1, platform::Sjis("ボーレート")},
      {ControlKind::ComboBox, kBaud, "", 0, 100, 0, drop},
      {ControlKind::StaticText, -1, platform::Sjis("データ長")},
      {ControlKind::ComboBox, kDataBits, "", 0, 100, 0, drop},
      {ControlKind::StaticText, -1, platform::Sjis("パリティ")},
      {ControlKind::ComboBox, kParity, "", 0, 100, 0, drop},
      {ControlKind::StaticText, -1, platform::Sjis("フロー制御")},
      {ControlKind::ComboBox, kFlow, "", 0, 100, 0, drop},
      {ControlKind::StaticText, -1, platform::Sjis("ストップビット")},
      {ControlKind::ComboBox, kStopBits, "", 0, 100, 0, drop},
      {ControlKind::GroupBox, kLineEndGroup, platform::Sjis("改行コード")},
      {ControlKind::RadioButton, kLineEndCrLf, "CR/LF", kLineEndGroup},
      {ControlKind::RadioButton, kLineEndCr, "CR", kLineEndGroup},
      {ControlKind::RadioButton, kLineEndLf, "LF", kLineEndGroup},
      {ControlKind::RadioButton, kLineEndNull, "NULL", kLineEndGroup},
      {ControlKind::RadioButton, kLineEndLfCrCr, "LFCRCR", kLineEndGroup},
      {ControlKind::CheckBox, kXoff, "XOFF"},
      {ControlKind::CheckBox, kEndOfFile, platform::Sjis("[EOF]出力")},
      {ControlKind::PushButton, kRegister, platform::Sjis("登  録")},
  };
}

void Fill(platform::Dialog& d, int id, std::initializer_list<const char*> items) {
  for (const char* item : items) d.AddItem(id, platform::Sjis(item));
}

}  // namespace

CPortSettingDlg::CPortSettingDlg(int port)
    : Dialog(port_setting::kTemplateId, platform::Sjis("  ポートの設定"), PortControls()), port_(port) {}

bool CPortSettingDlg::OnInit() {
  settings_ = handover::DefaultComSettings();
  const platform::FileResult read = handover::ReadComSettings(SettingsPath(), settings_);
  if (!read.ok() && !read.missing()) {
    // A damaged file is named; the dialog starts from the defaults.
    settings_ = handover::DefaultComSettings();
    platform::ShowMessageBox(platform::Utf8ToCp932(read.message), {}, 0x30);
  }
  Fill(*this, kBaud, {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200", "230400", "460800", "921600"});
  Fill(*this, kDataBits, {"7_Bit", "8_Bit"});
  Fill(*this, kParity, {"なし", "偶数", "奇数"});
  Fill(*this, kFlow, {"なし", "XON/XOFF", "RTS/CTS", "DTR/DSR"});
  Fill(*this, kStopBits, {"1", "1.5", "2"});
  Refresh();
  return true;
}

void CPortSettingDlg::OnShow() {
  char title[64];
  std::snprintf(title, sizeof title, platform::Sjis("  ポートの設定[COM%d] ").c_str(), port_ + 1);
  SetTitle(title);
}

void CPortSettingDlg::Refresh() {
  const handover::ComSettings& s = settings_;
  SetCurSel(kBaud, s.baud[port_] & handover::ComSettings::kBaudIndexMask);
  SetCurSel(kDataBits, s.dataBits[port_]);
  SetCurSel(kParity, s.parity[port_] & 0x0F);
  SetCurSel(kFlow, s.flow[port_]);
  SetCurSel(kStopBits, s.stop[port_] & 0x0F);
  const handover::LineEnd end = s.LineEndOf(port_);
  SetCheck(kLineEndCrLf, end == handover::LineEnd::CrLf);
  SetCheck(kLineEndCr, end == handover::LineEnd::Cr);
  SetCheck(kLineEndLf, end == handover::LineEnd::Lf);
  SetCheck(kLineEndNull, end == handover::LineEnd::None);
  SetCheck(kLineEndLfCrCr, end == handover::LineEnd::LfCrCr);
  SetCheck(kXoff, (s.baud[port_] & handover::ComSettings::kStartXoff) != 0);
  SetCheck(kEndOfFile, (s.parity[port_] & handover::ComSettings::kSendEndOfFile) != 0);
}

void CPortSettingDlg::OnSelectionChanged(int id) {
  const int index = GetCurSel(id);
  if (index < 0) return;
  if (id == kBaud) SetBaud(settings_, port_, index);
  if (id == kDataBits) SetDataBits(settings_, port_, index);
  if (id == kParity) SetParity(settings_, port_, index);
  if (id == kFlow) SetFlow(settings_, port_, index);
  if (id == kStopBits) SetStopBits(settings_, port_, index);
}

void CPortSettingDlg::OnClick(int id) {
  switch (id) {
    case kLineEndCrLf: SetLineEnd(settings_, port_, 0); break;
    case kLineEndCr: SetLineEnd(settings_, port_, handover::ComSettings::kLineEndCr); break;
    case kLineEndLf: SetLineEnd(settings_, port_, handover::ComSettings::kLineEndLf); break;
    case kLineEndNull: SetLineEnd(settings_, port_, handover::ComSettings::kLineEndNone); break;
    case kLineEndLfCrCr: SetLineEnd(settings_, port_, handover::ComSettings::kLineEndLfCrCr); break;
    case kEndOfFile: ToggleEndOfFile(settings_, port_); break;
    case kXoff: ToggleXoff(settings_, port_); break;
    case kRegister: Register(); return;
    default: return;
  }
  Refresh();
}

void CPortSettingDlg::Register() {
  const platform::FileResult written = handover::WriteComSettings(SettingsPath(), settings_);
  if (!written.ok()) {
    platform::ShowMessageBox(platform::Utf8ToCp932(written.message), {}, 0x10);
    return;  // nothing lost: the dialog stays open with the changes
  }
  EndDialog(1);
}

int RunPortSettingDialog(int port) {
  if (port < 0 || port >= kPortCount) {
    platform::ShowMessageBox(platform::Sjis("ポート番号が COM1～COM9 の範囲にありません"), {}, 0x30);
    return 0;
  }
  CPortSettingDlg dialog(port);
  return dialog.DoModal() == 1 ? 1 : 0;
}

}  // namespace dorn
