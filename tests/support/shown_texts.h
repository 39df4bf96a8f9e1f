#pragma once
// What the headless backend showed, read back by the fixtures.
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"

namespace testsupport {

// The texts of the message boxes shown so far, in order, as UTF-8.
std::vector<std::string> ShownMessageTexts(const platform::headless::HeadlessBackend& backend);

}  // namespace testsupport
