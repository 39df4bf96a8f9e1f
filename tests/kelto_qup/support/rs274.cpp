#include "tests/kelto_qup/support/rs274.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

namespace testsupport {

namespace fs = std::filesystem;

namespace {

fs::path FindRs274() {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const fs::path candidate = fs::path(dir) / "rs274";
    if (!dir.empty() && fs::exists(candidate)) return candidate;
  }
  return {};
}

// Levels are compared to a thousandth: the NC words carry three decimals.
constexpr double kLevelTolerance = 0.0005;
// The tool numbers the check's tool table knows (T words and H numbers).
constexpr int kToolTableSize = 255;

std::vector<std::string> ReadLines(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The block without its comments, in capitals, for reading its G, H and M words.
std::string Words(const std::string& line) {
  std::string out;
  int depth = 0;
  for (char ch : line) {
    if (ch == '(') ++depth;
    if (depth == 0 && ch != ' ') out += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (ch == ')' && depth > 0) --depth;
  }
  return out;
}

std::vector<double> Codes(const std::string& words, char letter) {
  std::vector<double> codes;
  // One compiled pattern per letter: compiling it is far dearer than using it.
  static const std::map<char, std::regex> patterns = [] {
    std::map<char, std::regex> p;
    for (const char l : {'G', 'H', 'M'}) p.emplace(l, std::regex(std::string(1, l) + R"((\d+(\.\d+)?))"));
    return p;
  }();
  const std::regex& word = patterns.at(letter);
  for (std::sregex_iterator it(words.begin(), words.end(), word), end; it != end; ++it) {
    codes.push_back(std::stod((*it)[1]));
  }
  return codes;
}

bool IsCannedCycleCode(double g) { return g == 73 || g == 76 || (g >= 81 && g <= 89); }
bool IsMotionCode(double g) {
  return g == 0 || g == 1 || g == 2 || g == 3 || g == 33 || (g >= 38 && g < 39) || g == 80 || IsCannedCycleCode(g);
}

// What each line of the program does to the judgement of its moves.
struct LineModes {
  std::vector<bool> cannedCycle;  // the motion mode after the line is a canned cycle
  std::vector<bool> reference;    // the line makes a reference return
};

LineModes ReadLineModes(const std::vector<std::string>& lines) {
  LineModes modes;
  bool canned = false;
  for (const std::string& line : lines) {
    bool reference = false;
    for (double g : Codes(Words(line), 'G')) {
      if (IsMotionCode(g)) canned = IsCannedCycleCode(g);
      if (g == 28 || g == 30 || g == 53) reference = true;
    }
    modes.cannedCycle.push_back(canned);
    modes.reference.push_back(reference);
  }
  return modes;
}

// A copy of the program whose every block begins with its line number as
// the N word (a leading N or L word of its own is dropped), so that each
// canonical call names the line it came from.
void WriteNumberedCopy(const std::vector<std::string>& lines, const fs::path& copy) {
  std::ofstream out(copy, std::ios::binary);
  const std::regex leadingLabel(R"(^\s*[NL]\d+)");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos || line[first] == '%') {
      out << line << '\n';
      continue;
    }
    out << 'N' << i + 1 << ' ' << std::regex_replace(line, leadingLabel, "") << '\n';
  }
}

// Every tool of the check's table is 10 mm in diameter (rs274 reads the
// table in inches: D0.393701) and has no length.
void WriteToolTable(const fs::path& path) {
  std::ofstream table(path);
  for (int t = 1; t <= kToolTableSize; ++t) table << "T" << t << " P" << t << " D0.393701 Z0 ;\n";
}

std::vector<double> Numbers(const std::string& args) {
  std::vector<double> values;
  static const std::regex number(R"(-?\d+(\.\d+)?)");
  for (std::sregex_iterator it(args.begin(), args.end(), number), end; it != end; ++it) {
    values.push_back(std::stod(it->str()));
  }
  return values;
}

std::string Format(const char* format, double a, double b = 0.0, double c = 0.0) {
  char text[160];
  std::snprintf(text, sizeof text, format, a, b, c);
  return text;
}

// The judge of one program: it follows the canonical calls in order.
class MotionJudge {
 public:
  MotionJudge(const std::vector<std::string>& lines, const MotionLimits& limits, MotionCheck& check)
      : lines_(lines), modes_(ReadLineModes(lines)), limits_(limits), check_(check) {}

  void Call(int line, const std::string& name, const std::string& args) {
    if (line != lastLine_) {
      spindleAtLineStart_ = spindleOn_;
      lastLine_ = line;
    }
    if (name == "SELECT_TOOL") {
      pendingTool_ = static_cast<int>(Numbers(args).at(0));
    } else if (name == "CHANGE_TOOL") {
      currentTool_ = pendingTool_;
      offsetReported_ = false;
    } else if (name == "START_SPINDLE_CLOCKWISE" || name == "START_SPINDLE_COUNTERCLOCKWISE") {
      spindleOn_ = true;
    } else if (name == "STOP_SPINDLE_TURNING") {
      spindleOn_ = false;
    } else if (name == "SELECT_PLANE") {
      plane_ = args.find("XZ") != std::string::npos ? 2 : args.find("YZ") != std::string::npos ? 3 : 1;
    } else if (name == "USE_TOOL_LENGTH_OFFSET") {
      TakeLengthOffset(line);
    } else if (name == "SET_G92_OFFSET") {
      ShiftOrigin(g92_, Numbers(args), 0);
    } else if (name == "SET_G5X_OFFSET") {
      ShiftOrigin(g5x_, Numbers(args), 1);
    } else if (name == "STRAIGHT_TRAVERSE" || name == "STRAIGHT_FEED" || name == "ARC_FEED") {
      Move(line, name, Numbers(args));
    } else if (name == "PROGRAM_END") {
      ended_ = true;
      const std::vector<double> m = Codes(Words(Text(line)), 'M');
      const bool stopsHere = std::find(m.begin(), m.end(), 5.0) != m.end();
      if (spindleAtLineStart_ && !stopsHere) Violation(line, "the program ends with the spindle running");
    }
  }

  void Finish() {
    if (pendingHoleToHole_ != 0) {
      Violation(pendingHoleToHole_, "sideways move below the start level that leads to no hole");
    }
    if (!ended_ && spindleOn_) Violation(0, "the program ends with the spindle running");
  }

 private:
  const std::string& Text(int line) const {
    static const std::string none;
    return line >= 1 && line <= static_cast<int>(lines_.size()) ? lines_[static_cast<std::size_t>(line - 1)] : none;
  }
  bool LineFlag(const std::vector<bool>& flags, int line) const {
    return line >= 1 && line <= static_cast<int>(flags.size()) && flags[static_cast<std::size_t>(line - 1)];
  }
  void Violation(int line, std::string what) { check_.violations.push_back({line, std::move(what)}); }

  // A new coordinate offset moves the program's coordinates of where the
  // tool stands (program = machine - work offset - G92 offset).
  void ShiftOrigin(std::array<double, 3>& offset, const std::vector<double>& v, std::size_t first) {
    if (v.size() < first + 3) return;
    double* position[3] = {&x_, &y_, &z_};
    for (std::size_t i = 0; i < 3; ++i) {
      *position[i] -= v[first + i] - offset[i];
      offset[i] = v[first + i];
    }
  }

  void TakeLengthOffset(int line) {
    const std::string words = Words(Text(line));
    const std::vector<double> g = Codes(words, 'G');
    if (std::find(g.begin(), g.end(), 49.0) != g.end()) {
      offsetTool_.reset();
      return;
    }
    const std::vector<double> h = Codes(words, 'H');
    offsetTool_ = h.empty() ? currentTool_ : static_cast<int>(h.back());
    offsetReported_ = false;
  }

  void Move(int line, const std::string& name, const std::vector<double>& v) {
    CanonMove m;
    m.line = line;
    m.fromX = x_;
    m.fromY = y_;
    m.fromZ = z_;
    if (name == "ARC_FEED") {
      m.kind = CanonMove::Kind::kArc;
      // First and second end, first and second centre, turn, axis end.
      const double first = v.at(0), second = v.at(1), axis = v.at(5);
      m.centreFirst = v.at(2);
      m.centreSecond = v.at(3);
      m.turn = static_cast<int>(v.at(4));
      if (plane_ == 2) {  // XZ: first Z, second X
        m.z = first, m.x = second, m.y = axis;
      } else if (plane_ == 3) {  // YZ: first Y, second Z
        m.y = first, m.z = second, m.x = axis;
      } else {
        m.x = first, m.y = second, m.z = axis;
      }
    } else {
      m.kind = name == "STRAIGHT_FEED" ? CanonMove::Kind::kFeed : CanonMove::Kind::kTraverse;
      m.x = v.at(0), m.y = v.at(1), m.z = v.at(2);
    }
    m.cannedCycle = LineFlag(modes_.cannedCycle, line);
    m.reference = LineFlag(modes_.reference, line);
    x_ = m.x, y_ = m.y, z_ = m.z;
    check_.moves.push_back(m);
    Judge(m);
  }

  void Judge(const CanonMove& m) {
    const bool feed = m.kind != CanonMove::Kind::kTraverse;
    if (feed && !spindleOn_) Violation(m.line, Format("feed move to Z%.3f with the spindle stopped", m.z));
    if (m.reference) return;
    JudgeDepth(m, feed);
    const auto own = limits_.lengthOffsets.find(currentTool_);
    const int ownOffset = own != limits_.lengthOffsets.end() ? own->second : currentTool_;
    // A length offset acts on Z: a move that changes Z (or cuts) must be made
    // under the current tool's.
    const bool zMoves = std::fabs(m.z - m.fromZ) > kLevelTolerance;
    if (offsetTool_ && *offsetTool_ != ownOffset && !offsetReported_ && (zMoves || feed)) {
      offsetReported_ = true;
      Violation(m.line, Format("move under the length offset H%02.0f of another tool than T%02.0f", *offsetTool_,
                               currentTool_));
    }
    if (pendingHoleToHole_ != 0 && zMoves) {
      if (m.z > m.fromZ) Violation(pendingHoleToHole_, "sideways move below the start level that leads to no hole");
      pendingHoleToHole_ = 0;
    }
    if (m.cannedCycle) return;
    const bool sideways = std::hypot(m.x - m.fromX, m.y - m.fromY) > kLevelTolerance;
    const double low = std::min(m.z, m.fromZ);
    bool millingMove = false;
    if (limits_.rLevel) {
      const double r = *limits_.rLevel;
      if (m.fromZ >= r - kLevelTolerance && m.z < r - kLevelTolerance) {
        plungeX_ = m.fromX;
        plungeY_ = m.fromY;
      }
      const bool below = low < r - kLevelTolerance;
      auto withinReach = [&](double px, double py) {
        return std::hypot(px - plungeX_, py - plungeY_) <= limits_.millReach + kLevelTolerance;
      };
      millingMove = feed && below && limits_.millReach > 0.0 && withinReach(m.fromX, m.fromY) && withinReach(m.x, m.y);
      if (!feed && m.z < r - kLevelTolerance && (sideways || m.z < m.fromZ)) {
        Violation(m.line, Format("rapid to Z%.3f below the R level Z%.3f", m.z, r));
      } else if (sideways && below && !millingMove) {
        Violation(m.line, Format("sideways move at Z%.3f below the R level Z%.3f", low, r));
      }
    }
    if (limits_.startLevel && sideways && !millingMove) {
      const double start = *limits_.startLevel;
      if (low < start - kLevelTolerance) {
        auto atLevel = [&](double level) {
          return std::fabs(m.z - level) <= kLevelTolerance && std::fabs(m.fromZ - level) <= kLevelTolerance;
        };
        if (atLevel(start) || (limits_.rLevel && atLevel(*limits_.rLevel))) {
          pendingHoleToHole_ = m.line;  // a hole-to-hole move when the tool then goes down
        } else if (!limits_.rLevel || low >= *limits_.rLevel - kLevelTolerance) {
          Violation(m.line, Format("sideways move at Z%.3f below the start level Z%.3f", low, start));
        }
      }
    }
  }

  void JudgeDepth(const CanonMove& m, bool feed) {
    if (!limits_.partTop) return;
    if (feed) {
      deepestCut_ = std::min(deepestCut_, m.z);
      return;
    }
    const double floor = limits_.rapidIntoCut ? std::min(*limits_.partTop, deepestCut_) : *limits_.partTop;
    if (m.z < floor - kLevelTolerance) {
      Violation(m.line, Format("rapid to Z%.3f below the part's top Z%.3f", m.z, *limits_.partTop));
    }
  }

  const std::vector<std::string>& lines_;
  LineModes modes_;
  MotionLimits limits_;
  MotionCheck& check_;
  double x_ = 0.0, y_ = 0.0, z_ = 0.0;
  double plungeX_ = 0.0, plungeY_ = 0.0;
  double deepestCut_ = 1e300;
  std::array<double, 3> g92_{}, g5x_{};
  int plane_ = 1;
  int pendingTool_ = 0;
  int currentTool_ = 0;
  std::optional<int> offsetTool_;
  bool offsetReported_ = false;
  bool spindleOn_ = false;
  bool spindleAtLineStart_ = false;
  int lastLine_ = -1;
  int pendingHoleToHole_ = 0;
  bool ended_ = false;
};

}  // namespace

Rs274Run RunRs274(const fs::path& program, const fs::path& tools, const fs::path& workFolder) {
  Rs274Run run;
  const fs::path rs274 = FindRs274();
  if (rs274.empty()) return run;
  run.found = true;
  // rs274 keeps its tool table in a file mapped from $HOME and truncates it
  // at start: runs in parallel (ctest -j) sharing one HOME crash each other,
  // so every run gets the test's own folder as HOME.
  const fs::path out = workFolder / "rs274.txt";
  const std::string command = "HOME='" + workFolder.string() + "' '" + rs274.string() + "' -t '" + tools.string() +
                              "' -g '" + program.string() + "' > '" + out.string() + "' 2>&1 < /dev/null";
  run.status = std::system(command.c_str());
  std::ifstream in(out);
  std::stringstream text;
  text << in.rdbuf();
  run.text = text.str();
  return run;
}

MotionCheck CheckNcMotion(const fs::path& program, const fs::path& workFolder, const MotionLimits& limits) {
  MotionCheck check;
  const std::vector<std::string> lines = ReadLines(program);
  const fs::path copy = workFolder / (program.filename().string() + ".numbered");
  const fs::path tools = workFolder / "motion_check.tbl";
  WriteNumberedCopy(lines, copy);
  WriteToolTable(tools);
  const Rs274Run run = RunRs274(copy, tools, workFolder);
  if (!run.found) return check;
  check.ran = true;
  check.trace = run.text;

  MotionJudge judge(lines, limits, check);
  const std::regex call(R"(^\s*\d+ N(\d+|\.+)\s+([A-Z_0-9]+)\((.*)\))");
  const std::regex blockEcho(R"(^N(\d+)\b)");
  std::istringstream in(run.text);
  std::string message;
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (std::regex_search(line, m, call)) {
      const std::string number = m[1];
      judge.Call(number[0] == '.' ? 0 : std::stoi(number), m[2], m[3]);
    } else if (std::regex_search(line, m, blockEcho)) {
      // rs274 names a refused block after its message.
      check.violations.push_back({std::stoi(m[1]), "rs274 refuses the block: " + message});
      message.clear();
    } else if (!line.empty() && line != "executing") {
      message = line;
    }
  }
  if (run.status != 0) {
    // The trace ends at the refused block: the program's end is not judged.
    if (check.violations.empty()) check.violations.push_back({0, "rs274 stopped: " + message});
    return check;
  }
  judge.Finish();
  return check;
}

std::string Describe(const std::vector<MotionViolation>& violations) {
  std::string text;
  for (const MotionViolation& v : violations) text += "line " + std::to_string(v.line) + ": " + v.what + "\n";
  return text;
}

}  // namespace testsupport
