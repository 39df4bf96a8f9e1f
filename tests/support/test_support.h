#pragma once
// What every test shares: a temporary program folder and the fixture folder.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace testsupport {

namespace fs = std::filesystem;

// tests/fixtures/<relative> in the source tree.
fs::path FixturePath(const std::string& relative);

// The folder holding the built executables (Kelto_Dorn, Kelto_qup).
fs::path BinaryFolder();

// The whole content of a file as bytes (empty when it cannot be read).
std::string ReadFileBytes(const fs::path& path);
// Writes `bytes` as the whole file, its folder made first.
void WriteFileBytes(const fs::path& path, std::string_view bytes);

// The bytes of records make(0) .. make(count - 1) one after another, as a
// record file stores them.
template <class Make>
std::string RecordBytes(int count, Make make) {
  std::string bytes;
  for (int i = 0; i < count; ++i) {
    const auto record = make(i);
    bytes.append(reinterpret_cast<const char*>(&record), sizeof record);
  }
  return bytes;
}

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
