#pragma once
// The display settings dialogs of command 32792: in the 2-D display the step
// sizes of the view keys and buttons, the axis display and the colour shift;
// in the 3-D display the view angle and the brightness of colours and light.
// Both edit the program's values in place.
#include "kelto_qup/shell/path_panes.h"
#include "platform/dialog.h"

namespace qup::shell {

class CDisplaySettingsDlg : public platform::Dialog {
 public:
  static constexpr int kTemplateId = 134;
  // Control ids: each value's edit field and the label button beside it.
  static constexpr int kPanStepEdit = 1003, kPanStepLabel = 1002;
  static constexpr int kRotationStepEdit = 1005, kRotationStepLabel = 1004;
  static constexpr int kZoomStepEdit = 1007, kZoomStepLabel = 1006;
  static constexpr int kPlaneEdit = 1009, kPlaneLabel = 1008;
  static constexpr int kIntervalEdit = 1011, kIntervalLabel = 1010;
  static constexpr int kAxisOff = 1012, kAxisXyz = 1013, kAxisBox = 1014;
  static constexpr int kDefaults = 1015, kRegister = 1016, kColourSlider = 1017;

  explicit CDisplaySettingsDlg(PathPanes& panes);

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnFocusLost(int id) override;
  void OnScroll(int id) override;
  void OnOk() override;  // Enter commits the field in focus; it never closes

 private:
  void Refresh();
  void CommitField();
  void StoreField(int field);
  double* ValueOf(int field);
  PathPanes& panes_;
  int fieldInFocus_ = 0;  // 1 pan, 2 rotation, 3 zoom, 4 axis interval, 5 plane Z
};

// The 3-D display's values; the 3-D display reads them.
struct View3DSettings {
  double viewAngle = 25.0;      // degrees
  int brightnessDivisor = 255;  // colour brightness divisor, at least 1
  double lightIntensity = 0.5;
  double scaleFactor = 1.0;
};

class CView3DSettingsDlg : public platform::Dialog {
 public:
  static constexpr int kTemplateId = 147;
  static constexpr int kAngleSlider = 1017, kBrightnessSlider = 1018, kLightSlider = 1019, kDefaults = 1035;
  explicit CView3DSettingsDlg(View3DSettings& settings);
  // The divisor of a slider position: 510 - 25.5 x position, never below 1
  // (position 20 would give 0, which the 3-D display divides by).
  static int DivisorOfPosition(int position);
  static int PositionOfDivisor(int divisor);

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnOk() override;

 private:
  void Refresh();
  View3DSettings& settings_;
};

}  // namespace qup::shell
