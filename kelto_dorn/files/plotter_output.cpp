#include "kelto_dorn/files/plotter_output.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <numbers>
#include <string_view>

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
constexpr int kWriteSliceMs = 100;
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

std::vector<std::string> PlotterInit() {
  const std::string esc(1, '\x1B');
  return {esc + ".I150;0;17:", esc + ".T:" + esc + ".L:", esc + ".N;19:", esc + ".@;0:", "IN;",
          std::string("DT\x03;"), "CS0;CA101;"};
}

std::string PlotterSelectPen(int pen) { return "SP" + std::to_string(pen) + ";"; }

std::string PlotterEnd() { return "SP0;PG;IN;"; }

std::string PlotMove(int x, int y, bool penDown, std::int32_t attribute) {
  const std::string head = penDown ? "PD;LT" + LineType(attribute) + "PA" : "PU;PA";
  return head + std::to_string(x) + "," + std::to_string(y) + ";";
}

std::string ArcCommand(int cx, int cy, double sweep, std::int32_t attribute) {
  char tail[64];
  std::snprintf(tail, sizeof tail, ",%3.3f,(,%3.3f;", sweep, kChordDegrees);
  return "PD;LT" + LineType(attribute) + "AA" + std::to_string(cx) + "," + std::to_string(cy) + tail;
}

std::vector<std::string> PlotFigure(const FigureRecord& f, const handover::DrawingStateRecord& p) {
  // Records keep their points relative to the layer origin of their making;
  // the plot is of the drawing as shown, origin added.
  const double scale = p.scale[0];
  auto x = [&](double v) { return Units(v + f.origin.x, scale, p.centreX[0]); };
  auto y = [&](double v) { return Units(v + f.origin.y, scale, p.centreY[0]); };
  const int kind = f.kind & 0xFF;
  if (kind == 2) return {PlotMove(x(f.start.x), y(f.start.y), false, 0), PlotMove(x(f.end.x), y(f.end.y), true, f.attribute)};
  if (kind != 3) return {};
  const double a0 = std::atan2(f.start.y - f.centre.y, f.start.x - f.centre.x);
  const double a1 = std::atan2(f.end.y - f.centre.y, f.end.x - f.centre.x);
  double sweep = (a1 - a0) * 180.0 / std::numbers::pi;
  if (f.radius >= 0.0) {
    while (sweep <= 1e-9) sweep += 360.0;  // counter-clockwise; a closed circle is 360
  } else {
    while (sweep >= -1e-9) sweep -= 360.0;
  }
  return {PlotMove(x(f.start.x), y(f.start.y), false, 0), ArcCommand(x(f.centre.x), y(f.centre.y), sweep, f.attribute)};
}

int FigurePen(const FigureRecord& f, const handover::DrawingStateRecord& p) {
  return p.colourChange != 0 ? PenOfColour(p.lineColour) : PenOfColour(f.attribute & 0xFFF);
}

int TextPen(const TextRecord& t, const handover::DrawingStateRecord& p) {
  return p.colourChange != 0 ? PenOfColour(p.lineColour) : PenOfColour(t.colour & 0x3FF);
}

std::uint16_t JisOfSjis(unsigned char lead, unsigned char trail) {
  int row = lead >= 0xE0 ? lead - 0x40 : lead;
  row = (row - 0x81) * 2 + 0x21;
  int cell = trail;
  if (cell >= 0x9F) {
    ++row;
    cell -= 0x7E;
  } else {
    if (cell >= 0x80) --cell;
    cell -= 0x1F;
  }
  return static_cast<std::uint16_t>((row << 8) | cell);
}

std::string LabelCommands(std::string_view text) {
  const std::string end = "\x03;";
  std::string out;
  bool open = false, doubleByte = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool lead = platform::IsCp932LeadByte(c) && i + 1 < text.size();
    if (!open || lead != doubleByte) {
      if (open) out += end;
      out += lead ? "SA;LB" : doubleByte ? "SS;LB" : "LB";
      open = true;
      doubleByte = lead;
    }
    if (lead) {
      const std::uint16_t jis = JisOfSjis(c, static_cast<unsigned char>(text[++i]));
      out += static_cast<char>(jis >> 8);
      out += static_cast<char>(jis & 0xFF);
    } else {
      out += static_cast<char>(c);
    }
  }
  if (!open) out += "LB";
  out += end;
  if (doubleByte) out += "SS;";
  return out;
}

std::vector<std::string> PlotText(const TextRecord& t, const handover::DrawingStateRecord& p) {
  const double scale = p.scale[0];
  const double angle = static_cast<double>(t.angle) * std::numbers::pi / 180.0;
  const double width = static_cast<double>(t.size) / 12.0 * scale * 0.01;
  char direction[64], size[96];
  std::snprintf(direction, sizeof direction, "DI%3.3f,%3.3f;", std::cos(angle) * 100.0, std::sin(angle) * 100.0);
  std::snprintf(size, sizeof size, "SI%f,%f;", width, width * 0.740259740250126);
  const double x = static_cast<double>(t.baseX) + t.originX, y = static_cast<double>(t.baseY) + t.originY;
  return {direction, size, PlotMove(Units(x, scale, p.centreX[0]), Units(y, scale, p.centreY[0]), false, 0),
          LabelCommands(std::string_view(t.text, strnlen(t.text, sizeof t.text)))};
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

namespace {

// One output to the plotter: the port, the pen passes, and the reason of the
// first failure. After a failure nothing more is written.
class PlotSession {
 public:
  PlotSession(const handover::DrawingStateRecord& p, const bool& stop, const std::function<void(int)>& progress)
      : p_(p), stop_(stop), progress_(progress) {}

  bool OpenPort() {
    port_ = OpenPlotterPort(p_, why_);
    if (!port_ && why_.empty()) why_ = "the plotter port could not be opened";
    return port_ != nullptr;
  }
  // Writes one command whole. A plotter that holds its XOFF (its buffer is
  // full while the pen draws) is waited for without limit, in slices that
  // keep the window alive, until the user stops. False when the port failed
  // (the reason kept) or the user stopped during the hold.
  bool WritePlotterBuffer(const std::string& command) {
    if (!why_.empty() || heldAtStop_) return false;
    std::string_view rest = command;
    for (;;) {
      const platform::SerialIoResult r = port_->WriteText(rest, plotter::kWriteSliceMs);
      if (r.ok()) return true;
      if (r.status != platform::SerialStatus::kTimedOut) {
        why_ = r.message;
        return false;
      }
      rest.remove_prefix(std::min(r.count, rest.size()));
      if (progress_ && shown_ != kPlotterHolding) progress_(shown_ = kPlotterHolding);
      platform::PumpMessages();
      if (stop_) {
        heldAtStop_ = true;
        return false;
      }
    }
  }
  bool SendAll(const std::vector<std::string>& commands) {
    for (const std::string& c : commands) {
      if (!WritePlotterBuffer(c)) return false;
    }
    return true;
  }
  // Eight passes over `count` items; `plot(i, pen)` sends item i when it is
  // drawn with that pen. False when stopped or failed.
  bool PenPasses(int count, const std::function<bool(int i, int pen)>& plot) {
    for (int pen = 1; pen <= 8; ++pen) {
      if (stop_ || !WritePlotterBuffer(plotter::PlotterSelectPen(pen))) return false;
      for (int i = 0; i < count; ++i) {
        if (!plot(i, pen)) return false;
        Step();
        if (stop_) return false;
      }
    }
    return true;
  }
  void SetTotal(long long items) { total_ = std::max(1LL, items); }
  void ClosePlotterPort() {
    if (port_) port_->Close();
  }
  const std::string& Why() const { return why_; }

 private:
  void Step() {
    ++done_;
    const int percent = static_cast<int>(done_ * 100 / total_);
    if (progress_ && percent != shown_) progress_(shown_ = percent);
    platform::PumpMessages();
  }
  const handover::DrawingStateRecord& p_;
  const bool& stop_;
  const std::function<void(int)>& progress_;
  std::unique_ptr<platform::SerialPort> port_;
  std::string why_;
  bool heldAtStop_ = false;  // stopped while the plotter held: nothing more is written
  long long total_ = 1, done_ = 0;
  int shown_ = -2;  // nothing shown yet
};

// The text records of a layer, in list order (the list ends at a negative
// layer word).
std::vector<int> TextsOfLayer(int layer) {
  std::vector<int> texts;
  for (int i = 0; i < kTextRecordCount; ++i) {
    const TextRecord& t = g_textRecords[static_cast<std::size_t>(i)];
    if (t.layer < 0) break;
    if (t.layer == layer) texts.push_back(i);
  }
  return texts;
}

// The figures of the layer's curves, as indexes into the curve figure table.
std::vector<int> CurveFiguresOfLayer(int layer) {
  std::vector<int> figures;
  const int available = GetFigureCount(kTableCurves);
  const int curves = std::clamp(g_curveCount, 0, kCurveTableSize);
  for (int c = 0; c < curves; ++c) {
    const CurveRecord& curve = g_curveTable[static_cast<std::size_t>(c)];
    if (curve.layer != layer) continue;
    const int first = std::max(curve.first, 0), end = std::min(curve.end, available);
    for (int i = first; i < end; ++i) figures.push_back(i);
  }
  return figures;
}

}  // namespace

int PlotDrawing(const handover::DrawingStateRecord& p, int layer, int options, const bool& stop,
                const std::function<void(int)>& progress) {
  // The figures are read through the current record; the user's current
  // figure comes back afterwards.
  struct KeepCurrentFigure {
    FigureRecord saved = g_curFigure;
    ~KeepCurrentFigure() { g_curFigure = saved; }
  } keep;
  PlotSession plot(p, stop, progress);
  // Ends the output early: a failure is said with its reason; a stop while
  // the plotter held has none and is no failure.
  auto fail = [&](const std::string& reason) {
    plot.ClosePlotterPort();
    if (!reason.empty())
      platform::ShowMessageBox(platform::Sjis("プロッター出力を中止しました\n") + platform::Utf8ToCp932(reason), {}, 0x10);
    return -1;
  };
  if (!plot.OpenPort()) return fail(plot.Why());
  if (!plot.SendAll(plotter::PlotterInit())) return fail(plot.Why());
  const bool figures = (options & plotter::kPlotFigures) != 0, curves = (options & plotter::kPlotCurves) != 0;
  const int figureCount = figures ? GetFigureCount(layer) : 0;
  const std::vector<int> texts = figures ? TextsOfLayer(layer) : std::vector<int>{};
  const std::vector<int> curveFigures = curves ? CurveFiguresOfLayer(layer) : std::vector<int>{};
  plot.SetTotal(8LL * (figureCount + static_cast<long long>(texts.size()) + static_cast<long long>(curveFigures.size())));
  auto plotFigure = [&](int table, int i, int pen) {
    GetFigure(table, i);
    const FigureRecord f = g_curFigure;
    if (f.layer != layer || plotter::FigurePen(f, p) != pen) return true;
    return plot.SendAll(plotter::PlotFigure(f, p));
  };
  bool whole = true;
  if (figures) {
    whole = plot.PenPasses(figureCount, [&](int i, int pen) { return plotFigure(layer, i, pen); }) &&
            plot.PenPasses(static_cast<int>(texts.size()), [&](int i, int pen) {
              const TextRecord& t = g_textRecords[static_cast<std::size_t>(texts[static_cast<std::size_t>(i)])];
              return plotter::TextPen(t, p) != pen || plot.SendAll(plotter::PlotText(t, p));
            });
  }
  if (whole && curves) {
    whole = plot.PenPasses(static_cast<int>(curveFigures.size()), [&](int i, int pen) {
      return plotFigure(kTableCurves, curveFigures[static_cast<std::size_t>(i)], pen);
    });
  }
  // A stopped plot still lifts and parks the pen, unless the plotter holds.
  if (!plot.Why().empty() || !plot.WritePlotterBuffer(plotter::PlotterEnd())) return fail(plot.Why());
  plot.ClosePlotterPort();
  return whole && !stop ? 0 : -1;
}

CPlotProgressDlg::CPlotProgressDlg(bool& stop)
    : Dialog(plotter::kProgressDialogId, platform::Sjis("プロッターに出力します..."),
             {{platform::ControlKind::Slider, plotter::kProgress, "", 0, 260},
              {platform::ControlKind::PushButton, platform::kIdCancel, platform::Sjis("ｷｬﾝｾﾙ")}}),
      stop_(stop) {}

void CPlotProgressDlg::Start() {
  CreateModeless();
  SetRange(plotter::kProgress, 0, 100);
  SetPos(plotter::kProgress, 0);
  Enable(plotter::kProgress, false);  // it shows, it is not moved by hand
}

void CPlotProgressDlg::SetProgress(int percent) {
  if (percent == kPlotterHolding) {
    SetTitle(platform::Sjis("プロッターの XOFF で出力を保留中です（中止はｷｬﾝｾﾙ）"));
    return;
  }
  SetTitle(platform::Sjis("プロッターに出力します..."));
  SetPos(plotter::kProgress, percent);
}

void CPlotProgressDlg::OnCancel() {
  stop_ = true;
  DestroyWindow();
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
  const platform::FileResult read = ReadDrawStateSettings(lib);
  if (!read.ok() && !read.missing()) platform::ShowMessageBox(platform::Utf8ToCp932(read.message), {}, 0x30);
  bool stop = false;
  CPlotProgressDlg progress(stop);
  progress.Start();
  const int result = PlotDrawing(lib.plotter, g_curLayer, g_plotOptions, stop, [&](int percent) {
    if (progress.IsOpen()) progress.SetProgress(percent);
  });
  if (progress.IsOpen()) progress.DestroyWindow();
  if (result == 0) platform::Beep();
}

}  // namespace dorn
