#pragma once
// Start-up and shutdown of Kelto_Dorn: folders and settings files before any
// window exists, the exit question with the save, the release of the figure
// store, and the application's small boxes (about, drawing size, dialog
// colours).
#include <string>

#include "platform/record_file.h"

namespace dorn {

class CKelDoc;

// Program folder and data root, the stale busy word deleted, the database,
// backup and work folders made, the system record and colours read (first
// run: the sample unit), the figure store and pens made, and the box-hole,
// post, machining-default and finishing-pass settings read. Returns 1.
int StartupSystem();

// Asks " 終了しても良いですか ??..." in the message dialog. On OK the drawing is
// saved; when that fails the user is asked whether to close anyway and may
// stay. Then the resources are released and the system record is written
// with both mode words 99. Returns 0 when the program may close, 1 when it
// stays open.
int ExitSystem(CKelDoc& document);

// Frees the pens, the segment blocks and every figure record.
void ReleaseSystemResources();

// Processes pending window events; long loops call it.
void PumpMessages();

// The program-wide dialog colours of a colour style (1-12); any other value
// is taken as both background and text colour.
void SetDialogColors(int style);

// The about box with the version text.
int OnAppAbout();

// The text of the drawing-size box (CP932): text records, the figures of
// layers 1-32, the curve figures and the current layer's origin count.
std::string DrawingSizeText();
int OnShowDrawingSize();

// "$Box_Ana.@@@" (56 bytes) and "$UrvoOikomi.@@@" (80 bytes).
void ReadBoxHoleSettings();
platform::FileResult WriteBoxHoleSettings();
void ReadFinishPassSettings();

}  // namespace dorn
