#include "statistics/resolution.hpp"

#include <cmath>
#include <limits>
#include <numbers>

namespace vorlane::statistics {

std::array<double, 9> reciprocal_metric(const std::array<float, 7>& cell) {
  const double deg = std::numbers::pi / 180.0;
  const double a = cell[0], b = cell[1], c = cell[2];
  const double ca = std::cos(cell[3] * deg), cb = std::cos(cell[4] * deg),
               cg = std::cos(cell[5] * deg);
  const std::array<double, 9> g{a * a,      a * b * cg, a * c * cb, a * b * cg, b * b,
                                b * c * ca, a * c * cb, b * c * ca, c * c};
  // Inverse by cofactors (G is symmetric).
  const double c00 = g[4] * g[8] - g[5] * g[7];
  const double c01 = g[5] * g[6] - g[3] * g[8];
  const double c02 = g[3] * g[7] - g[4] * g[6];
  const double det = g[0] * c00 + g[1] * c01 + g[2] * c02;
  const double c11 = g[0] * g[8] - g[2] * g[6];
  const double c12 = g[2] * g[3] - g[0] * g[5];
  const double c22 = g[0] * g[4] - g[1] * g[3];
  return {c00 / det, c01 / det, c02 / det, c01 / det, c11 / det,
          c12 / det, c02 / det, c12 / det, c22 / det};
}

double inverse_d_squared(const std::array<double, 9>& gs, const std::array<int, 3>& h) {
  const double x = h[0], y = h[1], z = h[2];
  const double q = gs[0] * x * x + gs[4] * y * y + gs[8] * z * z +
                   2.0 * (gs[1] * x * y + gs[2] * x * z + gs[5] * y * z);
  return std::max(q, 0.0);
}

double inverse_d(const std::array<double, 9>& gs, const std::array<int, 3>& h) {
  return std::sqrt(inverse_d_squared(gs, h));
}

SetResolution set_resolution(const run::ReflectionList& list, const expfile::RunControls& ctl) {
  SetResolution r;
  r.inv_d.reserve(list.sets.size());
  if (ctl.IBMAT == 1) {
    const auto gs = reciprocal_metric(ctl.CELLPAR);
    for (std::size_t i = 0; i < list.sets.size(); ++i) {
      list.prefetch_first(i + run::ReflectionList::PREFETCH_SETS);
      r.inv_d.push_back(inverse_d(gs, list.member(list.sets[i], 1).IHKL));
    }
    r.known = true;
    return r;
  }
  const double deg = std::numbers::pi / 180.0;
  bool any = false;
  for (std::size_t i = 0; i < list.sets.size(); ++i) {
    list.prefetch_first(i + run::ReflectionList::PREFETCH_SETS);
    const run::EquivSet& set = list.sets[i];
    // A 2theta of 0 is not known: the set takes the first member's that is, and a set
    // without any stays out of the shells (NaN).
    double tth = 0.0;
    for (int j = 1; j <= set.NEQ && !(tth > 0.0); ++j) tth = list.member(set, j).REFANG[0];
    if (!(tth > 0.0)) {
      r.inv_d.push_back(std::numeric_limits<double>::quiet_NaN());
      continue;
    }
    any = true;
    r.inv_d.push_back(2.0 * std::sin(tth * deg / 2.0) / ctl.WAVE);
  }
  if (!any) {
    r.inv_d.clear();
    r.reason = "NO CELL AND NO 2THETA IN THE INPUT: NO RESOLUTION SHELLS";
    return r;
  }
  r.known = true;
  return r;
}

}  // namespace vorlane::statistics
