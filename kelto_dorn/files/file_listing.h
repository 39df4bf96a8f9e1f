#pragma once
// Listing a folder for the file lists: the entries of a search pattern
// ("<folder>\*.MZF", CP932 as the system writes it) with their size and
// local time, and the list lines the dialogs show.
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog.h"

namespace dorn {

struct ListedFile {
  std::string name;  // CP932
  bool folder = false;
  std::uintmax_t size = 0;
  std::tm time{};  // local modification time
};

// The entries of `folder` matching the name pattern (one "*" at most, "?"
// any character, letters ignoring case), sorted by name; names beginning
// "." are left out. A missing folder lists nothing.
std::vector<ListedFile> ListFolder(const std::filesystem::path& folder, std::string_view cp932Pattern);

// Splits "<folder>\<pattern>" (CP932) into the native folder and the pattern.
void SplitSearchPattern(std::string_view cp932, std::filesystem::path& folder, std::string& pattern);

// The line of a listed file: "%-20s\t%7d %04d-%02d-%02d %02d:%02d" and, with
// seconds, ".%02d" after it.
std::string FileListLine(std::string_view name, const ListedFile& file, bool seconds);

// The name a list line stands for: its text up to the first two blanks or tab.
std::string NameOfListLine(std::string_view line);

// True for a "[DIR]" or "[sys]" line.
bool IsFolderLine(std::string_view line);

// Fills the list `controlId` with the entries of the pattern in g_pathBuffer:
// folders as "[DIR]name" (kind 16: bare names without the system's own
// folders), files by name (kind 7 leaves out names whose extension begins
// "LST"). Returns the number of lines.
int ListFilesToListBox(int kind, platform::Dialog& dialog, int controlId);

}  // namespace dorn
