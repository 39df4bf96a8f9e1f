#pragma once
// A companion program for each test: a temporary program folder with the
// work files the test writes, the headless backend recording boxes, dialogs
// and what the view draws, and the companion built on it as main builds it.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "kelto_qup/shell/companion.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/headless_frame.h"
#include "platform/headless/print_headless.h"
#include "shared/handover/drawing_header.h"
#include "tests/support/test_support.h"

namespace qup::shell::test {

namespace fs = std::filesystem;

class ShellTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The system record of a job in the test's program folder.
  void WriteHeader(const handover::DrawingHeader& header);
  handover::DrawingHeader HeaderOnDisk() const;
  // Builds the companion on what the folder holds and shows its window.
  Companion& Start();
  // The first paint and the start timer: the one dispatch of the start mode.
  void Dispatch();
  // The texts of the message boxes and of the message list, as UTF-8.
  std::vector<std::string> Boxes() const;
  std::vector<std::string> ListLines();

  Companion& companion() { return *companion_; }
  platform::headless::HeadlessBackend& backend() { return *backend_; }
  platform::headless::HeadlessFrame& frame() { return *backend_->LastFrame(); }
  platform::headless::HeadlessView& view() { return frame().view(); }

 private:
  platform::headless::HeadlessBackend* backend_ = nullptr;
  std::unique_ptr<Companion> companion_;
};

// Writes bytes as a file.
void WriteFile(const fs::path& path, const std::string& bytes);
std::string ReadFile(const fs::path& path);

}  // namespace qup::shell::test
