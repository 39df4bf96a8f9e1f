#include "tests/support/test_support.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/paths.h"

namespace testsupport {

fs::path FixturePath(const std::string& relative) {
  return fs::path(KELTO_SOURCE_DIR) / "tests" / "fixtures" / relative;
}

fs::path BinaryFolder() { return fs::path(KELTO_BIN_DIR); }

std::string ReadFileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const fs::path& path, std::string_view bytes) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TempFolder::TempFolder() {
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = fs::temp_directory_path() / ("kelto-test-" + std::to_string(rd()));
    std::error_code ec;
    if (fs::create_directory(candidate, ec)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void ProgramFolderTest::SetUp() {
  home_ = std::make_unique<TempFolder>();
  setenv("KELTO_HOME", home_->path().c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home_->path() / ".config").c_str(), 1);
  platform::ResetProgramFolder();
  platform::ResetDataRoot();
}

void ProgramFolderTest::TearDown() {
  unsetenv("KELTO_HOME");
  platform::ResetProgramFolder();
  platform::ResetDataRoot();
  home_.reset();
}

}  // namespace testsupport
