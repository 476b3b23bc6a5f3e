#include "averaging/count_data_figures.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "averaging/complete_set.hpp"
#include "averaging/written_sets.hpp"

namespace vorlane::averaging {

namespace {

using Hkl = std::array<int, 3>;

// 180/pi in single precision (bits 42652EE1).
constexpr float RADDEG = 57.295776f;

// Indices of a measurement fit 16 bits; the offset keeps the packed key ordered.
constexpr std::int64_t OFFSET = 1 << 20;
std::int64_t pack(const Hkl& h) {
  return ((h[0] + OFFSET) << 42) | ((h[1] + OFFSET) << 21) | (h[2] + OFFSET);
}
Hkl unpack(std::int64_t key) {
  constexpr std::int64_t mask = (std::int64_t{1} << 21) - 1;
  return {static_cast<int>(((key >> 42) & mask) - OFFSET),
          static_cast<int>(((key >> 21) & mask) - OFFSET), static_cast<int>((key & mask) - OFFSET)};
}

// Sorts `v` (packed keys, ordered as their indices) and drops repeats. The indices of one
// crystal fill a compact box: a bitmap over the keys' bounding box gives the same keys in the
// same order without a sort, when the box is not much larger than the number of keys.
void sort_unique(std::vector<std::int64_t>& v) {
  if (v.empty()) return;
  Hkl lo = unpack(v[0]);
  Hkl hi = lo;
  for (std::int64_t key : v) {
    const Hkl h = unpack(key);
    for (std::size_t a = 0; a < 3; ++a) {
      lo[a] = std::min(lo[a], h[a]);
      hi[a] = std::max(hi[a], h[a]);
    }
  }
  const std::int64_t n1 = std::int64_t{hi[1]} - lo[1] + 1;
  const std::int64_t n2 = std::int64_t{hi[2]} - lo[2] + 1;
  const double cells = (double(hi[0]) - lo[0] + 1.0) * double(n1) * double(n2);
  if (cells > 64.0 * double(v.size()) + 262144.0) {
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    return;
  }
  std::vector<std::uint64_t> bits((static_cast<std::size_t>(cells) + 63) / 64);
  for (std::int64_t key : v) {
    const Hkl h = unpack(key);
    const auto at = static_cast<std::size_t>(((h[0] - lo[0]) * n1 + (h[1] - lo[1])) * n2 +
                                             (h[2] - lo[2]));
    bits[at >> 6] |= std::uint64_t{1} << (at & 63);
  }
  v.clear();
  for (std::size_t w = 0; w < bits.size(); ++w) {
    for (std::uint64_t b = bits[w]; b != 0; b &= b - 1) {
      const auto at = static_cast<std::int64_t>(w * 64 + static_cast<std::size_t>(std::countr_zero(b)));
      const std::int64_t row = at / n2;
      v.push_back(pack({static_cast<int>(row / n1 + lo[0]), static_cast<int>(row % n1 + lo[1]),
                        static_cast<int>(at % n2 + lo[2])}));
    }
  }
}

bool within(float inv_d, const ResolutionRange& r) {
  return inv_d >= r.inv_d_min && inv_d <= r.inv_d_max;
}

// Measured unique reflections and the complete set, to theta_max and theta_full, in both
// groupings, with the Friedel pairs.
void count_completeness(const run::RunState& rs, std::vector<std::int64_t> measured,
                        DataFigures& f) {
  const expfile::RunControls& ctl = rs.ctl;
  const ResolutionRange to_max = resolution_range(ctl.WAVE, ctl.TTHMIN, 2.0f * f.theta_max);
  const ResolutionRange to_full = resolution_range(ctl.WAVE, ctl.TTHMIN, 2.0f * f.theta_full);
  const ReflectionGrouping laue(rs.sg, Grouping::laue);
  const ReflectionGrouping point_group(rs.sg, Grouping::point_group);
  // With the inversion in the point group the two groupings have the same orbits.
  const bool same_orbits = point_group.centrosymmetric();
  // The complete sets are counted as they are enumerated, not kept: a long cell at a fine
  // limit has millions of unique reflections.
  DataFigures counts;
  const bool laue_known =
      for_each_unique(ctl, rs.sg, rs.celltab, to_max, Grouping::laue, [&](const UniqueReflection& u) {
        ++counts.laue_max.possible;
        if (!u.centric) ++counts.friedel_max.possible;
        if (u.inv_d <= to_full.inv_d_max) {
          ++counts.laue_full.possible;
          if (!u.centric) ++counts.friedel_full.possible;
        }
      });
  if (!laue_known) return;
  if (same_orbits) {
    counts.point_group_max.possible = counts.laue_max.possible;
    counts.point_group_full.possible = counts.laue_full.possible;
  } else if (!for_each_unique(ctl, rs.sg, rs.celltab, to_max, Grouping::point_group,
                              [&](const UniqueReflection& u) {
                                ++counts.point_group_max.possible;
                                if (u.inv_d <= to_full.inv_d_max) ++counts.point_group_full.possible;
                              })) {
    return;
  }
  f.completeness_known = true;
  f.centrosymmetric = point_group.centrosymmetric();
  f.laue_max.possible = counts.laue_max.possible;
  f.laue_full.possible = counts.laue_full.possible;
  f.friedel_max.possible = counts.friedel_max.possible;
  f.friedel_full.possible = counts.friedel_full.possible;
  f.point_group_max.possible = counts.point_group_max.possible;
  f.point_group_full.possible = counts.point_group_full.possible;

  // Measured: the distinct indices as read, each to its orbit in both groupings; absences
  // (measured under ABSENT INCLUDE or LESSTHAN) are not part of the complete set. The
  // point-group keys take the place of the indices they come from.
  std::vector<std::int64_t> laue_keys;
  laue_keys.reserve(measured.size());
  std::vector<std::int64_t>& pg_keys = measured;
  std::size_t kept = 0;
  const AbsenceTest absent(ctl, rs.sg);
  const InverseD inv_d(rs.celltab);
  for (std::size_t i = 0; i < measured.size(); ++i) {
    const Hkl h = unpack(measured[i]);
    if (absent(h)) continue;
    const Hkl l = laue.canonical(h);
    if (!within(inv_d(l), to_max)) continue;
    laue_keys.push_back(pack(l));
    pg_keys[kept++] = pack(same_orbits ? l : point_group.canonical(h));
  }
  pg_keys.resize(kept);
  sort_unique(laue_keys);
  sort_unique(pg_keys);
  for (std::int64_t key : pg_keys) {
    ++f.point_group_max.measured;
    if (inv_d(unpack(key)) <= to_full.inv_d_max) ++f.point_group_full.measured;
  }
  for (std::int64_t key : laue_keys) {
    const Hkl h = unpack(key);
    const bool full = inv_d(h) <= to_full.inv_d_max;
    ++f.laue_max.measured;
    if (full) ++f.laue_full.measured;
    if (point_group.centric(h)) continue;
    const Hkl minus{-h[0], -h[1], -h[2]};
    const bool both = std::binary_search(pg_keys.begin(), pg_keys.end(),
                                         pack(point_group.canonical(h))) &&
                      std::binary_search(pg_keys.begin(), pg_keys.end(),
                                         pack(point_group.canonical(minus)));
    if (!both) continue;
    ++f.friedel_max.measured;
    if (full) ++f.friedel_full.measured;
  }
}

}  // namespace

DataFigures count_data_figures(const run::RunState& rs, const RunResults& res) {
  DataFigures f;
  f.counted = true;
  f.point_group_run = rs.ctl.INOFLIP == 1;
  const run::ReflectionList& list = rs.refl;
  const WrittenData written = written_data(list, rs.ctl, res);
  f.lines_total = written.lines;
  f.lines_gt = written.lines_gt;
  f.lines_overflowed = written.overflowed;

  // The range of 2theta over the written members whose 2theta is known (a Zezor record
  // writes 0 for "not known"), kept in locals while the members pass.
  float tth_min = std::numeric_limits<float>::infinity();
  float tth_max = 0.0f;
  // The distinct indices as read, in no particular order: equal indices always fall into the
  // same set, so a member's indices need only be compared with the distinct ones of its own
  // set (a handful, however often measured).
  std::vector<std::int64_t> measured;
  std::int64_t reflections = 0;
  for (std::size_t s = 0; s < list.sets.size(); ++s) {
    if (written.set_written[s] == 0) continue;
    const run::EquivSet& set = list.sets[s];
    const std::size_t set_start = measured.size();
    for (int j = 1; j <= set.NEQ; ++j) {
      const run::Member& m = list.member(set, j);
      const float tth = m.REFANG[0];
      if (tth > 0.0f) {
        tth_min = std::min(tth_min, tth);
        tth_max = std::max(tth_max, tth);
      }
      const std::int64_t key = pack({m.hkl_read[0], m.hkl_read[1], m.hkl_read[2]});
      bool seen = false;
      for (std::size_t i = set_start; i < measured.size() && !seen; ++i) seen = measured[i] == key;
      if (!seen) measured.push_back(key);
    }
    reflections += std::max(set.NEQ, 0);
  }
  // The ranges of the indices are those of the distinct ones.
  Hkl hkl_min = measured.empty() ? Hkl{} : unpack(measured.front());
  Hkl hkl_max = hkl_min;
  for (const std::int64_t key : measured) {
    const Hkl h = unpack(key);
    hkl_min = {std::min(hkl_min[0], h[0]), std::min(hkl_min[1], h[1]),
               std::min(hkl_min[2], h[2])};
    hkl_max = {std::max(hkl_max[0], h[0]), std::max(hkl_max[1], h[1]),
               std::max(hkl_max[2], h[2])};
  }
  f.reflections = static_cast<decltype(f.reflections)>(reflections);
  if (reflections > 0) {
    f.hkl_min = hkl_min;
    f.hkl_max = hkl_max;
  }
  // SHELX records carry no angle: without a cell or a UB matrix none is known.
  f.theta_known = f.reflections > 0 && !(rs.files.INFMT == 1 && rs.ctl.IBMAT == 0) &&
                  tth_min <= tth_max;
  if (!f.theta_known) return f;
  f.theta_min = tth_min / 2.0f;
  f.theta_max = tth_max / 2.0f;
  // The angle to which data are meant to be complete: sin(theta)/lambda = 0.6 per angstrom.
  const float s = 0.6f * rs.ctl.WAVE;
  f.theta_full = s < 1.0f ? std::min(f.theta_max, std::asin(s) * RADDEG) : f.theta_max;
  if (rs.ctl.ICELL == 0) return f;
  count_completeness(rs, std::move(measured), f);
  return f;
}

}  // namespace vorlane::averaging
