// Single fields as callers build them. Expected texts follow the rounding and width rules of
// Fortran output (half to even on the exact binary value, optional leading zero, asterisks).
#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>

#include "records/edit_list.hpp"

namespace vorlane::records {
namespace {

TEST(FormatFields, FloatAndDoubleRoundTheirOwnValues) {
  // 0.005f is 0.004999999888..., the double 0.005 is 0.005000000000000000104...
  EXPECT_EQ(format_F(0.005f, 5, 2), " 0.00");
  EXPECT_EQ(format_F(0.005, 5, 2), " 0.01");
  // Exact binary ties go to the even digit.
  EXPECT_EQ(format_F(0.125f, 7, 2), "   0.12");
  EXPECT_EQ(format_F(0.375f, 7, 2), "   0.38");
  EXPECT_EQ(format_F(2.5f, 7, 0), "     2.");
  EXPECT_EQ(format_F(3.5f, 7, 0), "     4.");
  // 1234.5678f is 1234.5677490234375.
  EXPECT_EQ(format_F(1234.5678f, 10, 4), " 1234.5677");
}

TEST(FormatFields, SignsZerosAndWidths) {
  EXPECT_EQ(format_F(-0.004f, 7, 2), "  -0.00");
  EXPECT_EQ(format_F(-0.0f, 5, 1), " -0.0");
  EXPECT_EQ(format_F(0.5f, 4, 2), "0.50");
  EXPECT_EQ(format_F(0.5f, 3, 2), ".50");
  EXPECT_EQ(format_F(-0.5f, 4, 2), "-.50");
  EXPECT_EQ(format_F(-0.5f, 3, 2), "***");
  EXPECT_EQ(format_F(9.996f, 5, 2), "10.00");
  EXPECT_EQ(format_F(9.996f, 4, 2), "****");
  EXPECT_EQ(format_F(12345678.0f, 7, 0), "*******");
  EXPECT_EQ(format_I(-100, 3), "***");
  EXPECT_EQ(format_I(std::numeric_limits<int>::min(), 11), "-2147483648");
  EXPECT_EQ(format_I(7, 1), "7");
}

TEST(FormatFields, NonFiniteValues) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(format_F(nan, 7, 2), "    NaN");
  EXPECT_EQ(format_F(-nan, 7, 2), "    NaN");
  EXPECT_EQ(format_F(inf, 8, 2), "Infinity");
  EXPECT_EQ(format_F(-inf, 8, 2), "    -Inf");
  EXPECT_EQ(format_F(-inf, 3, 2), "***");
  EXPECT_EQ(format_E(inf, 12, 4), "    Infinity");
}

TEST(FormatFields, ExponentForm) {
  EXPECT_EQ(format_E(1.0002f, 12, 4), "  0.1000E+01");
  EXPECT_EQ(format_E(-1.0002f, 12, 4), " -0.1000E+01");
  EXPECT_EQ(format_E(9.99996f, 12, 4), "  0.1000E+02");
  EXPECT_EQ(format_E(0.0f, 12, 4), "  0.0000E+00");
  EXPECT_EQ(format_E(0.05f, 12, 4), "  0.5000E-01");
  EXPECT_EQ(format_E(-1.0f, 10, 4), "-.1000E+01");
  EXPECT_EQ(format_E(1.0f, 8, 4), "********");
  EXPECT_THROW(format_E(1.0f, 12, 0), std::invalid_argument);
}

TEST(FormatFields, Text) {
  EXPECT_EQ(format_A("abc", 5), "  abc");
  EXPECT_EQ(format_A("abc", 2), "ab");
  EXPECT_EQ(format_A("abc ", -1), "abc ");
}

}  // namespace
}  // namespace vorlane::records
