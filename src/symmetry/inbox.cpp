#include "symmetry/inbox.hpp"

#include <cstdint>

namespace vorlane::symmetry {

int INBOX(const SpaceGroup& sg, const std::array<int, 3>& h) {
  int in = 1;
  for (int j = 0; j < sg.NPLANE; ++j) {
    const auto& p = sg.IPLANE[static_cast<std::size_t>(j)];
    // Summed in 64 bits: a coefficient read from its five columns times an index overflows
    // 32 bits; 64 bits hold the sum for any coefficients and indices below 2^30.
    const std::int64_t s = std::int64_t{p[0]} * h[0] + std::int64_t{p[1]} * h[1] +
                           std::int64_t{p[2]} * h[2] - std::int64_t{p[3]};
    if (s < 0) return -1;
    if (s == 0) in = 0;
  }
  return in;
}

}  // namespace vorlane::symmetry
