#include "kelto_dorn/tooldb/folder_names.h"

#include <string>

#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

bool IsSafeFolderName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (platform::IsCp932LeadByte(c) && i + 1 < name.size()) {
      ++i;  // the second byte belongs to the character
      continue;
    }
    if (c == '\\' || c == '/' || c == '\0') return false;
  }
  return true;
}

std::filesystem::path DbSelectionPath() { return platform::ResolvePath(platform::DataRoot(), "$DBS_NAME.@@@"); }

std::optional<std::filesystem::path> ToolFilePath(std::string_view base, std::string_view tool) {
  if (!IsSafeFolderName(base) || !IsSafeFolderName(tool)) return std::nullopt;
  std::string relative = "_DBS\\";
  relative.append(base).append("\\").append(tool).append("\\$DBS_GEN.@@@");
  return platform::ResolvePath(platform::DataRoot(), relative);
}

std::filesystem::path DbsFolderPath() { return platform::ResolvePath(platform::DataRoot(), "_DBS"); }

std::optional<std::filesystem::path> BaseFolderPath(std::string_view base) {
  if (!IsSafeFolderName(base)) return std::nullopt;
  std::string relative = "_DBS\\";
  relative.append(base);
  return platform::ResolvePath(platform::DataRoot(), relative);
}

std::optional<std::filesystem::path> ToolFolderPath(std::string_view base, std::string_view tool) {
  if (!IsSafeFolderName(base) || !IsSafeFolderName(tool)) return std::nullopt;
  std::string relative = "_DBS\\";
  relative.append(base).append("\\").append(tool);
  return platform::ResolvePath(platform::DataRoot(), relative);
}

std::filesystem::path AtcRootPath() { return platform::ResolvePath(platform::DataRoot(), "_ATC"); }

std::optional<std::filesystem::path> MachineFolderPath(std::string_view machine) {
  if (!IsSafeFolderName(machine)) return std::nullopt;
  std::string relative = "_ATC\\";
  relative.append(machine);
  return platform::ResolvePath(platform::DataRoot(), relative);
}

std::optional<std::filesystem::path> AtcFilePath(std::string_view machine) {
  if (!IsSafeFolderName(machine)) return std::nullopt;
  std::string relative = "_ATC\\";
  relative.append(machine).append("\\$ATC_DBS.@@@");
  return platform::ResolvePath(platform::DataRoot(), relative);
}

}  // namespace dorn
