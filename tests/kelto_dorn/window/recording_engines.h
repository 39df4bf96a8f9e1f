#pragma once
// A recording stand-in for the command engines: every entry the view calls
// is installed and writes down its name and argument, so a test sees which
// family an id reached and which calls a click made.
#include <map>
#include <string>
#include <vector>

namespace dorn::test {

struct EngineCall {
  std::string entry;
  int arg = 0;
  friend bool operator==(const EngineCall&, const EngineCall&) = default;
};

class RecordingEngines {
 public:
  // Installs every routing family and every entry of the pick dispatch.
  void InstallAll();
  // Installs only the routing families.
  void InstallFamilies();
  const std::vector<EngineCall>& Calls() const { return calls_; }
  void Clear() { calls_.clear(); }
  // The names of the entries called, in order.
  std::vector<std::string> Entries() const;
  // Answers of the picking entries.
  bool pickHits = false;
  int nearCursorFinds = 0;
  int workFigureTaken = 0;
  int curveFound = 0;
  int figureResult = 0;  // what executeFigureCommand returns

 private:
  std::vector<EngineCall> calls_;
};

}  // namespace dorn::test
