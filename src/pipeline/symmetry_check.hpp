#pragma once
// The symmetry of the data against the space group the experiment file gives: worked out
// beside the averaging, warned about at the end of the run when the data contradict it.
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "symmetry_analysis/analysis.hpp"
#include "symmetry_analysis/given_group_check.hpp"

namespace vorlane::run { struct RunState; }

namespace vorlane::pipeline {

// The experiment file's group as gemmi names it: the SPACEGROUP card's, or the group its
// SYMOP cards complete to; empty without symmetry cards, for a LAUE card, or when gemmi's
// table lacks the group.
std::string given_space_group(const run::RunState& rs);

// Every measurement of the reflection list with its indices as read.
std::vector<symmetry_analysis::Measurement> measurements_as_read(const run::RunState& rs);

// Measurements thinned to about 200 000 for the analysis: whole orbits of the lattice's
// point group are kept or left (symmetry mates stay together, so every kept reflection keeps
// its pairs), chosen by a hash of the orbit's representative, so the choice does not depend on
// the order of the records. Fewer are returned as they are.
std::vector<symmetry_analysis::Measurement> thinned(std::vector<symmetry_analysis::Measurement> data,
                                                    const symmetry_analysis::Crystal& crystal);

// The CELL card's cell and the run's wavelength.
symmetry_analysis::Crystal run_crystal(const run::RunState& rs);

struct SymmetryVerdict {
  std::string group;  // the experiment file's
  symmetry_analysis::Analysis analysis;
  symmetry_analysis::GivenGroupCheck check;
};

// Starts the analysis of the measurements as read (a copy; above 200 000 measurements whole
// orbits of the lattice's point group thinned to about that many, so that the check costs a
// large run little) with `policy`, when the run has a CELL card and no analysis yet (SPACEGROUP
// AUTO made one before the reading), and the check of the group when it also has a named one;
// else a future of nothing.
std::future<std::optional<SymmetryVerdict>> start_symmetry_check(const run::RunState& rs,
                                                                 std::launch policy);

// The warning of a group the data contradict, with the suggestion.
void warn_if_contradicted(run::RunState& rs, const std::optional<SymmetryVerdict>& verdict);

// The warning, then the analysis kept in the run state for the report and the window.
void keep_symmetry(run::RunState& rs, std::optional<SymmetryVerdict> verdict);

}  // namespace vorlane::pipeline
