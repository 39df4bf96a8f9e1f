#pragma once
// The hole definition dialog (template 309, "  穴加工定義", menu 259): up to
// eight step rows, each a tool of the machine with its own depth, filled by
// hand or from a named hole process; the machining surface, R and I points,
// through amount, the chamfer detail, the picked hole figures and a side
// view of the tools in the hole. It edits g_curMachiningDef in place and
// ends with 1 (store), 345 / 321 (store and move), 2 (cancel), or a pick
// code: 100 re-pick, 111 more hole figures, 400 / 410 MOVE and multi-piece
// axis, 910 DRAW curve. No reopen timer: after a pick the dialog just opens
// again.
#include <optional>
#include <string>

#include "kelto_dorn/machining/dialogs/hole_dialog_base.h"

namespace dorn {

class DocAtcTable;

inline constexpr int kHoleDefineDialogId = 309;

namespace hole_ctl {
inline constexpr int kNameButton = 1171;
inline constexpr int kName = 1067;
inline constexpr int kWorkOffset = 1018;
inline constexpr int kChooseProcess = 1164;
inline constexpr int kNewProcess = 1105;
inline constexpr int kProcessName = 1068;
inline constexpr int kAtcX = 1072;
inline constexpr int kAtcY = 1224;
inline constexpr int kAtcZ = 1225;
inline constexpr int kMain = 1156;
inline constexpr int kSub = 1157;
inline constexpr int kG98 = 1154;
inline constexpr int kG99 = 1155;
inline constexpr int kMove = 1153;
inline constexpr int kMultiPiece = 1159;
inline constexpr int kCheckSurface = 1160;
inline constexpr int kPost = 1433;
inline constexpr int kFigureButton = 1003;
inline constexpr int kFigures = 1017;
inline constexpr int kFigureLine = 1008;
inline constexpr int kRepick = 1115;
inline constexpr int kRemove = 1116;
inline constexpr int kMore = 1142;
inline constexpr int kChamferDetail = 1581;
inline constexpr int kSurfaceZ = 1031;
inline constexpr int kThrough = 1029;
inline constexpr int kRPoint = 1065;
inline constexpr int kIPoint = 1030;
inline constexpr int kMaxDepth = 1066;
inline constexpr int kToolDetail = 1104;
inline constexpr int kChooseTool = 1106;
inline constexpr int kInsert = 1070;
inline constexpr int kDelete = 1071;
inline constexpr int kReset = 1131;
inline constexpr int kThroughToggle = 1089;
inline constexpr int kScale = 1000;
inline constexpr int kPreview = 1590;
// The eight rows: step button, ATC number, tool line, depth.
inline constexpr int kStepButton[8] = {1521, 1522, 1523, 1524, 1525, 1526, 1527, 1528};
inline constexpr int kStepAtc[8] = {1504, 1505, 1506, 1507, 1508, 1509, 1510, 1511};
inline constexpr int kStepLine[8] = {1122, 1123, 1124, 1125, 1126, 1127, 1128, 1032};
inline constexpr int kStepDepth[8] = {1086, 1087, 1094, 1097, 1100, 1103, 1107, 1109};
// Menu 259.
inline constexpr int kMenuStore = 1001;
inline constexpr int kMenuNext = 33123;
inline constexpr int kMenuPrevious = 33124;
inline constexpr int kMenuStepAllow = 1151;
inline constexpr int kMenuDraw = 33087;
}  // namespace hole_ctl

class CHoleDefineDlg : public CHoleDialogBase {
 public:
  explicit CHoleDefineDlg(DocAtcTable& atc);

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnSelectionChanged(int id) override;
  void OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) override;
  void CommitFocusedField(bool fromButton) override;
  void StoreName(const std::string& text) override;
  void Refresh() override;
  void EndWith(int code) override;
  // A depth belongs to a tool: without one the field is passed over.
  bool PassesOver(int id) const override;

 private:
  void AddFields();
  void FillHoleToolLines();
  void PressStepButton(int n);
  void ToggleStepMode(bool insert);
  void ChooseTool();
  void ToggleThrough();
  void ResetSteps();
  void ChooseProcess();
  void NewProcess();
  void ChamferDetailDialog();
  std::optional<double> SelectedHoleDiameter() const;

  int previewScale_ = 1;
};

// Runs the dialog modally on the working definition; returns its end code.
int RunHoleDefineDialog(DocAtcTable& atc);

}  // namespace dorn
