// The tool information conversion dialog: see tool_info_convert_dialog.h.
#include "kelto_dorn/tooldb/dialogs/tool_info_convert_dialog.h"

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "platform/text.h"

namespace dorn {
namespace {

using platform::ControlKind;
namespace id = tool_convert;

// A factor's text is read up to this many bytes.
constexpr int kFactorTextLimit = 32;

}  // namespace

CToolInfoConvertDlg::CToolInfoConvertDlg(double& feedFactor, double& spindleFactor)
    : platform::Dialog(kToolInfoConvertDialogId, platform::Sjis("  工具情報の変換"),
                       {{ControlKind::StaticText, -1, platform::Sjis("送り速度[F_CODE]")},
                        {ControlKind::Edit, id::kFeed, "", 0, 120, 0, 0, kFactorTextLimit},
                        {ControlKind::StaticText, -1, platform::Sjis("回転速度[S_CODE]")},
                        {ControlKind::Edit, id::kSpindle, "", 0, 120, 0, 0, kFactorTextLimit},
                        {ControlKind::PushButton, id::kRun, platform::Sjis("実  行")}}),
      feedOut_(feedFactor),
      spindleOut_(spindleFactor),
      feed_(feedFactor),
      spindle_(spindleFactor) {}

bool CToolInfoConvertDlg::OnInit() {
  focused_ = 0;
  ShowFactor(id::kFeed);
  ShowFactor(id::kSpindle);
  return true;
}

void CToolInfoConvertDlg::ShowFactor(int field) {
  FormatNumber4(FactorOf(field));
  SetText(field, " " + std::string(g_textBuffer));
}

void CToolInfoConvertDlg::Commit(bool moveOn) {
  if (focused_ == 0) return;
  const int field = focused_;
  focused_ = 0;
  const std::string text = GetText(field);
  if (!text.empty()) FactorOf(field) = ParseNumber(text.c_str());
  ShowFactor(field);
  if (moveOn) NextControl();
}

void CToolInfoConvertDlg::OnFocusGained(int control) {
  if (control == focused_) return;
  Commit(false);
  if (control == id::kFeed || control == id::kSpindle) focused_ = control;
}

void CToolInfoConvertDlg::OnClick(int control) {
  if (control == id::kRun) OnOk();
}

void CToolInfoConvertDlg::OnOk() {
  Commit(false);
  feedOut_ = feed_;
  spindleOut_ = spindle_;
  EndDialog(platform::kIdOk);
}

}  // namespace dorn
