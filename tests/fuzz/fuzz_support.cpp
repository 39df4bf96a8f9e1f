#include "tests/fuzz/fuzz_support.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "platform/headless/headless_backend.h"
#include "platform/paths.h"

namespace fuzz {

namespace fs = std::filesystem;

namespace {

struct Folder {
  fs::path path;
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "kelto-fuzz-XXXXXX").string();
    if (char* made = mkdtemp(pattern.data()))
      path = made;
    else
      std::abort();  // nowhere to put the files: nothing can be fuzzed
    setenv("KELTO_HOME", path.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (path / ".config").c_str(), 1);
    platform::ResetProgramFolder();
    platform::ResetDataRoot();
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
};

}  // namespace

const fs::path& ProgramFolder() {
  static Folder folder;
  return folder.path;
}

void WriteInput(const fs::path& path, std::span<const std::uint8_t> bytes) {
  std::error_code ec;
  if (bytes.empty()) {
    fs::remove(path, ec);
    return;
  }
  fs::create_directories(path.parent_path(), ec);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

HeadlessGuard::HeadlessGuard() { platform::InstallBackend(std::make_unique<platform::headless::HeadlessBackend>()); }

HeadlessGuard::~HeadlessGuard() { platform::UninstallBackend(); }

std::vector<std::span<const std::uint8_t>> SplitParts(const std::uint8_t* data, std::size_t size, std::size_t count) {
  std::vector<std::span<const std::uint8_t>> parts;
  const auto* sep = reinterpret_cast<const std::uint8_t*>(kPartSeparator.data());
  const std::uint8_t* begin = data;
  const std::uint8_t* end = data + size;
  while (parts.size() + 1 < count) {
    const std::uint8_t* hit = std::search(begin, end, sep, sep + kPartSeparator.size());
    if (hit == end) break;
    parts.emplace_back(begin, hit);
    begin = hit + kPartSeparator.size();
  }
  parts.emplace_back(begin, end);
  parts.resize(count);
  return parts;
}

}  // namespace fuzz
