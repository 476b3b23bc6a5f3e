#include "symmetry/degree.hpp"

namespace vorlane::symmetry {

float DEGREE(float X) { return X * 57.29578f; }

}  // namespace vorlane::symmetry
