#pragma once
// The backup ring of deleted files in the program folder's "_BAK": every
// file a deletion removes is first copied to "_V%04d.BAK" (entry k as
// number k + 1) and named in the index "_V0000.@@@" (260-byte entries:
// int32 state, char path[256]), so that the last deletion can be undone.
// The ring shares "_BAK" with the undo snapshots, which it never touches.
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <type_traits>
#include <vector>

namespace dorn {

struct BackupIndexEntry {
  std::int32_t state = -1;  // 0 drawing file, 1 data file, 2 file of a typed folder; -1 free
  char path[256] = {};      // CP932 full path of the deleted file
};
static_assert(std::is_standard_layout_v<BackupIndexEntry>);
static_assert(sizeof(BackupIndexEntry) == 260);

inline constexpr int kBackupRingCapacity = 256;
inline constexpr int kBackupStateDrawing = 0;
inline constexpr int kBackupStateData = 1;
inline constexpr int kBackupStateTyped = 2;
inline constexpr std::int32_t kBackupStateFree = -1;

std::filesystem::path BackupFolder();
std::filesystem::path BackupIndexPath();
std::filesystem::path BackupCopyPath(int entry);

// The entries of one deletion, as the file list keeps them.
class BackupRing {
 public:
  int Count() const { return static_cast<int>(entries_.size()); }
  const std::vector<BackupIndexEntry>& Entries() const { return entries_; }
  void Clear() { entries_.clear(); fullShown_ = false; }

  // Saves a copy of the file as a new entry. True only when the whole file
  // was copied; a full ring says so once per deletion and saves nothing.
  bool SaveToBackupRing(int state, const std::filesystem::path& file);
  // Writes entry k back to its path; true when the whole file was written.
  // The entry is marked free then.
  bool Restore(int k);
  // Reads the index; false (nothing read) when it is damaged. A missing
  // index reads as empty.
  bool ReadIndex(std::string* message = nullptr);
  // Writes every entry that is not free; false when it could not be written.
  bool WriteBackupIndex() const;

 private:
  std::vector<BackupIndexEntry> entries_;
  bool fullShown_ = false;
};

// Deletes the ring's copies and index ("_V*.BAK", "_V0000.@@@"); the undo
// snapshots and anything else in "_BAK" stay.
void PurgeBackupFolder();

// Deletes one picked entry of a file list by FileListKind: a drawing's SEG
// files (".KWD", ".KWQ", ".KSE", ".MZF", ".SCW") and its DAT files
// "<name>.*", one data file, or the full path of a typed folder. Each file
// is removed only after its copy is in the ring. Returns the number removed.
int DeleteDrawingFiles(const std::string& cp932Name, BackupRing& ring);

// Restores every entry of the index after the user agreed; entries that
// could not be restored stay in the ring and its index. Returns the number
// restored, -1 when the user said no or there was nothing to restore.
int RestoreFromBackupRing(BackupRing& ring);

}  // namespace dorn
