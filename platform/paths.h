#pragma once
// Folders and paths. The program folder holds settings, hand-over and undo
// files; the data root holds drawings and databases. Paths spelled the way the
// records spell them (CP932 bytes, backslashes) become native paths here.
#include <filesystem>
#include <optional>
#include <string_view>

namespace platform {

namespace fs = std::filesystem;

// The program folder: KELTO_HOME when set, else the folder of the running
// executable. Read once; ResetProgramFolder() forgets it (tests).
const fs::path& ProgramFolder();
void ResetProgramFolder();

// The folder holding the executables (for starting the companion program),
// independent of KELTO_HOME. SetExecutableFolder() stands another folder in
// for it (tests that install a stand-in companion); an empty path returns to
// the folder of the running executable.
fs::path ExecutableFolder();
void SetExecutableFolder(const fs::path& folder);

// The data root: the program folder unless SetDataRoot() named another
// (the file-server record decides this at start-up).
const fs::path& DataRoot();
void SetDataRoot(const fs::path& root);
void ResetDataRoot();

// A relative or absolute path written with backslashes in CP932 bytes, as a
// native path (UTF-8 file names). Never touches the disk.
fs::path NativePath(std::string_view cp932Path);

// base / relative, where an existing file or folder is found whatever the case
// of each name (as Windows did: "TOSNUC.TXT" finds "TOSNUC.txt"). Where no
// existing entry matches, the name is kept as written, so the result can be
// used to create the file.
fs::path ResolvePath(const fs::path& base, std::string_view cp932Relative);

// The existing entry that matches p ignoring case, or nothing.
std::optional<fs::path> FindExistingIgnoreCase(const fs::path& p);

// CP932 file or folder name as it is stored on disk (UTF-8), and back.
std::string DiskName(std::string_view cp932Name);
std::string SystemName(const fs::path& diskPath);

}  // namespace platform
