// The curve registration dialog: see curve_register_dialog.h.
#include "kelto_dorn/drawing/curve_register_dialog.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/machining/machining_state.h"
#include "platform/text.h"

namespace dorn {
namespace {

using platform::ControlKind;
using platform::ControlSpec;

constexpr int kGroupBox = 1;
// The join registration is the one command that may ask for more figures.
constexpr int kCommandJoinRegistration = 32907;
// Curve kinds that name the proposal.
constexpr int kCurvePlain = 0;
constexpr int kCurveHolePoints = 1;
constexpr int kCurvePocketCircle = 5;
constexpr int kCurvePocketContour = 7;
constexpr int kCurveCharacters = 1332;
constexpr int kFlagIpPoint = 0x80;
// A field is read back with at most this many characters.
constexpr std::size_t kFieldChars = 32;
constexpr int kSwatchSize = 16;

std::vector<ControlSpec> RegisterDialogControls() {
  using platform::Sjis;
  return {
      ControlSpec(ControlKind::GroupBox, kGroupBox, Sjis("曲線の登録")),
      ControlSpec(ControlKind::StaticText, -1, Sjis("曲線名"), kGroupBox),
      ControlSpec(ControlKind::Edit, kCurveNameEdit, "", kGroupBox, 0, 0, 0, 63),
      ControlSpec(ControlKind::StaticText, -1, "TOP[Z]", kGroupBox),
      ControlSpec(ControlKind::Edit, kCurveTopZEdit, "", kGroupBox),
      ControlSpec(ControlKind::StaticText, -1, "END[Z]", kGroupBox),
      ControlSpec(ControlKind::Edit, kCurveEndZEdit, "", kGroupBox),
      ControlSpec(ControlKind::StaticText, -1, Sjis("IP点[X]"), kGroupBox),
      ControlSpec(ControlKind::Edit, kCurveIpXEdit, "", kGroupBox),
      ControlSpec(ControlKind::StaticText, -1, Sjis("IP点[Y]"), kGroupBox),
      ControlSpec(ControlKind::Edit, kCurveIpYEdit, "", kGroupBox),
      ControlSpec(ControlKind::BitmapButton, kCurveColourButton, "", kGroupBox, kSwatchSize + 8, kSwatchSize + 8),
      ControlSpec(ControlKind::PushButton, kCurveRegisterButton, Sjis("登録")),
      ControlSpec(ControlKind::PushButton, kCurveContinueButton, Sjis("継続")),
      ControlSpec(ControlKind::PushButton, platform::kIdCancel, Sjis("取消")),
  };
}

bool IsIpField(int id) { return id == kCurveIpXEdit || id == kCurveIpYEdit; }

std::string Formatted(double value) {
  FormatNumber4(value);
  return std::string(g_textBuffer, strnlen(g_textBuffer, sizeof g_textBuffer));
}

}  // namespace

CCurveRegisterDlg::CCurveRegisterDlg()
    : platform::Dialog(kCurveRegisterDialogId, platform::Sjis("曲線の登録"), RegisterDialogControls()) {}

bool CCurveRegisterDlg::IpPointApplies() const {
  const CurveRecord& c = g_curCurveRecord;
  return c.kind > 4 || (c.flags & kFlagIpPoint) != 0;
}

bool CCurveRegisterDlg::OnInit() {
  Enable(kCurveContinueButton, g_curCommand == kCommandJoinRegistration);
  focusedField_ = 0;
  if (g_curCurveRecord.name[0] == '\0') ProposeName();
  ShowSwatch();
  Fill();
  return true;
}

void CCurveRegisterDlg::OnShow() { SetTitle(platform::Sjis("   曲線の詳細")); }

void CCurveRegisterDlg::ProposeName() {
  CurveRecord& c = g_curCurveRecord;
  const char* pattern = nullptr;
  switch (c.kind) {
    case kCurvePlain:
      pattern = "N_%04d";
      break;
    case kCurveHolePoints:
      pattern = "ANA_%04d";
      c.topZ = g_machiningDefaults.holeTopZ;
      break;
    case kCurvePocketCircle:
    case kCurvePocketContour:
      pattern = "POCKET_%04d";
      break;
    case kCurveCharacters:
      pattern = platform::Sjis("文字_%04d").c_str();
      break;
    default:
      return;
  }
  std::snprintf(c.name, sizeof c.name, pattern, c.key);
}

void CCurveRegisterDlg::Fill() {
  const CurveRecord& c = g_curCurveRecord;
  SetText(kCurveNameEdit, platform::FieldText(c.name));
  SetText(kCurveTopZEdit, Formatted(c.topZ));
  SetText(kCurveEndZEdit, Formatted(c.endZ));
  const bool ip = IpPointApplies();
  SetText(kCurveIpXEdit, ip ? Formatted(c.ipX) : " -----");
  SetText(kCurveIpYEdit, ip ? Formatted(c.ipY) : " -----");
}

void CCurveRegisterDlg::ShowSwatch() {
  const int colour = g_curCurveRecord.colour;
  const platform::Color c = colour >= 0 && colour < kPaletteSize ? PaletteColors[static_cast<std::size_t>(colour)] : 0;
  SetImage(kCurveColourButton, platform::Bitmap(kSwatchSize, kSwatchSize, c));
}

void CCurveRegisterDlg::CommitField() {
  if (focusedField_ == 0) return;
  std::string text = GetText(focusedField_);
  if (text.size() > kFieldChars) text.resize(kFieldChars);
  if (!text.empty()) {
    CurveRecord& c = g_curCurveRecord;
    if (focusedField_ == kCurveNameEdit) {
      const std::size_t blanks = text.find_first_not_of(' ');
      const std::string name = blanks == std::string::npos ? std::string() : text.substr(blanks);
      platform::SetFieldText(c.name, name);
    } else if (!IsIpField(focusedField_) || IpPointApplies()) {
      const double value = ParseNumber(text.c_str());
      if (focusedField_ == kCurveTopZEdit) c.topZ = value;
      if (focusedField_ == kCurveEndZEdit) c.endZ = value;
      if (focusedField_ == kCurveIpXEdit) c.ipX = value;
      if (focusedField_ == kCurveIpYEdit) c.ipY = value;
    }
  }
  Fill();
}

void CCurveRegisterDlg::OnFocusGained(int id) {
  const bool field = id == kCurveNameEdit || id == kCurveTopZEdit || id == kCurveEndZEdit || IsIpField(id);
  if (!field) return;
  CommitField();
  if (IsIpField(id) && !IpPointApplies()) {
    focusedField_ = 0;
    NextControl();
    return;
  }
  focusedField_ = id;
}

void CCurveRegisterDlg::OnClick(int id) {
  switch (id) {
    case kCurveRegisterButton:
      CommitField();
      EndDialog(kCurveRegistered);
      break;
    case kCurveContinueButton:
      EndDialog(kCurveContinuePicking);
      break;
    case platform::kIdCancel:
      EndDialog(platform::kIdCancel);
      break;
    default:
      break;
  }
}

void CCurveRegisterDlg::OnOk() {
  CommitField();
  NextControl();
}

}  // namespace dorn
