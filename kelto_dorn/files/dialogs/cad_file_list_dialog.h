#pragma once
// The CAD file list (IDD 246, "ＣＡＤファイル一覧"): the CAD or data file of
// the current drawing folder's DAT folder (or of a typed folder) that the
// import reads, by kind; in the DXF output mode (ImportFileKind 0x8002) the
// name of the DXF file to write. On 1 the full path (CP932) is in
// g_pathBuffer. Choosing a unit or second name here changes the current
// drawing folder.
#include <string>

#include "platform/dialog.h"

namespace dorn {

inline constexpr int kCadFileListDialogId = 246;

namespace cad_list {
inline constexpr int kDxf = 1476, kBmi = 1477, kIges = 1478, kDorn = 1479, kNcData = 1480, kTxtData = 1481;
inline constexpr int kLabel = 1403, kDelete = 1071, kCopy = 1344, kShared = 1550, kRun = 1178;
inline constexpr int kUnit = 1359, kSecond = 1360, kName = 1008, kList = 1024;
}  // namespace cad_list

class CCadFileListDlg : public platform::Dialog {
 public:
  CCadFileListDlg();

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnDoubleClick(int id) override;
  void OnOk() override;

 private:
  bool OutputMode() const;
  void Fill(const std::string& typedName);
  void Choose(const std::string& name);
  void Execute();
  void RunFileList(bool deleting);
};

// The native path of a path the dialog left (CP932), or empty.
std::string ChosenCadPath();

}  // namespace dorn
