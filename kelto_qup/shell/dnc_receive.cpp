#include "kelto_qup/shell/dnc_receive.h"

#include <cstdio>
#include <system_error>

#include "kelto_qup/shell/companion_colors.h"
#include "kelto_qup/shell/nc_copy.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace qup::shell {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxNameBytes = 32;
constexpr int kHeaderLines = 5;  // "%" ends a reception only after these
constexpr int kDncStartMode = 22;

bool EndsReception(std::string_view line, int lineNumber, ReceiveEnd end) {
  if (lineNumber <= kHeaderLines) return false;
  if (line.find('\x1A') != std::string_view::npos) return true;
  return end != ReceiveEnd::kEndOfFile && line.find('%') != std::string_view::npos;
}

// The partial text of a reception that did not end is kept beside the target.
fs::path KeepPartial(const fs::path& temporary, const fs::path& target, int lines) {
  std::error_code ec;
  if (lines == 0) {
    fs::remove(temporary, ec);
    return {};
  }
  fs::path kept = target;
  kept += ".part";
  fs::rename(temporary, kept, ec);
  return ec ? temporary : kept;
}

}  // namespace

std::string CheckedReceiveName(std::string_view typed) {
  const std::string_view name = typed.substr(0, platform::Cp932PrefixLength(typed, kMaxNameBytes));
  // "." names the folder itself, which no received file may replace.
  if (name == ".") return {};
  return PlainFileName(name);
}

ReceiveOutcome ReceiveNcProgram(RunContext& run, const fs::path& target, ReceiveEnd end,
                                const std::function<void(const std::string&)>& status) {
  ReceiveOutcome outcome;
  fs::path temporary = target;
  temporary += ".receiving";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) {
    run.ErrorPath = temporary.string();
    run.ShowErrorCode(kErrorFileOpen);
    return outcome;
  }
  handover::DrawingHeader& header = run.job.Header;
  const int startMode = header.startMode;
  header.startMode = kDncStartMode;  // the port of the header's port byte
  status(platform::Sjis("データを受信します......"));
  bool failed = run.OpenComPort() != 0;
  for (int lineNumber = 1; !failed && !outcome.complete; ++lineNumber) {
    run.DrainEvents();
    if (run.AbortFlag != 0) break;
    const int count = run.ComReadLine(static_cast<int>(end));
    if (run.AbortFlag != 0 && count == 0) break;
    const std::string line(run.Block.Text.data(), static_cast<std::size_t>(count));
    outcome.complete = EndsReception(line, lineNumber, end);
    if (line.empty() || line[0] == '\n') continue;
    if (std::fwrite(line.data(), 1, line.size(), file) != line.size()) {
      run.ErrorPath = temporary.string();
      run.ShowErrorCode(kErrorFileOpen);
      failed = true;
      break;
    }
    ++outcome.lines;
    status(line.substr(0, line.size() - 1) + "  ");
    if (run.AbortFlag != 0) break;
  }
  run.CloseComPort();
  header.startMode = startMode;
  const bool closed = std::fclose(file) == 0;
  std::error_code ec;
  if (outcome.complete && closed && !failed) {
    fs::rename(temporary, target, ec);
    if (!ec) return outcome;
  }
  outcome.complete = false;
  outcome.kept = KeepPartial(temporary, target, outcome.lines);
  return outcome;
}

// ---- the dialog

namespace {

std::vector<platform::ControlSpec> ReceiveControls() {
  using platform::ControlKind;
  return {
      {ControlKind::StaticText, -1, platform::Sjis("ＣＯＭポート")},
      {ControlKind::ComboBox, CDncReceiveDlg::kPortCombo, "", 0, 100, 0, platform::control_style::kDropList},
      {ControlKind::StaticText, -1, platform::Sjis("入力ファイル")},
      {ControlKind::Edit, CDncReceiveDlg::kFileName, "", 0, 200, 0, 0, static_cast<int>(kMaxNameBytes)},
      {ControlKind::GroupBox, CDncReceiveDlg::kEndGroup, "End_of_Block"},
      {ControlKind::RadioButton, CDncReceiveDlg::kEndPercent, platform::Sjis("[％]"), CDncReceiveDlg::kEndGroup},
      {ControlKind::RadioButton, CDncReceiveDlg::kEndPercentLf, platform::Sjis("[％LF]"), CDncReceiveDlg::kEndGroup},
      {ControlKind::RadioButton, CDncReceiveDlg::kEndEof, platform::Sjis("[ＥＯＦ]"), CDncReceiveDlg::kEndGroup},
      {ControlKind::StaticText, CDncReceiveDlg::kStatus, "", 0, 320},
      {ControlKind::PushButton, CDncReceiveDlg::kExecute, platform::Sjis("実  行"), 0, 0, 0,
       platform::control_style::kCheckLook},
  };
}

}  // namespace

CDncReceiveDlg::CDncReceiveDlg(RunContext& run)
    : Dialog(kTemplateId, platform::Sjis("データの受信"), ReceiveControls()), run_(run) {}

bool CDncReceiveDlg::OnInit() {
  SetDialogColors(5);
  for (int i = 1; i <= platform::kSerialPortCount; ++i) AddItem(kPortCombo, "COM" + std::to_string(i));
  const int port = run_.job.Header.portByte & 0x0F;
  SetCurSel(kPortCombo, port < platform::kSerialPortCount ? port : -1);
  SetText(kFileName, platform::FieldText(run_.job.Header.drawingName) + ".RXD");
  endMode_ = ReceiveEnd::kPercent;
  ShowEndMode();
  return true;
}

void CDncReceiveDlg::ShowEndMode() {
  SetCheck(kEndPercent, endMode_ == ReceiveEnd::kPercent);
  SetCheck(kEndPercentLf, endMode_ == ReceiveEnd::kPercentLf);
  SetCheck(kEndEof, endMode_ == ReceiveEnd::kEndOfFile);
}

void CDncReceiveDlg::OnSelectionChanged(int id) {
  if (id != kPortCombo || receiving_) return;
  const int index = GetCurSel(kPortCombo);
  if (index < 0) return;
  run_.job.Header.portByte = (run_.job.Header.portByte & ~0x0F) | index;
  NextControl();
}

void CDncReceiveDlg::OnClick(int id) {
  if (receiving_) return;
  if (id == kEndPercent) endMode_ = ReceiveEnd::kPercent;
  if (id == kEndPercentLf) endMode_ = ReceiveEnd::kPercentLf;
  if (id == kEndEof) endMode_ = ReceiveEnd::kEndOfFile;
  if (id == kEndPercent || id == kEndPercentLf || id == kEndEof) ShowEndMode();
  if (id == kExecute) OnExecute();
}

void CDncReceiveDlg::OnOk() {
  fileName_ = GetText(kFileName);
  NextControl();
}

void CDncReceiveDlg::OnCancel() {
  if (receiving_) {
    // A stop during the reception ends it first; the dialog closes after.
    run_.AbortFlag = kStopRun;
    closeAfterReceive_ = true;
    return;
  }
  run_.AbortFlag = 0;
  EndDialog(platform::kIdCancel);
}

void CDncReceiveDlg::OnExecute() {
  fileName_ = CheckedReceiveName(GetText(kFileName));
  if (fileName_.empty()) {
    SetText(kStatus, platform::Sjis("ファイル名が正しくありません（フォルダや .. は使えません）"));
    platform::Beep();
    return;
  }
  SetCheck(kExecute, 1);
  run_.AbortFlag = 0;
  const fs::path target = platform::ResolvePath(platform::DataRoot(), run_.DatFolderRelative(fileName_));
  receiving_ = true;
  const ReceiveOutcome outcome =
      ReceiveNcProgram(run_, target, endMode_, [this](const std::string& text) { SetText(kStatus, text); });
  receiving_ = false;
  SetCheck(kExecute, 0);
  if (outcome.complete) {
    SetText(kStatus, platform::Sjis("受信を終了しました......"));
  } else {
    SetText(kStatus, platform::Sjis("受信は完了していません：元のファイルはそのままです"));
  }
  run_.AbortFlag = 0;
  if (closeAfterReceive_) EndDialog(platform::kIdCancel);
}

int OnReceiveData(RunContext& run) {
  CDncReceiveDlg dialog(run);
  return dialog.DoModal();
}

}  // namespace qup::shell
