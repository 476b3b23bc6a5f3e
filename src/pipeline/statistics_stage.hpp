#pragma once
// The statistics stage: after the output file, the shell and batch figures of the written
// sets (kept in rs.stats for the CIF's DAC line, the summary and the window); after the CIF
// fragment, the print file's tables and the files beside the output (NAME_stats.json,
// NAME_rejections.csv, NAME_report.html). Nothing here changes an averaged value, a rejection
// or a line written before.
#include "run/run_state.hpp"

namespace vorlane::pipeline {

void compute_run_statistics(run::RunState& rs);

void write_run_reports(run::RunState& rs);

// NAME_stats.json, NAME_rejections.csv, NAME_report.html for an output base name.
std::string report_file_name(std::string_view output_base_name, std::string_view suffix);

}  // namespace vorlane::pipeline
