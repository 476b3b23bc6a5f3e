#include "symmetry_analysis/measurement.hpp"

#include <algorithm>
#include <tuple>

namespace vorlane::symmetry_analysis {

std::vector<Measurement> canonical_order(std::vector<Measurement> data) {
  std::sort(data.begin(), data.end(), [](const Measurement& a, const Measurement& b) {
    return std::tie(a.hkl, a.intensity, a.sigma) < std::tie(b.hkl, b.intensity, b.sigma);
  });
  return data;
}

}  // namespace vorlane::symmetry_analysis
