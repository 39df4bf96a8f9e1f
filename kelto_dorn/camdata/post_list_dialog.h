#pragma once
// The post list dialog (IDD 238): in mode 0 ("  ポスト一覧 ") it chooses,
// copies and deletes posts of the post table; in modes 20 and 50
// ("  工作機械データベースの選択 ") it chooses a machine among the folders of
// "_ATC": mode 20 makes it the current machine and writes the selection
// file, mode 50 leaves its name in g_pathBuf. The mode is FocusedEditIndex
// when the dialog opens. Returns 1 when something was chosen.
#include <string>

#include "platform/dialog.h"

namespace dorn {

inline constexpr int kPostListDialogId = 238;
inline constexpr int kPostListModePosts = 0;
inline constexpr int kPostListModeMachine = 20;
inline constexpr int kPostListModeMachineName = 50;

namespace post_list {
inline constexpr int kList = 1700, kCopy = 1701, kDelete = 1702, kChoose = 1703, kCancel = 1704;
}

// Runs the dialog in mode 50: true with the chosen machine (CP932) in
// `machine`. FocusedEditIndex is 0 afterwards.
bool ChooseMachineName(std::string& machine);

// Installs ChooseMachineName as the machine choice of the database editors.
void InstallMachineChoiceDialog();

class CPostListDlg : public platform::Dialog {
 public:
  CPostListDlg();
  int Mode() const { return mode_; }

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnDoubleClick(int id) override;

 private:
  void FillPosts();
  void FillMachines();
  void Choose();
  void ChoosePost(int line);
  void DeletePost(int line);
  void ChooseMachine(int line);
  void Arm(int button, bool on);

  int mode_ = kPostListModePosts;
  bool copyArmed_ = false;
  bool deleteArmed_ = false;
};

}  // namespace dorn
