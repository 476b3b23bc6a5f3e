// DYNAMIC_FT: decimals that let a value fill its field, worked by hand from the rule (digits
// of value + 0.001; the sign costs a column; rounding must not carry out of the field).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "output/dynamic_ft.hpp"

namespace vorlane::output {
namespace {

struct Case {
  int w;
  float x;
  int d;      // expected decimals (when it fits)
  int iover;  // expected overflow flag
};

TEST(DynamicFt, TableOfCases) {
  const Case cases[] = {
      {7, 1234.5f, 2, 0},      // 1234.501: four integer digits
      {7, 12.3f, 4, 0},        // 12.301: two
      {7, -5.0f, 4, 0},        // -4.999 counts as negative: one digit, point, sign
      {7, 10.0f, 4, 0},        // 10.001: an exact power of ten keeps its decimals
      {7, 9.999f, 5, 0},       // 10.000 after adding 0.001: one digit by the rule
      {9, 0.0f, 7, 0},         // 0.001: one digit
      {5, 1.0f, 3, 0},
      {5, 0.5f, 3, 0},
      {7, 999999.0f, 0, 0},    // at the limit 10^6 - 1
      {7, 12345678.0f, 0, 1},  // beyond 10^6 - 1
      {7, -99999.0f, 0, 0},    // negative limit 10^5 - 1
      {7, -999999.0f, 0, 1},
      {7, -0.001f, 4, 0},      // -0.001 + 0.001 = 0 counts as negative
  };
  for (const Case& c : cases) {
    int d = -1;
    int iover = -1;
    DYNAMIC_FT(c.w, c.x, d, iover);
    EXPECT_EQ(iover, c.iover) << "W=" << c.w << " X=" << c.x;
    if (c.iover == 0) {
      EXPECT_EQ(d, c.d) << "W=" << c.w << " X=" << c.x;
    }
  }
}

TEST(DynamicFt, RoundingThatCarriesCostsOneDecimal) {
  int d = -1;
  int iover = -1;
  // The rule gives F7.2, but 9999.996 rounds to 10000.00 (eight characters): F7.1.
  DYNAMIC_FT(7, 9999.996f, d, iover);
  EXPECT_EQ(iover, 0);
  EXPECT_EQ(d, 1);
  // Negative: the rule gives F7.1, -10000.0 is eight characters: F7.0 gives -10000.
  DYNAMIC_FT(7, -9999.996f, d, iover);
  EXPECT_EQ(iover, 0);
  EXPECT_EQ(d, 0);
  // The rule gives F7.1, but 99999.96 rounds to 100000.0: F7.0 gives 100000.
  DYNAMIC_FT(7, 99999.96f, d, iover);
  EXPECT_EQ(iover, 0);
  EXPECT_EQ(d, 0);
  // 99999999 is 1e8 in single precision: within the limit by the rule, but even without
  // decimals it needs ten characters (100000000.): it does not fit.
  DYNAMIC_FT(9, 99999999.0f, d, iover);
  EXPECT_EQ(iover, 1);
}

TEST(DynamicFt, ALeadingZeroThatCanBeLeftOutDoesNotCostADecimal) {
  // -0.0005 counts as positive (x = 0.0005): F7.5, written -.00050 in seven columns.
  int d = -1;
  int iover = -1;
  DYNAMIC_FT(7, -0.0005f, d, iover);
  EXPECT_EQ(iover, 0);
  EXPECT_EQ(d, 5);
}

TEST(DynamicFt, ValuesThatAreNotFiniteNeverFit) {
  int d = 0;
  int iover = 0;
  DYNAMIC_FT(7, std::numeric_limits<float>::quiet_NaN(), d, iover);
  EXPECT_EQ(iover, 1);
  DYNAMIC_FT(7, std::numeric_limits<float>::infinity(), d, iover);
  EXPECT_EQ(iover, 1);
  DYNAMIC_FT(7, -std::numeric_limits<float>::infinity(), d, iover);
  EXPECT_EQ(iover, 1);
}

}  // namespace
}  // namespace vorlane::output
