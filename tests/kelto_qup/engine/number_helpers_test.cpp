// Rounding to the NC increments, FixedPointPair packing and degree angles.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "kelto_qup/engine/number_helpers.h"

namespace qup {
namespace {

TEST(NumberHelpers, RoundTo3Decimals) {
  struct Case {
    double in, out;
  };
  const Case cases[] = {
      {0.00005, 0.0},  {1.2345, 1.235}, {-1.2345, -1.235},   {1.2344, 1.234},   {0.0001, 0.0},
      {0.0005, 0.001}, {12.0, 12.0},    {2147483648.0, 0.0}, {-3.0005, -3.001}, {99.9995, 100.0},
  };
  for (const Case& c : cases) EXPECT_NEAR(RoundTo3Decimals(c.in), c.out, 1e-12) << c.in;
  EXPECT_EQ(RoundTo3Decimals(std::numeric_limits<double>::quiet_NaN()), 0.0);
}

TEST(NumberHelpers, RoundTo2DecimalsRoundsHalfwayCasesAlike) {
  struct Case {
    double in, out;
  };
  const Case cases[] = {
      {2.346, 2.35},
      {2.344, 2.34},
      {-2.346, -2.35},
      // Half-way values round away from zero whatever their binary digits:
      // 1.235 is stored below and 1.245 above the written value.
      {1.235, 1.24},
      {1.245, 1.25},
      {1.005, 1.01},
      {0.00004, 0.0},
      {2147483648.0, 0.0},
  };
  for (const Case& c : cases) EXPECT_NEAR(RoundTo2Decimals(c.in), c.out, 1e-12) << c.in;
}

TEST(NumberHelpers, FixedPointPairRoundTrips) {
  struct Case {
    double packed;
    std::uint32_t whole, millionths;
  };
  const Case cases[] = {
      {12.000034, 12, 34}, {0.000001, 0, 1}, {7.999999, 7, 999999}, {98559.098560, 98559, 98560}, {5.0, 5, 0},
  };
  for (const Case& c : cases) {
    const FixedPointPair pair = SplitFixedPoint(c.packed);
    EXPECT_EQ(pair.whole, c.whole) << c.packed;
    EXPECT_EQ(pair.millionths, c.millionths) << c.packed;
    EXPECT_EQ(SplitFixedPoint(JoinFixedPoint(c.whole, c.millionths)), pair);
  }
  EXPECT_DOUBLE_EQ(JoinFixedPoint(12, 34), 12.000034);
}

TEST(NumberHelpers, FixedPointPairRefusesWhatCannotBePacked) {
  const double bad[] = {-1.5, std::nan(""), std::numeric_limits<double>::infinity(), 5e9};
  for (double x : bad) EXPECT_EQ(SplitFixedPoint(x), (FixedPointPair{0, 0})) << x;
}

TEST(NumberHelpers, Atan2Degrees360TakesXFirstAndGivesAFullTurnForZero) {
  EXPECT_EQ(Atan2Degrees360(1, 0), 360.0);
  EXPECT_NEAR(Atan2Degrees360(0, 1), 90.0, 1e-12);
  EXPECT_NEAR(Atan2Degrees360(-1, 0), 180.0, 1e-12);
  EXPECT_NEAR(Atan2Degrees360(0, -1), 270.0, 1e-12);
  EXPECT_NEAR(Atan2Degrees360(1, -1e-12), 360.0, 1e-9);
  const auto [c, s] = DegToCosSin(60.0);
  EXPECT_NEAR(c, 0.5, 1e-15);
  EXPECT_NEAR(s, std::sqrt(3.0) / 2.0, 1e-15);
}

}  // namespace
}  // namespace qup
