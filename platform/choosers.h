#pragma once
// The standard choosers: open and save file, folder, colour, font and the
// printer set-up. Every one returns nothing when the user cancelled. Paths
// and names are CP932 system names (see platform/paths.h for disk names).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/color.h"
#include "platform/device_context.h"

namespace platform {

struct FileFilter {
  std::string name;                   // CP932, "図面 (*.MZF)"
  std::vector<std::string> patterns;  // "*.MZF"
};

// Filters written as the system's tables write them: "name|patterns|name|patterns||",
// patterns separated by ';'.
std::vector<FileFilter> ParseFileFilters(std::string_view cp932);

struct FileChooserRequest {
  bool save = false;
  std::string title;
  std::vector<FileFilter> filters;
  std::string folder;            // initial folder
  std::string fileName;          // initial name
  std::string defaultExtension;  // added to a saved name without one ("MZF")
  bool multiple = false;         // open form: several files may be chosen (ChooseFiles)
  bool overwritePrompt = true;   // save form: asks before an existing file is chosen
};

std::optional<std::string> ChooseFile(const FileChooserRequest& request);
// The open form with several files: every chosen path, none when cancelled.
std::vector<std::string> ChooseFiles(const FileChooserRequest& request);
std::optional<std::string> ChooseFolder(std::string_view titleCp932, std::string_view initialFolderCp932);
std::optional<Color> ChooseColor(Color initial);
std::optional<Font> ChooseFont(const Font& initial);

struct PrinterSetup {
  std::string printerName;  // CP932; empty: the default printer or a PDF file
  bool landscape = false;
  int copies = 1;
};
std::optional<PrinterSetup> ChoosePrinter(const PrinterSetup& initial);

}  // namespace platform
