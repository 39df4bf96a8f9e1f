#pragma once
// The choice of a named hole process or capsule by its folder (template
// 162), with renaming, deleting and a one-step undo of the last deletion.
// The mode comes from FocusedEditIndex (1 hole processes, 146 capsules),
// which the dialog sets back to 0. End code 1: the chosen name is in
// g_listTextBuffer; 2: cancelled, the buffer empty.
#include <string>
#include <vector>

#include "kelto_dorn/tooldb/process_folders.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kProcessSelectDialogId = 162;

namespace process_select_ctl {
inline constexpr int kFolders = 2101;
inline constexpr int kFirstNames = 2102;
inline constexpr int kSecondNames = 2103;
inline constexpr int kReset = 2104;
inline constexpr int kChoose = 2105;
inline constexpr int kDelete = 2106;
inline constexpr int kRename = 2107;
inline constexpr int kUndo = 2108;
inline constexpr int kCancel = 2109;
}  // namespace process_select_ctl

class CProcessNameSelectDlg : public platform::Dialog {
 public:
  CProcessNameSelectDlg();

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnDoubleClick(int id) override;
  void OnCancel() override;

 private:
  void Refill();
  void ShowFolders();
  void Choose();
  void DeleteChosen(const std::string& name);
  void RenameChosen(const std::string& name);

  int mode_ = 0;
  bool deleteMode_ = false;
  bool renameMode_ = false;
  std::vector<std::string> all_;
  std::string first_;
  std::string second_;
  ProcessUndo undo_;
};

}  // namespace dorn
