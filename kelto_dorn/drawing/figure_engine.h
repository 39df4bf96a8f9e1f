#pragma once
// The figure command engine: every interactive command of the view that
// builds or edits figures is a re-entrant state machine. ExecuteFigureCommand
// is called once when the command starts and again after every input (the
// view's click handler adds one to the step counter's low bits first); each
// call takes the input that has just arrived, asks for the next one and
// returns. The steps of each command are in the *_commands.cpp files.
namespace dorn {

// Runs one step of command `kind`; -1 when the id has no step here (the pick
// state is then 0), else 0 or a positive value while an input is awaited.
// A command that finishes in continuous mode starts again once this call has
// unwound, so typed figures never nest engine calls.
int ExecuteFigureCommand(int kind);
// Starts a command: input reset, its button pressed, the first step; a
// command cancelled in its first step releases its button again.
void BeginFigureCommand(int kind);
// Back to no command: input area, selection, pick words, rubber band kind,
// prompt 0.
void ResetCommandInput();
// Makes `kind` the active command; press 1 releases the button of the
// command pressed before and presses kind's, press 0 releases kind's.
void SetActiveCommand(int kind, int press);

// The bit of g_commandStep while a figure pick is awaited.
inline constexpr int kStepFigurePick = 0x4000;
inline constexpr int kStepInputMask = 0x3FF;
// The pick state of a command that has finished.
inline constexpr int kPickStateFinished = 0xFFFF;

}  // namespace dorn
