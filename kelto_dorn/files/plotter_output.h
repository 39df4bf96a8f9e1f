#pragma once
// HP-GL pen plotter output of the drawing (command 33078): the figures of
// the current layer, pen by pen, written to the plotter's serial port (COM1
// or COM2 by the plotter record of "$LIB.@@@", settings of "$COM_DCB.@@@").
// A port that cannot be opened or written is said and the output stops; it
// never ends as if it had plotted.
#include <memory>
#include <string>

#include "kelto_dorn/app/figure_record.h"
#include "platform/dialog.h"
#include "platform/serial_port.h"
#include "shared/handover/drawing_state_settings.h"

namespace dorn {

namespace plotter {
inline constexpr int kOutputDialogId = 280, kProgressDialogId = 281;
inline constexpr int kFigures = 1386, kCurves = 1387, kExecute = 1178, kSettings = 1463, kProgress = 1465;
inline constexpr int kPlotFigures = 0x01, kPlotCurves = 0x10;

// Plotter units of a drawing coordinate: floor((scale % x 0.01 x v + offset) x 40).
int Units(double v, double scalePercent, double offset);
// The pen of a figure colour: above 8 reduced by 8 until at most 8; 0 is 1.
int PenOfColour(int colour);
// The device set-up, one command per write.
std::vector<std::string> InitCommands();
// A pen-up move, a straight draw with the figure's line type, or an arc
// about (cx, cy) by `sweep` degrees ("AA").
std::string MoveCommand(int x, int y, bool penDown, std::int32_t attribute);
std::string ArcCommand(int cx, int cy, double sweep, std::int32_t attribute);
// The commands of one line or arc figure (points and others give none).
std::vector<std::string> FigureCommands(const FigureRecord& f, const handover::DrawingStateRecord& p);
}  // namespace plotter

// The plot options kept for the program's lifetime.
extern int g_plotOptions;

class CPlotterOutputDlg : public platform::Dialog {
 public:
  CPlotterOutputDlg();

 protected:
  bool OnInit() override;
  void OnClick(int id) override;

 private:
  void Refresh();
};

// Plots the figures of the current layer: 0 plotted, -1 stopped or failed
// (the reason shown).
int PlotFiguresOfLayer(const handover::DrawingStateRecord& p, int layer, const bool& stop);

// The command: the dialog, then the output.
void OnPlotterOutput();

}  // namespace dorn
