// The backup ring of deleted files: see backup_ring.h.
#include "kelto_dorn/files/backup_ring.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#include "kelto_dorn/files/drawing_folders.h"
#include "kelto_dorn/files/file_listing.h"
#include "kelto_dorn/files/files_messages.h"
#include "kelto_dorn/files/files_state.h"
#include "kelto_dorn/files/user_paths.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"

namespace dorn {

namespace fs = std::filesystem;

namespace {

constexpr char kIndexName[] = "_V0000.@@@";
const char* const kDrawingExtensions[] = {".KWD", ".KWQ", ".KSE", ".MZF", ".SCW"};

// Copies a whole file; false (and no target) when any byte failed.
bool CopyWholeFile(const fs::path& from, const fs::path& to) {
  std::vector<std::uint8_t> bytes;
  if (!platform::ReadWholeFile(from, bytes).ok()) return false;
  return platform::WriteFileAtomic(to, bytes.data(), bytes.size()).ok();
}

}  // namespace

fs::path BackupFolder() { return platform::ProgramFolder() / "_BAK"; }
fs::path BackupIndexPath() { return BackupFolder() / kIndexName; }

fs::path BackupCopyPath(int entry) {
  char name[32];
  std::snprintf(name, sizeof name, "_V%04d.BAK", entry + 1);
  return BackupFolder() / name;
}

bool BackupRing::SaveToBackupRing(int state, const fs::path& file) {
  if (Count() >= kBackupRingCapacity) {
    if (!fullShown_) ShowFilesMessage(platform::Sjis("∇削除ファイルの保存は無理です"));
    fullShown_ = true;
    return false;
  }
  const std::string path = platform::SystemName(file);
  if (path.size() >= sizeof BackupIndexEntry{}.path) return false;  // a path the index cannot hold
  std::error_code ec;
  fs::create_directories(BackupFolder(), ec);
  if (!CopyWholeFile(file, BackupCopyPath(Count()))) return false;
  BackupIndexEntry entry;
  entry.state = state;
  platform::SetFieldText(entry.path, path);
  entries_.push_back(entry);
  return true;
}

bool BackupRing::Restore(int k) {
  BackupIndexEntry& entry = entries_[static_cast<std::size_t>(k)];
  if (entry.state == kBackupStateFree) return false;
  const fs::path target = platform::NativePath(platform::FieldText(entry.path));
  std::error_code ec;
  fs::create_directories(target.parent_path(), ec);
  if (!CopyWholeFile(BackupCopyPath(k), target)) return false;
  entry.state = kBackupStateFree;
  return true;
}

bool BackupRing::ReadIndex(std::string* message) {
  entries_.clear();
  std::vector<std::uint8_t> bytes;
  std::error_code ec;
  if (!fs::exists(BackupIndexPath(), ec)) return true;
  const platform::FileResult read = platform::ReadWholeFile(BackupIndexPath(), bytes);
  const std::size_t size = sizeof(BackupIndexEntry);
  if (!read.ok() || bytes.size() % size != 0 || bytes.size() / size > kBackupRingCapacity) {
    if (message) *message = read.ok() ? "the index has a wrong size" : read.message;
    return false;
  }
  std::vector<BackupIndexEntry> entries(bytes.size() / size);
  std::memcpy(entries.data(), bytes.data(), bytes.size());
  for (const BackupIndexEntry& e : entries) {
    const bool terminated = std::memchr(e.path, '\0', sizeof e.path) != nullptr;
    if (!terminated || e.state < kBackupStateFree || e.state > kBackupStateTyped) {
      if (message) *message = "the index holds a damaged entry";
      return false;
    }
  }
  entries_ = std::move(entries);
  return true;
}

bool BackupRing::WriteBackupIndex() const {
  // Entry k keeps its copy _V(k+1): free entries stay in place as free so
  // that the numbering holds.
  std::size_t used = entries_.size();
  while (used > 0 && entries_[used - 1].state == kBackupStateFree) --used;
  std::error_code ec;
  if (used == 0) {
    fs::remove(BackupIndexPath(), ec);
    return true;
  }
  fs::create_directories(BackupFolder(), ec);
  return platform::WriteFileAtomic(BackupIndexPath(), entries_.data(), used * sizeof(BackupIndexEntry)).ok();
}

void PurgeBackupFolder() {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(BackupFolder(), ec)) {
    const std::string name = entry.path().filename().string();
    const bool copy = name.size() == 10 && name.compare(0, 2, "_V") == 0 && name.compare(6, 4, ".BAK") == 0;
    if (copy || name == kIndexName) fs::remove(entry.path(), ec);
  }
}

namespace {

int SaveAndRemove(int state, const fs::path& file, BackupRing& ring) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return 0;
  if (!ring.SaveToBackupRing(state, file)) {
    ShowFilesMessage(platform::Sjis("削除ファイルを保存できないため削除しません\n") + platform::SystemName(file));
    return 0;
  }
  return fs::remove(file, ec) ? 1 : 0;
}

}  // namespace

int DeleteDrawingFiles(const std::string& name, BackupRing& ring) {
  int removed = 0;
  if ((FileListKind & kFileListTyped) != 0) {
    const auto path = ResolveUserPath(name);
    return path ? SaveAndRemove(kBackupStateTyped, *path, ring) : 0;
  }
  if (IsUnsafeFileName(name)) return 0;
  if ((FileListKind & 0xF) == kFileListData) return SaveAndRemove(kBackupStateData, platform::ResolvePath(DatFolder(), name), ring);
  for (const char* extension : kDrawingExtensions)
    removed += SaveAndRemove(kBackupStateDrawing, platform::ResolvePath(SegFolder(), name + extension), ring);
  for (const ListedFile& file : ListFolder(DatFolder(), name + ".*"))
    if (!file.folder) removed += SaveAndRemove(kBackupStateData, platform::ResolvePath(DatFolder(), file.name), ring);
  return removed;
}

int RestoreFromBackupRing(BackupRing& ring) {
  std::string damage;
  if (!ring.ReadIndex(&damage)) {
    ShowFilesMessage(platform::Sjis("削除ファイルの記録が壊れています: 復帰しません\n") + platform::Utf8ToCp932(damage));
    return -1;
  }
  std::string question;
  for (const BackupIndexEntry& e : ring.Entries())
    if (e.state != kBackupStateFree) question += platform::FieldText(e.path) + "\n";
  if (question.empty()) return -1;
  question += platform::Sjis("\n※ ファイルを復帰しても宜しいですか ???");
  if (!AskFilesQuestion(question)) return -1;
  int restored = 0, failed = 0;
  for (int k = 0; k < ring.Count(); ++k) {
    if (ring.Entries()[static_cast<std::size_t>(k)].state == kBackupStateFree) continue;
    ring.Restore(k) ? ++restored : ++failed;
  }
  if (failed == 0) {
    PurgeBackupFolder();
    ring.Clear();
  } else {
    ring.WriteBackupIndex();
    ShowFilesMessage(platform::Sjis("復帰できなかったファイルは保存したままです"));
  }
  return restored;
}

}  // namespace dorn
