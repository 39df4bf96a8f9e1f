#pragma once
// Program-wide state of the file management: the delete and copy modes of
// the file list, the user's picks in pick order, the copy target, the mode
// of the name dialog and the shared path buffer; the import kind, the file
// list kind and the print options are words of the system record.
//
// Defined in files_state.cpp; ResetFilesState() brings it back to its state
// before start-up (start-up and the tests call it).
#include <array>
#include <cstdint>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/command_state.h"

namespace dorn {

// The shared 1024-byte path buffer: the search pattern of the list helpers,
// and the full path the CAD file list and the data-edit dialog choose.
inline constexpr char (&g_pathBuffer)[kPathBufSize] = g_pathBuf;

// g_drawingHeader +352: 1 BMI, 2 DXF, 3 IGES, 4 DRN, 5 NC program, 6 point
// list in the low four bits; 0x8002 the DXF output mode of the CAD file list.
inline std::int32_t& ImportFileKind = g_drawingHeader.cadImportKind;
// g_drawingHeader +304: 0 drawings, 1 data files, bit 0x8000 a typed folder.
inline std::int32_t& FileListKind = g_drawingHeader.fileListKind;
// g_drawingHeader +344: low byte 'R' all / 'S' both ends; 0x1000 black, 0x2000 dark.
inline std::int32_t& PrintOptions = g_drawingHeader.printOptions;

inline constexpr int kFileListDrawings = 0;
inline constexpr int kFileListData = 1;
inline constexpr int kFileListTyped = 0x8000;

// 0 off, 1 delete mode, 2 deletion confirmed within the running execution.
extern int g_deleteMode;
// The file list's copy mode (not the transforms' g_copyMode): 0 off, 1 copy
// mode, 2 copy target chosen within the running execution.
extern int g_fileCopyMode;
// The list rows the user picked, in the order picked (0xFFFF: none).
inline constexpr int kPickedItemLimit = 4092;
extern std::array<int, 4096> g_pickedItems;
extern int g_pickedItemCount;
// The copy target folder (CP932), ending in "\" when built from the lists.
extern char g_copyTarget[256];
extern int g_copyTargetKind;
// 1: each copied data file asks its new name.
extern int g_copyRename;
// The mode of the name dialog: see rename_dialog.h; in a copy 0 no joining,
// 1 join (the next file opens the joined target), 0x8001 joining.
extern int g_renameMode;
// The typed folder of the file lists and the last typed pattern (CP932).
extern char g_typedFolder[512];
extern char g_lastTypedPattern[512];

void ResetFilesState();

}  // namespace dorn
