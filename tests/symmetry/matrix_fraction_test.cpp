// GMPRD, GMADD, TRINV3, FRACT and NUMDEN.
#include <gtest/gtest.h>

#include "symmetry/symop.hpp"
#include "symmetry_test_helpers.hpp"

namespace vorlane::symmetry {
namespace {

using test::rows;

TEST(Gmprd, MatrixTimesColumnAndRowTimesMatrix) {
  const Mat3 a = rows(1, 2, 3, 4, 5, 6, 7, 8, 10);
  const Vec3 x{1, -1, 2};
  Vec3 c{};
  GMPRD(a, x, c, 3, 3, 1);  // A·x
  EXPECT_EQ(c, (Vec3{1 - 2 + 6, 4 - 5 + 12, 7 - 8 + 20}));
  GMPRD(x, a, c, 1, 3, 3);  // x·A
  EXPECT_EQ(c, (Vec3{1 - 4 + 14, 2 - 5 + 16, 3 - 6 + 20}));
}

TEST(Gmprd, MatrixProductIsColumnMajor) {
  const Mat3 a = rows(0, -1, 0, 1, -1, 0, 0, 0, 1);  // three-fold about c
  Mat3 a2{};
  Mat3 a3{};
  GMPRD(a, a, a2, 3, 3, 3);
  EXPECT_EQ(a2, rows(-1, 1, 0, -1, 0, 0, 0, 0, 1));
  GMPRD(a2, a, a3, 3, 3, 3);
  EXPECT_EQ(a3, IDENTITY_MAT3);
}

TEST(Gmadd, AddsElementwise) {
  const Vec3 a{0.5f, 0.25f, 0};
  const Vec3 b{0.5f, 0.5f, 1};
  Vec3 c{};
  GMADD(a, b, c, 1, 3);
  EXPECT_EQ(c, (Vec3{1.0f, 0.75f, 1.0f}));
}

TEST(Trinv3, InvertsAndReportsDeterminant) {
  Mat3 a = rows(1, -1, 0, 1, 0, 0, 0, 0, 1);  // six-fold x-y,x,z
  float d = 0;
  TRINV3(a, d);
  EXPECT_FLOAT_EQ(d, 1.0f);
  EXPECT_EQ(a, rows(0, 1, 0, -1, 1, 0, 0, 0, 1));
  Mat3 b = rows(2, 0, 0, 0, 4, 0, 0, 0, -0.5f);
  TRINV3(b, d);
  EXPECT_FLOAT_EQ(d, -4.0f);
  EXPECT_EQ(b, rows(0.5f, 0, 0, 0, 0.25f, 0, 0, 0, -2));
}

TEST(Trinv3, SingularMatrixIsLeftAlone) {
  const Mat3 s = rows(1, 2, 3, 2, 4, 6, 0, 0, 1);
  Mat3 a = s;
  float d = 1;
  TRINV3(a, d);
  EXPECT_EQ(d, 0.0f);
  EXPECT_EQ(a, s);
}

TEST(Fract, SplitsWholeAndFraction) {
  float x = 2.75f, y = 0;
  int k = 7;
  FRACT(x, y, k);
  EXPECT_EQ(y, 2.0f);
  EXPECT_EQ(x, 0.75f);
  EXPECT_EQ(k, 1);
  x = 0.25f;
  FRACT(x, y, k);
  EXPECT_EQ(y, 0.0f);
  EXPECT_EQ(x, 0.25f);
  EXPECT_EQ(k, 0);
  x = -0.25f;
  FRACT(x, y, k);
  EXPECT_EQ(y, -1.0f);
  EXPECT_EQ(x, 0.75f);
  EXPECT_EQ(k, -1);
  x = -1.5f;
  FRACT(x, y, k);
  EXPECT_EQ(y, -2.0f);
  EXPECT_EQ(x, 0.5f);
  EXPECT_EQ(k, -1);
}

struct NumdenCase {
  float x;
  int kin;
  int num, den, kout;
};

TEST(Numden, SmallFractions) {
  const NumdenCase cases[] = {
      {0.5f, 1, 1, 2, 1},        {0.2f, 1, 0, 0, 99},      {1.5f, 1, 1, 2, 2},
      {-0.25f, 1, 1, 4, -1},     {0.0f, 1, 0, 0, 0},       {2.0f / 3.0f, 1, 2, 3, 1},
      {5.0f / 6.0f, 1, 5, 6, 1}, {0.75f, 2, 0, 0, 99},     {1.0f / 3.0f, 2, 1, 3, 1},
      {0.2f, 0, 1, 5, 1},        {-0.2f, 1, 0, 0, -99},    {3.0f / 6.0f, 1, 1, 2, 1},
      {0.50009f, 1, 1, 2, 1},    {0.5002f, 1, 0, 0, 99},
  };
  for (const auto& c : cases) {
    int num = -1, den = -1, k = c.kin;
    NUMDEN(c.x, num, den, k);
    EXPECT_EQ(num, c.num) << c.x;
    EXPECT_EQ(den, c.den) << c.x;
    EXPECT_EQ(k, c.kout) << c.x;
  }
}

}  // namespace
}  // namespace vorlane::symmetry
