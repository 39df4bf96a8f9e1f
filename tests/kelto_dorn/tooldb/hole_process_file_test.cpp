// A hole process read back from its file, and what a damaged file does: the
// caller's record stays as it was, and names that fill their fields are
// ended inside them so no list runs past a field.
#include "kelto_dorn/tooldb/hole_process_file.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/text.h"
#include "tests/support/test_support.h"

namespace dorn {
namespace {

using HoleProcessFileTest = testsupport::ProgramFolderTest;

HoleProcessRecord TwoSteps() {
  HoleProcessRecord p{};
  platform::SetFieldText(p.name, "M10_TAP");
  p.rows[0].atcNumber = 2;
  p.rows[0].diameter = 3.0f;
  platform::SetFieldText(p.rows[0].toolName, "CENTER");
  p.rows[1].atcNumber = 5;
  p.rows[1].diameter = 8.5f;
  p.rows[1].cannedCycle = 83;
  return p;
}

TEST_F(HoleProcessFileTest, ReadsTheRecordItsEditorWrote) {
  const auto path = home() / kHoleProcessFileName;
  ASSERT_TRUE(platform::WriteRecord(path, TwoSteps()));
  HoleProcessRecord read{};
  ASSERT_TRUE(ReadHoleProcessFile(path, read).ok());
  const HoleProcessRecord written = TwoSteps();
  EXPECT_EQ(std::memcmp(&read, &written, sizeof read), 0);
}

TEST_F(HoleProcessFileTest, DamagedFileIsNamedAndChangesNothing) {
  struct Case {
    const char* name;
    std::function<std::vector<char>()> bytes;
    platform::FileStatus status;
  };
  auto whole = [](const std::function<void(HoleProcessRecord&)>& spoil) {
    HoleProcessRecord p = TwoSteps();
    spoil(p);
    std::vector<char> bytes(sizeof p);
    std::memcpy(bytes.data(), &p, sizeof p);
    return bytes;
  };
  const Case cases[] = {
      {"cut short", [&] { return std::vector<char>(sizeof(HoleProcessRecord) - 1, 0); },
       platform::FileStatus::WrongSize},
      {"one byte too many", [&] { return std::vector<char>(sizeof(HoleProcessRecord) + 1, 0); },
       platform::FileStatus::WrongSize},
      {"empty", [&] { return std::vector<char>(); }, platform::FileStatus::WrongSize},
      {"a feed that is not a number",
       [&] { return whole([](HoleProcessRecord& p) { p.rows[1].feed = std::nanf(""); }); },
       platform::FileStatus::ReadError},
      {"an infinite diameter in an unused row",
       [&] { return whole([](HoleProcessRecord& p) { p.rows[7].diameter = INFINITY; }); },
       platform::FileStatus::ReadError},
  };
  const auto path = home() / kHoleProcessFileName;
  const HoleProcessRecord before = TwoSteps();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<char> bytes = c.bytes();
    ASSERT_TRUE(platform::WriteFileAtomic(path, bytes.data(), bytes.size()));
    HoleProcessRecord kept = TwoSteps();
    const platform::FileResult r = ReadHoleProcessFile(path, kept);
    EXPECT_EQ(r.status, c.status);
    EXPECT_NE(r.message.find(kHoleProcessFileName), std::string::npos) << r.message;
    EXPECT_EQ(std::memcmp(&kept, &before, sizeof kept), 0);
  }
  std::filesystem::remove(path);
  HoleProcessRecord kept = TwoSteps();
  EXPECT_TRUE(ReadHoleProcessFile(path, kept).missing());
  EXPECT_EQ(std::memcmp(&kept, &before, sizeof kept), 0);
}

TEST_F(HoleProcessFileTest, NamesThatFillTheirFieldsEndInsideThem) {
  HoleProcessRecord full = TwoSteps();
  std::memset(full.name, 'N', sizeof full.name);
  std::memset(full.rows[0].secName, 'S', sizeof full.rows[0].secName);
  std::memset(full.rows[0].toolName, 'T', sizeof full.rows[0].toolName);
  const auto path = home() / kHoleProcessFileName;
  ASSERT_TRUE(platform::WriteRecord(path, full));
  HoleProcessRecord read{};
  ASSERT_TRUE(ReadHoleProcessFile(path, read).ok());
  EXPECT_EQ(std::strlen(read.name), sizeof read.name - 1);
  EXPECT_EQ(std::strlen(read.rows[0].secName), sizeof read.rows[0].secName - 1);
  EXPECT_EQ(std::strlen(read.rows[0].toolName), sizeof read.rows[0].toolName - 1);
  EXPECT_EQ(read.rows[1].diameter, 8.5f);
}

}  // namespace
}  // namespace dorn
