#include "kelto_dorn/files/dialogs/dxf_out_property_dialog.h"

#include <cstdio>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/files/dxf_writer.h"
#include "platform/text.h"

namespace dorn {

namespace {
using platform::ControlKind;
namespace id = dxf_out_dialog;
constexpr int kNameGroup = 1451, kKindGroup = 1452;
}  // namespace

CDxfOutPropertyDlg::CDxfOutPropertyDlg(std::string pathCp932)
    : platform::Dialog(kDxfOutPropertyDialogId, platform::Sjis("ＤＸＦ変換::プロパティ"),
                       {{ControlKind::GroupBox, kNameGroup, platform::Sjis("DXF_OUT::ファイル名")},
                        {ControlKind::StaticText, id::kPath, "", kNameGroup, 360},
                        {ControlKind::GroupBox, kKindGroup, platform::Sjis("変 換 図 形")},
                        {ControlKind::CheckBox, id::kFigures, platform::Sjis(" 図形要素"), kKindGroup},
                        {ControlKind::CheckBox, id::kCurves, platform::Sjis(" 加工登録曲線  "), kKindGroup},
                        {ControlKind::StaticText, id::kLayer, ""},
                        {ControlKind::CheckBox, id::kAllLayers, platform::Sjis("全レイヤー")},
                        {ControlKind::PushButton, platform::kIdOk, "O K", 0, 0, 0, platform::control_style::kDefaultButton},
                        {ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ")}}),
      path_(std::move(pathCp932)) {}

bool CDxfOutPropertyDlg::OnInit() {
  g_dxfAllLayers = 0;
  SetText(id::kPath, path_);
  SetCheck(id::kFigures, (g_dxfExportOptions & kDxfExportFigures) ? 1 : 0);
  SetCheck(id::kCurves, (g_dxfExportOptions & kDxfExportCurves) ? 1 : 0);
  SetCheck(id::kAllLayers, 0);
  char layer[32];
  std::snprintf(layer, sizeof layer, "%s[%02d]", platform::Sjis("レイヤー").c_str(), g_curLayer + 1);
  SetText(id::kLayer, layer);
  return true;
}

void CDxfOutPropertyDlg::OnClick(int controlId) {
  switch (controlId) {
    case id::kFigures:
      g_dxfExportOptions ^= kDxfExportFigures;
      SetCheck(id::kFigures, (g_dxfExportOptions & kDxfExportFigures) ? 1 : 0);
      break;
    case id::kCurves:
      g_dxfExportOptions ^= kDxfExportCurves;
      SetCheck(id::kCurves, (g_dxfExportOptions & kDxfExportCurves) ? 1 : 0);
      break;
    case id::kAllLayers:
      g_dxfAllLayers ^= 1;
      SetCheck(id::kAllLayers, g_dxfAllLayers);
      break;
    default:
      break;
  }
}

}  // namespace dorn
