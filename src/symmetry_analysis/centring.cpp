#include "symmetry_analysis/centring.hpp"

#include <array>
#include <cstdlib>

namespace vorlane::symmetry_analysis {
namespace {

bool odd(int v) { return (v & 1) != 0; }
int mod3(int v) { return ((v % 3) + 3) % 3; }

constexpr std::array<const char*, 8> NAMES{"P", "A", "B", "C", "I", "F", "R(obv)", "R(rev)"};

// The part of the lattice each centring forbids, for the order of preference.
double forbidden_fraction(const std::string& name) {
  if (name == "P") return 0.0;
  if (name == "F") return 0.75;
  if (name[0] == 'R') return 2.0 / 3.0;
  return 0.5;
}

struct Sums {
  int n = 0;
  int n_strong = 0;
  double sum_i = 0.0;
  double sum_ios = 0.0;
  void add(const Measurement& m) {
    ++n;
    if (m.intensity > 3.0 * m.sigma) ++n_strong;
    sum_i += m.intensity;
    sum_ios += m.intensity / m.sigma;
  }
  ClassFigures figures() const {
    ClassFigures f;
    f.n = n;
    f.n_strong = n_strong;
    if (n > 0) {
      f.mean_i = sum_i / n;
      f.mean_i_over_sigma = sum_ios / n;
    }
    return f;
  }
};

}  // namespace

bool centring_forbids(const std::string& name, const Hkl& h) {
  if (name == "A") return odd(h[1] + h[2]);
  if (name == "B") return odd(h[0] + h[2]);
  if (name == "C") return odd(h[0] + h[1]);
  if (name == "I") return odd(h[0] + h[1] + h[2]);
  if (name == "F") return odd(h[0] + h[1]) || odd(h[0] + h[2]) || odd(h[1] + h[2]);
  if (name == "R(obv)") return mod3(-h[0] + h[1] + h[2]) != 0;
  if (name == "R(rev)") return mod3(h[0] - h[1] + h[2]) != 0;
  return false;
}

char centring_letter(const std::string& name) { return name[0]; }

CentringResult find_centring(const std::vector<Measurement>& data) {
  CentringResult result;
  Sums all;
  std::array<Sums, NAMES.size()> forbidden{};
  for (const Measurement& m : data) {
    all.add(m);
    for (std::size_t c = 1; c < NAMES.size(); ++c)
      if (centring_forbids(NAMES[c], m.hkl)) forbidden[c].add(m);
  }
  result.all = all.figures();
  const double strong_fraction = all.n > 0 ? static_cast<double>(all.n_strong) / all.n : 0.0;
  double best = -1.0;
  for (std::size_t c = 0; c < NAMES.size(); ++c) {
    CentringRow row;
    row.name = NAMES[c];
    row.forbidden = forbidden[c].figures();
    const ClassFigures& f = row.forbidden;
    const bool weak =
        f.mean_i_over_sigma <= 0.1 * result.all.mean_i_over_sigma && f.mean_i_over_sigma < 1.5 &&
        f.n_strong <= (0.1 * strong_fraction + 0.005) * f.n;
    row.accepted = c == 0 || f.n == 0 || weak;
    if (row.accepted && forbidden_fraction(row.name) > best) {
      best = forbidden_fraction(row.name);
      result.chosen = row.name;
    }
    result.rows.push_back(row);
  }
  return result;
}

}  // namespace vorlane::symmetry_analysis
