#pragma once
// The message boxes of the file management (texts CP932).
#include <string_view>

#include "platform/message_box.h"

namespace dorn {

int ShowFilesMessage(std::string_view cp932Text, platform::MessageIcon icon = platform::MessageIcon::Stop,
                     platform::MessageButtons buttons = platform::MessageButtons::Ok);
// A Yes/No question; true for Yes.
bool AskFilesQuestion(std::string_view cp932Text);

}  // namespace dorn
