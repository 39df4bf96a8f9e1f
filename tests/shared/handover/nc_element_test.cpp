#include "shared/handover/nc_element.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "tests/shared/handover/byte_buffer.h"
#include "tests/support/test_support.h"

namespace {

using handover::NcElement;
using handover_test::ByteBuffer;
using handover_test::ReadBytes;
using handover_test::WriteBytes;

// A line element as the builder writes it: every field at its own offset
// with a value that no other field holds.
ByteBuffer LineImage() {
  ByteBuffer b(96);
  b.I32(0, 1234).I32(4, 0x1200).I32(8, 0x50000).I32(12, -7).I32(16, 42).I32(20, 0x7FFFFFFF);
  const double values[9] = {0.5, 0.0, 0.6, 0.8, 10.25, -20.5, 1e-9, -3.75, 990001.000001};
  for (int i = 0; i < 9; ++i) b.F64(24 + 8 * i, values[i]);
  return b;
}

TEST(NcElementTest, ReadsEveryFieldFromItsOffsetAndWritesTheSameBytes) {
  testsupport::TempFolder dir;
  const auto in = dir.path() / "in.@@@";
  WriteBytes(in, LineImage().Append(ByteBuffer(96).I32(0, 999999).I32(4, 0xFF00)).bytes());

  std::vector<NcElement> elements;
  ASSERT_TRUE(handover::ReadElementFile(in, elements).ok());
  ASSERT_EQ(elements.size(), 2u);
  const NcElement& e = elements[0];
  EXPECT_EQ(e.number, 1234);
  EXPECT_EQ(e.code, 0x1200);
  EXPECT_EQ(e.Kind(), 0x1200);
  EXPECT_EQ(e.flags, 0x50000);
  EXPECT_EQ(e.int1, -7);
  EXPECT_EQ(e.int2, 42);
  EXPECT_EQ(e.int3, 0x7FFFFFFF);
  const double expected[9] = {0.5, 0.0, 0.6, 0.8, 10.25, -20.5, 1e-9, -3.75, 990001.000001};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(e.DoubleAt(i), expected[i]) << "d" << i;
  EXPECT_EQ(e.d4, 10.25);
  EXPECT_EQ(e.d7, -3.75);
  EXPECT_EQ(elements[1].number, handover::kEndOfStreamNumber);
  EXPECT_EQ(elements[1].code, handover::element_code::kEndOfStream);

  const auto out = dir.path() / "out.@@@";
  ASSERT_TRUE(handover::WriteElementFile(out, elements).ok());
  EXPECT_EQ(ReadBytes(out), ReadBytes(in));
}

TEST(NcElementTest, KindDropsTheVariantByte) {
  NcElement e;
  e.code = 0x7581;
  EXPECT_EQ(e.Kind(), 0x7500);
  e.code = 0xEC54;
  EXPECT_EQ(e.Kind(), 0xEC00);
}

TEST(NcElementTest, DoubleAtReachesEachNamedDouble) {
  NcElement e;
  for (int i = 0; i < 9; ++i) e.DoubleAt(i) = i + 0.5;
  EXPECT_EQ(e.d0, 0.5);
  EXPECT_EQ(e.d3, 3.5);
  EXPECT_EQ(e.d8, 8.5);
  const auto values = e.DoubleValues();
  EXPECT_EQ(values[5], 5.5);
  EXPECT_THROW(e.DoubleAt(9), std::out_of_range);
  EXPECT_THROW(e.DoubleAt(-1), std::out_of_range);
}

TEST(NcElementTest, MissingFileLeavesTheTableAsItWas) {
  testsupport::TempFolder dir;
  std::vector<NcElement> elements(3);
  const auto result = handover::ReadElementFile(dir.path() / handover::kElementFileName, elements);
  EXPECT_TRUE(result.missing());
  EXPECT_EQ(elements.size(), 3u);
}

TEST(NcElementTest, DamagedFilesAreRefusedWithoutTouchingTheTable) {
  testsupport::TempFolder dir;
  ByteBuffer nan = LineImage();
  nan.F64(56, std::numeric_limits<double>::quiet_NaN());
  ByteBuffer inf = LineImage();
  inf.F64(88, std::numeric_limits<double>::infinity());
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    platform::FileStatus status;
  } cases[] = {
      {"torn last record", std::vector<std::uint8_t>(96 + 40, 0), platform::FileStatus::WrongSize},
      {"NaN in d4", nan.bytes(), platform::FileStatus::ReadError},
      {"infinity in d8", inf.bytes(), platform::FileStatus::ReadError},
  };
  for (const Case& c : cases) {
    const auto path = dir.path() / "e.@@@";
    WriteBytes(path, c.bytes);
    std::vector<NcElement> elements(1);
    elements[0].number = 77;
    const auto result = handover::ReadElementFile(path, elements);
    EXPECT_EQ(result.status, c.status) << c.name;
    EXPECT_FALSE(result.message.empty()) << c.name;
    ASSERT_EQ(elements.size(), 1u) << c.name;
    EXPECT_EQ(elements[0].number, 77) << c.name;
  }
}

TEST(NcElementTest, MoreElementsThanTheLimitIsAnError) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "e.@@@";
  WriteBytes(path, std::vector<std::uint8_t>(96 * 4, 0));
  std::vector<NcElement> elements;
  EXPECT_EQ(handover::ReadElementFile(path, elements, 3).status, platform::FileStatus::WrongSize);
  EXPECT_TRUE(elements.empty());
  EXPECT_TRUE(handover::ReadElementFile(path, elements, 4).ok());
  EXPECT_EQ(elements.size(), 4u);
}

TEST(NcElementTest, AnElementThatIsNotANumberIsNeverWritten) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "e.@@@";
  std::vector<NcElement> good(2);
  good[1].number = 5;
  ASSERT_TRUE(handover::WriteElementFile(path, good).ok());

  std::vector<NcElement> bad(2);
  bad[1].number = 6;
  bad[1].d2 = std::nan("");
  const auto result = handover::WriteElementFile(path, bad);
  EXPECT_EQ(result.status, platform::FileStatus::WriteError);
  EXPECT_NE(result.message.find("number 6"), std::string::npos) << result.message;
  // The previous file is untouched.
  std::vector<NcElement> back;
  ASSERT_TRUE(handover::ReadElementFile(path, back).ok());
  EXPECT_EQ(back[1].number, 5);
}

TEST(NcElementTest, AnEmptyStreamRoundTrips) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "e.@@@";
  ASSERT_TRUE(handover::WriteElementFile(path, {}).ok());
  std::vector<NcElement> elements(2);
  ASSERT_TRUE(handover::ReadElementFile(path, elements).ok());
  EXPECT_TRUE(elements.empty());
}

}  // namespace
