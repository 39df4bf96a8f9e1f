#pragma once
// Folder lists for the choosers: the user folders of a folder, without the
// program's own folders ("_DBS", "_ANA", "_ATC", "_CPS", "_BAK", "FONTS",
// "ExPort"), sorted by name.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/dialog.h"

namespace dorn {

// The user folders of `folder` as CP932 names; empty when it cannot be read.
std::vector<std::string> ListUserFolders(const std::filesystem::path& folder);

// Fills the list or combo `controlId` of `dialog` with the user folders of
// the folder named (CP932) in g_pathBuf. Returns the number of lines.
int ListFoldersToComboBox(platform::Dialog& dialog, int controlId);

}  // namespace dorn
