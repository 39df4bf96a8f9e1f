#pragma once
// The name dialog (IDD 261, "ファイル名の変更") in the modes the database
// editors use: a new or renamed tool base, tool folder or machine. The caller
// sets g_renameMode before running it and back to 0 afterwards; the dialog
// starts with the name it is given and leaves the typed name (at most 48
// bytes) in Name() on OK.
#include <string>
#include <string_view>

#include "kelto_dorn/files/files_state.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kRenameDialogId = 261;
inline constexpr int kRenameNewBase = 0x100;
inline constexpr int kRenameBase = 0x110;
inline constexpr int kRenameNewToolFolder = 0x200;
inline constexpr int kRenameToolFolder = 0x220;
inline constexpr int kRenameNewMachine = 0x400;
inline constexpr int kRenameMachine = 0x420;


namespace rename_dialog {
inline constexpr int kLabel = 2611, kName = 2612, kOk = 2613, kCancel = 2614;
}

class CRenameDlg : public platform::Dialog {
 public:
  explicit CRenameDlg(std::string_view currentName);
  const std::string& Name() const { return name_; }

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnOk() override;

 private:
  std::string name_;
};

// Runs the dialog in `mode` starting from `name` (CP932); on OK true with the
// typed name in `name`; g_renameMode is 0 again afterwards.
bool RunRenameDialog(int mode, std::string& name);

// Installs RunRenameDialog as the database editors' name dialog.
void InstallRenameDialog();

}  // namespace dorn
