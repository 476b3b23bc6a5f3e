#include "symmetry_analysis/element_scores.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vorlane::symmetry_analysis {
namespace {

constexpr int MIN_FRIEDEL_PAIRS = 200;

struct PairSums {
  long long n = 0;
  double sx = 0.0, sy = 0.0, sxx = 0.0, syy = 0.0, sxy = 0.0;
  void add(double x, double y) {
    ++n;
    sx += x;
    sy += y;
    sxx += x * x;
    syy += y * y;
    sxy += x * y;
  }
  double cc() const {
    if (n < 2) return 0.0;
    const double dn = static_cast<double>(n);
    const double vx = sxx - sx * sx / dn;
    const double vy = syy - sy * sy / dn;
    if (vx <= 0.0 || vy <= 0.0) return 0.0;
    return (sxy - sx * sy / dn) / std::sqrt(vx * vy);
  }
};

Rot inverse_of(const Rot& r) {
  Rot p = r;
  Rot prev = IDENTITY;
  for (int i = 0; i < 6 && p != IDENTITY; ++i) {
    prev = p;
    p = multiply(p, r);
  }
  return prev;  // r^(n-1)
}

double log_sum_exp(double a, double b) {
  const double m = std::max(a, b);
  return m + std::log(std::exp(a - m) + std::exp(b - m));
}

// ln p(cc | absent): the true correlation of an absent element lies between 0 and the
// expected one e, most likely near 0: density 5/e (1 - mu/e)^4 (mean e/6; pseudo-symmetry
// makes it larger).
double log_absent_density(double cc, double expected, int n) {
  constexpr int STEPS = 64;
  double acc = -std::numeric_limits<double>::infinity();
  const double e = std::max(expected, 0.05);
  for (int i = 0; i < STEPS; ++i) {
    const double mu = e * (i + 0.5) / STEPS;
    const double weight = 5.0 / e * std::pow(1.0 - mu / e, 4) * (e / STEPS);
    acc = log_sum_exp(acc, std::log(weight) + log_cc_density(cc, mu, n));
  }
  return acc;
}

}  // namespace

double log_cc_density(double cc, double mu, int n) {
  const double systematic = mu * (0.1 + 0.2 * (1.0 - mu));
  const double var = (1.0 - mu * mu) * (1.0 - mu * mu) / std::max(n, 1) +
                     systematic * systematic + 1e-6;
  const double d = cc - mu;
  return -0.5 * d * d / var - 0.5 * std::log(2.0 * std::numbers::pi * var);
}

std::vector<double> normalised_intensities(const std::vector<Measurement>& data,
                                           const std::vector<double>& s2,
                                           const PointGroup& lattice) {
  const Shells shells = equal_count_shells(s2, 400, 30);
  std::vector<double> sum(static_cast<std::size_t>(shells.size()), 0.0);
  std::vector<double> sum_sigma(sum.size(), 0.0);
  std::vector<int> count(sum.size(), 0);
  std::vector<int> eps(data.size());
  std::vector<int> shell(data.size());
  for (std::size_t i = 0; i < data.size(); ++i) {
    eps[i] = std::max(1, lattice.epsilon(data[i].hkl));
    shell[i] = shells.of(s2[i]);
    const auto s = static_cast<std::size_t>(shell[i]);
    sum[s] += data[i].intensity / eps[i];
    sum_sigma[s] += data[i].sigma;
    ++count[s];
  }
  std::vector<double> e2(data.size());
  for (std::size_t i = 0; i < data.size(); ++i) {
    const auto s = static_cast<std::size_t>(shell[i]);
    // A shell of noise has a mean near zero: its mean sigma keeps the scale finite.
    const double mean = std::max(sum[s] / count[s], sum_sigma[s] / count[s]);
    e2[i] = std::clamp(data[i].intensity / (eps[i] * mean), -5.0, 25.0);
  }
  return e2;
}

ElementScoring score_elements(const std::vector<Measurement>& data,
                              const std::vector<double>& s2, const LatticeSymmetry& lattice) {
  ElementScoring result;
  const std::vector<double> e2 = normalised_intensities(data, s2, lattice.holohedry);
  const PointGroup friedel = with_inversion({IDENTITY});
  const Orbits orbits = group_orbits(data, s2, friedel);
  const auto member = [&](const Orbit& o, int i) {
    return e2[static_cast<std::size_t>(orbits.members[static_cast<std::size_t>(o.first + i)])];
  };

  PairSums identity, friedel_pairs;
  for (const Orbit& o : orbits.sets)
    for (int i = 0; i < o.count; ++i)
      for (int j = i + 1; j < o.count; ++j) {
        const auto a = static_cast<std::size_t>(orbits.members[static_cast<std::size_t>(o.first + i)]);
        const auto b = static_cast<std::size_t>(orbits.members[static_cast<std::size_t>(o.first + j)]);
        identity.add(e2[a], e2[b]);
        if (data[a].hkl != data[b].hkl) friedel_pairs.add(e2[a], e2[b]);
      }
  result.n_identity_pairs = static_cast<int>(identity.n);
  result.cc_identity = identity.cc();
  result.n_friedel_pairs = static_cast<int>(friedel_pairs.n);
  result.cc_friedel = friedel_pairs.cc();
  result.cc_expected = std::clamp(
      result.n_friedel_pairs >= MIN_FRIEDEL_PAIRS ? result.cc_friedel : result.cc_identity, 0.05,
      0.999);

  std::vector<Rot> seen;
  for (const Rot& r : lattice.proper) {
    if (r == IDENTITY) continue;
    const Rot inv = inverse_of(r);
    if (std::find(seen.begin(), seen.end(), inv) != seen.end()) continue;
    seen.push_back(r);
    ElementScore score;
    score.rotation = r;
    score.order = rotation_order(r);
    score.axis = rotation_axis(r);
    PairSums pairs;
    for (const Orbit& o : orbits.sets) {
      const Hkl image = friedel.representative(image_of(o.hkl, r));
      if (image == o.hkl) continue;
      const Orbit* v = orbits.find(image);
      if (v == nullptr) continue;
      for (int i = 0; i < o.count; ++i)
        for (int j = 0; j < v->count; ++j) pairs.add(member(o, i), member(*v, j));
    }
    score.n_pairs = static_cast<int>(pairs.n);
    score.cc = pairs.cc();
    if (score.n_pairs >= 10) {
      score.log_present = log_cc_density(score.cc, result.cc_expected, score.n_pairs);
      score.log_absent = log_absent_density(score.cc, result.cc_expected, score.n_pairs);
      score.likelihood = 1.0 / (1.0 + std::exp(score.log_absent - score.log_present));
    } else {
      score.likelihood = 0.5;  // too few pairs to say
    }
    result.elements.push_back(score);
  }
  return result;
}

}  // namespace vorlane::symmetry_analysis
