#pragma once
// The folders of the named hole processes (<data root>\_ANA) and capsules
// (<data root>\_CPS): the sorted list with the first and second names that
// narrow it, renaming, and deleting with a one-step undo. The undo keeps the
// deleted folder's file whole, in the program folder ("$UNDO.@@@" for a hole
// process, "$UNDO.@@2" for a capsule), and gives it back under its own name.
#include <string>
#include <vector>

namespace dorn {

inline constexpr int kProcessFolderMode = 1;    // hole processes
inline constexpr int kCapsuleFolderMode = 146;  // capsules

// The folder names (CP932) of a mode, sorted; empty for another mode.
std::vector<std::string> ListProcessFolders(int mode);

// The first names (before the first '_') and second names (between the
// first and second '_', both within the first 62 characters), each once,
// compared without regard to case.
struct ProcessNameParts {
  std::vector<std::string> firsts;
  std::vector<std::string> seconds;
};
ProcessNameParts SplitProcessNames(const std::vector<std::string>& folders);

// The folders whose name begins with first + "_" (when first is not empty)
// and whose second part is `second` (when not empty).
std::vector<std::string> FilterProcessFolders(const std::vector<std::string>& folders, const std::string& first,
                                              const std::string& second);

// The last deletion, for one opening of the chooser.
struct ProcessUndo {
  bool deleted = false;
  int mode = 0;
  std::string folder;    // CP932
  std::string fileName;  // the deleted file's own name
};

// Deletes a process or capsule folder after keeping its file as the undo
// copy. Refused (false, nothing deleted) when the copy cannot be written.
bool DeleteProcessFolder(int mode, const std::string& folder, ProcessUndo& undo);

// Makes the folder again with its file as it was deleted; false when the
// undo copy cannot be read or the file not written.
bool UndoProcessDeletion(ProcessUndo& undo);

// Renames a folder; false when the new name is unsafe, taken or refused.
bool RenameProcessFolder(int mode, const std::string& from, const std::string& to);

}  // namespace dorn
