#pragma once
// The space group the window offers to put into the experiment file, from the symmetry the
// run found in its data: offered only when it is determined and fits the cell as given.
#include <string>

namespace vorlane::run { struct RunState; }
namespace vorlane::symmetry_analysis { struct Analysis; }

namespace vorlane::frontend {

struct SpaceGroupSuggestion {
  std::string symbol;   // the SPACEGROUP card's symbol; empty when none is offered
  std::string line;     // the suggestion, or why there is none, in one line
  std::string why_not;  // why none is offered; empty when one is
};

// The suggestion of `analysis`; when it is null, `not_analysed` says why.
SpaceGroupSuggestion space_group_suggestion(const symmetry_analysis::Analysis* analysis,
                                            const std::string& not_analysed);
// The suggestion of a finished or halted run's analysis, or why it has none (no cell, or the
// run halted before the analysis was kept).
SpaceGroupSuggestion space_group_suggestion(const run::RunState& rs);

}  // namespace vorlane::frontend
