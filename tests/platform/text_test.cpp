#include "platform/text.h"

#include <gtest/gtest.h>

namespace {

using platform::Cp932PrefixLength;
using platform::Cp932ToUtf8;
using platform::Utf8ToCp932;

// "表" is 0x95 0x5C in CP932: its second byte is a backslash.
const std::string kHyou = "\x95\x5C";
// "加工" in CP932.
const std::string kKakou = "\x89\xC1\x8D\x48";

TEST(Cp932Text, RoundTripsJapaneseAndAscii) {
  EXPECT_EQ(Cp932ToUtf8(kKakou + "ABC"), "加工ABC");
  EXPECT_EQ(Utf8ToCp932("加工ABC"), kKakou + "ABC");
  EXPECT_EQ(Cp932ToUtf8(kHyou), "表");
  EXPECT_EQ(Utf8ToCp932("「ケルトドーン」::システムの終了"),
            Utf8ToCp932("「ケルトドーン」") + "::" + Utf8ToCp932("システムの終了"));
  // Full-width characters of the system's file names survive both ways.
  EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932("各機械Ｍコード.csv")), "各機械Ｍコード.csv");
}

TEST(Cp932Text, InvalidInputIsReplacedNotFatal) {
  // A lone lead byte at the end, and a byte pair that is no character.
  EXPECT_EQ(Cp932ToUtf8("A\x81"), "A\xEF\xBF\xBD");
  EXPECT_EQ(Cp932ToUtf8(std::string("\x85\x40", 2) + "Z").back(), 'Z');
  // Invalid UTF-8 and characters CP932 lacks become '?'.
  EXPECT_EQ(Utf8ToCp932("a\xFF" "b"), "a?b");
  EXPECT_EQ(Utf8ToCp932("x😀y"), "x?y");
}

TEST(Cp932Text, SjisLiteralIsCachedAndStable) {
  const std::string& a = platform::Sjis("【実行終了】");
  for (int i = 0; i < 100; ++i) platform::Sjis("filler " + std::to_string(i));
  const std::string& b = platform::Sjis("【実行終了】");
  EXPECT_EQ(&a, &b);
  EXPECT_EQ(a, Utf8ToCp932("【実行終了】"));
}

TEST(Cp932Text, PrefixNeverSplitsADoubleByteCharacter) {
  struct Case {
    std::string text;
    std::size_t max;
    std::size_t expected;
  } cases[] = {
      {"ABCDE", 3, 3},
      {kKakou, 3, 2},           // the cut would fall inside the second character
      {kKakou, 4, 4},
      {"A" + kKakou, 2, 1},     // lead byte at the cut is left out
      {"A" + kHyou + "B", 3, 3},  // 0x5C second byte stays with its lead byte
      {"", 5, 0},
      {"ABC", 0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Cp932PrefixLength(c.text, c.max), c.expected) << c.text << " " << c.max;
}

TEST(Cp932Text, FixedFieldsAreCutTerminatedAndReadSafely) {
  char field[6];
  platform::SetFieldText(field, "A" + kKakou + "B");  // 6 bytes into a 6-byte field: 5 allowed
  EXPECT_EQ(platform::FieldText(field), "A" + kKakou);
  EXPECT_EQ(field[5], '\0');

  char raw[4] = {'A', static_cast<char>(0x89), static_cast<char>(0xC1), 'Z'};  // unterminated, from a file
  EXPECT_EQ(platform::FieldText(raw), std::string(raw, 4));  // never reads past the field
  platform::TerminateField(raw);
  EXPECT_EQ(platform::FieldText(raw), "A\x89\xC1");

  char split[3] = {'A', static_cast<char>(0x89), static_cast<char>(0xC1)};
  platform::TerminateField(split);  // the character would be cut: drop it whole
  EXPECT_EQ(platform::FieldText(split), "A");
}

}  // namespace
