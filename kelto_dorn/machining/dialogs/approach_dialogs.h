#pragma once
// The approach and escape conditions of the current step (g_curStepIndex) of
// the working definition: how the tool enters the contour at its start and
// leaves it at its end. Every kind button writes the step at once; closing
// keeps what the buttons wrote.
//
// Kind codes (approach and escape): 0 off, 2 normal, 3 tangent, 4 arc, 41
// arc from the IP point, 5 centre point, 6 vector, 7 helical (approach only).
#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kApproachDialogId = 202;
inline constexpr int kEscapeDialogId = 311;
inline constexpr int kHelicalApproachDialogId = 332;

namespace approach_ctl {
inline constexpr int kOff = 1101;
inline constexpr int kArc = 1102;
inline constexpr int kTangent = 1103;
inline constexpr int kNormal = 1104;
inline constexpr int kCentre = 1105;
inline constexpr int kVector = 1106;
inline constexpr int kHelical = 1107;
inline constexpr int kStandard = 1108;
inline constexpr int kIpPoint = 1109;
inline constexpr int kAmount = 1110;
inline constexpr int kAmountMark = 1111;
inline constexpr int kFeed = 1112;
inline constexpr int kFeedMark = 1113;
inline constexpr int kEscapeOn = 1114;
inline constexpr int kEscapeOff = 1115;
inline constexpr int kRegister = 1116;
inline constexpr int kCancel = 1117;
}  // namespace approach_ctl

namespace escape_ctl {
inline constexpr int kNone = 1201;
inline constexpr int kArc = 1202;
inline constexpr int kNormal = 1203;
inline constexpr int kTangent = 1204;
inline constexpr int kCentre = 1205;
inline constexpr int kVector = 1206;
inline constexpr int kAmount = 1207;
inline constexpr int kAmountMark = 1208;
inline constexpr int kFeed = 1209;
inline constexpr int kFeedMark = 1210;
inline constexpr int kRegister = 1211;
inline constexpr int kCancel = 1212;
}  // namespace escape_ctl

namespace helical_ctl {
inline constexpr int kCentreX = 1301;
inline constexpr int kCentreY = 1302;
inline constexpr int kStartAmount = 1303;
inline constexpr int kSlopeAngle = 1304;
inline constexpr int kDiameter = 1305;
inline constexpr int kFeed = 1306;
inline constexpr int kRegister = 1307;
}  // namespace helical_ctl

// The point input of the centre and vector kinds: false when cancelled.
// Tests and the program use the X/Y point input dialog.
bool AskConditionPoint(const char* xLabelUtf8, const char* yLabelUtf8, double& x, double& y, int mode,
                       const char* titleUtf8 = nullptr);

class CApproachDlg : public platform::Dialog {
 public:
  CApproachDlg();

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnFocusLost(int id) override;
  void OnOk() override;
  void OnCancel() override;
  platform::DialogColors Colors() override;

 private:
  void Refresh();
  void ApplyStandard(bool ipPoint);
  void CopyToEscape();
  NumericFieldSet fields_;
};

class CEscapeDlg : public platform::Dialog {
 public:
  CEscapeDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnOk() override;
  void OnCancel() override;
  platform::DialogColors Colors() override;

 private:
  void Refresh();
  void Register();
  NumericFieldSet fields_;
};

class CHelicalApproachDlg : public platform::Dialog {
 public:
  CHelicalApproachDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnOk() override;
  void OnCancel() override;
  platform::DialogColors Colors() override;

 private:
  NumericFieldSet fields_;
};

// The escape stamps of both repeat blocks: definition number + 2 while an
// escape is on.
void StampEscape(bool on);

}  // namespace dorn
