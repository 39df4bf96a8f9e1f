#pragma once
// The RIB line dialog (template 222, "  ＲＩＢライン"): lists the RIB line
// keys, clears the list, deletes an entry or opens a gap for the next pick
// (double click in DEL or INS mode), and tells its caller whether more lines
// are to be picked (500, with RibLineCount set) or the list is final (2).
#include "kelto_dorn/drawing/rib_lines.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kRibLineDialogId = 222;
inline constexpr int kRibLinePickMore = 500;
namespace rib_dialog {
inline constexpr int kList = 1024;
inline constexpr int kAdd = 1133;
inline constexpr int kInsert = 1070;
inline constexpr int kDelete = 1071;
inline constexpr int kReset = 1131;
}  // namespace rib_dialog

class CRibLineDlg : public platform::Dialog {
 public:
  CRibLineDlg();

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnDoubleClick(int id) override;
  // Enter does nothing: the dialog never closes on it.
  void OnOk() override {}

 private:
  void ShowLines();
  void SetModes(int insert, int remove);

  RibLineList list_;
  int insertMode_ = 0;  // 0 off, 15 on
  int deleteMode_ = 0;
};

// Constructs the dialog; the caller runs it modally.
CRibLineDlg OpenRibLineDialog();

}  // namespace dorn
