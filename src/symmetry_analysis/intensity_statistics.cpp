#include "symmetry_analysis/intensity_statistics.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "symmetry_analysis/centring.hpp"
#include "symmetry_analysis/reflection_sets.hpp"

namespace vorlane::symmetry_analysis {

double nz_acentric(double z) { return 1.0 - std::exp(-z); }
double nz_centric(double z) { return std::erf(std::sqrt(z / 2.0)); }
double nl_untwinned(double l) { return l; }
double nl_perfect_twin(double l) { return l * (3.0 - l * l) / 2.0; }

IntensityStatistics intensity_statistics(const std::vector<Measurement>& data,
                                         const std::vector<double>& s2, const PointGroup& laue,
                                         const PointGroup& lattice, const std::string& centring) {
  IntensityStatistics st;
  const Orbits orbits = group_orbits(data, s2, laue);
  std::vector<const Orbit*> general;
  for (const Orbit& o : orbits.sets)
    if (!centring_forbids(centring, o.hkl) && lattice.epsilon(o.hkl) == 1 &&
        !lattice.centric(o.hkl))
      general.push_back(&o);
  st.n_general = static_cast<int>(general.size());
  if (general.empty()) return st;

  std::vector<double> gs2;
  for (const Orbit* o : general) gs2.push_back(o->s2);
  const Shells shells = equal_count_shells(gs2, 60, 20);
  const auto ns = static_cast<std::size_t>(shells.size());
  std::vector<double> sum_i(ns, 0.0), sum_ios(ns, 0.0), sum_s2(ns, 0.0);
  std::vector<int> count(ns, 0);
  for (const Orbit* o : general) {
    const auto s = static_cast<std::size_t>(shells.of(o->s2));
    sum_i[s] += o->intensity;
    sum_ios[s] += o->intensity / o->sigma;
    sum_s2[s] += o->s2;
    ++count[s];
  }
  std::vector<bool> good(ns, false);
  for (std::size_t s = 0; s < ns; ++s) {
    if (count[s] == 0) continue;
    good[s] = sum_ios[s] / count[s] >= 2.0 && sum_i[s] > 0.0;
    if (sum_i[s] > 0.0)
      st.wilson.push_back({sum_s2[s] / count[s] / 4.0, std::log(sum_i[s] / count[s]), count[s]});
  }

  // Wilson B from a straight line through the shells beyond 4 Angstrom (all when fewer than 3).
  {
    std::vector<WilsonPoint> fit;
    for (const WilsonPoint& p : st.wilson)
      if (p.s2 > 1.0 / 64.0) fit.push_back(p);
    if (fit.size() < 3) fit = st.wilson;
    if (fit.size() >= 2) {
      double sx = 0, sy = 0, sxx = 0, sxy = 0;
      for (const WilsonPoint& p : fit) {
        sx += p.s2;
        sy += p.ln_mean_i;
        sxx += p.s2 * p.s2;
        sxy += p.s2 * p.ln_mean_i;
      }
      const double n = static_cast<double>(fit.size());
      const double den = n * sxx - sx * sx;
      if (den > 0.0) {
        const double slope = (n * sxy - sx * sy) / den;
        st.wilson_b = -0.5 * slope;
        st.wilson_intercept = (sy - slope * sx) / n;
        st.wilson_fitted = std::isfinite(slope) && std::isfinite(st.wilson_intercept);
      }
    }
  }

  double sum_abs = 0.0, sum_e4 = 0.0;
  std::array<int, 10> below{};
  std::vector<char> used(orbits.sets.size(), 0);
  for (const Orbit* o : general) {
    const auto s = static_cast<std::size_t>(shells.of(o->s2));
    if (!good[s]) continue;
    used[static_cast<std::size_t>(o - orbits.sets.data())] = 1;
    const double e2 = o->intensity / (sum_i[s] / count[s]);
    ++st.n_used;
    sum_abs += std::fabs(e2 - 1.0);
    sum_e4 += e2 * e2;
    for (int k = 0; k < 10; ++k)
      if (e2 <= 0.1 * (k + 1)) ++below[static_cast<std::size_t>(k)];
  }
  if (st.n_used > 0) {
    st.mean_abs_e2_minus_1 = sum_abs / st.n_used;
    st.second_moment = sum_e4 / st.n_used;
    for (std::size_t k = 0; k < 10; ++k) st.nz[k] = static_cast<double>(below[k]) / st.n_used;
  }

  double sum_l = 0.0;
  std::array<int, 10> lbelow{};
  const Hkl steps[3] = {{2, 0, 0}, {0, 2, 0}, {0, 0, 2}};
  for (const Orbit* o : general) {
    if (used[static_cast<std::size_t>(o - orbits.sets.data())] == 0) continue;
    for (const Hkl& d : steps) {
      const Hkl n{o->hkl[0] + d[0], o->hkl[1] + d[1], o->hkl[2] + d[2]};
      const Orbit* q = orbits.find(laue.representative(n));
      if (q == nullptr || used[static_cast<std::size_t>(q - orbits.sets.data())] == 0) continue;
      const double total = o->intensity + q->intensity;
      if (total <= 0.0) continue;
      const double l = std::min(1.0, std::fabs((o->intensity - q->intensity) / total));
      ++st.n_l_pairs;
      sum_l += l;
      for (int k = 0; k < 10; ++k)
        if (l <= 0.1 * (k + 1)) ++lbelow[static_cast<std::size_t>(k)];
    }
  }
  if (st.n_l_pairs > 0) {
    st.mean_abs_l = sum_l / st.n_l_pairs;
    for (std::size_t k = 0; k < 10; ++k) st.nl[k] = static_cast<double>(lbelow[k]) / st.n_l_pairs;
  }
  st.twinning_suspected = st.n_l_pairs >= 500 && st.mean_abs_l < 0.44;
  const double e_position = (st.mean_abs_e2_minus_1 - 0.736) / (0.968 - 0.736);
  const double l_position = (st.mean_abs_l - 0.5) / (2.0 / std::numbers::pi - 0.5);
  st.centric_score = st.n_l_pairs >= 100 ? 0.5 * (e_position + l_position) : e_position;
  st.reliable = st.n_used >= 100;
  if (st.reliable) st.centrosymmetric_likely = st.centric_score > 0.5;
  return st;
}

}  // namespace vorlane::symmetry_analysis
