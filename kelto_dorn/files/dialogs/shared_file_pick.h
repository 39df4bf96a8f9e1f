#pragma once
// Picking a shared file: through the outside helper Dravelo when it is in
// the program folder, else the system's file chooser (Kel_Common). The
// chosen path (CP932) is left in g_pathBuffer.
#include <string>
#include <vector>

namespace dorn {

// True when a file was chosen.
bool PickSharedFile();

// The system's file chooser in its open form with several files, or its
// save form; the chosen full paths (CP932), none when cancelled.
std::vector<std::string> KelCommonOpenFiles();
std::string KelCommonSaveFile();

}  // namespace dorn
