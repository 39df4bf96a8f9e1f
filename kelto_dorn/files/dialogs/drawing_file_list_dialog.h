#pragma once
// The drawing file list (IDD 245, "「ケルトドーン」図面ファイル一覧"): the
// unit, second name and drawing name of the system record, with the data
// extension and the designer name; it also deletes units and second names
// and opens the file list, the copy and the unit backup. On 1 the system
// record names the drawing to load.
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kDrawingFileListDialogId = 245;

namespace drawing_list {
inline constexpr int kUnit = 1359, kSecond = 1372, kFile = 1361, kExtension = 1008, kDesigner = 1029,
                     kDrawings = 1366, kData = 1367, kCopy = 1344, kDelete = 1071, kDeleteUnit = 1073,
                     kDeleteSecond = 1075, kBackup = 1074, kUpload = 1076, kFinish = 1178;
}

class CDrawingFileListDlg : public platform::Dialog {
 public:
  CDrawingFileListDlg();

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnFocusLost(int id) override;
  void OnOk() override;

 private:
  void Fill();
  void Commit(int id);
  void CommitAll();
  void RunFileList(bool deleting);
  void RunBackup(int direction);
  void DeleteUnit();
  void DeleteSecond();
  void Finish();
};

}  // namespace dorn
