#include "kelto_dorn/files/file_listing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "kelto_dorn/files/files_state.h"
#include "kelto_dorn/files/user_paths.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace dorn {

namespace fs = std::filesystem;

namespace {

bool IsSystemFolder(std::string_view name) {
  static const char* const kSystem[] = {"_DBS", "_ANA", "_ATC", "_mfc", "_gid", "_spr", "_CPS",
                                        "FONTS", "ExPort", "temp", "_BAK"};
  for (const char* s : kSystem) {
    if (name.size() == std::strlen(s) &&
        std::equal(name.begin(), name.end(), s, [](char a, char b) { return std::toupper(a) == std::toupper(b); }))
      return true;
  }
  return name == platform::Sjis("退避");
}

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// Matches a name against a pattern of "*" and "?", ignoring the case of letters.
bool Matches(std::string_view name, std::string_view pattern) {
  std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || Upper(pattern[p]) == Upper(name[n]))) {
      ++n, ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++, starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1, n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  // "*.*" also lists names without a dot, as the system's lists did.
  return p == pattern.size() || pattern.substr(p) == ".*";
}

std::tm LocalTime(const fs::file_time_type& t) {
  const auto system = std::chrono::time_point_cast<std::chrono::system_clock::duration>(
      t - fs::file_time_type::clock::now() + std::chrono::system_clock::now());
  const std::time_t time = std::chrono::system_clock::to_time_t(system);
  std::tm local{};
  localtime_r(&time, &local);
  return local;
}

}  // namespace

std::vector<ListedFile> ListFolder(const fs::path& folder, std::string_view pattern) {
  std::vector<ListedFile> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = platform::SystemName(entry.path().filename());
    if (name.empty() || name[0] == '.' || !Matches(name, pattern)) continue;
    ListedFile file;
    file.name = name;
    file.folder = entry.is_directory(ec);
    if (!file.folder) file.size = entry.file_size(ec);
    const auto time = entry.last_write_time(ec);
    if (!ec) file.time = LocalTime(time);
    files.push_back(std::move(file));
  }
  std::sort(files.begin(), files.end(), [](const ListedFile& a, const ListedFile& b) { return a.name < b.name; });
  return files;
}

void SplitSearchPattern(std::string_view cp932, fs::path& folder, std::string& pattern) {
  const std::size_t cut = cp932.find_last_of("\\/");
  const std::string_view folderText = cut == std::string_view::npos ? std::string_view() : cp932.substr(0, cut);
  pattern = std::string(cut == std::string_view::npos ? cp932 : cp932.substr(cut + 1));
  if (pattern.empty()) pattern = "*.*";
  const auto resolved = ResolveUserPath(folderText);
  folder = resolved ? *resolved : fs::path();
}

std::string FileListLine(std::string_view name, const ListedFile& file, bool seconds) {
  char line[600];
  const std::tm& t = file.time;
  std::snprintf(line, sizeof line, "%-20.*s\t%7llu %04d-%02d-%02d %02d:%02d", static_cast<int>(name.size()), name.data(),
                static_cast<unsigned long long>(file.size), t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                t.tm_min);
  std::string text(line);
  if (seconds) {
    std::snprintf(line, sizeof line, ".%02d", t.tm_sec);
    text += line;
  }
  return text;
}

std::string NameOfListLine(std::string_view line) {
  const std::size_t blanks = line.find("  ");
  const std::size_t tab = line.find('\t');
  std::string name(line.substr(0, std::min(blanks, tab)));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

bool IsFolderLine(std::string_view line) {
  return line.size() >= 5 && line[0] == '[' && line[4] == ']';
}

int ListFilesToListBox(int kind, platform::Dialog& dialog, int controlId) {
  fs::path folder;
  std::string pattern;
  SplitSearchPattern(std::string_view(g_pathBuffer, strnlen(g_pathBuffer, sizeof g_pathBuffer)), folder, pattern);
  int lines = 0;
  for (const ListedFile& file : ListFolder(folder, pattern)) {
    if (file.folder) {
      if (kind == 16 && IsSystemFolder(file.name)) continue;
      dialog.AddItem(controlId, kind == 16 ? file.name : "[DIR]" + file.name);
    } else {
      if (kind == 16) continue;
      const std::size_t dot = file.name.find('.');
      if (kind == 7 && dot != std::string::npos && file.name.compare(dot + 1, 3, "LST") == 0) continue;
      dialog.AddItem(controlId, file.name);
    }
    ++lines;
  }
  return lines;
}

}  // namespace dorn
