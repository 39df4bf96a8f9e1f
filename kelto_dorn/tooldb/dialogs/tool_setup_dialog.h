#pragma once
// The cutting-speed and feed calculator (IDD 326, "工具セットＵＰ／回転・送り
// 速度"): material, tool kind, end shape and the series or edit settings; a
// test diameter shows S and F; "セットＵＰ" writes speeds and feeds into the
// open tool folder's records (the editor's table) and keeps the settings in
// "$DB_Vmin.@@@". It works on a copy of the settings: a cancel changes nothing.
#include "kelto_dorn/tooldb/vmin_table.h"
#include "platform/dialog.h"

namespace dorn {

class DocToolTable;

inline constexpr int kToolSetupDialogId = 326;

namespace tool_setup {
inline constexpr int kMaterials = 3261, kToolKinds = 3262;
inline constexpr int kSecName = 3263, kFrom = 3264, kTo = 3265, kPitch = 3266, kGCode = 3267;
inline constexpr int kFluteLength = 3268, kTipOrCorner = 3269, kCuttingSpeed = 3270, kAxial = 3271, kRadial = 3272;
inline constexpr int kTestDiameter = 3273, kTestSpeed = 3274, kTestFeed = 3275;
inline constexpr int kBall = 3276, kFlat = 3277, kBullNose = 3278, kNewSeries = 3279, kEdit = 3280;
inline constexpr int kSetup = 3281, kCancel = 3282;
}  // namespace tool_setup

class CToolSetupDlg : public platform::Dialog {
 public:
  // recordCount: the records of the editor's open tool folder.
  CToolSetupDlg(DocToolTable& table, int recordCount);
  // The record count after a set-up that ended with 1.
  int RecordCount() const { return recordCount_; }

 protected:
  bool OnInit() override;
  void OnFocusGained(int id) override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOk() override;

 private:
  void Commit(bool moveOn);
  void CommitTestDiameter();
  void ShowAll();
  void ShowButtons();
  void RunSetup();

  DocToolTable& table_;
  int recordCount_;
  VminTable settings_{};
  int focused_ = 0;
  bool autoSpeed_ = false;
};

}  // namespace dorn
