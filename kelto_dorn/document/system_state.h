#pragma once
// Program-wide state of start-up and shutdown: the program folder and data
// root, the file-server record, the box-hole and finishing-pass settings, the
// display flag record "$TMG_FLG.@@@", and the words of the application
// object. (The machining order stored with a drawing is the CAM data's.)
//
// Declared here, defined in system_state.cpp; ResetDocumentState() brings it
// back to the state before start-up (start-up and the tests call it).
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <type_traits>

#include "kelto_dorn/machining/finish_pass_settings.h"
#include "kelto_dorn/machining/machining_state.h"
#include "shared/handover/file_server_settings.h"

namespace dorn {

// FileServerSettings: "$FileServer.@@@", shared with the companion program
// (layout in shared/handover/file_server_settings.h).
using FileServerSettings = handover::FileServerSettings;

// BoxHoleSettings: "$Box_Ana.@@@" in the program folder, 56 bytes, edited by
// the box-hole style dialog (acquisition mode, order, axis, traversal, the
// coordinate tolerance in mm and the show-every-time flag).
struct BoxHoleSettings {
  std::int32_t words[7] = {0, 1, 0, 0, 1, 0, 0};  // +0 .. +24
  std::int32_t spare28 = 0;
  double tolerance = 0.0;   // +32, mm
  std::int32_t word40 = 0;  // 1: the style dialog comes at every BOX operation
  std::int32_t word44 = 0;
  std::int32_t word48 = 0;
  std::int32_t spare52 = 0;
};
static_assert(std::is_standard_layout_v<BoxHoleSettings>);
static_assert(sizeof(BoxHoleSettings) == 56);
static_assert(offsetof(BoxHoleSettings, tolerance) == 32);
static_assert(offsetof(BoxHoleSettings, word40) == 40);
static_assert(offsetof(BoxHoleSettings, word48) == 48);

// The 80-byte finishing-pass record "$UrvoOikomi.@@@", read at start-up
// into g_finishPassRecord (machining_state.h).
using FinishPassRecord = FinishPassSettings;

// "$TMG_FLG.@@@": the 120-byte display flag record (the view settings toggle
// its first word; the CAD exchange reads it). Saved after every drawing save,
// read after every load.
struct DisplayFlagRecord {
  std::int32_t words[30] = {};
};
static_assert(sizeof(DisplayFlagRecord) == 120);

// --- File names (program folder unless said) -------------------------------
using handover::kFileServerFileName;
inline constexpr char kNcExeFileName[] = "$NC_EXE.@@@";
inline constexpr char kFirstRunRecordFileName[] = "$Kelto20.@@@";
inline constexpr char kBoxHoleFileName[] = "$Box_Ana.@@@";
inline constexpr char kFinishPassFileName[] = "$UrvoOikomi.@@@";
inline constexpr char kDisplayFlagFileName[] = "$TMG_FLG.@@@";
inline constexpr char kQupFileName[] = "$QUP.@@@";
inline constexpr char kCompanionProgramName[] = "Kelto_qup";
inline constexpr char kBackupFolderName[] = "_BAK";

// --- State -----------------------------------------------------------------
extern std::filesystem::path g_programFolder;
extern std::filesystem::path g_dataFolder;
extern FileServerSettings g_fileServerSettings;
extern BoxHoleSettings g_boxHoleSettings;
extern DisplayFlagRecord g_displayFlags;

// The version text shown by the about box.
inline constexpr char kVersionText[] = "Kelto_Dorn  Ver 8.52/B ";
extern std::string g_versionText;
// The caption of the message dialog (CP932).
extern std::string g_messageCaption;
// Raised around every modal dialog; a repaint leaves the title alone then.
extern int ModalDepth;
// The process id of the companion started last (0: none yet).
extern int g_companionProcessId;
// Set once the user confirmed the exit; the frame then closes without asking.
extern int g_exitConfirmed;
// The figure number the next drawn figure gets (the view takes it).
extern int g_nextFigureNumber;
// The end index in table 90 of the last loaded curve: where the curve commands
// append the next curve's figures.
extern int g_curveFiguresEnd;
// The two application values cleared at start-up.
extern int g_appValueInt;
extern double g_appValueDouble;

// Everything above, the machining order, the post table, the 3-D model steps
// and the undo ring.
void ResetDocumentState();

}  // namespace dorn
