#pragma once
// A fresh program state for each dialog test, the standard palette with its
// pens, and the headless backend to answer and record dialogs and boxes.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/headless/headless_backend.h"

namespace dorn::test {

class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  platform::headless::HeadlessBackend& backend() { return *backend_; }
  // The texts of the message boxes shown so far, as UTF-8.
  std::vector<std::string> ShownTexts() const;

 private:
  platform::headless::HeadlessBackend* backend_ = nullptr;
};

// Runs `dialog` modelessly on the headless backend for a test to drive, and
// closes it when the test ends.
class OpenDialog {
 public:
  explicit OpenDialog(platform::Dialog& dialog);
  ~OpenDialog();
  platform::headless::DialogDriver& operator*() { return driver_; }
  platform::headless::DialogDriver* operator->() { return &driver_; }

 private:
  platform::Dialog& dialog_;
  platform::headless::DialogDriver driver_;
};

}  // namespace dorn::test
