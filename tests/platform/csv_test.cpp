#include "platform/csv.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/text.h"

namespace platform {
namespace {

struct SplitCase {
  const char* name;
  std::string line;
  std::string separator;
  std::vector<std::string> fields;
};

// Cases are named by their name, not by their bytes (which hold addresses).
void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class SplitCsvLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCsvLineTest, SplitsIntoTheExpectedFields) {
  const SplitCase& c = GetParam();
  std::vector<std::string> fields;
  SplitCsvLine(c.line, c.separator, fields);
  EXPECT_EQ(fields, c.fields);
}

// 0x95 0x5C is one double-byte character whose second byte is a backslash.
const std::string kHyo = "\x95\x5C";

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCsvLineTest,
    ::testing::Values(SplitCase{"EmptyLine", "", ",", {}}, SplitCase{"LineEndOnly", "\r\n", ",", {}},
                      SplitCase{"SeparatorAlone", ",", ",", {""}},
                      SplitCase{"AdjacentSeparatorsKeepAnEmptyField", "a,,b", ",", {"a", "", "b"}},
                      SplitCase{"LeadingSeparatorGivesEmptyFirstField", ",a,b", ",", {"", "a", "b"}},
                      SplitCase{"TrailingSeparatorGivesNoEmptyLastField", "a,b,", ",", {"a", "b"}},
                      SplitCase{"TwoTrailingSeparators", "a,,", ",", {"a", ""}},
                      SplitCase{"CrLfIsNotPartOfTheLastField", "a,b\r\n", ",", {"a", "b"}},
                      SplitCase{"LfIsNotPartOfTheLastField", "a,b\n", ",", {"a", "b"}},
                      SplitCase{"TrailingSeparatorBeforeCrLf", "a,\r\n", ",", {"a"}},
                      SplitCase{"EmptyFieldsBeforeCrLf", ",,\r\n", ",", {"", ""}},
                      SplitCase{"OnlyFirstCharacterOfSeparatorCounts", "a;b,c", ";,", {"a", "b,c"}},
                      SplitCase{"EmptySeparatorGivesTheWholeLine", "a,b\n", "", {"a,b"}},
                      SplitCase{"BackslashSecondByteIsNoSeparator", kHyo + "\\x\\", "\\", {kHyo, "x"}},
                      SplitCase{"BackslashSecondByteBeforeComma", "a," + kHyo + ",b", ",", {"a", kHyo, "b"}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

TEST(SplitCsvLine, JapaneseColumnsOfAnExportLineSurviveWhole) {
  const std::string line = platform::Sjis("基本,工具名,ドリル６.８,,油") + "\r\n";
  std::vector<std::string> fields;
  SplitCsvLine(line, ",", fields);
  ASSERT_EQ(fields.size(), 5u);
  EXPECT_EQ(platform::Cp932ToUtf8(fields[2]), "ドリル６.８");
  EXPECT_EQ(fields[3], "");
  EXPECT_EQ(platform::Cp932ToUtf8(fields[4]), "油");
}

TEST(SplitCsvLine, AppendsToWhatTheCallerLeft) {
  std::vector<std::string> fields{"kept"};
  SplitCsvLine("x,y", ",", fields);
  EXPECT_EQ(fields, (std::vector<std::string>{"kept", "x", "y"}));
}

}  // namespace
}  // namespace platform
