#pragma once
// A fixture that installs the desktop backend on the off-screen platform.
#include <gtest/gtest.h>

#include "platform/backend.h"
#include "tests/support/dialog_picture_qt.h"

namespace windowtest {

class QtTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testsupport::InstallOffscreenQtBackend("platform_window_qt_tests");
  }
  void SetUp() override {
    if (!platform::HasBackend()) SetUpTestSuite();
  }
};

}  // namespace windowtest
