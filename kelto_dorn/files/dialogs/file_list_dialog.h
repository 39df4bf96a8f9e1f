#pragma once
// The file list (IDD 249, "ファイル一覧") through which the user deletes or
// copies the files of a drawing folder: run with g_deleteMode or g_fileCopyMode
// set to 1 by the caller. Deleted files go to the backup ring first;
// "削除ファイルの復帰" brings the last deletion back.
#include <string>
#include <vector>

#include "kelto_dorn/files/backup_ring.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kFileListDialogId = 249;

namespace file_list {
inline constexpr int kList = 1024, kDrawings = 1366, kData = 1369, kRun = 1178, kRestore = 1544, kShared = 1550,
                     kName = 1008;
}

class CFileListDlg : public platform::Dialog {
 public:
  CFileListDlg();
  const BackupRing& Ring() const { return ring_; }

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnDoubleClick(int id) override;
  bool OnKeyDown(int id, int key, unsigned modifiers) override;
  void OnOk() override;
  void OnCancel() override;

 private:
  void Fill(bool withName);
  void Execute();
  bool ConfirmDeletion(const std::vector<std::string>& lines);
  void CopyCollected();
  void SharedFiles();

  BackupRing ring_;
  std::vector<std::string> collected_;
  std::string typedName_;
};

}  // namespace dorn
