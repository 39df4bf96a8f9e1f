#pragma once
// NC data copy (command 32864): one NC program of the drawing's "DAT" folder
// is copied to a drive letter's folder or to a picked folder, without its
// comment lines (a whole line beginning with "@" or "*"). The copy is written
// under a temporary name and renamed, so a failure never leaves a cut
// target; the source is never written.
#include <filesystem>
#include <string>
#include <string_view>

#include "kelto_qup/engine/run_context.h"
#include "platform/dialog.h"

namespace qup::shell {

inline constexpr int kErrorCopySource = 95;  // "コピー元ファイル::OPEN_ERROR...."
inline constexpr int kErrorCopyTarget = 96;  // "コピー先ファイル::OPEN_ERROR...."

// 0 copied, else the error code (95 source, 96 target); nothing is shown.
int CopyNcProgram(const std::filesystem::path& source, const std::filesystem::path& target);

// A typed file name as it may become part of a path: empty when it holds a
// separator, a drive colon or "..".
std::string PlainFileName(std::string_view typedCp932);

class CNcCopyDlg : public platform::Dialog {
 public:
  static constexpr int kTemplateId = 157;
  static constexpr int kSource = 1003, kTarget = 1005, kFolder = 1007, kDrive = 1035, kShared = 1042, kExecute = 1016;
  explicit CNcCopyDlg(RunContext& run);

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOk() override;  // Enter cuts the target name at its first blank

 private:
  void PickSharedTarget();
  void ForgetPickedFolder();
  void Copy();
  // The target's native path, or empty with the reason shown.
  std::filesystem::path TargetPath(const std::string& name);
  RunContext& run_;
  bool picked_ = false;
  std::string pickedFolder_;  // CP932, ending in a separator
};

int RunNcCopy(RunContext& run);

}  // namespace qup::shell
