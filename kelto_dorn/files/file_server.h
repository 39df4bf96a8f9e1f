#pragma once
// The data root on a file server: "$FileServer.@@@" in the program folder
// (the record start-up reads) and the change of the data root in force.
#include <string>

#include "shared/handover/file_server_settings.h"

namespace dorn {

struct FileServerChoice {
  bool enabled = false;
  int driveIndex = -1;  // 0 = A:\ ... 25 = Z:\, -1 none
  std::string folder;   // CP932, without the drive
};

// Registers the choice: the server folder is the drive letter's mapped
// folder with the typed folder under it. The record is written first; only
// when it is on disk do the record in memory and the data root change, and
// the standard folders and the current drawing's folders are made there.
// False with the message (CP932) when nothing was changed.
bool RegisterFileServer(const FileServerChoice& choice, std::string& message);

}  // namespace dorn
