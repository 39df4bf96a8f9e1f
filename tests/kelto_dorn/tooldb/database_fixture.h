#pragma once
// A temporary data root with the headless backend for the database tests:
// tool folders and machines made from small records, the files read back.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "kelto_dorn/tooldb/atc_table.h"
#include "kelto_dorn/tooldb/tool_record.h"
#include "kelto_dorn/tooldb/tool_table.h"
#include "platform/headless/headless_backend.h"
#include "tests/support/test_support.h"

namespace dorn::test {

namespace fs = std::filesystem;

// A tool record with a name (UTF-8) and a diameter; the other values follow
// from `seed`, with at most four decimals, as the CSV keeps them.
ToolRecord SampleTool(const std::string& nameUtf8, float diameter, int seed = 0);

using testsupport::ReadFileBytes;

class DatabaseTest : public testsupport::ProgramFolderTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  platform::headless::HeadlessBackend& backend() { return *backend_; }
  fs::path ToolFile(const std::string& base, const std::string& tool) const;
  fs::path AtcFile(const std::string& machine) const;
  // Writes the records as the tool folder's file (folders made).
  void WriteToolFolder(const std::string& base, const std::string& tool, const std::vector<ToolRecord>& tools);
  // Writes rows as the machine's ATC file (folder made).
  void WriteMachine(const std::string& machine, const std::vector<AtcRecord>& rows);
  // The texts of the message boxes shown so far, as UTF-8.
  std::vector<std::string> Shown() const;
  bool WasShown(const std::string& utf8Part) const;

  DocToolTable tools_;
  DocAtcTable atc_;

 private:
  platform::headless::HeadlessBackend* backend_ = nullptr;
};

}  // namespace dorn::test
