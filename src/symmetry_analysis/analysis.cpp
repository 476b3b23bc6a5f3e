#include "symmetry_analysis/analysis.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

#include "symmetry_analysis/reflection_sets.hpp"

namespace vorlane::symmetry_analysis {
namespace {

constexpr int MIN_MEASUREMENTS = 100;
constexpr int MIN_IDENTITY_PAIRS = 50;

// A rotation of order 3, 4 or 6 that the data show (likelihood above 0.5) in a lattice that
// is not cubic (one such axis only), not along c: the axes are turned cyclically to bring it
// there, since the tables of space-group settings have that axis along c only. Returns the
// reindexing matrix ("k,l,h" or "l,h,k"), or nothing.
std::optional<Rot> axis_to_c(const ElementScoring& scoring) {
  std::vector<std::array<int, 3>> axes;
  for (const ElementScore& e : scoring.elements)
    if (e.order >= 3 && std::find(axes.begin(), axes.end(), e.axis) == axes.end())
      axes.push_back(e.axis);
  if (axes.size() != 1) return std::nullopt;
  const auto& a = axes.front();
  const bool shown = std::any_of(scoring.elements.begin(), scoring.elements.end(),
                                 [&](const ElementScore& e) {
                                   return e.order >= 3 && e.axis == a && e.likelihood > 0.5;
                                 });
  if (!shown) return std::nullopt;
  if (a == std::array<int, 3>{1, 0, 0}) return Rot{0, 1, 0, 0, 0, 1, 1, 0, 0};
  if (a == std::array<int, 3>{0, 1, 0}) return Rot{0, 0, 1, 1, 0, 0, 0, 1, 0};
  return std::nullopt;
}

// The rotations of the lattice the data show (likelihood above 0.5), the identity first,
// when no candidate Laue class in the cell's axes holds them all; else nothing. Only then is a
// primitive cell turned into the conventional cell of a centred lattice, so that a cell that
// merely happens to fit a higher lattice keeps its axes.
std::vector<Rot> shown_beyond_settings(const LatticeSymmetry& lattice,
                                       const ElementScoring& scoring) {
  std::vector<Rot> shown{IDENTITY};
  for (const Rot& r : lattice.proper) {
    if (r == IDENTITY) continue;
    const int order = rotation_order(r);
    const std::array<int, 3> axis = rotation_axis(r);
    for (const ElementScore& e : scoring.elements)
      if (e.order == order && e.axis == axis && e.likelihood > 0.5) {
        shown.push_back(r);
        break;
      }
  }
  const PointGroup group = with_inversion(shown);
  const bool held = std::any_of(lattice.candidates.begin(), lattice.candidates.end(),
                                [&](const LaueCandidate& c) { return group.subgroup_of(c.group); });
  if (held || shown.size() == 1) return {};
  return shown;
}

void reindex(std::vector<Measurement>& data, Analysis& a, const Rot& m) {
  for (Measurement& x : data) x.hkl = reindexed(x.hkl, m);
  data = canonical_order(std::move(data));
  a.crystal = reindexed_crystal(a.crystal, m);
  a.reindexing_matrix = multiply(m, a.reindexing_matrix);
  a.reindexing = reindexing_text(a.reindexing_matrix);
}

}  // namespace

Analysis analyse(std::vector<Measurement> data, const Crystal& crystal, const Options& options) {
  Analysis a;
  a.crystal = crystal;
  a.crystal_as_given = crystal;
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
    reindex(data, a, Rot{-1, 0, 0, 0, -1, 0, 0, 0, 1});
    a.centring = find_centring(data);
  }
  a.lattice = lattice_symmetry(a.crystal, centring_letter(a.centring.chosen),
                               options.tolerance_deg);
  std::vector<double> s2 = inverse_d_squared(data, a.crystal.cell);
  a.elements = score_elements(data, s2, a.lattice);
  const auto rescore = [&] {
    a.centring = find_centring(data);
    a.lattice = lattice_symmetry(a.crystal, centring_letter(a.centring.chosen),
                                 options.tolerance_deg);
    s2 = inverse_d_squared(data, a.crystal.cell);
    a.elements = score_elements(data, s2, a.lattice);
  };
  if (a.reindexing.empty()) {
    if (const std::optional<Rot> turn = axis_to_c(a.elements)) {
      reindex(data, a, *turn);
      rescore();
    }
    const std::vector<Rot> shown = shown_beyond_settings(a.lattice, a.elements);
    if (a.centring.chosen == "P" && !shown.empty()) {
      // A primitive cell (a reduced cell, say) of a lattice whose conventional cell is
      // centred: the centring's absences cannot show in these indices, but the lattice
      // symmetry the data show needs the centred cell.
      const std::optional<Reindexing> conventional =
          conventional_setting(a.crystal, shown, options.tolerance_deg);
      if (conventional) {
        reindex(data, a, conventional->matrix);
        rescore();
      }
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
