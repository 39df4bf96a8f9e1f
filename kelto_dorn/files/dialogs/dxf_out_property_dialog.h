#pragma once
// The DXF export's properties (IDD 275, "ＤＸＦ変換::プロパティ"): the file
// name, what is written (figures, registered machining curves) and whether
// all layers or only the current one. The choices stay in
// g_dxfExportOptions; the all-layers flag starts at 0 each time.
#include <string>

#include "platform/dialog.h"

namespace dorn {

inline constexpr int kDxfOutPropertyDialogId = 275;

namespace dxf_out_dialog {
inline constexpr int kPath = 1447, kFigures = 1448, kCurves = 1449, kLayer = 1450, kAllLayers = 1556;
}

class CDxfOutPropertyDlg : public platform::Dialog {
 public:
  explicit CDxfOutPropertyDlg(std::string pathCp932);

 protected:
  bool OnInit() override;
  void OnClick(int id) override;

 private:
  std::string path_;
};

}  // namespace dorn
