#include "kelto_dorn/files/files_state.h"

#include <cstring>

#include "kelto_dorn/files/dxf_writer.h"

namespace dorn {

int g_deleteMode = 0;
int g_fileCopyMode = 0;
std::array<int, 4096> g_pickedItems = [] {
  std::array<int, 4096> picks{};
  picks.fill(0xFFFF);
  return picks;
}();
int g_pickedItemCount = 0;
char g_copyTarget[256] = {};
int g_copyTargetKind = 0;
int g_copyRename = 0;
int g_renameMode = 0;
char g_typedFolder[512] = {};
char g_lastTypedPattern[512] = {};

void ResetFilesState() {
  g_deleteMode = g_fileCopyMode = 0;
  g_pickedItems.fill(0xFFFF);
  g_pickedItemCount = 0;
  std::memset(g_copyTarget, 0, sizeof g_copyTarget);
  g_copyTargetKind = g_copyRename = g_renameMode = 0;
  std::memset(g_typedFolder, 0, sizeof g_typedFolder);
  std::memset(g_lastTypedPattern, 0, sizeof g_lastTypedPattern);
  ResetDxfExportState();
}

}  // namespace dorn
