#pragma once
// The summary figures the window shows after a run, taken from the run state as the run left
// them (the window computes nothing of its own): one row per figure, label and value text,
// the CIF's figures under the CIF's names.
#include <string>
#include <vector>

#include "run/run_state.hpp"

namespace vorlane::frontend {

struct SummaryRow {
  std::string label;
  std::string value;
  std::string cif_item;  // the CIF item the figure is written as, when there is one
};

std::vector<SummaryRow> result_summary(const run::RunState& rs);

}  // namespace vorlane::frontend
