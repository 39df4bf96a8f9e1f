// The RIB line list: see rib_lines.h.
#include "kelto_dorn/drawing/rib_lines.h"

#include <cstdio>

namespace dorn {

std::array<int, kRibLineEntries + 1> RibLineKeys = [] {
  std::array<int, kRibLineEntries + 1> keys{};
  keys.fill(kRibLineEmpty);
  return keys;
}();
int RibLineCount = 0;

void ResetRibLines() {
  RibLineKeys.fill(kRibLineEmpty);
  RibLineCount = 0;
}

int RibEntriesInUse() {
  for (int e = 1; e <= kRibLineEntries; ++e) {
    if (RibLineKeys[static_cast<std::size_t>(e)] == kRibLineEmpty) return e - 1;
  }
  return kRibLineEntries;
}

void RibLineList::Load() {
  lines_.clear();
  std::string name;
  for (int e = 1; e <= kRibLinesListed; ++e) {
    const int key = RibLineKeys[static_cast<std::size_t>(e)];
    if (key == kRibLineEmpty) break;
    if (nameOf_(key, name)) lines_.push_back(e);
  }
}

std::string RibLineList::Text(std::size_t line) const {
  const int e = lines_.at(line);
  const int key = RibLineKeys[static_cast<std::size_t>(e)];
  std::string name;
  if (key == kRibLineEmpty || !nameOf_(key, name)) return {};  // the gap opened for a pick
  char head[16];
  std::snprintf(head, sizeof head, "No.%02d : ", e);
  return head + name;
}

void RibLineList::Reset() {
  ResetRibLines();
  lines_.clear();
}

bool RibLineList::DeleteLine(int p) {
  if (p < 0 || p >= static_cast<int>(lines_.size())) return false;
  const int e = lines_[static_cast<std::size_t>(p)];
  for (int k = e; k < kRibLineEntries; ++k) RibLineKeys[static_cast<std::size_t>(k)] = RibLineKeys[static_cast<std::size_t>(k + 1)];
  RibLineKeys[kRibLineEntries] = kRibLineEmpty;
  lines_.erase(lines_.begin() + p);
  for (int& line : lines_) {
    if (line > e) --line;
  }
  return true;
}

bool RibLineList::InsertLine(int p) {
  if (p < 0 || p >= static_cast<int>(lines_.size())) return false;
  if (RibLineKeys[kRibLineEntries] != kRibLineEmpty) return false;  // full
  const int e = lines_[static_cast<std::size_t>(p)];
  for (int k = kRibLineEntries; k > e; --k) RibLineKeys[static_cast<std::size_t>(k)] = RibLineKeys[static_cast<std::size_t>(k - 1)];
  RibLineKeys[static_cast<std::size_t>(e)] = kRibLineEmpty;
  for (int& line : lines_) {
    if (line >= e) ++line;
  }
  lines_.insert(lines_.begin() + p, e);
  return true;
}

}  // namespace dorn
