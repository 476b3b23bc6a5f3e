#include "pipeline/complete_set_adapter.hpp"

#include <cmath>
#include <cstdint>
#include <numbers>
#include <unordered_map>

#include "geometry/mat3_ops.hpp"
#include "statistics/dac_access.hpp"
#include "statistics/resolution.hpp"
#include "symmetry/absences.hpp"
#include "symmetry/reflection_image.hpp"

namespace vorlane::pipeline {

namespace {

using Hkl = std::array<int, 3>;

std::int64_t key_of(const Hkl& h) {
  constexpr std::int64_t offset = 1 << 20;
  return ((h[0] + offset) << 42) | ((h[1] + offset) << 21) | (h[2] + offset);
}

// One key for the whole orbit: the largest key among the images (and their Friedel mates
// when those are merged).
std::int64_t orbit_key(const symmetry::SpaceGroup& sg, const Hkl& h, bool friedel_merged) {
  std::int64_t best = key_of(h);
  for (int m = 1; m <= sg.NSYMOP; ++m) {
    const Hkl g = symmetry::reflection_image(sg, m, h);
    best = std::max(best, key_of(g));
    if (friedel_merged) best = std::max(best, key_of({-g[0], -g[1], -g[2]}));
  }
  return best;
}

statistics::DacOpening dac_of(const run::RunState& rs) {
  statistics::DacOpening dac;
  dac.wavelength = rs.ctl.WAVE;
  dac.alpha = rs.ctl.dac.opening * std::numbers::pi / 180.0;
  const auto& v = rs.ctl.dac.axis;
  const double len = std::sqrt(double(v[0]) * v[0] + double(v[1]) * v[1] + double(v[2]) * v[2]);
  for (int i = 0; i < 3; ++i) dac.axis[static_cast<std::size_t>(i)] = v[static_cast<std::size_t>(i)] / len;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j)
      dac.ub[static_cast<std::size_t>((i - 1) * 3 + j - 1)] = geometry::at(rs.cell.UB, i, j);
  return dac;
}

}  // namespace

statistics::PossibleSet possible_reflections(const run::RunState& rs, double inv_d_max) {
  statistics::PossibleSet out;
  if (rs.ctl.IBMAT != 1 || !(inv_d_max > 0.0)) return out;
  const auto gs = statistics::reciprocal_metric(rs.ctl.CELLPAR);
  const bool friedel_merged = rs.ctl.INOFLIP != 1;
  const bool with_dac = rs.ctl.dac.opening > 0.0f && rs.ctl.NUBLIN == 3;
  const statistics::DacOpening dac = with_dac ? dac_of(rs) : statistics::DacOpening{};
  const double limit = inv_d_max * (1.0 + 1e-9);
  Hkl hmax{};
  for (std::size_t k = 0; k < 3; ++k)
    hmax[k] = static_cast<int>(static_cast<double>(rs.ctl.CELLPAR[k]) * limit) + 1;

  std::unordered_map<std::int64_t, std::size_t> index;
  for (int h = -hmax[0]; h <= hmax[0]; ++h) {
    for (int k = -hmax[1]; k <= hmax[1]; ++k) {
      for (int l = -hmax[2]; l <= hmax[2]; ++l) {
        if (h == 0 && k == 0 && l == 0) continue;
        const Hkl hkl{h, k, l};
        const double x = statistics::inverse_d(gs, hkl);
        if (x > limit) continue;
        const std::array<float, 3> f{float(h), float(k), float(l)};
        if (symmetry::ISPABS(rs.sg, f) + symmetry::LATABS(rs.sg, f) != 2) continue;
        const std::int64_t key = orbit_key(rs.sg, hkl, friedel_merged);
        auto [it, added] = index.try_emplace(key, out.inv_d.size());
        if (added) {
          out.inv_d.push_back(x);
          if (with_dac) out.accessible.push_back(0);
        }
        // Every equivalent lies inside the box: the orbit is accessible when any one is.
        if (with_dac && !out.accessible[it->second] &&
            statistics::point_accessible(dac, statistics::lab_vector(dac, hkl)))
          out.accessible[it->second] = 1;
      }
    }
  }
  if (with_dac) {
    for (const run::EquivSet& set : rs.refl.sets) {
      const Hkl h = rs.refl.member(set, 1).IHKL;
      bool any = statistics::point_accessible(dac, statistics::lab_vector(dac, h));
      for (int m = 1; m <= rs.sg.NSYMOP && !any; ++m)
        any = statistics::point_accessible(
            dac, statistics::lab_vector(dac, symmetry::reflection_image(rs.sg, m, h)));
      out.set_accessible.push_back(any ? 1 : 0);
    }
  }
  out.known = true;
  return out;
}

}  // namespace vorlane::pipeline
