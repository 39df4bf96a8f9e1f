#pragma once
// The start of Kelto_Dorn: the desktop backend, the state reset, start-up
// before any window, the command engines' entries, InitInstance with the
// document, frame and view, and the event loop until the exit question lets
// the window close.
#include <functional>

namespace dorn {

class CKelApp;

struct ProgramHooks {
  // Runs from the event loop once the main window is shown (a test takes its
  // picture and closes it here).
  std::function<void(CKelApp&)> onShown;
};

// Runs the program; returns its exit code (0 after an orderly exit).
int RunKeltoDorn(int& argc, char** argv, const ProgramHooks& hooks = {});

// What RunKeltoDorn does once a backend is installed, up to the event loop:
// every state reset, start-up, the engines, InitInstance. False when the
// main window could not be made.
bool StartKeltoDorn(CKelApp& app);
// Every program-wide state back to before start-up.
void ResetProgramState();
// After the event loop: the figure store is released unless the exit did it.
void FinishKeltoDorn();

// The command engines install their entries (command_engines.h) here as
// they join the program.
void InstallCommandEngines();

}  // namespace dorn
