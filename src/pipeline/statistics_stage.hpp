#pragma once
// The statistics stage: after the R table, the shell and batch figures of the sets to be
// written (kept in rs.stats for the CIF's DAC line, the summary and the window) and the print
// file's tables; after the CIF fragment, the files beside the output (NAME_stats.json,
// NAME_rejections.csv, NAME_report.html). Nothing here changes an averaged value, a rejection
// or a line written before.
#include <string>
#include <string_view>

#include "run/run_state.hpp"
#include "statistics/written_sets.hpp"

namespace vorlane::pipeline {

void compute_run_statistics(run::RunState& rs);
// The two halves of it: the figures, from the list, the controls and the symmetry alone (so
// they can be worked out while other stages write), and keeping and printing them.
statistics::Statistics run_statistics(const run::RunState& rs);
void keep_run_statistics(run::RunState& rs, statistics::Statistics st);

// The measurements not passed on, as the files beside the output give them: the ledger's
// text and the counts by reason. `left_out`: the records the output writer left out.
struct RejectionReport {
  std::string ledger;
  statistics::RejectionCounts counts;
};
RejectionReport rejection_report(const run::RunState& rs, const statistics::LeftOut& left_out);

void write_run_reports(run::RunState& rs);
// The same with the rejection report worked out already.
void write_run_reports(run::RunState& rs, RejectionReport rejections);

}  // namespace vorlane::pipeline
