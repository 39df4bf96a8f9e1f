#include "kelto_dorn/machining/dialogs/tool_detail_dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "kelto_dorn/app/geometry.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/machining/dialogs/numeric_fields.h"
#include "kelto_dorn/machining/machining_state.h"
#include "kelto_dorn/tooldb/atc_record.h"
#include "platform/text.h"

namespace dorn {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;
namespace c = tool_detail_ctl;

namespace {

constexpr int kToolNameLimit = 52;
constexpr int kSecNameLimit = 12;
constexpr const char* kCoolants[] = {"", "油", "エア", "Ｓ油", "Ｓエア"};

std::string TrimLeading(const std::string& s) {
  const std::size_t p = s.find_first_not_of(' ');
  return p == std::string::npos ? std::string() : s.substr(p);
}

std::string CutToBytes(const std::string& s, std::size_t limit) {
  std::size_t i = 0;
  while (i < s.size()) {
    const std::size_t w = platform::IsCp932LeadByte(static_cast<unsigned char>(s[i])) ? 2 : 1;
    if (i + w > limit) break;
    i += w;
  }
  return s.substr(0, i);
}

void SetRadius(AtcRecord& t, float AtcRecord::*set, float AtcRecord::*other, double value) {
  const double d = t.diameter;
  t.*set = static_cast<float>(value);
  if (d - 2.0 * value >= 0.001) {
    t.*other = static_cast<float>((d - 2.0 * value) / 2.0);
  } else {
    t.*other = 0.0f;
    t.*set = static_cast<float>(d / 2.0);
  }
}

std::vector<ControlSpec> DetailControls() {
  std::vector<ControlSpec> v{ControlSpec(ControlKind::TabControl, c::kTabs, "", 0, 560, 300)};
  auto edit = [&v](const char* label, int id, int limit = 24) {
    v.push_back(ControlSpec(ControlKind::StaticText, -1, Sjis(label), c::kTabs));
    v.push_back(ControlSpec(ControlKind::Edit, id, "", c::kTabs, 120, 0, 0, limit));
  };
  edit("工具名", c::kToolName, 64);
  edit("SEC名", c::kSecName, 24);
  edit("工具[φ]", c::kDiameter);
  edit("Ｒ径", c::kCornerRadius);
  edit("Ｆ径", c::kFlatRadius);
  edit("先端角", c::kTipAngle);
  edit("先端長", c::kTipLength);
  edit("刃 長", c::kFluteLength);
  edit("回転[S]", c::kSpindle);
  edit("送り[F]", c::kFeed);
  edit("固定[G]", c::kCycle);
  edit("切込[Q]", c::kPeck);
  edit("P_CODE", c::kPCode);
  edit("M_CODE", c::kMCode);
  edit("H_CODE", c::kHCode);
  edit("K_CODE", c::kKCode);
  edit("outTｺｰﾄﾞ", c::kOutputT);
  edit("POST_M", c::kPostM);
  v.push_back(ControlSpec(ControlKind::StaticText, -1, Sjis("切削油"), c::kTabs));
  v.push_back(ControlSpec(ControlKind::ComboBox, c::kCoolant, "", c::kTabs, 100, 0, platform::control_style::kDropList));
  v.push_back(ControlSpec(ControlKind::CheckBox, c::kTapTwice, Sjis("G84_2回"), c::kTabs));
  return v;
}

}  // namespace

void CommitToolDetailField(AtcRecord& t, int field, const std::string& text) {
  const bool empty = text.find_first_not_of(' ') == std::string::npos;
  if (field == c::kPostM) {
    t.postMCode = empty ? 0 : static_cast<std::int16_t>(static_cast<std::int32_t>(ParseNumber(text.c_str())));
    return;
  }
  if (empty) return;
  if (field == c::kToolName) return platform::SetFieldText(t.toolName, CutToBytes(TrimLeading(text), kToolNameLimit));
  if (field == c::kSecName) return platform::SetFieldText(t.secName, CutToBytes(TrimLeading(text), kSecNameLimit));
  const double v = ParseNumber(text.c_str());
  const auto asInt = [v] { return static_cast<std::int32_t>(v); };
  switch (field) {
    case c::kDiameter:
      t.diameter = static_cast<float>(v);
      break;
    case c::kCornerRadius:
      SetRadius(t, &AtcRecord::cornerRadius, &AtcRecord::flatRadius, v);
      break;
    case c::kFlatRadius:
      SetRadius(t, &AtcRecord::flatRadius, &AtcRecord::cornerRadius, v);
      break;
    case c::kTipAngle:
      if (v < 1.0) {
        t.tipAngle = t.tipLength = 0.0f;
      } else {
        t.tipAngle = static_cast<float>(v);
        t.cornerRadius = t.flatRadius = 0.0f;
        const Vec2 u = UnitVectorFromAngle(v / 2.0);
        t.tipLength = static_cast<float>((t.diameter / 2.0) * u.x / u.y);
      }
      break;
    case c::kTipLength:
      if (v < 0.001) {
        t.tipLength = t.tipAngle = 0.0f;
      } else {
        t.tipLength = static_cast<float>(v);
        t.cornerRadius = t.flatRadius = 0.0f;
        t.tipAngle = static_cast<float>(Round3(2.0 * VectorAngle(v, t.diameter / 2.0) * 0.001) * 1000.0);
      }
      break;
    case c::kFluteLength:
      t.fluteLength = static_cast<float>(v);
      break;
    case c::kSpindle:
      t.spindleSpeed = asInt();
      break;
    case c::kFeed:
      t.feed = static_cast<float>(v);
      break;
    case c::kCycle:
      t.cannedCycle = asInt();
      break;
    case c::kPeck:
      t.peckDepth = static_cast<float>(v);
      break;
    case c::kPCode:
      t.pCode = static_cast<float>(v);
      break;
    case c::kMCode:
      t.mCode = asInt();
      break;
    case c::kHCode:
      t.hCode = static_cast<std::int16_t>(asInt());
      break;
    case c::kKCode:
      t.kCode = asInt();
      break;
    case c::kOutputT:
      t.outputTNumber = asInt();
      break;
    default:
      break;
  }
}

CToolDetailDlg::CToolDetailDlg() : platform::Dialog(kToolDetailDialogId, Sjis("  工具詳細"), DetailControls()) {}

AtcRecord& CToolDetailDlg::Tool() { return g_curMachiningDef.stepTools[std::clamp(tab_, 0, kStepCount - 1)]; }

bool CToolDetailDlg::OnInit() {
  for (int i = 0; i < kStepCount && g_curMachiningDef.stepTools[i].inUse != 0; ++i) {
    char label[32];
    std::snprintf(label, sizeof label, "工程[%d]", i + 1);
    AddItem(c::kTabs, Sjis(label));
  }
  for (const char* name : kCoolants) AddItem(c::kCoolant, Sjis(name));
  tab_ = 0;
  SetCurSel(c::kTabs, 0);
  ShowToolDetail();
  return true;
}

void CToolDetailDlg::Commit() {
  if (focused_ == 0) return;
  CommitToolDetailField(Tool(), focused_, GetText(focused_));
  focused_ = 0;
  ShowToolDetail();
}

void CToolDetailDlg::OnFocusGained(int id) {
  if (id == focused_) return;
  Commit();
  if (id >= c::kToolName && id <= c::kPostM) focused_ = id;
}

void CToolDetailDlg::OnSelectionChanged(int id) {
  if (id == c::kTabs) {
    Commit();
    tab_ = std::max(0, GetCurSel(c::kTabs));
    ShowToolDetail();
  } else if (id == c::kCoolant) {
    Tool().coolant = static_cast<std::int16_t>(std::max(0, GetCurSel(c::kCoolant)));
  }
}

void CToolDetailDlg::OnClick(int id) {
  if (id != c::kTapTwice) return;
  Tool().tapTwice = Tool().tapTwice == 1 ? 0 : 1;
  ShowToolDetail();
}

// Enter ends the dialog; the field being typed in is committed first, so
// nothing typed is lost.
void CToolDetailDlg::OnOk() {
  Commit();
  EndDialog(platform::kIdOk);
}

void CToolDetailDlg::ShowToolDetail() {
  AtcRecord& t = Tool();
  SetText(c::kToolName, platform::FieldText(t.toolName));
  SetText(c::kSecName, platform::FieldText(t.secName));
  SetText(c::kDiameter, NumberText(t.diameter));
  if (t.tipAngle != 0.0f) {
    t.cornerRadius = t.flatRadius = 0.0f;
    SetText(c::kCornerRadius, " -----");
    SetText(c::kFlatRadius, " -----");
    SetText(c::kTipAngle, NumberText(t.tipAngle));
    SetText(c::kTipLength, NumberText(t.tipLength));
  } else {
    t.tipAngle = t.tipLength = 0.0f;
    SetText(c::kCornerRadius, NumberText(t.cornerRadius));
    SetText(c::kFlatRadius, NumberText(t.flatRadius));
    SetText(c::kTipAngle, " -----");
    SetText(c::kTipLength, " -----");
  }
  SetText(c::kFluteLength, NumberText(t.fluteLength));
  SetText(c::kSpindle, IntText(t.spindleSpeed));
  SetText(c::kFeed, NumberText(t.feed));
  SetText(c::kCycle, IntText(t.cannedCycle));
  SetText(c::kPeck, NumberText(t.peckDepth));
  SetText(c::kPCode, NumberText(t.pCode));
  SetText(c::kMCode, IntText(t.mCode));
  SetText(c::kHCode, IntText(t.hCode));
  SetText(c::kKCode, IntText(t.kCode));
  SetText(c::kOutputT, IntText(t.outputTNumber));
  SetText(c::kPostM, t.postMCode < 1 ? std::string() : IntText(t.postMCode));
  SetCurSel(c::kCoolant, t.coolant >= 0 && t.coolant <= 4 ? t.coolant : 0);
  SetCheck(c::kTapTwice, t.tapTwice == 1 ? 1 : 0);
}

}  // namespace dorn
