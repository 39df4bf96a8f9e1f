// The figure commands that are not in the program yet: see missing_commands.h.
#include "kelto_dorn/drawing/missing_commands.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "kelto_dorn/app/command_engines.h"
#include "kelto_dorn/app/error_box.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace dorn {

namespace {

struct MissingCommand {
  int id;
  const char* text;  // the command's menu or tool-tip text
};

// Sorted by id.
constexpr MissingCommand kMissing[] = {
    {32907, "図形のクリッピング接続（曲線）"},
};

const MissingCommand* Find(int id) {
  const auto* end = std::end(kMissing);
  const auto* it =
      std::lower_bound(std::begin(kMissing), end, id, [](const MissingCommand& m, int v) { return m.id < v; });
  return it != end && it->id == id ? it : nullptr;
}

void ShowMissing(const std::string& name) {
  constexpr unsigned kInformationBox = 0x40;
  SignalBeep();
  platform::ShowMessageBox(platform::Sjis("「") + name + platform::Sjis("」はまだこのシステムにありません。図面は変更されません。"),
                           std::string_view(), kInformationBox);
}

}  // namespace

bool IsMissingCommand(int id) { return Find(id) != nullptr; }

void ReportMissingCommand(int id) {
  const MissingCommand* m = Find(id);
  ShowMissing(m ? platform::Sjis(m->text) : platform::Sjis("コマンド ") + std::to_string(id));
}

bool CallOtherFamily(int id, const std::function<void(int)>& entry) {
  if (entry) {
    entry(id);
  } else {
    ShowMissing(platform::Sjis("コマンド ") + std::to_string(id));
  }
  return true;
}

}  // namespace dorn
