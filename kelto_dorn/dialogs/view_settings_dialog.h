#pragma once
// The view and operation settings (template 232): zoom and pan rates, grid
// pitch, join tolerance, IP point display, CAD and DXF import options, NFS and
// NC-data display, the SLOW feed, the figure, curve, axis and background
// colours and the dimension text size. Every control writes its setting as
// soon as it is committed; the dialog always ends with 2. The caller applies
// the results to the view afterwards (zoom steps, background, redraw).
#include <array>

#include "platform/bitmap.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kViewSettingsDialogId = 232;

class CViewSettingsDlg : public platform::Dialog {
 public:
  CViewSettingsDlg();

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnFocusLost(int id) override;
  void OnScroll(int id) override;
  void OnOk() override;
  void OnCancel() override;

 private:
  void Fill();
  void Commit();
  void ReadSlider();
  void ShowSwatches();
  void ChooseColour(int id);
  int focusField_ = 0;  // 1-4 the four rate edits, 5 the SLOW edit
  std::array<platform::Bitmap, 32> swatches_;
};

}  // namespace dorn
