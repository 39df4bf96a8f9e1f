#include "kelto_dorn/files/files_messages.h"

#include <string>

namespace dorn {

int ShowFilesMessage(std::string_view text, platform::MessageIcon icon, platform::MessageButtons buttons) {
  return platform::ShowMessageBox({std::string(text), "", buttons, icon});
}

bool AskFilesQuestion(std::string_view text) {
  return ShowFilesMessage(text, platform::MessageIcon::Question, platform::MessageButtons::YesNo) == platform::kIdYes;
}

}  // namespace dorn
