#include "expfile/symmetry_cards_closure.hpp"

#include <cmath>

#include "symmetry/eqop.hpp"
#include "symmetry/gmprd.hpp"

namespace vorlane::expfile {
namespace {

using symmetry::SpaceGroup;

// Operator a times operator b into slot `into` (1-based): R_a·R_b, R_a·t_b + t_a with the
// translation brought into [0,1).
void product(SpaceGroup& sg, int a, int b, int into) {
  const auto ia = static_cast<std::size_t>(a - 1);
  const auto ib = static_cast<std::size_t>(b - 1);
  const auto io = static_cast<std::size_t>(into - 1);
  symmetry::GMPRD(sg.SYMROT[ia], sg.SYMTRN[ib], sg.SYMTRN[io], 3, 3, 1);
  for (int i = 0; i < 3; ++i) {
    float t = sg.SYMTRN[io][static_cast<std::size_t>(i)] + sg.SYMTRN[ia][static_cast<std::size_t>(i)];
    t = t - std::trunc(t);
    if (t < 0.0f) t = t + 1.0f;
    sg.SYMTRN[io][static_cast<std::size_t>(i)] = t;
  }
  symmetry::GMPRD(sg.SYMROT[ia], sg.SYMROT[ib], sg.SYMROT[io], 3, 3, 3);
}

}  // namespace

void complete_group(SpaceGroup& sg) {
  int n = sg.NSYMOP;
  symmetry::EQOP(sg, n, sg.NCENVEC);
  if (n == sg.NSYMOP) return;  // a repeat, or a new centring vector
  while (n > sg.NSYMOP) {
    sg.NSYMOP = sg.NSYMOP + 1;
    const int m = sg.NSYMOP;
    const int last = sg.NSYMOP;
    for (int l = 2; l <= last; ++l) {
      product(sg, m, l, n + 1);
      symmetry::EQOP(sg, n, sg.NCENVEC);
      product(sg, l, m, n + 1);
      symmetry::EQOP(sg, n, sg.NCENVEC);
    }
  }
}

}  // namespace vorlane::expfile
