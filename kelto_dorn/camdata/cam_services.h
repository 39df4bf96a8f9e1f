#pragma once
// What the CAM data requests need from the subsystems above them: the
// document's tables that a build reads, saving the drawing, storing the
// working definition and starting the companion program (the document's),
// and the dialogs of other subsystems that the NC dialogs open. An entry
// that is empty is not in the program yet: its button is shown disabled and
// a call does nothing.
#include <array>
#include <functional>

#include "kelto_dorn/app/definition_index_record.h"
#include "kelto_dorn/surfaces/surface_definition.h"

namespace dorn {

class DefinitionSlots;
class DocAtcTable;
struct FinishPassSettings;

struct CamServices {
  // The tables a build reads (the document's; the surfaces and the
  // finishing-pass settings are program state).
  DefinitionSlots* definitions = nullptr;
  DocAtcTable* atc = nullptr;
  std::array<SurfaceDefinition, kSurfaceSlotCount>* surfaces = nullptr;
  const FinishPassSettings* finishPass = nullptr;

  // Saves the open drawing; false when it was not saved (already shown).
  std::function<bool()> saveDrawing;
  // Starts the companion with (start mode, sub-mode); 0 when it started,
  // else the refusal or failure was shown.
  std::function<int(int startMode, int subMode)> startCompanion;
  // Stores the working definition into its slot (result 1) and saves the
  // drawing; true when stored.
  std::function<bool(int result)> storeDefinition;

  // Dialogs of other subsystems.
  std::function<void(int plotterSelection)> drawingStateDialog;  // drawing state and plotter port
  std::function<void()> machiningInfoDialog;                     // machining information (IDD 241)
  std::function<void()> autoCentringDialog;                      // automatic centring (IDD 336)
  std::function<int()> atcRankDialog;                            // ATC ranking (IDD 330), 1 on "登 録"
  std::function<void()> finishPassDialog;                        // finishing-pass settings (IDD 352)
  std::function<void()> tCodeCommentDialog;                      // T-code comments
  std::function<void(int port)> portSettingDialog;               // serial port settings (IDD 265)
  std::function<void(int mode)> fileListDialog;                  // file list, 1 copy, 2 delete (IDD 249)
};

// True when the services can run a build and start the companion.
bool CanBuild(const CamServices& services);

}  // namespace dorn
