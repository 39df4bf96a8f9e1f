#pragma once
// The tool database's file work without a window: saving the open tool
// folder, making, copying, renaming and deleting bases and tool folders, and
// the copy of a database folder into "退避" that an import makes first.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/record_file.h"

namespace dorn {

class DocToolTable;

// The open tool folder as the editor keeps it.
struct ToolFolderState {
  int count = 0;           // records in slots 0..count-1
  bool modified = false;   // the tool file is written only while set
  bool copyError = false;  // a base copy failed: no tool file is written
  bool readFailed = false; // the tool file exists but could not be read: never written over
};

enum class SaveOutcome {
  Nothing,  // nothing to save (not modified, or no base or tool folder)
  Saved,
  Refused,  // a message said why (99, or No to 90)
  Failed,   // the file could not be written (message 1 with its path)
};

// Writes the open tool folder of the selection: nothing while unmodified or
// without both names; a negative count or the copy error state shows message
// 99; a count of 0 asks message 90 first (Yes also clears the copy error
// state). A tool file that could not be read is never written over (message
// 99). A failed write shows message 1 with the path and keeps the modified
// flag set, so a later save still carries the edits.
SaveOutcome SaveToolFile(const DocToolTable& table, ToolFolderState& state);

// Puts a path into the shared text buffer (CP932) for the messages that name it.
void PutPathInTextBuffer(const std::filesystem::path& path);

// The tool database's bases, and the tool folders of one base, as CP932
// names sorted by name; empty when the folder cannot be read.
std::vector<std::string> ListBases();
std::vector<std::string> ListToolFolders(std::string_view base);

// The name a list offers for `current`: the listed spelling of it (a name
// differing only in the case of its letters is that folder), the first
// entry when `current` is empty, the last when it is not listed; empty for an
// empty list.
std::string ChooseListedName(const std::vector<std::string>& listed, std::string_view current);

// Removes a file or an empty folder of a database; what cannot be removed
// shows message 0 with its path (false). A missing one is no error.
bool RemoveDatabaseFile(const std::filesystem::path& file);
bool RemoveDatabaseFolder(const std::filesystem::path& folder);

// Makes the folder of a base, or of a tool folder in a base (an existing
// folder is no error). False for a refused name or a folder that cannot be made.
bool MakeBaseFolder(std::string_view base);
bool MakeToolFolder(std::string_view base, std::string_view tool);

// Copies every tool folder of `from` into `to` (folders made, tool files
// copied whole). A tool folder without a tool file is copied as an empty
// folder. A tool file that cannot be read shows message 1 with its path,
// sets the copy error state and stops. Returns false then.
bool CopyBaseToolFolders(std::string_view from, std::string_view to, ToolFolderState& state);

// Renames the folder `oldName` in `parent` to `newName`. Fails (false) for a
// refused name, a missing folder, or a new name that another folder has
// already, whatever its case; the old folder then stays as it was.
bool RenameDatabaseFolder(const std::filesystem::path& parent, std::string_view oldName, std::string_view newName);

// Removes a tool folder: its tool file (message 0 with the path when that
// fails, and the folder stays) and then the folder.
bool DeleteToolFolder(std::string_view base, std::string_view tool);
// Removes every listed tool folder of a base and then the base folder
// (message 0 with the path for what cannot be removed).
bool DeleteBase(std::string_view base, const std::vector<std::string>& toolFolders);

// Copies <data root>\<folder> with everything in it into <program
// folder>\退避\<folder>, replacing older copies, and returns only when done.
// A missing database folder has nothing to copy and is no error.
platform::FileResult BackupDatabaseFolder(std::string_view folder);

}  // namespace dorn
