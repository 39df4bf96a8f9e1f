#pragma once
// The file server setting (IDD 340, "ファイルサーバーの設定"): whether the
// data root lies on a server drive, the drive and the folder under it.
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kFileServerDialogId = 340;

namespace file_server {
inline constexpr int kDrive = 1433, kFolder = 1008, kOn = 1148, kOff = 1149, kRegister = 1178;
}

class CFileServerDlg : public platform::Dialog {
 public:
  CFileServerDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnOk() override;

 private:
  void ShowEnabled();
  bool enabled_ = false;
};

}  // namespace dorn
