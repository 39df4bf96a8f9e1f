// The name dialog of the database editors: see rename_dialog.h.
#include "kelto_dorn/files/rename_dialog.h"

#include "kelto_dorn/app/command_engines.h"
#include "platform/text.h"

namespace dorn {



namespace {

using platform::ControlKind;
namespace id = rename_dialog;

// Names typed here become folder names of at most 48 bytes.
constexpr int kNameLimit = 48;

}  // namespace

CRenameDlg::CRenameDlg(std::string_view currentName)
    : platform::Dialog(kRenameDialogId, platform::Sjis("ファイル名の変更"),
                       {{ControlKind::StaticText, id::kLabel, ""},
                        {ControlKind::Edit, id::kName, "", 0, 260, 0, 0, kNameLimit},
                        {ControlKind::PushButton, id::kOk, "OK", 0, 0, 0, platform::control_style::kDefaultButton},
                        {ControlKind::PushButton, id::kCancel, platform::Sjis("キャンセル")}}),
      name_(currentName) {}

bool CRenameDlg::OnInit() {
  switch (g_renameMode) {
    case kRenameNewBase:
    case kRenameBase:
      SetText(id::kLabel, platform::Sjis("ＤＢＳ基本ベース名"));
      break;
    case kRenameNewToolFolder:
    case kRenameToolFolder:
      SetText(id::kLabel, platform::Sjis("工具名"));
      break;
    case kRenameNewMachine:
      SetTitle(platform::Sjis("  工作機械名の新規作成"));
      SetText(id::kLabel, platform::Sjis("工作機械名"));
      break;
    case kRenameMachine:
      SetTitle(platform::Sjis("  工作機械名の変更"));
      SetText(id::kLabel, platform::Sjis("工作機械名"));
      break;
    default:
      break;
  }
  SetText(id::kName, name_.substr(0, platform::Cp932PrefixLength(name_, kNameLimit)));
  SetFocus(id::kName);
  return false;
}

void CRenameDlg::OnClick(int controlId) {
  if (controlId == id::kOk) OnOk();
  if (controlId == id::kCancel) OnCancel();
}

void CRenameDlg::OnOk() {
  name_ = GetText(id::kName);
  EndDialog(platform::kIdOk);
}

bool RunRenameDialog(int mode, std::string& name) {
  g_renameMode = mode;
  CRenameDlg dialog(name);
  const int result = dialog.DoModal();
  g_renameMode = 0;
  if (result != platform::kIdOk) return false;
  name = dialog.Name();
  return true;
}

void InstallRenameDialog() { g_commandEngines.renameDialog = RunRenameDialog; }

}  // namespace dorn
