// The work settings dialog: see work_settings_dialog.h.
#include "kelto_dorn/dialogs/work_settings_dialog.h"

#include <climits>
#include <cmath>
#include <string>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/number_text.h"
#include "kelto_dorn/app/view_state.h"
#include "kelto_dorn/document/startup.h"
#include "platform/text.h"

namespace dorn {

namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;

constexpr int kNameEdit = 1008;
constexpr int kWidthEdit = 1066;
constexpr int kDepthEdit = 1067;
constexpr int kThicknessEdit = 1068;
constexpr int kOffsetXEdit = 1092;
constexpr int kOffsetYEdit = 1093;
constexpr int kProgramNumberEdit = 1094;
constexpr int kFirstCornerButton = 1024;  // 中央, 右上, 左上, 左下, 右下: codes 0-4
constexpr int kCornerCount = 5;
constexpr int kRectangleShape = 1497;
constexpr int kTopIsZeroButton = 1148;
constexpr int kBottomIsZeroButton = 1149;
constexpr int kRegisterButton = 1020;
// Frames of the three radio sets (no captions of their own).
constexpr int kCornerGroup = 9301;
constexpr int kShapeGroup = 9302;
constexpr int kZGroup = 9303;

constexpr std::size_t kFieldReadLimit = 80;  // bytes of a field's text read at a commit
constexpr int kDialogColourStyle = 4;

// The Z reference word: 0 the work top is Z 0, 9999 the bottom.
constexpr std::int32_t kZTop = 0;
constexpr std::int32_t kZBottom = handover::DrawingHeader::kGlobalZBottom;

struct Field {
  int code;
  int edit;
};
constexpr Field kFields[] = {
    {CWorkSettingsDlg::kFocusName, kNameEdit},
    {CWorkSettingsDlg::kFocusWidth, kWidthEdit},
    {CWorkSettingsDlg::kFocusDepth, kDepthEdit},
    {CWorkSettingsDlg::kFocusThickness, kThicknessEdit},
    {CWorkSettingsDlg::kFocusOffsetX, kOffsetXEdit},
    {CWorkSettingsDlg::kFocusOffsetY, kOffsetYEdit},
    {CWorkSettingsDlg::kFocusProgramNumber, kProgramNumberEdit},
};

int CodeOfEdit(int id) {
  for (const Field& f : kFields)
    if (f.edit == id) return f.code;
  return CWorkSettingsDlg::kFocusNone;
}

int EditOfCode(int code) {
  for (const Field& f : kFields)
    if (f.code == code) return f.edit;
  return 0;
}

// Whether the name filter refuses byte `at` of `text`, the name having begun
// at `start`. A file-name separator is kept only as the second byte of a
// double-byte character, judged from the bytes before it.
bool Refused(std::string_view text, std::size_t start, std::size_t at) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char c = byte(at);
  if (c == ' ') return at + 1 < text.size() && text[at + 1] == ' ';
  if (c != '.' && c != '/' && c != ':' && c != '*' && c != '\\') return false;
  const std::size_t position = at - start;  // 0 for the name's first character
  if (position == 0) return true;
  if (byte(at - 1) < 0x7F) return true;
  if (position == 1 || byte(at - 2) < 0x7F) return false;
  if (position == 2) return true;
  return byte(at - 3) < 0x7F;
}

std::string NumberText(double value) {
  FormatNumber4(value);
  return std::string(" ") + g_textBuffer;
}

int RoundedInt(double value) {
  if (!(value > INT_MIN && value < INT_MAX)) return 0;
  return static_cast<int>(std::lround(value));
}

// The offsets of the work centre from the machining origin for an origin
// position code, from the current width and depth.
void PlaceOriginAt(int code) {
  const double hw = g_workSizeX / 2.0, hd = g_workSizeY / 2.0;
  switch (code) {
    case 1:  // top right
      g_workOffsetX = -hw, g_workOffsetY = -hd;
      break;
    case 2:  // top left
      g_workOffsetX = hw, g_workOffsetY = -hd;
      break;
    case 3:  // bottom left
      g_workOffsetX = hw, g_workOffsetY = hd;
      break;
    case 4:  // bottom right
      g_workOffsetX = -hw, g_workOffsetY = hd;
      break;
    default:  // centre
      g_workOffsetX = 0.0, g_workOffsetY = 0.0;
      break;
  }
}

std::vector<ControlSpec> DialogControls() {
  std::vector<ControlSpec> c = {
      {ControlKind::StaticText, -1, Sjis("ファイル名")}, {ControlKind::Edit, kNameEdit, "", 0, 240},
      {ControlKind::StaticText, -1, Sjis("横幅(X)")},    {ControlKind::Edit, kWidthEdit, "", 0, 120},
      {ControlKind::StaticText, -1, Sjis("縦幅(Y)")},    {ControlKind::Edit, kDepthEdit, "", 0, 120},
      {ControlKind::StaticText, -1, Sjis("厚み(Z)")},    {ControlKind::Edit, kThicknessEdit, "", 0, 120},
      {ControlKind::StaticText, -1, "G->[X]"},           {ControlKind::Edit, kOffsetXEdit, "", 0, 120},
      {ControlKind::StaticText, -1, "G->[Y]"},           {ControlKind::Edit, kOffsetYEdit, "", 0, 120},
      {ControlKind::StaticText, -1, Sjis("Ｏ番号")},     {ControlKind::Edit, kProgramNumberEdit, "", 0, 120},
      {ControlKind::GroupBox, kCornerGroup, ""},
  };
  const char* corners[kCornerCount] = {"中央", "右上", "左上", "左下", "右下"};
  for (int i = 0; i < kCornerCount; ++i)
    c.emplace_back(ControlKind::RadioButton, kFirstCornerButton + i, Sjis(corners[i]), kCornerGroup);
  c.emplace_back(ControlKind::GroupBox, kShapeGroup, "");
  c.emplace_back(ControlKind::RadioButton, kRectangleShape, Sjis("四角形"), kShapeGroup);
  c.emplace_back(ControlKind::GroupBox, kZGroup, "");
  c.emplace_back(ControlKind::RadioButton, kTopIsZeroButton, Sjis("ワーク上面[０]"), kZGroup);
  c.emplace_back(ControlKind::RadioButton, kBottomIsZeroButton, Sjis("ワーク下面[０]"), kZGroup);
  c.emplace_back(ControlKind::PushButton, kRegisterButton, Sjis("登 録"));
  return c;
}

}  // namespace

std::string FilterDrawingName(std::string_view text) {
  const std::size_t end = platform::Cp932PrefixLength(text, kDrawingNameMaxChars);
  std::size_t start = 0;
  while (start < text.size() && text[start] == ' ') ++start;
  std::size_t at = start;
  while (at < end && text[at] != '\0' && !Refused(text, start, at)) ++at;
  return std::string(text.substr(start, at > start ? at - start : 0));
}

CWorkSettingsDlg::CWorkSettingsDlg()
    : platform::Dialog(kWorkSettingsDialogId, Sjis("  ワーク設定"), DialogControls()) {}

platform::DialogColors CWorkSettingsDlg::Colors() {
  SetDialogColors(kDialogColourStyle);
  return platform::CurrentDialogColors();
}

bool CWorkSettingsDlg::OnInit() {
  focusField_ = kFocusNone;
  FocusedEditIndex = 0;
  Refresh();
  return true;
}

void CWorkSettingsDlg::Refresh() {
  SetText(kNameEdit, platform::FieldText(g_drawingHeader.drawingName));
  SetText(kWidthEdit, NumberText(g_workSizeX));
  SetText(kDepthEdit, NumberText(g_workSizeY));
  SetText(kThicknessEdit, NumberText(g_drawingHeader.workSizeZ));
  SetText(kOffsetXEdit, NumberText(g_workOffsetX));
  SetText(kOffsetYEdit, NumberText(g_workOffsetY));
  SetText(kProgramNumberEdit, " " + std::to_string(g_drawingHeader.programNumber));
  for (int i = 0; i < kCornerCount; ++i) SetCheck(kFirstCornerButton + i, i == g_workOriginPosition ? 1 : 0);
  SetCheck(kRectangleShape, 1);
  if (g_globalZMode != kZBottom) g_globalZMode = kZTop;
  SetCheck(kTopIsZeroButton, g_globalZMode == kZTop ? 1 : 0);
  SetCheck(kBottomIsZeroButton, g_globalZMode == kZBottom ? 1 : 0);
}

void CWorkSettingsDlg::CommitField() {
  if (focusField_ == kFocusNone) return;
  const std::string whole = GetText(EditOfCode(focusField_));
  const std::string text = whole.substr(0, platform::Cp932PrefixLength(whole, kFieldReadLimit));
  if (!text.empty()) {
    const double value = focusField_ == kFocusName ? 0.0 : ParseNumber(text.c_str());
    switch (focusField_) {
      case kFocusName: {
        // A name the filter empties would leave the drawing unsavable: the
        // old name stays and the beep says the text was refused.
        const std::string name = FilterDrawingName(text);
        if (name.empty()) {
          SignalBeep();
        } else {
          platform::SetFieldText(g_drawingHeader.drawingName, name);
        }
        break;
      }
      case kFocusWidth:
        g_workSizeX = value;
        PlaceOriginAt(g_workOriginPosition);
        break;
      case kFocusDepth:
        g_workSizeY = value;
        PlaceOriginAt(g_workOriginPosition);
        break;
      case kFocusThickness:
        g_drawingHeader.workSizeZ = value;
        break;
      case kFocusOffsetX:
        g_workOffsetX = value;
        break;
      case kFocusOffsetY:
        g_workOffsetY = value;
        break;
      case kFocusProgramNumber:
        g_drawingHeader.programNumber = RoundedInt(value);
        break;
      default:
        break;
    }
  }
  focusField_ = kFocusNone;
  Refresh();
}

void CWorkSettingsDlg::SetOriginPosition(int code) {
  g_workOriginPosition = code;
  PlaceOriginAt(code);
  Refresh();
}

void CWorkSettingsDlg::OnFocusGained(int id) {
  CommitField();
  focusField_ = CodeOfEdit(id);
}

void CWorkSettingsDlg::OnClick(int id) {
  CommitField();
  if (id >= kFirstCornerButton && id < kFirstCornerButton + kCornerCount) {
    SetOriginPosition(id - kFirstCornerButton);
  } else if (id == kTopIsZeroButton || id == kBottomIsZeroButton) {
    g_globalZMode = id == kBottomIsZeroButton ? kZBottom : kZTop;
    Refresh();
  } else if (id == kRectangleShape) {
    Refresh();
  } else if (id == kRegisterButton) {
    EndDialog(platform::kIdOk);
  }
}

// Enter moves on to the next field, committing the one left.
void CWorkSettingsDlg::OnOk() { NextControl(); }

}  // namespace dorn
