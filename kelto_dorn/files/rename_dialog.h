#pragma once
// The name dialog (IDD 261, "ファイル名の変更"): the one name-entry dialog of
// the program. g_renameMode chooses its use: 0 a copied file's new name,
// 1 a joined file's name, 2 a line of text with its history ("SunText.txt"),
// 0x100/0x110 a tool base, 0x200/0x220 a tool folder, 0x400/0x420 a machine,
// 0x880 the definition defaults' name, 0x1000/0x1010 a material. The dialog
// starts with the name it is given, which is also the default an empty field
// takes, and leaves the typed name (at most 48 bytes) in Name() on OK.
#include <string>
#include <string_view>
#include <vector>

#include "kelto_dorn/files/files_state.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kRenameDialogId = 261;
inline constexpr int kRenameCopiedFile = 0;
inline constexpr int kRenameJoinedFile = 1;
inline constexpr int kRenameTextInput = 2;
inline constexpr int kRenameNewBase = 0x100;
inline constexpr int kRenameBase = 0x110;
inline constexpr int kRenameNewToolFolder = 0x200;
inline constexpr int kRenameToolFolder = 0x220;
inline constexpr int kRenameNewMachine = 0x400;
inline constexpr int kRenameMachine = 0x420;
inline constexpr int kRenameDefaults = 0x880;
inline constexpr int kRenameNewMaterial = 0x1000;
inline constexpr int kRenameMaterial = 0x1010;

namespace rename_dialog {
inline constexpr int kLabel = 2611, kName = 2612, kOk = 2613, kCancel = 2614, kHistory = 1024;
}

class CRenameDlg : public platform::Dialog {
 public:
  explicit CRenameDlg(std::string_view currentName);
  const std::string& Name() const { return name_; }

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOk() override;
  void OnCancel() override;
  bool OnMouseWheel(int id, int delta) override;

 private:
  std::string name_;
  std::string default_;
  int historyPosition_ = 0;  // the history line the wheel shows last
};

// "SunText.txt" in the program folder: one text per line, newest first.
std::vector<std::string> ReadTextHistory();
// Rewrites the history: the new text first, then every older line that does
// not occur within it. False when it could not be written.
bool WriteTextHistory(const std::string& text, const std::vector<std::string>& history);

// Runs the dialog in `mode` starting from `name` (CP932); on OK true with the
// typed name in `name`; g_renameMode is 0 again afterwards.
bool RunRenameDialog(int mode, std::string& name);

// Installs RunRenameDialog as the database editors' name dialog.
void InstallRenameDialog();

}  // namespace dorn
