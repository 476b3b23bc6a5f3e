#include "symmetry/eqpos.hpp"

#include <cmath>
#include <string>

#include "records/edit_list.hpp"
#include "records/program_stop.hpp"

namespace vorlane::symmetry {

void EQPOS(std::span<Vec3> LIST, const Vec3& X, int& N, int NMAX) {
  for (int k = 1; k <= N; ++k) {
    const Vec3& p = LIST[static_cast<std::size_t>(k - 1)];
    bool same = true;
    for (int i = 0; i < 3; ++i) {
      const float diff = std::fabs(p[i] - X[i]);
      const float d = diff - std::trunc(diff);
      if (!(d <= 0.0005f || d >= 0.9995f)) {
        same = false;
        break;
      }
    }
    if (same) {
      N = k;
      return;
    }
  }
  const int k = N + 1;
  if (k > NMAX || k > static_cast<int>(LIST.size())) {
    const auto text = records::format("\" more than\",I3,\"equivalent positions found\"", NMAX);
    throw records::ProgramStop(text.empty() ? std::string() : text.front(), true);
  }
  LIST[static_cast<std::size_t>(k - 1)] = X;
  N = k;
}

}  // namespace vorlane::symmetry
