#pragma once
// Reads a ".MZF" figure file into the figure tables, in chunks through one
// small buffer: every record is checked there (a layer outside 0-31 or a
// value that is not a number is not stored) and copied once into the slot
// behind its table's count.
#include <filesystem>
#include <string>

namespace dorn {

struct FigureFileResult {
  bool found = false;
  int loaded = 0;
  int skipped = 0;  // records with a bad layer or value
  bool endsInsideRecord = false;
  int highestNumber = 0;  // of the layer figures
  std::string error;      // UTF-8; the file could not be read
};

// Figure number 90 marks a figure of table 90 (stored there with number 0);
// any other goes to the table of its layer. A table that would fill up is
// appended to through the store, which refuses and says so once.
FigureFileResult ReadFigureFile(const std::filesystem::path& path);

}  // namespace dorn
