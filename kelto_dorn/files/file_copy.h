#pragma once
// Copies of drawing files: one file to another (or joined onto a target
// that collects several), the copy run over the names a file list
// collected, and the unit backup to and from a drive.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace dorn {

// What a copy reports before each file (source and target, CP932) so that
// the progress box can show them.
using CopyProgress = std::function<void(const std::string& source, const std::string& target)>;

enum class CopyResult { kCopied, kSourceMissing, kRefused, kFailed };

// A join in progress: the target stays open and every further file is
// appended without its end-of-file mark 0x1A; Finish writes one 0x1A.
class JoinedFile {
 public:
  ~JoinedFile();
  bool Open(const std::filesystem::path& target);
  bool IsOpen() const { return file_ != nullptr; }
  const std::filesystem::path& Target() const { return target_; }
  bool Append(const std::vector<std::uint8_t>& bytes);
  bool Finish();

 private:
  std::FILE* file_ = nullptr;
  std::filesystem::path target_;
  bool failed_ = false;
};

// Copies `source` to `target` whole (or appends it to `join` when given).
// A target that is the source itself (or, when joining, that is one of the
// files joined) is refused: writing it would destroy the source.
CopyResult CopyOneFile(const std::filesystem::path& source, const std::filesystem::path& target,
                       JoinedFile* join = nullptr);

struct CopyRunOutcome {
  bool completed = true;  // every file copied (missing drawing files are skipped)
  int copied = 0;
  std::string message;    // CP932: why the run stopped
};

// Copies every collected entry to g_copyTarget by FileListKind: drawings
// (".KWD", ".KWQ", ".KSE", ".MZF", ".SCW" of SEG), data files of DAT (with
// g_copyRename asking each new name, with g_renameMode 1 joined into one
// file named once), or full paths of a typed folder. `askName` is the name
// dialog (true on OK with the name in its argument).
CopyRunOutcome CopyDrawingFiles(const std::vector<std::string>& entries, const CopyProgress& progress,
                                const std::function<bool(int mode, std::string& name)>& askName);

// Copies the SEG and/or DAT files of every second-name folder of a unit
// between the data root and <drive folder>/KELTO_DORN/<unit>. False with a
// message when a file could not be copied (the run stops there).
struct UnitCopy {
  std::filesystem::path from;  // the unit folder copied from
  std::filesystem::path to;    // the unit folder copied to
  bool segFiles = true;
  bool datFiles = true;
};
bool CopyUnit(const UnitCopy& copy, const CopyProgress& progress, std::string& message);

}  // namespace dorn
