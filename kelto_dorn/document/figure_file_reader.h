#pragma once
// Reads a ".MZF" figure file into the figure tables. The file holds its
// figures table by table, so a chunk is read straight behind the count of the
// table the last record went to and checked in place; records of another
// table go on through a small staging buffer. A record with a layer outside
// 0-31 or a value that is not a number is not stored.
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
