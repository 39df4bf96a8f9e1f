#pragma once
// Three small condition dialogs of the definition dialogs: the tool
// compensation of the current step (side, D and H numbers), the G01 corner
// feed reduction of the whole definition, and the chamfer pass of the
// current step with its derived stock values and a schematic.
#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kToolCompensationDialogId = 204;
inline constexpr int kCornerFeedDialogId = 342;
inline constexpr int kChamferDialogId = 296;

namespace compensation_ctl {
inline constexpr int kOff = 1401;
inline constexpr int kG41 = 1402;
inline constexpr int kG42 = 1403;
inline constexpr int kDMark = 1404;
inline constexpr int kD = 1405;
inline constexpr int kHMark = 1406;
inline constexpr int kH = 1407;
inline constexpr int kRegister = 1408;
inline constexpr int kCancel = 1409;
}  // namespace compensation_ctl

namespace corner_ctl {
inline constexpr int kOn = 1501;
inline constexpr int kDistance = 1502;
inline constexpr int kRate = 1503;
inline constexpr int kRegister = 1504;
}  // namespace corner_ctl

namespace chamfer_ctl {
inline constexpr int kSize = 1601;      // 面取りＣ=
inline constexpr int kPosition = 1602;  // 工具位置
inline constexpr int kTipDiameter = 1603;
inline constexpr int kTipZ = 1604;      // read-only
inline constexpr int kOffset = 1605;    // read-only
inline constexpr int kFlat = 1606;
inline constexpr int kBall = 1607;
inline constexpr int kPicture = 1608;
}  // namespace chamfer_ctl

// The corner feed bit of the definition's switch word.
inline constexpr int kCornerDeceleration = 0x1000;

class CToolCompensationDlg : public platform::Dialog {
 public:
  CToolCompensationDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnFocusLost(int id) override;
  void OnOk() override;
  void OnCancel() override;
  platform::DialogColors Colors() override;

 private:
  void Refresh();
  NumericFieldSet fields_;
  int sideOnEntry_ = 0;
};

class CCornerFeedDlg : public platform::Dialog {
 public:
  CCornerFeedDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnOk() override;
  void OnCancel() override;
  platform::DialogColors Colors() override;

 private:
  void Close();
};

// The chamfer's derived values from P (tool position), C (size), φ (tip
// diameter) and the tip shape: contour stock P cos 45°, bottom Z stock
// -(stock + C) raised by the tip's own height.
struct ChamferStocks {
  double contourStock;
  double bottomZStock;
};
ChamferStocks ComputeChamferStocks(double position, double size, double tipDiameter, int ballTip);

class CChamferDlg : public platform::Dialog {
 public:
  CChamferDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnOk() override;
  void OnCancel() override;
  void OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) override;
  platform::DialogColors Colors() override;

 private:
  void Refresh();
  NumericFieldSet fields_;
};

}  // namespace dorn
