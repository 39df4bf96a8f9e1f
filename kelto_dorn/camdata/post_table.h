#pragma once
// The main program's post table: the 31 PostDefinition slots of "$POST.@@@"
// in the data root (record 0 the header with the current post and the
// count), the post that the settings dialogs edit (g_currentPost), and the
// value that the spindle-code dialog hands back (g_exchangeValue).
//
// Read at start-up and whenever the post settings dialog opens or is
// cancelled; written only by the dialog's "登 録". The CAM data builder reads
// options of the post that a definition names.
#include "platform/record_file.h"
#include "shared/handover/post_definition.h"

namespace dorn {

extern handover::PostTable g_postTable;
extern int g_currentPost;
// -1 while no spindle code is being asked for; the spindle-code dialog sets
// it to 0 on opening and to the typed code on OK.
extern int g_exchangeValue;

// Record 0's count, limited to the table.
int PostCount();

// Reads "$POST.@@@" of the data root. Missing: the default table (posts 0 and
// 1, current 1, count 2). Damaged: the table is left as it was and the
// result says why. g_currentPost follows record 0 in every case.
platform::FileResult ReadDornPostTable();
// Writes records 0 .. count - 1 to "$POST.@@@" of the data root.
platform::FileResult WriteDornPostTable();

// The post a definition names: 0 (or a number that names no post) is the
// current post of record 0.
const handover::PostDefinition& PostForDefinition(int postNumber);

// Start-up state: the default table, g_currentPost 1, g_exchangeValue -1.
void ResetPostTableState();

}  // namespace dorn
