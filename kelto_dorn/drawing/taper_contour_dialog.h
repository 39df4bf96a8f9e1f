#pragma once
// The taper contour dialog (template 320, "  テーパー輪郭"): the name, TOP and
// END heights, IP point and, for the whole contour or for up to five
// sections of it, the taper angle and the edge radii of the current curve
// record. "登録" computes each section's offsets (contour_builders.h),
// offsets the contour figures in the segment blocks by their section's
// reference-face offset and joins them again.
#include "kelto_dorn/app/curve_record.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kTaperDialogId = 320;
// End code: the caller lets the user pick the current section's figures.
inline constexpr int kTaperPickSection = 222;
inline constexpr int kTaperSections = 5;
// Control ids.
inline constexpr int kTaperNameEdit = 1008;
inline constexpr int kTaperTopEdit = 1029;
inline constexpr int kTaperEndEdit = 1030;
inline constexpr int kTaperIpXEdit = 1031;
inline constexpr int kTaperIpYEdit = 1065;
inline constexpr int kTaperAngleEdit = 1066;
inline constexpr int kTaperUpperEdit = 1067;
inline constexpr int kTaperLowerEdit = 1068;
inline constexpr int kTaperRegisterButton = 1178;
inline constexpr int kTaperWholeButton = 1203;
inline constexpr int kTaperPickButton = 1534;
inline constexpr int kTaperTopRadio = 1535;
inline constexpr int kTaperBottomRadio = 1498;
inline constexpr int kTaperColourButton = 1202;
inline constexpr int kTaperTabs = 1240;
// The section mode word: 0 the whole contour, else 4096 + the section.
inline constexpr int kTaperSectionModeBase = 4096;

// The per-section values of a curve record (five groups of six floats).
enum class TaperValue { UpperRadius = 0, LowerRadius = 1, Angle = 2, ReferenceOffset = 3, TopToBottom = 4 };
float& TaperField(CurveRecord& curve, TaperValue which, int section);

// Computes every section's offsets into the record and offsets the work
// list (segment blocks 0..count-1, each figure's section in its style word)
// by its section's reference-face offset; consecutive lines and arcs are
// joined again. With the section mode off every figure is section 0.
void ApplyTaperOffsets(CurveRecord& curve, int count);

class CTaperContourDlg : public platform::Dialog {
 public:
  // `curveKey` names a new taper curve; `curveState` 9 allows one section
  // only; `allowPick` enables "図形指定".
  CTaperContourDlg(int curveKey, int curveState, bool allowPick);

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnSelectionChanged(int id) override;
  void OnOk() override;

 private:
  void Fill();
  void CommitField();
  int Section() const { return section_; }
  int curveKey_;
  int curveState_;
  bool allowPick_;
  int activeField_ = 0;
  int section_ = 0;
  bool committing_ = false;
};

}  // namespace dorn
