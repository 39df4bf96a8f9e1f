#include "shared/handover/com_settings.h"

#include <gtest/gtest.h>

#include "tests/shared/handover/byte_buffer.h"
#include "tests/support/test_support.h"

namespace {

using handover::ComSettings;
using handover::LineEnd;
using handover_test::ByteBuffer;
using handover_test::ReadBytes;
using handover_test::WriteBytes;

// Entry i of every array belongs to COM(i + 1); port 3 (COM4) gets settings
// that differ from the defaults in every word.
ByteBuffer PortImage() {
  ByteBuffer b(200);
  for (int i = 0; i < 10; ++i) b.I32(4 * i, 3).I32(40 + 4 * i, 1).I32(120 + 4 * i, 1);
  b.I32(0 + 12, 0x8000 | 7).I32(40 + 12, 0).I32(80 + 12, 0x8000 | 2).I32(120 + 12, 2).I32(160 + 12, 0x4000 | 2);
  return b;
}

TEST(ComSettingsTest, FiveArraysOfTenWordsPerPort) {
  testsupport::TempFolder dir;
  const auto in = dir.path() / handover::kComSettingsFileName;
  WriteBytes(in, PortImage().bytes());
  ComSettings s;
  ASSERT_TRUE(handover::ReadComSettings(in, s).ok());
  const int com4 = 3;
  EXPECT_EQ(s.baud[com4] & ComSettings::kStartXoff, ComSettings::kStartXoff);
  EXPECT_EQ(s.BaudRate(com4), 115200);
  EXPECT_EQ(s.DataBitCount(com4), 7);
  EXPECT_EQ(s.parity[com4] & ComSettings::kLowCodeMask, 2);
  EXPECT_EQ(s.parity[com4] & ComSettings::kSendEndOfFile, ComSettings::kSendEndOfFile);
  EXPECT_EQ(s.flow[com4], 2);
  EXPECT_EQ(s.stop[com4] & ComSettings::kLowCodeMask, 2);
  EXPECT_EQ(s.LineEndOf(com4), LineEnd::Lf);
  EXPECT_EQ(s.BaudRate(0), 9600);
  EXPECT_EQ(s.LineEndOf(0), LineEnd::CrLf);

  const auto out = dir.path() / "out.@@@";
  ASSERT_TRUE(handover::WriteComSettings(out, s).ok());
  EXPECT_EQ(ReadBytes(out), ReadBytes(in));
}

TEST(ComSettingsTest, MissingFileGivesEveryPortTheDefaultLine) {
  testsupport::TempFolder dir;
  ComSettings s;
  EXPECT_TRUE(handover::ReadComSettings(dir.path() / "none.@@@", s).missing());
  for (int port = 0; port < handover::kComPortCount; ++port) {
    EXPECT_EQ(s.BaudRate(port), 9600) << port;
    EXPECT_EQ(s.DataBitCount(port), 8) << port;
    EXPECT_EQ(s.parity[port], 0) << port;
    EXPECT_EQ(s.flow[port], 1) << port;
    EXPECT_EQ(s.stop[port], 0) << port;
    EXPECT_EQ(s.LineEndOf(port), LineEnd::CrLf) << port;
  }
}

TEST(ComSettingsTest, LineEndBitsDecodeInTheirOrder) {
  struct Case {
    std::int32_t stop;
    LineEnd end;
  } cases[] = {{0x0000, LineEnd::CrLf},   {0x8000, LineEnd::Cr}, {0x4000, LineEnd::Lf}, {0x2000, LineEnd::None},
               {0x1000, LineEnd::LfCrCr}, {0xC000, LineEnd::Cr}, {0x4002, LineEnd::Lf}};
  for (const Case& c : cases) {
    ComSettings s = handover::DefaultComSettings();
    s.stop[0] = c.stop;
    EXPECT_EQ(s.LineEndOf(0), c.end) << c.stop;
  }
}

TEST(ComSettingsTest, CodesThatNameNoSettingAreADamagedFile) {
  testsupport::TempFolder dir;
  struct Case {
    const char* name;
    std::size_t offset;
    std::int32_t value;
  } cases[] = {
      {"baud index 11", 0, 11}, {"data bits 2", 40 + 4, 2}, {"parity 3", 80 + 8, 3},
      {"flow 4", 120 + 32, 4},  {"flow negative", 120, -1}, {"stop code 3", 160 + 16, 0x8003},
  };
  for (const Case& c : cases) {
    const auto path = dir.path() / "c.@@@";
    WriteBytes(path, PortImage().I32(c.offset, c.value).bytes());
    ComSettings s = handover::DefaultComSettings();
    s.flow[0] = 0;
    EXPECT_EQ(handover::ReadComSettings(path, s).status, platform::FileStatus::ReadError) << c.name;
    EXPECT_EQ(s.flow[0], 0) << c.name;
  }
  // The unused tenth entry is not checked.
  const auto path = dir.path() / "c.@@@";
  WriteBytes(path, PortImage().I32(36, 63).bytes());
  ComSettings s;
  EXPECT_TRUE(handover::ReadComSettings(path, s).ok());
}

TEST(ComSettingsTest, AShortFileIsRefusedWholeRatherThanMixedIn) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "c.@@@";
  auto bytes = PortImage().bytes();
  bytes.resize(90);  // ends inside the parity words
  WriteBytes(path, bytes);
  ComSettings s = handover::DefaultComSettings();
  EXPECT_EQ(handover::ReadComSettings(path, s).status, platform::FileStatus::WrongSize);
  EXPECT_EQ(s.BaudRate(3), 9600);
}

TEST(ComSettingsTest, BadCodesAreNeverWritten) {
  testsupport::TempFolder dir;
  const auto path = dir.path() / "c.@@@";
  ComSettings s = handover::DefaultComSettings();
  s.baud[8] = 40;
  EXPECT_EQ(handover::WriteComSettings(path, s).status, platform::FileStatus::WriteError);
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
