#pragma once
// The name registration of a new hole process or capsule (template 160,
// "  工程名の登録"): the name in three parts joined by "_". The mode comes
// from FocusedEditIndex (1 hole process, 146 capsule), which the dialog sets
// back to 0; it starts from the name in g_listTextBuffer and, on OK (1),
// leaves the composed name there. Cancel ends with 2.
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kProcessNameDialogId = 160;

namespace process_name_ctl {
inline constexpr int kFirst = 2001;   // up to 24 characters
inline constexpr int kSecond = 2002;  // up to 20
inline constexpr int kThird = 2003;   // up to 32
inline constexpr int kOk = 2004;
inline constexpr int kCancel = 2005;
}  // namespace process_name_ctl

class CProcessNameDlg : public platform::Dialog {
 public:
  CProcessNameDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnOk() override;

 private:
  void Register();
  int mode_ = 0;
};

}  // namespace dorn
