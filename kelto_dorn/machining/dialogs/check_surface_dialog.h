#pragma once
// Check surfaces (217, "ＣＨＥＣＫ曲面登録"): the 32 rows of surfaces the tool
// stays above, below or on, or that act as the model or a fillet, seven rows
// shown at a time. Surfaces come from the surface list.
//
// End codes: 1 登 録 (rows compacted), 2 ｷｬﾝｾﾙ/Esc (rows restored).
#include <array>

#include "kelto_dorn/machining/machining_definition.h"
#include "kelto_dorn/machining/dialogs/row_list_controls.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kCheckSurfaceDialogId = 217;

namespace check_surface_ctl {
inline constexpr int kVisibleRows = 7;
inline constexpr std::array<int, kVisibleRows> kName = {1008, 1029, 1030, 1031, 1065, 1066, 1067};
inline constexpr std::array<int, kVisibleRows> kSide = {1000, 1001, 1002, 1003, 1004, 1005, 1006};
inline constexpr std::array<int, kVisibleRows> kType = {1007, 1009, 1010, 1011, 1012, 1013, 1014};
inline constexpr std::array<int, kVisibleRows> kOffset = {1015, 1016, 1017, 1018, 1019, 1020, 1021};
inline constexpr int kNameHead = 1022;
inline constexpr int kScroll = 1023;
inline constexpr int kRegister = 1024;
inline constexpr int kDelete = 1025;
inline constexpr int kInsert = 1026;
inline constexpr int kReset = 1027;
inline constexpr int kCancel = 2;
inline constexpr int kLastTopRow = 25;
}  // namespace check_surface_ctl

class CCheckSurfaceDlg : public platform::Dialog {
 public:
  CCheckSurfaceDlg();

  int SelectedRow() const { return selected_; }

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnScroll(int id) override;
  void OnOk() override {}
  void OnCancel() override;
  platform::DialogColors Colors() override;

 private:
  void Refresh();
  // The row entry of a visible row; true when it ran the surface list.
  bool RowEntry(int row);

  int top_ = 0;
  int selected_ = 0;
  RowEditModes modes_;
  std::array<CheckSurfaceRow, kCheckSurfaceRowCount> saved_{};
};

}  // namespace dorn
