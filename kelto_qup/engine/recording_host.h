#pragma once
// RecordingHost: the headless RunHost. It keeps every box, list line and
// display step so that tests (and runs without a window) can read them back;
// draining the queue runs an optional callback, which tests use to play the
// user (a forced end, a key press) inside a run.
#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "kelto_qup/engine/run_host.h"

namespace qup {

// The list lines a run added. The run keeps its block echo to a window of
// lines by deleting near the front (RunContext::EchoBlock), so the lines are
// a deque: a delete there moves the few lines before it, not the whole list.
// Compared with, and converted to, a vector of lines for tests.
class ListLines : public std::deque<std::string> {
 public:
  using std::deque<std::string>::deque;
  operator std::vector<std::string>() const { return {begin(), end()}; }
  friend bool operator==(const ListLines& a, const std::vector<std::string>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }
};

class RecordingHost : public RunHost {
 public:
  void ShowErrorBox(std::string_view text) override { errorBoxes.emplace_back(text); }
  int AddListLine(std::string_view text) override {
    listLines.emplace_back(text);
    return static_cast<int>(listLines.size()) - 1;
  }
  void SelectListLine(int index) override { selectedLine = index; }
  void ClearList() override { listLines.clear(); }
  void DeleteListLine(int index) override;
  void PumpMessages() override {
    ++pumpCount;
    if (onPump) onPump();
  }
  void RefreshViewDc() override { ++refreshCount; }
  void FlushPanes() override { ++flushCount; }
  void AddDisplayRecord(const std::array<std::uint32_t, 8>& words) override { displayRecords.push_back(words); }
  void DrawPathStep(int channel, const handover::NcElement& move) override { pathSteps.push_back({channel, move}); }
  void SetTitleText(std::string_view text) override { titleText = text; }
  void Beep() override { ++beepCount; }
  std::uint64_t TickMs() override { return fakeTicks ? (*fakeTicks)++ : RunHost::TickMs(); }
  void DrawCheckSegment(double x, double y, double z, int kind) override { checkMoves.push_back({x, y, z, kind}); }
  void ShowMonitor(bool shown) override { monitorShown = shown; }
  void SetMonitorTexts(const std::array<std::string, 16>& lines) override { monitorLines = lines; }
  void CloseMonitor() override { ++monitorClosed; }
  void ShowExclamationBox(std::string_view text) override { exclamationBoxes.emplace_back(text); }
  int RunNfsTransfer(int fromList) override {
    nfsRequests.push_back(fromList);
    return nfsAnswer;
  }

  struct CheckMove {
    double x, y, z;
    int kind;  // 1 feed, -1 rapid, 0 pen up
  };
  std::vector<CheckMove> checkMoves;
  bool monitorShown = false;
  std::array<std::string, 16> monitorLines;
  int monitorClosed = 0;
  std::vector<std::string> exclamationBoxes;
  std::vector<int> nfsRequests;
  int nfsAnswer = 1;

  struct PathStep {
    int channel;
    handover::NcElement move;
  };

  std::vector<std::string> errorBoxes;  // CP932 texts
  ListLines listLines;                  // CP932 texts
  int selectedLine = -1;
  int pumpCount = 0;
  int refreshCount = 0;
  int flushCount = 0;
  int beepCount = 0;
  std::vector<std::array<std::uint32_t, 8>> displayRecords;
  std::vector<PathStep> pathSteps;
  std::string titleText;
  // When set, TickMs returns this counter and advances it by one per call.
  std::uint64_t* fakeTicks = nullptr;
  // Runs inside every PumpMessages, as the shell's handlers would.
  std::function<void()> onPump;
};

}  // namespace qup
