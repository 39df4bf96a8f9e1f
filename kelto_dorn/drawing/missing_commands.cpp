// Ids whose family is not installed: see missing_commands.h.
#include "kelto_dorn/drawing/missing_commands.h"

#include <string>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/error_box.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

namespace {

void ShowMissing(const std::string& name) {
  constexpr unsigned kInformationBox = 0x40;
  SignalBeep();
  platform::ShowMessageBox(platform::Sjis("「") + name + platform::Sjis("」はまだこのシステムにありません。図面は変更されません。"),
                           std::string_view(), kInformationBox);
}

}  // namespace

bool CallOtherFamily(int id, const std::function<void(int)>& entry) {
  if (entry) {
    entry(id);
  } else {
    ShowMissing(platform::Sjis("コマンド ") + std::to_string(id));
  }
  return true;
}

}  // namespace dorn
