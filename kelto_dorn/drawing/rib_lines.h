#pragma once
// The RIB line list: the ordered curve keys of the section curves that the
// machining and surface dialogs collect by picking (entries 1 to 32; entry 0
// is not used; 0xFFFF an empty slot that ends the list), and the edits of its
// dialog. Each line of the dialog keeps the entry number it shows, so an edit
// reaches the right entry even where a key without a curve shows no line.
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace dorn {

inline constexpr int kRibLineEntries = 32;
inline constexpr int kRibLineEmpty = 0xFFFF;
// Lines the dialog lists at most.
inline constexpr int kRibLinesListed = 31;

// RibLineKeys[1..32]; [0] unused.
extern std::array<int, kRibLineEntries + 1> RibLineKeys;
extern int RibLineCount;
void ResetRibLines();

// The entries before the first empty one (32 when the list is full).
int RibEntriesInUse();

class RibLineList {
 public:
  // The curve name of a key, or nothing when no curve has it.
  using NameOf = std::function<bool(int key, std::string& name)>;
  explicit RibLineList(NameOf nameOf) : nameOf_(std::move(nameOf)) {}

  // The lines of the keys as they stand (a key without a curve shows none).
  void Load();
  // The dialog's lines: the entry each shows (its text via Text()).
  const std::vector<int>& Lines() const { return lines_; }
  std::string Text(std::size_t line) const;

  // Every entry empty, no lines.
  void Reset();
  // Removes line p and its entry; later entries move up, entry 32 empties.
  bool DeleteLine(int p);
  // Opens an empty entry at line p for the next pick; false (nothing
  // changed) when the list is full, as its last key would be lost.
  bool InsertLine(int p);

 private:
  NameOf nameOf_;
  std::vector<int> lines_;
};

}  // namespace dorn
