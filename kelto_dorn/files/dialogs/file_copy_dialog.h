#pragma once
// The copy target (IDD 250, "ファイルのコピー"): a unit and second name of
// the data root, or a typed drive folder; with data files also the choice
// to rename each file or join them all into one. On 1 the target is in
// g_copyTarget.
#include <string>

#include "platform/dialog.h"

namespace dorn {

inline constexpr int kFileCopyDialogId = 250;

namespace file_copy {
inline constexpr int kSource = 1370, kTarget = 1373, kUnit = 1359, kSecond = 1372, kRun = 1178, kRename = 1179,
                     kJoin = 1180, kShared = 1550;
}

class CFileCopyDlg : public platform::Dialog {
 public:
  CFileCopyDlg();

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOk() override;

 private:
  void RebuildTarget();
  void Run();

  std::string unit_;
  std::string second_;
};

}  // namespace dorn
