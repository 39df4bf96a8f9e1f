// The login in front of the file-server settings: see login_dialog.h.
#include "kelto_dorn/dialogs/login_dialog.h"

#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace cs = platform::control_style;

constexpr int kUserEdit = 1008;
constexpr int kPasswordEdit = 1029;
constexpr int kLoginButton = 1178;

// The built-in pair; the fields store lower case, so typed capitals match.
constexpr char kUserName[] = "nopa";
constexpr char kPassword[] = "wirst";

constexpr unsigned kStopOkStyle = 0x10;  // stop icon, OK button

}  // namespace

CLoginDlg::CLoginDlg()
    : platform::Dialog(kLoginDialogId, Sjis("ログイン"),
                       {ControlSpec(ControlKind::StaticText, -1, Sjis("ユーザー名")),
                        ControlSpec(ControlKind::Edit, kUserEdit, "", 0, 160, 0, cs::kLowerCase),
                        ControlSpec(ControlKind::StaticText, -1, Sjis("パスワード")),
                        ControlSpec(ControlKind::Edit, kPasswordEdit, "", 0, 160, 0, cs::kLowerCase | cs::kPassword),
                        ControlSpec(ControlKind::PushButton, kLoginButton, "OK"),
                        ControlSpec(ControlKind::PushButton, platform::kIdCancel, Sjis("ｷｬﾝｾﾙ"))}) {}

void CLoginDlg::OnClick(int id) {
  if (id == kLoginButton) OnLogin();
}

// Enter only moves to the next control; the check is the OK button's.
void CLoginDlg::OnOk() { NextControl(); }

void CLoginDlg::OnLogin() {
  if (GetText(kUserEdit) == kUserName && GetText(kPasswordEdit) == kPassword) {
    EndDialog(platform::kIdOk);
    return;
  }
  platform::ShowMessageBox(Sjis("ID,ﾊﾟｽﾜｰﾄﾞが違います"), "", kStopOkStyle);
}

}  // namespace dorn
