// Number text: the expression parser, the formatters and Round3.
#include <cmath>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "kelto_dorn/app/app_state.h"
#include "kelto_dorn/app/number_text.h"
#include "tests/kelto_dorn/app/kernel_fixture.h"

namespace dorn {
namespace {

using NumberTextTest = test::KernelTest;

struct ParseCase {
  const char* text;
  double expected;
};

TEST_F(NumberTextTest, ParseNumberReadsNumbersAndLeftToRightExpressions) {
  const ParseCase cases[] = {
      {"", 0.0},
      {"abc", 0.0},
      {"   12.5", 12.5},
      {"-3", -3.0},
      {"+4", 4.0},
      {"5*-3", -15.0},
      {"2+3*4", 20.0},  // no precedence
      {"10-4/2", 3.0},
      {"2*PI", 6.283185307179586},
      {"pi", 3.141592653589793},
      {"SQRT(2)", 1.4142135623730951},
      {"sqrt(16)", 4.0},
      {"2+SQRT(9)", 5.0},
      {"1,5", 1.0},    // a comma ends the number
      {"3)", 3.0},     // a closing parenthesis is skipped
      {"1e-5", -4.0},  // the minus after the start is an operator: 1 - 5
      {"4 +5", 4.0},   // a blank ends the expression
      {"1/0", INFINITY},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_DOUBLE_EQ(ParseNumber(c.text), c.expected);
    EXPECT_EQ(g_valuePairCount, 0);
  }
}

TEST_F(NumberTextTest, ParseNumberPairSeparatorsLeaveThePair) {
  g_valuePairCount = 7;
  EXPECT_DOUBLE_EQ(ParseNumber("10R20"), 10.0);
  EXPECT_EQ(g_valuePairCount, 1);
  EXPECT_DOUBLE_EQ(g_valuePairB, 10.0);
  EXPECT_DOUBLE_EQ(g_valuePairA, 20.0);

  EXPECT_DOUBLE_EQ(ParseNumber("2*5F3"), 10.0);
  EXPECT_EQ(g_valuePairCount, 1);
  EXPECT_DOUBLE_EQ(g_valuePairA, 10.0);
  EXPECT_DOUBLE_EQ(g_valuePairB, 3.0);

  // Lower-case r is no separator.
  EXPECT_DOUBLE_EQ(ParseNumber("10r20"), 10.0);
  EXPECT_EQ(g_valuePairCount, 0);
}

TEST_F(NumberTextTest, ParseNumberSkipsAtMostSixteenLeadingBlanks) {
  EXPECT_DOUBLE_EQ(ParseNumber((std::string(16, ' ') + "7").c_str()), 7.0);
  // The 17th blank starts the token; the number behind it still reads.
  EXPECT_DOUBLE_EQ(ParseNumber((std::string(17, ' ') + "7").c_str()), 7.0);
}

TEST_F(NumberTextTest, ParseNumberReadsOnlyTheFirst255BytesOfALongText) {
  // "0...01+5" with the '+' as the 255th byte: the '5' behind it is cut, and
  // the 400 bytes after it are never copied (no write past the work buffer).
  std::string text(254, '0');
  text[253] = '1';
  text += "+5";
  text += std::string(400, '9');
  EXPECT_DOUBLE_EQ(ParseNumber(text.c_str()), 1.0);

  std::string fits(252, '0');
  fits += "1+5";  // the '5' is the 255th byte: still read
  EXPECT_DOUBLE_EQ(ParseNumber(fits.c_str()), 6.0);
}

struct FormatCase {
  double value;
  int dropBarePoint;
  const char* expected;
};

TEST_F(NumberTextTest, FormatNumber4StripsTrailingZeros) {
  const FormatCase cases[] = {
      {0.1, 0, "0.1"},
      {3.0, 0, "3.0"},
      {3.0, 1, "3"},
      {12.0, 0, "12.0"},
      {0.25, 0, "0.25"},
      {-0.00001, 0, "-0.0"},
      {-2.5, 0, "-2.5"},
      {1.23456, 0, "1.2346"},
      {100.0, 0, "100.0"},
      {10.5, 1, "10.5"},
      // A long integer part keeps every digit.
      {1e20, 0, "100000000000000000000.0"},
      {123456789012345.0, 1, "123456789012345"},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.expected);
    g_dropBarePoint = c.dropBarePoint;
    FormatNumber4(c.value);
    EXPECT_STREQ(g_textBuffer, c.expected);
  }
}

TEST_F(NumberTextTest, StripTrailingZerosStaysInsideItsBuffer) {
  char exact[] = {'1', '2', '.', '\0'};  // no room behind the point
  StripTrailingZeros(exact);
  EXPECT_STREQ(exact, "12.");
  char zeros[] = "7.000";
  StripTrailingZeros(zeros);
  EXPECT_STREQ(zeros, "7.0");
  g_dropBarePoint = 1;
  char bare[] = {'1', '2', '.', '\0'};
  StripTrailingZeros(bare);
  EXPECT_STREQ(bare, "12");
}

TEST_F(NumberTextTest, FormatNumberChoosesDecimalsByType) {
  const struct {
    int type;
    double value;
    const char* expected;
  } cases[] = {
      {0, 1.23456, "1.2346"}, {4, 2.0, "2.0"},          {1, 1.25, " 1.2"}, {2, 1.256, "1.26"},
      {3, 0.5, "0.5"},        {5, 0.123456, "0.12346"}, {6, 5.0, ""},      {-1, 5.0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    std::strcpy(g_textBuffer, "stale text");
    FormatNumber(c.type, c.value);
    EXPECT_STREQ(g_textBuffer, c.expected);
  }
}

// 1.2345 is stored just below the half and rounds down.
TEST_F(NumberTextTest, Round3DecidesByTheFourthDecimalOnly) {
  const struct {
    double value;
    double expected;
  } cases[] = {
      {1.2346, 1.235}, {1.23449, 1.234}, {2.5678, 2.568},     {-3.14159, -3.142},   {1.2345, 1.234}, {0.0, 0.0},
      {7.0, 7.0},      {-0.0004, 0.0},   {2147483648.5, 0.0}, {-2147483648.5, 0.0}, {NAN, 0.0},      {INFINITY, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_NEAR(Round3(c.value), c.expected, 1e-12);
  }
}

TEST_F(NumberTextTest, SkipBlanksCountsLeadingBlanksOfTheTextBuffer) {
  std::strcpy(g_textBuffer, "   x ");
  EXPECT_EQ(SkipBlanks(), 3);
  std::memset(g_textBuffer, ' ', sizeof g_textBuffer);
  EXPECT_EQ(SkipBlanks(), 1024);
  ClearTextBuffer();
  EXPECT_EQ(SkipBlanks(), 0);
}

TEST_F(NumberTextTest, BlanksToUnderscoresWorksInPlace) {
  char text[] = " A B  C ";
  BlanksToUnderscores(text);
  EXPECT_STREQ(text, "_A_B__C_");
}

}  // namespace
}  // namespace dorn
