#pragma once
// A fixture that installs the desktop backend on the off-screen platform.
#include <QApplication>
#include <cstdlib>

#include <gtest/gtest.h>

#include "platform/backend.h"
#include "platform/qt/qt_backend.h"

namespace windowtest {

class QtTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);  // no display needed, whatever runs the test
    static int argc = 1;
    static char name[] = "platform_window_qt_tests";
    static char* argv[] = {name, nullptr};
    platform::qt::InstallQtBackend(argc, argv);
  }
  void SetUp() override {
    if (!platform::HasBackend()) SetUpTestSuite();
  }
};

}  // namespace windowtest
