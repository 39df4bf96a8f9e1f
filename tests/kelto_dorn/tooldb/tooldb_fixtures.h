#pragma once
// The small database files of tests/fixtures/tooldb.
#include <filesystem>
#include <string>

namespace dorn::testing {

inline std::filesystem::path ToolDbFixture(const std::string& name) {
  return std::filesystem::path(TOOLDB_FIXTURE_ROOT) / "tooldb" / name;
}

}  // namespace dorn::testing
