#include "kelto_dorn/files/user_paths.h"

#include "platform/drives.h"
#include "platform/paths.h"
#include "platform/settings_store.h"

namespace dorn {

namespace {
constexpr char kSettingsProgram[] = "Kelto_Dorn";
}

std::optional<std::filesystem::path> ResolveUserPath(std::string_view cp932Path) {
  if (cp932Path.size() >= 2 && cp932Path[1] == ':') {
    const platform::SettingsStore settings(kSettingsProgram);
    return platform::ResolveDrivePath(settings, cp932Path);
  }
  if (!cp932Path.empty() && (cp932Path[0] == '/' || cp932Path[0] == '\\')) return platform::NativePath(cp932Path);
  return platform::ResolvePath(platform::DataRoot(), cp932Path);
}

bool IsUnsafeFileName(std::string_view name) {
  if (name.empty() || name == "." || name.find("..") != std::string_view::npos) return true;
  // Byte by byte over CP932: a "\" that is the second byte of a two-byte
  // character is part of that character.
  for (std::size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
      ++i;
      continue;
    }
    if (c == '/' || c == '\\' || c == ':' || c < 0x20) return true;
  }
  return false;
}

}  // namespace dorn
