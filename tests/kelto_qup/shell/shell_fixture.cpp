#include "tests/kelto_qup/shell/shell_fixture.h"

#include <fstream>
#include <sstream>

#include "platform/backend.h"
#include "platform/paths.h"
#include "platform/record_file.h"
#include "platform/text.h"

namespace qup::shell::test {

void ShellTest::SetUp() {
  ProgramFolderTest::SetUp();
  backend_ = &platform::headless::InstallHeadlessBackend();
  platform::headless::InstallHeadlessPrinting();
}

void ShellTest::TearDown() {
  companion_.reset();
  platform::UninstallPrintService();
  platform::UninstallBackend();
  ProgramFolderTest::TearDown();
}

void ShellTest::WriteHeader(const handover::DrawingHeader& header) {
  ASSERT_TRUE(handover::WriteDrawingHeader(home() / handover::kSystemRecordFileName, header).ok());
}

handover::DrawingHeader ShellTest::HeaderOnDisk() const {
  handover::DrawingHeader h;
  EXPECT_TRUE(platform::ReadRecord(home() / handover::kSystemRecordFileName, h).ok());
  return h;
}

Companion& ShellTest::Start() {
  companion_ = std::make_unique<Companion>();
  companion_->Show();
  return *companion_;
}

void ShellTest::Dispatch() {
  view().Paint();
  ASSERT_TRUE(view().HasTimer(kStartTimer)) << "the first paint starts the timer";
  view().TickTimer(kStartTimer);
}

std::vector<std::string> ShellTest::Boxes() const {
  std::vector<std::string> texts;
  for (const auto& box : backend_->MessageBoxes()) texts.push_back(platform::Cp932ToUtf8(box.request.text));
  return texts;
}

std::vector<std::string> ShellTest::ListLines() {
  std::vector<std::string> lines;
  auto& list = view().listBox();
  for (int i = 0; i < list.GetCount(); ++i) lines.push_back(platform::Cp932ToUtf8(list.GetString(i)));
  return lines;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace qup::shell::test
