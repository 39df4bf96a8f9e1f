#include "kelto_dorn/files/plotter_output.h"

#include <cmath>
#include <cstdio>
#include <numbers>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/figure_store.h"
#include "kelto_dorn/files/draw_state_dialog.h"
#include "platform/application.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "shared/handover/com_settings.h"

namespace dorn {

int g_plotOptions = plotter::kPlotFigures;

namespace plotter {

namespace {
constexpr double kUnitsPerMm = 40.0;
constexpr int kWriteWaitMs = 10000;
constexpr double kChordDegrees = 5.0;

std::string LineType(std::int32_t attribute) {
  if (attribute & 0x1000) return "2,0.5;";
  if (attribute & 0x2000) return "5,3;";
  if (attribute & 0x4000) return "6,3;";
  return ";";
}
}  // namespace

int Units(double v, double scalePercent, double offset) {
  return static_cast<int>(std::floor((scalePercent * 0.01 * v + offset) * kUnitsPerMm));
}

int PenOfColour(int colour) {
  int pen = colour & 0xFFF;
  while (pen > 8) pen -= 8;
  return pen <= 0 ? 1 : pen;
}

std::vector<std::string> InitCommands() {
  const std::string esc(1, '\x1B');
  return {esc + ".I150;0;17:", esc + ".T:" + esc + ".L:", esc + ".N;19:", esc + ".@;0:", "IN;",
          std::string("DT\x03;"), "CS0;CA101;"};
}

std::string MoveCommand(int x, int y, bool penDown, std::int32_t attribute) {
  const std::string head = penDown ? "PD;LT" + LineType(attribute) + "PA" : "PU;PA";
  return head + std::to_string(x) + "," + std::to_string(y) + ";";
}

std::string ArcCommand(int cx, int cy, double sweep, std::int32_t attribute) {
  char tail[64];
  std::snprintf(tail, sizeof tail, ",%3.3f,(,%3.3f;", sweep, kChordDegrees);
  return "PD;LT" + LineType(attribute) + "AA" + std::to_string(cx) + "," + std::to_string(cy) + tail;
}

std::vector<std::string> FigureCommands(const FigureRecord& f, const handover::DrawingStateRecord& p) {
  const double scale = p.scale[0];
  auto x = [&](double v) { return Units(v, scale, p.centreX[0]); };
  auto y = [&](double v) { return Units(v, scale, p.centreY[0]); };
  const int kind = f.kind & 0xFF;
  if (kind == 2) return {MoveCommand(x(f.start.x), y(f.start.y), false, 0), MoveCommand(x(f.end.x), y(f.end.y), true, f.attribute)};
  if (kind != 3) return {};
  const double a0 = std::atan2(f.start.y - f.centre.y, f.start.x - f.centre.x);
  const double a1 = std::atan2(f.end.y - f.centre.y, f.end.x - f.centre.x);
  double sweep = (a1 - a0) * 180.0 / std::numbers::pi;
  if (f.radius >= 0.0) {
    while (sweep <= 1e-9) sweep += 360.0;  // counter-clockwise; a closed circle is 360
  } else {
    while (sweep >= -1e-9) sweep -= 360.0;
  }
  return {MoveCommand(x(f.start.x), y(f.start.y), false, 0), ArcCommand(x(f.centre.x), y(f.centre.y), sweep, f.attribute)};
}

}  // namespace plotter

namespace {

// The plotter's port, opened and set as the port settings say.
std::unique_ptr<platform::SerialPort> OpenPlotterPort(const handover::DrawingStateRecord& p, std::string& why) {
  handover::ComSettings com = handover::DefaultComSettings();
  const platform::FileResult read =
      handover::ReadComSettings(platform::ResolvePath(platform::ProgramFolder(), handover::kComSettingsFileName), com);
  if (!read.ok() && !read.missing()) {
    why = read.message;
    return nullptr;
  }
  const int port = p.paneWord == 0 ? 0 : 1;
  const platform::SettingsStore store("Kelto_Dorn");
  platform::SerialOpenResult opened = platform::OpenSerialPort(store, port == 0 ? "COM1" : "COM2");
  if (!opened.ok()) {
    why = opened.message;
    return nullptr;
  }
  platform::SerialLineSettings line;
  line.baud = com.BaudRate(port);
  line.byteSize = com.DataBitCount(port);
  const int parity = com.parity[port] & 0x0F;
  line.parity = parity == 1 ? platform::SerialParity::kEven : parity == 2 ? platform::SerialParity::kOdd
                                                                          : platform::SerialParity::kNone;
  line.xonXoff = com.flow[port] == 1;
  line.rtsCts = com.flow[port] == 2;
  line.dtrDsr = com.flow[port] == 3;
  const int stop = com.stop[port] & 0x0F;
  line.stopBits = stop == 1 ? platform::SerialStopBits::kOneAndHalf
                            : stop == 2 ? platform::SerialStopBits::kTwo : platform::SerialStopBits::kOne;
  const platform::SerialResult set = opened.port->Configure(line);
  if (!set.ok) {
    why = set.message;
    return nullptr;
  }
  return std::move(opened.port);
}

}  // namespace

int PlotFiguresOfLayer(const handover::DrawingStateRecord& p, int layer, const bool& stop) {
  std::string why;
  std::unique_ptr<platform::SerialPort> port = OpenPlotterPort(p, why);
  auto fail = [&](const std::string& reason) {
    platform::ShowMessageBox(platform::Sjis("プロッター出力を中止しました\n") + platform::Utf8ToCp932(reason), {}, 0x10);
    return -1;
  };
  if (!port) return fail(why);
  auto send = [&](const std::string& command) {
    const platform::SerialIoResult r = port->WriteText(command, 10000);
    if (!r.ok()) why = r.message.empty() ? "the plotter took nothing for 10 s" : r.message;
    return r.ok();
  };
  for (const std::string& c : plotter::InitCommands()) {
    if (!send(c)) return fail(why);
  }
  const int count = GetFigureCount(layer);
  for (int pen = 1; pen <= 8 && !stop; ++pen) {
    if (!send("SP" + std::to_string(pen) + ";")) return fail(why);
    for (int i = 0; i < count && !stop; ++i) {
      GetFigure(layer, i);
      const FigureRecord f = g_curFigure;
      const int figurePen = p.colourChange != 0 ? plotter::PenOfColour(p.lineColour) : plotter::PenOfColour(f.attribute);
      if (figurePen != pen) continue;
      for (const std::string& c : plotter::FigureCommands(f, p)) {
        if (!send(c)) return fail(why);
      }
      platform::PumpMessages();
    }
  }
  if (!send("SP0;PG;IN;")) return fail(why);
  port->Close();
  return stop ? -1 : 0;
}

CPlotterOutputDlg::CPlotterOutputDlg()
    : Dialog(plotter::kOutputDialogId, platform::Sjis("  プロッター出力"),
             {{platform::ControlKind::CheckBox, plotter::kFigures, platform::Sjis("図形")},
              {platform::ControlKind::CheckBox, plotter::kCurves, platform::Sjis("曲線")},
              {platform::ControlKind::PushButton, plotter::kSettings, platform::Sjis("出力設定")},
              {platform::ControlKind::PushButton, plotter::kExecute, platform::Sjis("実 行")}}) {}

bool CPlotterOutputDlg::OnInit() {
  Refresh();
  return true;
}

void CPlotterOutputDlg::Refresh() {
  SetCheck(plotter::kFigures, (g_plotOptions & plotter::kPlotFigures) != 0);
  SetCheck(plotter::kCurves, (g_plotOptions & plotter::kPlotCurves) != 0);
}

void CPlotterOutputDlg::OnClick(int id) {
  if (id == plotter::kFigures) g_plotOptions ^= plotter::kPlotFigures;
  if (id == plotter::kCurves) g_plotOptions ^= plotter::kPlotCurves;
  if (id == plotter::kSettings) RunDrawStateDialog(draw_state::kModeFromPlotterDialog);
  if (id == plotter::kExecute && (g_plotOptions & (plotter::kPlotFigures | plotter::kPlotCurves)) != 0) EndDialog(1);
  Refresh();
}

void OnPlotterOutput() {
  CPlotterOutputDlg dialog;
  if (dialog.DoModal() != 1) return;
  handover::PlotterSettings lib;
  ReadDrawStateSettings(lib);
  const bool stop = false;
  if ((g_plotOptions & plotter::kPlotFigures) != 0 && PlotFiguresOfLayer(lib.plotter, g_curLayer, stop) != 0) return;
  platform::Beep();
}

}  // namespace dorn
