#pragma once
// Companion: the companion program put together in the order its parts need
// each other: the start-up of the application object (before any window),
// the frame with its menu and tool bars, the document and the view. The
// program's main and the tests build it the same way; the main then runs
// the event loop.
#include <memory>

#include "kelto_qup/shell/main_frame.h"
#include "kelto_qup/shell/qup_app.h"
#include "kelto_qup/shell/qup_doc.h"
#include "kelto_qup/shell/qup_view.h"
#include "platform/frame.h"

namespace qup::shell {

class Companion {
 public:
  // Runs the start-up and makes the windows (on the installed backend).
  Companion();
  ~Companion();
  Companion(const Companion&) = delete;
  Companion& operator=(const Companion&) = delete;

  // Shows the main window; the view's first paint then starts the dispatch.
  void Show();

  CQupApp app;
  CQupDoc doc;
  std::unique_ptr<platform::Frame> window;
  std::unique_ptr<CMainFrame> frame;
  std::unique_ptr<CQupView> view;
};

}  // namespace qup::shell
