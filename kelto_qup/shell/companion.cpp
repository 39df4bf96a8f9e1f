#include "kelto_qup/shell/companion.h"

namespace qup::shell {

Companion::Companion() {
  app.InitApplication();
  window = platform::CreateFrame();
  frame = std::make_unique<CMainFrame>(app, doc, *window);
  frame->PreCreateWindow();
  frame->OnCreate();
  view = std::make_unique<CQupView>(app, doc, *window);
  frame->Attach(*view);
}

Companion::~Companion() {
  // The view goes before the frame's window it draws in.
  view.reset();
  frame.reset();
  window.reset();
}

void Companion::Show() {
  window->Show();
  frame->OnActivate();
  view->SetWindowShown(true);
  window->UpdateToolBars();
}

}  // namespace qup::shell
