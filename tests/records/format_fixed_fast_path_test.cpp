// F fields of floats are formatted by integer arithmetic on the exact product value * 10^d;
// doubles go through std::to_chars. A float widened to double has the same exact value, so
// both must give the same characters: the general path serves as the reference here.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "records/field_format.hpp"

#include "records/edit_list.hpp"

namespace vorlane::records {
namespace {

void expect_same_field(float x, int width, int decimals) {
  ASSERT_EQ(format_F(x, width, decimals), format_F(static_cast<double>(x), width, decimals))
      << "value " << x << " (bits " << std::bit_cast<std::uint32_t>(x) << ") F" << width
      << "." << decimals;
}

TEST(FormatFixedFastPath, AgreesWithTheGeneralPathOnRandomFloats) {
  std::mt19937 rng(23);
  std::uniform_int_distribution<int> width(1, 14);
  std::uniform_int_distribution<int> decimals(0, 9);
  std::uniform_real_distribution<float> exponent(-8.0f, 9.0f);
  for (int i = 0; i < 200000; ++i) {
    float x = std::pow(10.0f, exponent(rng));
    if (i % 2 == 0) x = -x;
    if (i % 11 == 0) x = std::round(x);  // integers: exact ties of halves below
    expect_same_field(x, width(rng), decimals(rng));
  }
}

TEST(FormatFixedFastPath, TiesCarriesZerosAndOverflowsAgree) {
  // Exact halves (round half to even on the exact value), carries into a new digit, zero
  // integer parts that lose their optional zero, signed zeros and fields just too narrow.
  const float values[] = {0.5f,     1.5f,      2.5f,     0.125f,    0.375f,   9.95f,
                          9.995f,   99.5f,     999.95f,  0.05f,     0.0f,     -0.0f,
                          -0.4f,    -0.04f,    1e-7f,    -1e-7f,    123456.7f, 9999999.0f,
                          16777216.0f, 4.5e15f, 3.0e38f,  0.999999f, 1.0f / 3.0f};
  for (float x : values) {
    for (int width = 1; width <= 12; ++width) {
      for (int decimals = 0; decimals <= 7; ++decimals) expect_same_field(x, width, decimals);
    }
  }
}

TEST(FormatIntegerFastPath, NarrowFieldsAgreeWithTheWideField) {
  // Fields of up to 8 columns are composed apart: the same digits as a wide field, right
  // justified, or asterisks when they do not fit; Iw.0 of zero is blank.
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> magnitude(0, 9);
  std::vector<int> values{0, 1, -1, 9, -9, 10, -10, 99999999, -9999999, 100000000,
                          2147483647, -2147483647 - 1};
  for (int i = 0; i < 20000; ++i) {
    int v = static_cast<int>(std::pow(10.0, magnitude(rng)) * std::uniform_real_distribution<double>(0, 1)(rng));
    values.push_back(i % 2 == 0 ? v : -v);
  }
  for (int v : values) {
    std::string digits = format_I(v, 14);
    digits.erase(0, digits.find_first_not_of(' '));
    for (int width = 1; width <= 8; ++width) {
      const std::string expected = static_cast<int>(digits.size()) > width
                                       ? std::string(static_cast<std::size_t>(width), '*')
                                       : std::string(width - digits.size(), ' ') + digits;
      ASSERT_EQ(format_I(v, width), expected) << v << " I" << width;
    }
  }
  std::string zero;
  detail::append_I(zero, 0, 3, 0);
  EXPECT_EQ(zero, "   ");
  std::string one;
  detail::append_I(one, 7, 3, 1);
  EXPECT_EQ(one, "  7");
}

// The fewest columns of an F edit, against the characters std::to_chars writes for the exact
// value: random floats of every size (ties among them), zeros of both signs, values that round
// to zero or carry into a new digit, and the huge ones the integer route leaves alone.
TEST(FormatFixedFastPath, FixedLengthIsTheLengthOfTheExactText) {
  auto reference = [](float x, int d) {
    char buffer[400];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(x),
                                 std::chars_format::fixed, d);
    std::string_view text(buffer, static_cast<std::size_t>(r.ptr - buffer));
    int length = static_cast<int>(text.size());
    if (d == 0) return length + 1;
    if (text.substr(text.front() == '-' ? 1 : 0, 2) == "0.") --length;
    return length;
  };
  std::mt19937 rng(41);
  std::uniform_real_distribution<float> exponent(-6.0f, 12.0f);
  std::vector<float> values = {0.0f, -0.0f, 0.5f, -0.5f, 0.004f, -0.004f, 9.995f, 99.5f,
                               999.996f, 1e-30f, 3.0e38f, -3.0e38f, 4.5e15f};
  for (int i = 0; i < 100000; ++i) {
    float x = std::pow(10.0f, exponent(rng));
    if (i % 3 == 0) x = -x;
    if (i % 7 == 0) x = std::round(x * 4.0f) / 4.0f;  // quarters: exact ties at one decimal
    values.push_back(x);
  }
  for (float x : values) {
    for (int d = 0; d <= 14; ++d) {
      ASSERT_EQ(fixed_length(x, d), reference(x, d)) << "value " << x << " decimals " << d;
    }
  }
}

}  // namespace
}  // namespace vorlane::records
