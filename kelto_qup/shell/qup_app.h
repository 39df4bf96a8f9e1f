#pragma once
// CQupApp: the companion's application object. Before any window exists it
// finds the program folder and the data root, reads the work files that
// Kelto_Dorn left, takes the start mode over once and writes it back as 99,
// and has the job loaded. It owns the run context (with the element table)
// and the display state of the panes, and holds the application commands.
#include <array>
#include <string>
#include <vector>

#include "kelto_qup/engine/run_context.h"
#include "kelto_qup/shell/companion_colors.h"
#include "kelto_qup/shell/host_relay.h"
#include "kelto_qup/shell/path_panes.h"
#include "shared/handover/color_table.h"
#include "shared/handover/drawing_header.h"
#include "shared/handover/file_server_settings.h"
#include "shared/handover/machining_defaults.h"
#include "shared/handover/machining_time_record.h"

namespace qup::shell {

// The application commands.
inline constexpr int kCommandAbout = 57664;
inline constexpr int kCommandNcCopy = 32864;
inline constexpr int kCommandNfsSend = 32866;

// The title text and application name.
inline constexpr char kTitleText[] = "Kelto_Qup ";
// The box of a system record written for another version of the programs.
inline constexpr char kVersionMessage[] = "> Error::Version_Number... ??";

class CQupApp {
 public:
  CQupApp();
  CQupApp(const CQupApp&) = delete;
  CQupApp& operator=(const CQupApp&) = delete;

  // The start-up, in order (see qup_app.cpp). Faults of work files are listed
  // in the message list once the view shows it.
  void InitApplication();

  // The work files of ReadStartFiles: "$@@@.@@@", "$COLOR.@@@", the centring
  // table with "$Cps_Post.@@@", the controller text and "$DEF_KAKO2.@@@".
  void ReadStartFiles();
  // "$@@@.@@@" in the program folder from the record in memory. Only a record
  // that was read is written back: a missing one is never replaced by a
  // record of defaults that Kelto_Dorn would then take for its own.
  bool WriteDrawingHeader();
  // "$EDIT.@@@": unit, second and drawing name and extension of the file the
  // editor opens; a missing file keeps the names.
  void ReadEditFile();
  void SetDefaultColors();
  void ReadMachiningDefaults();
  // "$KP_TIME.@@@": the record the system record names gives the run its
  // time factor and tool-change time.
  void ReadMachiningTimeRecords();
  // The drawing's ".tcm" under the drawing name given.
  void ReadToolComments(const std::string& drawingNameCp932);
  void PumpMessages();
  // Runs the About box, the NC data copy or the network-drive send.
  void OnCommand(int commandId);

  // The system record in memory is the run's (one storage).
  handover::DrawingHeader& Header() { return run.job.Header; }
  int StartMode() const { return run.job.Header.startMode; }
  int SubMode() const { return run.job.Header.subMode; }
  // True for the start modes that use the element stream of the hand-over.
  static bool ModeUsesJob(int startMode);

  HostRelay host;
  RunContext run{host};
  handover::ColorTable colors{};
  PenTable pens{};
  handover::FileServerSettings fileServer{};
  handover::MachiningDefaults machiningDefaults{};
  handover::MachiningTimeTable timeRecords{};
  handover::MachiningTimeRecord activeTimeRecord{};
  PathPanes panes{colors, pens};
  bool headerWasRead = false;
  bool versionMismatch = false;

 private:
  void FindFolders();
  void ReadCentringTable();
  void ReadControllerText();
  void Note(const platform::FileResult& result);
};

}  // namespace qup::shell
