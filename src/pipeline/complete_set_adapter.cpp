#include "pipeline/complete_set_adapter.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>
#include <numbers>
#include <unordered_map>

#include "averaging/complete_set.hpp"
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

// The operators as integer matrices acting on indices (row i of an image is
// rows[m][i] . h), with the Friedel mates' negated copies when those are merged: an orbit is
// then every image of its reflection.
struct Images {
  std::vector<std::array<int, 9>> rows;

  Images(const symmetry::SpaceGroup& sg, bool friedel_merged) {
    for (int m = 1; m <= sg.NSYMOP; ++m) {
      std::array<int, 9> r{};
      for (int j = 0; j < 3; ++j) {
        Hkl unit{0, 0, 0};
        unit[static_cast<std::size_t>(j)] = 1;
        const Hkl col = symmetry::reflection_image(sg, m, unit);
        for (int i = 0; i < 3; ++i)
          r[static_cast<std::size_t>(i * 3 + j)] = col[static_cast<std::size_t>(i)];
      }
      rows.push_back(r);
      if (friedel_merged) {
        for (int& v : r) v = -v;
        rows.push_back(r);
      }
    }
  }

  static Hkl apply(const std::array<int, 9>& r, const Hkl& h) {
    return {r[0] * h[0] + r[1] * h[1] + r[2] * h[2], r[3] * h[0] + r[4] * h[1] + r[5] * h[2],
            r[6] * h[0] + r[7] * h[1] + r[8] * h[2]};
  }

  // The orbit's representative: its image of largest key.
  std::int64_t orbit_key(const Hkl& h) const {
    std::int64_t best = key_of(h);
    for (const auto& r : rows) best = std::max(best, key_of(apply(r, h)));
    return best;
  }

  // Whether h is its orbit's representative; stops at the first image of larger key.
  bool representative(const Hkl& h) const {
    const std::int64_t own = key_of(h);
    for (const auto& r : rows)
      if (key_of(apply(r, h)) > own) return false;
    return true;
  }
};

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
  // Nothing beyond the limiting sphere (1/d = 2/lambda) can be measured, whatever indices a
  // file holds: the enumeration never goes past it.
  if (rs.ctl.WAVE > 0.0f) inv_d_max = std::min(inv_d_max, 2.0 / static_cast<double>(rs.ctl.WAVE));
  const auto gs = statistics::reciprocal_metric(rs.ctl.CELLPAR);
  const bool friedel_merged = rs.ctl.INOFLIP != 1;
  const bool with_dac = rs.ctl.dac.opening > 0.0f && rs.ctl.NUBLIN == 3;
  if (!with_dac) {
    // Without a cell opening the complete set is the one the CIF's fractions use, in the
    // grouping the run used.
    // 1/d again in double from the indices, as the sets' own 1/d is formed, so that a
    // reflection lands in the same shell as its measured set. Only 1/d is kept.
    const bool known = averaging::for_each_unique(
        rs.ctl, rs.sg, rs.celltab, {0.0f, static_cast<float>(inv_d_max * (1.0 + 1e-5))},
        friedel_merged ? averaging::Grouping::laue : averaging::Grouping::point_group,
        [&](const averaging::UniqueReflection& u) {
          const double x = statistics::inverse_d(gs, u.hkl);
          if (x <= inv_d_max * (1.0 + 1e-9)) out.inv_d.push_back(x);
        });
    if (!known) {
      out.inv_d.clear();
      return out;
    }
    out.known = true;
    return out;
  }
  const statistics::DacOpening dac = dac_of(rs);
  const double limit = inv_d_max * (1.0 + 1e-9);
  const double limit2 = limit * limit;
  Hkl hmax{};
  double box = 1.0;
  for (std::size_t k = 0; k < 3; ++k) {
    const double bound = std::floor(static_cast<double>(rs.ctl.CELLPAR[k]) * limit) + 1.0;
    // A bound like the complete set's (a fifth of it: this enumeration keeps an entry per
    // orbit of the whole sphere): beyond it the accessible set is unknown.
    if (!std::isfinite(bound) || bound < 0.0 || bound > 1.0e6) return out;
    hmax[k] = static_cast<int>(bound);
    box *= 2.0 * bound + 1.0;
  }
  if (box > averaging::MAX_ENUMERATED / 5.0) return out;

  const Images images(rs.sg, friedel_merged);
  auto allowed = [&rs](const Hkl& h) {
    const std::array<float, 3> f{float(h[0]), float(h[1]), float(h[2])};
    return symmetry::ISPABS(rs.sg, f) + symmetry::LATABS(rs.sg, f) == 2;
  };
  // Orbit key -> entry of the complete set (only needed to mark accessible orbits).
  std::unordered_map<std::int64_t, std::size_t> index;
  for (int h = -hmax[0]; h <= hmax[0]; ++h) {
    for (int k = -hmax[1]; k <= hmax[1]; ++k) {
      for (int l = -hmax[2]; l <= hmax[2]; ++l) {
        if (h == 0 && k == 0 && l == 0) continue;
        const Hkl hkl{h, k, l};
        const double x2 = statistics::inverse_d_squared(gs, hkl);
        if (x2 > limit2) continue;
        const double x = std::sqrt(x2);
        if (!with_dac) {
          // Absences are a property of the orbit: test its representative only.
          if (images.representative(hkl) && allowed(hkl)) out.inv_d.push_back(x);
          continue;
        }
        // Every equivalent lies inside the box: the orbit is accessible when any one is.
        const bool here = statistics::point_accessible(dac, statistics::lab_vector(dac, hkl));
        if (!here && !images.representative(hkl)) continue;
        const std::int64_t key = images.orbit_key(hkl);
        auto it = index.find(key);
        if (it == index.end()) {
          const Hkl rep{static_cast<int>((key >> 42) - (1 << 20)),
                        static_cast<int>(((key >> 21) & ((1 << 21) - 1)) - (1 << 20)),
                        static_cast<int>((key & ((1 << 21) - 1)) - (1 << 20))};
          const bool present = allowed(rep);
          it = index.emplace(key, present ? out.inv_d.size() : SIZE_MAX).first;
          if (present) {
            out.inv_d.push_back(x);
            out.accessible.push_back(0);
          }
        }
        if (here && it->second != SIZE_MAX) out.accessible[it->second] = 1;
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
