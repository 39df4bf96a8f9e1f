#include "tests/support/shown_texts.h"

#include "platform/text.h"

namespace testsupport {

std::vector<std::string> ShownMessageTexts(const platform::headless::HeadlessBackend& backend) {
  std::vector<std::string> texts;
  for (const auto& box : backend.MessageBoxes()) texts.push_back(platform::Cp932ToUtf8(box.request.text));
  return texts;
}

}  // namespace testsupport
