#pragma once
// TransferState: the words of the companion's transfers that the run owns:
// the one open serial port with its settings (DNC send, reception, plotter),
// the path of the file being sent, the NC text check's token, modal and
// monitor state, and the plot state. One instance lives in the run context.
#include <array>
#include <memory>
#include <string>

#include "platform/serial_port.h"
#include "shared/handover/com_settings.h"

namespace qup {

// ---- serial port
struct ComPortState {
  std::unique_ptr<platform::SerialPort> Port;
  int PortIndex = -1;  // 0..8 while open
  handover::ComSettings Settings{};
  // The shared path buffer: the file being sent or checked (CP932, with
  // backslashes as the hand-over files spell it).
  std::string PathBuffer;
  // How long one wait on the port may last before the queue is drained and
  // a stop looked for (ms).
  int SliceMs = 50;
  // The far side holds our output with XOFF (the title says so).
  bool XoffHeld = false;
  // The title of the transfer in progress, shown again when XOFF lifts.
  std::string Title;
};

// ---- NC text check
// Address codes of the check's tokeniser.
enum CheckAddress : int {
  kAddrNone = 0, kAddrX = 1, kAddrY, kAddrZ, kAddrI, kAddrJ, kAddrK, kAddrR, kAddrG, kAddrF,
  kAddrM, kAddrT, kAddrO, kAddrS, kAddrH, kAddrD, kAddrU, kAddrV, kAddrA, kAddrB, kAddrC,
};

struct CheckWord {
  int code = 0;
  double value = 0.0;  // scaled for codes 1-7 without a decimal point
  double raw = 0.0;    // the number as written
  bool point = false;  // written with a decimal point
};

struct NcCheckState {
  static constexpr int kMaxWords = 20;
  static constexpr int kMonitorLines = 16;
  std::array<CheckWord, kMaxWords> Words{};
  int WordCount = 0;
  // Token state.
  int PendingCode = kAddrNone;
  std::string Number;
  bool DecimalPoint = false;
  bool InComment = false;
  std::string CommentKeyword;
  int LineCounter = 0;
  int PercentCount = 0;  // "%" lines sent so far (drip feed)
  // Modal state.
  int Motion = -1;  // 0 rapid, 1 line, 2/3 arcs, 5 coordinate setting
  int Plane = 1;    // 1 XY, 2 ZX, 3 YZ
  bool Incremental = true;
  int CompensationCode = 0;  // 40..44, 0 not shown
  int Side = 0;
  bool CornerG39 = false;
  int CycleCounter = 0;
  bool CycleActive = false;
  bool ReturnToR = false;  // G99
  double CycleRLevel = 0.0;
  bool CycleRKept = false;
  double CycleInitialZ = 0.0;
  double CycleDepth = 0.0;
  bool CommentKeywordOpen = false;
  bool CornerThisBlock = false;
  int MotionBeforeSetting = -1;
  bool PositionKnown = false;
  std::array<double, 6> Last{};  // X Y Z A B C
  double I = 0.0, J = 0.0, K = 0.0, R = 0.0;
  double F = -1.0, S = -1.0, M = -1.0, T = -1.0, O = -1.0, D = -1.0, H = -1.0;
  bool FeedWithPoint = false;
  double Pai = 0.0, Tip = 0.0;
  int ThreadForm = 0;  // 1 "(SCREW_FANUC", 17 any other "(SCREW_"
  int Pen = 1, Colour = 10;
  // The block being applied.
  std::array<double, 6> Next{};
  std::array<bool, 6> Given{};
  bool GivenI = false, GivenJ = false, GivenK = false, GivenR = false, GivenCycleZ = false;
  bool Moving = false;
  bool CoordinateSetting = false;
  std::array<std::string, kMonitorLines> Monitor{};
  bool MonitorShown = false;
};

// ---- pen plotter
struct PlotState {
  bool Active = false;
  int PortWord = 0;  // 0 COM1, else COM2
  int FixedPen = 1;
  int FixedPenSwitch = 0;
  int Projection = 0;  // 0 X-Y, 1 X-Z, 2 -Z-Y
  int RapidStyle = 0;  // 0 dashed, else pen up
  double OffsetX = 0.0, OffsetY = 0.0, Offset3 = 0.0, Offset4 = 0.0;
  double Scale = 1.0;
  std::array<double, 3> Rotation{};  // degrees about X, Y, Z
  int Pen = 1;
  bool PenFollowsTool = false;
  int LastX = 0, LastY = 0;
  std::array<double, 3> Current{};  // the last model point plotted
};

struct TransferState {
  ComPortState Com;
  NcCheckState Check;
  PlotState Plot;
};

}  // namespace qup
