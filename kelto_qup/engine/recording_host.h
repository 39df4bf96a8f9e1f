#pragma once
// RecordingHost: the headless RunHost. It keeps every box, list line and
// display step so that tests (and runs without a window) can read them back;
// draining the queue runs an optional callback, which tests use to play the
// user (a forced end, a key press) inside a run.
#include <algorithm>
#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <iterator>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "kelto_qup/engine/run_host.h"

namespace qup {

// The list lines a run added. The run keeps its block echo to a window of
// lines by deleting, for every block, the line at one fixed place near the
// middle (RunContext::EchoBlock). The lines are therefore held in two parts
// split at the last deleted place: a delete there takes the first line of
// the second part and moves nothing else, however long the run.
// Compared with, and converted to, a vector of lines for tests.
class ListLines {
 public:
  // Random access by index over the two parts.
  template <typename Lines, typename Line>
  class Iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = std::string;
    using difference_type = std::ptrdiff_t;
    using pointer = Line*;
    using reference = Line&;
    Iterator() = default;
    Iterator(Lines* lines, std::size_t index) : lines_(lines), index_(index) {}
    reference operator*() const { return (*lines_)[index_]; }
    pointer operator->() const { return &(*lines_)[index_]; }
    reference operator[](difference_type n) const { return (*lines_)[index_ + static_cast<std::size_t>(n)]; }
    Iterator& operator++() { return ++index_, *this; }
    Iterator operator++(int) { return {lines_, index_++}; }
    Iterator& operator--() { return --index_, *this; }
    Iterator operator--(int) { return {lines_, index_--}; }
    Iterator& operator+=(difference_type n) { return index_ += static_cast<std::size_t>(n), *this; }
    Iterator& operator-=(difference_type n) { return index_ -= static_cast<std::size_t>(n), *this; }
    friend Iterator operator+(Iterator it, difference_type n) { return it += n; }
    friend Iterator operator+(difference_type n, Iterator it) { return it += n; }
    friend Iterator operator-(Iterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const Iterator& a, const Iterator& b) {
      return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
    }
    friend bool operator==(const Iterator& a, const Iterator& b) { return a.index_ == b.index_; }
    friend auto operator<=>(const Iterator& a, const Iterator& b) { return a.index_ <=> b.index_; }
    std::size_t Index() const { return index_; }

   private:
    Lines* lines_ = nullptr;
    std::size_t index_ = 0;
  };
  using iterator = Iterator<ListLines, std::string>;
  using const_iterator = Iterator<const ListLines, const std::string>;

  std::size_t size() const { return front_.size() + back_.size(); }
  bool empty() const { return size() == 0; }
  std::string& operator[](std::size_t i) { return i < front_.size() ? front_[i] : back_[i - front_.size()]; }
  const std::string& operator[](std::size_t i) const {
    return i < front_.size() ? front_[i] : back_[i - front_.size()];
  }
  std::string& front() { return (*this)[0]; }
  const std::string& front() const { return (*this)[0]; }
  std::string& back() { return (*this)[size() - 1]; }
  const std::string& back() const { return (*this)[size() - 1]; }
  iterator begin() { return {this, 0}; }
  iterator end() { return {this, size()}; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

  template <typename... Args>
  std::string& emplace_back(Args&&... args) {
    return back_.emplace_back(std::forward<Args>(args)...);
  }
  void push_back(std::string line) { back_.push_back(std::move(line)); }
  void clear() {
    front_.clear();
    back_.clear();
  }
  // Removes the line at `at` (within the lines); returns the position after it.
  iterator erase(const_iterator at) {
    const std::size_t index = at.Index();
    MoveSplitTo(index);
    back_.pop_front();
    return {this, index};
  }

  operator std::vector<std::string>() const { return {begin(), end()}; }
  friend bool operator==(const ListLines& a, const std::vector<std::string>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }

 private:
  // Moves lines between the parts until the first part holds `index` lines.
  void MoveSplitTo(std::size_t index) {
    while (front_.size() > index) {
      back_.push_front(std::move(front_.back()));
      front_.pop_back();
    }
    while (front_.size() < index) {
      front_.push_back(std::move(back_.front()));
      back_.pop_front();
    }
  }
  std::vector<std::string> front_;
  std::deque<std::string> back_;
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
  void DrawPathStep(int channel, const handover::NcElement& move) override {
    pathSteps.push_back({channel, {move.code, move.d1, move.d4, move.d5, move.d6, move.d7, move.d8}});
  }
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

  // What a drawn move carries (the fields the block output fills): the motion
  // mode, the arc radius, the end point, the start point and the end Z.
  struct DrawnMove {
    int code;
    double d1, d4, d5, d6, d7, d8;
  };
  struct PathStep {
    int channel;
    DrawnMove move;
  };

  std::vector<std::string> errorBoxes;  // CP932 texts
  ListLines listLines;                  // CP932 texts
  int selectedLine = -1;
  int pumpCount = 0;
  int refreshCount = 0;
  int flushCount = 0;
  int beepCount = 0;
  std::vector<std::array<std::uint32_t, 8>> displayRecords;
  // In blocks: a long run's steps are appended without moving the earlier ones.
  std::deque<PathStep> pathSteps;
  std::string titleText;
  // When set, TickMs returns this counter and advances it by one per call.
  std::uint64_t* fakeTicks = nullptr;
  // Runs inside every PumpMessages, as the shell's handlers would.
  std::function<void()> onPump;
};

}  // namespace qup
