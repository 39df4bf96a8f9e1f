#pragma once
// The NC data check dialog (IDD 328, "  ＮＣデータチェック"): the companion
// reads an NC program back and draws it, on the screen or the plotter. The
// program is the drawing's own NC file (start mode 11) or a shared file the
// user picks (start mode 12, its path in "$com_dat.@@@").
#include <string>

#include "kelto_dorn/camdata/cam_services.h"
#include "kelto_dorn/camdata/run_settings.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kNcCheckDialogId = 328;
inline constexpr char kCheckFileName[] = "$com_dat.@@@";
// The path field of "$com_dat.@@@": 256 bytes with the terminator.
inline constexpr std::size_t kCheckFileBytes = 256;

namespace nc_check {
inline constexpr int kNormal = run_settings::kNormal, kPause = run_settings::kPause, kSlow = run_settings::kSlow;
inline constexpr int kGraphic = 1381, kPlotter = 1205;
inline constexpr int kScreenNew = run_settings::kScreenNew, kScreenOverwrite = run_settings::kScreenOverwrite;
inline constexpr int kDrawingState = 1353, kOwnFile = 1554, kSharedFile = 1553;
inline constexpr int kFileField = 1008, kOutput = 1178, kCancel = 1001;
}  // namespace nc_check

// Writes "$com_dat.@@@" in the program folder: the path, zero-padded to 256
// bytes. A path of more than 255 bytes is refused; false (with the reason in
// *message) when nothing usable was written.
bool WriteCheckFileName(const std::string& pathCp932, std::string* message);

class CNcDataCheckDlg : public platform::Dialog {
 public:
  explicit CNcDataCheckDlg(const CamServices& services);

  bool UsesSharedFile() const { return !sharedPath_.empty(); }
  const std::string& SharedPath() const { return sharedPath_; }

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnOk() override {}

 private:
  void ChooseSharedFile();
  void Output();
  void Display();

  CamServices services_;
  std::string sharedPath_;  // CP932; empty: the drawing's own NC file
};

}  // namespace dorn
