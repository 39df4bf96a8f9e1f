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

inline constexpr int kBoxHoleStyleDialogId = 289;

namespace box_hole_ctl {
inline constexpr int kAllCircles = 1487;
inline constexpr int kSameDiameter = 1488;
inline constexpr int kByColour = 1489;
inline constexpr int kXIncreasing = 1490;
inline constexpr int kXDecreasing = 1491;
inline constexpr int kYIncreasing = 1492;
inline constexpr int kYDecreasing = 1493;
inline constexpr int kXAxis = 1494;
inline constexpr int kYAxis = 1495;
inline constexpr int kOneWay = 1496;
inline constexpr int kBackAndForth = 1497;
inline constexpr int kShowEveryTime = 1498;
inline constexpr int kTolerance = 1008;
inline constexpr int kRegister = 1178;
}  // namespace box_hole_ctl

// Edits g_boxHoleSettings in place, each button at once; 登 録, Esc and the
// close box take the tolerance (its absolute value) and close with 1. The
// caller writes the file.
class CBoxHoleStyleDlg : public platform::Dialog {
 public:
  CBoxHoleStyleDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnOk() override;
  void OnCancel() override;

 private:
  void Refresh();
  void Close();
};

inline constexpr int kAtcRankDialogId = 330;

namespace atc_rank_ctl {
inline constexpr int kList = 1401;
inline constexpr int kRegister = 1;
inline constexpr int kCancel = 2;
}  // namespace atc_rank_ctl

class DefinitionSlots;

// Shows the output rank each ATC number of the machining order gets; 登 録
// or Enter puts the ranking in force for the CAM data (result word 4095) and
// closes with 1, ｷｬﾝｾﾙ or Esc closes with 2 (result word 0).
class CAtcRankConfirmDlg : public platform::Dialog {
 public:
  explicit CAtcRankConfirmDlg(const DefinitionSlots& slots);
  int ResultWord() const { return resultWord_; }
  const AtcRanking& Ranking() const { return ranking_; }

 protected:
  bool OnInit() override;
  void OnClick(int id) override;
  void OnOk() override;
  void OnCancel() override;

 private:
  const DefinitionSlots& slots_;
  AtcRanking ranking_;
  int resultWord_ = 0;
};

// Runs the ranking dialog; 1 when confirmed.
int RunAtcRankConfirmDialog(const DefinitionSlots& slots);

}  // namespace dorn
