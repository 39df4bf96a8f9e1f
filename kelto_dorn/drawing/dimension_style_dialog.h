#pragma once
// The dimension style dialog (template 305, "  寸法スタイルの設定"): edits the
// process-wide dimension style in place (arrow angle and length, text size,
// precision, the two colours, the arrow tip), shows a sample arrow and text,
// and keeps the stored arrow wings up to date.
#include <array>

#include "platform/bitmap.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kDimensionStyleDialogId = 305;
namespace style_dialog {
inline constexpr int kArrowAngle = 1008;
inline constexpr int kArrowLength = 1029;
inline constexpr int kTextSize = 1433;
inline constexpr int kPrecision = 1019;
inline constexpr int kLineColour = 1001;
inline constexpr int kTextColour = 1002;
inline constexpr int kOpenTip = 1542;
inline constexpr int kFilledTip = 1541;
inline constexpr int kDefaults = 1000;
inline constexpr int kRegister = 1178;
inline constexpr int kSample = 1544;
}  // namespace style_dialog

class CDimensionStyleDlg : public platform::Dialog {
 public:
  CDimensionStyleDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnSelectionChanged(int id) override;
  void OnDrawItem(int id, platform::DeviceContext& dc, const platform::OwnerDrawItem& item) override;
  // Enter commits the field and moves on; it never closes the dialog.
  void OnOk() override;
  void OnCancel() override;

 private:
  void ShowValues();
  void ShowColourImages();
  void Commit();
  void ChooseColour(int id);
  void DrawSample(platform::DeviceContext& dc);

  int focused_ = 0;
  std::array<platform::Bitmap, 2> images_{};
};

// Runs the dialog modally; every change is already in the style when it ends.
void RunDimensionStyleDialog();

// The sample text's font height in pixels for a text size at a zoom (percent).
int SampleFontHeight(double textSize, double zoom);

}  // namespace dorn
