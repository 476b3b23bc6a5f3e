#include "symmetry_analysis/conventional_cell.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

#include "symmetry_analysis/centring.hpp"
#include "symmetry_analysis/settings_table.hpp"

namespace vorlane::symmetry_analysis {
namespace {

using Vec = std::array<int, 3>;
using Metric = std::array<std::array<double, 3>, 3>;

constexpr double PI = 3.14159265358979323846;

Metric metric_of(const std::array<double, 6>& p) {
  const double ca = std::cos(p[3] * PI / 180.0);
  const double cb = std::cos(p[4] * PI / 180.0);
  const double cg = std::cos(p[5] * PI / 180.0);
  return {{{p[0] * p[0], p[0] * p[1] * cg, p[0] * p[2] * cb},
           {p[0] * p[1] * cg, p[1] * p[1], p[1] * p[2] * ca},
           {p[0] * p[2] * cb, p[1] * p[2] * ca, p[2] * p[2]}}};
}

// M G M^T.
Metric transformed(const Metric& g, const Rot& m) {
  Metric r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      double s = 0.0;
      for (int k = 0; k < 3; ++k)
        for (int l = 0; l < 3; ++l) s += m[i * 3 + k] * g[k][l] * m[j * 3 + l];
      r[i][j] = s;
    }
  return r;
}

std::array<double, 6> parameters_of(const Metric& g) {
  const double a = std::sqrt(g[0][0]), b = std::sqrt(g[1][1]), c = std::sqrt(g[2][2]);
  const auto angle = [](double cosine) {
    return std::acos(std::clamp(cosine, -1.0, 1.0)) * 180.0 / PI;
  };
  return {a, b, c, angle(g[1][2] / (b * c)), angle(g[0][2] / (a * c)), angle(g[0][1] / (a * b))};
}

// The transpose of the adjugate: M^-T = adjugate(M)^T / det(M).
Rot adjugate_transposed(const Rot& m) {
  Rot c{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      const int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
      c[i * 3 + j] = m[i1 * 3 + j1] * m[i2 * 3 + j2] - m[i1 * 3 + j2] * m[i2 * 3 + j1];
    }
  return c;  // the cofactor matrix, which is the adjugate transposed
}

Rot transposed(const Rot& m) {
  return {m[0], m[3], m[6], m[1], m[4], m[7], m[2], m[5], m[8]};
}

Vec apply(const Rot& r, const Vec& u) {
  return {r[0] * u[0] + r[1] * u[1] + r[2] * u[2], r[3] * u[0] + r[4] * u[1] + r[5] * u[2],
          r[6] * u[0] + r[7] * u[1] + r[8] * u[2]};
}

bool primitive_vector(const Vec& u) {
  return std::gcd(std::gcd(std::abs(u[0]), std::abs(u[1])), std::abs(u[2])) == 1;
}

// The candidate axes: lattice vectors (primitive along their line) along a rotation axis of
// the group and, when all its rotations share one axis (Laue classes 2/m, 4/m, -3, 6/m), in
// the lattice plane normal to it (there the other conventional axes lie: the vectors whose
// images under the rotations sum to zero), from the combinations of the Niggli-reduced axes
// with coefficients up to 3.
std::vector<Vec> candidate_axes(const Crystal& crystal, const std::vector<Rot>& group) {
  std::vector<Vec> axes;
  std::vector<Vec> lines;
  for (const Rot& r : group)
    if (r != IDENTITY) {
      const Vec u = rotation_axis(r);
      axes.push_back(u);
      axes.push_back({-u[0], -u[1], -u[2]});
      if (std::find(lines.begin(), lines.end(), u) == lines.end()) lines.push_back(u);
    }
  if (lines.size() == 1) {
    const Rot n = niggli_axes(crystal);
    for (int x = -3; x <= 3; ++x)
      for (int y = -3; y <= 3; ++y)
        for (int z = -3; z <= 3; ++z) {
          const Vec c{x, y, z};
          if (!primitive_vector(c)) continue;
          const Vec u{c[0] * n[0] + c[1] * n[3] + c[2] * n[6],
                      c[0] * n[1] + c[1] * n[4] + c[2] * n[7],
                      c[0] * n[2] + c[1] * n[5] + c[2] * n[8]};
          Vec sum{0, 0, 0};
          for (const Rot& r : group) {
            const Vec image = apply(r, u);
            for (int k = 0; k < 3; ++k) sum[k] += image[k];
          }
          if (sum == Vec{0, 0, 0}) axes.push_back(u);
        }
  }
  std::sort(axes.begin(), axes.end());
  axes.erase(std::unique(axes.begin(), axes.end()), axes.end());
  return axes;
}

// The centring of the new cell: every new index triple is M h, so the centring's condition
// holds for all of them when it holds for the images of (1 0 0), (0 1 0) and (0 0 1) (the
// columns of M), and the centred lattice is the lattice itself when its multiplicity is
// det M.
std::string centring_of(const Rot& m, int det) {
  static constexpr std::array<const char*, 6> CENTRED{"C", "A", "B", "I", "R(obv)", "F"};
  if (det == 1) return "P";
  for (const char* name : CENTRED) {
    const int multiplicity = name[0] == 'F' ? 4 : name[0] == 'R' ? 3 : 2;
    if (multiplicity != det) continue;
    bool holds = true;
    for (int j = 0; j < 3 && holds; ++j)
      holds = !centring_forbids(name, {m[j], m[3 + j], m[6 + j]});
    if (holds) return name;
  }
  return {};
}

int centring_rank(const std::string& name) {
  static constexpr std::array<char, 7> ORDER{'P', 'C', 'A', 'B', 'I', 'F', 'R'};
  return static_cast<int>(std::find(ORDER.begin(), ORDER.end(), name[0]) - ORDER.begin());
}

struct Candidate {
  Rot m{};
  PointGroup group;  // the rotations and their negatives in the new axes
  std::string centring;
  int setting_rank = 0;
  long long edges = 0;  // the sum of the edges in units of 10^-4 Angstrom
  int acute = 0;
  int distance = 0;
};

bool better(const Candidate& x, const Candidate& y) {
  if (centring_rank(x.centring) != centring_rank(y.centring))
    return centring_rank(x.centring) < centring_rank(y.centring);
  if (x.setting_rank != y.setting_rank) return x.setting_rank < y.setting_rank;
  if (x.edges != y.edges) return x.edges < y.edges;
  if (x.acute != y.acute) return x.acute < y.acute;
  if (x.distance != y.distance) return x.distance < y.distance;
  return x.m > y.m;
}

// The group the rotations generate, the identity first.
std::vector<Rot> closure(const std::vector<Rot>& rotations) {
  std::vector<Rot> group{IDENTITY};
  for (bool grown = true; grown;) {
    grown = false;
    for (const Rot& r : rotations)
      for (std::size_t i = 0; i < group.size(); ++i) {
        const Rot p = multiply(group[i], r);
        if (std::find(group.begin(), group.end(), p) == group.end() && group.size() < 48) {
          group.push_back(p);
          grown = true;
        }
      }
  }
  return group;
}

}  // namespace

std::string reindexing_text(const Rot& m) {
  static constexpr std::array<char, 3> NAMES{'h', 'k', 'l'};
  std::string s;
  for (int i = 0; i < 3; ++i) {
    if (i > 0) s += ',';
    bool first = true;
    for (int j = 0; j < 3; ++j) {
      const int v = m[i * 3 + j];
      if (v == 0) continue;
      if (v < 0) s += '-';
      else if (!first) s += '+';
      if (std::abs(v) != 1) s += std::to_string(std::abs(v));
      s += NAMES[static_cast<std::size_t>(j)];
      first = false;
    }
    if (first) s += '0';
  }
  return s;
}

Hkl reindexed(const Hkl& h, const Rot& m) { return apply(m, h); }

Crystal reindexed_crystal(const Crystal& crystal, const Rot& m) {
  Crystal result = crystal;
  std::array<int, 3> from{};
  std::array<int, 3> sign{};
  bool permutation = true;
  for (int i = 0; i < 3 && permutation; ++i) {
    int nonzero = 0;
    for (int j = 0; j < 3; ++j)
      if (m[i * 3 + j] != 0) {
        ++nonzero;
        from[i] = j;
        sign[i] = m[i * 3 + j];
      }
    permutation = nonzero == 1 && std::abs(sign[i]) == 1;
  }
  if (permutation && std::abs(determinant(m)) == 1) {
    const auto& p = crystal.cell;
    for (int i = 0; i < 3; ++i) {
      const int j = (i + 1) % 3, k = (i + 2) % 3;  // the angle between new axes j and k
      const double old = p[static_cast<std::size_t>(3 + 3 - from[j] - from[k])];
      result.cell[static_cast<std::size_t>(i)] = p[static_cast<std::size_t>(from[i])];
      result.cell[static_cast<std::size_t>(3 + i)] = sign[j] * sign[k] > 0 ? old : 180.0 - old;
    }
    return result;
  }
  result.cell = parameters_of(transformed(metric_of(crystal.cell), m));
  return result;
}

std::optional<Reindexing> conventional_setting(const Crystal& crystal,
                                               const std::vector<Rot>& rotations,
                                               double tolerance_deg) {
  const std::vector<Rot> target = closure(rotations);
  if (target.size() < 2) return std::nullopt;
  const std::vector<Vec> axes = candidate_axes(crystal, target);
  const Metric g = metric_of(crystal.cell);
  const std::size_t n_axes = axes.size();
  std::vector<Candidate> found;
  for (std::size_t i = 0; i < n_axes; ++i)
    for (std::size_t j = 0; j < n_axes; ++j)
      for (std::size_t k = 0; k < n_axes; ++k) {
        const Rot m{axes[i][0], axes[i][1], axes[i][2], axes[j][0], axes[j][1],
                    axes[j][2], axes[k][0], axes[k][1], axes[k][2]};
        const int det = determinant(m);
        if (det < 1 || det > 4) continue;
        const std::string centring = centring_of(m, det);
        if (centring.empty()) continue;
        // The rotations in the new axes, M^-T R M^T, must be integral.
        const Rot adj_t = adjugate_transposed(m);
        const Rot m_t = transposed(m);
        std::vector<Rot> rotated;
        bool integral = true;
        for (const Rot& r : target) {
          Rot q = multiply(multiply(adj_t, r), m_t);
          for (int& v : q) {
            integral = integral && v % det == 0;
            v /= det;
          }
          if (!integral) break;
          rotated.push_back(q);
        }
        if (!integral) continue;
        const PointGroup group = with_inversion(rotated);
        const bool in_table = std::any_of(
            settings_table().begin(), settings_table().end(), [&](const Setting& s) {
              return s.centring == centring[0] && s.laue.rotations == group.rotations;
            });
        if (!in_table) continue;
        Candidate c;
        c.m = m;
        c.group = group;
        c.centring = centring;
        c.setting_rank = laue_name(group).setting == "P 1 2/m 1" ? 0 : 1;
        const Metric h = transformed(g, m);
        // Rounded, so that equal edges computed along other paths compare equal.
        c.edges =
            std::llround(1e4 * (std::sqrt(h[0][0]) + std::sqrt(h[1][1]) + std::sqrt(h[2][2])));
        for (int a = 0; a < 3; ++a)
          for (int b = a + 1; b < 3; ++b)
            if (h[a][b] > 1e-6 * std::sqrt(h[a][a] * h[b][b])) ++c.acute;
        for (int e = 0; e < 9; ++e) c.distance += std::abs(m[e] - (e % 4 == 0 ? 1 : 0));
        found.push_back(c);
      }
  std::sort(found.begin(), found.end(), better);
  for (const Candidate& c : found) {
    // The lattice symmetry of the new cell, found afresh, must offer the group as a
    // candidate Laue class in its axes.
    const LatticeSymmetry check = lattice_symmetry(reindexed_crystal(crystal, c.m),
                                                   centring_letter(c.centring), tolerance_deg);
    const bool offered = std::any_of(check.candidates.begin(), check.candidates.end(),
                                     [&](const LaueCandidate& l) {
                                       return l.group.rotations.size() == 2 * target.size() &&
                                              l.group.subgroup_of(c.group);
                                     });
    if (offered) return Reindexing{c.m, c.centring};
  }
  return std::nullopt;
}

}  // namespace vorlane::symmetry_analysis
