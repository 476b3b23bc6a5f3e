#pragma once
#include <array>

namespace vorlane::geometry {

// Scattering angle 2theta in degrees between the incident beam direction d1 and the
// diffracted beam direction d2: RADDEG*acos(-(d1.d2)) after both vectors are normalised in
// place; 0.0 when abs(d1.d2) > 0.999999 (parallel or antiparallel). A vector of zero length
// (or one with a non-finite component) is left as it is and gives 0.0.
float TTH_FROMDC(std::array<float, 3>& d1, std::array<float, 3>& d2);

}  // namespace vorlane::geometry
