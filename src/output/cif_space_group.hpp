#pragma once
// The CIF fragment's space-group items, when the run's group is known by name: its crystal
// system, its number in International Tables, its Hermann-Mauguin symbol in the setting used
// and the loop of its symmetry operations.
#include <string>
#include <vector>

#include "expfile/run_controls.hpp"

namespace vorlane::output {

// No lines when the run has no named group (symmetry from SYMOP, UNITIN or LAUE cards, or
// none), so that those fragments stay as they were.
std::vector<std::string> space_group_items(const expfile::RunControls& ctl);

}  // namespace vorlane::output
