// The NC text check's reading of one block: the tokeniser splits a line into
// address words (comments carry the tool's diameter and tip), and the block
// is applied to the modal state as a machine would apply it.
#include <cmath>
#include <cstdlib>
#include <string>

#include "kelto_qup/engine/run_context.h"

namespace qup {

namespace {

constexpr std::size_t kMaxNumberText = 48;
constexpr std::size_t kMaxKeyword = 16;
constexpr std::size_t kMaxCommentNumber = 17;
constexpr int kLatheForm = 0x4000;
constexpr int kWordFormatFine = 0x4000;
constexpr int kThreadFanuc = 1;
constexpr int kThreadOther = 17;

// The address code of a character: -1 not an address, 0 a character that
// ends a word without starting one.
int AddressOf(char c) {
  switch (c) {
    case 'X': return kAddrX;
    case 'Y': return kAddrY;
    case 'Z': case 'W': return kAddrZ;
    case 'I': return kAddrI;
    case 'J': return kAddrJ;
    case 'K': return kAddrK;
    case 'R': return kAddrR;
    case 'G': return kAddrG;
    case 'F': return kAddrF;
    case 'M': return kAddrM;
    case 'T': return kAddrT;
    case 'O': return kAddrO;
    case 'S': return kAddrS;
    case 'H': return kAddrH;
    case 'D': return kAddrD;
    case 'U': return kAddrU;
    case 'V': return kAddrV;
    case 'A': return kAddrA;
    case 'B': return kAddrB;
    case 'C': return kAddrC;
    case 'E': case 'L': case 'N': case 'P': case 'Q': case '\r': case '\n': return kAddrNone;
    default: return -1;
  }
}

bool StartsWith(std::string_view text, std::size_t at, std::string_view prefix) {
  return text.size() >= at + prefix.size() && text.substr(at, prefix.size()) == prefix;
}

// The number written at `at` up to ")" or a blank (at most 17 characters);
// `end` gets the position after it.
double CommentNumber(std::string_view line, std::size_t at, std::size_t& end) {
  std::string text;
  end = at;
  while (end < line.size() && line[end] != ')' && line[end] != ' ' && text.size() < kMaxCommentNumber) {
    text += line[end++];
  }
  const double value = std::strtod(text.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0;
}

}  // namespace

void RunContext::ResetCheckState() {
  NcCheckState& k = transfer.Check;
  const auto monitor = k.Monitor;
  k = NcCheckState{};
  k.Monitor = monitor;
}

double RunContext::SafeAngle(double dx, double dy) {
  if (std::fabs(dx) < 0.00001 && std::fabs(dy) < 0.00001) return 0.0;
  const double a = std::atan2(dy, dx);
  return std::fabs(a) > 9000.0 ? 0.0 : a;
}

double RunContext::Length3(double a, double b, double c) { return std::sqrt(a * a + b * b + c * c); }

// A comment that opens a line may carry the tool's values: "(PAI=10.0 TIP=118)".
static void ReadCommentValues(NcCheckState& k, std::string_view line, std::size_t at) {
  if (StartsWith(line, at, "(SCREW_FANUC")) {
    k.ThreadForm = kThreadFanuc;
  } else if (StartsWith(line, at, "(SCREW_")) {
    k.ThreadForm = kThreadOther;
  }
  if (at != 0 || !StartsWith(line, 0, "(PAI=")) return;
  std::size_t end = 0;
  k.Pai = CommentNumber(line, 5, end);
  if (end < line.size() && line[end] == ' ' && StartsWith(line, end + 1, "TIP=")) {
    k.Tip = CommentNumber(line, end + 5, end);
  }
  // "MIL=" there names a thread pitch the check does not draw.
}

void RunContext::ScanCheckChar(std::string_view line, std::size_t at) {
  NcCheckState& k = transfer.Check;
  const char c = line[at];
  if (k.InComment) {
    if (c == ')') {
      k.InComment = false;
    } else if (k.CommentKeywordOpen) {
      if (c == '>' || c == ' ' || k.CommentKeyword.size() >= kMaxKeyword) {
        k.CommentKeywordOpen = false;
      } else {
        k.CommentKeyword += c;
      }
    }
    return;
  }
  if (c == '(') {
    CloseCheckWord();
    k.InComment = true;
    k.CommentKeywordOpen = true;
    k.CommentKeyword.clear();
    ReadCommentValues(k, line, at);
    return;
  }
  const auto byte = static_cast<unsigned char>(c);
  if (byte < 10 || byte > 90) return;
  if ((c >= '0' && c <= '9') || c == '-' || c == '.') {
    if (k.Number.size() < kMaxNumberText) k.Number += c;
    if (c == '.') k.DecimalPoint = true;
    return;
  }
  const int code = AddressOf(c);
  if (code < 0) return;
  CloseCheckWord();
  k.PendingCode = code;
}

void RunContext::CloseCheckWord() {
  NcCheckState& k = transfer.Check;
  if (k.PendingCode > 0 && !k.Number.empty() && k.WordCount < NcCheckState::kMaxWords) {
    const double raw = std::strtod(k.Number.c_str(), nullptr);
    // A number that is no finite value (an overflowing exponent) is no word.
    if (std::isfinite(raw)) {
      double scale = 1.0;
      if (!k.DecimalPoint) {
        const bool axis = k.PendingCode <= kAddrR;
        scale = (axis && (output.WordFormat & kWordFormatFine) == 0) ? 0.01 : 0.001;
      }
      k.Words[static_cast<std::size_t>(k.WordCount++)] = {k.PendingCode, raw * scale, raw, k.DecimalPoint};
    }
  }
  k.Number.clear();
  k.DecimalPoint = false;
  k.PendingCode = kAddrNone;
}

int RunContext::CheckGCode(double value) {
  NcCheckState& k = transfer.Check;
  // A G number no control knows (beyond three digits, negative or not a
  // number) changes no mode; it must not overflow on the way to an int.
  const double number = std::floor(value + 1e-9);
  const int g = std::isfinite(number) && number >= 0.0 && number < 1000.0 ? static_cast<int>(number) : -1;
  switch (g) {
    case 0: k.Motion = 0; k.Side = 0; break;
    case 1: k.Motion = 1; break;
    case 2: case 3: k.Motion = k.Plane == 2 ? 5 - g : g; break;
    case 17: case 18: case 19: k.Plane = g - 16; break;
    case 39: k.CornerG39 = true; k.CornerThisBlock = true; break;
    case 40: case 43: case 44: k.CompensationCode = g; break;
    case 41: k.Side = 1; k.CompensationCode = 41; break;
    case 42: k.Side = 2; k.CompensationCode = 42; break;
    case 54: case 92:
      if (!k.CoordinateSetting) k.MotionBeforeSetting = k.Motion;
      k.Motion = 5;
      k.Incremental = false;
      k.CoordinateSetting = true;
      break;
    case 80:
      k.CycleActive = false;
      k.CycleRKept = false;
      break;
    case 73: case 74: case 75: case 76: case 81: case 82: case 83: case 84: case 85: case 86: case 87: case 88: case 89:
      ++k.CycleCounter;
      if (!k.CycleActive) {
        k.CycleActive = true;
        k.CycleRKept = false;
        k.CycleInitialZ = k.Last[2];
      }
      break;
    case 90: k.Incremental = false; break;
    case 91: k.Incremental = true; break;
    case 98: k.ReturnToR = false; break;
    case 99: k.ReturnToR = true; break;
    default: break;
  }
  return g;
}

// Applies one axis word: X, Y, Z (and the rotary axes) set the new position.
static void GiveAxis(NcCheckState& k, int axis, double value) {
  k.Next[static_cast<std::size_t>(axis)] = value;
  k.Given[static_cast<std::size_t>(axis)] = true;
  k.Moving = true;
}

// U and V: incremental X and Y once a position is known.
static void GiveIncrementalAxis(NcCheckState& k, int axis, double value, bool incrementalWord) {
  const auto i = static_cast<std::size_t>(axis);
  const bool relative = incrementalWord && k.PositionKnown && !k.Incremental;
  GiveAxis(k, axis, relative ? k.Last[i] + value : value);
}

void RunContext::InterpretCheckBlock() {
  NcCheckState& k = transfer.Check;
  k.Given.fill(false);
  k.GivenI = k.GivenJ = k.GivenK = k.GivenR = false;
  k.Moving = false;
  k.CoordinateSetting = false;
  k.CornerThisBlock = false;
  for (int n = 0; n < k.WordCount; ++n) {
    const CheckWord& w = k.Words[static_cast<std::size_t>(n)];
    switch (w.code) {
      case kAddrX: GiveAxis(k, 0, w.value); break;
      case kAddrY: GiveAxis(k, 1, w.value); break;
      case kAddrZ: GiveAxis(k, 2, w.value); break;
      case kAddrI: if (!k.CornerThisBlock) { k.I = w.value; k.GivenI = true; } break;
      case kAddrJ: if (!k.CornerThisBlock) { k.J = w.value; k.GivenJ = true; } break;
      case kAddrK: if (!k.CornerThisBlock) { k.K = w.value; k.GivenK = true; } break;
      case kAddrR: k.R = w.value; k.GivenR = true; break;
      case kAddrG: CheckGCode(w.raw); break;
      case kAddrF: k.F = w.raw; k.FeedWithPoint = w.point; break;
      case kAddrM: k.M = w.raw; break;
      case kAddrT:
        k.T = w.raw;
        if (w.raw != 0.0) {
          // Only the tool number's low four bits choose colour and pen, taken
          // without going through an int that a huge T word would overflow.
          double low = std::fmod(std::trunc(w.raw), 16.0);
          if (!std::isfinite(low)) low = 0.0;
          if (low < 0.0) low += 16.0;
          const int t = static_cast<int>(low);
          k.Colour = (t & 15) != 0 ? (t & 15) : 10;
          k.Pen = (t & 15) != 0 ? (t & 7) : 1;
          output.CurrentTool = k.Colour;
          if (transfer.Plot.Active) PlotPenForTool();
        }
        break;
      case kAddrO: k.O = w.raw; break;
      case kAddrS: k.S = w.raw; break;
      case kAddrD: k.D = w.raw; break;
      case kAddrH:
        if (k.ThreadForm == kThreadOther) GiveAxis(k, 3, w.value); else k.H = w.raw;
        break;
      case kAddrU: GiveIncrementalAxis(k, 0, w.value, k.ThreadForm != kThreadOther); break;
      case kAddrV: GiveIncrementalAxis(k, 1, w.value, true); break;
      case kAddrA: GiveAxis(k, 3, w.value); break;
      case kAddrB: GiveAxis(k, 4, w.value); break;
      case kAddrC: GiveAxis(k, 5, w.value); break;
      default: break;
    }
  }
  if ((output.CodeFormat & kLatheForm) != 0) {
    // Lathe form: the drawing plane is Z-X; X words are diameters.
    // A word left out keeps the last position (nothing when incremental).
    const double zWord = k.Given[2] ? k.Next[2] : (k.Incremental ? 0.0 : k.Last[0]);
    const double xWord = k.Given[0] ? k.Next[0] : (k.Incremental ? 0.0 : k.Last[1] * 2.0);
    k.Next[0] = zWord;
    k.Next[1] = xWord * 0.5;
    k.Next[2] = 0.0;
    k.Given[0] = k.Given[1] = true;
    k.Given[2] = false;
    k.J = k.I;
    k.I = k.K;
    k.K = 0.0;
    k.GivenI = k.GivenJ = true;
  }
  k.WordCount = 0;
}

}  // namespace qup
