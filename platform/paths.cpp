#include "platform/paths.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <optional>

#include "platform/text.h"

namespace platform {
namespace {

std::mutex g_pathMutex;
std::optional<fs::path> g_programFolder;
std::optional<fs::path> g_dataRoot;
std::optional<fs::path> g_executableFolder;

bool EqualIgnoreCase(std::string_view a, std::string_view b) {
  // ASCII letters only: the full-width and kana names the system uses have
  // no case, and Windows compared them byte for byte too.
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

// The entry of `folder` named `name` whatever its case: the exact name when it
// exists, else the first entry that matches ignoring case.
std::optional<fs::path> MatchInFolder(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  fs::path exact = folder / name;
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
  if (ec) return std::nullopt;
  for (const auto& entry : it) {
    if (EqualIgnoreCase(entry.path().filename().string(), name)) return folder / entry.path().filename();
  }
  return std::nullopt;
}

// The folder of the running executable (takes no lock).
fs::path RunningExecutableFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return fs::current_path();
  return exe.parent_path();
}

}  // namespace

fs::path ExecutableFolder() {
  {
    std::lock_guard<std::mutex> lock(g_pathMutex);
    if (g_executableFolder) return *g_executableFolder;
  }
  return RunningExecutableFolder();
}

void SetExecutableFolder(const fs::path& folder) {
  std::lock_guard<std::mutex> lock(g_pathMutex);
  if (folder.empty()) {
    g_executableFolder.reset();
  } else {
    g_executableFolder = folder;
  }
}

const fs::path& ProgramFolder() {
  std::lock_guard<std::mutex> lock(g_pathMutex);
  if (!g_programFolder) {
    const char* home = std::getenv("KELTO_HOME");
    g_programFolder = (home && *home) ? fs::path(home) : RunningExecutableFolder();
  }
  return *g_programFolder;
}

void ResetProgramFolder() {
  std::lock_guard<std::mutex> lock(g_pathMutex);
  g_programFolder.reset();
}

const fs::path& DataRoot() {
  {
    std::lock_guard<std::mutex> lock(g_pathMutex);
    if (g_dataRoot) return *g_dataRoot;
  }
  return ProgramFolder();
}

void SetDataRoot(const fs::path& root) {
  std::lock_guard<std::mutex> lock(g_pathMutex);
  g_dataRoot = root;
}

void ResetDataRoot() {
  std::lock_guard<std::mutex> lock(g_pathMutex);
  g_dataRoot.reset();
}

std::string DiskName(std::string_view cp932Name) { return Cp932ToUtf8(cp932Name); }

std::string SystemName(const fs::path& diskPath) { return Utf8ToCp932(diskPath.string()); }

fs::path NativePath(std::string_view cp932Path) {
  // Split on '\\' and '/' byte by byte, but a 0x5C that is the second byte of
  // a double-byte character is part of the name, not a separator.
  fs::path result;
  std::string part;
  bool absolute = !cp932Path.empty() && (cp932Path[0] == '\\' || cp932Path[0] == '/');
  auto flush = [&] {
    if (!part.empty()) result /= DiskName(part);
    part.clear();
  };
  for (std::size_t i = 0; i < cp932Path.size(); ++i) {
    auto c = static_cast<unsigned char>(cp932Path[i]);
    if (IsCp932LeadByte(c) && i + 1 < cp932Path.size()) {
      part += cp932Path[i];
      part += cp932Path[++i];
    } else if (c == '\\' || c == '/') {
      flush();
    } else {
      part += static_cast<char>(c);
    }
  }
  flush();
  return absolute ? fs::path("/") / result : result;
}

std::optional<fs::path> FindExistingIgnoreCase(const fs::path& p) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(p, ec))) return p;
  fs::path current = p.is_absolute() ? p.root_path() : fs::path();
  for (const auto& component : p.relative_path()) {
    std::string name = component.string();
    if (name == "." || name == "..") {
      current /= component;
      continue;
    }
    auto match = MatchInFolder(current, name);
    if (!match) return std::nullopt;
    current = *match;
  }
  return current;
}

fs::path ResolvePath(const fs::path& base, std::string_view cp932Relative) {
  fs::path relative = NativePath(cp932Relative);
  fs::path current = relative.is_absolute() ? fs::path("/") : base;
  bool matching = true;  // once a component is missing, the rest is kept as written
  for (const auto& component : relative.relative_path()) {
    if (matching) {
      if (auto match = MatchInFolder(current, component.string())) {
        current = *match;
        continue;
      }
      matching = false;
    }
    current /= component;
  }
  return current;
}

}  // namespace platform
