#pragma once
// What every test shares: a temporary program folder and the fixture folder.
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace testsupport {

namespace fs = std::filesystem;

// tests/fixtures/<relative> in the source tree.
fs::path FixturePath(const std::string& relative);

// The folder holding the built executables (Kelto_Dorn, Kelto_qup).
fs::path BinaryFolder();

// A fresh temporary folder, removed at the end of the test.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// A test whose program folder (KELTO_HOME) and data root are a fresh
// temporary folder, and whose settings store lives there too.
class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  const fs::path& home() const { return home_->path(); }

 private:
  std::unique_ptr<TempFolder> home_;
};

}  // namespace testsupport
