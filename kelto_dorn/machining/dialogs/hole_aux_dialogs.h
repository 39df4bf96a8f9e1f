#pragma once
// The small dialogs that serve hole machining: the chamfer detail of a hole
// chamfered with a 90-degree tool (template 170), the BOX hole style of the
// box pick (289) and the ATC ranking confirmed before NC data is made (330).
#include <vector>

#include "kelto_dorn/machining/atc_ranking.h"
#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "platform/dialog.h"

namespace dorn {

inline constexpr int kChamferDetailDialogId = 170;

namespace chamfer_detail_ctl {
inline constexpr int kSize = 1008;
inline constexpr int kOffset = 1029;
inline constexpr int kDownRate = 1030;
inline constexpr int kApproachRate = 1031;
inline constexpr int kRegister = 1178;
}  // namespace chamfer_detail_ctl

// Edits g_chamferDetail (absolute values); 登録, Esc and the close box write
// "$MenHc.@@@" and close with 2. An unwritable file is reported; the values
// stay in memory.
class CHoleChamferDetailDlg : public platform::Dialog {
 public:
  CHoleChamferDetailDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnOk() override;
  void OnCancel() override;

 private:
  void Close();
  NumericFieldSet fields_;
};

}  // namespace dorn
