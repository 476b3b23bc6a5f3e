#include "symmetry/trinv3.hpp"

#include <cmath>

namespace vorlane::symmetry {

void TRINV3(Mat3& A, float& D) {
  auto a = [&A](int r, int c) { return elem(A, r, c); };
  // Cofactor (r, c) of A.
  Mat3 cof{};
  elem(cof, 1, 1) = a(2, 2) * a(3, 3) - a(2, 3) * a(3, 2);
  elem(cof, 1, 2) = a(2, 3) * a(3, 1) - a(2, 1) * a(3, 3);
  elem(cof, 1, 3) = a(2, 1) * a(3, 2) - a(2, 2) * a(3, 1);
  elem(cof, 2, 1) = a(1, 3) * a(3, 2) - a(1, 2) * a(3, 3);
  elem(cof, 2, 2) = a(1, 1) * a(3, 3) - a(1, 3) * a(3, 1);
  elem(cof, 2, 3) = a(1, 2) * a(3, 1) - a(1, 1) * a(3, 2);
  elem(cof, 3, 1) = a(1, 2) * a(2, 3) - a(1, 3) * a(2, 2);
  elem(cof, 3, 2) = a(1, 3) * a(2, 1) - a(1, 1) * a(2, 3);
  elem(cof, 3, 3) = a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1);
  D = a(1, 1) * elem(cof, 1, 1) + a(1, 2) * elem(cof, 1, 2) + a(1, 3) * elem(cof, 1, 3);
  if (std::fabs(D) < 0.0001f) return;
  // Inverse = adjugate (transposed cofactors) / D.
  for (int r = 1; r <= 3; ++r) {
    for (int c = 1; c <= 3; ++c) elem(A, r, c) = elem(cof, c, r) / D;
  }
}

}  // namespace vorlane::symmetry
