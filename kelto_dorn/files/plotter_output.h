#pragma once
// HP-GL pen plotter output of the drawing (command 33078): the figures and
// texts of the current layer and the figures of its curves, pen by pen,
// written to the plotter's serial port (COM1 or COM2 by the plotter record of
// "$LIB.@@@", settings of "$COM_DCB.@@@"). A modeless progress window can
// stop it. A port that cannot be opened or written is said and the output
// stops; it never ends as if it had plotted.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "kelto_dorn/app/figure_record.h"
#include "kelto_dorn/app/text_record.h"
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
std::vector<std::string> PlotterInit();
// A pen change, and the end of a plot (pen put back, page out, reset).
std::string PlotterSelectPen(int pen);
std::string PlotterEnd();
// A pen-up move, a straight draw with the figure's line type, or an arc
// about (cx, cy) by `sweep` degrees ("AA").
std::string PlotMove(int x, int y, bool penDown, std::int32_t attribute);
std::string ArcCommand(int cx, int cy, double sweep, std::int32_t attribute);
// The commands of one line or arc figure (points and others give none).
std::vector<std::string> PlotFigure(const FigureRecord& f, const handover::DrawingStateRecord& p);
// The pen of a figure (colour & 0xFFF) or of a text (colour & 0x3FF); the
// fixed pen when the record's fixed-pen switch is set.
int FigurePen(const FigureRecord& f, const handover::DrawingStateRecord& p);
int TextPen(const TextRecord& t, const handover::DrawingStateRecord& p);
// The JIS code of a Shift-JIS double-byte character.
std::uint16_t JisOfSjis(unsigned char lead, unsigned char trail);
// The label of a CP932 text: single-byte runs as "LB", double-byte runs as
// JIS codes after "SA;LB", a return to single-byte after "SS;LB"; each run
// ends with 0x03 ";", and a text ending in double-byte mode with "SS;".
std::string LabelCommands(std::string_view cp932);
// The commands of one text record: pen-independent direction, size, a pen-up
// move to its base point and its label.
std::vector<std::string> PlotText(const TextRecord& t, const handover::DrawingStateRecord& p);
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

// The modeless progress window (IDD 281): its cancel sets the stop flag and
// closes it.
class CPlotProgressDlg : public platform::Dialog {
 public:
  explicit CPlotProgressDlg(bool& stop);
  void Start();
  // The share done (0-100), or kPlotterHolding: the title says the plotter holds.
  void SetProgress(int percent);

 protected:
  void OnCancel() override;

 private:
  bool& stop_;
};

// Plots what `options` asks of `layer` (figures and texts, curves), eight pen
// passes each: 0 plotted, -1 stopped or failed (a failure's reason shown).
// `progress` hears the share done in percent, and -1 while the plotter holds
// XOFF; it may set `stop`.
inline constexpr int kPlotterHolding = -1;
int PlotDrawing(const handover::DrawingStateRecord& p, int layer, int options, const bool& stop,
                const std::function<void(int percent)>& progress = {});

// The command: the dialog, then the output.
void OnPlotterOutput();

}  // namespace dorn
