#include "geometry/mat3_ops.hpp"

namespace vorlane::geometry {

Mat3 transpose(const Mat3& a) {
  Mat3 t{};
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) at(t, i, j) = at(a, j, i);
  return t;
}

Mat3 multiply(const Mat3& a, const Mat3& b) {
  Mat3 c{};
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) {
      float s = 0.0f;
      for (int k = 1; k <= 3; ++k) s += at(a, i, k) * at(b, k, j);
      at(c, i, j) = s;
    }
  return c;
}

}  // namespace vorlane::geometry
