#include "symmetry/eqop.hpp"

#include <cmath>
#include <span>

#include "records/program_stop.hpp"
#include "symmetry/eqpos.hpp"

namespace vorlane::symmetry {

void EQOP(SpaceGroup& sg, int& NOP, int& NLAT) {
  const int m = NOP;
  const Mat3& cand = sg.SYMROT[static_cast<std::size_t>(m)];
  int match = 0;
  for (int k = 1; k <= m && match == 0; ++k) {
    const Mat3& r = sg.SYMROT[static_cast<std::size_t>(k - 1)];
    bool same = true;
    for (int e = 0; e < 9; ++e) {
      if (std::fabs(r[e] - cand[e]) > 0.0001f) {
        same = false;
        break;
      }
    }
    if (same) match = k;
  }
  if (match == 0) {
    NOP = m + 1;
    if (NOP > MAX_SYMOP) {
      throw records::ProgramStop(" too many symmetry operators - 48 allowed", true);
    }
    return;
  }
  // Same rotation: the translations differ by nothing (a repeat) or by a lattice centring.
  // The difference is judged modulo whole cell translations, so a translation stored as
  // parsed (e.g. 3/2) is still recognised as the centring it is.
  const Vec3& tk = sg.SYMTRN[static_cast<std::size_t>(match - 1)];
  const Vec3& tc = sg.SYMTRN[static_cast<std::size_t>(m)];
  Vec3 x{};
  bool repeat = true;
  for (int i = 0; i < 3; ++i) {
    const float v = tk[i] - tc[i] + 1.0f;
    x[i] = v - std::trunc(v);
    if (x[i] < 0.0f) x[i] += 1.0f;
    if (!(x[i] <= 0.0001f || x[i] >= 0.9999f)) repeat = false;
  }
  if (repeat) return;
  int n = NLAT;
  EQPOS(std::span<Vec3>(sg.CENVEC), x, n, MAX_CENVEC);
  if (n == NLAT + 1) NLAT = n;
}

}  // namespace vorlane::symmetry
