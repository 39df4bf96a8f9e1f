#pragma once
// OMIT (211, "ＯＭＩＴ登録"): the contour figures left out of a plane contour,
// 128 rows shown six at a time, each with its Z (typed or from a surface),
// UP and DOWN F-codes and NOT, and the OMIT contour stock.
//
// End codes: 1 登  録 (rows compacted), 2 ｷｬﾝｾﾙ/Esc (rows restored, the
// stock kept), 510 pick a figure for the first empty row, 511 pick the
// figure of the clicked row; g_pickTargetIndex names the row (the top row
// for 1 and 2).
#include <array>
#include <memory>

#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "kelto_dorn/machining/machining_definition.h"
#include "kelto_dorn/machining/dialogs/row_list_controls.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kOmitDialogId = 211;

namespace omit_ctl {
inline constexpr int kVisibleRows = 6;
inline constexpr std::array<int, kVisibleRows> kFigure = {1008, 1029, 1030, 1031, 1065, 1066};
inline constexpr std::array<int, kVisibleRows> kZ = {1067, 1068, 1069, 1086, 1087, 1092};
inline constexpr std::array<int, kVisibleRows> kUp = {1093, 1115, 1116, 1117, 1118, 1119};
inline constexpr std::array<int, kVisibleRows> kDown = {1120, 1121, 1122, 1123, 1124, 1125};
inline constexpr std::array<int, kVisibleRows> kNot = {1475, 1476, 1477, 1478, 1479, 1480};
inline constexpr int kFigureHead = 1481;
inline constexpr int kZHead = 1482;
inline constexpr int kUpHead = 1483;
inline constexpr int kDownHead = 1484;
inline constexpr int kScroll = 1485;
inline constexpr int kStock = 1126;
inline constexpr int kRegister = 1001;
inline constexpr int kInsert = 1486;
inline constexpr int kDelete = 1487;
inline constexpr int kReset = 1488;
inline constexpr int kCancel = 2;
inline constexpr int kLastTopRow = 122;
}  // namespace omit_ctl

inline constexpr int kOmitPickNext = 510;
inline constexpr int kOmitPickRow = 511;

class COmitDlg : public platform::Dialog {
 public:
  COmitDlg();

  int TopRow() const { return top_; }

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnFocusLost(int id) override;
  void OnScroll(int id) override;
  void OnOk() override;
  void OnCancel() override;
  platform::DialogColors Colors() override;

 private:
  void Refresh();
  void RowAction(int row, bool zColumn);
  void PromptRowZ(int row);
  void End(int code, int targetRow);

  int top_ = 0;
  RowEditModes modes_;
  std::unique_ptr<std::array<MachiningFigureEntry, kOmitRowCount>> saved_;
  NumericFieldSet fields_;
};

}  // namespace dorn
