#pragma once
// The unit backup (IDD 268): BACKUP copies units of the data root to
// <drive>\KELTO_DORN\<unit>, UPLOAD brings them back. The caller sets
// FocusedEditIndex to 0 (BACKUP) or 1 (UPLOAD) first.
#include <string>

#include "platform/dialog.h"

namespace dorn {

inline constexpr int kBackupDialogId = 268;

namespace backup {
inline constexpr int kUnit = 1359, kDrive = 1398, kLabel = 1399, kAllUnits = 1401, kSegFiles = 1366, kDatFiles = 1367,
                     kRun = 1178;
}

class CBackupDlg : public platform::Dialog {
 public:
  CBackupDlg();

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOk() override {}

 private:
  bool Upload() const { return upload_; }
  void Fill();
  void FillUploadUnits();
  void Run();

  bool upload_ = false;
  bool allUnits_ = false, segFiles_ = true, datFiles_ = true;
};

}  // namespace dorn
