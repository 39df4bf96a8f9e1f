// The cutting-speed and feed calculator: see tool_setup_dialog.h.
#include "kelto_dorn/tooldb/dialogs/tool_setup_dialog.h"

#include <cstdio>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/tool_folders.h"
#include "kelto_dorn/tooldb/tool_record_edit.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {
namespace {

using platform::ControlKind;
namespace id = tool_setup;
constexpr unsigned kToggle = platform::control_style::kCheckLook;
constexpr unsigned kReadOnly = platform::control_style::kReadOnly;

// The test field takes diameters from 0.2 mm up to (not including) 200 mm.
constexpr double kTestSmallest = 0.2;
constexpr double kTestLargest = 200.0;
// The SEC name given to new records keeps at most 12 bytes.
constexpr std::size_t kSecNameWidth = 12;

std::string Number4(double v) {
  FormatNumber4(v);
  return " " + std::string(g_textBuffer);
}

std::vector<platform::ControlSpec> ControlTable() {
  using platform::Sjis;
  return {
      {ControlKind::GroupBox, 3290, Sjis("材料タイプ")},
      {ControlKind::ListBox, id::kMaterials, "", 3290, 220, 160},
      {ControlKind::GroupBox, 3291, Sjis("工具タイプ")},
      {ControlKind::ListBox, id::kToolKinds, "", 3291, 240, 160},
      {ControlKind::StaticText, -1, Sjis("ＳＥＣ名")},
      {ControlKind::Edit, id::kSecName, "", 0, 120, 0, 0, 24},
      {ControlKind::StaticText, -1, Sjis("工具φ")},
      {ControlKind::Edit, id::kFrom, "", 0, 80},
      {ControlKind::StaticText, -1, "-"},
      {ControlKind::Edit, id::kTo, "", 0, 80},
      {ControlKind::StaticText, -1, Sjis("φピッチ")},
      {ControlKind::Edit, id::kPitch, "", 0, 80},
      {ControlKind::StaticText, -1, Sjis("Ｇコード")},
      {ControlKind::Edit, id::kGCode, "", 0, 80},
      {ControlKind::StaticText, -1, Sjis("刃長")},
      {ControlKind::Edit, id::kFluteLength, "", 0, 80},
      {ControlKind::StaticText, -1, Sjis("先端角 or ｺｰﾅｰＲ")},
      {ControlKind::Edit, id::kTipOrCorner, "", 0, 80},
      {ControlKind::StaticText, -1, Sjis("切削速度Ｖ(m/min)")},
      {ControlKind::Edit, id::kCuttingSpeed, "", 0, 80},
      {ControlKind::StaticText, -1, Sjis("Ｚ軸方向切込Ad(φ率)")},
      {ControlKind::Edit, id::kAxial, "", 0, 80},
      {ControlKind::StaticText, -1, Sjis("ＸＹ方向切込Rd(φ率)")},
      {ControlKind::Edit, id::kRadial, "", 0, 80},
      {ControlKind::PushButton, id::kBall, Sjis("ボール"), 0, 0, 0, kToggle},
      {ControlKind::PushButton, id::kFlat, Sjis("フラット"), 0, 0, 0, kToggle},
      {ControlKind::PushButton, id::kBullNose, Sjis("ブルノ-ズ"), 0, 0, 0, kToggle},
      {ControlKind::PushButton, id::kNewSeries, Sjis("新規"), 0, 0, 0, kToggle},
      {ControlKind::PushButton, id::kEdit, Sjis("編集"), 0, 0, 0, kToggle},
      {ControlKind::GroupBox, 3292, Sjis("テスト")},
      {ControlKind::StaticText, -1, Sjis("φ="), 3292},
      {ControlKind::Edit, id::kTestDiameter, "", 3292, 80},
      {ControlKind::StaticText, -1, Sjis("回転Ｓ"), 3292},
      {ControlKind::Edit, id::kTestSpeed, "", 3292, 80, 0, kReadOnly},
      {ControlKind::StaticText, -1, Sjis("送りＦ"), 3292},
      {ControlKind::Edit, id::kTestFeed, "", 3292, 80, 0, kReadOnly},
      {ControlKind::PushButton, id::kSetup, Sjis("セットＵＰ")},
      {ControlKind::PushButton, id::kCancel, Sjis("ｷｬﾝｾﾙ")},
  };
}

bool IsNumberField(int control) { return control >= id::kFrom && control <= id::kRadial; }

double* NumberOf(VminTable& s, int control) {
  switch (control) {
    case id::kFrom: return &s.diameterFrom;
    case id::kTo: return &s.diameterTo;
    case id::kPitch: return &s.diameterPitch;
    case id::kFluteLength: return &s.fluteLength;
    case id::kTipOrCorner: return &s.tipAngleOrCorner;
    case id::kCuttingSpeed: return &s.cuttingSpeed;
    case id::kAxial: return &s.axialRatio;
    case id::kRadial: return &s.radialRatio;
    default: return nullptr;
  }
}

}  // namespace

CToolSetupDlg::CToolSetupDlg(DocToolTable& table, int recordCount)
    : platform::Dialog(kToolSetupDialogId, platform::Sjis("工具セットＵＰ／回転・送り速度"), ControlTable()),
      table_(table),
      recordCount_(recordCount) {}

bool CToolSetupDlg::OnInit() {
  const platform::FileResult read = ReadVminTable();
  if (!read.ok() && !read.missing()) {
    PutPathInTextBuffer(platform::ResolvePath(platform::DataRoot(), "$DB_Vmin.@@@"));
    ShowMessage(50);
  }
  settings_ = g_vminTable;
  autoSpeed_ = false;
  focused_ = 0;
  for (const MaterialEntry& m : Materials()) AddItem(id::kMaterials, platform::Sjis(m.nameUtf8));
  for (const ToolKindEntry& k : ToolKinds()) AddItem(id::kToolKinds, platform::Sjis(k.nameUtf8));
  SetCurSel(id::kMaterials, settings_.material);
  SetCurSel(id::kToolKinds, settings_.toolKind);
  ShowAll();
  return true;
}

void CToolSetupDlg::ShowButtons() {
  const bool tipSet = settings_.tipAngleOrCorner > 0.0;
  SetCheck(id::kBall, !tipSet && settings_.endShape == kEndShapeBall);
  SetCheck(id::kFlat, !tipSet && settings_.endShape == kEndShapeFlat);
  SetCheck(id::kBullNose, settings_.endShape == kEndShapeBullNose);
  SetCheck(id::kNewSeries, settings_.updateMode == kUpdateNewSeries);
  SetCheck(id::kEdit, settings_.updateMode == kUpdateEdit);
}

void CToolSetupDlg::ShowAll() {
  if (autoSpeed_) {
    const double vc = TableCuttingSpeed(settings_);
    if (vc >= 0.0) settings_.cuttingSpeed = vc;
  }
  SetText(id::kSecName, platform::FieldText(settings_.secName));
  for (int control = id::kFrom; control <= id::kRadial; ++control) {
    if (control == id::kGCode) {
      char text[24];
      std::snprintf(text, sizeof text, " %d", settings_.gCode);
      SetText(control, text);
    } else if (control == id::kTipOrCorner && !(settings_.tipAngleOrCorner > 0.0)) {
      SetText(control, " ----");
    } else {
      SetText(control, Number4(*NumberOf(settings_, control)));
    }
  }
  ShowButtons();
}

void CToolSetupDlg::Commit(bool moveOn) {
  if (focused_ == 0) return;
  const int field = focused_;
  focused_ = 0;
  const std::string text = GetText(field);
  if (field == id::kTestDiameter) {
    CommitTestDiameter();
  } else if (field == id::kSecName) {
    std::size_t start = text.find_first_not_of(' ');
    std::string name = start == std::string::npos ? std::string() : text.substr(start);
    name.resize(platform::Cp932PrefixLength(name, kSecNameWidth));
    platform::SetFieldText(settings_.secName, name);
  } else if (!text.empty() && field == id::kGCode) {
    settings_.gCode = static_cast<int>(ParseDatabaseNumber(text));
  } else if (!text.empty() && IsNumberField(field)) {
    *NumberOf(settings_, field) = ParseDatabaseNumber(text);
    if (field == id::kCuttingSpeed) autoSpeed_ = false;
  }
  if (field != id::kTestDiameter) ShowAll();
  if (moveOn) NextControl();
}

void CToolSetupDlg::CommitTestDiameter() {
  const std::string text = GetText(id::kTestDiameter);
  if (settings_.material < 0 || settings_.toolKind < 0) {
    NextControl();
    ShowMessage(101);
    return;
  }
  if (text.empty()) return;
  const double d = ParseDatabaseNumber(text);
  if (d < kTestSmallest || d >= kTestLargest) return;
  char number[24];
  SetText(id::kTestDiameter, Number4(d));
  std::snprintf(number, sizeof number, " %d", SpindleSpeedFor(settings_, d));
  SetText(id::kTestSpeed, number);
  std::snprintf(number, sizeof number, " %d", FeedFor(settings_, d));
  SetText(id::kTestFeed, number);
}

void CToolSetupDlg::OnFocusGained(int control) {
  if (control == focused_) return;
  Commit(false);
  if (control == id::kSecName || control == id::kTestDiameter || IsNumberField(control)) focused_ = control;
}

void CToolSetupDlg::OnOk() { Commit(true); }

void CToolSetupDlg::OnSelectionChanged(int control) {
  if (control != id::kMaterials && control != id::kToolKinds) return;
  const int line = GetCurSel(control);
  if (line < 0) return;
  (control == id::kMaterials ? settings_.material : settings_.toolKind) = line;
  autoSpeed_ = true;
  ShowAll();
  NextControl();
}

void CToolSetupDlg::OnClick(int control) {
  switch (control) {
    case id::kBall: settings_.endShape = kEndShapeBall; break;
    case id::kFlat: settings_.endShape = kEndShapeFlat; break;
    case id::kBullNose: settings_.endShape = kEndShapeBullNose; break;
    case id::kNewSeries: settings_.updateMode = kUpdateNewSeries; break;
    case id::kEdit: settings_.updateMode = kUpdateEdit; break;
    case id::kSetup: RunSetup(); return;
    case id::kCancel: EndDialog(platform::kIdCancel); return;
    default: return;
  }
  ShowButtons();
}

void CToolSetupDlg::RunSetup() {
  if (settings_.material < 0 || settings_.toolKind < 0) {
    NextControl();
    ShowMessage(101);
    return;
  }
  VminTable applied = settings_;
  const SetupResult result = ApplyToolSetup(table_, recordCount_, applied);
  if (result.message != 0) ShowMessage(result.message);
  if (!result.applied) return;
  settings_ = applied;
  g_vminTable = applied;
  recordCount_ = result.recordCount;
  g_curToolIndex = recordCount_;
  const platform::FileResult written = WriteVminTable();
  if (!written.ok()) platform::ShowMessageBox(platform::Utf8ToCp932(written.message), "", 0x10);
  EndDialog(platform::kIdOk);
}

}  // namespace dorn
