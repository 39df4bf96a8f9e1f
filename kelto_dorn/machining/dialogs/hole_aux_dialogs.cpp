#include "kelto_dorn/machining/dialogs/hole_aux_dialogs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/camdata/cam_builder.h"
#include "kelto_dorn/camdata/order_items.h"
#include "kelto_dorn/dialogs/modal_run.h"
#include "kelto_dorn/document/file_fault.h"
#include "kelto_dorn/document/system_state.h"
#include "kelto_dorn/machining/definition_slots.h"
#include "kelto_dorn/machining/hole_fields.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;

namespace {

std::vector<ControlSpec> ChamferControls() {
  namespace c = chamfer_detail_ctl;
  auto edit = [](int id) { return ControlSpec(ControlKind::Edit, id, "", 0, 90, 0, 0, 24); };
  auto label = [](const char* utf8) { return ControlSpec(ControlKind::StaticText, -1, Sjis(utf8)); };
  return {label("面取りＣ"),         edit(c::kSize),         label("切削位置OFFSET"), edit(c::kOffset),
          label("DOWN送り率"),       edit(c::kDownRate),     label("アプローチ送り率"), edit(c::kApproachRate),
          ControlSpec(ControlKind::PushButton, c::kRegister, Sjis("登録"))};
}

}  // namespace

CHoleChamferDetailDlg::CHoleChamferDetailDlg()
    : platform::Dialog(kChamferDetailDialogId, Sjis("穴加工面取り詳細"), ChamferControls()) {
  auto field = [this](int id, double ChamferDetail::*m) {
    fields_.Add({id, [m](double v) { g_chamferDetail.*m = std::fabs(v); },
                 [m] { return NumberText(g_chamferDetail.*m); }});
  };
  field(chamfer_detail_ctl::kSize, &ChamferDetail::size);
  field(chamfer_detail_ctl::kOffset, &ChamferDetail::offset);
  field(chamfer_detail_ctl::kDownRate, &ChamferDetail::downRate);
  field(chamfer_detail_ctl::kApproachRate, &ChamferDetail::approachRate);
}

bool CHoleChamferDetailDlg::OnInit() {
  fields_.ShowAll(*this);
  return true;
}

void CHoleChamferDetailDlg::OnFocusGained(int id) {
  if (fields_.Focused() != 0 && fields_.Focused() != id) {
    fields_.Commit(*this);
    fields_.ShowAll(*this);
  }
  fields_.FocusGained(*this, id);
}

void CHoleChamferDetailDlg::OnClick(int id) {
  if (id == chamfer_detail_ctl::kRegister) Close();
}

void CHoleChamferDetailDlg::OnOk() {
  if (fields_.Focused() == 0) return NextControl();
  fields_.Commit(*this);
  fields_.ShowAll(*this);
  NextControl();
}

void CHoleChamferDetailDlg::OnCancel() { Close(); }

// The pending field is committed first, so the typed value is what is kept.
void CHoleChamferDetailDlg::Close() {
  fields_.Commit(*this);
  const platform::FileResult written = WriteChamferDetail(g_chamferDetail);
  if (!written.ok()) ReportFileFault(written);
  EndDialog(2);
}

}  // namespace dorn

// ---- BOX hole style --------------------------------------------------------

namespace dorn {
namespace {

namespace box = box_hole_ctl;

// Radio pairs: the settings word and the buttons for 0 and 1.
struct RadioPair {
  int word;
  int zero, one;
};
constexpr RadioPair kBoxPairs[] = {{1, box::kAllCircles, box::kSameDiameter},
                                   {3, box::kXIncreasing, box::kXDecreasing},
                                   {4, box::kYIncreasing, box::kYDecreasing},
                                   {5, box::kXAxis, box::kYAxis},
                                   {6, box::kOneWay, box::kBackAndForth}};

std::vector<ControlSpec> BoxControls() {
  auto radio = [](int id, const char* utf8, bool first) {
    return ControlSpec(ControlKind::RadioButton, id, Sjis(utf8), 0, 0, 0,
                       first ? platform::control_style::kGroupStart : 0u);
  };
  auto check = [](int id, const char* utf8) { return ControlSpec(ControlKind::CheckBox, id, Sjis(utf8)); };
  return {radio(box::kAllCircles, "すべての円の中心", true), radio(box::kSameDiameter, "同径の円の中心", false),
          check(box::kByColour, "カラー別ラインタイプ別"),
          radio(box::kXAxis, "Ｘ軸を基準", true),           radio(box::kYAxis, "Ｙ軸を基準", false),
          radio(box::kXIncreasing, "Ｘの小さい順", true),   radio(box::kXDecreasing, "Ｘの大きい順", false),
          radio(box::kYIncreasing, "Ｙの小さい順", true),   radio(box::kYDecreasing, "Ｙの大きい順", false),
          radio(box::kOneWay, "一定方向", true),            radio(box::kBackAndForth, "往復方向", false),
          ControlSpec(ControlKind::StaticText, -1, Sjis("座標の許容範囲")),
          ControlSpec(ControlKind::Edit, box::kTolerance, "", 0, 90, 0, 0, 24),
          check(box::kShowEveryTime, "BOX操作時に毎回表示させる"),
          ControlSpec(ControlKind::PushButton, box::kRegister, Sjis("登 録"))};
}

}  // namespace

CBoxHoleStyleDlg::CBoxHoleStyleDlg()
    : platform::Dialog(kBoxHoleStyleDialogId, Sjis("  ＢＯＸ穴図形の取得スタイル"), BoxControls()) {}

bool CBoxHoleStyleDlg::OnInit() {
  SetText(box::kTolerance, NumberText(g_boxHoleSettings.tolerance));
  Refresh();
  return true;
}

void CBoxHoleStyleDlg::Refresh() {
  const BoxHoleSettings& b = g_boxHoleSettings;
  for (const RadioPair& p : kBoxPairs) {
    SetCheck(p.zero, b.words[p.word] == 0);
    SetCheck(p.one, b.words[p.word] == 1);
  }
  SetCheck(box::kByColour, b.words[2] != 0);
  SetCheck(box::kShowEveryTime, b.word40 != 0);
}

void CBoxHoleStyleDlg::OnClick(int id) {
  BoxHoleSettings& b = g_boxHoleSettings;
  for (const RadioPair& p : kBoxPairs) {
    if (id == p.zero || id == p.one) b.words[p.word] = id == p.one ? 1 : 0;
  }
  if (id == box::kByColour) b.words[2] = b.words[2] != 0 ? 0 : 1;
  if (id == box::kShowEveryTime) b.word40 = b.word40 != 0 ? 0 : 1;
  if (id == box::kRegister) return Close();
  Refresh();
}

void CBoxHoleStyleDlg::OnOk() { NextControl(); }
void CBoxHoleStyleDlg::OnCancel() { Close(); }

void CBoxHoleStyleDlg::Close() {
  const std::string text = GetText(box::kTolerance);
  if (text.find_first_not_of(' ') != std::string::npos) {
    const double v = ParseNumber(text.c_str());
    // A tolerance that is no number keeps the old one.
    if (std::isfinite(v)) g_boxHoleSettings.tolerance = std::fabs(v);
  }
  EndDialog(1);
}

// ---- ATC ranking -------------------------------------------------------------

namespace {

namespace rank = atc_rank_ctl;
constexpr int kRankConfirmed = 4095;

std::vector<ControlSpec> RankControls() {
  return {ControlSpec(ControlKind::ListBox, rank::kList, "", 0, 640, 300, platform::control_style::kFixedPitch),
          ControlSpec(ControlKind::PushButton, rank::kRegister, Sjis("登 録")),
          ControlSpec(ControlKind::PushButton, rank::kCancel, Sjis("ｷｬﾝｾﾙ"))};
}

bool IsWireKind(std::int32_t kind) { return KindGroup(kind) == kWireGroup; }

std::string Number(double v) {
  FormatNumber4(v);
  return g_textBuffer;
}

// One ordered item whose entry was found: its definition and step.
struct OrderedStep {
  const MachiningDefinition* definition;
  int step;
};

std::vector<OrderedStep> OrderedSteps(const DefinitionSlots& slots) {
  std::vector<OrderedStep> found;
  const int items = OrderItemCount();
  for (int k = 0; k < kMaxOrderIds && g_machiningOrderList[static_cast<std::size_t>(k)] != 0; ++k) {
    const std::int32_t id = g_machiningOrderList[static_cast<std::size_t>(k)];
    // A key without an entry is passed over.
    for (int i = 0; i < items; ++i) {
      const OrderItem& item = g_orderItems[static_cast<std::size_t>(i)];
      if (item.id != id) continue;
      if (item.slot < 0 || item.slot >= kMachiningSlotCount) break;
      found.push_back({&slots.Slot(item.slot), std::clamp(item.step, 0, kStepCount - 1)});
      break;
    }
  }
  return found;
}

std::string RankLine(int n, std::int32_t rankNumber, std::int32_t atc, const MachiningDefinition& d, int step) {
  const AtcRecord& t = d.stepTools[IsWireKind(d.kind) ? 0 : step];
  const std::string name = platform::FieldText(t.toolName), sec = platform::FieldText(t.secName);
  char line[256];
  if (d.kind == static_cast<std::int32_t>(MachiningKind::Hole)) {
    std::snprintf(line, sizeof line, "%03d  T%03d   DBS_ATC#%03d %s[%6s%s] %s %s", n, rankNumber, atc,
                  Sjis("工具").c_str(), Number(t.diameter).c_str(), Sjis("φ").c_str(), name.c_str(), sec.c_str());
  } else {
    std::snprintf(line, sizeof line, "%03d  T%03d   DBS_ATC#%03d %s[%6sR %6sF] %s %s", n, rankNumber, atc,
                  Sjis("工具").c_str(), Number(t.cornerRadius).c_str(), Number(t.flatRadius).c_str(), name.c_str(),
                  sec.c_str());
  }
  return line;
}

}  // namespace

CAtcRankConfirmDlg::CAtcRankConfirmDlg(const DefinitionSlots& slots)
    : platform::Dialog(kAtcRankDialogId, Sjis("  ＜加工指定＞ＡＴＣ番号の順位付け確認"), RankControls()),
      slots_(slots) {}

bool CAtcRankConfirmDlg::OnInit() {
  const std::vector<OrderedStep> steps = OrderedSteps(slots_);
  if (steps.empty()) {
    platform::ShowMessageBox(platform::MessageBoxFromStyle(Sjis("加工指定が出来ていません！"), "", 0));
    return true;
  }
  std::vector<std::int32_t> atc;
  atc.reserve(steps.size());
  for (const OrderedStep& s : steps) {
    atc.push_back(IsWireKind(s.definition->kind) ? 0 : s.definition->stepTools[s.step].atcNumber);
  }
  ranking_ = RankAtcNumbers(atc);
  for (int i = 0; i < ranking_.used; ++i) {
    const std::int32_t number = ranking_.atcNumber[static_cast<std::size_t>(i)];
    if (number == 0) continue;
    const OrderedStep& s = steps[static_cast<std::size_t>(i)];
    AddItem(rank::kList, RankLine(i + 1, ranking_.rank[static_cast<std::size_t>(i)], number, *s.definition, s.step));
  }
  return true;
}

void CAtcRankConfirmDlg::OnClick(int id) {
  if (id == rank::kRegister) return OnOk();
  if (id == rank::kCancel) return OnCancel();
}

void CAtcRankConfirmDlg::OnOk() {
  resultWord_ = kRankConfirmed;
  // The CAM data replaces each ATC number by its rank.
  AtcRenumbering& r = g_atcRenumbering;
  r = AtcRenumbering{};
  r.inForce = ranking_.used > 0;
  for (int i = 0, p = 0; i < ranking_.used; ++i) {
    if (ranking_.atcNumber[static_cast<std::size_t>(i)] == 0) continue;
    r.oldNumber[static_cast<std::size_t>(p)] = ranking_.atcNumber[static_cast<std::size_t>(i)];
    r.newNumber[static_cast<std::size_t>(p)] = ranking_.rank[static_cast<std::size_t>(i)];
    ++p;
  }
  EndDialog(1);
}

void CAtcRankConfirmDlg::OnCancel() {
  resultWord_ = 0;
  EndDialog(2);
}

int RunAtcRankConfirmDialog(const DefinitionSlots& slots) {
  CAtcRankConfirmDlg dialog(slots);
  return RunModalDialog(dialog);
}

}  // namespace dorn
