#pragma once
// The way back from the command engines, dialogs and document to the one view
// and its frame. The view lives in the window folder, above everything that
// calls it, so it installs these entries when it is created and clears them
// when it goes; an entry that is not installed does nothing (no view: nothing
// to redraw, no device context).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/device_context.h"

namespace platform {
class Frame;
}

namespace dorn {

class CKelView;
struct HoleProcessRecord;
// The one view object; null while no view exists.
extern CKelView* g_pView;

// What the register prints go through, as the open database dialog lists it
// (CP932 names). The current selection and tables are put back afterwards.
struct RegisterPrintLists {
  std::vector<std::string> bases;        // the tool database's bases
  std::vector<std::string> toolFolders;  // the tool folders of the current base
  std::vector<std::string> machines;
  std::vector<std::string> processes;           // the hole processes
  HoleProcessRecord* currentProcess = nullptr;  // the hole process the dialog shows
};

struct ViewAccess {
  // Repaints the whole view now.
  std::function<void()> redrawView;
  // Ends the active command (the command id it names) and clears its pick state.
  std::function<void(int command)> endPick;
  // Sets up a device context for drawing into the view: client size, the
  // isotropic mapping of the view transform, copy pen.
  std::function<void(platform::DeviceContext&)> prepareDrawingDC;
  // A device context on the view outside painting, prepared, for XOR feedback
  // (rubber bands, highlights, the cross-hair); null without a view.
  std::function<std::unique_ptr<platform::DeviceContext>()> viewDC;
  // Re-enters the figure machine with the point already computed.
  std::function<void()> resumePickCommand;
  // Runs the register print dialog and prints with the given print mode
  // (800 tools, 810 hole processes, 820 machine ATC tables).
  std::function<void(int printMode, const RegisterPrintLists& lists)> setupPrinterDC;
  // The main frame, whose tool-bar buttons and title the commands set; null
  // without one.
  std::function<platform::Frame*()> mainFrame;
};
extern ViewAccess g_viewAccess;

// The calls; each does nothing (or returns null) while its entry is empty.
void RedrawView();
void EndPick(int command);
void PrepareDrawingDC(platform::DeviceContext& dc);
std::unique_ptr<platform::DeviceContext> GetViewDC();
void ResumePickCommand();
void SetupPrinterDC(int printMode, const RegisterPrintLists& lists);
platform::Frame* GetAppMainWnd();

void ResetViewAccess();

}  // namespace dorn
