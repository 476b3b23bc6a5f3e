// The group the window offers to write into the experiment file: the first-ranked one, and only
// when it is determined and named in the axes of the cell as given.
#include <gtest/gtest.h>

#include <memory>

#include "frontend/symmetry_suggestion.hpp"
#include "run/run_state.hpp"
#include "symmetry_analysis/analysis.hpp"

namespace vorlane::frontend {
namespace {

namespace sa = symmetry_analysis;

sa::Analysis ranked(const std::string& reindexing) {
  sa::Analysis a;
  a.determinable = true;
  a.reindexing = reindexing;
  sa::SpaceGroupRow best;
  best.symbol = "P 1 21/c 1";
  best.number = 14;
  best.probability = 0.9;
  best.ties = {"P 1 21/m 1"};
  sa::SpaceGroupRow second = best;
  second.symbol = "P 1 c 1";
  second.number = 7;
  second.probability = 0.1;
  second.ties.clear();
  a.space_groups.rows = {best, second};
  return a;
}

TEST(SymmetrySuggestion, OfferedOnlyWhenDeterminedInTheCellAsGiven) {
  sa::Analysis refused;
  refused.reason = "merged data: no reflection was measured more than once";
  sa::Analysis empty_ranking = ranked("");
  empty_ranking.space_groups.rows.clear();
  empty_ranking.determinable = false;
  empty_ranking.reason = "no space group fits the Laue class and the centring";
  const sa::Analysis plain = ranked("");
  const sa::Analysis turned = ranked("k,l,h");
  struct Row {
    const sa::Analysis* analysis;
    std::string symbol, line_start, why_not;
  };
  const Row rows[] = {
      {nullptr, "", "The symmetry was not analysed: it needs the cell",
       "The symmetry was not analysed: it needs the cell (a CELL card in the experiment file)."},
      {&refused, "", "Space group not determinable: merged data",
       "No group to use: the space group is not determinable (merged data: no reflection was "
       "measured more than once)."},
      {&empty_ranking, "", "Space group not determinable: no space group fits",
       "No group to use: the space group is not determinable (no space group fits the Laue "
       "class and the centring)."},
      {&turned, "", "Suggested space group: P 1 21/c 1 (No. 14)",
       "No group to use: P 1 21/c 1 needs the data reindexed (k,l,h) first; no card applies to "
       "the cell as given."},
      {&plain, "P 1 21/c 1", "Suggested space group: P 1 21/c 1 (No. 14), probability 0.900, "
       "tied with P 1 21/m 1; experiment-file card: VORLAN SPACEGROUP P 1 21/c 1", ""},
  };
  for (const Row& r : rows) {
    const SpaceGroupSuggestion s = space_group_suggestion(
        r.analysis, "The symmetry was not analysed: it needs the cell (a CELL card in the "
                    "experiment file).");
    EXPECT_EQ(s.symbol, r.symbol) << r.line_start;
    EXPECT_EQ(s.line.rfind(r.line_start, 0), 0u) << s.line;
    EXPECT_EQ(s.line.find('\n'), std::string::npos) << s.line;
    EXPECT_EQ(s.why_not, r.why_not);
  }
}

// A run without an analysis says why: no cell, or halted before the analysis was kept.
TEST(SymmetrySuggestion, RunWithoutAnalysisSaysWhy) {
  run::RunState rs;
  rs.ctl.ICELL = 0;
  EXPECT_EQ(space_group_suggestion(rs).why_not,
            "The symmetry was not analysed: it needs the cell (a CELL card in the experiment "
            "file).");
  rs.ctl.ICELL = 1;
  rs.msg.IHALT = 1;
  EXPECT_EQ(space_group_suggestion(rs).why_not,
            "The symmetry was not analysed: the run halted before it was done.");
  rs.msg.IHALT = 0;
  rs.symmetry = std::make_shared<const sa::Analysis>(ranked(""));
  const SpaceGroupSuggestion s = space_group_suggestion(rs);
  EXPECT_EQ(s.symbol, "P 1 21/c 1");
  EXPECT_EQ(s.why_not, "");
}

}  // namespace
}  // namespace vorlane::frontend
