#pragma once
// The plane contour (template 299, kind 0xA000) and character contour (349,
// 0x8000) definition dialogs: one class on the shared frame with its twin
// table. Beside the step page they carry the post and work coordinate
// combos, the picked contours (変更, 複数輪郭, 削除), the ATC origin and tool
// move Z, the GOR value, the reference surface, the range text and the
// condition buttons, whose sub-dialogs join through g_conditionOpeners.
// After a pick the 400 ms timer reopens the sub-dialog that asked for it.
#include <vector>

#include "kelto_dorn/machining/dialogs/definition_frame_dialog.h"

namespace dorn {

namespace contour_ctl {
inline constexpr int kNameButton = 1171;
inline constexpr int kPost = 1433;
inline constexpr int kWorkOffset = 1018;
inline constexpr int kContours = 1017;
inline constexpr int kRepick = 1115;
inline constexpr int kMore = 1142;
inline constexpr int kRemove = 1116;
inline constexpr int kAtcX = 1072;
inline constexpr int kAtcY = 1224;
inline constexpr int kAtcZ = 1225;
inline constexpr int kMoveZ = 1226;
inline constexpr int kGor = 1227;
inline constexpr int kTopZ = 1228;
inline constexpr int kEndZ = 1229;
inline constexpr int kRange = 1230;
inline constexpr int kSurface = 1231;  // 曲面参照
inline constexpr int kXDevelop = 1232;
inline constexpr int kAxisConversion = 1233;
inline constexpr int kRotation = 1234;
inline constexpr int kShrink = 1235;
inline constexpr int kOmit = 1236;
inline constexpr int kMove = 1153;
inline constexpr int kMultiPiece = 1159;
inline constexpr int kCheckSurface = 1160;
// Menu 261.
inline constexpr int kMenuStore = 1001;
inline constexpr int kMenuCancel = 1002;
inline constexpr int kMenuNext = 33123;
inline constexpr int kMenuPrevious = 33124;
inline constexpr int kMenuStepAllow = 1151;
inline constexpr int kMenuDraw = 33087;
inline constexpr int kMenuCornerFeed = 33088;
}  // namespace contour_ctl

class CContourDefineDlg : public CDefinitionFrameDlg {
 public:
  // Runner Contour or CharContour.
  CContourDefineDlg(DefinitionRunner runner, DocAtcTable& atc);

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnCommand(int commandId) override;
  void OnSelectionChanged(int id) override;
  platform::DialogColors Colors() override;
  void ResumeSubDialog(int resumeCode) override;
  void RefreshPage() override;

 private:
  bool IsCharacter() const { return Runner() == DefinitionRunner::CharContour; }
  void AddContourFields();
  void RefreshContourDialog();
  void EndForPick(int code);
  void RemoveContour();
  void ChooseSurface();
  // A sub-dialog through its opener; a code in `pickCodes` ends this dialog
  // with it (the flow takes the pick), 1 or 2 clear the resume code.
  void RunOpener(int button, const std::function<int()>& opener, std::vector<int> pickCodes, bool clearsResume);

  std::vector<int> contourRows_;
};

// Runs the dialog of a contour runner modally; returns its end code.
int RunContourDefineDialog(DefinitionRunner runner, DocAtcTable& atc);

}  // namespace dorn
