#include "symmetry/inbox.hpp"

namespace vorlane::symmetry {

int INBOX(const SpaceGroup& sg, const std::array<int, 3>& h) {
  int in = 1;
  for (int j = 0; j < sg.NPLANE; ++j) {
    const auto& p = sg.IPLANE[static_cast<std::size_t>(j)];
    const int s = p[0] * h[0] + p[1] * h[1] + p[2] * h[2] - p[3];
    if (s < 0) return -1;
    if (s == 0) in = 0;
  }
  return in;
}

}  // namespace vorlane::symmetry
