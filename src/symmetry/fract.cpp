#include "symmetry/fract.hpp"

#include <cmath>

namespace vorlane::symmetry {

void FRACT(float& X, float& Y, int& K) {
  Y = 0.0f;
  K = 1;
  if (X >= 1.0f) {
    Y = std::trunc(X);
    X = X - Y;
  } else if (X >= 0.0f) {
    K = 0;
  } else {
    K = -1;
    Y = std::trunc(X) - 1.0f;
    X = X - Y;
  }
}

}  // namespace vorlane::symmetry
