#pragma once
// A fresh kernel for each test: program state reset, the figure store
// started, and the headless backend installed to record message boxes and
// beeps.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/headless/headless_backend.h"

namespace dorn::test {

class KernelTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  platform::headless::HeadlessBackend& backend() { return *backend_; }
  // The texts of the message boxes shown so far (CP932).
  std::vector<std::string> ShownTexts() const;

 private:
  platform::headless::HeadlessBackend* backend_ = nullptr;
};

}  // namespace dorn::test
