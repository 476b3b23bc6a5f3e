#include "symmetry_analysis/reflection_sets.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include <gemmi/unitcell.hpp>

namespace vorlane::symmetry_analysis {

int Shells::of(double s2) const {
  const auto it = std::lower_bound(upper.begin(), upper.end(), s2);
  if (it == upper.end()) return size() - 1;
  return static_cast<int>(it - upper.begin());
}

Shells equal_count_shells(std::vector<double> s2, int per_shell, int max_shells) {
  Shells shells;
  std::sort(s2.begin(), s2.end());
  const int n = static_cast<int>(s2.size());
  const int count = std::clamp(n / std::max(per_shell, 1), 1, max_shells);
  for (int i = 1; i <= count; ++i) {
    const int last = std::max(0, static_cast<int>(static_cast<long long>(n) * i / count) - 1);
    shells.upper.push_back(n > 0 ? s2[static_cast<std::size_t>(last)] : 0.0);
  }
  shells.upper.back() = std::numeric_limits<double>::max();
  return shells;
}

const Orbit* Orbits::find(const Hkl& representative) const {
  const auto it = std::lower_bound(
      sets.begin(), sets.end(), representative,
      [](const Orbit& o, const Hkl& h) { return o.hkl < h; });
  return it != sets.end() && it->hkl == representative ? &*it : nullptr;
}

Orbits group_orbits(const std::vector<Measurement>& data, const std::vector<double>& s2,
                    const PointGroup& group) {
  Orbits orbits;
  std::vector<Hkl> rep(data.size());
  for (std::size_t i = 0; i < data.size(); ++i) rep[i] = group.representative(data[i].hkl);
  std::vector<int> order(data.size());
  std::iota(order.begin(), order.end(), 0);
  // Within an orbit the canonical order of the measurements is kept.
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return rep[static_cast<std::size_t>(a)] < rep[static_cast<std::size_t>(b)]; });
  orbits.members = order;
  for (std::size_t p = 0; p < order.size();) {
    Orbit o;
    o.hkl = rep[static_cast<std::size_t>(order[p])];
    o.first = static_cast<int>(p);
    double w = 0.0;
    double wi = 0.0;
    std::size_t q = p;
    for (; q < order.size() && rep[static_cast<std::size_t>(order[q])] == o.hkl; ++q) {
      const Measurement& m = data[static_cast<std::size_t>(order[q])];
      const double wm = 1.0 / (m.sigma * m.sigma);
      w += wm;
      wi += wm * m.intensity;
    }
    o.count = static_cast<int>(q - p);
    o.s2 = s2[static_cast<std::size_t>(order[p])];
    o.intensity = wi / w;
    o.sigma = 1.0 / std::sqrt(w);
    orbits.sets.push_back(o);
    p = q;
  }
  return orbits;
}

std::vector<double> inverse_d_squared(const std::vector<Measurement>& data,
                                      const std::array<double, 6>& cell) {
  const gemmi::UnitCell uc(cell);
  std::vector<double> s2(data.size());
  for (std::size_t i = 0; i < data.size(); ++i) s2[i] = uc.calculate_1_d2(data[i].hkl);
  return s2;
}

}  // namespace vorlane::symmetry_analysis
