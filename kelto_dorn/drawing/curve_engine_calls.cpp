// Calls into the other engines: see curve_engine_calls.h.
#include "kelto_dorn/drawing/curve_engine_calls.h"

#include <cstdio>
#include <string>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/command_state.h"
#include "kelto_dorn/app/drawing_hooks.h"
#include "kelto_dorn/app/error_box.h"
#include "kelto_dorn/app/view_access.h"
#include "kelto_dorn/drawing/drawing_state.h"
#include "platform/frame.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

void ShowErrorBoxCall(int code) {
  if (g_commandEngines.showErrorBox) {
    g_commandEngines.showErrorBox(code);
  } else {
    SignalBeep();
  }
}

void SetActiveCommandCall(int id, int press) {
  if (g_commandEngines.setActiveCommand) {
    g_commandEngines.setActiveCommand(id, press);
    return;
  }
  if (press != 0) g_curCommand = id;
  if (platform::Frame* frame = GetAppMainWnd()) frame->SetCommandPressed(id, press != 0);
}

void ResetCommandInputCall() {
  if (g_commandEngines.resetCommandInput) {
    g_commandEngines.resetCommandInput();
    return;
  }
  g_selectionList.fill(kNone);
  g_commandStep = 0;
  g_pickState = 0;
  g_pickIndex = 0;
}

void EraseRubberBandCall() {
  if (g_commandEngines.eraseRubberBand) g_commandEngines.eraseRubberBand();
}

void ShowCommandNotYet(int id, const char* what) {
  SignalBeep();
  char text[160];
  const std::string subject = what != nullptr ? platform::Sjis(what) : platform::Sjis(" この曲線コマンドはまだ使えません ");
  std::snprintf(text, sizeof text, "%s (%d)", subject.c_str(), id);
  platform::ShowMessageBox({text, "", platform::MessageButtons::Ok, platform::MessageIcon::Information});
}

bool CallOperation(bool installed) {
  if (!installed) SignalBeep();
  return installed;
}

}  // namespace dorn
