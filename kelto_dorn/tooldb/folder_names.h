#pragma once
// Paths of the database files. Base, tool-folder and machine names come from
// files and records, and each becomes a folder name: a name that is empty, is
// "." or "..", or holds a path separator is refused, so no name can reach
// outside its database folder. The separator test goes character by character:
// 0x5C can be the second byte of a double-byte character and is then part of
// the name.
#include <filesystem>
#include <optional>
#include <string_view>

namespace dorn {

bool IsSafeFolderName(std::string_view cp932Name);

// <data root>\$DBS_NAME.@@@
std::filesystem::path DbSelectionPath();

// <data root>\_DBS\<base>\<tool>\$DBS_GEN.@@@, nothing when a name is refused.
std::optional<std::filesystem::path> ToolFilePath(std::string_view base, std::string_view tool);

// <data root>\_DBS, <data root>\_DBS\<base> and <data root>\_DBS\<base>\<tool>;
// nothing when a name is refused.
std::filesystem::path DbsFolderPath();
std::optional<std::filesystem::path> BaseFolderPath(std::string_view base);
std::optional<std::filesystem::path> ToolFolderPath(std::string_view base, std::string_view tool);

// <data root>\_ATC
std::filesystem::path AtcRootPath();

// <data root>\_ATC\<machine>, and the ATC file in it; nothing when refused.
std::optional<std::filesystem::path> MachineFolderPath(std::string_view machine);
std::optional<std::filesystem::path> AtcFilePath(std::string_view machine);

}  // namespace dorn
