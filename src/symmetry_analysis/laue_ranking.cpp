#include "symmetry_analysis/laue_ranking.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorlane::symmetry_analysis {
namespace {

void normalise_and_sort(std::vector<LaueRow>& rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const LaueRow& a, const LaueRow& b) {
    if (a.probability != b.probability) return a.probability > b.probability;
    return a.candidate.group.rotations.size() > b.candidate.group.rotations.size();
  });
}

}  // namespace

std::vector<LaueRow> rank_laue_classes(const LatticeSymmetry& lattice,
                                       const ElementScoring& scoring) {
  std::vector<LaueRow> rows;
  double best = -std::numeric_limits<double>::infinity();
  for (const LaueCandidate& c : lattice.candidates) {
    LaueRow row;
    row.candidate = c;
    for (const ElementScore& e : scoring.elements) {
      if (e.n_pairs < 10) continue;
      row.log_likelihood += c.group.contains(e.rotation) ? e.log_present : e.log_absent;
    }
    best = std::max(best, row.log_likelihood);
    rows.push_back(row);
  }
  double total = 0.0;
  for (LaueRow& r : rows) {
    r.probability = std::exp(r.log_likelihood - best);
    total += r.probability;
  }
  for (LaueRow& r : rows) r.probability /= total;
  normalise_and_sort(rows);
  return rows;
}

void lower_confidence_for_twinning(std::vector<LaueRow>& rows) {
  std::vector<double> shared(rows.size(), 0.0);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::vector<std::size_t> subgroups;
    for (std::size_t j = 0; j < rows.size(); ++j)
      if (rows[j].candidate.group.subgroup_of(rows[i].candidate.group)) subgroups.push_back(j);
    shared[i] += 0.5 * rows[i].probability;
    for (const std::size_t j : subgroups)
      shared[j] += 0.5 * rows[i].probability / static_cast<double>(subgroups.size());
  }
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i].probability = shared[i];
  normalise_and_sort(rows);
}

}  // namespace vorlane::symmetry_analysis
