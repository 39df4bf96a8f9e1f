#pragma once
// The two hole kinds that machine every picked hole with one tool (step 1
// only): the helical hole (template 331, kind 0xB800), whose tool descends on
// a helix inside the hole, and the high-speed deep hole (333, 0xBC00), which
// pecks with a top cut and a high-speed cut amount. Both follow the hole
// dialog's life: end codes 1, 345, 321, 2, 100, 111, 400, 410; no reopen
// timer. The helical dialog marks its hole curves with its kind and half the
// helical hole diameter when it stores.
#include <string>

#include "kelto_dorn/machining/dialogs/hole_dialog_base.h"

namespace dorn {

class DocAtcTable;

inline constexpr int kHelicalHoleDialogId = 331;
inline constexpr int kDeepHoleDialogId = 333;

namespace single_hole_ctl {
inline constexpr int kNameButton = 1171;
inline constexpr int kName = 1008;
inline constexpr int kToolName = 1029;
inline constexpr int kSecName = 1030;
inline constexpr int kWorkOffset = 1018;
inline constexpr int kFigures = 1433;
inline constexpr int kPost = 1019;
inline constexpr int kRepick = 1115;
inline constexpr int kRemove = 1116;
inline constexpr int kMore = 1000;
inline constexpr int kChooseTool = 1106;
inline constexpr int kToolDetail = 1104;
inline constexpr int kMove = 1153;
inline constexpr int kMultiPiece = 1159;
inline constexpr int kColour = 1202;
inline constexpr int kThroughToggle = 1089;
inline constexpr int kSurfaceZ = 1123;
inline constexpr int kReferenceDepth = 1125;
inline constexpr int kBottomOrStock = 1126;  // helical 底面Ｚ値, deep hole 残し量
inline constexpr int kAtcX = 1301;
inline constexpr int kAtcY = 1302;
inline constexpr int kAtcZ = 1303;
inline constexpr int kThrough = 1304;
inline constexpr int kIPoint = 1305;
inline constexpr int kRPoint = 1306;
inline constexpr int kPreview = 1307;
// Helical.
inline constexpr int kHelicalAtc = 1065;
inline constexpr int kHelicalSpindle = 1066;
inline constexpr int kHelicalFeed = 1068;
inline constexpr int kHelicalDiameter = 1031;
inline constexpr int kHelicalCorner = 1032;
inline constexpr int kHelicalFlat = 1033;
inline constexpr int kSlopeAngle = 1067;
inline constexpr int kHoleDiameter = 1087;
inline constexpr int kCutPerRevolution = 1092;
inline constexpr int kTaperAngle = 1093;
inline constexpr int kG41 = 1192;
inline constexpr int kReturnI = 1148;
inline constexpr int kReturnR = 1149;
// Deep hole.
inline constexpr int kDeepAtc = 1031;
inline constexpr int kDeepSpindle = 1066;
inline constexpr int kDeepFeed = 1067;
inline constexpr int kFastSpindle = 1068;
inline constexpr int kFastFeed = 1069;
inline constexpr int kDeepDiameter = 1065;
inline constexpr int kTopCut = 1127;
inline constexpr int kFastCut = 1128;
inline constexpr int kG98 = 1154;
inline constexpr int kG99 = 1155;
// Menu rows.
inline constexpr int kMenuStore = 1001;
inline constexpr int kMenuNext = 33123;
inline constexpr int kMenuPrevious = 33124;
inline constexpr int kMenuStepAllow = 1151;
}  // namespace single_hole_ctl

class CSingleStepHoleDlg : public CHoleDialogBase {
 public:
  CSingleStepHoleDlg(bool helical, DocAtcTable& atc);

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) override;
  void CommitFocusedField(bool fromButton) override;
  // The name from its first non-blank character; no duplicate check here.
  void StoreName(const std::string& text) override;
  void Refresh() override;
  void EndWith(int code) override;

 private:
  void AddCommonFields();
  void AddHelicalFields();
  void AddDeepHoleFields();
  void ChooseTool();
  void ToggleThrough();
  void ChooseColour();
  void SelectFigure();
  void ReadReturnLevel();

  bool helical_;
};

class CHelicalHoleDlg : public CSingleStepHoleDlg {
 public:
  explicit CHelicalHoleDlg(DocAtcTable& atc) : CSingleStepHoleDlg(true, atc) {}
};

class CDeepHoleDlg : public CSingleStepHoleDlg {
 public:
  explicit CDeepHoleDlg(DocAtcTable& atc) : CSingleStepHoleDlg(false, atc) {}
};

int RunHelicalHoleDialog(DocAtcTable& atc);
int RunDeepHoleDialog(DocAtcTable& atc);

// The helical hole's cut per revolution after its diameter, slope or
// compensation changed (helix diameter from the hole and tool diameters).
void UpdateHelicalCut(bool fromTypedAngle);

}  // namespace dorn
