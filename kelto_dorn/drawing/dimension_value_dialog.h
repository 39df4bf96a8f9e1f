#pragma once
// The extended value dialog (template 365, "寸法値の拡張入力"): the four parts
// of a dimension value (main value, raised part, lower part, suffix).
#include "kelto_dorn/drawing/dimension_texts.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kDimensionValueDialogId = 365;
inline constexpr int kDimensionValueOk = 1;
inline constexpr int kValuePartEdits[4] = {1008, 1029, 1030, 1031};
inline constexpr int kValueOkButton = 1606;

class CDimensionValueDlg : public platform::Dialog {
 public:
  explicit CDimensionValueDlg(ValueParts parts);
  // The parts as typed, each cut to 59 bytes (after OK).
  const ValueParts& Parts() const { return parts_; }

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  // Enter moves to the next field; only "OK" takes the texts.
  void OnOk() override;

 private:
  ValueParts parts_;
};

}  // namespace dorn
