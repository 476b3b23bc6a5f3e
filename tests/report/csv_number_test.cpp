// The ledger's floats against std::to_chars ("%.7g" of the value widened to double): random
// floats of every magnitude around the fast route's range, and the values where rounding to
// seven digits is a tie or carries into a new power of ten.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "report/csv_number.hpp"

namespace vorlane::report {
namespace {

void expect_same(float x) {
  std::string fast;
  std::string general;
  append_csv_float(fast, x);
  append_csv_real(general, static_cast<double>(x));
  ASSERT_EQ(fast, general) << "bits " << std::bit_cast<std::uint32_t>(x);
}

TEST(CsvNumber, FloatsAreWrittenAsToCharsWritesThem) {
  std::mt19937 rng(41);
  std::uniform_real_distribution<float> exponent(-7.0f, 9.0f);
  for (int i = 0; i < 400000; ++i) {
    float x = std::pow(10.0f, exponent(rng));
    if (i % 2 == 1) x = -x;
    if (i % 7 == 0) x = std::round(x * 2.0f) / 2.0f;  // halves: ties at seven digits
    expect_same(x);
  }
  const float edges[] = {0.0f,       -0.0f,      1e-4f,      9.9999e-5f, 1e7f,     9999999.0f,
                         9999999.5f, 9999998.5f, 1234567.5f, 1234568.5f, 0.5f,     1.0f,
                         0.1f,       0.99999995f, 999999.95f, 123.0f,    100.0f,   1e-3f,
                         65.43210f,  -2.5e6f,    NAN,        INFINITY,  -INFINITY, 3.0e38f};
  for (float x : edges) expect_same(x);
  // Every float from 1e-4 up across a few binades (each one's spacing is exact there).
  for (float x = 0.0999f; x < 0.1001f; x = std::nextafter(x, 1.0f)) expect_same(x);
  for (float x = 999990.0f; x < 1000010.0f; x = std::nextafter(x, 2e6f)) expect_same(x);
}

}  // namespace
}  // namespace vorlane::report
