#pragma once
// The spiral conversion dialog (template 290, "  曲線：：渦巻き変換"): the
// offset width between the turns and the number of turns of the spiral
// that a curve is wound into.
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kSpiralDialogId = 290;
inline constexpr int kSpiralWidthEdit = 1008;
inline constexpr int kSpiralTurnsEdit = 1029;
inline constexpr int kSpiralRegisterButton = 1178;

class CSpiralCurveDlg : public platform::Dialog {
 public:
  CSpiralCurveDlg();
  double Width() const { return width_; }
  double Turns() const { return turns_; }

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  // Enter moves to the next field, as in every numeric dialog.
  void OnOk() override;

 private:
  void Fill();
  void CommitField();

  int focusedField_ = 0;
  double width_ = 5.0;
  double turns_ = 5.0;
};

// A number of turns as the spiral takes it: its magnitude, a fraction
// rounded to the half (2.3 and 2.7 give 2.5, 3 stays 3).
double SpiralTurns(double typed);

}  // namespace dorn
