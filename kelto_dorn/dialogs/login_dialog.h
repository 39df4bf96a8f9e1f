#pragma once
// The login in front of the file-server settings (template 339, "ログイン"):
// it ends with OK only when the user name and password match the built-in
// pair; a wrong pair is refused with a message and may be tried again.
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kLoginDialogId = 339;

class CLoginDlg : public platform::Dialog {
 public:
  CLoginDlg();

 protected:
  void OnClick(int id) override;
  void OnOk() override;

 private:
  void OnLogin();
};

}  // namespace dorn
