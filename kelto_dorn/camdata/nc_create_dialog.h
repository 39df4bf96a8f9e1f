#pragma once
// The NC data creation dialog (IDD 239, "  ＮＣデータ作成"): chooses what the
// companion does with the hand-over (data creation, graphic, data map, NC
// check) and the settings of the run, and on "出 力" builds the hand-over
// with pit-in classification, saves the drawing and starts the companion.
// The dialog stays open after an output. Its settings live in the system
// record (shared/handover/drawing_header.h).
#include <string>

#include "kelto_dorn/camdata/cam_services.h"
#include "kelto_dorn/camdata/run_settings.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kNcCreateDialogId = 239;

// Control ids.
namespace nc_create {
inline constexpr int kDataCreation = 1500, kGraphic = 1381, kDataMap = 1502, kNcCheck = 1503;
inline constexpr int kNormal = run_settings::kNormal, kPause = run_settings::kPause, kSlow = run_settings::kSlow;
inline constexpr int kScreenNew = run_settings::kScreenNew, kScreenOverwrite = run_settings::kScreenOverwrite;
inline constexpr int kAbsOutput = 1204, kPointCloud = 1107, kScreenOutput = 1356, kPlotter = 1205;
inline constexpr int kCloudXy = 1041, kCloudXz = 1043, kCloudYz = 1044, kCloudDz = 1045;
inline constexpr int kDrawingFileName = 1148, kONumberFileName = 1149;
inline constexpr int kExtension = 1008, kONumber = 1029, kChannel = 1433;
inline constexpr int kDrawingState = 1353, kMachiningInfo = 1354, kCentring = 1570;
inline constexpr int kOutput = 1178, kCancel = 1001;
}  // namespace nc_create

// The output kinds and data-map outputs.
inline constexpr int kOutputDataCreation = 1, kOutputGraphic = 2, kOutputDataMap = 3, kOutputNcCheck = 4;
inline constexpr int kMapAbs = 0, kMapPointCloud = 1, kMapPlotter = 2, kMapScreen = 3;

// The (start mode, sub-mode) of an output kind, a data-map output and the
// plotter flag.
struct StartPair {
  int mode = 0;
  int subMode = 0;
  friend bool operator==(const StartPair&, const StartPair&) = default;
};
StartPair StartPairOf(int outputKind, int dataMapOutput, int plotterFlag);

// Prepares the machining order for a creation: a list with entries is put
// in force; a single definition key in the count word becomes the list.
void PrepareMachiningOrder();

class CNcDataCreateDlg : public platform::Dialog {
 public:
  explicit CNcDataCreateDlg(const CamServices& services);

  int OutputKind() const;

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnFocusLost(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOk() override;
  void OnCancel() override;

 private:
  void Output();
  void CommitPendingEdit();
  void Display();
  void SetOutputKind(int kind);

  CamServices services_;
  int pendingEdit_ = 0;  // the edit field that has the focus, 0 none
};

}  // namespace dorn
