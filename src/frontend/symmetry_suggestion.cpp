#include "frontend/symmetry_suggestion.hpp"

#include "run/run_state.hpp"
#include "symmetry_analysis/analysis.hpp"
#include "symmetry_analysis/tables_text.hpp"

namespace vorlane::frontend {

SpaceGroupSuggestion space_group_suggestion(const symmetry_analysis::Analysis* analysis,
                                            const std::string& not_analysed) {
  SpaceGroupSuggestion s;
  if (analysis == nullptr) {
    s.line = not_analysed;
    s.why_not = s.line;
    return s;
  }
  s.line = symmetry_analysis::suggestion_line(*analysis);
  if (!s.line.empty() && s.line.back() == '\n') s.line.pop_back();
  if (!analysis->determinable || analysis->space_groups.rows.empty()) {
    s.why_not = "No group to use: the space group is not determinable (" + analysis->reason +
                ").";
    return s;
  }
  const std::string& best = analysis->space_groups.rows.front().symbol;
  if (!analysis->reindexing.empty()) {
    s.why_not = "No group to use: " + best + " needs the data reindexed (" +
                analysis->reindexing + ") first; no card applies to the cell as given.";
    return s;
  }
  s.symbol = best;
  return s;
}

SpaceGroupSuggestion space_group_suggestion(const run::RunState& rs) {
  std::string why = "The symmetry was not analysed: ";
  if (rs.msg.IHALT != 0)
    why += "the run halted before it was done.";
  else if (rs.ctl.ICELL != 1)
    why += "it needs the cell (a CELL card in the experiment file).";
  else
    why += "the run did not get that far.";
  return space_group_suggestion(rs.symmetry.get(), why);
}

}  // namespace vorlane::frontend
