#pragma once
// The calls the curve commands make into the engines of other families
// (figure command engine, figure and curve operations, machining
// definitions) through their entries in command_engines.h. Each does the
// least sound thing while its entry is not installed.
namespace dorn {

// The numbered user-error box; a beep without the figure engine.
void ShowErrorBoxCall(int code);
// Presses (1) or releases (0) the command's tool button and records it as
// the active command.
void SetActiveCommandCall(int id, int press);
// Back to no command: input area, selection, pick words, prompt 0.
void ResetCommandInputCall();
// Erases the rubber band of the figure engine.
void EraseRubberBandCall();
// Says that a command needs an operation that is not in the program yet
// (the command id names it) and beeps; with `what` (UTF-8) the box names the
// missing part of the command instead.
void ShowCommandNotYet(int id, const char* what = nullptr);
// An operation of another family by name: false (after a beep) when it is
// not installed.
bool CallOperation(bool installed);

}  // namespace dorn
