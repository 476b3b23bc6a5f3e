#include "geometry/minv3.hpp"

#include <gtest/gtest.h>

#include "geometry/mat3_ops.hpp"

namespace vorlane::geometry {
namespace {

// Rows written as they read; stored column by column.
Mat3 rows(float a11, float a12, float a13, float a21, float a22, float a23, float a31, float a32,
          float a33) {
  return {a11, a21, a31, a12, a22, a32, a13, a23, a33};
}

TEST(Minv3, InvertsAGeneralMatrix) {
  // A = [[2,1,0],[0,1,3],[1,0,1]]: det = 2*(1-0) - 1*(0-3) + 0 = 5, and
  // inv(A) = adj(A)/5 = [[1,-1,3],[3,2,-6],[-1,1,2]]/5 (worked by hand).
  const Mat3 a = rows(2, 1, 0, 0, 1, 3, 1, 0, 1);
  Mat3 b{};
  float det = 0;
  int ier = -1;
  MINV3(a, b, 1.0e-7f, det, ier);
  EXPECT_EQ(ier, 0);
  EXPECT_FLOAT_EQ(det, 5.0f);
  const Mat3 expected = rows(0.2f, -0.2f, 0.6f, 0.6f, 0.4f, -1.2f, -0.2f, 0.2f, 0.4f);
  for (int n = 0; n < 9; ++n) EXPECT_FLOAT_EQ(b[n], expected[n]) << n;
  // A * inv(A) = I
  const Mat3 id = multiply(a, b);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) EXPECT_NEAR(at(id, i, j), i == j ? 1.0f : 0.0f, 1e-6f);
}

TEST(Minv3, InvertsInPlace) {
  Mat3 a = rows(2, 1, 0, 0, 1, 3, 1, 0, 1);
  float det = 0;
  int ier = -1;
  MINV3(a, a, 1.0e-7f, det, ier);
  EXPECT_EQ(ier, 0);
  EXPECT_FLOAT_EQ(at(a, 1, 3), 0.6f);
  EXPECT_FLOAT_EQ(at(a, 2, 3), -1.2f);
  EXPECT_FLOAT_EQ(at(a, 3, 1), -0.2f);
}

TEST(Minv3, SingularMatrixGivesZeroResultAndError) {
  // Third row = first + second.
  const Mat3 a = rows(1, 2, 3, 4, 5, 6, 5, 7, 9);
  Mat3 b;
  b.fill(7.0f);
  float det = 99;
  int ier = 0;
  MINV3(a, b, 1.0e-7f, det, ier);
  EXPECT_EQ(ier, 1);
  EXPECT_EQ(det, 0.0f);
  for (float v : b) EXPECT_EQ(v, 0.0f);
}

TEST(Minv3, DeterminantJustBelowEpsilonIsSingular) {
  // diag(1e-3, 1e-3, 5e-2): det = 5e-8 < 1e-7, although the matrix is perfectly regular.
  const Mat3 a = rows(1e-3f, 0, 0, 0, 1e-3f, 0, 0, 0, 5e-2f);
  Mat3 b{};
  float det = 0;
  int ier = 0;
  MINV3(a, b, 1.0e-7f, det, ier);
  EXPECT_EQ(ier, 1);
  // With the smaller limit used for metric tensors it inverts.
  MINV3(a, b, 9.9999997e-10f, det, ier);
  EXPECT_EQ(ier, 0);
  EXPECT_NEAR(det, 5e-8f, 1e-12f);
  EXPECT_FLOAT_EQ(at(b, 1, 1), 1000.0f);
  EXPECT_FLOAT_EQ(at(b, 3, 3), 20.0f);
}

TEST(Minv38, WorksInDoublePrecision) {
  // diag(3, 3, 3) has the inverse 1/3, which only double precision holds to 16 digits.
  const Mat3d a = {3, 0, 0, 0, 3, 0, 0, 0, 3};
  Mat3d b{};
  double det = 0;
  int ier = -1;
  MINV38(a, b, 1e-7, det, ier);
  EXPECT_EQ(ier, 0);
  EXPECT_DOUBLE_EQ(det, 27.0);
  EXPECT_DOUBLE_EQ(b[0], 1.0 / 3.0);
  EXPECT_DOUBLE_EQ(b[1], 0.0);
}

}  // namespace
}  // namespace vorlane::geometry
