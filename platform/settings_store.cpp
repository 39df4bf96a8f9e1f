#include "platform/settings_store.h"

#include <cstdlib>
#include <sstream>
#include <vector>

#include "platform/record_file.h"

namespace platform {
namespace {

std::string Trim(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return std::string(s.substr(b, e - b));
}

constexpr const char* kRecentSection = "Recent File List";

}  // namespace

std::filesystem::path ConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  std::filesystem::path base;
  if (xdg && *xdg) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = std::filesystem::path(home && *home ? home : "/tmp") / ".config";
  }
  return base / "dornsystem";
}

SettingsStore::SettingsStore(std::string_view program) {
  file_ = ConfigFolder() / (std::string(program) + ".ini");
  Load();
}

SettingsStore SettingsStore::AtFile(const std::filesystem::path& file) {
  SettingsStore store;
  store.file_ = file;
  store.Load();
  return store;
}

void SettingsStore::Load() {
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(file_, bytes)) return;  // missing or unreadable: empty store, defaults apply
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string line, section;
  while (std::getline(in, line)) {
    std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#') continue;
    if (t.front() == '[' && t.back() == ']') {
      section = t.substr(1, t.size() - 2);
      continue;
    }
    auto eq = t.find('=');
    if (eq == std::string::npos) continue;
    sections_[section][Trim(std::string_view(t).substr(0, eq))] = Trim(std::string_view(t).substr(eq + 1));
  }
}

int SettingsStore::GetInt(std::string_view section, std::string_view key, int fallback) const {
  std::string text = GetString(section, key);
  if (text.empty()) return fallback;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  return (end && *end == '\0') ? static_cast<int>(v) : fallback;
}

std::string SettingsStore::GetString(std::string_view section, std::string_view key,
                                     std::string_view fallback) const {
  auto s = sections_.find(std::string(section));
  if (s == sections_.end()) return std::string(fallback);
  auto k = s->second.find(std::string(key));
  return k == s->second.end() ? std::string(fallback) : k->second;
}

void SettingsStore::SetInt(std::string_view section, std::string_view key, int value) {
  SetString(section, key, std::to_string(value));
}

void SettingsStore::SetString(std::string_view section, std::string_view key, std::string_view value) {
  // Line breaks would split the entry when read back.
  std::string clean;
  for (char c : value) clean += (c == '\n' || c == '\r') ? ' ' : c;
  sections_[std::string(section)][std::string(key)] = clean;
}

std::vector<std::string> SettingsStore::RecentFiles() const {
  std::vector<std::string> files;
  for (int i = 1; i <= kRecentFileCount; ++i) {
    std::string f = GetString(kRecentSection, "File" + std::to_string(i));
    if (!f.empty()) files.push_back(f);
  }
  return files;
}

void SettingsStore::AddRecentFile(std::string_view path) {
  std::vector<std::string> files{std::string(path)};
  for (auto& f : RecentFiles()) {
    if (f != path && static_cast<int>(files.size()) < kRecentFileCount) files.push_back(f);
  }
  sections_.erase(kRecentSection);
  for (std::size_t i = 0; i < files.size(); ++i) SetString(kRecentSection, "File" + std::to_string(i + 1), files[i]);
}

bool SettingsStore::Save(std::string* message) const {
  std::string text;
  for (const auto& [section, keys] : sections_) {
    text += "[" + section + "]\n";
    for (const auto& [key, value] : keys) text += key + "=" + value + "\n";
    text += "\n";
  }
  std::error_code ec;
  std::filesystem::create_directories(file_.parent_path(), ec);
  FileResult r = WriteFileAtomic(file_, text.data(), text.size());
  if (!r && message) *message = r.message;
  return r.ok();
}

}  // namespace platform
