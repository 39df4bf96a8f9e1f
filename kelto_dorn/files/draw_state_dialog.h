#pragma once
// The drawing-state settings dialog (IDD 240): record 0 (the graphic check
// display) or record 1 (the pen plotter) of "$LIB.@@@". Opened from the NC
// dialogs in graphic mode and from the plotter dialog in plotter mode; the
// companion reads the same file for its panes and its plotter.
#include "platform/dialog.h"
#include "shared/handover/drawing_state_settings.h"

namespace dorn {

namespace draw_state {
inline constexpr int kTemplateId = 240;
inline constexpr int kCentreX = 1347, kCentreY = 1348, kScale = 1349, kRotX = 1350, kRotY = 1351, kRotZ = 1352,
                     kColour = 1353;
inline constexpr int kPlaneXy = 1041, kPlaneXz = 1043, kPlaneYz = 1044, kRapidOn = 1045, kRapidOff = 1046;
inline constexpr int kColourOn = 1051, kColourOff = 1052, kOnePane = 1023, kFourPanes = 1054;
inline constexpr int kAxesOff = 1055, kAxes1 = 1056, kAxes2 = 1057, kRegister = 1178, kAxesGroup = 1058;
inline constexpr int kModeGraphic = 0, kModePlotter = 1, kModeFromPlotterDialog = 2;
}  // namespace draw_state

// The program's own pane count, which every read puts into record 0 and
// every write takes from it.
extern int g_workingPaneCount;

// "$LIB.@@@" in the program folder; missing: the defaults of both records.
// A damaged file gives the defaults too, and its message.
platform::FileResult ReadDrawStateSettings(handover::PlotterSettings& settings);
platform::FileResult WriteDrawStateSettings(const handover::PlotterSettings& settings);

class CDrawStateDlg : public platform::Dialog {
 public:
  explicit CDrawStateDlg(int mode);
  const handover::PlotterSettings& Settings() const { return settings_; }

 protected:
  bool OnInit() override;
  void OnShow() override;
  void OnClick(int id) override;
  void OnFocusGained(int id) override;
  void OnFocusLost(int id) override;
  void OnOk() override;  // Enter commits the field and moves on

 private:
  handover::DrawingStateRecord& Record();
  void Refresh();
  void Commit(int id);
  int mode_;
  handover::PlotterSettings settings_{};
};

// Runs the dialog; 1 when registered.
int RunDrawStateDialog(int mode);

}  // namespace dorn
