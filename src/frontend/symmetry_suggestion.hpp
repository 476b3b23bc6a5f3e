#pragma once
// The space group the window offers to put into the experiment file, from the symmetry the
// run found in its data: offered only when it is determined and fits the cell as given.
#include <string>

namespace vorlane::symmetry_analysis { struct Analysis; }

namespace vorlane::frontend {

struct SpaceGroupSuggestion {
  std::string symbol;   // the SPACEGROUP card's symbol; empty when none is offered
  std::string line;     // the suggestion, or why there is none, in one line
  std::string why_not;  // why none is offered; empty when one is
};

// `analysis` null: the run had no cell to analyse its symmetry with.
SpaceGroupSuggestion space_group_suggestion(const symmetry_analysis::Analysis* analysis);

}  // namespace vorlane::frontend
