// The way back to the view: see view_access.h.
#include "kelto_dorn/app/view_access.h"

namespace dorn {

CKelView* g_pView = nullptr;
ViewAccess g_viewAccess;

void RedrawView() {
  if (g_viewAccess.redrawView) g_viewAccess.redrawView();
}

void EndPick(int command) {
  if (g_viewAccess.endPick) g_viewAccess.endPick(command);
}

void PrepareDrawingDC(platform::DeviceContext& dc) {
  if (g_viewAccess.prepareDrawingDC) g_viewAccess.prepareDrawingDC(dc);
}

std::unique_ptr<platform::DeviceContext> GetViewDC() { return g_viewAccess.viewDC ? g_viewAccess.viewDC() : nullptr; }

void ResumePickCommand() {
  if (g_viewAccess.resumePickCommand) g_viewAccess.resumePickCommand();
}

void SetupPrinterDC(int printMode, const RegisterPrintLists& lists) {
  if (g_viewAccess.setupPrinterDC) g_viewAccess.setupPrinterDC(printMode, lists);
}

platform::Frame* GetAppMainWnd() { return g_viewAccess.mainFrame ? g_viewAccess.mainFrame() : nullptr; }

void ResetViewAccess() {
  g_pView = nullptr;
  g_viewAccess = ViewAccess{};
}

}  // namespace dorn
