// The pen plotter of the companion: while a check (or a run) draws its
// moves, each move also goes to an HP-GL plotter on a serial port, with the
// plotter record of "$LIB.@@@": its rotations, projection, offsets, scale,
// pen rule and rapid style.
#include <cmath>
#include <cstdio>

#include "kelto_qup/engine/run_context.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "shared/handover/drawing_state_settings.h"

namespace qup {

namespace {

constexpr double kUnitsPerMm = 40.0;
constexpr double kDegToRad = 0.017453292519943295;

int PenOfTool(int tool) {
  const int pen = tool % 9;
  return pen <= 0 ? 1 : pen;
}

}  // namespace

int RunContext::PlotBegin() {
  PlotState& plot = transfer.Plot;
  handover::PlotterSettings lib = handover::DefaultPlotterSettings();
  const platform::FileResult read =
      handover::ReadPlotterSettings(platform::ResolvePath(platform::ProgramFolder(), handover::kDrawingStateFileName), lib);
  if (!read.ok() && !read.missing()) host.AddListLine(platform::Utf8ToCp932(read.message));
  const handover::DrawingStateRecord& p = lib.plotter;
  plot = PlotState{};
  plot.FixedPen = p.lineColour;
  plot.FixedPenSwitch = p.colourChange;
  plot.Projection = p.viewingPlane;
  plot.RapidStyle = p.rapidDisplay;
  plot.PortWord = p.paneWord;
  plot.OffsetX = p.centreX[0];
  plot.OffsetY = p.centreY[0];
  plot.Offset3 = p.centreX[1];
  plot.Offset4 = p.centreY[1];
  plot.Scale = p.scale[0] * 0.01;
  plot.Rotation = {p.rotationX, p.rotationY, p.rotationZ};
  if (OpenComPort() != 0) return kStopRun;
  plot.Active = true;
  const std::string esc(1, '\x1B');
  for (const std::string& command : {esc + ".I150;0;17:", esc + ".T:" + esc + ".L:", esc + ".N;19:", esc + ".@;0:",
                                     std::string("IN;")}) {
    if (PlotSendCommand(command) == kStopRun) return kStopRun;
  }
  return 0;
}

std::array<int, 2> RunContext::PlotPoint(double x, double y, double z) const {
  const PlotState& plot = transfer.Plot;
  // The plotter record's own rotations: about X, then Y, then Z.
  const double ax = plot.Rotation[0] * kDegToRad, ay = plot.Rotation[1] * kDegToRad, az = plot.Rotation[2] * kDegToRad;
  double y1 = y * std::cos(ax) - z * std::sin(ax), z1 = y * std::sin(ax) + z * std::cos(ax);
  double x2 = x * std::cos(ay) + z1 * std::sin(ay), z2 = -x * std::sin(ay) + z1 * std::cos(ay);
  double x3 = x2 * std::cos(az) - y1 * std::sin(az), y3 = x2 * std::sin(az) + y1 * std::cos(az);
  double first = x3, second = y3;
  if (plot.Projection == 1) {
    second = z2;
  } else if (plot.Projection == 2) {
    first = -z2;
  } else if (plot.Projection != 0) {
    return {plot.LastX, plot.LastY};  // another projection sends the previous point again
  }
  return {static_cast<int>(std::floor((plot.Scale * first + plot.OffsetX) * kUnitsPerMm)),
          static_cast<int>(std::floor((plot.Scale * second + plot.OffsetY) * kUnitsPerMm))};
}

int RunContext::PlotSendCommand(std::string_view text) {
  Block.Text.fill('\0');
  const std::size_t size = std::min(text.size(), Block.Text.size() - 1);
  std::copy_n(text.begin(), size, Block.Text.begin());
  return ComWriteLine();
}

void RunContext::PlotPenForTool() {
  PlotState& plot = transfer.Plot;
  const int tool = output.CurrentTool;
  plot.PenFollowsTool = plot.FixedPenSwitch == 0 && tool == 0;
  plot.Pen = plot.FixedPenSwitch != 0 ? plot.FixedPen : PenOfTool(tool);
  if (plot.Pen <= 0) plot.Pen = 1;
  PlotSendCommand("SP" + std::to_string(plot.Pen) + ";");
  const auto& at = plot.Current;
  const std::array<int, 2> p = PlotPoint(at[0], at[1], at[2]);
  PlotSendCommand("PU;PA" + std::to_string(p[0]) + "," + std::to_string(p[1]) + ";");
  plot.LastX = p[0];
  plot.LastY = p[1];
}

void RunContext::PlotDrawToCurrent(double x, double y, double z, bool cutting) {
  PlotState& plot = transfer.Plot;
  if (AbortFlag != 0) return;
  if (plot.PenFollowsTool && PenOfTool(output.CurrentTool) != plot.Pen) {
    plot.Pen = PenOfTool(output.CurrentTool);
    PlotSendCommand("SP" + std::to_string(plot.Pen) + ";");
  }
  const std::array<int, 2> p = PlotPoint(x, y, z);
  const char* prefix = cutting ? "PD;LT;PA" : plot.RapidStyle == 0 ? "PD;LT2,1;PA" : "PU;PA";
  PlotSendCommand(prefix + std::to_string(p[0]) + "," + std::to_string(p[1]) + ";");
  plot.LastX = p[0];
  plot.LastY = p[1];
  plot.Current = {x, y, z};
}

void RunContext::PlotEnd() {
  PlotState& plot = transfer.Plot;
  if (!plot.Active) return;
  // The pen is put away even after a stop, so the plotter is left ready;
  // after a stop one short try, whose failure adds no second box.
  if (AbortFlag == 0) {
    PlotSendCommand("SP0;PG;IN;");
  } else if (transfer.Com.Port) {
    transfer.Com.Port->WriteText("SP0;PG;IN;", transfer.Com.SliceMs);
  }
  plot.Active = false;
  CloseComPort();
}

}  // namespace qup
