#pragma once
// What a network import keeps of another drawing (IDD 364, "取込みデータ
// 選択"): 0x01 CAD figures, 0x10 curve and hole data, 0x100 machining data.
// It closes only with CAD figures or curves chosen.
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kImportSelectDialogId = 364;

namespace import_select {
inline constexpr int kFigures = 1497, kCurves = 1178, kMachining = 1535;
}

class CImportSelectDlg : public platform::Dialog {
 public:
  CImportSelectDlg();

 protected:
  bool OnInit() override;
  void OnOk() override { Close(); }
  void OnCancel() override { Close(); }

 private:
  void Close();
};

}  // namespace dorn
