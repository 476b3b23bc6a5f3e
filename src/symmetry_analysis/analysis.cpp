#include "symmetry_analysis/analysis.hpp"

#include <algorithm>
#include <cmath>

#include "symmetry_analysis/reflection_sets.hpp"

namespace vorlane::symmetry_analysis {
namespace {

constexpr int MIN_MEASUREMENTS = 100;
constexpr int MIN_IDENTITY_PAIRS = 50;

// A rotation of order 3, 4 or 6 that the data show (likelihood above 0.5) in a lattice that
// is not cubic (one such axis only), not along c: the axes are turned cyclically to bring it
// there, since the tables of space-group settings have that axis along c only. Returns the
// reindexing ("k,l,h" or "l,h,k"), or empty.
std::string axis_to_c(const ElementScoring& scoring) {
  std::vector<std::array<int, 3>> axes;
  for (const ElementScore& e : scoring.elements)
    if (e.order >= 3 && std::find(axes.begin(), axes.end(), e.axis) == axes.end())
      axes.push_back(e.axis);
  if (axes.size() != 1) return {};
  const auto& a = axes.front();
  const bool shown = std::any_of(scoring.elements.begin(), scoring.elements.end(),
                                 [&](const ElementScore& e) {
                                   return e.order >= 3 && e.axis == a && e.likelihood > 0.5;
                                 });
  if (!shown) return {};
  if (a == std::array<int, 3>{1, 0, 0}) return "k,l,h";
  if (a == std::array<int, 3>{0, 1, 0}) return "l,h,k";
  return {};
}

void reindex(std::vector<Measurement>& data, Crystal& crystal, const std::string& op) {
  const auto& p = crystal.cell;
  for (Measurement& m : data) {
    const Hkl h = m.hkl;
    if (op == "-h,-k,l") m.hkl = {-h[0], -h[1], h[2]};
    if (op == "k,l,h") m.hkl = {h[1], h[2], h[0]};
    if (op == "l,h,k") m.hkl = {h[2], h[0], h[1]};
  }
  if (op == "k,l,h") crystal.cell = {p[1], p[2], p[0], p[4], p[5], p[3]};
  if (op == "l,h,k") crystal.cell = {p[2], p[0], p[1], p[5], p[3], p[4]};
}

}  // namespace

Analysis analyse(std::vector<Measurement> data, const Crystal& crystal, const Options& options) {
  Analysis a;
  a.crystal = crystal;
  data.erase(std::remove_if(data.begin(), data.end(),
                            [](const Measurement& m) {
                              return !(m.sigma > 0.0) || !std::isfinite(m.sigma) ||
                                     !std::isfinite(m.intensity);
                            }),
             data.end());
  data = canonical_order(std::move(data));
  a.n_measurements = static_cast<int>(data.size());
  if (a.n_measurements < MIN_MEASUREMENTS) {
    a.reason = "too little data: " + std::to_string(a.n_measurements) + " measurements";
    return a;
  }

  a.centring = find_centring(data);
  if (a.centring.chosen == "R(rev)") {
    // Reverse rhombohedral: the settings are obverse, reached by turning a and b over.
    a.reindexing = "-h,-k,l";
    reindex(data, a.crystal, a.reindexing);
    data = canonical_order(std::move(data));
    a.centring = find_centring(data);
  }
  a.lattice = lattice_symmetry(a.crystal, centring_letter(a.centring.chosen),
                               options.tolerance_deg);
  std::vector<double> s2 = inverse_d_squared(data, a.crystal.cell);
  a.elements = score_elements(data, s2, a.lattice);
  if (a.reindexing.empty()) {
    const std::string turn = axis_to_c(a.elements);
    if (!turn.empty()) {
      a.reindexing = turn;
      reindex(data, a.crystal, turn);
      data = canonical_order(std::move(data));
      a.centring = find_centring(data);
      a.lattice = lattice_symmetry(a.crystal, centring_letter(a.centring.chosen),
                                   options.tolerance_deg);
      s2 = inverse_d_squared(data, a.crystal.cell);
      a.elements = score_elements(data, s2, a.lattice);
    }
  }
  a.n_unique = static_cast<int>(group_orbits(data, s2, with_inversion({IDENTITY})).sets.size());
  if (a.elements.n_identity_pairs == 0) {
    a.reason = "merged data: no reflection was measured more than once, so no agreement "
               "between equivalent measurements can be judged";
    return a;
  }
  if (a.elements.n_identity_pairs < MIN_IDENTITY_PAIRS) {
    a.reason = "too little data: " + std::to_string(a.elements.n_identity_pairs) +
               " pairs of repeated measurements (at least " +
               std::to_string(MIN_IDENTITY_PAIRS) + " needed)";
    return a;
  }
  if (a.lattice.candidates.empty()) {
    a.reason = "no space-group setting has the centring " + a.centring.chosen +
               " in the axes of this cell";
    return a;
  }
  a.laue = rank_laue_classes(a.lattice, a.elements);
  a.statistics = intensity_statistics(data, s2, a.laue.front().candidate.group,
                                      a.lattice.holohedry, a.centring.chosen);
  if (a.statistics.twinning_suspected) lower_confidence_for_twinning(a.laue);
  a.space_groups = rank_space_groups(data, s2, a.laue, centring_letter(a.centring.chosen),
                                     a.centring.chosen, a.statistics);
  a.determinable = !a.space_groups.rows.empty();
  if (!a.determinable) a.reason = "no space group fits the Laue class and the centring";
  return a;
}

}  // namespace vorlane::symmetry_analysis
