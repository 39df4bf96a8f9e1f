// Copies of drawing files: see file_copy.h.
#include "kelto_dorn/files/file_copy.h"

#include <system_error>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/files/drawing_folders.h"
#include "kelto_dorn/files/file_listing.h"
#include "kelto_dorn/files/files_state.h"
#include "kelto_dorn/files/folder_lists.h"
#include "kelto_dorn/files/user_paths.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"

namespace dorn {

namespace fs = std::filesystem;

namespace {

constexpr std::uint8_t kEndOfFileMark = 0x1A;
const char* const kDrawingExtensions[] = {".KWD", ".KWQ", ".KSE", ".MZF", ".SCW"};

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::exists(a, ec) && fs::exists(b, ec) && fs::equivalent(a, b, ec);
}

std::string Text(const fs::path& p) { return platform::SystemName(p); }

}  // namespace

JoinedFile::~JoinedFile() {
  if (file_ != nullptr) std::fclose(file_);
}

bool JoinedFile::Open(const fs::path& target) {
  target_ = target;
  file_ = std::fopen(target.c_str(), "wb");
  failed_ = file_ == nullptr;
  return !failed_;
}

bool JoinedFile::Append(const std::vector<std::uint8_t>& bytes) {
  if (file_ == nullptr) return false;
  // Each text file's end-of-file mark is left out; the joined file gets one.
  std::size_t size = bytes.size();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == kEndOfFileMark) {
      size = i;
      break;
    }
  }
  if (std::fwrite(bytes.data(), 1, size, file_) != size) failed_ = true;
  return !failed_;
}

bool JoinedFile::Finish() {
  if (file_ == nullptr) return !failed_;
  if (std::fputc(kEndOfFileMark, file_) == EOF) failed_ = true;
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}

CopyResult CopyOneFile(const fs::path& source, const fs::path& target, JoinedFile* join) {
  std::error_code ec;
  if (!fs::is_regular_file(source, ec)) return CopyResult::kSourceMissing;
  if (SameFile(source, target)) return CopyResult::kRefused;
  std::vector<std::uint8_t> bytes;
  if (!platform::ReadWholeFile(source, bytes).ok()) return CopyResult::kFailed;
  if (join != nullptr) return join->Append(bytes) ? CopyResult::kCopied : CopyResult::kFailed;
  return platform::WriteFileAtomic(target, bytes.data(), bytes.size()).ok() ? CopyResult::kCopied : CopyResult::kFailed;
}

namespace {

std::string CopyTargetText() { return platform::FieldText(g_copyTarget); }

fs::path TargetPath(const std::string& name) {
  const auto folder = ResolveUserPath(CopyTargetText());
  return folder ? platform::ResolvePath(*folder, name) : fs::path();
}

std::string Stopped(CopyResult r, const fs::path& source, const fs::path& target) {
  if (r == CopyResult::kRefused)
    return platform::Sjis("コピー元と同じファイルには書けません !\n") + Text(target);
  if (r == CopyResult::kSourceMissing) return platform::Sjis("コピー元のファイルがありません !\n") + Text(source);
  return platform::Sjis("出力ファイルがＯＰＥＮ出来ません !\n") + Text(target);
}

}  // namespace

CopyRunOutcome CopyDrawingFiles(const std::vector<std::string>& entries, const CopyProgress& progress,
                                const std::function<bool(int, std::string&)>& askName) {
  CopyRunOutcome outcome;
  JoinedFile join;
  std::vector<fs::path> joinedSources;
  const auto stop = [&](CopyResult r, const fs::path& s, const fs::path& t) {
    outcome.completed = false;
    outcome.message = Stopped(r, s, t);
  };
  for (const std::string& entry : entries) {
    if ((FileListKind & kFileListTyped) != 0) {
      const auto source = ResolveUserPath(entry);
      const std::size_t cut = entry.find_last_of("\\:");
      const fs::path target = TargetPath(cut == std::string::npos ? entry : entry.substr(cut + 1));
      if (!source || target.empty()) return stop(CopyResult::kFailed, source.value_or(fs::path()), target), outcome;
      if (progress) progress(Text(*source), Text(target));
      const CopyResult r = CopyOneFile(*source, target);
      if (r != CopyResult::kCopied) return stop(r, *source, target), outcome;
      ++outcome.copied;
    } else if ((FileListKind & 0xF) == kFileListData) {
      std::string name = entry;
      // The name dialog uses the same mode word: the join state is kept here.
      const int joinState = g_renameMode;
      const bool startJoin = joinState == 1;
      if (startJoin) {
        const bool named = !askName || askName(1, name);
        g_renameMode = joinState;
        if (!named) continue;
      } else if (g_copyRename == 1 && joinState == 0 && askName) {
        std::string renamed = name;
        if (askName(0, renamed)) name = renamed;
        g_renameMode = joinState;
      }
      if (IsUnsafeFileName(name)) return stop(CopyResult::kRefused, fs::path(), fs::path(name)), outcome;
      const fs::path source = platform::ResolvePath(DatFolder(), entry);
      if (startJoin) {
        const fs::path target = TargetPath(name);
        // Joining onto one of the files joined would read what it overwrites.
        for (const std::string& other : entries)
          if (SameFile(platform::ResolvePath(DatFolder(), other), target)) return stop(CopyResult::kRefused, source, target), outcome;
        if (target.empty() || !join.Open(target)) return stop(CopyResult::kFailed, source, target), outcome;
        g_renameMode = 0x8001;
      }
      const fs::path target = join.IsOpen() ? join.Target() : TargetPath(name);
      if (progress) progress(Text(source), Text(target));
      const CopyResult r = CopyOneFile(source, target, join.IsOpen() ? &join : nullptr);
      if (r != CopyResult::kCopied) return stop(r, source, target), outcome;
      ++outcome.copied;
    } else {
      for (const char* extension : kDrawingExtensions) {
        const fs::path source = platform::ResolvePath(SegFolder(), entry + extension);
        const fs::path target = TargetPath(entry + extension);
        if (progress) progress(Text(source), Text(target));
        const CopyResult r = CopyOneFile(source, target);
        if (r == CopyResult::kSourceMissing) continue;  // a drawing need not have every file
        if (r != CopyResult::kCopied) return stop(r, source, target), outcome;
        ++outcome.copied;
      }
    }
  }
  if (join.IsOpen() && !join.Finish()) stop(CopyResult::kFailed, fs::path(), join.Target());
  return outcome;
}

bool CopyUnit(const UnitCopy& copy, const CopyProgress& progress, std::string& message) {
  std::error_code ec;
  for (const std::string& second : ListUserFolders(copy.from)) {
    const fs::path from = platform::ResolvePath(copy.from, second);
    const fs::path to = platform::ResolvePath(copy.to, second);
    for (const char* part : {"SEG", "DAT"}) {
      fs::create_directories(platform::ResolvePath(to, part), ec);
      const bool wanted = std::string_view(part) == "SEG" ? copy.segFiles : copy.datFiles;
      if (!wanted) continue;
      const fs::path sourceFolder = platform::ResolvePath(from, part);
      for (const ListedFile& file : ListFolder(sourceFolder, "*.*")) {
        if (file.folder) continue;
        const fs::path source = platform::ResolvePath(sourceFolder, file.name);
        const fs::path target = platform::ResolvePath(platform::ResolvePath(to, part), file.name);
        if (progress) progress(Text(source), Text(target));
        const CopyResult r = CopyOneFile(source, target);
        if (r != CopyResult::kCopied) {
          message = Stopped(r, source, target);
          return false;
        }
      }
    }
  }
  return true;
}

}  // namespace dorn
