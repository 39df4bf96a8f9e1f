#include "kelto_dorn/files/folder_lists.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "kelto_dorn/app/command_state.h"
#include "platform/paths.h"

namespace dorn {

namespace {

bool IsProgramFolder(const std::string& name) {
  static const char* const kOwn[] = {"_DBS", "_ANA", "_ATC", "_CPS", "_BAK", "FONTS", "ExPort"};
  for (const char* own : kOwn) {
    if (name.size() == std::strlen(own) &&
        std::equal(name.begin(), name.end(), own, [](char a, char b) { return std::toupper(a) == std::toupper(b); })) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::vector<std::string> ListUserFolders(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (!entry.is_directory(ec)) continue;
    const std::string name = platform::SystemName(entry.path().filename());
    if (!name.empty() && name[0] != '.' && !IsProgramFolder(name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

int ListFoldersToComboBox(platform::Dialog& dialog, int controlId) {
  const std::string folder(g_pathBuf, strnlen(g_pathBuf, sizeof g_pathBuf));
  dialog.ResetContent(controlId);
  const std::vector<std::string> names = ListUserFolders(platform::NativePath(folder));
  for (const std::string& name : names) dialog.AddItem(controlId, name);
  return static_cast<int>(names.size());
}

}  // namespace dorn
