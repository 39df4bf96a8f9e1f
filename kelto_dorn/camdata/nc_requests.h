#pragma once
// NC run requests: build the hand-over, save the drawing and start the
// companion program with a (start mode, sub-mode) pair. Used by the Execute
// menu (for the current machining definition), the NC data creation and NC
// data check dialogs, and the view commands of the CAM data that the main
// window routes here.
#include <functional>

#include "kelto_dorn/camdata/cam_services.h"

namespace dorn {

// View command ids of the CAM data.
inline constexpr int kCmdExecuteGraphic = 33042;
inline constexpr int kCmdExecuteDataCreation = 33044;
inline constexpr int kCmdExecuteDataMap = 33045;
inline constexpr int kCmdMachiningOrder = 32806;
inline constexpr int kCmdNcDataCheck = 32809;
inline constexpr int kCmdPostSettings = 32819;

// Builds the hand-over with a builder of its own. A failed build shows why
// and gives false: nothing was written. What the build left out is listed
// in one box.
bool BuildHandover(const CamServices& services, int pitInClassification);

// Builds, saves the drawing, runs `beforeStart` (which may refuse the start
// with false) and starts the companion. The companion is never started on a
// failed build. Returns true when it was started.
bool BuildAndStart(const CamServices& services, int pitInClassification, int startMode, int subMode,
                   const std::function<bool()>& beforeStart = {});

// The Execute menu: the current machining definition alone. It is stored,
// its steps become the machining order (the first step alone for a wire),
// the hand-over is built without pit-in classification, the drawing saved,
// the data-map output setting cleared and the companion started. The working
// definition and its slot are the same afterwards; a four-axis wire makes
// its surface the current one. Nothing happens without a working definition.
bool RunCamJob(const CamServices& services, int startMode, int subMode);

// One function per view command (the post settings, 32819, is the post
// settings dialog itself).
void OnExecuteCommand(const CamServices& services, int commandId);  // 33042, 33044, 33045, 32806, 32809
void OnMachiningOrder(const CamServices& services);                 // 32806
void OnNcDataCheck(const CamServices& services);                    // 32809
void OnPostSettings();                                              // 32819

// Installs the commands above into the command engines' table: the Execute
// menu, the machining order and the NC data check as camDataRun (the last
// two also as entries of their own, for the definition list's run button),
// the post settings as postSettingsDialog. `services` is asked at each
// command, so that the commands work on the document of that moment.
void InstallCamDataCommands(std::function<CamServices()> services);

}  // namespace dorn
