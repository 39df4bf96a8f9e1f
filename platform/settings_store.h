#pragma once
// The settings store that stands in for the framework's registry profile
// "dornsystem": an INI file in the user's configuration folder
// ($XDG_CONFIG_HOME or ~/.config, file "dornsystem/<program>.ini"), with the
// list of the four most recent files. Values are UTF-8 text.
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class SettingsStore {
 public:
  // The store of one program ("Kelto_Dorn", "Kelto_qup"), read from its file.
  explicit SettingsStore(std::string_view program);
  // A store kept in a given file (tests).
  static SettingsStore AtFile(const std::filesystem::path& file);

  int GetInt(std::string_view section, std::string_view key, int fallback) const;
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view fallback = {}) const;
  void SetInt(std::string_view section, std::string_view key, int value);
  void SetString(std::string_view section, std::string_view key, std::string_view value);

  // The recent-file list: newest first, at most kRecentFileCount entries.
  static constexpr int kRecentFileCount = 4;
  std::vector<std::string> RecentFiles() const;
  void AddRecentFile(std::string_view path);

  // Writes the file (atomically). Returns false with a message on failure.
  bool Save(std::string* message = nullptr) const;
  const std::filesystem::path& File() const { return file_; }

 private:
  SettingsStore() = default;
  void Load();
  std::filesystem::path file_;
  std::map<std::string, std::map<std::string, std::string>> sections_;
};

// The user's configuration folder for the system.
std::filesystem::path ConfigFolder();

}  // namespace platform
