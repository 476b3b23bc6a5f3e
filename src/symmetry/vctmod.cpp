#include "symmetry/vctmod.hpp"

#include <cmath>

namespace vorlane::symmetry {

float VCTMOD(const CellTable& ct, float SCALE, const std::array<float, 3>& X, int IR) {
  // |x|² = sum over axes of (x_i a_i)² + 2 x_j x_k a_j a_k cos(angle i), i, j, k cyclic.
  double sum = 0.0;
  for (int i = 1; i <= 3; ++i) {
    const int j = i % 3 + 1;
    const int k = j % 3 + 1;
    const double xi = X[static_cast<std::size_t>(i - 1)];
    const double xj = X[static_cast<std::size_t>(j - 1)];
    const double xk = X[static_cast<std::size_t>(k - 1)];
    const double si = ct.at(i, CELL_SIDE, IR);
    const double sj = ct.at(j, CELL_SIDE, IR);
    const double sk = ct.at(k, CELL_SIDE, IR);
    const double ci = ct.at(i, CELL_COS, IR);
    sum = sum + (xi * si) * (xi * si) + 2.0 * xj * xk * sj * sk * ci;
  }
  return static_cast<float>(static_cast<double>(SCALE) * std::sqrt(sum));
}

}  // namespace vorlane::symmetry
