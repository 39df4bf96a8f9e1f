// The rectangle and polygon contour dialogs: see contour_dialogs.h.
#include "kelto_dorn/drawing/contour_dialogs.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/number_text.h"
#include "platform/text.h"

namespace dorn {

ContourDialogValues g_contourValues;
int g_contourFigureCount = 0;

void ResetContourDialogValues() {
  g_contourValues = ContourDialogValues{};
  g_contourFigureCount = 0;
}

namespace {

using platform::ControlKind;
using platform::ControlSpec;
using platform::Sjis;

constexpr int kCornerGroup = 1700;
constexpr int kPositionGroup = 1701;
constexpr int kStyleGroup = 1702;
constexpr std::size_t kFieldChars = 24;
constexpr int kPositionRadios[] = {1528, 1529, 1527, 1530, 1531};

std::string Formatted(double value) {
  FormatNumber4(value);
  return " " + std::string(g_textBuffer, strnlen(g_textBuffer, sizeof g_textBuffer));
}

// The field's text parsed: false (nothing changes) when it is empty or not a
// finite number; a non-finite value beeps.
bool ReadField(const platform::Dialog& d, int id, double& value) {
  std::string text = d.GetText(id);
  if (text.size() > kFieldChars) text.resize(kFieldChars);
  if (text.find_first_not_of(' ') == std::string::npos) return false;
  const double v = ParseNumber(text.c_str());
  if (!std::isfinite(v)) {
    SignalBeep();
    return false;
  }
  value = v;
  return true;
}

// A row of the value fields: its label (id -1 unless the dialog rewrites
// it) and its edit control.
struct ValueRow {
  const char* labelUtf8;
  int editId;
  int labelId = -1;
};

void AddValueRows(std::vector<ControlSpec>& controls, std::initializer_list<ValueRow> rows) {
  for (const ValueRow& row : rows) {
    controls.emplace_back(ControlKind::StaticText, row.labelId, Sjis(row.labelUtf8));
    controls.emplace_back(ControlKind::Edit, row.editId);
  }
}

// The buttons under both dialogs; the two spell 登録 with a different gap.
void AddButtons(std::vector<ControlSpec>& controls, const char* registerUtf8) {
  controls.emplace_back(ControlKind::PushButton, kContourRegisterButton, Sjis(registerUtf8));
  controls.emplace_back(ControlKind::PushButton, kContourMouseButton, Sjis("マウス"));
  controls.emplace_back(ControlKind::PushButton, kContourIntersectionButton, Sjis("交点"));
  controls.emplace_back(ControlKind::PushButton, platform::kIdCancel, Sjis("キャンセル"));
}

std::vector<ControlSpec> RectControls() {
  std::vector<ControlSpec> controls;
  AddValueRows(controls, {
                             {"横幅(X)", kContourSizeEdit},
                             {"縦幅(Y)", kContourEdit1029},
                             {"移動[X]", kContourEdit1030},
                             {"移動[Y]", kContourEdit1031},
                             {"回転角度", kContourAngleEdit},
                             {"半径(R)", kContourCornerEdit, kContourCornerLabel},
                             {"逃がし量(X)", kContourReliefXEdit},
                             {"逃がし量(Y)", kContourReliefYEdit},
                         });
  controls.insert(controls.end(), {
      ControlSpec(ControlKind::GroupBox, kCornerGroup, Sjis("コーナー")),
      ControlSpec(ControlKind::RadioButton, kCornerTangentRadio, Sjis("接する"), kCornerGroup),
      ControlSpec(ControlKind::RadioButton, kCornerReliefRadio, Sjis("逃がし"), kCornerGroup),
      ControlSpec(ControlKind::RadioButton, kCornerChamferRadio, Sjis("面取り"), kCornerGroup),
      ControlSpec(ControlKind::GroupBox, kPositionGroup, Sjis("セット位置")),
      ControlSpec(ControlKind::RadioButton, 1528, Sjis("中央"), kPositionGroup),
      ControlSpec(ControlKind::RadioButton, 1529, Sjis("右上"), kPositionGroup),
      ControlSpec(ControlKind::RadioButton, 1527, Sjis("左上"), kPositionGroup),
      ControlSpec(ControlKind::RadioButton, 1530, Sjis("左下"), kPositionGroup),
      ControlSpec(ControlKind::RadioButton, 1531, Sjis("右下"), kPositionGroup),
  });
  AddButtons(controls, "登 録");
  return controls;
}

std::vector<ControlSpec> PolygonControls() {
  std::vector<ControlSpec> controls;
  AddValueRows(controls, {
                             {"サイズ(φ)", kContourSizeEdit},
                             {"中心(X)", kContourEdit1029},
                             {"中心(Y)", kContourEdit1030},
                             {"角数", kContourEdit1031},
                             {"基点角", kContourAngleEdit},
                             {"接円", kContourCornerEdit},
                         });
  controls.insert(controls.end(), {
      ControlSpec(ControlKind::GroupBox, kStyleGroup, Sjis("サイズ")),
      ControlSpec(ControlKind::RadioButton, kPolygonInscribedRadio, Sjis("内径"), kStyleGroup),
      ControlSpec(ControlKind::RadioButton, kPolygonCircumscribedRadio, Sjis("外径"), kStyleGroup),
  });
  AddButtons(controls, "登  録");
  return controls;
}

bool IsRectEdit(int id) {
  return id == kContourSizeEdit || id == kContourEdit1029 || id == kContourEdit1030 || id == kContourEdit1031 ||
         id == kContourAngleEdit || id == kContourCornerEdit || id == kContourReliefXEdit ||
         id == kContourReliefYEdit;
}

bool IsPolygonEdit(int id) { return IsRectEdit(id) && id != kContourReliefXEdit && id != kContourReliefYEdit; }

}  // namespace

int RectPositionRadio(int position) { return kPositionRadios[position >= 0 && position <= 4 ? position : 0]; }

// --- Both dialogs -----------------------------------------------------------------

bool CContourDialogBase::OnInit() {
  activeField_ = 0;
  Fill();
  return true;
}

void CContourDialogBase::CommitField() {
  if (committing_ || activeField_ == 0) return;
  committing_ = true;
  double value = 0.0;
  if (ChangedByUser(activeField_) && ReadField(*this, activeField_, value)) StoreField(activeField_, value);
  Fill();
  committing_ = false;
}

void CContourDialogBase::Show(int id, const std::string& text) {
  SetText(id, text);
  shown_[id] = text;
}

bool CContourDialogBase::ChangedByUser(int id) const {
  const auto it = shown_.find(id);
  return it == shown_.end() || it->second != GetText(id);
}

void CContourDialogBase::OnOk() {
  CommitField();
  NextControl();
}

// --- Rectangle ------------------------------------------------------------------

CRectContourDlg::CRectContourDlg() : CContourDialogBase(kRectContourDialogId, Sjis("  四角輪郭"), RectControls()) {}

void CRectContourDlg::Fill() {
  const ContourDialogValues& v = g_contourValues;
  Show(kContourSizeEdit, Formatted(v.size));
  Show(kContourEdit1029, Formatted(v.height));
  Show(kContourEdit1030, Formatted(v.moveX));
  Show(kContourEdit1031, Formatted(v.moveY));
  Show(kContourAngleEdit, Formatted(v.angle));
  Show(kContourCornerEdit, Formatted(v.corner));
  const bool relief = v.cornerMode == kCornerRelief;
  Show(kContourReliefXEdit, relief ? Formatted(v.reliefX) : std::string(" ----"));
  Show(kContourReliefYEdit, relief ? Formatted(v.reliefY) : std::string(" ----"));
  SetText(kContourCornerLabel, Sjis(v.cornerMode == kCornerChamfer ? "面取り Ｃ" : "半径(R)"));
  SetCheck(kCornerTangentRadio, v.cornerMode == kCornerTangent);
  SetCheck(kCornerReliefRadio, relief);
  SetCheck(kCornerChamferRadio, v.cornerMode == kCornerChamfer);
  for (int p = 0; p < 5; ++p) SetCheck(RectPositionRadio(p), v.position == p);
}

void CRectContourDlg::StoreField(int id, double value) {
  ContourDialogValues& v = g_contourValues;
  switch (id) {
    case kContourSizeEdit: v.size = std::fabs(value); break;
    case kContourEdit1029: v.height = std::fabs(value); break;
    case kContourEdit1030: v.moveX = value; break;
    case kContourEdit1031: v.moveY = value; break;
    case kContourAngleEdit: v.angle = value; break;
    case kContourCornerEdit: v.corner = std::fabs(value); break;
    case kContourReliefXEdit: if (v.cornerMode == kCornerRelief) v.reliefX = value; break;
    case kContourReliefYEdit: if (v.cornerMode == kCornerRelief) v.reliefY = value; break;
    default: break;
  }
}

void CRectContourDlg::OnFocusGained(int id) {
  if (!IsRectEdit(id)) return;
  CommitField();
  const bool reliefField = id == kContourReliefXEdit || id == kContourReliefYEdit;
  if (reliefField && g_contourValues.cornerMode != kCornerRelief) {
    activeField_ = 0;
    NextControl();
    return;
  }
  activeField_ = id;
}

void CRectContourDlg::Build() {
  const ContourDialogValues& v = g_contourValues;
  if (v.size < 0.001 || v.height < 0.001) return;
  RectContourValues r;
  r.width = v.size;
  r.height = v.height;
  r.moveX = v.moveX;
  r.moveY = v.moveY;
  r.angle = v.angle;
  r.corner = v.corner;
  r.reliefX = v.cornerMode == kCornerRelief ? v.reliefX : 0.0;
  r.reliefY = v.cornerMode == kCornerRelief ? v.reliefY : 0.0;
  r.cornerMode = v.cornerMode;
  r.position = v.position;
  g_contourFigureCount = PutContourInBlocks(BuildRectangleContour(r));
  if (g_contourFigureCount > 0) EndDialog(platform::kIdOk);
}

void CRectContourDlg::OnClick(int id) {
  CommitField();
  ContourDialogValues& v = g_contourValues;
  switch (id) {
    case kContourRegisterButton:
      Build();
      return;
    case kContourMouseButton:
      EndDialog(kContourPickByMouse);
      return;
    case kContourIntersectionButton:
      EndDialog(kRectPickIntersection);
      return;
    case kCornerTangentRadio:
    case kCornerChamferRadio:
      v.cornerMode = id == kCornerTangentRadio ? kCornerTangent : kCornerChamfer;
      v.reliefX = v.reliefY = 0.0;
      Fill();
      return;
    case kCornerReliefRadio:
      v.cornerMode = kCornerRelief;
      v.reliefX = v.reliefY = CornerRelief(v.corner);
      Fill();
      activeField_ = kContourReliefXEdit;
      SetFocus(kContourReliefXEdit);
      return;
    default:
      for (int p = 0; p < 5; ++p) {
        if (id == RectPositionRadio(p)) {
          v.position = p;
          Fill();
        }
      }
      return;
  }
}


// --- Polygon ----------------------------------------------------------------------

CPolygonContourDlg::CPolygonContourDlg()
    : CContourDialogBase(kPolygonContourDialogId, Sjis("  多角形輪郭"), PolygonControls()) {}

void CPolygonContourDlg::Fill() {
  const ContourDialogValues& v = g_contourValues;
  Show(kContourSizeEdit, Formatted(v.size));
  Show(kContourEdit1029, Formatted(v.moveX));
  Show(kContourEdit1030, Formatted(v.moveY));
  Show(kContourEdit1031, " " + std::to_string(v.corners));
  Show(kContourAngleEdit, Formatted(v.angle));
  Show(kContourCornerEdit, Formatted(v.corner));
  SetCheck(kPolygonInscribedRadio, v.sizeStyle == kPolygonInscribed);
  SetCheck(kPolygonCircumscribedRadio, v.sizeStyle == kPolygonCircumscribed);
}

void CPolygonContourDlg::StoreField(int id, double value) {
  ContourDialogValues& v = g_contourValues;
  switch (id) {
    case kContourSizeEdit: v.size = std::fabs(value); break;
    case kContourEdit1029: v.moveX = value; break;
    case kContourEdit1030: v.moveY = value; break;
    case kContourEdit1031: {
      const double whole = std::trunc(value);
      v.corners = whole >= 3 && whole <= 99 ? static_cast<int>(whole) : 0;
      break;
    }
    case kContourAngleEdit: v.angle = value; break;
    case kContourCornerEdit: v.corner = std::fabs(value); break;
    default: break;
  }
}

void CPolygonContourDlg::OnFocusGained(int id) {
  if (!IsPolygonEdit(id)) return;
  CommitField();
  activeField_ = id;
}

void CPolygonContourDlg::Build() {
  const ContourDialogValues& v = g_contourValues;
  PolygonContourValues p;
  p.size = v.size;
  p.centreX = v.moveX;
  p.centreY = v.moveY;
  p.baseAngle = v.angle;
  p.fillet = v.corner;
  p.corners = v.corners;
  p.sizeStyle = v.sizeStyle;
  g_contourFigureCount = PutContourInBlocks(BuildPolygonContour(p));
  if (g_contourFigureCount > 0) EndDialog(platform::kIdOk);
}

void CPolygonContourDlg::OnClick(int id) {
  CommitField();
  switch (id) {
    case kContourRegisterButton:
      Build();
      return;
    case kContourMouseButton:
      ClearCurrentFigure();
      EndDialog(kContourPickByMouse);
      return;
    case kContourIntersectionButton:
      EndDialog(kPolygonPickIntersection);
      return;
    case kPolygonInscribedRadio:
    case kPolygonCircumscribedRadio:
      g_contourValues.sizeStyle = id == kPolygonInscribedRadio ? kPolygonInscribed : kPolygonCircumscribed;
      Fill();
      return;
    default:
      return;
  }
}


}  // namespace dorn
