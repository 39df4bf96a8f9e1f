#include "kelto_dorn/files/dialogs/file_server_dialog.h"

#include <string>

#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/files/file_server.h"
#include "kelto_dorn/files/files_messages.h"
#include "platform/text.h"

namespace dorn {

namespace {
using platform::ControlKind;
namespace id = file_server;
}  // namespace

CFileServerDlg::CFileServerDlg()
    : platform::Dialog(kFileServerDialogId, platform::Sjis("ファイルサーバーの設定"),
                       {{ControlKind::StaticText, -1, platform::Sjis("◇ファイルサーバーの使用")},
                        {ControlKind::PushButton, id::kOn, "ON", 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::PushButton, id::kOff, "OFF", 0, 0, 0, platform::control_style::kCheckLook},
                        {ControlKind::StaticText, -1, platform::Sjis("◇ファイルサーバードライブ名")},
                        {ControlKind::ComboBox, id::kDrive, "", 0, 80, 0, platform::control_style::kDropList},
                        {ControlKind::StaticText, -1, platform::Sjis("階層ホルダ")},
                        {ControlKind::Edit, id::kFolder, "", 0, 300, 0, 0, 127},
                        {ControlKind::PushButton, id::kRegister, platform::Sjis("登録")},
                        {ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ")}}) {}

bool CFileServerDlg::OnInit() {
  for (char c = 'A'; c <= 'Z'; ++c) AddItem(id::kDrive, std::string(1, c) + ":\\");
  enabled_ = g_fileServerSettings.enabled != 0;
  SetCurSel(id::kDrive, g_fileServerSettings.value);
  SetText(id::kFolder, platform::FieldText(g_fileServerSettings.folder));
  ShowEnabled();
  return true;
}

void CFileServerDlg::ShowEnabled() {
  SetCheck(id::kOn, enabled_ ? 1 : 0);
  SetCheck(id::kOff, enabled_ ? 0 : 1);
  Enable(id::kDrive, enabled_);
}

void CFileServerDlg::OnClick(int controlId) {
  if (controlId == id::kOn || controlId == id::kOff) {
    enabled_ = controlId == id::kOn;
    ShowEnabled();
    return;
  }
  if (controlId != id::kRegister) return;
  FileServerChoice choice;
  choice.enabled = enabled_;
  choice.driveIndex = GetCurSel(id::kDrive);
  if (!enabled_ && choice.driveIndex < 0) choice.driveIndex = 0;  // the drive matters only when on
  choice.folder = GetText(id::kFolder);
  std::string message;
  const bool registered = RegisterFileServer(choice, message);
  ShowFilesMessage(message, registered ? platform::MessageIcon::Information : platform::MessageIcon::Stop);
  if (registered) EndDialog(platform::kIdOk);
}

void CFileServerDlg::OnOk() { NextControl(); }

}  // namespace dorn
