// The tool database's file work: see tool_folders.h.
#include "kelto_dorn/tooldb/tool_folders.h"

#include <system_error>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/files/folder_lists.h"
#include "kelto_dorn/tooldb/db_messages.h"
#include "kelto_dorn/tooldb/db_selection.h"
#include "kelto_dorn/tooldb/folder_names.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {
namespace {

namespace fs = std::filesystem;

constexpr int kMessageCannotDelete = 0;
constexpr int kMessageFileError = 1;
constexpr int kMessageSaveEmpty = 90;
constexpr int kMessageNotSaved = 99;

bool MakeFolder(const std::optional<fs::path>& folder) {
  if (!folder) return false;
  std::error_code ec;
  fs::create_directories(*folder, ec);
  return fs::is_directory(*folder, ec);
}

}  // namespace

bool RemoveDatabaseFile(const fs::path& file) {
  std::error_code ec;
  if (!fs::exists(file, ec)) return true;
  if (fs::remove(file, ec)) return true;
  PutPathInTextBuffer(file);
  ShowMessage(kMessageCannotDelete);
  return false;
}

bool RemoveDatabaseFolder(const fs::path& folder) {
  std::error_code ec;
  if (!fs::exists(folder, ec)) return true;
  if (fs::remove(folder, ec)) return true;
  PutPathInTextBuffer(folder);
  ShowMessage(kMessageCannotDelete);
  return false;
}

void PutPathInTextBuffer(const fs::path& path) { platform::SetFieldText(g_textBuffer, platform::SystemName(path)); }

SaveOutcome SaveToolFile(const DocToolTable& table, ToolFolderState& state) {
  const std::string base = platform::FieldText(g_dbSelection.baseName);
  const std::string tool = platform::FieldText(g_dbSelection.toolName);
  if (!state.modified || base.empty() || tool.empty()) return SaveOutcome::Nothing;
  if (state.readFailed || state.count < 0) {
    ShowMessage(kMessageNotSaved);
    return SaveOutcome::Refused;
  }
  if (state.count == 0) {
    if (ShowMessage(kMessageSaveEmpty) != kAnswerYes) return SaveOutcome::Refused;
    state.copyError = false;
  }
  if (state.copyError) {
    ShowMessage(kMessageNotSaved);
    return SaveOutcome::Refused;
  }
  MakeToolFolder(base, tool);
  const platform::FileResult written = WriteToolFile(table, state.count, base, tool);
  if (!written.ok()) {
    const auto path = ToolFilePath(base, tool);
    PutPathInTextBuffer(path ? *path : fs::path(platform::DiskName(tool)));
    ShowMessage(kMessageFileError);
    return SaveOutcome::Failed;
  }
  state.modified = false;
  return SaveOutcome::Saved;
}

std::string ChooseListedName(const std::vector<std::string>& listed, std::string_view current) {
  if (listed.empty()) return {};
  if (current.empty()) return listed.front();
  for (const std::string& name : listed) {
    if (name == current) return name;
  }
  auto lower = [](std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
      const auto c = static_cast<unsigned char>(out[i]);
      if (platform::IsCp932LeadByte(c)) {
        ++i;  // the second byte is no letter of its own
      } else if (c >= 'A' && c <= 'Z') {
        out[i] = static_cast<char>(c - 'A' + 'a');
      }
    }
    return out;
  };
  const std::string wanted = lower(current);
  for (const std::string& name : listed) {
    if (lower(name) == wanted) return name;
  }
  return listed.back();
}

std::vector<std::string> ListBases() { return ListUserFolders(DbsFolderPath()); }

std::vector<std::string> ListToolFolders(std::string_view base) {
  const auto folder = BaseFolderPath(base);
  if (!folder) return {};
  return ListUserFolders(*folder);
}

bool MakeBaseFolder(std::string_view base) { return MakeFolder(BaseFolderPath(base)); }

bool MakeToolFolder(std::string_view base, std::string_view tool) { return MakeFolder(ToolFolderPath(base, tool)); }

bool CopyBaseToolFolders(std::string_view from, std::string_view to, ToolFolderState& state) {
  for (const std::string& tool : ListToolFolders(from)) {
    if (!MakeToolFolder(to, tool)) continue;  // a name this system cannot use stays behind
    const auto source = ToolFilePath(from, tool);
    const auto target = ToolFilePath(to, tool);
    if (!source || !target) continue;
    std::vector<std::uint8_t> bytes;
    const platform::FileResult read = platform::ReadWholeFile(*source, bytes);
    if (read.missing()) continue;  // a tool folder without records: the empty folder is its copy
    platform::FileResult written = read;
    if (read.ok()) written = platform::WriteFileAtomic(*target, bytes.data(), bytes.size());
    if (!written.ok()) {
      PutPathInTextBuffer(read.ok() ? *target : *source);
      ShowMessage(kMessageFileError);
      state.copyError = true;
      return false;
    }
  }
  return true;
}

bool RenameDatabaseFolder(const fs::path& parent, std::string_view oldName, std::string_view newName) {
  if (!IsSafeFolderName(oldName) || !IsSafeFolderName(newName)) return false;
  const fs::path oldPath = platform::ResolvePath(parent, oldName);
  const fs::path newPath = parent / platform::DiskName(newName);
  std::error_code ec;
  if (!fs::is_directory(oldPath, ec)) return false;
  const auto existing = platform::FindExistingIgnoreCase(newPath);
  // A folder of that name, in any case, is another folder unless it is this one.
  if (existing && !fs::equivalent(*existing, oldPath, ec)) return false;
  fs::rename(oldPath, newPath, ec);
  return !ec;
}

bool DeleteToolFolder(std::string_view base, std::string_view tool) {
  const auto file = ToolFilePath(base, tool);
  const auto folder = ToolFolderPath(base, tool);
  if (!file || !folder) return false;
  if (!RemoveDatabaseFile(*file)) return false;
  return RemoveDatabaseFolder(*folder);
}

bool DeleteBase(std::string_view base, const std::vector<std::string>& toolFolders) {
  const auto folder = BaseFolderPath(base);
  if (!folder) return false;
  bool all = true;
  for (const std::string& tool : toolFolders) all = DeleteToolFolder(base, tool) && all;
  return RemoveDatabaseFolder(*folder) && all;
}

platform::FileResult BackupDatabaseFolder(std::string_view folder) {
  platform::FileResult result;
  const fs::path source = platform::ResolvePath(platform::DataRoot(), folder);
  const fs::path target =
      platform::ResolvePath(platform::ProgramFolder(), platform::Sjis("退避")) / platform::DiskName(folder);
  std::error_code ec;
  if (!fs::exists(source, ec)) return result;
  fs::create_directories(target, ec);
  if (!ec) {
    fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  }
  if (ec) {
    result.status = platform::FileStatus::WriteError;
    result.message = target.string() + ": the database could not be copied before the import: " + ec.message();
  }
  return result;
}

}  // namespace dorn
