#pragma once
// DRAW_LINE (282): the extra curves drawn or machined with a definition and
// the two switches that add its contour figure or its OMIT figures to them.
// RunDrawFigureList runs it and turns 追加 into a pick of the next curve.
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kDrawLineDialogId = 282;

namespace draw_ctl {
inline constexpr int kList = 1024;
inline constexpr int kContour = 1025;
inline constexpr int kOmit = 1026;
inline constexpr int kAdd = 1027;
inline constexpr int kDelete = 1028;
inline constexpr int kReset = 1029;
}  // namespace draw_ctl

inline constexpr int kDrawPickCode = 910;

class CDrawLineDlg : public platform::Dialog {
 public:
  CDrawLineDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  platform::DialogColors Colors() override;

 private:
  void Refresh();
};

// The DRAW command of every definition dialog: 910 with g_pickTargetIndex
// the first free slot when 追加 was pressed and a slot is free, else 0.
int RunDrawFigureList();

}  // namespace dorn
