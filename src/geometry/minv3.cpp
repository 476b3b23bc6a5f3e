#include "geometry/minv3.hpp"

#include <cmath>

namespace vorlane::geometry {

namespace {
// Element (i, j), 1-based, of a column-major double matrix.
double el(const Mat3d& m, int i, int j) { return m[(j - 1) * 3 + (i - 1)]; }
}  // namespace

void MINV38(const Mat3d& A, Mat3d& B, double EPS, double& DET, int& IER) {
  // Cofactors first, from A alone, so that B may be A itself.
  Mat3d cof{};
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) {
      const int i1 = i % 3 + 1, i2 = (i + 1) % 3 + 1;  // cyclic rows and columns keep the
      const int j1 = j % 3 + 1, j2 = (j + 1) % 3 + 1;  // sign of the cofactor built in
      cof[(j - 1) * 3 + (i - 1)] = el(A, i1, j1) * el(A, i2, j2) - el(A, i1, j2) * el(A, i2, j1);
    }
  B.fill(0.0);
  DET = 0.0;
  IER = 0;
  const double det = el(A, 3, 1) * el(cof, 3, 1) + el(A, 3, 2) * el(cof, 3, 2) +
                     el(A, 3, 3) * el(cof, 3, 3);
  if (!(std::abs(det) >= EPS)) {  // also catches a NaN determinant
    IER = 1;
    return;
  }
  DET = det;
  // Inverse = adjugate / DET; the adjugate is the transposed cofactor matrix.
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) B[(j - 1) * 3 + (i - 1)] = el(cof, j, i) / det;
}

void MINV3(const Mat3& A, Mat3& B, float EPS, float& DET, int& IER) {
  Mat3d a{};
  for (int n = 0; n < 9; ++n) a[n] = A[n];
  Mat3d b{};
  double det = 0.0;
  MINV38(a, b, static_cast<double>(EPS), det, IER);
  DET = static_cast<float>(det);
  for (int n = 0; n < 9; ++n) B[n] = static_cast<float>(b[n]);
}

}  // namespace vorlane::geometry
