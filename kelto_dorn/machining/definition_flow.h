#pragma once
// The definition commands: a menu command chooses the kind, the view prompts
// for the curves the definition machines, the first pick numbers it, then the
// kind's dialog opens. Whenever the dialog needs more geometry it ends with a
// pick code; the view prompts, writes the picked key where ApplyPickedFigure
// says and reopens the dialog. A store code stores the definition; 321 and
// 345 store it and move on to the previous or next stored definition.
//
// The flow is a re-entrant state machine: RunMachiningCommand starts it, the
// pick handler (DefinitionCurvePick) enters DefineMachining again after every
// pick with g_definitionPickStep advanced. Its state is in machining_state.h.
//
// The dialogs, the document's tables and saving live above this folder; they
// are reached through g_definitionFlow, which the program installs.
#include <array>
#include <functional>

namespace dorn {

class DefinitionSlots;
class DocAtcTable;

// The definition commands of the view.
namespace define_cmd {
inline constexpr int kContour = 32959;
inline constexpr int kHole = 32960;
inline constexpr int kWire = 32961;
inline constexpr int kAxis25 = 32962;
inline constexpr int kSurface3Axis = 32963;
inline constexpr int kModel = 32964;
inline constexpr int kProgramNumber = 32965;
inline constexpr int kDefinitionList = 32966;
inline constexpr int kScrew = 32967;
inline constexpr int kTaper = 32968;
inline constexpr int kDefaults = 33092;
inline constexpr int kChangeMachine = 33168;
inline constexpr int kHelicalHole = 33188;
inline constexpr int kDeepHole = 33189;
inline constexpr int kCapsule = 33190;
inline constexpr int kCharContour = 33203;
inline constexpr int kNcDataCreation = 32806;
inline constexpr int kNcDataCheck = 32809;
}  // namespace define_cmd

// End codes of the definition dialogs.
namespace define_end {
inline constexpr int kStore = 1;
inline constexpr int kCancel = 2;
inline constexpr int kStorePrevious = 321;
inline constexpr int kStoreNext = 345;
}  // namespace define_end

// The eleven dialog runners.
enum class DefinitionRunner {
  Contour,
  Taper,
  CharContour,
  Axis25,
  Surface3Axis,
  Model,
  Screw,
  Hole,
  HelicalHole,
  DeepHole,
  Wire,
};
inline constexpr int kRunnerCount = 11;

// The runner of a definition command, or -1.
int RunnerOfCommand(int command);
// The command that defines a kind (re-editing), or 0 for a kind without one.
int CommandOfKind(int kind);

// What the flow needs from the subsystems above it. An empty entry is not in
// the program yet.
struct DefinitionFlowServices {
  DefinitionSlots* definitions = nullptr;  // the document's 512 slots
  DocAtcTable* atc = nullptr;
  std::function<void()> saveDrawing;
  // Resets the current figure and the working surface.
  std::function<void()> resetFigureAndSurface;
  // The shared definition dialog, for a kind whose own dialog has not joined:
  // runs modally and returns its end code.
  std::function<int(DefinitionRunner)> openFrame;
  // Each kind's own dialog, filled as the kinds join; returns its end code.
  std::array<std::function<int()>, kRunnerCount> kindDialogs;
  // The X/Y point input of the wire flow: title and labels (UTF-8), the two
  // preset values; false when cancelled, else the typed values.
  std::function<bool(const char* title, const char* xLabel, const char* yLabel, double& x, double& y)> pointInput;
  // The definition list, run modally from `action` (0xF100 edit, 0xF200
  // copy, 0xF300 delete): its end code, the action it ended in left in
  // `action`, the chosen rows in g_selectionList.
  std::function<int(int& action)> definitionList;
  // The capsule dialog on the working definition: its end code.
  std::function<int()> capsuleDialog;
};
extern DefinitionFlowServices g_definitionFlow;

// Starts a definition command; returns what DefineMachining returns, or 0
// when nothing started.
int RunMachiningCommand(int command);

// One step of the definition state machine for `command`.
int DefineMachining(int command);

// The pick handler of the definition commands: after a click in pick state
// 50 (picked: a curve was hit, g_curCurveIndex names it) or the click that
// ends the picks (picked false).
void DefinitionCurvePick(bool picked);

// Runs the kind's dialog: 1 store (or a store-and-move), -1 cancelled, 0 a
// pick was requested (or nothing to do).
int RunDefineDialog(DefinitionRunner runner);

// Writes the last pick into the working definition by the pick step; mode 0
// handles every step, mode 9 only the DRAW step.
void ApplyPickedFigure(int mode);

// Re-edits stored slot `slot`, which the working record already holds.
void EditMachiningDefinition(int slot);

// The wire's point input: 0 start, 1 end, 2 scale centre; 1 when cancelled.
int InputWirePoint(int which);

// Leaves the definition flow's state as before any command.
void ResetDefinitionFlow();

}  // namespace dorn
