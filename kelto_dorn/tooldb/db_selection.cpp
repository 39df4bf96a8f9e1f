#include "kelto_dorn/tooldb/db_selection.h"

#include <cstring>

#include "kelto_dorn/tooldb/folder_names.h"
#include "platform/text.h"

namespace dorn {

DbSelectionRecord g_dbSelection{};

namespace {

// Text positions from which typed names are no longer taken (counted from the
// start of the text, leading blanks included): a base or tool folder name keeps
// at most 47 bytes, a machine name at most 56.
constexpr std::size_t kFolderNameEnd = 47;
constexpr std::size_t kMachineNameEnd = 56;

template <std::size_t N>
int SetNameField(char (&field)[N], std::string_view text, std::size_t end, int emptyResult) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  const std::size_t start = i;
  while (i < text.size() && i < end) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (platform::IsCp932LeadByte(c)) {
      if (i + 2 > end || i + 1 >= text.size()) break;  // never split a character
      i += 2;
      continue;
    }
    if (c == ' ' || c == '.' || c == '\0') break;
    ++i;
  }
  platform::SetFieldText(field, text.substr(start, i - start));
  return i == start ? emptyResult : 0;
}

}  // namespace

void ResetDbSelection() { g_dbSelection = DbSelectionRecord{}; }

int ReadDbSelection(platform::FileResult* result) {
  DbSelectionRecord read{};
  platform::FileResult file = platform::ReadRecord(DbSelectionPath(), read);
  if (result != nullptr) *result = file;
  if (!file.ok()) {
    // Missing or damaged: an empty selection; the file itself is left alone.
    g_dbSelection.reserved = 0;
    g_dbSelection.chosenFlags = 0;
    std::memset(g_dbSelection.baseName, 0, sizeof g_dbSelection.baseName);
    std::memset(g_dbSelection.toolName, 0, sizeof g_dbSelection.toolName);
    std::memset(g_dbSelection.machineName, 0, sizeof g_dbSelection.machineName);
    return 1;
  }
  platform::TerminateField(read.baseName);
  platform::TerminateField(read.toolName);
  platform::TerminateField(read.machineName);
  g_dbSelection = read;
  return 0;
}

platform::FileResult WriteDbSelection() { return platform::WriteRecord(DbSelectionPath(), g_dbSelection); }

int SetBaseName(std::string_view text) { return SetNameField(g_dbSelection.baseName, text, kFolderNameEnd, 2); }

int SetToolName(std::string_view text) { return SetNameField(g_dbSelection.toolName, text, kFolderNameEnd, 4); }

int SetMachineName(std::string_view text) { return SetNameField(g_dbSelection.machineName, text, kMachineNameEnd, 4); }

}  // namespace dorn
