#include "kelto_dorn/tooldb/process_folders.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "kelto_dorn/files/folder_lists.h"
#include "kelto_dorn/tooldb/folder_names.h"
#include "kelto_dorn/tooldb/hole_process_record.h"
#include "platform/paths.h"
#include "platform/record_file.h"

namespace dorn {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kNamePartLimit = 62;
constexpr const char* kCapsuleFile = "$Capsule.@@2";
constexpr const char* kOldCapsuleFile = "$Capsule.@@@";

const char* RootOf(int mode) { return mode == kProcessFolderMode ? "_ANA" : mode == kCapsuleFolderMode ? "_CPS" : nullptr; }

fs::path FolderPath(int mode, const std::string& folder) {
  return platform::ResolvePath(platform::DataRoot(), std::string(RootOf(mode)) + "\\" + folder);
}

fs::path UndoPath(int mode) {
  return platform::ResolvePath(platform::ProgramFolder(), mode == kProcessFolderMode ? "$UNDO.@@@" : "$UNDO.@@2");
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (prefix.size() > text.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  }
  return true;
}

void AddOnce(std::vector<std::string>& list, const std::string& name) {
  for (const std::string& s : list) {
    if (StartsWithNoCase(s, name)) return;
  }
  list.push_back(name);
}

std::string SecondPart(const std::string& name) {
  const std::string head = name.substr(0, kNamePartLimit);
  const std::size_t first = head.find('_');
  if (first == std::string::npos) return {};
  const std::size_t second = head.find('_', first + 1);
  if (second == std::string::npos) return {};
  return head.substr(first + 1, second - first - 1);
}

}  // namespace

std::vector<std::string> ListProcessFolders(int mode) {
  if (RootOf(mode) == nullptr) return {};
  std::vector<std::string> names = ListUserFolders(platform::ResolvePath(platform::DataRoot(), RootOf(mode)));
  std::sort(names.begin(), names.end());
  return names;
}

ProcessNameParts SplitProcessNames(const std::vector<std::string>& folders) {
  ProcessNameParts parts;
  for (const std::string& name : folders) {
    const std::string head = name.substr(0, kNamePartLimit);
    const std::size_t first = head.find('_');
    if (first == std::string::npos) continue;
    AddOnce(parts.firsts, head.substr(0, first));
    if (head.find('_', first + 1) != std::string::npos) AddOnce(parts.seconds, SecondPart(name));
  }
  std::sort(parts.firsts.begin(), parts.firsts.end());
  std::sort(parts.seconds.begin(), parts.seconds.end());
  return parts;
}

std::vector<std::string> FilterProcessFolders(const std::vector<std::string>& folders, const std::string& first,
                                              const std::string& second) {
  std::vector<std::string> kept;
  for (const std::string& name : folders) {
    if (!first.empty() && name.rfind(first + "_", 0) != 0) continue;
    if (!second.empty() && SecondPart(name) != second) continue;
    kept.push_back(name);
  }
  return kept;
}

bool DeleteProcessFolder(int mode, const std::string& folder, ProcessUndo& undo) {
  if (RootOf(mode) == nullptr || !IsSafeFolderName(folder)) return false;
  const fs::path dir = FolderPath(mode, folder);
  std::string fileName = mode == kProcessFolderMode ? kHoleProcessFileName : kCapsuleFile;
  std::error_code ec;
  if (mode == kCapsuleFolderMode && !fs::exists(dir / fileName, ec) && fs::exists(dir / kOldCapsuleFile, ec)) {
    fileName = kOldCapsuleFile;
  }
  std::vector<std::uint8_t> bytes;
  if (!platform::ReadWholeFile(dir / fileName, bytes).ok()) return false;
  // Without its undo copy the deletion could not be taken back: refused.
  if (!platform::WriteFileAtomic(UndoPath(mode), bytes.data(), bytes.size()).ok()) return false;
  fs::remove_all(dir, ec);
  if (ec) return false;
  undo = ProcessUndo{true, mode, folder, fileName};
  return true;
}

bool UndoProcessDeletion(ProcessUndo& undo) {
  if (!undo.deleted) return false;
  std::vector<std::uint8_t> bytes;
  if (!platform::ReadWholeFile(UndoPath(undo.mode), bytes).ok()) return false;
  const fs::path dir = FolderPath(undo.mode, undo.folder);
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec || !platform::WriteFileAtomic(dir / undo.fileName, bytes.data(), bytes.size()).ok()) return false;
  undo.deleted = false;
  return true;
}

bool RenameProcessFolder(int mode, const std::string& from, const std::string& to) {
  if (RootOf(mode) == nullptr || !IsSafeFolderName(from) || !IsSafeFolderName(to)) return false;
  const fs::path target = FolderPath(mode, to);
  std::error_code ec;
  if (fs::exists(target, ec)) return false;
  fs::rename(FolderPath(mode, from), target, ec);
  return !ec;
}

}  // namespace dorn
