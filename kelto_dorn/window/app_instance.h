#pragma once
// CKelApp's window half: InitInstance makes the document, the main frame and
// the view, and every command goes the framework's way through them: the
// view first, then the document, the frame and the application. The
// application's own commands (about box, machining information, drawing
// size, box-hole and time-estimate settings, print set-up) end the chain.
#include <memory>

#include "platform/frame.h"

namespace dorn {

class CKelDoc;
class CMainFrame;
class CKelView;

class CKelApp {
 public:
  CKelApp();
  ~CKelApp();
  CKelApp(const CKelApp&) = delete;
  CKelApp& operator=(const CKelApp&) = delete;

  // The document, the frame with its bars and the view (which loads the
  // drawing of the system record once), shown; false when the frame failed.
  bool InitInstance();

  // The routing of a command and of its state.
  void Route(int id);
  void Update(platform::CommandUpdate& update);

  CKelDoc& Document() { return *document_; }
  CMainFrame& MainFrame() { return *frame_; }
  CKelView& View() { return *view_; }

 private:
  bool OnCommand(int id);
  bool Handles(int id) const;
  bool Available(int id) const;

  std::unique_ptr<CKelDoc> document_;
  std::unique_ptr<CMainFrame> frame_;
  std::unique_ptr<CKelView> view_;
};

}  // namespace dorn
