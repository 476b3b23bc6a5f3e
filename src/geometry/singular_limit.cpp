#include "geometry/singular_limit.hpp"

#include <cmath>

#include "geometry/mat3_ops.hpp"

namespace vorlane::geometry {

float singular_limit(const Mat3& m, double relative) {
  double bound = relative;
  for (int j = 1; j <= 3; ++j) {
    double sum = 0.0;
    for (int i = 1; i <= 3; ++i) sum += static_cast<double>(at(m, i, j)) * at(m, i, j);
    bound *= std::sqrt(sum);
  }
  return static_cast<float>(bound);
}

}  // namespace vorlane::geometry
