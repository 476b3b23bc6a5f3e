#include "geometry/getcellvol.hpp"

#include <cmath>

#include "geometry/angle_constants.hpp"

namespace vorlane::geometry {

float GETCELLVOL(std::span<const float> CELL, int IUNIT) {
  const float f = IUNIT == 0 ? DEGRAD : 1.0f;
  const float c1 = std::cos(f * CELL[3]);
  const float c2 = std::cos(f * CELL[4]);
  const float c3 = std::cos(f * CELL[5]);
  const float term = 1.0f + 2.0f * c1 * c2 * c3 - c1 * c1 - c2 * c2 - c3 * c3;
  return CELL[0] * CELL[1] * CELL[2] * std::sqrt(term);
}

}  // namespace vorlane::geometry
