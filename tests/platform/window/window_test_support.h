#pragma once
// A fixture that installs a fresh headless backend for each test.
#include <gtest/gtest.h>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"

namespace windowtest {

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override { backend_ = &platform::headless::InstallHeadlessBackend(); }
  void TearDown() override { platform::UninstallBackend(); }
  platform::headless::HeadlessBackend& backend() { return *backend_; }

 private:
  platform::headless::HeadlessBackend* backend_ = nullptr;
};

}  // namespace windowtest
