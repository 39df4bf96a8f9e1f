#pragma once
// The CAD readers by import kind: 1 BMI, 2 DXF, 3 IGES, 4 DRN, 5 NC program,
// 6 point list. Each reads an open file into the selected figure table.
#include <cstdio>
#include <filesystem>
#include <string>

namespace dorn {

// Readers that are not in the program yet: each says so and reads nothing.
bool ReadBmiFile(std::FILE* file);
bool ReadIgesFile(std::FILE* file);
bool ReadDrnFile(std::FILE* file);
bool ReadNcProgramFile(std::FILE* file);
bool ReadPointListFile(std::FILE* file);

// Opens the file, runs the reader of the kind and closes it. False when it
// could not be opened or read (the reader has said why).
bool ReadCadFile(int kind, const std::filesystem::path& file);

}  // namespace dorn
